#include <gtest/gtest.h>

#include <string>

#include "TextCanvas.h"

namespace {

constexpr uint32_t kInk = 0x000000;
constexpr uint32_t kPaper = 0xFFFFFF;

// The test font at -16: 8 pixels a character (16 for wide ones), 20-pixel lines.
struct CalcCase {
  const char* text;
  UINT format;
  LONG width;  // of the rectangle given
  LONG wantWidth, wantHeight;
};

TEST(DrawTextFormat, CalcRectMeasuresWithoutDrawing) {
  const CalcCase cases[] = {
      {"Hello", DT_SINGLELINE, 200, 40, 20},
      {"", DT_SINGLELINE, 200, 0, 20},
      {"ab\ncdef", 0, 200, 32, 40},
      {"ab\r\ncdef\rg", 0, 200, 32, 60},
      {"ab\ncdef", DT_SINGLELINE, 200, 56, 20},            // CR and LF are characters on one line
      {"aaa bbb ccc", DT_WORDBREAK, 60, 56, 40},          // "aaa bbb" / "ccc"
      {"aaa bbb ccc", DT_WORDBREAK, 200, 88, 20},
      {"aaa   bbb", DT_WORDBREAK, 40, 24, 40},            // spaces at the break vanish
      {"日本語テキスト", DT_WORDBREAK, 50, 48, 60},        // wide characters break anywhere
      {"あいう。えお", DT_WORDBREAK, 50, 48, 60},          // ... but a full stop never begins a line
      {"あい「うえ", DT_WORDBREAK, 50, 48, 40},            // ... nor an opening bracket ends one
      {"abcdefghij", DT_WORDBREAK, 50, 80, 20},           // one long word stays whole
      {"abcdefghij", DT_WORDBREAK | DT_EDITCONTROL, 50, 48, 40},
      {"&File", DT_SINGLELINE, 200, 32, 20},              // the prefix takes no room
      {"a&&b", DT_SINGLELINE, 200, 24, 20},               // "a&b"
      {"&File", DT_SINGLELINE | DT_NOPREFIX, 200, 40, 20},
      {"a\tb", DT_SINGLELINE | DT_EXPANDTABS, 200, 72, 20},     // tab stop at 8 x 8 pixels
      {"abcdefghij", DT_SINGLELINE | DT_END_ELLIPSIS, 50, 80, 20},  // measuring keeps the text whole
  };
  TextCanvas canvas(10, 10);
  TestFontIn font(canvas.dc(), -16);
  for (const auto& c : cases) {
    RECT r{10, 20, 10 + c.width, 500};
    int h = DrawTextA(canvas.dc(), c.text, -1, &r, c.format | DT_CALCRECT);
    EXPECT_EQ(r.right - r.left, c.wantWidth) << c.text;
    EXPECT_EQ(r.bottom - r.top, c.wantHeight) << c.text;
    EXPECT_EQ(h, c.wantHeight) << c.text;
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
  }
  EXPECT_EQ(canvas.Count(kInk), 0);
}

TEST(DrawTextFormat, SingleLineAlignment) {
  struct Case {
    UINT format;
    RECT ink;
    int ret;
  } cases[] = {
      {DT_SINGLELINE, {10, 14, 25, 26}, 20},
      {DT_SINGLELINE | DT_CENTER | DT_VCENTER, {52, 24, 67, 36}, 30},
      {DT_SINGLELINE | DT_RIGHT | DT_BOTTOM, {94, 34, 109, 46}, 40},
      {DT_SINGLELINE | DT_RIGHT | DT_VCENTER, {94, 24, 109, 36}, 30},
  };
  TextCanvas canvas(140, 70);
  TestFontIn font(canvas.dc(), -16);
  for (const auto& c : cases) {
    canvas.Clear();
    RECT r{10, 10, 110, 50};
    int ret = DrawTextA(canvas.dc(), "AB", 2, &r, c.format);
    EXPECT_EQ(ret, c.ret) << c.format;
    RECT box = canvas.BoxOf(kInk);
    EXPECT_TRUE(SameRect(box, c.ink)) << c.format << ": " << box.left << "," << box.top << "," << box.right << ","
                                      << box.bottom;
  }
}

TEST(DrawTextFormat, WordBreakDrawsLinesAndAlignsEach) {
  TextCanvas canvas(100, 80);
  TestFontIn font(canvas.dc(), -16);
  RECT r{0, 0, 60, 80};
  int h = DrawTextA(canvas.dc(), "aaa bbb cc", -1, &r, DT_WORDBREAK | DT_CENTER);
  EXPECT_EQ(h, 40);
  // "aaa bbb" (56 wide) at x 2, "cc" (16 wide) at x 22 on the second line.
  EXPECT_TRUE(SameRect(canvas.BoxOf(kInk), RECT{2, 4, 57, 36}));
  EXPECT_EQ(canvas.At(22, 30), kInk);
  EXPECT_EQ(canvas.At(21, 30), kPaper);
  EXPECT_EQ(canvas.At(38, 30), kPaper);
}

TEST(DrawTextFormat, ClipsToTheRectangleUnlessNoClip) {
  TextCanvas canvas(120, 40);
  TestFontIn font(canvas.dc(), -16);
  RECT r{0, 0, 20, 20};
  DrawTextA(canvas.dc(), "ABCD", -1, &r, DT_SINGLELINE);
  EXPECT_EQ(canvas.BoxOf(kInk).right, 20);
  canvas.Clear();
  DrawTextA(canvas.dc(), "ABCD", -1, &r, DT_SINGLELINE | DT_NOCLIP);
  EXPECT_EQ(canvas.BoxOf(kInk).right, 31);
}

struct EllipsisCase {
  const char* text;
  UINT format;
  LONG width;
  const char* shown;
};

TEST(DrawTextFormat, EllipsesShortenWhatDoesNotFit) {
  const EllipsisCase cases[] = {
      {"abcdefghij", DT_END_ELLIPSIS, 50, "abc..."},
      {"abcdefghij", DT_WORD_ELLIPSIS, 50, "abc..."},
      {"abcdefghij", DT_END_ELLIPSIS, 80, "abcdefghij"},  // fits: unchanged
      {"abcdefghij", DT_END_ELLIPSIS, 20, "..."},
      {"日本語テキスト", DT_END_ELLIPSIS, 60, "日本..."},  // never half a character
      {"C:\\dir\\sub\\file.txt", DT_PATH_ELLIPSIS, 130, "C:\\d...\\file.txt"},
      {"C:\\dir\\sub\\file.txt", DT_PATH_ELLIPSIS, 60, "...\\file.txt"},
      {"C:\\dir\\sub\\file.txt", DT_PATH_ELLIPSIS | DT_END_ELLIPSIS, 90, "...\\file..."},
      {"C:/a/verylongname.bmp", DT_PATH_ELLIPSIS, 164, ".../verylongname.bmp"},
      {"nofolders-here", DT_PATH_ELLIPSIS, 60, "nofo..."},
  };
  TextCanvas canvas(10, 10);
  TestFontIn font(canvas.dc(), -16);
  for (const auto& c : cases) {
    char buffer[64] = {};
    std::strcpy(buffer, c.text);
    RECT r{0, 0, c.width, 20};
    DrawTextExA(canvas.dc(), buffer, -1, &r, c.format | DT_SINGLELINE | DT_MODIFYSTRING, nullptr);
    EXPECT_STREQ(buffer, c.shown) << c.text << " in " << c.width;
  }
}

TEST(DrawTextFormat, EllipsisLineIsDrawnShortened) {
  TextCanvas canvas(100, 30);
  TestFontIn font(canvas.dc(), -16);
  RECT r{0, 0, 50, 20};
  DrawTextA(canvas.dc(), "abcdefghij", -1, &r, DT_SINGLELINE | DT_END_ELLIPSIS);
  // "abc..." is 48 wide: the last dot ends at 47, the text is not cut by the clip.
  EXPECT_EQ(canvas.BoxOf(kInk).right, 47);
}

TEST(DrawTextFormat, PrefixUnderlinesTheMarkedCharacter) {
  TextCanvas canvas(100, 30);
  TestFontIn font(canvas.dc(), -16);
  RECT r{0, 0, 100, 20};
  DrawTextA(canvas.dc(), "O&pen", -1, &r, DT_SINGLELINE);
  // "Open": the underline runs under "p" (8..16) at baseline + 2 = row 18.
  for (int x = 0; x < 32; ++x) EXPECT_EQ(canvas.At(x, 18), (x >= 8 && x < 16) ? kInk : kPaper) << x;
  canvas.Clear();
  DrawTextA(canvas.dc(), "O&pen", -1, &r, DT_SINGLELINE | DT_HIDEPREFIX);
  EXPECT_EQ(canvas.At(10, 18), kPaper);
  canvas.Clear();
  DrawTextA(canvas.dc(), "a&&b", -1, &r, DT_SINGLELINE);
  EXPECT_EQ(canvas.BoxOf(kInk).right, 23);  // three characters, no underline
  EXPECT_EQ(canvas.Count(kInk), 3 * 7 * 12);
}

TEST(DrawTextFormat, MarginsLengthAndOpaqueLines) {
  TextCanvas canvas(100, 30);
  TestFontIn font(canvas.dc(), -16);
  SetBkMode(canvas.dc(), OPAQUE);
  SetBkColor(canvas.dc(), RGB(255, 0, 0));
  DRAWTEXTPARAMS p{sizeof p, 0, 5, 7, 0};
  char text[] = "AB";
  RECT r{0, 0, 100, 20};
  DrawTextExA(canvas.dc(), text, -1, &r, DT_SINGLELINE | DT_RIGHT, &p);
  EXPECT_EQ(p.uiLengthDrawn, 2u);
  EXPECT_TRUE(SameRect(canvas.BoxOf(0xFF0000), RECT{77, 0, 93, 20}));
  RECT calc{0, 0, 100, 20};
  DrawTextExA(canvas.dc(), text, -1, &calc, DT_SINGLELINE | DT_CALCRECT, &p);
  EXPECT_EQ(calc.right, 5 + 16 + 7);
}

TEST(DrawTextFormat, BadArguments) {
  TextCanvas canvas(10, 10);
  RECT r{0, 0, 10, 10};
  EXPECT_EQ(DrawTextA(canvas.dc(), "a", 1, nullptr, 0), 0);
  EXPECT_EQ(DrawTextA(nullptr, "a", 1, &r, 0), 0);
  EXPECT_EQ(DrawTextA(canvas.dc(), nullptr, 3, &r, 0), 0);
}

}  // namespace
