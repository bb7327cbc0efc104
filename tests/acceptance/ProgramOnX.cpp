#include "ProgramOnX.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "TestEnv.h"

namespace acceptance {
namespace fs = std::filesystem;
namespace {

using Clock = std::chrono::steady_clock;

// How often a wait looks again; never what decides it.
void Breathe() { std::this_thread::sleep_for(std::chrono::milliseconds(50)); }

bool SameLetters(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

std::string ProgramOnX::Name() const {
  const auto* info = testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(info->test_suite_name()) + "." + info->name();
  for (char& c : name)
    if (c == '/') c = '_';
  return name;
}

void ProgramOnX::SetUp() {
  scratch_ = testenv::ScratchDir() + "/" + Name();
  driveC_ = scratch_ + "/drive_c";
  home_ = scratch_ + "/home";
  log_ = scratch_ + "/lumora.log";
  fs::create_directories(driveC_);
  fs::create_directories(home_);
  xvfb_ = std::make_unique<testenv::Xvfb>();
  ASSERT_FALSE(xvfb_->Display().empty()) << "Xvfb did not start (scripts/install-deps installs it)";
  x_ = std::make_unique<XDisplay>(xvfb_->Display());
  ASSERT_TRUE(x_->Usable()) << "the X server " << xvfb_->Display() << " cannot be driven through XTest";
}

void ProgramOnX::TearDown() {
  if (HasFailure() && pid_ > 0 && Running()) SaveShot("end");
  Kill();
  if (HasFailure()) {
    const std::string log = ReadAll(log_);
    if (!log.empty()) std::fprintf(stderr, "---- the program's output\n%s\n----\n", log.c_str());
  }
  x_.reset();
  xvfb_.reset();
}

void ProgramOnX::KeyboardMap(const std::string& layout) {
  const std::string cmd = "setxkbmap -display " + xvfb_->Display() + " " + layout + " 2>&1";
  const std::string out = Shell(cmd);
  ASSERT_TRUE(out.empty()) << cmd << ": " << out;
}

void ProgramOnX::Start(const std::vector<std::string>& args) {
  const std::string program = testenv::BinaryDir() + "/lumora";
  ASSERT_EQ(access(program.c_str(), X_OK), 0) << program << " is not built";
  if (auto size = settings_.find("SCREEN"); size != settings_.end())
    std::sscanf(size->second.c_str(), "%dx%d", &screenWidth_, &screenHeight_);
  pid_ = fork();
  if (pid_ == 0) {
    // Ends with the test process, however that ends.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    // The test process's own stand-in settings are not the program's.
    std::vector<std::string> drop;
    for (char** e = environ; *e; ++e)
      if (std::string(*e).rfind("LUMORA_", 0) == 0) drop.push_back(std::string(*e).substr(0, std::string(*e).find('=')));
    for (const auto& k : drop) unsetenv(k.c_str());
    setenv("DISPLAY", xvfb_->Display().c_str(), 1);
    setenv("SDL_VIDEODRIVER", "x11", 1);
    setenv("HOME", home_.c_str(), 1);
    setenv("XDG_DATA_HOME", (home_ + "/.local/share").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home_ + "/.config").c_str(), 1);
    setenv("LUMORA_DISPLAY", "sdl", 1);
    setenv("LUMORA_DRIVE_C", driveC_.c_str(), 1);
    setenv("LUMORA_PRINT_CUPS", "0", 1);
    setenv("LUMORA_OPENER", "none", 1);
    for (const auto& [k, v] : settings_) setenv(("LUMORA_" + k).c_str(), v.c_str(), 1);
    FILE* log = std::fopen(log_.c_str(), "w");
    if (log) {
      dup2(fileno(log), 1);
      dup2(fileno(log), 2);
    }
    std::vector<char*> argv{const_cast<char*>("lumora")};
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  ASSERT_GT(pid_, 0);
  std::optional<POINT> origin;
  ASSERT_TRUE(WaitUntil([&] { return (origin = x_->WindowOrigin("Lumora")).has_value(); }, "the program's X window"));
  origin_ = *origin;
  // The main window: the large area the desktop colour no longer shows, once the desktop
  // is drawn around it. The X window can be placed after it is first seen mapped (on a busy
  // machine its first place is the root's corner): its place is read again until it stays.
  ASSERT_TRUE(WaitForScreen(
      [&](const Picture& p) {
        if (const auto now = x_->WindowOrigin("Lumora"); now && (now->x != origin_.x || now->y != origin_.y)) {
          origin_ = *now;
          return false;
        }
        if (At(p, 0, 0) != kDesktop || At(p, p.width - 1, p.height - 1) != kDesktop) return false;
        RECT box{p.width, p.height, 0, 0};
        ForEach(p, RECT{0, 0, p.width, p.height}, [&](int x, int y, uint32_t px) {
          if (px == kDesktop) return;
          box.left = std::min<LONG>(box.left, x), box.top = std::min<LONG>(box.top, y);
          box.right = std::max<LONG>(box.right, x + 1), box.bottom = std::max<LONG>(box.bottom, y + 1);
        });
        main_ = box;
        return box.right - box.left > 600 && box.bottom - box.top > 400;
      },
      "the main window"));
  // The splash, shown before the main window, covers the screen's centre for its two
  // seconds and takes the first click for itself: a user waits for it to go, and so do
  // the scenarios (on a slow machine live view is up before it has gone).
  ASSERT_TRUE(WaitForScreen(
      [&](const Picture& p) {
        const uint32_t c = At(p, p.width / 2, p.height / 2);
        return !(Blue(c) > 100 && Blue(c) > Red(c) + 60 && Blue(c) > Green(c) + 40);
      },
      "the splash to close"));
}

bool ProgramOnX::Running() {
  if (pid_ <= 0) return false;
  int status = 0;
  const pid_t r = waitpid(pid_, &status, WNOHANG);
  if (r == 0) return true;
  if (r == pid_) {
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    pid_ = -1;
  }
  return false;
}

int ProgramOnX::WaitForExit(int seconds) {
  if (!WaitUntil([&] { return !Running(); }, "the program to end", seconds)) return -1;
  return status_;
}

void ProgramOnX::Kill() {
  if (!Running()) return;
  kill(pid_, SIGTERM);
  const auto deadline = Clock::now() + std::chrono::seconds(20);
  while (Running() && Clock::now() < deadline) Breathe();
  if (Running()) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }
}

Picture ProgramOnX::Shot() {
  Picture root = x_->Grab();
  Picture out;
  out.width = screenWidth_;
  out.height = screenHeight_;
  out.pixels.assign(static_cast<size_t>(out.width) * out.height, 0);
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x) out.pixels[size_t(y) * out.width + x] = At(root, x + origin_.x, y + origin_.y);
  return out;
}

std::string ProgramOnX::SaveShot(const std::string& name) {
  const std::string folder = testenv::BinaryDir() + "/acceptance";
  fs::create_directories(folder);
  std::string safe = name;
  for (char& c : safe)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_') c = '_';
  const std::string path = folder + "/" + Name() + "-" + std::to_string(++shots_) + "-" + safe + ".png";
  const Picture p = Shot();
  plat::display::WritePng(path, p.pixels.data(), p.width, p.height, p.width);
  std::fprintf(stderr, "screenshot: %s\n", path.c_str());
  return path;
}

POINT ProgramOnX::MenuTitle(int index) const {
  static const int kCentres[] = {20, 60, 105, 143, 187, 234};
  return InMain(kCentres[index < 0 ? 0 : index > 5 ? 5 : index], 31);
}

POINT ProgramOnX::DialogPoint(const RECT& caption, int dluX, int dluY) const {
  // The client area starts below the caption bar and its separating line.
  return POINT{caption.left + dluX * 6 / 4, caption.bottom + 1 + dluY * 12 / 8};
}

void ProgramOnX::MoveTo(POINT p) { x_->MoveTo(p.x + origin_.x, p.y + origin_.y); }

void ProgramOnX::Click(POINT p, int button) {
  MoveTo(p);
  x_->Button(button, true);
  x_->Button(button, false);
  x_->Sync();
}

void ProgramOnX::DoubleClick(POINT p) {
  Click(p);
  Click(p);
}

void ProgramOnX::Drag(POINT from, POINT to, int steps) {
  MoveTo(from);
  x_->Button(1, true);
  for (int i = 1; i <= steps; ++i)
    MoveTo(POINT{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
  x_->Button(1, false);
  x_->Sync();
}

void ProgramOnX::Wheel(POINT p, int notches) {
  MoveTo(p);
  for (int i = 0; i < std::abs(notches); ++i) Click(p, notches > 0 ? 4 : 5);
}

void ProgramOnX::Type(const std::string& text) {
  EXPECT_TRUE(x_->Type(text)) << "no key of the keyboard map types something in \"" << text << "\"";
  x_->Sync();
}

void ProgramOnX::Press(const std::string& chord) {
  std::vector<std::string> keys;
  std::stringstream s(chord);
  for (std::string part; std::getline(s, part, '+');) keys.push_back(part);
  for (std::string& k : keys) {
    if (k == "ctrl") k = "Control_L";
    else if (k == "shift") k = "Shift_L";
    else if (k == "alt") k = "Alt_L";
  }
  for (const auto& k : keys) EXPECT_TRUE(x_->Key(k, true)) << "no key " << k;
  for (auto k = keys.rbegin(); k != keys.rend(); ++k) x_->Key(*k, false);
  x_->Sync();
}

void ProgramOnX::Capture() {
  const Picture before = Shot();
  // Taken: the button's camera turns red while the still is made, or the still is there.
  const RECT lamp = InMain(RECT{735, 450, 765, 470});
  const auto still = [&](const Picture& p) {
    return Distinct(p, LargePane()) > 100 && Changed(before, p, LargePane()) > 100000;
  };
  ASSERT_TRUE(ClickUntil(
      InMain(749, 470),
      [&](const Picture& p) {
        return still(p) || Count(p, lamp, [](uint32_t px) { return Red(px) > 180 && Green(px) < 80 && Blue(px) < 80; }) > 2;
      },
      "the capture started"));
  ASSERT_TRUE(WaitForScreen(still, "the still picture in the large pane", 120));
  ASSERT_TRUE(WaitForMainWindowActive("the end of the capture"));
}

void ProgramOnX::Menu(int title, const std::string& mnemonic) {
  // The top of the drop-down, below the title.
  const POINT at = MenuTitle(title);
  const RECT under{at.x - 16, at.y + 11, at.x + 100, at.y + 31};
  const Picture before = Shot();
  // Clicked at once: the area under the title can change without the menu (what the last
  // step left there being drawn again), and the mnemonic must come after the click.
  Click(at);
  ASSERT_TRUE(ActUntil([&] { Click(at); }, [&](const Picture& p) { return Changed(before, p, under) > 200; },
                       "the menu to drop", true));
  Type(mnemonic);
}

bool ProgramOnX::ClickUntil(POINT at, const std::function<bool(const Picture&)>& taken, const std::string& what) {
  return ActUntil([&] { Click(at); }, taken, what);
}

bool ProgramOnX::ActUntil(const std::function<void()>& act, const std::function<bool(const Picture&)>& taken,
                          const std::string& what, bool actedNow) {
  auto acted = actedNow ? Clock::now() : Clock::now() - std::chrono::hours(1);
  return WaitForScreen(
      [&](const Picture& p) {
        if (taken(p)) return true;
        if (Clock::now() - acted > std::chrono::seconds(10)) {
          act();
          acted = Clock::now();
        }
        return false;
      },
      what);
}

bool ProgramOnX::WaitForMainWindowActive(const std::string& what, int seconds) {
  return WaitForScreen(
      [&](const Picture& p) {
        const auto caption = acceptance::ActiveCaption(p);
        return caption && std::abs(caption->left - main_.left) < 8 && std::abs(caption->top - main_.top) < 8;
      },
      what, seconds);
}

bool ProgramOnX::WaitUntil(const std::function<bool()>& condition, const std::string& what, int seconds) {
  const auto deadline = Clock::now() + std::chrono::seconds(seconds);
  for (;;) {
    if (condition()) return true;
    if (pid_ > 0 && !Running()) {
      ADD_FAILURE() << "the program ended (status " << status_ << ") while waiting for " << what;
      return false;
    }
    if (Clock::now() > deadline) {
      ADD_FAILURE() << "waited " << seconds << " s in vain for " << what;
      if (pid_ > 0) SaveShot("waited-for-" + what);
      return false;
    }
    Breathe();
  }
}

bool ProgramOnX::WaitForScreen(const std::function<bool(const Picture&)>& test, const std::string& what, int seconds) {
  return WaitUntil([&] { return test(Shot()); }, what, seconds);
}

std::optional<RECT> ProgramOnX::WaitForDialog(const std::string& what, std::optional<RECT> other, int seconds) {
  std::optional<RECT> found;
  auto differs = [&](const RECT& r) {
    const bool mainWindow = std::abs(r.left - main_.left) < 8 && std::abs(r.top - main_.top) < 8;
    return !mainWindow && (!other || r.left != other->left || r.top != other->top || r.right != other->right);
  };
  if (!WaitForScreen([&](const Picture& p) { return (found = acceptance::ActiveCaption(p)) && differs(*found); }, what,
                     seconds))
    return std::nullopt;
  return found;
}

void ProgramOnX::WaitForLive(const RECT& pane) {
  Picture first;
  ASSERT_TRUE(WaitForScreen(
      [&](const Picture& p) {
        first = p;
        return Distinct(p, pane) > 200;
      },
      "the live picture"));
  ASSERT_TRUE(WaitForScreen([&](const Picture& p) { return Changed(first, p, pane, 0) > 1000; }, "a new live frame"));
}

bool ProgramOnX::WaitForCaret(const RECT& field, int seconds) {
  return WaitForScreen(
      [&](const Picture& p) {
        for (int x = field.left; x < field.right; ++x) {
          int run = 0;
          for (int y = field.top; y < field.bottom; ++y) {
            const uint32_t px = At(p, x, y);
            run = Red(px) < 64 && Green(px) < 64 && Blue(px) < 64 ? run + 1 : 0;
            if (run >= 9) return true;
          }
        }
        return false;
      },
      "the caret in the field", seconds);
}

bool ProgramOnX::WaitForFile(const std::string& windowsPath, int seconds) {
  std::uintmax_t last = 0;
  int same = 0;
  return WaitUntil(
      [&] {
        std::error_code ec;
        const auto size = fs::file_size(Native(windowsPath), ec);
        if (ec || size == 0) return false;
        same = size == last ? same + 1 : 0;
        last = size;
        return same >= 3;
      },
      "the file " + windowsPath, seconds);
}

std::string ProgramOnX::Native(const std::string& windowsPath) const {
  std::string rest = windowsPath;
  if (rest.size() >= 2 && rest[1] == ':') rest = rest.substr(2);
  fs::path path = driveC_;
  std::stringstream parts(rest);
  for (std::string part; std::getline(parts, part, '\\');) {
    if (part.empty()) continue;
    fs::path next = path / part;
    std::error_code ec;
    if (!fs::exists(next, ec) && fs::is_directory(path, ec))
      for (const auto& entry : fs::directory_iterator(path, ec))
        if (SameLetters(entry.path().filename().string(), part)) next = entry.path();
    path = next;
  }
  return path.string();
}

std::string ProgramOnX::Ini(const std::string& section, const std::string& key, const std::string& windowsPath) const {
  std::ifstream in(Native(windowsPath));
  bool inSection = false;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] == '[') {
      inSection = SameLetters(line, "[" + section + "]");
      continue;
    }
    const auto eq = line.find('=');
    if (inSection && eq != std::string::npos && SameLetters(line.substr(0, eq), key)) return line.substr(eq + 1);
  }
  return "";
}

void ProgramOnX::WriteIni(const std::string& text) {
  fs::create_directories(Native("C:\\Lumora"));
  std::ofstream(Native("C:\\Lumora") + "/Lumora.ini") << text;
}

std::string ProgramOnX::Shell(const std::string& command) {
  std::string out;
  if (FILE* p = popen(command.c_str(), "r")) {
    char buf[512];
    while (std::fgets(buf, sizeof buf, p)) out += buf;
    pclose(p);
  }
  return out;
}

}  // namespace acceptance
