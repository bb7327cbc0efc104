// The dialog manager's per-dialog state.
#pragma once
#include <memory>

#include "../WinDialog.h"

namespace plat::user {

struct DialogState {
  bool modal = false;
  bool ended = false;
  INT_PTR result = 0;
  HWND savedFocus = nullptr;
  HFONT font = nullptr;
  std::shared_ptr<void> templateFont;  // the template's own font (DS_SETFONT), deleted with the dialog
  WORD defId = IDOK;
  HWND owner = nullptr;         // a modal dialog's owner ...
  bool enableOwner = false;     // ... that the dialog disabled and gives back when it ends
};

std::shared_ptr<DialogState> FindDialogState(HWND dialog);

// Dialog units to pixels with the stand-in's fixed base units.
int DialogUnitsToPixelsX(int x);
int DialogUnitsToPixelsY(int y);

// Registers the dialog window class ("#32770").
void EnsureDialogClass();

}  // namespace plat::user
