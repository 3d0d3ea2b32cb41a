#pragma once

class FormState;
class Platform;

// "Load List Of Emails From File": asks for one or more list files and
// appends their addresses to the input list, with the busy pointer on.
void LoadListFiles(FormState& form, Platform& platform);
