#include "SECCustomCaption.h"

#include <algorithm>

namespace sec_caption {

namespace {

// The gradient: `bands` equal bands (the last to the right edge), each channel stepping
// from `from` towards `to` in 1/256 units, never past it.
void FillGradient(CDC& dc, const CRect& area, COLORREF from, COLORREF to) {
  const int width = area.Width();
  if (width <= 0 || area.Height() <= 0) return;
  const int bands = std::min(60, width);
  const int bandWidth = width / bands;
  int channel[3] = {GetRValue(from) * 256, GetGValue(from) * 256, GetBValue(from) * 256};
  const int target[3] = {GetRValue(to) * 256, GetGValue(to) * 256, GetBValue(to) * 256};
  int step[3];
  for (int c = 0; c < 3; ++c) step[c] = (target[c] - channel[c]) / bands;
  for (int b = 0; b < bands; ++b) {
    const int left = area.left + b * bandWidth;
    const int right = b + 1 == bands ? area.right : left + bandWidth;
    dc.FillSolidRect(CRect(left, area.top, right, area.bottom),
                     RGB(channel[0] / 256, channel[1] / 256, channel[2] / 256));
    for (int c = 0; c < 3; ++c) {
      channel[c] += step[c];
      if ((step[c] > 0 && channel[c] > target[c]) || (step[c] < 0 && channel[c] < target[c])) channel[c] = target[c];
    }
  }
}

// The caption painted into `dc`, which is the caption's size.
void Paint(CDC& dc, CWnd& frame, const CRect& caption, BOOL bActive, int nAlignment, CFont& italic, CFont& plain) {
  CRect area(0, 0, caption.Width(), caption.Height());
  if (frame.GetStyle() & WS_SYSMENU) {
    const int cx = ::GetSystemMetrics(SM_CXSIZE), cy = ::GetSystemMetrics(SM_CYSIZE);
    CRect box(area.left, area.top, area.left + cx, area.top + cy);
    dc.FillSolidRect(&box, bActive ? RGB(0, 0, 0) : ::GetSysColor(COLOR_INACTIVECAPTION));
    HICON icon = reinterpret_cast<HICON>(::GetClassLongPtrA(frame.m_hWnd, cx >= 30 ? GCL_HICON : GCL_HICONSM));
    if (!icon) icon = reinterpret_cast<HICON>(::GetClassLongPtrA(frame.m_hWnd, GCL_HICON));
    if (icon) dc.DrawIcon(box.left + 2, box.top + 1, icon);
    area.left = box.right;
  }
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(RGB(255, 255, 255));
  if (bActive)
    FillGradient(dc, area, RGB(0, 0, 0), ::GetSysColor(COLOR_ACTIVECAPTION));
  else
    dc.FillSolidRect(&area, ::GetSysColor(COLOR_INACTIVECAPTION));
  CString title;
  frame.GetWindowText(title);
  CString first = title, rest;
  if (int dash = title.Find('-'); dash >= 0) {
    first = title.Left(dash);
    rest = title.Mid(dash);
  }
  CFont* old = dc.SelectObject(&italic);
  const int firstWidth = dc.GetTextExtent(first).cx;
  const int ellipsis = dc.GetTextExtent("W...").cx;
  dc.SelectObject(&plain);
  const int restWidth = rest.IsEmpty() ? 0 : dc.GetTextExtent(rest).cx;
  int start = area.left + 3;
  const BOOL showRest = area.Width() >= firstWidth + ellipsis && !rest.IsEmpty();
  const int total = firstWidth + (showRest ? restWidth : 0);
  if (nAlignment == 1)
    start = std::max(start, area.left + (area.right - start - total) / 2 + (start - area.left));
  else if (nAlignment != 0)
    start = std::max(start, static_cast<int>(area.right) - total - 3);
  dc.SelectObject(&italic);
  CRect text(start, area.top, area.right, area.bottom);
  dc.DrawText(first, &text, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
  if (showRest) {
    dc.SelectObject(&plain);
    if (!bActive) dc.SetTextColor(::GetSysColor(COLOR_INACTIVECAPTIONTEXT));
    CRect after(start + firstWidth, area.top, area.right, area.bottom);
    dc.DrawText(rest, &after, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
  }
  dc.SelectObject(old);
}

}  // namespace

CRect CaptionRect(const CWnd& frame, BOOL bWin4) {
  CRect window;
  frame.GetWindowRect(&window);
  const DWORD style = frame.GetStyle();
  CRect caption;
  caption.left = ::GetSystemMetrics(SM_CXFRAME);
  caption.top = ::GetSystemMetrics(SM_CYFRAME) - ((style & WS_THICKFRAME) ? 0 : 1);
  caption.right = window.Width() - ::GetSystemMetrics(SM_CXSIZE) - 1;
  caption.bottom = caption.top + ::GetSystemMetrics(SM_CYSIZE);
  if (bWin4) {
    caption.right += ::GetSystemMetrics(SM_CXBORDER);
    int boxes = ((style & WS_MINIMIZEBOX) ? 1 : 0) + ((style & WS_MAXIMIZEBOX) ? 1 : 0);
    if (boxes > 0) {
      if (CMenu* sys = frame.GetSystemMenu(FALSE); sys && (sys->GetMenuState(SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED))
        --boxes;
      caption.right -= boxes * ::GetSystemMetrics(SM_CXSIZE) + 1;
    }
  }
  return caption;
}

void CreateTitleFont(CFont& font, BOOL bItalic) {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  metrics.lfCaptionFont.lfItalic = bItalic ? TRUE : FALSE;
  font.CreateFontIndirect(&metrics.lfCaptionFont);
}

BOOL Draw(CWnd& frame, const CRect& caption, BOOL bActive, int nAlignment, CFont& italic, CFont& plain) {
  if (caption.Width() < 1 || caption.Height() < 1) return TRUE;  // nothing to draw on
  CWindowDC window(&frame);
  CDC memory;
  CBitmap bitmap;
  if (!memory.CreateCompatibleDC(&window) || !bitmap.CreateCompatibleBitmap(&window, caption.Width(), caption.Height()))
    return FALSE;
  CBitmap* oldBitmap = memory.SelectObject(&bitmap);
  Paint(memory, frame, caption, bActive, nAlignment, italic, plain);
  window.BitBlt(caption.left, caption.top, caption.Width(), caption.Height(), &memory, 0, 0, SRCCOPY);
  memory.SelectObject(oldBitmap);
  return TRUE;
}

BOOL NcActivate(CFrameWnd& frame, BOOL bActive, BOOL& bCaptionActive) {
  BOOL active = bActive;
  if (!frame.IsWindowEnabled())
    active = FALSE;
  else if (frame.m_nFlags & WF_STAYACTIVE)
    active = TRUE;
  bCaptionActive = active;
  if (CFrameWnd* other = frame.GetActiveFrame(); other && other != &frame && other->m_hWnd) {
    other->SendMessage(WM_NCACTIVATE, active);
    other->SendMessage(WM_NCPAINT, 1);
  }
  // The default draws its own caption only on a visible window: it is kept from doing so.
  const BOOL visible = (frame.GetStyle() & WS_VISIBLE) != 0;
  if (visible) frame.ModifyStyle(WS_VISIBLE, 0);
  const LRESULT result = frame.DefWindowProc(WM_NCACTIVATE, active, 0);
  if (visible) frame.ModifyStyle(0, WS_VISIBLE);
  frame.SendMessage(WM_NCPAINT, 1);
  return static_cast<BOOL>(result);
}

BOOL SetTextQuietly(CWnd& frame, WPARAM wParam, LPARAM lParam) {
  const BOOL visible = (frame.GetStyle() & WS_VISIBLE) != 0;
  if (visible) frame.ModifyStyle(WS_VISIBLE, 0);
  frame.DefWindowProc(WM_SETTEXT, wParam, lParam);
  if (visible) frame.ModifyStyle(0, WS_VISIBLE);
  return visible;
}

}  // namespace sec_caption
