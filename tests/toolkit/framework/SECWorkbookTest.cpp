// The workbook: tab widths as sheets come and go, hidden sheets, clicks on tabs,
// tooltips for labels that do not fit, the MDI client's margins and menu messages,
// a bar floated inside as a sheet with the bar's icon, the painted strip, and a sheet
// under an MDI frame that is no workbook.
#include <cstdlib>
#include <memory>
#include <string>

#include "FrameworkFixture.h"
#include "TestEnv.h"
#include "controls/SECResourceIds.h"
#include "display/Png.h"
#include "framework/SECControlBarWorksheet.h"
#include "framework/SECWorkbook.h"
#include "framework/SECWorkbookClient.h"
#include "framework/SECWorksheet.h"

namespace framework_test {
namespace {

// A workbook whose clicked tabs activate their sheets only when allowed.
class CGuardedWorkbook : public SECWorkbook {
 public:
  BOOL allow = TRUE;
  int asked = 0;
  BOOL OnTabActivating(SECWorksheet* pSheet) override {
    ++asked;
    return allow && SECWorkbook::OnTabActivating(pSheet);
  }
};

class WorkbookTest : public FrameworkTest {
 protected:
  void SetUp() override {
    shots = std::getenv("LUMORA_DISPLAY_SHOTS") &&
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) == "Screenshot";
    if (shots) setenv("LUMORA_FONT", "", 1);
    FrameworkTest::SetUp();
    app.m_pMainWnd = nullptr;
    frame->DestroyWindow();
    frame = nullptr;
    if (view.m_hWnd) view.DestroyWindow();
    Settle();
    book = new CGuardedWorkbook;  // deletes itself with its window
    ASSERT_TRUE(book->Create(nullptr, "Workbook", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(40, 30, 700, 520)));
    app.m_pMainWnd = book;
    book->EnableDocking(CBRS_ALIGN_ANY);
    book->SetActiveWindow();
    book->ShowTabs(TRUE);
    Settle();
  }
  void TearDown() override {
    app.m_pMainWnd = nullptr;
    if (book && book->m_hWnd) book->DestroyWindow();
    book = nullptr;
    FrameworkTest::TearDown();
    if (shots) setenv("LUMORA_FONT", "test", 1);
  }
  SECWorksheet* NewSheet(const char* label) {
    auto* sheet = new SECWorksheet;  // deletes itself with its window
    if (!sheet->LoadFrame(IDR_TEST_SHEET, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, book)) return nullptr;
    sheet->SetWindowText(label);
    Settle();
    return sheet;
  }
  // The MDI client's window in the workbook's client coordinates.
  CRect ClientWindow() const {
    CRect r;
    ::GetWindowRect(book->m_hWndMDIClient, &r);
    book->ScreenToClient(&r);
    return r;
  }
  // Makes the MDI client's window `width` pixels wide.
  void ClientWidth(int width) {
    CRect w;
    book->GetWindowRect(&w);
    book->SetWindowPos(nullptr, 0, 0, w.Width() + width - ClientWindow().Width(), w.Height(),
                       SWP_NOMOVE | SWP_NOZORDER);
    Settle();
    ASSERT_EQ(ClientWindow().Width(), width);
  }
  CPoint TabCentre(SECWorksheet* sheet) {
    POINT p[sec_workbook::kTabPoints];
    int n = 0;
    book->GetTabPolygon(sheet, p, n);
    return CPoint((p[0].x + p[5].x) / 2, (p[0].y + p[2].y) / 2);
  }
  int TabLeft(SECWorksheet* sheet) {
    POINT p[sec_workbook::kTabPoints];
    int n = 0;
    book->GetTabPolygon(sheet, p, n);
    return p[0].x;
  }
  void Click(CPoint point) {
    book->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
    book->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
    Settle();
  }
  COLORREF Pixel(CPoint client) {
    book->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    CClientDC dc(book);
    return dc.GetPixel(client);
  }
  void Shot(const std::string& name) { ShotOf(book, name); }

  CGuardedWorkbook* book = nullptr;
  bool shots = false;
};

TEST_F(WorkbookTest, TabsShareTheClientWidthUpToTheCap) {
  ClientWidth(600);
  SECWorksheet* first = NewSheet("One");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(book->GetTabWidth(), 90);  // one sheet: the cap, not 605
  std::vector<SECWorksheet*> sheets{first};
  for (int i = 1; i < 10; ++i) sheets.push_back(NewSheet(("Sheet " + std::to_string(i + 1)).c_str()));
  ASSERT_EQ(book->GetSheetCount(), 10);
  EXPECT_EQ(book->GetTabWidth(), 60);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(sheets[static_cast<size_t>(i)]->m_nTabIndex, i);
    if (sheets[static_cast<size_t>(i)] != book->MDIGetActive()) {
      EXPECT_EQ(TabLeft(sheets[static_cast<size_t>(i)]), ClientWindow().left + 60 * i);
    }
  }
  // A sheet that goes: the rest close up, renumbered, and share the width again.
  sheets[3]->DestroyWindow();
  Settle();
  EXPECT_EQ(book->GetSheetCount(), 9);
  EXPECT_EQ(book->GetTabWidth(), 605 / 9);
  EXPECT_EQ(sheets[4]->m_nTabIndex, 3);
  EXPECT_EQ(sheets[9]->m_nTabIndex, 8);
  // A wider client gives wider tabs at the next layout.
  ClientWidth(500);
  EXPECT_EQ(book->GetTabWidth(), 505 / 9);
}

TEST_F(WorkbookTest, RemovingTheOnlySheetKeepsTheWidthAndRepaintsTheWholeWorkbook) {
  ClientWidth(600);
  SECWorksheet* only = NewSheet("Only");
  ASSERT_NE(only, nullptr);
  ASSERT_EQ(book->GetTabWidth(), 90);
  book->RedrawWindow(nullptr, nullptr, RDW_UPDATENOW);
  book->ValidateRect(nullptr);
  EXPECT_TRUE(book->RemoveSheet(only));
  EXPECT_EQ(book->GetSheetCount(), 0);
  EXPECT_EQ(book->GetTabWidth(), 90);
  CRect update, client;
  book->GetUpdateRect(&update);
  book->GetClientRect(&client);
  EXPECT_EQ(update, client);
  // A sheet that is not in the book is not removed again.
  EXPECT_FALSE(book->RemoveSheet(only));
}

TEST_F(WorkbookTest, AHiddenSheetLeavesNoGap) {
  ClientWidth(600);
  SECWorksheet* a = NewSheet("A");
  SECWorksheet* b = NewSheet("B");
  SECWorksheet* c = NewSheet("C");
  SECWorksheet* d = NewSheet("D");
  ASSERT_TRUE(a && b && c && d);
  book->MDIActivate(a);
  Settle();
  const int left = ClientWindow().left;
  EXPECT_EQ(TabLeft(c), left + 180);
  b->ShowWindow(SW_HIDE);
  Settle();
  EXPECT_EQ(TabLeft(c), left + 90);
  EXPECT_EQ(TabLeft(d), left + 180);
  // The hidden sheet's place belongs to the next visible one: a click there activates it.
  Click(CPoint(left + 90 + 45, ClientWindow().bottom + 12));
  EXPECT_EQ(book->MDIGetActive(), c);
}

TEST_F(WorkbookTest, AClickOnATabActivatesItsSheet) {
  SECWorksheet* a = NewSheet("Alpha");
  SECWorksheet* b = NewSheet("Beta");
  SECWorksheet* c = NewSheet("Gamma");
  ASSERT_TRUE(a && b && c);
  ASSERT_EQ(book->MDIGetActive(), c);
  Click(TabCentre(a));
  EXPECT_EQ(book->MDIGetActive(), a);
  EXPECT_FALSE(a->m_bRaised);  // released with the button
  EXPECT_EQ(book->m_nLastActiveTab, 0);
  // A workbook that refuses leaves the active sheet as it is.
  book->allow = FALSE;
  const int asked = book->asked;
  Click(TabCentre(b));
  EXPECT_EQ(book->asked, asked + 1);
  EXPECT_EQ(book->MDIGetActive(), a);
  // The active sheet's own tab, and a point below the strip, ask nothing.
  book->allow = TRUE;
  Click(TabCentre(a));
  Click(CPoint(TabCentre(b).x, ClientWindow().bottom + 40));
  EXPECT_EQ(book->asked, asked + 1);
  EXPECT_EQ(book->MDIGetActive(), a);
  // With the tabs off the strip takes no clicks.
  book->ShowTabs(FALSE);
  Settle();
  book->ShowTabs(TRUE);
  book->m_bTabsShown = FALSE;
  Click(TabCentre(b));
  EXPECT_EQ(book->MDIGetActive(), a);
}

TEST_F(WorkbookTest, ATooltipOnlyForALabelThatDoesNotFit) {
  ClientWidth(600);
  SECWorksheet* shortLabel = NewSheet("abc");
  SECWorksheet* longLabel = NewSheet("A label far too long for any tab of this strip");
  SECWorksheet* active = NewSheet("Last");
  ASSERT_TRUE(shortLabel && longLabel && active);
  EXPECT_TRUE(book->LabelFits(shortLabel));
  EXPECT_FALSE(book->LabelFits(longLabel));
  TOOLINFO ti{};
  ti.cbSize = sizeof(ti);
  EXPECT_EQ(book->OnToolHitTest(TabCentre(shortLabel), &ti), -1);
  ti = TOOLINFO{};
  ti.cbSize = sizeof(ti);
  ASSERT_EQ(book->OnToolHitTest(TabCentre(longLabel), &ti), 2);
  EXPECT_EQ(ti.hwnd, book->m_hWnd);
  EXPECT_EQ(ti.uId, 2u);
  ASSERT_NE(ti.lpszText, nullptr);
  EXPECT_STREQ(ti.lpszText, "A label far too long for any tab of this strip");
  POINT p[sec_workbook::kTabPoints];
  int n = 0;
  book->GetTabPolygon(longLabel, p, n);
  EXPECT_EQ(CRect(ti.rect), CRect(p[0].x, p[0].y, p[5].x, p[2].y));
  ::free(ti.lpszText);
  // Outside every tab, or with the strip off, there is no tool.
  EXPECT_EQ(book->OnToolHitTest(CPoint(5, 5), nullptr), -1);
  book->m_bTabsShown = FALSE;
  EXPECT_EQ(book->OnToolHitTest(TabCentre(longLabel), nullptr), -1);
  book->m_bTabsShown = TRUE;
  // The first sheet made the tooltip control.
  ASSERT_NE(book->m_pToolTip, nullptr);
  EXPECT_TRUE(::IsWindow(book->m_pToolTip->m_hWnd));
}

TEST_F(WorkbookTest, TheClientKeepsItsMarginsInTheLayout) {
  CWnd* client = book->GetWorkbookClient();
  ASSERT_NE(client, nullptr);
  EXPECT_EQ(client->m_hWnd, book->m_hWndMDIClient);
  CRect area;
  book->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CWnd::reposQuery, &area);
  // ShowTabs made room for the strip below and the frame around.
  EXPECT_EQ(ClientWindow(), CRect(area.left + 6, area.top + 6, area.right - 6, area.bottom - 35));
  book->GetWorkbookClient()->SetMargins(10, 20, 30, 40);
  Settle();
  EXPECT_EQ(ClientWindow(), CRect(area.left + 10, area.top + 20, area.right - 30, area.bottom - 40));
  CRect margin;
  book->GetClientMarginRect(&margin);
  EXPECT_EQ(margin, area);
  // Off, the client fills the area again.
  book->ShowTabs(FALSE);
  Settle();
  EXPECT_EQ(ClientWindow(), area);
}

TEST_F(WorkbookTest, TheClientPassesMenusOnAndTellsTheWorkbook) {
  SECWorksheet* a = NewSheet("A");
  SECWorksheet* b = NewSheet("B");
  ASSERT_TRUE(a && b);
  CMenu frameMenu, windowMenu;
  frameMenu.CreateMenu();
  windowMenu.CreatePopupMenu();
  frameMenu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(windowMenu.m_hMenu), "&Window");
  const HMENU before = ::GetMenu(book->m_hWnd);
  // A sheet without a menu of its own: nothing changes and nothing is passed on.
  book->m_nLastActiveTab = 7;
  EXPECT_EQ(::SendMessageA(book->m_hWndMDIClient, WM_SECWORKBOOK_NOSHEETMENU, static_cast<WPARAM>(-1), -1), 0);
  EXPECT_EQ(::GetMenu(book->m_hWnd), before);
  EXPECT_EQ(book->m_nLastActiveTab, 1);  // the workbook heard of it: b is active
  book->m_nLastActiveTab = 7;
  EXPECT_EQ(::SendMessageA(book->m_hWndMDIClient, WM_MDISETMENU, static_cast<WPARAM>(-1), -1), 0);
  EXPECT_EQ(::GetMenu(book->m_hWnd), before);
  EXPECT_EQ(book->m_nLastActiveTab, 1);
  // A real menu goes to the MDI client, which answers the old one.
  book->m_nLastActiveTab = 7;
  const LRESULT old = ::SendMessageA(book->m_hWndMDIClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(frameMenu.m_hMenu),
                                    reinterpret_cast<LPARAM>(windowMenu.m_hMenu));
  EXPECT_EQ(reinterpret_cast<HMENU>(old), before);
  EXPECT_EQ(::GetMenu(book->m_hWnd), frameMenu.m_hMenu);
  EXPECT_EQ(book->m_nLastActiveTab, 1);
  ::SetMenu(book->m_hWnd, before);
  // Activation through the MDI client moves the active tab too.
  book->MDIActivate(a);
  Settle();
  EXPECT_EQ(book->m_nLastActiveTab, 0);
}

TEST_F(WorkbookTest, ABarFloatedInsideBecomesASheetWithTheBarsIcon) {
  SECWorksheet* plain = NewSheet("Plain");
  ASSERT_NE(plain, nullptr);
  EXPECT_NE(plain->m_hIcon, nullptr);  // from the sheet's resource
  SECControlBar* bar = MakeBar(book, ID_TEST_BAR_A, "Tools");
  ASSERT_NE(bar, nullptr);
  bar->m_dwExStyle |= CBRS_EX_ALLOW_MDI_FLOAT;
  book->DockControlBar(bar, AFX_IDW_DOCKBAR_TOP);
  const auto icon = static_cast<HICON>(
      ::LoadImage(TestModule(), MAKEINTRESOURCE(IDI_TEST_BAR), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
  ASSERT_NE(icon, nullptr);
  bar->SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  book->FloatControlBarInMDIChild(bar, CPoint(-1, -1));
  Settle();
  auto* sheet = dynamic_cast<SECControlBarWorksheet*>(bar->GetParentFrame());
  ASSERT_NE(sheet, nullptr);
  ASSERT_EQ(book->GetSheetCount(), 2);
  EXPECT_EQ(book->GetSheet(1), sheet);
  EXPECT_EQ(book->MDIGetActive(), sheet);
  EXPECT_EQ(sheet->GetHostedBar(), bar);
  EXPECT_FALSE(sheet->GetExStyle() & WS_EX_CLIENTEDGE);
  // The tab shows the bar's icon (its red block) and the bar's title.
  const HICON tabIcon = book->GetSheetIcon(sheet);
  ASSERT_NE(tabIcon, nullptr);
  EXPECT_NE(tabIcon, icon);  // a copy: the bar keeps its own
  EXPECT_EQ(book->GetSheetLabel(sheet), CString("Tools"));
  POINT p[sec_workbook::kTabPoints];
  int n = 0;
  book->GetTabPolygon(sheet, p, n);
  EXPECT_EQ(Pixel(CPoint(p[2].x + 1 + 3, p[0].y + 4 + 7)), RGB(200, 40, 40));
  // Closing the sheet hides the bar and keeps the sheet; destroying it leaves the bar's icon.
  const HWND sheetWnd = sheet->m_hWnd;
  sheet->SendMessage(WM_CLOSE);
  Settle();
  EXPECT_TRUE(::IsWindow(sheetWnd));
  EXPECT_FALSE(bar->IsWindowVisible());
  // Docked again, the bar leaves its sheet (which may go with its last bar).
  book->ShowControlBar(bar, TRUE, FALSE);
  book->DockControlBar(bar, AFX_IDW_DOCKBAR_TOP);
  Settle();
  if (::IsWindow(sheetWnd)) ::DestroyWindow(sheetWnd);
  Settle();
  EXPECT_EQ(book->GetSheetCount(), 1);
  ICONINFO info{};
  EXPECT_TRUE(::GetIconInfo(icon, &info));
  if (info.hbmColor) ::DeleteObject(info.hbmColor);
  if (info.hbmMask) ::DeleteObject(info.hbmMask);
  ::DestroyIcon(icon);
}

TEST_F(WorkbookTest, TheStripIsPaintedBelowTheClient) {
  ClientWidth(600);
  SECWorksheet* a = NewSheet("Alpha");
  SECWorksheet* b = NewSheet("Beta");
  ASSERT_TRUE(a && b);
  book->MDIActivate(a);
  Settle();
  const CRect r = ClientWindow();
  const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  // The frame around the client: highlight at the left, black on the outer bottom line,
  // crossed by the active tab, which is face there.
  EXPECT_EQ(Pixel(CPoint(r.left - 5, r.top + 20)), ::GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(Pixel(CPoint(r.left + 300, r.bottom + 4)), RGB(0, 0, 0));
  EXPECT_EQ(Pixel(CPoint(r.left + 45, r.bottom + 5)), face);
  // The inactive tab's lower edge in black, one pixel inside its outline; the active
  // tab hangs 2 pixels lower.
  POINT pb[sec_workbook::kTabPoints], pa[sec_workbook::kTabPoints];
  int n = 0;
  book->GetTabPolygon(b, pb, n);
  book->GetTabPolygon(a, pa, n);
  EXPECT_EQ(pa[2].y, pb[2].y + 2);
  EXPECT_EQ(Pixel(CPoint((pb[2].x + pb[3].x) / 2, pb[2].y - 1)), RGB(0, 0, 0));
  EXPECT_EQ(Pixel(CPoint((pb[2].x + pb[3].x) / 2, pb[2].y - 2)), ::GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(Pixel(CPoint((pa[2].x + pa[3].x) / 2, pa[2].y - 1)), RGB(0, 0, 0));
  // Off, the area below the client is the client's.
  book->ShowTabs(FALSE);
  Settle();
  EXPECT_EQ(ClientWindow().bottom, r.bottom + 35);
}

// A check item that remembers what it was told.
class CheckRecorder : public CCmdUI {
 public:
  int check = -1;
  void SetCheck(int nCheck) override { check = nCheck; }
  void Enable(BOOL) override {}
};

TEST_F(WorkbookTest, TheViewMenuShowsAndHidesTheBars) {
  SECControlBar* bar = MakeBar(book, AFX_IDW_TOOLBAR, "Standard");
  ASSERT_NE(bar, nullptr);
  book->DockControlBar(bar, AFX_IDW_DOCKBAR_TOP);
  Settle();
  CheckRecorder item;
  item.m_nID = ID_VIEW_TOOLBAR;
  item.DoUpdate(book, FALSE);
  EXPECT_EQ(item.check, 1);
  book->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR);
  Settle();
  EXPECT_FALSE(bar->IsWindowVisible());
  item.DoUpdate(book, FALSE);
  EXPECT_EQ(item.check, 0);
  book->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR);
  Settle();
  EXPECT_TRUE(bar->IsWindowVisible());
  // Without a status bar the item is left to others: nobody checks it.
  CheckRecorder status;
  status.m_nID = ID_VIEW_STATUS_BAR;
  status.DoUpdate(book, FALSE);
  EXPECT_EQ(status.check, -1);
}

TEST_F(WorkbookTest, Screenshot) {
  ClientWidth(600);
  const char* labels[] = {"Summary", "January figures and their corrections", "abc", "Notes"};
  SECWorksheet* sheets[4];
  for (int i = 0; i < 4; ++i) ASSERT_NE(sheets[i] = NewSheet(labels[i]), nullptr);
  SECControlBar* bar = MakeBar(book, ID_TEST_BAR_A, "Tools", CSize(160, 60));
  ASSERT_NE(bar, nullptr);
  bar->m_dwExStyle |= CBRS_EX_ALLOW_MDI_FLOAT;
  book->DockControlBar(bar, AFX_IDW_DOCKBAR_TOP);
  const auto icon = static_cast<HICON>(
      ::LoadImage(TestModule(), MAKEINTRESOURCE(IDI_TEST_BAR), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
  bar->SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  book->FloatControlBarInMDIChild(bar, CPoint(-1, -1));
  Settle();
  book->MDIActivate(sheets[0]);
  book->MDICascade();
  book->MDIActivate(sheets[0]);
  Settle();
  Shot("workbook.png");
  if (book->m_hWnd) book->DestroyWindow();
  book = nullptr;
  Settle();
  ::DestroyIcon(icon);
}

TEST_F(WorkbookTest, ASheetUnderAFrameThatIsNoWorkbookIsAPlainChild) {
  auto* mdi = new SECMDIFrameWnd;  // deletes itself with its window
  ASSERT_TRUE(mdi->Create(nullptr, "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(60, 60, 500, 400)));
  auto* sheet = new SECWorksheet;
  ASSERT_TRUE(sheet->LoadFrame(IDR_TEST_SHEET, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, mdi));
  Settle();
  EXPECT_EQ(sheet->GetWorkbook(), nullptr);
  EXPECT_EQ(sheet->m_hIcon, nullptr);
  EXPECT_EQ(mdi->MDIGetActive(), sheet);
  sheet->ShowWindow(SW_HIDE);
  sheet->OnUpdateFrameMenu(TRUE, sheet, nullptr);
  sheet->DestroyWindow();
  Settle();
  mdi->DestroyWindow();
  Settle();
}

}  // namespace
}  // namespace framework_test
