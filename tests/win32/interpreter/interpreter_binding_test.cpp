#include <stdio.h>

#include <string>

#include "candidate_libraries.h"
#include "number_field.h"
#include "resource.h"

namespace {

using InterpreterBindingTest = CandidateLibraries;

// A parent window with one edit control, as a dialog's number field.
class NumberFieldWindow {
 public:
  NumberFieldWindow() {
    parent_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 100, 100, NULL, NULL, NULL, NULL);
    CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 80, 20, parent_,
                    reinterpret_cast<HMENU>(IDC_WAIT_TIME), NULL, NULL);
  }
  ~NumberFieldWindow() { DestroyWindow(parent_); }
  // EvaluateNumber of the field holding `text`, starting from 777.
  uint32_t Evaluate(const char *text, int *valid) {
    SetDlgItemTextA(parent_, IDC_WAIT_TIME, text);
    uint32_t value = 777;
    *valid = EvaluateNumber(parent_, IDC_WAIT_TIME, &value);
    return value;
  }

 private:
  HWND parent_;
};

std::string Describe(const char *text) {
  char out[512];
  DescribeExpression(text, out, sizeof out);
  return out;
}

TEST_F(InterpreterBindingTest, TheFirstCandidateWithAnEvaluationExportIsKept) {
  ASSERT_TRUE(PlaceLibrary("no_evaluation", "Exprn40.dll"));
  ASSERT_TRUE(PlaceLibrary("qvb_only", "Exprn35.dll"));
  ASSERT_TRUE(PlaceLibrary("request", "Exprn34.dll"));
  LoadInterpreter();
  ASSERT_NE(interpreter.module, nullptr);
  EXPECT_STREQ(interpreter.name, "Exprn35.dll");
  EXPECT_EQ(interpreter.module, GetModuleHandleA("Exprn35.dll"));
  EXPECT_EQ(interpreter.evaluate, GetProcAddress(interpreter.module, "_qvb_exprion@12"));
  // The candidate without either export was freed at once; the later one never loaded.
  EXPECT_EQ(GetModuleHandleA("Exprn40.dll"), nullptr);
  EXPECT_EQ(GetModuleHandleA("Exprn34.dll"), nullptr);

  FreeInterpreter();
  EXPECT_EQ(interpreter.module, nullptr);
  EXPECT_EQ(interpreter.name, nullptr);
  EXPECT_EQ(GetModuleHandleA("Exprn35.dll"), nullptr);
}

TEST_F(InterpreterBindingTest, WithoutAnyCandidateFieldsArePlainNumbers) {
  ASSERT_TRUE(PlaceLibrary("no_evaluation", "Exprn34.dll"));
  LoadInterpreter();
  EXPECT_EQ(interpreter.module, nullptr);
  EXPECT_EQ(GetModuleHandleA("Exprn34.dll"), nullptr);

  NumberFieldWindow field;
  int valid;
  EXPECT_EQ(field.Evaluate("  40", &valid), 40u);
  EXPECT_EQ(valid, 1);
  EXPECT_EQ(field.Evaluate("-1", &valid), 4294967295u);
  EXPECT_EQ(valid, 1);
  for (const char *bad : {"", "12a", "1+2", "12.7"}) {
    EXPECT_EQ(field.Evaluate(bad, &valid), 777u) << bad;
    EXPECT_EQ(valid, 0) << bad;
  }
}

TEST_F(InterpreterBindingTest, Exprn40IsCalledWithThreeArgumentsAndItsOwnMessages) {
  ASSERT_TRUE(PlaceLibrary("standard", "Exprn40.dll"));
  LoadInterpreter();
  FakeLog *log = BoundFakeLog();
  ASSERT_NE(log, nullptr);
  log->firstArgument = 99;

  NumberFieldWindow field;
  int valid;
  EXPECT_EQ(field.Evaluate("12.7", &valid), 12u);
  EXPECT_EQ(valid, 1);
  EXPECT_EQ(log->firstArgument, 0);
  EXPECT_STREQ(log->lastText, "12.7");
  EXPECT_EQ(field.Evaluate("-1", &valid), 4294967295u);
  EXPECT_EQ(field.Evaluate("err-2", &valid), 777u);
  EXPECT_EQ(valid, 0);
  EXPECT_EQ(field.Evaluate("", &valid), 777u);
  EXPECT_EQ(valid, 0);

  EXPECT_EQ(Describe("3.5"), "適用値：3");
  EXPECT_EQ(Describe("err-2"), "Exprn40.dll のｴﾗｰ : ゼロによる除算、剰余計算が行われました");
  EXPECT_EQ(Describe("err-29"), "Exprn40.dll のｴﾗｰ : ファイルをオープンできません");
  EXPECT_EQ(Describe("err5"), "Exprn40.dll のｴﾗｰ : unknown error.");
  EXPECT_EQ(Describe("1e30"), "Exprn40.dll のｴﾗｰ : オーバーフローが発生しました");
}

TEST_F(InterpreterBindingTest, OtherNamesAreCalledWithAZeroFilledRequest) {
  ASSERT_TRUE(PlaceLibrary("request", "Exprn34.dll"));
  LoadInterpreter();
  EXPECT_STREQ(interpreter.name, "Exprn34.dll");
  FakeLog *log = BoundFakeLog();
  ASSERT_NE(log, nullptr);

  NumberFieldWindow field;
  int valid;
  EXPECT_EQ(field.Evaluate("2.9", &valid), 2u);
  EXPECT_EQ(valid, 1);
  EXPECT_EQ(log->requestWasClean, 1);
  EXPECT_EQ(field.Evaluate("-1", &valid), 4294967295u);
  EXPECT_EQ(log->requestWasClean, 1);

  EXPECT_EQ(Describe("err-1"), "Exprn34.dll のｴﾗｰ : 計算式に誤りがあります");
  EXPECT_EQ(Describe("err-29"), "Exprn34.dll のｴﾗｰ : unknown error.");
  EXPECT_EQ(Describe("-1e30"), "Exprn34.dll のｴﾗｰ : オーバーフローは発生しました");
}

}  // namespace
