#pragma once

struct sqlite3_vfs;

// Makes the engine's own file layer close its temporary files (those of a
// large sort) on another thread. Such a file is deleted while open, so its
// last close frees all its blocks: a tenth of a second and more at millions
// of rows, inside the call that ends the statement. Answers false when the
// layer does not let its system calls be replaced.
bool CloseTemporaryFilesInBackground(sqlite3_vfs* layer);
