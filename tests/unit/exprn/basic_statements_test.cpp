// BASIC statements: control flow, variables and strings, and the codes of their failures.
#include <gtest/gtest.h>

#include <string>

#include "error_codes.h"
#include "exprn_fixture.h"

namespace {

TEST(BasicStatements, RunControlFlowVariablesAndStrings) {
  const char *source =
      "10 rem a comment: goto 999\n"
      "\t\t20 let a = 1 + 2 * 3 : b$ = \"x\" + str$(a) : my_var2 = -0.5\n"
      "30 print a; \"|\"; b$, len(b$); \"|\"; my_var2\n"
      "\n"
      "40 for i = 1 to 3 : print i; : next i : print\n"
      "50 for i = 10 to 1 step -4 : print i; \" \"; : next : print\n"
      "60 for j = 5 to 1 : print \"never\" : next j : print \"skipped\"\n"
      "70 gosub 200 : print \"back\"\n"
      "80 if a > 5 then print \"big\" else print \"small\"\n"
      "90 if a < 5 then print \"no\" else if a = 7 then print \"seven\" else print \"other\"\n"
      "100 if a = 7 then 120\n"
      "110 print \"not reached\"\n"
      "120 dim t(3), n$(2) : t(2) = 9 : n$(1) = \"q\" : print t(2) + t(0); n$(1); n$(0); \"|\"\n"
      "130 u(10) = 4 : print u(10) + u(0)\n"
      "140 s$ = \"abcdef\" : print mid$(s$, 2, 3); left$(s$, 2); right$(s$, 2); mid$(s$, 5)\n"
      "150 print chr$(65); asc(\"B\"); val(\"3.25\") * 4; str$(1/4); \"a\" < \"b\"\n"
      "160 if len(date$) = 10 and len(time$) = 8 then print \"clock\"\n"
      "170 end\n"
      "180 print \"after end\"\n"
      "200 print \"sub\"; : return\n";
  std::string output;
  EXPECT_EQ(RunSource(source, &output), 0);
  EXPECT_EQ(output,
            "7|x7\t2|-0.5\n"
            "123\n"
            "10 6 2 \n"
            "skipped\n"
            "subback\n"
            "big\n"
            "seven\n"
            "9q|\n"
            "4\n"
            "bcdabefef\n"
            "A66130.251\n"
            "clock\n");
}

TEST(BasicStatements, VariablesOutliveTheRunForTheNextProgram) {
  BasicSession *session = CreateBasicSession();
  std::string output;
  SetBasicOutput(session, CaptureOutput, &output);
  EXPECT_EQ(RunIn(session, "1 dim c(4)\n2 c(3) = 12\n3 name$ = \"z\"\n4 k = 2"), 0);
  EXPECT_EQ(RunIn(session, "10 print c(3) * k; name$"), 0);
  EXPECT_EQ(output, "24z\n");
  DestroyBasicSession(session);
}

TEST(BasicStatements, FailWithTheTableCodeAndTheLine) {
  const struct {
    const char *source;
    int code, line;
  } cases[] = {
      {"print 1", kErrLineNumber, 0},
      {"10 print 1\n  \nx", kErrLineNumber, 0},
      {"20 a = 1\n10 b = 2", kErrLineOrder, 10},
      {"10 a = 1\n10 b = 2", kErrLineOrder, 10},
      {"10 a = 1\n20 b = 2 +", kErrSyntax, 20},
      {"10 a = (1 + 2", kErrParenthesis, 10},
      {"10 print 1)", kErrParenthesis, 10},
      {"10 goto 99", kErrJumpTarget, 10},
      {"10 goto x", kErrLineNumber, 10},
      {"10 return", kErrReturn, 10},
      {"10 gosub 10", kErrMemory, 10},
      {"10 for i = 1 to 0\n20 print i", kErrNoNext, 10},
      {"10 next", kErrNext, 10},
      {"10 for i = 1 to 2\n20 next j", kErrNext, 20},
      {"10 x = \"a\"", kErrKind, 10},
      {"10 x$ = 1", kErrKind, 10},
      {"10 dim a(3)\n20 a(4) = 1", kErrKind, 20},
      {"10 a(-1) = 1", kErrKind, 10},
      {"10 dim a(2)\n20 dim a(3)", kErrAlreadyAllocated, 20},
      {"10 dim a(-1)", kErrOutOfRange, 10},
      {"10 dim a(200000)", kErrMemory, 10},
      {"10 if \"a\" then 10", kErrCondition, 10},
      {"10 input a", kErrUnsupported, 10},
      {"10 let then = 1", kErrSyntax, 10},
      {"10 a$ = \"x\"\n20 a$ = a$ + a$ : goto 20", kErrMemory, 20},
      {"10 print 1 / 0", kErrDivideByZero, 10},
      {"10 dim a$(2000) : b$ = \"x\"\n20 for i = 1 to 14 : b$ = b$ + b$ : next\n"
       "30 for i = 0 to 2000 : a$(i) = b$ : next",
       kErrMemory, 30},
  };
  for (const auto &c : cases) {
    int line = -1;
    EXPECT_EQ(RunSource(c.source, nullptr, &line), c.code) << c.source;
    EXPECT_EQ(line, c.line) << c.source;
  }
}

TEST(BasicStatements, AScriptThatNeverEndsIsStoppedByItsBudget) {
  // The default budget: a few seconds or some millions of statements, whichever comes first.
  EXPECT_EQ(RunSource("10 goto 10"), kErrInterrupted);
  EXPECT_EQ(RunSource("10 for i = 1 to 2 step 0 : next i"), kErrInterrupted);

  // The time budget alone, with statements that take a while.
  BasicSession *session = CreateBasicSession();
  BasicLimits limits;
  limits.statements = 0xFFFFFFFFu;
  limits.milliseconds = 200;
  SetBasicLimits(session, limits);
  int line = 0;
  EXPECT_EQ(RunIn(session, "10 a$ = \"\"\n20 a$ = left$(a$ + \"x\", 100) : goto 20", &line),
            kErrInterrupted);
  EXPECT_EQ(line, 20);
  // The budget is per run: the same session runs the next program normally.
  EXPECT_EQ(RunIn(session, "10 for i = 1 to 1000 : next"), 0);
  DestroyBasicSession(session);
}

}  // namespace
