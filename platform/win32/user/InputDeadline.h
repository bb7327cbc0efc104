// A bound on how long a test's input may keep a modal loop waiting. A drag loop run from
// the test's own thread waits for a release only the test could give; while an
// InputDeadline of that thread lives and its time is up, a loop that holds the mouse
// capture and waits with nothing left to read gets WM_CANCELMODE, which ends it as a
// cancelled drag instead of hanging the test.
#pragma once
#include <chrono>
#include <cstdint>

namespace plat::user::driver {

class InputDeadline {
 public:
  explicit InputDeadline(std::chrono::milliseconds limit);
  ~InputDeadline();
  InputDeadline(const InputDeadline&) = delete;
  InputDeadline& operator=(const InputDeadline&) = delete;

 private:
  uint64_t id_;
};

}  // namespace plat::user::driver
