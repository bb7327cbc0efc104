// Drives the choosers through the test responder: each script acts on the dialog
// when it opens.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "CommDlgError.h"
#include "user/Responder.h"
#include "windows.h"

namespace choosers {

namespace responder = plat::user::responder;

class ChooserTest : public ::testing::Test {
 protected:
  void SetUp() override { responder::Reset(); }
  void TearDown() override { responder::Reset(); }

  // Runs `act` on the next dialog; the dialog is expected to be still open afterwards
  // only when `act` does not end it.
  static void OnDialog(std::function<void(HWND)> act) {
    responder::Push([act](const responder::Shown& shown) {
      act(shown.hwnd);
      return 0;
    });
  }
  static void Press(HWND dlg, int id) { SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dlg, id))); }
  static void Type(HWND dlg, int id, const char* text) { SetDlgItemTextA(dlg, id, text); }
  static std::string Text(HWND dlg, int id) {
    char buf[256] = {};
    GetDlgItemTextA(dlg, id, buf, sizeof buf);
    return buf;
  }
  static std::string Selected(HWND dlg, int id) {
    auto i = SendDlgItemMessageA(dlg, id, CB_GETCURSEL, 0, 0);
    char buf[256] = {};
    if (i >= 0) SendDlgItemMessageA(dlg, id, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf));
    return buf;
  }
  static void Select(HWND dlg, int id, const char* text) {
    auto i = SendDlgItemMessageA(dlg, id, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
    SendDlgItemMessageA(dlg, id, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
    SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(dlg, id)));
  }
  // The message boxes shown so far, by text.
  static std::vector<std::string> Boxes() {
    std::vector<std::string> out;
    for (const auto& s : responder::History())
      if (s.messageBox) out.push_back(s.text);
    return out;
  }
};

}  // namespace choosers
