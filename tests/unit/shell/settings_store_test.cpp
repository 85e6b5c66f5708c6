#include "settings_store.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>

#include <set>
#include <string>
#include <vector>

#ifdef _WIN32
#include <direct.h>
#define MakeDirectory(path) _mkdir(path)
#define RemoveDirectory_(path) _rmdir(path)
#else
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>
#define MakeDirectory(path) mkdir(path, 0755)
#define RemoveDirectory_(path) rmdir(path)
#endif

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Pattern(size_t count, uint8_t first) {
  Bytes b(count);
  for (size_t i = 0; i < count; ++i) b[i] = (uint8_t)(first + i * 7);
  return b;
}

void WriteRaw(const std::string &path, const Bytes &bytes) {
  FILE *f = fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr) << path;
  ASSERT_EQ(fwrite(bytes.data(), 1, bytes.size(), f), bytes.size());
  fclose(f);
}

bool ReadRaw(const std::string &path, Bytes *out) {
  FILE *f = fopen(path.c_str(), "rb");
  if (!f) return false;
  out->clear();
  int c;
  while ((c = fgetc(f)) != EOF) out->push_back((uint8_t)c);
  fclose(f);
  return true;
}

std::set<std::string> Entries(const std::string &dir) {
  std::set<std::string> names;
  if (DIR *d = opendir(dir.c_str())) {
    while (dirent *e = readdir(d))
      if (strcmp(e->d_name, ".") && strcmp(e->d_name, "..")) names.insert(e->d_name);
    closedir(d);
  }
  return names;
}

// A fresh, empty directory of the test's own, removed again with whatever the test left in it
// that it knows of.
struct ScratchDirectory {
  std::string dir;
  explicit ScratchDirectory(const char *name) : dir(std::string("store_") + name) {
    Clean();
    MakeDirectory(dir.c_str());
  }
  ~ScratchDirectory() { Clean(); }
  std::string Path(const std::string &name) const { return dir + "/" + name; }
  void Clean() {
    for (const std::string &name : Entries(dir)) {
      remove(Path(name).c_str());
      RemoveDirectory_(Path(name).c_str());
    }
    RemoveDirectory_(dir.c_str());
  }
};

typedef std::basic_string<WCHAR> WideText;

// An ASCII path as the UTF-16 path the store takes.
WideText W(const std::string &path) {
  return WideText(path.begin(), path.end());
}

WideText ScratchOfWide(const WideText &path) {
  WCHAR scratch[260];
  EXPECT_EQ(SettingsScratchPath(path.c_str(), scratch, 260), 1);
  return scratch;
}

std::string ScratchOf(const std::string &path) {
  const WideText scratch = ScratchOfWide(W(path));
  return std::string(scratch.begin(), scratch.end());
}

TEST(SettingsStore, ReadsTheFirst444BytesAndIgnoresShorterFiles) {
  ScratchDirectory scratch("read");
  const std::string path = scratch.Path("init.inf");
  uint8_t out[SETTINGS_FILE_SIZE];
  memset(out, 0x77, sizeof out);
  const Bytes untouched(out, out + sizeof out);

  EXPECT_EQ(ReadSettingsBytes(W(path).c_str(), out), 0) << "no file";
  WriteRaw(path, Pattern(443, 1));
  EXPECT_EQ(ReadSettingsBytes(W(path).c_str(), out), 0);
  EXPECT_EQ(Bytes(out, out + sizeof out), untouched);

  const Bytes longer = Pattern(445, 9);
  WriteRaw(path, longer);
  EXPECT_EQ(ReadSettingsBytes(W(path).c_str(), out), 1);
  EXPECT_EQ(Bytes(out, out + sizeof out), Bytes(longer.begin(), longer.begin() + 444));

  const Bytes exact = Pattern(444, 3);
  WriteRaw(path, exact);
  EXPECT_EQ(ReadSettingsBytes(W(path).c_str(), out), 1);
  EXPECT_EQ(Bytes(out, out + sizeof out), exact);
}

TEST(SettingsStore, WriteReplacesTheWholeFileAndLeavesNothingElseBehind) {
  ScratchDirectory scratch("write");
  const std::string path = scratch.Path("init.inf");
  const Bytes first = Pattern(444, 5), second = Pattern(444, 100);

  EXPECT_EQ(WriteSettingsBytes(W(path).c_str(), first.data()), 1) << "no file yet";
  Bytes got;
  ASSERT_TRUE(ReadRaw(path, &got));
  EXPECT_EQ(got, first);

  WriteRaw(path, Pattern(600, 42));  // a longer old file must not keep its tail
  EXPECT_EQ(WriteSettingsBytes(W(path).c_str(), second.data()), 1);
  ASSERT_TRUE(ReadRaw(path, &got));
  EXPECT_EQ(got, second);
  EXPECT_EQ(Entries(scratch.dir), std::set<std::string>{"init.inf"});

  // A scratch file left by an interrupted save is the program's own and is simply reused.
  WriteRaw(ScratchOf(path), Pattern(10, 0));
  EXPECT_EQ(WriteSettingsBytes(W(path).c_str(), first.data()), 1);
  ASSERT_TRUE(ReadRaw(path, &got));
  EXPECT_EQ(got, first);
  EXPECT_EQ(Entries(scratch.dir), std::set<std::string>{"init.inf"});
}

TEST(SettingsStore, FailedWriteKeepsTheOldFileAndRemovesItsScratchFile) {
  ScratchDirectory scratch("fail");
  const std::string path = scratch.Path("init.inf");
  const Bytes old = Pattern(444, 1), fresh = Pattern(444, 2);
  WriteRaw(path, old);

  // The scratch file is written but cannot take the settings file's place.
  const std::string blocked = scratch.Path("blocked.inf");
  ASSERT_EQ(MakeDirectory(blocked.c_str()), 0);
  EXPECT_EQ(WriteSettingsBytes(W(blocked).c_str(), fresh.data()), 0);
  EXPECT_EQ(Entries(scratch.dir), (std::set<std::string>{"init.inf", "blocked.inf"}));

  // A directory that does not exist.
  EXPECT_EQ(WriteSettingsBytes(W(scratch.Path("missing/init.inf")).c_str(), fresh.data()), 0);

  // A path with no file name has no scratch file.
  WCHAR out[260];
  EXPECT_EQ(SettingsScratchPath(W(scratch.dir + "/").c_str(), out, 260), 0);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(Entries(scratch.dir), (std::set<std::string>{"init.inf", "blocked.inf"}));
  Bytes got;
  ASSERT_TRUE(ReadRaw(path, &got));
  EXPECT_EQ(got, old);
}

TEST(SettingsStore, WithoutRoomForTheScratchFileTheFileIsWrittenInPlace) {
  ScratchDirectory scratch("in_place");
  const std::string path = scratch.Path("init.inf");
  const Bytes fresh = Pattern(444, 2);
  // Something that is not a file holds the scratch file's name, so it cannot be created.
  ASSERT_EQ(MakeDirectory(ScratchOf(path).c_str()), 0);
  const std::set<std::string> both = {"init.inf", ScratchOf("init.inf")};

  // No settings file yet: it is made.
  EXPECT_EQ(WriteSettingsBytes(W(path).c_str(), fresh.data()), 1);
  Bytes got;
  ASSERT_TRUE(ReadRaw(path, &got));
  EXPECT_EQ(got, fresh);

  // A longer old file is overwritten and cut to the record's size.
  WriteRaw(path, Pattern(600, 42));
  EXPECT_EQ(WriteSettingsBytes(W(path).c_str(), fresh.data()), 1);
  ASSERT_TRUE(ReadRaw(path, &got));
  EXPECT_EQ(got, fresh);
  EXPECT_EQ(Entries(scratch.dir), both);

#ifndef _WIN32
  // The first write fails (no room on the disk, here a file size limit of nothing): the old
  // settings stay whole.
  const Bytes old = Pattern(444, 9);
  WriteRaw(path, old);
  struct rlimit before;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
  void (*previous)(int) = signal(SIGXFSZ, SIG_IGN);
  struct rlimit none = before;
  none.rlim_cur = 0;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &none), 0);
  const int written = WriteSettingsBytes(W(path).c_str(), fresh.data());
  setrlimit(RLIMIT_FSIZE, &before);
  signal(SIGXFSZ, previous);
  EXPECT_EQ(written, 0);
  ASSERT_TRUE(ReadRaw(path, &got));
  EXPECT_EQ(got, old);
  EXPECT_EQ(Entries(scratch.dir), both);
#endif
}

TEST(SettingsStore, ScratchNameIsNeverLongerThanTheSettingsFilesPath) {
  EXPECT_EQ(ScratchOf("C:\\Games\\init.inf"), "C:\\Games\\init.in~");
  EXPECT_EQ(ScratchOf("dir/name~"), "dir/name_");
  // A folder of any name: "ゲーム" keeps its first two characters; a last character of two
  // UTF-16 units (U+20BB7) is replaced whole, never leaving half of it behind.
  const WCHAR game[] = {'d', '/', 0x30B2, 0x30FC, 0x30E0, 0};
  const WCHAR gameScratch[] = {'d', '/', 0x30B2, 0x30FC, '~', 0};
  EXPECT_EQ(ScratchOfWide(game), WideText(gameScratch));
  const WCHAR pair[] = {'d', '/', 'a', 0xD842, 0xDFB7, 0};
  EXPECT_EQ(ScratchOfWide(pair), W("d/a~"));

  // A program directory as long as a path buffer allows still saves its settings.
  ScratchDirectory scratch("long");
  const std::string longest = scratch.Path(std::string(259 - scratch.dir.size() - 1, 'n'));
  ASSERT_EQ(longest.size(), 259u);
  EXPECT_EQ(ScratchOf(longest).size(), longest.size());
  const Bytes fresh = Pattern(444, 7);
  EXPECT_EQ(WriteSettingsBytes(W(longest).c_str(), fresh.data()), 1);
  Bytes got;
  ASSERT_TRUE(ReadRaw(longest, &got));
  EXPECT_EQ(got, fresh);
  EXPECT_EQ(Entries(scratch.dir).size(), 1u);
}

}  // namespace
