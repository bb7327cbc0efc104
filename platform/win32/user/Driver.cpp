#include "Driver.h"

#include <SDL_keycode.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "../WinSystem.h"
#include "Composition.h"
#include "Input.h"
#include "MessageQueue.h"
#include "display/Keyboard.h"

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

namespace {

using display::InputEvent;

display::KeyMap Map() { return display::KeyMapOfLocale(GetUserDefaultLCID()); }

void KeyEvent(int32_t key, bool down) {
  InputEvent ev;
  ev.kind = down ? InputEvent::Kind::KeyDown : InputEvent::Kind::KeyUp;
  ev.key = key;
  DeliverScreenInput(ev);
}

void TextEvent(const std::string& text) {
  InputEvent ev;
  ev.kind = InputEvent::Kind::Text;
  ev.text = text;
  DeliverScreenInput(ev);
}

// A key pressed and released as the desktop reports it: the key, then what it types
// on the keyboard map, whatever the modifiers (the window manager sorts that out).
void Stroke(int32_t key, bool shift, const std::string& text) {
  if (shift) KeyEvent(SDLK_LSHIFT, true);
  KeyEvent(key, true);
  if (!text.empty()) TextEvent(text);
  KeyEvent(key, false);
  if (shift) KeyEvent(SDLK_LSHIFT, false);
}

}  // namespace

void PressKey(UINT vk, unsigned modifiers) {
  const display::KeyMap map = Map();
  const int32_t key = display::KeyOfVirtualKey(vk, map);
  if (!key) {
    std::fprintf(stderr, "driver: no key of the keyboard makes virtual key 0x%02X\n", vk);
    return;
  }
  const bool shift = (modifiers & kShift) != 0;
  if (modifiers & kControl) KeyEvent(SDLK_LCTRL, true);
  if (shift) KeyEvent(SDLK_LSHIFT, true);
  if (modifiers & kAlt) KeyEvent(SDLK_LALT, true);
  Stroke(key, false, display::TextOf(key, shift, map));
  if (modifiers & kAlt) KeyEvent(SDLK_LALT, false);
  if (shift) KeyEvent(SDLK_LSHIFT, false);
  if (modifiers & kControl) KeyEvent(SDLK_LCTRL, false);
}

void TypeText(const std::string& text) {
  const display::KeyMap map = Map();
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\n') {
      PressKey(VK_RETURN);
    } else if (c == '\t') {
      PressKey(VK_TAB);
    } else if (auto stroke = display::StrokeOf(c, map)) {
      Stroke(stroke->key, stroke->shift, std::string(1, c));
    } else {
      // No key types it: a whole UTF-8 character at a time, as an input method hands it over.
      const auto lead = static_cast<unsigned char>(c);
      const size_t n = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
      TextEvent(text.substr(i, n));
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
