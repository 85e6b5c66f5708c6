// Exprn40.dll as the program meets it: loaded from the program directory, its exports bound by
// their exact names, expressions evaluated through "Exprion", and the shipped score script
// run through the work area after a prologue, in a scratch directory, with a file filter.
#include <gtest/gtest.h>

#include <windows.h>

#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

namespace {

typedef int(WINAPI *ExprionProc)(int, const char *, double *);
typedef void *(WINAPI *LoadSourceProc)(const char *);
typedef int(WINAPI *AreaProc)(void *);
typedef int(WINAPI *FilterProc)(LPCSTR, LPCSTR);

const size_t kAreaSize = 7000;

std::string ProgramDirectory() {
  // Tests run from <build>/bin; the program directory is <build>/dist.
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(NULL, path, sizeof path);
  std::string dir(path, length);
  dir.resize(dir.find_last_of('\\') + 1);
  return dir + "..\\dist\\";
}

std::vector<std::string> filtered;
const char *filterDirectory = nullptr;

// Allows bare names only, like the program's filter for files outside its directory.
int WINAPI BareNamesOnly(LPCSTR path, LPCSTR directory) {
  filtered.push_back(path);
  filterDirectory = directory;
  return strchr(path, '\\') || strchr(path, '/') ? -29 : 0;
}

std::string ReadText(const char *path) {
  std::string text;
  if (FILE *file = fopen(path, "rb")) {
    int c;
    while ((c = fgetc(file)) != EOF) text += (char)c;
    fclose(file);
  }
  return text;
}

class ExprnDll : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    module = LoadLibraryA((ProgramDirectory() + "Exprn40.dll").c_str());
    ASSERT_NE(module, nullptr);
  }
  static void TearDownTestSuite() {
    if (module) FreeLibrary(module);
    module = nullptr;
  }
  void SetUp() override { ASSERT_NE(module, nullptr); }
  template <typename T>
  static T Bind(const char *name) {
    return reinterpret_cast<T>(reinterpret_cast<void *>(GetProcAddress(module, name)));
  }
  static HMODULE module;
};

HMODULE ExprnDll::module = nullptr;

void Put(unsigned char *area, size_t offset, const void *pointer) {
  memcpy(area + offset, &pointer, 4);
}

TEST_F(ExprnDll, ExportsExactlyTheSixNamesAndEvaluates) {
  const BYTE *base = reinterpret_cast<const BYTE *>(module);
  const IMAGE_NT_HEADERS *nt = reinterpret_cast<const IMAGE_NT_HEADERS *>(
      base + reinterpret_cast<const IMAGE_DOS_HEADER *>(base)->e_lfanew);
  const IMAGE_DATA_DIRECTORY &dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  const IMAGE_EXPORT_DIRECTORY *exports =
      reinterpret_cast<const IMAGE_EXPORT_DIRECTORY *>(base + dir.VirtualAddress);
  ASSERT_EQ(exports->NumberOfNames, 6u);
  const DWORD *names = reinterpret_cast<const DWORD *>(base + exports->AddressOfNames);
  std::vector<std::string> found;
  for (DWORD i = 0; i < exports->NumberOfNames; ++i)
    found.push_back(reinterpret_cast<const char *>(base + names[i]));
  EXPECT_EQ(found,
            (std::vector<std::string>{"Exprion", "_exprion_basic@4", "_qvb_free@4",
                                      "_qvb_initialize@4", "_qvb_loadsrc@4", "_qvb_terminate@4"}));

  ExprionProc exprion = Bind<ExprionProc>("Exprion");
  ASSERT_NE(exprion, nullptr);
  double value = 0;
  // Many calls in a row: a callee that removed the wrong number of argument bytes would
  // have wrecked the stack long before the end.
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(exprion(0, "(1+2)*3.5 - 2^3", &value), 0);
  EXPECT_EQ(value, 2.5);
  EXPECT_EQ(exprion(0, "-1", &value), 0);
  EXPECT_EQ(value, -1);
  value = 7;
  EXPECT_EQ(exprion(0, "1/0", &value), -2);
  EXPECT_EQ(exprion(0, "(1", &value), -3);
  EXPECT_EQ(exprion(0, "12abc", &value), -1);
  EXPECT_EQ(value, 7);
}

TEST_F(ExprnDll, RunsTheScoreScriptAfterThePrologueWithTheFilter) {
  LoadSourceProc loadsrc = Bind<LoadSourceProc>("_qvb_loadsrc@4");
  AreaProc release = Bind<AreaProc>("_qvb_free@4"),
           initialize = Bind<AreaProc>("_qvb_initialize@4"),
           terminate = Bind<AreaProc>("_qvb_terminate@4"),
           basic = Bind<AreaProc>("_exprion_basic@4");
  ASSERT_TRUE(loadsrc && release && initialize && terminate && basic);

  char previous[MAX_PATH + 1];
  ASSERT_GT(GetCurrentDirectoryA(sizeof previous, previous), 0u);
  std::string scratch = ProgramDirectory() + "..\\exprn_dll_scratch";
  CreateDirectoryA(scratch.c_str(), NULL);
  ASSERT_TRUE(SetCurrentDirectoryA(scratch.c_str()));
  DeleteFileA("qmscore.txt");
  DeleteFileA("qmscore.log");
  ASSERT_TRUE(CopyFileA((ProgramDirectory() + "qmscore.bas").c_str(), "qmscore.bas", FALSE));
  FILE *refused = fopen("refused.bas", "wb");
  ASSERT_NE(refused, nullptr);
  fputs("10 open \"sub\\x.txt\" for output as #1\r\n", refused);
  fclose(refused);

  unsigned char area[kAreaSize];
  memset(area, 0, sizeof area);
  void *handle = loadsrc("qmscore.bas");
  ASSERT_NE(handle, nullptr);
  initialize(area);
  const char prologue[] =
      "\t\t1000 dim linecnt(4)\n\t\t1010 linecnt(0) = 3\n\t\t1020 linecnt(1) = 0\n"
      "\t\t1030 linecnt(2) = 1\n\t\t1040 linecnt(3) = 0\n\t\t1050 totalline =  6\n"
      "\t\t1070 level = 2\n\t\t1130 blockfreq = 4294967295\n";
  Put(area, 0, prologue);
  EXPECT_EQ(basic(area), 0);
  static char directory[] = "C:\\Quillomar";
  filtered.clear();
  Put(area, 0, handle);
  Put(area, 96, reinterpret_cast<const void *>(&BareNamesOnly));
  Put(area, 4624, directory);
  EXPECT_EQ(basic(area), 0);
  EXPECT_EQ(filterDirectory, directory);
  EXPECT_EQ(filtered.size(), 4u);

  void *other = loadsrc("refused.bas");
  ASSERT_NE(other, nullptr);
  Put(area, 0, other);
  EXPECT_EQ(basic(area), -29);
  EXPECT_EQ(filtered.back(), "sub\\x.txt");
  release(other);
  release(handle);
  terminate(area);

  // (3 + 6 * 1) * 100 * (2 + 1) = 2700, on lines ending CR LF as Windows programs write them.
  std::string table = ReadText("qmscore.txt");
  ASSERT_GT(table.size(), 12u);
  EXPECT_EQ(table.substr(0, 5), "2700,") << table;
  EXPECT_EQ(table.substr(table.size() - 6), ",6,2\r\n") << table;
  EXPECT_EQ(table.find('\n'), table.size() - 1) << table;
  EXPECT_NE(ReadText("qmscore.log").find("score=2700 lines=6 clears=3/0/1/0 level=2"),
            std::string::npos);
  EXPECT_EQ(ReadText("sub\\x.txt"), "");

  DeleteFileA("qmscore.txt");
  DeleteFileA("qmscore.log");
  DeleteFileA("qmscore.bas");
  DeleteFileA("refused.bas");
  SetCurrentDirectoryA(previous);
  RemoveDirectoryA(scratch.c_str());
}

}  // namespace
