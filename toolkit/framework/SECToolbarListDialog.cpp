#include "SECToolbarListDialog.h"

#include "controls/SECResourceIds.h"
#include "controls/SECToolBarManager.h"

namespace {
const UINT g_nBarNotify = SECToolBarManager::BarNotifyMessage();
}  // namespace

BEGIN_MESSAGE_MAP(SECToolbarListDialog, CDialog)
  ON_LBN_SELCHANGE(IDC_SEC_TOOLBAR_LIST, OnSelChange)
  ON_CLBN_CHKCHANGE(IDC_SEC_TOOLBAR_LIST, OnCheckChange)
  ON_EN_KILLFOCUS(IDC_SEC_TOOLBAR_NAME, OnNameKillFocus)
  ON_REGISTERED_MESSAGE(g_nBarNotify, OnBarNotify)
  ON_BN_CLICKED(IDC_SEC_TOOLBAR_NEW, OnNew)
  ON_BN_CLICKED(IDC_SEC_TOOLBAR_CUSTOMIZE, OnCustomize)
  ON_BN_CLICKED(IDC_SEC_TOOLBAR_RESET, OnReset)
  ON_BN_CLICKED(IDC_SEC_TOOLTIPS, OnToolTips)
  ON_BN_CLICKED(IDC_SEC_COOL_LOOK, OnStyleCheck)
  ON_BN_CLICKED(IDC_SEC_LARGE_BUTTONS, OnStyleCheck)
  ON_WM_ACTIVATE()
  ON_MESSAGE(WM_FLOATSTATUS, OnFloatStatus)
  ON_WM_DESTROY()
END_MESSAGE_MAP()

SECToolbarListDialog::SECToolbarListDialog(SECToolBarManager* pManager, CWnd* pParent)
    : CDialog(IDD_SEC_TOOLBARLIST, pParent), m_pManager(pManager) {
  if (m_pManager) {
    m_bToolTips = m_pManager->ToolTipsEnabled();
    m_bCoolLook = m_pManager->CoolLookEnabled();
    m_bLargeButtons = m_pManager->LargeButtonsEnabled();
  }
}

void SECToolbarListDialog::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Check(pDX, IDC_SEC_TOOLTIPS, m_bToolTips);
  DDX_Check(pDX, IDC_SEC_COOL_LOOK, m_bCoolLook);
  DDX_Check(pDX, IDC_SEC_LARGE_BUTTONS, m_bLargeButtons);
}

BOOL SECToolbarListDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  m_handler.Attach(m_pManager, this);
  if (m_pManager) {
    m_pManager->AddListener(this);
    // The frame, disabled for this modal dialog, takes button drags again.
    m_pManager->EnterConfigMode();
    m_pManager->SetConfigFocus(this);
    m_pManager->SetConfigDialog(this);
  }
  return TRUE;
}

void SECToolbarListDialog::LeaveCustomising() {
  if (!m_pManager || m_bEnded) return;
  m_bEnded = TRUE;
  m_pManager->ExitConfigMode();
  m_pManager->SetConfigFocus(nullptr);
  m_pManager->RemoveListener(this);
  m_pManager->SetConfigDialog(nullptr);
}

void SECToolbarListDialog::End(int nCode) {
  LeaveCustomising();
  if (nCode != IDCANCEL) ApplySettings();
  EndDialog(nCode);
}

void SECToolbarListDialog::ApplySettings() {
  if (!m_pManager || !UpdateData(TRUE)) return;
  m_pManager->EnableToolTips(m_bToolTips);
  m_pManager->EnableCoolLook(m_bCoolLook, CBRS_EX_COOL | CBRS_EX_GRIPPER);
  m_pManager->EnableLargeButtons(m_bLargeButtons);
}

void SECToolbarListDialog::OnNew() {
  if (m_handler.NewToolBar()) End(IDC_SEC_TOOLBAR_CUSTOMIZE);
}

void SECToolbarListDialog::OnCustomize() { End(IDC_SEC_TOOLBAR_CUSTOMIZE); }

void SECToolbarListDialog::OnToolTips() {
  ApplySettings();
  if (m_pManager) m_pManager->EnableToolTips(IsDlgButtonChecked(IDC_SEC_TOOLTIPS) == BST_CHECKED);
}

void SECToolbarListDialog::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
  CDialog::OnActivate(nState, pWndOther, bMinimized);
  // The floating toolbars look active while the dialog is.
  CFrameWnd* frame = m_pManager ? m_pManager->GetFrameWnd() : nullptr;
  if (frame && frame->m_hWnd) frame->NotifyFloatingWindows(nState != WA_INACTIVE ? FS_ACTIVATE : FS_DEACTIVATE);
}

LRESULT SECToolbarListDialog::OnFloatStatus(WPARAM wParam, LPARAM) {
  if (wParam & (FS_ACTIVATE | FS_DEACTIVATE)) SendMessage(WM_NCACTIVATE, (wParam & FS_ACTIVATE) != 0);
  return TRUE;
}

void SECToolbarListDialog::OnDestroy() {
  LeaveCustomising();  // gone without ending (its owner went first)
  CDialog::OnDestroy();
}
