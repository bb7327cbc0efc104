#include <cstring>

#include "ChooserFixture.h"

namespace choosers {
namespace {

class FontChooser : public ChooserTest {
 protected:
  LOGFONTA lf{};
  CHOOSEFONTA Request(DWORD flags) {
    CHOOSEFONTA cf{};
    cf.lStructSize = sizeof cf;
    cf.lpLogFont = &lf;
    cf.Flags = flags;
    return cf;
  }
  void Face(const char* name, LONG height, LONG weight, BYTE italic) {
    std::strcpy(lf.lfFaceName, name);
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfItalic = italic;
    lf.lfCharSet = SHIFTJIS_CHARSET;
  }
};

TEST_F(FontChooser, StartsOnTheLogFontAndReturnsItWithSizeAndColour) {
  Face("Arial", -64, FW_BOLD, 1);
  CHOOSEFONTA cf = Request(CF_SCREENFONTS | CF_PRINTERFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT);
  cf.rgbColors = RGB(255, 0, 0);
  std::string face, style, size, color;
  OnDialog([&](HWND d) {
    face = Selected(d, FONT_FACE);
    style = Selected(d, FONT_STYLE);
    size = Text(d, FONT_SIZE);
    color = Selected(d, FONT_COLOR);
    Press(d, IDOK);
  });
  ASSERT_TRUE(ChooseFontA(&cf));
  EXPECT_EQ(face, "Arial");
  EXPECT_EQ(style, "太字 斜体");
  EXPECT_EQ(size, "48");  // 64 pixels at 96 dots per inch
  EXPECT_EQ(color, "赤");
  EXPECT_STREQ(lf.lfFaceName, "Arial");
  EXPECT_EQ(lf.lfHeight, -64);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_EQ(lf.lfItalic, 1);
  EXPECT_EQ(lf.lfCharSet, ANSI_CHARSET);  // the face's own
  EXPECT_EQ(lf.lfOutPrecision, OUT_STROKE_PRECIS);  // outline fonts turn
  EXPECT_EQ(cf.iPointSize, 480);
  EXPECT_EQ(cf.rgbColors, RGB(255, 0, 0));
  EXPECT_EQ(cf.nFontType, SCREEN_FONTTYPE | PRINTER_FONTTYPE | BOLD_FONTTYPE | ITALIC_FONTTYPE);
}

TEST_F(FontChooser, ReturnsWhatWasChosen) {
  Face("ＭＳ Ｐゴシック", -15, FW_NORMAL, 0);
  CHOOSEFONTA cf = Request(CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT);
  OnDialog([&](HWND d) {
    Select(d, FONT_FACE, "Courier New");
    Select(d, FONT_STYLE, "太字");
    Type(d, FONT_SIZE, "10.5");
    CheckDlgButton(d, FONT_UNDERLINE, BST_CHECKED);
    Select(d, FONT_COLOR, "青");
    Press(d, IDOK);
  });
  ASSERT_TRUE(ChooseFontA(&cf));
  EXPECT_STREQ(lf.lfFaceName, "Courier New");
  EXPECT_EQ(lf.lfHeight, -14);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_EQ(lf.lfItalic, 0);
  EXPECT_EQ(lf.lfUnderline, 1);
  EXPECT_EQ(lf.lfStrikeOut, 0);
  EXPECT_EQ(cf.iPointSize, 105);
  EXPECT_EQ(cf.rgbColors, RGB(0, 0, 255));
}

TEST_F(FontChooser, SizesOutsideTheLimitsAreRefusedAndTheDialogStays) {
  Face("Arial", -16, FW_NORMAL, 0);
  CHOOSEFONTA cf = Request(CF_SCREENFONTS | CF_LIMITSIZE | CF_INITTOLOGFONTSTRUCT);
  cf.nSizeMin = 10;
  cf.nSizeMax = 20;
  std::string first, last;
  std::vector<bool> stayed;
  OnDialog([&](HWND d) {
    char buf[32] = {};
    SendDlgItemMessageA(d, FONT_SIZE, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(buf));
    first = buf;
    auto n = SendDlgItemMessageA(d, FONT_SIZE, CB_GETCOUNT, 0, 0);
    SendDlgItemMessageA(d, FONT_SIZE, CB_GETLBTEXT, static_cast<WPARAM>(n - 1), reinterpret_cast<LPARAM>(buf));
    last = buf;
    for (const char* bad : {"9.5", "21", "big", ""}) {
      Type(d, FONT_SIZE, bad);
      Press(d, IDOK);
      stayed.push_back(IsWindowVisible(d) != FALSE);
    }
    Type(d, FONT_SIZE, "20");
    Press(d, IDOK);
  });
  ASSERT_TRUE(ChooseFontA(&cf));
  EXPECT_EQ(first, "10");
  EXPECT_EQ(last, "20");
  EXPECT_EQ(stayed, std::vector<bool>(4, true));
  EXPECT_EQ(Boxes().size(), 4u);
  EXPECT_EQ(cf.iPointSize, 200);
  EXPECT_EQ(lf.lfHeight, -27);  // 20 points at 96 dots per inch, rounded
}

TEST_F(FontChooser, CancelLeavesTheLogFontAlone) {
  Face("Arial", -20, FW_NORMAL, 0);
  LOGFONTA before = lf;
  CHOOSEFONTA cf = Request(CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT);
  OnDialog([&](HWND d) {
    Select(d, FONT_FACE, "Courier New");
    Press(d, IDCANCEL);
  });
  EXPECT_FALSE(ChooseFontA(&cf));
  EXPECT_EQ(std::memcmp(&lf, &before, sizeof lf), 0);
}

TEST_F(FontChooser, WithoutEffectsTheColourIsNotOffered) {
  CHOOSEFONTA cf = Request(CF_SCREENFONTS);
  cf.rgbColors = RGB(1, 2, 3);
  bool colourShown = true;
  std::string face;
  OnDialog([&](HWND d) {
    colourShown = IsWindowVisible(GetDlgItem(d, FONT_COLOR)) != FALSE;
    face = Selected(d, FONT_FACE);
    Press(d, IDOK);
  });
  ASSERT_TRUE(ChooseFontA(&cf));
  EXPECT_FALSE(colourShown);
  EXPECT_EQ(face, "ＭＳ Ｐゴシック");  // the first installed face
  EXPECT_EQ(cf.rgbColors, RGB(1, 2, 3));
  EXPECT_EQ(cf.iPointSize, 100);
}

TEST_F(FontChooser, ListsTheRasterFaceUnlessOnlyScalableOnesAreAsked) {
  const struct {
    DWORD flags;
    bool listed;
  } cases[] = {{CF_SCREENFONTS, true}, {CF_SCREENFONTS | CF_SCALABLEONLY, false}, {CF_SCREENFONTS | CF_TTONLY, false}};
  for (const auto& c : cases) {
    lf = LOGFONTA{};
    CHOOSEFONTA cf = Request(c.flags);
    bool listed = false;
    OnDialog([&](HWND d) {
      listed = SendDlgItemMessageA(d, FONT_FACE, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                   reinterpret_cast<LPARAM>("MS Sans Serif")) >= 0;
      if (listed) Select(d, FONT_FACE, "MS Sans Serif");
      Press(d, IDOK);
    });
    ASSERT_TRUE(ChooseFontA(&cf));
    EXPECT_EQ(listed, c.listed) << c.flags;
    // The chosen raster face cannot be turned: it says so by its precision.
    EXPECT_EQ(lf.lfOutPrecision, listed ? OUT_STRING_PRECIS : OUT_STROKE_PRECIS);
  }
}

TEST_F(FontChooser, RequestsWithoutAFontListAreRefused) {
  CHOOSEFONTA none = Request(CF_EFFECTS);  // neither screen nor printer fonts
  CHOOSEFONTA noPlace = Request(CF_SCREENFONTS);
  noPlace.lpLogFont = nullptr;
  EXPECT_FALSE(ChooseFontA(&none));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CFERR_NOFONTS));
  EXPECT_FALSE(ChooseFontA(&noPlace));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_INITIALIZATION));
  EXPECT_TRUE(responder::History().empty());
}

}  // namespace
}  // namespace choosers
