// What the main-window tests share: fixture files in the program directory (a BMP writer and a
// byte-level "init.inf" writer of their own), the window's creation and end, a bit-by-bit
// reference CRC, and a watcher thread that finds, reads and closes the modal windows the
// program opens, so that no failing test can hang on one.
#pragma once

#include <windows.h>

#include <stdint.h>
#include <string>
#include <vector>

// A picture as the tests make it: width x height colours 0x00BBGGRR, rows top-down.
struct TestPicture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> colours;
};

// A picture whose every pixel differs from its neighbours; `seed` changes all of them.
TestPicture PatternPicture(int width, int height, uint32_t seed);

// The program directory's file `name` (the test program's own directory).
std::string FixturePath(const char *name);
void RemoveFixture(const char *name);
void WriteFixture(const char *name, const std::vector<uint8_t> &bytes);
// Empty when the file does not exist.
std::vector<uint8_t> ReadFixture(const char *name);
bool FixtureExists(const char *name);

// A 24-bit bottom-up Windows bitmap file of `picture`.
std::vector<uint8_t> BmpFile(const TestPicture &picture);

// CRC-32/BZIP2 of the picture's pixel words as the program holds them: red, green, blue, 0 for
// each pixel, rows top-down; computed one bit at a time.
uint32_t ReferenceCrc(const TestPicture &picture);

// Little-endian 32-bit field access on a settings-file image.
void Put32(std::vector<uint8_t> &bytes, size_t offset, uint32_t value);
uint32_t Get32(const std::vector<uint8_t> &bytes, size_t offset);

// A 444-byte settings file with distinct, valid values everywhere, for `picture`'s checksum
// and the window position (x, y).
std::vector<uint8_t> SampleSettingsFile(uint32_t blockCrc, int32_t x, int32_t y);

// Field offsets of the settings file.
enum SettingsOffset : size_t {
  kLinecnt = 0,
  kWaitFall = 16,
  kWaitPoll = 20,
  kLevel = 24,
  kLv1Norma = 28,
  kLv1Speed = 32,
  kGuideShadow = 36,
  kGuideStripe = 40,
  kBlockCrc = 44,
  kWindowX = 48,
  kWindowY = 52,
  kImageShown = 56,
  kImagePath = 60,
  kStripeIntensity = 320,
  kCustomColours = 324,
  kTransparentColour = 388,
  kLv2Norma = 392,
  kLv2Block = 396,
  kLv2Upline = 400,
  kTransparentEnabled = 404,
  kBlockfreq = 408,
  kReserved = 412,
  kSettingsFileSize = 444
};

// Sets up the program's process-wide start (instance, program directory, window class, the
// last game's counts at zero) and creates the main window; null when its set-up failed.
HWND CreateTestMainWindow();
// Destroys the window if it still exists and empties the thread's queue (also of the quit
// message the window posts), so another window can follow in the same process.
void DestroyTestMainWindow(HWND window);
void DrainMessages();

// The top-left corner CenterWindow gives a window of this outer size on the primary screen.
POINT CentredTopLeft(const RECT &frame);

// Waits, dispatching this thread's messages, until `done` holds or `milliseconds` passed.
bool WaitUntil(bool (*done)(void *), void *context, DWORD milliseconds);

// What a watcher saw of the first dialog-class window of the watched thread.
struct SeenDialog {
  bool found = false;
  std::string caption;
  std::string staticText;        // the message text (control 0xFFFF) of a message box
  std::string fields[5];         // score dialog: edits 1012..1016
  bool pausedWhileOpen = false;  // gamePauseEvent was signalled while it was open
  bool openAfterCancel = false;  // still open after IDCANCEL (what Escape sends)
  bool closed = false;           // it went away after the watcher's closing action
};

// How a watcher closes the dialog it found.
enum class CloseBy { OkCommand, OkButtonClick, CloseMessage };

// Waits until `window` no longer exists; false when it still does after `milliseconds`.
bool WaitGone(HWND window, DWORD milliseconds);

// A thread that waits (up to 30 s) for a dialog window of `thread`, records it and closes it.
// When `scoreDialog` is set it also reads the score fields, the pause event and tries IDCANCEL
// first.  Whatever happens it never leaves a dialog open: after its timeout it posts close
// messages to every dialog of the thread.
class DialogWatcher {
 public:
  DialogWatcher(bool scoreDialog, CloseBy closeBy);
  ~DialogWatcher();
  // Waits for the watcher to finish; the record is complete afterwards.
  const SeenDialog &Finish();

 private:
  static DWORD WINAPI Run(LPVOID self);
  bool scoreDialog_;
  CloseBy closeBy_;
  DWORD watchedThread_;
  HANDLE thread_ = NULL;
  SeenDialog seen_;
};
