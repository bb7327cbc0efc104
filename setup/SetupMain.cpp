// Entry of the setup launcher: the framework's start-up with the one application object.
#include <cstdio>

#include "DrivePath.h"
#include "ModuleRegistry.h"
#include "SetupApp.h"

CSetupApp theApp;

int main() {
  plat::SetProgramName("setup.exe");
  // A launcher works from the folder it was started in (the installation medium), as a
  // Windows program inherits the folder of whoever starts it.
  if (!plat::path::AdoptNativeWorkingFolder())
    std::fprintf(stderr, "setup: the working folder has no Windows name; using %s\n",
                 plat::path::CurrentFolder().c_str());
  char szCmdLine[] = "";  // the launcher takes no arguments
  return AfxWinMain(nullptr, nullptr, szCmdLine, SW_SHOWNORMAL);
}
