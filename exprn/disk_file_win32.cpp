// Windows: the handle is opened first and its type checked (GetFileType) before the C runtime
// gets a stream over it, so a device name that slipped past the name rules is still refused.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "disk_file.h"

FILE *OpenDiskFile(const char *name, char mode) {
  bool reading = mode == 'i' || mode == 'b';
  HANDLE handle =
      CreateFileA(name, reading ? GENERIC_READ : GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  NULL, reading ? OPEN_EXISTING : OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  // Emptied only now, once it is known to be a disk file; the pointer is still at its start.
  if (GetFileType(handle) != FILE_TYPE_DISK || (mode == 'o' && !SetEndOfFile(handle))) {
    CloseHandle(handle);
    return nullptr;
  }
  // Written in text mode (line ends as CR LF), read as bytes: the reader drops the CR itself,
  // and a Ctrl-Z inside a file is not taken for its end, the same as on other systems.
  int flags = reading ? _O_RDONLY | _O_BINARY : _O_TEXT | (mode == 'a' ? _O_APPEND : 0);
  int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), flags);
  if (fd == -1) {
    CloseHandle(handle);
    return nullptr;
  }
  const char *how = reading ? "rb" : mode == 'o' ? "w" : "a";
  FILE *stream = _fdopen(fd, how);
  if (!stream) _close(fd);
  return stream;
}

bool NameExists(const char *name) {
  return GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES;
}
