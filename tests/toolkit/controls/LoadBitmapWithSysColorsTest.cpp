// Loading bitmap resources with their greys as system colours, and refusing damaged ones.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ToolkitFixture.h"
#include "controls/LoadBitmapWithSysColors.h"
#include "rc/ResourceRegistry.h"

namespace toolkit_test {
namespace {

// A 2 x 2 bitmap resource at 8 bits per pixel: its header, `colors` table entries (grey
// 192 first, then red) and its rows, each field open to damage.
std::string Resource(unsigned infoSize = 40, unsigned bits = 8, unsigned compression = 0, unsigned used = 2,
                     unsigned tableEntries = 2, size_t rowBytes = 8) {
  std::string info = Dword(infoSize) + Dword(2) + Dword(2) + Word(1) + Word(bits) + Dword(compression) + Dword(0) +
                     Dword(0) + Dword(0) + Dword(used) + Dword(0);
  info.resize(infoSize < 40 ? infoSize : 40);
  std::string table;
  for (unsigned i = 0; i < tableEntries; ++i) table += i == 0 ? std::string{char(192), char(192), char(192), 0} : std::string{0, 0, char(255), 0};
  std::string rows(rowBytes, 0);
  rows[0] = 1;  // the bottom-left pixel is red
  return info + table + rows;
}

// A resource module whose bitmaps are built here; the registry keeps pointers to them.
HINSTANCE Module(const std::vector<std::string>& bitmaps) {
  static std::vector<std::string> data = bitmaps;
  static std::vector<plat::rc::Entry> entries = [] {
    std::vector<plat::rc::Entry> e;
    for (size_t i = 0; i < data.size(); ++i)
      e.push_back({2, nullptr, static_cast<uint32_t>(500 + i), nullptr,
                   reinterpret_cast<const unsigned char*>(data[i].data()), static_cast<uint32_t>(data[i].size())});
    return e;
  }();
  static plat::rc::Registrar registrar("ToolkitBitmaps", entries.data(), entries.size());
  static HMODULE module = plat::RegisterModule(plat::ModuleSpec{"ToolkitBitmaps.dll", "C:\\Lumora", {}, {}, true});
  return reinterpret_cast<HINSTANCE>(module);
}

COLORREF PixelOf(CBitmap& bitmap, int x, int y) {
  CClientDC screen(nullptr);
  CDC dc;
  dc.CreateCompatibleDC(&screen);
  CBitmap* old = dc.SelectObject(&bitmap);
  COLORREF c = dc.GetPixel(x, y);
  dc.SelectObject(old);
  return c;
}

class LoadWithSysColors : public ToolkitTest {};

TEST_F(LoadWithSysColors, MapsTheGreysOfColourTables) {
  SysColours colours{{COLOR_BTNFACE, RGB(10, 20, 30)},
                     {COLOR_BTNSHADOW, RGB(40, 50, 60)},
                     {COLOR_BTNHIGHLIGHT, RGB(70, 80, 90)},
                     {COLOR_BTNTEXT, RGB(1, 1, 1)}};
  struct Case {
    UINT id;
    CPoint at;
    COLORREF expected;
  } cases[] = {
      {IDB_TEST_FACE, {0, 0}, RGB(10, 20, 30)},  // light grey: the face
      {IDB_TEST_FACE, {5, 1}, RGB(40, 50, 60)},  // dark grey: the shadow
      {IDB_TEST_FACE, {5, 14}, RGB(1, 1, 1)},    // black: the button text
      {IDB_TEST_FACE, {1, 8}, RGB(70, 80, 90)},  // white: the highlight
      {IDB_TEST_FACE, {5, 5}, RGB(255, 0, 0)},   // other colours stay
      {IDB_TEST_BUSY, {0, 0}, RGB(10, 20, 30)},  // a table of only the five colours it uses
      {IDB_TEST_BUSY, {8, 8}, RGB(0, 0, 255)},
      {IDB_TEST_TRUE, {0, 0}, RGB(192, 192, 192)},  // true colour loads unchanged
      {IDB_TEST_TRUE, {3, 3}, RGB(0, 200, 0)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    CBitmap bitmap;
    ASSERT_TRUE(LoadBitmapWithSysColors(bitmap, MAKEINTRESOURCE(c.id)));
    EXPECT_EQ(PixelOf(bitmap, c.at.x, c.at.y), c.expected);
  }
}

TEST_F(LoadWithSysColors, RefusesMissingAndDamagedResources) {
  HINSTANCE module = Module({
      Resource(),                             // 500: sound
      Resource(40, 8, 0, 2, 2, 7),            // 501: a row byte short
      Resource(40, 8, 0, 2, 1, 0),            // 502: a colour and the rows missing
      Resource(40, 8, 0, 300, 2, 8),          // 503: more colours than 8 bits have
      Resource(40, 8, 1, 2, 2, 8),            // 504: run-length encoded
      Resource(40, 3, 0, 2, 2, 8),            // 505: 3 bits a pixel
      Resource(12, 8, 0, 2, 0, 0),            // 506: a header too short to read
      Resource(40, 8, 0, 0, 2, 8),            // 507: no count: a full table of 256 said to follow
  });
  AfxSetResourceHandle(module);
  CBitmap bitmap;
  ASSERT_TRUE(LoadBitmapWithSysColors(bitmap, MAKEINTRESOURCE(500)));
  EXPECT_EQ(PixelOf(bitmap, 0, 1), RGB(255, 0, 0));
  EXPECT_EQ(PixelOf(bitmap, 1, 1), ::GetSysColor(COLOR_BTNFACE));
  HGDIOBJ kept = bitmap.GetSafeHandle();
  for (UINT id = 501; id <= 507; ++id) {
    SCOPED_TRACE(id);
    EXPECT_FALSE(LoadBitmapWithSysColors(bitmap, MAKEINTRESOURCE(id)));
    EXPECT_EQ(bitmap.GetSafeHandle(), kept);  // left as it was
  }
  EXPECT_FALSE(LoadBitmapWithSysColors(bitmap, MAKEINTRESOURCE(999)));
  EXPECT_FALSE(LoadBitmapWithSysColors(bitmap, "NOSUCH"));
}

}  // namespace
}  // namespace toolkit_test
