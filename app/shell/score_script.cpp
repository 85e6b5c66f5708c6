// The end-of-game hand-over to "qmscore.bas": a prologue that creates the game's variables is
// run first, then the user's script, both through the interpreter library's BASIC entries and
// with the program directory as the current directory.  Every failure is silent.
#include "score_script.h"

#include <string.h>

#include "game_thread.h"
#include "interpreter.h"
#include "main_window.h"
#include "program_paths.h"
#include "score_prologue.h"
#include "script_file_filter.h"

namespace {

// The work area shared with the library; the program sets only the three fields below, the
// rest belongs to the library.
const size_t kWorkAreaBytes = 7000;
const size_t kProgramField = 0;       // prologue text, then the loaded script's handle
const size_t kFilterField = 96;       // ScriptFileFilter
const size_t kDirectoryField = 4624;  // the filter's second argument: the program directory

const DWORD kDirectoryBytes = 261;

typedef LONG_PTR(WINAPI *LoadSource)(const char *file);
typedef LONG(WINAPI *FreeSource)(LONG_PTR handle);
typedef LONG(WINAPI *WorkAreaCall)(void *workArea);

struct ScriptEntries {
  LoadSource loadsrc;
  FreeSource free;
  WorkAreaCall initialize;
  WorkAreaCall terminate;
  WorkAreaCall basic;
};

template <typename Function>
bool Bind(HMODULE module, const char *name, Function *out) {
  FARPROC address = GetProcAddress(module, name);
  *out = reinterpret_cast<Function>(reinterpret_cast<void (*)(void)>(address));
  return address != NULL;
}

bool FindEntries(HMODULE module, ScriptEntries *entries) {
  return Bind(module, "_qvb_loadsrc@4", &entries->loadsrc) &&
         Bind(module, "_qvb_free@4", &entries->free) &&
         Bind(module, "_qvb_initialize@4", &entries->initialize) &&
         Bind(module, "_qvb_terminate@4", &entries->terminate) &&
         Bind(module, "_exprion_basic@4", &entries->basic);
}

void PutField(unsigned char *workArea, size_t offset, uint32_t value) {
  memcpy(workArea + offset, &value, sizeof value);
}

uint32_t AsField(const void *pointer) {
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pointer));
}

// The prologue, then the player's script, in a library session already begun.  Returns whether
// the script itself ran: a prologue that cannot be made or that the library refuses ends the
// session before it.
bool RunPrologueAndScript(const ScriptEntries &entries, LONG_PTR handle, unsigned char *workArea) {
  char *prologue = static_cast<char *>(GlobalAlloc(GMEM_FIXED, SCORE_PROLOGUE_BYTES));
  if (!prologue) return false;
  LONG result = -1;
  if (FormatScorePrologue(prologue, SCORE_PROLOGUE_BYTES, gameHost.linecnt, &gameSettings)) {
    PutField(workArea, kProgramField, AsField(prologue));
    result = entries.basic(workArea);
  }
  // Our own pointer is freed, not whatever the library may have left in the field.
  GlobalFree(prologue);
  if (result != 0) return false;

  PutField(workArea, kProgramField, static_cast<uint32_t>(handle));
  PutField(workArea, kFilterField, AsField(reinterpret_cast<const void *>(ScriptFileFilter)));
  PutField(workArea, kDirectoryField, AsField(ProgramDirectory()));
  entries.basic(workArea);  // an error inside the user's script is the script's own affair
  return true;
}

}  // namespace

void RunScoreScript(void) {
  if (gameHost.score_script_done || !interpreter.module) return;
  ScriptEntries entries;
  if (!FindEntries(interpreter.module, &entries)) return;

  // The library takes the script and the directory as ANSI texts: a program folder whose name
  // the system's code page cannot hold has no such text, and the script is not run.
  if (!ProgramDirectory()[0]) return;
  // A directory that could not be put back, or a program directory that cannot be entered
  // (which would run another directory's "qmscore.bas"), ends the run before it starts.
  char previous[kDirectoryBytes];
  DWORD length = GetCurrentDirectoryA(kDirectoryBytes, previous);
  if (length == 0 || length >= kDirectoryBytes) return;
  if (!SetCurrentDirectoryA(ProgramDirectory())) return;

  unsigned char workArea[kWorkAreaBytes];
  memset(workArea, 0, sizeof workArea);
  LONG_PTR handle = entries.loadsrc("qmscore.bas");
  if (!handle) {
    SetCurrentDirectoryA(previous);
    return;
  }
  entries.initialize(workArea);
  const bool ran = RunPrologueAndScript(entries, handle, workArea);
  // The one way out of a session.  A session that stopped before the script gives the
  // directory back at once; one that ran the script lets the library finish in the script's
  // directory (its files may still be closing) and gives the directory back last.
  if (!ran) SetCurrentDirectoryA(previous);
  entries.free(handle);
  entries.terminate(workArea);
  if (ran) {
    SetCurrentDirectoryA(previous);
    gameHost.score_script_done = 1;
  }
}
