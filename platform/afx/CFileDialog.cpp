#include "afxwin.h"

#include "CFileDialog.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CFileDialog, CDialog)

namespace {
// The object whose dialog is being made on this thread; its hook attaches it.
thread_local CFileDialog* t_starting = nullptr;
}  // namespace

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt, LPCSTR lpszFileName, DWORD dwFlags,
                         LPCSTR lpszFilter, CWnd* pParentWnd)
    : CDialog(static_cast<LPCSTR>(nullptr), pParentWnd), m_bOpenFileDialog(bOpenFileDialog) {
  m_ofn.lStructSize = sizeof m_ofn;
  m_ofn.hInstance = AfxGetResourceHandle();
  m_ofn.lpstrFile = m_szFileName;
  m_ofn.nMaxFile = sizeof m_szFileName;
  m_ofn.lpstrFileTitle = m_szFileTitle;
  m_ofn.nMaxFileTitle = sizeof m_szFileTitle;
  m_ofn.Flags = dwFlags | OFN_EXPLORER;
  if (lpszDefExt) {
    m_strDefExt = lpszDefExt;
    m_ofn.lpstrDefExt = m_strDefExt.c_str();
  }
  if (lpszFileName) std::strncpy(m_szFileName, lpszFileName, sizeof m_szFileName - 1);
  if (lpszFilter) {
    m_strFilter = lpszFilter;
    for (char& c : m_strFilter)
      if (c == '|') c = '\0';
    m_strFilter.push_back('\0');  // the list ends with two NULs even without a final '|'
    m_ofn.lpstrFilter = m_strFilter.c_str();
  }
}

int CFileDialog::DoModal() {
  plat::afx::ModalOwner owner(m_pParentWnd);
  m_ofn.hwndOwner = owner.Hwnd();
  // The framework's own hook attaches the object; a caller's hook is not kept.
  m_ofn.Flags |= OFN_ENABLEHOOK;
  m_ofn.lpfnHook = &HookProc;
  t_starting = this;
  BOOL chosen = m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
  t_starting = nullptr;
  if (m_hWnd) Detach();  // the window has gone with the dialog
  return chosen ? IDOK : IDCANCEL;
}

UINT_PTR CALLBACK CFileDialog::HookProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    CFileDialog* self = t_starting;
    t_starting = nullptr;
    if (!self || !self->SubclassWindow(hWnd)) return TRUE;
    return self->OnInitDialog();
  }
  auto* self = dynamic_cast<CFileDialog*>(CWnd::FromHandlePermanent(hWnd));
  if (!self) return FALSE;
  static const UINT fileOk = ::RegisterWindowMessageA(FILEOKSTRINGA);
  if (message == fileOk) return self->OnFileNameOK() ? 1 : 0;
  if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == CDN_FILEOK) {
    LONG_PTR keepOpen = self->OnFileNameOK() ? 1 : 0;
    ::SetWindowLongPtrA(hWnd, DWLP_MSGRESULT, keepOpen);
    return 1;
  }
  return FALSE;
}

BOOL CFileDialog::OnFileNameOK() { return FALSE; }

void CFileDialog::OnOK() { Default(); }

void CFileDialog::OnCancel() { Default(); }

CString CFileDialog::GetPathName() const { return CString(m_ofn.lpstrFile); }

CString CFileDialog::GetFileName() const {
  const char* path = m_ofn.lpstrFile;
  size_t length = std::strlen(path);
  return CString(path + (m_ofn.nFileOffset <= length ? m_ofn.nFileOffset : length));
}

CString CFileDialog::GetFileExt() const {
  const char* path = m_ofn.lpstrFile;
  size_t length = std::strlen(path);
  if (m_ofn.nFileExtension == 0 || m_ofn.nFileExtension > length) return CString();
  return CString(path + m_ofn.nFileExtension);
}

CString CFileDialog::GetFileTitle() const {
  CString name = GetFileName();
  int dot = name.ReverseFind('.');
  return dot < 0 ? name : name.Left(dot);
}
