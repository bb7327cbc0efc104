// CVexcamApp: the camera library's application object. At start it loads the resource
// library, finds its folders and its INI file, and builds the camera object; at the end
// it releases them.
#pragma once
#include <memory>

#include "LibraryApp.h"
#include "afx.h"

class CCameraCtrl;
using CVexcamAppBase = CLibraryApp;

class CVexcamApp : public CVexcamAppBase {
 public:
  CVexcamApp();
  ~CVexcamApp() override;

  BOOL InitInstance() override;
  int ExitInstance() override;

  char m_szIniPath[MAX_PATH] = {};
  HMODULE m_hResource = nullptr;  // the progress windows' templates and texts
  CString m_LibraryFolder;        // each with a trailing backslash
  CString m_WindowsFolder;
  CString m_SystemFolder;

 private:
  void FindIniFile(const CString& baseName);
  std::unique_ptr<CCameraCtrl> m_pCamera;
};

// The running library's application object, or null outside start-up and shut-down.
CVexcamApp* GetVexcamApp();
