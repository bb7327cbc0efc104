// Cursors, icons and bitmaps from the stand-in and from resources; carets.
#include <gtest/gtest.h>

#include <vector>

#include "ModuleRegistry.h"
#include "UserTestSupport.h"
#include <string>

#include "gdi/SysColors.h"
#include "user/Driver.h"
#include "windows.h"

namespace {

namespace drv = plat::user::driver;

HMODULE UiRes() {
  static HMODULE m = plat::RegisterModule(plat::ModuleSpec{"UiRes.dll", "C:\\Lumora", {}, {}, true});
  return m;
}

using usertest::ScreenAt;

// A 32-bit memory DC filled with one colour.
struct Canvas {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bmp;
  HGDIOBJ old;
  Canvas(int w, int h, COLORREF fill) {
    HDC screen = GetDC(nullptr);
    bmp = CreateCompatibleBitmap(screen, w, h);
    ReleaseDC(nullptr, screen);
    old = SelectObject(dc, bmp);
    HBRUSH b = CreateSolidBrush(fill);
    RECT r{0, 0, w, h};
    FillRect(dc, &r, b);
    DeleteObject(b);
  }
  ~Canvas() {
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
  }
};

TEST(Cursors, StandardShapesAreSharedAndDistinct) {
  HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
  ASSERT_TRUE(arrow);
  EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), arrow);
  for (LPCSTR id : {IDC_WAIT, IDC_IBEAM, IDC_CROSS, IDC_SIZEWE, IDC_SIZENS, IDC_SIZEALL, IDC_NO, IDC_HAND}) {
    HCURSOR c = LoadCursorA(nullptr, id);
    EXPECT_TRUE(c);
    EXPECT_NE(c, arrow);
  }
  EXPECT_FALSE(LoadCursorA(nullptr, MAKEINTRESOURCEA(4711)));
  EXPECT_TRUE(DestroyCursor(arrow));  // shared: still there
  ICONINFO ii{};
  ASSERT_TRUE(GetIconInfo(arrow, &ii));
  EXPECT_FALSE(ii.fIcon);
  DeleteObject(ii.hbmMask);
  DeleteObject(ii.hbmColor);
  HCURSOR old = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_WAIT));
  SetCursor(old);
}

TEST(Cursors, ResourceIconsDrawThroughTheirMask) {
  HICON icon = LoadIconA(UiRes(), "APPICON");
  ASSERT_TRUE(icon);
  EXPECT_EQ(LoadIconA(UiRes(), "APPICON"), icon);
  Canvas c(20, 20, RGB(255, 255, 255));
  ASSERT_TRUE(DrawIcon(c.dc, 2, 2, icon));
  EXPECT_EQ(GetPixel(c.dc, 4, 4), RGB(0, 128, 0));       // the opaque half
  EXPECT_EQ(GetPixel(c.dc, 14, 4), RGB(255, 255, 255));  // the transparent half lets the white through
  EXPECT_EQ(GetPixel(c.dc, 19, 19), RGB(255, 255, 255));
  // Stretched to double size, the halves stay halves.
  Canvas big(40, 40, RGB(255, 255, 255));
  ASSERT_TRUE(DrawIconEx(big.dc, 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL));
  EXPECT_EQ(GetPixel(big.dc, 14, 20), RGB(0, 128, 0));
  EXPECT_EQ(GetPixel(big.dc, 18, 20), RGB(255, 255, 255));

  HCURSOR cur = LoadCursorA(UiRes(), "HANDCUR");
  ICONINFO ii{};
  ASSERT_TRUE(GetIconInfo(cur, &ii));
  EXPECT_EQ(ii.xHotspot, 5u);
  EXPECT_EQ(ii.yHotspot, 7u);
  DeleteObject(ii.hbmMask);
  DeleteObject(ii.hbmColor);
  EXPECT_FALSE(LoadIconA(UiRes(), "NOSUCHICON"));
  EXPECT_FALSE(LoadIconA(UiRes(), "TRUNCATED"));    // the image runs past the file
  EXPECT_FALSE(LoadCursorA(UiRes(), "OVERCOUNT"));  // more images claimed than there are
  EXPECT_FALSE(LoadIconA(UiRes(), "HANDCUR"));  // a cursor is not an icon
}

TEST(Bitmaps, ArtworkGreysFollowTheSystemColoursWhenAsked) {
  plat::gdi::SetSysColorForTest(COLOR_3DFACE, RGB(10, 20, 30));
  plat::gdi::SetSysColorForTest(COLOR_3DSHADOW, RGB(40, 50, 60));
  plat::gdi::SetSysColorForTest(COLOR_3DLIGHT, RGB(70, 80, 90));
  struct Case {
    UINT flags;
    COLORREF face, shadow, light;
  } cases[] = {
      {0, RGB(192, 192, 192), RGB(128, 128, 128), RGB(223, 223, 223)},
      {LR_LOADMAP3DCOLORS, RGB(10, 20, 30), RGB(40, 50, 60), RGB(70, 80, 90)},
      {LR_LOADMAP3DCOLORS | LR_CREATEDIBSECTION, RGB(10, 20, 30), RGB(40, 50, 60), RGB(70, 80, 90)},
  };
  for (auto& k : cases) {
    auto bmp = static_cast<HBITMAP>(LoadImageA(UiRes(), "GREYS", IMAGE_BITMAP, 0, 0, k.flags));
    ASSERT_TRUE(bmp) << k.flags;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bmp);
    EXPECT_EQ(GetPixel(dc, 0, 0), k.face) << k.flags;
    EXPECT_EQ(GetPixel(dc, 1, 0), k.shadow) << k.flags;
    EXPECT_EQ(GetPixel(dc, 0, 1), RGB(255, 0, 0)) << k.flags;
    EXPECT_EQ(GetPixel(dc, 1, 1), k.light) << k.flags;
    SelectObject(dc, old);
    DeleteDC(dc);
    DIBSECTION ds{};
    bool isDib = GetObjectA(bmp, sizeof ds, &ds) == sizeof ds;
    EXPECT_EQ(isDib, (k.flags & LR_CREATEDIBSECTION) != 0) << k.flags;
    DeleteObject(bmp);
  }
  EXPECT_FALSE(LoadBitmapA(UiRes(), "MISSING"));
  // A copy at another size is scaled.
  HBITMAP bmp = LoadBitmapA(UiRes(), "GREYS");
  auto copy = static_cast<HBITMAP>(CopyImage(bmp, IMAGE_BITMAP, 4, 4, LR_COPYDELETEORG));
  BITMAP bm{};
  ASSERT_TRUE(GetObjectA(copy, sizeof bm, &bm));
  EXPECT_EQ(bm.bmWidth, 4);
  EXPECT_EQ(bm.bmHeight, 4);
  DeleteObject(copy);
}

TEST(Bitmaps, FilesMappedColoursAndTheSystemsOwn) {
  // The fixture lies beside this test; the data folder's path is absolute whatever the compiler
  // cache does to __FILE__.
  std::string dir = "Z:" + std::string(LUMORA_TEST_DATA) + "/../platform/win32/user/greys.bmp";
  auto bmp = static_cast<HBITMAP>(LoadImageA(nullptr, dir.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  ASSERT_TRUE(bmp);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bmp);
  EXPECT_EQ(GetPixel(dc, 0, 1), RGB(255, 0, 0));
  SelectObject(dc, old);
  DeleteObject(bmp);
  EXPECT_FALSE(LoadImageA(nullptr, "Z:/no/such/file.bmp", IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));

  // The system's check mark: black strokes on white, the size of a menu check.
  HBITMAP check = LoadBitmapA(nullptr, MAKEINTRESOURCEA(OBM_CHECK));
  ASSERT_TRUE(check);
  BITMAP bm{};
  GetObjectA(check, sizeof bm, &bm);
  EXPECT_EQ(bm.bmWidth, GetSystemMetrics(SM_CXMENUCHECK));
  EXPECT_EQ(bm.bmBitsPixel, 1);
  old = SelectObject(dc, check);
  int black = 0;
  for (int y = 0; y < bm.bmHeight; ++y)
    for (int x = 0; x < bm.bmWidth; ++x) black += GetPixel(dc, x, y) == RGB(0, 0, 0);
  EXPECT_GT(black, 5);
  EXPECT_LT(black, bm.bmWidth * bm.bmHeight / 2);
  SelectObject(dc, old);
  DeleteObject(check);
  EXPECT_TRUE(LoadBitmapA(nullptr, MAKEINTRESOURCEA(OBM_MNARROW)));
  DeleteDC(dc);
}

TEST(Settings, ColourChangesReachEveryTopLevelWindow) {
  static int seen = 0;
  WNDCLASSA wc{};
  wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m == WM_SYSCOLORCHANGE) ++seen;
    return DefWindowProcA(h, m, w, l);
  };
  wc.lpszClassName = "ColourWatcher";
  RegisterClassA(&wc);
  HWND a = CreateWindowExA(0, "ColourWatcher", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  HWND b = CreateWindowExA(0, "ColourWatcher", "", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  HWND child = CreateWindowExA(0, "ColourWatcher", "", WS_CHILD, 0, 0, 5, 5, b, nullptr, nullptr, nullptr);
  plat::user::BroadcastSettingChange(WM_SYSCOLORCHANGE);
  EXPECT_EQ(seen, 2);  // the frames pass it on to their children themselves
  DestroyWindow(child);
  DestroyWindow(a);
  DestroyWindow(b);
}

TEST(Settings, SetSysColorsChangesColoursAndBrushesAndTellsTheWindows) {
  static std::vector<COLORREF> faceSeen;
  WNDCLASSA wc{};
  wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m == WM_SYSCOLORCHANGE) faceSeen.push_back(GetSysColor(COLOR_BTNFACE));
    return DefWindowProcA(h, m, w, l);
  };
  wc.lpszClassName = "SetColourWatcher";
  RegisterClassA(&wc);
  HWND top = CreateWindowExA(0, "SetColourWatcher", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  HBRUSH faceBrush = GetSysColorBrush(COLOR_BTNFACE);
  const INT which[] = {COLOR_BTNFACE, COLOR_HIGHLIGHT};
  const COLORREF was[] = {GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_HIGHLIGHT)};
  const COLORREF now[] = {RGB(1, 2, 3), RGB(4, 5, 6)};
  ASSERT_TRUE(SetSysColors(2, which, now));
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(1, 2, 3));
  EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), RGB(4, 5, 6));
  EXPECT_EQ(faceSeen, std::vector<COLORREF>{RGB(1, 2, 3)});  // told once, after the change
  LOGBRUSH lb{};
  GetObjectA(faceBrush, sizeof lb, &lb);
  EXPECT_EQ(GetSysColorBrush(COLOR_BTNFACE), faceBrush);  // the same brush, in the new colour
  EXPECT_EQ(lb.lbColor, RGB(1, 2, 3));

  // A bad index changes nothing and tells nobody.
  const INT bad[] = {COLOR_BTNFACE, 99};
  SetLastError(0);
  EXPECT_FALSE(SetSysColors(2, bad, was));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(1, 2, 3));
  EXPECT_EQ(faceSeen.size(), 1u);
  EXPECT_FALSE(SetSysColors(1, nullptr, was));

  ASSERT_TRUE(SetSysColors(2, which, was));
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), was[0]);
  DestroyWindow(top);
}

TEST(Carets, ShownCaretInvertsItsRectangleAndHidingRestoresIt) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "CaretHost";
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  RegisterClassA(&wc);
  HWND w = CreateWindowExA(0, "CaretHost", "", WS_POPUP | WS_VISIBLE, 0, 0, 100, 50, nullptr, nullptr, nullptr, nullptr);
  drv::WaitIdle();
  ASSERT_TRUE(CreateCaret(w, nullptr, 2, 10));
  SetCaretPos(20, 5);
  EXPECT_EQ(ScreenAt(21, 6), RGB(255, 255, 255));  // hidden until shown
  ShowCaret(w);
  EXPECT_EQ(ScreenAt(21, 6), RGB(0, 0, 0));
  EXPECT_EQ(ScreenAt(22, 6), RGB(255, 255, 255));
  SetCaretPos(40, 5);
  EXPECT_EQ(ScreenAt(21, 6), RGB(255, 255, 255));
  EXPECT_EQ(ScreenAt(41, 6), RGB(0, 0, 0));
  POINT p;
  GetCaretPos(&p);
  EXPECT_EQ(p.x, 40);
  HideCaret(w);
  EXPECT_EQ(ScreenAt(41, 6), RGB(255, 255, 255));
  EXPECT_TRUE(DestroyCaret());
  EXPECT_FALSE(ShowCaret(w));
  DestroyWindow(w);
}

TEST(Settings, WorkAreaAndNonClientMetrics) {
  RECT r{};
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0));
  EXPECT_EQ(r.right, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(r.bottom, GetSystemMetrics(SM_CYSCREEN));
  NONCLIENTMETRICSA m{};
  EXPECT_FALSE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 0, &m, 0));  // cbSize not set
  m.cbSize = sizeof m;
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0));
  EXPECT_EQ(m.iMenuHeight, GetSystemMetrics(SM_CYMENUSIZE));
  EXPECT_EQ(m.lfCaptionFont.lfWeight, FW_BOLD);
  EXPECT_STREQ(m.lfMenuFont.lfFaceName, "ＭＳ Ｐゴシック");
  EXPECT_EQ(m.lfMenuFont.lfCharSet, 128);
}

}  // namespace
