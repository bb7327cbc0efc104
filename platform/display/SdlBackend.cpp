// The sdl back end: one desktop window showing the screen 1:1. A thread of its own
// owns everything SDL (init, window, its surface, event pump), so whichever thread
// runs the program's message loop never blocks in SDL, and input reaches it
// through the screen's input queue and listener.
#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <future>
#include <thread>

#include "display/Backend.h"
#include "display/Screen.h"

namespace plat::display {
namespace {

uint32_t ButtonFlag(uint8_t b) {
  switch (b) {
    case SDL_BUTTON_LEFT: return InputEvent::LButton;
    case SDL_BUTTON_RIGHT: return InputEvent::RButton;
    case SDL_BUTTON_MIDDLE: return InputEvent::MButton;
    default: return 0;
  }
}

uint32_t HeldFlags() {
  uint32_t mouse = SDL_GetMouseState(nullptr, nullptr);
  SDL_Keymod mod = SDL_GetModState();
  uint32_t f = 0;
  if (mouse & SDL_BUTTON_LMASK) f |= InputEvent::LButton;
  if (mouse & SDL_BUTTON_RMASK) f |= InputEvent::RButton;
  if (mouse & SDL_BUTTON_MMASK) f |= InputEvent::MButton;
  if (mod & KMOD_SHIFT) f |= InputEvent::Shift;
  if (mod & KMOD_CTRL) f |= InputEvent::Control;
  return f;
}

class SdlBackend final : public Backend {
 public:
  explicit SdlBackend(Screen& screen) : screen_(screen) {}

  ~SdlBackend() override {
    if (!thread_.joinable()) return;
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
    }
    Wake();
    thread_.join();
  }

  bool Start() {
    std::promise<bool> started;
    auto result = started.get_future();
    thread_ = std::thread([this, &started] { Run(started); });
    if (result.get()) return true;
    thread_.join();
    return false;
  }

  const char* Name() const override { return "sdl"; }

  // Waits (briefly) until the window shows the frame, so a screenshot or a test
  // that follows sees what was presented.
  void Present(const RECT& dirty) override {
    std::unique_lock lock(mutex_);
    pending_ = pendingEmpty_ ? dirty : RECT{std::min(pending_.left, dirty.left), std::min(pending_.top, dirty.top),
                                            std::max(pending_.right, dirty.right),
                                            std::max(pending_.bottom, dirty.bottom)};
    pendingEmpty_ = false;
    uint64_t want = ++requested_;
    lock.unlock();
    Wake();
    lock.lock();
    shown_.wait_for(lock, std::chrono::seconds(1), [&] { return presented_ >= want || stop_; });
  }

  bool ReadShown(std::vector<Pixel>& out) override {
    std::unique_lock lock(mutex_);
    readBack_ = true;
    lock.unlock();
    Wake();
    lock.lock();
    if (!shown_.wait_for(lock, std::chrono::seconds(2), [&] { return !readBack_ || stop_; })) return false;
    if (readPixels_.empty()) return false;
    out = std::move(readPixels_);
    readPixels_.clear();
    return true;
  }

 private:
  void Wake() {
    SDL_Event ev{};
    ev.type = SDL_USEREVENT;
    SDL_PushEvent(&ev);
  }

  void Run(std::promise<bool>& started) {
    // The program's own handlers (Ctrl+C and the like) stay in charge.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // The surface is the X server's own image, not a texture drawn by (software) GL.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    const int w = screen_.Width(), h = screen_.Height();
    SDL_Window* window = nullptr;
    // The window's own surface, not a renderer: a present puts only the changed rectangle
    // on the window, where a renderer (software GL on a plain X server) would draw the whole
    // screen again for every live frame.
    if (SDL_Init(SDL_INIT_VIDEO) == 0)
      window = SDL_CreateWindow("Lumora", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, w, h, SDL_WINDOW_SHOWN);
    if (!window || !SDL_GetWindowSurface(window)) {
      std::fprintf(stderr, "lumora: cannot open the sdl display (%s); using headless\n", SDL_GetError());
      if (window) SDL_DestroyWindow(window);
      SDL_Quit();
      started.set_value(false);
      return;
    }
    started.set_value(true);

    Show(window, RECT{0, 0, w, h});
    for (;;) {
      SDL_Event ev;
      bool got = SDL_WaitEventTimeout(&ev, 100) != 0;
      while (got) {
        Translate(ev, window);
        got = SDL_PollEvent(&ev) != 0;
      }
      std::unique_lock lock(mutex_);
      if (stop_) break;
      if (!pendingEmpty_) {
        RECT r = pending_;
        pendingEmpty_ = true;
        uint64_t done = requested_;
        lock.unlock();
        Show(window, r);
        lock.lock();
        presented_ = done;
        shown_.notify_all();
      }
      if (readBack_) {
        lock.unlock();
        std::vector<Pixel> pixels;
        ReadBack(window, pixels);
        lock.lock();
        readPixels_ = std::move(pixels);
        readBack_ = false;
        shown_.notify_all();
      }
    }
    SDL_DestroyWindow(window);
    SDL_Quit();
    std::lock_guard lock(mutex_);
    shown_.notify_all();
  }

  // Copies the screen's rectangle `r` to the window's surface and puts it on the window.
  void Show(SDL_Window* window, RECT r) {
    SDL_Surface* surface = SDL_GetWindowSurface(window);  // a size change makes a new one
    if (!surface) return;
    r.left = std::max<LONG>(r.left, 0), r.top = std::max<LONG>(r.top, 0);
    r.right = std::min<LONG>(r.right, std::min(surface->w, screen_.Width()));
    r.bottom = std::min<LONG>(r.bottom, std::min(surface->h, screen_.Height()));
    if (r.right <= r.left || r.bottom <= r.top) return;
    const SDL_Rect rect{r.left, r.top, r.right - r.left, r.bottom - r.top};
    {
      auto access = screen_.Lock();
      if (SDL_MUSTLOCK(surface)) SDL_LockSurface(surface);
      auto* to = static_cast<uint8_t*>(surface->pixels) + size_t(rect.y) * surface->pitch +
                 size_t(rect.x) * surface->format->BytesPerPixel;
      SDL_ConvertPixels(rect.w, rect.h, SDL_PIXELFORMAT_RGB888, access.Row(r.top) + r.left, access.Width() * 4,
                        surface->format->format, to, surface->pitch);
      if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    }
    SDL_UpdateWindowSurfaceRects(window, &rect, 1);
  }

  // What the window shows, as 0x00RRGGBB pixels of the screen's size.
  void ReadBack(SDL_Window* window, std::vector<Pixel>& out) {
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    const int w = screen_.Width(), h = screen_.Height();
    if (!surface || surface->w < w || surface->h < h) return;
    out.assign(static_cast<size_t>(w) * h, 0);
    if (SDL_MUSTLOCK(surface)) SDL_LockSurface(surface);
    const int failed = SDL_ConvertPixels(w, h, surface->format->format, surface->pixels, surface->pitch,
                                         SDL_PIXELFORMAT_RGB888, out.data(), w * 4);
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    if (failed != 0) out.clear();
    for (Pixel& p : out) p &= 0x00FFFFFF;
  }

  void Translate(const SDL_Event& ev, SDL_Window* window) {
    InputEvent in;
    switch (ev.type) {
      case SDL_QUIT:
        in.kind = InputEvent::Kind::Quit;
        break;
      case SDL_WINDOWEVENT:
        if (ev.window.event == SDL_WINDOWEVENT_EXPOSED) Show(window, RECT{0, 0, screen_.Width(), screen_.Height()});
        return;
      case SDL_MOUSEMOTION:
        in.kind = InputEvent::Kind::MouseMove;
        in.x = ev.motion.x;
        in.y = ev.motion.y;
        break;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP:
        in.kind = ev.type == SDL_MOUSEBUTTONDOWN ? InputEvent::Kind::MouseDown : InputEvent::Kind::MouseUp;
        in.x = ev.button.x;
        in.y = ev.button.y;
        in.button = ButtonFlag(ev.button.button);
        in.clicks = ev.button.clicks;
        if (!in.button) return;
        break;
      case SDL_MOUSEWHEEL: {
        in.kind = InputEvent::Kind::MouseWheel;
        SDL_GetMouseState(&in.x, &in.y);
        in.wheel = ev.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -ev.wheel.y : ev.wheel.y;
        break;
      }
      case SDL_KEYDOWN:
      case SDL_KEYUP:
        in.kind = ev.type == SDL_KEYDOWN ? InputEvent::Kind::KeyDown : InputEvent::Kind::KeyUp;
        in.key = ev.key.keysym.sym;
        in.alt = (ev.key.keysym.mod & KMOD_ALT) != 0;
        in.repeat = ev.key.repeat != 0;
        break;
      case SDL_TEXTINPUT:
        in.kind = InputEvent::Kind::Text;
        in.text = ev.text.text;
        break;
      default:
        return;
    }
    in.state = HeldFlags();
    screen_.PostInput(std::move(in));
  }

  Screen& screen_;
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable shown_;
  bool stop_ = false;
  RECT pending_{0, 0, 0, 0};
  bool pendingEmpty_ = true;
  uint64_t requested_ = 0, presented_ = 0;
  bool readBack_ = false;
  std::vector<Pixel> readPixels_;
};

}  // namespace

std::unique_ptr<Backend> MakeSdlBackend(Screen& screen) {
  auto backend = std::make_unique<SdlBackend>(screen);
  if (!backend->Start()) return nullptr;
  return backend;
}

}  // namespace plat::display
