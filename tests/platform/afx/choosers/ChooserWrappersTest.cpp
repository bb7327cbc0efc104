// The framework's choosers over the Win32 ones, driven through the test responder.
#include <gtest/gtest.h>

#include <cstring>

#include "afxdlgs.h"
#include "user/Responder.h"

namespace {

namespace responder = plat::user::responder;

void OnDialog(std::function<void(HWND)> act) {
  responder::Push([act](const responder::Shown& shown) {
    act(shown.hwnd);
    return 0;
  });
}
void Press(HWND dlg, int id) { SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

class Wrappers : public ::testing::Test {
 protected:
  void SetUp() override { responder::Reset(); }
  void TearDown() override { responder::Reset(); }
};

TEST_F(Wrappers, ColourDialogStartsOnItsColourAndKeepsCustomColoursBetweenRuns) {
  CColorDialog first(RGB(10, 20, 30));
  EXPECT_TRUE(first.m_cc.Flags & CC_RGBINIT);
  OnDialog([](HWND d) {
    Press(d, COLOR_MIX);
    SetDlgItemTextA(d, COLOR_BLUE, "200");
    Press(d, COLOR_ADD);
    Press(d, IDOK);
  });
  ASSERT_EQ(first.DoModal(), IDOK);
  EXPECT_EQ(first.GetColor(), RGB(10, 20, 200));

  CColorDialog second;  // black start: no CC_RGBINIT
  EXPECT_FALSE(second.m_cc.Flags & CC_RGBINIT);
  OnDialog([](HWND d) { Press(d, IDCANCEL); });
  EXPECT_EQ(second.DoModal(), IDCANCEL);
  EXPECT_EQ(CColorDialog::GetSavedCustomColors()[0], RGB(10, 20, 200));
}

TEST_F(Wrappers, FontDialogWritesTheChosenFontIntoTheCallersLogFont) {
  LOGFONT lf{};
  lf.lfHeight = -64;
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = SHIFTJIS_CHARSET;
  std::strcpy(lf.lfFaceName, "ＭＳ Ｐゴシック");
  CFontDialog dlg(&lf, CF_SCREENFONTS | CF_PRINTERFONTS | CF_EFFECTS);
  dlg.m_cf.rgbColors = RGB(0, 0, 0);
  dlg.m_cf.nSizeMin = 8;
  dlg.m_cf.nSizeMax = 72;
  OnDialog([](HWND d) {
    SendDlgItemMessageA(d, FONT_STYLE, CB_SETCURSEL, 2, 0);  // bold
    SetDlgItemTextA(d, FONT_SIZE, "24");
    Press(d, IDOK);
  });
  ASSERT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_EQ(lf.lfHeight, -32);
  EXPECT_EQ(lf.lfOutPrecision, OUT_STROKE_PRECIS);
  EXPECT_STREQ(lf.lfFaceName, "ＭＳ Ｐゴシック");
  EXPECT_EQ(dlg.GetSize(), 240);
  EXPECT_EQ(dlg.GetColor(), RGB(0, 0, 0));
  EXPECT_EQ(dlg.m_lf.lfWeight, FW_BOLD);
}

TEST_F(Wrappers, PrintDialogDefaultsAndPrinterDc) {
  CPrintDialog dlg(FALSE);
  ASSERT_TRUE(dlg.GetDefaults());
  EXPECT_EQ(dlg.GetDeviceName(), CString("Lumora PDF"));
  EXPECT_EQ(dlg.GetPortName(), CString("PDF:"));
  EXPECT_EQ(dlg.GetCopies(), 1);
  EXPECT_TRUE(dlg.PrintAll());
  ASSERT_TRUE(dlg.GetDefaults());  // again: the earlier choice is replaced, not refused
  HDC dc = dlg.CreatePrinterDC();
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 300);
  DeleteDC(dc);
}

TEST_F(Wrappers, PrinterSetupKeepsTheProgramsPrinterChoice) {
  CWinApp app("Setup");
  OnDialog([](HWND d) {
    EXPECT_FALSE(IsWindow(GetDlgItem(d, PRINT_COPIES)));  // setup only: no range, no copies
    Press(d, IDOK);
  });
  app.OnFilePrintSetup();
  PRINTDLG pd{};
  pd.lStructSize = sizeof pd;
  ASSERT_TRUE(app.GetPrinterDeviceDefaults(&pd));
  auto* names = static_cast<const DEVNAMES*>(GlobalLock(pd.hDevNames));
  EXPECT_STREQ(reinterpret_cast<const char*>(names) + names->wDeviceOffset, "Lumora PDF");
  GlobalUnlock(pd.hDevNames);
  GlobalFree(pd.hDevNames);
  GlobalFree(pd.hDevMode);
}

}  // namespace
