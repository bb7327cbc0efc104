// The status bar: panes from indicators, their widths and styles, texts set through the
// bar or straight through the control, the frame's prompts in the first pane, and the
// idle update of a pane through its command-update handler.
#include <gtest/gtest.h>

#include <string>

#include "Config.h"
#include "ModuleRegistry.h"
#include "afxext.h"
#include "afxwin.h"
#include "display/Screen.h"
#include "frame_ids.h"

namespace {

constexpr UINT kClock = 3001, kCounts = 3002;

class StatusFrame : public CFrameWnd {
 public:
  CStatusBar bar;
  std::string clock = "12:00";

 protected:
  afx_msg void OnUpdateClock(CCmdUI* ui) { ui->SetText(clock.c_str()); }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(StatusFrame, CFrameWnd)
  ON_UPDATE_COMMAND_UI(kClock, OnUpdateClock)
END_MESSAGE_MAP()

class StatusBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frame = new StatusFrame;  // frees itself with its window
    ASSERT_TRUE(frame->Create(nullptr, "status", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 600, 300)));
    ASSERT_TRUE(frame->bar.Create(frame));
    const UINT ids[] = {0, 0, 0};
    ASSERT_TRUE(frame->bar.SetIndicators(ids, 3));
    frame->bar.SetPaneInfo(1, kCounts, SBPS_NORMAL, 80);
    frame->bar.SetPaneInfo(2, kClock, SBPS_NORMAL, 50);
    frame->RecalcLayout();
  }
  void TearDown() override {
    if (frame->GetSafeHwnd()) frame->DestroyWindow();
  }
  // What the control itself holds for a pane.
  std::string ControlText(int pane) {
    char text[128] = {};
    frame->bar.CWnd::DefWindowProc(SB_GETTEXTA, static_cast<WPARAM>(pane), reinterpret_cast<LPARAM>(text));
    return text;
  }
  StatusFrame* frame = nullptr;
};

TEST_F(StatusBarTest, PanesSitAtTheBottomWithTheFirstStretching) {
  CRect client, bar;
  frame->GetClientRect(&client);
  frame->bar.GetWindowRect(&bar);
  frame->ScreenToClient(&bar);
  EXPECT_EQ(bar.bottom, client.bottom);
  EXPECT_EQ(bar.Width(), client.Width());
  EXPECT_EQ(frame->bar.CommandToIndex(kClock), 2);
  EXPECT_EQ(frame->bar.GetItemID(1), kCounts);
  EXPECT_EQ(frame->bar.GetPaneStyle(0), static_cast<UINT>(SBPS_STRETCH | SBPS_NOBORDERS));
  CRect first, counts, clock;
  frame->bar.GetItemRect(0, &first);
  frame->bar.GetItemRect(1, &counts);
  frame->bar.GetItemRect(2, &clock);
  EXPECT_LT(first.right, counts.left);
  EXPECT_NEAR(counts.Width(), 80 + 6, 2);
  EXPECT_NEAR(clock.Width(), 50 + 6, 2);
  EXPECT_GT(first.Width(), 300) << "the first pane takes what the others leave";
  // A pane's saved info comes back exactly.
  UINT id = 0, style = 0;
  int width = 0;
  frame->bar.GetPaneInfo(0, id, style, width);
  frame->bar.SetPaneInfo(0, id, SBPS_STRETCH | SBPS_NOBORDERS, 10000);
  frame->bar.SetPaneInfo(0, id, style, width);
  UINT id2 = 1, style2 = 0;
  int width2 = 0;
  frame->bar.GetPaneInfo(0, id2, style2, width2);
  EXPECT_EQ(id2, id);
  EXPECT_EQ(style2, style);
  EXPECT_EQ(width2, width);
}

// The bar is as high as its characters with their edge, air and the bar's borders: a
// font's leading above the characters adds nothing, and the characters show whole.
TEST_F(StatusBarTest, TheBarIsAsHighAsItsCharactersWhichShowWhole) {
  const struct {
    LONG lfHeight;
    int height;
  } cases[] = {{-12, 20}, {-20, 28}, {16, 21}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lfHeight);
    CFont font;
    ASSERT_TRUE(font.CreateFont(c.lfHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Test"));
    frame->bar.SetFont(&font);
    frame->RecalcLayout();
    CRect bar;
    frame->bar.GetWindowRect(&bar);
    EXPECT_EQ(bar.Height(), c.height);
    frame->bar.SetPaneText(1, "XXXX");
    frame->bar.UpdateWindow();
    CRect pane;
    frame->bar.GetItemRect(1, &pane);
    frame->bar.ClientToScreen(&pane);
    RECT got{};
    const auto pixels = plat::display::Screen::Get().Copy(pane, &got);
    int inkRows = 0;
    for (int y = 0; y < got.bottom - got.top; ++y) {
      bool ink = false;
      for (int x = 0; x < got.right - got.left; ++x)
        ink = ink || (pixels[static_cast<size_t>(y * (got.right - got.left) + x)] & 0xFFFFFF) == 0;
      inkRows += ink;
    }
    CClientDC dc(&frame->bar);
    CFont* old = dc.SelectObject(&font);
    TEXTMETRIC tm{};
    dc.GetTextMetrics(&tm);
    dc.SelectObject(old);
    EXPECT_EQ(inkRows, tm.tmAscent - tm.tmInternalLeading) << "every row of the characters is in the pane";
    frame->bar.SetFont(nullptr);
  }
  // Without a font of its own, the one the control draws with: the default user-interface
  // font of 12-pixel characters.
  frame->RecalcLayout();
  CRect bar;
  frame->bar.GetWindowRect(&bar);
  EXPECT_EQ(bar.Height(), 20);
}

// An indicator's pane is as wide as its text in the font the bar draws it with: its own,
// or without one the default user-interface font, not the bold system font of a new DC.
TEST_F(StatusBarTest, IndicatorPanesAreMeasuredInTheFontTheyAreDrawnIn) {
  // The indicator's text is a string of the program: the test's resources stand in for it.
  char program[MAX_PATH] = {};
  ASSERT_GT(::GetModuleFileNameA(nullptr, program, sizeof program), 0u);
  std::string name(program);
  name = name.substr(name.find_last_of("\\/") + 1);
  struct Restore {
    std::string name;
    ~Restore() {
      plat::SetProgramName(name);
      plat::config::Set("FONT", std::nullopt);
    }
  } restore{name};
  plat::SetProgramName("FrameRes.exe");
  plat::config::Set("FONT", "system");  // installed fonts, where the two fonts differ
  CFont own;
  ASSERT_TRUE(own.CreateFont(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial"));
  struct Case {
    CFont* font;
    HGDIOBJ drawnWith;
  } cases[] = {{nullptr, ::GetStockObject(DEFAULT_GUI_FONT)}, {&own, own.GetSafeHandle()}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.font ? "a font of its own" : "no font of its own");
    frame->bar.SetFont(c.font);
    CString text;
    ASSERT_TRUE(text.LoadString(IDS_INDICATOR));
    const UINT ids[] = {0, IDS_INDICATOR};
    ASSERT_TRUE(frame->bar.SetIndicators(ids, 2));
    CClientDC dc(&frame->bar);
    HGDIOBJ old = ::SelectObject(dc.GetSafeHdc(), c.drawnWith);
    const int drawn = dc.GetTextExtent(text).cx;
    ::SelectObject(dc.GetSafeHdc(), ::GetStockObject(SYSTEM_FONT));
    const int system = dc.GetTextExtent(text).cx;
    ::SelectObject(dc.GetSafeHdc(), old);
    ASSERT_NE(drawn, system) << "the fixture tells the fonts apart";
    UINT id = 0, style = 0;
    int width = 0;
    frame->bar.GetPaneInfo(1, id, style, width);
    EXPECT_EQ(id, static_cast<UINT>(IDS_INDICATOR));
    EXPECT_EQ(width, drawn);
  }
  frame->bar.SetFont(nullptr);
}

TEST_F(StatusBarTest, TextsReachTheirPanesWhicheverWayTheyAreSet) {
  EXPECT_TRUE(frame->bar.SetPaneText(1, "Total: 3"));
  EXPECT_EQ(ControlText(1), "Total: 3");
  // Straight through the control, as a picture pane writes its read-out.
  frame->bar.SendMessage(SB_SETTEXTA, 1 | SBT_NOBORDERS, reinterpret_cast<LPARAM>("X:10 Y:20"));
  EXPECT_EQ(std::string(frame->bar.GetPaneText(1)), "X:10 Y:20");
  frame->bar.SetPaneStyle(1, SBPS_DISABLED);
  EXPECT_EQ(ControlText(1), "") << "a disabled pane shows nothing";
  frame->bar.SetPaneStyle(1, SBPS_NORMAL);
  EXPECT_EQ(ControlText(1), "X:10 Y:20") << "and its text comes back with it";
  // The frame's prompt goes to the first pane.
  frame->SetMessageText("Open a picture file");
  EXPECT_EQ(std::string(frame->bar.GetPaneText(0)), "Open a picture file");
  EXPECT_EQ(ControlText(0), "Open a picture file");
  char text[64] = {};
  frame->bar.GetWindowText(text, sizeof text);
  EXPECT_STREQ(text, "Open a picture file");
}

TEST_F(StatusBarTest, IdleTimeUpdatesPanesThroughTheirHandlers) {
  frame->bar.SetPaneText(1, "kept");
  frame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);  // as the idle loop does
  EXPECT_EQ(ControlText(2), "12:00");
  EXPECT_EQ(ControlText(1), "kept") << "a pane without a handler keeps its text and stays enabled";
  frame->clock = "12:01";
  frame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);  // as the idle loop does
  EXPECT_EQ(ControlText(2), "12:01");
}

}  // namespace
