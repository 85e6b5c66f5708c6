#include "shell_harness.h"

#include <stdio.h>
#include <string.h>

#include "game_thread.h"
#include "main_window.h"
#include "program_paths.h"

TestPicture PatternPicture(int width, int height, uint32_t seed) {
  TestPicture picture;
  picture.width = width;
  picture.height = height;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint32_t r = (x * 37 + seed * 11) & 255, g = (y * 53 + seed * 29) & 255;
      uint32_t b = (x * 7 + y * 13 + seed * 71 + 1) & 255;
      picture.colours.push_back(r | g << 8 | b << 16);
    }
  return picture;
}

std::string FixturePath(const char *name) {
  char module[MAX_PATH];
  DWORD length = GetModuleFileNameA(NULL, module, sizeof module);
  std::string path(module, length);
  return path.substr(0, path.find_last_of("\\/") + 1) + name;
}

void RemoveFixture(const char *name) {
  DeleteFileA(FixturePath(name).c_str());
}

void WriteFixture(const char *name, const std::vector<uint8_t> &bytes) {
  FILE *file = fopen(FixturePath(name).c_str(), "wb");
  if (!file) return;
  if (!bytes.empty()) fwrite(bytes.data(), 1, bytes.size(), file);
  fclose(file);
}

std::vector<uint8_t> ReadFixture(const char *name) {
  std::vector<uint8_t> bytes;
  FILE *file = fopen(FixturePath(name).c_str(), "rb");
  if (!file) return bytes;
  uint8_t chunk[512];
  size_t got;
  while ((got = fread(chunk, 1, sizeof chunk, file)) > 0)
    bytes.insert(bytes.end(), chunk, chunk + got);
  fclose(file);
  return bytes;
}

bool FixtureExists(const char *name) {
  return GetFileAttributesA(FixturePath(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void Put32(std::vector<uint8_t> &bytes, size_t offset, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t Get32(const std::vector<uint8_t> &bytes, size_t offset) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | bytes[offset + i];
  return value;
}

std::vector<uint8_t> BmpFile(const TestPicture &picture) {
  int rowBytes = (picture.width * 3 + 3) & ~3;
  uint32_t pixelBytes = static_cast<uint32_t>(rowBytes * picture.height);
  std::vector<uint8_t> file(54 + pixelBytes, 0);
  file[0] = 'B';
  file[1] = 'M';
  Put32(file, 2, static_cast<uint32_t>(file.size()));
  Put32(file, 10, 54);
  Put32(file, 14, 40);
  Put32(file, 18, static_cast<uint32_t>(picture.width));
  Put32(file, 22, static_cast<uint32_t>(picture.height));
  file[26] = 1;
  file[28] = 24;
  Put32(file, 34, pixelBytes);
  for (int y = 0; y < picture.height; ++y) {
    // Stored bottom-up, each pixel blue, green, red.
    uint8_t *row = &file[54 + (picture.height - 1 - y) * rowBytes];
    for (int x = 0; x < picture.width; ++x) {
      uint32_t colour = picture.colours[y * picture.width + x];
      row[3 * x] = static_cast<uint8_t>(colour >> 16);
      row[3 * x + 1] = static_cast<uint8_t>(colour >> 8);
      row[3 * x + 2] = static_cast<uint8_t>(colour);
    }
  }
  return file;
}

uint32_t ReferenceCrc(const TestPicture &picture) {
  uint32_t crc = 0xFFFFFFFFu;
  for (uint32_t colour : picture.colours) {
    uint8_t bytes[4] = {static_cast<uint8_t>(colour), static_cast<uint8_t>(colour >> 8),
                        static_cast<uint8_t>(colour >> 16), 0};
    for (uint8_t byte : bytes)
      for (int bit = 7; bit >= 0; --bit) {
        bool in = ((byte >> bit) & 1) != 0;
        bool top = (crc & 0x80000000u) != 0;
        crc <<= 1;
        if (in != top) crc ^= 0x04C11DB7u;
      }
  }
  return ~crc;
}

std::vector<uint8_t> SampleSettingsFile(uint32_t blockCrc, int32_t x, int32_t y) {
  std::vector<uint8_t> file(kSettingsFileSize, 0);
  for (int k = 0; k < 4; ++k) Put32(file, kLinecnt + 4 * k, 3 + k);
  Put32(file, kWaitFall, 321);
  Put32(file, kWaitPoll, 40);
  Put32(file, kLevel, 2);
  Put32(file, kLv1Norma, 12);
  Put32(file, kLv1Speed, 33);
  Put32(file, kGuideShadow, 1);
  Put32(file, kGuideStripe, 0);
  Put32(file, kBlockCrc, blockCrc);
  Put32(file, kWindowX, static_cast<uint32_t>(x));
  Put32(file, kWindowY, static_cast<uint32_t>(y));
  Put32(file, kImageShown, 0);
  memcpy(&file[kImagePath], "C:\\pictures\\sea.jpg", 19);
  Put32(file, kStripeIntensity, 90);
  for (int k = 0; k < 16; ++k) Put32(file, kCustomColours + 4 * k, 0x010203u * (k + 1));
  Put32(file, kTransparentColour, 0x00FF00FFu);
  Put32(file, kLv2Norma, 4);
  Put32(file, kLv2Block, 9);
  Put32(file, kLv2Upline, 2);
  Put32(file, kTransparentEnabled, 1);
  Put32(file, kBlockfreq, 5);
  return file;
}

HWND CreateTestMainWindow() {
  // The program makes one window per process, from counts of zero; the tests make many.
  memset(gameHost.linecnt, 0, sizeof gameHost.linecnt);
  instance = GetModuleHandleA(NULL);
  InitProgramDirectory();
  static int registered = RegisterMainWindowClass(instance);
  if (!registered) return NULL;
  return CreateMainWindow(instance);
}

void DrainMessages() {
  MSG msg;
  while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void DestroyTestMainWindow(HWND window) {
  if (window && IsWindow(window)) DestroyWindow(window);
  DrainMessages();
}

POINT CentredTopLeft(const RECT &frame) {
  // The screen's spare room split in two, rounded toward zero.
  long spareX = GetSystemMetrics(SM_CXSCREEN) - (frame.right - frame.left);
  long spareY = GetSystemMetrics(SM_CYSCREEN) - (frame.bottom - frame.top);
  POINT p;
  p.x = spareX >= 0 ? spareX / 2 : -((-spareX) / 2);
  p.y = spareY >= 0 ? spareY / 2 : -((-spareY) / 2);
  return p;
}

bool WaitUntil(bool (*done)(void *), void *context, DWORD milliseconds) {
  DWORD start = GetTickCount();
  for (;;) {
    DrainMessages();
    if (done(context)) return true;
    if (GetTickCount() - start > milliseconds) return false;
    Sleep(20);
  }
}

namespace {

const DWORD kWatchTimeout = 30000;

struct DialogSearch {
  HWND found;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM context) {
  char className[32];
  if (GetClassNameA(window, className, sizeof className) && strcmp(className, "#32770") == 0 &&
      IsWindowVisible(window)) {
    reinterpret_cast<DialogSearch *>(context)->found = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK CloseDialog(HWND window, LPARAM) {
  char className[32];
  if (GetClassNameA(window, className, sizeof className) && strcmp(className, "#32770") == 0) {
    PostMessageA(window, WM_COMMAND, IDOK, 0);
    PostMessageA(window, WM_CLOSE, 0, 0);
  }
  return TRUE;
}

HWND FindThreadDialog(DWORD thread) {
  DialogSearch search = {NULL};
  EnumThreadWindows(thread, FindDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string ItemText(HWND dialog, int id) {
  char text[512] = "";
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

}  // namespace

bool WaitGone(HWND window, DWORD milliseconds) {
  DWORD start = GetTickCount();
  while (IsWindow(window)) {
    if (GetTickCount() - start > milliseconds) return false;
    Sleep(20);
  }
  return true;
}

DialogWatcher::DialogWatcher(bool scoreDialog, CloseBy closeBy)
    : scoreDialog_(scoreDialog), closeBy_(closeBy), watchedThread_(GetCurrentThreadId()) {
  thread_ = CreateThread(NULL, 0, Run, this, 0, NULL);
}

DialogWatcher::~DialogWatcher() {
  Finish();
}

const SeenDialog &DialogWatcher::Finish() {
  if (thread_) {
    // The watched thread must keep its messages moving while the watcher works.
    while (MsgWaitForMultipleObjects(1, &thread_, FALSE, INFINITE, QS_ALLINPUT) ==
           WAIT_OBJECT_0 + 1)
      DrainMessages();
    CloseHandle(thread_);
    thread_ = NULL;
  }
  return seen_;
}

DWORD WINAPI DialogWatcher::Run(LPVOID parameter) {
  DialogWatcher *self = static_cast<DialogWatcher *>(parameter);
  SeenDialog &seen = self->seen_;
  DWORD start = GetTickCount();
  HWND dialog = NULL;
  while (!dialog && GetTickCount() - start < kWatchTimeout) {
    Sleep(50);
    dialog = FindThreadDialog(self->watchedThread_);
  }
  if (!dialog) return 0;
  // Let the dialog finish its own start before it is read.
  Sleep(200);
  seen.found = true;
  char caption[256] = "";
  GetWindowTextA(dialog, caption, sizeof caption);
  seen.caption = caption;
  seen.staticText = ItemText(dialog, 0xFFFF);
  if (self->scoreDialog_) {
    for (int i = 0; i < 5; ++i) seen.fields[i] = ItemText(dialog, 1012 + i);
    seen.pausedWhileOpen =
        gameHost.gamePauseEvent && WaitForSingleObject(gameHost.gamePauseEvent, 0) == WAIT_OBJECT_0;
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    // A dialog that took Escape for a close would be gone well within this time.
    Sleep(500);
    seen.openAfterCancel = IsWindow(dialog) && IsWindowVisible(dialog);
  }
  HWND button = GetDlgItem(dialog, IDOK);
  switch (self->closeBy_) {
    case CloseBy::OkCommand:
      PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(button));
      break;
    case CloseBy::OkButtonClick:
      SendMessageA(button, BM_CLICK, 0, 0);
      break;
    case CloseBy::CloseMessage:
      PostMessageA(dialog, WM_CLOSE, 0, 0);
      break;
  }
  seen.closed = WaitGone(dialog, 20000);
  if (!seen.closed) {
    // Never leave the test thread blocked in a modal loop.
    EnumThreadWindows(self->watchedThread_, CloseDialog, 0);
    WaitGone(dialog, 20000);
  }
  return 0;
}
