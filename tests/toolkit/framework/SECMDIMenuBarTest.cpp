// The menu bar of an MDI main frame: the menu of the active document's template, the
// maximised child's icon and caption boxes on the bar, keys and the mouse on it, the
// frame's menu plug-ins, setting changes and the border flag.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "MenuFixture.h"
#include "controls/SECToolBarManager.h"
#include "framework/SECBmpMenuPlugIn.h"
#include "framework/SECBtnCaption.h"
#include "framework/SECMDIChildWnd.h"
#include "framework/SECMDIFrameWnd.h"
#include "framework/SECMDIMenuBar.h"
#include "framework/SECMenuBarFeature.h"
#include "framework/SECTBMenuBtn.h"
#include "controls/SECResourceIds.h"
#include "user/Driver.h"
#include "user/Input.h"

namespace menu_test {

namespace drv = plat::user::driver;
namespace in = plat::user::input;

// What the children were told by their system menus and caption boxes.
std::vector<std::string> g_childCommands;

class MenuDoc : public CDocument {
  DECLARE_DYNCREATE(MenuDoc)
};
IMPLEMENT_DYNCREATE(MenuDoc, CDocument)

class MenuView : public CView {
  DECLARE_DYNCREATE(MenuView)
 public:
  void OnDraw(CDC* pDC) override {
    CRect r;
    GetClientRect(&r);
    pDC->FillSolidRect(&r, RGB(255, 255, 255));
  }
};
IMPLEMENT_DYNCREATE(MenuView, CView)

class MenuChild : public SECMDIChildWnd {
  DECLARE_DYNCREATE(MenuChild)
 protected:
  afx_msg void OnSysCommand(UINT nID, LPARAM lParam) {
    CString title;
    GetWindowText(title);
    g_childCommands.push_back(std::string(title) + " " + std::to_string(nID & 0xFFF0));
    SECMDIChildWnd::OnSysCommand(nID, lParam);
  }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(MenuChild, SECMDIChildWnd)
BEGIN_MESSAGE_MAP(MenuChild, SECMDIChildWnd)
  ON_WM_SYSCOMMAND()
END_MESSAGE_MAP()

class TestMDIFrame : public SECMDIFrameWnd, public MenuScript {
 public:
  BOOL renameZoom = FALSE;  // the update handler of "Zoom" changes its text
  int layouts = 0;

  void RecalcLayout(BOOL bNotify = TRUE) override {
    ++layouts;
    SECMDIFrameWnd::RecalcLayout(bNotify);
  }

 protected:
  afx_msg void OnUpdateZoom(CCmdUI* ui) {
    if (renameZoom) ui->SetText("&Zoom In");
  }
  afx_msg void OnCommandRange(UINT nID) { log.push_back("command " + std::to_string(nID)); }
  afx_msg void OnInitMenuPopup(CMenu* pMenu, UINT nIndex, BOOL bSysMenu) {
    LogPopup(pMenu, bSysMenu);
    SECMDIFrameWnd::OnInitMenuPopup(pMenu, nIndex, bSysMenu);
  }
  afx_msg void OnEnterIdle(UINT nWhy, CWnd* pWho) {
    SECMDIFrameWnd::OnEnterIdle(nWhy, pWho);
    OnMenuIdle(nWhy);
  }
  afx_msg void OnSysCommand(UINT nID, LPARAM lParam) {
    log.push_back("syscommand " + std::to_string(nID & 0xFFF0));
    if ((nID & 0xFFF0) == SC_CLOSE) return;  // the tests close their frames themselves
    SECMDIFrameWnd::OnSysCommand(nID, lParam);
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(TestMDIFrame, SECMDIFrameWnd)
  ON_COMMAND_RANGE(ID_MDB_NEW_PICTURE, ID_MDB_EXIT, OnCommandRange)
  ON_UPDATE_COMMAND_UI(ID_MDB_ZOOM, OnUpdateZoom)
  ON_WM_INITMENUPOPUP()
  ON_WM_ENTERIDLE()
  ON_WM_SYSCOMMAND()
END_MESSAGE_MAP()

namespace {

CPoint BarCentre(SECCustomToolBar* bar, int index) {
  CRect r = bar->GetButton(index)->GetRect();
  bar->ClientToScreen(&r);
  return r.CenterPoint();
}

void ExpectNoMenuState() {
  EXPECT_EQ(SECMenuBarMessages::GetTrackedBar(), nullptr);
  EXPECT_FALSE(SECMenuBarMessages::HasPendingRequest());
  EXPECT_FALSE(SECMenuBarMessages::IsSysMenuTestArmed());
  EXPECT_FALSE(SECMenuBarMessages::HooksInstalled());
}

// The icon a document's frame shows: the one of its template's resource id.
HICON ClassIcon(CWnd* child) { return reinterpret_cast<HICON>(::GetClassLongPtrA(child->m_hWnd, GCL_HICON)); }

std::string PopupOf(UINT firstId) { return "popup " + std::to_string(firstId); }

class MDIMenuBarTest : public MenuTest {
 protected:
  void SetUp() override {
    MenuTest::SetUp();
    g_childCommands.clear();
    pictures = new CMultiDocTemplate(IDR_MDB_PICTURE, RUNTIME_CLASS(MenuDoc), RUNTIME_CLASS(MenuChild),
                                     RUNTIME_CLASS(MenuView));
    charts = new CMultiDocTemplate(IDR_MDB_CHART, RUNTIME_CLASS(MenuDoc), RUNTIME_CLASS(MenuChild),
                                   RUNTIME_CLASS(MenuView));
    app.AddDocTemplate(pictures);  // the application's from here
    app.AddDocTemplate(charts);
  }
  void TearDown() override {
    app.m_pMainWnd = nullptr;
    if (mdi && ::IsWindow(mdi->m_hWnd)) mdi->DestroyWindow();
    mdi = nullptr;
    mdiBar = nullptr;
    MenuTest::TearDown();
  }

  // The main frame from IDR_MDB_MAIN with an MDI menu bar docked on top (or, without
  // one, its window menu) and bitmap menus on request.
  void MakeMDIFrame(bool menuBar = true, bool bitmapMenus = false) {
    mdi = new TestMDIFrame;  // deletes itself with its window
    if (menuBar) {
      mdiBar = new SECMDIMenuBar;
      mdiBar->m_bAutoDelete = TRUE;
      mdi->EnableMenuBar(mdiBar);
    }
    mdi->EnableBitmapMenus(bitmapMenus);
    ASSERT_TRUE(mdi->LoadFrame(IDR_MDB_MAIN, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
    app.m_pMainWnd = mdi;
    mdi->EnableDocking(CBRS_ALIGN_ANY);
    if (menuBar) {
      ASSERT_TRUE(mdiBar->CreateEx(CBRS_EX_COOL | CBRS_EX_STRETCH, mdi,
                                   WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_SIZE_DYNAMIC, SECMenuBar::kMenuBarID, "Menu"));
      mdiBar->EnableDocking(CBRS_ALIGN_TOP);
      mdi->DockControlBar(mdiBar);
    }
    mdi->SetWindowPos(nullptr, 60, 40, 560, 380, SWP_NOZORDER);
    mdi->ShowWindow(SW_SHOW);
    mdi->SetActiveWindow();
    mdi->RecalcLayout();
    Settle();
  }
  MenuChild* NewDocument(CMultiDocTemplate* tmpl) {
    tmpl->OpenDocumentFile(nullptr);
    Idle();
    return dynamic_cast<MenuChild*>(mdi->MDIGetActive());
  }
  // The bar's buttons: menu labels, "[icon]" for the child's icon, "[boxes]" for its
  // caption boxes.
  std::vector<std::string> Buttons() const {
    std::vector<std::string> out;
    for (int i = 0; i < mdiBar->GetButtonCount(); ++i) {
      SECStdBtn* btn = mdiBar->GetButton(i);
      if (dynamic_cast<SECCapMenuBtn*>(btn))
        out.emplace_back("[icon]");
      else if (dynamic_cast<SECBtnCaption*>(btn))
        out.emplace_back("[boxes]");
      else if (auto* menu = dynamic_cast<SECTBMenuBtn*>(btn))
        out.emplace_back(static_cast<LPCSTR>(menu->m_strLabel));
    }
    return out;
  }
  int IndexOf(const std::string& label) const {
    const auto buttons = Buttons();
    auto it = std::find(buttons.begin(), buttons.end(), label);
    return it == buttons.end() ? -1 : static_cast<int>(it - buttons.begin());
  }
  // The texts of a popup the frame hands the bar for its current menu.
  std::vector<std::string> PopupTexts(int button) const {
    auto* btn = dynamic_cast<SECTBMenuBtn*>(mdiBar->GetButton(button));
    auto popup = reinterpret_cast<HMENU>(
        mdi->SendMessage(SECFrameWnd::GetMenuMessage(), btn->m_nIDMenu, static_cast<LPARAM>(btn->m_nSubMenu)));
    std::vector<std::string> out;
    for (int i = 0, n = popup ? ::GetMenuItemCount(popup) : 0; i < n; ++i) {
      char text[64] = "";
      ::GetMenuStringA(popup, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
      out.emplace_back(text);
    }
    return out;
  }
  void Maximise(CMDIChildWnd* child) {
    mdi->MDIMaximize(child);
    Settle();
  }

  std::unique_ptr<SECToolBarManager> manager;  // outlives the frame
  TestMDIFrame* mdi = nullptr;
  SECMDIMenuBar* mdiBar = nullptr;
  CMultiDocTemplate* pictures = nullptr;
  CMultiDocTemplate* charts = nullptr;
};

using Labels = std::vector<std::string>;

// ---- menus by template

TEST_F(MDIMenuBarTest, TheBarShowsTheMenuOfTheActiveChildsTemplate) {
  MakeMDIFrame();
  EXPECT_EQ(::GetMenu(mdi->m_hWnd), nullptr);
  auto* feature = dynamic_cast<SECMenuBarFeature*>(mdi->GetMenuPlugIn());
  ASSERT_NE(feature, nullptr);
  EXPECT_EQ(feature->m_pMenuBar, mdiBar);
  EXPECT_EQ(Buttons(), (Labels{"&File", "&Window"}));
  EXPECT_EQ(mdiBar->GetMenuID(), static_cast<UINT>(IDR_MDB_MAIN));

  MenuChild* picture = nullptr;
  MenuChild* chart = nullptr;
  const struct {
    const char* step;
    std::function<void()> act;
    UINT menu;
    Labels buttons;
  } steps[] = {
      {"a picture", [&] { picture = NewDocument(pictures); }, IDR_MDB_PICTURE, {"&File", "&Image", "&Window"}},
      {"a chart", [&] { chart = NewDocument(charts); }, IDR_MDB_CHART, {"&File", "&Chart", "&Window", "&Help"}},
      {"the picture again", [&] { mdi->MDIActivate(picture); Idle(); }, IDR_MDB_PICTURE, {"&File", "&Image", "&Window"}},
      {"the chart from the window list on the bar", [&] {
         mdi->script = {[] { drv::PressKey('2'); }};  // "&2 Chart1"
         drv::PressKey('W', drv::kAlt);
         Idle();
       }, IDR_MDB_CHART, {"&File", "&Chart", "&Window", "&Help"}},
      {"the chart closed", [&] { chart->SendMessage(WM_CLOSE); Idle(); }, IDR_MDB_PICTURE, {"&File", "&Image", "&Window"}},
      {"the last closed", [&] { app.CloseAllDocuments(FALSE); Idle(); }, IDR_MDB_MAIN, {"&File", "&Window"}},
  };
  for (const auto& s : steps) {
    s.act();
    EXPECT_TRUE(mdi->script.empty()) << s.step;
    EXPECT_EQ(mdiBar->GetMenuID(), s.menu) << s.step;
    EXPECT_EQ(Buttons(), s.buttons) << s.step;
    // The window never takes a menu of its own back.
    EXPECT_EQ(::GetMenu(mdi->m_hWnd), nullptr) << s.step;
    if (s.menu == IDR_MDB_PICTURE) {
      // The window list lives in the bar's Window popup.
      const auto texts = PopupTexts(IndexOf("&Window"));
      EXPECT_NE(std::find(texts.begin(), texts.end(), "&1 Picture1"), texts.end()) << s.step;
    }
  }
}

TEST_F(MDIMenuBarTest, WhileABarMovesTheNewMenuIsLaidOutAtIdleTime) {
  MakeMDIFrame();
  // A bar on its way into an MDI child: the frame is not laid out under it.
  mdi->m_bBarMoveInProgress = TRUE;
  mdi->m_nIdleFlags = 0;
  mdi->layouts = 0;
  mdi->SelectMenuBarMenu(IDR_MDB_CHART);
  EXPECT_EQ(Buttons(), (Labels{"&File", "&Chart", "&Window", "&Help"}));
  EXPECT_EQ(mdi->layouts, 0);
  EXPECT_TRUE(mdi->m_nIdleFlags & CFrameWnd::idleLayout);
  mdi->m_bBarMoveInProgress = FALSE;
  Idle();
  EXPECT_GT(mdi->layouts, 0);
  EXPECT_FALSE(mdi->m_nIdleFlags & CFrameWnd::idleLayout);
  CRect help = mdiBar->GetButton(3)->GetRect();
  EXPECT_GT(help.left, mdiBar->GetButton(2)->GetRect().left);  // placed along the bar
  // Otherwise the frame is laid out at once.
  mdi->layouts = 0;
  mdi->SelectMenuBarMenu(static_cast<UINT>(-1));
  EXPECT_GT(mdi->layouts, 0);
  EXPECT_FALSE(mdi->m_nIdleFlags & CFrameWnd::idleLayout);
  EXPECT_EQ(Buttons(), (Labels{"&File", "&Window"}));
}

TEST_F(MDIMenuBarTest, ABarsChildShowsTheMainFramesDefaultMenu) {
  MakeMDIFrame();
  NewDocument(pictures);
  // A bar floated in the main window lives in a child made from resource 20514, which
  // has no menu of its own.
  EXPECT_TRUE(mdiBar->SwitchMenu(IDR_SEC_DEFAULT_MENU));
  EXPECT_EQ(mdiBar->GetMenuID(), static_cast<UINT>(IDR_MDB_MAIN));
  EXPECT_EQ(Buttons(), (Labels{"&File", "&Window"}));
  EXPECT_EQ(PopupTexts(0).front(), "New &Picture");  // the frame serves its popups
  EXPECT_FALSE(mdiBar->SwitchMenu(999));  // an id of no menu anywhere
  EXPECT_EQ(mdiBar->GetMenuID(), static_cast<UINT>(IDR_MDB_MAIN));
}

// ---- the maximised child's controls

TEST_F(MDIMenuBarTest, TheMaximisedChildsIconAndBoxesSitOnTheBar) {
  MakeMDIFrame();
  MenuChild* picture = NewDocument(pictures);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(mdiBar->GetMaxChild(), nullptr);
  EXPECT_FALSE(mdiBar->GetClickFilter());

  Maximise(picture);
  EXPECT_EQ(Buttons(), (Labels{"[icon]", "&File", "&Image", "&Window", "[boxes]"}));
  EXPECT_EQ(mdiBar->GetMaxChild(), picture->m_hWnd);
  EXPECT_TRUE(mdiBar->GetClickFilter());
  EXPECT_EQ(mdiBar->GetIconButton()->m_hIcon, ClassIcon(picture)) << "the child's own icon";
  // The boxes sit at the far end of the stretched bar, the icon first.
  CRect client;
  mdiBar->GetClientRect(&client);
  const CRect boxes = mdiBar->GetCaptionButton()->GetRect();
  EXPECT_EQ(boxes.right, client.right - 2);
  EXPECT_EQ(mdiBar->GetIconButton()->GetRect().left, mdiBar->GetButton(1)->GetRect().left - 16);
  EXPECT_EQ(mdiBar->GetCaptionButton()->m_nCaptionFlags, SECBtnCaption::kInitialFlags);
  EXPECT_EQ(::GetMenu(mdi->m_hWnd), nullptr);  // nothing of the child in a window menu
  // The toolbar manager's reset puts the menu back, and the child's controls with it.
  mdiBar->ResetMenus();
  EXPECT_EQ(Buttons(), (Labels{"[icon]", "&File", "&Image", "&Window", "[boxes]"}));
  EXPECT_EQ(mdiBar->GetCaptionButton()->GetRect(), boxes);

  // A second document comes maximised: the controls are its own.
  MenuChild* chart = NewDocument(charts);
  ASSERT_TRUE(chart->IsZoomed());
  EXPECT_EQ(Buttons(), (Labels{"[icon]", "&File", "&Chart", "&Window", "&Help", "[boxes]"}));
  EXPECT_EQ(mdiBar->GetMaxChild(), chart->m_hWnd);
  EXPECT_EQ(mdiBar->GetIconButton()->m_hIcon, ClassIcon(chart));
  EXPECT_NE(ClassIcon(chart), ClassIcon(picture));

  // Closed, it hands them to the picture, which takes its place maximised.
  chart->SendMessage(WM_CLOSE);
  Idle();
  EXPECT_EQ(Buttons(), (Labels{"[icon]", "&File", "&Image", "&Window", "[boxes]"}));
  EXPECT_EQ(mdiBar->GetMaxChild(), picture->m_hWnd);

  // Restored, the bar is the menu alone.
  mdi->MDIRestore(picture);
  Settle();
  EXPECT_EQ(Buttons(), (Labels{"&File", "&Image", "&Window"}));
  EXPECT_FALSE(mdiBar->GetClickFilter());

  // The last one closed while maximised takes its controls along.
  Maximise(picture);
  picture->SendMessage(WM_CLOSE);
  Idle();
  EXPECT_EQ(Buttons(), (Labels{"&File", "&Window"}));
  EXPECT_EQ(mdiBar->GetMaxChild(), nullptr);
}

TEST_F(MDIMenuBarTest, ACaptionBoxActsOnlyWhenPressedAndReleasedOverIt) {
  MakeMDIFrame();
  MenuChild* picture = NewDocument(pictures);
  Maximise(picture);
  const CRect boxes = [&] {
    CRect r = mdiBar->GetCaptionButton()->GetRect();
    mdiBar->ClientToScreen(&r);
    return r;
  }();
  const int w = mdiBar->GetCaptionButton()->m_cxBox;
  const int y = boxes.CenterPoint().y;
  const CPoint minimise(boxes.left + w / 2, y), restore(boxes.left + w + w / 2, y), close(boxes.left + 2 * w + 2 + w / 2, y);
  // The pressed box looks pushed only while the mouse is over it.
  in::MouseMove(minimise.x, minimise.y);
  in::MouseButton(0, true);
  Settle();
  EXPECT_TRUE(mdiBar->GetCaptionButton()->GetStyle() & TBBS_PRESSED);
  in::MouseMove(close.x, close.y);
  Settle();
  EXPECT_FALSE(mdiBar->GetCaptionButton()->GetStyle() & TBBS_PRESSED);
  in::MouseButton(0, false);
  Settle();
  EXPECT_TRUE(g_childCommands.empty());
  EXPECT_TRUE(::IsWindow(picture->m_hWnd) && picture->IsZoomed());

  // Pressed and released over restore, the child is restored and the boxes go.
  in::MouseMove(restore.x, restore.y);
  in::MouseButton(0, true);
  Settle();
  in::MouseButton(0, false);
  Settle();
  EXPECT_EQ(g_childCommands, (std::vector<std::string>{"Picture1 " + std::to_string(SC_RESTORE)}));
  EXPECT_FALSE(picture->IsZoomed());
  EXPECT_EQ(mdiBar->GetCaptionButton(), nullptr);

  // And close closes it.
  Maximise(picture);
  const HWND hwnd = picture->m_hWnd;
  in::MouseMove(close.x, close.y);
  in::MouseButton(0, true);
  Settle();
  in::MouseButton(0, false);
  Idle();
  EXPECT_FALSE(::IsWindow(hwnd));
  EXPECT_EQ(Buttons(), (Labels{"&File", "&Window"}));
}

TEST_F(MDIMenuBarTest, TheIconDropsTheChildsSystemMenu) {
  MakeMDIFrame();
  MenuChild* picture = NewDocument(pictures);
  Maximise(picture);
  HMENU childMenu = ::GetSystemMenu(picture->m_hWnd, FALSE);
  HMENU shown = nullptr;
  CPoint where;
  mdi->script = {[&] {
                   HWND popup = ::FindWindowA("#32768", nullptr);
                   shown = reinterpret_cast<HMENU>(::SendMessageA(popup, MN_GETHMENU, 0, 0));
                   CRect r;
                   ::GetWindowRect(popup, &r);
                   where = r.TopLeft();
                   drv::PressKey(VK_DOWN);  // the first item: restore
                 },
                 [&] { drv::PressKey(VK_RETURN); }};
  CRect iconRect = mdiBar->GetIconButton()->GetRect();
  mdiBar->ClientToScreen(&iconRect);
  drv::Click(iconRect.CenterPoint().x, iconRect.CenterPoint().y);
  Settle();
  EXPECT_EQ(shown, childMenu);
  EXPECT_EQ(where, CPoint(iconRect.left, iconRect.bottom));  // dropped under the icon
  EXPECT_EQ(::GetMenuDefaultItem(childMenu, FALSE, GMDI_USEDISABLED), static_cast<UINT>(SC_CLOSE));
  EXPECT_EQ(mdi->log, (std::vector<std::string>{"popup system"}));
  EXPECT_EQ(g_childCommands, (std::vector<std::string>{"Picture1 " + std::to_string(SC_RESTORE)}));
  EXPECT_FALSE(picture->IsZoomed());
  EXPECT_EQ(mdiBar->GetIconButton(), nullptr);
  ExpectNoMenuState();
}

// ---- keys and the mouse

TEST_F(MDIMenuBarTest, AltAloneStartsOnTheFirstMenuAndTheMouseHotTracksMenusOnly) {
  MakeMDIFrame();
  Maximise(NewDocument(pictures));
  ASSERT_EQ(Buttons(), (Labels{"[icon]", "&File", "&Image", "&Window", "[boxes]"}));
  drv::PressKey(VK_MENU);
  Settle();
  ASSERT_TRUE(mdiBar->InKeyboardMode());
  EXPECT_EQ(mdiBar->GetHotItem(), 1);  // File, not the child's icon
  const struct {
    std::function<void()> act;
    int hot;
  } moves[] = {
      {[] { drv::PressKey(VK_LEFT); }, 0},  // the icon is an item of its own
      {[] { drv::PressKey(VK_LEFT); }, 3},  // the boxes are not: round to Window
      {[] { drv::PressKey(VK_RIGHT); }, 0},
      {[&] { drv::MoveTo(BarCentre(mdiBar, 2).x, BarCentre(mdiBar, 2).y); }, 2},
      {[&] { drv::MoveTo(BarCentre(mdiBar, 4).x, BarCentre(mdiBar, 4).y); }, 2},  // over the boxes: still Image
  };
  for (size_t i = 0; i < std::size(moves); ++i) {
    moves[i].act();
    Settle();
    EXPECT_EQ(mdiBar->GetHotItem(), moves[i].hot) << "move " << i;
  }
  drv::PressKey(VK_ESCAPE);
  Settle();
  EXPECT_FALSE(mdiBar->InKeyboardMode());
  EXPECT_TRUE(mdi->log.empty());  // nothing opened
  ExpectNoMenuState();
}

TEST_F(MDIMenuBarTest, KeysAndTheMouseMoveBetweenTheMenusOfTheBar) {
  MakeMDIFrame();
  MenuChild* picture = NewDocument(pictures);
  const std::string system = "popup system";
  const auto key = [](UINT vk) { return [vk] { drv::PressKey(vk); }; };
  const auto over = [&](int index) { return [this, index] { drv::MoveTo(BarCentre(mdiBar, index).x, BarCentre(mdiBar, index).y); }; };
  const auto click = [&](int index) { return [this, index] { drv::Click(BarCentre(mdiBar, index).x, BarCentre(mdiBar, index).y); }; };
  // Restored: File, Image, Window. Maximised: icon, File, Image, Window, boxes.
  const struct {
    const char* name;
    bool maximised;
    std::vector<std::function<void()>> start;  // what opens the first popup
    std::vector<std::function<void()>> inside;  // one step each time an open popup waits
    std::vector<int> tracked;                   // the item open at each of those waits
    std::vector<std::string> popups;
  } cases[] = {
      {"Alt+I, Right, Right, Left, Escape", false, {[] { drv::PressKey('I', drv::kAlt); }},
       {key(VK_RIGHT), key(VK_RIGHT), key(VK_LEFT), key(VK_ESCAPE)}, {1, 2, 0, 2},
       {PopupOf(ID_MDB_ZOOM), PopupOf(ID_MDB_WINDOW_CASCADE), PopupOf(ID_MDB_NEW_PICTURE), PopupOf(ID_MDB_WINDOW_CASCADE)}},
      {"Alt, Right, Down", false, {key(VK_MENU), key(VK_RIGHT), key(VK_DOWN)}, {key(VK_ESCAPE)}, {1}, {PopupOf(ID_MDB_ZOOM)}},
      {"Alt+Space: the frame's system menu", false, {[] { drv::PressKey(VK_SPACE, drv::kAlt); }}, {key(VK_ESCAPE)},
       {-1}, {system}},
      {"Alt+F, Left to the child's icon, Left round to Window", true, {[] { drv::PressKey('F', drv::kAlt); }},
       {key(VK_LEFT), key(VK_LEFT), key(VK_ESCAPE)}, {1, 0, 3},
       {PopupOf(ID_MDB_NEW_PICTURE), system, PopupOf(ID_MDB_WINDOW_CASCADE)}},
      {"File open, the mouse over the icon: it opens once File has closed", true, {click(1)},
       {over(0), key(VK_ESCAPE)}, {1, 0}, {PopupOf(ID_MDB_NEW_PICTURE), system}},
      {"File open, the mouse over the boxes: nothing else opens", true, {click(1)}, {over(4), key(VK_ESCAPE)},
       {1, 1}, {PopupOf(ID_MDB_NEW_PICTURE)}},
  };
  for (const auto& c : cases) {
    if (c.maximised != (picture->IsZoomed() != FALSE)) {
      if (c.maximised) Maximise(picture);
      else mdi->MDIRestore(picture);
      Settle();
    }
    mdi->log.clear();
    mdi->idles = mdi->escapes = 0;
    std::vector<int> tracked;
    for (const auto& step : c.inside)
      mdi->script.push_back([this, &tracked, step] {
        tracked.push_back(mdiBar->GetTrackedItem());
        step();
      });
    for (const auto& step : c.start) step();
    Settle();
    EXPECT_EQ(tracked, c.tracked) << c.name;
    EXPECT_EQ(mdi->log, c.popups) << c.name;
    EXPECT_EQ(mdi->escapes, 0) << c.name;  // every popup closed as the case asked
    EXPECT_FALSE(mdiBar->IsTracking()) << c.name;
    EXPECT_FALSE(mdiBar->InKeyboardMode()) << c.name;
    ExpectNoMenuState();
    mdi->script.clear();
  }
  EXPECT_TRUE(g_childCommands.empty());  // nothing was chosen
}

TEST_F(MDIMenuBarTest, AFrameClosedWhileAChildsMenuIsOpenLeavesNothingBehind) {
  MakeMDIFrame();
  Maximise(NewDocument(pictures));
  app.m_pMainWnd = nullptr;
  TestMDIFrame* closing = mdi;
  const HWND hwnd = mdi->m_hWnd;
  mdi->script = {[closing] { closing->PostMessage(WM_CLOSE); }};
  drv::Click(BarCentre(mdiBar, 0).x, BarCentre(mdiBar, 0).y);
  mdi = nullptr;  // gone with its window
  mdiBar = nullptr;
  Settle();
  EXPECT_FALSE(::IsWindow(hwnd));
  EXPECT_EQ(SECMenuBarMessages::GetActive(), nullptr);
  ExpectNoMenuState();
}

// ---- the frame's menu plug-ins

TEST_F(MDIMenuBarTest, TheFrameMakesItsMenuPlugInWithItsWindow) {
  const struct {
    const char* name;
    bool menuBar, bitmapMenus, manager;
    const char* plugIn;  // its class, null for none
  } cases[] = {
      {"menu bar", true, false, false, "SECMenuBarFeature"},
      {"menu bar and bitmap menus with a toolbar manager", true, true, true, "SECMenuBarFeature"},
      {"bitmap menus", false, true, false, "SECBmpMenuPlugIn"},
      {"bitmap menus with a toolbar manager", false, true, true, "SECBmpMenuPlugIn"},
      {"neither", false, false, true, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    // Set up by hand as MakeMDIFrame does, with the manager known before the window.
    mdi = new TestMDIFrame;  // deletes itself with its window
    manager.reset(c.manager ? new SECToolBarManager(mdi) : nullptr);
    if (c.menuBar) {
      mdiBar = new SECMDIMenuBar;
      mdiBar->m_bAutoDelete = TRUE;
      mdi->EnableMenuBar(mdiBar);
    }
    mdi->EnableBitmapMenus(c.bitmapMenus);
    if (manager) mdi->SetManager(manager.get());
    ASSERT_TRUE(mdi->LoadFrame(IDR_MDB_MAIN, WS_OVERLAPPEDWINDOW));
    SECWndPlugIn* plugIn = mdi->GetMenuPlugIn();
    if (!c.plugIn) {
      EXPECT_EQ(plugIn, nullptr);
    } else {
      ASSERT_NE(plugIn, nullptr);
      EXPECT_STREQ(plugIn->GetRuntimeClass()->m_lpszClassName, c.plugIn);
      EXPECT_EQ(plugIn->m_hWnd, mdi->m_hWnd);  // it borrows the frame's window
      auto* bitmaps = dynamic_cast<SECBmpMenuPlugIn*>(plugIn);
      ASSERT_NE(bitmaps, nullptr);
      if (c.manager && c.bitmapMenus) {
        EXPECT_EQ(bitmaps->GetBitmapManager(), manager->GetBmpMgr());
      } else if (manager) {
        EXPECT_NE(bitmaps->GetBitmapManager(), manager->GetBmpMgr());
      }
    }
    // The window has a menu of its own only without a menu bar.
    EXPECT_EQ(::GetMenu(mdi->m_hWnd) != nullptr, !c.menuBar);
    if (c.menuBar) {
      EXPECT_EQ(mdiBar->GetMenuID(), static_cast<UINT>(IDR_MDB_MAIN));
      EXPECT_EQ(Buttons(), (Labels{"&File", "&Window"}));
      EXPECT_EQ(mdi->m_hMenuDefault, nullptr);  // nothing to put back in the window
    }
    mdi->DestroyWindow();
    mdi = nullptr;
    delete mdiBar;  // never given a window here: the caller's to delete
    mdiBar = nullptr;
    Settle();
  }
}

TEST_F(MDIMenuBarTest, BitmapMenusFinishWhatTheUpdateHandlersChanged) {
  MakeMDIFrame(false, true);
  MenuChild* picture = NewDocument(pictures);
  ASSERT_NE(picture, nullptr);
  HMENU window = ::GetMenu(mdi->m_hWnd);
  ASSERT_EQ(window, pictures->m_hMenuShared);
  HMENU image = ::GetSubMenu(window, 1);
  auto* plugIn = dynamic_cast<SECBmpMenuPlugIn*>(mdi->GetMenuPlugIn());
  ASSERT_NE(plugIn, nullptr);
  mdi->renameZoom = TRUE;
  mdi->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(image), MAKELPARAM(1, FALSE));
  MENUITEMINFOA zoom{};
  zoom.cbSize = sizeof zoom;
  zoom.fMask = MIIM_FTYPE | MIIM_DATA;
  ASSERT_TRUE(::GetMenuItemInfoA(image, 0, TRUE, &zoom));
  // The handler made "Zoom" a string again; the frame had the plug-in convert it anew.
  ASSERT_TRUE(zoom.fType & MFT_OWNERDRAW);
  const SECBmpMenuItemInfo* record = plugIn->GetMenuMap().at(image)->Find(zoom.dwItemData);
  ASSERT_NE(record, nullptr);
  EXPECT_STREQ(record->m_strText, "&Zoom In");
}

// ---- setting changes and the border flag

TEST_F(MDIMenuBarTest, ASettingChangeMeasuresEveryButtonAgain) {
  MakeMDIFrame();
  Maximise(NewDocument(pictures));
  std::vector<CSize> sizes;
  for (int i = 0; i < mdiBar->GetButtonCount(); ++i) sizes.emplace_back(mdiBar->GetButton(i)->m_cx, mdiBar->GetButton(i)->m_cy);
  const CRect boxes = mdiBar->GetCaptionButton()->GetRect();
  for (int i = 0; i < mdiBar->GetButtonCount(); ++i) mdiBar->GetButton(i)->m_cx = mdiBar->GetButton(i)->m_cy = 3;
  mdiBar->GetCaptionButton()->m_cxBox = 1;
  mdiBar->SendMessage(WM_SETTINGCHANGE, 0, 0);
  Settle();
  for (int i = 0; i < mdiBar->GetButtonCount(); ++i) {
    EXPECT_EQ(mdiBar->GetButton(i)->m_cx, sizes[static_cast<size_t>(i)].cx) << Buttons()[static_cast<size_t>(i)];
    EXPECT_EQ(mdiBar->GetButton(i)->m_cy, sizes[static_cast<size_t>(i)].cy) << Buttons()[static_cast<size_t>(i)];
  }
  EXPECT_EQ(mdiBar->GetCaptionButton()->m_cxBox, ::GetSystemMetrics(SM_CXSIZE) - 2);
  EXPECT_EQ(mdiBar->GetCaptionButton()->GetRect(), boxes);  // laid out again, at the far end
}

TEST_F(MDIMenuBarTest, AnAllZeroBorderAsksTheBarToRedrawItsBordersOnce) {
  MakeMDIFrame();
  CRect some(0, 6, 0, 0);
  mdi->NegotiateBorderSpace(CFrameWnd::borderSet, &some);
  EXPECT_FALSE(mdiBar->GetBorderFlag());
  CRect zero(0, 0, 0, 0);
  mdi->NegotiateBorderSpace(CFrameWnd::borderSet, &zero);
  EXPECT_TRUE(mdiBar->GetBorderFlag());
  mdiBar->UpdateWindow();  // the next paint draws the borders and clears it
  EXPECT_FALSE(mdiBar->GetBorderFlag());
  Settle();
}

// ---- how it looks

struct InstalledFontsForShots {
  InstalledFontsForShots() : keep(std::getenv("LUMORA_DISPLAY_SHOTS") != nullptr) {
    if (keep) setenv("LUMORA_FONT", "", 1);
  }
  ~InstalledFontsForShots() {
    if (keep) setenv("LUMORA_FONT", "test", 1);
  }
  bool keep;
};

TEST_F(MDIMenuBarTest, AnMDIFrameWithAMaximisedChildOnItsMenuBar) {
  InstalledFontsForShots fonts;
  MakeMDIFrame();
  mdi->SetWindowText("Viewer");
  NewDocument(charts);
  MenuChild* picture = NewDocument(pictures);
  Maximise(picture);
  Idle();
  mdi->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  // The icon leads, the menus follow, the boxes end the line.
  EXPECT_EQ(Buttons(), (Labels{"[icon]", "&File", "&Image", "&Window", "[boxes]"}));
  CRect window;
  mdi->GetWindowRect(&window);
  Screenshot("mdi-menu-bar.png", window);
}

}  // namespace
}  // namespace menu_test
