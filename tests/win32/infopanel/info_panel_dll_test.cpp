// InfoPanel.dll as the program meets it: linked through its import library, called with this
// test program's own texts and icon 103, driven as a user would.
#include <gtest/gtest.h>

#include <windows.h>

#include <string.h>

#include <string>
#include <vector>

#include "info_panel.h"
#include "panel_driver.h"

namespace {

const char *const kTexts[3] = {"パネルの試験", "上の行 Ver 9.9", "下の行"};

HMODULE PanelModule() {
  return GetModuleHandleA("InfoPanel.dll");
}

int ShowOwnPanel() {
  return InfoPanel(GetModuleHandleA(NULL), NULL, 0x10000 | 103, kTexts);
}

std::string DialogItemText(HWND panel, int id) {
  char text[256] = "";
  GetDlgItemTextA(panel, id, text, sizeof text);
  return text;
}

TEST(InfoPanelDll, ExportsOnlyInfoPanel) {
  HMODULE module = PanelModule();
  ASSERT_NE(module, nullptr);
  const BYTE *base = reinterpret_cast<const BYTE *>(module);
  const IMAGE_NT_HEADERS *nt = reinterpret_cast<const IMAGE_NT_HEADERS *>(
      base + reinterpret_cast<const IMAGE_DOS_HEADER *>(base)->e_lfanew);
  const IMAGE_DATA_DIRECTORY &dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  ASSERT_NE(dir.VirtualAddress, 0u);
  const IMAGE_EXPORT_DIRECTORY *exports =
      reinterpret_cast<const IMAGE_EXPORT_DIRECTORY *>(base + dir.VirtualAddress);
  ASSERT_EQ(exports->NumberOfNames, 1u);
  EXPECT_EQ(exports->NumberOfFunctions, 1u);
  const DWORD *names = reinterpret_cast<const DWORD *>(base + exports->AddressOfNames);
  EXPECT_STREQ(reinterpret_cast<const char *>(base + names[0]), "InfoPanel");
  EXPECT_NE(GetProcAddress(module, "InfoPanel"), nullptr);
}

// Dialog 101 of the library, read back field by field from its resource bytes.
TEST(InfoPanelDll, DialogTemplateHasTheFourItemsWithTheirPlacesAndStyles) {
  HMODULE module = PanelModule();
  HRSRC found = FindResourceExA(module, MAKEINTRESOURCEA(5) /* RT_DIALOG */, MAKEINTRESOURCEA(101),
                                MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT));
  ASSERT_NE(found, nullptr);
  const WORD *at = static_cast<const WORD *>(LockResource(LoadResource(module, found)));
  const BYTE *base = reinterpret_cast<const BYTE *>(at);
  auto dword = [&] {
    DWORD v;
    memcpy(&v, at, 4);
    at += 2;
    return v;
  };
  auto text = [&] {
    std::wstring s;
    if (*at == 0xFFFF) {  // the predefined classes by atom
      s = at[1] == 0x80 ? L"BUTTON" : at[1] == 0x82 ? L"STATIC" : L"#" + std::to_wstring(at[1]);
      at += 2;
      return s;
    }
    while (*at) s += (wchar_t)*at++;
    ++at;
    return s;
  };
  ASSERT_EQ(at[0], 1);
  ASSERT_EQ(at[1], 0xFFFF);
  at += 2;
  dword();  // help id
  EXPECT_EQ(dword(), 0u);
  EXPECT_EQ(dword(), 0x80C808C0u);
  WORD items = *at++;
  ASSERT_EQ(items, 4);
  EXPECT_EQ(std::vector<WORD>(at, at + 4), (std::vector<WORD>{0, 0, 259, 85}));
  at += 4;
  EXPECT_EQ(text(), L"");  // menu
  EXPECT_EQ(text(), L"");  // class
  EXPECT_EQ(text(), L"ﾀﾞｲｱﾛｸﾞ");
  EXPECT_EQ(*at, 9) << "points";
  at += 3;  // size, weight, italic and charset
  EXPECT_EQ(text(), L"ＭＳ Ｐゴシック");
  struct Item {
    DWORD id, style;
    WORD x, y, cx, cy;
    const wchar_t *className, *caption;
  } expected[4] = {
      {1, 0x50010001, 205, 66, 50, 14, L"BUTTON", L"OK"},
      {1000, 0x50020201, 89, 3, 166, 32, L"STATIC", L"Static"},
      {1001, 0x50020201, 89, 42, 166, 17, L"STATIC", L"Static"},
      {1002, 0x50020000, 0, 0, 84, 84, L"STATIC", L""},
  };
  for (const Item &want : expected) {
    SCOPED_TRACE(want.id);
    while ((reinterpret_cast<const BYTE *>(at) - base) % 4) ++at;
    dword();  // help id
    EXPECT_EQ(dword(), 0u);
    EXPECT_EQ(dword(), want.style);
    EXPECT_EQ(std::vector<WORD>(at, at + 4), (std::vector<WORD>{want.x, want.y, want.cx, want.cy}));
    at += 4;
    EXPECT_EQ(dword(), want.id);
    EXPECT_EQ(_wcsicmp(text().c_str(), want.className), 0);
    EXPECT_EQ(text(), want.caption);
    at += 1 + *at / 2;  // creation data
  }
}

TEST(InfoPanelDll, PlainPanelShowsTheTextsAndTheCentredIconClosesOnOkButNotOnEscape) {
  PanelCall call;
  call.title = kTexts[0];
  std::string upper, lower;
  bool openAfterEscape = false;
  unsigned iconPixel = 0, besideIcon = 0, face = 0;
  call.drive = [&](HWND panel) {
    upper = DialogItemText(panel, 1000);
    lower = DialogItemText(panel, 1001);
    HWND area = GetDlgItem(panel, 1002);
    RECT client;
    GetClientRect(area, &client);
    // Icon 103's top row starts with eight clear pixels, then its first block.
    int x = (client.right - 32) / 2, y = (client.bottom - 32) / 2;
    Sleep(300);
    iconPixel = AreaPixel(area, x + 8, y);
    besideIcon = AreaPixel(area, x + 7, y);
    face = AreaPixel(area, 1, 1);
    PostMessageA(GetDlgItem(panel, IDOK), WM_KEYDOWN, VK_ESCAPE, 1);
    openAfterEscape = StillOpenAfter(panel, 500);
    PostMessageA(GetDlgItem(panel, IDOK), WM_KEYDOWN, VK_RETURN, 1);
  };
  EXPECT_EQ(RunPanel(call, ShowOwnPanel), 1);
  EXPECT_TRUE(call.found);
  EXPECT_FALSE(call.forcedClose) << "Enter on OK closed the panel";
  EXPECT_TRUE(openAfterEscape);
  EXPECT_EQ(upper, kTexts[1]);
  EXPECT_EQ(lower, kTexts[2]);
  EXPECT_EQ(iconPixel, 0xF0A8F0u);
  EXPECT_EQ(besideIcon, face);
  COLORREF sys = GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(face, (unsigned)(GetRValue(sys) << 16 | GetGValue(sys) << 8 | GetBValue(sys)));
}

TEST(InfoPanelDll, CloseBoxAndAltF4CloseThePanelWithOne) {
  for (int way = 0; way < 2; ++way) {
    PanelCall call;
    call.title = kTexts[0];
    call.drive = [&](HWND panel) {
      if (way == 0)
        PostMessageA(panel, WM_SYSCOMMAND, SC_CLOSE, 0);
      else
        PostMessageA(GetDlgItem(panel, IDOK), WM_SYSKEYDOWN, VK_F4, 1 | KF_ALTDOWN << 16);
    };
    EXPECT_EQ(RunPanel(call, ShowOwnPanel), 1) << way;
    EXPECT_FALSE(call.forcedClose) << way;
  }
}

// Shift: two faces, Ctrl: one, both: four; each turns, and closing ends both threads, also
// after a click has put the panel into fast mode.
TEST(InfoPanelDll, HeldModifiersShowTheMatchingSpinAndClosingEndsItsThreads) {
  const struct {
    int keys;
    size_t colours;
    bool fast;
  } cases[] = {{1, 2, false}, {2, 1, false}, {3, 4, false}, {3, 4, true}};
  for (auto &c : cases) {
    SCOPED_TRACE(testing::Message() << "keys " << c.keys << (c.fast ? " fast" : ""));
    int before = ProcessThreads();
    int during = 0;
    SpinSight sight;
    PanelCall call;
    call.keys = c.keys;
    call.title = kTexts[0];
    call.drive = [&](HWND panel) {
      HWND area = GetDlgItem(panel, 1002);
      if (c.fast) PostMessageA(panel, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
      sight = WatchPictureArea(area, 12, 150);
      during = ProcessThreads();
      PostMessageA(panel, WM_COMMAND, IDOK, 0);
    };
    EXPECT_EQ(RunPanel(call, ShowOwnPanel), 1);
    ASSERT_TRUE(call.keysHeld);
    EXPECT_FALSE(call.forcedClose);
    EXPECT_EQ(sight.colours.size(), c.colours);
    EXPECT_GT(sight.distinctFrames, 2) << "the tiles turn";
    EXPECT_EQ(during, before + 3) << "the driver, the drawing and the copy thread";
    EXPECT_EQ(ProcessThreads(), before) << "no panel thread outlives the panel";
  }
}

}  // namespace
