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
      {"", SCRIPT_FILE_REFUSED},
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

// The program's own files, and every name Windows may load from its folder unasked, however
// Windows would spell them; the script's own files beside them stay usable.  Each name is tried
// bare and after the program directory's path, under code pages 932 and 1252 (where the
// stand-in lets the test choose).
TEST(ScriptFileFilter, KeepsTheProgramsOwnFilesOutOfReach) {
  const char *directory = "C:\\Games\\" HYO "\\";
  const LONG R = SCRIPT_FILE_REFUSED;
  const struct {
    const char *name;
    LONG in932, in1252;
  } cases[] = {
      // The program's files, in any letter case, with trailing dots and blanks.
      {"quillomar.exe", R, R},
      {"QuillCore.DLL", R, R},
      {"infopanel.dll", R, R},
      {"Exprn40.dll", R, R},
      {"EXPRN35.DLL", R, R},
      {"exprn34.dll", R, R},
      {"block.bmp", R, R},
      {"BLOCK.BMP ", R, R},
      {"block.bmp. . .", R, R},
      {"init.inf", R, R},
      {"Init.Inf.", R, R},
      {"INIT.INF  ", R, R},
      {"init.in~", R, R},
      // Streams of them, and any stream at all.
      {"init.inf::$DATA", R, R},
      {"init.inf:x", R, R},
      {"score.txt:hidden", R, R},
      // What Windows loads from the program's folder by its ending alone.
      {"version.dll", R, R},
      {"x.Dll.", R, R},
      {"setup.exe", R, R},
      {"quillomar.exe.manifest", R, R},
      {"a.MANIFEST ", R, R},
      {"quillomar.exe.local", R, R},
      // Short aliases of long names.
      {"QUILLO~1.MAN", R, R},
      {"QUILLO~1.LOC", R, R},
      {"INIT~1.INF", R, R},
      {"BLOCK~12.BMP", R, R},
      {"QUI~AB12.EXE", R, R},
      // Names that are no file of the folder.
      {".", R, R},
      {"..", R, R},
      {". .", R, R},
      // A lead byte with no possible trail byte hides nothing: not the ":" of a stream, not the
      // "/" of a subdirectory, not the ending of a library.
      {"\x81:x.txt", R, R},
      {"\x81/x.txt", R, R},
      {"x\x81.dll", R, R},
      // A double-byte character: "表" under 932 is one character; under 1252 its second byte
      // is a backslash, so the name is in a subdirectory.
      {HYO "init.txt", 0, R},
      {HYO ".dll", R, R},
      // The script's own files.
      {"qmscore.bas", 0, 0},
      {"QMSCORE.TXT", 0, 0},
      {"qmscore.log", 0, 0},
      {"init.inf.txt", 0, 0},
      {"block.bmp.old", 0, 0},
      {"dll", 0, 0},
      {"a.dl", 0, 0},
      {"my~1.txt", 0, 0},
      {"local.txt", 0, 0},
      {"\x83\x41.txt", 0, 0},
  };
#ifdef _WIN32
  const UINT codePages[] = {GetACP()};
#else
  const UINT codePages[] = {932, 1252};
#endif
  for (UINT codePage : codePages) {
#ifndef _WIN32
    PlatformSetAnsiCodePage(codePage);
#endif
    for (const auto &c : cases) {
      const LONG expected = codePage == 932 ? c.in932 : c.in1252;
      EXPECT_EQ(ScriptFileFilter(c.name, directory), expected) << c.name << " in " << codePage;
      const std::string full = std::string("c:\\games\\" HYO "\\") + c.name;
      EXPECT_EQ(ScriptFileFilter(full.c_str(), directory), expected) << full << " in " << codePage;
    }
  }
#ifndef _WIN32
  PlatformSetAnsiCodePage(932);
#endif
}

TEST(ScriptFileFilter, RefusesWhatCannotBeSplit) {
  std::string deep = "C:\\";
  while (deep.size() < 300) deep += "dir\\";
  EXPECT_EQ(ScriptFileFilter((deep + "x.txt").c_str(), deep.c_str()), SCRIPT_FILE_REFUSED);
  EXPECT_EQ(ScriptFileFilter(NULL, "C:\\"), SCRIPT_FILE_REFUSED);
  EXPECT_EQ(ScriptFileFilter("x.txt", NULL), SCRIPT_FILE_REFUSED);
}

}  // namespace
