#pragma once

class FormState;
class Platform;

// "Add One Email Address": asks for one address and appends it as typed.
void AddOneEmailAddress(FormState& form, Platform& platform);
