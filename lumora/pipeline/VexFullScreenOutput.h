// The full-screen viewer as the flow control sees it.
#pragma once
#include <windows.h>

class CVexFullScreenOutput {
 public:
  virtual ~CVexFullScreenOutput() = default;
  // Shows the slot's picture, or the current still picture for -1.
  virtual void ShowImage(SHORT slot) = 0;
};
