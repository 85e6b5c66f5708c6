// The file statements: open, close, input #, line input #, kill, name.  (print # shares print.)
#include <math.h>

#include "basic_files.h"
#include "basic_run.h"
#include "error_codes.h"

// "open name for input|output|append as [#]n"
bool BasicRun::Open() {
  std::string name;
  if (!ParseString(&name)) return false;
  if (!p.TakeWord("for")) return p.Fail(kErrSyntax);
  char mode = p.TakeWord("input")    ? 'i'
              : p.TakeWord("output") ? 'o'
              : p.TakeWord("append") ? 'a'
                                     : 0;
  if (!mode || !p.TakeWord("as")) return p.Fail(kErrSyntax);
  double number;
  return ParseFileNumber(&number) && Check(OpenBasicFile(session, name, mode, number));
}

// "close" closes every file; "close [#]n, [#]m" the ones named.
bool BasicRun::Close() {
  if (AtStatementEnd()) return Check(CloseAllBasicFiles(session));
  do {
    double number;
    if (!ParseFileNumber(&number) || !Check(CloseBasicFile(session, number))) return false;
  } while (p.TakeSymbol(","));
  return true;
}

// "input #n, v, w$" reads comma-separated fields; "line input #n, a$" a whole line.  Reading
// from the keyboard has no place inside the game.
bool BasicRun::Input(bool wholeLine) {
  if (!p.TakeSymbol("#")) return p.Fail(kErrUnsupported);
  double number;
  if (!ParseNumber(&p, &number)) return false;
  if (!p.TakeSymbol(",")) return p.Fail(kErrSyntax);
  do {
    Target target;
    if (!ParseTarget(&target)) return false;
    Value value;
    value.isString = IsStringName(target.name);
    if (wholeLine && !value.isString) return p.Fail(kErrKind);
    if (p.error || !Check(ReadBasicField(session, number, wholeLine, &value.text))) return false;
    if (!value.isString) {
      // A decimal number and blanks, or nothing at all (an empty field reads as 0).
      const char *end = value.text.c_str() + ReadDecimal(value.text.c_str(), &value.number);
      while (*end == ' ' || *end == '\t') ++end;
      if (*end || !isfinite(value.number)) return p.Fail(kErrInputMismatch);
    }
    if (!Store(target, value)) return false;
  } while (!wholeLine && p.TakeSymbol(","));
  return true;
}

bool BasicRun::Kill() {
  std::string name;
  return ParseString(&name) && Check(KillBasicFile(session, name));
}

// "name old as new"
bool BasicRun::Rename() {
  std::string from, to;
  if (!ParseString(&from)) return false;
  if (!p.TakeWord("as")) return p.Fail(kErrSyntax);
  return ParseString(&to) && Check(RenameBasicFile(session, from, to));
}
