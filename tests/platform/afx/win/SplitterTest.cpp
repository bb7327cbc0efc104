// Static splitters: panes laid out at their given pixel sizes, nested splitters,
// bars dragged with the mouse, and a splitter whose bars are locked.
#include <gtest/gtest.h>

#include <string>

#include "afxext.h"

namespace {

std::string Text(const CRect& r) {
  char t[64];
  snprintf(t, sizeof t, "(%d,%d)-(%d,%d)", r.left, r.top, r.right, r.bottom);
  return t;
}

class CPaneView : public CView {
  DECLARE_DYNCREATE(CPaneView)
 public:
  void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(CPaneView, CView)

// Ignores the mouse while locked, as a fixed layout needs.
class CLockedSplitter : public CSplitterWnd {
 public:
  BOOL locked = FALSE;

 protected:
  afx_msg void OnLButtonDown(UINT flags, CPoint pt) {
    if (locked)
      Default();
    else
      CSplitterWnd::OnLButtonDown(flags, pt);
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CLockedSplitter, CSplitterWnd)
  ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

class CSplitFrame : public CFrameWnd {
 public:
  CLockedSplitter outer;
  CSplitterWnd left;

 protected:
  BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext* context) override {
    if (!outer.CreateStatic(this, 1, 2)) return FALSE;
    if (!left.CreateStatic(&outer, 2, 1, WS_CHILD | WS_VISIBLE, outer.IdFromRowCol(0, 0))) return FALSE;
    return left.CreateView(0, 0, RUNTIME_CLASS(CPaneView), CSize(200, 120), context) &&
           left.CreateView(1, 0, RUNTIME_CLASS(CPaneView), CSize(200, 80), context) &&
           outer.CreateView(0, 1, RUNTIME_CLASS(CPaneView), CSize(100, 300), context) &&
           (outer.SetColumnInfo(0, 200, 10), TRUE);
  }
};

class Splitter : public ::testing::Test {
 protected:
  void SetUp() override {
    frame = new CSplitFrame;  // deletes itself when its window is destroyed
    ASSERT_TRUE(frame->Create(nullptr, "split", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 500, 400)));
    frame->GetClientRect(&client);
  }
  void TearDown() override { frame->DestroyWindow(); }
  CRect PaneRect(CWnd* pane) {
    CRect r;
    pane->GetWindowRect(&r);
    frame->ScreenToClient(&r);
    return r;
  }
  CSplitFrame* frame = nullptr;
  CRect client;
};

TEST_F(Splitter, PanesGetTheirSizesAndTheLastTakesTheRest) {
  int W = client.Width(), H = client.Height();
  ASSERT_GT(W, 320);
  struct Case {
    CWnd* pane;
    CRect expected;
  };
  const Case cases[] = {
      {&frame->outer, CRect(0, 0, W, H)},
      {&frame->left, CRect(0, 0, 204, H)},  // a nested splitter spreads over the border
      {frame->left.GetPane(0, 0), CRect(2, 2, 2 + 200, 2 + 120)},
      {frame->left.GetPane(1, 0), CRect(2, 2 + 120 + 7, 2 + 200, H - 2)},
      {frame->outer.GetPane(0, 1), CRect(2 + 200 + 7, 2, W - 2, H - 2)},
  };
  for (const Case& c : cases) {
    ASSERT_NE(c.pane, nullptr);
    EXPECT_EQ(Text(PaneRect(c.pane)), Text(c.expected));
  }
  int cur = 0, min = 0;
  frame->outer.GetColumnInfo(0, cur, min);
  EXPECT_EQ(cur, 200);
  EXPECT_EQ(min, 10);
}

TEST_F(Splitter, SetColumnInfoTakesEffectOnRecalcLayout) {
  frame->outer.SetColumnInfo(0, 150, 0);
  frame->outer.RecalcLayout();
  EXPECT_EQ(PaneRect(&frame->left).Width(), 154);
  EXPECT_EQ(PaneRect(frame->outer.GetPane(0, 1)).left, 2 + 150 + 7);
}

TEST_F(Splitter, PaneBelowItsMinimumGivesItsRoomToThePreviousOne) {
  frame->outer.SetColumnInfo(0, client.Width() - 20, 0);
  frame->outer.SetColumnInfo(1, 0, 50);
  frame->outer.RecalcLayout();
  int cur = 0, min = 0;
  frame->outer.GetColumnInfo(1, cur, min);
  EXPECT_EQ(cur, 0);
  frame->outer.GetColumnInfo(0, cur, min);
  // Everything inside the border but the gap's own share of the bar.
  EXPECT_EQ(cur, client.Width() - 4 - (7 - 2));
}

TEST_F(Splitter, DraggingABarResizesAndALockedSplitterStays) {
  CPoint bar(2 + 200 + 3, 50);
  frame->outer.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(bar.x, bar.y));
  frame->outer.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(2 + 260, 50));
  frame->outer.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(2 + 260, 50));
  int cur = 0, min = 0;
  frame->outer.GetColumnInfo(0, cur, min);
  EXPECT_EQ(cur, 260);

  frame->outer.locked = TRUE;
  bar.x = 2 + 260 + 3;
  frame->outer.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(bar.x, bar.y));
  frame->outer.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(100, 50));
  frame->outer.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(100, 50));
  frame->outer.GetColumnInfo(0, cur, min);
  EXPECT_EQ(cur, 260);
}

TEST_F(Splitter, ActivePaneFollowsTheFramesActiveView) {
  CWnd* pane = frame->left.GetPane(1, 0);
  frame->left.SetActivePane(1, 0);
  EXPECT_EQ(frame->GetActiveView(), pane);
  int row = -1, col = -1;
  EXPECT_EQ(frame->left.GetActivePane(&row, &col), pane);
  EXPECT_EQ(row, 1);
  EXPECT_EQ(col, 0);
  EXPECT_EQ(frame->outer.GetActivePane(), nullptr);  // not one of the outer splitter's panes
}

}  // namespace

namespace {

TEST(MiniFrame, HasAToolCaptionAndItsBordersAreComputable) {
  auto* mini = new CMiniFrameWnd;  // a frame: deletes itself with its window
  ASSERT_TRUE(mini->Create(nullptr, "palette", WS_POPUP | WS_CAPTION | WS_SYSMENU | MFS_SYNCACTIVE | MFS_THICKFRAME,
                           CRect(10, 10, 110, 90)));
  EXPECT_TRUE(mini->GetExStyle() & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(mini->GetStyle() & WS_THICKFRAME);
  CRect client;
  mini->GetClientRect(&client);
  CRect outer(0, 0, client.Width(), client.Height());
  CMiniFrameWnd::CalcBorders(&outer, mini->GetStyle());
  CRect window;
  mini->GetWindowRect(&window);
  EXPECT_EQ(outer.Width(), window.Width());
  EXPECT_EQ(outer.Height(), window.Height());
  mini->DestroyWindow();
}

}  // namespace
