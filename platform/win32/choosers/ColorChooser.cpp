// ChooseColorA: 48 basic colours, 16 custom colours, and (opened in full) red, green
// and blue fields with a swatch of the colour being made.
#include <algorithm>
#include <array>

#include "choosers/StockDialogIds.h"
#include "choosers/StockDialogs.h"
#include "windows.h"

namespace {

constexpr COLORREF kBasic[48] = {
    RGB(255, 128, 128), RGB(255, 255, 128), RGB(128, 255, 128), RGB(0, 255, 128),   RGB(128, 255, 255),
    RGB(0, 128, 255),   RGB(255, 128, 192), RGB(255, 128, 255), RGB(255, 0, 0),     RGB(255, 255, 0),
    RGB(128, 255, 0),   RGB(0, 255, 64),    RGB(0, 255, 255),   RGB(0, 128, 192),   RGB(128, 128, 192),
    RGB(255, 0, 255),   RGB(128, 64, 64),   RGB(255, 128, 64),  RGB(0, 255, 0),     RGB(0, 128, 128),
    RGB(0, 64, 128),    RGB(128, 128, 255), RGB(128, 0, 64),    RGB(255, 0, 128),   RGB(128, 0, 0),
    RGB(255, 128, 0),   RGB(0, 128, 0),     RGB(0, 128, 64),    RGB(0, 0, 255),     RGB(0, 0, 160),
    RGB(128, 0, 128),   RGB(128, 0, 255),   RGB(64, 0, 0),      RGB(128, 64, 0),    RGB(0, 64, 0),
    RGB(0, 64, 64),     RGB(0, 0, 128),     RGB(0, 0, 64),      RGB(64, 0, 64),     RGB(64, 0, 128),
    RGB(0, 0, 0),       RGB(128, 128, 0),   RGB(128, 128, 64),  RGB(128, 128, 128), RGB(64, 128, 128),
    RGB(192, 192, 192), RGB(64, 64, 64),    RGB(255, 255, 255)};

// Where the grids and the swatch lie, in dialog units.
constexpr RECT kBasicArea{4, 14, 148, 100};
constexpr RECT kCustomArea{4, 114, 148, 142};
constexpr RECT kSwatchArea{156, 14, 296, 70};
constexpr int kCollapsedWidth = 152;

struct ColorState {
  LPCHOOSECOLORA cc = nullptr;
  COLORREF current = 0;
  std::array<COLORREF, 16> custom{};
  int nextCustom = 0;
  bool full = false;
  bool updating = false;  // the fields are being filled by the dialog itself
};

RECT Pixels(HWND dlg, RECT du) {
  MapDialogRect(dlg, &du);
  return du;
}

RECT Cell(const RECT& area, int cols, int rows, int i) {
  int cw = (area.right - area.left) / cols, ch = (area.bottom - area.top) / rows;
  int x = area.left + (i % cols) * cw, y = area.top + (i / cols) * ch;
  return RECT{x + 2, y + 2, x + cw - 2, y + ch - 2};
}

void FillColor(HDC dc, RECT r, COLORREF c) {
  DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  HBRUSH b = CreateSolidBrush(c);
  FillRect(dc, &r, b);
  DeleteObject(b);
}

void ShowValues(HWND dlg, ColorState& s) {
  s.updating = true;
  SetDlgItemInt(dlg, COLOR_RED, GetRValue(s.current), FALSE);
  SetDlgItemInt(dlg, COLOR_GREEN, GetGValue(s.current), FALSE);
  SetDlgItemInt(dlg, COLOR_BLUE, GetBValue(s.current), FALSE);
  s.updating = false;
  InvalidateRect(dlg, nullptr, TRUE);
}

// The custom part: every control right of the basic grid.
void ShowCustomPart(HWND dlg, bool show) {
  RECT split = Pixels(dlg, RECT{kCollapsedWidth, 0, kCollapsedWidth, 0});
  for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    RECT r;
    GetWindowRect(c, &r);
    POINT p{r.left, r.top};
    ScreenToClient(dlg, &p);
    if (p.x >= split.left) ShowWindow(c, show ? SW_SHOW : SW_HIDE);
  }
}

void SetFull(HWND dlg, ColorState& s, bool full) {
  s.full = full;
  ShowCustomPart(dlg, full);
  RECT win, client;
  GetWindowRect(dlg, &win);
  GetClientRect(dlg, &client);
  int frame = (win.right - win.left) - client.right;
  RECT width = Pixels(dlg, RECT{0, 0, full ? 304 : kCollapsedWidth, 0});
  SetWindowPos(dlg, nullptr, 0, 0, width.right + frame, win.bottom - win.top, SWP_NOMOVE | SWP_NOZORDER);
  if (full) EnableWindow(GetDlgItem(dlg, COLOR_MIX), FALSE);
}

void Paint(HWND dlg, ColorState& s) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(dlg, &ps);
  RECT basic = Pixels(dlg, kBasicArea), custom = Pixels(dlg, kCustomArea);
  for (int i = 0; i < 48; ++i) {
    RECT r = Cell(basic, 8, 6, i);
    FillColor(dc, r, kBasic[i]);
    if (kBasic[i] == s.current) {
      InflateRect(&r, 2, 2);
      FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
  }
  for (int i = 0; i < 16; ++i) FillColor(dc, Cell(custom, 8, 2, i), s.custom[static_cast<size_t>(i)]);
  if (s.full) FillColor(dc, Pixels(dlg, kSwatchArea), s.current);
  EndPaint(dlg, &ps);
}

bool PickAt(HWND dlg, ColorState& s, POINT p) {
  RECT basic = Pixels(dlg, kBasicArea), custom = Pixels(dlg, kCustomArea);
  for (int i = 0; i < 48; ++i) {
    RECT r = Cell(basic, 8, 6, i);
    if (PtInRect(&r, p)) {
      s.current = kBasic[i];
      return true;
    }
  }
  for (int i = 0; i < 16; ++i) {
    RECT r = Cell(custom, 8, 2, i);
    if (PtInRect(&r, p)) {
      s.current = s.custom[static_cast<size_t>(i)];
      s.nextCustom = i;  // "add" replaces the colour picked last
      return true;
    }
  }
  return false;
}

void ReadFields(HWND dlg, ColorState& s) {
  auto field = [&](int id) {
    BOOL ok = FALSE;
    UINT v = GetDlgItemInt(dlg, id, &ok, FALSE);
    return static_cast<BYTE>(ok ? std::min(v, 255u) : 0u);
  };
  s.current = RGB(field(COLOR_RED), field(COLOR_GREEN), field(COLOR_BLUE));
  RECT swatch = Pixels(dlg, kSwatchArea), basic = Pixels(dlg, kBasicArea);
  InvalidateRect(dlg, &swatch, FALSE);
  InvalidateRect(dlg, &basic, TRUE);
}

INT_PTR CALLBACK ColorProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* s = plat::choosers::ChooserState<ColorState>(dlg, msg, lParam);
  if (!s) return FALSE;
  switch (msg) {
    case WM_INITDIALOG: {
      SetFull(dlg, *s, s->full);
      if (s->cc->Flags & CC_PREVENTFULLOPEN) EnableWindow(GetDlgItem(dlg, COLOR_MIX), FALSE);
      ShowValues(dlg, *s);
      return TRUE;
    }
    case WM_PAINT:
      Paint(dlg, *s);
      return TRUE;
    case WM_LBUTTONDOWN:
      if (PickAt(dlg, *s, POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}))
        ShowValues(dlg, *s);
      return TRUE;
    case WM_COMMAND:
      if (plat::choosers::EndOnOkOrCancel(dlg, wParam, [&] {
            s->cc->rgbResult = s->current;
            std::copy(s->custom.begin(), s->custom.end(), s->cc->lpCustColors);
            return true;
          }))
        return TRUE;
      switch (LOWORD(wParam)) {
        case COLOR_MIX:
          SetFull(dlg, *s, true);
          ShowValues(dlg, *s);
          return TRUE;
        case COLOR_RED:
        case COLOR_GREEN:
        case COLOR_BLUE:
          if (HIWORD(wParam) == EN_CHANGE && !s->updating) ReadFields(dlg, *s);
          return TRUE;
        case COLOR_ADD:
          s->custom[static_cast<size_t>(s->nextCustom)] = s->current;
          s->nextCustom = (s->nextCustom + 1) % 16;
          InvalidateRect(dlg, nullptr, TRUE);
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

BOOL ChooseColorA(LPCHOOSECOLORA cc) {
  // The custom colours are part of the answer: without a place for them there is no dialog.
  if (!cc || cc->lStructSize != sizeof(CHOOSECOLORA)) return plat::choosers::Fail(CDERR_STRUCTSIZE);
  if (!cc->lpCustColors) return plat::choosers::Fail(CDERR_INITIALIZATION);
  ColorState s;
  s.cc = cc;
  s.current = (cc->Flags & CC_RGBINIT) ? (cc->rgbResult & 0x00FFFFFF) : RGB(0, 0, 0);
  std::copy(cc->lpCustColors, cc->lpCustColors + 16, s.custom.begin());
  s.full = (cc->Flags & CC_FULLOPEN) && !(cc->Flags & CC_PREVENTFULLOPEN);
  return plat::choosers::RunChooser(IDD_CHOOSE_COLOR, cc->hwndOwner, ColorProc, &s);
}
