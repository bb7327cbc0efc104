// Answers the program's own modal dialogs in tests: when a dialog with a given caption
// opens on this thread, the next action queued for that caption runs on it once its
// modal loop is running.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace dialogscript {

using Action = std::function<void(HWND dialog)>;

void Start();
void Stop();
// Queues an action for the next dialog with this caption.
void On(const std::string& caption, Action action);
// Presses a button of the dialog as a click would.
void Press(HWND dialog, int id);
// How many dialogs with this caption have opened since Start.
int Opened(const std::string& caption);

}  // namespace dialogscript
