// The program's 932 texts become the same UTF-16 whatever the system's ANSI code page, and what
// the user gives back becomes 932 again, or is refused when 932 has no form for it.
#include "screen_text.h"

#include <gtest/gtest.h>

#include <string.h>
#include <wchar.h>

#include <string>

namespace {

typedef std::basic_string<WCHAR> WideText;

// Bytes and units are spelled out: the test's own literals would be converted by the compiler.
struct Pair {
  const char *what;
  const char *bytes;
  WCHAR units[12];
};

const Pair kPairs[] = {
    {"full-width katakana", "\x83\x51\x81\x5b\x83\x80", {0x30B2, 0x30FC, 0x30E0, 0}},
    {"half-width katakana and ASCII",
     "\xd2\xc6\xad\xb0(&M)",
     {0xFF92, 0xFF86, 0xFF6D, 0xFF70, '(', '&', 'M', ')', 0}},
    {"multiplication sign between numbers",
     "442 \x81\x7e 482",
     {'4', '4', '2', ' ', 0x00D7, ' ', '4', '8', '2', 0}},
    {"wave dash as Windows reads it",
     "1\x81\x60"
     "9",
     {'1', 0xFF5E, '9', 0}},
    {"kanji whose trail byte is a backslash", "\x95\x5c\x8e\xa6", {0x8868, 0x793A, 0}},
    {"empty", "", {0}},
};

TEST(ScreenText, OurTextsBecomeTheSameUtf16AndComeBackAsTheSameBytes) {
  for (const Pair &p : kPairs) {
    WCHAR wide[64];
    ASSERT_EQ(WideFrom932(p.bytes, wide, 64), 1) << p.what;
    EXPECT_EQ(WideText(wide), WideText(p.units)) << p.what;
    char back[64];
    ASSERT_EQ(Text932FromWide(p.units, back, sizeof back), 1) << p.what;
    EXPECT_STREQ(back, p.bytes) << p.what;
  }
}

TEST(ScreenText, TextsWithoutA932FormOrTooLongAreRefusedEmpty) {
  const WCHAR accented[] = {'C', ':', '\\', 'J', 'e', 'u', 'x', 0x00E9, 0};  // é
  const WCHAR emoji[] = {'a', 0xD83C, 0xDFAE, 0};                            // U+1F3AE
  const WCHAR hangul[] = {0xAC8C, 0xC784, 0};
  for (const WCHAR *text : {accented, emoji, hangul}) {
    char out[32] = "x";
    EXPECT_EQ(Text932FromWide(text, out, sizeof out), 0);
    EXPECT_STREQ(out, "");
  }
  const WCHAR game[] = {0x30B2, 0x30FC, 0x30E0, 0};  // six bytes
  char small[6] = "x";
  EXPECT_EQ(Text932FromWide(game, small, sizeof small), 0);
  EXPECT_STREQ(small, "");
  WCHAR narrow[3];
  EXPECT_EQ(WideFrom932("\x83\x51\x81\x5b\x83\x80", narrow, 3), 0);
  EXPECT_EQ(narrow[0], 0);
  // The filter list of a chooser keeps its inner zero bytes.
  const char filters[] = "\x83\x51\0*.JPG\0";
  WCHAR wideFilters[sizeof filters];
  ASSERT_EQ(WideFrom932Bytes(filters, sizeof filters, wideFilters, sizeof filters), 1);
  const WCHAR expected[] = {0x30B2, 0, '*', '.', 'J', 'P', 'G', 0, 0};
  EXPECT_EQ(memcmp(wideFilters, expected, sizeof expected), 0);
}

TEST(ScreenText, ControlTextsAreKeptInUtf16AndReadBackCutAtACharacter) {
  HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 100, 20, NULL, NULL, NULL, NULL);
  ASSERT_NE(edit, nullptr);
  ASSERT_EQ(SetWindowText932(edit, "\x83\x51\x81\x5b\x83\x80 \x81\x7e"), 1);
  WCHAR shown[16];
  GetWindowTextW(edit, shown, 16);
  const WCHAR expected[] = {0x30B2, 0x30FC, 0x30E0, ' ', 0x00D7, 0};
  EXPECT_EQ(WideText(shown), WideText(expected));

  char whole[16];
  EXPECT_EQ(GetWindowText932(edit, whole, sizeof whole), 1);
  EXPECT_STREQ(whole, "\x83\x51\x81\x5b\x83\x80 \x81\x7e");
  // Five bytes of room: two whole characters, never the lead byte of the third.
  char cut[6];
  EXPECT_EQ(GetWindowText932(edit, cut, sizeof cut), 0);
  EXPECT_STREQ(cut, "\x83\x51\x81\x5b");
  // What the user typed that 932 cannot hold reads as nothing.
  const WCHAR typed[] = {'1', 0x00E9, 0};
  SetWindowTextW(edit, typed);
  char none[16] = "x";
  EXPECT_EQ(GetWindowText932(edit, none, sizeof none), 0);
  EXPECT_STREQ(none, "");
  DestroyWindow(edit);
}

}  // namespace
