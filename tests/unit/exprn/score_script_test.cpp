// The work-area entry points driven as the program drives them at the end of a game: the
// prologue run, then the shipped qmscore.bas with the file filter, in a scratch directory.
#include <gtest/gtest.h>

#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

#include "error_codes.h"
#include "exprn_fixture.h"
#include "work_area.h"

namespace {

const char kPrologue[] =
    "\t\t1000 dim linecnt(4)\n\t\t1010 linecnt(0) = %lu\n\t\t1020 linecnt(1) = %lu\n"
    "\t\t1030 linecnt(2) = %lu\n\t\t1040 linecnt(3) = %lu\n\t\t1050 totalline =  %lu\n"
    "\t\t1060 wait = %lu\n\t\t1070 level = %lu\n\t\t1080 lv1_norma = %lu\n"
    "\t\t1090 lv1_speed = %lu\n\t\t1100 lv2_block = %lu\n\t\t1110 lv2_norma = %lu\n"
    "\t\t1120 lv2_upline = %lu\n\t\t1130 blockfreq = %lu\n\t\t1140 guide_shadow = %lu\n"
    "\t\t1150 guide_stripe = %lu\n\t\t1160 stripe_intensity = %lu\n";

std::vector<std::string> filtered;
const char kProgramDirectory[] = "C:\\Quillomar";

int WINAPI RecordingFilter(LPCSTR path, LPCSTR directory) {
  filtered.push_back(path);
  return strcmp(directory, kProgramDirectory) == 0 && !strchr(path, '\\') ? 0 : -29;
}

template <typename T>
void Put(unsigned char *area, size_t offset, T value) {
  memcpy(area + offset, &value, sizeof value);
}

// One game's end as the program runs it; returns the two runs' codes.
struct GameEnd {
  unsigned long linecnt[4], level, blockfreq;
  int prologueCode = 1, scriptCode = 1;

  void Run(const char *scriptName = "qmscore.bas") {
    unsigned char area[kWorkAreaSize];
    memset(area, 0, sizeof area);
    void *handle = QvbLoadSource(scriptName);
    ASSERT_NE(handle, nullptr);
    QvbInitialize(area);
    char prologue[2048];
    unsigned long total = linecnt[0] + 2 * linecnt[1] + 3 * linecnt[2] + 4 * linecnt[3];
    snprintf(prologue, sizeof prologue, kPrologue, linecnt[0], linecnt[1], linecnt[2], linecnt[3],
             total, 1000ul, level, 10ul, 50ul, 3ul, 20ul, 2ul, blockfreq, 1ul, 0ul, 128ul);
    Put<const char *>(area, kSourceOffset, prologue);
    prologueCode = ExprionBasic(area);
    Put(area, kSourceOffset, handle);
    Put(area, kFilterOffset, &RecordingFilter);
    Put<const char *>(area, kDirectoryOffset, kProgramDirectory);
    scriptCode = ExprionBasic(area);
    QvbFree(handle);
    QvbTerminate(area);
  }
};

TEST(ScoreScript, KeepsTheTopTenAndLogsEveryGame) {
  std::string script = ReadText(QM_SCORE_SCRIPT);
  ASSERT_FALSE(script.empty()) << QM_SCORE_SCRIPT;
  ScratchDirectory scratch("score");
  ASSERT_FALSE(scratch.dir.empty());
  WriteText("qmscore.bas", script);
  // A table of ten, of which the new game beats the last three.
  std::string table;
  for (int i = 0; i < 10; ++i)
    table += std::to_string(10000 - i * 1000) + ",2020/01/0" + std::to_string(i % 9 + 1) +
             ",12:00:00," + std::to_string(40 - i) + ",2\n";
  WriteText("qmscore.txt", table);

  filtered.clear();
  GameEnd game{{10, 0, 0, 2}, 1, 4294967295ul};
  game.Run();
  EXPECT_EQ(game.prologueCode, 0);
  EXPECT_EQ(game.scriptCode, 0);
  EXPECT_EQ(filtered,
            (std::vector<std::string>{"qmscore.log", "qmscore.txt", "qmscore.txt", "qmscore.txt"}));

  // Score (10 + 10 * 2) * 100 * (level 1 + 1) = 6000: it goes after the old 6000, and the
  // last game drops out.
  std::vector<std::string> lines;
  std::string text = ReadText("qmscore.txt");
  for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(text.substr(start, end - start - (end > start && text[end - 1] == '\r')));
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[2], "8000,2020/01/03,12:00:00,38,2");
  EXPECT_EQ(lines[3], "7000,2020/01/04,12:00:00,37,2");
  EXPECT_EQ(lines[4], "6000,2020/01/05,12:00:00,36,2");
  EXPECT_TRUE(
      std::regex_match(lines[5], std::regex("6000,\\d{4}/\\d\\d/\\d\\d,\\d\\d:\\d\\d:\\d\\d,18,1")))
      << lines[5];
  EXPECT_EQ(lines[9], "2000,2020/01/09,12:00:00,32,2");

  std::string log = ReadText("qmscore.log");
  EXPECT_TRUE(std::regex_match(
      log, std::regex("\\d{4}/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d score=6000 lines=18 "
                      "clears=10/0/0/2 level=1 wait=1000 lv1_norma=10 lv1_speed=50 "
                      "lv2_block=3 lv2_norma=20 lv2_upline=2 blockfreq=4294967295 "
                      "guide_shadow=1 guide_stripe=0 stripe_intensity=128\r?\n")))
      << log;

  // A first game with no table yet, then a poor one that makes the table but not the top.
  remove("qmscore.txt");
  GameEnd first{{1, 1, 1, 1}, 0, 2};
  first.Run();
  GameEnd poor{{1, 0, 0, 0}, 0, 2};
  poor.Run();
  EXPECT_EQ(poor.scriptCode, 0);
  text = ReadText("qmscore.txt");
  EXPECT_TRUE(std::regex_match(text, std::regex("2000,[^\n]*,10,0\r?\n100,[^\n]*,1,0\r?\n")))
      << text;
  log = ReadText("qmscore.log");
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 3);
}

TEST(ScoreScript, LogsTheGameFirstAndMendsADamagedTable) {
  std::string script = ReadText(QM_SCORE_SCRIPT);
  ASSERT_FALSE(script.empty()) << QM_SCORE_SCRIPT;
  ScratchDirectory scratch("damaged");
  ASSERT_FALSE(scratch.dir.empty());
  WriteText("qmscore.bas", script);
  // Blank lines, short and long lines, words where numbers belong, CR LF ends, a stray byte.
  WriteText("qmscore.txt",
            "500,2020/01/01,12:00:00,5,0\r\n\n,,,,\n300,2020/01/02,12:00:00,3\nscore,d,t,1,2\n"
            "400,2020/01/03,12:00:00,4,0,9\n12x,2020/01/04,12:00:00,4,0\n\x1a\n"
            "200,2020/01/05,12:00:00,2,1\n\n");
  GameEnd game{{3, 0, 0, 0}, 0, 2};
  game.Run();
  EXPECT_EQ(game.scriptCode, 0);
  std::string text = ReadText("qmscore.txt");
  EXPECT_TRUE(std::regex_match(text, std::regex("500,2020/01/01,12:00:00,5,0\n"
                                                "300,[^\n]*,3,0\n"
                                                "200,2020/01/05,12:00:00,2,1\n")))
      << text;
  EXPECT_EQ(ReadText("qmscore.log").find(" score=300 lines=3 "), 19u);

  // A table that cannot be opened at all (a directory of that name) still logs the game.
  remove("qmscore.txt");
  ASSERT_EQ(MakeDirectory("qmscore.txt"), 0);
  game.Run();
  EXPECT_EQ(game.scriptCode, kErrOpen);
  std::string log = ReadText("qmscore.log");
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 2) << log;
  rmdir("qmscore.txt");
}

TEST(ScoreScript, EntriesRefuseWhatTheyWereNotGiven) {
  unsigned char area[kWorkAreaSize];
  memset(area, 0, sizeof area);
  Put<const char *>(area, kSourceOffset, "10 x = 1");
  EXPECT_EQ(ExprionBasic(area), kErrInitialization);  // no initialize
  EXPECT_EQ(QvbInitialize(area), 0);
  Put<const char *>(area, kSourceOffset, nullptr);
  EXPECT_EQ(ExprionBasic(area), kErrArgument);
  Put<const char *>(area, kSourceOffset, "10 x = (1");  // the prologue's code comes back
  EXPECT_EQ(ExprionBasic(area), kErrParenthesis);
  EXPECT_EQ(QvbLoadSource("no such file.bas"), nullptr);
  EXPECT_NE(QvbFree(const_cast<char *>("10 print")), 0);  // not a handle: left alone
  QvbTerminate(area);
  EXPECT_EQ(ExprionBasic(area), kErrInitialization);

  double value = 0;
  EXPECT_EQ(ExprionEvaluate(0, "2*(3+4)", &value), 0);
  EXPECT_EQ(value, 14);
  EXPECT_EQ(ExprionEvaluate(0, nullptr, &value), kErrArgument);
}

}  // namespace
