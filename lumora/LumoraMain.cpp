// Entry of the Lumora program: the framework's start-up with the one application object.
#include <string>
#include <vector>

#include "ModuleRegistry.h"
#include "control/VexApp.h"

CVexApp theApp;

int main(int argc, char** argv) {
  plat::SetProgramName("Lumora.exe");
  // The program reads its options as Windows passes them: one command line.
  std::string line = plat::afx::JoinCommandLine(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
  return AfxWinMain(nullptr, nullptr, line.data(), SW_SHOWNORMAL);
}
