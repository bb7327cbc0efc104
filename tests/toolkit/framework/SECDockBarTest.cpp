// The sizing dock bar: row shares (minimum, normalising, expanding, resizing by pixels),
// placing bars by row and column, the layout of a row with its splitters and edges, the
// splitters dragged with the mouse, and removing bars from a floating dock bar.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FrameworkFixture.h"
#include "framework/SECMiniDockFrameWnd.h"
#include "user/Driver.h"
#include "user/Input.h"

namespace framework_test {
namespace {

namespace drv = plat::user::driver;
namespace input = plat::user::input;

class DockBarTest : public FrameworkTest {
 protected:
  void SetUp() override {
    FrameworkTest::SetUp();
    top = Dock(AFX_IDW_DOCKBAR_TOP);
    ASSERT_NE(top, nullptr);
    for (char name : std::string("ABCDX")) {
      SECControlBar* bar = MakeBar(frame, ID_TEST_BAR_A + static_cast<UINT>(bars.size()), std::string(1, name).c_str(),
                                   CSize(120, 40), WS_CHILD | WS_VISIBLE | CBRS_TOP);
      ASSERT_NE(bar, nullptr);
      bars.push_back(bar);
    }
  }
  // The top dock bar at a length of its own (the frame lays it out again later).
  void SizeTop(int length) { top->SetWindowPos(nullptr, 0, 0, length, 60, SWP_NOZORDER | SWP_NOACTIVATE); }
  // The top dock bar's rows set as `layout` says ("0 A 0 B C 0"), the bars docked there.
  void Arrange(const std::string& layout) {
    top->m_arrBars.RemoveAll();
    for (char c : layout) {
      if (c == ' ') continue;
      if (c == '0') {
        top->m_arrBars.Add(nullptr);
        continue;
      }
      SECControlBar* bar = Bar(c);
      if (bar->GetParent() != top) bar->SetParent(top);
      bar->m_pDockBar = top;
      top->m_arrBars.Add(bar);
    }
  }
  SECControlBar* Bar(char name) { return bars[name == 'X' ? 4 : static_cast<size_t>(name - 'A')]; }

  SECDockBar* top = nullptr;
  std::vector<SECControlBar*> bars;  // A B C D X; the frame owns them
};

TEST_F(DockBarTest, TheMinimumShareIs18PixelsOfTheRow) {
  const struct {
    int length;
    float share;
  } cases[] = {{600, 0.03f}, {0, 0.05f}, {36, 0.5f}, {9, 1.0f}};
  for (const auto& c : cases) {
    SizeTop(c.length);
    top->UpdateMinShare();
    EXPECT_FLOAT_EQ(top->m_fMinShare, c.share) << c.length;
  }
}

TEST_F(DockBarTest, NormalisingARowKeepsTheActiveBarsPartAndTheOthersProportions) {
  const struct {
    std::vector<float> shares;
    char active;
    std::vector<float> expected;
  } cases[] = {
      {{0.5f, 0.5f}, 0, {0.5f, 0.5f}},
      {{0.25f, 0.25f}, 0, {0.5f, 0.5f}},
      {{0.3f, 0.7f}, 'A', {0.3f, 0.7f}},           // a row in shape stays so
      {{0.5f, 0.25f}, 'A', {0.5f, 0.5f}},          // the row lost a bar: the active one keeps its part
      {{0.01f, 0.99f}, 'A', {0.03f, 0.97f}},       // never below 18 pixels of 600
      {{1.0f, 0.0f}, 'A', {1.0f, 0.03f}},          // expanded: the row as it is
      {{0.2f, 0.2f, 0.2f}, 'C', {0.4f, 0.4f, 0.2f}},
  };
  for (const auto& c : cases) {
    Arrange(c.shares.size() == 3 ? "0 A B C 0" : "0 A B 0");
    SizeTop(600);
    for (size_t i = 0; i < c.shares.size(); ++i) bars[i]->m_fPctWidth = c.shares[i];
    int normal = 0, fixed = 0;
    top->NormalizeRow(1, c.active ? Bar(c.active) : nullptr, normal, fixed);
    EXPECT_EQ(normal, static_cast<int>(c.shares.size()));
    EXPECT_EQ(fixed, 0);
    for (size_t i = 0; i < c.shares.size(); ++i)
      EXPECT_NEAR(bars[i]->m_fPctWidth, c.expected[i], 0.002f) << "case " << &c - cases << " bar " << i;
  }
}

TEST_F(DockBarTest, ExpandingABarGivesItTheRowAndTheOthersTheMinimum) {
  Arrange("0 A B 0");
  SizeTop(600);
  Bar('A')->m_fPctWidth = Bar('B')->m_fPctWidth = 0.5f;
  top->SetRowState(Bar('A'), 1);
  EXPECT_FLOAT_EQ(Bar('A')->m_fPctWidth, 1.0f);
  EXPECT_FLOAT_EQ(Bar('B')->m_fPctWidth, 0.03f);
  EXPECT_TRUE(top->IsOnlyStretchedBar(Bar('A')));
  EXPECT_FALSE(top->IsOnlyStretchedBar(Bar('B')));
  top->SetRowState(Bar('A'), 2);
  EXPECT_FLOAT_EQ(Bar('A')->m_fPctWidth, 0.5f);
  EXPECT_FLOAT_EQ(Bar('B')->m_fPctWidth, 0.5f);
  EXPECT_FALSE(top->IsOnlyStretchedBar(Bar('A')));
}

TEST_F(DockBarTest, ResizingByPixelsKeeps18PixelsAndAnswersTheRest) {
  Arrange("0 A 0");
  SizeTop(600);
  const struct {
    int length, pixels, newLength, rest;
  } cases[] = {{30, 10, 40, 0}, {30, -20, 18, -8}, {100, -200, 18, -118}, {18, -1, 18, -1}};
  for (const auto& c : cases) {
    Bar('A')->SetWindowPos(nullptr, 0, 0, c.length, 40, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(top->ResizeBarBy(Bar('A'), c.pixels, 600), c.rest) << c.length << " " << c.pixels;
    EXPECT_EQ(Bar('A')->m_szHorz.cx, c.newLength);
    EXPECT_FLOAT_EQ(Bar('A')->m_fPctWidth, static_cast<float>(c.newLength) / 600.0f);
  }
}

TEST_F(DockBarTest, BarsGoWhereRowColumnAndFlagsSay) {
  const DWORD fromEnd = SEC_DOCKPOS_ROW_FROM_END, colsFromEnd = SEC_DOCKPOS_COL_FROM_END,
              newRow = SEC_DOCKPOS_NEW_ROW;
  const struct {
    int row, col;
    DWORD flags;
    const char* after;
  } cases[] = {
      {0, 0, 0, "0 X A 0 B C 0"},
      {0, 1, 0, "0 A X 0 B C 0"},
      {1, 1, 0, "0 A 0 B X C 0"},
      {1, 5, 0, "0 A 0 B C X 0"},
      {2, 0, 0, "0 A 0 B C 0 X 0"},
      {99, 3, 0, "0 A 0 B C 0 X 0"},
      {-1, 0, 0, "0 X A 0 B C 0"},
      {-2, 0, 0, "0 X 0 A 0 B C 0"},
      {0, 0, fromEnd, "0 A 0 X B C 0"},
      {-1, 0, fromEnd, "0 X A 0 B C 0"},
      {-5, 0, fromEnd, "0 X 0 A 0 B C 0"},
      {1, 0, fromEnd, "0 A 0 B C 0 X 0"},
      {1, 1, newRow, "0 A 0 X 0 B C 0"},
      {1, 0, colsFromEnd, "0 A 0 B X C 0"},
      {1, 1, colsFromEnd, "0 A 0 B C X 0"},
      {1, -1, colsFromEnd, "0 A 0 X B C 0"},
      {1, -5, colsFromEnd, "0 A 0 X B C 0"},
  };
  for (const auto& c : cases) {
    Arrange("0 A 0 B C 0");
    const int index = top->InsertBarAtPosition(Bar('X'), SECDockPos{c.row, c.col, c.flags});
    EXPECT_EQ(Rows(*top), c.after) << c.row << "," << c.col << "," << c.flags;
    EXPECT_EQ(top->m_arrBars[index], Bar('X'));
  }
  Arrange("0");
  top->InsertBarAtPosition(Bar('X'), 3, 3);
  EXPECT_EQ(Rows(*top), "0 X 0");
}

TEST_F(DockBarTest, ARowSharesItsLengthWithSplittersAndEdges) {
  frame->DockControlBar(Bar('A'), AFX_IDW_DOCKBAR_TOP);
  top->DockControlBarAt(Bar('B'), 1, 0);
  Bar('A')->m_fPctWidth = 0.25f;
  Bar('B')->m_fPctWidth = 0.75f;
  top->m_pLastPlacedBar = nullptr;
  frame->RecalcLayout();
  Settle();
  ASSERT_EQ(Rows(*top), "0 A B 0");
  CRect client;
  top->GetClientRect(&client);
  const int length = client.Width();
  const CRect a = InDock(Bar('A')), b = InDock(Bar('B'));
  EXPECT_EQ(a.left, 0);
  EXPECT_EQ(a.top, 2);  // below the client edge
  EXPECT_EQ(a.Width(), static_cast<int>((length - 6) * 0.25f));
  EXPECT_EQ(b.left, a.right + 6);
  EXPECT_EQ(b.right, length);
  EXPECT_EQ(a.Height(), 40);
  // The edge above the row, the splitter between the bars and the one below the row.
  ASSERT_EQ(top->Edges().size(), 1u);
  EXPECT_EQ(top->Edges()[0]->m_rect, CRect(0, 0, length, 2));
  ASSERT_EQ(top->Splitters().size(), 2u);
  std::vector<CRect> splitters;
  for (const auto& s : top->Splitters()) splitters.push_back(s->m_rect);
  EXPECT_NE(std::find(splitters.begin(), splitters.end(), CRect(a.right, 2, a.right + 6, 42)), splitters.end());
  EXPECT_NE(std::find(splitters.begin(), splitters.end(), CRect(0, 42, length, 48)), splitters.end());
  EXPECT_EQ(client.Height(), 48);
  // The splitter's faces: highlight on its left column, frame colour on its right.
  CPoint left = OnScreen(*top, CPoint(a.right, 20)), right = OnScreen(*top, CPoint(a.right + 5, 20));
  HDC screen = ::GetDC(nullptr);
  EXPECT_EQ(::GetPixel(screen, left.x, left.y), ::GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(::GetPixel(screen, right.x, right.y), ::GetSysColor(COLOR_WINDOWFRAME));
  ::ReleaseDC(nullptr, screen);
}

class SplitterDragTest : public DockBarTest {
 protected:
  void SetUp() override {
    DockBarTest::SetUp();
    frame->DockControlBar(Bar('A'), AFX_IDW_DOCKBAR_TOP);
    top->DockControlBarAt(Bar('B'), 1, 0);
    top->DockControlBarAt(Bar('C'), 2, 0);
    for (char name : std::string("ABC")) Bar(name)->m_fPctWidth = 1.0f / 3.0f;
    top->m_pLastPlacedBar = nullptr;
    frame->RecalcLayout();
    Settle();
    ASSERT_EQ(Rows(*top), "0 A B C 0");
  }
  // The in-row splitter after `bar`, on the screen.
  CPoint SplitterAfter(char name) {
    CRect r = InDock(Bar(name));
    return OnScreen(*top, CPoint(r.right + 3, r.top + 10));
  }
  void Relayout() {
    frame->RecalcLayout();
    Settle();
  }
};

TEST_F(SplitterDragTest, InRowSplittersStop24PixelsABarFromEitherEnd) {
  CRect client;
  top->GetClientRect(&client);
  drv::Drag(SplitterAfter('A'), OnScreen(*top, CPoint(1, 20)), 4);  // inside the frame: its input
  Settle();
  Relayout();
  EXPECT_NEAR(InDock(Bar('A')).right, 24, 1);
  drv::Drag(SplitterAfter('A'), OnScreen(*top, CPoint(client.right - 1, 20)), 4);
  Settle();
  Relayout();
  // The splitter stops 48 pixels (24 a bar) from the end: the bar after it is down to 18
  // pixels, the last one takes the rest.
  EXPECT_NEAR(InDock(Bar('A')).right + 6, client.right - 48, 1);
  EXPECT_NEAR(InDock(Bar('B')).Width(), 18, 1);
  EXPECT_NEAR(InDock(Bar('C')).Width(), 24, 1);
}

TEST_F(SplitterDragTest, AnInRowDragMovesTheLengthBetweenNeighbours) {
  const CRect a = InDock(Bar('A')), b = InDock(Bar('B')), c = InDock(Bar('C'));
  drv::Drag(SplitterAfter('A'), SplitterAfter('A') + CPoint(30, 0), 3);
  Settle();
  Relayout();
  EXPECT_NEAR(InDock(Bar('A')).Width(), a.Width() + 30, 1);
  EXPECT_NEAR(InDock(Bar('B')).Width(), b.Width() - 30, 1);
  EXPECT_NEAR(InDock(Bar('C')).left, c.left, 1);
  EXPECT_EQ(InDock(Bar('C')).right, c.right);
}

TEST_F(SplitterDragTest, EscapeCancelsTheDragAndChangesNothing) {
  const CRect a = InDock(Bar('A')), b = InDock(Bar('B'));
  SECDockBar::Splitter* splitter = nullptr;
  for (const auto& s : top->Splitters())
    if (s->m_bInRow && s->m_rect.left == a.right) splitter = s.get();
  ASSERT_NE(splitter, nullptr);
  const CPoint from = SplitterAfter('A');
  input::MouseMove(from.x + 40, from.y);
  input::Key(VK_ESCAPE, true);
  input::Key(VK_ESCAPE, false);
  input::MouseButton(0, false);
  CPoint inDock = from;
  top->ScreenToClient(&inDock);
  EXPECT_EQ(top->TrackSplitter(splitter, inDock), 0);
  Settle();
  Relayout();
  EXPECT_EQ(InDock(Bar('A')), a);
  EXPECT_EQ(InDock(Bar('B')), b);
}

TEST_F(SplitterDragTest, ARowSplitterMakesTheRowThicker) {
  const CPoint below = OnScreen(*top, CPoint(100, 45));
  drv::Drag(below, below + CPoint(0, 20), 2);
  Settle();
  Relayout();
  for (char name : std::string("ABC")) EXPECT_EQ(InDock(Bar(name)).Height(), 60) << name;
  drv::Drag(below + CPoint(0, 20), below + CPoint(0, -60), 2);
  Settle();
  Relayout();
  EXPECT_EQ(InDock(Bar('A')).Height(), 19);  // the row keeps 19 pixels
}

TEST_F(SplitterDragTest, ADragRefusedWhileAnotherWindowHoldsTheMouse) {
  view.SetCapture();
  SECDockBar::Splitter* splitter = top->Splitters().front().get();
  EXPECT_EQ(top->TrackSplitter(splitter, splitter->m_rect.CenterPoint()), 0);
  ::ReleaseCapture();
}

TEST_F(DockBarTest, RemovingTheLastBarOfAFloatingDockBarTakesItsFrame) {
  frame->FloatBar(Bar('A'), CPoint(300, 300));
  Settle();
  auto* floating = dynamic_cast<SECMiniDockFrameWnd*>(Bar('A')->GetParentFrame());
  ASSERT_NE(floating, nullptr);
  SECDockBar& dock = floating->GetDockBar();
  dock.DockControlBar(Bar('B'));
  Settle();
  EXPECT_EQ(Rows(dock), "0 A 0 B 0");
  EXPECT_FALSE(dock.RemoveControlBar(Bar('B')));
  EXPECT_TRUE(floating->IsWindowVisible());
  EXPECT_EQ(Rows(dock), "0 A 0 #" + std::to_string(ID_TEST_BAR_B) + " 0");
  Bar('B')->SetParent(frame);
  Bar('B')->m_pDockBar = nullptr;
  HWND floatingWnd = floating->m_hWnd;
  Bar('A')->SetParent(frame);
  EXPECT_TRUE(dock.RemoveControlBar(Bar('A')));
  EXPECT_FALSE(::IsWindow(floatingWnd));
  Bar('A')->m_pDockBar = nullptr;
}

}  // namespace
}  // namespace framework_test
