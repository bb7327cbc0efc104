// The print-type dialog: the document's print settings in, the operator's choices back
// out (font chooser included), a cancel that changes nothing, the font description
// lines, and a screenshot of the layout pictograms.
#include <cstring>

#include "DisplayRig.h"
#include "afxdlgs.h"
#include "display/Png.h"
#include "pipeline/output/VexPrintType.h"
#include "pipeline/output/VexPrinterOutput.h"

namespace {

namespace responder = plat::user::responder;

std::string ItemText(HWND dialog, int id) {
  char text[256] = {};
  ::GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}
void Click(HWND dialog, int id) { ::SendMessageA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

class PrintType : public displayrig::DisplayRig {
 protected:
  void SetUp() override {
    DisplayRig::SetUp();
    if (HasFatalFailure()) return;
    responder::Reset();
    printer = CreateHiddenStage<CVexPrinterOutput>(mainFrame, 1133, buffers, errors, doc.get());
    ASSERT_NE(printer, nullptr);
    LOGFONTA font{};
    font.lfHeight = -16;
    font.lfWeight = 400;
    font.lfCharSet = 128;
    std::strcpy(font.lfFaceName, "ＭＳ Ｐゴシック");
    doc->SetPrintTitleFont(font);
    doc->SetPrintFontSize(120);
  }
  void TearDown() override {
    responder::Reset();
    DisplayRig::TearDown();
  }
  CVexPrinterOutput* printer = nullptr;
};

TEST_F(PrintType, ShowsTheSettingsAndTakesTheChoicesBack) {
  struct Case {
    LONG perPage;
    int radio;  // checked when the dialog opens
  } cases[] = {{1, 1004}, {2, 1005}, {4, 1006}, {6, 1007}, {3, 1004}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.perPage);
    doc->SetPrintLayoutType(c.perPage);
    doc->SetPrintLayoutTitle(c.perPage == 4);
    std::string shown;
    responder::Push([&](const responder::Shown& s) {
      for (int id = 1004; id <= 1007; ++id)
        if (::IsDlgButtonChecked(s.hwnd, id) == BST_CHECKED) shown += std::to_string(id);
      shown += ::IsDlgButtonChecked(s.hwnd, 1002) == BST_CHECKED ? " titles" : " no titles";
      Click(s.hwnd, IDCANCEL);
      return 0;
    });
    EXPECT_EQ(printer->RunPrintTypeDialog(), 0);
    EXPECT_EQ(shown, std::to_string(c.radio) + (c.perPage == 4 ? " titles" : " no titles"));
    EXPECT_EQ(doc->GetPrintLayoutType(), c.perPage) << "a cancel changes nothing";
  }

  // Six a page with titles, and a bold 24-point font from the chooser.
  doc->SetPrintLayoutType(1);
  doc->SetPrintLayoutTitle(0);
  std::string lines;
  responder::Push([&](const responder::Shown& s) {
    EXPECT_EQ(s.caption, "Print Type Image");
    EXPECT_EQ(ItemText(s.hwnd, 1011), "ＭＳ Ｐゴシック [SHIFTJIS]");
    EXPECT_EQ(ItemText(s.hwnd, 1012), "     Size  : 12 points");
    EXPECT_EQ(ItemText(s.hwnd, 1014), "     Style : Regular");
    Click(s.hwnd, 1007);
    Click(s.hwnd, 1002);
    responder::Push([](const responder::Shown& chooser) {
      ::SendDlgItemMessageA(chooser.hwnd, FONT_STYLE, CB_SETCURSEL, 2, 0);  // bold
      ::SetDlgItemTextA(chooser.hwnd, FONT_SIZE, "24");
      Click(chooser.hwnd, IDOK);
      return 0;
    });
    Click(s.hwnd, 1013);
    lines = ItemText(s.hwnd, 1012) + "|" + ItemText(s.hwnd, 1014);
    EXPECT_EQ(::IsDlgButtonChecked(s.hwnd, 1007), BST_CHECKED) << "the choices survive the chooser";
    EXPECT_EQ(::IsDlgButtonChecked(s.hwnd, 1002), BST_CHECKED);
    Click(s.hwnd, IDOK);
    return 0;
  });
  EXPECT_EQ(printer->RunPrintTypeDialog(), 1);
  EXPECT_EQ(lines, "     Size  : 24 points|     Style : Bold");
  EXPECT_EQ(doc->GetPrintLayoutType(), 6);
  EXPECT_EQ(doc->GetPrintLayoutTitle(), 1u);
  EXPECT_EQ(doc->GetPrintFontSize(), 240);
  EXPECT_EQ(doc->GetPrintTitleFont().lfWeight, 700);
  EXPECT_EQ(printer->GetImagesPerPage(), 6);
  EXPECT_EQ(printer->GetColumns(), 3);
  EXPECT_EQ(printer->GetRows(), 2);
}

TEST_F(PrintType, ADialogThatCannotBeMadeIsReportedAndCancels) {
  doc->SetPrintLayoutType(4);
  responder::FailNextDialog();
  std::string code;
  responder::Push([&](const responder::Shown& s) {
    code = ItemText(s.hwnd, 1143);
    ::EndDialog(s.hwnd, IDOK);
    return 0;
  });
  EXPECT_EQ(printer->RunPrintTypeDialog(), 0);
  EXPECT_NE(code.find("432"), std::string::npos) << code;
  EXPECT_EQ(doc->GetPrintLayoutType(), 4);
}

TEST_F(PrintType, FontDescriptionLines) {
  struct Charset {
    BYTE set;
    const char* line;
  } sets[] = {{0, "Face [ANSI]"},       {1, "Face [DEFAULT]"},     {2, "Face [SYMBOL]"},      {77, "Face [MAC]"},
              {128, "Face [SHIFTJIS]"}, {129, "Face [HANGUL]"},    {134, "Face [GB2312]"},    {136, "Face [CHINESEBIG5]"},
              {161, "Face [GREEK]"},    {162, "Face [TURKISH]"},   {186, "Face [BALTIC]"},    {204, "Face [RUSSIAN]"},
              {238, "Face [EASTEUROPE]"}, {255, "Face [OEM]"},     {163, ""},                 {130, ""}};
  LOGFONTA font{};
  std::strcpy(font.lfFaceName, "Face");
  for (const Charset& c : sets) {
    font.lfCharSet = c.set;
    EXPECT_EQ(std::string(CVexPrintType::FaceLine(font)), c.line) << int(c.set);
  }
  struct Weight {
    LONG weight;
    BYTE italic;
    const char* line;
  } weights[] = {
      {0, 0, "     Style : Dontcare"},   {100, 0, "     Style : Thin"},     {200, 0, "     Style : Ultralight"},
      {300, 0, "     Style : Light"},    {400, 0, "     Style : Regular"},  {500, 0, "     Style : Medium"},
      {600, 0, "     Style : Demibold"}, {700, 0, "     Style : Bold"},     {800, 0, "     Style : Ultrabold"},
      {900, 0, "     Style : Heavy"},    {700, 1, "     Style : Bold Italic"},
      // Between hundreds the lower line; past 900 still Heavy.
      {450, 0, "     Style : Regular"},  {99, 1, "     Style : Dontcare Italic"}, {1000, 0, "     Style : Heavy"},
  };
  for (const Weight& w : weights) {
    font.lfWeight = w.weight;
    font.lfItalic = w.italic;
    EXPECT_EQ(std::string(CVexPrintType::StyleLine(font)), w.line) << w.weight;
  }
  EXPECT_EQ(std::string(CVexPrintType::SizeLine(105)), "     Size  : 10 points");
}

TEST_F(PrintType, Screenshot) {
  doc->SetPrintLayoutType(4);
  doc->SetPrintLayoutTitle(1);
  bool saved = false;
  responder::Push([&](const responder::Shown& s) {
    ::UpdateWindow(s.hwnd);
    RECT r;
    ::GetWindowRect(s.hwnd, &r);
    saved = plat::display::SavePng(displayrig::ShotPath("print-type.png"), &r);
    // The pictograms' corners, in client pixels, are drawn in black.
    HDC dc = ::GetDC(s.hwnd);
    EXPECT_EQ(::GetPixel(dc, 43, 120) & 0xFFFFFF, 0u);
    EXPECT_EQ(::GetPixel(dc, 308 + 39, 330 + 39) & 0xFFFFFF, 0u);
    EXPECT_EQ(::GetPixel(dc, 43 + 55, 120 + 55) & 0xFFFFFF, 0xFFFFFFu) << "filled white";
    ::ReleaseDC(s.hwnd, dc);
    Click(s.hwnd, IDCANCEL);
    return 0;
  });
  printer->RunPrintTypeDialog();
  EXPECT_TRUE(saved);
}

}  // namespace
