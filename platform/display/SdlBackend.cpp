#include <cstdio>

#include "display/Backend.h"

namespace plat::display {

std::unique_ptr<Backend> MakeSdlBackend(Screen&) {
  std::fprintf(stderr, "lumora: the sdl display is not available; using headless\n");
  return nullptr;
}

}  // namespace plat::display
