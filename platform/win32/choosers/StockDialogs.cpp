#include "choosers/StockDialogs.h"

#include "CommDlgError.h"
#include "ModuleRegistry.h"
#include "rc/ResourceRegistry.h"

namespace plat::choosers {

HINSTANCE StockModule() {
  static const HMODULE module = [] {
    plat::ModuleSpec spec{"StockDialogs.dll"};
    spec.folder = "C:\\WINDOWS\\SYSTEM32";
    spec.loaded = true;  // a part of the system, there for the life of the program
    return plat::RegisterModule(spec);
  }();
  return module;
}

BOOL Fail(DWORD code) {
  plat::commdlg::SetExtendedError(code);
  return FALSE;
}

bool EndOnOkOrCancel(HWND dlg, WPARAM command, const std::function<bool()>& accept) {
  switch (LOWORD(command)) {
    case IDOK:
      if (accept()) EndDialog(dlg, IDOK);
      return true;
    case IDCANCEL:
      EndDialog(dlg, IDCANCEL);
      return true;
    default:
      return false;
  }
}

BOOL RunChooser(UINT id, HWND owner, DLGPROC proc, void* state) {
  INT_PTR r = DialogBoxParamA(StockModule(), MAKEINTRESOURCEA(id), owner, proc, reinterpret_cast<LPARAM>(state));
  Fail(r == -1 ? CDERR_DIALOGFAILURE : 0);
  return r == IDOK ? TRUE : FALSE;
}

std::string StockString(UINT id) { return plat::rc::LoadString("StockDialogs", id).value_or(""); }

}  // namespace plat::choosers
