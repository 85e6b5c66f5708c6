#include "file_932.h"

#include <wchar.h>

namespace {

constexpr UINT kProgramCodePage = 932;
// A 932 path of n bytes needs at most n + 1 UTF-16 units; the settings keep 260 bytes, and a
// path typed or dropped is refused before it grows past this.
constexpr int kPathUnits = 1024;

// The path in UTF-16, or false when it is not valid 932 or too long.
bool WidePath(const char *path, WCHAR *wide) {
  int units =
      MultiByteToWideChar(kProgramCodePage, MB_ERR_INVALID_CHARS, path, -1, wide, kPathUnits);
  return units > 0;
}

}  // namespace

HANDLE CreateFile932(const char *path, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
  WCHAR wide[kPathUnits];
  if (!WidePath(path, wide)) {
    SetLastError(ERROR_INVALID_NAME);
    return INVALID_HANDLE_VALUE;
  }
  return CreateFileW(wide, access, share, NULL, disposition, flags, NULL);
}

FILE *OpenFile932ForReading(const char *path) {
  WCHAR wide[kPathUnits];
  if (!WidePath(path, wide)) return NULL;
  return _wfopen(wide, L"rb");
}
