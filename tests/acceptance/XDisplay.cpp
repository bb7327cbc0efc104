#include "XDisplay.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <cstring>
#include <vector>

namespace acceptance {
namespace {

Window FindNamed(Display* d, Window w, const std::string& title) {
  char* name = nullptr;
  if (XFetchName(d, w, &name) && name) {
    const bool match = title == name;
    XFree(name);
    if (match) return w;
  }
  Window root = 0, parent = 0, *children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(d, w, &root, &parent, &children, &count)) return 0;
  Window found = 0;
  for (unsigned i = 0; i < count && !found; ++i) found = FindNamed(d, children[i], title);
  if (children) XFree(children);
  return found;
}

// A window that goes while it is looked at (the program's start makes and drops some) is
// no failure: the next look finds the state as it is.
int IgnoreError(Display*, XErrorEvent*) { return 0; }

}  // namespace

XDisplay::XDisplay(const std::string& name) {
  XSetErrorHandler(IgnoreError);
  display_ = XOpenDisplay(name.c_str());
  if (!display_) return;
  int event = 0, error = 0, major = 0, minor = 0;
  xtest_ = XTestQueryExtension(display_, &event, &error, &major, &minor);
}

XDisplay::~XDisplay() {
  if (display_) XCloseDisplay(display_);
}

std::optional<POINT> XDisplay::WindowOrigin(const std::string& title) {
  Window root = DefaultRootWindow(display_);
  Window w = FindNamed(display_, root, title);
  if (!w) return std::nullopt;
  XWindowAttributes attributes{};
  if (!XGetWindowAttributes(display_, w, &attributes) || attributes.map_state != IsViewable) return std::nullopt;
  int x = 0, y = 0;
  Window child = 0;
  XTranslateCoordinates(display_, w, root, 0, 0, &x, &y, &child);
  return POINT{x, y};
}

plat::display::PixelImage XDisplay::Grab() {
  plat::display::PixelImage out;
  Window root = DefaultRootWindow(display_);
  XWindowAttributes attributes{};
  XGetWindowAttributes(display_, root, &attributes);
  XImage* image = XGetImage(display_, root, 0, 0, static_cast<unsigned>(attributes.width),
                            static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
  if (!image) return out;
  out.width = image->width;
  out.height = image->height;
  out.pixels.resize(static_cast<size_t>(out.width) * out.height);
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x)
      out.pixels[static_cast<size_t>(y) * out.width + x] = static_cast<uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFF;
  XDestroyImage(image);
  return out;
}

void XDisplay::MoveTo(int x, int y) {
  XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
  XFlush(display_);
}

void XDisplay::Button(int button, bool down) {
  XTestFakeButtonEvent(display_, static_cast<unsigned>(button), down, CurrentTime);
  XFlush(display_);
}

bool XDisplay::KeyCode(unsigned long keysym, unsigned* code, bool* shift) {
  const ::KeyCode kc = XKeysymToKeycode(display_, keysym);
  if (!kc) return false;
  *code = kc;
  // The level the symbol sits on: Shift for the second one.
  *shift = XkbKeycodeToKeysym(display_, kc, 0, 0) != keysym && XkbKeycodeToKeysym(display_, kc, 0, 1) == keysym;
  return true;
}

void XDisplay::Stroke(unsigned code, bool shift) {
  const ::KeyCode shiftCode = XKeysymToKeycode(display_, XK_Shift_L);
  if (shift) XTestFakeKeyEvent(display_, shiftCode, True, CurrentTime);
  XTestFakeKeyEvent(display_, code, True, CurrentTime);
  XTestFakeKeyEvent(display_, code, False, CurrentTime);
  if (shift) XTestFakeKeyEvent(display_, shiftCode, False, CurrentTime);
  XFlush(display_);
}

bool XDisplay::Key(const std::string& keysym, bool down) {
  const KeySym sym = XStringToKeysym(keysym.c_str());
  if (sym == NoSymbol) return false;
  const ::KeyCode kc = XKeysymToKeycode(display_, sym);
  if (!kc) return false;
  XTestFakeKeyEvent(display_, kc, down, CurrentTime);
  XFlush(display_);
  return true;
}

bool XDisplay::Type(const std::string& text) {
  for (char c : text) {
    KeySym sym = static_cast<unsigned char>(c);  // Latin-1 characters are their own key symbols
    if (c == '\n') sym = XK_Return;
    if (c == '\t') sym = XK_Tab;
    unsigned code = 0;
    bool shift = false;
    if (!KeyCode(sym, &code, &shift)) return false;
    Stroke(code, shift);
  }
  return true;
}

void XDisplay::Sync() { XSync(display_, False); }

}  // namespace acceptance
