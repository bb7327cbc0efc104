// The least of an application object a shared library needs: its module handle and
// the start and end calls made when the library is loaded and unloaded. CVexcamApp
// derives from it through CVexcamAppBase; the framework's CWinApp is the process's one
// application object (the program's), which a library must not replace.
#pragma once
#include "windows.h"

class CLibraryApp {
 public:
  virtual ~CLibraryApp() = default;
  virtual BOOL InitInstance() { return TRUE; }
  virtual int ExitInstance() { return 0; }

  HINSTANCE m_hInstance = nullptr;
};
