// What one run may take: the text of one print obeys the string limit, an allocation that fails
// anyway ends the run with kErrMemory (never an exception out of the library), what a session
// really holds stays under its bound, a run stops in time whatever one statement does, it
// creates a bounded number of files, and only ordinary disk files are ever opened.
#include <gtest/gtest.h>

#include <malloc.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <chrono>
#include <new>
#include <string>

#include "error_codes.h"
#include "exprn_fixture.h"
#include "work_area.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

#ifdef _WIN32
#define UsableSize _msize
#else
#define UsableSize malloc_usable_size
#endif

// Every allocation of this test program goes through here, so a test can make the next ones
// fail: allocationsLeft counts down to the failing one (-1: never fail).  The bytes held (as
// the C library hands them out) and their highest value are counted too; past heldCeiling an
// allocation fails, so that a run that holds too much is stopped before it takes the machine.
static int allocationsLeft = -1;
static size_t heldBytes = 0, peakBytes = 0, heldCeiling = SIZE_MAX;

void *operator new(size_t size) {
  if (allocationsLeft == 0) throw std::bad_alloc();
  if (allocationsLeft > 0) --allocationsLeft;
  void *memory = malloc(size ? size : 1);
  if (!memory) throw std::bad_alloc();
  size_t usable = UsableSize(memory);
  if (heldBytes + usable > heldCeiling) {
    free(memory);
    throw std::bad_alloc();
  }
  heldBytes += usable;
  if (heldBytes > peakBytes) peakBytes = heldBytes;
  return memory;
}

void operator delete(void *memory) noexcept {
  if (!memory) return;
  heldBytes -= UsableSize(memory);
  free(memory);
}

void operator delete(void *memory, size_t) noexcept {
  operator delete(memory);
}

namespace {

// Runs `program` with the allocation after `allowed` ones failing; returns the run's code.
int RunFailingAfter(BasicSession *session, const BasicProgram *program, int allowed) {
  allocationsLeft = allowed;
  int code = RunBasicProgram(session, program);
  allocationsLeft = -1;
  return code;
}

TEST(BasicLimits, OnePrintsTextObeysTheStringLimit) {
  ScratchDirectory scratch("print");
  ASSERT_FALSE(scratch.dir.empty());
  const std::string build = "10 a$ = \"x\" : for i = 1 to 14 : a$ = a$ + a$ : next i\n";
  std::string output;
  // Two halves and their line end fit; a third item, or one more TAB, is past the limit.
  EXPECT_EQ(RunSource(build + "20 print a$; left$(a$, 16383)", &output), 0);
  EXPECT_EQ(output.size(), 32768u);
  EXPECT_EQ(RunSource(build + "20 print a$; a$; a$"), kErrMemory);
  EXPECT_EQ(RunSource(build + "20 print a$; left$(a$, 16383),"), kErrMemory);
  // The join bomb: a long line of the same string, to the console and to a file.
  std::string bomb = build + "30 print #1, a$";
  for (int i = 0; i < 2000; ++i) bomb += ";a$";
  EXPECT_EQ(RunSource("5 open \"a.txt\" for output as #1\n" + bomb), kErrMemory);
  EXPECT_EQ(ReadText("a.txt"), "");
  bomb.replace(bomb.find("#1, "), 4, "");
  EXPECT_EQ(RunSource(bomb), kErrMemory);
}

TEST(BasicLimits, AFailedAllocationAnywhereEndsTheRunWithItsCode) {
  ScratchDirectory scratch("allocation");
  ASSERT_FALSE(scratch.dir.empty());
  const char source[] =
      "10 open \"a.txt\" for output as #1\n"
      "20 dim t$(50) : for i = 0 to 50 : t$(i) = \"a long enough text \" + str$(i) : next\n"
      "30 print #1, t$(7); mid$(t$(50), 3, 30), len(t$(9)) * 2\n"
      "40 gosub 100 : close #1 : open \"a.txt\" for input as #2 : line input #2, r$ : end\n"
      "100 w = 1 : for j = 1 to 3 : w = w * 2 : next : return\n";
  int code, line;
  BasicProgram *program = LoadBasicText(source, strlen(source), &code, &line);
  ASSERT_NE(program, nullptr);
  // Fail each allocation of the run in turn until one run needs no more than it was given.
  int allowed = 0;
  for (; allowed < 5000; ++allowed) {
    BasicSession *session = CreateBasicSession();
    code = RunFailingAfter(session, program, allowed);
    ASSERT_TRUE(code == kErrMemory || code == 0) << "after " << allowed << ": " << code;
    // Its files are closed and the session runs the next program.
    EXPECT_EQ(RunIn(session, "10 open \"a.txt\" for append as #1 : x$ = \"more text\" + r$"), 0);
    DestroyBasicSession(session);
    if (code == 0) break;
  }
  EXPECT_GT(allowed, 10);
  EXPECT_LT(allowed, 5000);
  FreeBasicProgram(program);

  // Loading, evaluating and the work-area entries give the code too.
  allocationsLeft = 0;
  BasicProgram *none = LoadBasicText(source, strlen(source), &code, &line);
  double value = 7;
  int evaluated = EvaluateExpressionText("1 + 2", &value);
  allocationsLeft = -1;
  EXPECT_EQ(none, nullptr);
  EXPECT_EQ(code, kErrMemory);
  EXPECT_EQ(evaluated, kErrMemory);
  EXPECT_EQ(value, 7);
  unsigned char area[kWorkAreaSize] = {};
  ASSERT_EQ(QvbInitialize(area), 0);
  const char *text = "10 a$ = \"some text longer than a short string\"";
  memcpy(area + kSourceOffset, &text, sizeof text);
  allocationsLeft = 0;
  code = ExprionBasic(area);
  allocationsLeft = -1;
  EXPECT_EQ(code, kErrMemory);
  EXPECT_EQ(ExprionBasic(area), 0);
  QvbTerminate(area);
}

// A string of 32767 bytes in b$.
const char kLongString[] =
    "1 b$ = \"x\" : for i = 1 to 14 : b$ = b$ + b$ : next : b$ = b$ + left$(b$, 16383)\n";

// The most bytes that loading `source` and running it in a fresh session held at once, as the
// C library counts them; the run's code in *code.
size_t PeakOfRun(const std::string &source, int *code) {
  const size_t before = heldBytes;
  peakBytes = heldBytes;
  heldCeiling = before + 2 * kMaxSessionBytes;
  BasicSession *session = CreateBasicSession();
  BasicLimits limits;
  limits.milliseconds = 60000;  // the memory is measured here, not the time
  SetBasicLimits(session, limits);
  *code = RunIn(session, source);
  DestroyBasicSession(session);
  heldCeiling = SIZE_MAX;
  return peakBytes - before;
}

TEST(BasicLimits, ASessionHoldsNoMoreThanItsBound) {
  std::string bigProgram;
  for (int line = 10; bigProgram.size() < kMaxSourceBytes - 40000; line += 10)
    bigProgram += std::to_string(line) + " s" + std::to_string(line) + "$ = \"" +
                  std::string(32000, 'q') + "\"\n";
  std::string nested = "b$";
  for (int i = 0; i < 60; ++i) nested = "mid$(" + nested + " + \"\", 2)";
  const struct {
    const char *what;
    std::string source;
    int code;
  } cases[] = {
      // Each string set to 32 KB and emptied again: nothing is held after it.
      {"emptied strings",
       kLongString +
           std::string("10 dim a$(99980) : for i = 0 to 5999 : a$(i) = b$ : a$(i) = \"\" : next"),
       0},
      {"shortened strings",
       kLongString + std::string("10 dim a$(99980) : for i = 0 to 5999 : a$(i) = b$ + \"\"\n"
                                 "20 a$(i) = left$(a$(i), 20) : next"),
       0},
      // Strings kept until their limit, in an array and as scalars built by joining.
      {"full strings",
       kLongString + std::string("10 dim a$(99980) : for i = 0 to 99980 : a$(i) = b$ : next"),
       kErrMemory},
      {"joined strings",
       kLongString + std::string("10 dim a$(99980) : for i = 1 to 99999 : c$ = \"\" : for j = 1 to "
                                 "2 : c$ = c$ + left$(b$, 16000) : next\n"
                                 "20 a$(i) = c$ : next"),
       kErrMemory},
      // A program of the largest size whose lines are strings, and values nested deep.
      {"large program", bigProgram, 0},
      {"deep values", std::string(kLongString) + "10 x$ = " + nested + " : y = len(x$)", 0},
  };
  for (const auto &c : cases) {
    int code;
    size_t peak = PeakOfRun(c.source, &code);
    EXPECT_EQ(code, c.code) << c.what;
    EXPECT_LE(peak, kMaxSessionBytes) << c.what;
  }
}

// The slow statement: thousands of comparisons of two 32 KB strings on one line, each of
// which copies both; the clock is read inside it, so the run stops within a tenth of its time
// whatever the machine's speed.
TEST(BasicLimits, ARunStopsWithinATenthOfItsTime) {
  std::string slow = kLongString + std::string("10 n = n + 1 : x = (b$ = b$)");
  for (int i = 0; i < 15000; ++i) slow += "+(b$ = b$)";
  slow += "\n20 goto 10\n";
  int code, line;
  BasicProgram *program = LoadBasicText(slow.data(), slow.size(), &code, &line);
  ASSERT_NE(program, nullptr);
  for (uint32_t budget : {1000u, 2000u}) {
    BasicSession *session = CreateBasicSession();
    BasicLimits limits;
    limits.milliseconds = budget;
    SetBasicLimits(session, limits);
    auto start = std::chrono::steady_clock::now();
    code = RunBasicProgram(session, program);
    auto spent = std::chrono::steady_clock::now() - start;
    DestroyBasicSession(session);
    EXPECT_EQ(code, kErrInterrupted);
    EXPECT_LE(std::chrono::duration_cast<std::chrono::milliseconds>(spent).count(),
              budget + budget / 10)
        << "budget " << budget;
  }
  FreeBasicProgram(program);
}

// A run creates at most its limit of new files; opening existing ones again is not counted,
// and the next run may create as many again.
TEST(BasicLimits, ARunCreatesABoundedNumberOfFiles) {
  ScratchDirectory scratch("many_files");
  ASSERT_FALSE(scratch.dir.empty());
  const std::string create =
      "10 for i = 1 to 300 : open \"f\" + str$(i) + \".txt\" for append as #1 : close #1 : next";
  int line;
  BasicSession *session = CreateBasicSession();
  EXPECT_EQ(RunIn(session, create), kErrOpen);
  std::string output;
  SetBasicOutput(session, CaptureOutput, &output);
  EXPECT_EQ(RunIn(session, "10 print i", &line), 0);
  EXPECT_EQ(output, "257\n");
  EXPECT_EQ(RunIn(session,
                  "10 for i = 1 to 256 : open \"f\" + str$(i) + \".txt\" for output as #1 : close "
                  "#1 : next"),
            0);
  EXPECT_EQ(RunIn(session, create), 0) << "44 more, in a run of their own";
  DestroyBasicSession(session);
  for (int i = 1; i <= 300; ++i) remove(("f" + std::to_string(i) + ".txt").c_str());
}

TEST(BasicLimits, OnlyDiskFilesAreOpened) {
  ScratchDirectory scratch("devices");
  ASSERT_FALSE(scratch.dir.empty());
  // Devices, with or without a colon, and streams of a file: refused before anything is made.
  const char *const refused[] = {
      "com1:", "COM1", "nul:", "lpt1:", "nul.txt:", "con", "aux.log", "sub\\prn", "a.txt:hidden",
      "a.txt::$DATA", "ab:c", "12:a.txt",
      // Every port number, and the superscript digits of code page 1252.
      "com0", "LPT0.txt", "lpt9", "com\xB9", "LPT\xB2.log", "com\xB3 .txt", "clock$",
      // A lead byte of code page 932 whose next byte can be no trail byte hides nothing.
      "a\x81:hidden", "\x81:"};
  for (const char *name : refused) {
    for (const char *mode : {"input", "output", "append"})
      EXPECT_EQ(RunSource(std::string("10 open \"") + name + "\" for " + mode + " as #1\n" +
                          "20 input #1, a$ : print #1, a$"),
                kErrOpen)
          << name << " " << mode;
    EXPECT_EQ(RunSource(std::string("10 kill \"") + name + "\""), kErrOpen) << name;
  }
  EXPECT_EQ(ReadText("a.txt"), "");
  EXPECT_EQ(RunSource("10 open \"a.txt\" for output as #1"), 0);
  EXPECT_EQ(RunSource("10 name \"a.txt\" as \"nul\""), kErrOpen);

  // A name that only looks like a device in a code page it is not written in: the second byte
  // of "表" (code page 932) is a backslash, yet "表con" is an ordinary file.
  EXPECT_EQ(RunSource("10 open \"\x95\\con\" for output as #1 : print #1, 1"), 0);
  EXPECT_EQ(ReadText("\x95\\con"), "1\n");
  remove("\x95\\con");

  // Something that is no disk file behind an ordinary name: refused, and nothing waits.
#ifdef _WIN32
  HANDLE pipe =
      CreateNamedPipeA("\\\\.\\pipe\\qm_limits_test", PIPE_ACCESS_DUPLEX, 0, 1, 64, 64, 0, NULL);
  ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
  EXPECT_EQ(RunSource("10 open \"\\\\.\\pipe\\qm_limits_test\" for input as #1\n"
                      "20 input #1, a$"),
            kErrOpen);
  CloseHandle(pipe);
#else
  ASSERT_EQ(mkfifo("c.txt", 0644), 0);
  for (const char *mode : {"input", "output", "append"})
    EXPECT_EQ(RunSource(std::string("10 open \"c.txt\" for ") + mode + " as #1\n" +
                        "20 input #1, a$ : print #1, a$"),
              kErrOpen)
        << mode;
  EXPECT_EQ(RunSource("10 open \".\" for input as #1"), kErrOpen);
#endif
}

}  // namespace
