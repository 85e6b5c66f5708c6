#include "settings_store.h"

#include <string.h>

#include "platform.h"

namespace {

// The scratch file's name is the settings file's own with its last character replaced by this
// one, so that it is never longer than the settings file's path: any program directory that can
// hold "init.inf" can hold its scratch file too.  A file of that name ("init.in~") is the
// program's own: a stale one left by a crash is simply overwritten by the next save.
const WCHAR kScratchMark = '~';
const WCHAR kScratchMarkAlternative = '_';  // for a name that already ends in the mark

int IsLowSurrogate(WCHAR c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

int IsHighSurrogate(WCHAR c) {
  return c >= 0xD800 && c <= 0xDBFF;
}

int WriteWhole(HANDLE file, const uint8_t *bytes, DWORD count) {
  DWORD done = 0;
  while (done < count) {
    DWORD written = 0;
    if (!WriteFile(file, bytes + done, count - done, &written, NULL) || written == 0) return 0;
    done += written;
  }
  return 1;
}

// The settings file rewritten where it stands, for a program directory in which no file may be
// created but the settings file itself may be written (a shared install where it was made
// writable for the player).  Opened without truncating it, so that when the first write fails
// the old settings stay whole; cut to the record's size only once the record is written.
int WriteInPlace(const WCHAR *path, const uint8_t *bytes) {
  HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, NULL, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
  if (file == INVALID_HANDLE_VALUE) return 0;
  int ok = WriteWhole(file, bytes, SETTINGS_FILE_SIZE);
  ok = ok && SetEndOfFile(file);
  ok = ok && FlushFileBuffers(file);
  ok = CloseHandle(file) && ok;
  return ok;
}

}  // namespace

int SettingsScratchPath(const WCHAR *path, WCHAR *out, size_t outUnits) {
  size_t length = 0;
  while (path[length]) ++length;
  // The last character: one unit, or a surrogate pair, whose half alone would be no name.
  size_t keep = length > 0 ? length - 1 : 0;
  if (keep > 0 && IsLowSurrogate(path[keep]) && IsHighSurrogate(path[keep - 1])) --keep;
  const WCHAR last = length > 0 ? path[keep] : 0;
  if (!last || last == '\\' || last == '/' || last == ':' || keep + 2 > outUnits ||
      keep + 2 > MAX_PATH) {
    if (outUnits > 0) out[0] = 0;
    return 0;
  }
  memcpy(out, path, keep * sizeof(WCHAR));
  out[keep] = last == kScratchMark ? kScratchMarkAlternative : kScratchMark;
  out[keep + 1] = 0;
  return 1;
}

int ReadSettingsBytes(const WCHAR *path, uint8_t out[SETTINGS_FILE_SIZE]) {
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, NULL);
  if (file == INVALID_HANDLE_VALUE) return 0;
  uint8_t bytes[SETTINGS_FILE_SIZE];
  DWORD done = 0;
  while (done < SETTINGS_FILE_SIZE) {
    DWORD got = 0;
    if (!ReadFile(file, bytes + done, SETTINGS_FILE_SIZE - done, &got, NULL) || got == 0) break;
    done += got;
  }
  CloseHandle(file);
  if (done < SETTINGS_FILE_SIZE) return 0;
  memcpy(out, bytes, SETTINGS_FILE_SIZE);
  return 1;
}

int WriteSettingsBytes(const WCHAR *path, const uint8_t in[SETTINGS_FILE_SIZE]) {
  WCHAR scratch[MAX_PATH];
  if (!SettingsScratchPath(path, scratch, MAX_PATH)) return 0;
  HANDLE file =
      CreateFileW(scratch, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
  if (file == INVALID_HANDLE_VALUE) return WriteInPlace(path, in);
  int ok = WriteWhole(file, in, SETTINGS_FILE_SIZE);
  // The bytes must be on the disk before the rename makes them the settings.
  ok = ok && FlushFileBuffers(file);
  ok = CloseHandle(file) && ok;
  ok = ok && MoveFileExW(scratch, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!ok) DeleteFileW(scratch);
  return ok;
}
