// qmbasic's confinement: a script tried with qmbasic reaches no more than in the game, its own
// folder taken for the program directory.
#include "confinement.h"

#include <gtest/gtest.h>

#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "error_codes.h"

namespace {

bool Exists(const std::string &path) {
  struct stat status;
  return lstat(path.c_str(), &status) == 0;
}

void Touch(const std::string &path) {
  if (FILE *file = fopen(path.c_str(), "w")) fclose(file);
}

int RunScript(BasicSession *session, const std::string &source) {
  int code, line;
  BasicProgram *program = LoadBasicText(source.data(), source.size(), &code, &line);
  if (!program) return code;
  code = RunBasicProgram(session, program);
  FreeBasicProgram(program);
  return code;
}

TEST(QmbasicConfinement, AScriptReachesOnlyWhatTheGameLetsIt) {
  char scratch[] = "/tmp/qm_confine.XXXXXX";
  ASSERT_NE(mkdtemp(scratch), nullptr);
  const std::string top = scratch, folder = top + "/scripts/", outside = top + "/outside.txt";
  ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
  Touch(folder + "try.bas");
  Touch(outside);
  Touch(folder + "Exprn40.dll");
  char previous[PATH_MAX];
  ASSERT_NE(getcwd(previous, sizeof previous), nullptr);

  BasicSession *session = CreateBasicSession();
  std::string confined;
  // Named from elsewhere, with a relative step: the folder is found all the same.
  ASSERT_TRUE(
      ConfineToScriptFolder(session, (top + "/scripts/../scripts/try.bas").c_str(), &confined));
  char *real = realpath(folder.c_str(), nullptr);
  EXPECT_EQ(confined, std::string(real) + "/");
  free(real);

  const std::string twin = confined.substr(0, confined.size() - 8) + "SCRIPTS/";
  ASSERT_EQ(mkdir(twin.c_str(), 0755), 0);
  const struct {
    const char *what;
    std::string source;
    int code;
  } cases[] = {
      {"a bare name, in the folder", "10 open \"own.txt\" for output as #1 : print #1, 1", 0},
      {"the folder's own path", "10 open \"" + confined + "own.txt\" for append as #1", 0},
      // A folder beside it whose name differs in letter case only: another folder here.
      {"the folder's name in other letters", "10 open \"" + twin + "own.txt\" for output as #1",
       kErrOpen},
      {"a file of the system", "10 open \"/etc/hostname\" for input as #1", kErrOpen},
      {"a parent step", "10 open \"../outside.txt\" for output as #1", kErrOpen},
      {"a file outside, killed", "10 kill \"" + outside + "\"", kErrOpen},
      {"a file renamed out", "10 name \"own.txt\" as \"../moved.txt\"", kErrOpen},
      {"a library replaced", "10 name \"Exprn40.dll\" as \"Exprn40.old\"", kErrOpen},
      {"a library planted", "10 open \"version.DLL.\" for output as #1", kErrOpen},
  };
  for (const auto &c : cases) EXPECT_EQ(RunScript(session, c.source), c.code) << c.what;
  DestroyBasicSession(session);

  EXPECT_TRUE(Exists(folder + "own.txt"));
  EXPECT_TRUE(Exists(outside));
  EXPECT_TRUE(Exists(folder + "Exprn40.dll"));
  EXPECT_FALSE(Exists(folder + "Exprn40.old"));
  EXPECT_FALSE(Exists(folder + "version.DLL."));
  EXPECT_FALSE(Exists(top + "/moved.txt"));
  EXPECT_FALSE(Exists(twin + "own.txt"));

  // A script whose folder cannot be found changes nothing.
  BasicSession *other = CreateBasicSession();
  EXPECT_FALSE(ConfineToScriptFolder(other, (top + "/missing/x.bas").c_str(), &confined));
  DestroyBasicSession(other);

  ASSERT_EQ(chdir(previous), 0);
  for (const char *name : {"try.bas", "own.txt", "Exprn40.dll"}) remove((folder + name).c_str());
  rmdir(folder.c_str());
  rmdir(twin.c_str());
  remove(outside.c_str());
  rmdir(top.c_str());
}

}  // namespace
