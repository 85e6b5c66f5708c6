// The file statements, in a scratch directory, and the filter every named file passes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "error_codes.h"
#include "exprn_fixture.h"

namespace {

std::vector<std::string> asked;  // "path|directory" of every filter call
const char kDirectory[] = "C:\\Games\\Quillomar";

// Refuses every name with a directory part, as the program's filter refuses another directory.
int WINAPI RefuseDirectories(LPCSTR path, LPCSTR directory) {
  asked.push_back(std::string(path) + "|" + directory);
  std::string name(path);
  return name.find('/') != std::string::npos || name.find('\\') != std::string::npos ? -29 : 0;
}

TEST(BasicFiles, WriteAppendReadRenameAndKill) {
  ScratchDirectory scratch("files");
  ASSERT_FALSE(scratch.dir.empty());
  const char *source =
      "10 open \"a.txt\" for output as #1\n"
      "20 print #1, 12; \",\"; \"two words\"; \",\"; -3.5\n"
      "30 print #1, \"line, with comma\"\n"
      "40 close #1\n"
      "50 open \"a.txt\" for append as 2 : print #2, \" 7 , \"; chr$(34); \"quoted, text\"; "
      "chr$(34) : close\n"
      "60 open \"a.txt\" for input as #3\n"
      "70 input #3, n, w$, x\n"
      "80 line input #3, l$\n"
      "90 input #3, m, q$\n"
      "100 print n + x; \"|\"; w$; \"|\"; l$; \"|\"; m; \"|\"; q$; \"|\"; eof(3)\n"
      "110 close #3\n"
      "120 name \"a.txt\" as \"b.txt\"\n"
      "130 open \"b.txt\" for input as #1 : line input #1, f$ : close #1 : print f$\n"
      "140 kill \"b.txt\"\n";
  std::string output;
  EXPECT_EQ(RunSource(source, &output), 0);
  EXPECT_EQ(output, "8.5|two words|line, with comma|7|quoted, text|1\n12,two words,-3.5\n");
  EXPECT_EQ(ReadText("b.txt"), "");
  EXPECT_EQ(ReadText("a.txt"), "");
}

TEST(BasicFiles, FailuresCarryTheirCodesAndLeaveFilesAlone) {
  ScratchDirectory scratch("fileerrors");
  ASSERT_FALSE(scratch.dir.empty());
  WriteText("a.txt", "1,2\n");
  WriteText("b.txt", "keep");
  const struct {
    const char *source;
    int code;
  } cases[] = {
      {"10 open \"c.txt\" for input as #1", kErrOpen},
      {"10 open \"a.txt\" for input as #1\n20 input #1, a, b, c", kErrRead},
      {"10 open \"a.txt\" for input as #1\n20 input #1, a$\n30 input #1, b$, c", kErrRead},
      {"10 open \"a.txt\" for input as #1\n20 line input #1, a", kErrKind},
      {"10 open \"b.txt\" for input as #1\n20 input #1, a", kErrInputMismatch},
      {"10 print #1, 1", kErrWrite},
      {"10 open \"a.txt\" for input as #1\n20 print #1, 1", kErrWrite},
      {"10 close #1", kErrClose},
      {"10 open \"c.txt\" for output as #17", kErrTooManyFiles},
      {"10 open \"c.txt\" for output as #1\n20 open \"c.txt\" for output as #1",
       kErrAlreadyAllocated},
      {"10 kill \"c.txt\"\n20 kill \"c.txt\"", kErrKill},
      {"10 name \"a.txt\" as \"b.txt\"", kErrRename},
      {"10 name \"c.txt\" as \"d.txt\"", kErrRename},
      {"10 open \"\" for output as #1", kErrOpen},
      {"10 open \"CON\" for input as #1", kErrOpen},
      {"10 open \"Lpt1.log\" for output as #1", kErrOpen},
  };
  for (const auto &c : cases) EXPECT_EQ(RunSource(c.source), c.code) << c.source;
  EXPECT_EQ(ReadText("a.txt"), "1,2\n");
  EXPECT_EQ(ReadText("b.txt"), "keep");

  // The write budget ends a run that would fill the disk.
  BasicSession *session = CreateBasicSession();
  BasicLimits limits;
  limits.writtenBytes = 1000;
  SetBasicLimits(session, limits);
  EXPECT_EQ(RunIn(session,
                  "10 open \"c.txt\" for output as #1\n20 print #1, \"0123456789\"\n"
                  "30 goto 20"),
            kErrWrite);
  EXPECT_LE(ReadText("c.txt").size(), 1000u);
  DestroyBasicSession(session);
}

TEST(BasicFiles, EveryNamedFilePassesTheFilter) {
  ScratchDirectory scratch("filter");
  ASSERT_FALSE(scratch.dir.empty());
  WriteText("a.txt", "precious\n");
  BasicSession *session = CreateBasicSession();
  SetBasicFileFilter(session, RefuseDirectories, kDirectory);
  asked.clear();
  const struct {
    const char *source;
    int code;
  } cases[] = {
      {"10 open \"../a.txt\" for input as #1", kErrOpen},
      {"10 open \"sub/c.txt\" for output as #1", kErrOpen},
      {"10 kill \"./a.txt\"", kErrOpen},
      {"10 name \"a.txt\" as \"../c.txt\"", kErrOpen},
      {"10 name \"./a.txt\" as \"c.txt\"", kErrOpen},
      {"10 open \"a.txt\" for append as #1 : print #1, \"more\"", 0},
  };
  for (const auto &c : cases) EXPECT_EQ(RunIn(session, c.source), c.code) << c.source;
  const std::string d = std::string("|") + kDirectory;
  EXPECT_EQ(asked,
            (std::vector<std::string>{"../a.txt" + d, "sub/c.txt" + d, "./a.txt" + d, "a.txt" + d,
                                      "../c.txt" + d, "./a.txt" + d, "a.txt" + d}));
  EXPECT_EQ(ReadText("a.txt"), "precious\nmore\n");
  DestroyBasicSession(session);
}

}  // namespace
