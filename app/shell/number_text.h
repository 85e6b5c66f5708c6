// Number fields as values: the plain decimal reading used when no interpreter library is
// loaded, and the conversion of an interpreter's result to a field value.
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// Reads `text` as an unsigned decimal: blanks first, then an optional "+" or "-", then digits
// and nothing after them.  A value above 4294967295 gives 4294967295 (with either sign); a
// leading "-" negates any other value modulo 2^32.  Returns 1 with *out set, or 0 with *out
// untouched (no digit, or anything after the digits).
int ParsePlainNumber(const char *text, uint32_t *out);

// An interpreter's result as a field value: truncated toward zero as a 64-bit integer, of
// which the low 32 bits are kept (2.9 gives 2, -1 gives 4294967295).  A result that is not a
// number or lies outside the 64-bit range has no such value: returns 0, *out untouched.
int NumberFromResult(double value, uint32_t *out);

#ifdef __cplusplus
}
#endif
