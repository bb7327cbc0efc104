// The small drawing helpers of the windows: rounding half away from zero, and the
// off-screen context that reaches its target in one copy (or not at all on a printer).
#include <gtest/gtest.h>

#include <afxext.h>
#include <afxwin.h>

#include <memory>

#include <cstring>
#include <string>

#include "shell/Launches.h"
#include "ui/FixedSplitterWnd.h"
#include "ui/Label.h"
#include "ui/MathUtl.h"
#include "ui/MemDC.h"

namespace {

TEST(MathUtl, RoundsHalvesAwayFromZero) {
  const struct {
    double x;
    int rounded;
  } cases[] = {{2.5, 3}, {-2.5, -3}, {1.5, 2}, {-1.5, -2}, {-0.7, -1}, {0.49, 0}, {252.5, 253}, {-0.49, 0}};
  for (const auto& c : cases) EXPECT_EQ(CMathUtl::Round(c.x), c.rounded) << c.x;
}

// A 100 x 80 white bitmap in a memory DC, standing for a window being painted.
class MemDCTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(target.CreateCompatibleDC(nullptr));
    CClientDC screen(nullptr);
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 100, 80));
    old = target.SelectObject(&bitmap);
    target.FillSolidRect(0, 0, 100, 80, RGB(255, 255, 255));
  }
  void TearDown() override { target.SelectObject(old); }
  CDC target;
  CBitmap bitmap;
  CBitmap* old = nullptr;
};

TEST_F(MemDCTest, DrawsOffScreenAndCopiesTheClippedAreaOnceAtTheEnd) {
  // Only the invalid part is painted: the clip box decides what the copy covers.
  target.IntersectClipRect(20, 10, 60, 50);
  CRect whole(0, 0, 100, 80);
  {
    CMemDC memory(&target, &whole);
    EXPECT_TRUE(memory.IsMemDC());
    EXPECT_EQ(memory.GetRect(), CRect(20, 10, 60, 50));
    // The target's own coordinates reach the same places.
    memory.FillSolidRect(25, 15, 10, 10, RGB(200, 0, 0));
    EXPECT_EQ(target.GetPixel(30, 20), RGB(255, 255, 255)) << "nothing reaches the target before the end";
  }
  target.SelectClipRgn(nullptr);
  EXPECT_EQ(target.GetPixel(30, 20), RGB(200, 0, 0));
  EXPECT_EQ(target.GetPixel(5, 5), RGB(255, 255, 255)) << "outside the clip box nothing is copied";
}

TEST_F(MemDCTest, OnAPrinterItDrawsStraightIntoThePrintersContext) {
  target.m_bPrinting = TRUE;
  CRect whole(0, 0, 100, 80);
  {
    CMemDC memory(&target, &whole);
    EXPECT_FALSE(memory.IsMemDC());
    EXPECT_EQ(memory.m_hDC, target.m_hDC);
    EXPECT_EQ(memory.GetRect(), whole);
    memory.FillSolidRect(10, 10, 5, 5, RGB(0, 0, 200));
    EXPECT_EQ(target.GetPixel(12, 12), RGB(0, 0, 200));
  }
  target.m_bPrinting = FALSE;
  EXPECT_NE(target.m_hDC, nullptr) << "the printer's context is only borrowed";
  EXPECT_EQ(target.GetPixel(12, 12), RGB(0, 0, 200));
}

TEST_F(MemDCTest, WithNothingVisibleItDrawsNothing) {
  // An empty clip: nothing of the target may change, off screen or through it.
  target.IntersectClipRect(30, 30, 30, 30);
  CRect whole(0, 0, 100, 80);
  {
    CMemDC memory(&target, &whole);
    memory.FillSolidRect(0, 0, 100, 80, RGB(0, 0, 200));
  }
  target.SelectClipRgn(nullptr);
  for (CPoint p : {CPoint(0, 0), CPoint(30, 30), CPoint(99, 79)}) EXPECT_EQ(target.GetPixel(p), RGB(255, 255, 255));
}

// A parent window for the small windows, on the headless screen.
class SmallWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "parent", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                                nullptr));
  }
  void TearDown() override { parent.DestroyWindow(); }
  CWnd parent;
};

TEST_F(SmallWindows, ALabelOpensItsTextOnlyOnceMadeALink) {
  CreateDirectoryA("C:\\Data", nullptr);
  HANDLE file = CreateFileA("C:\\Data\\notes.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  CloseHandle(file);
  CLabel label;
  ASSERT_TRUE(label.Create("C:\\Data\\notes.txt", WS_CHILD | WS_VISIBLE, CRect(10, 10, 200, 30), &parent, 1099));
  plat::shell::ClearLaunches();
  label.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_TRUE(plat::shell::Launches().empty()) << "a plain label is not a link";
  label.SetLink(TRUE);
  EXPECT_TRUE(label.GetStyle() & SS_NOTIFY);
  label.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  ASSERT_EQ(plat::shell::Launches().size(), 1u);
  EXPECT_EQ(plat::shell::Launches()[0].verb, "open");
  EXPECT_EQ(plat::shell::Launches()[0].target, "C:\\Data\\notes.txt");
  label.SetLink(FALSE);
  EXPECT_FALSE(label.GetStyle() & SS_NOTIFY);
}

TEST_F(SmallWindows, ALabelsFontNameKeepsWholeCharactersOfItsField) {
  CLabel label;
  ASSERT_TRUE(label.Create("x", WS_CHILD | WS_VISIBLE, CRect(10, 10, 200, 30), &parent, 1099));
  const struct {
    std::string name, kept;
  } cases[] = {
      {"Arial Narrow", "Arial Narrow"},
      {std::string(31, 'a'), std::string(31, 'a')},
      {std::string(40, 'b'), std::string(31, 'b')},
      // Ten three-byte characters: the eleventh would cross the 31-byte field.
      {"ああああああああああああ", "ああああああああああ"},
      {"ＭＳ Ｐゴシックあいうえおかきくけこ", ""},
  };
  for (const auto& c : cases) {
    label.SetFontName(c.name.c_str());
    const std::string got = label.GetFontDescription().lfFaceName;
    EXPECT_LE(got.size(), 31u);
    if (!c.kept.empty()) { EXPECT_EQ(got, c.kept); }
    // Whatever was cut, the field ends on a character boundary and the name begins it.
    EXPECT_EQ(c.name.compare(0, got.size(), got), 0);
    EXPECT_TRUE(got.size() == c.name.size() || (static_cast<unsigned char>(c.name[got.size()]) & 0xC0) != 0x80);
  }
}

TEST_F(SmallWindows, ALabelsSettersShapeItsFont) {
  CLabel label;
  ASSERT_TRUE(label.Create("Fine", WS_CHILD | WS_VISIBLE, CRect(10, 10, 200, 40), &parent, 1099));
  label.SetFontBold(TRUE).SetFontItalic(TRUE).SetFontUnderline(TRUE).SetFontSize(16).SetTextColor(RGB(0, 0, 128));
  const LOGFONT& lf = label.GetFontDescription();
  EXPECT_EQ(lf.lfWeight, 700);
  EXPECT_EQ(lf.lfItalic, 1);
  EXPECT_EQ(lf.lfUnderline, 1);
  EXPECT_EQ(lf.lfHeight, -16);
  EXPECT_EQ(label.GetTextColor(), RGB(0, 0, 128));
  label.SetFontBold(FALSE);
  EXPECT_EQ(label.GetFontDescription().lfWeight, 400);
}

TEST_F(SmallWindows, StoppingTextFlashingPutsTheTextBack) {
  CLabel label;
  ASSERT_TRUE(label.Create("EXPOSURE", WS_CHILD | WS_VISIBLE, CRect(10, 10, 200, 30), &parent, 1099));
  label.FlashText(TRUE);
  label.SendMessage(WM_TIMER, 1);  // phase 0 -> 1: blank
  CString text;
  label.GetWindowText(text);
  EXPECT_EQ(text, "");
  label.SendMessage(WM_TIMER, 1);  // back: the text
  label.GetWindowText(text);
  EXPECT_EQ(text, "EXPOSURE");
  label.SendMessage(WM_TIMER, 1);  // blank again, and stopped there
  label.FlashText(FALSE);
  label.GetWindowText(text);
  EXPECT_EQ(text, "EXPOSURE");
}

// A splitter with two columns of plain panes, as the main window's outer one.
class SplitterTest : public SmallWindows {
 protected:
  void SetUp() override {
    SmallWindows::SetUp();
    ASSERT_TRUE(splitter.CreateStatic(&parent, 1, 2));
    for (int col = 0; col < 2; ++col) {
      auto* pane = new CWnd;  // owned below, destroyed with the splitter's windows
      panes[col].reset(pane);
      ASSERT_TRUE(pane->Create(nullptr, "", WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 0, 10, 10), &splitter,
                               static_cast<UINT>(splitter.IdFromRowCol(0, col))));
    }
    splitter.SetColumnInfo(0, 200, 10);
    splitter.MoveWindow(0, 0, 400, 300);
    splitter.RecalcLayout();
  }
  int Column0() {
    int cur = 0, min = 0;
    splitter.GetColumnInfo(0, cur, min);
    return cur;
  }
  // The bar between the columns, in splitter coordinates.
  int BarX() {
    CRect r;
    panes[0]->GetWindowRect(&r);
    splitter.ScreenToClient(&r);
    return r.right + 3;
  }
  void Drag(int fromX, int toX) {
    splitter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(fromX, 100));
    splitter.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(toX, 100));
    splitter.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(toX, 100));
  }
  HCURSOR CursorOverBar() {
    POINT p{BarX(), 100};
    splitter.ClientToScreen(&p);
    SetCursorPos(p.x, p.y);
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    splitter.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(splitter.m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
  }
  CFixedSplitterWnd splitter;
  std::unique_ptr<CWnd> panes[2];
};

TEST_F(SplitterTest, ALockedSplitterKeepsItsBarsAndShowsTheArrow) {
  const int before = Column0();
  splitter.SetLocked(1);
  EXPECT_EQ(CursorOverBar(), LoadCursor(nullptr, IDC_ARROW));
  Drag(BarX(), BarX() + 60);
  EXPECT_EQ(Column0(), before);
  // Unlocked, the same drag moves the bar and the split cursor shows.
  splitter.SetLocked(0);
  EXPECT_EQ(CursorOverBar(), LoadCursor(nullptr, IDC_SIZEWE));
  Drag(BarX(), BarX() + 60);
  EXPECT_NEAR(Column0(), before + 60, 4);
}

}  // namespace
