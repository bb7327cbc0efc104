// The rebar ("ReBarWindow32"): an ordered list of bands, each holding one child
// window. Each visible band is a row across the rebar, as tall as its child's minimum
// height; the child fills the row. The rebar answers the bands' sizes and rectangles.
#include <algorithm>
#include <string>
#include <vector>

#include "../WinCommCtrl.h"
#include "ControlSupport.h"

namespace plat::controls {
namespace {

struct Band {
  UINT style = 0;
  HWND child = nullptr;
  UINT cxMinChild = 0, cyMinChild = 0, cx = 0;
  UINT id = 0;
  LPARAM param = 0;
  std::string text;
};

struct RebarState {
  std::vector<Band> bands;
};

StateMap<RebarState> g_rebars;

bool Shown(const Band& b) { return !(b.style & RBBS_HIDDEN); }

// The rectangle of every band (empty for hidden ones), top to bottom.
std::vector<RECT> BandRects(HWND h, const RebarState& s) {
  RECT client;
  GetClientRect(h, &client);
  std::vector<RECT> out;
  int y = 0;
  for (const Band& b : s.bands) {
    if (!Shown(b)) {
      out.push_back(RECT{0, y, 0, y});
      continue;
    }
    int height = static_cast<int>(b.cyMinChild);
    out.push_back(RECT{0, y, std::max<int>(client.right, static_cast<int>(b.cxMinChild)), y + height});
    y += height;
  }
  return out;
}

void Layout(HWND h, const RebarState& s) {
  auto rects = BandRects(h, s);
  for (size_t i = 0; i < s.bands.size(); ++i) {
    const Band& b = s.bands[i];
    if (!b.child || !IsWindow(b.child)) continue;
    const RECT& r = rects[i];
    SetWindowPos(b.child, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(b.child, Shown(b) ? SW_SHOWNA : SW_HIDE);
  }
}

void Apply(Band& b, const REBARBANDINFOA& info) {
  if (info.fMask & RBBIM_STYLE) b.style = info.fStyle;
  if (info.fMask & RBBIM_CHILD) b.child = info.hwndChild;
  if (info.fMask & RBBIM_CHILDSIZE) {
    b.cxMinChild = info.cxMinChild;
    b.cyMinChild = info.cyMinChild;
  }
  if (info.fMask & RBBIM_SIZE) b.cx = info.cx;
  if (info.fMask & RBBIM_ID) b.id = info.wID;
  if (info.fMask & RBBIM_LPARAM) b.param = info.lParam;
  if ((info.fMask & RBBIM_TEXT) && info.lpText) b.text = info.lpText;
}

void Fill(const Band& b, REBARBANDINFOA& info) {
  if (info.fMask & RBBIM_STYLE) info.fStyle = b.style;
  if (info.fMask & RBBIM_CHILD) info.hwndChild = b.child;
  if (info.fMask & RBBIM_CHILDSIZE) {
    info.cxMinChild = b.cxMinChild;
    info.cyMinChild = b.cyMinChild;
  }
  if (info.fMask & RBBIM_SIZE) info.cx = b.cx;
  if (info.fMask & RBBIM_ID) info.wID = b.id;
  if (info.fMask & RBBIM_LPARAM) info.lParam = b.param;
  if ((info.fMask & RBBIM_TEXT) && info.lpText && info.cch > 0) {
    size_t n = std::min<size_t>(b.text.size(), info.cch - 1);
    b.text.copy(info.lpText, n);
    info.lpText[n] = '\0';
  }
}

bool ValidInfo(LPARAM l) {
  auto* info = reinterpret_cast<const REBARBANDINFOA*>(l);
  return info && info->cbSize >= offsetof(REBARBANDINFOA, hbmBack);
}

void Paint(HWND h, HDC dc, RebarState&) {
  RECT rc;
  GetClientRect(h, &rc);
  FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
}

LRESULT OnMessage(HWND h, UINT msg, WPARAM w, LPARAM l, RebarState& s) {
  const int count = static_cast<int>(s.bands.size());
  const int index = static_cast<int>(w);
  switch (msg) {
    case RB_GETBANDCOUNT: return count;
    case RB_INSERTBANDA: {
      if (!ValidInfo(l)) return FALSE;
      Band b;
      Apply(b, *reinterpret_cast<const REBARBANDINFOA*>(l));
      int at = index < 0 || index > count ? count : index;
      s.bands.insert(s.bands.begin() + at, b);
      Layout(h, s);
      return TRUE;
    }
    case RB_DELETEBAND:
      if (index < 0 || index >= count) return FALSE;
      s.bands.erase(s.bands.begin() + index);
      Layout(h, s);
      return TRUE;
    case RB_SETBANDINFOA:
      if (index < 0 || index >= count || !ValidInfo(l)) return FALSE;
      Apply(s.bands[static_cast<size_t>(index)], *reinterpret_cast<const REBARBANDINFOA*>(l));
      Layout(h, s);
      return TRUE;
    case RB_GETBANDINFOA:
      if (index < 0 || index >= count || !ValidInfo(l)) return FALSE;
      Fill(s.bands[static_cast<size_t>(index)], *reinterpret_cast<REBARBANDINFOA*>(l));
      return TRUE;
    case RB_SHOWBAND:
      if (index < 0 || index >= count) return FALSE;
      if (l)
        s.bands[static_cast<size_t>(index)].style &= ~RBBS_HIDDEN;
      else
        s.bands[static_cast<size_t>(index)].style |= RBBS_HIDDEN;
      Layout(h, s);
      return TRUE;
    case RB_GETRECT: {
      if (index < 0 || index >= count || !l) return FALSE;
      *reinterpret_cast<RECT*>(l) = BandRects(h, s)[static_cast<size_t>(index)];
      return TRUE;
    }
    case RB_GETROWCOUNT:
      return std::count_if(s.bands.begin(), s.bands.end(), Shown);
    case RB_GETROWHEIGHT:
      if (index < 0 || index >= count) return 0;
      return Shown(s.bands[static_cast<size_t>(index)]) ? s.bands[static_cast<size_t>(index)].cyMinChild : 0;
    case RB_GETBARHEIGHT: {
      LRESULT height = 0;
      for (const Band& b : s.bands)
        if (Shown(b)) height += b.cyMinChild;
      return height;
    }
    case RB_IDTOINDEX:
      for (int i = 0; i < count; ++i)
        if (s.bands[static_cast<size_t>(i)].id == static_cast<UINT>(w)) return i;
      return -1;
    case WM_SIZE:
      Layout(h, s);
      return 0;
    default: break;
  }
  return DefWindowProcA(h, msg, w, l);
}

}  // namespace

LRESULT CALLBACK RebarProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  return DispatchWithState(g_rebars, h, msg, w, l, OnMessage, Paint);
}

}  // namespace plat::controls
