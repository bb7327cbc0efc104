// The caption's close, maximise and minimise boxes of a frame and of an MDI child, pressed
// through the screen's input: a box acts only when the button comes up over it, shows
// pushed while held on it, and a greyed box does nothing. Each case queues its whole
// gesture at once, as a quick user's input arrives.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "UserTestSupport.h"
#include "display/Screen.h"
#include "user/Driver.h"
#include "user/InputDeadline.h"
#include "windows.h"

namespace caption_box_test {

namespace drv = plat::user::driver;
using Kind = plat::display::InputEvent::Kind;

void Mouse(Kind kind, POINT at) {
  plat::display::InputEvent e;
  e.kind = kind;
  e.x = at.x;
  e.y = at.y;
  if (kind != Kind::MouseMove) e.button = plat::display::InputEvent::LButton;
  plat::display::Screen::Get().PostInput(e);
}

LRESULT CALLBACK ClientProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

HWND g_client = nullptr;
LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return g_client ? DefFrameProcA(hwnd, g_client, msg, wParam, lParam) : DefWindowProcA(hwnd, msg, wParam, lParam);
}
LRESULT CALLBACK ChildProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefMDIChildProcA(hwnd, msg, wParam, lParam);
}

void RegisterClasses() {
  static bool done = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = FrameProc;
    wc.lpszClassName = "BoxFrame";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassA(&wc);
    wc.lpfnWndProc = ChildProc;
    wc.lpszClassName = "BoxChild";
    RegisterClassA(&wc);
    return true;
  }();
  (void)done;
}

enum class Holder { Frame, MdiChild };

// A window with a caption and its boxes: a top-level frame, or an MDI child in a frame.
class BoxWindow {
 public:
  explicit BoxWindow(Holder holder, DWORD style = WS_OVERLAPPEDWINDOW) {
    RegisterClasses();
    if (holder == Holder::Frame) {
      window = CreateWindowExA(0, "BoxFrame", "Boxes", style | WS_VISIBLE, 120, 100, 360, 240, nullptr, nullptr,
                               nullptr, nullptr);
      frame = window;
    } else {
      frame = CreateWindowExA(0, "BoxFrame", "MDI", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 640, 480, nullptr,
                              nullptr, nullptr, nullptr);
      CLIENTCREATESTRUCT ccs{nullptr, 100};
      RECT rc;
      GetClientRect(frame, &rc);
      g_client = CreateWindowExA(0, "MDIClient", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, rc.right,
                                 rc.bottom, frame, nullptr, nullptr, &ccs);
      MDICREATESTRUCTA mcs{"BoxChild", "Child", nullptr, 40, 30, 360, 240, static_cast<DWORD>(style | WS_VISIBLE), 0};
      window = reinterpret_cast<HWND>(SendMessageA(g_client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    }
    drv::WaitIdle();
  }
  ~BoxWindow() {
    if (IsWindow(frame)) DestroyWindow(frame);
    g_client = nullptr;
    drv::WaitIdle();
  }
  BoxWindow(const BoxWindow&) = delete;
  BoxWindow& operator=(const BoxWindow&) = delete;

  // The box of a hit code on the screen, as the window's hit test finds it.
  RECT Box(int hit) const {
    RECT wr;
    GetWindowRect(window, &wr);
    RECT box{wr.right, wr.bottom, wr.left, wr.top};
    for (int y = wr.top; y < wr.top + 30; ++y)
      for (int x = wr.left; x < wr.right; ++x)
        if (SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == hit) {
          box.left = std::min<LONG>(box.left, x);
          box.top = std::min<LONG>(box.top, y);
          box.right = std::max<LONG>(box.right, x + 1);
          box.bottom = std::max<LONG>(box.bottom, y + 1);
        }
    return box;
  }
  POINT Centre(int hit) const {
    RECT b = Box(hit);
    return POINT{(b.left + b.right) / 2, (b.top + b.bottom) / 2};
  }
  // A point of the caption clear of the boxes and the icon.
  POINT Title() const {
    RECT wr;
    GetWindowRect(window, &wr);
    return POINT{wr.left + 120, wr.top + 12};
  }
  std::string State() const {
    if (!IsWindow(window)) return "closed";
    if (IsZoomed(window)) return "maximised";
    if (IsIconic(window)) return "minimised";
    return "normal";
  }

  HWND frame = nullptr;
  HWND window = nullptr;
};

// Bare desktop, below and right of every window.
POINT Desktop() {
  auto& screen = plat::display::Screen::Get();
  return POINT{screen.Width() - 20, screen.Height() - 20};
}

struct BoxCase {
  int hit;
  const char* name;
  const char* acted;  // the window's state once the box has acted
};
const BoxCase kBoxes[] = {
    {HTCLOSE, "close", "closed"},
    {HTMAXBUTTON, "maximise", "maximised"},
    {HTMINBUTTON, "minimise", "minimised"},
};
const struct {
  Holder holder;
  const char* name;
} kHolders[] = {{Holder::Frame, "frame"}, {Holder::MdiChild, "MDI child"}};

TEST(CaptionBox, SlidingOffBeforeTheReleaseDoesNothing) {
  for (const auto& holder : kHolders)
    for (const auto& box : kBoxes)
      for (bool toDesktop : {false, true}) {  // onto the caption's title, or off every window
        BoxWindow w(holder.holder);
        const POINT on = w.Centre(box.hit);
        const POINT to = toDesktop ? Desktop() : w.Title();
        Mouse(Kind::MouseDown, on);
        Mouse(Kind::MouseMove, POINT{on.x + 1, on.y});
        Mouse(Kind::MouseMove, to);
        Mouse(Kind::MouseUp, to);
        drv::WaitIdle();
        EXPECT_EQ(w.State(), "normal") << holder.name << ", " << box.name << (toDesktop ? ", desktop" : ", title");
        EXPECT_EQ(GetCapture(), nullptr) << holder.name << ", " << box.name;
      }
}

TEST(CaptionBox, ReleasingOverTheBoxActs) {
  for (const auto& holder : kHolders)
    for (const auto& box : kBoxes) {
      for (bool wander : {false, true}) {  // straight, or off the box and back before the release
        BoxWindow w(holder.holder);
        const POINT on = w.Centre(box.hit);
        Mouse(Kind::MouseDown, on);
        if (wander) {
          Mouse(Kind::MouseMove, w.Title());
          Mouse(Kind::MouseMove, Desktop());
          Mouse(Kind::MouseMove, POINT{on.x - 1, on.y + 1});
        }
        Mouse(Kind::MouseUp, POINT{on.x - 1, on.y + 1});
        drv::WaitIdle();
        EXPECT_EQ(w.State(), box.acted) << holder.name << ", " << box.name << (wander ? ", back again" : "");
      }
    }
}

TEST(CaptionBox, AGreyedBoxTakesNoClick) {
  const struct {
    DWORD style;
    int hit;
  } cases[] = {
      {WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, HTMAXBUTTON},
      {WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MAXIMIZEBOX, HTMINBUTTON},
  };
  for (const auto& c : cases) {
    BoxWindow w(Holder::Frame, c.style);
    const POINT on = w.Centre(c.hit);
    Mouse(Kind::MouseDown, on);
    Mouse(Kind::MouseUp, on);
    drv::WaitIdle();
    EXPECT_EQ(w.State(), "normal") << "box " << c.hit;
  }
}

// The box's pixels on the screen.
std::vector<COLORREF> Pixels(const RECT& r) {
  std::vector<COLORREF> out;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) out.push_back(usertest::ScreenAt(x, y));
  return out;
}

// Sees each mouse message as it is taken, before it is handled: the box's look then is
// what the input before it made.
struct LookWatch {
  static inline LookWatch* current = nullptr;
  RECT box{};
  std::vector<COLORREF> up;  // the box's look at rest
  std::vector<std::string> looks;
  HHOOK hook = nullptr;
  LookWatch(RECT b, std::vector<COLORREF> rest) : box(b), up(std::move(rest)) {
    current = this;
    hook = SetWindowsHookExA(WH_MOUSE, Proc, nullptr, GetCurrentThreadId());
  }
  ~LookWatch() {
    UnhookWindowsHookEx(hook);
    current = nullptr;
  }
  LookWatch(const LookWatch&) = delete;
  LookWatch& operator=(const LookWatch&) = delete;
  static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && current) current->looks.push_back(Pixels(current->box) == current->up ? "up" : "pushed");
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
};

TEST(CaptionBox, TheBoxShowsPushedOnlyWhileHeldOnIt) {
  BoxWindow w(Holder::Frame);
  const RECT box = w.Box(HTCLOSE);
  const std::vector<COLORREF> up = Pixels(box);
  const POINT on = w.Centre(HTCLOSE);
  std::vector<std::string> looks;
  {
    LookWatch watch(box, up);
    // A press and a release each come with a move to their place first.
    Mouse(Kind::MouseDown, on);
    Mouse(Kind::MouseMove, POINT{on.x + 1, on.y});
    Mouse(Kind::MouseMove, w.Title());
    Mouse(Kind::MouseMove, POINT{on.x, on.y + 1});
    Mouse(Kind::MouseUp, w.Title());
    drv::WaitIdle();
    looks = watch.looks;
  }
  // The look as each message arrives: before the press, after it, on the box, off it, on
  // it again, off it for the release.
  EXPECT_EQ(looks, (std::vector<std::string>{"up", "up", "pushed", "pushed", "up", "pushed", "up"}));
  EXPECT_EQ(Pixels(box), up);  // released off the box: up again, and the window stays
  EXPECT_EQ(w.State(), "normal");
}

TEST(CaptionBox, ABoxHeldWithoutReleaseEndsAtTheTestsDeadline) {
  BoxWindow w(Holder::Frame);
  const POINT on = w.Centre(HTCLOSE);
  {
    const drv::InputDeadline bound(std::chrono::milliseconds(50));
    Mouse(Kind::MouseDown, on);  // and no release ever comes
    drv::WaitIdle();
  }
  EXPECT_EQ(w.State(), "normal");
  EXPECT_EQ(GetCapture(), nullptr);
  Mouse(Kind::MouseUp, on);  // the button comes up at last: a release alone does not close
  drv::WaitIdle();
  EXPECT_EQ(w.State(), "normal");
}

}  // namespace caption_box_test
