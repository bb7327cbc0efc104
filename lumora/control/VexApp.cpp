#include "VexApp.h"

#include "AboutDlg.h"
#include "VexCommandLineInfo.h"
#include "VexDoc.h"
#include "ui/MainFrame.h"

namespace {
constexpr char kAppName[] = "Lumora";
}

BEGIN_MESSAGE_MAP(CVexApp, CWinApp)
ON_COMMAND(ID_APP_ABOUT, ShowAboutBox)
END_MESSAGE_MAP()

CVexApp::CVexApp() : CWinApp(kAppName) {}

CVexApp::~CVexApp() {
  if (m_hMutex) CloseHandle(m_hMutex);
}

// The document reads the command line's choices from the settings sources, which the
// application fills before the document exists.
int CVexApp::HasSettingFile() const { return TheSettingSources().hasSettingFile; }
int CVexApp::HasIniFile() const { return TheSettingSources().hasIniFile; }
int CVexApp::IsResetRequested() const { return TheSettingSources().resetRequested; }
CString CVexApp::GetSettingFilePath() const { return TheSettingSources().settingFilePath; }
CString CVexApp::GetIniFilePath() const { return TheSettingSources().iniFilePath; }

bool CVexApp::ActivateRunningCopy() {
  for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
    if (!GetPropA(w, kAppName)) continue;
    if (IsIconic(w)) ShowWindow(w, SW_RESTORE);
    SetForegroundWindow(w);
    SetForegroundWindow(GetLastActivePopup(w));
    return true;
  }
  return false;
}

BOOL CVexApp::InitInstance() {
  m_hMutex = CreateMutexA(nullptr, TRUE, kAppName);
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    ActivateRunningCopy();
    return FALSE;
  }
  Enable3dControls();
  AddDocTemplate(new CSingleDocTemplate(128, RUNTIME_CLASS(CVexDoc), RUNTIME_CLASS(CMainFrame), nullptr));

  CVexCommandLineInfo cmdInfo;
  ParseCommandLine(cmdInfo);
  VexSettingSources& src = TheSettingSources();
  src.hasSettingFile = cmdInfo.HasSettingFile();
  src.hasIniFile = cmdInfo.HasIniFile();
  src.settingFilePath = cmdInfo.GetSettingFilePath();
  src.iniFilePath = cmdInfo.GetIniFilePath();
  src.resetRequested = cmdInfo.IsResetRequested();

  if (!ProcessShellCommand(cmdInfo)) return FALSE;
  m_pMainWnd->ShowWindow(SW_SHOW);
  m_pMainWnd->UpdateWindow();
  auto* frame = static_cast<CMainFrame*>(m_pMainWnd);
  frame->SetImageStatus(0);
  SetPropA(m_pMainWnd->m_hWnd, kAppName, reinterpret_cast<HANDLE>(1));
  frame->UpdateAll();
  frame->StartExternalTrigger();
  frame->StartLive();
  return TRUE;
}

void CVexApp::ShowAboutBox() {
  CAboutDlg dlg;
  FillAboutBox(dlg);
  dlg.DoModal();
}

void CVexApp::FillAboutBox(CAboutDlg& dlg) const {
  dlg.m_strVersion.Format("Valdane Lumora Version %s", (LPCSTR)m_strVersion);
  AfxLoadString(62463, dlg.m_strCopyright);
  AfxLoadString(62465, dlg.m_strNotice);
}
