// The portable core relies on these Win32 behaviours; the same tests run against Windows
// (under Wine) and against the Linux stand-in, so the two cannot drift apart.
#include "platform.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>
#include <string>

namespace {

TEST(GlobalMemory, MoveableBlockIsZeroedAndFoundAgainFromItsLockedAddress) {
  HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 64);
  ASSERT_NE(handle, nullptr);
  unsigned char *bytes = static_cast<unsigned char *>(GlobalLock(handle));
  ASSERT_NE(bytes, nullptr);
  for (int i = 0; i < 64; ++i) ASSERT_EQ(bytes[i], 0) << i;
  EXPECT_EQ(GlobalHandle(bytes), handle);
  EXPECT_GE(GlobalSize(handle), 64u);
  GlobalUnlock(handle);
  EXPECT_EQ(GlobalFree(handle), nullptr);
}

TEST(GlobalMemory, FixedBlockHandleIsItsAddress) {
  HGLOBAL handle = GlobalAlloc(GMEM_FIXED, 16);
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(GlobalLock(handle), handle);
  EXPECT_EQ(GlobalHandle(handle), handle);
  EXPECT_EQ(GlobalFree(handle), nullptr);
}

TEST(Files, ReadReportsShortReadsAndSeeksFromTheStart) {
  char path[] = "platform_test_file.bin";
  FILE *f = fopen(path, "wb");
  ASSERT_NE(f, nullptr);
  fputs("0123456789", f);
  fclose(f);

  HANDLE file = CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                            nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  char buffer[32] = {0};
  DWORD got = 0;
  EXPECT_TRUE(ReadFile(file, buffer, 4, &got, nullptr));
  EXPECT_EQ(got, 4u);
  EXPECT_EQ(SetFilePointer(file, 8, nullptr, FILE_BEGIN), 8u);
  EXPECT_TRUE(ReadFile(file, buffer, 32, &got, nullptr));
  EXPECT_EQ(got, 2u);
  EXPECT_EQ(std::string(buffer, 2), "89");
  EXPECT_TRUE(ReadFile(file, buffer, 32, &got, nullptr));
  EXPECT_EQ(got, 0u) << "reading at the end succeeds with nothing read";
  CloseHandle(file);

  EXPECT_EQ(CreateFileA("no_such_file.bin", GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr),
            INVALID_HANDLE_VALUE);
  EXPECT_TRUE(DeleteFileA(path));
}

TEST(Files, MoveReplacesAnExistingFileOnlyWhenAsked) {
  FILE *a = fopen("platform_move_a.bin", "wb");
  FILE *b = fopen("platform_move_b.bin", "wb");
  ASSERT_TRUE(a && b);
  fputs("new", a);
  fputs("old", b);
  fclose(a);
  fclose(b);
  EXPECT_FALSE(MoveFileExA("platform_move_a.bin", "platform_move_b.bin", 0));
  EXPECT_TRUE(MoveFileExA("platform_move_a.bin", "platform_move_b.bin", MOVEFILE_REPLACE_EXISTING));
  FILE *r = fopen("platform_move_b.bin", "rb");
  ASSERT_NE(r, nullptr);
  char text[8] = {0};
  EXPECT_EQ(fread(text, 1, sizeof text, r), 3u);
  fclose(r);
  EXPECT_STREQ(text, "new");
  DeleteFileA("platform_move_b.bin");
}

TEST(CodePage932, LeadBytesAndCharacterSteps) {
  // "表" is 0x95 0x5C in code page 932: its trail byte looks like a backslash.
  const char text[] = "\x95\x5C" "a\\";
  EXPECT_TRUE(IsDBCSLeadByteEx(932, 0x95));
  EXPECT_TRUE(IsDBCSLeadByteEx(932, 0xE0));
  EXPECT_FALSE(IsDBCSLeadByteEx(932, 'a'));
  EXPECT_FALSE(IsDBCSLeadByteEx(932, 0xA0)) << "half-width katakana are single bytes";
  const char *p = CharNextA(text);
  EXPECT_EQ(p, text + 2);
  p = CharNextA(p);
  EXPECT_EQ(p, text + 3);
  p = CharNextA(p);
  EXPECT_EQ(p, text + 4);
  EXPECT_EQ(CharNextA(p), p) << "the terminator is not passed";
}

TEST(Strings, BoundedCopyAlwaysTerminates) {
  char small[4];
  lstrcpynA(small, "abcdef", sizeof small);
  EXPECT_STREQ(small, "abc");
  EXPECT_EQ(lstrcmpiA(".JPG", ".jpg"), 0);
  EXPECT_NE(lstrcmpiA(".jpeg", ".jpg"), 0);
  EXPECT_EQ(lstrlenA("abc"), 3);
}

}  // namespace
