// The library's entry points as the program calls them: through the 7000-byte work area it
// zero-fills before use.  The program sets the source at offset 0 (a text pointer for the
// prologue run, a handle from QvbLoadSource for the script run), the file filter at offset 96
// and the filter's directory at offset 4624; the session pointer the library keeps lives at
// kSessionOffset, a range the program never writes.
#pragma once

#include <stddef.h>

const size_t kWorkAreaSize = 7000;
const size_t kSourceOffset = 0;
const size_t kFilterOffset = 96;
const size_t kSessionOffset = 8;
const size_t kDirectoryOffset = 4624;

// "Exprion": `reserved` is ignored.  Returns 0 and the value in *result, or a negative code.
int ExprionEvaluate(int reserved, const char *text, double *result);
// "_qvb_loadsrc@4": a non-zero handle, or 0 when the file cannot be read or has errors.
void *QvbLoadSource(const char *path);
// "_qvb_free@4": frees a handle; ignores 0 and anything that is not a handle.
int QvbFree(void *handle);
// "_qvb_initialize@4": creates the session; 0, or a negative code if it cannot.
int QvbInitialize(void *area);
// "_qvb_terminate@4": destroys the session and clears its pointer.
int QvbTerminate(void *area);
// "_exprion_basic@4": runs the source at offset 0 with the filter at offset 96.
int ExprionBasic(void *area);
