#include "ChooserFixture.h"

namespace choosers {
namespace {

class ColorChooser : public ChooserTest {
 protected:
  COLORREF custom[16] = {};
  CHOOSECOLORA Request(DWORD flags, COLORREF initial) {
    CHOOSECOLORA cc{};
    cc.lStructSize = sizeof cc;
    cc.rgbResult = initial;
    cc.lpCustColors = custom;
    cc.Flags = flags;
    return cc;
  }
};

TEST_F(ColorChooser, StartsOnTheGivenColourAndReturnsItUnchanged) {
  custom[3] = RGB(1, 2, 3);
  CHOOSECOLORA cc = Request(CC_RGBINIT | CC_FULLOPEN, RGB(12, 34, 56));
  std::string red;
  OnDialog([&](HWND d) {
    red = Text(d, COLOR_RED);
    Press(d, IDOK);
  });
  ASSERT_TRUE(ChooseColorA(&cc));
  EXPECT_EQ(red, "12");
  EXPECT_EQ(cc.rgbResult, RGB(12, 34, 56));
  EXPECT_EQ(custom[3], RGB(1, 2, 3));
}

TEST_F(ColorChooser, ClickingABasicColourChoosesIt) {
  CHOOSECOLORA cc = Request(0, RGB(9, 9, 9));  // no CC_RGBINIT: the start is black
  std::string startRed;
  OnDialog([&](HWND d) {
    startRed = Text(d, COLOR_RED);
    RECT r{8, 18, 8, 18};  // inside the top-left cell of the basic grid
    MapDialogRect(d, &r);
    SendMessageA(d, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.left, r.top));
    SendMessageA(d, WM_LBUTTONUP, 0, MAKELPARAM(r.left, r.top));
    Press(d, IDOK);
  });
  ASSERT_TRUE(ChooseColorA(&cc));
  EXPECT_EQ(startRed, "0");
  EXPECT_EQ(cc.rgbResult, RGB(255, 128, 128));
}

TEST_F(ColorChooser, MixedColourIsAddedToTheCustomColours) {
  CHOOSECOLORA cc = Request(0, 0);
  bool hiddenAtStart = false, shownAfterMix = false;
  OnDialog([&](HWND d) {
    hiddenAtStart = !IsWindowVisible(GetDlgItem(d, COLOR_RED));
    Press(d, COLOR_MIX);
    shownAfterMix = IsWindowVisible(GetDlgItem(d, COLOR_RED)) != FALSE;
    Type(d, COLOR_RED, "10");
    Type(d, COLOR_GREEN, "300");  // more than a channel holds
    Type(d, COLOR_BLUE, "30");
    Press(d, COLOR_ADD);
    Press(d, IDOK);
  });
  ASSERT_TRUE(ChooseColorA(&cc));
  EXPECT_TRUE(hiddenAtStart);
  EXPECT_TRUE(shownAfterMix);
  EXPECT_EQ(cc.rgbResult, RGB(10, 255, 30));
  EXPECT_EQ(custom[0], RGB(10, 255, 30));
}

TEST_F(ColorChooser, CancelChangesNothing) {
  CHOOSECOLORA cc = Request(CC_RGBINIT | CC_FULLOPEN, RGB(1, 1, 1));
  OnDialog([&](HWND d) {
    Type(d, COLOR_RED, "200");
    Press(d, COLOR_ADD);
    Press(d, IDCANCEL);
  });
  EXPECT_FALSE(ChooseColorA(&cc));
  EXPECT_EQ(CommDlgExtendedError(), 0u);  // a cancel is no error
  EXPECT_EQ(cc.rgbResult, RGB(1, 1, 1));
  EXPECT_EQ(custom[0], RGB(0, 0, 0));
}

TEST_F(ColorChooser, RefusesARequestWithoutCustomColours) {
  CHOOSECOLORA cc = Request(0, 0);
  cc.lpCustColors = nullptr;
  EXPECT_FALSE(ChooseColorA(&cc));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_INITIALIZATION));
  EXPECT_TRUE(responder::History().empty());  // no dialog was shown
}

}  // namespace
}  // namespace choosers
