// One run of a BASIC program: the position, the gosub and for stacks and the budget.  The
// statements live in two files: control flow and variables (basic_runner.cpp) and the file
// statements (file_statements.cpp); the operands both use are in run_operands.cpp.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "basic_program.h"
#include "basic_session.h"
#include "parser.h"

const size_t kMaxGosubDepth = 256;
const size_t kMaxForDepth = 64;

struct RunPosition {
  size_t line;
  size_t pos;  // token index in the line
};

struct ForFrame {
  std::string variable;
  double end, step;
  RunPosition body;  // just after the for statement
};

// Where a value is stored: a scalar, or an element when `indexed`.
struct Target {
  std::string name;
  bool indexed = false;
  double index = 0;
};

class BasicRun {
 public:
  BasicRun(BasicSession *session, const BasicProgram *program);
  int Execute();

 private:
  bool Statement();
  bool AtStatementEnd() const;
  bool Jump(size_t line, size_t pos);
  bool GotoLine(bool pushReturn);
  bool SkipToNext();
  bool Budget();

  bool Assignment();
  bool Dim();
  bool If();
  bool For();
  bool Next();
  bool Print();
  bool Open();
  bool Close();
  bool Input(bool wholeLine);
  bool Kill();
  bool Rename();

  bool ParseTarget(Target *target);
  bool Store(const Target &target, const Value &value);
  bool ParseString(std::string *out);
  bool ParseFileNumber(double *number);
  bool Check(int code) { return code ? p.Fail(code) : true; }

  BasicSession *session;
  const BasicProgram *program;
  Parser p;
  RunPosition at{0, 0};
  bool jumped = false, ended = false;
  std::vector<RunPosition> gosubs;
  std::vector<ForFrame> loops;
  uint32_t statements = 0;
  RunClock clock;
};
