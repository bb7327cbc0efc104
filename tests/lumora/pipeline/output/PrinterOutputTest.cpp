// The printer output on the built-in PDF printer: pages of listed pictures, cells and
// their captions, the current picture without a dialog, preview then print at full
// resolution, refusals, the progress window and its Cancel, and screenshots of a
// four-a-page preview with captions.
#include <cstring>
#include <filesystem>

#include "AfxPrintIds.h"
#include "CPreviewView.h"
#include "DisplayRig.h"
#include "PdfPages.h"
#include "WinPrintDlg.h"
#include "control/VexPrintNowDlg.h"
#include "pipeline/VexCommentField.h"
#include "display/Png.h"
#include "pipeline/output/VexFileOutput.h"
#include "pipeline/output/VexPrinterOutput.h"
#include "print/PrinterTarget.h"
#include "print/Printers.h"

namespace {

namespace fs = std::filesystem;
namespace responder = plat::user::responder;

std::string ItemText(HWND dialog, int id) {
  char text[256] = {};
  ::GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

// The printer output, noting what its progress window shows on each page and pressing
// its Cancel on a chosen page, as the operator would.
class WatchedPrinter : public CVexPrinterOutput {
 public:
  void OnPrint(CDC* pDC, CPrintInfo* pInfo) override {
    if (CVexPrintNowDlg* progress = GetProgressDialog()) {
      HWND d = progress->m_hWnd;
      seen.push_back(ItemText(d, 1113) + "|" + ItemText(d, 1110) + "|" + ItemText(d, 1111) + "|" + ItemText(d, 1112) +
                     "|" + ItemText(d, IDCANCEL));
      if (pInfo->m_nCurPage == cancelAtPage) ::SendMessageA(d, WM_COMMAND, IDCANCEL, 0);
    }
    CVexPrinterOutput::OnPrint(pDC, pInfo);
  }
  std::vector<std::string> seen;
  UINT cancelAtPage = 0;
};

class PrinterOutput : public displayrig::DisplayRig {
 protected:
  void SetUp() override {
    DisplayRig::SetUp();
    if (HasFatalFailure()) return;
    responder::Reset();
    saver = CreateHiddenStage<CVexFileOutput>(mainFrame, 1131, buffers, errors, doc.get());
    printer = CreateHiddenStage<WatchedPrinter>(mainFrame, 1133, buffers, errors, doc.get());
    ASSERT_NE(saver, nullptr);
    ASSERT_NE(printer, nullptr);
    doc->SetTitle("Specimen");
  }
  void TearDown() override {
    responder::Reset();
    DisplayRig::TearDown();
  }
  // Saves pictures (with their thumbnails) in `folder`, lists them and selects them all.
  void ListPictures(const std::string& folder, int count, int w = 400, int h = 300) {
    for (int i = 0; i < count; ++i) {
      const BYTE shade = BYTE(20 + 30 * i);
      PutFlat(0, w, h, shade, BYTE(200 - shade), 90);
      buffers->SetSecondBitmap(buffers->GetBuffer(0));
      doc->SetSavePath((folder + "\\pic" + std::to_string(i) + ".jpg").c_str(), 98, 24, 2);
      ASSERT_EQ(saver->Output(0), 1);
    }
    doc->SetListFolder((folder + "\\s").c_str());
    ASSERT_EQ(doc->ScanList(), count);
    for (int i = 0; i < count; ++i) doc->SetListSelected(1, i, 1);
    ASSERT_EQ(doc->CountSelectedImages(), count);
  }
  // Answers the next print dialog with the built-in printer, noting its page range.
  void AnswerPrintDialog() {
    responder::Push([this](const responder::Shown& shown) {
      HWND d = shown.hwnd;
      dialogRange = {int(::GetDlgItemInt(d, PRINT_FROM, nullptr, FALSE)), int(::GetDlgItemInt(d, PRINT_TO, nullptr, FALSE))};
      auto i = ::SendDlgItemMessageA(d, PRINT_PRINTER, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM("Lumora PDF"));
      ::SendDlgItemMessageA(d, PRINT_PRINTER, CB_SETCURSEL, WPARAM(i), 0);
      ::SendMessageA(d, WM_COMMAND, IDOK, 0);
      return 0;
    });
  }
  std::string PrintedPdf() const { return plat::print::LastOutput(); }
  CPreviewView* ActivePreview() { return dynamic_cast<CPreviewView*>(mainFrame->GetActiveView()); }

  CVexFileOutput* saver = nullptr;
  WatchedPrinter* printer = nullptr;
  std::pair<int, int> dialogRange{0, 0};
};

// A page picture at 30 dpi: 248 x 351 for the A4 page with its 50-pixel margins.
bool CellShows(const printing::PagePicture& page, int column, int row, int columns, int rows) {
  const int cw = 2380 / columns, ch = 3408 / rows;
  const int x = (50 + (column - 1) * cw + cw / 2) * 30 / 300, y = (50 + (row - 1) * ch + ch / 2) * 30 / 300;
  const unsigned char* p = &page.rgb[(size_t(y) * page.width + x) * 3];
  return !(p[0] > 240 && p[1] > 240 && p[2] > 240);
}

TEST_F(PrinterOutput, SevenPicturesAtSixAPageMakeTwoPages) {
  ListPictures("C:\\seven", 7);
  doc->SetPrintLayoutType(6);
  doc->SetPrintLayoutTitle(0);
  printer->SetShowSetup(0);
  AnswerPrintDialog();
  printer->Print(CVexPrinterOutput::kPrintList);
  EXPECT_EQ(dialogRange, std::make_pair(1, 2)) << "the print dialog offers pages 1 to 2";
  const std::string pdf = PrintedPdf();
  ASSERT_TRUE(fs::exists(pdf)) << pdf;
  if (!printing::HavePoppler()) GTEST_SKIP() << "poppler-utils missing";
  ASSERT_EQ(printing::PdfPageCount(pdf), 2);
  const auto first = printing::RenderPdfPage(pdf, 1, 30), second = printing::RenderPdfPage(pdf, 2, 30);
  for (int row = 1; row <= 2; ++row)
    for (int column = 1; column <= 3; ++column) {
      SCOPED_TRACE(std::to_string(column) + ", " + std::to_string(row));
      EXPECT_TRUE(CellShows(first, column, row, 3, 2));
      EXPECT_EQ(CellShows(second, column, row, 3, 2), column == 1 && row == 1);
    }
  EXPECT_EQ(mainFrame->IsDirectClose(), 0);
}

// Cells in printer pixels (2380 x 3408 printable): a page of one without captions is
// filled edge to edge along one side; with captions or more cells, a tenth is margin
// and four fifths is cell.
TEST_F(PrinterOutput, CellGeometry) {
  CDC printerDc;
  ASSERT_TRUE(printerDc.CreateDC(nullptr, "Lumora PDF", nullptr, nullptr));
  struct Case {
    int perPage, captions, w, h, column, row;
    CVexPrinterOutput::tCell want;
  } cases[] = {
      {1, 0, 400, 300, 1, 1, {CPoint(0, 811), CSize(2380, 3408), CSize(2380, 1785)}},
      {1, 0, 300, 600, 1, 1, {CPoint(338, 0), CSize(2380, 3408), CSize(1704, 3408)}},
      {1, 1, 400, 300, 1, 1, {CPoint(238, 340 + 649), CSize(1904, 2726), CSize(1904, 1428)}},
      {4, 0, 400, 300, 2, 2, {CPoint(1190 + 119, 1704 + 170 + 324), CSize(952, 1363), CSize(952, 714)}},
      {6, 1, 300, 400, 3, 2, {CPoint(1586 + 79, 1704 + 170 + 259), CSize(634, 1363), CSize(634, 845)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.perPage) + " a page, captions " + std::to_string(c.captions) + ", " +
                 std::to_string(c.w) + "x" + std::to_string(c.h));
    doc->SetPrintLayoutType(c.perPage);
    doc->SetPrintLayoutTitle(DWORD(c.captions));
    responder::Push([](const responder::Shown& shown) { return ::EndDialog(shown.hwnd, IDOK), IDOK; });
    ASSERT_EQ(printer->RunPrintTypeDialog(), 1);
    printer->GetImagingControl()->CreateImage(float(c.w), float(c.h), 24);
    CVexPrinterOutput::tCell cell{};
    ASSERT_TRUE(printer->GetCellRect(&printerDc, c.column, c.row, &cell));
    EXPECT_EQ(cell.origin, c.want.origin);
    EXPECT_EQ(cell.cell, c.want.cell);
    EXPECT_EQ(cell.drawn, c.want.drawn);
  }
  // A picture without width or height has no cell.
  printer->GetImagingControl()->SetBitmap(0);
  CVexPrinterOutput::tCell cell{};
  EXPECT_FALSE(printer->GetCellRect(&printerDc, 1, 1, &cell));
}

TEST_F(PrinterOutput, CaptionLines) {
  fs::create_directories(testenv::DriveC() + "/cap");
  struct Case {
    const char* path;
    const char* comment;  // null: no fields
    const char* line1;
    const char* line2;
  } cases[] = {
      {"C:\\cap\\abcdefghijklmno.jpg", "[abcdefghijklmno.jpg][Fine 1280x1024][ 12,1,0]", "abcdefghijklmno.jpg",
       "Fine 1280x1024"},
      {"C:\\cap\\abcdefghijklmnop.jpg", "[x][second][third]", "ABCDEF~2.JPG", "second"},
      {"C:\\cap\\one.jpg", "[only one part]", "one.jpg", ""},
      {"C:\\cap\\open.jpg", "[a][never closed", "open.jpg", ""},
      {"C:\\cap\\plain.bmp", nullptr, "plain.bmp", ""},
  };
  CLead& writer = checker;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    ASSERT_EQ(writer.CreateImage(32, 24, 24), 0);
    const COleVariant empty;
    for (short id = 0; id < vexcomment::kFieldCount; ++id) writer.SetFileField(id, empty);
    if (c.comment) writer.SetFileField(vexcomment::kTitleField, vexcomment::EncodeText(c.comment));
    ASSERT_EQ(writer.SaveFile(c.path, c.comment ? 98 : 6, 24, 2, 0), 0);
    CString line1, line2;
    printer->CaptionLines(c.path, &line1, &line2);
    EXPECT_EQ(std::string(line1), c.line1);
    EXPECT_EQ(std::string(line2), c.line2);
  }
}

TEST_F(PrinterOutput, CurrentPicturePrintsWithoutADialog) {
  PutFlat(2, 640, 480, 0, 0, 0);
  printer->SetPrintType(CVexPrinterOutput::kPrintCurrent);
  EXPECT_EQ(printer->Output(2), 1);
  EXPECT_EQ(printer->IsDirect(), 1);
  for (const auto& shown : responder::History()) ADD_FAILURE() << "shown: " << shown.caption << " " << shown.text;
  const std::string pdf = PrintedPdf();
  ASSERT_TRUE(fs::exists(pdf));
  if (!printing::HavePoppler()) GTEST_SKIP() << "poppler-utils missing";
  EXPECT_EQ(printing::PdfPageCount(pdf), 1);
  const auto page = printing::RenderPdfPage(pdf, 1, 30);
  EXPECT_TRUE(page.Dark(page.width / 2, page.height / 2));
  EXPECT_TRUE(page.Dark(6, page.height / 2)) << "the picture fills the page's width";
}

// The preview draws a copy resampled to the screen; printing afterwards renders the
// picture at full resolution, so one-pixel stripes stay apart on paper.
TEST_F(PrinterOutput, PreviewThenPrintKeepsFullResolution) {
  PutPicture(2, 200, 150, [](int x, int, BYTE* p) { p[0] = p[1] = p[2] = x % 2 ? 255 : 0; });
  printer->SetPrintType(CVexPrinterOutput::kPreviewCurrent);
  ASSERT_EQ(printer->Output(2), 1);
  CPreviewView* preview = ActivePreview();
  ASSERT_NE(preview, nullptr);
  preview->UpdateWindow();
  ::SendMessageA(preview->m_hWnd, WM_COMMAND, AFX_ID_PREVIEW_CLOSE, 0);
  EXPECT_EQ(printer->GetImagingControl()->GetImageWidth(), 200.0f);
  printer->Print(CVexPrinterOutput::kPrintCurrent);
  const std::string pdf = PrintedPdf();
  ASSERT_TRUE(fs::exists(pdf));
  if (!printing::HavePoppler()) GTEST_SKIP() << "poppler-utils missing";
  const auto page = printing::RenderPdfPage(pdf, 1, 300);
  // Along the middle row: 200 stripes make 199 changes between dark and light.
  int changes = 0;
  const int y = page.height / 2;
  for (int x = 51; x < 50 + 2380 - 1; ++x) changes += page.Dark(x, y) != page.Dark(x + 1, y);
  EXPECT_GE(changes, 190);
}

TEST_F(PrinterOutput, NothingToPrintIsRefused) {
  struct Case {
    int type;
    const char* text;
  } cases[] = {
      {0, "画像が表示されていません。\nプレビューを中止します。"},
      {1, "画像が表示されていません。\n印刷を中止します。"},
      {2, "画像が選択されていません。\nプレビューを中止します。"},
      {3, "画像が選択されていません。\n印刷を中止します。"},
  };
  printer->GetImagingControl()->SetBitmap(0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    responder::Reset();
    responder::Push([](const responder::Shown&) { return IDOK; });
    printer->Print(c.type);
    ASSERT_EQ(responder::History().size(), 1u);
    EXPECT_EQ(responder::History()[0].text, c.text);
    EXPECT_EQ(responder::History()[0].caption, "Printer Output");
    EXPECT_EQ(responder::History()[0].type & MB_ICONMASK, UINT(MB_ICONERROR));
  }
  // A print type out of range starts nothing from the flow.
  printer->SetPrintType(-1);
  responder::Reset();
  EXPECT_EQ(printer->Output(2), 0);
  EXPECT_TRUE(responder::History().empty());
}

TEST_F(PrinterOutput, ProgressWindowShowsThePrintAndItsCancelEndsIt) {
  ListPictures("C:\\prog", 3);
  doc->SetPrintLayoutType(1);
  printer->SetShowSetup(0);
  printer->cancelAtPage = 2;
  AnswerPrintDialog();
  printer->Print(CVexPrinterOutput::kPrintList);
  ASSERT_EQ(printer->seen.size(), 2u);
  EXPECT_EQ(printer->seen[0], "印刷中|Specimen|Lumora PDF|Page 1 of 3|ｷｬﾝｾﾙ");
  EXPECT_EQ(printer->seen[1], "印刷中|Specimen|Lumora PDF|Page 2 of 3|ｷｬﾝｾﾙ");
  EXPECT_EQ(printer->GetProgressDialog(), nullptr) << "closed with the job";
  EXPECT_EQ(mainFrame->IsDirectClose(), 0);
  for (const auto& shown : responder::History()) EXPECT_FALSE(shown.messageBox) << shown.text;
}

TEST_F(PrinterOutput, AFailedRenderingAbandonsTheJobWithOneMessage) {
  PutFlat(2, 64, 48, 9, 9, 9);
  printer->SetPrintType(CVexPrinterOutput::kPrintCurrent);
  responder::Push([](const responder::Shown&) { return IDOK; });
  plat::faults::Scope broken("imaging.RenderToDC", 20009);
  const std::string before = PrintedPdf();
  EXPECT_EQ(printer->Output(2), 1);
  ASSERT_EQ(responder::History().size(), 1u);
  EXPECT_EQ(responder::History()[0].text, "印刷に失敗しました。\n印刷を中止します。");
  EXPECT_EQ(responder::History()[0].caption, "Printer Output");
  EXPECT_EQ(PrintedPdf(), before) << "nothing printed";
}

TEST_F(PrinterOutput, FourAPagePreviewWithCaptions) {
  doc->UpdateImageStatus(1, 0);  // shots: their comments give the second lines
  ListPictures("C:\\four", 5, 640, 480);
  doc->SetPrintLayoutType(4);
  doc->SetPrintLayoutTitle(1);
  LOGFONTA font{};
  font.lfHeight = -64;
  font.lfWeight = 700;
  std::strcpy(font.lfFaceName, "Arial");
  doc->SetPrintTitleFont(font);
  printer->SetShowSetup(0);
  printer->Print(CVexPrinterOutput::kPreviewList);
  CPreviewView* preview = ActivePreview();
  ASSERT_NE(preview, nullptr);
  preview->Invalidate(FALSE);
  preview->UpdateWindow();
  CRect r;
  mainFrame->GetWindowRect(&r);
  EXPECT_TRUE(plat::display::SavePng(displayrig::ShotPath("print-preview-four.png"), &r));
  ::SendMessageA(preview->m_hWnd, WM_COMMAND, AFX_ID_PREVIEW_CLOSE, 0);
  EXPECT_EQ(ActivePreview(), nullptr);
}

}  // namespace
