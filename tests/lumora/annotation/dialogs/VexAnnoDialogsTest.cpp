// The three property dialogs driven as a user would: the width field and its check, the
// titles and controls of each variant, the arrow style, the colour and font choosers,
// and the text dialog's description lines.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <functional>
#include <string>

#include "annotation/dialogs/VexAnnoLineSet.h"
#include "annotation/dialogs/VexAnnoRectSet.h"
#include "annotation/dialogs/VexAnnoTextSet.h"
#include "user/Responder.h"

namespace {

namespace responder = plat::user::responder;

std::string Text(HWND dialog, int id) {
  char text[256] = {};
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}
void Click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
bool Shown(HWND dialog, int id) { return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE; }

class VexAnnoDialogs : public ::testing::Test {
 protected:
  void SetUp() override { responder::Reset(); }
  void TearDown() override { responder::Reset(); }
  // The next dialog is answered by `act`, which presses its own buttons.
  static void OnDialog(std::function<void(HWND)> act) {
    responder::Push([act](const responder::Shown& shown) {
      act(shown.hwnd);
      return 0;
    });
  }
  // The next message box: its text is kept and OK answers it.
  void OnMessageBox() {
    responder::Push([this](const responder::Shown& shown) {
      boxes.push_back(shown.caption + "|" + shown.text);
      return IDOK;
    });
  }
  // The colour chooser picks `color` through its red, green and blue fields.
  static void ChooseColor(COLORREF color) {
    OnDialog([color](HWND d) {
      Click(d, COLOR_MIX);
      SetDlgItemInt(d, COLOR_RED, GetRValue(color), FALSE);
      SetDlgItemInt(d, COLOR_GREEN, GetGValue(color), FALSE);
      SetDlgItemInt(d, COLOR_BLUE, GetBValue(color), FALSE);
      Click(d, IDOK);
    });
  }
  std::vector<std::string> boxes;
};

TEST_F(VexAnnoDialogs, TheWidthFieldTakesOneToAHundred) {
  const struct {
    const char* typed;
    int result, width;
  } cases[] = {{" 15", IDOK, 15},  {"15", IDOK, 15},     {"1", IDOK, 1},       {"100", IDOK, 100},
               {"0", IDCANCEL, 7}, {"101", IDCANCEL, 7}, {"abc", IDCANCEL, 7}, {"", IDCANCEL, 7}};
  for (int dialog : {141, 143}) {
    const int field = dialog == 141 ? 1020 : 1025;
    for (const auto& c : cases) {
      boxes.clear();
      std::string shownWidth;
      // A refused width keeps the dialog open, so the Cancel that follows ends it.
      OnDialog([&](HWND d) {
        shownWidth = Text(d, field);
        SetDlgItemTextA(d, field, c.typed);
        Click(d, IDOK);
        Click(d, IDCANCEL);
      });
      if (c.result == IDCANCEL) OnMessageBox();
      int width = 0, style = 0, lineType = 0, square = 0, fill = 0;
      COLORREF color = 0, color2 = 0;
      int result;
      if (dialog == 141) {
        CVexAnnoLineSet dlg(0);
        dlg.SetValues(7, 1, 0, RGB(1, 2, 3));
        result = dlg.DoModal();
        dlg.GetValues(width, style, lineType, color);
      } else {
        CVexAnnoRectSet dlg(0);
        dlg.SetValues(7, 0, RGB(1, 2, 3), RGB(4, 5, 6), 0, 0);
        result = dlg.DoModal();
        dlg.GetValues(width, lineType, color, color2, square, fill);
      }
      EXPECT_EQ(shownWidth, "    7");
      EXPECT_EQ(result, c.result) << dialog << " '" << c.typed << "'";
      EXPECT_EQ(width, c.width) << dialog << " '" << c.typed << "'";
      if (c.result == IDCANCEL) {
        EXPECT_EQ(boxes, std::vector<std::string>{"Lumora Error|線の幅が不適切です。"});
      } else {
        EXPECT_TRUE(boxes.empty());
      }
    }
  }
}

TEST_F(VexAnnoDialogs, TheWidthListOffersEightWidths) {
  std::vector<std::string> items;
  OnDialog([&](HWND d) {
    HWND list = GetDlgItem(d, 1025);
    for (int i = 0; i < SendMessageA(list, CB_GETCOUNT, 0, 0); ++i) {
      char text[32] = {};
      SendMessageA(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
      items.push_back(text);
    }
    SendMessageA(list, CB_SETCURSEL, 3, 0);  // "  20"
    Click(d, IDOK);
  });
  CVexAnnoRectSet dlg(1);
  dlg.SetValues(5, 0, 0, 0, 0, 0);
  ASSERT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(items, (std::vector<std::string>{"   1", "   5", "  10", "  20", "  40", "  60", "  80", " 100"}));
  int width, lineType, square, fill;
  COLORREF color, color2;
  dlg.GetValues(width, lineType, color, color2, square, fill);
  EXPECT_EQ(width, 20);
}

TEST_F(VexAnnoDialogs, EachVariantHasItsTitleAndControls) {
  const struct {
    int dialog, variant;
    const char* title;
    bool styleShown;         // line: the arrow list and its label
    const char* squareText;  // shape: check box 1028, null when hidden
  } cases[] = {
      {141, 0, "Straight line Setting", true, nullptr}, {141, 1, "Polyline Setting", false, nullptr},
      {141, 2, "Free Hand Setting", false, nullptr},    {143, 0, "Rectangle Setting", false, "Square"},
      {143, 1, "Ellipse Setting", false, "Circle"},     {143, 2, "Polygon Setting", false, nullptr},
  };
  for (const auto& c : cases) {
    OnDialog([&](HWND d) {
      char title[64] = {};
      GetWindowTextA(d, title, sizeof title);
      EXPECT_STREQ(title, c.title);
      if (c.dialog == 141) {
        EXPECT_EQ(Shown(d, 1021), c.styleShown) << c.variant;
        EXPECT_EQ(Shown(d, 1031), c.styleShown) << c.variant;
        EXPECT_TRUE(Shown(d, 1020));
      } else {
        EXPECT_EQ(Shown(d, 1028), c.squareText != nullptr) << c.variant;
        if (c.squareText) { EXPECT_EQ(Text(d, 1028), c.squareText); }
        EXPECT_TRUE(Shown(d, 1029));
      }
      EXPECT_NE(SendMessageA(d, WM_GETICON, ICON_BIG, 0), 0);
      Click(d, IDCANCEL);
    });
    if (c.dialog == 141) {
      CVexAnnoLineSet dlg(c.variant);
      EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    } else {
      CVexAnnoRectSet dlg(c.variant);
      EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    }
  }
  for (int variant : {0, 1}) {
    OnDialog([&](HWND d) {
      char title[64] = {};
      GetWindowTextA(d, title, sizeof title);
      EXPECT_STREQ(title, "Text Setting");
      EXPECT_EQ(Shown(d, 1029), variant == 1);
      EXPECT_EQ(Shown(d, 1030), variant == 1);
      if (variant == 1) {
        EXPECT_EQ(GetFocus(), GetDlgItem(d, 1029));
      }
      Click(d, IDCANCEL);
    });
    CVexAnnoTextSet dlg(variant);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  }
}

TEST_F(VexAnnoDialogs, TheArrowStyleComesBackAsGivenOrAsChosen) {
  const struct {
    int given, shownIndex, pick, returned;
  } cases[] = {
      {0, 0, -2, 0},  {1, 1, -2, 1},  {2, 2, -2, 2},
      {3, 3, -2, 3},  {4, -1, -2, 4},  // a measuring line has no item and stays a measuring line
      {7, -1, -2, 7}, {4, -1, 2, 2},   // unless the user picks a style
      {0, 0, 3, 3},
  };
  for (const auto& c : cases) {
    int shown = -9;
    std::vector<LRESULT> data;
    OnDialog([&](HWND d) {
      HWND list = GetDlgItem(d, 1021);
      shown = static_cast<int>(SendMessageA(list, CB_GETCURSEL, 0, 0));
      for (int i = 0; i < SendMessageA(list, CB_GETCOUNT, 0, 0); ++i)
        data.push_back(SendMessageA(list, CB_GETITEMDATA, i, 0));
      if (c.pick >= 0) SendMessageA(list, CB_SETCURSEL, c.pick, 0);
      Click(d, IDOK);
    });
    CVexAnnoLineSet dlg(0);
    dlg.SetValues(3, c.given, 9, RGB(0, 0, 0));
    ASSERT_EQ(dlg.DoModal(), IDOK);
    int width, style, lineType;
    COLORREF color;
    dlg.GetValues(width, style, lineType, color);
    EXPECT_EQ(shown, c.shownIndex) << c.given;
    EXPECT_EQ(style, c.returned) << c.given << " pick " << c.pick;
    EXPECT_EQ(lineType, 9);
    EXPECT_EQ(data, (std::vector<LRESULT>{1, 2, 3, 4}));
  }
}

TEST_F(VexAnnoDialogs, OneColourChoiceSetsBothShapeColours) {
  OnDialog([](HWND d) {
    Click(d, 1027);
    Click(d, IDOK);
  });
  ChooseColor(RGB(10, 200, 30));
  CVexAnnoRectSet dlg(0);
  dlg.SetValues(2, 5, RGB(0, 0, 255), RGB(255, 0, 0), 1, 0);
  ASSERT_EQ(dlg.DoModal(), IDOK);
  int width, lineType, square, fill;
  COLORREF color, color2;
  dlg.GetValues(width, lineType, color, color2, square, fill);
  EXPECT_EQ(color, RGB(10, 200, 30));
  EXPECT_EQ(color2, RGB(10, 200, 30));
  EXPECT_EQ(lineType, 5);
  EXPECT_EQ(square, 1);

  // A cancelled chooser keeps both; the line dialog takes its one colour the same way.
  OnDialog([](HWND d) {
    Click(d, 1027);
    Click(d, IDOK);
  });
  OnDialog([](HWND d) { Click(d, IDCANCEL); });
  CVexAnnoRectSet kept(0);
  kept.SetValues(2, 0, RGB(0, 0, 255), RGB(255, 0, 0), 0, 0);
  ASSERT_EQ(kept.DoModal(), IDOK);
  kept.GetValues(width, lineType, color, color2, square, fill);
  EXPECT_EQ(color, RGB(0, 0, 255));
  EXPECT_EQ(color2, RGB(255, 0, 0));

  OnDialog([](HWND d) {
    Click(d, 1023);
    Click(d, IDOK);
  });
  ChooseColor(RGB(90, 0, 90));
  CVexAnnoLineSet line(0);
  line.SetValues(1, 0, 0, RGB(0, 0, 0));
  ASSERT_EQ(line.DoModal(), IDOK);
  int style;
  line.GetValues(width, style, lineType, color);
  EXPECT_EQ(color, RGB(90, 0, 90));
}

TEST_F(VexAnnoDialogs, TheFontIsDescribedInThreeLines) {
  LOGFONTA font{};
  std::strcpy(font.lfFaceName, "ＭＳ Ｐゴシック");
  font.lfWeight = 700;
  font.lfItalic = 1;
  font.lfCharSet = 128;
  EXPECT_EQ(CVexAnnoTextSet::DescribeFace(font), CString("ＭＳ Ｐゴシック [SHIFTJIS]"));
  EXPECT_EQ(CVexAnnoTextSet::DescribeSize(120), CString("            Size  : 12 points"));
  EXPECT_EQ(CVexAnnoTextSet::DescribeSize(125), CString("            Size  : 12 points"));
  EXPECT_EQ(CVexAnnoTextSet::DescribeStyle(font), CString("            Style : Bold Italic"));
  const struct {
    BYTE charSet, italic;
    LONG weight;
    const char* face;
    const char* style;
  } cases[] = {
      {0, 0, 400, "Arial [ANSI]", "            Style : Regular"},
      {204, 0, 900, "Arial [RUSSIAN]", "            Style : Heavy"},
      {255, 1, 0, "Arial [OEM]", "            Style : Dontcare Italic"},
      {99, 0, 450, "", ""},  // no text for this character set or weight
      {1, 2, 400, "Arial [DEFAULT]", ""},
  };
  for (const auto& c : cases) {
    LOGFONTA f{};
    std::strcpy(f.lfFaceName, "Arial");
    f.lfCharSet = c.charSet;
    f.lfItalic = c.italic;
    f.lfWeight = c.weight;
    EXPECT_EQ(CVexAnnoTextSet::DescribeFace(f), CString(c.face));
    EXPECT_EQ(CVexAnnoTextSet::DescribeStyle(f), CString(c.style));
  }

  // The dialog shows them, and its check box shows the fill.
  OnDialog([](HWND d) {
    EXPECT_EQ(Text(d, 1011), "ＭＳ Ｐゴシック [SHIFTJIS]");
    EXPECT_EQ(Text(d, 1012), "            Size  : 12 points");
    EXPECT_EQ(Text(d, 1014), "            Style : Bold Italic");
    EXPECT_EQ(IsDlgButtonChecked(d, 1018), BST_CHECKED);
    EXPECT_EQ(Text(d, 1029), "label");
    Click(d, IDCANCEL);
  });
  CVexAnnoTextSet dlg(1);
  dlg.SetValues(font, 120, RGB(0, 0, 0), RGB(255, 255, 0), 1, "label");
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

TEST_F(VexAnnoDialogs, TheDefaultsVariantIs35PixelsShorter) {
  RECT window[2], ok[2];
  for (int variant : {0, 1}) {
    OnDialog([&, variant](HWND d) {
      GetWindowRect(d, &window[variant]);
      GetWindowRect(GetDlgItem(d, IDOK), &ok[variant]);
      Click(d, IDCANCEL);
    });
    CVexAnnoTextSet dlg(variant);
    dlg.DoModal();
  }
  EXPECT_EQ((window[1].bottom - window[1].top) - (window[0].bottom - window[0].top), 35);
  EXPECT_EQ((ok[1].top - window[1].top) - (ok[0].top - window[0].top), 35);
  EXPECT_EQ(window[1].right - window[1].left, window[0].right - window[0].left);
}

TEST_F(VexAnnoDialogs, SetReturnsTheFontItsSizeInTenthsAndItsColour) {
  LOGFONTA font{};
  std::strcpy(font.lfFaceName, "ＭＳ Ｐゴシック");
  font.lfHeight = -64;
  font.lfWeight = 400;
  font.lfCharSet = 128;
  COLORREF picked = 0;
  OnDialog([](HWND d) {
    Click(d, 1013);
    Click(d, IDOK);
  });
  OnDialog([&](HWND d) {
    SendDlgItemMessageA(d, FONT_STYLE, CB_SETCURSEL, 2, 0);  // bold
    SetDlgItemTextA(d, FONT_SIZE, "24");
    HWND colors = GetDlgItem(d, FONT_COLOR);
    SendMessageA(colors, CB_SETCURSEL, 1, 0);
    SendMessageA(d, WM_COMMAND, MAKEWPARAM(FONT_COLOR, CBN_SELCHANGE), reinterpret_cast<LPARAM>(colors));
    picked = static_cast<COLORREF>(SendMessageA(colors, CB_GETITEMDATA, 1, 0));
    Click(d, IDOK);
  });
  CVexAnnoTextSet dlg(1);
  dlg.SetValues(font, 480, RGB(0, 0, 0), RGB(255, 255, 0), 0, "abc");
  ASSERT_EQ(dlg.DoModal(), IDOK);
  LOGFONTA out;
  int size, fill;
  COLORREF text, back;
  CString words;
  dlg.GetValues(out, size, text, back, fill, words);
  EXPECT_EQ(out.lfWeight, 700);
  EXPECT_EQ(out.lfHeight, -32);
  EXPECT_STREQ(out.lfFaceName, "ＭＳ Ｐゴシック");
  EXPECT_EQ(size, 240);
  EXPECT_NE(picked, RGB(0, 0, 0));
  EXPECT_EQ(text, picked);
  EXPECT_EQ(back, RGB(255, 255, 0));
  EXPECT_EQ(words, CString("abc"));

  // A size outside 8..72 points is refused by the chooser, which stays open.
  OnDialog([](HWND d) {
    Click(d, 1013);
    Click(d, IDOK);
  });
  bool refused = false;
  OnDialog([&](HWND d) {
    SetDlgItemTextA(d, FONT_SIZE, "80");
    Click(d, IDOK);
    refused = IsWindowVisible(d) != FALSE;
    Click(d, IDCANCEL);
  });
  OnMessageBox();
  CVexAnnoTextSet limited(0);
  limited.SetValues(font, 480, 0, 0, 0, "");
  ASSERT_EQ(limited.DoModal(), IDOK);
  EXPECT_TRUE(refused);
  limited.GetValues(out, size, text, back, fill, words);
  EXPECT_EQ(size, 480);
  EXPECT_EQ(out.lfHeight, -64);
}

TEST_F(VexAnnoDialogs, TheBackgroundAndFillFeedThePreview) {
  OnDialog([](HWND d) {
    Click(d, 1015);  // the preview button chooses the background colour
    Click(d, 1018);  // fill
    Click(d, IDOK);
  });
  ChooseColor(RGB(0, 128, 255));
  CVexAnnoTextSet dlg(0);
  dlg.SetValues(LOGFONTA{}, 100, RGB(0, 0, 0), RGB(255, 255, 255), 0, "");
  ASSERT_EQ(dlg.DoModal(), IDOK);
  LOGFONTA font;
  int size, fill;
  COLORREF text, back;
  CString words;
  dlg.GetValues(font, size, text, back, fill, words);
  EXPECT_EQ(back, RGB(0, 128, 255));
  EXPECT_EQ(fill, 1);
}

}  // namespace
