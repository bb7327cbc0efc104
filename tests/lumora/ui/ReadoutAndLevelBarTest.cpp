// The panel's two small controls, read by their pixels: the seven-segment read-out (which
// picture each cell shows, equal cells, texts cut and clipped, the memory-context failure
// box) and the level bar (fill, red peak line, ranges, colours, equal bounds).
#include <gtest/gtest.h>

#include <afxcmn.h>
#include <afxwin.h>

#include <string>
#include <vector>

#include "Faults.h"
#include "ui/Disp7SegLed.h"
#include "ui/MonitorBar.h"
#include "user/Responder.h"

namespace {

// A plain top-level window on the screen, holding the control under test.
class HostWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    plat::user::responder::Reset();
    ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), "host", WS_POPUP | WS_VISIBLE, 20, 20, 400, 120, nullptr,
                              nullptr));
  }
  void TearDown() override {
    host.DestroyWindow();
    plat::faults::DisarmAll();
    plat::user::responder::Reset();
  }
  HWND Child(const char* cls, int width, int height) {
    return ::CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE, 10, 10, width, height, host.m_hWnd, nullptr, nullptr,
                             nullptr);
  }
  static COLORREF Pixel(CWnd& wnd, int x, int y) {
    CClientDC dc(&wnd);
    return dc.GetPixel(x, y);
  }
  CWnd host;
};

// ---- the read-out

// The digit pictures are 16 x 28 with segments a..g; a cell shows the picture stretched.
struct Segment {
  char name;
  double x, y;  // the segment's centre in picture pixels
};
const Segment kSegments[] = {{'a', 8, 3}, {'b', 13, 8.5}, {'c', 13, 19.5}, {'d', 8, 25},
                             {'e', 3, 19.5}, {'f', 3, 8.5}, {'g', 8, 14}};

bool Lit(COLORREF c) { return GetRValue(c) >= 200 && GetGValue(c) < 100 && GetBValue(c) < 100; }

class Readout : public HostWindow {
 protected:
  // A read-out of `width` x `height` pixels over a static control, as the panel subclasses it.
  void Make(int width, int height) {
    HWND wnd = Child("Static", width, height);
    ASSERT_NE(wnd, nullptr);
    ASSERT_TRUE(led.SubclassWindow(wnd));
  }
  // What cell `cell` of `cells` shows, read from its lit segments: a digit, 's', ' ' for a
  // blank picture, '?' for anything else.
  char CellAt(int cell, int cells) {
    CRect client;
    led.GetClientRect(&client);
    const double cw = client.Width() / cells, ch = client.Height();
    std::string lit;
    bool anything = false;
    for (const Segment& s : kSegments) {
      const COLORREF c = Pixel(led, static_cast<int>(cell * cw + s.x * cw / 16), static_cast<int>(s.y * ch / 28));
      if (Lit(c)) lit += s.name;
      if (GetRValue(c) > 0) anything = true;  // a blank picture still shows its dark segments
    }
    static const char* const kDigits[] = {"abcdef", "bc",     "abdeg",  "abcdg",   "bcfg",
                                          "acdfg",  "acdefg", "abc",    "abcdefg", "abcdfg"};
    for (int d = 0; d < 10; ++d)
      if (lit == kDigits[d]) return static_cast<char>('0' + d);
    if (lit == "dg") return 's';
    if (lit.empty() && anything) return ' ';
    return '?';
  }
  std::string Cells(int cells) {
    std::string out;
    for (int i = 0; i < cells; ++i) out += CellAt(i, cells);
    return out;
  }
  CDisp7SegLed led;
};

TEST_F(Readout, EachCharacterShowsItsPictureInEqualCells) {
  Make(96, 28);
  const struct {
    const char* text;
    const char* shown;
  } cases[] = {
      {" 12000", " 12000"}, {"  170s", "  170s"}, {"    12", "    12"}, {"    1s", "    1s"},
      {"987654", "987654"}, {"3-x.?5", "3    5"},  // anything but a digit or s is a blank
  };
  for (const auto& c : cases) {
    led.SetText(c.text, 0, 6);
    EXPECT_EQ(Cells(6), c.shown) << c.text;
  }
  // Six equal cells of 16 pixels each.
  led.SetText("111111", 0, 6);
  for (int cell = 0; cell < 6; ++cell) {
    EXPECT_TRUE(Lit(Pixel(led, cell * 16 + 13, 8))) << "segment b of cell " << cell;
    EXPECT_FALSE(Lit(Pixel(led, cell * 16 + 3, 8))) << "segment f of cell " << cell;
  }
}

TEST_F(Readout, CellsFollowTheCountAndTheStart) {
  Make(96, 28);
  led.SetText("  1234", 0, 6);
  auto firstCell = [&] {
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 28; ++y)
      for (int x = 0; x < 32; ++x) pixels.push_back(Pixel(led, x, y));
    return pixels;
  };
  const auto before = firstCell();
  // Three cells of 32 pixels from cell 1 on (the third character falls past the control);
  // cell 0 keeps what it showed.
  led.SetText("567", 1, 3);
  EXPECT_EQ(CellAt(1, 3), '5');
  EXPECT_EQ(CellAt(2, 3), '6');
  EXPECT_EQ(firstCell(), before);
  // A count of 0 means eight cells of 12 pixels.
  led.SetText("88888888", 0, 0);
  EXPECT_EQ(Cells(8), "88888888");
  // The last text, start and count come back on the next paint.
  led.SetText(" 12000", 0, 6);
  led.Invalidate(TRUE);
  led.UpdateWindow();
  EXPECT_EQ(Cells(6), " 12000");
}

TEST_F(Readout, ALongTextIsCutAtTheCountAndTheRestOfTheControlStaysBackground) {
  // 100 pixels for six cells: cells of 16, four pixels left over at the right.
  Make(100, 28);
  led.SetText("1234567", 0, 6);
  led.Invalidate(TRUE);
  led.UpdateWindow();
  EXPECT_EQ(Cells(6), "123456");
  for (int x = 96; x < 100; ++x)
    for (int y : {3, 8, 14, 25}) EXPECT_EQ(Pixel(led, x, y), ::GetSysColor(COLOR_WINDOWTEXT)) << x << "," << y;
}

TEST_F(Readout, TextsPastItsBufferOrCellsOutsideTheControlAreNeverWritten) {
  Make(96, 28);
  const std::string huge(1000, '7');
  led.SetText(huge.c_str(), 0, 6);
  EXPECT_EQ(std::string(led.GetText()), huge.substr(0, CDisp7SegLed::kTextSize - 1));
  EXPECT_EQ(Cells(6), "777777");
  // A negative start: the characters before cell 0 are left out, the others keep their cells.
  led.SetText("123", -2, 6);
  EXPECT_EQ(Cells(6), "377777");
  // A start past the control draws nothing at all.
  led.SetText("000000", 9, 6);
  EXPECT_EQ(Cells(6), "377777");
  led.SetText(nullptr, 0, 6);
  EXPECT_EQ(std::string(led.GetText()), "");
}

TEST_F(Readout, AMemoryContextThatCannotBeMadeIsReportedAndTheCellsStay) {
  Make(96, 28);
  led.SetText("    12", 0, 6);
  plat::faults::Arm("CreateCompatibleDC", ERROR_NOT_ENOUGH_MEMORY);
  led.SetText("    34", 0, 6);
  const auto shown = plat::user::responder::History();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_TRUE(shown[0].messageBox);
  EXPECT_EQ(shown[0].text, "memDC.CreateCompatibleDC Fail!");
  EXPECT_EQ(shown[0].caption, "Lumora Error");
  EXPECT_EQ(shown[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
  EXPECT_EQ(Cells(6), "    12");
}

// ---- the level bar

class LevelBar : public HostWindow {
 protected:
  void Make(int width, int height) {
    HWND wnd = Child("msctls_progress32", width, height);
    ASSERT_NE(wnd, nullptr);
    ASSERT_TRUE(bar.SubclassWindow(wnd));
  }
  COLORREF At(int x, int y) {
    bar.UpdateWindow();
    return Pixel(bar, x, y);
  }
  // The columns of row `y` that show `colour`, as [first, last]; {-1, -1} when none.
  std::pair<int, int> Span(COLORREF colour, int y) {
    bar.UpdateWindow();
    CRect client;
    bar.GetClientRect(&client);
    int first = -1, last = -1;
    for (int x = 0; x < client.Width(); ++x)
      if (Pixel(bar, x, y) == colour) {
        if (first < 0) first = x;
        last = x;
      }
    return {first, last};
  }
  CMonitorBar bar;
};

const COLORREF kGreen = RGB(0, 255, 0), kRed = RGB(255, 0, 0), kYellow = RGB(255, 255, 0);

TEST_F(LevelBar, RoundsHalvesUpAndTruncatesTowardsZeroFirst) {
  const struct {
    double x;
    int rounded;
  } cases[] = {{2.5, 3}, {2.49, 2}, {0.0, 0}, {0.5, 1}, {19.99, 20}, {20.0, 20}, {-2.5, -2}, {-2.4, -2}};
  for (const auto& c : cases) EXPECT_EQ(CMonitorBar::Round(c.x), c.rounded) << c.x;
}

TEST_F(LevelBar, FillsUpToThePositionAndMarksThePeakInRed) {
  Make(300, 10);
  bar.SetRange(4000, 1000);  // the smaller bound is the lower one
  EXPECT_EQ(bar.GetLower(), 1000);
  EXPECT_EQ(bar.GetUpper(), 4000);
  EXPECT_EQ(bar.SetPos(1200), 0);
  EXPECT_EQ(bar.GetPos(), 200);
  EXPECT_EQ(bar.GetPeak(), 200);
  // 300 pixels for 3000: the fill ends at x = 20, where the 2-pixel peak line stands.
  const auto green = Span(kGreen, 5);
  EXPECT_EQ(green.first, 0);
  EXPECT_GE(green.second, 18);
  EXPECT_LT(green.second, 20);
  const auto red = Span(kRed, 5);
  EXPECT_LE(red.first, 20);
  EXPECT_GE(red.second, 20);
  EXPECT_LE(red.second - red.first, 1) << "two pixels wide";
  EXPECT_EQ(Span(kGreen, 0).first, -1) << "the top row is left out";
  EXPECT_EQ(Span(kGreen, 9).first, -1) << "the bottom row is left out";
  EXPECT_NE(At(150, 5), kGreen);

  // Below the range: position 0, the peak kept, the previous position answered.
  EXPECT_EQ(bar.SetPos(500), 200);
  EXPECT_EQ(bar.GetPos(), 0);
  EXPECT_EQ(bar.GetPeak(), 200);
  EXPECT_EQ(Span(kGreen, 5).first, -1);
  EXPECT_EQ(Span(kRed, 5), red);

  // A higher level moves the peak; a lower one leaves it.
  bar.SetPos(2500);
  EXPECT_EQ(Span(kGreen, 5).first, 0);
  EXPECT_GE(Span(kRed, 5).first, 149);
  bar.SetPos(1100);
  EXPECT_EQ(bar.GetPeak(), 1500);
  EXPECT_LT(Span(kGreen, 5).second, 10);
  EXPECT_GE(Span(kRed, 5).first, 149);
}

TEST_F(LevelBar, ColourAndClearing) {
  Make(150, 8);
  bar.SetRange(0, 1500);
  bar.SetPos(1000);
  bar.SetBarColor(kYellow);
  bar.Invalidate();
  EXPECT_EQ(At(20, 4), kYellow);
  EXPECT_EQ(bar.GetBarColor(), kYellow);
  // Each clear repaints at once.
  bar.ClearPos();
  EXPECT_EQ(bar.GetPos(), 0);
  EXPECT_EQ(bar.GetPeak(), 1000);
  EXPECT_NE(Pixel(bar, 20, 4), kYellow);
  EXPECT_EQ(Pixel(bar, 100, 4), kRed);
  bar.SetPos(300);
  bar.ClearPeak();
  EXPECT_EQ(bar.GetPeak(), 0);
  EXPECT_EQ(Pixel(bar, 20, 4), kYellow);
  EXPECT_NE(Pixel(bar, 100, 4), kRed);
  bar.SetPos(900);
  bar.ClearAll();
  EXPECT_EQ(bar.GetPos(), 0);
  EXPECT_EQ(bar.GetPeak(), 0);
  EXPECT_NE(Pixel(bar, 20, 4), kYellow);
  EXPECT_NE(Pixel(bar, 90, 4), kRed);
}

TEST_F(LevelBar, EqualBoundsDrawAnEmptyBar) {
  Make(100, 8);
  bar.SetRange(700, 700);
  EXPECT_EQ(bar.SetPos(900), 0);
  EXPECT_EQ(bar.GetPos(), 200);
  EXPECT_EQ(Span(kGreen, 4).first, -1);
  EXPECT_EQ(Span(kRed, 4).first, -1);
}

}  // namespace
