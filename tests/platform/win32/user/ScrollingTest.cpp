// Scrolling window pixels and what it leaves to paint; locking a window against drawing.
#include <gtest/gtest.h>

#include "UserTestSupport.h"
#include "user/Driver.h"
#include "windows.h"

namespace {

namespace drv = plat::user::driver;

using usertest::ScreenAt;

const COLORREF kRed = RGB(200, 0, 0), kBlue = RGB(0, 0, 200), kGreen = RGB(0, 150, 0);
RECT g_lastPaint;

// Red in the top half of the client area, blue below; later paints are green.
LRESULT CALLBACK StripesProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    g_lastPaint = ps.rcPaint;
    bool first = GetPropA(h, "painted") == nullptr;
    RECT top{0, 0, 100, 50}, bottom{0, 50, 100, 100};
    HBRUSH a = CreateSolidBrush(first ? kRed : kGreen), b = CreateSolidBrush(first ? kBlue : kGreen);
    FillRect(dc, &top, a);
    FillRect(dc, &bottom, b);
    DeleteObject(a);
    DeleteObject(b);
    SetPropA(h, "painted", reinterpret_cast<HANDLE>(1));
    EndPaint(h, &ps);
    return 0;
  }
  return DefWindowProcA(h, m, w, l);
}

HWND Stripes(int x, int y) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = StripesProc;
  wc.lpszClassName = "Stripes";
  RegisterClassA(&wc);
  HWND w = CreateWindowExA(0, "Stripes", "", WS_POPUP | WS_VISIBLE, x, y, 100, 100, nullptr, nullptr, nullptr, nullptr);
  drv::WaitIdle();
  return w;
}

TEST(Scrolling, PixelsMoveAndTheUncoveredStripIsPaintedAgain) {
  HWND w = Stripes(0, 0);
  EXPECT_EQ(ScreenAt(10, 40), kRed);
  RECT update{};
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  int kind = ScrollWindowEx(w, 0, -20, nullptr, nullptr, rgn, &update, SW_INVALIDATE);
  EXPECT_EQ(kind, SIMPLEREGION);
  EXPECT_EQ(update.top, 80);
  EXPECT_EQ(update.bottom, 100);
  RECT box;
  GetRgnBox(rgn, &box);
  EXPECT_TRUE(EqualRect(&box, &update));
  DeleteObject(rgn);
  // Moved up: the blue stripe now starts at 30; the bottom waits for WM_PAINT.
  EXPECT_EQ(ScreenAt(10, 29), kRed);
  EXPECT_EQ(ScreenAt(10, 30), kBlue);
  drv::WaitIdle();
  EXPECT_TRUE(EqualRect(&g_lastPaint, &update));
  EXPECT_EQ(ScreenAt(10, 85), kGreen);
  EXPECT_EQ(ScreenAt(10, 75), kBlue);
  DestroyWindow(w);
}

TEST(Scrolling, CoveredPixelsAreNotCopiedButRepainted) {
  HWND w = Stripes(0, 0);
  // A window over the lower left corner: its pixels must not scroll into view.
  HWND cover = CreateWindowExA(0, "Stripes", "", WS_POPUP | WS_VISIBLE, 0, 60, 30, 40, nullptr, nullptr, nullptr, nullptr);
  drv::WaitIdle();
  RECT update{};
  ScrollWindowEx(w, 0, -30, nullptr, nullptr, nullptr, &update, 0);
  EXPECT_EQ(update.top, 30);  // the part under the cover, moved up, is invalid too
  EXPECT_EQ(update.bottom, 100);
  DestroyWindow(cover);
  DestroyWindow(w);
}

TEST(Scrolling, ScrollDcReportsTheUncoveredPart) {
  HWND w = Stripes(0, 0);
  HDC dc = GetDC(w);
  RECT update{};
  RECT area{0, 0, 100, 100};
  ASSERT_TRUE(ScrollDC(dc, 10, 0, &area, &area, nullptr, &update));
  ReleaseDC(w, dc);
  RECT expected{0, 0, 10, 100};
  EXPECT_TRUE(EqualRect(&update, &expected));
  EXPECT_EQ(ScreenAt(15, 10), kRed);
  DestroyWindow(w);
}

TEST(Scrolling, LockedWindowDrawsNothingUntilUnlocked) {
  HWND w = Stripes(0, 0);
  ASSERT_TRUE(LockWindowUpdate(w));
  EXPECT_FALSE(LockWindowUpdate(w));  // one window at a time
  HDC dc = GetDC(w);
  RECT all{0, 0, 100, 100};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  ReleaseDC(w, dc);
  EXPECT_EQ(ScreenAt(10, 10), kRed);
  ASSERT_TRUE(LockWindowUpdate(nullptr));
  drv::WaitIdle();
  EXPECT_EQ(ScreenAt(10, 10), kGreen);  // painted again after unlocking
  DestroyWindow(w);
}

}  // namespace
