#include "SECDirSelectDlg.h"

#include <shlobj.h>

#include "SECResourceIds.h"

IMPLEMENT_DYNAMIC(SECDirSelectDlg, CFileDialog)

namespace {

// Long enough for any folder the drives hold, with the hidden file name after it.
constexpr size_t kFileBuffer = 1024;

// Releases a shell interface when the picker is done with it.
template <class T>
struct Released {
  T* p = nullptr;
  ~Released() {
    if (p) p->Release();
  }
};

}  // namespace

SECDirSelectDlg::SECDirSelectDlg(WORD wOldStyle, LPCSTR lpszTitle, LPCSTR lpszInitialDir, CWnd* pOwner)
    : CFileDialog(FALSE, nullptr, nullptr, OFN_ENABLETEMPLATE | OFN_SHOWHELP | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                  "(nofiles)|NOFILES.$$$||", pOwner),
      m_buffer(kFileBuffer, '\0'),
      m_wOldStyle(wOldStyle),
      m_strTitle(lpszTitle ? lpszTitle : ""),
      m_strInitialDir(lpszInitialDir ? lpszInitialDir : ""),
      m_pOwner(pOwner) {
  m_ofn.Flags &= ~OFN_EXPLORER;
  m_ofn.hInstance = AfxFindResourceHandle(MAKEINTRESOURCE(IDD_SEC_DIRSELECT), RT_DIALOG);
  m_ofn.lpTemplateName = MAKEINTRESOURCE(IDD_SEC_DIRSELECT);
  m_ofn.lpstrTitle = m_strTitle;
  m_ofn.lpstrInitialDir = m_strInitialDir;
  m_ofn.lpstrFile = m_buffer.data();
  m_ofn.nMaxFile = static_cast<DWORD>(m_buffer.size());
}

int SECDirSelectDlg::DoModal() {
  m_strPath.Empty();
  if (!(m_wOldStyle & 0x1)) return BrowseForFolder();
  if (CFileDialog::DoModal() != IDOK) return IDCANCEL;
  // The folder is the path up to the file name the dialog was closed with.
  m_strPath = CString(m_ofn.lpstrFile, m_ofn.nFileOffset);
  return IDOK;
}

BOOL SECDirSelectDlg::OnInitDialog() {
  CFileDialog::OnInitDialog();
  for (int id : {1090, 1152, 1120, 1089, 1136})
    if (CWnd* item = GetDlgItem(id)) item->ShowWindow(SW_HIDE);
  // A file name in the hidden edit lets OK close the dialog on the folder shown.
  CString noClose;
  noClose.LoadString(IDS_SEC_NOCLOSE);
  SetDlgItemText(1152, noClose);
  if (CWnd* folders = GetDlgItem(1121)) folders->SetFocus();
  return FALSE;  // the focus is set
}

int SECDirSelectDlg::BrowseForFolder() {
  CString start = m_strInitialDir;
  if (start.IsEmpty()) {
    char current[MAX_PATH * 4] = {};
    if (::GetCurrentDirectory(sizeof current, current) < sizeof current) start = current;
  }

  Released<IShellFolder> desktop;
  LPITEMIDLIST startItem = nullptr;
  if (SUCCEEDED(::SHGetDesktopFolder(&desktop.p)) && !start.IsEmpty()) {
    int wideLength = ::MultiByteToWideChar(CP_ACP, 0, start, -1, nullptr, 0);
    if (wideLength > 0) {
      std::vector<WCHAR> wide(static_cast<size_t>(wideLength));
      ::MultiByteToWideChar(CP_ACP, 0, start, -1, wide.data(), wideLength);
      ULONG eaten = 0;
      desktop.p->ParseDisplayName(CWnd::SafeHwndOf(m_pOwner), nullptr, wide.data(), &eaten, &startItem, nullptr);
    }
  }

  char displayName[MAX_PATH] = {};
  BROWSEINFO info{};
  info.hwndOwner = CWnd::SafeHwndOf(m_pOwner);
  info.pidlRoot = nullptr;
  info.pszDisplayName = displayName;
  info.lpszTitle = m_strTitle;
  info.ulFlags = 0;
  info.lpfn = &BrowseCallback;
  info.lParam = reinterpret_cast<LPARAM>(startItem);
  LPITEMIDLIST chosen = ::SHBrowseForFolder(&info);

  int result = IDCANCEL;
  char path[MAX_PATH] = {};
  if (chosen && ::SHGetPathFromIDList(chosen, path)) {
    m_strPath = path;
    if (m_strPath.IsEmpty() || m_strPath[m_strPath.GetLength() - 1] != '\\') m_strPath += '\\';
    result = IDOK;
  }

  Released<IMalloc> allocator;
  if (SUCCEEDED(::SHGetMalloc(&allocator.p))) {
    if (chosen) allocator.p->Free(chosen);
    if (startItem) allocator.p->Free(startItem);
  }
  return result;
}

int CALLBACK SECDirSelectDlg::BrowseCallback(HWND hWnd, UINT uMsg, LPARAM, LPARAM lpData) {
  if (uMsg == BFFM_INITIALIZED && lpData) ::SendMessageA(hWnd, BFFM_SETSELECTION, FALSE, lpData);
  return 0;
}
