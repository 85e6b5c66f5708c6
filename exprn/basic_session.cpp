#include "basic_session.h"

#include <string.h>

#include <new>

#include "basic_files.h"
#include "error_codes.h"
#include "parser.h"

namespace {

const char kSessionSignature[8] = {'\x1b', 'Q', 'V', 'B', 's', 'e', 's', 's'};

}  // namespace

BasicSession *CreateBasicSession() {
  BasicSession *session = new (std::nothrow) BasicSession;
  if (session) memcpy(session->signature, kSessionSignature, sizeof session->signature);
  return session;
}

void DestroyBasicSession(BasicSession *session) {
  if (!IsBasicSession(session)) return;
  CloseAllBasicFiles(session);
  memset(session->signature, 0, sizeof session->signature);
  delete session;
}

bool IsBasicSession(const void *object) {
  return object && memcmp(object, kSessionSignature, sizeof kSessionSignature) == 0;
}

void SetBasicFileFilter(BasicSession *session, BasicFileFilter filter, const char *directory) {
  session->filter = filter;
  session->filterDirectory = directory;
}

void SetBasicOutput(BasicSession *session, BasicPrintProc print_proc, void *user) {
  session->print_proc = print_proc;
  session->print_user = user;
}

void SetBasicLimits(BasicSession *session, const BasicLimits &limits) {
  session->limits = limits;
}

int BasicErrorLine(const BasicSession *session) {
  return session->errorLine;
}

namespace {

int Evaluate(const char *text, double *value) {
  std::vector<Token> tokens;
  int code = TokenizeLine(text, strlen(text), &tokens);
  if (code) return code;
  Parser p;
  p.tokens = &tokens;
  Value result;
  if (!ParseExpression(&p, &result)) return p.error;
  if (p.Peek().kind != kTokenEnd) return p.AtSymbol(")") ? kErrParenthesis : kErrSyntax;
  if (result.isString) return kErrKind;
  *value = result.number;
  return kExprnOk;
}

}  // namespace

int EvaluateExpressionText(const char *text, double *value) {
  try {
    return Evaluate(text, value);
  } catch (...) {  // only allocations throw
    return kErrMemory;
  }
}
