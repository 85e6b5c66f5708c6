#include "file_names.h"

#include <ctype.h>

#include "ansi_chars.h"

namespace {

// The name holds no NUL when this is asked, so its text ends where the string does.
size_t CharacterBytes(const std::string &name, size_t at) {
  return (size_t)AnsiCharacterBytes(name.c_str() + at);
}

bool HasForeignColon(const std::string &name) {
  for (size_t at = 0; at < name.size(); at += CharacterBytes(name, at)) {
    bool drive = at == 1 && isalpha(static_cast<unsigned char>(name[0]));
    if (name[at] == ':' && !drive) return true;
  }
  return false;
}

// The last component, from just after the last separator.
std::string LastComponent(const std::string &name) {
  size_t start = 0;
  for (size_t at = 0; at < name.size(); at += CharacterBytes(name, at))
    if (name[at] == '\\' || name[at] == '/' || name[at] == ':') start = at + 1;
  return name.substr(start);
}

// A serial or printer port's number: 0 to 9, or the superscripts 1, 2 and 3 of code page 1252
// (bytes B9, B2, B3), which Windows takes for the same ports.  Under code page 932 these bytes
// are katakana, and such a name is refused all the same.
bool IsPortNumber(unsigned char c) {
  return (c >= '0' && c <= '9') || c == 0xB9 || c == 0xB2 || c == 0xB3;
}

// Windows gives its devices these names with any extension and trailing blanks.
bool IsDeviceName(const std::string &name) {
  std::string base = LastComponent(name);
  base = base.substr(0, base.find('.'));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  for (char &c : base) c = (char)tolower((unsigned char)c);
  static const char *const kDevices[] = {"con", "prn", "aux", "nul", "conin$", "conout$", "clock$"};
  for (const char *device : kDevices)
    if (base == device) return true;
  return base.size() == 4 && (base.compare(0, 3, "com") == 0 || base.compare(0, 3, "lpt") == 0) &&
         IsPortNumber((unsigned char)base[3]);
}

}  // namespace

bool IsRefusedFileName(const std::string &name) {
  return name.empty() || name.size() >= MAX_PATH || name.find('\0') != std::string::npos ||
         HasForeignColon(name) || IsDeviceName(name);
}
