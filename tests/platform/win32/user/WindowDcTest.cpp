// Painting with real DCs: what windows draw reaches the screen at the right place and no
// further than the part of them that shows.
#include <gtest/gtest.h>

#include "UserTestSupport.h"
#include "user/Driver.h"
#include "windows.h"

namespace {

namespace drv = plat::user::driver;

using usertest::ScreenAt;

// Windows that paint their whole client area in the colour kept in their user data.
LRESULT CALLBACK FillProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    RECT rc;
    GetClientRect(h, &rc);
    HBRUSH b = CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtrA(h, GWLP_USERDATA)));
    FillRect(dc, &rc, b);
    DeleteObject(b);
    EndPaint(h, &ps);
    return 0;
  }
  return DefWindowProcA(h, m, w, l);
}

HWND Filled(COLORREF c, int x, int y, int w, int h, DWORD style = WS_POPUP | WS_VISIBLE, HWND parent = nullptr) {
  static bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = FillProc;
    wc.lpszClassName = "Filled";
    return RegisterClassA(&wc) != 0;
  }();
  (void)registered;
  HWND hwnd = CreateWindowExA(0, "Filled", "", style & ~WS_VISIBLE, x, y, w, h, parent, nullptr, nullptr, nullptr);
  SetWindowLongPtrA(hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(c));
  if (style & WS_VISIBLE) ShowWindow(hwnd, SW_SHOWNA);
  return hwnd;
}

const COLORREF kRed = RGB(220, 0, 0), kBlue = RGB(0, 0, 200), kGreen = RGB(0, 160, 0);

TEST(WindowPainting, ClientPixelsReachTheScreenClippedByWindowsAbove) {
  HWND a = Filled(kRed, 100, 100, 200, 150);
  HWND b = Filled(kBlue, 200, 150, 200, 150);  // later windows lie above
  drv::WaitIdle();
  const COLORREF desktop = GetSysColor(COLOR_BACKGROUND);
  struct Probe {
    int x, y;
    COLORREF expected;
  };
  for (auto p : {Probe{150, 120, kRed}, Probe{250, 200, kBlue}, Probe{350, 280, kBlue}, Probe{50, 50, desktop},
                 Probe{299, 149, kRed}, Probe{300, 150, kBlue}})
    EXPECT_EQ(ScreenAt(p.x, p.y), p.expected) << p.x << "," << p.y;

  // Raised, the red window paints the overlap; hidden, the blue one gives its place back.
  SetWindowPos(a, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  drv::WaitIdle();
  EXPECT_EQ(ScreenAt(250, 200), kRed);
  EXPECT_EQ(ScreenAt(350, 280), kBlue);
  ShowWindow(b, SW_HIDE);
  drv::WaitIdle();
  EXPECT_EQ(ScreenAt(350, 280), desktop);
  DestroyWindow(a);
  DestroyWindow(b);
  drv::WaitIdle();
  EXPECT_EQ(ScreenAt(150, 120), desktop);
}

TEST(WindowPainting, PaintingIsLimitedToTheUpdateArea) {
  HWND w = Filled(kGreen, 10, 10, 100, 100);
  drv::WaitIdle();
  SetWindowLongPtrA(w, GWLP_USERDATA, static_cast<LONG_PTR>(kBlue));
  RECT part{20, 20, 40, 40};
  InvalidateRect(w, &part, FALSE);
  drv::WaitIdle();
  EXPECT_EQ(ScreenAt(35, 35), kBlue);
  EXPECT_EQ(ScreenAt(55, 55), kGreen);  // outside the invalid part the old pixels stay
  EXPECT_EQ(ScreenAt(25, 25), kGreen);
  DestroyWindow(w);
}

TEST(WindowPainting, ChildrenAreLeftAloneByAParentThatClipsThem) {
  HWND parent = Filled(kRed, 0, 0, 200, 200, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN);
  HWND child = Filled(kBlue, 50, 50, 40, 40, WS_CHILD | WS_VISIBLE, parent);
  drv::WaitIdle();
  EXPECT_EQ(ScreenAt(60, 60), kBlue);
  EXPECT_EQ(ScreenAt(100, 100), kRed);
  // A DC of the parent cannot reach the child's pixels; a window DC of the child starts
  // at the child's corner.
  HDC dc = GetDC(parent);
  RECT all{0, 0, 200, 200};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  ReleaseDC(parent, dc);
  EXPECT_EQ(ScreenAt(60, 60), kBlue);
  EXPECT_EQ(ScreenAt(100, 100), RGB(255, 255, 255));
  dc = GetDC(child);
  RECT dot{0, 0, 1, 1};
  FillRect(dc, &dot, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(WindowFromDC(dc), child);
  ReleaseDC(child, dc);
  EXPECT_EQ(ScreenAt(50, 50), RGB(0, 0, 0));
  DestroyWindow(parent);
}

// A window with a 4-pixel frame it paints green itself, through its window DC.
LRESULT CALLBACK GreenFrameProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_NCCALCSIZE) {
    RECT* r = reinterpret_cast<RECT*>(l);
    InflateRect(r, -4, -4);
    return 0;
  }
  if (m == WM_NCPAINT) {
    HDC dc = GetWindowDC(h);
    RECT wr;
    GetWindowRect(h, &wr);
    RECT all{0, 0, wr.right - wr.left, wr.bottom - wr.top};
    HBRUSH b = CreateSolidBrush(kGreen);
    FillRect(dc, &all, b);
    DeleteObject(b);
    ReleaseDC(h, dc);
    return 0;
  }
  return FillProc(h, m, w, l);
}

// A child placed partly outside its parent's client area (as a docked bar is, a border's
// width up and left) shows only inside that area; the parent's frame beside it stays the
// parent's to paint, also when the parent clips its children.
TEST(WindowPainting, AChildReachingOverItsParentsFrameHidesNoneOfIt) {
  static bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = GreenFrameProc;
    wc.lpszClassName = "GreenFrame";
    return RegisterClassA(&wc) != 0;
  }();
  ASSERT_TRUE(registered);
  for (DWORD clip : {DWORD{WS_CLIPCHILDREN}, DWORD{0}}) {
    SCOPED_TRACE(clip ? "clipping its children" : "not clipping them");
    HWND parent = CreateWindowExA(0, "GreenFrame", "", WS_POPUP | clip, 300, 300, 100, 80, nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtrA(parent, GWLP_USERDATA, static_cast<LONG_PTR>(kRed));
    // The child starts 3 pixels up and left of the client area, inside the frame.
    HWND child = Filled(kBlue, -3, -3, 40, 20, WS_CHILD | WS_VISIBLE, parent);
    ShowWindow(parent, SW_SHOWNA);
    drv::WaitIdle();
    struct Probe {
      int x, y;
      COLORREF expected;
    } probes[] = {
        {301, 301, kGreen}, {310, 302, kGreen}, {302, 310, kGreen},  // the frame over the child's corner
        {303, 303, kGreen}, {320, 303, kGreen},                      // its innermost row
        {304, 304, kBlue},  {336, 312, kBlue},                       // the child where it shows
        {345, 312, kRed},   {350, 350, kRed},                        // the parent's client area
    };
    for (const Probe& p : probes) EXPECT_EQ(ScreenAt(p.x, p.y), p.expected) << p.x << "," << p.y;
    // Painted again later, the frame still reaches under the child's corner.
    RedrawWindow(parent, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    drv::WaitIdle();
    for (const Probe& p : probes) EXPECT_EQ(ScreenAt(p.x, p.y), p.expected) << p.x << "," << p.y;
    DestroyWindow(child);
    DestroyWindow(parent);
    drv::WaitIdle();
  }
}

// Erasing: the class brush (a system colour index plus one works too), and fErase when
// the window left the erasing to its painter.
struct EraseCase {
  HBRUSH background;
  bool handleErase;  // answer WM_ERASEBKGND with 0 (not erased)
  COLORREF expected;
  BOOL fErase;
};
BOOL g_fErase = -1;
bool g_handleErase = false;
LRESULT CALLBACK EraseProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_ERASEBKGND && g_handleErase) return 0;
  if (m == WM_PAINT) {
    PAINTSTRUCT ps;
    BeginPaint(h, &ps);
    g_fErase = ps.fErase;
    EndPaint(h, &ps);
    return 0;
  }
  return DefWindowProcA(h, m, w, l);
}

TEST(WindowPainting, ErasingUsesTheClassBrush) {
  HBRUSH green = CreateSolidBrush(kGreen);
  EraseCase cases[] = {
      {reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), false, GetSysColor(COLOR_WINDOW), FALSE},
      {reinterpret_cast<HBRUSH>(COLOR_3DSHADOW + 1), false, GetSysColor(COLOR_3DSHADOW), FALSE},
      {green, false, kGreen, FALSE},
      {green, true, kBlue, TRUE},  // not erased: the blue painted before shows through
  };
  int n = 0;
  for (auto& c : cases) {
    std::string name = "Erase" + std::to_string(n++);
    WNDCLASSA wc{};
    wc.lpfnWndProc = EraseProc;
    wc.lpszClassName = name.c_str();
    wc.hbrBackground = c.background;
    RegisterClassA(&wc);
    HWND under = Filled(kBlue, 300, 300, 60, 60);
    drv::WaitIdle();
    g_handleErase = c.handleErase;
    g_fErase = -1;
    HWND w = CreateWindowExA(0, name.c_str(), "", WS_POPUP | WS_VISIBLE, 300, 300, 60, 60, nullptr, nullptr, nullptr,
                             nullptr);
    drv::WaitIdle();
    EXPECT_EQ(ScreenAt(330, 330), c.expected) << name;
    EXPECT_EQ(g_fErase, c.fErase) << name;
    DestroyWindow(w);
    DestroyWindow(under);
  }
  DeleteObject(green);
}

TEST(WindowPainting, FramesShowTheActiveCaptionAndBorders) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "Framed";
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClassA(&wc);
  HWND first = CreateWindowExA(0, "Framed", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200, nullptr,
                               nullptr, nullptr, nullptr);
  drv::WaitIdle();
  const int frame = GetSystemMetrics(SM_CXFRAME);
  POINT caption{100 + 150, 100 + frame + 8};
  EXPECT_EQ(ScreenAt(caption.x, caption.y), GetSysColor(COLOR_ACTIVECAPTION));
  EXPECT_EQ(ScreenAt(100, 150), GetSysColor(COLOR_3DLIGHT));  // outer edge of the raised frame
  EXPECT_EQ(ScreenAt(101, 150), GetSysColor(COLOR_3DHIGHLIGHT));
  EXPECT_EQ(ScreenAt(399, 150), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(ScreenAt(250, 200), GetSysColor(COLOR_WINDOW));
  HWND second = CreateWindowExA(0, "Framed", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500, 100, 300, 200, nullptr,
                                nullptr, nullptr, nullptr);
  drv::WaitIdle();
  EXPECT_EQ(ScreenAt(caption.x, caption.y), GetSysColor(COLOR_INACTIVECAPTION));
  EXPECT_EQ(ScreenAt(650, caption.y), GetSysColor(COLOR_ACTIVECAPTION));
  DestroyWindow(second);
  DestroyWindow(first);
}

}  // namespace
