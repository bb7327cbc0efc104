// The module that holds the stand-in's own dialog templates and texts.
#pragma once
#include <functional>
#include <string>

#include "CommDlgError.h"
#include "WinDialog.h"

namespace plat::choosers {

HINSTANCE StockModule();
// String `id` of the module (empty when missing).
std::string StockString(UINT id);

// The state a chooser's dialog procedure works on: given with WM_INITDIALOG, then kept
// with the dialog.
template <class State>
State* ChooserState(HWND dlg, UINT msg, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    SetWindowLongPtrA(dlg, DWLP_USER, lParam);
    return reinterpret_cast<State*>(lParam);
  }
  return reinterpret_cast<State*>(GetWindowLongPtrA(dlg, DWLP_USER));
}
// OK ends the dialog when `accept` agrees (it explains itself otherwise); Cancel always
// does. TRUE when the command was either.
bool EndOnOkOrCancel(HWND dlg, WPARAM command, const std::function<bool()>& accept);
// Records `code` as the chooser's extended error; answers FALSE for the caller to return.
BOOL Fail(DWORD code);
// Runs the chooser of template `id` on `state`; TRUE when it ends with OK.
BOOL RunChooser(UINT id, HWND owner, DLGPROC proc, void* state);

}  // namespace plat::choosers
