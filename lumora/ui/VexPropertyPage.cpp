#include "VexPropertyPage.h"

#include "VexMainControlView.h"

namespace {
CVexMainControlView* g_panel = nullptr;
}  // namespace

CVexPropertyPage::CVexPropertyPage(UINT nIDTemplate, UINT nIDIcon) : CPropertyPage(nIDTemplate) {
  // The tab shows the icon by handle.
  if (CWinApp* app = AfxGetApp()) {
    m_psp.hIcon = app->LoadIcon(nIDIcon);
    if (m_psp.hIcon) m_psp.dwFlags |= PSP_USEHICON;
  }
}

// A pointer left behind by a panel that is gone would reach a dead window.
CVexPropertyPage::~CVexPropertyPage() {
  if (g_panel == m_pPanel) g_panel = nullptr;
}

CVexMainControlView* CVexPropertyPage::Panel() { return g_panel; }

void CVexPropertyPage::PublishPanel() { g_panel = m_pPanel; }

bool CVexPropertyPage::Initialising() { return !g_panel || g_panel->IsInitialising(); }

bool CVexPropertyPage::RefillEmpty(int id, int value) {
  CWnd* edit = GetDlgItem(id);
  if (!edit || edit->GetWindowTextLength() != 0) return false;
  CString text;
  text.Format("%d", value);
  edit->SetWindowText(text);
  return true;
}
