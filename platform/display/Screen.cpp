#include "display/Screen.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "Config.h"
#include "display/Backend.h"

namespace plat::display {
namespace {

bool IsEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

RECT Clip(const RECT& r, int w, int h) {
  RECT c{std::max<LONG>(r.left, 0), std::max<LONG>(r.top, 0), std::min<LONG>(r.right, w),
         std::min<LONG>(r.bottom, h)};
  if (IsEmpty(c)) c = RECT{0, 0, 0, 0};
  return c;
}

RECT Union(const RECT& a, const RECT& b) {
  if (IsEmpty(a)) return b;
  if (IsEmpty(b)) return a;
  return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
              std::max(a.bottom, b.bottom)};
}

}  // namespace

bool ParseScreenSize(const std::string& text, int& width, int& height) {
  int w = 0, h = 0, used = 0;
  if (std::sscanf(text.c_str(), "%dx%d%n", &w, &h, &used) != 2 || used != static_cast<int>(text.size()))
    return false;
  // Window coordinates are 16-bit in mouse messages; keep well inside that.
  if (w < 64 || h < 64 || w > 16384 || h > 16384) return false;
  width = w;
  height = h;
  return true;
}

std::unique_ptr<Screen> Screen::FromSettings() {
  int w = kDefaultWidth, h = kDefaultHeight;
  if (auto size = config::Find("SCREEN"); size && !size->empty() && !ParseScreenSize(*size, w, h))
    std::fprintf(stderr, "lumora: LUMORA_SCREEN=\"%s\" is not WIDTHxHEIGHT; using %dx%d\n", size->c_str(), w, h);
  return std::make_unique<Screen>(w, h, config::Get("DISPLAY", "headless"));
}

Screen& Screen::Get() {
  static std::unique_ptr<Screen> screen = FromSettings();
  return *screen;
}

Screen::Screen(int width, int height, const std::string& backendName)
    : width_(std::max(width, 1)), height_(std::max(height, 1)),
      pixels_(static_cast<size_t>(width_) * height_, 0) {
  if (backendName == "sdl") {
    backend_ = MakeSdlBackend(*this);
  } else if (backendName != "headless") {
    std::fprintf(stderr, "lumora: unknown display back end \"%s\"; using headless\n", backendName.c_str());
  }
  if (!backend_) backend_ = MakeHeadlessBackend();
}

Screen::~Screen() {
  // The back end may still read pixels or post input from its thread: stop it first.
  backend_.reset();
}

const char* Screen::BackendName() const { return backend_->Name(); }

void Screen::Access::MarkDirty(const RECT& r) {
  screen_->dirty_ = Union(screen_->dirty_, Clip(r, screen_->width_, screen_->height_));
}

void Screen::Present() {
  RECT dirty;
  {
    std::lock_guard lock(mutex_);
    dirty = dirty_;
    dirty_ = RECT{0, 0, 0, 0};
  }
  if (!IsEmpty(dirty)) backend_->Present(dirty);
}

RECT Screen::Dirty() const {
  std::lock_guard lock(mutex_);
  return dirty_;
}

bool Screen::ReadShown(std::vector<Pixel>& out) { return backend_->ReadShown(out); }

std::vector<Pixel> Screen::Copy(const RECT& r, RECT* out) const {
  RECT c = Clip(r, width_, height_);
  if (out) *out = c;
  std::vector<Pixel> result;
  if (IsEmpty(c)) return result;
  const size_t w = c.right - c.left;
  result.resize(w * (c.bottom - c.top));
  std::lock_guard lock(mutex_);
  for (LONG y = c.top; y < c.bottom; ++y)
    std::memcpy(&result[(y - c.top) * w], &pixels_[static_cast<size_t>(y) * width_ + c.left], w * sizeof(Pixel));
  return result;
}

void Screen::PostInput(InputEvent ev) {
  std::function<void()> listener;
  {
    std::lock_guard lock(inputMutex_);
    input_.push_back(std::move(ev));
    listener = listener_;
  }
  if (listener) listener();
}

bool Screen::PopInput(InputEvent& ev) {
  std::lock_guard lock(inputMutex_);
  if (input_.empty()) return false;
  ev = std::move(input_.front());
  input_.pop_front();
  return true;
}

bool Screen::HasInput() {
  std::lock_guard lock(inputMutex_);
  return !input_.empty();
}

void Screen::SetInputListener(std::function<void()> listener) {
  std::lock_guard lock(inputMutex_);
  listener_ = std::move(listener);
}

}  // namespace plat::display
