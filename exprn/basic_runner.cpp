// The statement runner: the main loop, control flow (if, goto, gosub, return, for, next, end),
// assignment, dim and print.
#include <math.h>

#include "basic_files.h"
#include "basic_run.h"
#include "error_codes.h"

BasicRun::BasicRun(BasicSession *s, const BasicProgram *prog) : session(s), program(prog) {
  p.session = s;
}

int BasicRun::Execute() {
  clock.startTick = GetTickCount();
  clock.milliseconds = session->limits.milliseconds;
  p.clock = &clock;
  const std::vector<BasicLine> &lines = program->lines;
  while (at.line < lines.size()) {
    const size_t line = at.line;  // a statement that jumps and then fails failed here
    p.tokens = &lines[line].tokens;
    p.pos = at.pos;
    // A line ends at its end, and also at an "else" reached after a then-branch.
    if (p.Peek().kind == kTokenEnd || p.AtWord("else")) {
      at = {line + 1, 0};
      continue;
    }
    jumped = false;
    // The clock may stop the run at a ":" too.
    bool failed = p.TakeSymbol(":") ? p.error != 0
                                    : !Budget() || !Statement() || p.error ||
                                          (!jumped && !ended && !AtStatementEnd() &&
                                           !p.Fail(p.AtSymbol(")") ? kErrParenthesis : kErrSyntax));
    if (failed) {
      session->errorLine = (int)lines[line].number;
      return p.error;
    }
    if (ended) break;
    if (!jumped) at.pos = p.pos;
  }
  return kExprnOk;
}

// The statement count; the time is read as the statements take their tokens (Parser::Take).
bool BasicRun::Budget() {
  ++statements;
  return statements > session->limits.statements ? p.Fail(kErrInterrupted) : true;
}

bool BasicRun::Jump(size_t line, size_t pos) {
  at = {line, pos};
  jumped = true;
  return true;
}

// Reads a line number and jumps there; for gosub, first remembers where to come back.
bool BasicRun::GotoLine(bool pushReturn) {
  const Token &token = p.Peek();
  if (token.kind != kTokenNumber || token.number != trunc(token.number) ||
      token.number > kMaxLineNumber)
    return p.Fail(kErrLineNumber);
  int line = FindLine(*program, p.Take().number);
  if (line < 0) return p.Fail(kErrJumpTarget);
  if (pushReturn) {
    if (gosubs.size() >= kMaxGosubDepth) return p.Fail(kErrMemory);
    gosubs.push_back({at.line, p.pos});
  }
  return Jump((size_t)line, 0);
}

bool BasicRun::Statement() {
  const Token &token = p.Peek();
  if (token.kind != kTokenName) return p.Fail(token.text == ")" ? kErrParenthesis : kErrSyntax);
  std::string word = token.text;
  if (!IsReservedWord(word)) return Assignment();
  p.Take();
  if (word == "let") return Assignment();
  if (word == "dim") return Dim();
  if (word == "print") return Print();
  if (word == "if") return If();
  if (word == "goto") return GotoLine(false);
  if (word == "gosub") return GotoLine(true);
  if (word == "for") return For();
  if (word == "next") return Next();
  if (word == "open") return Open();
  if (word == "close") return Close();
  if (word == "input") return Input(false);
  if (word == "line") return p.TakeWord("input") ? Input(true) : p.Fail(kErrSyntax);
  if (word == "kill") return Kill();
  if (word == "name") return Rename();
  if (word == "return") {
    if (gosubs.empty()) return p.Fail(kErrReturn);
    RunPosition back = gosubs.back();
    gosubs.pop_back();
    return Jump(back.line, back.pos);
  }
  if (word == "end" || word == "stop") {
    ended = true;
    return true;
  }
  return p.Fail(kErrSyntax);
}

bool BasicRun::Assignment() {
  Target target;
  Value value;
  if (!ParseTarget(&target)) return false;
  if (!p.TakeSymbol("=")) return p.Fail(kErrSyntax);
  return ParseExpression(&p, &value) && Store(target, value);
}

bool BasicRun::Dim() {
  do {
    const Token &token = p.Peek();
    if (token.kind != kTokenName || IsReservedWord(token.text)) return p.Fail(kErrSyntax);
    std::string name = p.Take().text;
    double bound;
    if (!p.TakeSymbol("(")) return p.Fail(kErrSyntax);
    if (!ParseNumber(&p, &bound)) return false;
    if (p.AtSymbol(",")) return p.Fail(kErrKind);
    if (!p.TakeSymbol(")")) return p.Fail(kErrParenthesis);
    if (!Check(DimArray(&session->variables, name, bound))) return false;
  } while (p.TakeSymbol(","));
  return true;
}

// "if c then statements [else statements]"; a line number after then or else is a goto.
// A false condition continues after the else that belongs to this if (nested ifs on the line
// own the elses before it), or on the next line.
bool BasicRun::If() {
  Value condition;
  if (!ParseExpression(&p, &condition)) return false;
  if (condition.isString) return p.Fail(kErrCondition);
  if (!p.TakeWord("then") && !p.AtWord("goto")) return p.Fail(kErrSyntax);
  if (condition.number == 0) {
    int nested = 0;
    for (;;) {
      const Token &token = p.Peek();
      if (token.kind == kTokenEnd) return Jump(at.line + 1, 0);
      p.Take();
      if (token.kind != kTokenName) continue;
      if (token.text == "if") ++nested;
      if (token.text == "else" && nested-- == 0) break;
    }
  }
  if (p.Peek().kind == kTokenNumber) return GotoLine(false);
  return Jump(at.line, p.pos);
}

bool BasicRun::For() {
  const Token &token = p.Peek();
  if (token.kind != kTokenName || IsReservedWord(token.text)) return p.Fail(kErrSyntax);
  ForFrame frame;
  frame.variable = p.Take().text;
  if (IsStringName(frame.variable)) return p.Fail(kErrKind);
  double start;
  frame.step = 1;
  if (!p.TakeSymbol("=")) return p.Fail(kErrSyntax);
  if (!ParseNumber(&p, &start)) return false;
  if (!p.TakeWord("to")) return p.Fail(kErrSyntax);
  if (!ParseNumber(&p, &frame.end)) return false;
  if (p.TakeWord("step") && !ParseNumber(&p, &frame.step)) return false;
  Value value;
  value.number = start;
  if (!Store({frame.variable}, value)) return false;
  // Entering a loop again (a goto out of it and back) replaces the old frame.
  for (size_t i = 0; i < loops.size(); ++i)
    if (loops[i].variable == frame.variable) loops.resize(i);
  if (loops.size() >= kMaxForDepth) return p.Fail(kErrMemory);
  frame.body = {at.line, p.pos};
  loops.push_back(frame);
  bool runs = frame.step >= 0 ? start <= frame.end : start >= frame.end;
  return runs ? true : SkipToNext();
}

// A loop that runs no time continues after its next: the first next not taken by a for
// nested in between.
bool BasicRun::SkipToNext() {
  size_t line = at.line, pos = p.pos;
  int nested = 0;
  const std::vector<BasicLine> &lines = program->lines;
  while (line < lines.size()) {
    const Token &token = lines[line].tokens[pos];
    if (token.kind == kTokenEnd) {
      ++line;
      pos = 0;
      continue;
    }
    ++pos;
    if (token.kind != kTokenName) continue;
    if (token.text == "for") ++nested;
    if (token.text == "next" && nested-- == 0) {
      loops.pop_back();
      const Token &after = lines[line].tokens[pos];
      if (after.kind == kTokenName && !IsReservedWord(after.text)) ++pos;
      return Jump(line, pos);
    }
  }
  return p.Fail(kErrNoNext);
}

bool BasicRun::Next() {
  if (p.Peek().kind == kTokenName && !IsReservedWord(p.Peek().text)) {
    std::string name = p.Take().text;
    while (!loops.empty() && loops.back().variable != name) loops.pop_back();
  }
  if (loops.empty()) return p.Fail(kErrNext);
  ForFrame &frame = loops.back();
  Value value;
  ReadScalar(session->variables, frame.variable, &value);
  value.number += frame.step;
  if (isinf(value.number)) return p.Fail(kErrOverflow);
  if (!Store({frame.variable}, value)) return false;
  bool again = frame.step >= 0 ? value.number <= frame.end : value.number >= frame.end;
  if (again) return Jump(frame.body.line, frame.body.pos);
  loops.pop_back();
  return true;
}

// "print [#n,] items": ";" joins, "," puts a TAB; a trailing ";" or "," keeps the line open.
// The joined text, line end aside, is at most kMaxStringLength bytes.
bool BasicRun::Print() {
  double file = 0;
  bool toFile = p.TakeSymbol("#");
  if (toFile && !ParseFileNumber(&file)) return false;
  if (toFile && !AtStatementEnd() && !p.TakeSymbol(",")) return p.Fail(kErrSyntax);
  std::string text;
  bool newline = true;
  while (!AtStatementEnd()) {
    newline = false;
    if (p.TakeSymbol(";")) continue;
    if (p.TakeSymbol(",")) {
      if (text.size() >= kMaxStringLength) return p.Fail(kErrMemory);
      text += '\t';
      continue;
    }
    Value value;
    if (!ParseExpression(&p, &value)) return false;
    const std::string &item = value.isString ? value.text : FormatNumber(value.number);
    // One print's text obeys the limit of every other string the script builds.
    if (text.size() + item.size() > kMaxStringLength) return p.Fail(kErrMemory);
    text += item;
    newline = true;
  }
  if (p.error) return false;  // the time ran out: nothing half-made is written
  if (newline) text += '\n';
  if (toFile) return Check(WriteBasicFile(session, file, text));
  if (session->print_proc) session->print_proc(text.data(), text.size(), session->print_user);
  return true;
}

int RunBasicProgram(BasicSession *session, const BasicProgram *program) {
  if (!IsBasicSession(session) || !IsBasicProgram(program)) return kErrInitialization;
  session->errorLine = 0;
  session->written = 0;
  session->created = 0;
  int code;
  try {
    BasicRun run(session, program);
    code = run.Execute();
  } catch (...) {  // only allocations throw; the variables stay as they were before it
    code = kErrMemory;
  }
  int closed = CloseAllBasicFiles(session);
  return code ? code : closed;
}
