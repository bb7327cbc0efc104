// The class library's bar: its gripper with the close and expand buttons, the close
// button's mouse handling, switching docking off and on, children kept in proportion,
// and the gripper buttons' tooltips.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "BarFixture.h"
#include "controls/SECResourceIds.h"
#include "framework/SECDockBar.h"

namespace toolkit_test {
namespace {

namespace in = plat::user::input;

constexpr DWORD kGripperStyles = CBRS_EX_COOL | CBRS_EX_GRIPPER | CBRS_EX_GRIPPER_CLOSE | CBRS_EX_GRIPPER_EXPAND;

class BarGripper : public BarTest {
 protected:
  // A panel docked on top, made as the library's bars are: by the frame, auto-deleted.
  SECControlBar* MakePanel(DWORD exStyle, UINT id = 0xE830) {
    auto* panel = new SECControlBar;
    panel->m_bAutoDelete = TRUE;
    if (!panel->Create(frame, "Panel", WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_TOOLTIPS, exStyle, id)) return nullptr;
    panel->m_szHorz = CSize(300, 60);
    panel->EnableDocking(CBRS_ALIGN_ANY);
    frame->DockControlBar(panel);
    frame->RecalcLayout();
    panel->RedrawWindow();
    Settle();
    return panel;
  }
  static COLORREF At(const SECControlBar& bar, int x, int y) { return ScreenPixel(OnScreen(bar, CPoint(x, y))); }
  static int NonFace(const SECControlBar& bar, const CRect& r) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += At(bar, x, y) != ::GetSysColor(COLOR_BTNFACE);
    return n;
  }
  static std::string Tip(const SECControlBar& bar, CPoint point, INT_PTR* id) {
    TOOLINFO ti{};
    ti.cbSize = sizeof ti;
    *id = bar.OnToolHitTest(point, &ti);
    std::string text = ti.lpszText && ti.lpszText != LPSTR_TEXTCALLBACK ? ti.lpszText : "";
    if (ti.lpszText && ti.lpszText != LPSTR_TEXTCALLBACK) free(ti.lpszText);
    return text;
  }
};

TEST_F(BarGripper, ADockedBarShowsItsGripperWithCloseAboveExpand) {
  SECControlBar* panel = MakePanel(kGripperStyles);
  ASSERT_NE(panel, nullptr);
  // The gripper runs down the left side, 17 wide, inside the 1-pixel cool border and
  // the inset of 3 at its ends; the buttons are 11-pixel squares, close first.
  EXPECT_EQ(panel->m_rcClose, CRect(3, 4, 14, 15));
  EXPECT_EQ(panel->m_rcExpand, CRect(3, 17, 14, 28));
  EXPECT_GT(NonFace(*panel, panel->m_rcClose), 0);
  EXPECT_GT(NonFace(*panel, panel->m_rcExpand), 0);
  // Two raised lines, 3 pixels wide, 4 and 8 pixels in from the gripper's left (x 1).
  const COLORREF hi = ::GetSysColor(COLOR_BTNHIGHLIGHT), sh = ::GetSysColor(COLOR_BTNSHADOW),
                 face = ::GetSysColor(COLOR_BTNFACE);
  const struct {
    int x;
    COLORREF colour;
  } columns[] = {{4, face}, {5, hi}, {6, face}, {7, sh}, {8, face}, {9, hi}, {10, face}, {11, sh}, {12, face}};
  for (const auto& c : columns) EXPECT_EQ(At(*panel, c.x, 40), c.colour) << c.x;
  EXPECT_EQ(At(*panel, 5, 29), face);  // the lines start below the expand button
  EXPECT_EQ(At(*panel, 5, 31), hi);
  // The inside leaves the gripper out.
  CRect inside;
  panel->GetInsideRect(inside);
  EXPECT_EQ(inside.left, 17);
  EXPECT_EQ(inside.top, 3);
  // Floating, the bar has no gripper.
  frame->FloatControlBar(panel, InFrame(CPoint(200, 200)));
  Settle();
  panel->RedrawWindow();
  Settle();
  EXPECT_EQ(NonFace(*panel, CRect(3, 4, 14, 28)), 0);
}

TEST_F(BarGripper, TheCloseButtonHidesOnReleaseInsideOnly) {
  SECControlBar* panel = MakePanel(kGripperStyles);
  ASSERT_NE(panel, nullptr);
  CPoint close = OnScreen(*panel, panel->m_rcClose.CenterPoint());
  CPoint away = InFrame(CPoint(300, 300));
  // Pressed, then released outside: nothing hides.
  in::MouseMove(close.x, close.y);
  in::MouseButton(0, true);
  Settle();
  EXPECT_TRUE(panel->m_bClosePressed);
  EXPECT_EQ(::GetCapture(), panel->m_hWnd);
  in::MouseMove(away.x, away.y);
  in::MouseButton(0, false);
  Settle();
  EXPECT_FALSE(panel->m_bClosePressed);
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_TRUE(panel->IsWindowVisible());
  // Released inside: the bar hides.
  drv::Click(close.x, close.y);
  Settle();
  EXPECT_FALSE(panel->IsWindowVisible());
  EXPECT_FALSE(panel->m_bClosePressed);
}

TEST_F(BarGripper, TheCloseButtonOfAFloatingBarDoesNothing) {
  SECControlBar* panel = MakePanel(kGripperStyles);
  ASSERT_NE(panel, nullptr);
  CPoint close = panel->m_rcClose.CenterPoint();
  frame->FloatControlBar(panel, InFrame(CPoint(200, 200)));
  Settle();
  ASSERT_TRUE(panel->IsFloating());
  // Where the button was, a click at most moves the bar (a drag that goes nowhere).
  CPoint there = OnScreen(*panel, close);
  drv::Click(there.x, there.y);
  Settle();
  EXPECT_FALSE(panel->m_bClosePressed);
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_TRUE(panel->IsWindowVisible());
}

TEST_F(BarGripper, AllowDockingOffFloatsAndOnRestoresTheSides) {
  SECControlBar* panel = MakePanel(kGripperStyles);
  ASSERT_NE(panel, nullptr);
  panel->EnableDocking(CBRS_ALIGN_TOP | CBRS_ALIGN_LEFT);
  panel->SendMessage(WM_COMMAND, ID_SEC_ALLOW_DOCKING);
  Settle();
  EXPECT_TRUE(panel->IsFloating());
  EXPECT_EQ(panel->m_dwDockStyle & CBRS_ALIGN_ANY, 0u);
  // Nowhere to dock: a double click on its frame's caption leaves it floating.
  panel->m_pDockContext->ToggleDocking();
  Settle();
  EXPECT_TRUE(panel->IsFloating());
  panel->SendMessage(WM_COMMAND, ID_SEC_ALLOW_DOCKING);
  EXPECT_EQ(panel->m_dwDockStyle & CBRS_ALIGN_ANY, static_cast<DWORD>(CBRS_ALIGN_TOP | CBRS_ALIGN_LEFT));
  panel->m_pDockContext->ToggleDocking();
  Settle();
  EXPECT_FALSE(panel->IsFloating());
}

TEST_F(BarGripper, ChildrenKeepTheirProportionsFromTheFirstRealSize) {
  // Made with an empty rectangle, the bar records a client of 0 x 0: nothing to scale
  // from until it has a size.
  auto* panel = new SECControlBar;
  panel->m_bAutoDelete = TRUE;
  ASSERT_TRUE(panel->Create(frame, "Panel", WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, CBRS_EX_CHILDPROPORTIONS, 0xE831));
  CWnd left, right;
  ASSERT_TRUE(left.CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE, CRect(20, 10, 61, 50), panel, 1));
  ASSERT_TRUE(right.CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE, CRect(101, 10, 181, 90), panel, 2));
  panel->SetWindowPos(nullptr, 0, 0, 200, 100, SWP_NOZORDER | SWP_NOACTIVATE);
  auto placed = [&](CWnd& child) {
    CRect r;
    child.GetWindowRect(&r);
    panel->ScreenToClient(&r);
    return r;
  };
  EXPECT_EQ(placed(left), CRect(20, 10, 61, 50));  // recorded as they stand
  panel->SetWindowPos(nullptr, 0, 0, 100, 100, SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(placed(left), CRect(10, 10, 30, 50));   // 61 / 2 = 30 in integers
  EXPECT_EQ(placed(right), CRect(50, 10, 90, 90));  // 101 / 2 = 50, 181 / 2 = 90
  panel->SetWindowPos(nullptr, 0, 0, 200, 50, SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(placed(right), CRect(101, 5, 181, 45));
  left.DestroyWindow();
  right.DestroyWindow();
}

TEST_F(BarGripper, TheGripperButtonsHaveTheirTooltips) {
  // The library's own dock bar on top, which knows the expanded bar of a row.
  frame->GetControlBar(AFX_IDW_DOCKBAR_TOP)->DestroyWindow();
  auto* dock = new SECDockBar;
  ASSERT_TRUE(dock->Create(frame, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | CBRS_TOP, AFX_IDW_DOCKBAR_TOP));
  SECControlBar* panel = MakePanel(kGripperStyles);
  ASSERT_NE(panel, nullptr);
  ASSERT_EQ(panel->m_pDockBar, dock);
  struct Case {
    float share;
    CPoint at;
    INT_PTR id;
    std::string text;
  } cases[] = {
      {1.0f, panel->m_rcClose.CenterPoint(), SEC_TOOLID_CLOSE, "Hide docked window"},
      {1.0f, panel->m_rcExpand.CenterPoint(), SEC_TOOLID_EXPAND, "Contract docked window"},
      {0.05f, panel->m_rcExpand.CenterPoint(), SEC_TOOLID_EXPAND, "Expand docked window"},
      {0.05f, CPoint(100, 30), -1, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    panel->m_fPctWidth = c.share;
    panel->UpdateExpandButtonState();
    INT_PTR id = 0;
    EXPECT_EQ(Tip(*panel, c.at, &id), c.text);
    EXPECT_EQ(id, c.id);
  }
  // Floating, the gripper buttons have no tips.
  frame->FloatControlBar(panel, InFrame(CPoint(200, 200)));
  Settle();
  INT_PTR id = 0;
  EXPECT_EQ(Tip(*panel, panel->m_rcClose.CenterPoint(), &id), "");
  EXPECT_EQ(id, -1);
}

}  // namespace
}  // namespace toolkit_test
