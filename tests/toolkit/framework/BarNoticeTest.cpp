// What a library frame tells a bar while it docks, re-docks or floats it: a begin before
// the bar moves and an end once it sits in its new place, from the frame's own calls and
// from the bar's dock context alike.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "FrameworkFixture.h"
#include "controls/SECDockContext.h"
#include "user/Driver.h"

namespace framework_test {
namespace {

namespace drv = plat::user::driver;

// A bar that writes down each notice with where it sat at that moment.
class RecordingBar : public SECControlBar {
 public:
  std::vector<std::string> log;
  BOOL takeFirstCall = FALSE;  // overrides the group's first call without passing it on

  void OnBarDock() override {
    if (takeFirstCall)
      Note("dock");
    else
      SECControlBar::OnBarDock();
  }
  void OnBarBeginDock() override { Note("begin-dock"); }
  void OnBarEndDock() override { Note("end-dock"); }
  void OnBarBeginFloat() override { Note("begin-float"); }
  void OnBarEndFloat() override { Note("end-float"); }
  void OnBarBeginMDIFloat() override { Note("begin-mdi"); }
  void OnBarEndMDIFloat() override { Note("end-mdi"); }

 private:
  void Note(const char* what) {
    std::string where = "none";
    if (m_pDockBar) {
      char id[16];
      std::snprintf(id, sizeof id, "%X", static_cast<unsigned>(m_pDockBar->GetDlgCtrlID()));
      where = m_pDockBar->m_bFloating ? std::string("floating") : std::string(id);
    }
    log.push_back(std::string(what) + "@" + where);
  }
};

RecordingBar* MakeRecordingBar(CFrameWnd* frame) {
  auto* bar = new RecordingBar;
  bar->m_bAutoDelete = TRUE;  // goes with its window
  if (!bar->Create(frame, "Recorder", WS_CHILD | WS_VISIBLE | CBRS_TOP, 0, ID_TEST_BAR_A)) return nullptr;
  bar->m_szHorz = bar->m_szVert = bar->m_szFloat = CSize(140, 40);
  bar->EnableDocking(CBRS_ALIGN_ANY);
  return bar;
}

using BarNoticeTest = FrameworkTest;

TEST_F(BarNoticeTest, TheFrameTellsTheBarWhenDockingAndFloatingBeginAndEnd) {
  RecordingBar* bar = MakeRecordingBar(frame);
  ASSERT_NE(bar, nullptr);
  auto* context = static_cast<SECDockContext*>(bar->m_pDockContext);
  ASSERT_NE(context, nullptr);
  const struct {
    const char* step;
    std::function<void()> run;
    std::vector<std::string> heard;
  } steps[] = {
      {"dock on the bar's side", [&] { frame->DockControlBar(bar); }, {"begin-dock@none", "end-dock@E81B"}},
      {"dock by row and column",
       [&] { frame->DockControlBarEx(bar, AFX_IDW_DOCKBAR_LEFT, 0, 0, 0.5f, 120); },
       {"begin-dock@E81B", "end-dock@E81C"}},
      {"float", [&] { frame->FloatBar(bar, CPoint(320, 260)); }, {"begin-float@E81C", "end-float@floating"}},
      // Alone in its floating frame: only that frame moves, and the bar hears nothing.
      {"float again", [&] { frame->FloatBar(bar, CPoint(340, 280)); }, {}},
      // The top dock bar, first of the map, still keeps the place the bar had there.
      {"re-dock where it was", [&] { frame->ReDockControlBar(bar, nullptr); },
       {"begin-dock@floating", "end-dock@E81B"}},
      {"docked bar toggled by its dock context", [&] { context->ToggleDocking(); },
       {"begin-float@E81B", "end-float@floating"}},
      // Back to the dock bar that last laid the bar out.
      {"floating bar toggled back", [&] { context->ToggleDocking(); }, {"begin-dock@floating", "end-dock@E81C"}},
  };
  for (const auto& s : steps) {
    bar->log.clear();
    s.run();
    Settle();
    EXPECT_EQ(bar->log, s.heard) << s.step;
  }
}

TEST_F(BarNoticeTest, ABarTakingTheFirstCallOfAGroupStillHearsTheEnd) {
  RecordingBar* bar = MakeRecordingBar(frame);
  ASSERT_NE(bar, nullptr);
  bar->takeFirstCall = TRUE;
  frame->DockControlBar(bar, AFX_IDW_DOCKBAR_BOTTOM);
  EXPECT_EQ(bar->log, (std::vector<std::string>{"dock@none", "end-dock@E81E"}));
}

TEST_F(BarNoticeTest, ABarTornOffByTheMouseHearsTheFloatingAndTheDockingBack) {
  RecordingBar* bar = MakeRecordingBar(frame);
  ASSERT_NE(bar, nullptr);
  frame->DockControlBar(bar);
  frame->RecalcLayout();
  Settle();
  bar->log.clear();
  CRect start;
  bar->GetWindowRect(&start);
  drv::Drag(start.CenterPoint(), start.CenterPoint() + CPoint(120, 220), 6);
  Settle();
  ASSERT_TRUE(bar->IsFloating());
  EXPECT_EQ(bar->log, (std::vector<std::string>{"begin-float@E81B", "end-float@floating"}));
  bar->log.clear();
  CRect frameRect;
  bar->GetParentFrame()->GetWindowRect(&frameRect);
  drv::DoubleClick(frameRect.left + 30, frameRect.top + ::GetSystemMetrics(SM_CYFRAME) + 3);
  Settle();
  EXPECT_EQ(bar->log, (std::vector<std::string>{"begin-dock@floating", "end-dock@E81B"}));
}

}  // namespace
}  // namespace framework_test
