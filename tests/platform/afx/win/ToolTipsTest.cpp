// Tooltips of framework windows: the child control under the mouse by default with its
// text from the frame's strings, tools a window names itself, text asked of the window,
// and the innermost window that enabled them taking the mouse.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

#include "Clock.h"
#include "ModuleRegistry.h"
#include "afxwin.h"
#include "frame_ids.h"
#include "user/Input.h"

namespace {

HINSTANCE Resources() {
  static HMODULE m = plat::RegisterModule(plat::ModuleSpec{"FrameRes.dll", "C:\\Lumora", {}, {}, true});
  return reinterpret_cast<HINSTANCE>(m);
}

// A strip of two labels: the first fits and has no tool, the second shows its whole label.
// Child controls with ids 1103 to 1107 get their text asked for.
class CStripWnd : public CWnd {
 public:
  static constexpr int kLabelWidth = 60;
  INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override {
    if (INT_PTR child = CWnd::OnToolHitTest(point, pTI); child != -1) return child;
    if (point.y >= 20) return -1;
    int index = point.x / kLabelWidth;
    if (index != 1) return -1;
    pTI->hwnd = m_hWnd;
    pTI->uId = static_cast<UINT_PTR>(index + 1);
    SetRect(&pTI->rect, index * kLabelWidth, 0, (index + 1) * kLabelWidth, 20);
    pTI->lpszText = strdup("a label too long to fit");
    return index + 1;
  }

 protected:
  afx_msg BOOL OnNeedText(UINT, NMHDR* pNMHDR, LRESULT* pResult) {
    auto* info = reinterpret_cast<TOOLTIPTEXT*>(pNMHDR);
    UINT id = static_cast<UINT>(pNMHDR->idFrom);
    if (info->uFlags & TTF_IDISHWND) id = static_cast<UINT>(::GetDlgCtrlID(reinterpret_cast<HWND>(pNMHDR->idFrom)));
    if (id < 1103 || id > 1107) return FALSE;
    snprintf(info->szText, sizeof info->szText, "C:\\Image\\Img_%04u.jpg", 1107 - id);
    *pResult = 0;
    return TRUE;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CStripWnd, CWnd)
  ON_NOTIFY_EX(TTN_NEEDTEXT, 0, OnNeedText)
END_MESSAGE_MAP()

class ToolTips : public ::testing::Test {
 protected:
  void SetUp() override {
    plat::clock::UseVirtual(true);  // the tip's pause passes at once
    AfxSetResourceHandle(Resources());
    auto* f = new CFrameWnd;  // deletes itself with its window
    ASSERT_TRUE(f->Create(nullptr, "tips", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 500, 400)));
    frame = f;
    // The group box comes first, over the buttons it frames.
    ASSERT_TRUE(group.Create("group", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, CRect(10, 10, 200, 200), frame, 50));
    ASSERT_TRUE(open.Create("Open", WS_CHILD | WS_VISIBLE, CRect(20, 30, 120, 60), frame, ID_OPEN));
    ASSERT_TRUE(tipped.Create("Save", WS_CHILD | WS_VISIBLE | WS_DISABLED, CRect(20, 70, 120, 100), frame, ID_TIPPED));
    ASSERT_TRUE(longTip.Create("Long", WS_CHILD | WS_VISIBLE, CRect(20, 110, 120, 140), frame, ID_LONGTIP));
    ASSERT_TRUE(plain.Create("Plain", WS_CHILD | WS_VISIBLE, CRect(20, 150, 120, 180), frame, ID_SAVE));
    ASSERT_TRUE(strip.CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE, CRect(250, 10, 450, 200), frame, 60));
    ASSERT_TRUE(thumb.Create("thumb", WS_CHILD | WS_VISIBLE, CRect(0, 50, 50, 100), &strip, 1105));
  }
  void TearDown() override {
    if (frame->m_hWnd) frame->DestroyWindow();
    AfxSetResourceHandle(nullptr);
    plat::clock::UseVirtual(false);
  }
  // Handles the thread's messages the way its message loop does.
  static void Pump() {
    MSG m;
    while (::PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      if (CWnd::WalkPreTranslateTree(nullptr, &m)) continue;
      ::TranslateMessage(&m);
      ::DispatchMessageA(&m);
    }
  }
  // Rests the mouse over a point of `wnd` long enough for a tip to show.
  static void Hover(CWnd& wnd, int x, int y) {
    CPoint p(x, y);
    wnd.ClientToScreen(&p);
    plat::user::input::MouseMove(p.x, p.y);
    Pump();
    ::Sleep(600);
    Pump();
  }
  // The tip the thread shows, or "" when none is shown.
  static std::string Shown() {
    HWND tip = ::FindWindowA(TOOLTIPS_CLASS, nullptr);
    if (!tip || !::IsWindowVisible(tip)) return "";
    char text[128] = {};
    ::GetWindowTextA(tip, text, sizeof text);
    return text;
  }

  CFrameWnd* frame = nullptr;
  CButton group, open, tipped, longTip, plain, thumb;
  CStripWnd strip;
};

TEST_F(ToolTips, ChildControlsShowTheTipOfTheirCommandString) {
  ASSERT_TRUE(frame->EnableToolTips(TRUE));
  struct Case {
    const char* where;
    CWnd* wnd;
    CPoint at;
    std::string tip;
  };
  std::string cut;
  for (int i = 0; i < 13; ++i) cut += "撮影";  // 78 of the 90 bytes: whole characters only
  const Case cases[] = {
      {"a button, through the group box over it", &open, CPoint(10, 10), "Open"},
      {"a disabled button", &tipped, CPoint(10, 10), "Save the picture"},
      {"a tip longer than its record", &longTip, CPoint(10, 10), cut},
      {"a control whose string has no tip", &plain, CPoint(10, 10), ""},
      {"the group box alone", &group, CPoint(150, 150), ""},
      {"back on the first button", &open, CPoint(50, 20), "Open"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.where);
    Hover(*c.wnd, c.at.x, c.at.y);
    EXPECT_EQ(Shown(), c.tip);
  }
  // A key hides the tip; without tooltips nothing shows.
  plat::user::input::Key('A', true);
  plat::user::input::Key('A', false);
  Pump();
  EXPECT_EQ(Shown(), "");
  frame->EnableToolTips(FALSE);
  Hover(open, 10, 10);
  EXPECT_EQ(Shown(), "");
}

TEST_F(ToolTips, WindowsNameTheirOwnToolsAndTheInnermostTakesTheMouse) {
  ASSERT_TRUE(frame->EnableToolTips(TRUE));
  ASSERT_TRUE(strip.EnableToolTips(TRUE));
  struct Case {
    const char* where;
    CWnd* wnd;
    CPoint at;
    std::string tip;
  };
  const Case cases[] = {
      {"a label that does not fit", &strip, CPoint(90, 10), "a label too long to fit"},
      {"a label that fits", &strip, CPoint(30, 10), ""},
      {"a child whose text the strip gives", &thumb, CPoint(10, 10), "C:\\Image\\Img_0002.jpg"},
      {"the frame's own control still", &open, CPoint(10, 10), "Open"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.where);
    Hover(*c.wnd, c.at.x, c.at.y);
    EXPECT_EQ(Shown(), c.tip);
  }
}

TEST_F(ToolTips, TheTipControlGoesWithItsWindowAndComesBack) {
  CStripWnd popup;
  ASSERT_TRUE(popup.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 600, 0, 200, 100, nullptr, nullptr));
  ASSERT_TRUE(popup.EnableToolTips(TRUE));
  Hover(popup, 90, 10);
  EXPECT_EQ(Shown(), "a label too long to fit");
  popup.DestroyWindow();  // the tip control was its own
  EXPECT_EQ(::FindWindowA(TOOLTIPS_CLASS, nullptr), nullptr);
  ASSERT_TRUE(frame->EnableToolTips(TRUE));
  Hover(open, 10, 10);
  EXPECT_EQ(Shown(), "Open");
}

}  // namespace
