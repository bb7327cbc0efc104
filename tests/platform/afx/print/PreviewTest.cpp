// Print preview: the view's pages drawn scaled into the frame, next and previous,
// print and close, and a screenshot of it.
#include <cstdlib>
#include <set>

#include "AfxPrintIds.h"
#include "CPreviewView.h"
#include "PrintFixture.h"
#include "TestEnv.h"
#include "display/Png.h"
#include "user/Driver.h"

namespace printing {
namespace {

using Calls = std::vector<std::string>;

class Preview : public PrintFixture {
 protected:
  void SetUp() override {
    // LUMORA_PREVIEW_SHOT names a file to keep the screenshot in (the documentation's copy),
    // drawn with the installed Japanese font.
    if (std::getenv("LUMORA_PREVIEW_SHOT")) setenv("LUMORA_FONT", "", 1);
    PrintFixture::SetUp();
  }
  CPreviewView* Start() {
    view->OnFilePrintPreview();
    auto* preview = dynamic_cast<CPreviewView*>(frame->GetActiveView());
    if (preview) Paint(preview);
    return preview;
  }
  static void Paint(CWnd* w) {
    w->Invalidate(FALSE);
    w->UpdateWindow();
  }
  // Close and Print end the preview: the object is gone when the command returns.
  static void Command(CPreviewView* preview, UINT id) {
    HWND hwnd = preview->GetSafeHwnd();
    ::SendMessageA(hwnd, WM_COMMAND, id, 0);
    if (::IsWindow(hwnd)) Paint(preview);
  }
  static bool Enabled(CPreviewView* preview, int id) { return ::IsWindowEnabled(::GetDlgItem(preview->GetButtonBar(), id)); }
  static std::string PageText(CPreviewView* preview) {
    char text[64] = {};
    ::GetDlgItemTextA(preview->GetButtonBar(), AFX_ID_PREVIEW_NUMPAGE, text, sizeof text);
    return text;
  }
  // Whether the screen shows page n's square where the preview puts it.
  bool SquareOnScreen(CPreviewView* preview, UINT page) {
    CRect paper = preview->GetPageRect();
    double scale = paper.Width() / 2480.0;
    CRect sq = SquareOf(page);
    CPoint p(paper.left + static_cast<int>((50 + sq.CenterPoint().x) * scale),
             paper.top + static_cast<int>((50 + sq.CenterPoint().y) * scale));
    preview->ClientToScreen(&p);
    HDC screen = ::GetDC(nullptr);
    COLORREF c = ::GetPixel(screen, p.x, p.y);
    ::ReleaseDC(nullptr, screen);
    return GetRValue(c) < 60 && GetGValue(c) < 60 && GetBValue(c) < 60;
  }
};

TEST_F(Preview, ShowsThePagesOneByOneAndClosesBackToTheView) {
  CPreviewView* preview = Start();
  ASSERT_NE(preview, nullptr);
  EXPECT_FALSE(view->IsWindowVisible());
  EXPECT_EQ(view->calls, (Calls{"prepare preview", "begin", "preview 1"}));
  EXPECT_FALSE(Enabled(preview, AFX_ID_PREVIEW_PREV));
  EXPECT_TRUE(Enabled(preview, AFX_ID_PREVIEW_NEXT));
  EXPECT_EQ(PageText(preview), "1 / 3 ページ");
  EXPECT_TRUE(SquareOnScreen(preview, 1));
  EXPECT_FALSE(SquareOnScreen(preview, 2));
  // Printer pixels to screen pixels: the printable area's far corner lands on its screen size.
  CPoint corner(2380, 3408);
  preview->GetPreviewDC()->PrinterDPtoScreenDP(&corner);
  CRect paper = preview->GetPageRect();
  EXPECT_NEAR(corner.x, paper.Width() * 2380 / 2480, 1);
  EXPECT_NEAR(corner.y, paper.Height() * 3408 / 3508, 1);

  Command(preview, AFX_ID_PREVIEW_NEXT);
  Command(preview, AFX_ID_PREVIEW_NEXT);
  EXPECT_EQ(preview->GetCurrentPage(), 3u);
  EXPECT_FALSE(Enabled(preview, AFX_ID_PREVIEW_NEXT));
  EXPECT_TRUE(SquareOnScreen(preview, 3));
  EXPECT_FALSE(SquareOnScreen(preview, 1));
  Command(preview, AFX_ID_PREVIEW_NEXT);  // past the last page: nothing
  Command(preview, AFX_ID_PREVIEW_PREV);
  EXPECT_EQ(preview->GetCurrentPage(), 2u);
  EXPECT_EQ(PageText(preview), "2 / 3 ページ");
  EXPECT_TRUE(SquareOnScreen(preview, 2));

  Command(preview, AFX_ID_PREVIEW_CLOSE);
  EXPECT_EQ(view->calls.back(), "end preview");
  EXPECT_EQ(frame->GetActiveView(), view);
  EXPECT_TRUE(view->IsWindowVisible());
  EXPECT_EQ(::GetDlgItem(frame->GetSafeHwnd(), AFX_IDW_PANE_FIRST), view->GetSafeHwnd());
}

TEST_F(Preview, ACloseEndsThePreviewAndKeepsTheFrame) {
  CPreviewView* preview = Start();
  ASSERT_NE(preview, nullptr);
  const HWND main = frame->GetSafeHwnd();
  frame->SendMessage(WM_CLOSE);
  EXPECT_TRUE(::IsWindow(main));
  EXPECT_EQ(view->calls.back(), "end preview");
  EXPECT_EQ(frame->GetActiveView(), view);
}

TEST_F(Preview, PagesAreDrawnAgainOnEveryPaint) {
  CPreviewView* preview = Start();
  ASSERT_NE(preview, nullptr);
  Paint(preview);
  Paint(preview);
  EXPECT_EQ(view->calls, (Calls{"prepare preview", "begin", "preview 1", "preview 1", "preview 1"}));
  Command(preview, AFX_ID_PREVIEW_CLOSE);
}

TEST_F(Preview, PrintClosesThePreviewAndAsksTheMainWindowToPrint) {
  CPreviewView* preview = Start();
  ASSERT_NE(preview, nullptr);
  Command(preview, AFX_ID_PREVIEW_PRINT);
  EXPECT_EQ(frame->printCommands, 1);
  EXPECT_EQ(view->calls.back(), "end preview");
  EXPECT_EQ(frame->GetActiveView(), view);
}

TEST_F(Preview, Screenshot) {
  CPreviewView* preview = Start();
  ASSERT_NE(preview, nullptr);
  ::RedrawWindow(frame->GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  plat::user::driver::WaitIdle();
  CRect r;
  frame->GetWindowRect(&r);
  const char* keep = std::getenv("LUMORA_PREVIEW_SHOT");
  std::string path = keep ? keep : testenv::ScratchDir() + "/preview.png";
  ASSERT_TRUE(plat::display::SavePng(path, &r));
  auto png = plat::display::ReadPng(path);
  ASSERT_TRUE(png);
  EXPECT_EQ(png->width, r.Width());
  std::set<uint32_t> colours;
  int dark = 0;
  for (uint32_t px : png->pixels) {  // BGRX
    uint32_t b = px & 0xFF, g = (px >> 8) & 0xFF, r8 = (px >> 16) & 0xFF;
    colours.insert(px & 0xFFFFFF);
    dark += r8 < 60 && g < 60 && b < 60;
  }
  EXPECT_GE(colours.size(), 5u);  // paper, grey, square, buttons, text
  EXPECT_GT(dark, 400);           // the page's square and the paper's shadow
  Command(preview, AFX_ID_PREVIEW_CLOSE);
}

}  // namespace
}  // namespace printing
