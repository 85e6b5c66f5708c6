#include "program_paths.h"

#include <string.h>
#include <wchar.h>

static WCHAR programFolder[MAX_PATH];    // UTF-16, ending in a separator, or empty
static char programDirectory[MAX_PATH];  // the same in the ANSI code page, or empty
static WCHAR pathBuffer[MAX_PATH];

static int IsSeparator(WCHAR c) {
  return c == L'\\' || c == L'/';
}

// The ANSI form of the folder, only when every character has one: a look-alike or "?" in its
// place would name another folder.
static void SetAnsiDirectory(void) {
  programDirectory[0] = '\0';
  BOOL lost = FALSE;
  int bytes = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, programFolder, -1, programDirectory,
                                  sizeof programDirectory, NULL, &lost);
  if (bytes <= 0 || lost) programDirectory[0] = '\0';
}

void InitProgramDirectory(void) {
  WCHAR module[MAX_PATH];
  DWORD length = GetModuleFileNameW(NULL, module, MAX_PATH);
  programFolder[0] = L'\0';
  programDirectory[0] = '\0';
  // A result that fills the whole buffer is a truncated path: treat it as unavailable.
  if (length == 0 || length >= MAX_PATH) return;
  // Drive and directory: everything up to the last separator (in UTF-16 no character hides a
  // backslash inside it).
  DWORD end = 0;
  for (DWORD i = 0; i < length; ++i)
    if (IsSeparator(module[i])) end = i + 1;
  memcpy(programFolder, module, end * sizeof(WCHAR));
  programFolder[end] = L'\0';
  SetAnsiDirectory();
}

const char *ProgramDirectory(void) {
  return programDirectory;
}

const WCHAR *ProgramFilePath(const WCHAR *name) {
  const size_t folder = wcslen(programFolder), nameUnits = wcslen(name);
  pathBuffer[0] = L'\0';
  if (folder + nameUnits + 1 > MAX_PATH) return pathBuffer;
  memcpy(pathBuffer, programFolder, folder * sizeof(WCHAR));
  memcpy(pathBuffer + folder, name, (nameUnits + 1) * sizeof(WCHAR));
  return pathBuffer;
}
