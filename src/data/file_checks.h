// FileChecks: checks made before a data file is written or rewritten, so that a file another
// program holds open (a spreadsheet showing it) is noticed and the operator decides.
#pragma once

#include <QString>

class Dialogs;

namespace FileChecks {

bool fileExists(const QString& path);
void deleteFile(const QString& path);
// True: the file exists, is in use and the operator gave up. False: missing or free.
bool fileInUse(Dialogs& dialogs, const QString& path);
// 1 free; 0 in use and the operator chose Retry; 2 in use and the operator cancelled.
// The file is never moved to find out: a check that renamed it aside and back would
// leave it under the other name if the program died between the two.
int checkFileFree(Dialogs& dialogs, const QString& path);

// True when another process holds a lock on the file or an office lock file stands
// beside it (a rename alone does not show that on Linux).
bool heldByAnotherProgram(const QString& path);
// Free to be written: no other program holds it and it opens for appending. Nobody is asked.
bool isFree(const QString& path);

} // namespace FileChecks
