#include "work_area.h"

#include <string.h>

#include "error_codes.h"
#include "exprn.h"

namespace {

template <typename T>
T Field(const void *area, size_t offset) {
  T value;
  memcpy(&value, static_cast<const char *>(area) + offset, sizeof value);
  return value;
}

BasicSession *SessionOf(const void *area) {
  BasicSession *session = Field<BasicSession *>(area, kSessionOffset);
  return IsBasicSession(session) ? session : nullptr;
}

}  // namespace

int ExprionEvaluate(int, const char *text, double *result) {
  if (!text || !result) return kErrArgument;
  return EvaluateExpressionText(text, result);
}

void *QvbLoadSource(const char *path) {
  int error, line;
  return LoadBasicFile(path, &error, &line);
}

int QvbFree(void *handle) {
  if (!IsBasicProgram(handle)) return kErrArgument;
  FreeBasicProgram(static_cast<BasicProgram *>(handle));
  return kExprnOk;
}

// The area is zero-filled by the program, so the session field holds nothing worth reading:
// it is written, never freed, here.
int QvbInitialize(void *area) {
  if (!area) return kErrArgument;
  BasicSession *session = CreateBasicSession();
  memcpy(static_cast<char *>(area) + kSessionOffset, &session, sizeof session);
  return session ? kExprnOk : kErrMemory;
}

int QvbTerminate(void *area) {
  if (!area) return kErrArgument;
  DestroyBasicSession(SessionOf(area));
  BasicSession *none = nullptr;
  memcpy(static_cast<char *>(area) + kSessionOffset, &none, sizeof none);
  return kExprnOk;
}

// The source at offset 0 is a program loaded by QvbLoadSource when it carries the program
// signature, and otherwise the text of a program to load for this run only.
int ExprionBasic(void *area) {
  if (!area) return kErrArgument;
  BasicSession *session = SessionOf(area);
  if (!session) return kErrInitialization;
  const char *source = Field<const char *>(area, kSourceOffset);
  if (!source) return kErrArgument;
  SetBasicFileFilter(session, Field<BasicFileFilter>(area, kFilterOffset),
                     Field<const char *>(area, kDirectoryOffset));
  if (IsBasicProgram(source))
    return RunBasicProgram(session, reinterpret_cast<const BasicProgram *>(source));
  int error, line;
  BasicProgram *program = LoadBasicText(source, strlen(source), &error, &line);
  if (!program) return error;
  error = RunBasicProgram(session, program);
  FreeBasicProgram(program);
  return error;
}
