#include <stdio.h>
#include <string.h>

#include <string>

#include "candidate_libraries.h"
#include "score_script.h"
#include "game_thread.h"
#include "main_window.h"
#include "program_paths.h"
#include "script_file_filter.h"

namespace {

// Each run starts from a directory that is not the program directory and must end there.
class ScoreScriptRun : public CandidateLibraries {
 protected:
  void SetUp() override {
    CandidateLibraries::SetUp();
    InitProgramDirectory();
    GetTempPathA(sizeof startDirectory, startDirectory);
    ASSERT_TRUE(SetCurrentDirectoryA(startDirectory));
    GetCurrentDirectoryA(sizeof startDirectory, startDirectory);
    WriteScript();
    doneAtStart = gameHost.score_script_done;
    gameHost.score_script_done = 0;
    const uint32_t counts[4] = {10, 3, 1, 2};
    memcpy(gameHost.linecnt, counts, sizeof counts);
    SetDefaultSettings(&gameSettings);
    gameSettings.stripe_intensity = 200;
    gameSettings.guide_stripe = 1;
  }
  void TearDown() override {
    DeleteFileA(ScriptPath().c_str());
    CandidateLibraries::TearDown();
  }
  static std::string ScriptPath() { return TestDirectory() + "qmscore.bas"; }
  static void WriteScript() {
    FILE *file = fopen(ScriptPath().c_str(), "wb");
    if (file) fclose(file);
  }
  FakeLog *Bind(const char *variant) {
    if (!PlaceLibrary(variant, "Exprn40.dll")) return NULL;
    LoadInterpreter();
    return BoundFakeLog();
  }
  std::string CurrentDirectory() {
    char now[MAX_PATH];
    GetCurrentDirectoryA(sizeof now, now);
    return now;
  }
  static std::string Calls(const FakeLog *log) {
    std::string names;
    for (int i = 0; i < log->callCount; ++i) names += std::string(log->calls[i].name) + " ";
    return names;
  }
  // The program directory as GetCurrentDirectory spells it: no trailing backslash.
  static std::string ProgramDirectoryAsCurrent() {
    std::string directory = ProgramDirectory();
    return directory.substr(0, directory.size() - 1);
  }
  char startDirectory[MAX_PATH];
  int32_t doneAtStart;  // as the program left it before this test (each test is a process)
};

// Before the first game there are no statistics to hand over: a stray game-ended command
// runs nothing.
TEST_F(ScoreScriptRun, RunsNothingBeforeTheFirstGame) {
  FakeLog *log = Bind("standard");
  ASSERT_NE(log, nullptr);
  gameHost.score_script_done = doneAtStart;
  RunScoreScript();
  EXPECT_EQ(Calls(log), "");
}

TEST_F(ScoreScriptRun, RunsThePrologueThenTheScriptOncePerGame) {
  FakeLog *log = Bind("standard");
  ASSERT_NE(log, nullptr);
  strcpy(log->probes[0], "score.txt");
  std::string upper = ProgramDirectory();
  CharUpperA(&upper[0]);
  strcpy(log->probes[1], (upper + "score.txt").c_str());
  strcpy(log->probes[2], (std::string(ProgramDirectory()) + "sub\\score.txt").c_str());
  strcpy(log->probes[3], (std::string(ProgramDirectory()) + "..\\score.txt").c_str());
  strcpy(log->probes[4], "C:\\windows\\score.txt");
  log->probeCount = 5;

  RunScoreScript();
  ASSERT_EQ(Calls(log), "loadsrc initialize basic basic free terminate ");
  EXPECT_EQ(gameHost.score_script_done, 1);
  EXPECT_EQ(CurrentDirectory(), startDirectory);
  for (int i = 0; i < 6; ++i)
    EXPECT_STRCASEEQ(log->calls[i].directory, ProgramDirectoryAsCurrent().c_str()) << i;

  const FakeCall &initialize = log->calls[1], &prologueRun = log->calls[2];
  const FakeCall &scriptRun = log->calls[3];
  EXPECT_EQ(initialize.workAreaWasZero, 1);
  EXPECT_EQ(prologueRun.argument, initialize.argument);
  EXPECT_EQ(scriptRun.argument, initialize.argument);
  EXPECT_EQ(log->calls[5].argument, initialize.argument);
  EXPECT_EQ(log->calls[4].argument, FAKE_SCRIPT_HANDLE);
  EXPECT_EQ(prologueRun.fields[1], 0u);
  EXPECT_EQ(prologueRun.fields[2], 0u);
  EXPECT_EQ(scriptRun.fields[0], FAKE_SCRIPT_HANDLE);
  EXPECT_EQ(scriptRun.fields[1], reinterpret_cast<uintptr_t>(&ScriptFileFilter));
  EXPECT_EQ(scriptRun.fields[2], reinterpret_cast<uintptr_t>(ProgramDirectory()));

  EXPECT_EQ(std::string(log->prologue),
            "\t\t1000 dim linecnt(4)\n"
            "\t\t1010 linecnt(0) = 10\n"
            "\t\t1020 linecnt(1) = 3\n"
            "\t\t1030 linecnt(2) = 1\n"
            "\t\t1040 linecnt(3) = 2\n"
            "\t\t1050 totalline =  27\n"
            "\t\t1060 wait = 550\n"
            "\t\t1070 level = 1\n"
            "\t\t1080 lv1_norma = 30\n"
            "\t\t1090 lv1_speed = 70\n"
            "\t\t1100 lv2_block = 6\n"
            "\t\t1110 lv2_norma = 1\n"
            "\t\t1120 lv2_upline = 1\n"
            "\t\t1130 blockfreq = 4294967295\n"
            "\t\t1140 guide_shadow = 0\n"
            "\t\t1150 guide_stripe = 1\n"
            "\t\t1160 stripe_intensity = 200\n");

  EXPECT_STREQ(log->filterDirectory, ProgramDirectory());
  const LONG expected[5] = {0, 0, -29, -29, -29};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(log->answers[i], expected[i]) << log->probes[i];

  // The second trigger for the same game (Stop after the game's own end) does nothing.
  RunScoreScript();
  EXPECT_EQ(log->callCount, 6);
}

TEST_F(ScoreScriptRun, AFailedPrologueRestoresTheDirectoryFirstAndMayRunAgain) {
  FakeLog *log = Bind("standard");
  ASSERT_NE(log, nullptr);
  log->firstRunResult = -1;
  RunScoreScript();
  ASSERT_EQ(Calls(log), "loadsrc initialize basic free terminate ");
  EXPECT_EQ(gameHost.score_script_done, 0);
  EXPECT_EQ(CurrentDirectory(), startDirectory);
  EXPECT_STREQ(log->calls[3].directory, startDirectory);
  EXPECT_STREQ(log->calls[4].directory, startDirectory);

  log->firstRunResult = 0;
  RunScoreScript();
  EXPECT_EQ(gameHost.score_script_done, 1);
  EXPECT_EQ(log->callCount, 5 + 6);
}

TEST_F(ScoreScriptRun, NothingRunsWithoutTheScriptAnExportOrTheLibrary) {
  DeleteFileA(ScriptPath().c_str());
  FakeLog *log = Bind("standard");
  ASSERT_NE(log, nullptr);
  RunScoreScript();
  EXPECT_EQ(Calls(log), "loadsrc ");
  EXPECT_EQ(gameHost.score_script_done, 0);
  EXPECT_EQ(CurrentDirectory(), startDirectory);
  FreeInterpreter();

  WriteScript();
  log = Bind("no_terminate");
  ASSERT_NE(log, nullptr);
  RunScoreScript();
  EXPECT_EQ(log->callCount, 0);
  EXPECT_EQ(gameHost.score_script_done, 0);
  EXPECT_EQ(CurrentDirectory(), startDirectory);
  FreeInterpreter();

  RunScoreScript();  // no library at all
  EXPECT_EQ(gameHost.score_script_done, 0);
  EXPECT_EQ(CurrentDirectory(), startDirectory);
}

}  // namespace
