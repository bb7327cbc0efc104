// The toolbar under the mouse: a press and release inside a button posts its command to
// the owner, outside nothing; a disabled button drags the bar; the hot highlight follows
// the cursor and leaves with it; command updates enable, disable and check buttons; the
// command's string gives the tooltip and the status text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BarFixture.h"

namespace toolkit_test {
namespace {

namespace in = plat::user::input;

class ToolBarMouse : public BarTest {
 protected:
  void SetUp() override {
    BarTest::SetUp();
    bar = MakeToolBar(IDR_TEST_TOOLBAR);
    ASSERT_NE(bar, nullptr);
    Idle();  // the buttons take their command states
  }
  CPoint Middle(int index) const { return ButtonOnScreen(*bar, index).CenterPoint(); }
  // The tip the thread shows, or "" when none is shown.
  static std::string ShownTip() {
    HWND tip = ::FindWindowA(TOOLTIPS_CLASS, nullptr);
    if (!tip || !::IsWindowVisible(tip)) return "";
    char text[128] = {};
    ::GetWindowTextA(tip, text, sizeof text);
    return text;
  }

  SECCustomToolBar* bar = nullptr;
};

TEST_F(ToolBarMouse, AReleaseInsideTheButtonPostsItsCommandAndOutsideNothing) {
  // Pressed: drawn pressed, the mouse held, the prompt shown.
  in::MouseMove(Middle(0).x, Middle(0).y);
  in::MouseButton(0, true);
  Settle();
  EXPECT_EQ(bar->m_nPressed, 0);
  EXPECT_TRUE(bar->GetButtonStyle(0) & TBBS_PRESSED);
  EXPECT_EQ(::GetCapture(), bar->m_hWnd);
  EXPECT_EQ(StatusText(), "Opens a picture");
  // Out of the button it stands up; back in it is pressed again.
  in::MouseMove(Middle(3).x, Middle(3).y);
  Settle();
  EXPECT_FALSE(bar->GetButtonStyle(0) & TBBS_PRESSED);
  in::MouseMove(Middle(0).x + 3, Middle(0).y);
  Settle();
  EXPECT_TRUE(bar->GetButtonStyle(0) & TBBS_PRESSED);
  in::MouseButton(0, false);
  Settle();
  EXPECT_EQ(frame->commands, std::vector<UINT>{ID_TEST_CMD_A});
  EXPECT_EQ(bar->m_nPressed, -1);
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_FALSE(bar->GetButtonStyle(0) & TBBS_PRESSED);

  // Released over another button, or beside the bar: no command.
  for (CPoint away : {Middle(3), OnScreen(view, CPoint(50, 50))}) {
    frame->commands.clear();
    in::MouseMove(Middle(0).x, Middle(0).y);
    in::MouseButton(0, true);
    Settle();
    in::MouseMove(away.x, away.y);
    Settle();
    in::MouseButton(0, false);
    Settle();
    EXPECT_TRUE(frame->commands.empty());
    EXPECT_EQ(bar->m_nPressed, -1);
    EXPECT_EQ(::GetCapture(), nullptr);
  }
}

TEST_F(ToolBarMouse, ADisabledButtonDragsTheBar) {
  ASSERT_TRUE(bar->GetButtonStyle(1) & TBBS_DISABLED);
  drv::Drag(Middle(1), OnScreen(view, CPoint(250, 200)), 6);
  Settle();
  EXPECT_TRUE(bar->IsFloating());
  EXPECT_TRUE(frame->commands.empty());
}

TEST_F(ToolBarMouse, TheHotHighlightFollowsTheCursorAndLeavesWithIt) {
  in::MouseMove(Middle(0).x, Middle(0).y);
  Settle();
  EXPECT_EQ(bar->m_nHot, 0);
  EXPECT_TRUE(bar->GetButtonStyle(0) & SEC_TBBS_HOT);
  // Disabled buttons and separators take no highlight.
  for (int index : {1, 2}) {
    in::MouseMove(Middle(index).x, Middle(index).y);
    Settle();
    EXPECT_EQ(bar->m_nHot, -1) << index;
    EXPECT_FALSE(bar->GetButtonStyle(0) & SEC_TBBS_HOT);
  }
  in::MouseMove(Middle(3).x, Middle(3).y);
  Settle();
  EXPECT_EQ(bar->m_nHot, 3);
  // The bar hears nothing once the cursor is over the view: its timer notices.
  CPoint off = OnScreen(view, CPoint(100, 100));
  in::MouseMove(off.x, off.y);
  Settle();
  EXPECT_EQ(bar->m_nHot, 3);
  Elapse(100);
  EXPECT_EQ(bar->m_nHot, -1);
  EXPECT_FALSE(bar->GetButtonStyle(3) & SEC_TBBS_HOT);
}

TEST_F(ToolBarMouse, CommandUpdatesSetTheButtonStates) {
  const UINT ids[] = {ID_TEST_CMD_A, ID_TEST_CMD_B, ID_TEST_CMD_C, ID_TEST_CMD_D, ID_TEST_CMD_H, ID_TEST_CMD_H};
  bar->SetButtons(ids, 6);
  bar->SetButtonStyle(5, bar->GetButtonStyle(5) | SEC_TBBS_NOAUTODISABLE);
  Idle();
  const struct {
    int index;
    UINT set, clear;
    const char* why;
  } cases[] = {
      {0, 0, TBBS_DISABLED | TBBS_CHECKED, "enabled by its handler"},
      {1, TBBS_DISABLED, 0, "disabled by its handler"},
      {2, TBBS_CHECKED | TBBS_CHECKBOX, TBBS_DISABLED, "checked by its handler"},
      {3, 0, TBBS_DISABLED, "a command with a handler and no update handler"},
      {4, TBBS_DISABLED, 0, "a command nobody handles"},
      {5, 0, TBBS_DISABLED, "nobody handles it, but it is never disabled for that"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    UINT style = bar->GetButtonStyle(c.index);
    EXPECT_EQ(style & c.set, c.set);
    EXPECT_EQ(style & c.clear, 0u);
  }
  // A handler that changes its mind is heard at the next idle time.
  frame->enableA = FALSE;
  Idle();
  EXPECT_TRUE(bar->GetButtonStyle(0) & TBBS_DISABLED);
}

TEST_F(ToolBarMouse, TheCommandsStringGivesTheTooltipAndTheStatusText) {
  struct Case {
    int index;
    std::string tip, status;
  } cases[] = {
      {0, "Open", "Opens a picture"},
      {3, "Delete", "Deletes the picture"},
      {4, "", ""},  // a command without a string
      {1, "Save", "Saves the picture"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    in::MouseMove(Middle(c.index).x, Middle(c.index).y);
    Settle();
    Elapse(600);
    EXPECT_EQ(ShownTip(), c.tip);
    EXPECT_EQ(StatusText(), c.status);
  }
  // Over the view the prompt goes.
  CPoint off = OnScreen(view, CPoint(100, 100));
  in::MouseMove(off.x, off.y);
  Settle();
  Elapse(600);
  EXPECT_EQ(ShownTip(), "");
}

}  // namespace
}  // namespace toolkit_test
