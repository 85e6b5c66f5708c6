// Any bytes as BASIC source, loaded and run twice in one session (as prologue and script
// are).  A filter that refuses every name keeps file statements off the disk; the budget is
// small so that endless loops end quickly.
#include <stdint.h>
#include <stdlib.h>

#include "exprn.h"

namespace {

int WINAPI RefuseEverything(LPCSTR, LPCSTR) {
  return -29;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size > 8192) return 0;
  int code, line;
  BasicProgram *program = LoadBasicText(reinterpret_cast<const char *>(data), size, &code, &line);
  if (!program) {
    if (code >= 0 || code < -36) __builtin_trap();
    return 0;
  }
  BasicSession *session = CreateBasicSession();
  if (!session) abort();
  SetBasicFileFilter(session, RefuseEverything, "fuzz");
  BasicLimits limits;
  limits.statements = 20000;
  limits.milliseconds = 2000;
  SetBasicLimits(session, limits);
  for (int run = 0; run < 2; ++run) {
    code = RunBasicProgram(session, program);
    if (code > 0 || code < -36) __builtin_trap();
  }
  DestroyBasicSession(session);
  FreeBasicProgram(program);
  return 0;
}
