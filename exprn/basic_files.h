// The file statements of a BASIC run.  Every name passes the session's filter first; file
// numbers are 1..16.  Each call returns 0 or a negative code and leaves the files as they were
// on failure.
#pragma once

#include <string>

struct BasicSession;

// Opens `name` for input ('i'), output ('o', truncating) or append ('a') as file `number`.
// One that would create a file is refused once the run has created its limit of new files.
int OpenBasicFile(BasicSession *session, const std::string &name, char mode, double number);
int CloseBasicFile(BasicSession *session, double number);
// Closes every open file; used by close without numbers and at the end of each run.
int CloseAllBasicFiles(BasicSession *session);
// Writes `text` to file `number`, open for output or append.
int WriteBasicFile(BasicSession *session, double number, const std::string &text);
// Reads one comma-separated field (input #) or one whole line (line input #).
int ReadBasicField(BasicSession *session, double number, bool wholeLine, std::string *out);
int BasicFileAtEnd(BasicSession *session, double number, bool *atEnd);
int KillBasicFile(BasicSession *session, const std::string &name);
int RenameBasicFile(BasicSession *session, const std::string &from, const std::string &to);
