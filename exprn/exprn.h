// The interpreter library: a single-expression evaluator and a small line-numbered BASIC.
// Portable core of Exprn40.dll; the host tool qmbasic and the tests call it directly.
// Every function returns 0 on success or one of the negative codes of error_codes.h; none
// lets a C++ exception out (an allocation that fails anyway is kErrMemory).
//
// Memory: a program holds at most kMaxProgramTokens tokens from at most kMaxSourceBytes of
// text; a session's variables at most kMaxStringBytes of string contents and kMaxArrayElements
// array elements; a run's temporaries (expressions nested kMaxExpressionDepth deep, each value
// at most kMaxStringLength bytes, the text of one print no more) a few megabytes.  All told a
// program, its session and a run stay under kMaxSessionBytes.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "platform.h"

// Evaluates `text`, one numeric expression; on success stores the value in *value, on
// failure leaves *value untouched.
int EvaluateExpressionText(const char *text, double *value);

// A loaded program: its lines, sorted, tokenized once.
struct BasicProgram;

// Loads a program from text[0..length) (LF or CR LF lines, each "number statements", blank
// lines allowed; at most kMaxSourceBytes of text and kMaxProgramTokens tokens, else kErrMemory).
// Returns the program, or null with *error (and *errorLine, the number of the offending line or 0)
// set.  Free it with FreeBasicProgram.
BasicProgram *LoadBasicText(const char *text, size_t length, int *error, int *errorLine);
const size_t kMaxSourceBytes = 1 << 20;
const size_t kMaxProgramTokens = 100000;
const size_t kMaxSessionBytes = 64u << 20;
// The same for a disk file (nothing else is opened) of at most kMaxSourceBytes.
BasicProgram *LoadBasicFile(const char *path, int *error, int *errorLine);
void FreeBasicProgram(BasicProgram *program);  // accepts null
// True when `object` is a live BasicProgram.  Reads `object` byte by byte and stops at the
// first byte that differs from the signature, so a NUL-terminated text may be passed too.
bool IsBasicProgram(const void *object);

// Asked before a script touches a file (open, kill, name): 0 allows, anything else refuses.
typedef int(WINAPI *BasicFileFilter)(LPCSTR path, LPCSTR directory);
typedef void (*BasicPrintProc)(const char *text, size_t length, void *user);

// A run stops with kErrInterrupted once it has run `statements` statements or `milliseconds`
// of tick time, so no script can hold the window thread: the clock is read as statements take
// their tokens, so even one long statement ends within a few milliseconds of the time.  A run
// fails with kErrWrite once it has written `writtenBytes` to files, and an open that would
// create a file fails with kErrOpen once the run has created `newFiles` files.
struct BasicLimits {
  uint32_t statements = 10000000;
  uint32_t milliseconds = 5000;
  uint64_t writtenBytes = 16u << 20;
  uint32_t newFiles = 256;
};

struct BasicSession;

BasicSession *CreateBasicSession();               // null when out of memory
void DestroyBasicSession(BasicSession *session);  // closes its files; accepts null
bool IsBasicSession(const void *object);
void SetBasicFileFilter(BasicSession *session, BasicFileFilter filter, const char *directory);
void SetBasicOutput(BasicSession *session, BasicPrintProc print_proc, void *user);
void SetBasicLimits(BasicSession *session, const BasicLimits &limits);

// Runs `program` with the session's variables (those of earlier runs included).  Files the
// run opened are closed when it ends, whatever the outcome.
int RunBasicProgram(BasicSession *session, const BasicProgram *program);
// The line number at which the last run failed, 0 if it did not fail inside a line.
int BasicErrorLine(const BasicSession *session);
