// This test program's own resources, which are the program's: quillomar.rc is linked into it.
#pragma once

#include <windows.h>

inline HMODULE Self() {
  return GetModuleHandleA(nullptr);
}

// The resource's bytes in Japanese, the program's only language; null when there is none.
inline const BYTE *ResourceBytes(LPCSTR type, WORD id, DWORD *size = nullptr) {
  HRSRC found = FindResourceExA(Self(), type, MAKEINTRESOURCEA(id),
                                MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT));
  if (!found) return nullptr;
  if (size) *size = SizeofResource(Self(), found);
  return static_cast<const BYTE *>(LockResource(LoadResource(Self(), found)));
}
