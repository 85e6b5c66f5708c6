#include "interpreter_messages.h"
#include "version_text.h"

#include <gtest/gtest.h>

#include <string.h>

namespace {

TEST(InterpreterMessages, EachLibraryNameHasItsOwnTable) {
  EXPECT_STREQ(InterpreterMessage("Exprn40.dll", -1), "文法上の誤りがあります");
  EXPECT_STREQ(InterpreterMessage("Exprn40.dll", -29), "ファイルをオープンできません");
  EXPECT_STREQ(InterpreterMessage("Exprn40.dll", -36), "外部からの中断命令");
  EXPECT_STREQ(InterpreterMessage("Exprn40.dll", -37), "unknown error.");
  EXPECT_STREQ(InterpreterMessage("Exprn35.dll", -1), "計算式に誤りがあります");
  EXPECT_STREQ(InterpreterMessage("Exprn34.dll", -10), "オーバーフローは発生しました");
  EXPECT_STREQ(InterpreterMessage("Exprn34.dll", -11), "数値が長過ぎます");
  EXPECT_STREQ(InterpreterMessage("Exprn35.dll", -12), "unknown error.");
  EXPECT_STREQ(InterpreterMessage("Exprn35.dll", -29), "unknown error.");
  for (long code : {0L, 1L, 29L, -2147483647L - 1})
    EXPECT_STREQ(InterpreterMessage("Exprn40.dll", code), "unknown error.") << code;
}

TEST(InterpreterMessages, ErrorTextNamesTheLibrary) {
  char text[512];
  EXPECT_EQ(FormatInterpreterError(text, sizeof text, "Exprn40.dll", -2), 1);
  EXPECT_STREQ(text, "Exprn40.dll のｴﾗｰ : ゼロによる除算、剰余計算が行われました");
  EXPECT_EQ(FormatInterpreterError(text, sizeof text, "Exprn35.dll", -29), 1);
  EXPECT_STREQ(text, "Exprn35.dll のｴﾗｰ : unknown error.");
  char small[12];
  EXPECT_EQ(FormatInterpreterError(small, sizeof small, "Exprn40.dll", -2), 0);
  EXPECT_EQ(strlen(small), sizeof small - 1);
}

TEST(VersionLine, NamesTheLoadedLibraryInParentheses) {
  char line[VERSION_LINE_BYTES];
  EXPECT_EQ(FormatVersionLine(line, sizeof line, NULL), 1);
  EXPECT_STREQ(line, "Quillomar Ver 1.0");
  EXPECT_EQ(FormatVersionLine(line, sizeof line, "Exprn35.dll"), 1);
  EXPECT_STREQ(line, "Quillomar Ver 1.0 (Exprn35.dll)");
}

}  // namespace
