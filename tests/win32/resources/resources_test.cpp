// The resources of quillomar.exe, linked into this test program and read back from its own
// module: menu, accelerators, icon and the piece pictures; and the block picture that the
// build puts into the program directory.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>

#include "own_resources.h"

namespace {

TEST(ResourceLanguage, EveryResourceIsJapanese) {
  EXPECT_NE(ResourceBytes(RT_MENU, 101), nullptr);
  EXPECT_NE(ResourceBytes(RT_ACCELERATOR, 102), nullptr);
  EXPECT_NE(ResourceBytes(RT_GROUP_ICON, 103), nullptr);
  EXPECT_NE(ResourceBytes(RT_DIALOG, 104), nullptr);
  EXPECT_NE(ResourceBytes(RT_DIALOG, 105), nullptr);
  for (WORD id = 106; id <= 112; ++id) EXPECT_NE(ResourceBytes(RT_BITMAP, id), nullptr) << id;
}

TEST(MainMenu, HoldsOnePopupWithTheCommandsInOrder) {
  struct Item {
    UINT id;  // 0: separator
    const char *text;
  };
  const Item expected[] = {{40001, "開始(&G)"},       {40005, "中断(&P)"}, {0, nullptr},
                           {40006, "得点の表示(&D)"}, {40002, "設定(&S)"}, {0, nullptr},
                           {40003, "ﾊﾞｰｼﾞｮﾝ(&A)"},    {0, nullptr},        {40004, "終了(&X)"}};
  HMENU menu = LoadMenuA(Self(), MAKEINTRESOURCEA(101));
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(GetMenuItemCount(menu), 1);
  char text[64];
  ASSERT_GT(GetMenuStringA(menu, 0, text, sizeof text, MF_BYPOSITION), 0);
  EXPECT_STREQ(text, "ﾒﾆｭｰ(&M)");
  HMENU popup = GetSubMenu(menu, 0);
  ASSERT_NE(popup, nullptr);
  ASSERT_EQ(GetMenuItemCount(popup), (int)(sizeof expected / sizeof expected[0]));
  for (int i = 0; i < GetMenuItemCount(popup); ++i) {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE;
    ASSERT_TRUE(GetMenuItemInfoA(popup, i, TRUE, &info)) << i;
    if (!expected[i].text) {
      EXPECT_TRUE(info.fType & MFT_SEPARATOR) << i;
      continue;
    }
    EXPECT_FALSE(info.fType & MFT_SEPARATOR) << i;
    // The program greys and enables items itself; the resource leaves them all usable.
    EXPECT_EQ(info.fState & (MFS_GRAYED | MFS_CHECKED), 0u) << i;
    EXPECT_EQ(GetMenuItemID(popup, i), expected[i].id) << i;
    text[0] = 0;
    GetMenuStringA(popup, i, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, expected[i].text) << i;
  }
  DestroyMenu(menu);
}

TEST(GameKeys, AcceleratorTableHoldsTheSixKeysInStoredOrder) {
  const ACCEL expected[] = {
      {FVIRTKEY | FNOINVERT, VK_DELETE, 40012}, {FVIRTKEY | FNOINVERT, VK_LEFT, 40007},
      {FVIRTKEY | FNOINVERT, VK_PAUSE, 40011},  {FVIRTKEY | FNOINVERT, VK_RIGHT, 40008},
      {FVIRTKEY | FNOINVERT, VK_SPACE, 40010},  {FVIRTKEY | FNOINVERT, VK_UP, 40009}};
  HACCEL table = LoadAcceleratorsA(Self(), MAKEINTRESOURCEA(102));
  ASSERT_NE(table, nullptr);
  ACCEL entries[16];
  ASSERT_EQ(CopyAcceleratorTableA(table, entries, 16), 6);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(entries[i].fVirt, expected[i].fVirt) << i;
    EXPECT_EQ(entries[i].key, expected[i].key) << i;
    EXPECT_EQ(entries[i].cmd, expected[i].cmd) << i;
  }
}

TEST(ProgramIcon, HasItsSixteenColourImagesAndThirtyTwoBitOnesUpTo256Pixels) {
  DWORD size = 0;
  const BYTE *group = ResourceBytes(RT_GROUP_ICON, 103, &size);
  ASSERT_NE(group, nullptr);
  WORD count = 0;
  memcpy(&count, group + 4, 2);
  ASSERT_GE(size, 6u + 14u * count);
  std::vector<int> sizes, bits;
  for (int i = 0; i < count; ++i) {
    const BYTE *entry = group + 6 + 14 * i;  // width, height, colours, reserved, planes, bits
    ASSERT_EQ(entry[0], entry[1]) << "square images only";
    sizes.push_back(entry[0] ? entry[0] : 256);
    bits.push_back(entry[6] | entry[7] << 8);
  }
  EXPECT_EQ(sizes, (std::vector<int>{32, 16, 16, 24, 32, 48, 256}));
  EXPECT_EQ(bits, (std::vector<int>{4, 4, 32, 32, 32, 32, 32}));

  for (int side : {32, 16, 24, 48, 256}) {
    HICON icon = (HICON)LoadImageA(Self(), MAKEINTRESOURCEA(103), IMAGE_ICON, side, side, 0);
    ASSERT_NE(icon, nullptr) << side;
    ICONINFO info;
    ASSERT_TRUE(GetIconInfo(icon, &info)) << side;
    BITMAP colour = {};
    ASSERT_TRUE(GetObjectA(info.hbmColor, sizeof colour, &colour)) << side;
    EXPECT_EQ(colour.bmWidth, side);
    EXPECT_EQ(colour.bmHeight, side);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
  }
}

int Brightness(COLORREF c) {
  return GetRValue(c) + GetGValue(c) + GetBValue(c);
}

// The bitmap's pixels, rows top-down, as COLORREF values.
std::vector<COLORREF> PixelsOf(HBITMAP bitmap, int width, int height) {
  std::vector<DWORD> bgr(width * height);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HDC screen = GetDC(nullptr);
  int rows = GetDIBits(screen, bitmap, 0, height, bgr.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  std::vector<COLORREF> pixels;
  if (rows != height) return pixels;
  for (DWORD v : bgr) pixels.push_back(RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF));
  return pixels;
}

TEST(PiecePictures, EachBitmapDrawsItsPieceCentredInSixPixelCells) {
  struct Piece {
    WORD id;
    std::vector<std::string> cells;  // rows of the piece's bounding box, 'X' = cell
  };
  const Piece pieces[] = {
      {108, {"X.", "XX", ".X"}},  // piece 0
      {109, {".X", "XX", "X."}},  // piece 1
      {106, {"XX", "X.", "X."}},  // piece 2
      {107, {"XX", ".X", ".X"}},  // piece 3
      {110, {"XX", "XX"}},        // piece 4
      {111, {"X", "X", "X", "X"}}, {112, {".X.", "XXX"}},
  };
  const COLORREF face = RGB(0xC0, 0xC0, 0xC0);
  for (const Piece &piece : pieces) {
    SCOPED_TRACE(testing::Message() << "bitmap " << piece.id);
    const BYTE *stored = ResourceBytes(RT_BITMAP, piece.id);
    ASSERT_NE(stored, nullptr);
    BITMAPINFOHEADER header;
    memcpy(&header, stored, sizeof header);
    EXPECT_EQ(header.biBitCount, 4);

    HBITMAP bitmap = LoadBitmapA(Self(), MAKEINTRESOURCEA(piece.id));
    ASSERT_NE(bitmap, nullptr);
    BITMAP size = {};
    ASSERT_TRUE(GetObjectA(bitmap, sizeof size, &size));
    EXPECT_EQ(size.bmWidth, 24);
    EXPECT_EQ(size.bmHeight, 24);
    std::vector<COLORREF> px = PixelsOf(bitmap, 24, 24);
    DeleteObject(bitmap);
    ASSERT_EQ(px.size(), 576u);

    int w = 6 * (int)piece.cells[0].size(), h = 6 * (int)piece.cells.size();
    int left = (24 - w) / 2, top = (24 - h) / 2;
    for (int y = 0; y < 24; ++y) {
      for (int x = 0; x < 24; ++x) {
        int cx = (x - left) / 6, cy = (y - top) / 6;
        bool inCell =
            x >= left && x < left + w && y >= top && y < top + h && piece.cells[cy][cx] == 'X';
        ASSERT_EQ(px[y * 24 + x] != face, inCell) << "pixel " << x << "," << y;
        if (inCell && (x - left) % 6 == 0 && (y - top) % 6 == 0) {
          EXPECT_GT(Brightness(px[y * 24 + x]), Brightness(px[(y + 3) * 24 + x + 3]))
              << "the cell at " << x << "," << y << " has no light top-left edge";
        }
      }
    }
  }
}

// Reads a whole file; empty when it cannot be read.
std::vector<BYTE> ReadWholeFile(const char *path) {
  std::vector<BYTE> bytes;
  FILE *f = fopen(path, "rb");
  if (!f) return bytes;
  BYTE buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, f)) > 0)
    bytes.insert(bytes.end(), buffer, buffer + n);
  fclose(f);
  return bytes;
}

TEST(BlockPicture, ProgramDirectoryHoldsATwentyPixelBevelledBlock) {
  // This program runs from <build>/bin; the program directory is <build>/dist.
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  ASSERT_GT(length, 0u);
  char *slash = strrchr(path, '\\');
  ASSERT_NE(slash, nullptr);
  snprintf(slash, sizeof path - (slash - path), "\\..\\dist\\block.bmp");
  std::vector<BYTE> file = ReadWholeFile(path);
  ASSERT_GE(file.size(), 54u) << path;

  BITMAPFILEHEADER fileHeader;
  BITMAPINFOHEADER header;
  memcpy(&fileHeader, file.data(), sizeof fileHeader);
  memcpy(&header, file.data() + sizeof fileHeader, sizeof header);
  EXPECT_EQ(fileHeader.bfType, 0x4D42);
  EXPECT_EQ(header.biWidth, 20);
  EXPECT_EQ(header.biHeight, 20);  // positive: stored bottom-up
  EXPECT_EQ(header.biBitCount, 24);
  EXPECT_EQ(header.biCompression, (DWORD)BI_RGB);
  ASSERT_EQ(file.size(), fileHeader.bfOffBits + 20u * 60u);

  // Rows of 60 bytes (no padding), bottom row first, bytes blue, green, red.
  auto pixel = [&](int x, int y) {
    const BYTE *p = &file[fileHeader.bfOffBits + (19 - y) * 60 + 3 * x];
    return RGB(p[2], p[1], p[0]);
  };
  EXPECT_GT(Brightness(pixel(0, 10)), Brightness(pixel(10, 10)));   // light left edge
  EXPECT_GT(Brightness(pixel(10, 0)), Brightness(pixel(10, 10)));   // light top edge
  EXPECT_LT(Brightness(pixel(19, 10)), Brightness(pixel(10, 10)));  // dark right edge
  EXPECT_LT(Brightness(pixel(10, 19)), Brightness(pixel(10, 10)));  // dark bottom edge
  // Black is the default transparent colour: a black pixel would show as a hole in the block
  // once transparency is switched on.
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 20; ++x) EXPECT_NE(pixel(x, y), RGB(0, 0, 0)) << x << "," << y;
  }
}

}  // namespace
