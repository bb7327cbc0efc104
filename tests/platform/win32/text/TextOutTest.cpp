#include <gtest/gtest.h>

#include <cstring>

#include "TextCanvas.h"
#include "gdi/DeviceContext.h"

namespace {

constexpr uint32_t kInk = 0x000000;
constexpr uint32_t kPaper = 0xFFFFFF;

// With the test font at -16: glyphs are 7 x 12 blocks on an 8-pixel pitch, from 4
// rows below the top of the 20-row cell down to the baseline 16 rows below it.
TEST(TextOutput, AlignmentPlacesTheReferencePoint) {
  struct Case {
    UINT align;
    RECT ink;
  } cases[] = {
      {TA_LEFT | TA_TOP, {50, 54, 65, 66}},
      {TA_RIGHT | TA_TOP, {34, 54, 49, 66}},
      {TA_CENTER | TA_TOP, {42, 54, 57, 66}},
      {TA_LEFT | TA_BASELINE, {50, 38, 65, 50}},
      {TA_LEFT | TA_BOTTOM, {50, 34, 65, 46}},
      {TA_RIGHT | TA_BOTTOM, {34, 34, 49, 46}},
  };
  TextCanvas canvas(120, 100);
  TestFontIn font(canvas.dc(), -16);
  for (const auto& c : cases) {
    canvas.Clear();
    SetTextAlign(canvas.dc(), c.align);
    ASSERT_TRUE(TextOutA(canvas.dc(), 50, 50, "AB", 2));
    RECT box = canvas.BoxOf(kInk);
    EXPECT_TRUE(SameRect(box, c.ink)) << c.align << ": " << box.left << "," << box.top << "," << box.right << ","
                                      << box.bottom;
    EXPECT_EQ(canvas.Count(kInk), 2 * 7 * 12) << c.align;
  }
  EXPECT_EQ(GetTextAlign(canvas.dc()), static_cast<UINT>(TA_RIGHT | TA_BOTTOM));
}

TEST(TextOutput, ColoursAndOpaqueBackground) {
  TextCanvas canvas(60, 40);
  TestFontIn font(canvas.dc(), -16);
  SetTextColor(canvas.dc(), RGB(0, 0, 255));
  SetBkColor(canvas.dc(), RGB(255, 0, 0));
  SetBkMode(canvas.dc(), OPAQUE);
  TextOutA(canvas.dc(), 5, 5, "A B", 3);
  RECT cell = canvas.BoxOf(0xFF0000);
  EXPECT_TRUE(SameRect(cell, RECT{5, 5, 29, 25}));
  EXPECT_EQ(canvas.Count(0x0000FF), 2 * 7 * 12);
  EXPECT_EQ(canvas.Count(0xFF0000), 24 * 20 - 2 * 7 * 12);
  EXPECT_EQ(canvas.At(12, 10), 0xFF0000u);  // the gap after A
  SetBkMode(canvas.dc(), TRANSPARENT);
  canvas.Clear();
  TextOutA(canvas.dc(), 5, 5, "A B", 3);
  EXPECT_EQ(canvas.Count(0xFF0000), 0);
}

TEST(TextOutput, UpdateCurrentPositionMovesPastTheText) {
  TextCanvas canvas(100, 40);
  TestFontIn font(canvas.dc(), -16);
  MoveToEx(canvas.dc(), 10, 5, nullptr);
  SetTextAlign(canvas.dc(), TA_UPDATECP);
  TextOutA(canvas.dc(), 999, 999, "AB", 2);  // the coordinates are ignored
  TextOutA(canvas.dc(), 0, 0, "C", 1);
  POINT cp{};
  GetCurrentPositionEx(canvas.dc(), &cp);
  EXPECT_EQ(cp.x, 34);
  EXPECT_EQ(cp.y, 5);
  EXPECT_TRUE(SameRect(canvas.BoxOf(kInk), RECT{10, 9, 33, 21}));
  SetTextAlign(canvas.dc(), TA_UPDATECP | TA_RIGHT);
  TextOutA(canvas.dc(), 0, 0, "D", 1);
  GetCurrentPositionEx(canvas.dc(), &cp);
  EXPECT_EQ(cp.x, 26);
}

TEST(ExtTextOutput, OpaqueClippedAndSpaced) {
  TextCanvas canvas(100, 40);
  TestFontIn font(canvas.dc(), -16);
  SetBkColor(canvas.dc(), RGB(0, 255, 0));
  RECT r{10, 8, 40, 30};
  INT dx[] = {20, 20, 20};
  ASSERT_TRUE(ExtTextOutA(canvas.dc(), 10, 10, ETO_OPAQUE | ETO_CLIPPED, &r, "ABC", 3, dx));
  // A at 10, B at 30 (cut at 40), C at 50 clipped away; the rectangle is green around them.
  EXPECT_TRUE(SameRect(canvas.BoxOf(kInk), RECT{10, 14, 37, 26}));
  EXPECT_EQ(canvas.Count(kInk), 7 * 12 + 7 * 12);
  EXPECT_TRUE(SameRect(canvas.BoxOf(0x00FF00), r));
  EXPECT_EQ(canvas.At(50, 20), kPaper);

  // Absurd spacing neither overflows nor draws where it should not.
  canvas.Clear();
  INT wild[] = {2147483647, 2147483647, -2147483647};
  EXPECT_TRUE(ExtTextOutA(canvas.dc(), 10, 10, 0, nullptr, "ABC", 3, wild));
  EXPECT_TRUE(SameRect(canvas.BoxOf(kInk), RECT{10, 14, 17, 26}));

  // Without ETO_CLIPPED the text runs on; with no text ETO_OPAQUE just fills.
  canvas.Clear();
  ExtTextOutA(canvas.dc(), 10, 10, 0, &r, "ABC", 3, dx);
  EXPECT_EQ(canvas.BoxOf(kInk).right, 57);
  canvas.Clear();
  ExtTextOutA(canvas.dc(), 0, 0, ETO_OPAQUE, &r, "", 0, nullptr);
  EXPECT_EQ(canvas.Count(0x00FF00), 30 * 22);
  // Corners the other way round fill the same rectangle, as a 3-D frame's edges need.
  canvas.Clear();
  RECT reversed{r.right, r.bottom, r.left, r.top};
  ExtTextOutA(canvas.dc(), 0, 0, ETO_OPAQUE, &reversed, "", 0, nullptr);
  EXPECT_TRUE(SameRect(canvas.BoxOf(0x00FF00), r));
  EXPECT_EQ(canvas.Count(0x00FF00), 30 * 22);
}

TEST(TextOutput, UnderlineAndStrikeOutCrossTheCell) {
  TextCanvas canvas(60, 40);
  TestFontIn font(canvas.dc(), -16, 0, true, true);
  TextOutA(canvas.dc(), 0, 0, "A A", 3);
  // Underline at baseline + 2, strike-out at baseline - 6: both over the full 24 pixels,
  // through the space as well.
  for (int x = 0; x < 24; ++x) {
    EXPECT_EQ(canvas.At(x, 18), kInk) << x;
    EXPECT_EQ(canvas.At(x, 10), kInk) << x;
  }
  EXPECT_EQ(canvas.At(24, 18), kPaper);
  EXPECT_EQ(canvas.At(11, 9), kPaper);
}

// Turned text: 900 reads upwards, -900 downwards, 1800 upside down; the
// reference point turns with the text.
TEST(TextOutput, EscapementTurnsAboutTheReferencePoint) {
  struct Case {
    LONG escapement;
    RECT ink;
  } cases[] = {
      {0, {100, 104, 115, 116}},
      {900, {104, 85, 116, 100}},
      {-900, {84, 100, 96, 115}},
      {2700, {84, 100, 96, 115}},
      {1800, {85, 84, 100, 96}},
  };
  TextCanvas canvas(200, 200);
  for (const auto& c : cases) {
    canvas.Clear();
    TestFontIn font(canvas.dc(), -16, c.escapement);
    TextOutA(canvas.dc(), 100, 100, "AB", 2);
    RECT box = canvas.BoxOf(kInk);
    EXPECT_TRUE(SameRect(box, c.ink)) << c.escapement << ": " << box.left << "," << box.top << "," << box.right
                                      << "," << box.bottom;
    EXPECT_EQ(canvas.Count(kInk), 2 * 7 * 12) << c.escapement;
  }
}

// A raster face cannot be turned: Windows draws it along the baseline at any escapement.
TEST(TextOutput, ARasterFaceIgnoresTheEscapement) {
  TextCanvas canvas(200, 200);
  for (LONG escapement : {0, 900, -900}) {
    canvas.Clear();
    LOGFONTA lf{};
    lf.lfHeight = -16;
    lf.lfEscapement = lf.lfOrientation = escapement;
    std::strcpy(lf.lfFaceName, "MS Sans Serif");
    HFONT font = CreateFontIndirectA(&lf);
    HGDIOBJ old = SelectObject(canvas.dc(), font);
    TextOutA(canvas.dc(), 100, 100, "AB", 2);
    SelectObject(canvas.dc(), old);
    DeleteObject(font);
    RECT box = canvas.BoxOf(kInk);
    EXPECT_TRUE(SameRect(box, RECT{100, 104, 115, 116})) << escapement << ": " << box.left << "," << box.top;
  }
}

TEST(TextOutput, SlantedTextStaysOnItsBaseline) {
  TextCanvas canvas(200, 200);
  TestFontIn font(canvas.dc(), -16, 450);
  SetTextAlign(canvas.dc(), TA_BASELINE);
  TextOutA(canvas.dc(), 50, 150, "ABCDEFGH", 8);
  // Glyphs span 0..63 along a 45-degree baseline and stand 12 pixels off it:
  // corners at (50, 150), (50 + 63 r, 150 - 63 r) and 12 r further up and left,
  // with r = 0.7071.
  RECT box = canvas.BoxOf(kInk);
  EXPECT_NEAR(box.left, 50 - 8.5, 1);
  EXPECT_NEAR(box.bottom, 150, 1);
  EXPECT_NEAR(box.right, 50 + 44.5, 1);
  EXPECT_NEAR(box.top, 150 - 44.5 - 8.5, 1);
  // Pixels along the baseline's direction are inked, none beside it far away.
  EXPECT_EQ(canvas.At(50 + 30, 150 - 34), kInk);
  EXPECT_EQ(canvas.At(60, 110), kPaper);
}

// Glyphs far larger than the bitmap: only the part that can be seen is worked on.
// At -3000 a test-font glyph is a 1499 x 2250 block standing on the baseline.
TEST(TextOutput, HugeTextCoversWhatItReaches) {
  struct Case {
    LONG escapement;
    POINT at;
    int ink;
  } cases[] = {
      {0, {-300, 2000}, 100 * 100},  // block x -300..1199, y -250..2000: all of the canvas
      {900, {-300, 2000}, 0},        // stands to the left of x -300
      {900, {600, 1000}, 100 * 100}, // x -1650..600, y -499..1000
      {300, {-300, 2000}, 100 * 100},
  };
  TextCanvas canvas(100, 100);
  for (const auto& c : cases) {
    canvas.Clear();
    TestFontIn font(canvas.dc(), -3000, c.escapement);
    SetTextAlign(canvas.dc(), TA_BASELINE);
    ASSERT_TRUE(TextOutA(canvas.dc(), c.at.x, c.at.y, "AAAAAAAAAA", 10));
    EXPECT_EQ(canvas.Count(kInk), c.ink) << c.escapement << " at " << c.at.x << "," << c.at.y;
  }
}

TEST(TextOutput, JournalRecordsTheText) {
  TextCanvas canvas(60, 40);
  auto dc = plat::gdi::FindDc(canvas.dc());
  dc->EnableJournal(true);
  TestFontIn font(canvas.dc(), -16);
  TextOutA(canvas.dc(), 3, 4, "日本", 6);
  auto entries = dc->GetJournal()->Entries();
  ASSERT_FALSE(entries.empty());
  const auto& e = entries.back();
  EXPECT_EQ(e.call, "TextOutA");
  EXPECT_EQ(e.text, "日本");
  ASSERT_EQ(e.points.size(), 1u);
  EXPECT_EQ(e.points[0].x, 3);
  EXPECT_EQ(e.font, static_cast<HGDIOBJ>(font.font()));
}

}  // namespace

namespace {

// A caption cut on the left and at the top (a tiny dialog) shows exactly the part
// of the unclipped text that falls inside.
TEST(TextOutput, TextClippedOnTheLeftAndTopShowsItsVisiblePart) {
  TextCanvas clipped(40, 20), whole(60, 40);
  TestFontIn f1(clipped.dc(), -16), f2(whole.dc(), -16);
  ASSERT_TRUE(TextOutA(clipped.dc(), -3, -8, "AB", 2));
  ASSERT_TRUE(TextOutA(whole.dc(), 7, 2, "AB", 2));
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x) ASSERT_EQ(clipped.At(x, y), whole.At(x + 10, y + 10)) << x << "," << y;
  EXPECT_EQ(clipped.Count(kInk), 4 * 8 + 7 * 8);
}

}  // namespace
