#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ModuleRegistry.h"
#include "display/Screen.h"
#include "user/Driver.h"
#include "user/Input.h"
#include "user/Responder.h"
#include "windows.h"

namespace input = plat::user::input;
namespace responder = plat::user::responder;

namespace {

std::vector<std::string> g_clicks;

class Dialogs : public testing::Test {
 protected:
  void SetUp() override {
    plat::SetProgramName("Sample.exe");
    responder::Reset();
    g_clicks.clear();
  }
  void Pump() {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      if (dialog_ && IsDialogMessageA(dialog_, &m)) continue;
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
  }
  void Key(UINT vk, bool shift = false) {
    if (shift) input::Key(VK_SHIFT, true);
    input::Key(vk, true);
    input::Key(vk, false);
    if (shift) input::Key(VK_SHIFT, false);
    Pump();
  }
  HWND Focus() { return GetFocus(); }
  HWND dialog_ = nullptr;
};

INT_PTR CALLBACK FormProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    SetDlgItemTextA(dialog, 1001, "初期値");
    return TRUE;
  }
  if (msg == WM_COMMAND) {
    if (HIWORD(wParam) != BN_CLICKED) return FALSE;  // the edits' notifications
    g_clicks.push_back(std::to_string(LOWORD(wParam)));
    if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, LOWORD(wParam));
    return TRUE;
  }
  return FALSE;
}

TEST_F(Dialogs, ModelessDialogFromATemplateWithTabOrderAndInitialFocus) {
  dialog_ = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(100), nullptr, FormProc, 0);
  ASSERT_NE(dialog_, nullptr);
  char text[64];
  GetWindowTextA(dialog_, text, sizeof text);
  EXPECT_STREQ(text, "設定");
  GetDlgItemTextA(dialog_, 1001, text, sizeof text);
  EXPECT_STREQ(text, "初期値");
  ShowWindow(dialog_, SW_SHOW);
  EXPECT_EQ(Focus(), GetDlgItem(dialog_, 1001));  // the first tab stop
  // Dialog units become pixels with the fixed base units (6 x 12 per 4 x 8 units).
  RECT r;
  GetWindowRect(GetDlgItem(dialog_, 1001), &r);
  EXPECT_EQ(r.right - r.left, 150);
  EXPECT_EQ(r.bottom - r.top, 18);
  std::vector<int> order;
  for (int i = 0; i < 6; ++i) {
    order.push_back(GetDlgCtrlID(Focus()));
    Key(VK_TAB);
  }
  EXPECT_EQ(order, (std::vector<int>{1001, 1002, 1003, 1006, IDOK, IDCANCEL}));
  EXPECT_EQ(GetDlgCtrlID(Focus()), 1001);  // round again
  Key(VK_TAB, /*shift=*/true);
  EXPECT_EQ(GetDlgCtrlID(Focus()), IDCANCEL);
  DestroyWindow(dialog_);
}

// A template that names a font gets it made at the screen's resolution and given to the
// dialog and every control; the font goes with the dialog. Without one, nothing is set and the
// controls draw in the default GUI font.
TEST_F(Dialogs, TheTemplatesFontReachesTheDialogAndItsControls) {
  dialog_ = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(101), nullptr, FormProc, 0);
  ASSERT_NE(dialog_, nullptr);
  auto font = reinterpret_cast<HFONT>(SendMessageA(dialog_, WM_GETFONT, 0, 0));
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendDlgItemMessageA(dialog_, 1001, WM_GETFONT, 0, 0)), font);
  LOGFONTA lf{};
  ASSERT_EQ(GetObjectA(font, sizeof lf, &lf), static_cast<int>(sizeof lf));
  EXPECT_EQ(lf.lfHeight, -12);  // 9 points at 96 pixels an inch
  EXPECT_EQ(lf.lfWeight, 700);
  EXPECT_TRUE(lf.lfItalic);
  EXPECT_EQ(lf.lfCharSet, SHIFTJIS_CHARSET);
  EXPECT_STREQ(lf.lfFaceName, "ＭＳ ゴシック");
  DestroyWindow(dialog_);
  EXPECT_EQ(GetObjectA(font, sizeof lf, &lf), 0);

  dialog_ = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(102), nullptr, FormProc, 0);
  ASSERT_NE(dialog_, nullptr);
  EXPECT_EQ(SendMessageA(dialog_, WM_GETFONT, 0, 0), 0);
  EXPECT_EQ(SendDlgItemMessageA(dialog_, 1001, WM_GETFONT, 0, 0), 0);
  DestroyWindow(dialog_);
}

TEST_F(Dialogs, ArrowsMoveWithinARadioGroupAndCheckIt) {
  dialog_ = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(100), nullptr, FormProc, 0);
  ShowWindow(dialog_, SW_SHOW);
  SendMessageA(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog_, 1003)), TRUE);
  Key(VK_DOWN);
  EXPECT_EQ(GetDlgCtrlID(Focus()), 1004);
  EXPECT_EQ(IsDlgButtonChecked(dialog_, 1004), 1u);
  Key(VK_DOWN);
  Key(VK_DOWN);  // wraps within the group
  EXPECT_EQ(GetDlgCtrlID(Focus()), 1003);
  EXPECT_EQ(IsDlgButtonChecked(dialog_, 1003), 1u);
  EXPECT_EQ(IsDlgButtonChecked(dialog_, 1004), 0u);
  DestroyWindow(dialog_);
}

TEST_F(Dialogs, EnterPressesTheDefaultButtonAndEscCancels) {
  dialog_ = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(100), nullptr, FormProc, 0);
  ShowWindow(dialog_, SW_SHOW);
  EXPECT_EQ(SendMessageA(dialog_, DM_GETDEFID, 0, 0), MAKELONG(IDOK, DC_HASDEFID));
  Key(VK_RETURN);
  Key(VK_ESCAPE);
  EXPECT_EQ(g_clicks, (std::vector<std::string>{"1", "2"}));
  // Enter on a focused push button presses that button.
  SendMessageA(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog_, IDCANCEL)), TRUE);
  g_clicks.clear();
  Key(VK_RETURN);
  EXPECT_EQ(g_clicks, (std::vector<std::string>{"2"}));
  DestroyWindow(dialog_);
}

TEST_F(Dialogs, MnemonicsReachButtonsAndTheControlAfterALabel) {
  dialog_ = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(100), nullptr, FormProc, 0);
  ShowWindow(dialog_, SW_SHOW);
  SendMessageA(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog_, IDOK)), TRUE);
  input::Key(VK_MENU, true);
  input::Key('C', true);
  input::Key('C', false);
  input::Key(VK_MENU, false);
  Pump();
  EXPECT_EQ(IsDlgButtonChecked(dialog_, 1006), 1u);
  input::Key(VK_MENU, true);
  input::Key('N', true);
  input::Key('N', false);
  input::Key(VK_MENU, false);
  Pump();
  EXPECT_EQ(GetDlgCtrlID(Focus()), 1001);
  DestroyWindow(dialog_);
}

TEST_F(Dialogs, ModalDialogDisablesTheOwnerAndReturnsTheEndCode) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "OwnerWnd";
  RegisterClassA(&wc);
  HWND owner = CreateWindowExA(0, "OwnerWnd", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 300, 300, nullptr, nullptr,
                               nullptr, nullptr);
  bool ownerWasDisabled = false;
  responder::Push([&](const responder::Shown& shown) {
    ownerWasDisabled = !IsWindowEnabled(owner);
    EXPECT_EQ(shown.caption, "設定");
    SetDlgItemTextA(shown.hwnd, 1002, "42");
    SendMessageA(GetDlgItem(shown.hwnd, IDOK), BM_CLICK, 0, 0);
    return 0;
  });
  EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(100), owner, FormProc, 0), IDOK);
  EXPECT_TRUE(ownerWasDisabled);
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_EQ(GetActiveWindow(), owner);
  ASSERT_EQ(responder::History().size(), 1u);
  DestroyWindow(owner);
}

// A modal dialog nobody scripted would wait for ever on the memory-only screen: the
// script for unscripted dialogs hears of it and can end it; queued scripts come first.
TEST_F(Dialogs, AnUnscriptedModalDialogGoesToItsOwnScript) {
  std::vector<std::string> unscripted;
  responder::OnUnscriptedDialog([&](const responder::Shown& shown) {
    unscripted.push_back(shown.caption);
    EndDialog(shown.hwnd, IDABORT);
    return 0;
  });
  EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(100), nullptr, FormProc, 0), IDABORT);
  EXPECT_EQ(unscripted, std::vector<std::string>{"設定"});
  responder::Push([](const responder::Shown& shown) {
    EndDialog(shown.hwnd, IDOK);
    return 0;
  });
  EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(100), nullptr, FormProc, 0), IDOK);
  EXPECT_EQ(unscripted.size(), 1u) << "a scripted dialog is the script's";
  responder::Reset();
}

TEST_F(Dialogs, FailedCreationReturnsMinusOne) {
  responder::FailNextDialog();
  EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(100), nullptr, FormProc, 0), -1);
  EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(999), nullptr, FormProc, 0), -1);  // no such template
  // A template naming a class nobody registered cannot be built either.
  alignas(4) static const WORD bad[] = {0x0000, 0x80C8, 0, 0, 1, 0, 0, 100, 50, 0, 0, 0,
                                        0, 0x5000, 0, 0, 0, 0, 10, 10, 7, 'Z', 'z', 0, 0, 0};
  EXPECT_EQ(DialogBoxIndirectParamA(nullptr, reinterpret_cast<LPCDLGTEMPLATEA>(bad), nullptr, FormProc, 0), -1);
}

TEST_F(Dialogs, DialogItemIntegers) {
  dialog_ = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(100), nullptr, FormProc, 0);
  struct Case {
    const char* text;
    BOOL isSigned;
    UINT value;
    BOOL ok;
  } cases[] = {
      {" 42 ", FALSE, 42, TRUE},   {"-7", TRUE, static_cast<UINT>(-7), TRUE}, {"-7", FALSE, 0, FALSE},
      {"4294967295", FALSE, 4294967295u, TRUE}, {"4294967296", FALSE, 0, FALSE}, {"2147483648", TRUE, 0, FALSE},
      {"-2147483648", TRUE, 0x80000000u, TRUE}, {"12a", FALSE, 0, FALSE}, {"", FALSE, 0, FALSE},
  };
  for (const auto& c : cases) {
    SetDlgItemTextA(dialog_, 1002, c.text);
    BOOL ok = -1;
    EXPECT_EQ(GetDlgItemInt(dialog_, 1002, &ok, c.isSigned), c.value) << c.text;
    EXPECT_EQ(ok, c.ok) << c.text;
  }
  SetDlgItemInt(dialog_, 1002, static_cast<UINT>(-15), TRUE);
  char text[16];
  GetDlgItemTextA(dialog_, 1002, text, sizeof text);
  EXPECT_STREQ(text, "-15");
  DestroyWindow(dialog_);
}

TEST(MessageBoxes, TheResponderAnswersAndRecordsWhatWasShown) {
  responder::Reset();
  responder::Push([](const responder::Shown& s) {
    EXPECT_TRUE(s.messageBox);
    return IDNO;
  });
  EXPECT_EQ(MessageBoxA(nullptr, "保存しますか?", "Lumora Caution", MB_YESNO | MB_ICONQUESTION), IDNO);
  // Unanswered boxes on the memory-only screen take their default button.
  EXPECT_EQ(MessageBoxA(nullptr, "x", "Lumora Error", MB_OKCANCEL | MB_DEFBUTTON2), IDCANCEL);
  auto shown = responder::History();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].text, "保存しますか?");
  EXPECT_EQ(shown[0].caption, "Lumora Caution");
  EXPECT_EQ(shown[1].type, static_cast<UINT>(MB_OKCANCEL | MB_DEFBUTTON2));
}

// A box as the screen shows it: the icon its type names, every line of its text whole in
// the font it draws with, and its first button answering a click.
TEST(MessageBoxes, TheBoxShowsItsIconAndItsLinesWhole) {
  struct Case {
    UINT type;
    COLORREF iconColour;
    int answer;
  } cases[] = {
      {MB_OK | MB_ICONERROR, RGB(255, 0, 0), IDOK},
      {MB_YESNO | MB_ICONQUESTION, RGB(0, 0, 255), IDYES},
      {MB_OKCANCEL | MB_ICONEXCLAMATION, RGB(255, 255, 0), IDOK},
      {MB_OK | MB_ICONINFORMATION, RGB(0, 0, 255), IDOK},
  };
  const std::string lines[] = {"画像ファイルの保存に失敗しました。",
                               "ディスクの空き容量を確かめてから、もう一度保存してください。"};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    responder::Reset();
    responder::ShowNextBox();
    responder::Push([&](const responder::Shown& shown) {
      HWND box = shown.hwnd;
      EXPECT_FALSE(shown.messageBox);  // shown as the window it is
      HWND icon = GetDlgItem(box, 0x14), text = GetDlgItem(box, 0xFFFF);
      EXPECT_NE(SendMessageA(icon, STM_GETICON, 0, 0), 0);
      plat::user::driver::WaitIdle();  // painted, as the box's loop paints it
      RECT r;
      GetWindowRect(icon, &r);
      int inked = 0;
      {
        auto screen = plat::display::Screen::Get().Lock();
        for (int y = r.top; y < r.bottom; ++y)
          for (int x = r.left; x < r.right; ++x) {
            const uint32_t p = screen.Row(y)[x];
            inked += RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF) == c.iconColour;
          }
      }
      EXPECT_GT(inked, 100) << "the icon is drawn";
      // Each line fits the text's place in the font the box draws it with.
      RECT place;
      GetClientRect(text, &place);
      HDC dc = GetDC(text);
      HGDIOBJ font = reinterpret_cast<HFONT>(SendMessageA(text, WM_GETFONT, 0, 0));
      HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));  // what it draws with
      for (const std::string& line : lines) {
        SIZE extent{};
        GetTextExtentPoint32A(dc, line.c_str(), static_cast<int>(line.size()), &extent);
        EXPECT_LE(extent.cx, place.right) << line;
      }
      TEXTMETRICA tm{};
      GetTextMetricsA(dc, &tm);
      EXPECT_GE(place.bottom, 2 * tm.tmHeight);
      SelectObject(dc, old);
      ReleaseDC(text, dc);
      // The first button, clicked where the screen shows it.
      GetWindowRect(GetDlgItem(box, c.answer), &r);
      plat::user::driver::Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
      return 0;
    });
    const std::string body = lines[0] + "\n" + lines[1];
    EXPECT_EQ(MessageBoxA(nullptr, body.c_str(), "Lumora", c.type), c.answer);
  }
  responder::Reset();
}

}  // namespace
