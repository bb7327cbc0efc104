// Dragging toolbar buttons: the tracked drag, where it lands, and the drop into a bar
// (with the small drags that add or remove group separators).
#include <algorithm>
#include <vector>

#include "SECCustomToolBar.h"
#include "SECResourceIds.h"
#include "SECToolBarManager.h"
#include "SECToolBarRectTracker.h"

namespace {

// The bar a window stands for: a toolbar itself, or the one a floating frame holds.
SECCustomToolBar* ToolBarOf(HWND hwnd) {
  for (HWND h = hwnd; h; h = ::GetParent(h)) {
    CWnd* wnd = CWnd::FromHandlePermanent(h);
    if (!wnd) continue;
    if (wnd->IsKindOf(RUNTIME_CLASS(SECCustomToolBar))) return static_cast<SECCustomToolBar*>(wnd);
    if (wnd->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd))) {
      for (HWND c = ::GetWindow(h, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
        for (HWND b = ::GetWindow(c, GW_CHILD); b; b = ::GetWindow(b, GW_HWNDNEXT))
          if (CWnd* bar = CWnd::FromHandlePermanent(b); bar && bar->IsKindOf(RUNTIME_CLASS(SECCustomToolBar)))
            return static_cast<SECCustomToolBar*>(bar);
      return nullptr;
    }
  }
  return nullptr;
}

bool StillThere(SECCustomToolBar* bar, HWND hwnd) {
  return ::IsWindow(hwnd) && CWnd::FromHandlePermanent(hwnd) == bar;
}

}  // namespace

SECCustomToolBar* SECCustomToolBar::FindDropTarget(const CRect& rect) const {
  const CPoint corners[4] = {rect.TopLeft(), CPoint(rect.right - 1, rect.top), CPoint(rect.left, rect.bottom - 1),
                             CPoint(rect.right - 1, rect.bottom - 1)};
  for (const CPoint& corner : corners)
    if (SECCustomToolBar* bar = ToolBarOf(::WindowFromPoint(corner))) return bar;
  return nullptr;
}

BOOL SECCustomToolBar::DragButton(int nIndex, CPoint point) {
  if (!m_pManager || nIndex < 0 || nIndex >= GetButtonCount()) return TRUE;
  SECStdBtn* btn = GetButton(nIndex);
  if (!btn->CanDrag()) return TRUE;
  const BOOL bCopy = IsCopyModifierDown();
  SelectButton(nIndex);
  HCURSOR oldCursor = nullptr;
  if (bCopy) {
    if (HCURSOR copy = ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDC_SEC_COPYDROP)))
      oldCursor = ::SetCursor(copy);
  }
  CRect rect;
  GetItemRect(nIndex, &rect);
  SECToolBarRectTracker tracker(&rect);
  const BOOL tracked = tracker.Track(this, point, FALSE, CWnd::GetDesktopWindow());
  if (oldCursor) ::SetCursor(oldCursor);
  if (!tracked) return TRUE;

  CRect drop = tracker.m_rect;
  ClientToScreen(&drop);
  SECToolBarManager* manager = m_pManager;
  SECCustomToolBar* target = FindDropTarget(drop);
  if (target) {
    if ((m_dwCustomiseFlags & 0x1) && target != this) return TRUE;  // this bar keeps its buttons
    if (target->AcceptsDrop()) {
      target->ScreenToClient(&drop);
      return target->DropButton(drop, btn, bCopy);
    }
    if (bCopy) return TRUE;
  } else if (HWND dialog = manager->GetConfigDialog(); dialog && ::IsWindow(dialog)) {
    CRect area, overlap;
    ::GetWindowRect(dialog, &area);
    if (overlap.IntersectRect(&area, &drop)) return TRUE;
  }
  if (!target && bCopy) {
    // Free screen space: a new user toolbar floats there with the button.
    SECCustomToolBar* bar = manager->CreateUserToolBar();
    if (!bar) return TRUE;  // nothing changes
    bar->InsertButton(0, btn->m_nID, FALSE, TRUE);
    CRect adjust(0, 0, 0, 0);
    ::AdjustWindowRectEx(&adjust, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, FALSE,
                         WS_EX_TOOLWINDOW | WS_EX_WINDOWEDGE);
    CPoint at = drop.TopLeft() + adjust.TopLeft();
    at -= CPoint(bar->m_cxLeftBorder, bar->m_cyTopBorder);
    if (CFrameWnd* frame = manager->GetFrameWnd()) frame->FloatControlBar(bar, at, CBRS_ALIGN_TOP);
    if (!s_bDraggingButton) bar->SelectButton(0);
    return TRUE;
  }
  // Dropped off every bar: the button goes.
  ClearSelection();
  return RemoveButton(nIndex);
}

BOOL SECCustomToolBar::DropButton(CRect dropRect, SECStdBtn* pBtn, BOOL bCopy, BOOL bNoRecalc) {
  SECCustomToolBar* source = pBtn ? pBtn->m_pToolBar : nullptr;
  if (!pBtn || !source) return TRUE;
  int sourceIndex = -1;
  for (int i = 0; i < source->GetButtonCount(); ++i)
    if (source->GetButton(i) == pBtn) sourceIndex = i;
  if (sourceIndex < 0) return TRUE;
  const UINT nID = pBtn->m_nID;  // the button may go with its bar: keep what the drop needs

  CRect inside;
  GetClientRect(&inside);
  GetInsideRect(inside);
  const int count = GetButtonCount();
  // 2. The only button of this bar dropped in this bar stays.
  if (source == this && !bCopy && count == 1) return TRUE;

  int insertAt = -1;
  bool leadingSeparator = false, trailingSeparator = false;
  if (count == 0) {
    insertAt = 0;
  } else if (dropRect.bottom <= inside.top) {
    insertAt = 0;
    leadingSeparator = true;
  } else if (dropRect.top >= inside.bottom) {
    insertAt = count;
    trailingSeparator = true;
  }

  if (insertAt < 0) {
    // 4. The row holding the drop's vertical middle: each row reaches down to the next.
    std::vector<std::pair<int, int>> rows;  // first and last index (trailing separators left out)
    std::vector<int> tops;
    for (int i = 0; i < count; ++i) {
      CRect r;
      GetItemRect(i, &r);
      if (tops.empty() || r.top != tops.back()) {
        tops.push_back(r.top);
        rows.emplace_back(i, i);
      } else {
        rows.back().second = i;
      }
    }
    for (auto& row : rows)
      while (row.second > row.first && GetButton(row.second)->IsSeparator()) --row.second;
    const int middle = dropRect.CenterPoint().y;
    size_t row = 0;
    while (row + 1 < rows.size() && middle >= tops[row + 1]) ++row;
    const int first = rows[row].first, last = rows[row].second;

    // 5. A small drag of the selected button adds or removes a separator.
    const int sel = GetSelection();
    if (sel >= first && sel <= last && source == this && !bCopy) {
      CRect selRect, overlap;
      GetItemRect(sel, &selRect);
      if (overlap.IntersectRect(&selRect, &dropRect)) {
        const int dx = dropRect.left - selRect.left;
        if (std::abs(dx) < 2) return TRUE;
        auto isSep = [&](int i) { return i >= 0 && i < GetButtonCount() && GetButton(i)->IsSeparator(); };
        if (dx > 0) {
          if (sel == 0 || isSep(sel - 1)) {
            if (isSep(sel + 1)) RemoveButton(sel + 1, bNoRecalc);
          } else {
            InsertButton(sel, 0, TRUE, bNoRecalc);
            SelectButton(sel + 1);
          }
        } else {
          if (isSep(sel - 1)) {
            RemoveButton(sel - 1, bNoRecalc);
            SelectButton(sel - 1);
          } else if (!isSep(sel + 1) && sel + 1 < GetButtonCount()) {
            InsertButton(sel + 1, 0, TRUE, bNoRecalc);
          }
        }
        return TRUE;
      }
    }

    // 6. After the button under the drop's left edge, or at the row's start.
    insertAt = last + 1;
    if (dropRect.left < inside.left) {
      insertAt = first;
    } else {
      for (int i = first; i <= last; ++i) {
        CRect r;
        GetItemRect(i, &r);
        if (dropRect.left < r.right) {
          insertAt = i + 1;
          break;
        }
      }
    }
  }

  // 7. A move within this bar takes the button out first.
  if (source == this && !bCopy) {
    if (insertAt == sourceIndex) return TRUE;
    ClearSelection(FALSE);
    const int before = GetButtonCount();
    RemoveButton(sourceIndex, TRUE);
    const int removed = before - GetButtonCount();
    if (insertAt > sourceIndex) insertAt = std::max(sourceIndex, insertAt - removed);
    insertAt = std::clamp(insertAt, 0, GetButtonCount());
  }
  // 8. A separator the drop covers goes.
  if (insertAt < GetButtonCount() && GetButton(insertAt)->IsSeparator() && !(GetButton(insertAt)->GetStyle() & TBBS_WRAPPED)) {
    CRect sep;
    GetItemRect(insertAt, &sep);
    if (dropRect.left + 1 < sep.left && dropRect.right + 1 > sep.right) RemoveButton(insertAt, TRUE);
  }
  // 9. In it goes.
  if (leadingSeparator) {
    InsertButton(0, 0, TRUE, TRUE);
    insertAt = 0;
  } else if (trailingSeparator) {
    InsertButton(GetButtonCount(), 0, TRUE, TRUE);
    insertAt = GetButtonCount();
  }
  InsertButton(insertAt, nID, FALSE, bNoRecalc);
  if (!s_bDraggingButton) SelectButton(insertAt);

  // From another bar the button leaves its bar last, so an emptied user toolbar goes only
  // after the drop has finished with it.
  if (source != this && !bCopy) {
    const HWND sourceWnd = source->m_hWnd;
    source->ClearSelection(FALSE);
    const BOOL remain = source->RemoveButton(sourceIndex);
    if (!remain && !StillThere(source, sourceWnd)) return FALSE;
  }
  return TRUE;
}
