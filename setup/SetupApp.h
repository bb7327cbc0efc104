// CSetupApp: the launcher's application object. Its start-up runs the failure dialog,
// whose initialisation starts the sub-installer; the program never enters a message loop.
#pragma once
#include <afxwin.h>

class CSetupApp : public CWinApp {
 public:
  CSetupApp();
  BOOL InitInstance() override;

 protected:
  DECLARE_MESSAGE_MAP()
};
