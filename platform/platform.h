// The Win32 calls that the portable core is written against.  On Windows this is <windows.h>
// itself; on Linux it is a small stand-in that implements exactly these calls and nothing more,
// so the rules, pixel arithmetic and file formats can be tested natively.
#pragma once

#ifdef _WIN32
#include <windows.h>
// timeGetTime; the lean <windows.h> of this build leaves the multimedia calls out.
#include <mmsystem.h>
#else
#include <stddef.h>
#include <stdint.h>

typedef uint32_t DWORD;
typedef int32_t LONG;
typedef int32_t BOOL;
typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t UINT;
typedef char CHAR;
typedef uint16_t WCHAR;  // a UTF-16 unit, as on Windows
typedef const WCHAR *LPCWSTR;
typedef void *HANDLE;
typedef void *HGLOBAL;
typedef void *LPVOID;
typedef const void *LPCVOID;
typedef char *LPSTR;
typedef const char *LPCSTR;
typedef DWORD *LPDWORD;
typedef LONG *PLONG;
typedef size_t SIZE_T;
typedef uint32_t COLORREF;
typedef struct HWND__ *HWND;  // only carried, never used, by the portable core
typedef struct _SECURITY_ATTRIBUTES SECURITY_ATTRIBUTES, *LPSECURITY_ATTRIBUTES;
typedef struct _OVERLAPPED OVERLAPPED, *LPOVERLAPPED;

#define WINAPI
#define CALLBACK
#define TRUE 1
#define FALSE 0
#define MAX_PATH 260
#define INVALID_HANDLE_VALUE ((HANDLE)(intptr_t)-1)
#define INVALID_SET_FILE_POINTER ((DWORD)-1)

#define GENERIC_READ 0x80000000u
#define GENERIC_WRITE 0x40000000u
#define CREATE_NEW 1
#define CREATE_ALWAYS 2
#define OPEN_EXISTING 3
#define OPEN_ALWAYS 4
#define FILE_ATTRIBUTE_NORMAL 0x80
#define FILE_SHARE_READ 0x1  // accepted and ignored by the stand-in
#define FILE_BEGIN 0
#define FILE_CURRENT 1
#define FILE_END 2
#define MOVEFILE_REPLACE_EXISTING 0x1
#define MOVEFILE_WRITE_THROUGH 0x8

#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_ZEROINIT 0x0040
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)

#define CP_ACP 0

#define RGB(r, g, b) \
  ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(c) ((BYTE)(c))
#define GetGValue(c) ((BYTE)((c) >> 8))
#define GetBValue(c) ((BYTE)((c) >> 16))

#ifdef __cplusplus
extern "C" {
#endif

DWORD GetTickCount(void);
// The multimedia timer's millisecond count; the stand-in reads the same clock as GetTickCount.
DWORD timeGetTime(void);

HANDLE CreateFileA(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                   DWORD disposition, DWORD flags, HANDLE templateFile);
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD size, LPDWORD read, LPOVERLAPPED overlapped);
BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD size, LPDWORD written, LPOVERLAPPED overlapped);
DWORD SetFilePointer(HANDLE file, LONG distance, PLONG distanceHigh, DWORD method);
BOOL SetEndOfFile(HANDLE file);
BOOL FlushFileBuffers(HANDLE file);
BOOL CloseHandle(HANDLE object);
BOOL DeleteFileA(LPCSTR name);
BOOL MoveFileExA(LPCSTR from, LPCSTR to, DWORD flags);
// The UTF-16 names of the file calls; the stand-in hands them to Linux as UTF-8, the way Linux
// file systems spell names.
HANDLE CreateFileW(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                   DWORD disposition, DWORD flags, HANDLE templateFile);
BOOL DeleteFileW(LPCWSTR name);
BOOL MoveFileExW(LPCWSTR from, LPCWSTR to, DWORD flags);

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
LPVOID GlobalLock(HGLOBAL memory);
BOOL GlobalUnlock(HGLOBAL memory);
HGLOBAL GlobalHandle(LPCVOID pointer);
HGLOBAL GlobalFree(HGLOBAL memory);
SIZE_T GlobalSize(HGLOBAL memory);

// Knows the lead bytes of code page 932, the stand-in's ANSI code page (CP_ACP); any other
// code page has none.
BOOL IsDBCSLeadByteEx(UINT codePage, BYTE ch);
LPSTR CharNextA(LPCSTR text);
LPSTR lstrcpynA(LPSTR to, LPCSTR from, int size);
int lstrcmpiA(LPCSTR a, LPCSTR b);
int lstrlenA(LPCSTR text);

// Test hook of the stand-in: the next `count` GlobalAlloc calls succeed, the one after fails
// (count < 0: never fail).  Lets tests reach the out-of-memory paths.
void PlatformFailGlobalAllocAfter(int count);
// Test hook of the stand-in: the code page CP_ACP stands for (932 unless set).
void PlatformSetAnsiCodePage(UINT codePage);

#ifdef __cplusplus
}
#endif

#endif
