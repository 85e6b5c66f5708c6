// qmbasic [-p PROLOGUE] [NAME=VALUE...] SCRIPT
// Runs SCRIPT the way the game runs its score script: first the prologue (a file of BASIC
// lines, and/or each NAME=VALUE as one assignment, e.g. "linecnt(0)=12" or "level=2"), then
// the script in the same session, so it sees the prologue's variables.  print writes to
// standard output; errors go to standard error with the line number.  Exit status 0 when every
// run succeeded.
#include <stdio.h>
#include <string.h>

#include <string>

#include "error_text.h"
#include "exprn.h"

namespace {

void PrintToStdout(const char *text, size_t length, void *) {
  fwrite(text, 1, length, stdout);
}

bool Report(const char *what, int code, int line) {
  if (!code) return true;
  fprintf(stderr, "qmbasic: %s", what);
  if (line) fprintf(stderr, ", line %d", line);
  fprintf(stderr, ": error %d (%s)\n", code, ExprnErrorText(code));
  return false;
}

// Loads `program` (null: a load error already in code/line) and runs it in `session`.
bool RunLoaded(BasicSession *session, const char *what, BasicProgram *program, int code, int line) {
  if (!program) return Report(what, code, line);
  code = RunBasicProgram(session, program);
  FreeBasicProgram(program);
  return Report(what, code, BasicErrorLine(session));
}

int Usage() {
  fprintf(stderr, "usage: qmbasic [-p PROLOGUE] [NAME=VALUE...] SCRIPT\n");
  return 2;
}

}  // namespace

int main(int argc, char **argv) {
  const char *prologue = nullptr, *script = nullptr;
  std::string assignments;
  int lineNumber = 1;
  for (int i = 1; i < argc; ++i) {
    if (strcmp(argv[i], "-p") == 0 && i + 1 < argc) {
      prologue = argv[++i];
    } else if (strchr(argv[i], '=')) {
      assignments += std::to_string(lineNumber++) + " " + argv[i] + "\n";
    } else if (!script && argv[i][0] != '-') {
      script = argv[i];
    } else {
      return Usage();
    }
  }
  if (!script) return Usage();

  BasicSession *session = CreateBasicSession();
  if (!session) return Report("start", -10, 0), 1;
  SetBasicOutput(session, PrintToStdout, nullptr);
  bool ok = true;
  int code, line;
  if (prologue) {
    BasicProgram *program = LoadBasicFile(prologue, &code, &line);
    ok = RunLoaded(session, prologue, program, code, line);
  }
  if (ok && !assignments.empty()) {
    BasicProgram *program = LoadBasicText(assignments.data(), assignments.size(), &code, &line);
    ok = RunLoaded(session, "NAME=VALUE arguments", program, code, line);
  }
  if (ok) {
    BasicProgram *program = LoadBasicFile(script, &code, &line);
    ok = RunLoaded(session, script, program, code, line);
  }
  DestroyBasicSession(session);
  return ok ? 0 : 1;
}
