// The menu bar of a single-document frame, driven by keys and the mouse: Alt alone and
// keyboard mode, Alt+letter, arrows between popups, Escape, Alt+Space, hot tracking,
// a request met while a popup is open, clicks; menu buttons and caption buttons.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "MenuFixture.h"
#include "controls/SECCustomToolBar.h"
#include "framework/SECBtnCaption.h"
#include "framework/SECMenuBarFeature.h"
#include "framework/SECTBMenuBtn.h"
#include "user/Driver.h"

namespace menu_test {
namespace {

namespace drv = plat::user::driver;

using MenuBarTest = MenuTest;

std::string PopupEntry(UINT firstId) { return "popup " + std::to_string(firstId); }
std::string Command(UINT id) { return "command " + std::to_string(id); }

bool Logged(const TestFrame* frame, const std::string& entry) {
  return std::find(frame->log.begin(), frame->log.end(), entry) != frame->log.end();
}

// The centre of a bar button on the screen.
CPoint ButtonCentre(SECCustomToolBar* bar, int index) {
  CRect r = bar->GetButton(index)->GetRect();
  bar->ClientToScreen(&r);
  return r.CenterPoint();
}

// Nothing of the protocol is left behind once menus are closed.
void ExpectIdleSlots() {
  EXPECT_EQ(SECMenuBarMessages::GetTrackedBar(), nullptr);
  EXPECT_FALSE(SECMenuBarMessages::HasPendingRequest());
  EXPECT_FALSE(SECMenuBarMessages::IsSysMenuTestArmed());
  EXPECT_FALSE(SECMenuBarMessages::HooksInstalled());
}

// ---- menu buttons

class DropRecorder : public SECCustomToolBar {
 public:
  std::vector<std::pair<UINT, int>> drops;
  void DropMenu(UINT nIDMenu, int nSubMenu, SECStdBtn*) override { drops.emplace_back(nIDMenu, nSubMenu); }
};

TEST_F(MenuBarTest, MenuButtonsTakeTheirMnemonicAndSizeFromTheLabel) {
  MakeFrame(false, false);
  DropRecorder bar;
  ASSERT_TRUE(bar.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0x1234));
  const struct {
    const char* label;
    UINT mnemonic;
  } cases[] = {{"&File", 'f'}, {"Trailing&", 0}, {"Plain", 0}, {"表示(&V)", 'v'}, {"&Window", 'w'}};
  CWindowDC dc(nullptr);
  for (const auto& c : cases) {
    SECTBMenuBtn btn;
    SECTBMenuBtnInfo info{IDR_MB_FRAME, 2, c.label, 7};
    btn.Init(&bar, reinterpret_cast<const UINT*>(&info));
    EXPECT_EQ(btn.m_nMnemonic, c.mnemonic) << c.label;
    EXPECT_EQ(btn.m_nSubMenu, 2);
    EXPECT_EQ(btn.m_nExtra, 7);
    EXPECT_EQ(btn.m_nType, SEC_BTNTYPE_FOCUS);
    HGDIOBJ old = ::SelectObject(dc.m_hDC, bar.GetFont());
    CRect text(0, 0, 0, 0);
    dc.DrawText(c.label, &text, DT_CALCRECT | DT_SINGLELINE | DT_NOCLIP);
    ::SelectObject(dc.m_hDC, old);
    EXPECT_EQ(btn.m_cx, text.Width() + 10) << c.label;
    EXPECT_EQ(btn.m_cy, text.Height() + 6) << c.label;
    EXPECT_GE(bar.m_nMaxMenuBtnWidth, btn.m_cx);
  }
  EXPECT_EQ(SECTBMenuBtn().GetButtonClass()->pBaseClass, &SECStdBtn::classSECStdBtn);
}

TEST_F(MenuBarTest, ADisabledMenuButtonNeitherPressesNorDrops) {
  MakeFrame(false, false);
  DropRecorder bar;
  ASSERT_TRUE(bar.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0x1234));
  SECTBMenuBtn btn;
  SECTBMenuBtnInfo info{IDR_MB_FRAME, 1, "&Edit", 0};
  btn.Init(&bar, reinterpret_cast<const UINT*>(&info));
  btn.SetStyle(TBBS_DISABLED);
  EXPECT_EQ(btn.BtnPressDown(CPoint(1, 1)), 0);
  EXPECT_FALSE(btn.GetStyle() & TBBS_PRESSED);
  EXPECT_TRUE(bar.drops.empty());
  btn.SetStyle(0);
  EXPECT_EQ(btn.BtnPressDown(CPoint(1, 1)), 0);  // the menu was dropped: the bar tracks nothing
  EXPECT_TRUE(btn.GetStyle() & TBBS_PRESSED);
  EXPECT_EQ(bar.drops, (std::vector<std::pair<UINT, int>>{{IDR_MB_FRAME, 1}}));
}

TEST_F(MenuBarTest, AToolbarDropsAMenuButtonsPopupUnderIt) {
  MakeFrame(false, false);
  auto* bar = new SECCustomToolBar;
  bar->m_bAutoDelete = TRUE;
  ASSERT_TRUE(bar->Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0x1234));
  auto* btn = new SECTBMenuBtn;
  SECTBMenuBtnInfo info{IDR_MB_FRAME, 1, "&Edit", 0};
  btn->Init(bar, reinterpret_cast<const UINT*>(&info));
  bar->m_btns.Add(btn);
  bar->EnableDocking(CBRS_ALIGN_ANY);
  frame->DockControlBar(bar);
  frame->RecalcLayout();
  Settle();
  CPoint where;
  frame->script = {[&] {
    HWND popup = ::FindWindowA("#32768", nullptr);
    CRect r;
    ::GetWindowRect(popup, &r);
    where = r.TopLeft();
    drv::PressKey(VK_DOWN);
  }, [&] { drv::PressKey(VK_RETURN); }};
  drv::Click(ButtonCentre(bar, 0).x, ButtonCentre(bar, 0).y);
  Settle();
  CRect button = btn->GetRect();
  bar->ClientToScreen(&button);
  EXPECT_EQ(where, CPoint(button.left, button.bottom));
  EXPECT_TRUE(Logged(frame, PopupEntry(ID_MB_CUT)));
  EXPECT_TRUE(Logged(frame, Command(ID_MB_CUT)));
  EXPECT_FALSE(btn->GetStyle() & TBBS_PRESSED);
}

// ---- the menu bar

TEST_F(MenuBarTest, TheBarShowsTheFramesMenuInPlaceOfTheWindowMenu) {
  MakeFrame(false, true);
  EXPECT_EQ(::GetMenu(frame->m_hWnd), nullptr);
  auto* feature = dynamic_cast<SECMenuBarFeature*>(frame->GetMenuPlugIn());
  ASSERT_NE(feature, nullptr);
  EXPECT_EQ(feature->m_pMenuBar, bar);
  EXPECT_TRUE(feature->UsesOwnDot());
  ASSERT_EQ(bar->GetButtonCount(), 4);
  const char* labels[] = {"&File", "&Edit", "&View", "&Help"};
  for (int i = 0; i < 4; ++i) {
    auto* btn = dynamic_cast<SECTBMenuBtn*>(bar->GetButton(i));
    ASSERT_NE(btn, nullptr);
    EXPECT_STREQ(btn->m_strLabel, labels[i]);
    EXPECT_EQ(btn->m_nSubMenu, i);
    // Docked on top, the menus run along one line.
    if (i > 0) {
      EXPECT_EQ(btn->GetRect().top, bar->GetButton(0)->GetRect().top) << labels[i];
      EXPECT_EQ(btn->GetRect().left, bar->GetButton(i - 1)->GetRect().right) << labels[i];
    }
  }
  EXPECT_EQ(bar->FindMnemonic('V'), 2);
  EXPECT_EQ(bar->FindMnemonic('q'), -1);
  // The frame hands out the popups by menu and position.
  HMENU edit = reinterpret_cast<HMENU>(frame->SendMessage(SECFrameWnd::GetMenuMessage(), IDR_MB_FRAME, 1));
  EXPECT_EQ(::GetMenuItemID(edit, 0), static_cast<UINT>(ID_MB_CUT));
  EXPECT_EQ(frame->SendMessage(SECFrameWnd::GetMenuMessage(), IDR_MB_OTHER, 0), 0);
  // Other menus by id; an id of no menu is refused; 20514 is the main window's menu.
  EXPECT_FALSE(bar->SwitchMenu(IDR_MB_OTHER));
  EXPECT_EQ(bar->GetButtonCount(), 4);
  HMENU other = ::LoadMenuA(TestModule(), MAKEINTRESOURCEA(IDR_MB_OTHER));
  bar->SetMenu(IDR_MB_OTHER, other);
  feature->SwitchMenu(IDR_MB_OTHER);
  EXPECT_EQ(bar->GetMenuID(), static_cast<UINT>(IDR_MB_OTHER));
  EXPECT_EQ(bar->GetButtonCount(), 2);
  EXPECT_TRUE(bar->SwitchMenu(20514));
  EXPECT_EQ(bar->GetButtonCount(), 4);
  ::DestroyMenu(other);
  Settle();
}

TEST_F(MenuBarTest, AltAloneEntersKeyboardModeAndArrowsMoveTheHotItem) {
  MakeFrame(false, true);
  drv::PressKey(VK_MENU);
  Settle();
  ASSERT_TRUE(bar->InKeyboardMode());
  EXPECT_EQ(bar->GetHotItem(), 0);
  EXPECT_TRUE(bar->GetButton(0)->GetStyle() & SEC_TBBS_HOT);
  EXPECT_TRUE(SECMenuBarMessages::HooksInstalled());
  EXPECT_EQ(SECMenuBarMessages::GetActive(), dynamic_cast<SECMenuBarMessages*>(frame->GetMenuPlugIn()));
  const struct {
    UINT key;
    int hot;
  } moves[] = {{VK_RIGHT, 1}, {VK_RIGHT, 2}, {VK_LEFT, 1}, {VK_LEFT, 0}, {VK_LEFT, 3}, {VK_RIGHT, 0}};
  for (const auto& m : moves) {
    drv::PressKey(m.key);
    Settle();
    EXPECT_EQ(bar->GetHotItem(), m.hot) << m.key;
  }
  // The mouse hot-tracks in keyboard mode.
  drv::MoveTo(ButtonCentre(bar, 2).x, ButtonCentre(bar, 2).y);
  Settle();
  EXPECT_EQ(bar->GetHotItem(), 2);
  drv::PressKey(VK_ESCAPE);
  Settle();
  EXPECT_FALSE(bar->InKeyboardMode());
  EXPECT_EQ(bar->GetHotItem(), -1);
  ExpectIdleSlots();
  // Alt enters and Alt leaves again.
  drv::PressKey(VK_MENU);
  Settle();
  EXPECT_TRUE(bar->InKeyboardMode());
  drv::PressKey(VK_MENU);
  Settle();
  EXPECT_FALSE(bar->InKeyboardMode());
  ExpectIdleSlots();
  EXPECT_TRUE(frame->log.empty());  // nothing opened
}

TEST_F(MenuBarTest, AltLetterOpensItsMenuAndLeftAndRightMoveBetweenPopups) {
  MakeFrame(false, true);
  std::vector<int> tracked;
  std::vector<bool> firstSelected;
  auto look = [&] {
    tracked.push_back(bar->GetTrackedItem());
    HMENU popup = Popup(bar->GetTrackedItem());
    firstSelected.push_back((::GetMenuState(popup, 0, MF_BYPOSITION) & MF_HILITE) != 0);
  };
  frame->script = {[&] { look(); drv::PressKey(VK_RIGHT); },
                   [&] { look(); drv::PressKey(VK_RIGHT); },
                   [&] { look(); drv::PressKey(VK_LEFT); },
                   [&] { look(); drv::PressKey(VK_ESCAPE); }};
  drv::PressKey('F', drv::kAlt);
  Settle();
  EXPECT_EQ(tracked, (std::vector<int>{0, 1, 2, 1}));
  // A popup reached by an arrow opens with its first item selected.
  EXPECT_EQ(firstSelected, (std::vector<bool>{false, true, true, true}));
  const std::vector<std::string> popups{PopupEntry(ID_MB_NEW), PopupEntry(ID_MB_CUT), PopupEntry(ID_MB_GRID), PopupEntry(ID_MB_CUT)};
  EXPECT_EQ(frame->log, popups);
  EXPECT_FALSE(bar->IsTracking());
  EXPECT_FALSE(bar->GetButton(0)->GetStyle() & TBBS_PRESSED);
  ExpectIdleSlots();
  // Alt alone afterwards is keyboard mode again.
  drv::PressKey(VK_MENU);
  Settle();
  EXPECT_TRUE(bar->InKeyboardMode());
  drv::PressKey(VK_ESCAPE);
  Settle();
  // Alt with a letter of no menu opens nothing and is left to the frame.
  frame->log.clear();
  drv::PressKey('Q', drv::kAlt);
  Settle();
  EXPECT_EQ(std::count_if(frame->log.begin(), frame->log.end(), [](const std::string& e) { return e.rfind("popup", 0) == 0; }), 0);
  // The frame's own handling saw it (where its accelerators would take it), and the
  // release of Alt after the chord does not enter keyboard mode.
  EXPECT_TRUE(Logged(frame, "syscommand " + std::to_string(SC_KEYMENU)));
  EXPECT_FALSE(bar->InKeyboardMode());
}

TEST_F(MenuBarTest, DownDropsTheHotItemAndTheSystemMenuBoxAnswersTheBar) {
  MakeFrame(false, true);
  // Alt, Right, Down: the second menu drops.
  int tracked = -2;
  frame->script = {[&] {
    tracked = bar->GetTrackedItem();
    drv::PressKey(VK_ESCAPE);
  }};
  drv::PressKey(VK_MENU);
  drv::PressKey(VK_RIGHT);
  drv::PressKey(VK_DOWN);
  Settle();
  EXPECT_EQ(tracked, 1);
  EXPECT_EQ(frame->log, std::vector<std::string>{PopupEntry(ID_MB_CUT)});
  ExpectIdleSlots();

  // A click on the system-menu box comes as a system command: the bar drops the system
  // menu, and a click on the box again closes it.
  frame->log.clear();
  CRect window;
  frame->GetWindowRect(&window);
  const CPoint box(window.left + ::GetSystemMetrics(SM_CXFRAME) + 4, window.top + ::GetSystemMetrics(SM_CYFRAME) + 4);
  BOOL armed = FALSE;
  frame->script = {[&] {
    armed = SECMenuBarMessages::IsSysMenuTestArmed();
    drv::Click(box.x, box.y);
  }};
  frame->SendMessage(WM_SYSCOMMAND, SC_MOUSEMENU | HTSYSMENU, MAKELPARAM(box.x, box.y));
  Settle();
  EXPECT_TRUE(armed);
  EXPECT_EQ(frame->log, std::vector<std::string>{"popup system"});
  EXPECT_EQ(frame->escapes, 0);  // closed by the click, not by the fixture's Escape
  ExpectIdleSlots();

  // Losing the activation ends keyboard mode.
  drv::PressKey(VK_MENU);
  Settle();
  ASSERT_TRUE(bar->InKeyboardMode());
  frame->SendMessage(WM_NCACTIVATE, FALSE);
  EXPECT_FALSE(bar->InKeyboardMode());
  ExpectIdleSlots();
}

TEST_F(MenuBarTest, AChosenItemIsCarriedOutAndItsMenuCloses) {
  MakeFrame(false, true);
  frame->script = {[&] { drv::PressKey(VK_DOWN); }, [&] { drv::PressKey(VK_RETURN); }};
  drv::PressKey('E', drv::kAlt);
  Settle();
  EXPECT_TRUE(Logged(frame, Command(ID_MB_CUT)));
  ExpectIdleSlots();
}

TEST_F(MenuBarTest, AltSpaceDropsTheSystemMenuWithItsFirstItemSelected) {
  MakeFrame(false, true);
  HMENU sys = ::GetSystemMenu(frame->m_hWnd, FALSE);
  int tracked = 0;
  BOOL armed = FALSE;
  UINT selected = 0;
  frame->script = {[&] {
    tracked = bar->GetTrackedItem();
    armed = SECMenuBarMessages::IsSysMenuTestArmed();
    for (int i = 0; i < ::GetMenuItemCount(sys); ++i)
      if (::GetMenuState(sys, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE) selected = ::GetMenuItemID(sys, i);
    drv::PressKey(VK_ESCAPE);
  }};
  drv::PressKey(VK_SPACE, drv::kAlt);
  Settle();
  EXPECT_EQ(frame->log, std::vector<std::string>{"popup system"});
  EXPECT_EQ(tracked, -1);
  EXPECT_TRUE(armed);
  EXPECT_EQ(selected, static_cast<UINT>(SC_RESTORE));
  EXPECT_EQ(::GetMenuDefaultItem(sys, FALSE, GMDI_USEDISABLED), static_cast<UINT>(SC_CLOSE));
  ExpectIdleSlots();
  // A command of the system menu comes to the frame as a system command.
  frame->script = {[&] {
    // From the first item down to the last (the separator before it is passed over).
    const int closeAt = ::GetMenuItemCount(sys) - 1;
    for (int i = 0; i < closeAt - 1; ++i) drv::PressKey(VK_DOWN);
  }, [&] { drv::PressKey(VK_RETURN); }};
  drv::PressKey(VK_SPACE, drv::kAlt);
  Settle();
  EXPECT_TRUE(Logged(frame, "syscommand " + std::to_string(SC_CLOSE))) << testing::PrintToString(frame->log);
}

TEST_F(MenuBarTest, TheMouseOpensMenusAndARequestWhileOneIsOpenFollowsIt) {
  MakeFrame(false, true);
  std::vector<int> tracked;
  BOOL pendingSeen = FALSE;
  frame->script = {[&] {
                     tracked.push_back(bar->GetTrackedItem());
                     // Over "Edit": a second request while "File" is open.
                     drv::MoveTo(ButtonCentre(bar, 1).x, ButtonCentre(bar, 1).y);
                   },
                   [&] {
                     tracked.push_back(bar->GetTrackedItem());
                     pendingSeen = SECMenuBarMessages::HasPendingRequest();
                     // A click on the open item closes it.
                     drv::Click(ButtonCentre(bar, 1).x, ButtonCentre(bar, 1).y);
                   }};
  drv::Click(ButtonCentre(bar, 0).x, ButtonCentre(bar, 0).y);
  Settle();
  EXPECT_EQ(tracked, (std::vector<int>{0, 1}));
  EXPECT_FALSE(pendingSeen);  // it had run by the time the second popup waited
  EXPECT_EQ(frame->log, (std::vector<std::string>{PopupEntry(ID_MB_NEW), PopupEntry(ID_MB_CUT)}));
  EXPECT_FALSE(bar->IsTracking());
  ExpectIdleSlots();

  // Clicking an item of a popup carries it out.
  frame->script = {[&] {
    HWND popup = ::FindWindowA("#32768", nullptr);
    CRect r;
    ::GetWindowRect(popup, &r);
    drv::Click(r.left + 20, r.top + 3 + 10);
  }};
  drv::Click(ButtonCentre(bar, 2).x, ButtonCentre(bar, 2).y);
  Settle();
  EXPECT_TRUE(Logged(frame, Command(ID_MB_GRID)));
  ExpectIdleSlots();
}

TEST_F(MenuBarTest, AFrameClosedWhileItsMenuIsOpenLeavesNothingBehind) {
  MakeFrame(false, true);
  app.m_pMainWnd = nullptr;
  TestFrame* closing = frame;
  HWND hwnd = frame->m_hWnd;
  frame->script = {[closing] { closing->PostMessage(WM_CLOSE); }};
  drv::Click(ButtonCentre(bar, 0).x, ButtonCentre(bar, 0).y);
  frame = nullptr;  // gone with its window
  bar = nullptr;
  Settle();
  EXPECT_FALSE(::IsWindow(hwnd));
  EXPECT_EQ(SECMenuBarMessages::GetActive(), nullptr);
  ExpectIdleSlots();
}

TEST_F(MenuBarTest, AFrameDestroyedInKeyboardModeRemovesItsHooks) {
  MakeFrame(false, true);
  drv::PressKey(VK_MENU);
  Settle();
  ASSERT_TRUE(SECMenuBarMessages::HooksInstalled());
  app.m_pMainWnd = nullptr;
  frame->DestroyWindow();
  frame = nullptr;
  bar = nullptr;
  Settle();
  EXPECT_EQ(SECMenuBarMessages::GetActive(), nullptr);
  ExpectIdleSlots();
  // Keys go their usual way again.
  drv::PressKey('A');
  Settle();
}

// ---- caption buttons

class ChildFrame : public CFrameWnd {
 public:
  explicit ChildFrame(std::vector<UINT>& commands) : commands_(commands) {}

 protected:
  afx_msg void OnSysCommand(UINT nID, LPARAM) { commands_.push_back(nID & 0xFFF0); }
  std::vector<UINT>& commands_;
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(ChildFrame, CFrameWnd)
  ON_WM_SYSCOMMAND()
END_MESSAGE_MAP()

TEST_F(MenuBarTest, CaptionBoxesActOnlyWhenPressedAndReleasedOnTheSameBox) {
  MakeFrame(false, true);
  std::vector<UINT> commands;
  auto* child = new ChildFrame(commands);  // deletes itself with its window
  ASSERT_TRUE(child->Create(nullptr, "Child", WS_CHILD | WS_VISIBLE, CRect(10, 10, 200, 120), frame));
  frame->activeChild = child;
  auto* caption = new SECBtnCaption;
  caption->Init(bar, nullptr);
  bar->m_btns.Add(caption);
  caption->SetPos(300, 2);
  EXPECT_EQ(caption->m_nType, SEC_BTNTYPE_TRAILING);
  const int w = caption->m_cxBox;
  EXPECT_EQ(caption->m_cx, 3 * w + 2);
  EXPECT_EQ(caption->m_cy, ::GetSystemMetrics(SM_CYSIZE) - 4);
  const CPoint minimise(300 + w / 2, 4), restore(300 + w + w / 2, 4), close(300 + 2 * w + 2 + w / 2, 4);
  // Pressed on minimise, released on close: nothing.
  ASSERT_TRUE(caption->BtnPressDown(minimise));
  caption->BtnPressMouseMove(close);
  EXPECT_FALSE(caption->GetStyle() & TBBS_PRESSED);
  caption->BtnPressMouseMove(minimise);
  EXPECT_TRUE(caption->GetStyle() & TBBS_PRESSED);
  EXPECT_EQ(caption->BtnPressUp(close), 0u);
  Settle();
  EXPECT_TRUE(commands.empty());
  // Each box released where it was pressed.
  const struct {
    CPoint at;
    UINT command;
  } boxes[] = {{minimise, SC_MINIMIZE}, {restore, SC_RESTORE}, {close, SC_CLOSE}};
  for (const auto& b : boxes) {
    ASSERT_TRUE(caption->BtnPressDown(b.at));
    caption->BtnPressUp(b.at);
  }
  Settle();
  EXPECT_EQ(commands, (std::vector<UINT>{SC_MINIMIZE, SC_RESTORE, SC_CLOSE}));
  // Minimise and restore off: only close answers; hidden: nothing.
  caption->m_nCaptionFlags = SECBtnCaption::kShown;
  EXPECT_FALSE(caption->BtnPressDown(minimise));
  EXPECT_EQ(caption->BoxAt(close), 2);
  caption->m_nCaptionFlags = 0;
  EXPECT_EQ(caption->BoxAt(close), -1);
  frame->activeChild = nullptr;
  child->DestroyWindow();
}

TEST(CapMenuBtn, IsASixteenPixelIconButton) {
  SECCapMenuBtn btn;
  btn.AdjustSize();
  EXPECT_EQ(btn.m_cx, 16);
  EXPECT_EQ(btn.m_cy, 16);
  EXPECT_EQ(btn.m_nType, SEC_BTNTYPE_FOCUS_OTHER);
  EXPECT_EQ(btn.m_hIcon, nullptr);
  EXPECT_EQ(btn.GetButtonClass()->pBaseClass, &SECTBMenuBtn::classSECTBMenuBtn);
}

}  // namespace
}  // namespace menu_test
