// The cursor over one line's tokens, shared by the expression evaluator and the statement
// runner, and the expression evaluator itself.
#pragma once

#include <string>
#include <vector>

#include "lexer.h"
#include "value.h"

struct BasicSession;

struct Parser {
  const std::vector<Token> *tokens = nullptr;  // ends with kTokenEnd
  size_t pos = 0;
  int error = 0;                    // first failure; once set, every parse step returns false
  int depth = 0;                    // current expression nesting
  BasicSession *session = nullptr;  // null: a single expression, without variables or files

  const Token &Peek() const { return (*tokens)[pos]; }
  const Token &Take() { return (*tokens)[pos < tokens->size() - 1 ? pos++ : pos]; }
  bool AtSymbol(const char *symbol) const {
    return Peek().kind == kTokenSymbol && Peek().text == symbol;
  }
  bool AtWord(const char *word) const { return Peek().kind == kTokenName && Peek().text == word; }
  // Takes the symbol or word if it is next.
  bool TakeSymbol(const char *symbol) { return AtSymbol(symbol) ? (Take(), true) : false; }
  bool TakeWord(const char *word) { return AtWord(word) ? (Take(), true) : false; }
  bool Fail(int code) {
    if (!error) error = code;
    return false;
  }
};

// Deepest expression nesting: each parenthesis, function argument list, array index, sign,
// "not" and "^" opens one level.
const int kMaxExpressionDepth = 64;

// Evaluates one expression at the cursor and leaves the cursor after it.  Returns false with
// p->error set on failure.  Numbers that become infinite fail with kErrOverflow, undefined
// ones (0/0 aside, which is kErrDivideByZero) with kErrOutOfRange.
bool ParseExpression(Parser *p, Value *out);
// The same, for an expression that must be a number (kErrKind otherwise).
bool ParseNumber(Parser *p, double *out);

// Names that are statements, operators or functions and so cannot be variables.
bool IsReservedWord(const std::string &name);
