// qmbasic's confinement: a script runs as the game runs its score script, in the folder it is
// in, with that folder taken for the program directory and the game's own file rule applied
// (script_file_filter.h): bare names and that folder's path only, never the protected names.
// Where the file system tells letter case apart, a path's folder must be spelt as that
// folder's own path is.
#pragma once

#include <string>

#include "exprn.h"

// Makes the folder of `script` the current directory and lets `session` use only the files the
// game would let a score script use there.  `folder` receives that folder's full path, ending
// in a separator; the session keeps a pointer to its text, so it must outlive the session's
// runs.  Returns false, with nothing changed, when the folder cannot be found or entered.
bool ConfineToScriptFolder(BasicSession *session, const char *script, std::string *folder);
