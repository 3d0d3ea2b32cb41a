#pragma once

#include <cstdio>

class AddressListModel;

// Writes the entries of the list, one a line, in UTF-8, each ended by LF.
// Throws AppError when the stream takes no more.
void WriteResultLines(const AddressListModel& list, std::FILE* stream);
