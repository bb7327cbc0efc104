// The fixture of the acceptance scenarios: the real build/lumora on a private X server
// with the sdl back end, its own drive C: and home, driven by X mouse and key events and
// judged by pictures of the screen, its files and its INI, read from outside.
//
// Points are in the program's screen coordinates (its sdl window's top-left is 0, 0).
// Every wait is for a condition, with a generous deadline; a wait that runs out fails
// the scenario and leaves a picture of the screen in build/acceptance/, as does any
// failed scenario when it ends.
#pragma once
#include <gtest/gtest.h>
#include <sys/types.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Pictures.h"
#include "XDisplay.h"
#include "Xvfb.h"

namespace acceptance {

class ProgramOnX : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A stand-in setting for the program (LUMORA_<key>), before Start.
  void Set(const std::string& key, const std::string& value) { settings_[key] = value; }
  // Starts build/lumora with `args` and waits until its main window shows.
  void Start(const std::vector<std::string>& args = {});
  bool Running();
  // Waits for the program to end; its exit status, or -1 when it did not end in time.
  int WaitForExit(int seconds = 60);

  // The X server's keyboard map ("us", "jp"), as setxkbmap sets it; before typing.
  void KeyboardMap(const std::string& layout);

  // ---- the screen
  Picture Shot();
  // Saves the screen as build/acceptance/<Suite>.<Test>-<name>.png; answers the path.
  std::string SaveShot(const std::string& name);
  // The main window, found when it first showed, and places in it from its top-left.
  RECT MainWindow() const { return main_; }
  POINT InMain(int x, int y) const { return POINT{main_.left + x, main_.top + y}; }
  RECT InMain(const RECT& r) const {
    return RECT{main_.left + r.left, main_.top + r.top, main_.left + r.right, main_.top + r.bottom};
  }
  // The titles of the menu bar, left to right: 0 File, 1 Image, 2 View, 3 Live, 4 Option, 5 Help.
  POINT MenuTitle(int index) const;
  // The large picture pane (640 x 512) and the small one (320 x 256) above the control panel.
  RECT LargePane() const { return InMain(RECT{7, 78, 7 + 640, 78 + 512}); }
  RECT SmallPane() const { return InMain(RECT{654, 78, 654 + 320, 78 + 256}); }
  // The active window's caption bar and the top-left of its client area below it (for a
  // dialog, whose controls lie at their template's dialog units from there).
  std::optional<RECT> ActiveCaption() { return acceptance::ActiveCaption(Shot()); }
  POINT DialogPoint(const RECT& caption, int dluX, int dluY) const;

  // ---- input, as the user's hand makes it
  void MoveTo(POINT p);
  void Click(POINT p, int button = 1);
  void DoubleClick(POINT p);
  // Clicks `p` until the screen shows `taken`: a click that a window still disabled by its
  // last piece of work swallowed is made again, as a user would, seldom enough that a
  // control slow to answer is not clicked twice.
  bool ClickUntil(POINT p, const std::function<bool(const Picture&)>& taken, const std::string& what);
  // The same for any piece of input: `act` is done again while the screen does not show `taken`
  // (first at once, or only after a while when the caller has just done it: `actedNow`).
  bool ActUntil(const std::function<void()>& act, const std::function<bool(const Picture&)>& taken, const std::string& what,
                bool actedNow = false);
  void Drag(POINT from, POINT to, int steps = 8);
  // Wheel notches over `p`: positive away from the user (up), negative towards.
  void Wheel(POINT p, int notches);
  void Type(const std::string& text);
  // A key with modifiers: "Return", "alt+f", "ctrl+shift+Tab" (X key symbol names).
  void Press(const std::string& chord);

  // ---- the program's own steps, as the user takes them
  // The capture button under the small pane; waits for the still in the large pane and
  // for the main window to be active again.
  void Capture();
  // A menu command by its title and then its item's mnemonic key.
  void Menu(int title, const std::string& mnemonic);

  // ---- waits
  // Polls `condition` until it holds; a failure naming `what` when `seconds` run out.
  bool WaitUntil(const std::function<bool()>& condition, const std::string& what, int seconds = 60);
  // Until a picture of the screen satisfies `test`.
  bool WaitForScreen(const std::function<bool(const Picture&)>& test, const std::string& what, int seconds = 60);
  // Until a window other than the main window is active, and its caption is not `other`
  // (a dialog opened); its caption.
  std::optional<RECT> WaitForDialog(const std::string& what, std::optional<RECT> other = std::nullopt, int seconds = 60);
  // Until the main window is active again (a dialog or a progress window gone).
  bool WaitForMainWindowActive(const std::string& what, int seconds = 60);
  // Until `pane` shows the live picture and a frame after it (the sensor's noise differs
  // from frame to frame): the program has taken its first frame and answers the user.
  void WaitForLive(const RECT& pane);
  // Until the caret shows in `field` (a dark upright line): the field has the focus, and
  // keys typed now reach it.
  bool WaitForCaret(const RECT& field, int seconds = 60);
  // Until the file exists, is not empty and has kept its size for a moment.
  bool WaitForFile(const std::string& windowsPath, int seconds = 60);

  // ---- files, read from outside
  // The native path of a path on the scenario's drive C: (letters' case as on disk).
  std::string Native(const std::string& windowsPath) const;
  // A value of the program's INI file (C:\Lumora\Lumora.ini unless named).
  std::string Ini(const std::string& section, const std::string& key,
                  const std::string& windowsPath = "C:\\Lumora\\Lumora.ini") const;
  // Writes the program's INI file (C:\Lumora\Lumora.ini) before Start.
  void WriteIni(const std::string& text);
  // What a shell command prints.
  static std::string Shell(const std::string& command);
  const std::string& DriveC() const { return driveC_; }

 private:
  std::string Name() const;
  void Kill();

  std::unique_ptr<testenv::Xvfb> xvfb_;
  std::unique_ptr<XDisplay> x_;
  std::string scratch_, driveC_, home_, log_;
  std::map<std::string, std::string> settings_;
  pid_t pid_ = -1;
  int status_ = -1;
  POINT origin_{0, 0};
  RECT main_{0, 0, 0, 0};
  int screenWidth_ = 1280, screenHeight_ = 1024;
  int shots_ = 0;
};

}  // namespace acceptance
