#include "confinement.h"

#include <stdlib.h>
#include <string.h>

#include "script_file_filter.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <limits.h>
#include <unistd.h>
#endif

namespace {

// The full path of `script`'s folder, with its separator; empty when it cannot be had.
std::string FolderOf(const char *script) {
  std::string full;
#ifdef _WIN32
  char buffer[MAX_PATH];
  DWORD length = GetFullPathNameA(script, sizeof buffer, buffer, NULL);
  if (length == 0 || length >= sizeof buffer) return std::string();
  full = buffer;
#else
  char *resolved = realpath(script, nullptr);
  if (!resolved) return std::string();
  full = resolved;
  free(resolved);
#endif
  size_t separator = full.find_last_of("\\/");
  return separator == std::string::npos ? std::string() : full.substr(0, separator + 1);
}

bool Enter(const std::string &folder) {
#ifdef _WIN32
  return SetCurrentDirectoryA(folder.c_str()) != 0;
#else
  return chdir(folder.c_str()) == 0;
#endif
}

// The game's filter, in the interpreter's own type of file filter.
int WINAPI GameFileRule(LPCSTR path, LPCSTR directory) {
  LONG verdict = ScriptFileFilter(path, directory);
#ifndef _WIN32
  // This file system tells letter case apart: a path's folder must be the script's exactly.
  if (verdict == 0 && strpbrk(path, "\\/") && strncmp(path, directory, strlen(directory)) != 0)
    verdict = SCRIPT_FILE_REFUSED;
#endif
  return (int)verdict;
}

}  // namespace

bool ConfineToScriptFolder(BasicSession *session, const char *script, std::string *folder) {
  std::string found = FolderOf(script);
  if (found.empty() || !Enter(found)) return false;
  *folder = found;
  SetBasicFileFilter(session, GameFileRule, folder->c_str());
  return true;
}
