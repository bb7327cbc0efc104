#include "afxwin.h"
#include "CDockBar.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "CControlBarInfo.h"
#include "CDockContext.h"

IMPLEMENT_DYNAMIC(CDockBar, CControlBar)

namespace {
// The placeholder tags: entry n stands for control id n.
constexpr UINT kPlaceHolderIds = 0x10000;
char g_placeHolderTags[kPlaceHolderIds];
}  // namespace

void* CDockBar::PlaceHolder(UINT nID) { return nID < kPlaceHolderIds ? &g_placeHolderTags[nID] : nullptr; }

BOOL CDockBar::IsPlaceHolder(const void* pEntry) {
  const std::less<const void*> before;
  return pEntry && !before(pEntry, &g_placeHolderTags[0]) && before(pEntry, &g_placeHolderTags[0] + kPlaceHolderIds);
}

UINT CDockBar::PlaceHolderID(const void* pEntry) {
  if (!IsPlaceHolder(pEntry)) return 0;
  return static_cast<UINT>(static_cast<const char*>(pEntry) - &g_placeHolderTags[0]);
}

BEGIN_MESSAGE_MAP(CDockBar, CControlBar)
  ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
  ON_WM_NCDESTROY()
  ON_WM_NCCALCSIZE()
  ON_WM_NCPAINT()
END_MESSAGE_MAP()

CDockBar::CDockBar(BOOL bFloating) : m_bFloating(bFloating) {
  m_bAutoDelete = TRUE;
  m_arrBars.Add(nullptr);  // the array starts with a row end
  m_cxLeftBorder = m_cxRightBorder = m_cyTopBorder = m_cyBottomBorder = 0;
}

CDockBar::~CDockBar() {
  // The bars outlive their dock bar only as windowless objects: they forget it.
  for (int i = 0; i < m_arrBars.GetSize(); ++i)
    if (CControlBar* bar = GetDockedControlBar(i); bar && bar->m_pDockBar == this) bar->m_pDockBar = nullptr;
}

BOOL CDockBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
  m_dwStyle = dwStyle & CBRS_ALL;
  CRect rect;
  rect.SetRectEmpty();
  return CWnd::CreateEx(0, _afxWndControlBar, nullptr, dwStyle & ~CBRS_ALL, rect, pParentWnd, nID);
}

void CDockBar::OnNcDestroy() {
  // Rows of a destroyed dock bar lead nowhere any more.
  for (int i = 0; i < m_arrBars.GetSize(); ++i)
    if (CControlBar* bar = GetDockedControlBar(i); bar && bar->m_pDockBar == this) bar->m_pDockBar = nullptr;
  m_arrBars.RemoveAll();
  m_arrBars.Add(nullptr);
  CControlBar::OnNcDestroy();
}

CControlBar* CDockBar::GetDockedControlBar(int nPos) const {
  void* entry = m_arrBars[nPos];
  if (!entry || IsPlaceHolder(entry)) return nullptr;
  return static_cast<CControlBar*>(entry);
}

int CDockBar::GetDockedCount() const {
  int n = 0;
  for (int i = 0; i < m_arrBars.GetSize(); ++i)
    if (GetDockedControlBar(i)) ++n;
  return n;
}

int CDockBar::GetDockedVisibleCount() const {
  int n = 0;
  for (int i = 0; i < m_arrBars.GetSize(); ++i)
    if (CControlBar* bar = GetDockedControlBar(i); bar && bar->IsVisible()) ++n;
  return n;
}

int CDockBar::FindBar(CControlBar* pBar, int nPosExclude) const {
  for (int i = 0; i < m_arrBars.GetSize(); ++i)
    if (i != nPosExclude && m_arrBars[i] == pBar) return i;
  return -1;
}

void CDockBar::ShowAll(BOOL bShow) {
  for (int i = 0; i < m_arrBars.GetSize(); ++i) {
    CControlBar* bar = GetDockedControlBar(i);
    if (!bar) continue;
    if (CFrameWnd* frame = bar->GetDockingFrame()) frame->ShowControlBar(bar, bShow, FALSE);
  }
}

int CDockBar::Insert(CControlBar* pBarIns, CRect rect, CPoint ptMid) {
  const BOOL horz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
  int insertAfter = 0, thickness = 0, total = 0;
  for (int pos = 0; pos < m_arrBars.GetSize(); ++pos) {
    CControlBar* bar = GetDockedControlBar(pos);
    if (bar && bar->IsVisible()) {
      CRect r;
      bar->GetWindowRect(&r);
      ScreenToClient(&r);
      thickness = std::max(thickness, horz ? r.Height() : r.Width() - 1);
      if (horz ? rect.left > r.left : rect.top > r.top) insertAfter = pos;
    } else {
      // A row end (or a hidden bar, or a placeholder, as the rows are walked).
      total += thickness - plat::afx::BarBorderY();
      thickness = 0;
      if ((horz ? ptMid.y : ptMid.x) < total) {
        if (pos == 0) m_arrBars.InsertAt(insertAfter + 1, static_cast<void*>(nullptr));  // a new first row
        m_arrBars.InsertAt(insertAfter + 1, pBarIns);
        return insertAfter + 1;
      }
      insertAfter = pos;
    }
  }
  m_arrBars.InsertAt(insertAfter + 1, static_cast<void*>(nullptr));  // a new last row
  m_arrBars.InsertAt(insertAfter + 1, pBarIns);
  return insertAfter + 1;
}

namespace {
// The dock bar takes the bar's sizing and, alone in a floating frame, its title; the
// bar takes the dock bar's side and all borders.
void AdoptStyles(CDockBar& dock, CControlBar* pBar) {
  if (dock.m_bFloating && (pBar->m_dwDockStyle & CBRS_FLOAT_MULTI)) dock.m_dwStyle |= CBRS_FLOAT_MULTI;
  dock.m_dwStyle &= ~(CBRS_SIZE_FIXED | CBRS_SIZE_DYNAMIC);
  dock.m_dwStyle |= pBar->m_dwStyle & (CBRS_SIZE_FIXED | CBRS_SIZE_DYNAMIC);
  if (!(dock.m_dwStyle & CBRS_FLOAT_MULTI)) {
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

void RemoveRowEndAfter(CPtrArray& bars, int pos) {
  // An emptied row leaves two row ends side by side: one goes.
  if (pos > 0 && pos < bars.GetSize() && !bars[pos - 1] && !bars[pos]) bars.RemoveAt(pos);
}
}  // namespace

void CDockBar::DockControlBar(CControlBar* pBar, LPCRECT lpRect) {
  CRect rectBar;
  pBar->GetWindowRect(&rectBar);
  if (pBar->m_pDockBar == this && (!lpRect || rectBar == *lpRect)) return;  // already there
  AdoptStyles(*this, pBar);
  // Hidden while it changes sides, so it does not flash in between.
  BOOL show = FALSE;
  if (pBar->m_pDockBar != this && pBar->IsWindowVisible()) {
    pBar->SetWindowPos(nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    show = TRUE;
  }
  int pos = -1;
  if (lpRect) {
    CRect rect(lpRect);
    ScreenToClient(&rect);
    CPoint mid(rect.left + rect.Width() / 2, rect.top + rect.Height() / 2);
    pos = Insert(pBar, rect, mid);
    pBar->SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
  } else {
    m_arrBars.Add(pBar);
    m_arrBars.Add(nullptr);
    pBar->SetWindowPos(nullptr, -plat::afx::BarBorderX(), -plat::afx::BarBorderY(), 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
  }
  if (pBar->GetParent() != this) pBar->SetParent(this);
  if (pBar->m_pDockBar == this)
    RemoveControlBar(pBar, pos);
  else if (pBar->m_pDockBar)
    // A bar that leaves the frame's edge for a floating frame keeps its place there.
    pBar->m_pDockBar->RemoveControlBar(pBar, -1, m_bFloating && !pBar->m_pDockBar->m_bFloating);
  pBar->m_pDockBar = this;
  if (show)
    pBar->SetWindowPos(nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  RemovePlaceHolder(pBar);
  if (CFrameWnd* frame = GetDockingFrame()) frame->DelayRecalcLayout();
}

void CDockBar::ReDockControlBar(CControlBar* pBar, LPCRECT lpRect) {
  CRect rectBar;
  pBar->GetWindowRect(&rectBar);
  if (pBar->m_pDockBar == this && (!lpRect || rectBar == *lpRect)) return;
  AdoptStyles(*this, pBar);
  // The bar takes its placeholder's place when it left one here.
  int pos = FindBar(static_cast<CControlBar*>(PlaceHolder(static_cast<UINT>(pBar->GetDlgCtrlID()))));
  if (pos > 0) m_arrBars[pos] = pBar;
  if (lpRect) {
    CRect rect(lpRect);
    ScreenToClient(&rect);
    if (pos < 1) {
      CPoint mid(rect.left + rect.Width() / 2, rect.top + rect.Height() / 2);
      Insert(pBar, rect, mid);
    }
    pBar->SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
  } else {
    if (pos < 1) {
      m_arrBars.Add(pBar);
      m_arrBars.Add(nullptr);
    }
    pBar->SetWindowPos(nullptr, -plat::afx::BarBorderX(), -plat::afx::BarBorderY(), 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
  }
  if (pBar->GetParent() != this) pBar->SetParent(this);
  if (pBar->m_pDockBar && pBar->m_pDockBar != this) pBar->m_pDockBar->RemoveControlBar(pBar);
  pBar->m_pDockBar = this;
  if (CFrameWnd* frame = GetDockingFrame()) frame->DelayRecalcLayout();
}

BOOL CDockBar::RemoveControlBar(CControlBar* pBar, int nPosExclude, int nAddPlaceHolder) {
  int pos = FindBar(pBar, nPosExclude);
  if (pos <= 0) return FALSE;
  const UINT id = pBar->m_hWnd ? static_cast<UINT>(pBar->GetDlgCtrlID()) : 0;
  if (nAddPlaceHolder == 1 && id != 0 && id < 0x10000) {
    m_arrBars[pos] = PlaceHolder(id);
    // One placeholder a bar is enough.
    int old = FindBar(static_cast<CControlBar*>(m_arrBars[pos]), pos);
    if (old > 0) {
      m_arrBars.RemoveAt(old);
      RemoveRowEndAfter(m_arrBars, old);
    }
  } else {
    m_arrBars.RemoveAt(pos);
    RemoveRowEndAfter(m_arrBars, pos);
    if (nAddPlaceHolder != -1) RemovePlaceHolder(pBar);
  }
  if (!pBar->m_pDockContext) return FALSE;  // the bar is going away: nothing more to do
  CFrameWnd* frame = GetDockingFrame();
  if (!frame) return FALSE;
  if (m_bFloating && GetDockedVisibleCount() == 0) {
    if (GetDockedCount() == 0) {
      frame->DestroyWindow();
      return TRUE;  // the floating frame went, this dock bar with it
    }
    frame->ShowWindow(SW_HIDE);
  } else {
    frame->DelayRecalcLayout();
  }
  return FALSE;
}

void CDockBar::RemovePlaceHolder(CControlBar* pBar) {
  if (!pBar->m_hWnd) return;
  UINT id = static_cast<UINT>(pBar->GetDlgCtrlID());
  if (id == 0 || id >= 0x10000) return;
  int pos = FindBar(static_cast<CControlBar*>(PlaceHolder(id)));
  if (pos > 0) {
    m_arrBars.RemoveAt(pos);
    RemoveRowEndAfter(m_arrBars, pos);
  }
}

CSize CDockBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  CSize fixed = CControlBar::CalcFixedLayout(bStretch, bHorz);
  CSize maxSize;
  if (!m_rectLayout.IsRectEmpty()) {
    maxSize = m_rectLayout.Size();
  } else {
    CRect frameRect;
    if (CFrameWnd* frame = GetParentFrame()) frame->GetClientRect(&frameRect);
    maxSize = frameRect.Size();
  }
  const int bx = plat::afx::BarBorderX(), by = plat::afx::BarBorderY();
  AFX_SIZEPARENTPARAMS layout{};
  layout.hDWP = m_bLayoutQuery ? nullptr : ::BeginDeferWindowPos(static_cast<int>(m_arrBars.GetSize()));
  // Neighbouring bars share their border lines: each starts a border width back.
  CPoint pt(-bx, -by);
  int rowThickness = 0;
  BOOL wrapped = FALSE;
  for (int pos = 0; pos < m_arrBars.GetSize(); ++pos) {
    CControlBar* bar = GetDockedControlBar(pos);
    void* entry = m_arrBars[pos];
    if (bar) {
      if (bar->IsVisible()) {
        DWORD mode = 0;
        if ((bar->m_dwStyle & CBRS_SIZE_DYNAMIC) && (bar->m_dwStyle & CBRS_FLOATING))
          mode = LM_HORZ | LM_MRUWIDTH;
        else if (bar->m_dwStyle & CBRS_ORIENT_HORZ)
          mode = LM_HORZ | LM_HORZDOCK;
        else
          mode = LM_VERTDOCK;
        CSize size = bar->CalcDynamicLayout(-1, mode);
        CRect rect(pt, size);
        CRect current;
        bar->GetWindowRect(&current);
        ScreenToClient(&current);
        // Along the row a bar keeps the place the user gave it, within the dock bar;
        // one that would start beyond the end goes to a new row.
        int along = bHorz ? rect.left : rect.top;
        int currentAlong = bHorz ? current.left : current.top;
        int length = bHorz ? size.cx : size.cy;
        int maxAlong = bHorz ? maxSize.cx : maxSize.cy;
        int b = bHorz ? bx : by;
        if (currentAlong > along && !m_bFloating) along = currentAlong;
        if (along + length > maxAlong && !m_bFloating) along = std::max(maxAlong - (length - b), bHorz ? pt.x : pt.y);
        if (wrapped) {
          wrapped = FALSE;
          along = -b;
        } else if (along >= maxAlong - b && pos > 0 && m_arrBars[pos - 1]) {
          m_arrBars.InsertAt(pos, static_cast<void*>(nullptr));
          bar = nullptr;
          entry = nullptr;
          wrapped = TRUE;
        }
        if (!wrapped) {
          if (bHorz)
            rect.OffsetRect(along - rect.left, 0);
          else
            rect.OffsetRect(0, along - rect.top);
          if (rect != current) {
            if (!m_bLayoutQuery && !(bar->m_dwStyle & CBRS_FLOATING) && bar->m_pDockContext) {
              // The place is in this dock bar's coordinates: both are remembered.
              bar->m_pDockContext->m_rectMRUDockPos = rect;
              bar->m_pDockContext->m_uMRUDockID = static_cast<UINT>(GetDlgCtrlID());
            }
            AfxRepositionWindow(&layout, bar->m_hWnd, &rect);
          }
          if (bHorz) {
            pt.x = rect.left + size.cx - bx;
            rowThickness = std::max(rowThickness, static_cast<int>(size.cy));
          } else {
            pt.y = rect.top + size.cy - by;
            rowThickness = std::max(rowThickness, static_cast<int>(size.cx));
          }
        }
      }
      if (bar) bar->RecalcDelayShow(&layout);
    }
    if (!bar && !entry && rowThickness != 0) {
      // A row end: the next row starts below (or beside) this one.
      if (bHorz) {
        pt.y += rowThickness - by;
        fixed.cx = std::max(fixed.cx, pt.x);
        fixed.cy = std::max(fixed.cy, pt.y);
        pt.x = -bx;
      } else {
        pt.x += rowThickness - bx;
        fixed.cx = std::max(fixed.cx, pt.x);
        fixed.cy = std::max(fixed.cy, pt.y);
        pt.y = -by;
      }
      rowThickness = 0;
    }
  }
  if (layout.hDWP) ::EndDeferWindowPos(layout.hDWP);
  CRect inside;
  inside.SetRectEmpty();
  CalcInsideRect(inside, bHorz);
  if ((!bStretch || !bHorz) && fixed.cx != 0) fixed.cx += inside.left - inside.right;
  if ((!bStretch || bHorz) && fixed.cy != 0) fixed.cy += inside.top - inside.bottom;
  return fixed;
}

LRESULT CDockBar::OnSizeParent(WPARAM wParam, LPARAM lParam) {
  auto* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
  // The layout measures against the room the frame offers, and only moves the bars
  // when the frame moves windows.
  BOOL oldQuery = m_bLayoutQuery;
  CRect oldRect = m_rectLayout;
  m_bLayoutQuery = layout->hDWP == nullptr;
  m_rectLayout = layout->rect;
  LRESULT result = CControlBar::OnSizeParent(wParam, lParam);
  m_bLayoutQuery = oldQuery;
  m_rectLayout = oldRect;
  return result;
}

void CDockBar::DoPaint(CDC*) {}  // the borders are painted with the non-client area

void CDockBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp) {
  CRect border;
  border.SetRectEmpty();
  CControlBar::CalcInsideRect(border, (m_dwStyle & CBRS_ORIENT_HORZ) != 0);
  lpncsp->rgrc[0].left += border.left;
  lpncsp->rgrc[0].top += border.top;
  lpncsp->rgrc[0].right += border.right;
  lpncsp->rgrc[0].bottom += border.bottom;
}

void CDockBar::OnNcPaint() {
  CWindowDC dc(this);
  CRect window, client;
  GetWindowRect(&window);
  GetClientRect(&client);
  ScreenToClient(&window);
  client.OffsetRect(-window.left, -window.top);
  dc.ExcludeClipRect(&client);
  window.OffsetRect(-window.left, -window.top);
  dc.FillSolidRect(&window, ::GetSysColor(COLOR_BTNFACE));
  DrawBorders(&dc, window);
}

void CDockBar::GetBarInfo(CControlBarInfo* pInfo) {
  pInfo->m_nBarID = static_cast<UINT>(GetDlgCtrlID());
  pInfo->m_pBar = this;
  pInfo->m_bVisible = IsVisible();
  pInfo->m_bDockBar = TRUE;
  pInfo->m_bFloating = m_bFloating;
  if (m_bFloating) {
    CRect rect;
    GetWindowRect(&rect);
    pInfo->m_pointPos = rect.TopLeft();
  }
  pInfo->m_bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
  pInfo->m_arrBarID.RemoveAll();
  for (int i = 0; i < m_arrBars.GetSize(); ++i) {
    void* entry = m_arrBars[i];
    if (CControlBar* bar = GetDockedControlBar(i))
      pInfo->m_arrBarID.Add(reinterpret_cast<void*>(static_cast<UINT_PTR>(bar->GetDlgCtrlID())));
    else if (IsPlaceHolder(entry))
      pInfo->m_arrBarID.Add(reinterpret_cast<void*>(static_cast<UINT_PTR>(PlaceHolderID(entry) | 0x10000)));
    else
      pInfo->m_arrBarID.Add(nullptr);
  }
}

namespace {
// A restore in progress: the bars that a restored dock bar took by id stay there.
struct Restore {
  bool active = false;
  std::vector<const CControlBar*> placed;
};
thread_local Restore t_restore;
}  // namespace

void CDockBar::BeginRestore() {
  t_restore.active = true;
  t_restore.placed.clear();
}

void CDockBar::EndRestore() {
  t_restore.active = false;
  t_restore.placed.clear();
}

void CDockBar::SetBarInfo(CControlBarInfo* pInfo, CFrameWnd* pFrameWnd) {
  // A frame's own dock bar takes its visibility; a floating one goes with its frame.
  if (!m_bFloating && m_hWnd)
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE |
                                          (pInfo->m_bVisible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
  auto contains = [](const CPtrArray& array, const void* p) {
    for (INT_PTR i = 0; i < array.GetSize(); ++i)
      if (array[i] == p) return true;
    return false;
  };
  // Bars this dock bar holds now and the saved rows do not list leave with the old rows.
  CPtrArray rows;
  rows.Add(nullptr);
  auto addRowEnd = [&rows] {
    if (rows[rows.GetSize() - 1] != nullptr) rows.Add(nullptr);
  };
  for (INT_PTR i = 0; i < pInfo->m_arrBarID.GetSize(); ++i) {
    const UINT entry = BarIDAt(pInfo->m_arrBarID, i);
    if (entry == 0) {
      addRowEnd();
      continue;
    }
    if (entry & 0x10000) {
      if (void* holder = PlaceHolder(entry & 0xFFFF); holder && (entry & 0xFFFF) != 0 && !contains(rows, holder))
        rows.Add(holder);
      continue;
    }
    CControlBar* bar = pFrameWnd ? pFrameWnd->GetControlBar(entry) : nullptr;
    if (!bar || bar->IsDockBar() || bar == this || contains(rows, bar)) continue;
    if (t_restore.active &&
        std::find(t_restore.placed.begin(), t_restore.placed.end(), bar) != t_restore.placed.end())
      continue;  // another dock bar of this restore has it
    if (t_restore.active) t_restore.placed.push_back(bar);
    if (CDockBar* other = bar->m_pDockBar; other && other != this && other->FindBar(bar) > 0) {
      // Taken from the rows it was docked in before the restore.
      int pos = other->FindBar(bar);
      other->m_arrBars.RemoveAt(pos);
      if (pos > 0 && pos < other->m_arrBars.GetSize() && !other->m_arrBars[pos - 1] && !other->m_arrBars[pos])
        other->m_arrBars.RemoveAt(pos);
    }
    rows.Add(bar);
  }
  addRowEnd();
  // Bars of the old rows that the saved rows leave out stay docked, each in a row of its own at the end.
  for (INT_PTR i = 0; i < m_arrBars.GetSize(); ++i) {
    CControlBar* bar = GetDockedControlBar(static_cast<int>(i));
    if (bar && !contains(rows, bar) && bar->m_pDockBar == this) {
      rows.Add(bar);
      rows.Add(nullptr);
    }
  }
  m_arrBars.RemoveAll();
  m_arrBars.Append(rows);
  for (INT_PTR i = 0; i < m_arrBars.GetSize(); ++i) {
    CControlBar* bar = GetDockedControlBar(static_cast<int>(i));
    if (!bar) continue;
    if (bar->GetParent() != this) bar->SetParent(this);
    bar->m_pDockBar = this;
  }
}
