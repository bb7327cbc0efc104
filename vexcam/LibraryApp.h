// The least of an application object a shared library needs: its module handle and
// the start and end calls made when the library is loaded and unloaded. CVexcamApp
// derives from it through CVexcamAppBase, so the framework's CWinApp can take its place.
#pragma once
#include "windows.h"

class CLibraryApp {
 public:
  virtual ~CLibraryApp() = default;
  virtual BOOL InitInstance() { return TRUE; }
  virtual int ExitInstance() { return 0; }

  HINSTANCE m_hInstance = nullptr;
};
