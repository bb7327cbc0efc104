// The settings sheet in the running program: the real control panel with its five
// pages, driven by the messages a user's clicks, choices and typing send.
#pragma once
#include <string>

#include "ControlPanelRig.h"
#include "ui/VexPropertySheet.h"
#include "user/Responder.h"

class SettingsSheetRig : public ControlPanelRig {
 protected:
  void StartSheet(const char* commandLine = "/i C:\\Frame\\frame.ini") {
    StartPanel(commandLine);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_NE(panel->GetSettingsPages(), nullptr);
    sheet = dynamic_cast<CVexPropertySheet*>(panel->GetSettingsPages()->GetSheet());
    ASSERT_NE(sheet, nullptr);
  }
  HWND Page(int index) const { return sheet->Page(index)->m_hWnd; }
  HWND Item(int page, int id) const { return ::GetDlgItem(Page(page), id); }
  void Click(int page, int id) const { ::SendMessageA(Item(page, id), BM_CLICK, 0, 0); }
  bool Checked(int page, int id) const { return ::SendMessageA(Item(page, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  bool Enabled(int page, int id) const { return ::IsWindowEnabled(Item(page, id)) != FALSE; }
  // A choice in a list, as the user makes it: the selection, then the notification.
  void Choose(int page, int id, int index) const {
    ::SendMessageA(Item(page, id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageA(Page(page), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Item(page, id)));
  }
  int Chosen(int page, int id) const { return static_cast<int>(::SendMessageA(Item(page, id), CB_GETCURSEL, 0, 0)); }
  // New text in an edit; the page hears the change as from typing.
  void Put(int page, int id, const std::string& text) const { ::SetWindowTextA(Item(page, id), text.c_str()); }
  std::string Text(int page, int id) const {
    char text[1024] = {};
    ::GetWindowTextA(Item(page, id), text, sizeof text);
    return text;
  }
  // The next message box is answered with OK; its text is kept in `boxes`.
  void AnswerBox() {
    plat::user::responder::Push([this](const plat::user::responder::Shown& shown) {
      boxes.push_back(shown.text);
      return IDOK;
    });
  }

  CVexPropertySheet* sheet = nullptr;
  std::vector<std::string> boxes;
};
