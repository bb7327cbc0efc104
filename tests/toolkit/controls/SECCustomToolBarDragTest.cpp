// Customising by dragging buttons, in a frame with two toolbars and a manager: small
// drags and separators, moves and copies between bars, user toolbars made on free
// screen space and gone when emptied, bars that keep their buttons.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "BarFixture.h"
#include "controls/SECToolBarManager.h"
#include "user/Input.h"

namespace toolkit_test {
namespace {

namespace in = plat::user::input;

// A window that keeps every "WM_BARNOTIFY" code it hears.
class Listener : public CWnd {
 public:
  std::vector<std::pair<UINT, int>> heard;
  BOOL Make() { return CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, CRect(0, 0, 4, 4), nullptr, 0); }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == SECToolBarManager::BarNotifyMessage())
      heard.emplace_back(static_cast<UINT>(wParam), static_cast<int>(lParam));
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

class ButtonDrag : public BarTest {
 protected:
  void SetUp() override {
    BarTest::SetUp();
    manager = std::make_unique<SECToolBarManager>(frame);
    first = Managed(IDR_TEST_TOOLBAR, 0xE900);   // A B | C D | E F
    second = Managed(IDR_TEST_TOOLBAR2, 0xE901); // G H | ... (three images)
    ASSERT_TRUE(first && second);
    ASSERT_TRUE(listener.Make());
    manager->AddListener(&listener);
    manager->SetConfigFocus(&view);  // customise mode: clicks drag
    Idle();
  }
  void TearDown() override {
    if (listener.m_hWnd) listener.DestroyWindow();
    BarTest::TearDown();
    manager.reset();
  }
  SECCustomToolBar* Managed(UINT resource, UINT id) {
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
  static std::vector<UINT> Ids(const SECCustomToolBar* bar) {
    std::vector<UINT> ids;
    for (int i = 0; i < bar->GetButtonCount(); ++i) ids.push_back(bar->GetItemID(i));
    return ids;
  }
  // Drags from the middle of a button by (dx, dy), Ctrl held when `copy`.
  void DragBy(const SECCustomToolBar* bar, int index, CPoint by, bool copy = false) {
    DragTo(bar, index, ButtonOnScreen(*bar, index).CenterPoint() + by, copy);
  }
  void DragTo(const SECCustomToolBar* bar, int index, CPoint to, bool copy = false) {
    const CPoint from = ButtonOnScreen(*bar, index).CenterPoint();
    Elapse(1000);  // apart from the last drag: no double click
    if (copy) in::Key(VK_CONTROL, true);
    drv::Drag(from, to);
    if (copy) in::Key(VK_CONTROL, false);
    Settle();
  }
  std::unique_ptr<SECToolBarManager> manager;
  SECCustomToolBar* first = nullptr;
  SECCustomToolBar* second = nullptr;
  Listener listener;
};

constexpr UINT A = ID_TEST_CMD_A, B = ID_TEST_CMD_B, C = ID_TEST_CMD_C, D = ID_TEST_CMD_D, E = ID_TEST_CMD_E,
               F = ID_TEST_CMD_F, S = 0;  // S: a separator

TEST_F(ButtonDrag, SmallSidewaysDragsOfTheSelectedButton) {
  const std::vector<UINT> start = Ids(first);
  ASSERT_EQ(start, (std::vector<UINT>{A, B, S, C, D, S, E, F}));
  DragBy(first, 1, CPoint(1, 0));  // B, one pixel: nothing
  EXPECT_EQ(Ids(first), start);
  EXPECT_EQ(first->GetSelection(), 1);
  DragBy(first, 1, CPoint(3, 0));  // three pixels right: a separator before B
  EXPECT_EQ(Ids(first), (std::vector<UINT>{A, S, B, S, C, D, S, E, F}));
  EXPECT_EQ(first->GetItemID(first->GetSelection()), B);
  DragBy(first, 2, CPoint(-3, 0));  // and left again: it goes
  EXPECT_EQ(Ids(first), start);
}

TEST_F(ButtonDrag, TheOnlyButtonDraggedWithinItsBarStays) {
  SECCustomToolBar* only = manager->CreateUserToolBar();
  ASSERT_NE(only, nullptr);
  only->InsertButton(0, E);
  frame->DockControlBar(only);
  frame->RecalcLayout();
  Settle();
  DragBy(only, 0, CPoint(6, 0));
  EXPECT_EQ(Ids(only), std::vector<UINT>{E});
}

TEST_F(ButtonDrag, ADropBetweenTwoButtonsOfAnotherBarMovesOrCopies) {
  // Onto the left half of H: after G.
  const CRect h = ButtonOnScreen(*second, 1);
  DragTo(first, 0, CPoint(h.left + 6, h.CenterPoint().y));
  EXPECT_EQ(Ids(second)[1], A);
  EXPECT_EQ(Ids(first).front(), B);  // gone from its bar
  EXPECT_EQ(manager->GetSelectedBar(), second);

  const CRect again = ButtonOnScreen(*second, 1);
  DragTo(first, 0, CPoint(again.left + 6, again.CenterPoint().y), true);  // Ctrl: a copy
  EXPECT_EQ(Ids(second)[1], B);
  EXPECT_EQ(Ids(first).front(), B);
}

TEST_F(ButtonDrag, ABarWithCustomiseFlagBitZeroKeepsItsButtons) {
  first->m_dwCustomiseFlags = 0x1;
  const std::vector<UINT> before = Ids(first), other = Ids(second);
  const CRect h = ButtonOnScreen(*second, 1);
  DragTo(first, 0, CPoint(h.left + 6, h.CenterPoint().y));
  EXPECT_EQ(Ids(first), before);
  EXPECT_EQ(Ids(second), other);
}

TEST_F(ButtonDrag, CtrlDragToFreeScreenMakesAFloatingUserToolBar) {
  const CPoint free = InFrame(ViewRect().CenterPoint());  // over the view, no bar there
  DragTo(first, 3, free, true);
  CControlBar* made = frame->GetControlBar(0xE820);
  ASSERT_NE(made, nullptr);
  auto* bar = static_cast<SECCustomToolBar*>(made);
  EXPECT_TRUE(bar->IsFloating());
  CString title;
  bar->GetWindowText(title);
  EXPECT_STREQ(title, "ToolBar1");
  EXPECT_EQ(Ids(bar), std::vector<UINT>{C});
  EXPECT_EQ(Ids(first)[3], C);  // copied, not moved
  // The new bar floats where the button was dropped.
  CRect placed;
  bar->GetWindowRect(&placed);
  EXPECT_LE(std::abs(placed.left - (free.x - ButtonOnScreen(*first, 3).Width() / 2)), 12);
}

TEST_F(ButtonDrag, DraggingTheLastButtonOffAUserToolBarDestroysIt) {
  const CPoint free = InFrame(ViewRect().CenterPoint());
  DragTo(first, 0, free, true);
  auto* bar = static_cast<SECCustomToolBar*>(frame->GetControlBar(0xE820));
  ASSERT_NE(bar, nullptr);
  const HWND window = bar->m_hWnd;
  listener.heard.clear();
  DragTo(bar, 0, InFrame(ViewRect().CenterPoint() + CPoint(40, 40)));  // off every bar
  EXPECT_FALSE(::IsWindow(window));
  EXPECT_EQ(frame->GetControlBar(0xE820), nullptr);
  EXPECT_NE(std::find(listener.heard.begin(), listener.heard.end(), std::make_pair(0xE820u, 3)),
            listener.heard.end());

  // Moving the last button of a user toolbar onto another bar: the bar goes after the drop.
  DragTo(first, 0, InFrame(ViewRect().CenterPoint()), true);
  bar = static_cast<SECCustomToolBar*>(frame->GetControlBar(0xE820));
  ASSERT_NE(bar, nullptr);
  const HWND again = bar->m_hWnd;
  const CRect h = ButtonOnScreen(*second, 1);
  DragTo(bar, 0, CPoint(h.left + 6, h.CenterPoint().y));
  EXPECT_FALSE(::IsWindow(again));
  EXPECT_EQ(Ids(second)[1], A);
}

TEST_F(ButtonDrag, WithoutAUserToolBarTheCopyChangesNothing) {
  manager->SetToolBarClass(RUNTIME_CLASS(CObject));
  const std::vector<UINT> before = Ids(first);
  DragTo(first, 0, InFrame(ViewRect().CenterPoint()), true);
  EXPECT_EQ(Ids(first), before);
  EXPECT_EQ(frame->GetControlBar(0xE820), nullptr);
}

}  // namespace
}  // namespace toolkit_test
