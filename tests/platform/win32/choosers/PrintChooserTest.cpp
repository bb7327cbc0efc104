#include <cstring>

#include "ChooserFixture.h"

namespace choosers {
namespace {

class PrintChooser : public ChooserTest {
 protected:
  PRINTDLGA pd{};
  void SetUp() override {
    ChooserTest::SetUp();
    pd.lStructSize = sizeof pd;
    pd.nMinPage = 1;
    pd.nMaxPage = 5;
    pd.nFromPage = 1;
    pd.nToPage = 5;
    pd.nCopies = 1;
  }
  void TearDown() override {
    if (pd.hDC) DeleteDC(pd.hDC);
    if (pd.hDevMode) GlobalFree(pd.hDevMode);
    if (pd.hDevNames) GlobalFree(pd.hDevNames);
    ChooserTest::TearDown();
  }
  std::string Device() const {
    auto* dn = static_cast<const DEVNAMES*>(GlobalLock(pd.hDevNames));
    std::string s = reinterpret_cast<const char*>(dn) + dn->wDeviceOffset;
    GlobalUnlock(pd.hDevNames);
    return s;
  }
  DEVMODEA Mode() const {
    DEVMODEA dm;
    std::memcpy(&dm, GlobalLock(pd.hDevMode), sizeof dm);
    GlobalUnlock(pd.hDevMode);
    return dm;
  }
};

TEST_F(PrintChooser, DefaultPrinterWithoutADialog) {
  pd.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
  ASSERT_TRUE(PrintDlgA(&pd));
  EXPECT_TRUE(responder::History().empty());
  EXPECT_EQ(Device(), "Lumora PDF");
  EXPECT_STREQ(reinterpret_cast<const char*>(Mode().dmDeviceName), "Lumora PDF");
  ASSERT_NE(pd.hDC, nullptr);
  EXPECT_EQ(GetDeviceCaps(pd.hDC, HORZRES), 2380);
  // Blocks already held would be lost: the request is refused.
  PRINTDLGA again = pd;
  again.hDC = nullptr;
  EXPECT_FALSE(PrintDlgA(&again));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(PDERR_RETDEFFAILURE));
  EXPECT_EQ(again.hDC, nullptr);
}

TEST_F(PrintChooser, ChoosesTheBuiltInPrinterAPageRangeAndCopies) {
  pd.Flags = PD_RETURNDC | PD_USEDEVMODECOPIES | PD_NOSELECTION;
  bool selectionOffered = true, rangeEnabledAtStart = true;
  std::string printer, from;
  OnDialog([&](HWND d) {
    printer = Selected(d, PRINT_PRINTER);
    from = Text(d, PRINT_FROM);
    selectionOffered = IsWindowEnabled(GetDlgItem(d, PRINT_SELECTION)) != FALSE;
    rangeEnabledAtStart = IsWindowEnabled(GetDlgItem(d, PRINT_FROM)) != FALSE;
    Select(d, PRINT_PRINTER, "Lumora PDF");
    CheckRadioButton(d, PRINT_ALL, PRINT_PAGES, PRINT_PAGES);
    Press(d, PRINT_PAGES);
    Type(d, PRINT_FROM, "2");
    Type(d, PRINT_TO, "3");
    Type(d, PRINT_COPIES, "2");
    Press(d, IDOK);
  });
  ASSERT_TRUE(PrintDlgA(&pd));
  EXPECT_EQ(printer, "Lumora PDF");
  EXPECT_EQ(from, "1");
  EXPECT_FALSE(selectionOffered);
  EXPECT_FALSE(rangeEnabledAtStart);
  EXPECT_TRUE(pd.Flags & PD_PAGENUMS);
  EXPECT_EQ(pd.nFromPage, 2);
  EXPECT_EQ(pd.nToPage, 3);
  EXPECT_EQ(pd.nCopies, 1);  // the copies travel in the DEVMODE
  EXPECT_EQ(Mode().dmCopies, 2);
  EXPECT_EQ(Device(), "Lumora PDF");
  ASSERT_NE(pd.hDC, nullptr);
  EXPECT_EQ(GetDeviceCaps(pd.hDC, TECHNOLOGY), DT_RASPRINTER);
}

TEST_F(PrintChooser, BadRangesAndCopiesKeepTheDialogOpen) {
  struct Case {
    const char *from, *to, *copies;
  } cases[] = {{"0", "2", "1"}, {"3", "2", "1"}, {"4", "6", "1"}, {"", "2", "1"}, {"1", "2", "0"}, {"1", "2", "10000"}};
  for (const Case& c : cases) {
    bool stayed = false;
    OnDialog([&](HWND d) {
      CheckRadioButton(d, PRINT_ALL, PRINT_PAGES, PRINT_PAGES);
      Type(d, PRINT_FROM, c.from);
      Type(d, PRINT_TO, c.to);
      Type(d, PRINT_COPIES, c.copies);
      Press(d, IDOK);
      stayed = IsWindowVisible(d) != FALSE;
      Press(d, IDCANCEL);
    });
    EXPECT_FALSE(PrintDlgA(&pd)) << c.from << "-" << c.to << " x" << c.copies;
    EXPECT_TRUE(stayed) << c.from << "-" << c.to << " x" << c.copies;
  }
  EXPECT_EQ(Boxes().size(), std::size(cases));
  EXPECT_EQ(pd.nFromPage, 1);
  EXPECT_EQ(pd.hDC, nullptr);
}

TEST_F(PrintChooser, AllPagesClearsAnEarlierRange) {
  pd.Flags = PD_PAGENUMS;
  OnDialog([&](HWND d) {
    CheckRadioButton(d, PRINT_ALL, PRINT_PAGES, PRINT_ALL);
    Type(d, PRINT_COPIES, "3");
    Press(d, IDOK);
  });
  ASSERT_TRUE(PrintDlgA(&pd));
  EXPECT_FALSE(pd.Flags & (PD_PAGENUMS | PD_SELECTION));
  EXPECT_EQ(pd.nCopies, 3);  // without PD_USEDEVMODECOPIES the caller makes the copies
  EXPECT_EQ(Mode().dmCopies, 1);
  EXPECT_EQ(pd.hDC, nullptr);  // no PD_RETURNDC
}

}  // namespace
}  // namespace choosers
