#include "SetupApp.h"

#include <afxdisp.h>

#include "SetupDlg.h"

BEGIN_MESSAGE_MAP(CSetupApp, CWinApp)
  ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

// No application name: the framework takes the program's.
CSetupApp::CSetupApp() = default;

BOOL CSetupApp::InitInstance() {
  AfxEnableControlContainer();
  Enable3dControlsStatic();

  CSetupDlg dlg;
  m_pMainWnd = &dlg;
  // Either the sub-installer has replaced this process during the dialog's start, or the
  // dialog has told the user why not; its answer changes nothing.
  dlg.DoModal();
  // The dialog object ends here. Its window, when there was one, has already let go of
  // being the main window; one that could not be made must not be left behind to close.
  m_pMainWnd = nullptr;

  // Nothing more to do: end without a message loop.
  return FALSE;
}
