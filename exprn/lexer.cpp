#include "lexer.h"

#include <math.h>
#include <stdlib.h>

#include "error_codes.h"

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsNameStart(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
bool IsNameChar(char c) {
  return IsNameStart(c) || IsDigit(c);
}
char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Reads digits [. digits] [e [+-] digits] starting at text[*at]; an "e" not followed by an
// exponent is left for the name that follows, so "2e" is the number 2 then the name "e".
int ReadNumber(const char *text, size_t length, size_t *at, Token *token) {
  size_t start = *at, i = *at;
  while (i < length && IsDigit(text[i])) ++i;
  if (i < length && text[i] == '.') {
    ++i;
    while (i < length && IsDigit(text[i])) ++i;
  }
  if (i - start == 1 && text[start] == '.') return kErrSyntax;
  if (i < length && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    if (j < length && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < length && IsDigit(text[j])) {
      while (j < length && IsDigit(text[j])) ++j;
      i = j;
    }
  }
  if (i - start > kMaxNumberLength) return kErrNumberTooLong;
  char copy[kMaxNumberLength + 1];
  for (size_t k = start; k < i; ++k) copy[k - start] = text[k];
  copy[i - start] = '\0';
  double value = strtod(copy, nullptr);
  if (isinf(value)) return kErrOverflow;
  token->kind = kTokenNumber;
  token->number = value;
  *at = i;
  return kExprnOk;
}

}  // namespace

int TokenizeLine(const char *text, size_t length, std::vector<Token> *tokens) {
  size_t i = 0;
  while (i < length) {
    char c = text[i];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
      continue;
    }
    if (c == '\'') break;
    Token token;
    if (IsDigit(c) || (c == '.' && i + 1 < length && IsDigit(text[i + 1]))) {
      int code = ReadNumber(text, length, &i, &token);
      if (code) return code;
    } else if (IsNameStart(c)) {
      size_t start = i;
      while (i < length && IsNameChar(text[i])) token.text += Lower(text[i++]);
      if (i < length && text[i] == '$') token.text += text[i++];
      if (i - start > kMaxNameLength) return kErrSyntax;
      if (token.text == "rem") break;
      token.kind = kTokenName;
    } else if (c == '"') {
      size_t end = i + 1;
      while (end < length && text[end] != '"') ++end;
      if (end >= length) return kErrSyntax;
      token.kind = kTokenString;
      token.text.assign(text + i + 1, end - i - 1);
      i = end + 1;
    } else {
      static const char kSingles[] = "+-*/^%()=<>,;:#";
      bool known = false;
      for (const char *s = kSingles; *s; ++s) known = known || *s == c;
      if (!known) return kErrSyntax;
      token.kind = kTokenSymbol;
      token.text = c;
      ++i;
      if (c == '<' && i < length && (text[i] == '=' || text[i] == '>')) token.text += text[i++];
      if (c == '>' && i < length && text[i] == '=') token.text += text[i++];
    }
    tokens->push_back(token);
  }
  tokens->push_back(Token());
  return kExprnOk;
}
