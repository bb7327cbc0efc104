// ChooseFontA: face, style and size from the installed fonts, with strikeout,
// underline and colour when effects are asked for.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "choosers/StockDialogIds.h"
#include "choosers/StockDialogs.h"
#include "windows.h"

namespace {

struct Face {
  LOGFONTA lf;  // as enumerated: character set, precision, pitch and family, name
};

struct NamedColor {
  const char* name;
  COLORREF color;
};
constexpr NamedColor kColors[] = {
    {"黒", RGB(0, 0, 0)},         {"栗色", RGB(128, 0, 0)},     {"緑", RGB(0, 128, 0)},
    {"オリーブ", RGB(128, 128, 0)}, {"紺", RGB(0, 0, 128)},       {"紫", RGB(128, 0, 128)},
    {"青緑", RGB(0, 128, 128)},     {"灰色", RGB(128, 128, 128)}, {"銀", RGB(192, 192, 192)},
    {"赤", RGB(255, 0, 0)},         {"ライム", RGB(0, 255, 0)},   {"黄", RGB(255, 255, 0)},
    {"青", RGB(0, 0, 255)},         {"赤紫", RGB(255, 0, 255)},   {"水色", RGB(0, 255, 255)},
    {"白", RGB(255, 255, 255)}};
constexpr int kSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
const char* const kStyles[] = {"標準", "斜体", "太字", "太字 斜体"};  // bit 0 italic, bit 1 bold
constexpr int kLargest = 1638;  // points; larger heights do not fit a LOGFONT's cell

struct FontState {
  LPCHOOSEFONTA cf = nullptr;
  std::vector<Face> faces;
  int dpi = 96;
  int initialFace = 0, initialStyle = 0, initialTenths = 100;
  HFONT sample = nullptr;
  COLORREF sampleColor = 0;
};

int CALLBACK Collect(const LOGFONTA* lf, const TEXTMETRICA*, DWORD type, LPARAM param) {
  auto* s = reinterpret_cast<FontState*>(param);
  // Raster faces are listed unless only scalable (or TrueType) ones are asked for.
  const DWORD flags = s->cf->Flags;
  if ((flags & CF_TTONLY) && !(type & TRUETYPE_FONTTYPE)) return 1;
  if ((flags & CF_SCALABLEONLY) && (type & RASTER_FONTTYPE)) return 1;
  for (const Face& f : s->faces)
    if (std::strcmp(f.lf.lfFaceName, lf->lfFaceName) == 0) return 1;
  s->faces.push_back(Face{*lf});
  return 1;
}

int Round(double v) { return static_cast<int>(std::lround(v)); }

// "10", "10.5": tenths of a point; 0 when the text is no size.
int ParseTenths(const char* text) {
  char* end = nullptr;
  double v = std::strtod(text, &end);
  while (end && *end == ' ') ++end;
  if (end == text || (end && *end) || !(v > 0) || v > kLargest) return 0;
  return Round(v * 10);
}

std::string SizeText(int tenths) {
  char buf[32];
  if (tenths % 10) std::snprintf(buf, sizeof buf, "%d.%d", tenths / 10, tenths % 10);
  else std::snprintf(buf, sizeof buf, "%d", tenths / 10);
  return buf;
}

int CurSel(HWND dlg, int id) { return static_cast<int>(SendDlgItemMessageA(dlg, id, CB_GETCURSEL, 0, 0)); }

LOGFONTA Chosen(HWND dlg, const FontState& s, int tenths) {
  int face = CurSel(dlg, FONT_FACE);
  LOGFONTA lf = s.faces[static_cast<size_t>(face < 0 ? 0 : face)].lf;
  int style = CurSel(dlg, FONT_STYLE);
  if (style < 0) style = 0;
  lf.lfHeight = -Round(tenths * s.dpi / 720.0);
  lf.lfWidth = lf.lfEscapement = lf.lfOrientation = 0;
  lf.lfWeight = (style & 2) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (style & 1) ? 1 : 0;
  lf.lfUnderline = IsDlgButtonChecked(dlg, FONT_UNDERLINE) == BST_CHECKED ? 1 : 0;
  lf.lfStrikeOut = IsDlgButtonChecked(dlg, FONT_STRIKEOUT) == BST_CHECKED ? 1 : 0;
  lf.lfClipPrecision = CLIP_STROKE_PRECIS;
  lf.lfQuality = DRAFT_QUALITY;
  return lf;
}

COLORREF ChosenColor(HWND dlg) {
  int i = CurSel(dlg, FONT_COLOR);
  return i < 0 ? 0 : static_cast<COLORREF>(SendDlgItemMessageA(dlg, FONT_COLOR, CB_GETITEMDATA, i, 0));
}

int SizeField(HWND dlg) {
  char text[32] = {};
  GetDlgItemTextA(dlg, FONT_SIZE, text, sizeof text);
  return ParseTenths(text);
}

void UpdateSample(HWND dlg, FontState& s) {
  int tenths = SizeField(dlg);
  if (tenths == 0) tenths = s.initialTenths;
  LOGFONTA lf = Chosen(dlg, s, std::min(tenths, 240));  // the box shows at most 24 points
  HFONT font = CreateFontIndirectA(&lf);
  SendDlgItemMessageA(dlg, FONT_SAMPLE, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  if (s.sample) DeleteObject(s.sample);
  s.sample = font;
  s.sampleColor = ChosenColor(dlg);
  InvalidateRect(GetDlgItem(dlg, FONT_SAMPLE), nullptr, TRUE);
}

void Fill(HWND dlg, FontState& s) {
  const DWORD flags = s.cf->Flags;
  for (const Face& f : s.faces) SendDlgItemMessageA(dlg, FONT_FACE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(f.lf.lfFaceName));
  SendDlgItemMessageA(dlg, FONT_FACE, CB_SETCURSEL, s.initialFace, 0);
  for (const char* style : kStyles) SendDlgItemMessageA(dlg, FONT_STYLE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(style));
  SendDlgItemMessageA(dlg, FONT_STYLE, CB_SETCURSEL, s.initialStyle, 0);
  for (int size : kSizes) {
    if ((flags & CF_LIMITSIZE) && (size < s.cf->nSizeMin || size > s.cf->nSizeMax)) continue;
    std::string text = SizeText(size * 10);
    SendDlgItemMessageA(dlg, FONT_SIZE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  SetDlgItemTextA(dlg, FONT_SIZE, SizeText(s.initialTenths).c_str());
  if (flags & CF_EFFECTS) {
    const LOGFONTA* init = (flags & CF_INITTOLOGFONTSTRUCT) ? s.cf->lpLogFont : nullptr;
    CheckDlgButton(dlg, FONT_STRIKEOUT, init && init->lfStrikeOut ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dlg, FONT_UNDERLINE, init && init->lfUnderline ? BST_CHECKED : BST_UNCHECKED);
    COLORREF want = s.cf->rgbColors & 0x00FFFFFF;
    int selected = -1;
    for (const NamedColor& c : kColors) {
      auto i = SendDlgItemMessageA(dlg, FONT_COLOR, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(c.name));
      SendDlgItemMessageA(dlg, FONT_COLOR, CB_SETITEMDATA, static_cast<WPARAM>(i), c.color);
      if (c.color == want) selected = static_cast<int>(i);
    }
    if (selected < 0) {  // a colour not in the list stays choosable
      auto i = SendDlgItemMessageA(dlg, FONT_COLOR, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("カスタム"));
      SendDlgItemMessageA(dlg, FONT_COLOR, CB_SETITEMDATA, static_cast<WPARAM>(i), want);
      selected = static_cast<int>(i);
    }
    SendDlgItemMessageA(dlg, FONT_COLOR, CB_SETCURSEL, selected, 0);
  } else {
    for (int id : {FONT_EFFECTS, FONT_STRIKEOUT, FONT_UNDERLINE, FONT_COLOR}) ShowWindow(GetDlgItem(dlg, id), SW_HIDE);
  }
  UpdateSample(dlg, s);
}

bool Accept(HWND dlg, FontState& s) {
  LPCHOOSEFONTA cf = s.cf;
  int tenths = SizeField(dlg);
  bool limited = (cf->Flags & CF_LIMITSIZE) != 0;
  int lo = limited ? cf->nSizeMin : 1, hi = limited ? cf->nSizeMax : kLargest;
  if (tenths == 0 || tenths < lo * 10 || tenths > hi * 10) {
    char text[256];
    std::snprintf(text, sizeof text, plat::choosers::StockString(IDS_SIZE_RANGE).c_str(), lo, hi);
    MessageBoxA(dlg, text, "フォント", MB_OK | MB_ICONEXCLAMATION);
    SetFocus(GetDlgItem(dlg, FONT_SIZE));
    return false;
  }
  LOGFONTA lf = Chosen(dlg, s, tenths);
  if (!(cf->Flags & CF_EFFECTS)) {
    const LOGFONTA* init = (cf->Flags & CF_INITTOLOGFONTSTRUCT) ? cf->lpLogFont : nullptr;
    lf.lfUnderline = init ? init->lfUnderline : 0;
    lf.lfStrikeOut = init ? init->lfStrikeOut : 0;
  } else {
    cf->rgbColors = ChosenColor(dlg);
  }
  *cf->lpLogFont = lf;
  cf->iPointSize = tenths;
  WORD type = SCREEN_FONTTYPE;
  if (cf->Flags & CF_PRINTERFONTS) type |= PRINTER_FONTTYPE;
  type |= lf.lfWeight >= FW_BOLD ? BOLD_FONTTYPE : REGULAR_FONTTYPE;
  if (lf.lfItalic) type |= ITALIC_FONTTYPE;
  cf->nFontType = type;
  return true;
}

INT_PTR CALLBACK FontProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* s = plat::choosers::ChooserState<FontState>(dlg, msg, lParam);
  if (!s) return FALSE;
  switch (msg) {
    case WM_INITDIALOG:
      Fill(dlg, *s);
      return TRUE;
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lParam) == GetDlgItem(dlg, FONT_SAMPLE)) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, s->sampleColor);
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
      }
      break;
    case WM_COMMAND:
      if (plat::choosers::EndOnOkOrCancel(dlg, wParam, [&] { return Accept(dlg, *s); })) return TRUE;
      switch (LOWORD(wParam)) {
        case FONT_FACE:
        case FONT_STYLE:
        case FONT_COLOR:
          if (HIWORD(wParam) == CBN_SELCHANGE) UpdateSample(dlg, *s);
          return TRUE;
        case FONT_SIZE:
          if (HIWORD(wParam) == CBN_SELCHANGE || HIWORD(wParam) == CBN_EDITCHANGE) UpdateSample(dlg, *s);
          return TRUE;
        case FONT_STRIKEOUT:
        case FONT_UNDERLINE:
          if (HIWORD(wParam) == BN_CLICKED) UpdateSample(dlg, *s);
          return TRUE;
        default:
          break;
      }
      break;
    case WM_DESTROY:
      if (s->sample) {
        DeleteObject(s->sample);
        s->sample = nullptr;
      }
      break;
    default:
      break;
  }
  return FALSE;
}

}  // namespace

BOOL ChooseFontA(LPCHOOSEFONTA cf) {
  using plat::choosers::Fail;
  if (!cf || cf->lStructSize != sizeof(CHOOSEFONTA)) return Fail(CDERR_STRUCTSIZE);
  if (!cf->lpLogFont) return Fail(CDERR_INITIALIZATION);
  if (!(cf->Flags & CF_BOTH)) return Fail(CFERR_NOFONTS);
  if ((cf->Flags & CF_LIMITSIZE) && (cf->nSizeMin < 1 || cf->nSizeMin > cf->nSizeMax)) return Fail(CFERR_MAXLESSTHANMIN);
  FontState s;
  s.cf = cf;
  // Printer fonts come from the printer's DC; screen fonts (and sizes) from the screen.
  HDC screen = GetDC(nullptr);
  HDC source = (cf->hDC && (cf->Flags & CF_PRINTERFONTS)) ? cf->hDC : screen;
  s.dpi = GetDeviceCaps(screen, LOGPIXELSY);
  LOGFONTA query{};
  query.lfCharSet = DEFAULT_CHARSET;
  EnumFontFamiliesExA(source, &query, Collect, reinterpret_cast<LPARAM>(&s), 0);
  ReleaseDC(nullptr, screen);
  if (s.faces.empty()) return Fail(CFERR_NOFONTS);
  if (cf->Flags & CF_INITTOLOGFONTSTRUCT) {
    const LOGFONTA& lf = *cf->lpLogFont;
    for (size_t i = 0; i < s.faces.size(); ++i)
      if (std::strcmp(s.faces[i].lf.lfFaceName, lf.lfFaceName) == 0) s.initialFace = static_cast<int>(i);
    s.initialStyle = (lf.lfItalic ? 1 : 0) | (lf.lfWeight >= FW_SEMIBOLD ? 2 : 0);
    if (lf.lfHeight != 0) s.initialTenths = Round(std::abs(lf.lfHeight) * 720.0 / s.dpi);
  }
  return plat::choosers::RunChooser(IDD_CHOOSE_FONT, cf->hwndOwner, FontProc, &s);
}
