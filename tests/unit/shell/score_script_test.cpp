#include "score_prologue.h"
#include "script_file_filter.h"

#include "path_parts.h"
#include "platform.h"

#include <gtest/gtest.h>

#include <string.h>

#include <string>

namespace {

// "表" in code page 932: its trail byte is the backslash.
#define HYO "\x95\x5C"

TEST(ScorePrologue, ListsTheGameAndItsSettingsLineByLine) {
  GameSettings settings;
  SetDefaultSettings(&settings);
  SplitWait(&settings, 430);
  settings.level = 2;
  settings.lv1_norma = 12;
  settings.lv1_speed = 33;
  settings.lv2_block = 9;
  settings.lv2_norma = 4;
  settings.lv2_upline = 2;
  settings.blockfreq = -1;
  settings.guide_shadow = 1;
  settings.guide_stripe = 0;
  settings.stripe_intensity = 90;
  const uint32_t linecnt[4] = {10, 0, 0, 2};
  char text[SCORE_PROLOGUE_BYTES];
  ASSERT_EQ(FormatScorePrologue(text, sizeof text, linecnt, &settings), 1);
  EXPECT_EQ(std::string(text),
            "\t\t1000 dim linecnt(4)\n"
            "\t\t1010 linecnt(0) = 10\n"
            "\t\t1020 linecnt(1) = 0\n"
            "\t\t1030 linecnt(2) = 0\n"
            "\t\t1040 linecnt(3) = 2\n"
            "\t\t1050 totalline =  18\n"
            "\t\t1060 wait = 430\n"
            "\t\t1070 level = 2\n"
            "\t\t1080 lv1_norma = 12\n"
            "\t\t1090 lv1_speed = 33\n"
            "\t\t1100 lv2_block = 9\n"
            "\t\t1110 lv2_norma = 4\n"
            "\t\t1120 lv2_upline = 2\n"
            "\t\t1130 blockfreq = 4294967295\n"
            "\t\t1140 guide_shadow = 1\n"
            "\t\t1150 guide_stripe = 0\n"
            "\t\t1160 stripe_intensity = 90\n");

  char small[100];
  EXPECT_EQ(FormatScorePrologue(small, sizeof small, linecnt, &settings), 0);
  EXPECT_EQ(strlen(small), sizeof small - 1);
}

TEST(ScriptFileFilter, AllowsBareNamesAndTheProgramDirectoryOnly) {
  const char *directory = "C:\\Games\\" HYO "\\";
  const struct {
    const char *path;
    LONG expected;
  } cases[] = {
      {"score.txt", 0},
      {HYO ".txt", 0},
      {"C:\\Games\\" HYO "\\score.txt", 0},
      {"c:\\GAMES\\" HYO "\\score.txt", 0},
      {"C:/Games/" HYO "/score.txt", SCRIPT_FILE_REFUSED},
      {"C:\\Games\\" HYO "\\sub\\score.txt", SCRIPT_FILE_REFUSED},
      {"C:\\Games\\score.txt", SCRIPT_FILE_REFUSED},
      {"C:\\Games\\" HYO "\\..\\" HYO "\\score.txt", SCRIPT_FILE_REFUSED},
      {"..\\score.txt", SCRIPT_FILE_REFUSED},
      {".\\score.txt", SCRIPT_FILE_REFUSED},
      {"D:\\Games\\" HYO "\\score.txt", SCRIPT_FILE_REFUSED},
      {"C:score.txt", SCRIPT_FILE_REFUSED},
      {"\\\\server\\Games\\" HYO "\\score.txt", SCRIPT_FILE_REFUSED},
      {"", 0},
  };
  for (const auto &c : cases) EXPECT_EQ(ScriptFileFilter(c.path, directory), c.expected) << c.path;

  // The trail bytes of double-byte characters are not letters: "ア" (83 41) and "ャ" (83 61)
  // differ even though 41 and 61 are "A" and "a".
  EXPECT_EQ(ScriptFileFilter("C:\\\x83\x41\\x.txt", "C:\\\x83\x61\\"), SCRIPT_FILE_REFUSED);
  EXPECT_EQ(ScriptFileFilter("C:\\\x83\x41\\x.txt", "c:\\\x83\x41\\"), 0);
}

#ifndef _WIN32
// The names are split the way the file system reads them, in the system's ANSI code page: where
// that has no double-byte characters, "表x.txt" of code page 932 is "x.txt" in a subdirectory.
TEST(ScriptFileFilter, SplitsInTheSystemsCodePage) {
  const char *directory = "C:\\Games\\";
  EXPECT_EQ(ScriptFileFilter(HYO "x.txt", directory), 0);
  EXPECT_EQ(ScriptFileFilter("C:\\Games\\" HYO "x.txt", directory), 0);
  PlatformSetAnsiCodePage(1252);
  LONG bare = ScriptFileFilter(HYO "x.txt", directory);
  LONG full = ScriptFileFilter("C:\\Games\\" HYO "x.txt", directory);
  char dir[PATH_BUFFER_BYTES], name[PATH_BUFFER_BYTES];
  SplitPathParts("C:\\" HYO "x.txt", NULL, dir, name, NULL);
  PlatformSetAnsiCodePage(932);
  EXPECT_EQ(bare, SCRIPT_FILE_REFUSED);
  EXPECT_EQ(full, SCRIPT_FILE_REFUSED);
  EXPECT_STREQ(dir, "\\" HYO);
  EXPECT_STREQ(name, "x");
}
#endif

TEST(ScriptFileFilter, RefusesWhatCannotBeSplit) {
  std::string deep = "C:\\";
  while (deep.size() < 300) deep += "dir\\";
  EXPECT_EQ(ScriptFileFilter((deep + "x.txt").c_str(), deep.c_str()), SCRIPT_FILE_REFUSED);
  EXPECT_EQ(ScriptFileFilter(NULL, "C:\\"), SCRIPT_FILE_REFUSED);
  EXPECT_EQ(ScriptFileFilter("x.txt", NULL), SCRIPT_FILE_REFUSED);
}

}  // namespace
