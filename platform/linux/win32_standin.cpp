// Linux stand-in for the kernel32 calls of the portable core.  Files are plain file
// descriptors; global memory blocks carry a small header so that GlobalHandle can find the
// block from its locked address, as on Windows.
#include "platform.h"

#include <ctype.h>
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

namespace {

// A global memory block: a header followed by the payload.  A fixed block's handle is its
// payload address, as on Windows; a moveable block's handle is that address plus one, an odd
// value no payload can have, so each call can tell the two apart without a table.
struct GlobalBlock {
  size_t size;
  unsigned magic;
  unsigned moveable;
  unsigned lockCount;
  alignas(16) unsigned char payload[16];
};

const unsigned kBlockMagic = 0x47424c4bu;  // "GBLK"
int failAfter = -1;

GlobalBlock *BlockFromPayload(const void *payload) {
  if (!payload) return nullptr;
  GlobalBlock *block = reinterpret_cast<GlobalBlock *>(
      const_cast<unsigned char *>(static_cast<const unsigned char *>(payload)) -
      offsetof(GlobalBlock, payload));
  return block->magic == kBlockMagic ? block : nullptr;
}

GlobalBlock *BlockFromHandle(HGLOBAL memory) {
  uintptr_t h = reinterpret_cast<uintptr_t>(memory);
  if (!h) return nullptr;
  return BlockFromPayload(reinterpret_cast<void *>((h & 15u) == 1u ? h - 1u : h));
}

int FdOf(HANDLE file) {
  return static_cast<int>(reinterpret_cast<intptr_t>(file)) - 1;
}

HANDLE HandleOf(int fd) {
  return reinterpret_cast<HANDLE>(static_cast<intptr_t>(fd) + 1);
}

// A UTF-16 file name as UTF-8, into a buffer of 4 bytes per unit and one more.  A lone
// surrogate cannot be spelled in UTF-8: the name is refused (0).
int Utf8Name(LPCWSTR name, char *out, size_t outSize) {
  size_t at = 0;
  for (size_t i = 0; name[i]; ++i) {
    uint32_t c = name[i];
    if (c >= 0xD800 && c <= 0xDBFF && name[i + 1] >= 0xDC00 && name[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (name[i + 1] - 0xDC00u);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      return 0;
    }
    if (at + 5 > outSize) return 0;
    if (c < 0x80) {
      out[at++] = static_cast<char>(c);
    } else if (c < 0x800) {
      out[at++] = static_cast<char>(0xC0 | (c >> 6));
      out[at++] = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out[at++] = static_cast<char>(0xE0 | (c >> 12));
      out[at++] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out[at++] = static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out[at++] = static_cast<char>(0xF0 | (c >> 18));
      out[at++] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out[at++] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out[at++] = static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  out[at] = '\0';
  return 1;
}

const size_t kNameBytes = 4 * 1024 + 1;  // names of up to 1024 units

}  // namespace

extern "C" {

DWORD GetTickCount(void) {
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<DWORD>(static_cast<uint64_t>(now.tv_sec) * 1000u +
                            static_cast<uint64_t>(now.tv_nsec) / 1000000u);
}

DWORD timeGetTime(void) {
  return GetTickCount();
}

HANDLE CreateFileA(LPCSTR name, DWORD access, DWORD, LPSECURITY_ATTRIBUTES, DWORD disposition,
                   DWORD, HANDLE) {
  int flags = 0;
  if ((access & GENERIC_READ) && (access & GENERIC_WRITE))
    flags = O_RDWR;
  else if (access & GENERIC_WRITE)
    flags = O_WRONLY;
  else
    flags = O_RDONLY;
  switch (disposition) {
    case CREATE_NEW:
      flags |= O_CREAT | O_EXCL;
      break;
    case CREATE_ALWAYS:
      flags |= O_CREAT | O_TRUNC;
      break;
    case OPEN_EXISTING:
      break;
    case OPEN_ALWAYS:
      flags |= O_CREAT;
      break;
    default:
      return INVALID_HANDLE_VALUE;
  }
  int fd = open(name, flags | O_CLOEXEC, 0644);
  return fd < 0 ? INVALID_HANDLE_VALUE : HandleOf(fd);
}

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD size, LPDWORD read, LPOVERLAPPED) {
  size_t total = 0;
  while (total < size) {
    ssize_t n = ::read(FdOf(file), static_cast<char *>(buffer) + total, size - total);
    if (n < 0) {
      if (errno == EINTR) continue;
      if (read) *read = static_cast<DWORD>(total);
      return FALSE;
    }
    if (n == 0) break;
    total += static_cast<size_t>(n);
  }
  if (read) *read = static_cast<DWORD>(total);
  return TRUE;
}

BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD size, LPDWORD written, LPOVERLAPPED) {
  size_t total = 0;
  while (total < size) {
    ssize_t n = ::write(FdOf(file), static_cast<const char *>(buffer) + total, size - total);
    if (n < 0) {
      if (errno == EINTR) continue;
      if (written) *written = static_cast<DWORD>(total);
      return FALSE;
    }
    total += static_cast<size_t>(n);
  }
  if (written) *written = static_cast<DWORD>(total);
  return TRUE;
}

DWORD SetFilePointer(HANDLE file, LONG distance, PLONG distanceHigh, DWORD method) {
  int64_t offset = distance;
  if (distanceHigh)
    offset = (static_cast<int64_t>(*distanceHigh) << 32) | static_cast<uint32_t>(distance);
  int whence = method == FILE_BEGIN ? SEEK_SET : method == FILE_CURRENT ? SEEK_CUR : SEEK_END;
  off_t at = lseek(FdOf(file), static_cast<off_t>(offset), whence);
  if (at < 0) return INVALID_SET_FILE_POINTER;
  if (distanceHigh) *distanceHigh = static_cast<LONG>(static_cast<int64_t>(at) >> 32);
  return static_cast<DWORD>(at);
}

BOOL SetEndOfFile(HANDLE file) {
  off_t at = lseek(FdOf(file), 0, SEEK_CUR);
  return at >= 0 && ftruncate(FdOf(file), at) == 0;
}

BOOL FlushFileBuffers(HANDLE file) {
  return fsync(FdOf(file)) == 0;
}

BOOL CloseHandle(HANDLE object) {
  if (object == INVALID_HANDLE_VALUE || object == nullptr) return FALSE;
  return close(FdOf(object)) == 0;
}

BOOL DeleteFileA(LPCSTR name) {
  return unlink(name) == 0;
}

BOOL MoveFileExA(LPCSTR from, LPCSTR to, DWORD flags) {
  if (!(flags & MOVEFILE_REPLACE_EXISTING) && access(to, F_OK) == 0) return FALSE;
  return rename(from, to) == 0;
}

HANDLE CreateFileW(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                   DWORD disposition, DWORD flags, HANDLE templateFile) {
  char utf8[kNameBytes];
  if (!Utf8Name(name, utf8, sizeof utf8)) return INVALID_HANDLE_VALUE;
  return CreateFileA(utf8, access, share, security, disposition, flags, templateFile);
}

BOOL DeleteFileW(LPCWSTR name) {
  char utf8[kNameBytes];
  return Utf8Name(name, utf8, sizeof utf8) && DeleteFileA(utf8);
}

BOOL MoveFileExW(LPCWSTR from, LPCWSTR to, DWORD flags) {
  char utf8From[kNameBytes], utf8To[kNameBytes];
  return Utf8Name(from, utf8From, sizeof utf8From) && Utf8Name(to, utf8To, sizeof utf8To) &&
         MoveFileExA(utf8From, utf8To, flags);
}

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
  if (failAfter == 0) {
    failAfter = -1;
    return nullptr;
  }
  if (failAfter > 0) --failAfter;
  if (bytes > (SIZE_T)0x7fffffff) return nullptr;
  size_t total = (offsetof(GlobalBlock, payload) + bytes + 15) / 16 * 16;
  GlobalBlock *block = static_cast<GlobalBlock *>(aligned_alloc(alignof(GlobalBlock), total));
  if (!block) return nullptr;
  block->size = bytes;
  block->magic = kBlockMagic;
  block->moveable = (flags & GMEM_MOVEABLE) ? 1u : 0u;
  block->lockCount = 0;
  if (flags & GMEM_ZEROINIT) memset(block->payload, 0, bytes);
  uintptr_t address = reinterpret_cast<uintptr_t>(block->payload);
  return reinterpret_cast<HGLOBAL>(block->moveable ? address + 1u : address);
}

LPVOID GlobalLock(HGLOBAL memory) {
  GlobalBlock *block = BlockFromHandle(memory);
  if (!block) return nullptr;
  if (block->moveable) ++block->lockCount;
  return block->payload;
}

BOOL GlobalUnlock(HGLOBAL memory) {
  GlobalBlock *block = BlockFromHandle(memory);
  if (!block || !block->moveable) return FALSE;
  if (block->lockCount > 0) --block->lockCount;
  return block->lockCount != 0;
}

HGLOBAL GlobalHandle(LPCVOID pointer) {
  GlobalBlock *block = BlockFromPayload(pointer);
  if (!block) return nullptr;
  uintptr_t address = reinterpret_cast<uintptr_t>(block->payload);
  return reinterpret_cast<HGLOBAL>(block->moveable ? address + 1u : address);
}

HGLOBAL GlobalFree(HGLOBAL memory) {
  GlobalBlock *block = BlockFromHandle(memory);
  if (!block) return memory;
  block->magic = 0;
  free(block);
  return nullptr;
}

SIZE_T GlobalSize(HGLOBAL memory) {
  GlobalBlock *block = BlockFromHandle(memory);
  return block ? block->size : 0;
}

static UINT ansiCodePage = 932;

void PlatformSetAnsiCodePage(UINT codePage) {
  ansiCodePage = codePage;
}

BOOL IsDBCSLeadByteEx(UINT codePage, BYTE ch) {
  if (codePage == CP_ACP) codePage = ansiCodePage;
  return codePage == 932 && ((ch >= 0x81 && ch <= 0x9F) || (ch >= 0xE0 && ch <= 0xFC));
}

LPSTR CharNextA(LPCSTR text) {
  if (!*text) return const_cast<LPSTR>(text);
  if (IsDBCSLeadByteEx(932, static_cast<BYTE>(*text)) && text[1])
    return const_cast<LPSTR>(text + 2);
  return const_cast<LPSTR>(text + 1);
}

LPSTR lstrcpynA(LPSTR to, LPCSTR from, int size) {
  if (size <= 0) return to;
  int i = 0;
  for (; i < size - 1 && from[i]; ++i) to[i] = from[i];
  to[i] = '\0';
  return to;
}

int lstrcmpiA(LPCSTR a, LPCSTR b) {
  for (;; ++a, ++b) {
    int ca = tolower(static_cast<unsigned char>(*a));
    int cb = tolower(static_cast<unsigned char>(*b));
    if (ca != cb) return ca < cb ? -1 : 1;
    if (!ca) return 0;
  }
}

int lstrlenA(LPCSTR text) {
  return text ? static_cast<int>(strlen(text)) : 0;
}

void PlatformFailGlobalAllocAfter(int count) {
  failAfter = count;
}

}  // extern "C"
