// Shared pieces of the controls and their registration as system classes.
#include "ControlSupport.h"

#include "../user/Mdi.h"

#include "../WinCommCtrl.h"
#include "../user/Window.h"

namespace plat::controls {

void RegisterAll() {
  struct Entry {
    const char* name;
    WNDPROC proc;
    UINT style;
    int background;  // COLOR_x + 1, or 0
  };
  // Buttons and statics paint their whole face, so they need no class brush.
  const Entry entries[] = {
      {"Button", ButtonProc, CS_DBLCLKS, 0},
      {"Static", StaticProc, CS_DBLCLKS, 0},
      {"Edit", EditProc, CS_DBLCLKS, 0},
      {"ListBox", ListBoxProc, CS_DBLCLKS, 0},
      {"ComboBox", ComboBoxProc, CS_DBLCLKS, 0},
      {"ComboLBox", ComboListProc, CS_DBLCLKS | CS_SAVEBITS, 0},
      {"ScrollBar", ScrollBarProc, CS_DBLCLKS, 0},
      {TRACKBAR_CLASSA, TrackbarProc, CS_DBLCLKS, 0},
      {UPDOWN_CLASSA, UpDownProc, CS_DBLCLKS, 0},
      {PROGRESS_CLASSA, ProgressProc, 0, 0},
      {WC_TABCONTROLA, TabProc, CS_DBLCLKS, 0},
      {TOOLTIPS_CLASSA, ToolTipProc, CS_SAVEBITS, 0},
      {STATUSCLASSNAMEA, StatusBarProc, CS_DBLCLKS, 0},
      {TOOLBARCLASSNAMEA, ToolbarProc, CS_DBLCLKS, 0},
      {REBARCLASSNAMEA, RebarProc, CS_DBLCLKS, COLOR_BTNFACE + 1},
  };
  for (const auto& e : entries) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = e.style | CS_GLOBALCLASS;
    wc.lpfnWndProc = e.proc;
    wc.lpszClassName = e.name;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = e.background ? reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(e.background)) : nullptr;
    plat::user::RegisterSystemClass(wc);
  }
  plat::user::RegisterMdiClientClass();
}

void Command(HWND h, UINT code) {
  HWND parent = GetParent(h);
  if (!parent) return;
  SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(h), code), reinterpret_cast<LPARAM>(h));
}

LRESULT Notify(HWND h, UINT code, NMHDR& header) {
  header.hwndFrom = h;
  header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(h));
  header.code = code;
  HWND parent = GetParent(h);
  if (!parent) return 0;
  return SendMessageA(parent, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

HBRUSH ParentColors(HWND h, HDC dc, UINT ctlColorMsg) {
  const bool window = ctlColorMsg == WM_CTLCOLOREDIT || ctlColorMsg == WM_CTLCOLORLISTBOX;
  SetTextColor(dc, GetSysColor(window ? COLOR_WINDOWTEXT : COLOR_BTNTEXT));
  SetBkColor(dc, GetSysColor(window ? COLOR_WINDOW : COLOR_BTNFACE));
  HBRUSH fallback = GetSysColorBrush(window ? COLOR_WINDOW : COLOR_BTNFACE);
  HWND parent = GetParent(h);
  if (!parent) return fallback;
  auto brush = reinterpret_cast<HBRUSH>(
      SendMessageA(parent, ctlColorMsg, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(h)));
  return brush ? brush : fallback;
}

void PlaceAlongParent(HWND h, int height, bool bottom) {
  auto style = static_cast<DWORD>(GetWindowLongA(h, GWL_STYLE));
  HWND parent = GetParent(h);
  if ((style & CCS_NORESIZE) || !parent) return;
  RECT pr, mine;
  GetClientRect(parent, &pr);
  GetWindowRect(h, &mine);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&mine), 2);
  int x = 0, width = pr.right, y;
  DWORD side = style & CCS_BOTTOM;
  if (style & CCS_NOPARENTALIGN) {
    x = mine.left;
    width = mine.right - mine.left;
    y = mine.top;
  } else if (side == CCS_NOMOVEY) {
    y = mine.top;
  } else if (side == CCS_BOTTOM || (side == 0 && bottom)) {
    y = pr.bottom - height;
  } else {
    y = 0;
  }
  // Already in place: moving again would only repeat the WM_SIZE that brought us here.
  if (mine.left == x && mine.top == y && mine.right - mine.left == width && mine.bottom - mine.top == height) return;
  SetWindowPos(h, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT SwapImageList(HWND h, HIMAGELIST& held, LPARAM given) {
  HIMAGELIST old = held;
  held = reinterpret_cast<HIMAGELIST>(given);
  InvalidateRect(h, nullptr, TRUE);
  return reinterpret_cast<LRESULT>(old);
}

HFONT ControlFont(HFONT set) {
  return set ? set : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

PaintScope::PaintScope(HWND h, WPARAM givenDc) : hwnd_(h), dc_(reinterpret_cast<HDC>(givenDc)), own_(!givenDc) {
  if (own_) dc_ = BeginPaint(h, &ps_);
}

PaintScope::~PaintScope() {
  if (own_) EndPaint(hwnd_, &ps_);
}

namespace {
bool IsTrail(unsigned char c) { return (c & 0xC0) == 0x80; }
}  // namespace

size_t NextChar(const std::string& s, size_t i) {
  if (i >= s.size()) return s.size();
  ++i;
  while (i < s.size() && IsTrail(static_cast<unsigned char>(s[i]))) ++i;
  return i;
}

size_t PrevChar(const std::string& s, size_t i) {
  if (i == 0) return 0;
  if (i > s.size()) i = s.size();
  --i;
  while (i > 0 && IsTrail(static_cast<unsigned char>(s[i]))) --i;
  return i;
}

size_t CharStart(const std::string& s, size_t i) {
  if (i >= s.size()) return s.size();
  while (i > 0 && IsTrail(static_cast<unsigned char>(s[i]))) --i;
  return i;
}

std::string WindowText(HWND h) {
  int n = GetWindowTextLengthA(h);
  std::string s(static_cast<size_t>(n) + 1, '\0');
  int got = GetWindowTextA(h, s.data(), n + 1);
  s.resize(static_cast<size_t>(got > 0 ? got : 0));
  return s;
}

}  // namespace plat::controls

// The common classes are registered with the standard ones, before any window is created.
void InitCommonControls() {}
