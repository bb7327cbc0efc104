// The toolbar manager: listeners and the codes they hear, user toolbars, frame-wide
// settings (tooltips, cool look, large buttons), customise mode and its selection,
// default button lists and the check-box toggle on every toolbar.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "BarFixture.h"
#include "controls/SECToolBarManager.h"

namespace toolkit_test {
namespace {

// A window that keeps every "WM_BARNOTIFY" it hears as (bar id, code).
class Listener : public CWnd {
 public:
  std::vector<std::pair<UINT, int>> heard;
  BOOL Make() { return CreateEx(0, AfxRegisterWndClass(0), "listener", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0); }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == SECToolBarManager::BarNotifyMessage())
      heard.emplace_back(static_cast<UINT>(wParam), static_cast<int>(lParam));
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

class ToolBarManager : public BarTest {
 protected:
  void SetUp() override {
    BarTest::SetUp();
    manager = std::make_unique<SECToolBarManager>(frame);
    ASSERT_TRUE(listener.Make());
    manager->AddListener(&listener);
  }
  void TearDown() override {
    if (listener.m_hWnd) listener.DestroyWindow();
    BarTest::TearDown();  // the bars go with the frame, before the manager
    manager.reset();
  }
  // A toolbar of the manager, docked on top and filled from `resource`.
  SECCustomToolBar* ManagedBar(UINT resource, UINT id) {
    auto* bar = new SECCustomToolBar;
    bar->m_bAutoDelete = TRUE;
    bar->m_pManager = manager.get();
    bar->SetBitmapManager(manager->GetBmpMgr());
    if (!bar->CreateEx(CBRS_EX_COOL | CBRS_EX_GRIPPER, frame, kProgramToolBarStyle, id, "Tools")) return nullptr;
    if (!bar->LoadToolBar(resource)) return nullptr;
    bar->EnableDocking(CBRS_ALIGN_ANY);
    frame->DockControlBar(bar);
    frame->RecalcLayout();
    Settle();
    return bar;
  }
  std::unique_ptr<SECToolBarManager> manager;
  Listener listener;
};

using Heard = std::vector<std::pair<UINT, int>>;

TEST_F(ToolBarManager, ListenersHearBarsMadeShownHiddenAndDestroyed) {
  SECCustomToolBar* bar = ManagedBar(IDR_TEST_TOOLBAR, 0xE900);
  ASSERT_NE(bar, nullptr);
  // A visible bar is shown while it is made and again as it docks; "created" comes once
  // the window exists.
  EXPECT_NE(std::find(listener.heard.begin(), listener.heard.end(), std::make_pair(0xE900u, 2)),
            listener.heard.end());
  listener.heard.clear();
  frame->ShowControlBar(bar, FALSE, FALSE);
  ASSERT_FALSE(listener.heard.empty());
  EXPECT_EQ(listener.heard.back(), std::make_pair(0xE900u, 1));
  listener.heard.clear();
  frame->ShowControlBar(bar, TRUE, FALSE);
  ASSERT_FALSE(listener.heard.empty());
  EXPECT_EQ(listener.heard.back(), std::make_pair(0xE900u, 0));
  listener.heard.clear();
  bar->DestroyWindow();  // hidden as it goes, then gone
  EXPECT_EQ(listener.heard, (Heard{{0xE900u, 1}, {0xE900u, 3}}));

  // A listener that left hears nothing; one that is gone is passed over.
  manager->RemoveListener(&listener);
  Listener gone;
  ASSERT_TRUE(gone.Make());
  manager->AddListener(&gone);
  gone.DestroyWindow();
  listener.heard.clear();
  ASSERT_NE(ManagedBar(IDR_TEST_TOOLBAR2, 0xE901), nullptr);
  EXPECT_TRUE(listener.heard.empty());
}

TEST_F(ToolBarManager, UserToolBarsTakeTheFirstFreeIdAndANumberedTitle) {
  SECCustomToolBar* first = manager->CreateUserToolBar();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->GetDlgCtrlID(), 0xE820);
  CString title;
  first->GetWindowText(title);
  EXPECT_STREQ(title, "ToolBar1");
  EXPECT_EQ(first->GetBarStyle() & (CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC),
            static_cast<DWORD>(CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC));
  EXPECT_EQ(first->GetBitmapManager(), manager->GetBmpMgr());
  EXPECT_TRUE(first->m_bAutoDelete);
  ASSERT_FALSE(listener.heard.empty());
  EXPECT_EQ(listener.heard.back(), std::make_pair(0xE820u, 2));

  SECCustomToolBar* named = manager->CreateUserToolBar("Mine");
  ASSERT_NE(named, nullptr);
  EXPECT_EQ(named->GetDlgCtrlID(), 0xE821);
  named->GetWindowText(title);
  EXPECT_STREQ(title, "Mine");
  first->DestroyWindow();  // its id is free again
  SECCustomToolBar* again = manager->CreateUserToolBar();
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->GetDlgCtrlID(), 0xE820);

  manager->SetToolBarClass(RUNTIME_CLASS(CObject));  // not a toolbar: none made
  EXPECT_EQ(manager->CreateUserToolBar(), nullptr);
}

TEST_F(ToolBarManager, NoUserToolBarOnceEveryIdIsTaken) {
  for (UINT id = 0xE820; id <= 0xE8FF; ++id) {
    auto* bar = new SECCustomToolBar;
    bar->m_bAutoDelete = TRUE;
    ASSERT_TRUE(bar->CreateEx(0, frame, WS_CHILD | CBRS_TOP, id));
  }
  EXPECT_EQ(manager->CreateUserToolBar(), nullptr);
}

TEST_F(ToolBarManager, SettingsReachEveryToolBar) {
  SECCustomToolBar* a = ManagedBar(IDR_TEST_TOOLBAR, 0xE900);
  SECCustomToolBar* b = ManagedBar(IDR_TEST_TOOLBAR2, 0xE901);
  ASSERT_TRUE(a && b);
  manager->EnableToolTips(FALSE);
  for (SECCustomToolBar* bar : {a, b}) EXPECT_FALSE(bar->GetBarStyle() & CBRS_TOOLTIPS);
  manager->EnableToolTips(TRUE);
  for (SECCustomToolBar* bar : {a, b}) EXPECT_TRUE(bar->GetBarStyle() & CBRS_TOOLTIPS);

  a->SetExBarStyle(a->GetExBarStyle() & ~0x0300u, FALSE);
  manager->EnableCoolLook(TRUE, 0x0300);
  for (SECCustomToolBar* bar : {a, b}) EXPECT_EQ(bar->GetExBarStyle() & 0x0300u, 0x0300u);
  EXPECT_TRUE(frame->m_nIdleFlags & CFrameWnd::idleLayout);
  manager->EnableCoolLook(FALSE, 0x0300);
  for (SECCustomToolBar* bar : {a, b}) EXPECT_EQ(bar->GetExBarStyle() & 0x0300u, 0u);

  manager->EnableLargeButtons(TRUE);
  for (SECCustomToolBar* bar : {a, b}) {
    CRect button;
    bar->GetItemRect(0, &button);
    EXPECT_EQ(button.Size(), CSize(29, 31));
  }
  manager->EnableLargeButtons(FALSE);
  CRect small;
  a->GetItemRect(0, &small);
  EXPECT_EQ(small.Size(), CSize(23, 22));
}

TEST_F(ToolBarManager, CustomiseModeDisablesTheFramesOtherChildrenOnce) {
  SECCustomToolBar* bar = ManagedBar(IDR_TEST_TOOLBAR, 0xE900);
  ASSERT_NE(bar, nullptr);
  CWnd extra;  // a child that goes while customising
  ASSERT_TRUE(extra.CreateEx(0, AfxRegisterWndClass(0), "", WS_CHILD, CRect(0, 0, 5, 5), frame, 77));
  manager->EnterConfigMode();
  manager->EnterConfigMode();
  EXPECT_TRUE(manager->IsConfigMode());
  EXPECT_FALSE(view.IsWindowEnabled());
  EXPECT_TRUE(frame->GetControlBar(AFX_IDW_DOCKBAR_TOP)->IsWindowEnabled());
  EXPECT_TRUE(bar->IsWindowEnabled());
  extra.DestroyWindow();
  manager->ExitConfigMode();
  EXPECT_FALSE(manager->IsConfigMode());
  EXPECT_TRUE(view.IsWindowEnabled());
  frame->EnableWindow(TRUE);
}

TEST_F(ToolBarManager, OneSelectionAcrossTheToolBars) {
  SECCustomToolBar* a = ManagedBar(IDR_TEST_TOOLBAR, 0xE900);
  SECCustomToolBar* b = ManagedBar(IDR_TEST_TOOLBAR2, 0xE901);
  ASSERT_TRUE(a && b);
  manager->SetConfigFocus(&view);
  EXPECT_EQ(a->m_pCustomiseFocus, &view);
  listener.heard.clear();
  a->SelectButton(1);
  EXPECT_EQ(a->GetSelection(), 1);
  EXPECT_TRUE(a->GetButtonStyle(1) & SEC_TBBS_CUSTSELECTED);
  b->SelectButton(0);
  EXPECT_EQ(a->GetSelection(), -1);
  EXPECT_FALSE(a->GetButtonStyle(1) & SEC_TBBS_CUSTSELECTED);
  EXPECT_EQ(manager->GetSelectedBar(), b);
  a->ClearSelection();  // only the bar that holds it clears it
  EXPECT_EQ(b->GetSelection(), 0);
  EXPECT_EQ(listener.heard, (Heard{{0xE900u, 4}, {0xE900u, 4}, {0xE901u, 4}}));
  manager->SetConfigFocus(nullptr);  // a new focus clears the selection
  EXPECT_EQ(manager->GetSelectedBar(), nullptr);
  EXPECT_FALSE(b->GetButtonStyle(0) & SEC_TBBS_CUSTSELECTED);
}

TEST_F(ToolBarManager, DefaultButtonListsByBarId) {
  const UINT ids[] = {ID_TEST_CMD_A, ID_TEST_CMD_C};
  manager->SetDefaultButtons(0xE900, ids, 2);
  const UINT* got = nullptr;
  int count = 0;
  ASSERT_TRUE(manager->GetDefaultButtons(0xE900, got, count));
  EXPECT_EQ(std::vector<UINT>(got, got + count), std::vector<UINT>(ids, ids + 2));
  EXPECT_FALSE(manager->GetDefaultButtons(0xE901, got, count));
}

TEST_F(ToolBarManager, ReleasingACheckBoxTogglesItOnEveryToolBar) {
  SECCustomToolBar* a = ManagedBar(IDR_TEST_TOOLBAR, 0xE900);
  SECCustomToolBar* b = ManagedBar(IDR_TEST_TOOLBAR, 0xE901);
  ASSERT_TRUE(a && b);
  Idle();
  const int d = 4;  // ID_TEST_CMD_D: a handler, no update handler
  ASSERT_EQ(a->GetItemID(d), static_cast<UINT>(ID_TEST_CMD_D));
  for (SECCustomToolBar* bar : {a, b}) bar->SetButtonStyle(d, bar->GetButtonStyle(d) | TBBS_CHECKBOX);
  for (bool checked : {true, false}) {
    const CPoint p = ButtonOnScreen(*a, d).CenterPoint();
    drv::Click(p.x, p.y);
    Settle();
    for (SECCustomToolBar* bar : {a, b}) EXPECT_EQ((bar->GetButtonStyle(d) & TBBS_CHECKED) != 0, checked);
  }
  EXPECT_EQ(frame->commands, (std::vector<UINT>{ID_TEST_CMD_D, ID_TEST_CMD_D}));
}

TEST_F(ToolBarManager, WhileCustomisingAFloatingBarHidesAtOnce) {
  SECCustomToolBar* bar = ManagedBar(IDR_TEST_TOOLBAR, 0xE900);
  ASSERT_NE(bar, nullptr);
  frame->FloatControlBar(bar, InFrame(ViewRect().CenterPoint()));
  Settle();
  CFrameWnd* floating = bar->GetParentFrame();
  ASSERT_TRUE(bar->IsFloating());
  ASSERT_TRUE(floating->IsWindowVisible());

  // Outside customise mode a delayed hide waits for the idle layout.
  frame->ShowControlBar(bar, FALSE, TRUE);
  Settle();
  EXPECT_TRUE(bar->IsWindowVisible());
  Idle();
  EXPECT_FALSE(bar->IsWindowVisible());
  frame->ShowControlBar(bar, TRUE, FALSE);
  Settle();
  ASSERT_TRUE(floating->IsWindowVisible());

  // Customising: the bar and its floating frame go as soon as the posted message comes.
  manager->EnterConfigMode();
  frame->ShowControlBar(bar, FALSE, TRUE);
  EXPECT_TRUE(bar->m_bDelayHide);
  Settle();
  EXPECT_FALSE(bar->IsWindowVisible());
  EXPECT_FALSE(floating->IsWindowVisible());
  EXPECT_FALSE(bar->m_bDelayHide);
  manager->ExitConfigMode();
  frame->EnableWindow(TRUE);
}

TEST_F(ToolBarManager, WhileCustomisingADockedBarIsNotActivatedByAClick) {
  SECCustomToolBar* docked = ManagedBar(IDR_TEST_TOOLBAR, 0xE900);
  SECCustomToolBar* floating = ManagedBar(IDR_TEST_TOOLBAR2, 0xE901);
  ASSERT_TRUE(docked && floating);
  frame->FloatControlBar(floating, InFrame(ViewRect().CenterPoint()));
  Settle();
  auto activate = [](SECCustomToolBar* bar) {
    return static_cast<int>(bar->SendMessage(WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(bar->GetTopLevelParent()->m_hWnd),
                                             MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)));
  };
  const int dockedBefore = activate(docked), floatingBefore = activate(floating);
  EXPECT_NE(dockedBefore, MA_NOACTIVATE);
  manager->EnterConfigMode();
  EXPECT_EQ(activate(docked), MA_NOACTIVATE);
  EXPECT_EQ(activate(floating), floatingBefore);
  manager->ExitConfigMode();
  frame->EnableWindow(TRUE);
  EXPECT_EQ(activate(docked), dockedBefore);
}

TEST_F(ToolBarManager, AnAltDragOutsideCustomisingMovesAButtonAndLeavesNoSelection) {
  SECCustomToolBar* a = ManagedBar(IDR_TEST_TOOLBAR, 0xE900);
  SECCustomToolBar* b = ManagedBar(IDR_TEST_TOOLBAR2, 0xE901);
  ASSERT_TRUE(a && b);
  Idle();
  const UINT moved = a->GetItemID(0);
  const int before = b->GetButtonCount();
  const CPoint from = ButtonOnScreen(*a, 0).CenterPoint();
  const CRect onto = ButtonOnScreen(*b, 1);
  plat::user::input::Key(VK_MENU, true);
  drv::Drag(from, CPoint(onto.left + 6, onto.CenterPoint().y));
  plat::user::input::Key(VK_MENU, false);
  Settle();
  EXPECT_EQ(b->GetButtonCount(), before + 1);
  EXPECT_EQ(b->GetItemID(1), moved);
  EXPECT_NE(a->GetItemID(0), moved);
  EXPECT_EQ(manager->GetSelectedBar(), nullptr);
  EXPECT_FALSE(SECCustomToolBar::s_bDraggingButton);
  EXPECT_TRUE(frame->commands.empty());  // a drag, not a press
}


// Notes whether a menu loop ran: it offers each message it takes to the filter hooks.
struct MenuModeWatch {
  static inline MenuModeWatch* current = nullptr;
  bool menuLoop = false;
  HHOOK hook = nullptr;
  MenuModeWatch() {
    current = this;
    hook = ::SetWindowsHookExA(WH_MSGFILTER, Proc, nullptr, ::GetCurrentThreadId());
  }
  ~MenuModeWatch() {
    ::UnhookWindowsHookEx(hook);
    current = nullptr;
  }
  MenuModeWatch(const MenuModeWatch&) = delete;
  MenuModeWatch& operator=(const MenuModeWatch&) = delete;
  static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == MSGF_MENU && current) current->menuLoop = true;
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
  }
};

TEST_F(ToolBarManager, AnAltDragQueuedAtOnceOntoTheDesktopRemovesTheButtonAndAltOpensNoMenu) {
  SECCustomToolBar* bar = ManagedBar(IDR_TEST_TOOLBAR, 0xE900);
  ASSERT_NE(bar, nullptr);
  Idle();
  const UINT dragged = bar->GetItemID(0);
  const int before = bar->GetButtonCount();
  RECT screen;
  ::GetWindowRect(::GetDesktopWindow(), &screen);
  const CPoint desktop(screen.right - 20, screen.bottom - 20);  // off the frame, over no window
  MenuModeWatch watch;
  // The whole gesture is queued before any of it is handled, as a quick hand makes it; the
  // Escape at the end would close a menu that releasing Alt had opened.
  plat::user::input::Key(VK_MENU, true);
  drv::Drag(ButtonOnScreen(*bar, 0).CenterPoint(), desktop);
  plat::user::input::Key(VK_MENU, false);
  drv::PressKey(VK_ESCAPE);
  Settle();
  EXPECT_EQ(bar->GetButtonCount(), before - 1);  // dropped off every bar: it goes
  EXPECT_NE(bar->GetItemID(0), dragged);
  EXPECT_FALSE(SECCustomToolBar::s_bDraggingButton);
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_FALSE(watch.menuLoop) << "releasing Alt after the drag opened the menu";
  EXPECT_TRUE(frame->commands.empty());
}

}  // namespace
}  // namespace toolkit_test
