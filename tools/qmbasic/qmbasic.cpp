// qmbasic [--unconfined] [-p PROLOGUE] [NAME=VALUE...] SCRIPT
// Runs SCRIPT the way the game runs its score script: first the prologue (a file of BASIC
// lines, and/or each NAME=VALUE as one assignment, e.g. "linecnt(0)=12" or "level=2"), then
// the script in the same session, so it sees the prologue's variables.  Like the game, it runs
// them in the script's folder and lets them use only the files the game would let them use
// there; --unconfined lifts that (and says so).  print writes to standard output; errors go to
// standard error with the line number.  Exit status 0 when every run succeeded.
#include <stdio.h>
#include <string.h>

#include <string>

#include "confinement.h"
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

// One program to run: loaded before the script's folder becomes the current directory, so
// the paths on the command line mean what they say.
struct Part {
  const char *what;
  BasicProgram *program = nullptr;
};

bool Load(Part *part, const char *what, const char *path, const std::string *text) {
  int code, line;
  part->what = what;
  part->program = path ? LoadBasicFile(path, &code, &line)
                       : LoadBasicText(text->data(), text->size(), &code, &line);
  return part->program ? true : Report(what, code, line);
}

int Usage() {
  fprintf(stderr,
          "usage: qmbasic [--unconfined] [-p PROLOGUE] [NAME=VALUE...] SCRIPT\n"
          "  The script may use only the files the game would let it use, in its own folder.\n"
          "  --unconfined  let it use any file (a script from elsewhere may then read, write,\n"
          "                rename and delete your files)\n");
  return 2;
}

}  // namespace

int main(int argc, char **argv) {
  const char *prologue = nullptr, *script = nullptr;
  bool confined = true;
  std::string assignments;
  int lineNumber = 1;
  for (int i = 1; i < argc; ++i) {
    if (strcmp(argv[i], "-p") == 0 && i + 1 < argc) {
      prologue = argv[++i];
    } else if (strcmp(argv[i], "--unconfined") == 0) {
      confined = false;
    } else if (strchr(argv[i], '=')) {
      assignments += std::to_string(lineNumber++) + " " + argv[i] + "\n";
    } else if (!script && argv[i][0] != '-') {
      script = argv[i];
    } else {
      return Usage();
    }
  }
  if (!script) return Usage();

  Part parts[3];
  int count = 0;
  bool ok = (!prologue || Load(&parts[count++], prologue, prologue, nullptr)) &&
            (assignments.empty() ||
             Load(&parts[count++], "NAME=VALUE arguments", nullptr, &assignments)) &&
            Load(&parts[count++], script, script, nullptr);

  BasicSession *session = ok ? CreateBasicSession() : nullptr;
  if (ok && !session) ok = Report("start", -10, 0);
  std::string folder;
  if (ok && confined && !ConfineToScriptFolder(session, script, &folder)) {
    fprintf(stderr, "qmbasic: cannot enter the folder of %s\n", script);
    ok = false;
  }
  if (ok && !confined)
    fprintf(stderr, "qmbasic: unconfined: the script may use any file you may use\n");
  if (ok) SetBasicOutput(session, PrintToStdout, nullptr);
  for (int i = 0; ok && i < count; ++i) {
    int code = RunBasicProgram(session, parts[i].program);
    ok = Report(parts[i].what, code, BasicErrorLine(session));
  }
  DestroyBasicSession(session);
  for (Part &part : parts) FreeBasicProgram(part.program);
  return ok ? 0 : 1;
}
