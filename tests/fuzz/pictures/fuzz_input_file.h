// The readers take a path, so each fuzz input goes through a file of this process's own.
#pragma once

#include <stddef.h>
#include <stdint.h>

// Writes `data` to this process's input file and returns its path, or NULL if it cannot.
const char *WriteFuzzInput(const uint8_t *data, size_t size, const char *extension);

// Reads the 32-bit little-endian value at `offset`, or 0 past the end.
uint32_t FuzzLe32(const uint8_t *data, size_t size, size_t offset);
