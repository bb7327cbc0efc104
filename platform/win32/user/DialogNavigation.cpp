// Keyboard navigation of dialogs: tab order, groups, default button, Esc and mnemonics.
#include <cctype>
#include <vector>

#include "../WinControls.h"
#include "../WinSystem.h"
#include "Dialog.h"
#include "Window.h"

namespace {

bool Usable(HWND h) { return IsWindowVisible(h) && IsWindowEnabled(h); }
DWORD StyleOf(HWND h) { return static_cast<DWORD>(GetWindowLongA(h, GWL_STYLE)); }

// The dialog's controls in tab order, stepping into child dialogs that hold controls.
void Collect(HWND parent, std::vector<HWND>& out) {
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (GetWindowLongA(c, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) {
      if (Usable(c)) Collect(c, out);
    } else {
      out.push_back(c);
    }
  }
}

// The control that owns `h` among the dialog's direct items (h may be a combo's edit).
HWND ItemOf(HWND dialog, HWND h) {
  while (h && GetParent(h) != dialog) {
    HWND p = GetParent(h);
    if (!p || !(StyleOf(h) & WS_CHILD)) return nullptr;
    if (GetWindowLongA(p, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) break;
    h = p;
  }
  return h;
}

LRESULT CodeOf(HWND h, const MSG* msg) {
  return SendMessageA(h, WM_GETDLGCODE, msg ? msg->wParam : 0, reinterpret_cast<LPARAM>(msg));
}

char MnemonicOf(HWND h) {
  char text[256] = {};
  GetWindowTextA(h, text, sizeof text);
  for (const char* p = text; *p; ++p)
    if (*p == '&') {
      if (p[1] == '&') {
        ++p;
        continue;
      }
      return static_cast<char>(std::toupper(static_cast<unsigned char>(p[1])));
    }
  return 0;
}

void Click(HWND dialog, HWND button) {
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

bool Mnemonic(HWND dialog, HWND focus, char key) {
  key = static_cast<char>(std::toupper(static_cast<unsigned char>(key)));
  std::vector<HWND> items;
  Collect(dialog, items);
  if (items.empty()) return false;
  size_t start = 0;
  HWND item = ItemOf(dialog, focus);
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i] == item) start = i + 1;
  for (size_t k = 0; k < items.size(); ++k) {
    HWND c = items[(start + k) % items.size()];
    if (!IsWindowVisible(c) || MnemonicOf(c) != key) continue;
    LRESULT code = CodeOf(c, nullptr);
    if (code & DLGC_STATIC) {
      // A label gives its mnemonic to the control after it.
      HWND next = GetNextDlgTabItem(dialog, c, FALSE);
      if (next) SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
      return true;
    }
    if (!IsWindowEnabled(c)) continue;
    if (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) {
      Click(dialog, c);
    } else if (code & DLGC_BUTTON) {
      SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(c), TRUE);
      SendMessageA(c, BM_CLICK, 0, 0);
    } else {
      SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(c), TRUE);
    }
    return true;
  }
  return false;
}

}  // namespace

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
  std::vector<HWND> items;
  Collect(dialog, items);
  if (items.empty()) return nullptr;
  size_t n = items.size(), at = previous ? 0 : n - 1;
  if (control)
    for (size_t i = 0; i < n; ++i)
      if (items[i] == control) at = i;
  for (size_t k = 1; k <= n; ++k) {
    size_t i = previous ? (at + n - k) % n : (at + k) % n;
    if ((StyleOf(items[i]) & WS_TABSTOP) && Usable(items[i])) return items[i];
  }
  return control;
}

HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous) {
  std::vector<HWND> items;
  Collect(dialog, items);
  if (items.empty()) return nullptr;
  size_t n = items.size(), at = 0;
  for (size_t i = 0; i < n; ++i)
    if (items[i] == control) at = i;
  // The group runs from the item with WS_GROUP at or before `control` to before the next one.
  size_t first = at;
  while (first > 0 && !(StyleOf(items[first]) & WS_GROUP)) --first;
  size_t last = at + 1;
  while (last < n && !(StyleOf(items[last]) & WS_GROUP)) ++last;
  size_t size = last - first;
  for (size_t k = 1; k <= size; ++k) {
    size_t i = first + (previous ? (at - first + size - k) % size : (at - first + k) % size);
    if (Usable(items[i])) return items[i];
  }
  return control;
}

BOOL IsDialogMessageA(HWND dialog, LPMSG msg) {
  if (!msg || !dialog || (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd))) return FALSE;
  HWND focus = GetFocus();
  LRESULT code = msg->hwnd ? CodeOf(msg->hwnd, msg) : 0;
  bool wantsAll = (code & DLGC_WANTALLKEYS) != 0;
  switch (msg->message) {
    case WM_KEYDOWN:
      switch (msg->wParam) {
        case VK_TAB:
          if (code & (DLGC_WANTTAB | DLGC_WANTALLKEYS)) break;
          if (HWND next = GetNextDlgTabItem(dialog, ItemOf(dialog, focus), (GetKeyState(VK_SHIFT) & 0x8000) != 0))
            SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
          return TRUE;
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN: {
          if (code & (DLGC_WANTARROWS | DLGC_WANTALLKEYS)) break;
          bool back = msg->wParam == VK_LEFT || msg->wParam == VK_UP;
          HWND next = GetNextDlgGroupItem(dialog, ItemOf(dialog, focus), back);
          if (next && next != ItemOf(dialog, focus)) {
            SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
            // Arrowing onto an automatic radio button checks it.
            if ((CodeOf(next, nullptr) & DLGC_RADIOBUTTON) && (StyleOf(next) & BS_TYPEMASK) == BS_AUTORADIOBUTTON)
              SendMessageA(next, BM_CLICK, 0, 0);
          }
          return TRUE;
        }
        case VK_RETURN: {
          if (wantsAll) break;
          int id = IDOK;
          LRESULT def = SendMessageA(dialog, DM_GETDEFID, 0, 0);
          if (HIWORD(def) == DC_HASDEFID) id = LOWORD(def);
          HWND item = ItemOf(dialog, focus);
          if (item && (CodeOf(item, nullptr) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) id = GetDlgCtrlID(item);
          HWND button = GetDlgItem(dialog, id);
          if (button && !IsWindowEnabled(button)) {
            MessageBeep(0);
            return TRUE;
          }
          SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
          return TRUE;
        }
        case VK_ESCAPE: {
          if (wantsAll) break;
          HWND cancel = GetDlgItem(dialog, IDCANCEL);
          if (cancel && !IsWindowEnabled(cancel)) {
            MessageBeep(0);
            return TRUE;
          }
          SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
          return TRUE;
        }
        default:
          break;
      }
      break;
    case WM_SYSCHAR:
      if (Mnemonic(dialog, focus, static_cast<char>(msg->wParam))) return TRUE;
      break;
    case WM_CHAR:
      if (code & (DLGC_WANTCHARS | DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) break;
      if (msg->wParam > ' ' && msg->wParam < 0x7F && Mnemonic(dialog, focus, static_cast<char>(msg->wParam)))
        return TRUE;
      // Tab, Enter and Esc characters have been handled as keys.
      if (msg->wParam == '\t' || msg->wParam == '\r' || msg->wParam == 0x1B) return TRUE;
      break;
    default:
      break;
  }
  TranslateMessage(msg);
  DispatchMessageA(msg);
  return TRUE;
}
