#include "SECToolbarListPage.h"

#include "controls/SECResourceIds.h"
#include "controls/SECToolBarManager.h"

namespace {
const UINT g_nBarNotify = SECToolBarManager::BarNotifyMessage();
}  // namespace

BEGIN_MESSAGE_MAP(SECToolbarListPage, CPropertyPage)
  ON_LBN_SELCHANGE(IDC_SEC_TOOLBAR_LIST, OnSelChange)
  ON_CLBN_CHKCHANGE(IDC_SEC_TOOLBAR_LIST, OnCheckChange)
  ON_EN_KILLFOCUS(IDC_SEC_TOOLBAR_NAME, OnNameKillFocus)
  ON_REGISTERED_MESSAGE(g_nBarNotify, OnBarNotify)
  ON_BN_CLICKED(IDC_SEC_TOOLBAR_NEW, OnNew)
  ON_BN_CLICKED(IDC_SEC_TOOLBAR_RESET, OnReset)
  ON_BN_CLICKED(IDC_SEC_TOOLTIPS, OnToolTips)
  ON_BN_CLICKED(IDC_SEC_COOL_LOOK, OnCoolLook)
  ON_BN_CLICKED(IDC_SEC_LARGE_BUTTONS, OnLargeButtons)
  ON_WM_DESTROY()
END_MESSAGE_MAP()

SECToolbarListPage::SECToolbarListPage(SECToolBarManager* pManager)
    : CPropertyPage(IDD_SEC_TOOLBARLIST_PAGE), m_pManager(pManager) {}

BOOL SECToolbarListPage::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  m_handler.Attach(m_pManager, this);
  if (m_pManager) {
    m_pManager->AddListener(this);
    CheckDlgButton(IDC_SEC_TOOLTIPS, m_pManager->ToolTipsEnabled() ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_SEC_COOL_LOOK, m_pManager->CoolLookEnabled() ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_SEC_LARGE_BUTTONS, m_pManager->LargeButtonsEnabled() ? BST_CHECKED : BST_UNCHECKED);
  }
  return TRUE;
}

void SECToolbarListPage::OnToolTips() {
  if (m_pManager) m_pManager->EnableToolTips(IsDlgButtonChecked(IDC_SEC_TOOLTIPS) == BST_CHECKED);
}

void SECToolbarListPage::OnCoolLook() {
  if (m_pManager)
    m_pManager->EnableCoolLook(IsDlgButtonChecked(IDC_SEC_COOL_LOOK) == BST_CHECKED, CBRS_EX_COOL | CBRS_EX_GRIPPER);
  BroadcastStyleChange(2);
}

void SECToolbarListPage::OnLargeButtons() {
  if (m_pManager) m_pManager->EnableLargeButtons(IsDlgButtonChecked(IDC_SEC_LARGE_BUTTONS) == BST_CHECKED);
  BroadcastStyleChange(1);
}

void SECToolbarListPage::BroadcastStyleChange(WPARAM nWhat) {
  CWnd* parent = GetParent();
  if (!parent) return;
  for (CWnd* sibling = parent->GetWindow(GW_CHILD); sibling; sibling = sibling->GetNextWindow()) {
    if (sibling->m_hWnd == m_hWnd) continue;
    if (CWnd* page = CWnd::FromHandlePermanent(sibling->m_hWnd); page && page->IsKindOf(RUNTIME_CLASS(CPropertyPage)))
      page->SendMessage(SECToolbarStyleChangingMessage(), nWhat);
  }
}

void SECToolbarListPage::OnDestroy() {
  if (m_pManager) m_pManager->RemoveListener(this);
  CPropertyPage::OnDestroy();
}
