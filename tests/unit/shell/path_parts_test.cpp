#include "path_parts.h"

#include <gtest/gtest.h>

#include <string.h>

#include <string>

namespace {

// "表" in code page 932: its trail byte is the backslash.
#define HYO "\x95\x5C"

struct SplitCase {
  const char *path, *drive, *dir, *name, *ext;
};

TEST(PathParts, SplitsIntoDriveDirectoryNameAndExtension) {
  const SplitCase cases[] = {
      {"C:\\Games\\Quillomar\\quillomar.exe", "C:", "\\Games\\Quillomar\\", "quillomar", ".exe"},
      {"c:\\pics\\BACK.JPG", "c:", "\\pics\\", "BACK", ".JPG"},
      {"\\\\server\\share\\dir\\file.bmp", "", "\\\\server\\share\\dir\\", "file", ".bmp"},
      {"D:quillomar.exe", "D:", "", "quillomar", ".exe"},
      {"quillomar.exe", "", "", "quillomar", ".exe"},
      {"C:/games/q/block.bmp", "C:", "/games/q/", "block", ".bmp"},
      {"C:\\my.pictures\\back", "C:", "\\my.pictures\\", "back", ""},
      {"C:\\a.b/c.tar.gz", "C:", "\\a.b/", "c.tar", ".gz"},
      {"C:\\" HYO "\\back.jpg", "C:", "\\" HYO "\\", "back", ".jpg"},
      {"C:\\" HYO "file.jpg", "C:", "\\", HYO "file", ".jpg"},
      {HYO ".bmp", "", "", HYO, ".bmp"},
      {"1:\\x.y", "", "1:\\", "x", ".y"},
      {"", "", "", "", ""},
  };
  for (const SplitCase &c : cases) {
    char drive[260], dir[260], name[260], ext[260];
    EXPECT_EQ(SplitPathParts(c.path, drive, dir, name, ext), 1) << c.path;
    EXPECT_STREQ(drive, c.drive) << c.path;
    EXPECT_STREQ(dir, c.dir) << c.path;
    EXPECT_STREQ(name, c.name) << c.path;
    EXPECT_STREQ(ext, c.ext) << c.path;

    char onlyExt[260];
    SplitPathParts(c.path, nullptr, nullptr, nullptr, onlyExt);
    EXPECT_STREQ(onlyExt, c.ext) << "parts not wanted may be null: " << c.path;
  }
}

TEST(PathParts, OverlongPartIsCutAtACharacterBoundary) {
  std::string path = "C:\\";
  for (int i = 0; i < 150; ++i) path += HYO;  // 300 bytes of name
  path += ".jpg";
  char name[260], ext[260];
  EXPECT_EQ(SplitPathParts(path.c_str(), nullptr, nullptr, name, ext), 0);
  EXPECT_EQ(strlen(name), 258u) << "259 bytes would end in half a character";
  EXPECT_EQ(std::string(name), path.substr(3, 258));
  EXPECT_STREQ(ext, ".jpg");
}

TEST(ProgramDirectory, IsDriveAndDirectoryEndingInASeparator) {
  const char *cases[][2] = {
      {"C:\\Games\\quillomar.exe", "C:\\Games\\"},
      {"C:/games/quillomar.exe", "C:/games/"},
      {"D:quillomar.exe", "D:\\"},
      {"quillomar.exe", ""},
      {"\\\\srv\\share\\quillomar.exe", "\\\\srv\\share\\"},
      {"C:\\" HYO "\\quillomar.exe", "C:\\" HYO "\\"},
  };
  for (const auto &c : cases) {
    char out[260];
    EXPECT_EQ(DriveAndDirectory(c[0], out, sizeof out), 1) << c[0];
    EXPECT_STREQ(out, c[1]) << c[0];
  }
  char small[9];
  EXPECT_EQ(DriveAndDirectory("C:\\Games\\quillomar.exe", small, sizeof small), 0);
  EXPECT_STREQ(small, "") << "no cut directory";
  char fits[10];
  EXPECT_EQ(DriveAndDirectory("C:\\Games\\quillomar.exe", fits, sizeof fits), 1);
  EXPECT_STREQ(fits, "C:\\Games\\");
}

TEST(ProgramFilePath, AddsABackslashOnlyWhereTheDirectoryLacksASeparator) {
  const char *cases[][3] = {
      {"C:\\Games\\", "init.inf", "C:\\Games\\init.inf"},
      {"C:\\Games", "init.inf", "C:\\Games\\init.inf"},
      {"C:/games/", "init.inf", "C:/games/init.inf"},
      {"", "init.inf", "init.inf"},
      {"C:\\" HYO, "init.inf", "C:\\" HYO "\\init.inf"},  // the trail byte is no separator
      {"C:\\" HYO "\\", "init.inf", "C:\\" HYO "\\init.inf"},
  };
  for (const auto &c : cases) {
    char out[260];
    EXPECT_EQ(JoinProgramFilePath(c[0], c[1], out, sizeof out), 1) << c[0];
    EXPECT_STREQ(out, c[2]) << c[0];
  }
  char exact[18], short_[17];
  EXPECT_EQ(JoinProgramFilePath("C:\\Games", "init.inf", exact, sizeof exact), 1);
  EXPECT_STREQ(exact, "C:\\Games\\init.inf");
  EXPECT_EQ(JoinProgramFilePath("C:\\Games", "init.inf", short_, sizeof short_), 0);
  EXPECT_STREQ(short_, "") << "a cut path could name another file";
}

}  // namespace
