#pragma once

class FormState;
class Platform;

// The database method: writes every input address into tblEmls of the
// working database, lets one query order (and, with "Remove duplicates",
// group) the rows, and walks them into the results list applying the
// per-domain options. Failures are reported once; the run then ends with
// the results it has.
void SortingDB(FormState& form, Platform& platform);
