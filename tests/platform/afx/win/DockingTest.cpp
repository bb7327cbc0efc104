// Docking of a plain framework bar: it docks along an edge and the view takes the rest,
// floats in a small frame, docks again where it was, shows and hides at once or at idle
// time, is dragged with the mouse between edges and away from them, and goes cleanly
// with its frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "Clock.h"
#include "afxext.h"
#include "display/Screen.h"
#include "user/Driver.h"
#include "user/Input.h"

namespace {

namespace drv = plat::user::driver;

std::string Text(const CRect& r) {
  char t[64];
  snprintf(t, sizeof t, "(%d,%d)-(%d,%d)", r.left, r.top, r.right, r.bottom);
  return t;
}

// A bar of one shape: 160 x 24 along a top or bottom edge, 24 x 160 along a side.
class CPlainBar : public CControlBar {
 public:
  int updates = 0;
  CSize CalcFixedLayout(BOOL, BOOL bHorz) override { return bHorz ? CSize(160, 24) : CSize(24, 160); }
  void OnUpdateCmdUI(CFrameWnd*, BOOL) override { ++updates; }
};

class Docking : public ::testing::Test {
 protected:
  void SetUp() override {
    plat::clock::UseVirtual(true);
    frame = new CFrameWnd;  // deletes itself with its window
    ASSERT_TRUE(frame->Create(nullptr, "Docking", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(100, 80, 700, 520)));
    app.m_pMainWnd = frame;
    ASSERT_TRUE(view.CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), frame, AFX_IDW_PANE_FIRST));
    frame->EnableDocking(CBRS_ALIGN_ANY);
    bar.m_dwStyle = CBRS_TOP;
    ASSERT_TRUE(bar.CreateEx(0, nullptr, "Plain", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), frame, kBarId));
    bar.EnableDocking(CBRS_ALIGN_ANY);
    frame->DockControlBar(&bar);
    frame->RecalcLayout();
    drv::WaitIdle();
  }
  void TearDown() override {
    app.m_pMainWnd = nullptr;  // its end posts no quit to the next test
    if (frame) frame->DestroyWindow();
    drv::WaitIdle();
    MSG quit;
    ::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);  // a test that ended its main window
    plat::clock::UseVirtual(false);
  }

  CRect InFrame(const CWnd& wnd) const {
    CRect r;
    wnd.GetWindowRect(&r);
    frame->ScreenToClient(&r);
    return r;
  }
  CRect ClientOfFrame() const {
    CRect r;
    frame->GetClientRect(&r);
    return r;
  }
  CDockBar* Dock(UINT id) const { return static_cast<CDockBar*>(frame->GetControlBar(id)); }
  CPoint BarPoint(int x, int y) const {
    CPoint p(x, y);
    bar.ClientToScreen(&p);
    return p;
  }

  static constexpr UINT kBarId = 0xE801;
  CWinApp app{"Docking"};
  CFrameWnd* frame = nullptr;
  CWnd view;
  CPlainBar bar;
};

TEST_F(Docking, ABarDockedOnTopLeavesTheRestToTheView) {
  ASSERT_EQ(bar.m_pDockBar, Dock(AFX_IDW_DOCKBAR_TOP));
  EXPECT_EQ(bar.GetParent(), bar.m_pDockBar);
  EXPECT_FALSE(bar.IsFloating());
  CRect dock = InFrame(*bar.m_pDockBar);
  CRect client = ClientOfFrame();
  EXPECT_EQ(dock.top, 0);
  EXPECT_EQ(dock.Width(), client.Width());
  EXPECT_GE(dock.Height(), 24 - 2 * plat::afx::BarBorderY());
  EXPECT_EQ(Text(InFrame(view)), Text(CRect(0, dock.bottom, client.right, client.bottom)));
  EXPECT_EQ(frame->GetControlBar(kBarId), &bar);
  EXPECT_EQ(bar.m_pDockBar->GetDockedCount(), 1);
}

// The top dock bar draws its etched line under the menu in its border, over the whole width:
// the bar docked in it sits a border's width up and left and must not leave those rows
// unpainted, neither when it comes nor after the frame is drawn again or the bar comes back.
TEST_F(Docking, TheTopDockBarsEtchedLineRunsOverTheBarsCorner) {
  auto rgb = [](COLORREF c) {
    return static_cast<plat::display::Pixel>((GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c));
  };
  const plat::display::Pixel shadow = rgb(::GetSysColor(COLOR_BTNSHADOW)), light = rgb(::GetSysColor(COLOR_BTNHIGHLIGHT));
  const plat::display::Pixel desktop = rgb(::GetSysColor(COLOR_BACKGROUND));
  CDockBar* top = Dock(AFX_IDW_DOCKBAR_TOP);
  auto check = [&](const char* when) {
    SCOPED_TRACE(when);
    CRect dock, barRect;
    top->GetWindowRect(&dock);
    bar.GetWindowRect(&barRect);
    ASSERT_LT(barRect.top, dock.top + plat::afx::BarBorderY()) << "the bar reaches into the dock bar's border";
    RECT got{};
    const auto pixels = plat::display::Screen::Get().Copy(dock, &got);
    const int w = got.right - got.left, h = got.bottom - got.top;
    ASSERT_EQ(w, dock.Width());
    ASSERT_GE(h, 2);
    int wrong = 0;
    for (int x = 0; x < w; ++x) {
      wrong += pixels[static_cast<size_t>(x)] != shadow;
      wrong += pixels[static_cast<size_t>(w + x)] != light;
    }
    EXPECT_EQ(wrong, 0) << "the etched line over " << w << " columns";
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), desktop), 0) << "nothing of the dock bar is left unpainted";
  };
  check("docked");
  frame->RedrawWindow(nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  drv::WaitIdle();
  check("the frame drawn again");
  frame->ShowControlBar(&bar, FALSE, FALSE);
  frame->ShowControlBar(&bar, TRUE, FALSE);
  drv::WaitIdle();
  check("hidden and shown again");
}

TEST_F(Docking, AFloatingBarLivesInASmallFrameAndDocksAgainWhereItWas) {
  // Second in its row, so that its place is not simply the first.
  CPlainBar first;
  first.m_dwStyle = CBRS_TOP;
  ASSERT_TRUE(first.CreateEx(0, nullptr, "First", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), frame, kBarId + 1));
  first.EnableDocking(CBRS_ALIGN_ANY);
  CRect rect = InFrame(bar);
  frame->ClientToScreen(&rect);
  rect.OffsetRect(200, 0);
  frame->DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP, &rect);
  frame->DockControlBar(&first, AFX_IDW_DOCKBAR_TOP, CRect(InFrame(bar).TopLeft() + CPoint(100, 80), CSize(160, 24)));
  frame->RecalcLayout();
  drv::WaitIdle();
  CRect docked;
  bar.GetWindowRect(&docked);
  bar.m_pDockBar->ScreenToClient(&docked);
  int index = bar.m_pDockBar->FindBar(&bar);

  bar.m_pDockContext->ToggleDocking();
  drv::WaitIdle();
  ASSERT_TRUE(bar.IsFloating());
  auto* mini = dynamic_cast<CMiniDockFrameWnd*>(bar.GetParentFrame());
  ASSERT_NE(mini, nullptr);
  EXPECT_TRUE(mini->IsWindowVisible());
  EXPECT_EQ(bar.GetDockingFrame(), mini);
  EXPECT_TRUE(bar.GetBarStyle() & CBRS_FLOATING);
  // The bar's place on top is kept for it.
  CDockBar* top = Dock(AFX_IDW_DOCKBAR_TOP);
  EXPECT_GT(top->FindBar(static_cast<CControlBar*>(CDockBar::PlaceHolder(kBarId))), 0);
  EXPECT_EQ(top->GetDockedCount(), 1);

  bar.m_pDockContext->ToggleDocking();
  frame->RecalcLayout();
  drv::WaitIdle();
  ASSERT_EQ(bar.m_pDockBar, top);
  EXPECT_FALSE(bar.IsFloating());
  EXPECT_EQ(top->FindBar(&bar), index);
  CRect again;
  bar.GetWindowRect(&again);
  top->ScreenToClient(&again);
  EXPECT_EQ(Text(again), Text(docked));
  EXPECT_EQ(top->FindBar(static_cast<CControlBar*>(CDockBar::PlaceHolder(kBarId))), -1);
  first.DestroyWindow();
}

TEST_F(Docking, HidingAndShowingHappenAtOnceOrAtIdleTime) {
  CRect withBar = InFrame(view);
  frame->ShowControlBar(&bar, FALSE, FALSE);
  EXPECT_FALSE(bar.IsWindowVisible());
  EXPECT_EQ(InFrame(view).top, 0);

  frame->ShowControlBar(&bar, TRUE, TRUE);
  EXPECT_FALSE(bar.IsWindowVisible());
  EXPECT_TRUE(bar.IsVisible());  // counting the show that waits
  // A layout that only measures leaves it waiting.
  CRect measured;
  frame->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CWnd::reposQuery, &measured);
  EXPECT_TRUE(bar.IsVisible());
  app.OnIdle(0);
  drv::WaitIdle();
  EXPECT_TRUE(bar.IsWindowVisible());
  EXPECT_EQ(Text(InFrame(view)), Text(withBar));

  frame->ShowControlBar(&bar, FALSE, TRUE);
  EXPECT_TRUE(bar.IsWindowVisible());
  EXPECT_FALSE(bar.IsVisible());
  app.OnIdle(0);
  drv::WaitIdle();
  EXPECT_FALSE(bar.IsWindowVisible());
}

TEST_F(Docking, IdleTimeUpdatesDockedAndFloatingBars) {
  app.OnIdle(0);
  int docked = bar.updates;
  EXPECT_GT(docked, 0);
  frame->FloatControlBar(&bar, CPoint(300, 300));
  drv::WaitIdle();
  ASSERT_TRUE(bar.IsFloating());
  app.OnIdle(0);
  EXPECT_GT(bar.updates, docked);
}

TEST_F(Docking, ClosingTheSmallFrameHidesTheBarAndTheFrame) {
  frame->FloatControlBar(&bar, CPoint(300, 300));
  drv::WaitIdle();
  CFrameWnd* mini = bar.GetParentFrame();
  ASSERT_NE(mini, frame);
  mini->SendMessage(WM_CLOSE);
  drv::WaitIdle();
  app.OnIdle(0);
  EXPECT_FALSE(bar.IsWindowVisible());
  EXPECT_FALSE(mini->IsWindowVisible());
  EXPECT_TRUE(bar.IsFloating());  // still its frame's, to show again there
  frame->ShowControlBar(&bar, TRUE, FALSE);
  EXPECT_TRUE(mini->IsWindowVisible());
}

// What windows heard of their activation: (window, message, wParam), through a plain
// subclass of each window's procedure.
struct Heard {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  bool operator==(const Heard& o) const { return hwnd == o.hwnd && message == o.message && wParam == o.wParam; }
};
std::vector<Heard> g_heard;
std::map<HWND, WNDPROC> g_procs;
LRESULT CALLBACK Listening(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCACTIVATE || message == WM_FLOATSTATUS) g_heard.push_back({h, message, wParam});
  return ::CallWindowProcA(g_procs[h], h, message, wParam, lParam);
}
void Listen(HWND h) {
  g_procs[h] = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Listening)));
}

TEST_F(Docking, TheFramesFloatingWindowsFollowItsActivation) {
  frame->FloatControlBar(&bar, CPoint(300, 300));
  drv::WaitIdle();
  CFrameWnd* mini = bar.GetParentFrame();
  ASSERT_NE(mini, frame);
  CWnd owned, stranger;  // a palette of the frame, and a window of nobody
  ASSERT_TRUE(owned.CreateEx(0, nullptr, "palette", WS_POPUP, 10, 10, 40, 40, frame->m_hWnd, nullptr));
  ASSERT_TRUE(stranger.CreateEx(0, nullptr, "other", WS_POPUP, 60, 10, 40, 40, nullptr, nullptr));
  g_heard.clear();
  for (HWND h : {frame->m_hWnd, mini->m_hWnd, owned.m_hWnd, stranger.m_hWnd}) Listen(h);

  const HWND f = frame->m_hWnd, m = mini->m_hWnd, o = owned.m_hWnd;
  frame->NotifyFloatingWindows(FS_DEACTIVATE);
  // The frame's caption first; the small frame keeps its caption in step with it.
  auto has = [](const Heard& h) { return std::find(g_heard.begin(), g_heard.end(), h) != g_heard.end(); };
  ASSERT_FALSE(g_heard.empty());
  EXPECT_EQ(g_heard.front(), (Heard{f, WM_NCACTIVATE, FALSE}));
  EXPECT_TRUE(has({m, WM_FLOATSTATUS, FS_DEACTIVATE}));
  EXPECT_TRUE(has({m, WM_NCACTIVATE, FALSE}));
  EXPECT_TRUE(has({o, WM_FLOATSTATUS, FS_DEACTIVATE}));
  for (const Heard& h : g_heard) EXPECT_NE(h.hwnd, stranger.m_hWnd);

  g_heard.clear();
  frame->NotifyFloatingWindows(FS_ACTIVATE);
  EXPECT_EQ(g_heard.front(), (Heard{f, WM_NCACTIVATE, TRUE}));
  EXPECT_TRUE(has({m, WM_NCACTIVATE, TRUE}));
  EXPECT_TRUE(has({o, WM_FLOATSTATUS, FS_ACTIVATE}));

  // A disabled frame (its own modal window is up) never looks active; other flags only
  // reach the floating windows.
  g_heard.clear();
  frame->EnableWindow(FALSE);
  frame->NotifyFloatingWindows(FS_ACTIVATE);
  frame->EnableWindow(TRUE);
  EXPECT_EQ(g_heard.front(), (Heard{f, WM_NCACTIVATE, FALSE}));
  g_heard.clear();
  frame->NotifyFloatingWindows(FS_SHOW);
  EXPECT_TRUE(has({o, WM_FLOATSTATUS, FS_SHOW}));
  for (const Heard& h : g_heard) EXPECT_NE(h.message, static_cast<UINT>(WM_NCACTIVATE));
  owned.DestroyWindow();
  stranger.DestroyWindow();
}

// Drags with the mouse from the bar's middle: where the outline ends decides. (The test's
// input finds its windows as it is made, so every point lies on the frame.)
TEST_F(Docking, DraggingDocksOnTheEdgeUnderTheOutlineAndFloatsElsewhere) {
  struct Case {
    const char* why;
    CPoint to;  // in the frame's client area
    UINT dock;  // 0: floating
  } cases[] = {
      {"to the left edge: docked upright", CPoint(4, 200), AFX_IDW_DOCKBAR_LEFT},
      {"to the middle: floating", CPoint(300, 200), 0},
      {"back on top", CPoint(300, 4), AFX_IDW_DOCKBAR_TOP},
      {"to the bottom edge", CPoint(300, -4), AFX_IDW_DOCKBAR_BOTTOM},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    CRect now;
    bar.GetWindowRect(&now);
    CPoint from = bar.IsFloating() ? now.CenterPoint() : BarPoint(now.Width() / 2, now.Height() / 2);
    CPoint to = c.to;
    if (to.y < 0) to.y += ClientOfFrame().bottom;
    frame->ClientToScreen(&to);
    drv::Drag(from, to, 6);
    drv::WaitIdle();
    frame->RecalcLayout();
    if (c.dock) {
      ASSERT_FALSE(bar.IsFloating());
      EXPECT_EQ(static_cast<UINT>(bar.m_pDockBar->GetDlgCtrlID()), c.dock);
      CRect r;
      bar.GetWindowRect(&r);
      if (c.dock == AFX_IDW_DOCKBAR_LEFT) {
        EXPECT_EQ(r.Size(), CSize(24, 160));
      } else {
        EXPECT_EQ(r.Size(), CSize(160, 24));
      }
      EXPECT_EQ(bar.m_pDockContext->m_uMRUDockID, c.dock);
    } else {
      EXPECT_TRUE(bar.IsFloating());
    }
    EXPECT_EQ(::GetCapture(), nullptr);
  }
}

TEST_F(Docking, EscapeAndARightClickCancelADrag) {
  CRect before = InFrame(bar);
  for (int cancel = 0; cancel < 2; ++cancel) {
    SCOPED_TRACE(cancel == 0 ? "escape" : "right click");
    CPoint from = BarPoint(20, 12), to = BarPoint(300, 200);
    namespace in = plat::user::input;
    in::MouseMove(from.x, from.y);
    in::MouseButton(0, true);
    in::MouseMove(to.x, to.y);
    if (cancel == 0) {
      in::Key(VK_ESCAPE, true);
      in::Key(VK_ESCAPE, false);
    } else {
      in::MouseButton(1, true);
      in::MouseButton(1, false);
    }
    in::MouseButton(0, false);
    drv::WaitIdle();
    EXPECT_FALSE(bar.IsFloating());
    EXPECT_EQ(Text(InFrame(bar)), Text(before));
    EXPECT_EQ(::GetCapture(), nullptr);
  }
}

TEST_F(Docking, AFrameGoesWithItsFloatingAndDockedBars) {
  auto* other = new CPlainBar;
  other->m_bAutoDelete = TRUE;
  other->m_dwStyle = CBRS_LEFT;
  ASSERT_TRUE(other->CreateEx(0, nullptr, "Other", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), frame, kBarId + 2));
  other->EnableDocking(CBRS_ALIGN_ANY);
  frame->FloatControlBar(other, CPoint(250, 250));
  frame->FloatControlBar(&bar, CPoint(350, 350));
  drv::WaitIdle();
  ASSERT_TRUE(other->IsFloating());
  frame->DestroyWindow();
  frame = nullptr;  // gone with its window
  drv::WaitIdle();
  EXPECT_EQ(bar.m_hWnd, nullptr);
  EXPECT_EQ(bar.m_pDockBar, nullptr);
  EXPECT_EQ(bar.m_pDockSite, nullptr);
}

}  // namespace

namespace {

// A rebar along the top: each bar added is a band as tall as the bar wants; the band's
// child sizes can be read and changed, and the frame lays the rebar out as a bar.
TEST_F(Docking, ARebarHoldsBarsAsBands) {
  frame->ShowControlBar(&bar, FALSE, FALSE);
  CReBar rebar;
  ASSERT_TRUE(rebar.Create(frame));
  CPlainBar first, second;
  first.m_dwStyle = second.m_dwStyle = CBRS_TOP;
  ASSERT_TRUE(first.CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), &rebar, 0xE810));
  ASSERT_TRUE(second.CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), &rebar, 0xE811));
  EXPECT_EQ(rebar.GetBandCount(), 0);
  ASSERT_TRUE(rebar.AddBar(&first, "First"));
  ASSERT_TRUE(rebar.AddBar(&second));
  EXPECT_EQ(rebar.GetBandCount(), 2);
  EXPECT_FALSE(rebar.AddBar(nullptr));

  REBARBANDINFO info{};
  info.cbSize = sizeof info;
  info.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE;
  ASSERT_TRUE(rebar.SendMessage(RB_GETBANDINFO, 1, reinterpret_cast<LPARAM>(&info)));
  EXPECT_EQ(info.hwndChild, second.m_hWnd);
  EXPECT_EQ(info.cyMinChild, 24u);
  EXPECT_EQ(info.cxMinChild, 160u);
  // Taller band: the rebar grows by as much and the view makes room for it.
  const int before = InFrame(rebar).Height();
  EXPECT_GE(before, 24 + 24);
  info.fMask = RBBIM_CHILDSIZE;
  info.cyMinChild = 40;
  ASSERT_TRUE(rebar.SendMessage(RB_SETBANDINFO, 1, reinterpret_cast<LPARAM>(&info)));
  frame->RecalcLayout();
  EXPECT_EQ(InFrame(rebar).Height(), before + 16);
  EXPECT_EQ(InFrame(view).top, InFrame(rebar).bottom);
  CRect band;
  ASSERT_TRUE(rebar.SendMessage(RB_GETRECT, 1, reinterpret_cast<LPARAM>(&band)));
  EXPECT_EQ(band.Height(), 40);
  EXPECT_FALSE(rebar.SendMessage(RB_GETBANDINFO, 2, reinterpret_cast<LPARAM>(&info)));
  first.DestroyWindow();
  second.DestroyWindow();
  rebar.DestroyWindow();
}

}  // namespace
