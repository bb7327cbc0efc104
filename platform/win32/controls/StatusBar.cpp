// The status bar ("msctls_statusbar32"): a row of parts along the bottom of its parent,
// each with text (left, centred and right pieces split by tabs) or drawn by the owner.
#include <algorithm>
#include <string>
#include <vector>

#include "../WinCommCtrl.h"
#include "ControlSupport.h"

namespace plat::controls {
namespace {

constexpr int kBorderX = 0;  // left of the first part
constexpr int kBorderY = 2;  // above and below the parts
constexpr int kGap = 2;      // between parts
constexpr int kMaxParts = 256;

struct Part {
  int right = -1;  // client x of the right edge; -1 to the end of the bar
  std::string text;
  UINT type = 0;  // SBT_ flags
  LPARAM data = 0;  // the owner's value of an owner-drawn part
};

struct StatusState {
  std::vector<Part> parts = std::vector<Part>(1);
  Part simple;
  bool simpleMode = false;
  int minHeight = 0;
  HFONT font = nullptr;
};

StateMap<StatusState> g_bars;

DWORD Style(HWND h) { return static_cast<DWORD>(GetWindowLongA(h, GWL_STYLE)); }

int GripWidth(HWND h) { return (Style(h) & SBARS_SIZEGRIP) ? GetSystemMetrics(SM_CXVSCROLL) : 0; }

int BarHeight(HWND h, const StatusState& s) {
  HDC dc = GetDC(h);
  TEXTMETRICA tm{};
  {
    FontScope font(dc, ControlFont(s.font));
    GetTextMetricsA(dc, &tm);
  }
  ReleaseDC(h, dc);
  // The text with a one-pixel edge and a pixel of air above and below it.
  return std::max(s.minHeight, static_cast<int>(tm.tmHeight) + 4) + 2 * kBorderY;
}

RECT PartRect(HWND h, const StatusState& s, int index) {
  RECT client;
  GetClientRect(h, &client);
  int end = client.right - GripWidth(h);
  RECT r{kBorderX, kBorderY, end, client.bottom - kBorderY};
  if (s.simpleMode) return r;
  for (int i = 0; i <= index; ++i) {
    int right = s.parts[static_cast<size_t>(i)].right;
    r.right = right < 0 ? end : std::min(right, end);
    if (i < index) r.left = r.right + kGap;
  }
  if (r.right < r.left) r.right = r.left;
  return r;
}

// Draws one part's text: the piece before the first tab at the left, the next centred,
// the rest at the right.
void DrawPartText(HDC dc, const std::string& text, RECT r) {
  r.left += 2;
  r.right -= 2;
  size_t a = text.find('\t');
  size_t b = a == std::string::npos ? a : text.find('\t', a + 1);
  const UINT flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
  auto piece = [&](size_t from, size_t to, UINT align) {
    if (from >= text.size() || from >= to) return;
    std::string part = text.substr(from, to == std::string::npos ? std::string::npos : to - from);
    DrawTextA(dc, part.c_str(), static_cast<int>(part.size()), &r, flags | align);
  };
  piece(0, a, DT_LEFT);
  if (a != std::string::npos) piece(a + 1, b, DT_CENTER);
  if (b != std::string::npos) piece(b + 1, std::string::npos, DT_RIGHT);
}

void PaintPart(HWND h, HDC dc, const Part& p, int index, RECT r) {
  if (!(p.type & SBT_NOBORDERS)) DrawEdge(dc, &r, (p.type & SBT_POPOUT) ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  if (p.type & SBT_OWNERDRAW) {
    DRAWITEMSTRUCT di{};
    di.CtlID = static_cast<UINT>(GetDlgCtrlID(h));
    di.itemID = static_cast<UINT>(index);
    di.itemAction = ODA_DRAWENTIRE;
    di.hwndItem = h;
    di.hDC = dc;
    di.rcItem = r;
    di.itemData = static_cast<ULONG_PTR>(p.data);
    SendMessageA(GetParent(h), WM_DRAWITEM, di.CtlID, reinterpret_cast<LPARAM>(&di));
    return;
  }
  DrawPartText(dc, p.text, r);
}

void Paint(HWND h, HDC dc, StatusState& s) {
  RECT rc;
  GetClientRect(h, &rc);
  FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
  FontScope font(dc, ControlFont(s.font));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  if (s.simpleMode) {
    PaintPart(h, dc, s.simple, SB_SIMPLEID, PartRect(h, s, 0));
  } else {
    for (size_t i = 0; i < s.parts.size(); ++i)
      PaintPart(h, dc, s.parts[i], static_cast<int>(i), PartRect(h, s, static_cast<int>(i)));
  }
  if (GripWidth(h)) {
    RECT grip{rc.right - GripWidth(h), rc.top, rc.right, rc.bottom};
    DrawFrameControl(dc, &grip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  }
}

// The part a message names: a part of the row, or the simple mode's own part.
Part* PartOf(StatusState& s, WPARAM w) {
  size_t index = LOBYTE(w);
  if (index == SB_SIMPLEID) return &s.simple;
  return index < s.parts.size() ? &s.parts[index] : nullptr;
}

LRESULT TextInfo(const Part& p) {
  if (p.type & SBT_OWNERDRAW) return p.data;
  return MAKELONG(static_cast<WORD>(std::min<size_t>(p.text.size(), 0xFFFF)), static_cast<WORD>(p.type));
}

// The grip sizes the window the bar sits in, when that window can be sized.
bool OnGrip(HWND h, LPARAM l) {
  if (!GripWidth(h)) return false;
  HWND root = GetAncestor(h, GA_ROOT);
  if (!root || root == h || !(GetWindowLongA(root, GWL_STYLE) & WS_THICKFRAME) || IsZoomed(root)) return false;
  POINT p = MousePoint(l);
  ScreenToClient(h, &p);
  RECT rc;
  GetClientRect(h, &rc);
  return p.x >= rc.right - GripWidth(h) && p.x < rc.right && p.y >= 0 && p.y < rc.bottom;
}

LRESULT OnMessage(HWND h, UINT msg, WPARAM w, LPARAM l, StatusState& s) {
  switch (msg) {
    case WM_CREATE:
    case WM_SIZE:
      PlaceAlongParent(h, BarHeight(h, s), true);
      return 0;
    case SB_SETTEXTA: {
      Part* p = PartOf(s, w);
      if (!p) return FALSE;
      p->type = static_cast<UINT>(w & 0xFF00);
      p->data = (p->type & SBT_OWNERDRAW) ? l : 0;
      p->text = (!(p->type & SBT_OWNERDRAW) && l) ? reinterpret_cast<LPCSTR>(l) : "";
      if (LOBYTE(w) == 0 && !(p->type & SBT_OWNERDRAW)) DefWindowProcA(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(p->text.c_str()));
      InvalidateRect(h, nullptr, FALSE);
      return TRUE;
    }
    case SB_GETTEXTA: {
      Part* p = PartOf(s, w);
      if (!p) return 0;
      // The caller sized the buffer from SB_GETTEXTLENGTH, as the message has no length.
      if (l && !(p->type & SBT_OWNERDRAW)) {
        auto* out = reinterpret_cast<char*>(l);
        p->text.copy(out, p->text.size());
        out[p->text.size()] = '\0';
      }
      return TextInfo(*p);
    }
    case SB_GETTEXTLENGTHA: {
      Part* p = PartOf(s, w);
      if (!p) return 0;
      return MAKELONG(static_cast<WORD>((p->type & SBT_OWNERDRAW) ? 0 : std::min<size_t>(p->text.size(), 0xFFFF)),
                      static_cast<WORD>(p->type));
    }
    case WM_SETTEXT: {
      s.parts[0].type = 0;
      s.parts[0].text = l ? reinterpret_cast<LPCSTR>(l) : "";
      InvalidateRect(h, nullptr, FALSE);
      break;
    }
    case SB_SETPARTS: {
      int count = static_cast<int>(w);
      if (count < 1 || count > kMaxParts || !l) return FALSE;
      const int* edges = reinterpret_cast<const int*>(l);
      s.parts.resize(static_cast<size_t>(count));
      for (int i = 0; i < count; ++i) s.parts[static_cast<size_t>(i)].right = edges[i];
      InvalidateRect(h, nullptr, FALSE);
      return TRUE;
    }
    case SB_GETPARTS: {
      auto* edges = reinterpret_cast<int*>(l);
      if (edges)
        for (size_t i = 0; i < std::min(s.parts.size(), static_cast<size_t>(w)); ++i) edges[i] = s.parts[i].right;
      return static_cast<LRESULT>(s.parts.size());
    }
    case SB_GETBORDERS: {
      if (!l) return FALSE;
      auto* b = reinterpret_cast<int*>(l);
      b[0] = kBorderX;
      b[1] = kBorderY;
      b[2] = kGap;
      return TRUE;
    }
    case SB_SETMINHEIGHT:
      // Takes effect at the next WM_SIZE, as the bar is placed then.
      s.minHeight = std::max(0, static_cast<int>(w));
      return 0;
    case SB_SIMPLE: {
      bool simple = w != 0;
      if (simple != s.simpleMode) {
        s.simpleMode = simple;
        InvalidateRect(h, nullptr, FALSE);
        NMHDR nm{};
        Notify(h, SBN_SIMPLEMODECHANGE, nm);
      }
      return 0;
    }
    case SB_ISSIMPLE: return s.simpleMode;
    case SB_GETRECT: {
      int index = static_cast<int>(w);
      if (!l || (!s.simpleMode && (index < 0 || index >= static_cast<int>(s.parts.size())))) return FALSE;
      *reinterpret_cast<RECT*>(l) = PartRect(h, s, s.simpleMode ? 0 : index);
      return TRUE;
    }
    case WM_SETFONT:
      s.font = reinterpret_cast<HFONT>(w);
      if (l) InvalidateRect(h, nullptr, FALSE);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s.font);
    case WM_NCHITTEST:
      if (OnGrip(h, l)) return HTBOTTOMRIGHT;
      break;
    case WM_NCLBUTTONDOWN:
      if (w == HTBOTTOMRIGHT) {
        SendMessageA(GetAncestor(h, GA_ROOT), WM_SYSCOMMAND, SC_SIZE | (HTBOTTOMRIGHT - HTLEFT + 1), l);
        return 0;
      }
      break;
    default: break;
  }
  return DefWindowProcA(h, msg, w, l);
}

}  // namespace

LRESULT CALLBACK StatusBarProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  return DispatchWithState(g_bars, h, msg, w, l, OnMessage, Paint);
}

}  // namespace plat::controls
