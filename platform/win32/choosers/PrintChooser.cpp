// PrintDlgA: the printer (the built-in one and those of CUPS), the page range and
// the number of copies; the chosen printer comes back as DEVMODE and DEVNAMES blocks.
#include <strings.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "choosers/StockDialogIds.h"
#include "choosers/StockDialogs.h"
#include "print/Printers.h"
#include "windows.h"

namespace {

using plat::print::PrinterInfo;

constexpr int kMostCopies = 9999;

struct PrintState {
  LPPRINTDLGA pd = nullptr;
  std::vector<PrinterInfo> printers;
  int printer = 0;
  int copies = 1;
};

// The device name a DEVNAMES block holds, or "" when there is none.
std::string DeviceOf(HGLOBAL names) {
  std::string device;
  if (!names) return device;
  auto* dn = static_cast<const DEVNAMES*>(GlobalLock(names));
  if (!dn) return device;
  SIZE_T size = GlobalSize(names);
  const char* base = reinterpret_cast<const char*>(dn);
  if (dn->wDeviceOffset < size) device.assign(base + dn->wDeviceOffset, strnlen(base + dn->wDeviceOffset, size - dn->wDeviceOffset));
  GlobalUnlock(names);
  return device;
}

int CopiesOf(HGLOBAL mode) {
  int copies = 0;
  if (!mode || GlobalSize(mode) < sizeof(DEVMODEA)) return copies;
  if (auto* dm = static_cast<const DEVMODEA*>(GlobalLock(mode))) {
    if (dm->dmFields & DM_COPIES) copies = dm->dmCopies;
    GlobalUnlock(mode);
  }
  return copies;
}

HGLOBAL MakeDevMode(const PrinterInfo& p, int copies) {
  HGLOBAL h = GlobalAlloc(GHND, sizeof(DEVMODEA));
  auto* dm = static_cast<DEVMODEA*>(GlobalLock(h));
  if (!dm) return h;
  // The name is cut to the field without splitting a character; DEVNAMES keeps it whole.
  size_t n = std::min(p.name.size(), static_cast<size_t>(CCHDEVICENAME - 1));
  while (n > 0 && n < p.name.size() && (static_cast<unsigned char>(p.name[n]) & 0xC0) == 0x80) --n;
  std::memcpy(dm->dmDeviceName, p.name.data(), n);
  dm->dmSpecVersion = DM_SPECVERSION;
  dm->dmSize = sizeof(DEVMODEA);
  dm->dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES | DM_PRINTQUALITY | DM_YRESOLUTION;
  dm->dmOrientation = DMORIENT_PORTRAIT;
  dm->dmPaperSize = DMPAPER_A4;
  dm->dmCopies = static_cast<short>(copies);
  dm->dmPrintQuality = static_cast<short>(p.dpi);
  dm->dmYResolution = static_cast<short>(p.dpi);
  GlobalUnlock(h);
  return h;
}

HGLOBAL MakeDevNames(const PrinterInfo& p) {
  const std::string driver = "winspool", port = p.cupsName.empty() ? "PDF:" : "CUPS:";
  size_t size = sizeof(DEVNAMES) + driver.size() + p.name.size() + port.size() + 3;
  HGLOBAL h = GlobalAlloc(GHND, size);
  auto* dn = static_cast<DEVNAMES*>(GlobalLock(h));
  if (!dn) return h;
  char* base = reinterpret_cast<char*>(dn);
  size_t at = sizeof(DEVNAMES);
  auto put = [&](const std::string& s) {
    std::memcpy(base + at, s.c_str(), s.size() + 1);
    WORD offset = static_cast<WORD>(at);
    at += s.size() + 1;
    return offset;
  };
  dn->wDriverOffset = put(driver);
  dn->wDeviceOffset = put(p.name);
  dn->wOutputOffset = put(port);
  dn->wDefault = strcasecmp(p.name.c_str(), plat::print::DefaultPrinterName().c_str()) == 0 ? DN_DEFAULTPRN : 0;
  GlobalUnlock(h);
  return h;
}

// Hands the chosen printer back; the blocks passed in are replaced.
BOOL Answer(LPPRINTDLGA pd, const PrinterInfo& p, int copies) {
  bool devmodeCopies = (pd->Flags & PD_USEDEVMODECOPIES) != 0;
  if (pd->hDevMode) GlobalFree(pd->hDevMode);
  if (pd->hDevNames) GlobalFree(pd->hDevNames);
  pd->hDevMode = MakeDevMode(p, devmodeCopies ? copies : 1);
  pd->hDevNames = MakeDevNames(p);
  pd->nCopies = static_cast<WORD>(devmodeCopies ? 1 : copies);
  pd->hDC = nullptr;
  if (pd->Flags & PD_RETURNDC) {
    auto* dm = static_cast<const DEVMODEA*>(GlobalLock(pd->hDevMode));
    pd->hDC = CreateDCA("WINSPOOL", p.name.c_str(), nullptr, dm);
    GlobalUnlock(pd->hDevMode);
    if (!pd->hDC) return plat::choosers::Fail(PDERR_CREATEICFAILURE);
  }
  plat::commdlg::SetExtendedError(0);
  return TRUE;
}

void Message(HWND dlg, const std::string& text) { MessageBoxA(dlg, text.c_str(), "印刷", MB_OK | MB_ICONEXCLAMATION); }

UINT Field(HWND dlg, int id, bool& ok) {
  BOOL good = FALSE;
  UINT v = GetDlgItemInt(dlg, id, &good, FALSE);
  ok = good != FALSE;
  return v;
}

void EnableRange(HWND dlg, bool pages) {
  EnableWindow(GetDlgItem(dlg, PRINT_FROM), pages);
  EnableWindow(GetDlgItem(dlg, PRINT_TO), pages);
}

void Fill(HWND dlg, PrintState& s) {
  LPPRINTDLGA pd = s.pd;
  for (const PrinterInfo& p : s.printers)
    SendDlgItemMessageA(dlg, PRINT_PRINTER, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(p.name.c_str()));
  SendDlgItemMessageA(dlg, PRINT_PRINTER, CB_SETCURSEL, s.printer, 0);
  if (pd->Flags & PD_PRINTSETUP) return;
  int radio = (pd->Flags & PD_PAGENUMS) ? PRINT_PAGES : (pd->Flags & PD_SELECTION) ? PRINT_SELECTION : PRINT_ALL;
  CheckRadioButton(dlg, PRINT_ALL, PRINT_PAGES, radio);
  EnableWindow(GetDlgItem(dlg, PRINT_SELECTION), !(pd->Flags & PD_NOSELECTION));
  EnableWindow(GetDlgItem(dlg, PRINT_PAGES), !(pd->Flags & PD_NOPAGENUMS));
  if (!(pd->Flags & PD_NOPAGENUMS)) {
    SetDlgItemInt(dlg, PRINT_FROM, pd->nFromPage, FALSE);
    SetDlgItemInt(dlg, PRINT_TO, pd->nToPage, FALSE);
  }
  EnableRange(dlg, radio == PRINT_PAGES);
  SetDlgItemInt(dlg, PRINT_COPIES, static_cast<UINT>(s.copies), FALSE);
}

bool Accept(HWND dlg, PrintState& s) {
  LPPRINTDLGA pd = s.pd;
  int printer = static_cast<int>(SendDlgItemMessageA(dlg, PRINT_PRINTER, CB_GETCURSEL, 0, 0));
  if (printer < 0 || printer >= static_cast<int>(s.printers.size())) {
    Message(dlg, plat::choosers::StockString(IDS_NO_PRINTER));
    return false;
  }
  s.printer = printer;
  if (pd->Flags & PD_PRINTSETUP) return true;
  bool ok = false;
  UINT copies = Field(dlg, PRINT_COPIES, ok);
  if (!ok || copies < 1 || copies > kMostCopies) {
    Message(dlg, plat::choosers::StockString(IDS_COPIES_RANGE));
    SetFocus(GetDlgItem(dlg, PRINT_COPIES));
    return false;
  }
  DWORD range = PD_ALLPAGES;
  if (IsDlgButtonChecked(dlg, PRINT_PAGES) == BST_CHECKED) range = PD_PAGENUMS;
  if (IsDlgButtonChecked(dlg, PRINT_SELECTION) == BST_CHECKED) range = PD_SELECTION;
  if (range == PD_PAGENUMS) {
    bool okFrom = false, okTo = false;
    UINT from = Field(dlg, PRINT_FROM, okFrom), to = Field(dlg, PRINT_TO, okTo);
    if (!okFrom || !okTo || from < pd->nMinPage || to > pd->nMaxPage || from > to) {
      char text[256];
      std::snprintf(text, sizeof text, plat::choosers::StockString(IDS_PAGE_RANGE).c_str(), pd->nMinPage, pd->nMaxPage);
      Message(dlg, text);
      SetFocus(GetDlgItem(dlg, okFrom && from >= pd->nMinPage ? PRINT_TO : PRINT_FROM));
      return false;
    }
    pd->nFromPage = static_cast<WORD>(from);
    pd->nToPage = static_cast<WORD>(to);
  }
  pd->Flags = (pd->Flags & ~static_cast<DWORD>(PD_PAGENUMS | PD_SELECTION)) | range;
  s.copies = static_cast<int>(copies);
  return true;
}

INT_PTR CALLBACK PrintProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* s = plat::choosers::ChooserState<PrintState>(dlg, msg, lParam);
  if (!s) return FALSE;
  switch (msg) {
    case WM_INITDIALOG:
      Fill(dlg, *s);
      return TRUE;
    case WM_COMMAND:
      if (plat::choosers::EndOnOkOrCancel(dlg, wParam, [&] { return Accept(dlg, *s); })) return TRUE;
      switch (LOWORD(wParam)) {
        case PRINT_ALL:
        case PRINT_PAGES:
        case PRINT_SELECTION:
          if (HIWORD(wParam) == BN_CLICKED) EnableRange(dlg, IsDlgButtonChecked(dlg, PRINT_PAGES) == BST_CHECKED);
          return TRUE;
        default:
          break;
      }
      break;
    default:
      break;
  }
  return FALSE;
}

}  // namespace

BOOL PrintDlgA(LPPRINTDLGA pd) {
  using plat::choosers::Fail;
  if (!pd || pd->lStructSize != sizeof(PRINTDLGA)) return Fail(CDERR_STRUCTSIZE);
  pd->hDC = nullptr;
  PrintState s;
  s.pd = pd;
  s.printers = plat::print::Printers();
  std::string wanted = DeviceOf(pd->hDevNames);
  if (wanted.empty()) wanted = plat::print::DefaultPrinterName();
  s.printer = -1;
  for (size_t i = 0; i < s.printers.size(); ++i)
    if (strcasecmp(s.printers[i].name.c_str(), wanted.c_str()) == 0) s.printer = static_cast<int>(i);
  if (pd->Flags & PD_RETURNDEFAULT) {
    // Only the default printer is asked for; blocks passed in would be lost.
    if (pd->hDevMode || pd->hDevNames) return Fail(PDERR_RETDEFFAILURE);
    if (s.printer < 0) return Fail(PDERR_NODEFAULTPRN);
    return Answer(pd, s.printers[static_cast<size_t>(s.printer)], 1);
  }
  if (s.printer < 0) s.printer = 0;  // a printer gone since: offer the first
  if (!(pd->Flags & PD_PRINTSETUP) && pd->nMinPage > pd->nMaxPage) return Fail(PDERR_INITFAILURE);
  int copies = (pd->Flags & PD_USEDEVMODECOPIES) ? CopiesOf(pd->hDevMode) : pd->nCopies;
  s.copies = copies < 1 ? 1 : std::min(copies, kMostCopies);
  UINT id = (pd->Flags & PD_PRINTSETUP) ? IDD_PRINT_SETUP : IDD_PRINT;
  if (!plat::choosers::RunChooser(id, pd->hwndOwner, PrintProc, &s)) return FALSE;
  return Answer(pd, s.printers[static_cast<size_t>(s.printer)], s.copies);
}
