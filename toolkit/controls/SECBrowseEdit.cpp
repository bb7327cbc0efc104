#include "SECBrowseEdit.h"

#include <crt.h>

#include "SECAuxData.h"
#include "SECDirSelectDlg.h"
#include "SECFileSystem.h"
#include "SECResourceIds.h"

// ---- the edit

IMPLEMENT_DYNAMIC(SECBrowseEditBase, CEdit)

BEGIN_MESSAGE_MAP(SECBrowseEditBase, CEdit)
  ON_WM_ENABLE()
  ON_WM_SHOWWINDOW()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

// The highest child id from 0x7FFF down to 2 that the parent does not use; 1 when all are.
UINT FreeChildId(HWND parent) {
  for (UINT id = 0x7FFF; id >= 2; --id)
    if (!::GetDlgItem(parent, static_cast<int>(id))) return id;
  return 1;
}

}  // namespace

SECBrowseEditBase::~SECBrowseEditBase() {
  // The edit object can go before its window: its button goes with it.
  if (m_pButton) {
    m_pButton->m_pEdit = nullptr;
    if (m_pButton->m_hWnd) m_pButton->DestroyWindow();  // deletes the button
    m_pButton = nullptr;
  }
}

BOOL SECBrowseEditBase::Initialize(UINT nID, CWnd* pParent) {
  if (!pParent || m_hWnd) return FALSE;
  HWND item = ::GetDlgItem(pParent->GetSafeHwnd(), static_cast<int>(nID));
  if (!item) return FALSE;
  BOOL enabled = ::IsWindowEnabled(item);
  if (!SubclassDlgItem(nID, pParent)) return FALSE;

  CRect edit;
  GetWindowRect(&edit);
  pParent->ScreenToClient(&edit);
  SetWindowPos(nullptr, 0, 0, edit.Width() - 26, edit.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  CRect button(edit.right - 25, edit.top, edit.right, edit.bottom);

  m_pButton = new SECBrowseButton(this);  // owned by its window from here on
  if (!m_pButton->Create(button, pParent, FreeChildId(pParent->GetSafeHwnd()))) {
    if (m_pButton) {  // a window that was never made leaves the object to us
      m_pButton->m_pEdit = nullptr;
      delete m_pButton;
      m_pButton = nullptr;
    }
    return TRUE;
  }
  m_pButton->SetWindowPos(this, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  m_pButton->EnableWindow(enabled);
  return TRUE;
}

void SECBrowseEditBase::OnEnable(BOOL bEnable) {
  CEdit::OnEnable(bEnable);
  if (m_pButton && m_pButton->m_hWnd) m_pButton->EnableWindow(bEnable);
}

void SECBrowseEditBase::OnShowWindow(BOOL bShow, UINT nStatus) {
  CEdit::OnShowWindow(bShow, nStatus);
  if (m_pButton && m_pButton->m_hWnd) m_pButton->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
}

void SECBrowseEditBase::OnDestroy() {
  if (m_pButton && m_pButton->m_hWnd) m_pButton->DestroyWindow();
  CEdit::OnDestroy();
}

BOOL SECBrowseEditBase::IsDirectory(CString path) {
  if (!path.IsEmpty() && path[path.GetLength() - 1] == '\\') path.Delete(path.GetLength() - 1);
  // A drive alone is its root folder.
  if (!path.IsEmpty() && path[path.GetLength() - 1] == ':') path += '\\';
  struct _stat status;
  return _stat(path, &status) == 0 && (status.st_mode & _S_IFDIR) != 0;
}

// ---- the button

IMPLEMENT_DYNAMIC(SECBrowseButton, CButton)

SECBrowseButton::~SECBrowseButton() {
  if (m_pEdit && m_pEdit->m_pButton == this) m_pEdit->m_pButton = nullptr;
}

BOOL SECBrowseButton::Create(const RECT& rect, CWnd* pParent, UINT nID) {
  m_nID = nID;
  if (!CButton::Create("...", WS_CHILD | WS_VISIBLE | WS_TABSTOP, rect, pParent, nID)) return FALSE;
  // The dialog's font, not the system font: the button sits among the dialog's controls.
  if (m_pEdit) SetFont(m_pEdit->GetFont(), FALSE);
  return TRUE;
}

BOOL SECBrowseButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message == WM_COMMAND && LOWORD(wParam) == m_nID && HIWORD(wParam) == BN_CLICKED) {
    if (m_pEdit) m_pEdit->OnBrowse();
    if (pResult) *pResult = 0;
    return TRUE;
  }
  return CButton::OnChildNotify(message, wParam, lParam, pResult);
}

void SECBrowseButton::PostNcDestroy() { delete this; }

// ---- the folder edit

IMPLEMENT_DYNAMIC(SECBrowseDirEdit, SECBrowseEditBase)

SECBrowseDirEdit::SECBrowseDirEdit() { m_strTitle.LoadString(IDS_SEC_SELECT_DIRECTORY); }

void SECBrowseDirEdit::SetBrowseFlags(WORD wFlags) {
  m_wFlags = static_cast<WORD>(m_wFlags & ~0x3);
  if (!IsWindows4OrLater()) m_wFlags |= 0x1;
  m_wFlags |= wFlags;
}

void SECBrowseDirEdit::OnBrowse() {
  CString folder;
  GetWindowText(folder);
  if (!folder.IsEmpty() && !IsDirectory(folder)) folder.Empty();
  SECDirSelectDlg dialog(m_wFlags, m_strTitle, folder, GetParent());
  if (dialog.DoModal() != IDOK) return;
  CString chosen;
  dialog.GetPath(chosen);
  SetWindowText(chosen);
}

// ---- the file edit

IMPLEMENT_DYNAMIC(SECBrowseFileEdit, SECBrowseEditBase)

SECBrowseFileEdit::SECBrowseFileEdit() { m_strTitle.LoadString(IDS_SEC_SELECT_FILE); }

void SECBrowseFileEdit::OnBrowse() {
  SECFileSystem fs;
  const BOOL keepFolder = (m_dwFlags & OFN_NOCHANGEDIR) != 0;
  CString current;
  if (keepFolder) current = fs.GetFullPath("");

  CString start = m_strInitialFile.IsEmpty() ? CString() : m_strInitialFile;
  if (start.IsEmpty()) GetWindowText(start);
  // A folder opens the dialog there. It is handed to the dialog as its starting folder
  // rather than made current: the current folder belongs to the whole program.
  CString startFolder;
  if (!start.IsEmpty()) {
    if (IsDirectory(start)) {
      startFolder = start;
      if (startFolder[startFolder.GetLength() - 1] == ':') startFolder += '\\';
      start.Empty();
    } else if (!fs.FileExists(start)) {
      start.Empty();
    }
  }

  CFileDialog dialog(TRUE, m_strDefaultExt.IsEmpty() ? nullptr : static_cast<LPCSTR>(m_strDefaultExt),
                     start.IsEmpty() ? nullptr : static_cast<LPCSTR>(start), m_dwFlags, m_strFilter, this);
  dialog.m_ofn.lpstrTitle = m_strTitle;
  if (!startFolder.IsEmpty()) dialog.m_ofn.lpstrInitialDir = startFolder;
  if (dialog.DoModal() == IDOK) SetWindowText(dialog.GetPathName());
  if (keepFolder && !current.IsEmpty()) ::SetCurrentDirectory(current);
}
