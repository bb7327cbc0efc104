// Dragging the toolbar by its gripper and its floating frame: onto a side it docks
// upright, into the middle it floats; a floating bar docks only once it has moved more
// than 4 pixels; Ctrl keeps it floating and the status line says so; Escape leaves it
// where it was; a double click toggles it; a freely sizable floating bar keeps its
// width when resized below the smallest one.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "BarFixture.h"
#include "controls/SECDockContext.h"
#include "controls/SECResourceIds.h"

namespace toolkit_test {
namespace {

namespace in = plat::user::input;

class DockDrag : public BarTest {
 protected:
  void SetUp() override {
    BarTest::SetUp();
    bar = MakeToolBar(IDR_TEST_TOOLBAR);
    ASSERT_NE(bar, nullptr);
    // The prompts are the class library's strings, which lie in the program.
    AfxSetResourceHandle(reinterpret_cast<HINSTANCE>(::GetModuleHandleA(nullptr)));
  }
  CPoint Gripper() const { return OnScreen(*bar, CPoint(8, 10)); }
  CFrameWnd* FloatingFrame() const { return bar->IsFloating() ? bar->GetParentFrame() : nullptr; }
  // A point on the floating frame's caption.
  CPoint Caption() const {
    CRect r;
    FloatingFrame()->GetWindowRect(&r);
    return CPoint(r.left + 20, r.top + 8);
  }
  UINT DockId() const { return bar->IsFloating() || !bar->m_pDockBar ? 0 : bar->m_pDockBar->GetDlgCtrlID(); }
  std::string IdleText() const {
    CString idle;
    frame->GetMessageString(AFX_IDS_IDLEMESSAGE, idle);
    return std::string(idle);
  }
  std::string PreventText() const {
    CString text;
    text.LoadString(IDS_SEC_PREVENT_DOCKING);
    return std::string(text);
  }

  bool Said(const std::string& text) const {
    return std::find(statusWnd.texts.begin(), statusWnd.texts.end(), text) != statusWnd.texts.end();
  }

  SECCustomToolBar* bar = nullptr;
};

TEST_F(DockDrag, FromTheTopToASideDocksUprightAndIntoTheMiddleFloats) {
  drv::Drag(Gripper(), InFrame(CPoint(3, 200)), 8);
  Settle();
  ASSERT_EQ(DockId(), static_cast<UINT>(AFX_IDW_DOCKBAR_LEFT));
  CRect r;
  bar->GetWindowRect(&r);
  EXPECT_GT(r.Height(), r.Width());
  // The status line asked for Ctrl while dragging, and is idle again after.
  EXPECT_EQ(PreventText(), "Press the Ctrl key to prevent docking.");
  EXPECT_TRUE(Said(PreventText()));
  EXPECT_EQ(statusWnd.texts.back(), IdleText());

  CPoint grip = OnScreen(*bar, CPoint(10, 8));  // the gripper runs across the top now
  drv::Drag(grip, InFrame(CPoint(300, 200)), 8);
  Settle();
  EXPECT_TRUE(bar->IsFloating());
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(DockDrag, AFloatingBarDocksOnlyAfterMovingMoreThanFourPixels) {
  // Floating with its frame's caption just above the frame's client area, so that the
  // bar's outline lies over the empty top dock bar from the start.
  frame->FloatControlBar(bar, InFrame(CPoint(150, -6)));
  Settle();
  ASSERT_TRUE(bar->IsFloating());
  struct Case {
    int dx;
    bool docks;
  } cases[] = {{3, false}, {5, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dx);
    CPoint from = Caption();
    drv::Drag(from, from + CPoint(c.dx, 0), 2);
    Settle();
    EXPECT_EQ(!bar->IsFloating(), c.docks);
  }
  EXPECT_EQ(DockId(), static_cast<UINT>(AFX_IDW_DOCKBAR_TOP));
}

TEST_F(DockDrag, CtrlPreventsDocking) {
  CPoint from = Gripper(), to = InFrame(CPoint(3, 200));
  in::MouseMove(from.x, from.y);
  in::MouseButton(0, true);
  in::Key(VK_CONTROL, true);
  for (int i = 1; i <= 6; ++i) in::MouseMove(from.x + (to.x - from.x) * i / 6, from.y + (to.y - from.y) * i / 6);
  in::MouseButton(0, false);
  in::Key(VK_CONTROL, false);
  Settle();
  EXPECT_TRUE(bar->IsFloating());
  EXPECT_TRUE(Said(PreventText()));
}

TEST_F(DockDrag, EscapeLeavesTheBarAndRestoresTheIdleText) {
  CRect before;
  bar->GetWindowRect(&before);
  CPoint from = Gripper(), to = InFrame(CPoint(300, 200));
  in::MouseMove(from.x, from.y);
  in::MouseButton(0, true);
  in::MouseMove(to.x, to.y);
  in::Key(VK_ESCAPE, true);
  in::Key(VK_ESCAPE, false);
  in::MouseButton(0, false);
  Settle();
  CRect after;
  bar->GetWindowRect(&after);
  EXPECT_EQ(DockId(), static_cast<UINT>(AFX_IDW_DOCKBAR_TOP));
  EXPECT_EQ(after, before);
  EXPECT_EQ(::GetCapture(), nullptr);
  ASSERT_FALSE(statusWnd.texts.empty());
  EXPECT_EQ(statusWnd.texts.back(), IdleText());
}

TEST_F(DockDrag, ADoubleClickTogglesBetweenDockedAndFloating) {
  CRect docked;
  bar->GetWindowRect(&docked);
  drv::DoubleClick(Gripper().x, Gripper().y);
  Settle();
  ASSERT_TRUE(bar->IsFloating());
  drv::DoubleClick(Caption().x, Caption().y);
  Settle();
  frame->RecalcLayout();
  EXPECT_EQ(DockId(), static_cast<UINT>(AFX_IDW_DOCKBAR_TOP));
  CRect again;
  bar->GetWindowRect(&again);
  EXPECT_EQ(again, docked);
}

TEST_F(DockDrag, AFreelySizableFloatingBarKeepsItsWidthBelowTheSmallest) {
  auto* panel = new SECControlBar;
  panel->m_bAutoDelete = TRUE;
  ASSERT_TRUE(panel->Create(frame, "Panel", WS_CHILD | WS_VISIBLE | CBRS_TOP, 0, 0xE830));
  panel->EnableDocking(CBRS_ALIGN_ANY);
  frame->FloatControlBar(panel, InFrame(CPoint(200, 150)));
  Settle();
  ASSERT_TRUE(panel->IsFloating());
  auto* context = dynamic_cast<SECDockContext*>(panel->m_pDockContext);
  ASSERT_NE(context, nullptr);
  const CSize before = panel->m_szFloat;
  CRect r;
  panel->GetWindowRect(&r);
  struct Case {
    int dx;
    int width;
    const char* why;
  } cases[] = {
      {-(before.cx - 10), before.cx, "below the smallest width: unchanged"},
      {-40, before.cx - 40, "a width that is allowed"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    // The frame's border hands the resize to the dock context; the moves wait for its loop.
    CPoint edge(r.right, r.CenterPoint().y);
    CPoint to = edge + CPoint(c.dx, 0);
    in::MouseMove(to.x, to.y);
    in::MouseButton(0, false);
    context->StartResize(HTRIGHT, edge);
    Settle();
    EXPECT_EQ(panel->m_szFloat.cx, c.width);
    EXPECT_EQ(panel->m_szFloat.cy, before.cy);
  }
}

TEST_F(DockDrag, ScreenshotsDockedTopLeftAndFloating) {
  Screenshot("toolbar-docked-top.png");
  frame->DockControlBar(bar, AFX_IDW_DOCKBAR_LEFT);
  frame->RecalcLayout();
  Settle();
  Screenshot("toolbar-docked-left.png");
  frame->FloatControlBar(bar, InFrame(CPoint(200, 120)));
  Idle();  // the emptied side gives its room back
  ASSERT_TRUE(bar->IsFloating());
  Screenshot("toolbar-floating.png", FloatingFrame());
}

}  // namespace
}  // namespace toolkit_test
