// What shows a screen somewhere: nothing (headless) or a real window (sdl).
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "WinTypes.h"

namespace plat::display {

class Screen;

class Backend {
 public:
  virtual ~Backend() = default;
  virtual const char* Name() const = 0;
  // Shows the screen's pixels inside `dirty`. Called without the screen's lock held.
  virtual void Present(const RECT& dirty) = 0;
  // What the back end actually shows, read back from it (false when it shows nothing).
  virtual bool ReadShown(std::vector<uint32_t>& out) { return false; }
};

// Keeps the screen in memory only: tests, CI and screenshots.
std::unique_ptr<Backend> MakeHeadlessBackend();
// A real desktop window through SDL2; nullptr (with the reason on stderr) when SDL
// cannot start, for example without an X display.
std::unique_ptr<Backend> MakeSdlBackend(Screen& screen);

}  // namespace plat::display
