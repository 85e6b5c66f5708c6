#include "interpreter_messages.h"

#include <stdio.h>
#include <string.h>

namespace {

// Indexed by the negated code, from -1.
const char *const kExprn40Messages[] = {
    "文法上の誤りがあります",
    "ゼロによる除算、剰余計算が行われました",
    "丸括弧の順序が逆か、数が合いません",
    "変数の使用方法に誤りがあります",
    "数値式内の項数が多過ぎます",
    "ステートメントまたは関数に与えられた引数に誤りがあります",
    "関数の引数が仕様の範囲を超えています",
    "オーバーフローが発生しました",
    "数値が長過ぎます",
    "マシンのメモリ確保に失敗しました",
    "行番号に誤りがあります",
    "変数の種類、次元が不当です",
    "指定の変数は既に割り当てられています",
    "ジャンプ先が見つかりません",
    "同時使用数が 16 を超えました",
    "return が不正に使用されました",
    "対応する next が見つかりません",
    "next が不正に使用されました",
    "read で読み込むデータが足りません",
    "erase が不正に使用されました",
    "条件式に誤りがあります",
    "アプリケーションがサポートしていない機能を実行しました",
    "単一行モードでは使用できない機能を実行しました",
    "行番号の順序が逆か、同一行番号です",
    "read が不正に使用されています",
    "restore が不正に使用されています",
    "input の入力データが変数と一致しません",
    "初期化でエラーが発生しました",
    "ファイルをオープンできません",
    "ファイルをクローズできません",
    "ファイルの読み込みでエラーが発生しました",
    "ファイルの書き込みでエラーが発生しました",
    "ファイルシーク時にエラーが発生しました",
    "ファイルの削除に失敗しました",
    "ファイル名の変更に失敗しました",
    "外部からの中断命令",
};

const char *const kOtherMessages[] = {
    "計算式に誤りがあります",
    "ゼロによる除算、剰余計算が行われました",
    "丸括弧の順序が逆か、数が合いません",
    "メモリの使用方法に誤りがあります",
    "マシンのメモリ確保に失敗しました",
    "項数が多過ぎます",
    "指数部が不当です",
    "関数に与えられた引数に誤りがあります",
    "関数の引数が仕様の範囲を超えています",
    "オーバーフローは発生しました",
    "数値が長過ぎます",
};

const char kUnknownError[] = "unknown error.";

template <size_t N>
const char *Lookup(const char *const (&table)[N], long code) {
  if (code >= 0 || code < -static_cast<long>(N)) return kUnknownError;
  return table[-code - 1];
}

}  // namespace

const char *InterpreterMessage(const char *library, long code) {
  if (library && strcmp(library, EXPRN40_NAME) == 0) return Lookup(kExprn40Messages, code);
  return Lookup(kOtherMessages, code);
}

int FormatInterpreterError(char *out, size_t outSize, const char *library, long code) {
  int length = snprintf(out, outSize, "%s のｴﾗｰ : %s", library ? library : "",
                        InterpreterMessage(library, code));
  return length >= 0 && static_cast<size_t>(length) < outSize;
}
