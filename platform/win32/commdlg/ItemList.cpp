#include "ItemList.h"

#include <strings.h>

#include "WinControls.h"
#include "WinGdi.h"
#include "WinGdiText.h"

namespace plat::commdlg {
namespace {

// Item data: bits 0-3 the picture, 4-11 the indent, from 12 on the owner's index + 1.
LPARAM Pack(ItemIcon icon, int indent, int index) {
  return static_cast<LPARAM>(static_cast<int>(icon) | (indent & 0xFF) << 4) |
         (static_cast<LPARAM>(index + 1) << 12);
}

bool IsCombo(HWND control) {
  char cls[32] = {};
  GetClassNameA(control, cls, sizeof cls);
  return strcasecmp(cls, "ComboBox") == 0;
}

bool IsOwnerDrawn(HWND control) {
  LONG style = GetWindowLongA(control, GWL_STYLE);
  return IsCombo(control) ? (style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) != 0
                          : (style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0;
}

void Box(HDC dc, int l, int t, int r, int b, COLORREF fill, COLORREF edge) {
  HBRUSH brush = CreateSolidBrush(fill);
  HPEN pen = CreatePen(PS_SOLID, 1, edge);
  HGDIOBJ oldBrush = SelectObject(dc, brush), oldPen = SelectObject(dc, pen);
  Rectangle(dc, l, t, r, b);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(brush);
  DeleteObject(pen);
}

// 16 x 14 pictures in the classic colours.
void DrawIcon16(HDC dc, int x, int y, ItemIcon icon) {
  switch (icon) {
    case ItemIcon::File:
      Box(dc, x + 3, y, x + 13, y + 14, RGB(255, 255, 255), RGB(0, 0, 0));
      for (int line = 0; line < 3; ++line) Box(dc, x + 5, y + 4 + line * 3, x + 11, y + 5 + line * 3, RGB(0, 0, 128), RGB(0, 0, 128));
      break;
    case ItemIcon::Folder:
    case ItemIcon::OpenFolder:
      Box(dc, x + 1, y + 1, x + 7, y + 4, RGB(255, 255, 128), RGB(128, 128, 0));
      Box(dc, x + 1, y + 3, x + 15, y + 13, icon == ItemIcon::OpenFolder ? RGB(255, 255, 255) : RGB(255, 255, 128),
          RGB(128, 128, 0));
      break;
    case ItemIcon::Drive:
      Box(dc, x, y + 4, x + 16, y + 12, RGB(192, 192, 192), RGB(0, 0, 0));
      Box(dc, x + 11, y + 8, x + 14, y + 10, RGB(0, 255, 0), RGB(0, 128, 0));
      break;
  }
}

std::string TextOf(HWND control, int item) {
  bool combo = IsCombo(control);
  auto len = SendMessageA(control, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, item, 0);
  if (len <= 0) return {};
  std::string text(static_cast<size_t>(len) + 1, '\0');
  SendMessageA(control, combo ? CB_GETLBTEXT : LB_GETTEXT, item, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(len));
  return text;
}

}  // namespace

int AddItem(HWND control, const std::string& text, ItemIcon icon, int indent, int index) {
  bool combo = IsCombo(control);
  // Lists the dialog does not draw itself show the indent as blanks.
  std::string shown = IsOwnerDrawn(control) ? text : std::string(static_cast<size_t>(indent) * 2, ' ') + text;
  auto pos = static_cast<int>(
      SendMessageA(control, combo ? CB_ADDSTRING : LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shown.c_str())));
  if (pos >= 0) SendMessageA(control, combo ? CB_SETITEMDATA : LB_SETITEMDATA, pos, Pack(icon, indent, index));
  return pos;
}

int IndexOfItem(HWND control, int item) {
  if (item < 0) return -1;
  auto data = SendMessageA(control, IsCombo(control) ? CB_GETITEMDATA : LB_GETITEMDATA, item, 0);
  if (data == -1) return -1;
  return static_cast<int>(data >> 12) - 1;
}

int SelectedIndex(HWND control) {
  auto item = static_cast<int>(SendMessageA(control, IsCombo(control) ? CB_GETCURSEL : LB_GETCURSEL, 0, 0));
  return IndexOfItem(control, item);
}

void SelectItemWithIndex(HWND control, int index) {
  bool combo = IsCombo(control);
  auto count = static_cast<int>(SendMessageA(control, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i)
    if (IndexOfItem(control, i) == index) {
      SendMessageA(control, combo ? CB_SETCURSEL : LB_SETCURSEL, i, 0);
      return;
    }
}

void DrawItem(const DRAWITEMSTRUCT& di) {
  HDC dc = di.hDC;
  RECT r = di.rcItem;
  bool selected = (di.itemState & ODS_SELECTED) != 0;
  FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  if (static_cast<int>(di.itemID) < 0) return;
  auto data = static_cast<LPARAM>(di.itemData);
  auto icon = static_cast<ItemIcon>(data & 0xF);
  int indent = static_cast<int>((data >> 4) & 0xFF);
  // A combo's own field shows the entry without its indent.
  if (di.itemState & ODS_COMBOBOXEDIT) indent = 0;
  int x = r.left + 2 + indent * 10;
  DrawIcon16(dc, x, r.top + (r.bottom - r.top - 14) / 2, icon);
  std::string text = TextOf(di.hwndItem, static_cast<int>(di.itemID));
  int oldMode = SetBkMode(dc, TRANSPARENT);
  COLORREF oldColor = SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  RECT tr{x + 20, r.top, r.right, r.bottom};
  DrawTextA(dc, text.c_str(), -1, &tr, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SetTextColor(dc, oldColor);
  SetBkMode(dc, oldMode);
  if (di.itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
}

}  // namespace plat::commdlg
