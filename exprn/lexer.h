// Turns one line of text into tokens.  Shared by the single-expression entry and by the
// loader of BASIC programs, so both read numbers, names and operators alike.
#pragma once

#include <stddef.h>

#include <string>
#include <vector>

enum TokenKind { kTokenEnd, kTokenNumber, kTokenString, kTokenName, kTokenSymbol };

struct Token {
  TokenKind kind = kTokenEnd;
  double number = 0;  // kTokenNumber
  std::string text;   // name (lower case, "$" kept), string contents, or the symbol itself
};

// Longest number literal, in characters; longer ones are refused with kErrNumberTooLong.
const size_t kMaxNumberLength = 40;
// Longest name, in characters.
const size_t kMaxNameLength = 40;

// Appends the tokens of text[0..length) to `tokens`, then one kTokenEnd.  "rem" or "'" ends
// the line: the rest is a comment.  Returns 0, or a negative code (tokens then partial).
int TokenizeLine(const char *text, size_t length, std::vector<Token> *tokens);
