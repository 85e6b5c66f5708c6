// Recursive descent, one function per precedence level, lowest first:
//   or, and, not, comparison (= <> < > <= >=), + -, * / mod %, unary + -, ^, primary.
// Comparisons and logic give 1 for true and 0 for false.
#include <math.h>

#include "basic_session.h"
#include "error_codes.h"
#include "functions.h"
#include "parser.h"
#include "platform.h"

namespace {

// Counts nesting while alive, so that no input can exhaust the stack.
struct DepthGuard {
  Parser *p;
  bool ok;
  explicit DepthGuard(Parser *parser) : p(parser), ok(++parser->depth <= kMaxExpressionDepth) {
    if (!ok) p->Fail(kErrTooDeep);
  }
  ~DepthGuard() { --p->depth; }
};

bool Checked(Parser *p, double value, Value *out) {
  if (isnan(value)) return p->Fail(kErrOutOfRange);
  if (isinf(value)) return p->Fail(kErrOverflow);
  out->isString = false;
  out->number = value;
  out->text.clear();
  return true;
}

bool BothNumbers(Parser *p, const Value &a, const Value &b) {
  return (a.isString || b.isString) ? p->Fail(kErrKind) : true;
}

bool ParseOr(Parser *p, Value *out);
bool ParseUnary(Parser *p, Value *out);

bool ParseArguments(Parser *p, const BuiltinFunction &function, Value *arguments, int *count) {
  *count = 0;
  if (function.maxArguments == 0) return true;
  if (!p->TakeSymbol("(")) return p->Fail(kErrArgument);
  do {
    if (*count == function.maxArguments) return p->Fail(kErrArgument);
    if (!ParseExpression(p, &arguments[*count])) return false;
    bool wantString = function.kinds[*count] == 's';
    if (arguments[(*count)++].isString != wantString) return p->Fail(kErrArgument);
  } while (p->TakeSymbol(","));
  if (!p->TakeSymbol(")"))
    return p->Fail(p->Peek().kind == kTokenEnd ? kErrParenthesis : kErrSyntax);
  return *count >= function.minArguments ? true : p->Fail(kErrArgument);
}

bool ParseName(Parser *p, Value *out) {
  std::string name = p->Take().text;
  if (const BuiltinFunction *function = FindFunction(name)) {
    Value arguments[kMaxFunctionArguments];
    int count;
    if (!ParseArguments(p, *function, arguments, &count)) return false;
    int code = function->call(arguments, count, p->session, out);
    return code ? p->Fail(code) : true;
  }
  if (IsReservedWord(name)) return p->Fail(kErrSyntax);
  if (!p->session) return p->Fail(kErrVariableUse);
  if (!p->TakeSymbol("(")) {
    ReadScalar(p->session->variables, name, out);
    return true;
  }
  double index;
  if (!ParseNumber(p, &index)) return false;
  if (p->AtSymbol(",")) return p->Fail(kErrKind);  // arrays have one dimension
  if (!p->TakeSymbol(")")) return p->Fail(kErrParenthesis);
  int code = ReadElement(&p->session->variables, name, index, out);
  return code ? p->Fail(code) : true;
}

bool ParsePrimary(Parser *p, Value *out) {
  const Token &token = p->Peek();
  switch (token.kind) {
    case kTokenNumber:
      p->Take();
      return Checked(p, token.number, out);
    case kTokenString:
      out->isString = true;
      out->text = p->Take().text;
      return true;
    case kTokenName:
      return ParseName(p, out);
    case kTokenSymbol:
      if (p->TakeSymbol("(")) {
        if (!ParseExpression(p, out)) return false;
        return p->TakeSymbol(")") ? true : p->Fail(kErrParenthesis);
      }
      return p->Fail(token.text == ")" ? kErrParenthesis : kErrSyntax);
    case kTokenEnd:
      break;
  }
  return p->Fail(kErrSyntax);
}

// Right-associative, and binds tighter than unary minus: -2^2 is -4, 2^-1 is 0.5.  Each
// exponent nests one level deeper.
bool ParsePower(Parser *p, Value *out) {
  if (!ParsePrimary(p, out)) return false;
  if (!p->TakeSymbol("^")) return true;
  DepthGuard guard(p);
  Value exponent;
  if (!guard.ok || !ParseUnary(p, &exponent) || !BothNumbers(p, *out, exponent)) return false;
  if (out->number == 0 && exponent.number < 0) return p->Fail(kErrDivideByZero);
  return Checked(p, pow(out->number, exponent.number), out);
}

// Each sign nests one level deeper.
bool ParseUnary(Parser *p, Value *out) {
  bool minus = p->AtSymbol("-");
  if (!minus && !p->AtSymbol("+")) return ParsePower(p, out);
  p->Take();
  DepthGuard guard(p);
  if (!guard.ok || !ParseUnary(p, out)) return false;
  if (out->isString) return p->Fail(kErrKind);
  return minus ? Checked(p, -out->number, out) : true;
}

bool ParseProduct(Parser *p, Value *out) {
  if (!ParseUnary(p, out)) return false;
  for (;;) {
    char op;
    if (p->TakeSymbol("*"))
      op = '*';
    else if (p->TakeSymbol("/"))
      op = '/';
    else if (p->TakeSymbol("%") || p->TakeWord("mod"))
      op = '%';
    else
      return true;
    Value right;
    if (!ParseUnary(p, &right) || !BothNumbers(p, *out, right)) return false;
    double a = out->number, b = right.number;
    if (op != '*' && b == 0) return p->Fail(kErrDivideByZero);
    if (!Checked(p, op == '*' ? a * b : op == '/' ? a / b : fmod(a, b), out)) return false;
  }
}

bool ParseSum(Parser *p, Value *out) {
  if (!ParseProduct(p, out)) return false;
  for (;;) {
    bool plus = p->TakeSymbol("+");
    if (!plus && !p->TakeSymbol("-")) return true;
    Value right;
    if (!ParseProduct(p, &right)) return false;
    if (plus && out->isString && right.isString) {
      if (out->text.size() + right.text.size() > kMaxStringLength) return p->Fail(kErrMemory);
      out->text += right.text;
      continue;
    }
    if (!BothNumbers(p, *out, right)) return false;
    if (!Checked(p, plus ? out->number + right.number : out->number - right.number, out))
      return false;
  }
}

bool ParseComparison(Parser *p, Value *out) {
  if (!ParseSum(p, out)) return false;
  static const char *const kOperators[] = {"=", "<>", "<", ">", "<=", ">="};
  for (;;) {
    int op = -1;
    for (int i = 0; i < 6 && op < 0; ++i)
      if (p->TakeSymbol(kOperators[i])) op = i;
    if (op < 0) return true;
    Value right;
    if (!ParseSum(p, &right)) return false;
    if (out->isString != right.isString) return p->Fail(kErrKind);
    int order = out->isString ? out->text.compare(right.text)
                              : (out->number > right.number) - (out->number < right.number);
    bool results[6] = {order == 0, order != 0, order<0, order> 0, order <= 0, order >= 0};
    Checked(p, results[op] ? 1 : 0, out);
  }
}

// Each "not" nests one level deeper.
bool ParseNot(Parser *p, Value *out) {
  if (!p->TakeWord("not")) return ParseComparison(p, out);
  DepthGuard guard(p);
  if (!guard.ok || !ParseNot(p, out)) return false;
  return out->isString ? p->Fail(kErrKind) : Checked(p, out->number == 0 ? 1 : 0, out);
}

bool ParseAnd(Parser *p, Value *out) {
  if (!ParseNot(p, out)) return false;
  while (p->TakeWord("and")) {
    Value right;
    if (!ParseNot(p, &right) || !BothNumbers(p, *out, right)) return false;
    Checked(p, (out->number != 0 && right.number != 0) ? 1 : 0, out);
  }
  return true;
}

bool ParseOr(Parser *p, Value *out) {
  if (!ParseAnd(p, out)) return false;
  while (p->TakeWord("or")) {
    Value right;
    if (!ParseAnd(p, &right) || !BothNumbers(p, *out, right)) return false;
    Checked(p, (out->number != 0 || right.number != 0) ? 1 : 0, out);
  }
  return true;
}

}  // namespace

bool ParseExpression(Parser *p, Value *out) {
  if (p->error) return false;
  DepthGuard guard(p);
  // The steps after a failure see the line ended and may still return true: the error decides.
  return guard.ok && ParseOr(p, out) && !p->error;
}

bool Parser::ReadClock() {
  untimed = 0;
  if (GetTickCount() - clock->startTick > clock->milliseconds) return Fail(kErrInterrupted);
  return true;
}

bool ParseNumber(Parser *p, double *out) {
  Value value;
  if (!ParseExpression(p, &value)) return false;
  if (value.isString) return p->Fail(kErrKind);
  *out = value.number;
  return true;
}

bool IsReservedWord(const std::string &name) {
  static const char *const kWords[] = {
      "and",  "or",    "not",    "mod",    "let",   "dim",  "print", "if",   "then", "else",
      "goto", "gosub", "return", "for",    "to",    "step", "next",  "end",  "stop", "open",
      "as",   "input", "output", "append", "close", "line", "kill",  "name", "rem"};
  for (const char *word : kWords)
    if (name == word) return true;
  return FindFunction(name) != nullptr;
}
