// Frame layout with bars: children in the bar id range take their room from the client
// area through WM_SIZEPARENT in z-order, and the pane gets what is left.
#include <gtest/gtest.h>

#include <string>

#include "afxwin.h"

namespace {

std::string Text(const CRect& r) {
  char t[64];
  snprintf(t, sizeof t, "(%d,%d)-(%d,%d)", r.left, r.top, r.right, r.bottom);
  return t;
}

// Answers WM_SIZEPARENT as a docked bar does: it takes `thickness` from its edge.
class CEdgeBar : public CWnd {
 public:
  enum Edge { top, bottom, left };
  Edge edge = top;
  int thickness = 0;
  int asked = 0;

  CRect Placed() const {
    CRect r;
    GetWindowRect(&r);
    GetParent()->ScreenToClient(&r);
    return r;
  }

 protected:
  afx_msg LRESULT OnSizeParent(WPARAM, LPARAM lParam) {
    ++asked;
    auto* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    CRect r = layout->rect;
    switch (edge) {
      case top:
        r.bottom = r.top + thickness;
        layout->rect.top += thickness;
        layout->sizeTotal.cy += thickness;
        break;
      case bottom:
        r.top = r.bottom - thickness;
        layout->rect.bottom -= thickness;
        layout->sizeTotal.cy += thickness;
        break;
      case left:
        r.right = r.left + thickness;
        layout->rect.left += thickness;
        layout->sizeTotal.cx += thickness;
        break;
    }
    if (layout->hDWP) AfxRepositionWindow(layout, m_hWnd, &r);  // a query only measures
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CEdgeBar, CWnd)
  ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
END_MESSAGE_MAP()

class BarLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    auto* f = new CFrameWnd;  // deletes itself with its window
    ASSERT_TRUE(f->Create(nullptr, "bars", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 400, 300)));
    frame = f;
    const struct {
      CEdgeBar* bar;
      CEdgeBar::Edge edge;
      int thickness;
      UINT id;
    } bars[] = {{&toolBar, CEdgeBar::top, 30, AFX_IDW_TOOLBAR},
                {&statusBar, CEdgeBar::bottom, 20, AFX_IDW_STATUS_BAR},
                {&sideBar, CEdgeBar::left, 50, AFX_IDW_DOCKBAR_LEFT}};
    for (const auto& b : bars) {
      b.bar->edge = b.edge;
      b.bar->thickness = b.thickness;
      ASSERT_TRUE(b.bar->CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1), frame, b.id));
    }
    ASSERT_TRUE(plain.CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1), frame, 100));
    ASSERT_TRUE(pane.CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1), frame, AFX_IDW_PANE_FIRST));
    // A window without an object of its own is no bar either.
    foreign = ::CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE, 0, 0, 1, 1, frame->m_hWnd,
                                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(AFX_IDW_PREVIEW_BAR)), nullptr, nullptr);
  }
  void TearDown() override {
    if (frame->m_hWnd) frame->DestroyWindow();
  }
  CRect PanePlaced() const {
    CRect r;
    pane.GetWindowRect(&r);
    frame->ScreenToClient(&r);
    return r;
  }

  CFrameWnd* frame = nullptr;
  CEdgeBar toolBar, statusBar, sideBar;
  CWnd plain, pane;  // a child that takes no room, the pane
  HWND foreign = nullptr;
};

TEST_F(BarLayout, BarsTakeTheirEdgesInOrderAndThePaneTheRest) {
  for (CSize size : {CSize(420, 320), CSize(520, 410)}) {
    frame->SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);  // lays out again
    CRect c;
    frame->GetClientRect(&c);
    SCOPED_TRACE(Text(c));
    EXPECT_EQ(Text(toolBar.Placed()), Text(CRect(0, 0, c.right, 30)));
    EXPECT_EQ(Text(statusBar.Placed()), Text(CRect(0, c.bottom - 20, c.right, c.bottom)));
    EXPECT_EQ(Text(sideBar.Placed()), Text(CRect(0, 30, 50, c.bottom - 20)));
    EXPECT_EQ(Text(PanePlaced()), Text(CRect(50, 30, c.right, c.bottom - 20)));
  }
  for (HWND untouched : {plain.m_hWnd, foreign}) {
    RECT r;
    ::GetWindowRect(untouched, &r);
    EXPECT_EQ(r.right - r.left, 1);
  }
}

TEST_F(BarLayout, QueryMeasuresWithoutMoving) {
  frame->RecalcLayout();
  CRect pane0 = PanePlaced(), tool0 = toolBar.Placed();
  CRect c;
  frame->GetClientRect(&c);
  c.bottom -= 50;  // a smaller client than the real one
  CRect left;
  frame->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CWnd::reposQuery, &left, &c);
  EXPECT_EQ(Text(left), Text(CRect(50, 30, c.right, c.bottom - 20)));
  CRect total;
  frame->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CWnd::reposQuery, &total, &c, FALSE);
  EXPECT_EQ(Text(total), Text(CRect(0, 0, 50, 50)));  // the bars' own sizes added up
  // Only the bars in the id range count.
  int asked = sideBar.asked;
  frame->RepositionBars(AFX_IDW_TOOLBAR, AFX_IDW_STATUS_BAR, AFX_IDW_PANE_FIRST, CWnd::reposQuery, &left, &c);
  EXPECT_EQ(Text(left), Text(CRect(0, 30, c.right, c.bottom - 20)));
  EXPECT_EQ(sideBar.asked, asked);
  EXPECT_EQ(PanePlaced(), pane0);
  EXPECT_EQ(toolBar.Placed(), tool0);
}

TEST_F(BarLayout, FrameBorderIsKeptAroundThePane) {
  frame->m_rectBorder = CRect(5, 6, 7, 8);  // left, top, right, bottom widths
  frame->RecalcLayout();
  CRect c;
  frame->GetClientRect(&c);
  EXPECT_EQ(Text(PanePlaced()), Text(CRect(55, 36, c.right - 7, c.bottom - 28)));
  EXPECT_EQ(Text(toolBar.Placed()), Text(CRect(0, 0, c.right, 30)));
}

}  // namespace
