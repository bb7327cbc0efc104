#include "UserToolsDlg.h"

#include <algorithm>

#include "control/VexAppIcon.h"
#include "controls/SECBrowseEdit.h"
#include "controls/SECResourceIds.h"
#include "controls/SECUserTool.h"
#include "controls/SECUserTools.h"

BEGIN_MESSAGE_MAP(CUserToolsDlg, CDialog)
ON_BN_CLICKED(CUserToolsDlg::kAdd, OnAdd)
ON_BN_CLICKED(CUserToolsDlg::kDelete, OnDelete)
ON_BN_CLICKED(CUserToolsDlg::kMoveUp, OnMoveUp)
ON_BN_CLICKED(CUserToolsDlg::kMoveDown, OnMoveDown)
ON_LBN_SELCHANGE(CUserToolsDlg::kList, OnSelChange)
ON_EN_CHANGE(CUserToolsDlg::kTitle, OnTitleChange)
ON_EN_KILLFOCUS(CUserToolsDlg::kTitle, OnTitleKillFocus)
END_MESSAGE_MAP()

namespace {
CString Text(UINT id) {
  CString s;
  s.LoadString(id);
  return s;
}
}  // namespace

CUserToolsDlg::CUserToolsDlg(CWnd* pParent)
    : CDialog(IDD, pParent),
      m_pCommandEdit(std::make_unique<SECBrowseFileEdit>()),
      m_pDirectoryEdit(std::make_unique<SECBrowseDirEdit>()) {}

CUserToolsDlg::~CUserToolsDlg() = default;

SECUserTool* CUserToolsDlg::ToolAt(int line) const {
  if (!m_listTools.GetSafeHwnd() || line < 0 || line >= m_listTools.GetCount()) return nullptr;
  return reinterpret_cast<SECUserTool*>(m_listTools.GetItemData(line));
}

BOOL CUserToolsDlg::OnInitDialog() {
  m_pCommandEdit->SetTitle(Text(IDS_SEC_SELECT_PROGRAM));
  m_pCommandEdit->SetFilter(Text(IDS_SEC_PROGRAM_FILTER));
  m_pDirectoryEdit->SetTitle(Text(IDS_SEC_SELECT_INITIAL_DIR));
  m_pCommandEdit->Initialize(kCommand, this);
  m_pDirectoryEdit->Initialize(kDirectory, this);
  CDialog::OnInitDialog();
  SetWindowText("Property");
  SetAppIcon(*this);
  CenterWindow();
  return TRUE;
}

void CUserToolsDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, kList, m_listTools);
  if (!pDX->m_bSaveAndValidate) {
    if (m_bLoaded) return;
    m_bLoaded = true;
    for (INT_PTR i = 0; m_pTools && i < m_pTools->GetSize(); ++i) {
      auto* tool = dynamic_cast<SECUserTool*>(m_pTools->GetAt(i));
      if (!tool) continue;
      m_copies.emplace_back(tool->Clone());
      const int line = m_listTools.AddString(m_copies.back()->m_strMenuText);
      m_listTools.SetItemData(line, reinterpret_cast<DWORD_PTR>(m_copies.back().get()));
    }
    if (m_listTools.GetCount() > 0) {
      m_listTools.SetCurSel(0);
      ShowSelection();
    }
    UpdateControls();
    return;
  }
  // OK: the array gets the copies, in the list's order.
  StoreEdits();
  m_pCurrent = nullptr;
  if (!m_pTools) return;
  ClearUserTools(m_pTools);
  for (int line = 0; line < m_listTools.GetCount(); ++line) {
    SECUserTool* tool = ToolAt(line);
    auto owned = std::find_if(m_copies.begin(), m_copies.end(), [tool](const auto& p) { return p.get() == tool; });
    if (owned == m_copies.end()) continue;
    m_pTools->Add(owned->release());
  }
  m_copies.clear();
}

void CUserToolsDlg::OnOK() {
  m_bEnding = true;
  CDialog::OnOK();
}

void CUserToolsDlg::OnCancel() {
  m_bEnding = true;
  m_pCurrent = nullptr;
  m_copies.clear();
  CDialog::OnCancel();
}

void CUserToolsDlg::StoreEdits() {
  if (!m_pCurrent) return;
  GetDlgItemText(kCommand, m_pCurrent->m_strCommand);
  GetDlgItemText(kArguments, m_pCurrent->m_strArguments);
  GetDlgItemText(kDirectory, m_pCurrent->m_strDirectory);
}

void CUserToolsDlg::ShowSelection() {
  StoreEdits();
  m_pCurrent = ToolAt(m_listTools.GetCurSel());
  m_bFilling = true;
  SetDlgItemText(kTitle, m_pCurrent ? m_pCurrent->m_strMenuText : CString());
  SetDlgItemText(kCommand, m_pCurrent ? m_pCurrent->m_strCommand : CString());
  SetDlgItemText(kArguments, m_pCurrent ? m_pCurrent->m_strArguments : CString());
  SetDlgItemText(kDirectory, m_pCurrent ? m_pCurrent->m_strDirectory : CString());
  m_bFilling = false;
  UpdateControls();
}

void CUserToolsDlg::UpdateControls() {
  const int count = m_listTools.GetCount();
  const int selected = m_listTools.GetCurSel();
  const bool any = selected != LB_ERR;
  auto enable = [this](int id, bool on) {
    if (CWnd* item = GetDlgItem(id)) item->EnableWindow(on ? TRUE : FALSE);
  };
  enable(kAdd, count < kMaxTools);
  enable(kDelete, any);
  enable(kMoveUp, any && selected > 0);
  enable(kMoveDown, any && selected < count - 1);
  for (int id = kCommand; id <= 43090; ++id) enable(id, any);
}

void CUserToolsDlg::OnSelChange() { ShowSelection(); }

void CUserToolsDlg::OnTitleChange() {
  const int line = m_listTools.GetCurSel();
  SECUserTool* tool = ToolAt(line);
  if (m_bFilling || !tool) return;
  GetDlgItemText(kTitle, tool->m_strMenuText);
  // The line is replaced in place as each key is typed.
  m_listTools.SetRedraw(FALSE);
  m_listTools.InsertString(line, tool->m_strMenuText);
  m_listTools.SetItemData(line, reinterpret_cast<DWORD_PTR>(tool));
  m_listTools.DeleteString(static_cast<UINT>(line + 1));
  m_listTools.SetCurSel(line);
  m_listTools.SetRedraw(TRUE);
  m_listTools.Invalidate();
}

void CUserToolsDlg::OnTitleKillFocus() {
  CString title;
  GetDlgItemText(kTitle, title);
  if (m_bEnding || !title.IsEmpty() || m_listTools.GetCurSel() == LB_ERR) return;
  AfxMessageBox(Text(62564), MB_OK);
  if (CWnd* edit = GetDlgItem(kTitle)) edit->SetFocus();
}

void CUserToolsDlg::OnAdd() {
  if (m_listTools.GetCount() >= kMaxTools) return;
  auto tool = std::make_unique<SECUserTool>();
  tool->m_strMenuText = Text(62563);
  const int line = m_listTools.AddString(tool->m_strMenuText);
  m_listTools.SetItemData(line, reinterpret_cast<DWORD_PTR>(tool.get()));
  m_copies.push_back(std::move(tool));
  m_listTools.SetCurSel(line);
  ShowSelection();
  if (auto* edit = static_cast<CEdit*>(GetDlgItem(kTitle))) {
    edit->SetFocus();
    edit->SetSel(0, -1);
  }
}

void CUserToolsDlg::OnDelete() {
  const int line = m_listTools.GetCurSel();
  SECUserTool* tool = ToolAt(line);
  if (!tool) return;
  // The fields typed for the deleted tool go with it.
  m_pCurrent = nullptr;
  m_listTools.DeleteString(static_cast<UINT>(line));
  m_copies.erase(std::remove_if(m_copies.begin(), m_copies.end(), [tool](const auto& p) { return p.get() == tool; }),
                 m_copies.end());
  const int count = m_listTools.GetCount();
  if (count > 0) m_listTools.SetCurSel(std::min(line, count - 1));
  ShowSelection();
}

void CUserToolsDlg::OnMoveUp() { Move(-1); }
void CUserToolsDlg::OnMoveDown() { Move(1); }

void CUserToolsDlg::Move(int by) {
  const int line = m_listTools.GetCurSel();
  SECUserTool* tool = ToolAt(line);
  const int to = line + by;
  if (!tool || to < 0 || to >= m_listTools.GetCount()) return;
  CString text;
  m_listTools.GetText(line, text);
  m_listTools.SetRedraw(FALSE);
  m_listTools.DeleteString(static_cast<UINT>(line));
  const int at = to >= m_listTools.GetCount() ? m_listTools.AddString(text) : m_listTools.InsertString(to, text);
  m_listTools.SetItemData(at, reinterpret_cast<DWORD_PTR>(tool));
  m_listTools.SetCurSel(at);
  m_listTools.SetRedraw(TRUE);
  m_listTools.Invalidate();
  ShowSelection();
}
