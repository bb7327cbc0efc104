// CVexApp: starts the program. Only one copy runs: a second one brings the first to
// the front and ends. It keeps what the command line chose for the document.
#pragma once
#include <afxwin.h>

class CAboutDlg;

class CVexApp : public CWinApp {
 public:
  CVexApp();
  ~CVexApp() override;
  BOOL InitInstance() override;
  BOOL PreTranslateMessage(MSG* pMsg) override { return CWinThread::PreTranslateMessage(pMsg); }

  int HasSettingFile() const;
  int HasIniFile() const;
  int IsResetRequested() const;
  CString GetSettingFilePath() const;
  CString GetIniFilePath() const;
  void SetVersionText(const CString& text) { m_strVersion = text; }
  const CString& GetVersionText() const { return m_strVersion; }

  // Brings the main window of a running copy (marked with the "Lumora" property) to the
  // front; false when none is found.
  static bool ActivateRunningCopy();

  afx_msg void ShowAboutBox();
  void FillAboutBox(CAboutDlg& dlg) const;

 protected:
  DECLARE_MESSAGE_MAP()

 private:
  HANDLE m_hMutex = nullptr;
  CString m_strVersion;
};
