// A connection to an X server that acts as a user's hands and eyes: mouse and keys sent
// through the XTest extension, as a real keyboard and mouse make them, and pictures of
// the root window.
#pragma once
#include <optional>
#include <string>

#include "display/Png.h"

struct _XDisplay;

namespace acceptance {

class XDisplay {
 public:
  explicit XDisplay(const std::string& name);
  ~XDisplay();
  XDisplay(const XDisplay&) = delete;
  XDisplay& operator=(const XDisplay&) = delete;

  // False when the server cannot be reached or has no XTest extension.
  bool Usable() const { return display_ != nullptr && xtest_; }

  // The top-left corner on the root of the top-level window with this title, once mapped.
  std::optional<POINT> WindowOrigin(const std::string& title);
  // The root window's pixels (0x00RRGGBB).
  plat::display::PixelImage Grab();

  // Root coordinates; buttons as X numbers them (1 left, 2 middle, 3 right, 4 and 5 the wheel).
  void MoveTo(int x, int y);
  void Button(int button, bool down);
  // A key by its X key symbol name ("Return", "Tab", "Alt_L", "F10", "a").
  bool Key(const std::string& keysym, bool down);
  // Types each character by the key of the server's keyboard map that makes it, with
  // Shift where the map puts it on the shifted level. False when a character has no key.
  bool Type(const std::string& text);
  // Waits until the server has handled everything sent so far.
  void Sync();

 private:
  bool KeyCode(unsigned long keysym, unsigned* code, bool* shift);
  void Stroke(unsigned code, bool shift);

  _XDisplay* display_ = nullptr;
  bool xtest_ = false;
};

}  // namespace acceptance
