#include <gtest/gtest.h>

#include "GdiTestSupport.h"

using namespace gditest;

namespace {

// The classic colours: H white, L light grey (= face), F face, S shadow, D dark shadow.
char Name(uint32_t px) {
  switch (px) {
    case 0xFFFFFF: return 'H';
    case 0xC0C0C0: return 'F';
    case 0x808080: return 'S';
    case 0x000000: return 'D';
    case 0x123456: return '.';
    default: return '?';
  }
}

std::string Edge(UINT edge, UINT flags, int w = 5, int h = 5, RECT* adjusted = nullptr) {
  Canvas c(w, h);
  c.Fill(0x123456);
  RECT r{0, 0, w, h};
  EXPECT_TRUE(DrawEdge(c.dc, &r, edge, flags));
  if (adjusted) *adjusted = r;
  std::string s;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) s += Name(c.At(x, y));
    s += '\n';
  }
  return s;
}

TEST(DrawEdge, EdgesTable) {
  struct Case { UINT edge, flags; const char* want; } cases[] = {
      // Raised: light then white on top and left; dark then shadow at bottom and right.
      {EDGE_RAISED, BF_RECT, "FFFFD\nFHHSD\nFH.SD\nFSSSD\nDDDDD\n"},
      {EDGE_SUNKEN, BF_RECT, "SSSSH\nSDDFH\nSD.FH\nSFFFH\nHHHHH\n"},
      {EDGE_ETCHED, BF_RECT, "SSSSH\nSHHSH\nSH.SH\nSSSSH\nHHHHH\n"},
      {EDGE_BUMP, BF_RECT, "FFFFD\nFDDFD\nFD.FD\nFFFFD\nDDDDD\n"},
      {BDR_RAISEDINNER, BF_RECT | BF_MIDDLE, "HHHHS\nHFFFS\nHFFFS\nHFFFS\nSSSSS\n"},
      {EDGE_RAISED, BF_RECT | BF_SOFT, "HHHHD\nHFFSD\nHF.SD\nHSSSD\nDDDDD\n"},
      {EDGE_SUNKEN, BF_RECT | BF_FLAT, "SSSSS\nSFFFS\nSF.FS\nSFFFS\nSSSSS\n"},
      {EDGE_RAISED, BF_LEFT | BF_TOP, "FFFF.\nFHHH.\nFH...\nFH...\n.....\n"},
      {EDGE_RAISED, BF_BOTTOM, ".....\n.....\n.....\nSSSSS\nDDDDD\n"},
  };
  for (auto c : cases) EXPECT_EQ(Edge(c.edge, c.flags), c.want) << std::hex << c.edge << " " << c.flags;
}

TEST(DrawEdge, MonoUsesTheWindowFrameColour) {
  std::string s = Edge(BDR_RAISEDOUTER, BF_RECT | BF_MONO);
  EXPECT_EQ(s, "DDDDD\nD...D\nD...D\nD...D\nDDDDD\n");
}

TEST(DrawEdge, AdjustMovesTheRectangleInsideWhatWasDrawn) {
  RECT r{};
  Edge(EDGE_RAISED, BF_RECT | BF_ADJUST, 6, 6, &r);
  EXPECT_EQ(r.left, 2);
  EXPECT_EQ(r.top, 2);
  EXPECT_EQ(r.right, 4);
  EXPECT_EQ(r.bottom, 4);
  Edge(BDR_SUNKENOUTER, BF_LEFT | BF_BOTTOM | BF_ADJUST, 6, 6, &r);
  EXPECT_EQ(r.left, 1);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, 6);
  EXPECT_EQ(r.bottom, 5);
}

TEST(DrawEdge, FocusRectangleInvertsEveryOtherPixelAndErasesItself) {
  Canvas c(6, 4);
  c.Fill(0);
  RECT r{0, 0, 6, 4};
  ASSERT_TRUE(DrawFocusRect(c.dc, &r));
  EXPECT_EQ(c.Art(0),
            "#.#.#.\n"
            ".....#\n"
            "#.....\n"
            ".#.#.#\n");
  ASSERT_TRUE(DrawFocusRect(c.dc, &r));
  EXPECT_EQ(c.Art(0), "......\n......\n......\n......\n");
}

TEST(DrawEdge, FillRectTakesASystemColourIndexPlusOne) {
  Canvas c(3, 3);
  c.Fill(0);
  RECT r{0, 0, 2, 2};
  ASSERT_TRUE(FillRect(c.dc, &r, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)));
  EXPECT_EQ(c.At(1, 1), 0xC0C0C0u);
  EXPECT_EQ(c.At(2, 2), 0u);
  ASSERT_TRUE(FrameRect(c.dc, &r, GetSysColorBrush(COLOR_BTNSHADOW)));
  EXPECT_EQ(c.At(0, 0), 0x808080u);
  ASSERT_TRUE(InvertRect(c.dc, &r));
  EXPECT_EQ(c.At(0, 0), 0x7F7F7Fu);
  EXPECT_EQ(GetSysColor(COLOR_3DFACE), RGB(192, 192, 192));
  EXPECT_TRUE(DeleteObject(GetSysColorBrush(COLOR_BTNFACE)));
  LOGBRUSH lb{};
  EXPECT_EQ(GetObject(GetSysColorBrush(COLOR_BTNFACE), sizeof lb, &lb), int(sizeof lb));  // still there
}

TEST(DrawEdge, FrameControlsDrawAFaceAndAGlyph) {
  for (UINT kind : {DFCS_CAPTIONCLOSE, DFCS_CAPTIONMIN, DFCS_CAPTIONMAX, DFCS_CAPTIONRESTORE, DFCS_CAPTIONHELP}) {
    for (UINT state : {0u, UINT(DFCS_PUSHED), UINT(DFCS_INACTIVE)}) {
      Canvas c(16, 14);
      c.Fill(0x123456);
      RECT r{0, 0, 16, 14};
      ASSERT_TRUE(DrawFrameControl(c.dc, &r, DFC_CAPTION, kind | state));
      int glyph = 0, grey = 0, stray = 0;
      for (int y = 2; y < 12; ++y)
        for (int x = 2; x < 14; ++x) {
          uint32_t p = c.At(x, y);
          glyph += p == 0 ? 1 : 0;
          grey += p == 0x808080 ? 1 : 0;
          stray += p == 0x123456 ? 1 : 0;
        }
      EXPECT_EQ(stray, 0) << kind;
      if (state == DFCS_INACTIVE) {
        EXPECT_GT(grey, 2) << kind;  // engraved glyph
      } else {
        EXPECT_GT(glyph, 2) << kind;
      }
      // The outer bottom-right corner: dark on a raised box, white on a pushed (sunken) one.
      EXPECT_EQ(c.At(15, 13), state == DFCS_PUSHED ? 0xFFFFFFu : 0u) << kind;
    }
  }
  Canvas c(16, 16);
  for (UINT kind : {DFCS_SCROLLUP, DFCS_SCROLLDOWN, DFCS_SCROLLLEFT, DFCS_SCROLLRIGHT}) {
    RECT r{0, 0, 16, 16};
    c.Fill(0x123456);
    ASSERT_TRUE(DrawFrameControl(c.dc, &r, DFC_SCROLL, kind));
    EXPECT_EQ(c.At(8, 8), 0u) << kind;  // the arrow passes through the middle
  }
  RECT r{0, 0, 16, 16};
  // Arrows point the way they say: the up arrow is wider at the bottom.
  DrawFrameControl(c.dc, &r, DFC_SCROLL, DFCS_SCROLLUP);
  int top = 0, bottom = 0;
  for (int x = 0; x < 16; ++x) top += c.At(x, 6) == 0, bottom += c.At(x, 9) == 0;
  EXPECT_LT(top, bottom);
  EXPECT_FALSE(DrawFrameControl(c.dc, &r, 99, 0));
}

}  // namespace
