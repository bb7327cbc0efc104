// The main window under the user's hand, input entering where the display's input enters
// (hit test, activation, focus): it comes up active and a click activates it again; Alt and
// a letter open its menu from the control that has the focus; the still pane's menu opens
// from the keyboard at the pane's corner; and a modal dialog keeps every other window of
// the program (the main window, the tool palette) from taking input.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ControlPanelRig.h"
#include "WinUserUi.h"
#include "annotation/dialogs/VexAnnoContrl.h"
#include "pipeline/output/VexDisplayOutput.h"
#include "user/Driver.h"
#include "user/Input.h"

namespace {

namespace driver = plat::user::driver;
namespace responder = plat::user::responder;

// The popup menus the menu loop shows, each with its place, in the order they open.
struct OpenedMenu {
  HMENU menu;
  RECT place;
  std::string first;  // the first item's text (the menu may be gone when the loop ends)
};
std::vector<OpenedMenu> g_opened;
LRESULT CALLBACK NoteOpenedMenu(int code, WPARAM, LPARAM) {
  if (code != MSGF_MENU) return 0;
  HWND popup = ::FindWindowA("#32768", nullptr);
  if (!popup || !::IsWindowVisible(popup)) return 0;
  auto menu = reinterpret_cast<HMENU>(::SendMessageA(popup, MN_GETHMENU, 0, 0));
  if (g_opened.empty() || g_opened.back().menu != menu) {
    RECT place;
    ::GetWindowRect(popup, &place);
    char first[64] = {};
    ::GetMenuStringA(menu, 0, first, sizeof first, MF_BYPOSITION);
    g_opened.push_back({menu, place, first});
  }
  return 0;
}

class MainWindowInput : public ControlPanelRig {
 protected:
  void SetUp() override {
    ControlPanelRig::SetUp();
    g_opened.clear();
    hook_ = ::SetWindowsHookExA(WH_MSGFILTER, NoteOpenedMenu, nullptr, ::GetCurrentThreadId());
  }
  void TearDown() override {
    ::UnhookWindowsHookEx(hook_);
    if (other_) ::DestroyWindow(other_);
    ControlPanelRig::TearDown();
  }
  void StartWindow() {
    StartPanel();
    ASSERT_FALSE(HasFatalFailure());
    // The start-up splash lies over the window for its first seconds.
    CRect r;
    frame->GetWindowRect(&r);
    const POINT centre = r.CenterPoint();
    ASSERT_TRUE(PumpUntil([&] { return ::GetAncestor(::WindowFromPoint(centre), GA_ROOT) == frame->m_hWnd; }, 30));
  }
  void ClickOn(HWND window) {
    CRect r;
    ::GetWindowRect(window, &r);
    driver::Click(r.left + std::min(6, r.Width() / 2), r.CenterPoint().y);
    Pump();
  }
  // Pixels of the caption's top line in the colour of an active or inactive caption.
  int CaptionPixels(int colour) const {
    CRect r;
    frame->GetWindowRect(&r);
    const int y = r.top + ::GetSystemMetrics(SM_CYFIXEDFRAME) + 2;
    const COLORREF want = ::GetSysColor(colour);
    HDC screen = ::GetDC(nullptr);
    int n = 0;
    for (int x = r.left; x < r.right; ++x) n += ::GetPixel(screen, x, y) == want;
    ::ReleaseDC(nullptr, screen);
    return n;
  }
  // Most of the caption line in one colour, next to none in the other.
  bool LooksActive() const {
    return CaptionPixels(COLOR_ACTIVECAPTION) > 300 && CaptionPixels(COLOR_INACTIVECAPTION) < 30;
  }
  bool LooksInactive() const {
    return CaptionPixels(COLOR_INACTIVECAPTION) > 300 && CaptionPixels(COLOR_ACTIVECAPTION) < 30;
  }
  // A window of another program's kind, beside the main window, that takes the activation.
  void ActivateAnother() {
    other_ = ::CreateWindowExA(0, "Static", "other", WS_POPUP | WS_VISIBLE | WS_CAPTION, 0, 0, 120, 80, nullptr, nullptr,
                               nullptr, nullptr);
    ::SetActiveWindow(other_);
    Pump();
  }
  HWND PanelItem(int id) const { return ::GetDlgItem(panel->m_hWnd, id); }
  // A still picture from the capture button.
  void Capture() {
    ClickOn(PanelItem(1038));
    ASSERT_TRUE(PumpUntil([&] { return panel->IsCaptureRunning() == 0 && !frame->IsCapturing() && doc->GetImageState() == 1; }));
  }

  HHOOK hook_ = nullptr;
  HWND other_ = nullptr;
};

TEST_F(MainWindowInput, TheWindowComesUpActiveAndAClickActivatesItAgain) {
  StartWindow();
  EXPECT_EQ(::GetActiveWindow(), frame->m_hWnd);
  EXPECT_TRUE(LooksActive()) << "the caption is drawn active once the window is enabled";
  ActivateAnother();
  EXPECT_TRUE(LooksInactive());
  CRect status;
  ::GetWindowRect(::GetDlgItem(frame->m_hWnd, AFX_IDW_STATUS_BAR), &status);
  driver::Click(status.CenterPoint().x, status.CenterPoint().y);
  Pump();
  EXPECT_EQ(::GetActiveWindow(), frame->m_hWnd);
  EXPECT_TRUE(LooksActive());
}

TEST_F(MainWindowInput, AltAndALetterOpenTheMenuFromTheControlThatHasTheFocus) {
  StartWindow();
  ClickOn(PanelItem(1053));  // a control of the panel takes the focus
  ASSERT_EQ(::GetFocus(), PanelItem(1053));
  driver::PressKey('F', driver::kAlt);
  driver::PressKey(VK_ESCAPE);
  driver::PressKey(VK_ESCAPE);
  Pump();
  ASSERT_FALSE(g_opened.empty()) << "Alt+F opens a menu";
  EXPECT_EQ(g_opened.front().menu, ::GetSubMenu(::GetMenu(frame->m_hWnd), 0)) << "the File menu";
}

TEST_F(MainWindowInput, ShiftF10AndTheMenuKeyOpenTheStillPaneMenuAtItsCorner) {
  StartWindow();
  Capture();
  ASSERT_FALSE(HasFatalFailure());
  CVexDisplayOutput* still = frame->GetStillDisplay();
  ASSERT_NE(still, nullptr);
  CRect client;
  still->GetClientRect(&client);
  still->ClientToScreen(&client);
  driver::Click(client.CenterPoint().x, client.CenterPoint().y);
  Pump();
  ASSERT_EQ(::GetFocus(), still->m_hWnd) << "a click gives the still pane the focus";
  // Shift+F10 as keyboards send it, Shift let go before or after F10, and the menu key.
  struct Stroke {
    UINT vk;
    bool down;
  };
  const struct {
    const char* name;
    std::vector<Stroke> strokes;
  } presses[] = {
      {"Shift+F10", {{VK_SHIFT, true}, {VK_F10, true}, {VK_F10, false}, {VK_SHIFT, false}}},
      {"Shift+F10, Shift let go first", {{VK_SHIFT, true}, {VK_F10, true}, {VK_SHIFT, false}, {VK_F10, false}}},
      {"the menu key", {{VK_APPS, true}, {VK_APPS, false}}},
  };
  for (const auto& press : presses) {
    SCOPED_TRACE(press.name);
    g_opened.clear();
    for (const Stroke& s : press.strokes) plat::user::input::Key(s.vk, s.down);
    driver::PressKey(VK_ESCAPE);
    Pump();
    ASSERT_EQ(g_opened.size(), 1u);
    EXPECT_EQ(g_opened[0].first, "Copy        Ctrl+C") << "menu 144";
    EXPECT_EQ(g_opened[0].place.left, client.left + 5);
    EXPECT_EQ(g_opened[0].place.top, client.top + 5);
  }
}

// A property dialog of the palette, and the font chooser over the text dialog: while either
// is open, the palette and the main window take no click.
TEST_F(MainWindowInput, AModalDialogKeepsThePaletteAndTheMainWindowFromInput) {
  StartWindow();
  Capture();  // a picture to draw on
  ASSERT_FALSE(HasFatalFailure());
  frame->SendMessage(WM_COMMAND, 32846);  // Image > Annotation
  CVexAnnoContrl* palette = frame->GetAnnotationPalette();
  ASSERT_NE(palette, nullptr);
  Pump();
  CVexDisplayOutput* still = frame->GetStillDisplay();
  const int annotations = still->GetAnnotationCount();
  const HWND set = ::GetDlgItem(palette->m_hWnd, 1009);
  // While a dialog is up: the other windows are disabled, and a click on the palette's
  // "Set" and a drag over the still pane do nothing.
  std::vector<std::string> seen;
  auto tryTheOthers = [&](const char* during) {
    EXPECT_FALSE(frame->IsWindowEnabled()) << during;
    EXPECT_FALSE(palette->IsWindowEnabled()) << during;
    ClickOn(set);
    CRect pane;
    still->GetWindowRect(&pane);
    driver::Drag(pane.TopLeft() + CPoint(20, 20), pane.TopLeft() + CPoint(120, 90));
    Pump();
    EXPECT_EQ(still->GetAnnotationCount(), annotations) << during;
  };
  auto note = [&](const responder::Shown& shown) { seen.push_back(shown.caption); };

  // The rectangle tool's defaults.
  ClickOn(::GetDlgItem(palette->m_hWnd, 1003));
  responder::Push([&](const responder::Shown& shown) {
    note(shown);
    tryTheOthers("Rectangle Setting");
    ::EndDialog(shown.hwnd, IDCANCEL);
    return 0;
  });
  ClickOn(set);
  ASSERT_TRUE(PumpUntil([&] { return frame->IsWindowEnabled() && palette->IsWindowEnabled(); }));
  EXPECT_EQ(seen, std::vector<std::string>{"Rectangle Setting"});

  // The text tool's defaults, and its font chooser over them.
  seen.clear();
  ClickOn(::GetDlgItem(palette->m_hWnd, 1002));
  responder::Push([&](const responder::Shown& shown) {
    note(shown);
    responder::Push([&](const responder::Shown& chooser) {
      note(chooser);
      EXPECT_FALSE(::IsWindowEnabled(shown.hwnd)) << "the text dialog under its chooser";
      tryTheOthers("the font chooser");
      ::EndDialog(chooser.hwnd, IDCANCEL);
      return 0;
    });
    ClickOn(::GetDlgItem(shown.hwnd, 1013));  // "SET"
    ::EndDialog(shown.hwnd, IDCANCEL);
    return 0;
  });
  ClickOn(set);
  ASSERT_TRUE(PumpUntil([&] { return frame->IsWindowEnabled() && palette->IsWindowEnabled(); }));
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], "Text Setting");
}

}  // namespace
