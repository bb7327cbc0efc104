// Property sheets: pages made on first showing, switching with the front page's
// consent, OK applying every page that was shown, Apply keeping the sheet open.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ModuleRegistry.h"
#include "afxdlgs.h"
#include "frame_ids.h"

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

}  // namespace
