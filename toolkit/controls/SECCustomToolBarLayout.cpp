// The toolbar's layout: sizes per docking state (cached until a change makes them
// dirty), wrapping into rows, balancing the rows, placing the buttons, hit tests.
#include <algorithm>

#include "SECCustomToolBar.h"

namespace {

// The buttons that are not hidden, for the time of one layout: the hidden ones leave
// the array and come back in their places afterwards.
class HiddenButtonsAside {
 public:
  explicit HiddenButtonsAside(CPtrArray& buttons) : buttons_(buttons) {
    for (INT_PTR i = 0; i < buttons.GetSize(); ++i) all_.push_back(buttons[i]);
    for (INT_PTR i = buttons.GetSize() - 1; i >= 0; --i)
      if (static_cast<SECStdBtn*>(buttons[i])->GetStyle() & TBBS_HIDDEN) buttons.RemoveAt(i);
  }
  ~HiddenButtonsAside() {
    buttons_.RemoveAll();
    for (void* b : all_) buttons_.Add(b);
  }
  HiddenButtonsAside(const HiddenButtonsAside&) = delete;
  HiddenButtonsAside& operator=(const HiddenButtonsAside&) = delete;

 private:
  CPtrArray& buttons_;
  std::vector<void*> all_;
};

}  // namespace

CSize SECCustomToolBar::CalcFixedLayout(BOOL, BOOL bHorz) {
  return CalcLayout(-1, bHorz ? (LM_HORZDOCK | LM_HORZ) : LM_VERTDOCK);
}

namespace {
int ModeKey(DWORD dwMode) { return (dwMode & LM_HORZDOCK) ? 1 : (dwMode & LM_VERTDOCK) ? 2 : 3; }

// The rows and places of the buttons as they stand, put back after measuring another
// docking state than the bar's own.
class PlacementKept {
 public:
  PlacementKept(const SECCustomToolBar& bar, bool keep) : bar_(bar) {
    if (!keep) return;
    for (int i = 0; i < bar.GetButtonCount(); ++i) {
      const SECStdBtn* b = bar.GetButton(i);
      saved_.push_back(Saved{static_cast<UINT>(b->GetStyle() & TBBS_WRAPPED), b->m_x, b->m_y});
    }
  }
  ~PlacementKept() {
    for (size_t i = 0; i < saved_.size() && static_cast<int>(i) < bar_.GetButtonCount(); ++i) {
      SECStdBtn* b = bar_.GetButton(static_cast<int>(i));
      b->SetStyle((b->GetStyle() & ~TBBS_WRAPPED) | saved_[i].wrapped);
      b->SetPos(saved_[i].x, saved_[i].y);
    }
  }
  PlacementKept(const PlacementKept&) = delete;
  PlacementKept& operator=(const PlacementKept&) = delete;

 private:
  struct Saved {
    UINT wrapped;
    int x, y;
  };
  const SECCustomToolBar& bar_;
  std::vector<Saved> saved_;
};
}  // namespace

int SECCustomToolBar::CurrentPlacementMode() const {
  if (!m_pDockBar) return 0;
  if (IsFloating()) return 3;
  return (m_dwStyle & CBRS_ORIENT_HORZ) ? 1 : 2;
}

CSize SECCustomToolBar::CalcDynamicLayout(int nLength, DWORD dwMode) {
  if (!(dwMode & LM_COMMIT)) {
    bool dirty = ((dwMode & LM_HORZDOCK) && m_bHorzDirty) || ((dwMode & LM_VERTDOCK) && m_bVertDirty) ||
                 ((dwMode & LM_MRUWIDTH) && m_bFloatDirty);
    // A size kept from before is right, but the buttons still stand where another
    // docking state put them: the bar's own state is laid out again.
    const int current = CurrentPlacementMode();
    const int asked = ModeKey(dwMode);
    if (current && asked == current && m_nPlacedMode != current && (dwMode & (LM_HORZDOCK | LM_VERTDOCK | LM_MRUWIDTH)))
      dirty = true;
    // A docked bar's thickness is asked with LM_LENGTHY; its buttons still run along the
    // dock bar, so the layout made meanwhile is the one along it.
    const DWORD along = (dwMode & LM_HORZDOCK) ? (dwMode & ~LM_LENGTHY) : dwMode;
    if (dirty) return CalcLayout((dwMode & LM_VERTDOCK) ? 0 : 0x7FFF, along | LM_COMMIT);
  }
  if (!(dwMode & LM_COMMIT) || ((dwMode & LM_HORZDOCK) && (dwMode & LM_LENGTHY)) ||
      ((dwMode & LM_VERTDOCK) && !(dwMode & LM_LENGTHY)))
    return SECControlBar::CalcDynamicLayout(nLength, dwMode);
  return CalcLayout(nLength, dwMode);
}

CSize SECCustomToolBar::CalcLayout(int nLength, DWORD dwMode) {
  // Measuring another docking state (a drag asks for all three) leaves the buttons
  // where the bar's own state has them.
  const int current = CurrentPlacementMode();
  const bool otherState = current != 0 && ModeKey(dwMode) != current && !dynamic_cast<CReBar*>(GetOwner());
  PlacementKept kept(*this, otherState && (dwMode & LM_COMMIT));
  HiddenButtonsAside aside(m_btns);
  CRect border(0, 0, 0, 0);
  CalcInsideRect(border, (dwMode & LM_HORZ) != 0, (m_dwStyle & CBRS_ORIENT_VERT) || (dwMode & LM_VERTDOCK));
  const int borderX = border.left - border.right, borderY = border.top - border.bottom;

  auto* rebar = dynamic_cast<CReBar*>(GetOwner());
  const bool commit = (dwMode & LM_COMMIT) || rebar;
  const bool stretch = (m_dwExStyle & CBRS_EX_STRETCH) != 0;
  if (stretch) {
    if (dwMode & LM_HORZDOCK) {
      CRect client;
      if (CWnd* owner = GetOwner()) owner->GetClientRect(&client);
      nLength = client.Width() - (rebar ? 12 : 0);
    } else if ((dwMode & LM_VERTDOCK) && nLength == 0) {
      nLength = SideDockLength();
    }
  }
  // The framework's dock bar asks a bar docked left or right with length 0: its columns
  // are made to fit the height of that dock bar.
  bool fitSide = false;
  if (!stretch && (dwMode & LM_VERTDOCK) && !(dwMode & LM_LENGTHY) && nLength == 0) {
    nLength = SideDockLength();
    fitSide = nLength > 0;
  }

  CSize size;
  if (GetButtonCount() == 0) {
    size = CSize(GetButtonWidth() + borderX, GetButtonHeight() + borderY);
    if (stretch && (dwMode & LM_HORZDOCK)) size.cx = nLength;
  } else {
    if ((dwMode & LM_STRETCH) && nLength > 0) nLength = static_cast<int>(static_cast<float>(nLength) * m_fPctWidth);
    if (commit) {
      BOOL vertical = !(dwMode & LM_HORZ);
      if (m_dwStyle & CBRS_SIZE_FIXED) nLength = 0x7FFF;
      const DWORD orientation = m_dwStyle & CBRS_ORIENT_VERT;
      m_dwOrientation = orientation;
      for (int i = 0; i < GetButtonCount(); ++i) GetButton(i)->SetOrientation(orientation);
      int wrapLength = vertical ? 0 : 0x7FFF;
      if (m_dwStyle & CBRS_SIZE_DYNAMIC) {
        if ((dwMode & LM_MRUWIDTH) || (nLength == -1 && IsFloating())) {
          vertical = FALSE;
          wrapLength = static_cast<int>(std::min<UINT>(m_nMRUWidth, 0x7FFF)) - borderX;
        } else if (nLength != -1) {
          vertical = (dwMode & LM_LENGTHY) != 0 || fitSide;
          wrapLength = nLength - (vertical ? borderY : borderX);
        }
      }
      std::vector<RowInfo> rows;
      CSize wrapped = CalcWrappedSize(wrapLength, vertical, rows);
      PlaceButtons(border.TopLeft());
      if (!otherState) m_nPlacedMode = ModeKey(dwMode);
      size = CSize(wrapped.cx + borderX, wrapped.cy + borderY);
    }
  }

  if (commit) {
    SECStdBtn* last = GetButtonCount() ? GetButton(GetButtonCount() - 1) : nullptr;
    const bool trailing = stretch && last && last->m_nType == SEC_BTNTYPE_TRAILING;
    if (dwMode & LM_HORZDOCK) {
      if (stretch) {
        size.cx = nLength;
        if (trailing) last->SetPos(nLength - 2 - last->m_cx, last->m_y);
      }
      m_szHorzLayout = m_szHorz = size;
      m_bHorzDirty = FALSE;
    } else if (dwMode & LM_VERTDOCK) {
      if (stretch && !(dwMode & LM_LENGTHY)) {
        if (m_dwExStyle & CBRS_EX_THIN4FRAME) size.cx = 2 * size.cy;
        size.cy = nLength;
        if (trailing) last->SetPos(last->m_x, nLength - 2 - last->m_cy);
      }
      m_szVertLayout = m_szVert = size;
      m_bVertDirty = FALSE;
    } else {
      m_szFloatLayout = m_szFloat = size;
      if (!(dwMode & LM_LENGTHY)) m_nMRUWidth = static_cast<UINT>(size.cx);
      m_bFloatDirty = FALSE;
    }
  }

  CSize result = (dwMode & LM_HORZDOCK) ? m_szHorzLayout : (dwMode & LM_VERTDOCK) ? m_szVertLayout : m_szFloatLayout;
  if (IsFloating()) result -= CSize(2, 2);
  if (rebar) UpdateRebarBand(rebar, result);
  return result;
}

int SECCustomToolBar::SideDockLength() {
  CFrameWnd* frame = m_pDockSite ? m_pDockSite : GetParentFrame();
  CControlBar* side = frame ? frame->GetControlBar(AFX_IDW_DOCKBAR_LEFT) : nullptr;
  if (m_pDockBar && m_pDockBar->GetDlgCtrlID() == AFX_IDW_DOCKBAR_RIGHT) side = m_pDockBar;
  if (!side && frame) side = frame->GetControlBar(AFX_IDW_DOCKBAR_RIGHT);
  if (!side) return 0;
  // While the frame lays its bars out, the room it offers the dock bar is the length.
  if (auto* dock = dynamic_cast<CDockBar*>(side); dock && !dock->m_rectLayout.IsRectEmpty())
    return dock->m_rectLayout.Height();
  CRect r;
  side->GetWindowRect(&r);
  return r.Height();
}

void SECCustomToolBar::PlaceButtons(CPoint origin) {
  int x = origin.x, y = origin.y, rowStart = 0, rowHeight = 0;
  const int count = GetButtonCount();
  for (int i = 0; i < count; ++i) {
    SECStdBtn* btn = GetButton(i);
    btn->SetPos(x, y);
    x += btn->m_cx;
    rowHeight = std::max(rowHeight, btn->m_cy);
    const bool rowEnd = (btn->GetStyle() & TBBS_WRAPPED) || i == count - 1;
    if (!rowEnd) continue;
    // Buttons that ask for it sit in the middle of a taller row.
    for (int j = rowStart; j <= i; ++j) {
      SECStdBtn* b = GetButton(j);
      if ((b->GetStyle() & SEC_TBBS_VCENTER) && b->m_cy < rowHeight) b->SetPos(b->m_x, b->m_y + (rowHeight - b->m_cy) / 2);
    }
    y += rowHeight + (btn->IsSeparator() ? m_nRowGap * 2 / 3 : 0);
    x = origin.x;
    rowStart = i + 1;
    rowHeight = 0;
  }
}

namespace {
int FirstOfRow(const std::vector<SECCustomToolBar::RowInfo>& rows, size_t r) {
  return r == 0 ? 0 : rows[r - 1].nLast + 1;
}
}  // namespace

int SECCustomToolBar::WrapButtons(int nWidth, std::vector<RowInfo>& rows) {
  rows.clear();
  const int count = GetButtonCount();
  if (count == 0) return 0;
  int start = 0, x = 0;
  for (int i = 0; i < count; ++i) {
    const int w = GetButton(i)->m_cx;
    if (x + w > nWidth + 2 && i > start) {
      // The nearest separator back to the last cut ends the row; else the row ends
      // before this button.
      int separator = -1;
      for (int j = i; j >= start; --j)
        if (GetButton(j)->IsSeparator()) {
          separator = j;
          break;
        }
      if (separator >= 0) {
        rows.push_back(RowInfo{separator, TRUE, 0, 0});
        start = separator + 1;
        i = separator;
        x = 0;
        continue;
      }
      rows.push_back(RowInfo{i - 1, FALSE, 0, 0});
      start = i;
      x = 0;
    }
    x += w;
  }
  if (start < count) rows.push_back(RowInfo{count - 1, FALSE, 0, 0});
  for (size_t r = 0; r < rows.size(); ++r) {
    RowInfo& row = rows[r];
    row.cx = row.cy = 0;
    for (int i = FirstOfRow(rows, r); i <= row.nLast; ++i) {
      SECStdBtn* btn = GetButton(i);
      if (!(row.bSeparator && i == row.nLast)) row.cx += btn->m_cx;
      row.cy = std::max(row.cy, btn->m_cy);
    }
  }
  return static_cast<int>(rows.size());
}

namespace {
// Height of wrapped rows: the rows and two thirds of the gap after each that ends in a
// separator.
int RowsHeight(const std::vector<SECCustomToolBar::RowInfo>& rows, int rowGap) {
  int h = 0;
  for (const auto& row : rows) h += row.cy + (row.bSeparator ? rowGap * 2 / 3 : 0);
  return h;
}
}  // namespace

CSize SECCustomToolBar::CalcWrappedSize(int nLength, BOOL bVertical, std::vector<RowInfo>& rows) {
  const int count = GetButtonCount();
  int smallest = count ? 0x7FFF : GetButtonWidth(), widest = 0;
  for (int i = 0; i < count; ++i) {
    smallest = std::min(smallest, GetButton(i)->m_cx);
    widest = std::max(widest, GetButton(i)->m_cx);
  }
  if (!bVertical) {
    WrapButtons(std::max(nLength, widest), rows);
  } else {
    const int btnW = GetButtonWidth(), btnH = GetButtonHeight();
    const int perColumn = btnH > 0 ? nLength / btnH : 0;
    int width = perColumn > 0 ? std::max(smallest, count * btnW / perColumn) : 0x7FFF;
    WrapButtons(width, rows);
    int height = RowsHeight(rows, m_nRowGap);
    if (height < nLength) {
      // Narrower while the rows still fit the length.
      while (height != nLength) {
        const int next = width - btnW;
        if (next < smallest) break;
        WrapButtons(next, rows);
        const int h = RowsHeight(rows, m_nRowGap);
        if (h > nLength) {
          WrapButtons(width, rows);
          break;
        }
        width = next;
        height = h;
      }
    } else if (height > nLength) {
      // Wider until the rows fit, or are one row.
      while (height > nLength && rows.size() > 1 && width < 0x7FFF) {
        width += btnW;
        WrapButtons(width, rows);
        height = RowsHeight(rows, m_nRowGap);
      }
    }
  }
  BalanceRows(rows);
  // The row-break bit marks the last button of every row but the last.
  for (int i = 0; i < count; ++i) {
    SECStdBtn* btn = GetButton(i);
    btn->SetStyle(btn->GetStyle() & ~TBBS_WRAPPED);
  }
  for (size_t r = 0; r + 1 < rows.size(); ++r) {
    SECStdBtn* btn = GetButton(rows[r].nLast);
    btn->SetStyle(btn->GetStyle() | TBBS_WRAPPED);
  }
  CSize size(0, RowsHeight(rows, m_nRowGap));
  for (const auto& row : rows) size.cx = std::max(size.cx, static_cast<LONG>(row.cx));
  return size;
}

void SECCustomToolBar::BalanceRows(std::vector<RowInfo>& rows) {
  if (rows.size() <= 1) return;
  auto measure = [&](std::vector<RowInfo>& rs) {
    for (size_t r = 0; r < rs.size(); ++r) {
      RowInfo& row = rs[r];
      row.cx = row.cy = 0;
      for (int i = FirstOfRow(rs, r); i <= row.nLast; ++i) {
        if (!(row.bSeparator && i == row.nLast)) row.cx += GetButton(i)->m_cx;
        row.cy = std::max(row.cy, GetButton(i)->m_cy);
      }
    }
  };
  // Each step narrows the widest row or stops; the bound only guards against a loop.
  const size_t steps = static_cast<size_t>(GetButtonCount()) * rows.size() + 1;
  for (size_t step = 0; step < steps; ++step) {
    measure(rows);
    size_t widest = 0;
    for (size_t r = 1; r < rows.size(); ++r)
      if (rows[r].cx >= rows[widest].cx) widest = r;  // the last of equally wide rows
    if (widest + 1 >= rows.size()) return;
    const int maxWidth = rows[widest].cx;
    std::vector<RowInfo> trial = rows;
    if (rows[widest].bSeparator) {
      // The trailing group (from the row's previous separator) moves on; through the
      // following separator-ended rows when it does not fit at once.
      bool fitted = false;
      for (size_t r = widest; r + 1 < trial.size(); ++r) {
        int previous = -1;
        for (int i = trial[r].nLast - 1; i >= FirstOfRow(trial, r); --i)
          if (GetButton(i)->IsSeparator()) {
            previous = i;
            break;
          }
        if (previous < FirstOfRow(trial, r) || previous < 0) break;
        trial[r].nLast = previous;
        measure(trial);
        if (trial[r + 1].cx < maxWidth) {
          fitted = true;
          break;
        }
        if (!trial[r + 1].bSeparator) break;
      }
      if (!fitted) return;
    } else {
      const int first = FirstOfRow(rows, widest);
      if (rows[widest].nLast == first) return;  // one button: nothing to move
      const int moving = GetButton(rows[widest].nLast)->m_cx;
      if (rows[widest + 1].cx + moving < maxWidth) {
        trial[widest].nLast -= 1;
      } else {
        // Still moved when a later row takes the button along the rows in between.
        size_t target = rows.size() - 1;
        for (size_t r = widest + 1; r < rows.size(); ++r)
          if (rows[r].bSeparator) {
            target = r;
            break;
          }
        if (target == widest + 1 || rows[target].cx + GetButton(rows[target - 1].nLast)->m_cx > maxWidth) return;
        for (size_t r = widest; r < target; ++r) trial[r].nLast -= 1;
      }
      measure(trial);
    }
    rows.swap(trial);
  }
}

int SECCustomToolBar::HitTest(CPoint point, LPRECT lpRect) const {
  const int count = GetButtonCount();
  int i = 0;
  while (i < count) {
    // One row: up to the next button with the row-break bit.
    int last = i;
    while (last < count - 1 && !(GetButton(last)->GetStyle() & TBBS_WRAPPED)) ++last;
    int first = i;
    while (first <= last && (GetButton(first)->GetStyle() & TBBS_HIDDEN)) ++first;
    if (first <= last) {
      const int top = GetButton(first)->m_y;
      if (point.y < top) return -1;
      if (point.y < top + GetButtonHeight()) {
        for (int j = first; j <= last; ++j) {
          SECStdBtn* btn = GetButton(j);
          if (btn->GetStyle() & TBBS_HIDDEN) continue;
          CRect r = btn->GetRect();
          if (!r.PtInRect(point)) continue;
          if (btn->IsSeparator()) return -1;
          if (lpRect) *lpRect = r;
          return j;
        }
        return -1;
      }
    }
    i = last + 1;
  }
  return -1;
}

void SECCustomToolBar::StretchToParent(AFX_SIZEPARENTPARAMS* lpLayout) {
  if (m_pDockContext || !lpLayout) return;
  // A bar placed straight in its frame takes the frame's height or width.
  CRect area(lpLayout->rect);
  if (m_dwStyle & 0x5500) {
    m_szVertLayout.cy = m_szVert.cy = area.Height();
  } else {
    m_szHorzLayout.cx = m_szHorz.cx = area.Width();
  }
}

void SECCustomToolBar::UpdateRebarBand(CReBar* pReBar, CSize size) {
  if (!(m_dwExStyle & CBRS_EX_STRETCH) || !pReBar || !pReBar->m_hWnd) return;
  const int count = pReBar->GetBandCount();
  for (int i = 0; i < count; ++i) {
    REBARBANDINFO info{};
    info.cbSize = sizeof info;
    info.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE;
    if (!pReBar->SendMessage(RB_GETBANDINFO, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&info))) continue;
    if (info.hwndChild != m_hWnd || info.cyMinChild == 0) continue;
    bool changed = false;
    if (info.cyMinChild != static_cast<UINT>(size.cy)) {
      info.cyMinChild = static_cast<UINT>(size.cy);
      changed = true;
    }
    if (size.cx > 0 && info.cxMinChild != static_cast<UINT>(size.cx)) {
      info.cxMinChild = static_cast<UINT>(size.cx);
      changed = true;
    }
    if (changed) {
      info.fMask = RBBIM_CHILDSIZE;
      pReBar->SendMessage(RB_SETBANDINFO, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&info));
    }
  }
}
