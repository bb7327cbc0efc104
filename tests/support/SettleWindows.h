// Handles the calling thread's messages as the framework's message loop does (each one through
// the windows' pre-translation first, where fly-by help, tooltips and menu bars watch the
// input) until no thread has work left.
#pragma once

namespace testenv {

void SettleWindows();

}  // namespace testenv
