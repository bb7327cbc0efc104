// Property sheets: pages made on first showing, switching with the front page's
// consent, OK applying every page that was shown, Apply keeping the sheet open.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ModuleRegistry.h"
#include "TestEnv.h"
#include "display/Png.h"
#include "afxdlgs.h"
#include "frame_ids.h"
#include "user/Driver.h"
#include "user/Responder.h"

namespace {

HINSTANCE Resources() {
  static HMODULE m = plat::RegisterModule(plat::ModuleSpec{"FrameRes.dll", "C:\\Lumora", {}, {}, true});
  return reinterpret_cast<HINSTANCE>(m);
}

std::vector<std::string> g_log;

class CNamePage : public CPropertyPage {
 public:
  CNamePage() : CPropertyPage(IDD_PAGE1) {}
  CString name = "first";
  BOOL refuse = FALSE;  // validation fails while set
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Text(pDX, IDC_NAME, name);
    if (refuse) pDX->Fail();
  }
  BOOL OnSetActive() override { return g_log.push_back("name:set"), CPropertyPage::OnSetActive(); }
  BOOL OnKillActive() override { return g_log.push_back("name:kill"), CPropertyPage::OnKillActive(); }
  void OnOK() override { g_log.push_back("name:ok"); }
  void OnCancel() override { g_log.push_back("name:cancel"); }
};

class COptionsPage : public CPropertyPage {
 public:
  COptionsPage() : CPropertyPage(IDD_PAGE2) {}
  int check = 0;
  void DoDataExchange(CDataExchange* pDX) override { DDX_Check(pDX, IDC_CHECK, check); }
  BOOL OnSetActive() override { return g_log.push_back("options:set"), CPropertyPage::OnSetActive(); }
  BOOL OnApply() override { return g_log.push_back("options:apply"), CPropertyPage::OnApply(); }
  void OnOK() override { g_log.push_back("options:ok"); }
  void OnCancel() override { g_log.push_back("options:cancel"); }
};

// Runs `script` once the sheet is up, from inside its modal loop.
class CScriptedSheet : public CPropertySheet {
 public:
  CScriptedSheet() : CPropertySheet("Settings") {}
  std::function<void(CScriptedSheet&)> script;
  BOOL OnInitDialog() override {
    BOOL result = CPropertySheet::OnInitDialog();
    PostMessage(WM_APP);
    return result;
  }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_APP && script) {
      script(*this);
      return 0;
    }
    return CPropertySheet::WindowProc(message, wParam, lParam);
  }
  void Press(int id) { SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(m_hWnd, id))); }
};

class PropertySheet : public ::testing::Test {
 protected:
  void SetUp() override {
    plat::user::responder::Reset();
    AfxSetResourceHandle(Resources());
    plat::afx::SetMessageBoxHook([](HWND, LPCSTR, LPCSTR, UINT) -> int { return IDOK; });
    g_log.clear();
    sheet.AddPage(&name);
    sheet.AddPage(&options);
  }
  void TearDown() override {
    plat::afx::SetMessageBoxHook(nullptr);
    AfxSetResourceHandle(nullptr);
  }
  CNamePage name;
  COptionsPage options;
  CScriptedSheet sheet;
};

TEST_F(PropertySheet, PagesAreMadeOnFirstShowingAndOkAppliesThem) {
  sheet.script = [&](CScriptedSheet& s) {
    CTabCtrl* tab = s.GetTabControl();
    ASSERT_NE(tab, nullptr);
    EXPECT_EQ(tab->GetItemCount(), 2);
    char text[32] = "";
    TCITEM item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    tab->GetItem(1, &item);
    EXPECT_STREQ(text, "Options");  // the page template's caption
    EXPECT_NE(name.m_hWnd, nullptr);
    EXPECT_EQ(options.m_hWnd, nullptr);
    name.SetDlgItemText(IDC_NAME, "second");
    EXPECT_TRUE(s.SetActivePage(&options));
    EXPECT_EQ(s.GetActiveIndex(), 1);
    EXPECT_EQ(tab->GetCurSel(), 1);
    EXPECT_NE(options.m_hWnd, nullptr);
    EXPECT_FALSE(name.GetStyle() & WS_VISIBLE);  // the sheet itself shows once its loop idles
    EXPECT_TRUE(options.GetStyle() & WS_VISIBLE);
    EXPECT_EQ(options.GetStyle() & (WS_DISABLED | WS_CAPTION), 0u);  // as its template had them
    // The sheet holds the larger page whole.
    CRect page, display;
    options.GetWindowRect(&page);
    tab->GetWindowRect(&display);
    tab->AdjustRect(FALSE, &display);
    EXPECT_TRUE(display.PtInRect(page.TopLeft()));
    EXPECT_GE(display.right, page.right);
    EXPECT_GE(display.bottom, page.bottom);
    options.CheckDlgButton(IDC_CHECK, BST_CHECKED);
    s.Press(IDOK);
  };
  EXPECT_EQ(sheet.DoModal(), IDOK);
  EXPECT_EQ(name.name, "second");
  EXPECT_EQ(options.check, 1);
  EXPECT_EQ(g_log, (std::vector<std::string>{"name:set", "name:kill", "options:set", "name:ok",
                                             "options:apply", "options:ok"}));
}

TEST_F(PropertySheet, RefusingPageStaysInFrontAndCancelReachesShownPages) {
  sheet.script = [&](CScriptedSheet& s) {
    name.refuse = TRUE;
    EXPECT_FALSE(s.SetActivePage(1));
    EXPECT_EQ(s.GetActiveIndex(), 0);
    EXPECT_EQ(options.m_hWnd, nullptr);
    s.Press(IDOK);  // refused too: the sheet stays up
    EXPECT_NE(s.m_hWnd, nullptr);
    s.Press(IDCANCEL);
  };
  EXPECT_EQ(sheet.DoModal(), IDCANCEL);
  EXPECT_EQ(g_log, (std::vector<std::string>{"name:set", "name:kill", "name:kill", "name:cancel"}));
}

TEST_F(PropertySheet, ApplyKeepsTheSheetOpenAndIsEnabledByAChange) {
  sheet.SetActivePage(1);
  sheet.script = [&](CScriptedSheet& s) {
    EXPECT_EQ(s.GetActivePage(), &options);
    EXPECT_EQ(name.m_hWnd, nullptr);
    CWnd* apply = s.GetDlgItem(ID_APPLY_NOW);
    ASSERT_NE(apply, nullptr);
    EXPECT_FALSE(apply->IsWindowEnabled());
    options.CheckDlgButton(IDC_CHECK, BST_CHECKED);
    options.SetModified();
    EXPECT_TRUE(apply->IsWindowEnabled());
    s.Press(ID_APPLY_NOW);
    EXPECT_EQ(options.check, 1);
    EXPECT_FALSE(options.IsModified());
    EXPECT_FALSE(apply->IsWindowEnabled());
    s.Press(IDCANCEL);
  };
  EXPECT_EQ(sheet.DoModal(), IDCANCEL);
  EXPECT_EQ(g_log, (std::vector<std::string>{"options:set", "options:apply", "options:ok", "options:set",
                                             "options:cancel"}));
}

TEST_F(PropertySheet, ScriptedAnswerDrivesTheModalSheet) {
  namespace responder = plat::user::responder;
  responder::Push([&](const responder::Shown& shown) {
    auto* s = dynamic_cast<CPropertySheet*>(CWnd::FromHandlePermanent(shown.hwnd));
    EXPECT_EQ(s, &sheet);
    if (!s) return 0;
    s->SetActivePage(&options);
    options.CheckDlgButton(IDC_CHECK, BST_CHECKED);
    ::SendMessageA(::GetDlgItem(shown.hwnd, IDOK), BM_CLICK, 0, 0);
    return 0;
  });
  EXPECT_EQ(sheet.DoModal(), IDOK);
  EXPECT_EQ(options.check, 1);
  auto shown = responder::History();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, "Settings");

  responder::FailNextDialog();
  g_log.clear();
  EXPECT_EQ(sheet.DoModal(), -1);
  EXPECT_TRUE(g_log.empty());  // no page was made
}

TEST_F(PropertySheet, ChildSheetHasNoButtonsAndKeepsTheSizeItsParentGives) {
  CWnd panel;
  ASSERT_TRUE(panel.CreateEx(0, nullptr, "panel", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr, nullptr));
  CPropertySheet child(IDS_SHEET);
  name.m_psp.dwFlags |= PSP_USEHICON;
  name.m_psp.hIcon = ::LoadIconA(nullptr, IDI_APPLICATION);
  options.m_psp.dwFlags |= PSP_USEICONID;
  options.m_psp.pszIcon = MAKEINTRESOURCEA(IDI_PAGE);
  CPropertyPage named(IDD_PAGE1, IDS_PROMPT);  // its tab text by string id
  child.AddPage(&name);
  child.AddPage(&options);
  child.AddPage(&named);
  ASSERT_TRUE(child.Create(&panel, WS_CHILD | WS_VISIBLE, WS_EX_CONTROLPARENT));
  EXPECT_EQ(child.GetParent(), &panel);
  CString caption;
  child.GetWindowText(caption);
  EXPECT_EQ(caption, "撮影設定");  // from the string table
  for (int id : {IDOK, IDCANCEL, ID_APPLY_NOW}) EXPECT_EQ(::GetDlgItem(child.m_hWnd, id), nullptr) << id;
  char text[32] = "";
  TCITEM item{};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  ASSERT_TRUE(child.GetTabControl()->GetItem(2, &item));
  EXPECT_STREQ(text, "Really?");
  // The pages with an icon in their header show it on their tab.
  for (int i = 0; i < 3; ++i) {
    TCITEM image{};
    image.mask = TCIF_IMAGE;
    ASSERT_TRUE(child.GetTabControl()->GetItem(i, &image));
    EXPECT_EQ(image.iImage, i < 2 ? i : -1) << i;
  }

  // The parent puts the sheet where it wants it and sizes the tab to match.
  CTabCtrl* tab = child.GetTabControl();
  ASSERT_NE(tab, nullptr);
  CRect sheetRect, tabRect;
  child.GetWindowRect(&sheetRect);
  tab->GetWindowRect(&tabRect);
  CSize extra = sheetRect.Size() - tabRect.Size();
  EXPECT_EQ(extra, CSize(14, 14));  // the margins around the tab, nothing below it
  child.MoveWindow(10, 200, 400, 260);
  tab->SetWindowPos(nullptr, 0, 0, 400 - extra.cx, 260 - extra.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (int i = 0; i < child.GetPageCount(); ++i) EXPECT_TRUE(child.SetActivePage(i));
  EXPECT_TRUE(child.SetActivePage(0));

  child.GetWindowRect(&sheetRect);
  EXPECT_EQ(sheetRect.Size(), CSize(400, 260));  // making the pages moved nothing
  CRect display;
  tab->GetWindowRect(&display);
  EXPECT_EQ(display.Size(), CSize(400 - extra.cx, 260 - extra.cy));
  tab->AdjustRect(FALSE, &display);
  for (CPropertyPage* page : {static_cast<CPropertyPage*>(&name), static_cast<CPropertyPage*>(&options)}) {
    ASSERT_NE(page->m_hWnd, nullptr);
    CRect r;
    page->GetWindowRect(&r);
    EXPECT_EQ(r.TopLeft(), display.TopLeft());
  }
  EXPECT_TRUE(name.IsWindowVisible());
  EXPECT_FALSE(options.IsWindowVisible());

  // The icon of the second page (green on its left half) is drawn on its tab; the third has none.
  child.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  std::string path = testenv::ScratchDir() + "/sheet.png";
  ASSERT_TRUE(plat::display::SavePng(path));
  auto shot = plat::display::ReadPng(path);
  ASSERT_TRUE(shot);
  auto greenIn = [&](int tabIndex) {
    CRect r;
    tab->GetItemRect(tabIndex, &r);
    tab->ClientToScreen(&r);
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += shot->pixels[static_cast<size_t>(y) * shot->width + x] == 0x008000;
    return n;
  };
  EXPECT_GT(greenIn(1), 20);
  EXPECT_EQ(greenIn(2), 0);
  child.DestroyWindow();
  EXPECT_EQ(name.m_hWnd, nullptr);
}

// Clicks and keys on a sheet placed in a window, as a user gives them: the front page's
// controls take them (the pages lie above the tab control), and a click on the tab already
// chosen leaves its page drawn.
TEST_F(PropertySheet, ThePagesTakeClicksAndKeysAndTheChosenTabLeavesItsPageDrawn) {
  namespace driver = plat::user::driver;
  CWnd panel;
  ASSERT_TRUE(panel.CreateEx(0, nullptr, "panel", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr, nullptr));
  CPropertySheet child("Sheet");
  child.AddPage(&name);
  child.AddPage(&options);
  ASSERT_TRUE(child.Create(&panel, WS_CHILD | WS_VISIBLE, WS_EX_CONTROLPARENT));
  for (int i = 0; i < child.GetPageCount(); ++i) ASSERT_TRUE(child.SetActivePage(i));
  driver::WaitIdle();
  auto clickIn = [](const CRect& r) {
    driver::Click(r.left + 4, r.CenterPoint().y);
    driver::WaitIdle();
  };
  CWnd* check = options.GetDlgItem(IDC_CHECK);
  ASSERT_NE(check, nullptr);
  CRect checkRect;
  check->GetWindowRect(&checkRect);
  clickIn(checkRect);
  EXPECT_EQ(check->SendMessage(BM_GETCHECK), BST_CHECKED);

  // The front page's tab clicked: the page stays over the tab's body.
  CTabCtrl* tab = child.GetTabControl();
  auto tabRect = [&](int index) {
    CRect r;
    tab->GetItemRect(index, &r);
    tab->ClientToScreen(&r);
    return r;
  };
  clickIn(tabRect(1));
  EXPECT_EQ(::GetFocus(), tab->m_hWnd);
  const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  int drawn = 0;
  HDC screen = ::GetDC(nullptr);
  for (int y = checkRect.top; y < checkRect.bottom; ++y)
    for (int x = checkRect.left; x < checkRect.right; ++x) drawn += ::GetPixel(screen, x, y) != face;
  ::ReleaseDC(nullptr, screen);
  EXPECT_GT(drawn, 30) << "the check box is still drawn";

  // The other tab, then typing into its edit.
  clickIn(tabRect(0));
  EXPECT_EQ(child.GetActiveIndex(), 0);
  CWnd* edit = name.GetDlgItem(IDC_NAME);
  CRect editRect;
  edit->GetWindowRect(&editRect);
  clickIn(editRect);
  EXPECT_EQ(::GetFocus(), edit->m_hWnd);
  driver::PressKey(VK_END);
  driver::TypeText("42");
  driver::WaitIdle();
  CString text;
  edit->GetWindowText(text);
  EXPECT_EQ(text, "first42");
  child.DestroyWindow();
}

}  // namespace
