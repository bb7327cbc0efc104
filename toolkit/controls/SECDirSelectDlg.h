// SECDirSelectDlg: the folder picker of the folder edit. Either the shell's folder
// browser or the older file dialog on template 2000, trimmed to folders.
#pragma once
#include <afxdlgs.h>

#include <vector>

class SECDirSelectDlg : public CFileDialog {
  DECLARE_DYNAMIC(SECDirSelectDlg)
 public:
  // Bit 0 of `wOldStyle` selects the older dialog.
  SECDirSelectDlg(WORD wOldStyle, LPCSTR lpszTitle, LPCSTR lpszInitialDir, CWnd* pOwner);

  // IDOK or IDCANCEL.
  int DoModal() override;
  // The chosen folder, with its trailing "\".
  void GetPath(CString& rPath) const { rPath = m_strPath; }

 protected:
  BOOL OnInitDialog() override;

 private:
  int BrowseForFolder();
  static int CALLBACK BrowseCallback(HWND hWnd, UINT uMsg, LPARAM lParam, LPARAM lpData);

  // The file buffer of the older dialog; the chosen folder is kept in a string, with no
  // limit of its own.
  std::vector<char> m_buffer;
  WORD m_wOldStyle;
  CString m_strTitle;
  CString m_strInitialDir;
  CWnd* m_pOwner;
  CString m_strPath;
};
