#include "fuzz_input_file.h"

#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

static char path[260];

static void RemoveFuzzInput(void) {
  remove(path);
}

const char *WriteFuzzInput(const uint8_t *data, size_t size, const char *extension) {
  if (!path[0]) {
    const char *dir = getenv("TMPDIR");
    snprintf(path, sizeof path, "%s/qmfuzz_%ld%s", dir ? dir : "/tmp", (long)getpid(), extension);
    atexit(RemoveFuzzInput);
  }
  FILE *f = fopen(path, "wb");
  if (!f) return NULL;
  size_t written = size ? fwrite(data, 1, size, f) : 0;
  if (fclose(f) != 0 || written != size) return NULL;
  return path;
}

uint32_t FuzzLe32(const uint8_t *data, size_t size, size_t offset) {
  if (offset + 4 > size) return 0;
  return (uint32_t)data[offset] | ((uint32_t)data[offset + 1] << 8) |
         ((uint32_t)data[offset + 2] << 16) | ((uint32_t)data[offset + 3] << 24);
}
