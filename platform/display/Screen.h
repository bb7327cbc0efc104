// The one virtual screen all top-level windows are composed onto. Pixels are
// 32-bit BGRX (0x00RRGGBB in a native word), rows top-down. Any thread may draw;
// access goes through a lock, and what was drawn is recorded as a dirty
// rectangle until Present() hands it to the back end.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "WinTypes.h"
#include "display/InputEvent.h"

namespace plat::display {

using Pixel = uint32_t;
class Backend;

class Screen {
 public:
  static constexpr int kDefaultWidth = 1280;
  static constexpr int kDefaultHeight = 1024;

  // The process's screen, made on first use from the settings SCREEN ("1280x1024")
  // and DISPLAY ("headless" or "sdl").
  static Screen& Get();
  // A new screen made from those settings.
  static std::unique_ptr<Screen> FromSettings();

  // A screen of its own, shown by the named back end ("sdl" falls back to
  // headless when SDL cannot start). The pixels start black.
  Screen(int width, int height, const std::string& backendName = "headless");
  ~Screen();
  Screen(const Screen&) = delete;
  Screen& operator=(const Screen&) = delete;

  int Width() const { return width_; }
  int Height() const { return height_; }
  const char* BackendName() const;

  // Exclusive access to the pixels while it lives.
  class Access {
   public:
    Pixel* Row(int y) { return screen_->pixels_.data() + static_cast<size_t>(y) * screen_->width_; }
    int Width() const { return screen_->width_; }
    int Height() const { return screen_->height_; }
    // Records a drawn area (clipped to the screen) for the next Present().
    void MarkDirty(const RECT& r);

   private:
    friend class Screen;
    explicit Access(Screen& s) : lock_(s.mutex_), screen_(&s) {}
    std::unique_lock<std::mutex> lock_;
    Screen* screen_;
  };
  Access Lock() { return Access(*this); }

  // Hands what changed since the last call to the back end. Call it without an
  // Access alive: the sdl back end reads the pixels from its own thread.
  void Present();
  // The area drawn since the last Present() (empty when nothing was).
  RECT Dirty() const;
  // The whole picture as the back end shows it, read back from the window (false
  // for headless, which shows nothing).
  bool ReadShown(std::vector<Pixel>& out);

  // A copy of `r` clipped to the screen; `out` gets its size (empty when nothing is left).
  std::vector<Pixel> Copy(const RECT& r, RECT* out) const;

  // Input from the back end, in arrival order. The listener is called (on the back
  // end's thread) after each event is queued, so a message loop can wake up.
  void PostInput(InputEvent ev);
  bool PopInput(InputEvent& ev);
  // True while input waits to be popped: a loop that is about to sleep looks here under
  // its own lock, since the listener may have run just before it went to sleep.
  bool HasInput();
  void SetInputListener(std::function<void()> listener);

 private:
  int width_, height_;
  mutable std::mutex mutex_;
  std::vector<Pixel> pixels_;
  RECT dirty_{0, 0, 0, 0};
  std::mutex inputMutex_;
  std::deque<InputEvent> input_;
  std::function<void()> listener_;
  std::unique_ptr<Backend> backend_;
};

// Parses "WIDTHxHEIGHT"; false when malformed or out of range.
bool ParseScreenSize(const std::string& text, int& width, int& height);

}  // namespace plat::display
