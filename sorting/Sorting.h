#pragma once

class FormState;
class Platform;

// The in-memory method: a sort key (domain@local) per input address, the keys
// sorted by BubbleSort, then one result per key in key order with the options
// applied. The sort button's caption reads "Stop Adding" while results are
// added; the caption, the pointer and the bar are left for the caller to tidy.
void SortingText(FormState& form, Platform& platform);
