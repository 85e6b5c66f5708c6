// The program directory's binaries as Explorer and the loader read them: each carries a version
// resource, and quillomar.exe a manifest that names the Windows versions it is made for and
// Common Controls 6, and leaves the execution level and the DPI to the system.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

// A file of the program directory: this program runs from <build>/bin, the directory is
// <build>/dist.
std::string DistFile(const char *name) {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  char *slash = length ? strrchr(path, '\\') : nullptr;
  if (!slash) return name;
  snprintf(slash, sizeof path - (slash - path), "\\..\\dist\\%s", name);
  return path;
}

// One string of the version resource's Japanese table, in code page 932 as the test's own
// literals are; empty when absent.
std::string VersionString(const std::vector<BYTE> &block, const char *name) {
  // The W form, so that the table's UTF-16 is read as stored, not through a code page.
  std::string query = std::string("\\StringFileInfo\\041104B0\\") + name;
  std::wstring wide(query.begin(), query.end());
  LPVOID text = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), wide.c_str(), &text, &length) || !text) return "";
  char narrow[256];
  int n = WideCharToMultiByte(932, 0, static_cast<const wchar_t *>(text), -1, narrow, sizeof narrow,
                              nullptr, nullptr);
  return n > 0 ? std::string(narrow) : "";
}

TEST(BinaryResources, EveryBinaryNamesTheProductItsVersionAndWhatItIs) {
  struct Binary {
    const char *file, *description;
    DWORD type;
  } binaries[] = {{"quillomar.exe", "Quillomar 落ち物パズルゲーム", VFT_APP},
                  {"quillcore.dll", "Quillomar ゲームエンジン", VFT_DLL},
                  {"InfoPanel.dll", "Quillomar バージョン情報パネル", VFT_DLL},
                  {"Exprn40.dll", "Quillomar 式と BASIC のインタプリタ", VFT_DLL}};
  for (const Binary &b : binaries) {
    SCOPED_TRACE(b.file);
    std::string path = DistFile(b.file);
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    ASSERT_GT(size, 0u) << path;
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, block.data()));
    VS_FIXEDFILEINFO *fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<LPVOID *>(&fixed), &length));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileType, b.type);
    EXPECT_EQ(VersionString(block, "ProductName"), "Quillomar");
    EXPECT_EQ(VersionString(block, "ProductVersion"), "1.0");
    EXPECT_EQ(VersionString(block, "FileVersion"), "1.0");
    EXPECT_EQ(VersionString(block, "FileDescription"), b.description);
    EXPECT_EQ(VersionString(block, "OriginalFilename"), b.file);
  }
}

TEST(BinaryResources, TheProgramsManifestNamesVistaToElevenAndCommonControlsSixAndNothingMore) {
  std::string path = DistFile("quillomar.exe");
  HMODULE program = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(program, nullptr) << path;
  HRSRC found = FindResourceA(program, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
  ASSERT_NE(found, nullptr) << "no manifest";
  const char *bytes = static_cast<const char *>(LockResource(LoadResource(program, found)));
  std::string manifest(bytes, SizeofResource(program, found));
  FreeLibrary(program);

  const char *systems[] = {"{e2011457-1546-43c5-a5fe-008deee3d3f0}",   // Vista
                           "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",   // 7
                           "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",   // 8
                           "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",   // 8.1
                           "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"};  // 10 and 11
  for (const char *id : systems) {
    EXPECT_NE(manifest.find(std::string("<supportedOS Id=\"") + id + "\"/>"), std::string::npos)
        << id;
  }
  EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
            std::string::npos);
  // The comment says why these are absent; only elements count.
  EXPECT_EQ(manifest.find("<requestedExecutionLevel"), std::string::npos);
  EXPECT_EQ(manifest.find("<trustInfo"), std::string::npos);
  EXPECT_EQ(manifest.find("<dpiAware"), std::string::npos);
  EXPECT_EQ(manifest.find("<dpiAwareness"), std::string::npos);
}

}  // namespace
