#include "SECControlBar.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "SECAuxData.h"
#include "SECDockContext.h"
#include "SECResourceIds.h"
#include "framework/SECControlBarInfo.h"
#include "framework/SECDockBar.h"

IMPLEMENT_DYNCREATE(SECControlBar, CControlBar)

BEGIN_MESSAGE_MAP(SECControlBar, CControlBar)
  ON_WM_SIZE()
  ON_WM_ERASEBKGND()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_CONTEXTMENU()
  ON_WM_DESTROY()
  ON_COMMAND(ID_SEC_HIDE, OnHide)
  ON_COMMAND(ID_SEC_ALLOW_DOCKING, OnAllowDocking)
  ON_COMMAND(ID_SEC_FLOAT_IN_MAIN, OnFloatInMainWindow)
END_MESSAGE_MAP()

CSize SECControlBar::s_sizeDefault(300, 180);
BOOL SECControlBar::s_bRedrawOn = TRUE;

SECControlBar::SECControlBar()
    : m_szHorz(s_sizeDefault), m_szVert(s_sizeDefault), m_szFloat(s_sizeDefault), m_rcBorderSpace(10, 10, 10, 10) {}

SECControlBar::~SECControlBar() {
  DestroyWindow();
  if (m_pDockSite) m_pDockSite->RemoveControlBar(this);
  // The dock context goes now, while the bar it serves is still whole.
  std::unique_ptr<CDockContext> context(m_pDockContext);
  m_pDockContext = nullptr;
}

BOOL SECControlBar::Create(CWnd* pParentWnd, LPCSTR lpszWindowName, DWORD dwStyle, DWORD dwExStyle, UINT nID,
                           CCreateContext* pContext) {
  return CreateEx(nullptr, lpszWindowName, nID, dwStyle, dwExStyle, CRect(0, 0, 0, 0), pParentWnd, pContext);
}

BOOL SECControlBar::CreateEx(LPCSTR lpszClassName, LPCSTR lpszWindowName, UINT nID, DWORD dwStyle, DWORD dwExStyle,
                             const RECT& rect, CWnd* pParentWnd, CCreateContext* pContext) {
  m_dwStyle = dwStyle & CBRS_ALL;
  m_dwExStyle = dwExStyle;
  if (!CWnd::CreateEx(0, lpszClassName, lpszWindowName, dwStyle & ~CBRS_ALL, rect, pParentWnd, nID, pContext))
    return FALSE;
  if (m_dwExStyle & CBRS_EX_CHILDPROPORTIONS) RecordChildRects();
  m_szHorz = m_szVert = m_szFloat = s_sizeDefault;
  EnableToolTips(TRUE);
  return TRUE;
}

void SECControlBar::EnableDocking(DWORD dwDockStyle) {
  m_dwDockStyle = dwDockStyle;
  if (!m_pDockContext) m_pDockContext = CreateDockContext();  // owned: deleted with the bar
  if (!m_hWndOwner) m_hWndOwner = ::GetParent(m_hWnd);
}

CDockContext* SECControlBar::CreateDockContext() { return new SECDockContext(this); }

SECDockContext* SECControlBar::GetSECDockContext() const { return dynamic_cast<SECDockContext*>(m_pDockContext); }

void SECControlBar::SetExBarStyle(DWORD dwExStyle, BOOL bRedraw) {
  const DWORD old = m_dwExStyle;
  if (IsFloating()) {
    // The floating frame's border follows bit 0x0004, where it stands.
    if (CFrameWnd* frame = GetParentFrame()) {
      if (dwExStyle & CBRS_EX_THIN4FRAME)
        frame->ModifyStyle(WS_THICKFRAME | MFS_THICKFRAME, MFS_4THICKFRAME, SWP_NOMOVE | SWP_NOSIZE);
      else
        frame->ModifyStyle(MFS_4THICKFRAME, WS_THICKFRAME | MFS_THICKFRAME, SWP_NOMOVE | SWP_NOSIZE);
    }
  }
  if ((dwExStyle & CBRS_EX_CHILDPROPORTIONS) && !(old & CBRS_EX_CHILDPROPORTIONS))
    RecordChildRects();
  else if (!(dwExStyle & CBRS_EX_CHILDPROPORTIONS))
    m_childRects.reset();
  m_dwExStyle = dwExStyle;
  if (dwExStyle != old && bRedraw && m_hWnd) {
    // To the top, keeping its place and size, painted again; its frame lays it out
    // again when the style changes its size.
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    Invalidate();
    if (CFrameWnd* frame = GetDockingFrame()) frame->DelayRecalcLayout();
  }
}

void SECControlBar::ModifyExBarStyle(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw) {
  SetExBarStyle((m_dwExStyle & ~dwRemove) | dwAdd, bRedraw);
}

void SECControlBar::RecordChildRects() {
  m_childRects.emplace();
  if (!m_hWnd) return;
  CRect client;
  GetClientRect(&client);
  m_childRects->emplace_back(nullptr, client);
  for (HWND child = ::GetTopWindow(m_hWnd); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    CRect r;
    ::GetWindowRect(child, &r);
    ScreenToClient(&r);
    m_childRects->emplace_back(child, r);
  }
}

BOOL SECControlBar::IsMDIChild() const {
  if (auto* self = dynamic_cast<const SECDockBar*>(this); self && self->m_bMDIChild) return TRUE;
  auto* dock = dynamic_cast<const SECDockBar*>(m_pDockBar);
  return dock && dock->m_bMDIChild;
}

BOOL SECControlBar::IsDockedHorizontally() const {
  return m_pDockBar && !IsFloating() && (m_dwStyle & CBRS_ORIENT_HORZ);
}

// ---- sizes

CSize SECControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) { return bHorz ? m_szHorz : m_szVert; }

CSize SECControlBar::CalcDynamicLayout(int nLength, DWORD dwMode) {
  if (dwMode & LM_COMMIT) {
    int length = nLength;
    if (dwMode & LM_STRETCH) length = static_cast<int>(static_cast<float>(length) * m_fPctWidth);
    if (dwMode & LM_HORZDOCK) {
      (dwMode & LM_LENGTHY ? m_szHorz.cy : m_szHorz.cx) = length;
    } else if (dwMode & LM_VERTDOCK) {
      (dwMode & LM_LENGTHY ? m_szVert.cy : m_szVert.cx) = length;
    } else if (dwMode & LM_LENGTHY) {
      m_szFloat.cy = length;
    } else {
      m_szFloat.cx = length;
      m_nMRUWidth = static_cast<UINT>(length);
    }
  }
  if (dwMode & (LM_HORZDOCK | LM_VERTDOCK)) return CalcFixedLayout(dwMode & LM_STRETCH, dwMode & LM_HORZ);
  return m_szFloat;
}

// ---- inside rectangles

void SECControlBar::GetInsideRect(CRect& rect) {
  GetClientRect(&rect);
  if ((m_dwExStyle & CBRS_EX_GRIPPER) && m_pDockBar && !IsFloating()) {
    const int grip = m_GripperInfo.GetWidth(), inset = m_GripperInfo.m_nInset;
    if (m_dwStyle & CBRS_ORIENT_HORZ) {
      rect.left += grip;
      rect.top += inset;
    } else {
      rect.top += m_GripperInfo.GetHeight();
      rect.left += inset;
    }
    rect.right -= inset;
    rect.bottom -= inset;
  } else if (m_dwExStyle & CBRS_EX_BORDERSPACE) {
    rect.left += m_rcBorderSpace.left;
    rect.top += m_rcBorderSpace.top;
    rect.right -= m_rcBorderSpace.right;
    rect.bottom -= m_rcBorderSpace.bottom;
  }
}

void SECControlBar::CalcInsideRect(CRect& rect, BOOL bHorz, BOOL bVertDock) {
  if (!(m_dwExStyle & CBRS_EX_COOL)) {
    CControlBar::CalcInsideRect(rect, bHorz);
    return;
  }
  if (m_dwStyle & CBRS_BORDER_LEFT) rect.left += 1;
  if (m_dwStyle & CBRS_BORDER_TOP) rect.top += 1;
  if (m_dwStyle & CBRS_BORDER_RIGHT) rect.right -= 1;
  if (m_dwStyle & CBRS_BORDER_BOTTOM) rect.bottom -= 1;
  const bool gripper = (m_dwExStyle & CBRS_EX_GRIPPER) && m_pDockBar && !IsFloating();
  if (bHorz) {
    if (gripper)
      AdjustForGripper(rect, TRUE);
    else
      rect.left += m_cxLeftBorder;
    rect.top += m_cyTopBorder;
    rect.right -= m_cxRightBorder;
    rect.bottom -= m_cyBottomBorder;
  } else {
    rect.left += m_cyTopBorder;
    if (gripper && bVertDock)
      AdjustForGripper(rect, FALSE);
    else
      rect.top += m_cxLeftBorder;
    rect.right -= m_cyBottomBorder;
    rect.bottom -= m_cxRightBorder;
  }
}

int SECControlBar::AdjustForGripper(CRect& rect, BOOL bHorz) {
  if (bHorz) {
    rect.left += m_GripperInfo.GetWidth();
    return m_GripperInfo.GetWidth();
  }
  rect.top += m_GripperInfo.GetHeight();
  return m_GripperInfo.GetHeight();
}

// ---- resizing

CRect SECControlBar::UsableRect(int cx, int cy) const {
  CRect usable(0, 0, cx, cy);
  if (m_dwExStyle & CBRS_EX_GRIPPER) {
    const int inset = m_GripperInfo.m_nInset;
    if (m_dwStyle & CBRS_ORIENT_VERT) {
      usable.top += m_GripperInfo.GetHeight();
      usable.bottom -= inset;
      usable.left += inset;
      usable.right -= inset;
    } else {
      usable.left += m_GripperInfo.GetWidth();
      usable.right -= inset;
      usable.top += inset;
      usable.bottom -= inset;
    }
  } else if (m_dwExStyle & CBRS_EX_BORDERSPACE) {
    usable.left += m_rcBorderSpace.left;
    usable.top += m_rcBorderSpace.top;
    usable.right -= m_rcBorderSpace.right;
    usable.bottom -= m_rcBorderSpace.bottom;
  }
  return usable;
}

void SECControlBar::OnSize(UINT nType, int cx, int cy) {
  CControlBar::OnSize(nType, cx, cy);
  if (nType == SIZE_MINIMIZED || cx <= 0 || cy <= 0) return;
  CRect usable = UsableRect(cx, cy);
  if ((m_dwExStyle & CBRS_EX_CHILDPROPORTIONS) && m_childRects && !m_childRects->empty()) {
    const CRect recorded = m_childRects->front().second;
    if (recorded.Width() <= 0 || recorded.Height() <= 0) {
      // Recorded while the bar had no size: there is nothing to scale from, so the
      // children as they are now become the proportions.
      RecordChildRects();
      return;
    }
    const int rw = recorded.Width(), rh = recorded.Height();
    const int uw = usable.Width(), uh = usable.Height();
    HDWP batch = ::BeginDeferWindowPos(static_cast<int>(m_childRects->size()));
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (!s_bRedrawOn) flags |= SWP_NOREDRAW;
    for (size_t i = 1; i < m_childRects->size(); ++i) {
      auto [child, r] = (*m_childRects)[i];
      if (!::IsWindow(child)) continue;
      int left = uw * r.left / rw + usable.left, right = uw * r.right / rw + usable.left;
      int top = uh * r.top / rh + usable.top, bottom = uh * r.bottom / rh + usable.top;
      if (batch) batch = ::DeferWindowPos(batch, child, nullptr, left, top, right - left, bottom - top, flags);
    }
    if (batch) ::EndDeferWindowPos(batch);
    if (IsFloating()) Invalidate();
    return;
  }
  if (m_dwExStyle & CBRS_EX_FILLCLIENT) {
    HWND first = ::GetTopWindow(m_hWnd);
    if (!first) return;
    if (IsFloating() && (m_dwExStyle & CBRS_EX_GRIPPER)) {
      // No gripper is drawn on a floating bar: its room goes to the child.
      if (m_dwStyle & CBRS_ORIENT_VERT)
        usable.top -= m_GripperInfo.GetHeight() - m_GripperInfo.m_nInset;
      else
        usable.left -= m_GripperInfo.GetWidth() - m_GripperInfo.m_nInset;
    }
    ::SetWindowPos(first, nullptr, usable.left, usable.top, usable.Width(), usable.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// ---- painting

void SECControlBar::DoPaint(CDC* pDC) {
  if (!m_pDockBar || IsFloating()) {
    // Only a docked bar shows gripper buttons.
    m_rcClose.SetRectEmpty();
    m_rcExpand.SetRectEmpty();
  }
  CRect rect;
  GetClientRect(&rect);
  DrawBorders(pDC, rect);
  if (m_hWndRedraw && ::IsWindow(m_hWndRedraw))
    ::RedrawWindow(m_hWndRedraw, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE | RDW_ALLCHILDREN);
}

BOOL SECControlBar::OnEraseBkgnd(CDC* pDC) {
  if (m_dwExStyle & CBRS_EX_BORDERSPACE) {
    CRect clip, inside;
    pDC->GetClipBox(&clip);
    GetInsideRect(inside);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    pDC->FillSolidRect(clip.left, clip.top, clip.Width(), inside.top - clip.top, face);
    pDC->FillSolidRect(clip.left, inside.bottom, clip.Width(), clip.bottom - inside.bottom, face);
    pDC->FillSolidRect(clip.left, inside.top, inside.left - clip.left, inside.Height(), face);
    pDC->FillSolidRect(inside.right, inside.top, clip.right - inside.right, inside.Height(), face);
  }
  return CControlBar::OnEraseBkgnd(pDC);
}

void SECControlBar::DrawBorders(CDC* pDC, CRect& rect) {
  if (!(m_dwStyle & CBRS_BORDER_ANY)) return;
  if (m_dwExStyle & CBRS_EX_COOL) {
    if (m_dwStyle & CBRS_BORDER_LEFT) rect.left += 1;
    if (m_dwStyle & CBRS_BORDER_TOP) rect.top += 1;
    if (m_dwStyle & CBRS_BORDER_RIGHT) rect.right -= 1;
    if (m_dwStyle & CBRS_BORDER_BOTTOM) rect.bottom -= 1;
    if (m_dwExStyle & CBRS_EX_GRIPPER) DrawGripper(pDC, rect);
    return;
  }
  // The classic border: an outer and (3-D) an inner line on each bordered side.
  const bool shadow = (m_dwExStyle & CBRS_EX_SHADOWBORDER) != 0;
  const COLORREF outer =
      shadow ? (secData.bWin4 ? secData.clrBtnShadow : secData.clrWindowFrame) : secData.clrBtnFace;
  const COLORREF inner = shadow ? secData.clrBtnHilite : secData.clrBtnFace;
  const bool full = IsDockedHorizontally() != FALSE;
  const int cut = full ? 0 : 2;
  CRect r = rect;
  auto lines = [&](const CRect& box, COLORREF colour) {
    if (m_dwStyle & CBRS_BORDER_LEFT) pDC->FillSolidRect(box.left, box.top + cut, 1, box.Height() - 2 * cut, colour);
    if (m_dwStyle & CBRS_BORDER_TOP) pDC->FillSolidRect(box.left + cut, box.top, box.Width() - 2 * cut, 1, colour);
    if (m_dwStyle & CBRS_BORDER_RIGHT)
      pDC->FillSolidRect(box.right - 1, box.top + cut, 1, box.Height() - 2 * cut, colour);
    if (m_dwStyle & CBRS_BORDER_BOTTOM)
      pDC->FillSolidRect(box.left + cut, box.bottom - 1, box.Width() - 2 * cut, 1, colour);
  };
  lines(r, outer);
  if (m_dwStyle & CBRS_BORDER_3D) {
    r.DeflateRect(1, 1);
    lines(r, inner);
  }
  if (m_dwStyle & CBRS_BORDER_LEFT) rect.left += secData.cxBorder2;
  if (m_dwStyle & CBRS_BORDER_TOP) rect.top += secData.cyBorder2;
  if (m_dwStyle & CBRS_BORDER_RIGHT) rect.right -= secData.cxBorder2;
  if (m_dwStyle & CBRS_BORDER_BOTTOM) rect.bottom -= secData.cyBorder2;
}

CRect SECControlBar::GripperRect() const {
  CRect client;
  GetClientRect(&client);
  client.DeflateRect(1, 1);
  const int inset = m_GripperInfo.m_nInset;
  if (m_dwStyle & CBRS_ORIENT_HORZ)
    return CRect(client.left, client.top + inset, client.left + m_GripperInfo.GetWidth(), client.bottom - inset);
  return CRect(client.left + inset, client.top, client.right - inset, client.top + m_GripperInfo.GetHeight());
}

CRect SECControlBar::LayOutGripperButtons(CRect gripper) {
  const bool down = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;  // the gripper runs down the left side
  const SECGripperInfo& g = m_GripperInfo;
  // A square across the gripper, a little wider than the space between its margins.
  auto square = [&](const CRect& area) {
    int from = down ? std::max(0, g.m_cxLeftMargin - 2) : std::max(0, g.m_cyTopMargin - 2);
    int across = down ? area.Width() : area.Height();
    int to = down ? std::min(across, across - g.m_cxRightMargin + 2) : std::min(across, across - g.m_cyBottomMargin + 2);
    int size = to - from;
    if (down) return CRect(area.left + from, area.top, area.left + to, area.top + size);
    return CRect(area.right - size, area.top + from, area.right, area.top + to);
  };
  m_rcClose.SetRectEmpty();
  m_rcExpand.SetRectEmpty();
  if (m_dwExStyle & CBRS_EX_GRIPPER_CLOSE) {
    m_rcClose = square(gripper);
    if (down)
      gripper.top = m_rcClose.bottom + 2;
    else
      gripper.right = m_rcClose.left - 2;
  }
  if (m_dwExStyle & CBRS_EX_GRIPPER_EXPAND) {
    m_rcExpand = square(gripper);
    if (down)
      gripper.top = m_rcExpand.bottom + 2;
    else
      gripper.right = m_rcExpand.left - 2;
  }
  return gripper;
}

void SECControlBar::DrawGripper(CDC* pDC, CRect&) {
  if (!m_pDockBar || IsFloating()) return;
  CRect gripper = LayOutGripperButtons(GripperRect());
  if (m_dwExStyle & CBRS_EX_GRIPPER_CLOSE) DrawCloseButton(pDC);
  if (m_dwExStyle & CBRS_EX_GRIPPER_EXPAND) DrawExpandButton(pDC);
  const SECGripperInfo& g = m_GripperInfo;
  if (m_dwStyle & CBRS_ORIENT_HORZ) {
    int x = gripper.left + g.m_cxLeftMargin;
    pDC->Draw3dRect(x, gripper.top, g.m_cxFirstLine, gripper.Height(), secData.clrBtnHilite, secData.clrBtnShadow);
    x += g.m_cxFirstLine + g.m_cxGap;
    pDC->Draw3dRect(x, gripper.top, g.m_cxSecondLine, gripper.Height(), secData.clrBtnHilite, secData.clrBtnShadow);
  } else {
    int y = gripper.top + g.m_cyTopMargin;
    pDC->Draw3dRect(gripper.left, y, gripper.Width(), g.m_cyFirstLine, secData.clrBtnHilite, secData.clrBtnShadow);
    y += g.m_cyFirstLine + g.m_cyGap;
    pDC->Draw3dRect(gripper.left, y, gripper.Width(), g.m_cySecondLine, secData.clrBtnHilite, secData.clrBtnShadow);
  }
}

void SECControlBar::DrawCloseButton(CDC* pDC) {
  if (m_bClosePressed)
    DrawCloseButtonPushed(pDC);
  else
    DrawCloseButtonNormal(pDC);
}

void SECControlBar::DrawCloseButtonPushed(CDC* pDC) {
  CRect r = m_rcClose;
  pDC->DrawFrameControl(&r, DFC_CAPTION, DFCS_CAPTIONCLOSE | DFCS_PUSHED);
}

void SECControlBar::DrawCloseButtonNormal(CDC* pDC) {
  CRect r = m_rcClose;
  pDC->DrawFrameControl(&r, DFC_CAPTION, DFCS_CAPTIONCLOSE);
}

void SECControlBar::DrawExpandButton(CDC* pDC) {
  UpdateExpandButtonState();
  if (m_bExpandPressed)
    DrawExpandButtonPushed(pDC);
  else
    DrawExpandButtonNormal(pDC);
}

namespace {
UINT ExpandGlyph(BOOL horz, BOOL expandable) {
  if (horz) return expandable ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT;
  return expandable ? DFCS_SCROLLUP : DFCS_SCROLLDOWN;
}
}  // namespace

void SECControlBar::DrawExpandButtonPushed(CDC* pDC) {
  CRect r = m_rcExpand;
  r.left -= 1;
  r.top -= 1;
  pDC->DrawFrameControl(&r, DFC_SCROLL,
                        ExpandGlyph(m_bExpandHorz, m_bExpandable) | DFCS_PUSHED | (m_bExpandEnabled ? 0 : DFCS_INACTIVE));
}

void SECControlBar::DrawExpandButtonNormal(CDC* pDC) {
  CRect r = m_rcExpand;
  r.left -= 1;
  r.top -= 1;
  pDC->DrawFrameControl(&r, DFC_SCROLL, ExpandGlyph(m_bExpandHorz, m_bExpandable) | (m_bExpandEnabled ? 0 : DFCS_INACTIVE));
}

void SECControlBar::UpdateExpandButtonState() {
  m_bExpandHorz = IsDockedHorizontally();
  if (auto* dock = dynamic_cast<SECDockBar*>(m_pDockBar)) {
    m_bExpandable = !dock->IsOnlyStretchedBar(this);
    m_bExpandEnabled = !dock->IsAloneInRow(this);
  } else {
    // A framework dock bar shares no row lengths: nothing is expanded, and the button
    // counts as usable while the row holds another bar.
    m_bExpandable = TRUE;
    m_bExpandEnabled = m_pDockBar ? !SECDockBar::IsAloneInRowOf(*m_pDockBar, this) : FALSE;
  }
}

void SECControlBar::ReleaseGripperButtons() {
  if (m_bClosePressed) {
    m_bClosePressed = FALSE;
    RedrawGripperButton(TRUE, FALSE);
  }
  if (m_bExpandPressed) {
    m_bExpandPressed = FALSE;
    RedrawGripperButton(FALSE, FALSE);
  }
}

void SECControlBar::RedrawGripperButton(BOOL bClose, BOOL bPushed) {
  CClientDC dc(this);
  if (bClose) {
    if (bPushed)
      DrawCloseButtonPushed(&dc);
    else
      DrawCloseButtonNormal(&dc);
  } else {
    UpdateExpandButtonState();
    if (bPushed)
      DrawExpandButtonPushed(&dc);
    else
      DrawExpandButtonNormal(&dc);
  }
}

// ---- mouse

void SECControlBar::OnLButtonDown(UINT nFlags, CPoint point) {
  if ((m_dwExStyle & CBRS_EX_GRIPPER_CLOSE) && m_rcClose.PtInRect(point)) {
    if (IsFloating()) {
      m_bClosePressed = FALSE;
    } else if (!m_bClosePressed && CanPressCloseButton()) {
      RedrawGripperButton(TRUE, TRUE);
      m_bClosePressed = TRUE;
      SetCapture();
    }
    return;
  }
  if ((m_dwExStyle & CBRS_EX_GRIPPER_EXPAND) && m_bExpandEnabled && m_rcExpand.PtInRect(point)) {
    if (IsFloating()) {
      m_bExpandPressed = FALSE;
    } else if (!m_bExpandPressed && CanPressExpandButton()) {
      RedrawGripperButton(FALSE, TRUE);
      m_bExpandPressed = TRUE;
      SetCapture();
    }
    return;
  }
  ReleaseGripperButtons();
  // The framework drags a docked bar, or one floating in its own small frame.
  const bool standardFloat = IsFloating() && GetParentFrame() && GetParentFrame()->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd));
  if (m_pDockBar && (!IsFloating() || standardFloat))
    CControlBar::OnLButtonDown(nFlags, point);
  else
    Default();
}

void SECControlBar::OnLButtonUp(UINT nFlags, CPoint point) {
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  if (m_bClosePressed && m_rcClose.PtInRect(point)) {
    m_bClosePressed = FALSE;
    RedrawGripperButton(TRUE, FALSE);
    SendMessage(WM_COMMAND, ID_SEC_HIDE);
    return;
  }
  if (m_bExpandPressed && m_bExpandEnabled && m_rcExpand.PtInRect(point)) {
    m_bExpandPressed = FALSE;
    RedrawGripperButton(FALSE, FALSE);
    if (auto* dock = dynamic_cast<SECDockBar*>(m_pDockBar)) dock->SetRowState(this, m_bExpandable ? 1 : 2);
    return;
  }
  ReleaseGripperButtons();
  Default();
}

void SECControlBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
  if (((m_dwExStyle & CBRS_EX_GRIPPER_CLOSE) && m_rcClose.PtInRect(point)) ||
      ((m_dwExStyle & CBRS_EX_GRIPPER_EXPAND) && m_rcExpand.PtInRect(point)))
    return;
  const bool standardFloat = IsFloating() && GetParentFrame() && GetParentFrame()->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd));
  if (m_pDockBar && (!IsFloating() || standardFloat))
    CControlBar::OnLButtonDblClk(nFlags, point);
  else
    Default();
}

INT_PTR SECControlBar::OnToolHitTest(CPoint point, TOOLINFO* pTI) const {
  if (!(m_dwStyle & CBRS_TOOLTIPS)) return -1;
  if (INT_PTR hit = CControlBar::OnToolHitTest(point, pTI); hit != -1) return hit;
  if (!m_pDockBar || IsFloating()) return -1;
  auto tool = [&](UINT id, const CRect& rect, const CString& text) -> INT_PTR {
    if (pTI) {
      pTI->hwnd = m_hWnd;
      pTI->uId = id;
      pTI->rect = rect;
      pTI->lpszText = strdup(text);  // the caller frees it
    }
    return id;
  };
  if ((m_dwExStyle & CBRS_EX_GRIPPER_CLOSE) && m_rcClose.PtInRect(point))
    return tool(SEC_TOOLID_CLOSE, m_rcClose, m_GripperInfo.m_strHide);
  if ((m_dwExStyle & CBRS_EX_GRIPPER_EXPAND) && m_rcExpand.PtInRect(point))
    return tool(SEC_TOOLID_EXPAND, m_rcExpand, m_bExpandable ? m_GripperInfo.m_strExpand : m_GripperInfo.m_strContract);
  return -1;
}

// ---- right-click menu and its commands

void SECControlBar::OnContextMenu(CWnd* pWnd, CPoint point) {
  if (!(m_dwExStyle & CBRS_EX_STDCONTEXTMENU)) {
    Default();
    return;
  }
  CMenu menu;
  if (!menu.CreatePopupMenu()) return;
  CString text;
  text.LoadString(ID_SEC_ALLOW_DOCKING);
  menu.AppendMenu(MF_STRING | ((m_dwDockStyle & CBRS_ALIGN_ANY) ? MF_CHECKED : MF_UNCHECKED), ID_SEC_ALLOW_DOCKING, text);
  text.LoadString(ID_SEC_HIDE);
  menu.AppendMenu(MF_STRING, ID_SEC_HIDE, text);
  OnExtendContextMenu(&menu);
  CFrameWnd* frame = m_pDockContext ? m_pDockContext->m_pDockSite : m_pDockSite;
  if (frame && frame->m_hWnd)
    frame->SendMessage(WM_SEC_EXTENDCONTEXTMENU, reinterpret_cast<WPARAM>(this), reinterpret_cast<LPARAM>(&menu));
  if (point.x == -1 && point.y == -1) {
    // From the keyboard: a quarter across the window, 10 pixels down.
    CWnd* where = pWnd ? pWnd : this;
    CRect client;
    where->GetClientRect(&client);
    point = CPoint(client.Width() / 4, 10);
    where->ClientToScreen(&point);
  }
  menu.TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y, this);
}

void SECControlBar::OnHide() {
  CFrameWnd* frame = m_pDockSite ? m_pDockSite : GetParentFrame();
  if (frame) frame->ShowControlBar(this, FALSE, FALSE);
}

void SECControlBar::OnAllowDocking() {
  if (m_dwDockStyle & CBRS_ALIGN_ANY) {
    m_dwSavedDockStyle = m_dwDockStyle & CBRS_ALIGN_ANY;
    if (m_pDockContext && m_pDockBar && !IsFloating()) m_pDockContext->ToggleDocking();
    EnableDocking(0);
  } else {
    EnableDocking(m_dwSavedDockStyle);
  }
}

void SECControlBar::OnFloatInMainWindow() {
  if (SECDockContext* context = GetSECDockContext()) context->FloatInMainWindow();
}

// ---- destruction

void SECControlBar::OnDestroy() {
  if (auto* dock = dynamic_cast<SECDockBar*>(m_pDockBar)) {
    for (int i = static_cast<int>(dock->m_arrRepaintBars.GetSize()) - 1; i >= 0; --i)
      if (dock->m_arrRepaintBars[i] == this) dock->m_arrRepaintBars.RemoveAt(i);
  }
  m_childRects.reset();
  CFrameWnd* frame = GetDockingFrame();
  CControlBar::OnDestroy();
  if (frame && frame->m_hWnd) frame->DelayRecalcLayout(TRUE);
}

// ---- bar records

void SECControlBar::GetBarInfoEx(SECControlBarInfo* pInfo) {
  // The framework's part: id, visibility, MRU width, the place in the dock bar and the
  // dock context's MRU values; the record counts as docked whenever a dock bar holds it.
  CControlBar::GetBarInfo(pInfo);
  pInfo->m_nBarID &= 0xFFFF;
  pInfo->m_bDocking = m_pDockBar != nullptr;
  pInfo->m_szMRUFloat = m_szFloat;
  pInfo->m_szMRUHorzDock = m_szHorz;
  pInfo->m_szMRUVertDock = m_szVert;
  pInfo->m_nMRUDockingState = static_cast<int>(m_dwSavedDockStyle);
  pInfo->m_dwDockStyle = m_dwDockStyle;
  pInfo->m_fPctWidth = m_fPctWidth;
  pInfo->m_dwStyle = m_dwStyle;
  pInfo->m_dwExStyle = m_dwExStyle;
  if (SECDockContext* context = GetSECDockContext()) pInfo->m_bPrevFloating = context->m_bWasFloating;
  pInfo->m_strClassName = GetRuntimeClass()->m_lpszClassName;
  GetWindowText(pInfo->m_strWindowName);
  OnGetBarInfoEx(pInfo);
}

void SECControlBar::SetBarInfoEx(SECControlBarInfo* pInfo, CFrameWnd* pFrameWnd) {
  if (IsDockBar()) {
    static_cast<CDockBar*>(static_cast<CControlBar*>(this))->CDockBar::SetBarInfo(pInfo, pFrameWnd);
    return;
  }
  m_nMRUWidth = pInfo->m_nMRUWidth;
  m_szFloat = pInfo->m_szMRUFloat;
  m_szHorz = pInfo->m_szMRUHorzDock;
  m_szVert = pInfo->m_szMRUVertDock;
  m_dwSavedDockStyle = static_cast<DWORD>(pInfo->m_nMRUDockingState);
  m_dwDockStyle = pInfo->m_dwDockStyle;
  // A record may keep a share below nothing (an archive's); no bar takes one.
  m_fPctWidth = std::isfinite(pInfo->m_fPctWidth) && pInfo->m_fPctWidth > 0.0f ? pInfo->m_fPctWidth : 0.0f;
  SetBarStyle(pInfo->m_dwStyle);
  if (pInfo->m_bDocking && m_pDockContext) {
    m_pDockContext->m_uMRUDockID = pInfo->m_uMRUDockID;
    m_pDockContext->m_rectMRUDockPos = pInfo->m_rectMRUDockPos;
    m_pDockContext->m_dwMRUFloatStyle = pInfo->m_dwMRUFloatStyle;
    m_pDockContext->m_ptMRUFloatPos = pInfo->m_ptMRUFloatPos;
    if (SECDockContext* context = GetSECDockContext()) context->m_bWasFloating = pInfo->m_bPrevFloating;
  }
  if (pInfo->m_pBarInfoEx) OnSetBarInfoEx(pInfo, pFrameWnd);
  UINT flags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | (pInfo->m_bVisible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
  if (!m_pDockBar) flags |= SWP_NOMOVE;
  SetWindowPos(nullptr, pInfo->m_pointPos.x, pInfo->m_pointPos.y, 0, 0, flags);
}
