// The main frame as the composition root: its fixed geometry, the panes and hidden
// pipeline objects it makes and wires, its fixed layout, the user tools in the Option
// menu, the toolbar docked on a side and floated, and a shut-down that leaves no window
// behind.
#include <gtest/gtest.h>

#include <afxext.h>

#include <map>
#include <set>
#include <tuple>

#include "FrameRig.h"
#include "controls/SECCustomToolBar.h"
#include "controls/SECUserTool.h"
#include "controls/SECUserTools.h"
#include "control/VexBufferControl.h"
#include "control/VexFlowControl.h"
#include "pipeline/input/VexCCDInput.h"
#include "pipeline/output/VexDisplayOutput.h"
#include "ui/VexMainControlView.h"
#include "ui/VexThumbnailView.h"
#include "user/Driver.h"

namespace {

TEST(MainFrameGeometry, FollowsTheWorkAreaAndTheFontSize) {
  const struct {
    RECT work;
    int base, caption;
    CMainFrame::Geometry g;
  } cases[] = {
      {{0, 0, 1280, 1024}, 8, 19, {128, 128, 984, 736}},   // small fonts
      {{0, 0, 1280, 1024}, 10, 19, {128, 128, 1100, 880}},  // large fonts
      {{0, 0, 1280, 1024}, 8, 22, {128, 128, 987, 739}},   // a taller caption grows the window
      {{0, 0, 1280, 1024}, 6, 19, {128, 128, 984, 736}},   // any other size: the small fonts' rule
      {{0, 0, 800, 600}, 8, 19, {0, 0, 984, 736}},         // a small screen: never off its top left
      {{100, 50, 1380, 1074}, 8, 19, {228, 178, 984, 736}},  // a work area beside a task bar
  };
  for (const auto& c : cases) {
    const CMainFrame::Geometry g = CMainFrame::ComputeGeometry(c.work, c.base, c.caption);
    EXPECT_EQ(g.x, c.g.x) << c.base << " " << c.work.right;
    EXPECT_EQ(g.y, c.g.y) << c.base << " " << c.work.right;
    EXPECT_EQ(g.width, c.g.width) << c.base << " " << c.caption;
    EXPECT_EQ(g.height, c.g.height) << c.base << " " << c.caption;
  }
}

class MainFrameComposition : public FrameRig {
 protected:
  int Column(CSplitterWnd& s, int col) {
    int cur = 0, min = 0;
    s.GetColumnInfo(col, cur, min);
    return cur;
  }
};

TEST_F(MainFrameComposition, TheTemplateMakesTheFixedWindowWithEveryObjectWired) {
  ASSERT_TRUE(Start());
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const auto g = CMainFrame::ComputeGeometry(work, LOWORD(GetDialogBaseUnits()), GetSystemMetrics(SM_CYCAPTION));
  CRect rect;
  frame->GetWindowRect(&rect);
  EXPECT_EQ(rect, CRect(g.x, g.y, g.x + g.width, g.y + g.height));
  const DWORD kinds = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME;
  EXPECT_EQ(frame->GetStyle() & kinds, static_cast<DWORD>(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX));

  // The four panes.
  EXPECT_EQ(frame->LeftDisplay(), frame->LeftSplitter().GetPane(0, 0));
  EXPECT_EQ(static_cast<CWnd*>(frame->ThumbnailView()), frame->LeftSplitter().GetPane(1, 0));
  EXPECT_EQ(frame->RightDisplay(), frame->RightSplitter().GetPane(0, 0));
  EXPECT_EQ(static_cast<CWnd*>(frame->ControlView()), frame->RightSplitter().GetPane(1, 0));
  EXPECT_EQ(Column(frame->OuterSplitter(), 0), 640);
  // The right column takes what the window leaves, its ideal 320 and a little more.
  const int right = Column(frame->OuterSplitter(), 1);
  EXPECT_GE(right, 320);

  // The hidden objects under their ids, each hidden.
  std::map<UINT, HWND> objects;
  for (UINT id : {1124u, 1127u, 1128u, 1129u, 1130u, 1132u, 1134u, 1135u, 1136u, 1137u, 1138u, 1139u, 1140u}) {
    CWnd* w = frame->GetDlgItem(static_cast<int>(id));
    ASSERT_NE(w, nullptr) << id;
    EXPECT_FALSE(w->IsWindowVisible()) << id;
    objects[id] = w->m_hWnd;
  }
  EXPECT_EQ(frame->AreObjectsReady(), 1);
  EXPECT_EQ(frame->IsCameraReady(), 1);

  // In the document, all but the image slots; in the flows, under their step ids.
  std::vector<UINT> views;
  for (POSITION pos = doc->GetFirstViewPosition(); pos;) views.push_back(static_cast<UINT>(doc->GetNextView(pos)->GetDlgCtrlID()));
  for (UINT id : {1127u, 1128u, 1129u, 1130u, 1132u, 1134u, 1135u, 1136u, 1137u, 1138u, 1139u, 1140u})
    EXPECT_NE(std::find(views.begin(), views.end(), id), views.end()) << id;
  EXPECT_EQ(std::find(views.begin(), views.end(), 1124u), views.end());
  CVexFlowControl* flow = frame->FlowControl();
  const std::map<SHORT, UINT> steps = {{0, 1129}, {1, 1130}, {100, 1136}, {101, 1137}, {102, 1134},
                                       {103, 1138}, {104, 1139}, {105, 1140}, {200, 1135}};
  for (const auto& [step, id] : steps) {
    ASSERT_NE(flow->GetStage(step), nullptr) << step;
    EXPECT_EQ(flow->GetStage(step)->m_hWnd, objects[id]) << step;
  }
  EXPECT_EQ(flow->GetStage(300), frame->LeftDisplay());
  EXPECT_EQ(flow->GetStage(301), frame->RightDisplay());

  // The layout cannot be changed: a drag on the bar and a resize both come back.
  CRect left;
  frame->LeftDisplay()->GetWindowRect(&left);
  frame->OuterSplitter().ScreenToClient(&left);
  const int bar = left.right + 4;
  frame->OuterSplitter().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(bar, 100));
  frame->OuterSplitter().SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(bar + 80, 100));
  frame->OuterSplitter().SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(bar + 80, 100));
  frame->MoveWindow(10, 10, 1200, 900);
  frame->GetWindowRect(&rect);
  EXPECT_EQ(rect, CRect(g.x, g.y, g.x + g.width, g.y + g.height));
  EXPECT_EQ(Column(frame->OuterSplitter(), 0), 640);
  EXPECT_EQ(Column(frame->OuterSplitter(), 1), right);

  // A close stops live view and takes every window with it.
  ASSERT_TRUE(PumpUntil([&] { return frame->IsLiveRunning() == 1; }));
  const HWND main = frame->m_hWnd;
  frame->SendMessage(WM_CLOSE);
  EXPECT_FALSE(IsWindow(main));
  for (const auto& [id, hwnd] : objects) EXPECT_FALSE(IsWindow(hwnd)) << id;
}

// Pane 0 takes the whole bar while a menu is open, for long prompts, and comes back
// exactly as it was when the menu closes; the pixel read-out pane fills its column.
TEST_F(MainFrameComposition, TheMessagePaneWidensWhileAMenuIsOpenAndComesBackExactly) {
  ASSERT_TRUE(Start());
  CStatusBar& bar = frame->StatusBar();
  ASSERT_EQ(bar.GetCount(), 4);
  const UINT ids[] = {0, 32818, 32817, 32816};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(bar.GetItemID(i), ids[i]) << i;
  UINT id = 0, style = 0, clockStyle = 0;
  int width = 0, clock = 0;
  bar.GetPaneInfo(3, id, clockStyle, clock);
  bar.GetPaneInfo(2, id, style, width);
  EXPECT_EQ(style, static_cast<UINT>(SBPS_NOBORDERS));
  // What the clock leaves of 320 pixels, or more where the read-out's text needs it.
  EXPECT_GE(width, 320 - clock);
  {
    CClientDC dc(&bar);
    CFont* font = bar.GetFont();
    HGDIOBJ old = ::SelectObject(dc.GetSafeHdc(), font ? font->GetSafeHandle() : ::GetStockObject(DEFAULT_GUI_FONT));
    EXPECT_LE(dc.GetTextExtent(CVexDisplayOutput::PixelInfoText(8888, 8888, 888, 888, 888)).cx, width);
    ::SelectObject(dc.GetSafeHdc(), old);
  }

  UINT id0 = 0, style0 = 0;
  int width0 = 0;
  bar.GetPaneInfo(0, id0, style0, width0);
  CMenu* menu = frame->GetMenu();
  ASSERT_NE(menu, nullptr);
  const HMENU file = menu->GetSubMenu(0)->m_hMenu;
  auto pane0 = [&] {
    UINT i = 0, st = 0;
    int w = 0;
    bar.GetPaneInfo(0, i, st, w);
    return std::make_tuple(i, st, w);
  };
  // The first popup opens before any item is selected: nothing changes yet.
  frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), MAKELPARAM(0, FALSE));
  EXPECT_EQ(pane0(), std::make_tuple(id0, style0, width0));
  frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(57601, MF_HILITE), reinterpret_cast<LPARAM>(file));
  frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), MAKELPARAM(0, FALSE));
  EXPECT_EQ(pane0(), std::make_tuple(id0, static_cast<UINT>(SBPS_STRETCH | SBPS_NOBORDERS), 10000));
  // A second popup keeps what was saved first.
  frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu->GetSubMenu(1)->m_hMenu), MAKELPARAM(1, FALSE));
  frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);  // the menu closes
  EXPECT_EQ(pane0(), std::make_tuple(id0, style0, width0));
}

TEST_F(MainFrameComposition, UserToolsAreOfferedOnlyInTheOptionMenu) {
  CObArray tools;
  auto* tool = new SECUserTool;  // the list owns it until it is cleared
  tool->m_strMenuText = "&Viewer";
  tool->m_strCommand = "C:\\Tools\\viewer.exe";
  tools.Add(tool);
  ASSERT_TRUE(SaveUserTools("C:\\Frame\\frame.tdt", &tools));
  ClearUserTools(&tools);
  ASSERT_TRUE(Start());
  EXPECT_EQ(frame->GetUserToolFile(), CString("C:\\Frame\\frame.tdt"));
  ASSERT_EQ(frame->GetUserTools().GetSize(), 1);
  CMenu* bar = frame->GetMenu();
  ASSERT_NE(bar, nullptr);
  for (UINT i = 0; i < static_cast<UINT>(bar->GetMenuItemCount()); ++i) {
    CMenu* popup = bar->GetSubMenu(static_cast<int>(i));
    frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup->m_hMenu), MAKELPARAM(i, FALSE));
    // A second opening adds nothing more.
    frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup->m_hMenu), MAKELPARAM(i, FALSE));
    CString title;
    bar->GetMenuString(i, title, MF_BYPOSITION);
    int tools = 0;
    for (int k = 0; k < popup->GetMenuItemCount(); ++k) tools += popup->GetMenuItemID(k) == 43044 ? 1 : 0;
    EXPECT_EQ(tools, title == "&Option" ? 1 : 0) << static_cast<LPCSTR>(title);
  }
}

// The toolbar dragged by its gripper to the window's left edge wraps into columns that
// stay above the status bar, every button in reach; dragged off again towards the
// screen's right edge, its floating window opens wholly on the screen.
TEST_F(MainFrameComposition, TheToolbarDockedLeftWrapsIntoColumnsAndFloatsOnTheScreen) {
  ASSERT_TRUE(Start());
  ASSERT_TRUE(PumpUntilEnabled(frame));
  SECCustomToolBar* bar = frame->ToolBar();
  CRect barRect, client, status;
  bar->GetWindowRect(&barRect);
  frame->GetClientRect(&client);
  frame->ClientToScreen(&client);
  plat::user::driver::Drag({barRect.left + 4, barRect.CenterPoint().y}, {client.left + 4, client.CenterPoint().y}, 8);
  plat::user::driver::WaitIdle();
  Pump();
  ASSERT_EQ(bar->m_pDockBar ? bar->m_pDockBar->GetDlgCtrlID() : 0, AFX_IDW_DOCKBAR_LEFT);
  bar->GetWindowRect(&barRect);
  frame->StatusBar().GetWindowRect(&status);
  std::set<LONG> columns;
  for (int i = 0; i < bar->GetButtonCount(); ++i) {
    if (bar->GetButtonStyle(i) & TBBS_HIDDEN) continue;
    CRect button;
    bar->GetItemRect(i, &button);
    bar->ClientToScreen(&button);
    if (bar->GetItemID(i) == 0) continue;  // a separator
    EXPECT_TRUE(button.left >= barRect.left && button.right <= barRect.right && button.top >= barRect.top &&
                button.bottom <= status.top)
        << "button " << i << " out of reach";
    columns.insert(button.left);
  }
  EXPECT_GT(columns.size(), 1u);

  // Off the dock by its gripper (on top of a bar on a side), released over the window near
  // its right edge, where the row of buttons is longer than the room left on the screen.
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
  CRect window;
  frame->GetWindowRect(&window);
  plat::user::driver::Drag({barRect.CenterPoint().x, barRect.top + 4}, {window.right - 150, window.CenterPoint().y}, 8);
  plat::user::driver::WaitIdle();
  Pump();
  ASSERT_TRUE(bar->IsFloating());
  CRect floating;
  bar->GetParentFrame()->GetWindowRect(&floating);
  EXPECT_GE(floating.left, 0);
  EXPECT_GE(floating.top, 0);
  EXPECT_LE(floating.right, screenWidth) << "the close box is off the screen";
  EXPECT_LE(floating.bottom, screenHeight);
}

}  // namespace
