#include "SECDockBar.h"

#include <algorithm>
#include <cmath>

#include "SECControlBarInfo.h"
#include "controls/SECAuxData.h"
#include "controls/SECControlBar.h"
#include "controls/SECCustomToolBar.h"
#include "controls/SECResourceIds.h"

IMPLEMENT_DYNCREATE(SECDockBar, CDockBar)

BEGIN_MESSAGE_MAP(SECDockBar, CDockBar)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_SETCURSOR()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONDOWN()
  ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
END_MESSAGE_MAP()

HCURSOR SECDockBar::s_hcurVert = nullptr;
HCURSOR SECDockBar::s_hcurHorz = nullptr;

namespace {

// Only the library's bars carry a share of their row; any other bar counts as fixed.
SECControlBar* ShareBar(CControlBar* bar) { return dynamic_cast<SECControlBar*>(bar); }
float ShareOfBar(CControlBar* bar) {
  SECControlBar* b = ShareBar(bar);
  return b && std::isfinite(b->m_fPctWidth) ? b->m_fPctWidth : 0.0f;
}
void SetShareOfBar(CControlBar* bar, float share) {
  if (SECControlBar* b = ShareBar(bar)) b->m_fPctWidth = share;
}
BOOL Visible(CControlBar* bar) { return bar && bar->IsVisible(); }

CRect BarRect(const CWnd& dock, CControlBar* bar) {
  CRect r;
  bar->GetWindowRect(&r);
  dock.ScreenToClient(&r);
  return r;
}

}  // namespace

SECDockBar::SECDockBar(BOOL bFloating, BOOL bMDIChild) : CDockBar(bFloating), m_bMDIChild(bMDIChild) {}

SECDockBar::~SECDockBar() = default;

BOOL SECDockBar::IsFixedBar(const CControlBar* pBar) {
  auto* bar = dynamic_cast<const SECControlBar*>(pBar);
  return !bar || (bar->m_dwExStyle & CBRS_EX_THIN4FRAME) != 0;
}

DWORD SECDockBar::ThicknessMode(const CControlBar* pBar) const {
  if ((pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) && (pBar->m_dwStyle & CBRS_FLOATING)) return 0x26;
  if (pBar->m_dwStyle & CBRS_ORIENT_HORZ) return 0x2A;
  return 0x10;
}

DWORD SECDockBar::LengthMode(const CControlBar* pBar) const {
  if ((pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) && (pBar->m_dwStyle & CBRS_FLOATING)) return 0x6;
  if (pBar->m_dwStyle & CBRS_ORIENT_HORZ) return 0xA;
  return 0x30;
}

int SECDockBar::ClientLength() const {
  if (!m_hWnd) return 0;
  CRect client;
  GetClientRect(&client);
  return IsHorzDock() ? client.Width() : client.Height();
}

void SECDockBar::FlagDelayedLayout() {
  if (CFrameWnd* frame = GetDockingFrame()) {
    frame->m_nIdleFlags |= CFrameWnd::idleNotify | CFrameWnd::idleLayout;
    frame->DelayRecalcLayout(TRUE);
  }
}

// ---- row walks

int SECDockBar::RowStart(int nPos) const {
  nPos = std::clamp(nPos, 0, static_cast<int>(m_arrBars.GetSize()) - 1);
  if (nPos == 0) return 1;
  while (nPos > 0 && m_arrBars[nPos - 1]) --nPos;
  return nPos;
}

int SECDockBar::RowEnd(int nPos) const {
  const int size = static_cast<int>(m_arrBars.GetSize());
  if (nPos <= 0) nPos = 1;
  while (nPos < size && m_arrBars[nPos]) ++nPos;
  return nPos;
}

int SECDockBar::PrevBarInRow(int nPos) const {
  for (int i = nPos - 1; i > 0 && m_arrBars[i]; --i)
    if (IsLiveBar(i)) return i;
  return -1;
}

int SECDockBar::NextBarInRow(int nPos) const {
  for (int i = nPos + 1; i < m_arrBars.GetSize() && m_arrBars[i]; ++i)
    if (IsLiveBar(i)) return i;
  return -1;
}

int SECDockBar::NextVisibleBarInRow(int nPos) const {
  for (int i = nPos + 1; i < m_arrBars.GetSize() && m_arrBars[i]; ++i)
    if (Visible(GetDockedControlBar(i))) return i;
  return -1;
}

int SECDockBar::RowStartIndex(int nRow) const {
  int seen = -1;
  for (int i = 0; i < m_arrBars.GetSize(); ++i)
    if (!m_arrBars[i] && ++seen == nRow) return i;
  return -1;
}

int SECDockBar::RowThickness(int nRowStart) {
  int thickness = 0;
  const BOOL horz = IsHorzDock();
  for (int i = std::max(nRowStart, 1); i < m_arrBars.GetSize() && m_arrBars[i]; ++i) {
    CControlBar* bar = GetDockedControlBar(i);
    if (!Visible(bar)) continue;
    CSize size = bar->CalcDynamicLayout(-1, ThicknessMode(bar));
    thickness = std::max(thickness, static_cast<int>(horz ? size.cy : size.cx));
  }
  return thickness;
}

int SECDockBar::InsertionIndexAt(CControlBar*, const CRect& rect, CPoint ptCenter) {
  const BOOL horz = IsHorzDock();
  const int border = horz ? plat::afx::BarBorderY() : plat::afx::BarBorderX();
  int extent = 0, thickness = 0, insertAfter = 0;
  for (int pos = 0; pos < m_arrBars.GetSize(); ++pos) {
    CControlBar* bar = GetDockedControlBar(pos);
    if (Visible(bar)) {
      CRect r = BarRect(*this, bar);
      thickness = std::max(thickness, static_cast<int>(horz ? r.Height() : r.Width()));
      if (horz ? r.left < rect.left : r.top < rect.top) insertAfter = pos;
      continue;
    }
    if (bar && m_arrBars[pos]) continue;  // a hidden bar adds nothing
    if (m_arrBars[pos] && IsPlaceHolder(m_arrBars[pos])) continue;
    extent += thickness - border;
    thickness = 0;
    if ((horz ? ptCenter.y : ptCenter.x) < extent) return pos == 0 ? 0 : insertAfter + 1;
    insertAfter = pos;
  }
  return static_cast<int>(m_arrBars.GetSize());
}

void SECDockBar::GetRowBars(CPtrArray& arrBars, CControlBar* pBar) {
  arrBars.RemoveAll();
  const int pos = FindBar(pBar);
  if (pos <= 0) return;
  for (int i = PrevBarInRow(pos); i > 0; i = PrevBarInRow(i)) arrBars.Add(GetDockedControlBar(i));
  arrBars.Add(pBar);
  for (int i = NextBarInRow(pos); i > 0; i = NextBarInRow(i)) arrBars.Add(GetDockedControlBar(i));
}

int SECDockBar::CountVisibleBars() { return GetDockedVisibleCount(); }

BOOL SECDockBar::IsAloneInRowOf(const CDockBar& dock, const CControlBar* pBar) {
  int pos = dock.FindBar(const_cast<CControlBar*>(pBar));
  if (pos <= 0) return TRUE;
  int first = pos, last = pos;
  while (first > 0 && dock.m_arrBars[first - 1]) --first;
  while (last < dock.m_arrBars.GetSize() && dock.m_arrBars[last]) ++last;
  for (int i = first; i < last; ++i)
    if (CControlBar* other = dock.GetDockedControlBar(i); other && other != pBar && other->IsVisible()) return FALSE;
  return TRUE;
}

BOOL SECDockBar::IsAloneInRow(CControlBar* pBar) { return IsAloneInRowOf(*this, pBar); }

BOOL SECDockBar::IsOnlyStretchedBar(CControlBar* pBar) {
  int pos = FindBar(pBar);
  if (pos <= 0) return FALSE;
  CControlBar* stretched = nullptr;
  for (int i = RowStart(pos); i < RowEnd(pos); ++i) {
    CControlBar* bar = GetDockedControlBar(i);
    if (!Visible(bar) || ShareOfBar(bar) <= m_fMinShare) continue;
    if (stretched) return FALSE;
    stretched = bar;
  }
  return stretched == pBar;
}

// ---- shares

void SECDockBar::UpdateMinShare() {
  int length = 0;
  if (m_hWnd) {
    CRect client;
    GetClientRect(&client);
    length = (m_dwStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) ? client.Height() : client.Width();
  }
  m_fMinShare = length > 0 ? std::min(static_cast<float>(kMinBarLength) / static_cast<float>(length), 1.0f) : 0.05f;
}

void SECDockBar::NormalizeRow(int nRowStart, CControlBar* pActiveBar, int& nNormal, int& nFixed) {
  UpdateMinShare();
  nNormal = nFixed = 0;
  if (Visible(pActiveBar) && ShareBar(pActiveBar) && ShareOfBar(pActiveBar) > 0.95f) pActiveBar = nullptr;
  const int start = RowStart(nRowStart), end = RowEnd(nRowStart);
  float a = 0.0f, b = 0.0f;
  BOOL activeInRow = FALSE;
  for (int i = start; i < end; ++i) {
    CControlBar* bar = GetDockedControlBar(i);
    if (!Visible(bar)) continue;
    (IsFixedBar(bar) ? nFixed : nNormal)++;
    // A share that is no number (or below nothing) counts as none.
    if (ShareOfBar(bar) < 0.0f || (ShareBar(bar) && !std::isfinite(ShareBar(bar)->m_fPctWidth))) SetShareOfBar(bar, 0.0f);
    if (bar == pActiveBar) {
      SetShareOfBar(bar, std::clamp(ShareOfBar(bar), m_fMinShare, 0.95f));
      a += ShareOfBar(bar);
      activeInRow = TRUE;
    } else {
      b += ShareOfBar(bar);
    }
  }
  if (activeInRow && a > 0.0f) {
    // The active bar is to end with the part of the row it asks for; the others keep
    // their proportions in the rest.
    float factor = 1.0f;
    if (b > 0.0f) {
      a = std::min(a, 0.95f);
      factor = b == a ? 1.0f : b / (1.0f - a);
    } else {
      factor = 1.0f / a;
    }
    SetShareOfBar(pActiveBar, std::max(m_fMinShare, factor * ShareOfBar(pActiveBar)));
    b += ShareOfBar(pActiveBar);
  }
  if (b > 0.0f) {
    for (int i = start; i < end; ++i) {
      CControlBar* bar = GetDockedControlBar(i);
      if (Visible(bar) && ShareBar(bar)) SetShareOfBar(bar, std::max(m_fMinShare, ShareOfBar(bar) / b));
    }
  }
}

float SECDockBar::AddShare(float fAmount, CControlBar* pBar) {
  if (!pBar) return fAmount;
  const float result = ShareOfBar(pBar) + fAmount;
  if (result < m_fMinShare) {
    SetShareOfBar(pBar, m_fMinShare);
    return result - m_fMinShare;
  }
  SetShareOfBar(pBar, result);
  return 0.0f;
}

void SECDockBar::SetRowState(CControlBar* pBar, int nMode) {
  const int pos = FindBar(pBar);
  if (pos <= 0) return;
  const int start = RowStart(pos), end = RowEnd(pos);
  for (int i = start; i < end; ++i) {
    CControlBar* bar = GetDockedControlBar(i);
    if (!bar) continue;
    if (nMode == 1)
      SetShareOfBar(bar, bar == pBar ? 1.0f : 0.0f);
    else
      SetShareOfBar(bar, 0.1f);
  }
  int normal = 0, fixed = 0;
  NormalizeRow(start, pBar, normal, fixed);
  for (int i = start; i < m_arrBars.GetSize(); ++i) AddToRepaintList(GetDockedControlBar(i));
  FlagDelayedLayout();
}

int SECDockBar::ResizeBarBy(CControlBar* pBar, int nPixels, int nRowLength) {
  if (!pBar || nRowLength <= 0) return nPixels;
  const BOOL horz = IsHorzDock();
  const DWORD mode = LengthMode(pBar);
  // The length the bar has on the screen: the last bar of a row is stretched to its end.
  CRect window;
  pBar->GetWindowRect(&window);
  const int current = horz ? window.Width() : window.Height();
  int length = std::max(current + nPixels, static_cast<int>(kMinBarLength));
  pBar->CalcDynamicLayout(length, mode | LM_COMMIT);
  float share = static_cast<float>(length) / static_cast<float>(nRowLength);
  UpdateMinShare();
  if (share < m_fMinShare) {
    share = m_fMinShare;
    length = static_cast<int>(m_fMinShare * static_cast<float>(nRowLength));
    pBar->CalcDynamicLayout(length, mode | LM_COMMIT);
  }
  SetShareOfBar(pBar, share);
  return nPixels - (length - current);
}

// ---- repainting

void SECDockBar::AddToRepaintList(CControlBar* pBar) {
  if (!pBar) return;
  for (INT_PTR i = 0; i < m_arrRepaintBars.GetSize(); ++i)
    if (m_arrRepaintBars[i] == pBar) return;
  m_arrRepaintBars.Add(pBar);
}

void SECDockBar::MarkRowForRepaint(CControlBar* pBar) {
  const int pos = FindBar(pBar);
  if (pos <= 0) return;
  for (int i = RowStart(pos); i < RowEnd(pos); ++i)
    if (auto* bar = dynamic_cast<SECCustomToolBar*>(GetDockedControlBar(i))) AddToRepaintList(bar);
}

void SECDockBar::OnBarShown(CControlBar* pBar) {
  const int pos = FindBar(pBar);
  if (pos > 0 && IsAloneInRow(pBar))
    for (int i = pos; i < m_arrBars.GetSize(); ++i) AddToRepaintList(GetDockedControlBar(i));
  AddToRepaintList(pBar);
  m_pLastPlacedBar = pBar;
}

void SECDockBar::RedrawPendingBars() {
  m_bRepaintInProgress = TRUE;
  if (m_arrRepaintBars.GetSize() > 0 && m_hWnd)
    RedrawWindow(nullptr, nullptr, RDW_FRAME | RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE);
  m_bRepaintInProgress = FALSE;
}

void SECDockBar::Splitter::Draw(CDC* pDC) {
  const CRect& r = m_rect;
  if (r.IsRectEmpty()) return;
  if (m_nOrientation == 0) {
    pDC->FillSolidRect(r.left, r.top + 1, r.Width(), std::max(0, r.Height() - 3), secData.clrBtnFace);
    pDC->FillSolidRect(r.left, r.top, r.Width(), 1, secData.clrBtnHilite);
    pDC->FillSolidRect(r.left, r.bottom - 2, r.Width(), 1, secData.clrBtnShadow);
    pDC->FillSolidRect(r.left, r.bottom - 1, r.Width(), 1, secData.clrWindowFrame);
  } else {
    pDC->FillSolidRect(r.left + 1, r.top, std::max(0, r.Width() - 3), r.Height(), secData.clrBtnFace);
    pDC->FillSolidRect(r.left, r.top, 1, r.Height(), secData.clrBtnHilite);
    pDC->FillSolidRect(r.right - 2, r.top, 1, r.Height(), secData.clrBtnShadow);
    pDC->FillSolidRect(r.right - 1, r.top, 1, r.Height(), secData.clrWindowFrame);
  }
}

void SECDockBar::ClientEdge::Draw(CDC* pDC) {
  const CRect& r = m_rect;
  if (m_nOrientation == 0) {
    pDC->FillSolidRect(r.left, r.top, r.Width(), 1, secData.clrBtnShadow);
    pDC->FillSolidRect(r.left, r.top + 1, r.Width(), 1, secData.clrBtnHilite);
  } else {
    pDC->FillSolidRect(r.left, r.top, 1, r.Height(), secData.clrBtnShadow);
    pDC->FillSolidRect(r.left + 1, r.top, 1, r.Height(), secData.clrBtnHilite);
  }
}

void SECDockBar::DoPaint(CDC* pDC) {
  for (const auto& edge : m_edges) edge->Draw(pDC);
  for (const auto& splitter : m_splitters) splitter->Draw(pDC);
  CDockBar::DoPaint(pDC);
  if (m_bRepaintInProgress) {
    // Copied first: a bar's redraw may come back here.
    CPtrArray bars;
    bars.Append(m_arrRepaintBars);
    m_arrRepaintBars.RemoveAll();
    for (INT_PTR i = 0; i < bars.GetSize(); ++i) {
      auto* bar = static_cast<CControlBar*>(bars[i]);
      if (FindBar(bar) > 0 && bar->m_hWnd)
        bar->RedrawWindow(nullptr, nullptr, RDW_FRAME | RDW_ERASE | RDW_INVALIDATE);
    }
    m_bRelayout = FALSE;
  }
}

// ---- splitters and edges

SECDockBar::Splitter* SECDockBar::AddSplitter(BOOL bInRow, int nOrientation, const CRect& rect, int nIndex) {
  for (const auto& s : m_splitters)
    if (s->m_rect == rect && s->m_bInRow == bInRow && s->m_nOrientation == nOrientation) {
      s->m_bAlive = TRUE;
      s->m_nRowIndex = nIndex;
      return s.get();
    }
  m_splitters.push_back(std::make_unique<Splitter>(bInRow, nOrientation, rect, nIndex));
  return m_splitters.back().get();
}

SECDockBar::ClientEdge* SECDockBar::AddClientEdge(int nOrientation, const CRect& rect) {
  for (const auto& e : m_edges)
    if (e->m_rect == rect && e->m_nOrientation == nOrientation) {
      e->m_bAlive = TRUE;
      return e.get();
    }
  m_edges.push_back(std::make_unique<ClientEdge>(nOrientation, rect));
  return m_edges.back().get();
}

SECDockBar::Splitter* SECDockBar::SplitterAt(CPoint point) const {
  for (const auto& s : m_splitters)
    if (s->m_bAlive && s->m_rect.PtInRect(point)) return s.get();
  return nullptr;
}

// ---- layout

void SECDockBar::MoveBar(CControlBar* pBar, const CRect& rect, AFX_SIZEPARENTPARAMS& layout, int nPos,
                         int& nFirstChanged) {
  const CRect current = BarRect(*this, pBar);
  if (rect == current) return;
  if (!m_bLayoutQuery && !m_bFloating && pBar->m_pDockContext) {
    pBar->m_pDockContext->m_rectMRUDockPos = rect;
    pBar->m_pDockContext->m_uMRUDockID = static_cast<UINT>(GetDlgCtrlID());
  }
  if (m_bLayoutQuery || !layout.hDWP) return;
  UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
  if (!SECControlBar::s_bRedrawOn) flags |= SWP_NOREDRAW;
  if (rect.Size() == current.Size()) {
    flags |= SWP_NOSIZE;
  } else {
    AddToRepaintList(pBar);
    const BOOL thicker = IsHorzDock() ? rect.Height() != current.Height() : rect.Width() != current.Width();
    if (thicker && (nFirstChanged < 0 || nPos < nFirstChanged)) nFirstChanged = nPos;
  }
  layout.hDWP = ::DeferWindowPos(layout.hDWP, pBar->m_hWnd, nullptr, rect.left, rect.top, rect.Width(),
                                 rect.Height(), flags);
}

int SECDockBar::LayOutRow(int nStart, int nEnd, int nAcross, int nLength, AFX_SIZEPARENTPARAMS& layout,
                          int& nFirstChanged, int& nMaxAlong) {
  const BOOL horz = IsHorzDock();
  std::vector<int> visible;
  for (int i = nStart; i < nEnd; ++i)
    if (Visible(GetDockedControlBar(i))) visible.push_back(i);
  if (visible.empty()) return 0;
  int normal = 0, fixed = 0;
  NormalizeRow(nStart, m_pLastPlacedBar, normal, fixed);
  const int count = static_cast<int>(visible.size());
  const int rowLength = std::max(0, nLength - kSplitter * (count - 1));
  auto place = [&](int pos, CPoint at, CSize size) {
    CRect rect(at, size);
    MoveBar(GetDockedControlBar(pos), rect, layout, pos, nFirstChanged);
  };
  if (m_bFloating) {
    // A floating dock bar shows its bars at their own sizes, side by side.
    int along = 0, thickness = 0;
    for (int pos : visible) {
      CControlBar* bar = GetDockedControlBar(pos);
      CSize size = bar->CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH);
      place(pos, horz ? CPoint(along, nAcross) : CPoint(nAcross, along), size);
      along += horz ? size.cx : size.cy;
      thickness = std::max(thickness, static_cast<int>(horz ? size.cy : size.cx));
    }
    nMaxAlong = std::max(nMaxAlong, along);
    return thickness;
  }
  // Lengths first (the share of the row), then the thickness of the row.
  for (int pos : visible) {
    CControlBar* bar = GetDockedControlBar(pos);
    if (normal > 0 && !IsFixedBar(bar))
      bar->CalcDynamicLayout(rowLength, LengthMode(bar) | LM_COMMIT | LM_STRETCH);
  }
  const int thickness = RowThickness(nStart);
  if (normal == 0) {
    // Only bars of fixed size: each keeps its place along the row, inside the dock bar.
    int along = 0;
    for (int pos : visible) {
      CControlBar* bar = GetDockedControlBar(pos);
      CSize size = bar->CalcDynamicLayout(-1, ThicknessMode(bar));
      const int length = horz ? size.cx : size.cy;
      const CRect current = BarRect(*this, bar);
      int at = std::max(along, static_cast<int>(horz ? current.left : current.top));
      at = std::max(along, std::min(at, nLength - length));
      place(pos, horz ? CPoint(at, nAcross) : CPoint(nAcross, at), size);
      along = at + length;
    }
    return thickness;
  }
  const BOOL leading = (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_LEFT)) != 0;
  const int orientation = horz ? 0 : 1;  // of the row's own splitters and edges
  auto strip = [&](int across, int size) {
    return horz ? CRect(0, across, nLength, across + size) : CRect(across, 0, across + size, nLength);
  };
  int across = nAcross;
  if (leading) {
    if (!m_bLayoutQuery) AddClientEdge(orientation, strip(across, 2));
    across += 2;
  } else {
    if (!m_bLayoutQuery) AddSplitter(FALSE, orientation, strip(across, kSplitter), nStart);
    across += kSplitter;
  }
  int along = 0;
  for (size_t k = 0; k < visible.size(); ++k) {
    const int pos = visible[k];
    CControlBar* bar = GetDockedControlBar(pos);
    bar->CalcDynamicLayout(thickness, ThicknessMode(bar) | LM_COMMIT);
    CSize size = bar->CalcDynamicLayout(-1, ThicknessMode(bar));
    int length = horz ? size.cx : size.cy;
    const bool last = k + 1 == visible.size();
    if (last && !IsFixedBar(bar)) length = std::max(0, nLength - along);
    const CSize placed = horz ? CSize(length, thickness) : CSize(thickness, length);
    place(pos, horz ? CPoint(along, across) : CPoint(across, along), placed);
    along += length;
    if (!last) {
      const CRect r = horz ? CRect(along, across, along + kSplitter, across + thickness)
                           : CRect(across, along, across + thickness, along + kSplitter);
      if (!m_bLayoutQuery) AddSplitter(TRUE, 1 - orientation, r, pos);
      along += kSplitter;
    }
  }
  across += thickness;
  if (leading) {
    if (!m_bLayoutQuery) AddSplitter(FALSE, orientation, strip(across, kSplitter), nStart);
    across += kSplitter;
  } else {
    if (!m_bLayoutQuery) AddClientEdge(orientation, strip(across, 2));
    across += 2;
  }
  return across - nAcross;
}

CSize SECDockBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  CSize avail;
  if (!m_rectLayout.IsRectEmpty()) {
    avail = m_rectLayout.Size();
  } else {
    CRect client;
    if (CFrameWnd* frame = GetParentFrame()) frame->GetClientRect(&client);
    avail = client.Size();
  }
  const BOOL horz = IsHorzDock();
  const int length = horz ? avail.cx : avail.cy;
  AFX_SIZEPARENTPARAMS layout{};
  if (!m_bLayoutQuery) {
    for (auto& s : m_splitters) s->m_bAlive = FALSE;
    for (auto& e : m_edges) e->m_bAlive = FALSE;
    layout.hDWP = ::BeginDeferWindowPos(static_cast<int>(m_arrBars.GetSize()));
  }
  int across = 0, firstChanged = -1, maxAlong = 0;
  const int size = static_cast<int>(m_arrBars.GetSize());
  for (int start = 1; start < size;) {
    const int end = RowEnd(start);
    for (int i = start; i < end; ++i)
      if (CControlBar* bar = GetDockedControlBar(i)) bar->RecalcDelayShow(&layout);
    across += LayOutRow(start, end, across, length, layout, firstChanged, maxAlong);
    start = end + 1;
  }
  if (!m_bLayoutQuery) {
    if (layout.hDWP) ::EndDeferWindowPos(layout.hDWP);
    std::erase_if(m_splitters, [](const auto& s) { return !s->m_bAlive; });
    std::erase_if(m_edges, [](const auto& e) { return !e->m_bAlive; });
    if (firstChanged > 0) {
      if (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_LEFT)) {
        for (int i = firstChanged; i < size; ++i) AddToRepaintList(GetDockedControlBar(i));
      } else {
        for (int i = firstChanged; i > 0; --i) AddToRepaintList(GetDockedControlBar(i));
      }
    }
    if (m_hWnd) Invalidate();
  }
  if (across == 0) return CSize(0, 0);
  CSize result = horz ? CSize(m_bFloating ? maxAlong : length, across) : CSize(across, m_bFloating ? maxAlong : length);
  CRect inside;
  inside.SetRectEmpty();
  CalcInsideRect(inside, bHorz);
  result.cx += inside.left - inside.right;
  result.cy += inside.top - inside.bottom;
  return result;
}

LRESULT SECDockBar::OnSizeParent(WPARAM wParam, LPARAM lParam) {
  AFX_SIZEPARENTPARAMS* saved = m_pSizeParentRequest;
  m_pSizeParentRequest = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
  LRESULT result = CDockBar::OnSizeParent(wParam, lParam);
  m_pSizeParentRequest = saved;
  return result;
}

// ---- docking

namespace {

void TidyRowEnds(CPtrArray& bars, int pos) {
  if (pos > 0 && pos < bars.GetSize() && !bars[pos - 1] && !bars[pos]) bars.RemoveAt(pos);
}

}  // namespace

// The dock bar takes the bar's sizing and, unless it holds several, its title; the bar
// takes the dock bar's side and all borders.
static void AdoptBarStyles(SECDockBar& dock, CControlBar* pBar) {
  if (dock.m_bFloating && (pBar->m_dwDockStyle & CBRS_FLOAT_MULTI)) dock.m_dwStyle |= CBRS_FLOAT_MULTI;
  dock.m_dwStyle &= ~(CBRS_SIZE_FIXED | CBRS_SIZE_DYNAMIC);
  dock.m_dwStyle |= pBar->m_dwStyle & (CBRS_SIZE_FIXED | CBRS_SIZE_DYNAMIC);
  if (!(dock.m_dwStyle & CBRS_FLOAT_MULTI) && dock.m_hWnd) {
    CString title;
    pBar->GetWindowText(title);
    dock.SetWindowText(title);
  }
  DWORD style = pBar->GetBarStyle() & ~CBRS_ALIGN_ANY;
  style |= (dock.m_dwStyle & CBRS_ALIGN_ANY) | CBRS_BORDER_ANY;
  if (dock.m_bFloating)
    style |= CBRS_FLOATING;
  else
    style &= ~CBRS_FLOATING;
  pBar->SetBarStyle(style);
}

void SECDockBar::DockControlBar(CControlBar* pBar, LPCRECT lpRect) {
  if (!pBar) return;
  CRect rect;
  if (lpRect) {
    rect = *lpRect;
    ScreenToClient(&rect);
  }
  if (pBar->m_pDockBar == this) {
    CRect window;
    pBar->GetWindowRect(&window);
    if (!lpRect || window == *lpRect) return;
    const int own = FindBar(pBar);
    if (!IsFixedBar(pBar)) {
      const int at = InsertionIndexAt(pBar, rect, rect.CenterPoint());
      if (at == own || at == own + 1) return;
    }
    CRect old = BarRect(*this, pBar);
    InvalidateRect(&old);
  }
  AdoptBarStyles(*this, pBar);
  int pos = -1;
  if (lpRect) {
    pos = InsertBarAtPoint(pBar, rect, rect.CenterPoint());
    pBar->SetWindowPos(nullptr, rect.left, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    m_arrBars.Add(pBar);
    pos = static_cast<int>(m_arrBars.GetSize()) - 1;
    m_arrBars.Add(nullptr);
    pBar->SetWindowPos(nullptr, -plat::afx::BarBorderX(), -plat::afx::BarBorderY(), 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (pBar->GetParent() != this) pBar->SetParent(this);
  CDockBar* previous = pBar->m_pDockBar;
  if (previous == this) {
    RemoveControlBar(pBar, pos);
  } else if (auto* secPrevious = dynamic_cast<SECDockBar*>(previous)) {
    secPrevious->RemoveControlBar(pBar, -1);  // may take its floating frame with it
  } else if (previous) {
    previous->RemoveControlBar(pBar, -1, m_bFloating && !previous->m_bFloating);
  }
  pBar->m_pDockBar = this;
  RemovePlaceHolder(pBar);
  m_bRelayout = TRUE;
  FlagDelayedLayout();
}

void SECDockBar::ReDockControlBar(CControlBar* pBar, LPCRECT lpRect) {
  if (!pBar) return;
  if (pBar->m_pDockBar == this) {
    CRect window;
    pBar->GetWindowRect(&window);
    if (!lpRect || window == *lpRect) return;
  }
  AdoptBarStyles(*this, pBar);
  const BOOL shown = pBar->IsWindowVisible();
  if (shown) pBar->ShowWindow(SW_HIDE);
  int pos = -1;
  if (void* holder = pBar->m_hWnd ? PlaceHolder(static_cast<UINT>(pBar->GetDlgCtrlID())) : nullptr) {
    pos = FindBar(static_cast<CControlBar*>(holder));
    if (pos > 0) m_arrBars[pos] = pBar;
  }
  CRect rect;
  if (lpRect) {
    rect = *lpRect;
    ScreenToClient(&rect);
    if (pos <= 0) pos = InsertBarAtPoint(pBar, rect, rect.CenterPoint());
    pBar->SetWindowPos(nullptr, rect.left, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    if (pos <= 0) {
      m_arrBars.Add(pBar);
      pos = static_cast<int>(m_arrBars.GetSize()) - 1;
      m_arrBars.Add(nullptr);
    }
    pBar->SetWindowPos(nullptr, -plat::afx::BarBorderX(), -plat::afx::BarBorderY(), 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (pBar->GetParent() != this) pBar->SetParent(this);
  CDockBar* previous = pBar->m_pDockBar;
  if (previous == this)
    RemoveControlBar(pBar, pos);
  else if (auto* secPrevious = dynamic_cast<SECDockBar*>(previous))
    secPrevious->RemoveControlBar(pBar, -1);
  else if (previous)
    previous->RemoveControlBar(pBar);
  pBar->m_pDockBar = this;
  if (shown) pBar->ShowWindow(SW_SHOWNA);
  m_pLastPlacedBar = pBar;
  m_bRelayout = TRUE;
  FlagDelayedLayout();
}

void SECDockBar::DockControlBarAt(CControlBar* pBar, const SECDockPos& pos) {
  if (!pBar) return;
  AdoptBarStyles(*this, pBar);
  const int index = InsertBarAtPosition(pBar, pos);
  if (pBar->GetParent() != this) pBar->SetParent(this);
  CDockBar* previous = pBar->m_pDockBar;
  if (previous == this)
    RemoveControlBar(pBar, index);
  else if (auto* secPrevious = dynamic_cast<SECDockBar*>(previous))
    secPrevious->RemoveControlBar(pBar, -1);
  else if (previous)
    previous->RemoveControlBar(pBar);
  pBar->m_pDockBar = this;
  RemovePlaceHolder(pBar);
  int normal = 0, fixed = 0;
  if (int at = FindBar(pBar); at > 0) NormalizeRow(RowStart(at), pBar, normal, fixed);
  m_bRelayout = TRUE;
  FlagDelayedLayout();
}

void SECDockBar::DockControlBarAt(CControlBar* pBar, int nCol, int nRow) {
  DockControlBarAt(pBar, SECDockPos{nRow, nCol, 0});
}

void SECDockBar::InsertBarInNewFirstRow(CControlBar* pBar) {
  int first = 1;
  while (first < m_arrBars.GetSize() && !m_arrBars[first]) ++first;
  first = std::min(first, static_cast<int>(m_arrBars.GetSize()));
  m_arrBars.InsertAt(first, static_cast<void*>(nullptr));
  m_arrBars.InsertAt(first, pBar);
}

void SECDockBar::InsertBarAtIndex(int nIndex, CControlBar* pBar) {
  nIndex = std::clamp(nIndex, 1, static_cast<int>(m_arrBars.GetSize()));
  m_arrBars.InsertAt(nIndex, pBar);
  auto ownRow = [](CControlBar* bar) {
    auto* b = dynamic_cast<SECControlBar*>(bar);
    return b && (b->m_dwExStyle & CBRS_EX_STRETCH);
  };
  const bool afterOwnRow = nIndex > 0 && m_arrBars[nIndex - 1] && ownRow(GetDockedControlBar(nIndex - 1));
  if (ownRow(pBar) || afterOwnRow) {
    if (nIndex + 1 < m_arrBars.GetSize() && m_arrBars[nIndex + 1] && ownRow(pBar))
      m_arrBars.InsertAt(nIndex + 1, static_cast<void*>(nullptr));
    if (m_arrBars[nIndex - 1]) m_arrBars.InsertAt(nIndex, static_cast<void*>(nullptr));
  } else if (nIndex + 1 < m_arrBars.GetSize() && m_arrBars[nIndex + 1] && ownRow(GetDockedControlBar(nIndex + 1))) {
    m_arrBars.InsertAt(nIndex + 1, static_cast<void*>(nullptr));
  }
  if (m_arrBars[m_arrBars.GetSize() - 1]) m_arrBars.Add(nullptr);
}

int SECDockBar::InsertBarAtPoint(CControlBar* pBar, const CRect& rect, CPoint ptCenter) {
  AddToRepaintList(pBar);
  const BOOL horz = IsHorzDock();
  auto markFrom = [this](int index) {
    for (int i = std::max(index, 1); i < m_arrBars.GetSize(); ++i) AddToRepaintList(GetDockedControlBar(i));
  };
  for (int i = 1; i < m_arrBars.GetSize(); ++i) {
    CControlBar* bar = GetDockedControlBar(i);
    if (!Visible(bar) || bar == pBar) continue;
    const CRect r = BarRect(*this, bar);
    if (horz ? r.bottom < ptCenter.y : r.right < ptCenter.x) continue;
    if (horz ? ptCenter.y < r.top : ptCenter.x < r.left) {
      // Before this row: a new row in front of it.
      const int start = RowStart(i);
      if (start <= 1) {
        InsertBarInNewFirstRow(pBar);
      } else {
        m_arrBars.InsertAt(start, static_cast<void*>(nullptr));
        m_arrBars.InsertAt(start, pBar);
      }
      const int at = FindBar(pBar);
      markFrom(at);
      return at;
    }
    if (horz ? rect.left < r.left : rect.top < r.top) {
      InsertBarAtIndex(i, pBar);
      const int at = FindBar(pBar);
      markFrom(at);
      return at;
    }
    if (NextBarInRow(i) < 0) {
      InsertBarAtIndex(i + 1, pBar);
      const int at = FindBar(pBar);
      markFrom(at);
      return at;
    }
  }
  // Below every row: a new last row.
  if (m_arrBars[m_arrBars.GetSize() - 1]) m_arrBars.Add(nullptr);
  m_arrBars.Add(pBar);
  m_arrBars.Add(nullptr);
  m_bRelayout = TRUE;
  const int at = static_cast<int>(m_arrBars.GetSize()) - 2;
  markFrom(at);
  return at;
}

int SECDockBar::InsertBarAtPosition(CControlBar* pBar, int nCol, int nRow) {
  return InsertBarAtPosition(pBar, SECDockPos{nRow, nCol, 0});
}

int SECDockBar::InsertBarAtPosition(CControlBar* pBar, const SECDockPos& pos) {
  int size = static_cast<int>(m_arrBars.GetSize());
  if (size == 0) {
    m_arrBars.Add(nullptr);
    size = 1;
  }
  if (m_arrBars[size - 1]) {
    m_arrBars.Add(nullptr);
    ++size;
  }
  const int rows = std::max(0, RowCount());
  int index = -1, rowEndsBefore = 0, rowEndsAfter = 0;
  int rowStart = -1, rowEnd = -1;
  const BOOL rowsFromEnd = (pos.dwFlags & SEC_DOCKPOS_ROW_FROM_END) != 0;
  // Rows beyond those that exist make one new row at that end.
  long long row = rowsFromEnd ? static_cast<long long>(rows) - 1 + std::min(pos.nRow, 0) : pos.nRow;
  const bool newLast = rows == 0 || (rowsFromEnd ? pos.nRow > 0 : row >= rows);
  const bool newFirst = !newLast && (rowsFromEnd ? row < 0 : row <= -2);
  if (newLast) {
    index = size;
    if (m_arrBars[size - 1]) ++rowEndsBefore;
    rowEndsAfter = 1;
  } else if (newFirst) {
    index = 1;
    rowEndsAfter = 1;
  } else if (!rowsFromEnd && row == -1) {
    index = 1;  // the start of the first row
  } else {
    rowStart = RowStartIndex(static_cast<int>(row)) + 1;
    rowEnd = RowEnd(rowStart);
  }
  if (rowStart > 0) {
    std::vector<int> visible;
    for (int i = rowStart; i < rowEnd; ++i)
      if (Visible(GetDockedControlBar(i)) && GetDockedControlBar(i) != pBar) visible.push_back(i);
    const int count = static_cast<int>(visible.size());
    const BOOL colsFromEnd = (pos.dwFlags & SEC_DOCKPOS_COL_FROM_END) != 0;
    if (pos.dwFlags & SEC_DOCKPOS_NEW_ROW) {
      index = rowStart;
      rowEndsAfter = 1;
    } else if (count == 0 || (!colsFromEnd && pos.nCol <= 0)) {
      index = rowStart;
    } else if (!colsFromEnd) {
      index = pos.nCol < count ? visible[static_cast<size_t>(pos.nCol)] : rowEnd;
    } else if (pos.nCol > 0) {
      index = rowEnd;
    } else {
      const long long k = -static_cast<long long>(pos.nCol);  // bars after it
      index = k < count ? visible[static_cast<size_t>(count - 1 - k)] : rowStart;
    }
  }
  AddToRepaintList(pBar);
  if (index < m_arrBars.GetSize()) AddToRepaintList(GetDockedControlBar(index));
  for (int i = 0; i < rowEndsAfter; ++i) m_arrBars.InsertAt(index, static_cast<void*>(nullptr));
  m_arrBars.InsertAt(index, pBar);
  for (int i = 0; i < rowEndsBefore; ++i) m_arrBars.InsertAt(index, static_cast<void*>(nullptr));
  TidyRowEnds(m_arrBars, static_cast<int>(m_arrBars.GetSize()) - 1);
  return index + rowEndsBefore;
}

int SECDockBar::RowCount() const {
  int rows = 0;
  for (int i = 1; i < m_arrBars.GetSize(); ++i)
    if (!m_arrBars[i] && m_arrBars[i - 1]) ++rows;
  return rows;
}

BOOL SECDockBar::RemoveControlBar(CControlBar* pBar, int nIndex, int) {
  const int pos = FindBar(pBar, nIndex);
  if (pos <= 0) return FALSE;
  if (IsAloneInRow(pBar)) {
    for (int i = pos; i < m_arrBars.GetSize(); ++i)
      if (GetDockedControlBar(i) != pBar) AddToRepaintList(GetDockedControlBar(i));
    m_bRelayout = TRUE;
  }
  const UINT id = pBar->m_hWnd ? static_cast<UINT>(pBar->GetDlgCtrlID()) : 0;
  void* holder = id != 0 ? PlaceHolder(id) : nullptr;
  if (holder) {
    m_arrBars[pos] = holder;
    if (int old = FindBar(static_cast<CControlBar*>(holder), pos); old > 0) {
      m_arrBars.RemoveAt(old);
      TidyRowEnds(m_arrBars, old);
    }
  } else {
    m_arrBars.RemoveAt(pos);
    TidyRowEnds(m_arrBars, pos);
  }
  for (INT_PTR i = m_arrRepaintBars.GetSize() - 1; i >= 0; --i)
    if (m_arrRepaintBars[i] == pBar) m_arrRepaintBars.RemoveAt(i);
  if (m_pLastPlacedBar == pBar) m_pLastPlacedBar = nullptr;
  if (!pBar->m_pDockContext) return FALSE;
  CFrameWnd* frame = GetDockingFrame();
  if (!frame || !frame->m_hWnd) return FALSE;
  if (m_bFloating && GetDockedVisibleCount() == 0) {
    if (GetDockedCount() == 0) {
      // The frame takes this dock bar with it: nothing here may be touched afterwards.
      frame->DestroyWindow();
      return TRUE;
    }
    frame->ShowWindow(SW_HIDE);
  } else {
    frame->RecalcLayout();
  }
  return FALSE;
}

CRect SECDockBar::CalcTrackRect(CControlBar* pBar, const CRect& rectProposed, CPoint point,
                                SECDockTrackState& state) {
  CRect client = rectProposed;
  ScreenToClient(&client);
  const int index = InsertionIndexAt(pBar, client, client.CenterPoint());
  const int size = static_cast<int>(m_arrBars.GetSize());
  int row = -1;
  if (index > 0 && index <= size) row = (index - 1 < size && !m_arrBars[index - 1]) ? index : RowStart(index - 1);
  int others = 0;
  float shares = 0.0f;
  int thickness = 0;
  BOOL inRow = FALSE;
  const BOOL horz = IsHorzDock();
  if (row > 0) {
    for (int i = row; i < size && m_arrBars[i]; ++i) {
      CControlBar* bar = GetDockedControlBar(i);
      if (!bar) continue;
      if (bar == pBar) {
        inRow = TRUE;
        continue;
      }
      ++others;
      shares += ShareOfBar(bar);
      if (Visible(bar)) {
        CRect r = BarRect(*this, bar);
        thickness = std::max(thickness, static_cast<int>(horz ? r.Height() : r.Width()));
      }
    }
  }
  CRect result = rectProposed;
  if (others > 0 && row == state.nLastRow && !state.rectLast.IsRectEmpty()) {
    result = state.rectLast;
    result.OffsetRect(point.x - state.ptLast.x, point.y - state.ptLast.y);
  } else if (!IsFixedBar(pBar)) {
    CRect window;
    GetWindowRect(&window);
    const int dockLength = horz ? window.Width() : window.Height();
    if (others == 0) {
      if (horz) {
        result.left = window.left;
        result.right = window.right;
      } else {
        result.top = window.top;
        result.bottom = window.bottom;
      }
    } else if (!inRow && shares > 0.0f) {
      const float own = ShareOfBar(pBar);
      const int length = static_cast<int>(own / (shares + own) * static_cast<float>(dockLength));
      CRect r = BarRect(*this, pBar);
      thickness = std::max(thickness, static_cast<int>(horz ? rectProposed.Height() : rectProposed.Width()));
      // The pointer keeps its place in the rectangle in both directions.
      const double fx = rectProposed.Width() > 0 ? double(point.x - rectProposed.left) / rectProposed.Width() : 0.5;
      const double fy = rectProposed.Height() > 0 ? double(point.y - rectProposed.top) / rectProposed.Height() : 0.5;
      const int cx = horz ? length : thickness, cy = horz ? thickness : length;
      result.left = point.x - static_cast<int>(fx * cx);
      result.top = point.y - static_cast<int>(fy * cy);
      result.right = result.left + cx;
      result.bottom = result.top + cy;
      (void)r;
    }
  }
  state.nLastRow = row;
  state.rectLast = result;
  state.ptLast = point;
  state.nInsertIndex = index;
  return result;
}

// ---- splitter tracking

void SECDockBar::SetSplitterLimits(Splitter* pSplitter) {
  if (!pSplitter) return;
  CRect client;
  GetClientRect(&client);
  const BOOL vertical = pSplitter->m_nOrientation == 1;  // moves along x
  if (pSplitter->m_bInRow) {
    const int pos = pSplitter->m_nRowIndex;
    int before = 0, after = 0;
    for (int i = RowStart(pos); i < RowEnd(pos); ++i) {
      if (!Visible(GetDockedControlBar(i))) continue;
      (i <= pos ? before : after)++;
    }
    pSplitter->m_nLowerLimit = (vertical ? client.left : client.top) + kSplitterMargin * before;
    pSplitter->m_nUpperLimit = (vertical ? client.right : client.bottom) - kSplitterMargin * after;
    return;
  }
  // A row splitter: the row keeps 19 pixels, and so does the frame's client area.
  CRect rest;
  rest.SetRectEmpty();
  if (CFrameWnd* frame = GetDockingFrame()) {
    frame->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CWnd::reposQuery, &rest);
    frame->ClientToScreen(&rest);
    ScreenToClient(&rest);
  }
  const int thickness = RowThickness(pSplitter->m_nRowIndex);
  const CRect& s = pSplitter->m_rect;
  if (m_dwStyle & CBRS_ALIGN_TOP) {
    pSplitter->m_nLowerLimit = s.top - thickness + kRowKeep;
    pSplitter->m_nUpperLimit = std::max(rest.bottom - kRowKeep, s.bottom);
  } else if (m_dwStyle & CBRS_ALIGN_BOTTOM) {
    pSplitter->m_nLowerLimit = std::min(rest.top + kRowKeep, s.top);
    pSplitter->m_nUpperLimit = s.top + thickness - kRowKeep;
  } else if (m_dwStyle & CBRS_ALIGN_LEFT) {
    pSplitter->m_nLowerLimit = s.left - thickness + kRowKeep;
    pSplitter->m_nUpperLimit = std::max(rest.right - kRowKeep, s.right);
  } else {
    pSplitter->m_nLowerLimit = std::min(rest.left + kRowKeep, s.left);
    pSplitter->m_nUpperLimit = s.left + thickness - kRowKeep;
  }
}

int SECDockBar::TrackSplitter(Splitter* pSplitter, CPoint point) {
  if (!pSplitter || !m_hWnd) return 0;
  if (HWND capture = ::GetCapture(); capture && capture != m_hWnd) return 0;
  SetSplitterLimits(pSplitter);
  const int upper = pSplitter->m_nUpperLimit - kSplitter;
  if (pSplitter->m_nLowerLimit > upper) return 0;  // no room to move in
  const BOOL vertical = pSplitter->m_nOrientation == 1;
  const int start = vertical ? pSplitter->m_rect.left : pSplitter->m_rect.top;
  const int grab = (vertical ? point.x : point.y) - start;
  int current = start;
  CFrameWnd* frame = GetParentFrame();
  CWindowDC dc(frame);
  auto dragRect = [&](int at) {
    CRect r = pSplitter->m_rect;
    if (vertical) {
      r.OffsetRect(at - r.left, 0);
      r.DeflateRect(0, 1);
    } else {
      r.OffsetRect(0, at - r.top);
      r.DeflateRect(1, 0);
    }
    ClientToScreen(&r);
    if (frame) {
      CRect origin;
      frame->GetWindowRect(&origin);
      r.OffsetRect(-origin.left, -origin.top);
    }
    return r;
  };
  const CSize thick(5, 5);
  CRect last = dragRect(current);
  dc.DrawDragRect(&last, thick, nullptr, CSize(0, 0));
  pSplitter->m_rectDrag = last;
  pSplitter->m_sizeDrag = thick;
  pSplitter->m_bDragEnded = FALSE;
  auto moveTo = [&](CPoint screen) {
    ScreenToClient(&screen);
    current = std::clamp((vertical ? screen.x : screen.y) - grab, pSplitter->m_nLowerLimit, upper);
    CRect next = dragRect(current);
    dc.DrawDragRect(&next, thick, &last, thick);
    last = next;
    pSplitter->m_rectDrag = last;
  };
  BOOL ended = FALSE;
  SetCapture();
  plat::afx::RunTrackLoop(m_hWnd, {
      [&](CPoint pt) { moveTo(pt); },
      [&] {
        const DWORD at = ::GetMessagePos();
        moveTo(CPoint(static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))));
        ended = TRUE;
        if (::GetCapture() == m_hWnd) ::ReleaseCapture();
      },
      [](UINT, BOOL) {},
      [&] {
        if (::GetCapture() == m_hWnd) ::ReleaseCapture();
      }});
  dc.DrawDragRect(&last, CSize(0, 0), &last, thick);  // the outline goes
  pSplitter->m_bDragEnded = TRUE;
  return ended ? current - start : 0;
}

void SECDockBar::OnSplitterMoved(Splitter* pSplitter, int nDelta) {
  if (!pSplitter || nDelta == 0) return;
  m_bRelayout = TRUE;
  const int pos = pSplitter->m_nRowIndex;
  if (CControlBar* bar = GetDockedControlBar(std::clamp(pos, 0, static_cast<int>(m_arrBars.GetSize()) - 1)))
    MarkRowForRepaint(bar);
  const BOOL horz = IsHorzDock();
  if (!pSplitter->m_bInRow) {
    const int sign = (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_LEFT)) ? 1 : -1;
    for (int i = RowStart(pos); i < RowEnd(pos); ++i) {
      CControlBar* bar = GetDockedControlBar(i);
      if (!Visible(bar)) continue;
      CSize size = bar->CalcDynamicLayout(-1, ThicknessMode(bar));
      const int thickness = std::max(0, (horz ? size.cy : size.cx) + sign * nDelta);
      bar->CalcDynamicLayout(thickness, ThicknessMode(bar) | LM_COMMIT);
      AddToRepaintList(bar);
    }
  } else {
    std::vector<int> before, after;  // nearest first
    for (int i = pos; i >= RowStart(pos); --i)
      if (Visible(GetDockedControlBar(i))) before.push_back(i);
    for (int i = pos + 1; i < RowEnd(pos); ++i)
      if (Visible(GetDockedControlBar(i))) after.push_back(i);
    if (!before.empty() && !after.empty()) {
      CRect window;
      GetWindowRect(&window);
      const int visible = static_cast<int>(before.size() + after.size());
      const int rowLength = (horz ? window.Width() : window.Height()) - kSplitter * (visible - 1);
      const std::vector<int>& shrinking = nDelta < 0 ? before : after;
      CControlBar* growing = GetDockedControlBar(nDelta < 0 ? after.front() : before.front());
      int remaining = -std::abs(nDelta);
      for (int i : shrinking) {
        CControlBar* bar = GetDockedControlBar(i);
        remaining = ResizeBarBy(bar, remaining, rowLength);
        AddToRepaintList(bar);
        if (remaining == 0) break;
      }
      const int absorbed = std::abs(nDelta) + remaining;
      ResizeBarBy(growing, absorbed, rowLength);
    }
  }
  FlagDelayedLayout();
}

// ---- messages

int SECDockBar::OnCreate(LPCREATESTRUCT lpcs) {
  if (CDockBar::OnCreate(lpcs) == -1) return -1;
  if (!s_hcurVert) {
    LPCSTR vert = MAKEINTRESOURCE(IDC_SEC_SPLITTER_VERT), horz = MAKEINTRESOURCE(IDC_SEC_SPLITTER_HORZ);
    s_hcurVert = ::LoadCursorA(AfxFindResourceHandle(vert, RT_GROUP_CURSOR), vert);
    s_hcurHorz = ::LoadCursorA(AfxFindResourceHandle(horz, RT_GROUP_CURSOR), horz);
  }
  return 0;
}

void SECDockBar::OnDestroy() {
  m_splitters.clear();
  m_edges.clear();
  m_arrRepaintBars.RemoveAll();
  CDockBar::OnDestroy();
}

BOOL SECDockBar::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (nHitTest == HTCLIENT && pWnd == this) return TRUE;  // the mouse moves set it
  return CDockBar::OnSetCursor(pWnd, nHitTest, message);
}

void SECDockBar::OnMouseMove(UINT nFlags, CPoint point) {
  Splitter* splitter = SplitterAt(point);
  HCURSOR cursor = secData.hcurArrow;
  if (splitter) cursor = splitter->m_nOrientation == 1 ? s_hcurVert : s_hcurHorz;
  if (cursor) ::SetCursor(cursor);
  CDockBar::OnMouseMove(nFlags, point);
}

void SECDockBar::OnLButtonDown(UINT nFlags, CPoint point) {
  if (Splitter* splitter = SplitterAt(point)) {
    if (int delta = TrackSplitter(splitter, point); delta != 0) {
      // The splitter list is rebuilt by the next layout: find it again by its place.
      OnSplitterMoved(splitter, delta);
    }
    return;
  }
  CDockBar::OnLButtonDown(nFlags, point);
}

BOOL SECDockBar::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_SYSCHAR) {
    if (CFrameWnd* frame = GetDockingFrame())
      frame->PostMessage(WM_SYSCOMMAND, SC_KEYMENU, pMsg->wParam);
    return TRUE;
  }
  return CDockBar::PreTranslateMessage(pMsg);
}

// ---- bar records

void SECDockBar::GetBarInfoEx(SECControlBarInfo* pInfo) {
  GetBarInfo(pInfo);
  pInfo->m_bMDIChild = m_bMDIChild;
  if (m_bMDIChild) {
    pInfo->m_pointPos = CPoint(0, 0);
    if (CFrameWnd* frame = GetParentFrame()) {
      pInfo->m_wpMDIChild.length = sizeof(WINDOWPLACEMENT);
      frame->GetWindowPlacement(&pInfo->m_wpMDIChild);
    }
  }
}

void SECDockBar::SetBarInfoEx(SECControlBarInfo* pInfo, CFrameWnd* pFrameWnd) { CDockBar::SetBarInfo(pInfo, pFrameWnd); }
