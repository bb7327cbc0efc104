// The library frame: the sides bars dock on, floating frames and their menus, tearing a
// bar off and back, the frame frozen while toolbars are customised, and the gradient
// caption it paints itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "FrameworkFixture.h"
#include "controls/SECToolBarManager.h"
#include "framework/SECMiniDockFrameWnd.h"
#include "user/Driver.h"

namespace framework_test {
namespace {

namespace drv = plat::user::driver;

using FrameWndTest = FrameworkTest;

TEST_F(FrameWndTest, ABarDocksOnTheSideItsAlignmentNames) {
  const struct {
    DWORD style;
    DWORD dockStyle;
    UINT dock;
  } cases[] = {
      {CBRS_ALIGN_TOP, CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_TOP},
      {CBRS_ALIGN_RIGHT, CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_RIGHT},
      {CBRS_ALIGN_BOTTOM, CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_BOTTOM},
      {CBRS_ALIGN_LEFT, CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_LEFT},
      // No single side: the first side the bar may dock on.
      {CBRS_ALIGN_TOP | CBRS_ALIGN_LEFT, CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT, AFX_IDW_DOCKBAR_LEFT},
      {0, CBRS_ALIGN_BOTTOM, AFX_IDW_DOCKBAR_BOTTOM},
  };
  UINT id = ID_TEST_BAR_A;
  for (const auto& c : cases) {
    SECControlBar* bar = MakeBar(frame, id++, "Bar", CSize(80, 30), WS_CHILD | WS_VISIBLE | c.style);
    ASSERT_NE(bar, nullptr);
    bar->EnableDocking(c.dockStyle);
    frame->DockControlBar(bar);
    ASSERT_NE(bar->m_pDockBar, nullptr) << c.style;
    EXPECT_EQ(static_cast<UINT>(bar->m_pDockBar->GetDlgCtrlID()), c.dock) << std::hex << c.style;
    EXPECT_TRUE(dynamic_cast<SECDockBar*>(bar->m_pDockBar)) << c.style;
  }
  // The four dock bars are the library's, on the map's sides.
  EXPECT_EQ(Dock(AFX_IDW_DOCKBAR_TOP)->m_dwStyle & CBRS_ALIGN_ANY, DWORD(CBRS_ALIGN_TOP));
  EXPECT_EQ(Dock(AFX_IDW_DOCKBAR_BOTTOM)->m_dwStyle & CBRS_ALIGN_ANY, DWORD(CBRS_ALIGN_BOTTOM));
  EXPECT_EQ(Dock(AFX_IDW_DOCKBAR_LEFT)->m_dwStyle & CBRS_ALIGN_ANY, DWORD(CBRS_ALIGN_LEFT));
  EXPECT_EQ(Dock(AFX_IDW_DOCKBAR_RIGHT)->m_dwStyle & CBRS_ALIGN_ANY, DWORD(CBRS_ALIGN_RIGHT));
}

TEST_F(FrameWndTest, FloatingFramesMoveByTheirFrameUnlessTheBarSizesItself) {
  const DWORD common = 0x80C83300;
  for (DWORD barStyle : {DWORD(CBRS_SIZE_DYNAMIC), DWORD(0)}) {
    auto* floating = new SECMiniDockFrameWnd;  // deletes itself with its window
    ASSERT_TRUE(floating->Create(frame, barStyle));
    // (The mini frame shows its thin sizing border as a thick frame.)
    const DWORD style = floating->GetStyle() & ~(WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_VISIBLE | WS_THICKFRAME);
    EXPECT_EQ(style, barStyle ? common : 0x80C83B00u) << std::hex << style;
    EXPECT_EQ(floating->m_wndDockBar.GetDlgCtrlID(), AFX_IDW_DOCKBAR_FLOAT);
    EXPECT_EQ(floating->m_wndDockBar.GetParent(), floating);
    EXPECT_TRUE(floating->m_wndDockBar.m_bFloating);
    // Its system menu: the move item and the close item, under the library's text.
    CMenu* sys = floating->GetSystemMenu(FALSE);
    ASSERT_NE(sys, nullptr);
    std::string items;
    for (UINT i = 0; i < sys->GetMenuItemCount(); ++i) {
      const UINT id = sys->GetMenuItemID(static_cast<int>(i));
      if (id == 0) continue;  // a separator
      CString text;
      sys->GetMenuString(i, text, MF_BYPOSITION);
      items += std::to_string(id) + ":" + std::string(text) + ";";
    }
    EXPECT_EQ(items.find(std::to_string(SC_MOVE) + ":"), 0u) << items;
    EXPECT_NE(items.find(";" + std::to_string(SC_CLOSE) + ":&Close;"), std::string::npos) << items;
    EXPECT_EQ(std::count(items.begin(), items.end(), ';'), 2) << items;
    floating->DestroyWindow();
  }
}

TEST_F(FrameWndTest, ABarTornOffFloatsAndItsCaptionDocksItBack) {
  SECControlBar* bar = MakeBar(frame, ID_TEST_BAR_A, "Torn", CSize(160, 50));
  frame->DockControlBar(bar);
  frame->RecalcLayout();
  Settle();
  ASSERT_FALSE(bar->IsFloating());
  CRect start;
  bar->GetWindowRect(&start);
  drv::Drag(start.CenterPoint(), start.CenterPoint() + CPoint(120, 220), 6);
  Settle();
  ASSERT_TRUE(bar->IsFloating());
  auto* floating = dynamic_cast<SECMiniDockFrameWnd*>(bar->GetParentFrame());
  ASSERT_NE(floating, nullptr);
  EXPECT_TRUE(floating->IsWindowVisible());
  CString caption;
  floating->GetWindowText(caption);
  EXPECT_EQ(caption, "Torn");
  CRect frameRect;
  floating->GetWindowRect(&frameRect);
  const HWND floatingWnd = floating->m_hWnd;
  drv::DoubleClick(frameRect.left + 30, frameRect.top + ::GetSystemMetrics(SM_CYFRAME) + 3);
  Settle();
  EXPECT_FALSE(bar->IsFloating());
  EXPECT_EQ(bar->m_pDockBar, Dock(AFX_IDW_DOCKBAR_TOP));
  // Its last bar gone, the floating frame went with it.
  EXPECT_FALSE(::IsWindow(floatingWnd));
}

TEST_F(FrameWndTest, ClosingAFloatingFrameHidesItsBarsAndKeepsIt) {
  SECControlBar* bar = MakeBar(frame, ID_TEST_BAR_A, "Closed", CSize(160, 50));
  frame->DockControlBar(bar);
  frame->FloatBar(bar, CPoint(300, 280));
  Settle();
  CFrameWnd* floating = bar->GetParentFrame();
  ASSERT_TRUE(dynamic_cast<SECMiniDockFrameWnd*>(floating));
  floating->SendMessage(WM_CLOSE);
  Idle();
  EXPECT_TRUE(::IsWindow(floating->m_hWnd));
  EXPECT_FALSE(bar->IsVisible());
  EXPECT_FALSE(floating->IsWindowVisible());
}

TEST_F(FrameWndTest, CustomiseModeFreezesTheFrame) {
  SECToolBarManager manager(frame);
  frame->SetManager(&manager);
  manager.EnterConfigMode();
  const CPoint inCaption(80 + 60, 40 + 10);
  EXPECT_EQ(static_cast<int>(frame->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(inCaption.x, inCaption.y))), HTERROR);
  frame->SetActiveWindow();
  drv::PressKey(VK_F4, drv::kAlt);
  Settle();
  EXPECT_TRUE(::IsWindow(frame->m_hWnd));
  frame->SendMessage(WM_SYSCOMMAND, SC_CLOSE);
  frame->PostMessage(WM_SYSCOMMAND, SC_CLOSE);
  Settle();
  EXPECT_TRUE(::IsWindow(frame->m_hWnd));
  manager.ExitConfigMode();
  EXPECT_NE(static_cast<int>(frame->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(inCaption.x, inCaption.y))), HTERROR);
  frame->SetManager(nullptr);
}

class CaptionTest : public FrameworkTest {
 protected:
  COLORREF Pixel(int x, int y) {
    CWindowDC dc(frame);
    return dc.GetPixel(x, y);
  }
  // The caption's pixel row through its middle, past the icon square.
  std::vector<COLORREF> Row(int y) {
    const CRect caption = frame->GetCaptionRect();
    std::vector<COLORREF> row;
    for (int x = caption.left + ::GetSystemMetrics(SM_CXSIZE); x < caption.right; ++x) row.push_back(Pixel(x, y));
    return row;
  }
};

TEST_F(CaptionTest, AnActiveCaptionRunsFromBlackInSixtyBands) {
  frame->SetWindowText("");
  frame->EnableCustomCaption(TRUE);
  Settle();
  frame->SendMessage(WM_NCACTIVATE, TRUE);
  Settle();
  const CRect caption = frame->GetCaptionRect();
  const std::vector<COLORREF> row = Row(caption.top + 2);
  ASSERT_FALSE(row.empty());
  EXPECT_EQ(row.front(), RGB(0, 0, 0));
  const int width = caption.Width() - ::GetSystemMetrics(SM_CXSIZE);
  const int band = width / 60;
  // Equal bands: the colour changes only at band edges, and never goes back.
  int changes = 0;
  for (size_t x = 1; x < row.size(); ++x) {
    if (row[x] == row[x - 1]) continue;
    ++changes;
    EXPECT_EQ(static_cast<int>(x) % band, 0) << x;
    EXPECT_GE(GetBValue(row[x]), GetBValue(row[x - 1]));
  }
  EXPECT_GT(changes, 30);
  const COLORREF target = ::GetSysColor(COLOR_ACTIVECAPTION);
  EXPECT_NEAR(GetBValue(row.back()), GetBValue(target), GetBValue(target) / 60 + 2);

  frame->SendMessage(WM_NCACTIVATE, FALSE);
  Settle();
  for (COLORREF c : Row(caption.top + 2)) ASSERT_EQ(c, ::GetSysColor(COLOR_INACTIVECAPTION));
}

TEST_F(CaptionTest, TheTitleSplitsAtItsDashAndANarrowCaptionDropsTheRest) {
  frame->EnableCustomCaption(TRUE);
  frame->SetWindowText("Doc - App");
  Settle();
  frame->SendMessage(WM_NCACTIVATE, TRUE);
  Settle();
  const CRect caption = frame->GetCaptionRect();
  auto whiteColumns = [&](int from, int to) {
    int count = 0;
    for (int x = from; x < to; ++x)
      for (int y = caption.top; y < caption.bottom; ++y)
        if (Pixel(x, y) == RGB(255, 255, 255)) {
          ++count;
          break;
        }
    return count;
  };
  CWindowDC dc(frame);
  CFont italic;
  frame->CreateAppTitleFont(italic);
  CFont* old = dc.SelectObject(&italic);
  const int first = dc.GetTextExtent("Doc ").cx, ellipsis = dc.GetTextExtent("W...").cx;
  dc.SelectObject(old);
  const int start = caption.left + ::GetSystemMetrics(SM_CXSIZE) + 3;
  EXPECT_GT(whiteColumns(start, start + first), 0);
  EXPECT_GT(whiteColumns(start + first, start + first + 40), 0);  // "- App" after it
  Screenshot("caption-wide.png");

  // Narrower than "Doc " and "W...": only the first part shows.
  for (int width = 400; width > 40; --width) {
    frame->SetWindowPos(nullptr, 0, 0, width, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const int area = frame->GetCaptionRect().Width() - ::GetSystemMetrics(SM_CXSIZE);
    if (area < first + ellipsis && area > first + 4) break;
  }
  frame->SendMessage(WM_NCACTIVATE, TRUE);
  Settle();
  const CRect small = frame->GetCaptionRect();
  ASSERT_LT(small.Width() - ::GetSystemMetrics(SM_CXSIZE), first + ellipsis);
  EXPECT_EQ(whiteColumns(start + first + 2, small.right), 0);
}

TEST_F(FrameWndTest, ASampleFrameWithRowsSplittersAFloatingBarAndItsCaption) {
  frame->SetWindowText("Layout - Docking");
  frame->EnableCustomCaption(TRUE);
  // The gripper is part of the flat (cool) look.
  const DWORD gripper = CBRS_EX_COOL | CBRS_EX_GRIPPER | CBRS_EX_GRIPPER_CLOSE | CBRS_EX_GRIPPER_EXPAND;
  SECControlBar* a = MakeBar(frame, ID_TEST_BAR_A, "Palette", CSize(120, 44), WS_CHILD | WS_VISIBLE | CBRS_TOP, gripper);
  SECControlBar* b = MakeBar(frame, ID_TEST_BAR_B, "Tools", CSize(120, 44), WS_CHILD | WS_VISIBLE | CBRS_TOP, gripper);
  SECControlBar* c =
      MakeBar(frame, ID_TEST_BAR_C, "Outline", CSize(110, 120), WS_CHILD | WS_VISIBLE | CBRS_LEFT, gripper);
  SECControlBar* d = MakeBar(frame, ID_TEST_BAR_D, "Floating", CSize(150, 70), WS_CHILD | WS_VISIBLE | CBRS_TOP, gripper);
  frame->DockControlBarEx(a, AFX_IDW_DOCKBAR_TOP, 0, 0, 0.4f, 44);
  frame->DockControlBarEx(b, AFX_IDW_DOCKBAR_TOP, 1, 0, 0.6f, 44);
  frame->DockControlBar(c, AFX_IDW_DOCKBAR_LEFT);
  frame->DockControlBar(d);
  frame->FloatBar(d, CPoint(460, 300));
  frame->RecalcLayout();
  frame->SendMessage(WM_NCACTIVATE, TRUE);
  Idle();
  EXPECT_EQ(Rows(*Dock(AFX_IDW_DOCKBAR_TOP)), "0 Palette Tools 0 #" + std::to_string(ID_TEST_BAR_D) + " 0");
  EXPECT_TRUE(d->IsFloating());
  Screenshot("dock-frame.png", d->GetParentFrame());
  // Each docked bar shows its gripper's two raised lines: down the left side of a bar on
  // top, across the top of a bar on the left; the floating bar shows none.
  const COLORREF hilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
  auto raisedLines = [&](CWnd* bar, bool across) {
    CWindowDC dc(bar);
    CRect r;
    bar->GetClientRect(&r);
    int lines = 0;
    for (int i = 0; i < 20; ++i) {
      const COLORREF c = across ? dc.GetPixel(r.Width() / 3, i) : dc.GetPixel(i, r.Height() * 3 / 4);
      if (c == hilite) ++lines;
    }
    return lines;
  };
  EXPECT_EQ(raisedLines(a, false), 2);
  EXPECT_EQ(raisedLines(b, false), 2);
  EXPECT_EQ(raisedLines(c, true), 2);
  EXPECT_EQ(raisedLines(d, false), 0);
}

}  // namespace
}  // namespace framework_test
