// Reading and writing dialog items by id.
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "../LastError.h"
#include "../WinControls.h"
#include "../WinDialog.h"
#include "../WinError.h"

BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text) {
  HWND item = GetDlgItem(dialog, id);
  return item ? SetWindowTextA(item, text) : FALSE;
}

UINT GetDlgItemTextA(HWND dialog, int id, LPSTR text, int max) {
  if (text && max > 0) text[0] = '\0';
  HWND item = GetDlgItem(dialog, id);
  return item ? static_cast<UINT>(GetWindowTextA(item, text, max)) : 0;
}

BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned) {
  char buf[16];
  if (isSigned)
    std::snprintf(buf, sizeof buf, "%d", static_cast<int>(value));
  else
    std::snprintf(buf, sizeof buf, "%u", value);
  return SetDlgItemTextA(dialog, id, buf);
}

UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned) {
  if (translated) *translated = FALSE;
  char buf[64];
  if (!GetDlgItem(dialog, id)) return 0;
  GetDlgItemTextA(dialog, id, buf, sizeof buf);
  // Blanks around the number are allowed; anything else, or a value out of range, is not.
  const char* p = buf;
  while (*p == ' ' || *p == '\t') ++p;
  bool negative = false;
  if (isSigned && (*p == '-' || *p == '+')) negative = *p++ == '-';
  if (!std::isdigit(static_cast<unsigned char>(*p))) return 0;
  unsigned long long v = 0;
  while (std::isdigit(static_cast<unsigned char>(*p))) {
    v = v * 10 + static_cast<unsigned>(*p++ - '0');
    if (v > 0xFFFFFFFFull) return 0;
  }
  while (*p == ' ' || *p == '\t') ++p;
  if (*p) return 0;
  if (isSigned) {
    if (negative ? v > 0x80000000ull : v > 0x7FFFFFFFull) return 0;
    if (translated) *translated = TRUE;
    return static_cast<UINT>(negative ? -static_cast<long long>(v) : static_cast<long long>(v));
  }
  if (translated) *translated = TRUE;
  return static_cast<UINT>(v);
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
  HWND item = GetDlgItem(dialog, id);
  if (!item) return FALSE;
  SendMessageA(item, BM_SETCHECK, check, 0);
  return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
  HWND item = GetDlgItem(dialog, id);
  return item ? static_cast<UINT>(SendMessageA(item, BM_GETCHECK, 0, 0)) : 0;
}

BOOL CheckRadioButton(HWND dialog, int first, int last, int check) {
  for (int id = first; id <= last; ++id)
    if (HWND item = GetDlgItem(dialog, id)) SendMessageA(item, BM_SETCHECK, id == check ? BST_CHECKED : BST_UNCHECKED, 0);
  return TRUE;
}

LRESULT SendDlgItemMessageA(HWND dialog, int id, UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND item = GetDlgItem(dialog, id);
  return item ? SendMessageA(item, msg, wParam, lParam) : 0;
}
