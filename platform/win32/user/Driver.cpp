#include "Driver.h"

#include <cctype>
#include <chrono>
#include <thread>

#include "Input.h"
#include "MessageQueue.h"

namespace plat::user::driver {

void MoveTo(int x, int y) { input::MouseMove(x, y); }

void Click(int x, int y, int button) {
  input::MouseMove(x, y);
  input::MouseButton(button, true);
  input::MouseButton(button, false);
}

void RightClick(int x, int y) { Click(x, y, 1); }

void DoubleClick(int x, int y) {
  Click(x, y);
  Click(x, y);
}

void Drag(POINT from, POINT to, int steps) {
  input::MouseMove(from.x, from.y);
  input::MouseButton(0, true);
  steps = steps < 1 ? 1 : steps;
  for (int i = 1; i <= steps; ++i)
    input::MouseMove(from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps);
  input::MouseButton(0, false);
}

void PressKey(UINT vk, unsigned modifiers) {
  if (modifiers & kControl) input::Key(VK_CONTROL, true);
  if (modifiers & kShift) input::Key(VK_SHIFT, true);
  if (modifiers & kAlt) input::Key(VK_MENU, true);
  input::Key(vk, true);
  input::Key(vk, false);
  if (modifiers & kAlt) input::Key(VK_MENU, false);
  if (modifiers & kShift) input::Key(VK_SHIFT, false);
  if (modifiers & kControl) input::Key(VK_CONTROL, false);
}

void TypeText(const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (std::isalpha(c)) PressKey(static_cast<UINT>(std::toupper(c)), std::isupper(c) ? kShift : kNone);
    else if (std::isdigit(c) || c == ' ') PressKey(c);
    else if (c == '\n') PressKey(VK_RETURN);
    else if (c == '\t') PressKey(VK_TAB);
    else {
      // Anything else, a whole UTF-8 character at a time.
      size_t n = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
      input::Chars(text.substr(i, n));
      i += n - 1;
    }
  }
}

void WaitIdle() {
  // Bounded, so that a thread that never settles fails the test instead of hanging it.
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  for (;;) {
    MSG msg;
    bool any = false;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      any = true;
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (!any && !AnyQueueBusy()) return;
    if (std::chrono::steady_clock::now() > deadline) return;
    if (!any) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

}  // namespace plat::user::driver
