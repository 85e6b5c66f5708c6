// The settings dialog over the real main window, driven by messages: what it shows, how its
// groups follow the choices, what OK refuses and what it stores.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <string.h>

#include "interpreter.h"
#include "main_window.h"
#include "main_window_fixture.h"
#include "messages.h"
#include "resource.h"
#include "settings_dialog_driver.h"
#include "shell_harness.h"

namespace {

const int kLevel1Group[] = {1013, 1014, 1020, 1021, 1030, 1033};
const int kLevel2Group[] = {1016, 1017, 1018, 1027, 1028, 1029, 1031, 1034};
const int kStripeGroup[] = {1024, 1025, 1041};
const int kPictureGroup[] = {1023, 1015, 1039};
const int kColourGroup[] = {1032, 1026, 1040};

template <size_t N>
std::string GroupState(HWND dialog, const int (&group)[N]) {
  std::string state;
  for (int id : group) state += IsItemEnabled(dialog, id) ? 'E' : '-';
  return state;
}

// Which of the radio buttons first..last are checked, as a string of 'x' and '.'.
std::string Radios(HWND dialog, int first, int last) {
  std::string state;
  for (int id = first; id <= last; ++id) state += IsItemChecked(dialog, id) ? 'x' : '.';
  return state;
}

class SettingsDialog : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    GameSettings &s = gameSettings;
    SplitWait(&s, 430);
    s.level = 2;
    s.lv1_norma = 12;
    s.lv1_speed = 33;
    s.lv2_block = 9;
    s.lv2_norma = 4;
    s.lv2_upline = 2;
    s.blockfreq = 3;
    s.guide_shadow = 1;
    s.guide_stripe = 1;
    s.stripe_intensity = 90;
    s.image_shown = 0;
    strcpy(s.image_path, "C:\\pictures\\sea.jpg");
    s.transparent_enabled = 1;
    s.transparent_colour = 0x00FF00FF;
    before = s;
  }
  void TearDown() override {
    FreeInterpreter();
    MainWindowFixture::TearDown();
  }
  // The stand-in interpreter of the interpreter tests, bound as if found under `name`.
  void BindInterpreter(const char *variant, const char *name) {
    interpreter.module = LoadLibraryA(FixturePath(variant).c_str());
    ASSERT_NE(interpreter.module, nullptr);
    interpreter.evaluate = GetProcAddress(interpreter.module, "Exprion");
    interpreter.name = name;
  }
  bool Unchanged() { return memcmp(&before, &gameSettings, sizeof before) == 0; }
  GameSettings before;
};

TEST_F(SettingsDialog, ShowsTheSettingsAndStoresThemOnOk) {
  ASSERT_TRUE(DriveSettingsDialog(window, [&](HWND dialog) {
    char caption[32] = "";
    GetWindowTextA(dialog, caption, sizeof caption);
    EXPECT_STREQ(caption, "設定");
    EXPECT_EQ(Radios(dialog, 1001, 1003), "..x");
    EXPECT_EQ(Radios(dialog, 1004, 1011), "....x...");
    EXPECT_EQ(ItemText(dialog, 1012), "430");
    EXPECT_EQ(ItemText(dialog, 1013), "12");
    EXPECT_EQ(ItemText(dialog, 1014), "33");
    EXPECT_EQ(ItemText(dialog, 1016), "9");
    EXPECT_EQ(ItemText(dialog, 1017), "4");
    EXPECT_EQ(ItemText(dialog, 1018), "2");
    EXPECT_EQ(ItemText(dialog, 1033), "12 段消去した時、ブロックの落下速度が 33 速くなります。");
    EXPECT_EQ(ItemText(dialog, 1034),
              "9 ブロック落下するまでに、4 段以上消去していないと、2 段上がります。");
    EXPECT_EQ(ItemText(dialog, 1015), "C:\\pictures\\sea.jpg");
    EXPECT_EQ(ItemText(dialog, 1019), "442 × 482");
    EXPECT_TRUE(IsItemChecked(dialog, 1035));
    EXPECT_TRUE(IsItemChecked(dialog, 1036));
    EXPECT_FALSE(IsItemChecked(dialog, 1037));
    EXPECT_TRUE(IsItemChecked(dialog, 1038));
    EXPECT_EQ(SendDlgItemMessageA(dialog, 1041, TBM_GETPOS, 0, 0), 90);
    EXPECT_EQ(SendDlgItemMessageA(dialog, 1041, TBM_GETRANGEMAX, 0, 0), 255);
    EXPECT_EQ(SendDlgItemMessageA(dialog, 1041, TBM_GETPAGESIZE, 0, 0), 5);
    EXPECT_EQ(GroupState(dialog, kLevel1Group), "EEEEEE");
    EXPECT_EQ(GroupState(dialog, kLevel2Group), "EEEEEEEE");
    EXPECT_EQ(GroupState(dialog, kStripeGroup), "EEE");
    EXPECT_EQ(GroupState(dialog, kPictureGroup), "---");
    EXPECT_EQ(GroupState(dialog, kColourGroup), "EEE");
    // Without an interpreter there are no tooltips and no tooltip text.
    EXPECT_EQ(FindTooltip(dialog), nullptr);
    EXPECT_EQ(TooltipText(dialog, 1012), "(none)");

    // The picture stays unchecked: its edited path is discarded.
    SetItemText(dialog, 1015, "C:\\elsewhere.bmp");
    SetItemText(dialog, 1012, "40");
    ClickItem(dialog, 1007);
    EXPECT_EQ(PressOk(dialog), "");
  }));
  EXPECT_EQ(gameSettings.wait_poll, 40u);
  EXPECT_EQ(gameSettings.wait_fall, 0u);
  EXPECT_EQ(gameSettings.blockfreq, 2);
  EXPECT_STREQ(gameSettings.image_path, "C:\\pictures\\sea.jpg");
  GameSettings expected = before;
  SplitWait(&expected, 40);
  expected.blockfreq = 2;
  EXPECT_EQ(memcmp(&expected, &gameSettings, sizeof expected), 0);

  // Values outside the radio buttons' ranges check none of them; OK then takes the last.
  gameSettings.level = 7;
  gameSettings.blockfreq = 9;
  SplitWait(&gameSettings, 550);
  ASSERT_TRUE(DriveSettingsDialog(window, [&](HWND dialog) {
    EXPECT_EQ(Radios(dialog, 1001, 1011), "...........");
    EXPECT_EQ(ItemText(dialog, 1012), "550");
    EXPECT_EQ(PressOk(dialog), "");
  }));
  EXPECT_EQ(gameSettings.level, 2);
  EXPECT_EQ(gameSettings.blockfreq, 6);
  EXPECT_EQ(gameSettings.wait_poll, 50u);
  EXPECT_EQ(gameSettings.wait_fall, 500u);
}

TEST_F(SettingsDialog, GroupsAndExplanationsFollowTheEntriesAndCancelStoresNothing) {
  ASSERT_TRUE(DriveSettingsDialog(window, [&](HWND dialog) {
    ClickItem(dialog, 1001);
    EXPECT_EQ(GroupState(dialog, kLevel1Group), "------");
    EXPECT_EQ(GroupState(dialog, kLevel2Group), "--------");
    ClickItem(dialog, 1002);
    EXPECT_EQ(GroupState(dialog, kLevel1Group), "EEEEEE");
    EXPECT_EQ(GroupState(dialog, kLevel2Group), "--------");
    ClickItem(dialog, 1003);
    EXPECT_EQ(GroupState(dialog, kLevel2Group), "EEEEEEEE");
    ClickItem(dialog, 1036);
    ClickItem(dialog, 1037);
    ClickItem(dialog, 1038);
    EXPECT_EQ(GroupState(dialog, kStripeGroup), "---");
    EXPECT_EQ(GroupState(dialog, kPictureGroup), "EEE");
    EXPECT_EQ(GroupState(dialog, kColourGroup), "---");

    SetItemText(dialog, 1013, "");
    EXPECT_EQ(ItemText(dialog, 1033), "");
    SetItemText(dialog, 1013, "7");
    EXPECT_EQ(ItemText(dialog, 1033), "7 段消去した時、ブロックの落下速度が 33 速くなります。");
    SetItemText(dialog, 1018, "2x");
    EXPECT_EQ(ItemText(dialog, 1034), "");
    SetItemText(dialog, 1018, " 5");
    EXPECT_EQ(ItemText(dialog, 1034),
              "9 ブロック落下するまでに、4 段以上消去していないと、5 段上がります。");
    // Cancel is what Escape sends.
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  }));
  EXPECT_TRUE(Unchanged());
}

TEST_F(SettingsDialog, OkStopsAtTheFirstInvalidFieldAndStoresNothing) {
  const std::string picture = FixturePath("block.bmp");
  // A directory is found by the file search but names no picture.
  char directory[MAX_PATH];
  GetTempPathA(sizeof directory, directory);
  directory[strlen(directory) - 1] = '\0';
  ASSERT_TRUE(DriveSettingsDialog(window, [&](HWND dialog) {
    ClickItem(dialog, 1037);
    for (int id : {1012, 1013, 1014, 1016, 1017, 1018}) SetItemText(dialog, id, "1+2");
    SetItemText(dialog, 1015, "");
    const struct {
      const char *message;
      int field;
      const char *fix;
    } steps[] = {
        {"待ち時間に有効な数値が設定されていません", 1012, "40"},
        {"ノルマ段数の指定に有効な数値が設定されていません", 1013, "1"},
        {"差し引く時間に有効な数値が設定されていません", 1014, "2"},
        {"落としたブロックの個数に有効な数値が設定されていません", 1016, "3"},
        {"消す段数のノルマに有効な数値が設定されていません", 1017, "4"},
        {"増加段数に有効な数値が設定されていません", 1018, "5"},
        {"画像ﾌｧｲﾙが設定されていません", 1015, "C:\\no such\\picture.jpg"},
        {"有効な画像ﾌｧｲﾙが設定されていません", 1015, directory},
        {"有効な画像ﾌｧｲﾙが設定されていません", 1015, picture.c_str()},
    };
    for (const auto &step : steps) {
      EXPECT_EQ(PressOk(dialog), step.message);
      EXPECT_TRUE(Unchanged()) << step.message;
      SetItemText(dialog, step.field, step.fix);
    }
    // A path that the settings' code page cannot hold names no file they could keep: refused
    // with its own message, the good path in the field before it notwithstanding.
    SetDlgItemTextW(dialog, 1015, L"C:\\caf\u00e9\\picture.jpg");
    EXPECT_EQ(PressOk(dialog), MSG_IMAGE_PATH_UNSTORABLE);
    EXPECT_TRUE(Unchanged());
    SetItemText(dialog, 1015, picture.c_str());
    // Level 0 reads neither group of numbers.
    for (int id : {1013, 1014, 1016, 1017, 1018}) SetItemText(dialog, id, "abc");
    ClickItem(dialog, 1001);
    EXPECT_EQ(PressOk(dialog), "");
  }));
  EXPECT_EQ(gameSettings.level, 0);
  EXPECT_EQ(gameSettings.lv1_norma, 12u);
  EXPECT_EQ(gameSettings.lv2_upline, 2u);
  EXPECT_EQ(gameSettings.image_shown, 1);
  EXPECT_EQ(gameSettings.image_path, picture);
  EXPECT_EQ(SettingsWait(&gameSettings), 40u);
}

TEST_F(SettingsDialog, ExpressionsGoThroughTheInterpreterAndShowInTooltips) {
  BindInterpreter("fake_standard.dll", "Exprn40.dll");
  ASSERT_TRUE(DriveSettingsDialog(window, [&](HWND dialog) {
    HWND tooltip = FindTooltip(dialog);
    ASSERT_NE(tooltip, nullptr);
    EXPECT_EQ(SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0), 6);
    SetItemText(dialog, 1012, "12.7");
    SetItemText(dialog, 1013, "-1");
    SetItemText(dialog, 1014, "err-2");
    EXPECT_EQ(ItemText(dialog, 1033), "");
    EXPECT_EQ(TooltipText(dialog, 1012), "適用値：12");
    EXPECT_EQ(TooltipText(dialog, 1013), "適用値：4294967295");
    EXPECT_EQ(TooltipText(dialog, 1014),
              "Exprn40.dll のｴﾗｰ : ゼロによる除算、剰余計算が行われました");
    SetItemText(dialog, 1018, "");
    EXPECT_EQ(TooltipText(dialog, 1018), "(none)");
    EXPECT_EQ(TooltipText(dialog, 1015), "(none)");
    EXPECT_EQ(PressOk(dialog), "差し引く時間に有効な数値が設定されていません");
    SetItemText(dialog, 1014, "2.5");
    EXPECT_EQ(ItemText(dialog, 1033),
              "4294967295 段消去した時、ブロックの落下速度が 2 速くなります。");
    ClickItem(dialog, 1002);
    EXPECT_EQ(PressOk(dialog), "");
    EXPECT_FALSE(IsWindow(tooltip));
  }));
  EXPECT_EQ(gameSettings.wait_poll, 12u);
  EXPECT_EQ(gameSettings.wait_fall, 0u);
  EXPECT_EQ(gameSettings.lv1_norma, 4294967295u);
  EXPECT_EQ(gameSettings.lv1_speed, 2u);
  EXPECT_EQ(gameSettings.level, 1);
}

// The colour that the dialog paints into the swatch, from the brush it returns for it.
COLORREF SwatchColour(HWND dialog) {
  HWND swatch = GetDlgItem(dialog, 1026);
  HDC dc = GetDC(swatch);
  HBRUSH brush = reinterpret_cast<HBRUSH>(SendMessageA(
      dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(swatch)));
  ReleaseDC(swatch, dc);
  LOGBRUSH look = {};
  if (!brush || !GetObjectA(brush, sizeof look, &look)) return 0xFFFFFFFFu;
  return look.lbColor;
}

TEST_F(SettingsDialog, TheColourChooserEditsCustomColoursInPlaceEvenWhenCancelled) {
  ASSERT_TRUE(DriveSettingsDialog(window, [&](HWND dialog) {
    EXPECT_EQ(SwatchColour(dialog), 0x00FF00FFu);
    PostMessageA(dialog, WM_COMMAND, 1040, 0);
    HWND chooser = NULL;
    for (int i = 0; i < 200 && !chooser; ++i) {
      Sleep(50);
      HWND found = FindWindowExA(NULL, NULL, "#32770", NULL);
      for (; found; found = FindWindowExA(NULL, found, "#32770", NULL))
        if (found != dialog && GetWindow(found, GW_OWNER) == dialog && IsWindowVisible(found))
          chooser = found;
    }
    ASSERT_NE(chooser, nullptr);
    // The chooser's red, green and blue fields, then its "add to custom colours" button.
    SetDlgItemTextA(chooser, 706, "10");
    SetDlgItemTextA(chooser, 707, "20");
    SetDlgItemTextA(chooser, 708, "30");
    SendMessageA(chooser, WM_COMMAND, MAKEWPARAM(712, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(chooser, 712)));
    PostMessageA(chooser, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(chooser, IDOK)));
    for (int i = 0; i < 200 && IsWindow(chooser); ++i) Sleep(50);
    EXPECT_EQ(SwatchColour(dialog), RGB(10, 20, 30));
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  }));
  EXPECT_EQ(gameSettings.transparent_colour, 0x00FF00FFu);
  EXPECT_EQ(gameSettings.custom_colours[0], RGB(10, 20, 30));
  GameSettings expected = before;
  expected.custom_colours[0] = RGB(10, 20, 30);
  EXPECT_EQ(memcmp(&expected, &gameSettings, sizeof expected), 0);
}

// A drop of these paths, as the shell hands it to a window.
HDROP DropOf(const char *paths, size_t bytes) {
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + bytes);
  DROPFILES *drop = static_cast<DROPFILES *>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  memcpy(reinterpret_cast<char *>(drop) + sizeof(DROPFILES), paths, bytes);
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

TEST_F(SettingsDialog, TheFirstDroppedFileBecomesThePicturePath) {
  const char files[] = "C:\\pictures\\first.jpg\0C:\\pictures\\second.bmp\0";
  ASSERT_TRUE(DriveSettingsDialog(window, [&](HWND dialog) {
    ClickItem(dialog, 1037);
    HWND edit = GetDlgItem(dialog, 1015);
    EXPECT_NE(GetWindowLongA(edit, GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
    EXPECT_EQ(
        SendMessageA(edit, WM_DROPFILES, reinterpret_cast<WPARAM>(DropOf(files, sizeof files)), 0),
        0);
    EXPECT_EQ(ItemText(dialog, 1015), "C:\\pictures\\first.jpg");
    // A path longer than the field's 260 bytes is not cut to another file's name.
    std::string deep = "C:\\" + std::string(300, 'd') + ".jpg" + std::string(2, '\0');
    SendMessageA(edit, WM_DROPFILES, reinterpret_cast<WPARAM>(DropOf(deep.data(), deep.size())), 0);
    EXPECT_EQ(ItemText(dialog, 1015), "C:\\pictures\\first.jpg");
    // The edit still behaves as an edit for everything else.
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("C:\\typed.bmp"));
    EXPECT_EQ(ItemText(dialog, 1015), "C:\\typed.bmp");
    PostMessageA(dialog, WM_CLOSE, 0, 0);
  }));
  EXPECT_TRUE(Unchanged());
}

}  // namespace
