// Any bytes as BASIC source, loaded and run twice in one session (as prologue and script are),
// with the program's own file filter over a real scratch program directory.  Traps when a file
// appears outside that directory, when something other than a file appears in it, or when one
// run takes longer or holds more memory than its bounds.  The target changes the current
// directory to the scratch program directory: give it the corpus by absolute paths.
#include <dirent.h>
#include <sanitizer/allocator_interface.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <string>

#include "exprn.h"
#include "script_file_filter.h"

namespace {

const uint32_t kRunMilliseconds = 300;
// A run stops within its budget; what one statement may add to that is small.
const double kRunSecondsBound = 3.0;

std::string scratch, program;  // scratch/program/ is the program directory

// Bytes allocated minus bytes freed since counting began, and its highest value.
bool counting = false;
int64_t held = 0, peak = 0;

void CountMalloc(const volatile void *, size_t size) {
  if (!counting) return;
  held += (int64_t)size;
  if (held > peak) peak = held;
}

void CountFree(const volatile void *pointer) {
  if (counting && pointer) held -= (int64_t)__sanitizer_get_allocated_size((const void *)pointer);
}

double Now() {
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return (double)now.tv_sec + now.tv_nsec / 1e9;
}

// Traps unless `directory` holds exactly the names allowed (regular files only when `files`);
// removes the files.
void CheckAndEmpty(const std::string &directory, bool files) {
  DIR *listing = opendir(directory.c_str());
  if (!listing) __builtin_trap();
  while (struct dirent *entry = readdir(listing)) {
    std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    if (!files) {
      if (name != "program") __builtin_trap();  // something escaped the program directory
      continue;
    }
    struct stat status;
    std::string path = directory + name;
    if (lstat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) __builtin_trap();
    unlink(path.c_str());
  }
  closedir(listing);
}

// Removes the scratch directory when the fuzzer ends.
void RemoveScratch() {
  CheckAndEmpty(program, true);
  rmdir(program.c_str());
  rmdir(scratch.c_str());
}

void MakeScratch() {
  char name[] = "/tmp/qm_fuzz_basic.XXXXXX";
  if (!mkdtemp(name)) abort();
  scratch = name;
  program = scratch + "/program/";
  if (mkdir(program.c_str(), 0755) != 0 || chdir(program.c_str()) != 0) abort();
  __sanitizer_install_malloc_and_free_hooks(CountMalloc, CountFree);
  atexit(RemoveScratch);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (scratch.empty()) MakeScratch();
  if (size > 8192) return 0;
  int code, line;
  BasicProgram *loaded = LoadBasicText(reinterpret_cast<const char *>(data), size, &code, &line);
  if (!loaded) {
    if (code >= 0 || code < -36) __builtin_trap();
    return 0;
  }
  BasicSession *session = CreateBasicSession();
  if (!session) abort();
  SetBasicFileFilter(session, ScriptFileFilter, program.c_str());
  BasicLimits limits;
  limits.statements = 20000;
  limits.milliseconds = kRunMilliseconds;
  SetBasicLimits(session, limits);
  held = peak = 0;
  counting = true;
  for (int run = 0; run < 2; ++run) {
    double start = Now();
    code = RunBasicProgram(session, loaded);
    if (Now() - start > kRunSecondsBound) __builtin_trap();
    if (code > 0 || code < -36) __builtin_trap();
  }
  counting = false;
  if (peak > (int64_t)kMaxSessionBytes) __builtin_trap();
  DestroyBasicSession(session);
  FreeBasicProgram(loaded);
  CheckAndEmpty(scratch + "/", false);
  CheckAndEmpty(program, true);
  return 0;
}
