// What a fuzz input declares about its picture's size, read before the reader runs, so that a
// target can pass over legal pictures too large to keep it fast.
#pragma once

#include <stddef.h>
#include <stdint.h>

// The width and height in a bitmap's information header (0 when the input is too short).
void BmpDeclaredSize(const uint8_t *data, size_t size, int64_t *width, int64_t *height);

// The width and height libjpeg reads from the JPEG's header; 0 x 0 when it finds none.
void JpegDeclaredSize(const uint8_t *data, size_t size, int64_t *width, int64_t *height);
