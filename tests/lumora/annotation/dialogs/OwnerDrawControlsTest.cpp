// The owner-drawn controls of the annotation dialogs, drawn onto a picture and read back:
// the arrow styles, the colour swatch, the text preview, and the scale dialog's button
// that takes the focus when the mouse passes over it.
#include <gtest/gtest.h>
#include <windows.h>

#include "../objects/Canvas.h"
#include "annotation/dialogs/AnnColorButton.h"
#include "annotation/dialogs/ArrowCombo.h"
#include "annotation/dialogs/BkClrButton.h"
#include "annotation/dialogs/VexScaleApplyBtn.h"

namespace {

constexpr COLORREF kGrey = RGB(77, 77, 77);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

DRAWITEMSTRUCT Item(const Canvas& canvas, UINT action, UINT state, ULONG_PTR data, UINT id = 0) {
  DRAWITEMSTRUCT di{};
  di.itemID = id;
  di.itemAction = action;
  di.itemState = state;
  di.hDC = canvas.dc();
  di.rcItem = RECT{0, 0, canvas.width(), canvas.height()};
  di.itemData = data;
  return di;
}

COLORREF Inverse(COLORREF c) { return RGB(255 - GetRValue(c), 255 - GetGValue(c), 255 - GetBValue(c)); }

TEST(ArrowCombo, EachItemDrawsItsArrowHeads) {
  // A 100 x 18 item: the line at y 9 from x 10 to 90, heads 6 pixels back.
  const COLORREF hi = GetSysColor(COLOR_HIGHLIGHT);
  const struct {
    ULONG_PTR type;
    UINT action, state;
    COLORREF back, line;
    bool right, left;
  } cases[] = {
      {1, ODA_DRAWENTIRE, 0, kWhite, kBlack, false, false},      {2, ODA_DRAWENTIRE, 0, kWhite, kBlack, true, false},
      {3, ODA_DRAWENTIRE, 0, kWhite, kBlack, false, true},       {4, ODA_DRAWENTIRE, 0, kWhite, kBlack, true, true},
      {4, ODA_DRAWENTIRE, ODS_SELECTED, hi, kWhite, true, true}, {2, ODA_SELECT, ODS_SELECTED, hi, kWhite, true, false},
      {3, ODA_SELECT, 0, kWhite, kBlack, false, true},
  };
  for (const auto& c : cases) {
    Canvas canvas(100, 18, kGrey);
    CArrowCombo combo;
    DRAWITEMSTRUCT di = Item(canvas, c.action, c.state, c.type);
    combo.DrawItem(&di);
    const bool selected = c.state & ODS_SELECTED;
    EXPECT_EQ(canvas.At(0, 0), selected ? Inverse(hi) : kWhite) << c.type;
    EXPECT_EQ(canvas.At(5, 4), c.back) << c.type;
    EXPECT_EQ(canvas.At(50, 9), c.line) << c.type;
    EXPECT_EQ(canvas.At(87, 6), c.right ? c.line : c.back) << c.type;
    EXPECT_EQ(canvas.At(87, 12), c.right ? c.line : c.back) << c.type;
    EXPECT_EQ(canvas.At(13, 6), c.left ? c.line : c.back) << c.type;
    EXPECT_EQ(canvas.At(13, 12), c.left ? c.line : c.back) << c.type;
  }
  // A focus change alone draws nothing; the empty field draws only its background.
  Canvas canvas(100, 18, kGrey);
  CArrowCombo combo;
  DRAWITEMSTRUCT focus = Item(canvas, ODA_FOCUS, ODS_FOCUS, 4);
  combo.DrawItem(&focus);
  EXPECT_EQ(canvas.At(50, 9), kGrey);
  DRAWITEMSTRUCT empty = Item(canvas, ODA_DRAWENTIRE, 0, 0, static_cast<UINT>(-1));
  combo.DrawItem(&empty);
  EXPECT_EQ(canvas.At(50, 9), kWhite);
}

TEST(AnnColorButton, ShowsItsColourOnARaisedOrPressedFace) {
  const COLORREF face = GetSysColor(COLOR_BTNFACE), shadow = GetSysColor(COLOR_BTNSHADOW);
  const struct {
    UINT action, state;
    bool sunken;
  } cases[] = {
      {ODA_DRAWENTIRE, 0, false},
      {ODA_DRAWENTIRE, ODS_SELECTED | ODS_FOCUS, false},  // only a selection change presses it
      {ODA_SELECT, ODS_SELECTED, false},
      {ODA_SELECT, ODS_SELECTED | ODS_FOCUS, true},
  };
  for (const auto& c : cases) {
    // 60 x 24: the swatch runs from (15, 4) to (45, 20).
    Canvas canvas(60, 24, kGrey);
    CAnnColorButton button;
    button.SetColor(RGB(200, 0, 0));
    DRAWITEMSTRUCT di = Item(canvas, c.action, c.state, 0);
    button.DrawItem(&di);
    const int s = c.sunken ? 1 : 0;
    EXPECT_EQ(canvas.At(0, 0), c.sunken ? kBlack : kWhite);
    EXPECT_EQ(canvas.At(59, 23), kBlack);
    EXPECT_EQ(canvas.At(1, 1), c.sunken ? shadow : GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(canvas.At(58, 22), shadow);
    EXPECT_EQ(canvas.At(15 + s, 4 + s), kBlack) << c.action;  // the swatch's outline
    EXPECT_EQ(canvas.At(30, 12), RGB(200, 0, 0));
    EXPECT_EQ(canvas.At(14 + s, 12), face);
  }
}

class Windowed : public ::testing::Test {
 protected:
  void SetUp() override {
    parent = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 80, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
  }
  void TearDown() override { DestroyWindow(parent); }
  HWND Child(const char* cls, const char* text, DWORD style, int x, int id) {
    return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, 10, 80, 24, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  }
  HWND parent = nullptr;
};

TEST_F(Windowed, ThePreviewShowsItsCaptionInTheTextColourOnTheBackground) {
  HWND h = Child("BUTTON", "Back Ground Color", BS_OWNERDRAW, 10, 1015);
  CBkClrButton preview;
  preview.Attach(h);
  preview.SetTextColor(RGB(0, 160, 0));
  preview.SetBkColor(RGB(255, 255, 0));
  for (bool pressed : {false, true}) {
    Canvas canvas(120, 30, kGrey);
    DRAWITEMSTRUCT di = Item(canvas, ODA_DRAWENTIRE, pressed ? ODS_SELECTED : 0, 0);
    preview.DrawItem(&di);
    EXPECT_EQ(canvas.At(0, 0), pressed ? kBlack : kWhite);
    // The inner rectangle runs 2 in at the top left and 3 in at the bottom right.
    EXPECT_EQ(canvas.At(2 + pressed, 2 + pressed), RGB(255, 255, 0));
    EXPECT_EQ(canvas.At(116 + pressed, 26 + pressed), RGB(255, 255, 0));
    EXPECT_NE(canvas.At(117 + pressed, 27 + pressed), RGB(255, 255, 0));
    int text = 0;
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 120; ++x) text += canvas.At(x, y) == RGB(0, 160, 0);
    EXPECT_GT(text, 20) << pressed;
  }
  EXPECT_EQ(CBkClrButton().GetBkColor(), GetSysColor(COLOR_BTNFACE));
  preview.Detach();
}

TEST_F(Windowed, TheApplyButtonTakesTheFocusFromTheFieldUnderTheMouse) {
  HWND edit = Child("EDIT", "12.5", WS_BORDER, 10, 100);
  HWND h = Child("BUTTON", "Apply", BS_PUSHBUTTON, 100, 101);
  CVexScaleApplyBtn apply;
  ASSERT_TRUE(apply.SubclassWindow(h));
  SetFocus(edit);
  ASSERT_EQ(GetFocus(), edit);
  SendMessageA(h, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(GetFocus(), h);
  apply.UnsubclassWindow();
}

}  // namespace
