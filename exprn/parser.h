// The cursor over one line's tokens, shared by the expression evaluator and the statement
// runner, and the expression evaluator itself.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "lexer.h"
#include "value.h"

struct BasicSession;

// The time a run may take: a run stops with kErrInterrupted once the tick count has moved
// `milliseconds` past `startTick`.
struct RunClock {
  uint32_t startTick = 0;
  uint32_t milliseconds = 0;
};

// Tokens taken between two readings of the run's clock.  No token costs more than a few
// 32 KB string copies, so a run never goes far past its time, whatever one statement holds.
const uint32_t kTokensPerClockReading = 16;

struct Parser {
  const std::vector<Token> *tokens = nullptr;  // ends with kTokenEnd
  size_t pos = 0;
  int error = 0;                    // first failure; once set, every parse step returns false
  int depth = 0;                    // current expression nesting
  BasicSession *session = nullptr;  // null: a single expression, without variables or files
  const RunClock *clock = nullptr;  // null: no time limit (a single expression is short)
  uint32_t untimed = 0;             // tokens taken since the clock was last read

  // Once a step has failed, the line looks ended, so every loop over its tokens stops at once
  // (a statement of 100000 tokens is not walked to its end after its time is spent).
  const Token &Peek() const { return error ? tokens->back() : (*tokens)[pos]; }
  const Token &Take() {
    if (error) return tokens->back();
    const Token &token = (*tokens)[pos < tokens->size() - 1 ? pos++ : pos];
    if (clock && ++untimed >= kTokensPerClockReading) ReadClock();
    return token;
  }
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
  // Fails with kErrInterrupted when the run's time is spent.
  bool ReadClock();
};

// Deepest expression nesting: each parenthesis, function argument list, array index, sign,
// "not" and "^" opens one level.
const int kMaxExpressionDepth = 64;

// Evaluates one expression at the cursor and leaves the cursor after it.  Returns false with
// p->error set on failure (also when the run's time ran out inside it: its value is then not
// whole and must not be used).  Numbers that become infinite fail with kErrOverflow, undefined
// ones (0/0 aside, which is kErrDivideByZero) with kErrOutOfRange.
bool ParseExpression(Parser *p, Value *out);
// The same, for an expression that must be a number (kErrKind otherwise).
bool ParseNumber(Parser *p, double *out);

// Names that are statements, operators or functions and so cannot be variables.
bool IsReservedWord(const std::string &name);
