#include "file_932.h"

HANDLE CreateFile932(const char *path, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
  return CreateFileA(path, access, share, NULL, disposition, flags, NULL);
}

FILE *OpenFile932ForReading(const char *path) {
  return fopen(path, "rb");
}
