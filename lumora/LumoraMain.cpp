// Entry point of the Lumora program. The program's windows are not built yet:
// until they are, it says so and ends cleanly.
#include <cstdio>

int main() {
  std::printf("Lumora: the main window is not built yet; nothing to show.\n");
  return 0;
}
