// CWinApp: the one application object. Its constructor registers it; AfxWinMain
// runs its InitInstance, message loop and ExitInstance.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "CWinThread.h"

class CDocTemplate;
class CDocument;
class CCommandLineInfo;
class CPrintDialog;

namespace plat::afx {
// The printer the program prints on: the default one until the user picks another. Kept
// as plain bytes, so the application object can outlive the memory-block table.
struct PrinterChoice {
  std::vector<unsigned char> devMode, devNames;
};
}  // namespace plat::afx

class CWinApp : public CWinThread {
  DECLARE_DYNAMIC(CWinApp)
 public:
  explicit CWinApp(LPCSTR lpszAppName = nullptr);
  ~CWinApp() override;

  HINSTANCE m_hInstance = nullptr;
  HINSTANCE m_hPrevInstance = nullptr;
  LPSTR m_lpCmdLine = nullptr;
  int m_nCmdShow = SW_SHOWNORMAL;
  LPCSTR m_pszAppName = nullptr;
  LPCSTR m_pszExeName = nullptr;       // the program's file name without extension
  LPCSTR m_pszHelpFilePath = nullptr;
  LPCSTR m_pszProfileName = nullptr;   // the INI beside the program, unless the program sets another
  LPCSTR m_pszRegistryKey = nullptr;

  virtual BOOL InitApplication();
  BOOL InitInstance() override;
  int ExitInstance() override;
  int Run() override;
  BOOL OnIdle(LONG lCount) override;
  virtual int DoMessageBox(LPCSTR lpszPrompt, UINT nType, UINT nIDPrompt);
  virtual void DoWaitCursor(int nCode);  // 1 begin, -1 end, 0 restore

  // Resources
  HCURSOR LoadCursor(LPCSTR lpszResourceName) const;
  HCURSOR LoadCursor(UINT nIDResource) const;
  HCURSOR LoadStandardCursor(LPCSTR lpszCursorName) const;
  HICON LoadIcon(LPCSTR lpszResourceName) const;
  HICON LoadIcon(UINT nIDResource) const;
  HICON LoadStandardIcon(LPCSTR lpszIconName) const;

  // Settings in the application's INI file
  UINT GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault);
  BOOL WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue);
  CString GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault = nullptr);
  BOOL WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue);
  // *ppData is allocated with new[]; the caller deletes it.
  BOOL GetProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, LPBYTE* ppData, UINT* pBytes);
  BOOL WriteProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, LPBYTE pData, UINT nBytes);

  BOOL Enable3dControls() { return TRUE; }  // controls are drawn in 3-D already
  BOOL Enable3dControlsStatic() { return TRUE; }

  // Documents
  void ParseCommandLine(CCommandLineInfo& rCmdInfo);
  BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);
  void AddDocTemplate(CDocTemplate* pTemplate);  // the application owns it from here
  POSITION GetFirstDocTemplatePosition() const;
  CDocTemplate* GetNextDocTemplate(POSITION& pos) const;
  virtual CDocument* OpenDocumentFile(LPCSTR lpszFileName);
  void CloseAllDocuments(BOOL bEndSession);
  BOOL SaveAllModified();
  afx_msg void OnFileNew();
  afx_msg void OnAppExit();
  // Help: there is no help system here, so the command is taken and nothing is shown.
  afx_msg void OnHelp();
  // There is no help engine here: each request is kept, in order, for whoever asks.
  struct HelpRequest {
    DWORD_PTR data;
    UINT command;
  };
  virtual void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT);
  const std::vector<HelpRequest>& HelpRequests() const { return m_helpRequests; }

  // Printing: fills `pPrintDlg` with (copies of) the program's printer; FALSE without one.
  BOOL GetPrinterDeviceDefaults(PRINTDLG* pPrintDlg);
  // Runs the print dialog on the program's printer and keeps the printer chosen.
  virtual int DoPrintDialog(CPrintDialog* pPD);
  afx_msg void OnFilePrintSetup();

  int m_nWaitCursorCount = 0;
  HCURSOR m_hcurWaitCursorRestore = nullptr;

  // Fills the fields AfxWinMain knows (instance, command line, names).
  void SetStartupInfo(HINSTANCE hInstance, LPSTR lpCmdLine, int nCmdShow);

 private:
  std::vector<std::unique_ptr<CDocTemplate>> m_templates;
  std::vector<HelpRequest> m_helpRequests;
  std::string m_appName, m_exeName, m_profileName, m_cmdLine;
  plat::afx::PrinterChoice m_printer;

  DECLARE_MESSAGE_MAP()
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hInstResource);
// The module that holds a resource: the resource module when it has it, else the
// program's own module (which is also the answer when neither has it).
HINSTANCE AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType);
LPCSTR AfxGetAppName();
int AfxMessageBox(LPCSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);
// The string `nID` of the resource module; FALSE (and an empty string) when missing.
BOOL AfxLoadString(UINT nID, CString& rString);
void AfxPostQuitMessage(int nExitCode);
BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);
// The program's entry: runs the application object's InitInstance, Run and ExitInstance.
// Shows the wait cursor for its lifetime.
class CWaitCursor {
 public:
  CWaitCursor() {
    if (CWinApp* app = AfxGetApp()) app->BeginWaitCursor();
  }
  ~CWaitCursor() {
    if (CWinApp* app = AfxGetApp()) app->EndWaitCursor();
  }
  CWaitCursor(const CWaitCursor&) = delete;
  CWaitCursor& operator=(const CWaitCursor&) = delete;
  void Restore() {
    if (CWinApp* app = AfxGetApp()) app->RestoreWaitCursor();
  }
};

int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);

namespace plat::afx {
// Message boxes go through here: the dialog manager's MessageBoxA, or a hook that
// answers instead (tests).
using MessageBoxHook = int (*)(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
void SetMessageBoxHook(MessageBoxHook hook);
int ShowMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
}  // namespace plat::afx
