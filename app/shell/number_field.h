// Number fields of a dialog as values (Windows only): through the interpreter library when one
// is loaded, else as plain decimal numbers.
#pragma once

#include <windows.h>

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// Size of the text read from a number field, terminator included.
enum { NUMBER_FIELD_TEXT_BYTES = 512 };

// The value of `control` of `dialog`: returns 1 with *out set, or 0 with *out untouched when
// the field is empty, the expression fails, or the plain number is malformed.
int EvaluateNumber(HWND dialog, int control, uint32_t *out);

// What an expression gives, for a field's tooltip: "適用値：<value>", or the interpreter's
// error text "<library> のｴﾗｰ : <message>".  A result beyond the field's 64-bit reading is
// shown as the library's overflow.  Needs a loaded library.  Writes at most outSize bytes,
// always terminated when outSize > 0.
void DescribeExpression(const char *text, char *out, size_t outSize);

#ifdef __cplusplus
}
#endif
