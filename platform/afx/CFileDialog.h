// CFileDialog: the framework's open and save dialogs over GetOpenFileNameA and
// GetSaveFileNameA. The object is the dialog window while it runs, so a derived class
// handles its messages and checks the chosen name in OnFileNameOK.
#pragma once
#include <string>

#include "CDialog.h"
#include "CString.h"
#include "WinCommDlg.h"

class CFileDialog : public CDialog {
  DECLARE_DYNAMIC(CFileDialog)
 public:
  // `lpszFilter` is "text|pattern|text|pattern||"; Explorer style unless the caller clears
  // OFN_EXPLORER in m_ofn.Flags before DoModal.
  explicit CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt = nullptr, LPCSTR lpszFileName = nullptr,
                       DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCSTR lpszFilter = nullptr,
                       CWnd* pParentWnd = nullptr);

  // IDOK or IDCANCEL (also when the dialog could not be shown: CommDlgExtendedError says why).
  int DoModal() override;

  CString GetPathName() const;   // the full path
  CString GetFileName() const;   // name and extension
  CString GetFileExt() const;    // extension without the dot
  CString GetFileTitle() const;  // name without the extension

  OPENFILENAME m_ofn{};

 protected:
  // Non-zero keeps the dialog open; GetPathName already answers the chosen name.
  virtual BOOL OnFileNameOK();
  // OK and Cancel belong to the dialog itself, which checks the name first.
  void OnOK() override;
  void OnCancel() override;

  BOOL m_bOpenFileDialog;
  std::string m_strFilter;  // the filter with its '|' turned into NULs
  std::string m_strDefExt;
  char m_szFileTitle[64] = {};
  char m_szFileName[_MAX_PATH] = {};

 private:
  static UINT_PTR CALLBACK HookProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
};
