// The settings and score dialog templates of quillomar.exe, read back from this test program's
// own module and compared item by item with the layout the dialogs are written against.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string.h>
#include <string>
#include <vector>

#include "own_resources.h"

namespace {

struct TemplateReader {
  const BYTE *at;
  WORD Word() {
    WORD v;
    memcpy(&v, at, 2);
    at += 2;
    return v;
  }
  DWORD Dword() {
    DWORD v;
    memcpy(&v, at, 4);
    at += 4;
    return v;
  }
  // A text, or an ordinal (returned through `ordinal`, with an empty text).
  std::wstring TextOrOrdinal(WORD *ordinal) {
    *ordinal = 0;
    WORD first = Word();
    if (first == 0xFFFF) {
      *ordinal = Word();
      return std::wstring();
    }
    std::wstring text;
    for (WORD c = first; c != 0; c = Word()) text += (wchar_t)c;
    return text;
  }
  void AlignToDword(const BYTE *base) {
    while ((at - base) % 4) ++at;
  }
};

struct Control {
  DWORD id;
  const wchar_t *className;
  short x, y, cx, cy;
  DWORD style;  // WS_CHILD | WS_VISIBLE are added to every control
  DWORD exStyle;
  const wchar_t *text;  // null: the text is the ordinal below
  WORD textOrdinal = 0;
};

struct Dialog {
  std::wstring title, font;
  DWORD style = 0, exStyle = 0;
  WORD pointSize = 0, charset = 0;
  short cx = 0, cy = 0;
  std::vector<Control> controls;
  std::vector<std::wstring> classNames, texts;  // storage behind the controls' pointers
};

const wchar_t *PredefinedClass(WORD atom) {
  switch (atom) {
    case 0x80:
      return L"Button";
    case 0x81:
      return L"Edit";
    case 0x82:
      return L"Static";
    default:
      return L"?";
  }
}

// Reads an extended dialog template (the only kind the program's dialogs use).
bool ReadDialog(WORD id, Dialog *dialog) {
  const BYTE *base = ResourceBytes(RT_DIALOG, id);
  if (!base) return false;
  TemplateReader r = {base};
  if (r.Word() != 1 || r.Word() != 0xFFFF) return false;
  r.Dword();  // help id
  dialog->exStyle = r.Dword();
  dialog->style = r.Dword();
  WORD count = r.Word();
  r.Word(), r.Word();
  dialog->cx = (short)r.Word();
  dialog->cy = (short)r.Word();
  WORD ordinal;
  r.TextOrOrdinal(&ordinal);  // menu
  r.TextOrOrdinal(&ordinal);  // class
  dialog->title = r.TextOrOrdinal(&ordinal);
  if (dialog->style & DS_SETFONT) {
    dialog->pointSize = r.Word();
    r.Word();  // weight
    dialog->charset = r.Word() >> 8;
    dialog->font = r.TextOrOrdinal(&ordinal);
  }
  dialog->classNames.reserve(count);
  dialog->texts.reserve(count);
  for (WORD i = 0; i < count; ++i) {
    r.AlignToDword(base);
    Control c = {};
    r.Dword();  // help id
    c.exStyle = r.Dword();
    c.style = r.Dword();
    c.x = (short)r.Word();
    c.y = (short)r.Word();
    c.cx = (short)r.Word();
    c.cy = (short)r.Word();
    c.id = r.Dword();
    WORD classAtom;
    dialog->classNames.push_back(r.TextOrOrdinal(&classAtom));
    c.className = classAtom ? PredefinedClass(classAtom) : dialog->classNames.back().c_str();
    dialog->texts.push_back(r.TextOrOrdinal(&c.textOrdinal));
    c.text = c.textOrdinal ? nullptr : dialog->texts.back().c_str();
    r.at += r.Word();  // creation data
    dialog->controls.push_back(c);
  }
  return true;
}

void ExpectControls(const Dialog &dialog, const Control *expected, size_t count) {
  ASSERT_EQ(dialog.controls.size(), count);
  for (size_t i = 0; i < count; ++i) {
    const Control &got = dialog.controls[i], &want = expected[i];
    SCOPED_TRACE(testing::Message() << "item " << i << ", id " << (int)want.id);
    EXPECT_EQ(got.id, want.id);
    EXPECT_EQ(lstrcmpiW(got.className, want.className), 0);
    EXPECT_EQ(got.x, want.x);
    EXPECT_EQ(got.y, want.y);
    EXPECT_EQ(got.cx, want.cx);
    EXPECT_EQ(got.cy, want.cy);
    EXPECT_EQ(got.style, want.style | WS_CHILD | WS_VISIBLE) << std::hex << got.style;
    EXPECT_EQ(got.exStyle, want.exStyle);
    if (want.text) {
      ASSERT_NE(got.text, nullptr);
      EXPECT_EQ(std::wstring(got.text), std::wstring(want.text));
    } else {
      EXPECT_EQ(got.textOrdinal, want.textOrdinal);
    }
  }
}

const DWORD kNumber = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
const DWORD kShown = ES_READONLY | kNumber;
const DWORD kLabel = SS_LEFT | WS_GROUP;
const DWORD kRight = SS_RIGHT | WS_GROUP;
const DWORD kCheck = BS_AUTOCHECKBOX | WS_TABSTOP;
const DWORD kPush = BS_PUSHBUTTON | WS_TABSTOP;
const DWORD kRadio = BS_AUTORADIOBUTTON | BS_MULTILINE;
const DWORD kNone = 0xFFFFFFFF;  // an item without an id of its own

TEST(SettingsDialog, TemplateLaysOutEveryControlInTabOrder) {
  const Control expected[] = {
      {1012, L"Edit", 52, 13, 40, 14, kNumber, 0, L""},
      {1001, L"Button", 17, 33, 38, 9, kRadio | WS_GROUP, 0, L"レベル 0"},
      {1002, L"Button", 56, 33, 38, 9, kRadio, 0, L"レベル 1"},
      {1003, L"Button", 93, 33, 38, 9, kRadio, 0, L"レベル 2"},
      {1013, L"Edit", 71, 59, 40, 14, kNumber, 0, L""},
      {1014, L"Edit", 71, 80, 40, 14, kNumber, 0, L""},
      {1016, L"Edit", 71, 143, 40, 14, kNumber, 0, L""},
      {1017, L"Edit", 71, 163, 40, 14, kNumber, 0, L""},
      {1018, L"Edit", 71, 183, 40, 14, kNumber, 0, L""},
      {1004, L"Button", 149, 15, 25, 17, kRadio | BS_TOP | WS_GROUP, 0, L"変更\n無し"},
      {1005, L"Button", 178, 16, 10, 8, BS_AUTORADIOBUTTON, 0, L""},
      {1006, L"Button", 204, 16, 10, 8, BS_AUTORADIOBUTTON, 0, L""},
      {1007, L"Button", 230, 16, 10, 8, BS_AUTORADIOBUTTON, 0, L""},
      {1008, L"Button", 256, 16, 10, 8, BS_AUTORADIOBUTTON, 0, L""},
      {1009, L"Button", 178, 35, 10, 8, BS_AUTORADIOBUTTON, 0, L""},
      {1010, L"Button", 204, 35, 10, 8, BS_AUTORADIOBUTTON, 0, L""},
      {1011, L"Button", 230, 35, 10, 8, BS_AUTORADIOBUTTON, 0, L""},
      {1035, L"Button", 153, 71, 77, 8, kCheck, 0, L"落下予定位置を表示"},
      {1036, L"Button", 153, 83, 99, 8, kCheck, 0, L"背景に縦のストライプを表示"},
      {1041, L"msctls_trackbar32", 184, 95, 87, 15, TBS_HORZ | TBS_NOTICKS | WS_TABSTOP, 0, L""},
      {1038, L"Button", 148, 127, 93, 10, kCheck, 0, L"ブロック内の透過色を指定"},
      {1040, L"Button", 219, 140, 18, 14, kPush, 0, L"参照"},
      {1037, L"Button", 148, 157, 78, 10, kCheck, 0, L"背景に画像を表示"},
      {1015, L"Edit", 187, 171, 71, 14, kNumber, WS_EX_ACCEPTFILES, L""},
      {1039, L"Button", 259, 171, 18, 14, kPush, 0, L"参照"},
      {1, L"Button", 216, 222, 30, 14, BS_DEFPUSHBUTTON | WS_TABSTOP, 0, L"OK"},
      {2, L"Button", 252, 222, 30, 14, kPush, 0, L"ｷｬﾝｾﾙ"},
      {1023, L"Static", 147, 173, 38, 8, kLabel, 0, L"画像ファイル"},
      {kNone, L"Button", 2, 0, 138, 239, BS_GROUPBOX | WS_GROUP, 0, L"ゲームモード"},
      {kNone, L"Static", 16, 17, 30, 8, kRight, 0, L"待ち時間"},
      {1020, L"Static", 29, 62, 41, 8, kLabel, 0, L"ノルマの段数"},
      {1021, L"Static", 23, 79, 47, 16, kLabel, 0, L"ノルマ達成時の\n差し引く時間"},
      {kNone, L"Button", 143, 57, 141, 55, BS_GROUPBOX, 0, L"ガイド"},
      {1024, L"Static", 152, 99, 31, 8, kLabel, 0, L"輝度　　暗"},
      {1025, L"Static", 272, 99, 8, 8, kLabel, 0, L"明"},
      {kNone, L"Button", 143, 117, 141, 96, BS_GROUPBOX, 0, L"画像"},
      {1032, L"Static", 159, 143, 23, 8, kRight, 0, L"透過色"},
      {1026, L"Static", 185, 141, 31, 13, SS_SUNKEN | WS_BORDER | WS_GROUP, 0, L""},
      {1027, L"Static", 24, 146, 46, 8, kLabel, 0, L"ブロックの個数"},
      {1028, L"Static", 15, 166, 55, 8, kLabel, 0, L"消す段数のノルマ"},
      {1029, L"Static", 16, 182, 54, 16, kLabel, 0, L"ノルマ未達成時の\n増加段数"},
      {1031, L"Button", 5, 134, 131, 99, BS_GROUPBOX, 0, L"レベル 2"},
      {1030, L"Button", 5, 47, 131, 85, BS_GROUPBOX, 0, L"レベル 1 、レベル 2"},
      {kNone, L"Static", 147, 195, 49, 8, kRight, 0, L"ウィンドウサイズ"},
      {1019, L"Edit", 203, 193, 75, 14, kShown, 0, L""},
      {kNone, L"Static", 189, 12, 14, 16, SS_BITMAP, 0, nullptr, 108},
      {kNone, L"Button", 143, 0, 141, 53, BS_GROUPBOX | WS_GROUP, 0, L"出現頻度を上げる"},
      {kNone, L"Static", 215, 12, 14, 16, SS_BITMAP, 0, nullptr, 109},
      {kNone, L"Static", 241, 12, 14, 16, SS_BITMAP, 0, nullptr, 106},
      {kNone, L"Static", 267, 12, 14, 16, SS_BITMAP, 0, nullptr, 107},
      {kNone, L"Static", 189, 31, 14, 16, SS_BITMAP, 0, nullptr, 110},
      {kNone, L"Static", 215, 31, 14, 16, SS_BITMAP, 0, nullptr, 111},
      {kNone, L"Static", 241, 31, 14, 16, SS_BITMAP, 0, nullptr, 112},
      {1033, L"Static", 9, 105, 123, 23, kLabel, 0, L""},
      {1034, L"Static", 9, 207, 123, 23, kLabel, 0, L""},
  };
  Dialog dialog;
  ASSERT_TRUE(ReadDialog(104, &dialog));
  EXPECT_EQ(dialog.title, L"設定");
  EXPECT_EQ(dialog.cx, 287);
  EXPECT_EQ(dialog.cy, 241);
  EXPECT_EQ(dialog.style, 0x80C800C0u);
  EXPECT_EQ(dialog.exStyle, 0u);
  EXPECT_EQ(dialog.font, L"ＭＳ Ｐゴシック");
  EXPECT_EQ(dialog.pointSize, 9);
  EXPECT_EQ(dialog.charset, SHIFTJIS_CHARSET);
  ExpectControls(dialog, expected, sizeof expected / sizeof expected[0]);
}

TEST(ScoreDialog, TemplateShowsFourCountsAndTheTotal) {
  const Control expected[] = {
      {1, L"Button", 68, 97, 29, 14, BS_DEFPUSHBUTTON | WS_TABSTOP, 0, L"閉じる"},
      {1012, L"Edit", 39, 2, 56, 14, kShown, 0, L""},
      {1013, L"Edit", 39, 22, 56, 14, kShown, 0, L""},
      {1014, L"Edit", 39, 42, 56, 14, kShown, 0, L""},
      {1015, L"Edit", 39, 62, 56, 14, kShown, 0, L""},
      {1016, L"Edit", 6, 93, 40, 14, kShown, 0, L""},
      {kNone, L"Static", 3, 5, 22, 8, kRight, 0, L"１段"},
      {kNone, L"Static", 3, 25, 22, 8, kRight, 0, L"２段"},
      {kNone, L"Static", 3, 45, 22, 8, kRight, 0, L"３段"},
      {kNone, L"Static", 3, 65, 22, 8, kRight, 0, L"４段"},
      {kNone, L"Static", 2, 81, 48, 8, kLabel, 0, L"消した段の総数"},
  };
  Dialog dialog;
  ASSERT_TRUE(ReadDialog(105, &dialog));
  EXPECT_EQ(dialog.title, L"得点の表示");
  EXPECT_EQ(dialog.cx, 99);
  EXPECT_EQ(dialog.cy, 112);
  EXPECT_EQ(dialog.style, 0x80C800C0u);
  EXPECT_EQ(dialog.font, L"ＭＳ Ｐゴシック");
  EXPECT_EQ(dialog.pointSize, 9);
  ExpectControls(dialog, expected, sizeof expected / sizeof expected[0]);
}

INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG;
}

TEST(SettingsDialog, CreatesEveryControlAndShowsThePiecePictures) {
  InitCommonControls();  // the trackbar class
  HWND dialog = CreateDialogParamA(Self(), MAKEINTRESOURCEA(104), nullptr, QuietDialogProc, 0);
  ASSERT_NE(dialog, nullptr) << "error " << GetLastError();
  int controls = 0, pictures = 0;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    ++controls;
    if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP &&
        SendMessageA(child, STM_GETIMAGE, IMAGE_BITMAP, 0)) {
      ++pictures;
    }
  }
  EXPECT_EQ(controls, 55);
  EXPECT_EQ(pictures, 7);
  DestroyWindow(dialog);
}

}  // namespace
