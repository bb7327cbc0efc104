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
#include "framework/SECCaptionControlMsgFilter.h"
#include "framework/SECControlBarMDIChildWnd.h"
#include "framework/SECMDIChildWnd.h"
#include "framework/SECFilterTables.h"
#include "framework/SECMDIFrameWnd.h"
#include "framework/SECMsgFilter.h"
#include "framework/SECMultiDocTemplate.h"
#include "framework/ScxMsgFilter.h"

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

// A bar that notes what it hears of floating inside the main window, and where it is then.
class CNoticingBar : public SECControlBar {
 public:
  std::vector<std::string> heard;
  void OnBarBeginMDIFloat() override { heard.push_back(std::string("begin ") + (IsMDIChild() ? "inside" : "outside")); }
  void OnBarEndMDIFloat() override { heard.push_back(std::string("end ") + (IsMDIChild() ? "inside" : "outside")); }
};

// Whether a frame's filter of that id exists and is on.
BOOL FilterOn(const CFrameWnd& frame, UINT id) {
  SECMsgFilter* root = SECMsgFilter::RootOf(&frame);
  SECMsgFilter* filter = root ? root->FindFilter(id, nullptr, -1) : nullptr;
  return filter && filter->IsEnabled();
}

class MDIFrameTest : public FrameworkTest {
 protected:
  void SetUp() override {
    FrameworkTest::SetUp();
    g_commands.clear();
    // The library's MDI frame stands in for the frame the fixture made.
    DropFrame();
    ReplaceMDIFrame();
  }
  void TearDown() override {
    app.m_pMainWnd = nullptr;
    if (mdi && mdi->m_hWnd) mdi->DestroyWindow();
    mdi = nullptr;
    FrameworkTest::TearDown();
  }
  void ReplaceMDIFrame() {
    if (mdi && mdi->m_hWnd) mdi->DestroyWindow();
    Settle();
    mdi = NewMDIFrame();
    ASSERT_NE(mdi, nullptr);
  }
  // The samples' two documents, each with the place button left of its own buttons.
  std::vector<CRecordingChild*> SampleDocuments() {
    std::vector<CRecordingChild*> out;
    for (const char* title : {"Picture1", "Picture2"})
      if (CRecordingChild* child = NewChild(title)) {
        child->EnableCaptionButtons(1);
        out.push_back(child);
      }
    return out;
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
  void Shot(const std::string& name) { ShotOf(mdi, name); }

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

TEST_F(MDIFrameTest, ABarFloatedInsideHearsTheStartFirstAndTheEndLast) {
  auto* bar = new CNoticingBar;
  bar->m_bAutoDelete = TRUE;  // goes with its window
  ASSERT_TRUE(bar->Create(mdi, "Noticing", WS_CHILD | WS_VISIBLE | CBRS_TOP, CBRS_EX_ALLOW_MDI_FLOAT, ID_TEST_BAR_C));
  bar->m_szHorz = bar->m_szVert = bar->m_szFloat = CSize(120, 40);
  bar->EnableDocking(CBRS_ALIGN_ANY);
  mdi->DockControlBar(bar, AFX_IDW_DOCKBAR_TOP);
  mdi->FloatControlBarInMDIChild(bar, CPoint(-1, -1));
  EXPECT_EQ(bar->heard, (std::vector<std::string>{"begin outside", "end inside"}));
  // Alone in its child already: the child only moves, and the bar hears both all the same.
  bar->heard.clear();
  mdi->FloatControlBarInMDIChild(bar, CPoint(-1, -1));
  EXPECT_EQ(bar->heard, (std::vector<std::string>{"begin inside", "end inside"}));
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
  // The framework's own template does not count.
  app.AddDocTemplate(new CMultiDocTemplate(IDR_TEST_FRAME, nullptr, nullptr, nullptr));
  SECMDIFrameWnd without;
  EXPECT_FALSE(FilterOn(without, sec_filters::idSysCommandEx));
  // The maximised child's button list, its button and its right double click are on either way.
  for (UINT id : {sec_filters::idCaptionList, sec_filters::idMaxChildButton, sec_filters::idMaxChildRDblClk})
    EXPECT_TRUE(FilterOn(without, id)) << id;
  app.AddDocTemplate(new SECMultiDocTemplate(IDR_TEST_FRAME, nullptr, nullptr, nullptr));
  SECMDIFrameWnd with;
  EXPECT_TRUE(FilterOn(with, sec_filters::idSysCommandEx));
  EXPECT_NE(dynamic_cast<nsSysCommandEx::ScxMsgFilter*>(with.GetMsgFilter()->FindFilter(sec_filters::idSysCommandEx)),
            nullptr);
  // The button hangs under the list; the list's own five buttons stay the frame's.
  SECMsgFilter* list = with.GetMsgFilter()->FindFilter(sec_filters::idCaptionList);
  ASSERT_NE(list, nullptr);
  EXPECT_NE(list->FindFilter(sec_filters::idMaxChildButton), nullptr);
  for (UINT id = 0; id <= 4; ++id) EXPECT_FALSE(list->FindFilter(id)->IsEnabled()) << id;
  // Switched off by the frame's own call, and on again.
  with.EnableCaptionButtons(0);
  EXPECT_FALSE(FilterOn(with, sec_filters::idSysCommandEx));
  with.EnableCaptionButtons(1);
  EXPECT_TRUE(FilterOn(with, sec_filters::idSysCommandEx));
}

TEST_F(MDIFrameTest, InMenuBarModeTheMaximisedChildsButtonsStayTheMenuBars) {
  // The menu line where the filters would put the maximised child's place button is the menu
  // bar's in menu-bar mode: filter 256 goes off when the window is made, and stays off.
  app.AddDocTemplate(new SECMultiDocTemplate(IDR_TEST_FRAME, nullptr, nullptr, nullptr));
  SECControlBar* menuBar = MakeBar(mdi, ID_TEST_BAR_D, "Menu");
  ASSERT_NE(menuBar, nullptr);
  auto* second = new SECMDIFrameWnd;  // deletes itself with its window
  EXPECT_TRUE(FilterOn(*second, sec_filters::idCaptionList));
  second->m_pMenuBar = menuBar;
  ASSERT_TRUE(second->Create(nullptr, "Menu bar", WS_OVERLAPPEDWINDOW, CRect(60, 50, 500, 400)));
  EXPECT_FALSE(FilterOn(*second, sec_filters::idCaptionList));
  second->EnableCaptionButtons(1);
  EXPECT_FALSE(FilterOn(*second, sec_filters::idCaptionList));
  EXPECT_TRUE(FilterOn(*second, sec_filters::idSysCommandEx));
  EXPECT_TRUE(FilterOn(*second, sec_filters::idMaxChildRDblClk));
  // Out of menu-bar mode the switch puts it on again.
  second->m_pMenuBar = nullptr;
  second->EnableCaptionButtons(1);
  EXPECT_TRUE(FilterOn(*second, sec_filters::idCaptionList));
  second->DestroyWindow();
}

TEST_F(MDIFrameTest, AChildsCaptionFlagsSwitchItsFiltersOneByOne) {
  // Bit 0 on; bit 1 no buttons, bit 2 no caption double click, bit 3 no context menu.
  // Through the child's own tree, in the order 257, 256, 258, 259, 262; nothing is made
  // before the first switch on, and the caption list, once made, stays on (the child's
  // own buttons live in it).
  struct Case {
    DWORD flags;
    std::vector<BOOL> on;
  };
  const Case cases[] = {
      {0x0, {FALSE, FALSE, FALSE, FALSE, FALSE}}, {0x1, {TRUE, TRUE, TRUE, TRUE, TRUE}},
      {0x3, {TRUE, TRUE, FALSE, TRUE, TRUE}},     {0x5, {TRUE, TRUE, TRUE, FALSE, TRUE}},
      {0x9, {TRUE, TRUE, TRUE, TRUE, FALSE}},     {0xE, {FALSE, TRUE, FALSE, FALSE, FALSE}},
  };
  const UINT ids[] = {sec_filters::idSysCommandEx, sec_filters::idCaptionList, sec_filters::idChildButton,
                      sec_filters::idCaptionRDblClk, sec_filters::idContextMenu};
  SECMDIChildWnd child;
  for (const Case& c : cases) {
    child.EnableCaptionButtons(c.flags);
    for (size_t i = 0; i < std::size(ids); ++i) EXPECT_EQ(FilterOn(child, ids[i]), c.on[i]) << c.flags << " " << ids[i];
  }
  EXPECT_EQ(child.GetMsgFilter()->FindFilter(sec_filters::idCaptionList, nullptr)->GetChildCount(), 6);
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

  ReplaceMDIFrame();
  SECControlBar* again = FloatingBar(ID_TEST_BAR_A, "A");
  mdi->LoadBarState("Layout");
  Idle();
  ASSERT_TRUE(again->IsMDIChild());
  CFrameWnd* restored = again->GetParentFrame();
  ASSERT_NE(restored, nullptr);
  EXPECT_TRUE(restored->IsKindOf(RUNTIME_CLASS(SECControlBarMDIChildWnd)));
  EXPECT_EQ(InClient(restored).TopLeft(), CPoint(100, 60));
}

TEST_F(MDIFrameTest, MenusForTheMenuBarComeFromTheFrameTheTemplatesAndTheMap) {
  auto menuWithPopup = [] {
    HMENU menu = ::CreateMenu();
    HMENU popup = ::CreatePopupMenu();
    ::AppendMenuA(popup, MF_STRING, 1, "&Item");
    ::AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), "&Menu");
    return menu;
  };
  mdi->m_nIDResource = 77;
  mdi->m_hMenuBarMenu = menuWithPopup();  // the frame's from here
  auto* tmpl = new CMultiDocTemplate(IDR_TEST_FRAME, nullptr, nullptr, nullptr);
  app.AddDocTemplate(tmpl);
  if (tmpl->m_hMenuShared) ::DestroyMenu(tmpl->m_hMenuShared);
  tmpl->m_hMenuShared = menuWithPopup();  // the template's
  HMENU mapped = menuWithPopup();
  mdi->m_mapTemplateMenus.SetAt(99, mapped);  // destroyed with the frame
  struct Case {
    UINT id;
    HMENU expected;
  };
  const Case cases[] = {{77, mdi->m_hMenuBarMenu}, {IDR_TEST_FRAME, tmpl->m_hMenuShared}, {99, mapped}, {5, nullptr}};
  for (const Case& c : cases) {
    EXPECT_EQ(mdi->GetMenuForId(c.id), c.expected) << c.id;
    auto popup = reinterpret_cast<HMENU>(mdi->SendMessage(SECFrameWnd::GetMenuMessage(), c.id, 0));
    EXPECT_EQ(popup, c.expected ? ::GetSubMenu(c.expected, 0) : nullptr) << c.id;
  }
}

// The samples' frame: a title of two parts in its own caption, and a menu line of File and
// Window, the window list under Window.
void SampleFrame(SECMDIFrameWnd* mdi, CMenu& bar, CMenu& window) {
  mdi->SetWindowText("Sample - Library");
  mdi->EnableCustomCaption(TRUE);
  CMenu file;
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
}

TEST_F(MDIFrameTest, ASampleMDIFrameWithAMaximisedDocument) {
  CMenu bar, window;
  SampleFrame(mdi, bar, window);
  const std::vector<CRecordingChild*> documents = SampleDocuments();
  ASSERT_EQ(documents.size(), 2u);
  mdi->MDIMaximize(documents[1]);
  mdi->RecalcLayout();
  mdi->SendMessage(WM_NCACTIVATE, TRUE);
  Settle();
  // The maximised child's place button sits in the menu line, left of its own three.
  const CRect button =
      static_cast<SECCaptionControlMsgFilter*>(mdi->GetMsgFilter()->FindFilter(sec_filters::idMaxChildButton, nullptr, -1))
          ->m_rectButton;
  ASSERT_FALSE(button.IsRectEmpty());
  CWindowDC dc(mdi);
  EXPECT_EQ(dc.GetPixel(button.left, button.top), ::GetSysColor(COLOR_3DHILIGHT));
  Shot("mdi-frame-maximised.png");
  bar.Detach();  // the frame's now
  window.Detach();
}

TEST_F(MDIFrameTest, ASampleMDIFrameWithDocumentsAndABarInside) {
  CMenu bar, window;
  SampleFrame(mdi, bar, window);
  SECControlBar* top = FloatingBar(ID_TEST_BAR_A, "Tools");
  top->m_szHorz = CSize(200, 28);
  SECControlBar* inside = FloatingBar(ID_TEST_BAR_B, "Palette");
  inside->m_szFloat = inside->m_szHorz = CSize(150, 80);
  ASSERT_EQ(SampleDocuments().size(), 2u);
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
