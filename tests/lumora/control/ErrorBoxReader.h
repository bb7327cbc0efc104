// Answers the error box of the error control in tests: records its code line and
// message and presses OK, once the box's own loop is running.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace errorbox {

struct Seen {
  std::string code, message;
};

// Starts answering every error box that opens on this thread; Stop ends it.
void Start();
void Stop();
const std::vector<Seen>& Boxes();

}  // namespace errorbox
