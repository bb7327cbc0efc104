// What a user does in the file dialogs and the folder browser, for tests' responder
// scripts: typing a name, pressing buttons, reading and double-clicking list entries.
#pragma once
#include <string>
#include <vector>

#include "windows.h"

namespace dialogdriver {

inline void Press(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

inline void TypeAndOk(HWND dialog, const std::string& name, int editId = 1152) {
  SetDlgItemTextA(dialog, editId, name.c_str());
  Press(dialog, IDOK);
}

// The texts of a list box, blanks of indentation dropped.
inline std::vector<std::string> Entries(HWND dialog, int listId) {
  HWND list = GetDlgItem(dialog, listId);
  std::vector<std::string> out;
  auto count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    char text[MAX_PATH] = {};
    SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
    std::string s = text;
    out.push_back(s.substr(s.find_first_not_of(' ') == std::string::npos ? 0 : s.find_first_not_of(' ')));
  }
  return out;
}

inline int Find(HWND dialog, int listId, const std::string& text) {
  auto entries = Entries(dialog, listId);
  for (size_t i = 0; i < entries.size(); ++i)
    if (entries[i] == text) return static_cast<int>(i);
  return -1;
}

inline std::string Selected(HWND dialog, int listId) {
  HWND list = GetDlgItem(dialog, listId);
  auto i = static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
  return i < 0 ? "" : Entries(dialog, listId)[static_cast<size_t>(i)];
}

// Selects an entry as a click does (the owner hears LBN_SELCHANGE).
inline bool Select(HWND dialog, int listId, const std::string& text) {
  int i = Find(dialog, listId, text);
  if (i < 0) return false;
  HWND list = GetDlgItem(dialog, listId);
  SetFocus(list);
  SendMessageA(list, LB_SETCURSEL, i, 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(listId, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  return true;
}

inline bool DoubleClick(HWND dialog, int listId, const std::string& text) {
  if (!Select(dialog, listId, text)) return false;
  HWND list = GetDlgItem(dialog, listId);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(listId, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
  return true;
}

// Picks entry `index` of a drop-down list as the keyboard does.
inline void Choose(HWND dialog, int comboId, int index) {
  HWND combo = GetDlgItem(dialog, comboId);
  SendMessageA(combo, CB_SETCURSEL, index, 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(comboId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

inline bool StillOpen(HWND dialog) { return IsWindow(dialog) && IsWindowVisible(dialog); }

inline std::string Text(HWND window) {
  char text[MAX_PATH] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

}  // namespace dialogdriver
