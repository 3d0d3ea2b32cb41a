#pragma once

#include <QString>

class Platform;

// The folder that holds the working database: common application data
// + "/Quillmere/Ambervale", computed afresh at each call.
QString QuillmereFolder(Platform& platform);
QString DataFolder(Platform& platform);
// The working database in it, dbData.mdb.
QString WorkingDatabase(Platform& platform);

// What start-up makes sure of, one step at a time so that a failure names
// its step: the maker's folder, the data folder in it, and the working
// database copied from the empty one beside the program. Whatever already
// exists stays as it is; a working database is never overwritten, and one
// that another instance copied meanwhile serves as this one's.
void ProvideQuillmereFolder(Platform& platform);
void ProvideDataFolder(Platform& platform);
void ProvideWorkingDatabase(Platform& platform);
