// A frame's arrangement saved and restored: the profile sections it leaves, a fresh frame
// brought back to it (bars made again from their class names and by the manager, with
// their buttons), the tree form, and damaged profiles that change nothing.
#include <gtest/gtest.h>

#include <string>

#include "FrameworkFixture.h"
#include "controls/SECCustomToolBar.h"
#include "controls/SECToolBarManager.h"
#include "framework/SECControlBarInfo.h"
#include "framework/SECDialogBar.h"
#include "framework/SECDockState.h"
#include "framework/SECMiniDockFrameWnd.h"
#include "framework/SECPTNMemoryStore.h"
#include "framework/SECPersistentTreeNode.h"

namespace framework_test {
namespace {

constexpr UINT kToolBar = 0x105;
constexpr UINT kButtons[] = {40001, 0, 40002};

class DockStateFrameTest : public FrameworkTest {
 protected:
  void SetUp() override {
    FrameworkTest::SetUp();
    MakeManager();
    toolInfo.m_nBarID = kToolBar;
  }
  void TearDown() override {
    if (frame) frame->SetManager(nullptr);
    FrameworkTest::TearDown();
    delete manager;
  }
  void MakeManager() {
    if (frame) frame->SetManager(nullptr);
    delete manager;
    manager = new SECToolBarManager(frame);
    frame->SetManager(manager);
  }
  // The bars a program makes at start: all docked on top.
  void MakeBars() {
    a = MakeBar(frame, ID_TEST_BAR_A, "A", CSize(120, 40));
    b = MakeBar(frame, ID_TEST_BAR_B, "B", CSize(120, 40));
    c = MakeBar(frame, ID_TEST_BAR_C, "C", CSize(100, 40), WS_CHILD | WS_VISIBLE | CBRS_LEFT);
    d = MakeBar(frame, ID_TEST_BAR_D, "D", CSize(140, 60));
    e = MakeBar(frame, 0x107, "E", CSize(90, 30));
    for (SECControlBar* bar : {a, b, c, d, e}) frame->DockControlBar(bar, AFX_IDW_DOCKBAR_TOP);
  }
  // The arrangement to keep: A and B sharing a row a quarter to three quarters, C on the
  // left, D floating, E hidden, a dialog bar and a toolbar of the manager below.
  void Arrange() {
    MakeBars();
    SECDockBar* top = Dock(AFX_IDW_DOCKBAR_TOP);
    top->DockControlBarAt(b, 1, 0);
    a->m_fPctWidth = 0.25f;
    b->m_fPctWidth = 0.75f;
    frame->DockControlBar(c, AFX_IDW_DOCKBAR_LEFT);
    frame->FloatBar(d, CPoint(420, 330));
    frame->ShowControlBar(e, FALSE, FALSE);
    auto* dialog = new SECDialogBar;
    dialog->m_bAutoDelete = TRUE;
    ASSERT_TRUE(dialog->Create(frame, IDD_TEST_DIALOGBAR, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, 0, ID_TEST_DIALOGBAR));
    dialog->SetWindowText("Dialog");
    dialog->EnableDocking(CBRS_ALIGN_ANY);
    frame->DockControlBar(dialog, AFX_IDW_DOCKBAR_BOTTOM);
    auto* tools = static_cast<SECCustomToolBar*>(manager->DynCreateControlBar(&toolInfo));
    ASSERT_NE(tools, nullptr);
    tools->SetButtons(kButtons, 3);
    tools->SetWindowText("Tools");
    tools->EnableDocking(CBRS_ALIGN_ANY);
    frame->DockControlBar(tools, AFX_IDW_DOCKBAR_BOTTOM);
    top->m_pLastPlacedBar = nullptr;
    frame->RecalcLayout();
    Idle();
  }
  void CheckRestored() {
    // A and B share the first row; D's place is kept for its way back; E keeps its row.
    SECDockBar* top = Dock(AFX_IDW_DOCKBAR_TOP);
    EXPECT_EQ(Rows(*top), "0 A B 0 #" + std::to_string(ID_TEST_BAR_D) + " 0 E 0");
    EXPECT_NEAR(a->m_fPctWidth, 0.25f, 0.01f);
    EXPECT_NEAR(b->m_fPctWidth, 0.75f, 0.01f);
    EXPECT_EQ(c->m_pDockBar, Dock(AFX_IDW_DOCKBAR_LEFT));
    ASSERT_TRUE(d->IsFloating());
    auto* floating = dynamic_cast<SECMiniDockFrameWnd*>(d->GetParentFrame());
    ASSERT_NE(floating, nullptr);
    EXPECT_TRUE(floating->IsWindowVisible());
    CRect placed;
    floating->GetWindowRect(&placed);
    EXPECT_NEAR(placed.left, 420, 4);
    EXPECT_NEAR(placed.top, 330, 4);
    EXPECT_FALSE(e->IsVisible());
    auto* dialog = dynamic_cast<SECDialogBar*>(frame->GetControlBar(ID_TEST_DIALOGBAR));
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->IsWindowVisible());
    EXPECT_EQ(dialog->m_pDockBar, Dock(AFX_IDW_DOCKBAR_BOTTOM));
    EXPECT_NE(dialog->GetDlgItem(IDC_TEST_DLG_EDIT), nullptr);
    auto* tools = dynamic_cast<SECCustomToolBar*>(frame->GetControlBar(kToolBar));
    ASSERT_NE(tools, nullptr);
    ASSERT_EQ(tools->GetButtonCount(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(tools->GetItemID(i), kButtons[i]);
    EXPECT_EQ(tools->m_pDockBar, Dock(AFX_IDW_DOCKBAR_BOTTOM));
  }
  std::string Get(LPCSTR section, LPCSTR key) { return std::string(app.GetProfileString(section, key, "<none>")); }

  SECToolBarManager* manager = nullptr;
  SECControlBar *a = nullptr, *b = nullptr, *c = nullptr, *d = nullptr, *e = nullptr;
  SECControlBarInfo toolInfo;
};

TEST_F(DockStateFrameTest, AFreshFrameComesBackFromTheProfile) {
  Arrange();
  frame->SaveBarState("Layout");
  const int bars = std::stoi(Get("Layout-Summary", "Bars"));
  for (int i = 0; i < bars; ++i)
    EXPECT_NE(Get(("Layout-Bar" + std::to_string(i)).c_str(), "BarID"), "<none>") << i;  // no gaps
  EXPECT_EQ(Get(("Layout-Bar" + std::to_string(bars)).c_str(), "BarID"), "<none>");
  bool quarter = false, dialogClass = false, buttons = false;
  for (int i = 0; i < bars; ++i) {
    const std::string section = "Layout-Bar" + std::to_string(i);
    quarter |= Get(section.c_str(), "PctWidth") == "250000";
    dialogClass |= Get(section.c_str(), "ClassName") == "SECDialogBar" &&
                   Get(section.c_str(), "ResourceID") == std::to_string(IDD_TEST_DIALOGBAR);
    buttons |= Get(section.c_str(), "Buttons") != "<none>";
  }
  EXPECT_TRUE(quarter);
  EXPECT_TRUE(dialogClass);
  EXPECT_TRUE(buttons);

  NewFrame();
  MakeManager();
  MakeBars();
  frame->LoadBarState("Layout");
  Idle();
  CheckRestored();
}

TEST_F(DockStateFrameTest, ABarSavedHiddenThenShownLoadsVisible) {
  Arrange();
  frame->SaveBarState("Layout");
  frame->ShowControlBar(e, TRUE, FALSE);
  Idle();
  frame->SaveBarState("Layout");
  NewFrame();
  MakeManager();
  MakeBars();
  frame->LoadBarState("Layout");
  Idle();
  EXPECT_TRUE(e->IsVisible());
}

TEST_F(DockStateFrameTest, TheTreeFormRestoresTheSame) {
  Arrange();
  SECDockState saved(manager);
  frame->GetDockState(saved);
  saved.PurgeBarIDs();
  SECPTNFactory factory;
  SECPersistentTreeNode* root = factory.CreateNode("App", nullptr);
  ASSERT_TRUE(saved.SaveToTree(&factory, root));
  SECPTNMemoryStore store;
  root->SaveTree(&store);

  NewFrame();
  MakeManager();
  MakeBars();
  SECPTNFactory other;
  SECPersistentTreeNode* again = other.CreateNode("App", nullptr);
  again->LoadTree(&store);
  SECDockState state(manager, &frame->m_listBarInfo);
  ASSERT_TRUE(state.LoadFromTree(again));
  frame->SetDockState(state);
  Idle();
  CheckRestored();
}

// A floating frame saved where this screen has no room for it (past any edge, or at the
// ends of the stored numbers) comes back with its caption on the screen.
TEST_F(DockStateFrameTest, AFloatingFrameComesBackWithItsCaptionOnTheScreen) {
  Arrange();
  frame->SaveBarState("Layout");
  std::string floating;
  for (int i = 0; floating.empty() && Get(("Layout-Bar" + std::to_string(i)).c_str(), "BarID") != "<none>"; ++i)
    if (Get(("Layout-Bar" + std::to_string(i)).c_str(), "Floating") == "1") floating = "Layout-Bar" + std::to_string(i);
  ASSERT_FALSE(floating.empty());
  const int cx = ::GetSystemMetrics(SM_CXSCREEN), cy = ::GetSystemMetrics(SM_CYSCREEN);
  const int caption = ::GetSystemMetrics(SM_CYSMCAPTION) + ::GetSystemMetrics(SM_CYFRAME);
  const struct {
    int x, y;
  } places[] = {{420, cy + 300}, {cx + 300, 330}, {-3000, 330}, {420, -200}, {2147483647, 2147483646},
                {-2147483647 - 1, -2147483647 - 1}};
  for (const auto& place : places) {
    SCOPED_TRACE(std::to_string(place.x) + "," + std::to_string(place.y));
    app.WriteProfileInt(floating.c_str(), "XPos", place.x);
    app.WriteProfileInt(floating.c_str(), "YPos", place.y);
    NewFrame();
    MakeManager();
    MakeBars();
    frame->LoadBarState("Layout");
    Idle();
    ASSERT_TRUE(d->IsFloating());
    CRect placed;
    d->GetParentFrame()->GetWindowRect(&placed);
    EXPECT_GE(placed.top, 0);
    EXPECT_LE(placed.top, cy - caption);
    EXPECT_LE(placed.left, cx - caption);
    EXPECT_GE(placed.right, caption);
  }
}

TEST_F(DockStateFrameTest, DamagedProfilesLeaveTheFrameAsItWas) {
  MakeBars();
  frame->RecalcLayout();
  Idle();
  const std::string before = Rows(*Dock(AFX_IDW_DOCKBAR_TOP));
  for (const char* bars : {"-1", "2147483647"}) {
    WriteProfile(std::string("[L-Summary]\nBars=") + bars + "\n[L-Bar0]\nBarID=257\nFloating=1\n");
    frame->LoadBarState("L");
    Idle();
    EXPECT_EQ(Rows(*Dock(AFX_IDW_DOCKBAR_TOP)), before) << bars;
    EXPECT_FALSE(a->IsFloating());
  }
  // A summary that only counts records (no section behind them) names no bar: none is made.
  const INT_PTR bars = frame->m_listControlBars.GetCount();
  WriteProfile("[L-Summary]\nBars=" + std::to_string(SECDockState::kMaxBars) + "\n");
  frame->LoadBarState("L");
  Idle();
  EXPECT_EQ(frame->m_listControlBars.GetCount(), bars);
  EXPECT_EQ(Rows(*Dock(AFX_IDW_DOCKBAR_TOP)), before);
  // A class that is no bar is never made; its record goes.
  WriteProfile("[L-Summary]\nBars=2\n[L-Bar0]\nBarID=900\nClassName=CDocument\n[L-Bar1]\nBarID=901\n"
               "ClassName=SECNoSuchBar\n");
  frame->LoadBarState("L");
  Idle();
  EXPECT_EQ(frame->GetControlBar(900), nullptr);
  EXPECT_EQ(frame->GetControlBar(901), nullptr);
  EXPECT_TRUE(frame->m_listBarInfo.IsEmpty());
  // Ids of no bar and a bar named by two dock bars: each bar docks once.
  WriteProfile("[L-Summary]\nBars=2\n[L-Bar0]\nBarID=59419\nBars=4\nBar#0=0\nBar#1=257\nBar#2=999\nBar#3=0\n"
               "[L-Bar1]\nBarID=59420\nBars=3\nBar#0=0\nBar#1=257\nBar#2=0\nMRUDockID=77\n");
  frame->LoadBarState("L");
  Idle();
  EXPECT_EQ(a->m_pDockBar, Dock(AFX_IDW_DOCKBAR_TOP));
  EXPECT_EQ(Dock(AFX_IDW_DOCKBAR_LEFT)->FindBar(a), -1);
}

TEST_F(DockStateFrameTest, ADialogBarHidesUntilItsStyleShowsIt) {
  auto* dialog = new SECDialogBar;
  dialog->m_bAutoDelete = TRUE;
  ASSERT_TRUE(dialog->Create(frame, IDD_TEST_DIALOGBAR, WS_CHILD | CBRS_TOP, 0, ID_TEST_DIALOGBAR));
  EXPECT_FALSE(dialog->IsWindowVisible());
  EXPECT_EQ(dialog->GetDlgCtrlID(), ID_TEST_DIALOGBAR);
  EXPECT_FALSE(dialog->GetStyle() & WS_CAPTION);
  EXPECT_EQ(dialog->m_szHorz, dialog->m_sizeDefault);
  EXPECT_GT(dialog->m_sizeDefault.cx, 0);
  SECControlBarInfo info;
  dialog->GetBarInfoEx(&info);
  EXPECT_EQ(info.m_nResourceID, static_cast<UINT>(IDD_TEST_DIALOGBAR));
  EXPECT_EQ(info.m_strClassName, "SECDialogBar");
  auto* missing = new SECDialogBar;
  EXPECT_FALSE(missing->Create(frame, 9999, WS_CHILD | CBRS_TOP, 0, 0x108));
  delete missing;
}

}  // namespace
}  // namespace framework_test
