// The library's MDI frame: default dock positions, bars floated inside it as MDI
// children, the bar menu's extra items, caption filters, a frame hosted in a bar as the
// active frame, help, and a layout with a bar inside the main window.
#include <memory>
#include <string>
#include <vector>

#include "FrameworkFixture.h"
#include "TestEnv.h"
#include "controls/SECDockContext.h"
#include "controls/SECResourceIds.h"
#include "display/Png.h"
#include "framework/SECControlBarMDIChildWnd.h"
#include "framework/SECMDIChildWnd.h"
#include "framework/SECMDIFrameWnd.h"

namespace framework_test {
namespace {

constexpr UINT ID_TEST_COMMAND = 0x7101;

std::vector<std::string> g_commands;

// A frame that lives inside a bar, as a dockable frame does.
class CHostedFrame : public SECFrameWnd {
 protected:
  afx_msg void OnTestCommand() { g_commands.push_back("hosted"); }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CHostedFrame, SECFrameWnd)
  ON_COMMAND(ID_TEST_COMMAND, OnTestCommand)
END_MESSAGE_MAP()

// An MDI child that remembers how its caption was last drawn.
class CRecordingChild : public SECMDIChildWnd {
 public:
  BOOL captionActive = FALSE;
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_NCACTIVATE) captionActive = wParam != FALSE;
    return SECMDIChildWnd::DefWindowProc(message, wParam, lParam);
  }

 protected:
  afx_msg void OnTestCommand() { g_commands.push_back("child"); }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CRecordingChild, SECMDIChildWnd)
  ON_COMMAND(ID_TEST_COMMAND, OnTestCommand)
END_MESSAGE_MAP()

// A template that is of the library's multi-document class by name, as the class
// tests see it.
class CLibraryTemplate : public CMultiDocTemplate {
 public:
  CLibraryTemplate() : CMultiDocTemplate(IDR_TEST_FRAME, nullptr, nullptr, nullptr) {}
  CRuntimeClass* GetRuntimeClass() const override {
    static CRuntimeClass cls{"SECMultiDocTemplate", sizeof(CLibraryTemplate), 0xFFFF, nullptr,
                             RUNTIME_CLASS(CMultiDocTemplate)};
    return &cls;
  }
};

class MDIFrameTest : public FrameworkTest {
 protected:
  void SetUp() override {
    FrameworkTest::SetUp();
    g_commands.clear();
    // The library's MDI frame stands in for the frame the fixture made.
    app.m_pMainWnd = nullptr;
    frame->DestroyWindow();
    frame = nullptr;
    if (view.m_hWnd) view.DestroyWindow();
    Settle();
    NewMDIFrame();
  }
  void TearDown() override {
    app.m_pMainWnd = nullptr;
    if (mdi && mdi->m_hWnd) mdi->DestroyWindow();
    mdi = nullptr;
    FrameworkTest::TearDown();
  }
  void NewMDIFrame() {
    if (mdi && mdi->m_hWnd) mdi->DestroyWindow();
    Settle();
    mdi = new SECMDIFrameWnd;  // deletes itself with its window
    ASSERT_TRUE(mdi->Create(nullptr, "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(40, 30, 680, 500)));
    app.m_pMainWnd = mdi;
    mdi->EnableDocking(CBRS_ALIGN_ANY);
    mdi->SetActiveWindow();
    Settle();
  }
  CRecordingChild* NewChild(const char* title) {
    auto* child = new CRecordingChild;
    if (!child->Create(nullptr, title, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, mdi))
      return nullptr;
    Settle();
    return child;
  }
  // Where an MDI child lies in the MDI client.
  CRect InClient(CWnd* child) const {
    CRect r;
    child->GetWindowRect(&r);
    ::MapWindowPoints(nullptr, mdi->m_hWndMDIClient, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  CRect ClientArea() const {
    CRect r;
    ::GetClientRect(mdi->m_hWndMDIClient, &r);
    return r;
  }
  SECControlBar* FloatingBar(UINT id, const char* title) {
    SECControlBar* bar = MakeBar(mdi, id, title);
    bar->m_dwExStyle |= CBRS_EX_ALLOW_MDI_FLOAT;
    mdi->DockControlBar(bar, AFX_IDW_DOCKBAR_TOP);
    return bar;
  }
  void Shot(const std::string& name) {
    mdi->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    const char* folder = std::getenv("LUMORA_DISPLAY_SHOTS");
    std::string path = (folder && *folder ? std::string(folder) : testenv::ScratchDir()) + "/" + name;
    CRect r;
    mdi->GetWindowRect(&r);
    EXPECT_TRUE(plat::display::SavePng(path, &r)) << path;
  }

  SECMDIFrameWnd* mdi = nullptr;
};

TEST_F(MDIFrameTest, TheFirstDefaultDockPositionsAreBottomLeftAndRight) {
  struct Expected {
    UINT id;
    int row, col;
    DWORD flags;
  };
  const Expected expected[] = {
      {AFX_IDW_DOCKBAR_BOTTOM, 0, 1, 6},
      {AFX_IDW_DOCKBAR_LEFT, 1, 1, 7},
      {AFX_IDW_DOCKBAR_RIGHT, 0, 1, 2},
  };
  SECMDIFrameWnd fresh;
  for (const Expected& e : expected) {
    UINT id = 0;
    SECDockPos pos;
    SECMDIFrameWnd::SizePair size(0.0f, 0);
    EXPECT_EQ(fresh.GetNextDockPosition(id, pos, size), 0);
    EXPECT_EQ(id, e.id);
    EXPECT_EQ(pos.nRow, e.row) << std::hex << e.id;
    EXPECT_EQ(pos.nCol, e.col) << std::hex << e.id;
    EXPECT_EQ(pos.dwFlags, e.flags) << std::hex << e.id;
    EXPECT_FLOAT_EQ(size.first, 1.0f);
    EXPECT_EQ(size.second, 150);
  }
  // A cycle with nothing in it docks at the bottom in a new row.
  fresh.m_arrDockCycle.assign(3, 0);
  UINT id = 0;
  SECDockPos pos;
  SECMDIFrameWnd::SizePair size;
  fresh.GetNextDockPosition(id, pos, size);
  EXPECT_EQ(id, static_cast<UINT>(AFX_IDW_DOCKBAR_BOTTOM));
  EXPECT_EQ(pos.nRow, 0);
  EXPECT_EQ(pos.nCol, 0);
  EXPECT_EQ(pos.dwFlags, static_cast<DWORD>(4));
}

TEST_F(MDIFrameTest, BarsFloatedInsideWithoutAPlaceCascadeAndWrap) {
  SECControlBar* a = FloatingBar(ID_TEST_BAR_A, "A");
  SECControlBar* b = FloatingBar(ID_TEST_BAR_B, "B");
  SECControlBar* c = FloatingBar(ID_TEST_BAR_C, "C");
  const CPoint expected[] = {{30, 30}, {50, 53}, {70, 76}};
  SECControlBar* bars[] = {a, b, c};
  for (int i = 0; i < 3; ++i) {
    mdi->FloatControlBarInMDIChild(bars[i], CPoint(-1, -1));
    Settle();
    ASSERT_TRUE(bars[i]->IsMDIChild());
    CFrameWnd* child = bars[i]->GetParentFrame();
    ASSERT_NE(child, nullptr);
    EXPECT_TRUE(child->IsKindOf(RUNTIME_CLASS(SECControlBarMDIChildWnd)));
    EXPECT_EQ(InClient(child).TopLeft(), expected[i]);
  }
  EXPECT_EQ(mdi->MDIGetActive(), c->GetParentFrame());
  // Past the client's width less 30 the stored place starts again at 30.
  const CRect area = ClientArea();
  mdi->m_nNextFloatX = area.Width() - 40;
  SECControlBar* d = FloatingBar(ID_TEST_BAR_D, "D");
  mdi->FloatControlBarInMDIChild(d, CPoint(-1, -1));
  EXPECT_EQ(InClient(d->GetParentFrame()).left, area.Width() - 40);
  EXPECT_EQ(mdi->m_nNextFloatX, 30);
  EXPECT_EQ(mdi->m_nNextFloatY, 30 + 4 * 23);
}

TEST_F(MDIFrameTest, AClientUnder30PixelsHighStillPlacesTheChildInside) {
  SECControlBar* a = FloatingBar(ID_TEST_BAR_A, "A");
  // A frame so low that its client area is under 30 pixels high.
  mdi->SetWindowPos(nullptr, 0, 0, 400, 100, SWP_NOMOVE | SWP_NOZORDER);
  Settle();
  ASSERT_LT(ClientArea().Height(), 30);
  CPoint screen(-500, -500);
  mdi->ClientToScreen(&screen);
  mdi->FloatControlBarInMDIChild(a, CPoint(5, 5) + CSize(ClientArea().Width() * 2, 0));
  CRect r = InClient(a->GetParentFrame());
  EXPECT_GE(r.left, 0);
  EXPECT_EQ(r.top, 0);
}

TEST_F(MDIFrameTest, TheBarMenuOffersFloatingInTheMainWindow) {
  SECControlBar* docked = FloatingBar(ID_TEST_BAR_A, "A");
  SECControlBar* plain = MakeBar(mdi, ID_TEST_BAR_B, "B");
  SECControlBar* inside = FloatingBar(ID_TEST_BAR_C, "C");
  mdi->FloatControlBarInMDIChild(inside, CPoint(-1, -1));
  Settle();
  struct Case {
    SECControlBar* bar;
    int items;          // after the bar's own two
    UINT allowDocking;  // the state of 43040
    UINT floatInMain;   // the state of 43042, or -1 for absent
  };
  const Case cases[] = {
      {docked, 4, MF_ENABLED, MF_UNCHECKED},
      {plain, 2, MF_ENABLED, static_cast<UINT>(-1)},
      {inside, 4, MF_GRAYED, MF_CHECKED},
  };
  for (const Case& c : cases) {
    CMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, ID_SEC_ALLOW_DOCKING, "Allow Docking");
    menu.AppendMenu(MF_STRING, ID_SEC_HIDE, "Hide");
    EXPECT_EQ(mdi->SendMessage(WM_SEC_EXTENDCONTEXTMENU, reinterpret_cast<WPARAM>(c.bar), reinterpret_cast<LPARAM>(&menu)), 0);
    EXPECT_EQ(static_cast<int>(menu.GetMenuItemCount()), c.items);
    EXPECT_EQ(menu.GetMenuState(ID_SEC_ALLOW_DOCKING, MF_BYCOMMAND) & MF_GRAYED, c.allowDocking & MF_GRAYED);
    if (c.floatInMain == static_cast<UINT>(-1)) {
      EXPECT_EQ(menu.GetMenuState(ID_SEC_FLOAT_IN_MAIN, MF_BYCOMMAND), static_cast<UINT>(-1));
    } else {
      EXPECT_EQ(menu.GetMenuState(2, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
      EXPECT_EQ(menu.GetMenuState(ID_SEC_FLOAT_IN_MAIN, MF_BYCOMMAND) & MF_CHECKED, c.floatInMain);
    }
  }
}

TEST_F(MDIFrameTest, FloatInMainWindowGoesInAndComesBack) {
  SECControlBar* bar = FloatingBar(ID_TEST_BAR_A, "A");
  SECDockBar* top = dynamic_cast<SECDockBar*>(mdi->GetControlBar(AFX_IDW_DOCKBAR_TOP));
  ASSERT_EQ(bar->m_pDockBar, top);
  bar->SendMessage(WM_COMMAND, ID_SEC_FLOAT_IN_MAIN);
  Settle();
  ASSERT_TRUE(bar->IsMDIChild());
  EXPECT_FALSE(mdi->m_bBarMoveInProgress);  // raised only while the bar moves
  CFrameWnd* child = bar->GetParentFrame();
  // Its window records where the child was last.
  auto* context = dynamic_cast<SECDockContext*>(bar->m_pDockContext);
  ASSERT_NE(context, nullptr);
  CRect r;
  child->GetWindowRect(&r);
  EXPECT_EQ(context->m_ptMRUMDIChildPos, r.TopLeft());
  // The same command docks it again where it was; its MDI child goes.
  HWND childWnd = child->m_hWnd;
  bar->SendMessage(WM_COMMAND, ID_SEC_FLOAT_IN_MAIN);
  Settle();
  EXPECT_FALSE(bar->IsMDIChild());
  EXPECT_EQ(bar->m_pDockBar, top);
  EXPECT_FALSE(::IsWindow(childWnd));
}

TEST_F(MDIFrameTest, ClosingTheBarsChildHidesTheBarAndAnEmptyOneCloses) {
  SECControlBar* bar = FloatingBar(ID_TEST_BAR_A, "A");
  mdi->FloatControlBarInMDIChild(bar, CPoint(-1, -1));
  Settle();
  auto* child = dynamic_cast<SECControlBarMDIChildWnd*>(bar->GetParentFrame());
  ASSERT_NE(child, nullptr);
  child->MDIMaximize();
  child->SendMessage(WM_CLOSE);
  Settle();
  ASSERT_TRUE(::IsWindow(child->m_hWnd));
  EXPECT_FALSE(bar->IsWindowVisible());
  EXPECT_FALSE(child->IsZoomed());
  // Without a bar it closes as any frame.
  CMDIChildWnd* empty = mdi->CreateControlBarMDIChild(0, nullptr);
  ASSERT_NE(empty, nullptr);
  HWND emptyWnd = empty->m_hWnd;
  empty->SendMessage(WM_CLOSE);
  Settle();
  EXPECT_FALSE(::IsWindow(emptyWnd));
}

TEST_F(MDIFrameTest, CaptionHandlingIsOnOnlyWithALibraryTemplate) {
  SECMDIFrameWnd without;
  ASSERT_FALSE(without.m_captionFilterValues.empty());
  EXPECT_FALSE(without.m_captionFilterValues[0]);
  // The other filters of the table are on either way.
  EXPECT_EQ(without.m_captionFilterValues, (std::vector<BOOL>{FALSE, TRUE, TRUE, TRUE}));
  app.AddDocTemplate(new CLibraryTemplate);
  SECMDIFrameWnd with;
  EXPECT_EQ(with.m_captionFilterValues, (std::vector<BOOL>{TRUE, TRUE, TRUE, TRUE}));
}

TEST_F(MDIFrameTest, AFrameHostedInABarStandsInForTheActiveChild) {
  CRecordingChild* child = NewChild("Doc");
  ASSERT_NE(child, nullptr);
  EXPECT_TRUE(child->captionActive);
  SECControlBar* bar = FloatingBar(ID_TEST_BAR_A, "A");
  auto* hosted = new CHostedFrame;  // deletes itself with its window
  ASSERT_TRUE(hosted->Create(nullptr, "Hosted", WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 40), bar));
  EXPECT_EQ(mdi->GetHostedFrame(bar), hosted);

  mdi->ActivateDockedFrame(hosted);
  EXPECT_EQ(mdi->GetActiveFrame(), hosted);
  EXPECT_FALSE(child->captionActive);  // the children look inactive meanwhile
  mdi->SendMessage(WM_COMMAND, ID_TEST_COMMAND);
  EXPECT_EQ(g_commands, (std::vector<std::string>{"hosted"}));

  // A click into the child takes the activation back.
  child->SendMessage(WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(mdi->m_hWnd), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
  EXPECT_EQ(mdi->GetActiveDockedFrame(), nullptr);
  EXPECT_EQ(mdi->GetActiveFrame(), child);
  EXPECT_TRUE(child->captionActive);
  mdi->SendMessage(WM_COMMAND, ID_TEST_COMMAND);
  EXPECT_EQ(g_commands, (std::vector<std::string>{"hosted", "child"}));

  // A docked frame that goes away is forgotten.
  mdi->ActivateDockedFrame(hosted);
  hosted->DestroyWindow();
  EXPECT_EQ(mdi->GetActiveDockedFrame(), nullptr);
  EXPECT_EQ(mdi->GetActiveFrame(), child);
}

TEST_F(MDIFrameTest, HelpRequestsReachTheApplication) {
  mdi->m_nIDHelp = 0x55;
  const size_t before = app.HelpRequests().size();
  mdi->SendMessage(WM_COMMANDHELP, 0, 0x1234);
  mdi->SendMessage(WM_COMMANDHELP, 0, 0);  // no id given, no menu item tracked: the frame's
  ASSERT_EQ(app.HelpRequests().size(), before + 2);
  EXPECT_EQ(app.HelpRequests()[before].data, static_cast<DWORD_PTR>(0x1234));
  EXPECT_EQ(app.HelpRequests()[before].command, static_cast<UINT>(HELP_CONTEXT));
  EXPECT_EQ(app.HelpRequests()[before + 1].data, static_cast<DWORD_PTR>(HID_BASE_RESOURCE + 0x55));
}

TEST_F(MDIFrameTest, ALayoutWithABarInsideComesBackAsAnMDIChildInItsPlace) {
  SECControlBar* a = FloatingBar(ID_TEST_BAR_A, "A");
  mdi->FloatControlBarInMDIChild(a, CPoint(-1, -1));
  Settle();
  CFrameWnd* child = a->GetParentFrame();
  child->SetWindowPos(nullptr, 100, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Settle();
  mdi->SaveBarState("Layout");
  EXPECT_NE(ProfileText().find("MDIChild=1"), std::string::npos);

  NewMDIFrame();
  SECControlBar* again = FloatingBar(ID_TEST_BAR_A, "A");
  mdi->LoadBarState("Layout");
  Idle();
  ASSERT_TRUE(again->IsMDIChild());
  CFrameWnd* restored = again->GetParentFrame();
  ASSERT_NE(restored, nullptr);
  EXPECT_TRUE(restored->IsKindOf(RUNTIME_CLASS(SECControlBarMDIChildWnd)));
  EXPECT_EQ(InClient(restored).TopLeft(), CPoint(100, 60));
}

TEST_F(MDIFrameTest, ASampleMDIFrameWithDocumentsAndABarInside) {
  mdi->SetWindowText("Sample");
  CMenu bar, file, window;
  bar.CreateMenu();
  file.CreatePopupMenu();
  file.AppendMenu(MF_STRING, ID_FILE_NEW, "&New");
  window.CreatePopupMenu();
  window.AppendMenu(MF_STRING, ID_WINDOW_CASCADE, "&Cascade");
  window.AppendMenu(MF_STRING, ID_WINDOW_TILE_VERT, "&Tile");
  bar.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(file.Detach()), "&File");
  bar.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(window.GetSafeHmenu()), "&Window");
  mdi->MDISetMenu(&bar, &window);
  mdi->DrawMenuBar();
  SECControlBar* top = FloatingBar(ID_TEST_BAR_A, "Tools");
  top->m_szHorz = CSize(200, 28);
  SECControlBar* inside = FloatingBar(ID_TEST_BAR_B, "Palette");
  inside->m_szFloat = inside->m_szHorz = CSize(150, 80);
  CRecordingChild* one = NewChild("Picture1");
  CRecordingChild* two = NewChild("Picture2");
  ASSERT_TRUE(one && two);
  mdi->MDITile(MDITILE_VERTICAL);
  mdi->RecalcLayout();
  mdi->FloatControlBarInMDIChild(inside, CPoint(-1, -1));
  Settle();
  // The window menu lists both documents and the palette's child.
  EXPECT_EQ(window.GetMenuItemCount(), 2u + 1u + 3u);
  EXPECT_TRUE(inside->IsWindowVisible());
  CRect palette = InClient(inside->GetParentFrame());
  EXPECT_EQ(palette.TopLeft(), CPoint(30, 30));
  EXPECT_GT(palette.Width(), 100);
  Shot("mdi-frame.png");
  bar.Detach();  // the frame's now
  window.Detach();
}

}  // namespace
}  // namespace framework_test
