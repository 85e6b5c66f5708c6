// The streaming fit checked against the plain one on whatever the fuzzer made of a file.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "picture.h"

// Streams the file at `path` (a JPEG when `jpeg`, else a bitmap) into a small surface whose
// size and thread count come from the input's last bytes, and traps unless it reads exactly
// when the plain reader did (`read`, with `picture` its result) and, for pictures small enough
// to filter the plain way quickly, gives the same bytes; after a failure the surface is black.
void CheckStreamedFit(const char *path, int jpeg, int read, const PictureBuffer *picture,
                      const uint8_t *data, size_t size);
