#include "program_paths.h"

#include <windows.h>

#include "path_parts.h"

static char programDirectory[MAX_PATH];
static char pathBuffer[MAX_PATH];

void InitProgramDirectory(void) {
  char module[MAX_PATH];
  DWORD length = GetModuleFileNameA(NULL, module, sizeof module);
  programDirectory[0] = '\0';
  // A result that fills the whole buffer is a truncated path: treat it as unavailable.
  if (length == 0 || length >= sizeof module) return;
  DriveAndDirectory(module, programDirectory, sizeof programDirectory);
}

const char *ProgramDirectory(void) { return programDirectory; }

const char *ProgramFilePath(const char *name) {
  JoinProgramFilePath(programDirectory, name, pathBuffer, sizeof pathBuffer);
  return pathBuffer;
}
