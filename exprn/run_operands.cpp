// The operands that statements of both kinds share: where a statement ends, an assignment's
// target and its store, a string operand and a file number.  Kept apart from the statements so
// that the runner and the file statements each use them without using each other.
#include "basic_run.h"
#include "error_codes.h"

bool BasicRun::AtStatementEnd() const {
  return p.Peek().kind == kTokenEnd || p.AtSymbol(":") || p.AtWord("else");
}

bool BasicRun::ParseTarget(Target *target) {
  const Token &token = p.Peek();
  if (token.kind != kTokenName || IsReservedWord(token.text)) return p.Fail(kErrSyntax);
  target->name = p.Take().text;
  target->indexed = p.TakeSymbol("(");
  if (!target->indexed) return true;
  if (!ParseNumber(&p, &target->index)) return false;
  if (p.AtSymbol(",")) return p.Fail(kErrKind);
  return p.TakeSymbol(")") ? true : p.Fail(kErrParenthesis);
}

bool BasicRun::Store(const Target &target, const Value &value) {
  if (p.error) return false;  // the time ran out while the target or value was read
  VariableStore *store = &session->variables;
  return Check(target.indexed ? WriteElement(store, target.name, target.index, value)
                              : WriteScalar(store, target.name, value));
}

bool BasicRun::ParseString(std::string *out) {
  Value value;
  if (!ParseExpression(&p, &value)) return false;
  if (!value.isString) return p.Fail(kErrKind);
  *out = value.text;
  return true;
}

// "[#]n"
bool BasicRun::ParseFileNumber(double *number) {
  p.TakeSymbol("#");
  return ParseNumber(&p, number);
}
