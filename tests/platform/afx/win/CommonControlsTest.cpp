// The common-control wrappers drive the real controls: what a member sets, the
// control keeps and reports back through the matching member.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "afxcmn.h"

namespace {

class CommonControls : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(parent_.CreateEx(0, nullptr, "host", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr));
  }
  void TearDown() override { parent_.DestroyWindow(); }
  CWnd parent_;
};

TEST_F(CommonControls, SliderKeepsRangePositionAndSteps) {
  CSliderCtrl slider;
  ASSERT_TRUE(slider.Create(WS_CHILD | WS_VISIBLE | TBS_HORZ, CRect(10, 10, 210, 40), &parent_, 100));
  slider.SetRange(-100000, 100000);  // beyond a short: the 32-bit messages carry it
  int lo = 0, hi = 0;
  slider.GetRange(lo, hi);
  EXPECT_EQ(lo, -100000);
  EXPECT_EQ(hi, 100000);
  struct Case {
    int set, want;
  } cases[] = {{5, 5}, {100000, 100000}, {200000, 100000}, {-300000, -100000}};
  for (const Case& c : cases) {
    slider.SetPos(c.set);
    EXPECT_EQ(slider.GetPos(), c.want) << c.set;
  }
  slider.SetLineSize(7);
  slider.SetPageSize(50);
  EXPECT_EQ(slider.GetLineSize(), 7);
  EXPECT_EQ(slider.GetPageSize(), 50);
  EXPECT_EQ(slider.GetDlgCtrlID(), 100);
}

// A window that notes the scroll messages its slider and scroll bar send it.
class ScrollHost : public CWnd {
 public:
  std::vector<std::pair<UINT, HWND>> heard;

 protected:
  afx_msg void OnHScroll(UINT code, UINT, CScrollBar* bar) { heard.push_back({code, bar ? bar->m_hWnd : nullptr}); }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(ScrollHost, CWnd)
  ON_WM_HSCROLL()
END_MESSAGE_MAP()

// The handler meets every sender as a scroll bar naming the sender's window: the scroll
// bar itself, or for a slider an object that only names it (never a wrong type).
TEST_F(CommonControls, ScrollHandlersMeetSlidersAndScrollBarsAlike) {
  ScrollHost host;
  ASSERT_TRUE(host.CreateEx(0, nullptr, "scrolls", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr));
  CSliderCtrl slider;
  ASSERT_TRUE(slider.Create(WS_CHILD | WS_VISIBLE, CRect(10, 10, 210, 40), &host, 100));
  CScrollBar bar;
  ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE | SBS_HORZ, CRect(10, 50, 210, 66), &host, 101));
  host.SendMessage(WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(slider.m_hWnd));
  host.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_LINERIGHT, 0), reinterpret_cast<LPARAM>(bar.m_hWnd));
  host.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_LINELEFT, 0), 0);
  EXPECT_EQ(host.heard, (std::vector<std::pair<UINT, HWND>>{
                            {TB_ENDTRACK, slider.m_hWnd}, {SB_LINERIGHT, bar.m_hWnd}, {SB_LINELEFT, nullptr}}));
  // A plain window passes a slider's scroll on without a handler of its own.
  parent_.SendMessage(WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(slider.m_hWnd));
  EXPECT_TRUE(::IsWindow(slider.m_hWnd));
  host.DestroyWindow();
}

// A control the framework did not create, found by id, gets the matching wrapper.
TEST_F(CommonControls, ControlFoundByIdGetsItsWrapper) {
  InitCommonControls();
  struct Case {
    LPCSTR className;
    CRuntimeClass* wrapper;
  } cases[] = {{TRACKBAR_CLASS, RUNTIME_CLASS(CSliderCtrl)},
               {UPDOWN_CLASS, RUNTIME_CLASS(CSpinButtonCtrl)},
               {PROGRESS_CLASS, RUNTIME_CLASS(CProgressCtrl)},
               {WC_TABCONTROL, RUNTIME_CLASS(CTabCtrl)},
               {STATUSCLASSNAME, RUNTIME_CLASS(CStatusBarCtrl)}};
  int id = 200;
  for (const Case& c : cases) {
    ++id;
    ASSERT_TRUE(CreateWindowExA(0, c.className, nullptr, WS_CHILD, 0, 0, 50, 20, parent_.m_hWnd,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr));
    CWnd* found = parent_.GetDlgItem(id);
    ASSERT_NE(found, nullptr);
    EXPECT_TRUE(found->IsKindOf(c.wrapper)) << c.className;
  }
  CSliderCtrl* slider = DYNAMIC_DOWNCAST(CSliderCtrl, parent_.GetDlgItem(201));
  ASSERT_NE(slider, nullptr);
  slider->SetRange(0, 40);
  slider->SetPos(30);
  EXPECT_EQ(slider->GetPos(), 30);
}

TEST_F(CommonControls, SpinClampsToItsRangeAndShowsThePositionInItsBuddy) {
  CEdit buddy;
  ASSERT_TRUE(buddy.Create(WS_CHILD | WS_VISIBLE, CRect(10, 50, 80, 70), &parent_, 101));
  CSpinButtonCtrl spin;
  ASSERT_TRUE(spin.Create(WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_NOTHOUSANDS, CRect(80, 50, 96, 70), &parent_, 102));
  spin.SetBuddy(&buddy);
  EXPECT_EQ(spin.GetBuddy()->m_hWnd, buddy.m_hWnd);
  struct Case {
    int lower, upper, set, want;
  } cases[] = {{0, 10, 4, 4}, {0, 10, 25, 10}, {-5, 5, -9, -5}, {-70000, 70000, 65000, 65000}};
  for (const Case& c : cases) {
    spin.SetRange32(c.lower, c.upper);
    spin.SetPos32(c.set);
    int lo = 0, hi = 0;
    spin.GetRange32(lo, hi);
    EXPECT_EQ(lo, c.lower);
    EXPECT_EQ(hi, c.upper);
    BOOL error = TRUE;
    EXPECT_EQ(spin.GetPos32(&error), c.want) << c.set;
    EXPECT_FALSE(error);
    CString text;
    buddy.GetWindowText(text);
    EXPECT_EQ(std::string((LPCSTR)text), std::to_string(c.want));
  }
  // Text that is no number makes the position read report an error.
  buddy.SetWindowText("abc");
  BOOL error = FALSE;
  spin.GetPos32(&error);
  EXPECT_TRUE(error);
  EXPECT_NE(HIWORD(spin.GetPos()), 0);
}

TEST_F(CommonControls, ProgressStepsOffsetsAndStaysInRange) {
  CProgressCtrl progress;
  ASSERT_TRUE(progress.Create(WS_CHILD | WS_VISIBLE, CRect(10, 80, 210, 100), &parent_, 103));
  progress.SetRange32(0, 50);
  int lo = -1, hi = -1;
  progress.GetRange(lo, hi);
  EXPECT_EQ(lo, 0);
  EXPECT_EQ(hi, 50);
  progress.SetStep(20);
  EXPECT_EQ(progress.SetPos(5), 0);  // the old position comes back
  EXPECT_EQ(progress.StepIt(), 5);
  EXPECT_EQ(progress.GetPos(), 25);
  EXPECT_EQ(progress.OffsetPos(-10), 25);
  EXPECT_EQ(progress.GetPos(), 15);
  progress.SetPos(80);
  EXPECT_EQ(progress.GetPos(), 50);
}

// A status bar whose owner-drawn pane draws itself.
class PaneDrawingBar : public CStatusBarCtrl {
 public:
  void DrawItem(LPDRAWITEMSTRUCT di) override { drawn.push_back({di->itemID, di->itemData}); }
  std::vector<std::pair<UINT, ULONG_PTR>> drawn;
};

TEST_F(CommonControls, StatusBarKeepsPanesAndDrawsItsOwnerDrawnPane) {
  PaneDrawingBar bar;
  ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), &parent_, 0xE801));
  int widths[] = {120, 240, -1};
  ASSERT_TRUE(bar.SetParts(3, widths));
  int got[3] = {};
  EXPECT_EQ(bar.GetParts(3, got), 3);
  EXPECT_EQ(got[1], 240);
  ASSERT_TRUE(bar.SetText("  1-  5 /  12  Check:  3", 1, SBT_NOBORDERS));
  int type = -1;
  EXPECT_EQ(bar.GetText(1, &type), "  1-  5 /  12  Check:  3");
  EXPECT_EQ(type, SBT_NOBORDERS);
  EXPECT_EQ(bar.GetTextLength(1), 24);
  EXPECT_EQ(bar.GetText(2), "");
  int horz = -1, vert = -1, spacing = -1;
  EXPECT_TRUE(bar.GetBorders(horz, vert, spacing));
  EXPECT_GE(vert, 0);
  EXPECT_GT(spacing, 0);
  CRect pane;
  ASSERT_TRUE(bar.GetRect(1, &pane));
  EXPECT_EQ(pane.right, 240);
  // The bar lies along the bottom of its parent.
  CRect host, mine;
  parent_.GetClientRect(&host);
  bar.GetWindowRect(&mine);
  parent_.ScreenToClient(&mine);
  EXPECT_EQ(mine.bottom, host.bottom);
  EXPECT_EQ(mine.Width(), host.Width());
  bar.SetSimple(TRUE);
  EXPECT_TRUE(bar.IsSimple());
  bar.SetSimple(FALSE);
  ASSERT_TRUE(bar.SetText(reinterpret_cast<LPCSTR>(static_cast<INT_PTR>(77)), 2, SBT_OWNERDRAW));
  bar.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(bar.drawn, (std::vector<std::pair<UINT, ULONG_PTR>>{{2u, 77u}}));
}

TEST_F(CommonControls, TabKeepsItsItemsAndSelection) {
  CTabCtrl tabs;
  ASSERT_TRUE(tabs.Create(WS_CHILD | WS_VISIBLE, CRect(10, 110, 310, 280), &parent_, 104));
  EXPECT_EQ(tabs.InsertItem(0, "Camera"), 0);
  EXPECT_EQ(tabs.InsertItem(1, "Colour"), 1);
  EXPECT_EQ(tabs.InsertItem(1, "Shading"), 1);  // inserted between the two
  ASSERT_EQ(tabs.GetItemCount(), 3);
  const char* want[] = {"Camera", "Shading", "Colour"};
  for (int i = 0; i < 3; ++i) {
    char buffer[32] = "";
    TCITEM item{};
    item.mask = TCIF_TEXT;
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    ASSERT_TRUE(tabs.GetItem(i, &item));
    EXPECT_STREQ(buffer, want[i]);
  }
  tabs.SetCurSel(2);
  EXPECT_EQ(tabs.GetCurSel(), 2);
  CRect whole(0, 0, 300, 170), inside = whole;
  tabs.AdjustRect(FALSE, &inside);
  EXPECT_TRUE(whole.PtInRect(inside.TopLeft()));
  EXPECT_LT(inside.Height(), whole.Height());
  EXPECT_TRUE(tabs.DeleteItem(0));
  EXPECT_EQ(tabs.GetItemCount(), 2);
  EXPECT_TRUE(tabs.DeleteAllItems());
  EXPECT_EQ(tabs.GetItemCount(), 0);
}

TEST_F(CommonControls, ToolTipAddsUpdatesAndRemovesTools) {
  CButton button;
  ASSERT_TRUE(button.Create("Snap", WS_CHILD | WS_VISIBLE, CRect(220, 10, 300, 40), &parent_, 105));
  CToolTipCtrl tip;
  ASSERT_TRUE(tip.Create(&parent_, TTS_ALWAYSTIP));
  EXPECT_TRUE(tip.AddTool(&button, "Take a picture"));
  CRect area(0, 0, 50, 50);
  EXPECT_TRUE(tip.AddTool(&parent_, "Live view", &area, 7));
  EXPECT_FALSE(tip.AddTool(&button, "again"));  // the same tool twice is refused
  EXPECT_FALSE(tip.AddTool(&parent_, "no id", &area, 0));
  EXPECT_EQ(tip.GetToolCount(), 2);
  tip.UpdateTipText("Capture", &button);
  tip.DelTool(&parent_, 7);
  EXPECT_EQ(tip.GetToolCount(), 1);
  tip.DelTool(&button);
  EXPECT_EQ(tip.GetToolCount(), 0);
  tip.DestroyWindow();
}

}  // namespace
