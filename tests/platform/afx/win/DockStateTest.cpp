// What the framework keeps of a docking arrangement: a bar record in its profile section
// (non-default keys only, empty dock bars declined), a dock bar rebuilt from a saved id
// list, placeholder entries, a window's placement, and a frame whose floating frame is
// active keeping its own caption active.
#include <gtest/gtest.h>

#include <string>

#include "Clock.h"
#include "afxext.h"
#include "user/Driver.h"

namespace {

namespace drv = plat::user::driver;

class CSizedBar : public CControlBar {
 public:
  CSize CalcFixedLayout(BOOL, BOOL bHorz) override { return bHorz ? CSize(100, 24) : CSize(24, 100); }
  void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
};

class DockState : public ::testing::Test {
 protected:
  void SetUp() override {
    plat::clock::UseVirtual(true);
    app.m_pszProfileName = "C:\\DockStateFramework.ini";
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, app.m_pszProfileName);
    frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, "Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(50, 50, 550, 450)));
    app.m_pMainWnd = frame;
    frame->EnableDocking(CBRS_ALIGN_ANY);
    for (UINT i = 0; i < 2; ++i) {
      bars[i].m_dwStyle = CBRS_TOP;
      ASSERT_TRUE(bars[i].CreateEx(0, nullptr, "Bar", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), frame, 0x201 + i));
      bars[i].EnableDocking(CBRS_ALIGN_ANY);
      frame->DockControlBar(&bars[i]);
    }
    drv::WaitIdle();
  }
  void TearDown() override {
    app.m_pMainWnd = nullptr;
    if (frame) frame->DestroyWindow();
    drv::WaitIdle();
    MSG quit;
    ::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    plat::clock::UseVirtual(false);
  }
  CDockBar* Dock(UINT id) { return static_cast<CDockBar*>(frame->GetControlBar(id)); }
  std::string Get(LPCSTR section, LPCSTR key) { return std::string(app.GetProfileString(section, key, "<none>")); }

  CWinApp app{"DockState"};
  CFrameWnd* frame = nullptr;
  CSizedBar bars[2];
};

TEST_F(DockState, ARecordWritesOnlyWhatDiffersFromTheDefaults) {
  app.WriteProfileString("P-Bar0", "Stale", "1");
  CControlBarInfo info;
  info.m_nBarID = 0x201;
  info.m_bVisible = TRUE;
  info.m_pointPos = CPoint(5, -1);
  ASSERT_TRUE(info.SaveState("P", 0));
  EXPECT_EQ(Get("P-Bar0", "BarID"), "513");
  EXPECT_EQ(Get("P-Bar0", "XPos"), "5");
  EXPECT_EQ(Get("P-Bar0", "YPos"), "<none>");
  EXPECT_EQ(Get("P-Bar0", "Visible"), "<none>");
  EXPECT_EQ(Get("P-Bar0", "Docking"), "<none>");
  EXPECT_EQ(Get("P-Bar0", "Stale"), "<none>");
  CControlBarInfo back;
  ASSERT_TRUE(back.LoadState("P", 0, nullptr));
  EXPECT_TRUE(back.m_bVisible);
  EXPECT_EQ(back.m_pointPos, CPoint(5, -1));
  EXPECT_EQ(back.m_nMRUWidth, 32767u);
  // A visible docked dock bar at no place with at most one id is not worth a section.
  CControlBarInfo dock;
  dock.m_bDockBar = TRUE;
  dock.m_bVisible = TRUE;
  dock.m_arrBarID.Add(BarIDEntry(0));
  EXPECT_FALSE(dock.SaveState("P", 1));
  EXPECT_EQ(Get("P-Bar1", "BarID"), "<none>");
}

TEST_F(DockState, PlaceholdersAreTagsNeverBars) {
  EXPECT_TRUE(CDockBar::IsPlaceHolder(CDockBar::PlaceHolder(0x201)));
  EXPECT_EQ(CDockBar::PlaceHolderID(CDockBar::PlaceHolder(0x201)), 0x201u);
  EXPECT_EQ(CDockBar::PlaceHolder(0x10000), nullptr);
  EXPECT_FALSE(CDockBar::IsPlaceHolder(&bars[0]));
  EXPECT_FALSE(CDockBar::IsPlaceHolder(nullptr));
  EXPECT_EQ(CDockBar::PlaceHolderID(&bars[0]), 0u);
}

TEST_F(DockState, ADockBarTakesItsRowsFromTheIdListOnce) {
  CControlBarInfo top, left;
  for (UINT id : {0u, 0x202u, 0x999u, 0u, 0x10201u, 0u}) top.m_arrBarID.Add(BarIDEntry(id));
  for (UINT id : {0u, 0x202u, 0x201u, 0u}) left.m_arrBarID.Add(BarIDEntry(id));
  top.m_bVisible = left.m_bVisible = TRUE;
  CDockBar::BeginRestore();
  Dock(AFX_IDW_DOCKBAR_TOP)->SetBarInfo(&top, frame);
  Dock(AFX_IDW_DOCKBAR_LEFT)->SetBarInfo(&left, frame);
  CDockBar::EndRestore();
  CDockBar* topDock = Dock(AFX_IDW_DOCKBAR_TOP);
  CDockBar* leftDock = Dock(AFX_IDW_DOCKBAR_LEFT);
  // Top: bar 0x202 (0x999 is no bar), the placeholder of 0x201; left takes 0x201 only.
  EXPECT_EQ(topDock->FindBar(&bars[1]), 1);
  EXPECT_EQ(topDock->FindBar(static_cast<CControlBar*>(CDockBar::PlaceHolder(0x201))), 3);
  EXPECT_EQ(topDock->FindBar(&bars[0]), -1);
  EXPECT_EQ(leftDock->FindBar(&bars[1]), -1);
  EXPECT_EQ(leftDock->FindBar(&bars[0]), 1);
  EXPECT_EQ(bars[0].m_pDockBar, leftDock);
  EXPECT_EQ(bars[0].GetParent(), leftDock);
  EXPECT_EQ(bars[1].m_pDockBar, topDock);
}

TEST_F(DockState, APlacementOf44BytesWithAKnownShowCommandIsTaken) {
  WINDOWPLACEMENT placement{};
  ASSERT_TRUE(frame->GetWindowPlacement(&placement));
  EXPECT_EQ(placement.length, 44u);
  EXPECT_EQ(sizeof placement, 44u);
  EXPECT_EQ(placement.showCmd, static_cast<UINT>(SW_SHOWNORMAL));
  EXPECT_EQ(CRect(placement.rcNormalPosition), CRect(50, 50, 550, 450));
  placement.rcNormalPosition = RECT{60, 70, 460, 370};
  ASSERT_TRUE(frame->SetWindowPlacement(&placement));
  CRect now;
  frame->GetWindowRect(&now);
  EXPECT_EQ(now, CRect(60, 70, 460, 370));
  WINDOWPLACEMENT bad = placement;
  bad.length = 43;
  EXPECT_FALSE(frame->SetWindowPlacement(&bad));
  bad = placement;
  bad.showCmd = 12;
  EXPECT_FALSE(frame->SetWindowPlacement(&bad));
}

TEST_F(DockState, AFrameStaysActiveWhileItsFloatingFrameIs) {
  frame->FloatControlBar(&bars[0], CPoint(600, 300));
  drv::WaitIdle();
  CFrameWnd* floating = bars[0].GetParentFrame();
  ASSERT_NE(floating, frame);
  EXPECT_TRUE(floating->SendMessage(WM_FLOATSTATUS, FS_SYNCACTIVE));
  frame->SetActiveWindow();
  floating->SetActiveWindow();
  drv::WaitIdle();
  EXPECT_TRUE(frame->m_nFlags & WF_STAYACTIVE);
  frame->SetActiveWindow();
  drv::WaitIdle();
  EXPECT_FALSE(frame->m_nFlags & WF_STAYACTIVE);
}

}  // namespace
