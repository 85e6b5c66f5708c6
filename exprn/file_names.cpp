#include "file_names.h"

#include <ctype.h>

#include "platform.h"

namespace {

size_t CharacterBytes(const std::string &name, size_t at) {
  return IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(name[at])) && at + 1 < name.size() ? 2 : 1;
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

// Windows gives its devices these names with any extension and trailing blanks.
bool IsDeviceName(const std::string &name) {
  std::string base = LastComponent(name);
  base = base.substr(0, base.find('.'));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  for (char &c : base) c = (char)tolower((unsigned char)c);
  static const char *const kDevices[] = {"con", "prn", "aux", "nul", "conin$", "conout$"};
  for (const char *device : kDevices)
    if (base == device) return true;
  return base.size() == 4 && (base.compare(0, 3, "com") == 0 || base.compare(0, 3, "lpt") == 0) &&
         base[3] >= '1' && base[3] <= '9';
}

}  // namespace

bool IsRefusedFileName(const std::string &name) {
  return name.empty() || name.size() >= MAX_PATH || name.find('\0') != std::string::npos ||
         HasForeignColon(name) || IsDeviceName(name);
}
