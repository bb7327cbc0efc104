// Scripted answers to modal dialogs and message boxes, for tests: a script runs when a
// modal dialog or message box opens and records what was shown.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "../WinUser.h"

namespace plat::user::responder {

struct Shown {
  bool messageBox = false;
  HWND hwnd = nullptr;  // the dialog (null for message boxes answered without showing)
  std::string caption;
  std::string text;     // message box text
  UINT type = 0;        // message box MB_ flags
};

// For a message box the script returns the button id; for a dialog it acts on the
// dialog (sets controls, presses buttons, calls EndDialog) and its answer is ignored.
using Script = std::function<int(const Shown&)>;

void Push(Script script);  // scripts are used in order, one per modal dialog or box
void FailNextDialog();     // the next modal dialog's creation fails (-1)
// The next message box opens as a window even on the memory-only screen, for a test to
// look at; scripts then act on it as on a dialog.
void ShowNextBox();
// Runs for a modal dialog that no script answers, where nothing else would ever end its
// loop; a test reports it and ends the dialog instead of waiting for ever. Null: none.
void OnUnscriptedDialog(Script script);
void Reset();               // also forgets the unscripted-dialog script
std::vector<Shown> History();

// Used by the dialog manager.
bool TakeFailure();
bool TakeShowBox();
bool HasScript();
int Run(const Shown& shown);
bool RunUnscripted(const Shown& shown);  // whether a script for unscripted dialogs ran
void Record(const Shown& shown);

}  // namespace plat::user::responder
