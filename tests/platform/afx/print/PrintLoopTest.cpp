// The view's print loop on the built-in PDF printer: the dialog's page range, the
// calls the view gets, the status window, cancelling and direct printing.
#include <filesystem>

#include "Faults.h"
#include "PdfPages.h"
#include "PrintFixture.h"
#include "print/PrinterTarget.h"
#include "print/Printers.h"

namespace printing {
namespace {

using Calls = std::vector<std::string>;

int PdfsPrinted() {
  int n = 0;
  for (auto& e : std::filesystem::directory_iterator(plat::print::PdfFolder())) n += e.path().extension() == ".pdf";
  return n;
}

// Printer pixels to a page picture at 30 dots per inch, inside the square's corner.
bool SquareShows(const PagePicture& pic, UINT page) {
  CRect sq = SquareOf(page);
  int x = (50 + sq.left + 100) * 30 / 300, y = (50 + sq.top + 100) * 30 / 300;  // 50: the margin
  return pic.Dark(x, y);
}

class PrintLoop : public PrintFixture {};

TEST_F(PrintLoop, PrintsTheChosenPagesOnTheBuiltInPrinter) {
  view->pages = 4;
  ChoosePages(2, 3);
  view->OnFilePrint();
  EXPECT_EQ(view->calls, (Calls{"prepare", "begin", "print 2", "print 3", "end"}));
  EXPECT_EQ(view->rectDraw, CRect(0, 0, 2380, 3408));
  EXPECT_EQ(view->statusDoc, "Specimen");  // no document: the frame's title
  EXPECT_EQ(view->statusPrinter, "Lumora PDF");
  EXPECT_FALSE(view->mainEnabledWhilePrinting);
  EXPECT_TRUE(frame->IsWindowEnabled());

  std::string pdf = plat::print::LastOutput();
  ASSERT_TRUE(std::filesystem::exists(pdf)) << pdf;
  EXPECT_EQ(std::filesystem::path(pdf).filename(), "Specimen.pdf");
  if (!HavePoppler()) GTEST_SKIP() << "poppler-utils missing";
  EXPECT_EQ(PdfPageCount(pdf), 2);
  PagePicture first = RenderPdfPage(pdf, 1, 30), second = RenderPdfPage(pdf, 2, 30);
  ASSERT_EQ(first.width, 248);
  EXPECT_TRUE(SquareShows(first, 2));
  EXPECT_FALSE(SquareShows(first, 1));
  EXPECT_FALSE(SquareShows(first, 3));
  EXPECT_TRUE(SquareShows(second, 3));
  EXPECT_FALSE(SquareShows(second, 2));
}

TEST_F(PrintLoop, DirectPrintingUsesTheProgramsPrinterWithoutADialog) {
  view->direct = TRUE;
  view->pages = 0;  // unknown: one page prints
  view->OnFilePrint();
  EXPECT_EQ(view->calls, (Calls{"prepare", "begin", "print 1", "end"}));
  EXPECT_TRUE(responder::History().empty());
  std::string pdf = plat::print::LastOutput();
  ASSERT_TRUE(std::filesystem::exists(pdf));
  if (!HavePoppler()) GTEST_SKIP() << "poppler-utils missing";
  EXPECT_EQ(PdfPageCount(pdf), 1);
  EXPECT_TRUE(SquareShows(RenderPdfPage(pdf, 1, 30), 1));
}

TEST_F(PrintLoop, CancelInTheStatusWindowAbortsTheJob) {
  int before = PdfsPrinted();
  view->pages = 3;
  view->cancelAtPage = 1;
  ChoosePages(0, 0);
  view->OnFilePrint();
  EXPECT_EQ(view->calls, (Calls{"prepare", "begin", "print 1", "end"}));
  EXPECT_EQ(PdfsPrinted(), before);
  EXPECT_TRUE(frame->IsWindowEnabled());
  EXPECT_TRUE(responder::History().size() >= 1);
  for (const auto& shown : responder::History()) EXPECT_FALSE(shown.messageBox) << shown.text;  // no failure reported
}

// A view that abandons the job itself has said why: the loop ends quietly, on the page
// that was drawing and on the pages after it.
TEST_F(PrintLoop, AJobTheViewAbandonsEndsWithoutASecondMessage) {
  for (UINT page : {1u, 2u}) {
    SCOPED_TRACE(page);
    responder::Reset();
    view->calls.clear();
    const int before = PdfsPrinted();
    view->pages = 3;
    view->abandonAtPage = page;
    ChoosePages(0, 0);
    view->OnFilePrint();
    EXPECT_EQ(view->calls.back(), "end");
    EXPECT_EQ(view->calls.size(), size_t(3 + page));
    EXPECT_EQ(PdfsPrinted(), before);
    for (const auto& shown : responder::History()) EXPECT_FALSE(shown.messageBox) << shown.text;
    EXPECT_TRUE(frame->IsWindowEnabled());
  }
}

TEST_F(PrintLoop, CancelInThePrintDialogPrintsNothing) {
  int before = PdfsPrinted();
  responder::Push([](const responder::Shown& shown) {
    SendMessageA(shown.hwnd, WM_COMMAND, IDCANCEL, 0);
    return 0;
  });
  view->OnFilePrint();
  EXPECT_EQ(view->calls, (Calls{"prepare"}));
  EXPECT_EQ(PdfsPrinted(), before);
}

TEST_F(PrintLoop, AFailingPageEndsTheJobAndSaysSo) {
  int before = PdfsPrinted();
  view->pages = 2;
  ChoosePages(0, 0);
  {
    plat::faults::Scope full("EndPage", ERROR_DISK_FULL);
    view->OnFilePrint();
  }
  EXPECT_EQ(view->calls, (Calls{"prepare", "begin", "print 1", "end"}));
  EXPECT_EQ(PdfsPrinted(), before);
  bool told = false;
  for (const auto& shown : responder::History()) told |= shown.messageBox;
  EXPECT_TRUE(told);
}

}  // namespace
}  // namespace printing
