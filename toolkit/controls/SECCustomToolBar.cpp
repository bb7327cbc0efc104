#include "SECCustomToolBar.h"

#include <cstring>

#include "SECAuxData.h"
#include "SECBmpMgr.h"
#include "SECBtnDrawContext.h"
#include "SECCustomToolBarInfoEx.h"
#include "SECCustomToolCmdUI.h"
#include "SECToolBarManager.h"

IMPLEMENT_DYNCREATE(SECCustomToolBar, SECControlBar)

UINT SECNoDelayHideMessage() {
  static const UINT message = ::RegisterWindowMessageA("WM_NODELAYHIDE");
  return message;
}

namespace {
const UINT g_nNoDelayHide = SECNoDelayHideMessage();
}  // namespace

BEGIN_MESSAGE_MAP(SECCustomToolBar, SECControlBar)
  ON_WM_WINDOWPOSCHANGING()
  ON_WM_SHOWWINDOW()
  ON_WM_SYSCOLORCHANGE()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_LBUTTONUP()
  ON_WM_MOUSEMOVE()
  ON_WM_CANCELMODE()
  ON_WM_MOUSEACTIVATE()
  ON_REGISTERED_MESSAGE(g_nNoDelayHide, OnNoDelayHide)
  ON_WM_DESTROY()
  ON_WM_TIMER()
  ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
  ON_MESSAGE(TB_ADDBUTTONS, OnAddButtons)
  ON_MESSAGE(TB_DELETEBUTTON, OnDeleteButton)
END_MESSAGE_MAP()

BOOL SECCustomToolBar::s_bPostingCommand = FALSE;
BOOL SECCustomToolBar::s_bDraggingButton = FALSE;

SECCustomToolBar::SECCustomToolBar() : m_pBmpMgr(new SECBmpMgr) {
  m_cyTopBorder = 3;
  m_cyBottomBorder = 3;
  m_hFont = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

SECCustomToolBar::~SECCustomToolBar() {
  DestroyWindow();  // while this class's handlers can still run
  if (m_pBmpMgr) m_pBmpMgr->Release();
  m_pBmpMgr = nullptr;
  RemoveAllButtons();
  m_pDrawContext.reset();
  m_pDefaultClasses.reset();
}

// ---- creation

namespace {
LPCSTR ToolBarClass() {
  static CString name = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                            reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
  return name;
}
}  // namespace

BOOL SECCustomToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID, LPCSTR lpszTitle) {
  return CreateEx(0, pParentWnd, dwStyle, nID, lpszTitle);
}

BOOL SECCustomToolBar::CreateEx(DWORD dwExStyle, CWnd* pParentWnd, DWORD dwStyle, UINT nID, LPCSTR lpszTitle) {
  m_dwStyle = dwStyle & CBRS_ALL;
  // The extended style takes effect after the window is made.
  BOOL made = CWnd::CreateEx(0, ToolBarClass(), lpszTitle, dwStyle & ~CBRS_ALL, CRect(0, 0, 0, 0), pParentWnd, nID);
  if (made) NotifyManager(SECToolBarManager::BarCreated);
  SetExBarStyle(dwExStyle | CBRS_EX_THIN4FRAME, FALSE);
  m_bFloatDirty = m_bHorzDirty = m_bVertDirty = TRUE;
  return made;
}

BOOL SECCustomToolBar::CreateEx(LPCSTR, LPCSTR lpszWindowName, UINT nID, DWORD dwStyle, DWORD dwExStyle, const RECT&,
                                CWnd* pParentWnd, CCreateContext*) {
  SetExBarStyle(dwExStyle | CBRS_EX_THIN4FRAME, FALSE);
  m_dwStyle = (dwStyle | CBRS_HIDE_INPLACE) & CBRS_ALL;
  m_bFloatDirty = m_bHorzDirty = m_bVertDirty = TRUE;
  return CWnd::CreateEx(0, ToolBarClass(), lpszWindowName, (dwStyle | CBRS_HIDE_INPLACE) & ~CBRS_ALL,
                        CRect(0, 0, 0, 0), pParentWnd, nID);
}

// ---- filling

BOOL SECCustomToolBar::LoadToolBar(UINT nIDResource) { return LoadToolBar(MAKEINTRESOURCEA(nIDResource)); }

BOOL SECCustomToolBar::LoadToolBar(LPCSTR lpszResourceName) {
  if (!m_pBmpMgr || !m_pBmpMgr->AddToolBar(lpszResourceName, nullptr, TRUE)) return FALSE;
  sec_toolbar::ToolBarResource resource = sec_toolbar::ReadToolBarResource(lpszResourceName);
  if (!resource.valid) return FALSE;
  return SetButtons(resource.items.data(), static_cast<int>(resource.items.size()));
}

BOOL SECCustomToolBar::SetButtons(const UINT* lpIDArray, int nIDCount) {
  RemoveAllButtons();
  if (!lpIDArray) return TRUE;
  for (int i = 0; i < nIDCount; ++i) {
    SECStdBtn* btn = lpIDArray[i] ? CreateButton(lpIDArray[i]) : CreateSeparator();
    if (btn) m_btns.Add(btn);
  }
  m_bFloatDirty = m_bHorzDirty = m_bVertDirty = TRUE;
  return TRUE;
}

SECStdBtn* SECCustomToolBar::CreateButton(UINT nID, SECCustomToolBar* pOwnerBar) {
  // The button-class tables name a class per command; a plain button otherwise.
  const ButtonClassEntry* entry = nullptr;
  for (const ButtonClassEntry* table : {m_pButtonClasses, static_cast<const ButtonClassEntry*>(m_pDefaultClasses.get())}) {
    for (const ButtonClassEntry* e = table; e && e->pClass && !entry; ++e)
      if (e->nID == nID) entry = e;
    if (entry) break;
  }
  SECStdBtn* btn = nullptr;
  if (entry) {
    try {
      btn = entry->pClass->pfnCreateButton();
    } catch (CException* e) {
      e->Delete();
      btn = nullptr;
    }
    if (!btn) return nullptr;  // a class that cannot make its button makes none
    btn->m_nStyle = entry->nStyle;
  } else {
    btn = SECStdBtn::CreateButton();
  }
  btn->m_nID = nID;
  btn->m_nImage = btn->m_nType == SEC_BTNTYPE_FOCUS ? 0 : GetImageIndex(nID);
  SECCustomToolBar* owner = pOwnerBar ? pOwnerBar : this;
  btn->Init(owner, entry ? entry->pData : nullptr);
  btn->SetOrientation(owner->m_dwOrientation);
  return btn;
}

SECStdBtn* SECCustomToolBar::CreateSeparator(SECCustomToolBar* pOwnerBar) {
  SECStdBtn* btn = SECStdBtn::CreateButton();
  btn->m_nStyle = TBBS_SEPARATOR;
  btn->m_cx = m_nRowGap;
  btn->m_cy = GetButtonHeight();
  btn->m_nID = 0;
  btn->m_nImage = 0;
  btn->SetToolBar(pOwnerBar ? pOwnerBar : this);
  return btn;
}

int SECCustomToolBar::GetImageIndex(UINT nID, HBITMAP* pBitmap) {
  HBITMAP hbm = nullptr;
  int image = 0;
  if (!m_pBmpMgr || !m_pBmpMgr->GetBitmapInfo(nID, &hbm, &image)) {
    hbm = nullptr;
    image = 0;
  }
  if (pBitmap) *pBitmap = hbm;
  return image;
}

void SECCustomToolBar::SetButtonSize(int, int) {
  m_nMaxBtnWidth = 0;
  for (int i = 0; i < GetButtonCount(); ++i) GetButton(i)->AdjustSize();
  m_bFloatDirty = m_bHorzDirty = m_bVertDirty = TRUE;
}

void SECCustomToolBar::SetBitmapManager(SECBmpMgr* pMgr) {
  if (pMgr) pMgr->AddRef();
  if (m_pBmpMgr) m_pBmpMgr->Release();
  m_pBmpMgr = pMgr;
}

int SECCustomToolBar::GetImageWidth() const { return m_pBmpMgr ? m_pBmpMgr->GetImageSize().cx : 16; }
int SECCustomToolBar::GetImageHeight() const { return m_pBmpMgr ? m_pBmpMgr->GetImageSize().cy : 15; }

void SECCustomToolBar::InsertButton(int nIndex, UINT nID, BOOL bSeparator, BOOL bNoRecalc) {
  nIndex = std::clamp(nIndex, 0, GetButtonCount());
  SECStdBtn* btn = bSeparator ? CreateSeparator() : CreateButton(nID);
  if (!btn) return;
  m_btns.InsertAt(nIndex, btn);
  m_nMRUWidth += static_cast<UINT>(btn->m_cx);
  if (IsCoolLook() && m_nHot >= nIndex) ++m_nHot;
  m_bFloatDirty = m_bHorzDirty = m_bVertDirty = TRUE;
  if (!bSeparator) UpdateButton(nIndex);
  if (!bNoRecalc) {
    if (CFrameWnd* frame = GetParentFrame()) frame->RecalcLayout();
    if (m_hWnd) {
      Invalidate();
      UpdateWindow();
    }
  }
}

void SECCustomToolBar::DeleteButton(int nIndex) {
  std::unique_ptr<SECStdBtn> btn(GetButton(nIndex));
  m_btns.RemoveAt(nIndex);
}

BOOL SECCustomToolBar::RemoveButton(int nIndex, BOOL bNoRecalc) {
  if (nIndex < 0 || nIndex >= GetButtonCount()) return FALSE;
  const int before = GetButtonCount();
  // A separator between the removed button and its neighbours goes with it.
  const bool betweenSeparators = nIndex > 0 && nIndex + 1 < before && GetButton(nIndex - 1)->IsSeparator() &&
                                 GetButton(nIndex + 1)->IsSeparator();
  DeleteButton(nIndex);
  if (GetButtonCount() > 0) {
    if (nIndex == 0) {
      if (GetButton(0)->IsSeparator()) DeleteButton(0);
    } else if (GetButton(GetButtonCount() - 1)->IsSeparator()) {
      DeleteButton(GetButtonCount() - 1);
    } else if (betweenSeparators) {
      DeleteButton(nIndex);  // the second separator now stands at the removed place
    }
  }
  const int removed = before - GetButtonCount();
  if (m_nHot != -1) {
    if (m_nHot >= nIndex && m_nHot < nIndex + removed) {
      m_nHot = -1;
      if (m_hWnd) KillTimer(SEC_TIMER_HOT);
    } else if (m_nHot >= nIndex + removed) {
      m_nHot -= removed;
    }
  }
  if (m_nPressed >= nIndex) m_nPressed = -1;
  m_bFloatDirty = m_bHorzDirty = m_bVertDirty = TRUE;
  const BOOL remain = GetButtonCount() > 0;
  if (bNoRecalc) return remain;
  if (!remain && static_cast<UINT>(GetDlgCtrlID()) > AFX_IDW_DOCKBAR_FLOAT &&
      static_cast<UINT>(GetDlgCtrlID()) <= AFX_IDW_CONTROLBAR_LAST) {
    // An emptied user toolbar goes; the program's own toolbars keep their windows.
    DestroyWindow();
    return FALSE;
  }
  if (CFrameWnd* frame = GetParentFrame()) frame->RecalcLayout();
  if (m_hWnd) {
    Invalidate();
    UpdateWindow();
  }
  return remain;
}

void SECCustomToolBar::RemoveAllButtons() {
  for (int i = 0; i < GetButtonCount(); ++i) delete GetButton(i);
  m_btns.RemoveAll();
  m_nPressed = m_nHot = m_nFocus = -1;
}

// ---- queries and state

UINT SECCustomToolBar::GetButtonStyle(int nIndex) const {
  return nIndex >= 0 && nIndex < GetButtonCount() ? GetButton(nIndex)->GetStyle() : 0;
}

void SECCustomToolBar::SetButtonStyle(int nIndex, UINT nStyle) {
  if (nIndex < 0 || nIndex >= GetButtonCount()) return;
  SECStdBtn* btn = GetButton(nIndex);
  if (btn->GetStyle() == nStyle) return;
  btn->SetStyle(nStyle);
  InvalidateButton(nIndex);
}

UINT SECCustomToolBar::GetItemID(int nIndex) const {
  return nIndex >= 0 && nIndex < GetButtonCount() ? GetButton(nIndex)->m_nID : 0;
}

void SECCustomToolBar::GetItemRect(int nIndex, LPRECT lpRect) const {
  if (nIndex < 0 || nIndex >= GetButtonCount()) {
    ::SetRectEmpty(lpRect);
    return;
  }
  *lpRect = GetButton(nIndex)->GetRect();
}

void SECCustomToolBar::InvalidateButton(int nIndex) {
  if (nIndex >= 0 && nIndex < GetButtonCount()) GetButton(nIndex)->Invalidate(FALSE);
}

CWnd* SECCustomToolBar::NotifyTarget() const {
  if (m_hWndOwner) return CWnd::FromHandle(m_hWndOwner);
  return GetParent();
}

// ---- command UI

void SECCustomToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
  for (int i = 0; i < GetButtonCount(); ++i) {
    SECStdBtn* btn = GetButton(i);
    if (btn->IsSeparator()) continue;
    SECCustomToolCmdUI state(this, i, btn->m_nID);
    state.DoUpdate(pTarget, (btn->GetStyle() & SEC_TBBS_NOAUTODISABLE) ? FALSE : bDisableIfNoHndler);
  }
  UpdateDialogControls(pTarget, bDisableIfNoHndler);
}

void SECCustomToolBar::UpdateButton(int nIndex) {
  if (nIndex < 0 || nIndex >= GetButtonCount() || !m_hWnd) return;
  SECStdBtn* btn = GetButton(nIndex);
  if (btn->IsSeparator()) return;
  CWnd* owner = CWnd::FromHandle(m_hWndOwner);
  CFrameWnd* target = owner && owner->IsKindOf(RUNTIME_CLASS(CFrameWnd)) ? static_cast<CFrameWnd*>(owner)
                                                                          : GetParentFrame();
  if (!target) return;
  BOOL disable = (btn->GetStyle() & SEC_TBBS_NOAUTODISABLE) ? FALSE : target->m_bAutoMenuEnable;
  SECCustomToolCmdUI state(this, nIndex, btn->m_nID);
  state.DoUpdate(target, disable);
}

// ---- painting

void SECCustomToolBar::DoPaint(CDC* pDC) {
  SECControlBar::DoPaint(pDC);
  if (GetButtonCount() == 0) return;
  SECBtnDrawContext* shared = m_pManager ? m_pManager->GetDrawContext() : nullptr;
  if (!shared && !m_pDrawContext) {
    try {
      m_pDrawContext = std::make_unique<SECBtnDrawContext>();
    } catch (CResourceException* e) {
      e->Delete();
      return;  // nothing to draw the buttons with this time
    }
  }
  SECBtnDrawContext& ctx = shared ? *shared : *m_pDrawContext;
  if (!ctx.Prepare(pDC, std::max(m_nMaxBtnWidth, GetButtonWidth()), this)) return;
  for (int i = 0; i < GetButtonCount(); ++i) {
    SECStdBtn* btn = GetButton(i);
    if (!(btn->GetStyle() & TBBS_HIDDEN)) btn->Draw(*pDC, ctx);
  }
  ctx.Release();
}

void SECCustomToolBar::DrawBorders(CDC* pDC, CRect& rect) {
  if (!(m_dwStyle & CBRS_BORDER_ANY)) return;
  if (IsCoolLook()) {
    const COLORREF light = (m_dwStyle & CBRS_BORDER_3D) ? secData.clrBtnHilite : secData.clrBtnShadow;
    const COLORREF dark = secData.clrBtnShadow;
    CRect r = rect;
    if (m_dwStyle & CBRS_BORDER_LEFT) pDC->FillSolidRect(r.left, r.top, 1, r.Height(), light);
    if (m_dwStyle & CBRS_BORDER_TOP) pDC->FillSolidRect(r.left, r.top, r.Width(), 1, light);
    if (m_dwStyle & CBRS_BORDER_RIGHT) pDC->FillSolidRect(r.right - 1, r.top, 1, r.Height(), dark);
    if (m_dwStyle & CBRS_BORDER_BOTTOM) pDC->FillSolidRect(r.left, r.bottom - 1, r.Width(), 1, dark);
    if (!m_pDockContext) {
      // A bar that cannot dock gets an etched line along its top.
      pDC->FillSolidRect(r.left, r.top, r.Width(), 1, dark);
      pDC->FillSolidRect(r.left, r.top + 1, r.Width(), 1, secData.clrBtnHilite);
    }
  } else {
    rect.right -= 1;
    rect.bottom -= 1;
  }
  SECControlBar::DrawBorders(pDC, rect);
}

int SECCustomToolBar::AdjustForGripper(CRect& rect, BOOL bHorz) {
  int added = SECControlBar::AdjustForGripper(rect, bHorz);
  if (m_dwExStyle & CBRS_EX_GRIPPER_CLOSE) {
    (bHorz ? rect.left : rect.top) += 2;
    added += 2;
  }
  return added;
}

// ---- the mouse

void SECCustomToolBar::OnLButtonDown(UINT nFlags, CPoint point) {
  const int index = HitTest(point);
  if (index == -1 || s_bPostingCommand) {
    SECControlBar::OnLButtonDown(nFlags, point);
    return;
  }
  SECStdBtn* btn = GetButton(index);
  const bool alt = ::GetKeyState(VK_MENU) < 0;
  // A disabled button lets the bar be dragged by it.
  if (!m_pCustomiseFocus && (btn->GetStyle() & TBBS_DISABLED) && !alt) {
    SECControlBar::OnLButtonDown(nFlags, point);
    return;
  }
  // Customise mode and Alt-dragging belong to a toolbar manager; without one an
  // Alt-click is an ordinary press.
  if (m_pManager && (m_pCustomiseFocus || alt)) {
    const HWND self = m_hWnd;
    const BOOL altDrag = !m_pCustomiseFocus;
    if (altDrag) s_bDraggingButton = TRUE;
    const int countBefore = GetButtonCount();
    SECToolBarManager* manager = m_pManager;
    const BOOL remain = DragButton(index, point);
    if (altDrag) {
      s_bDraggingButton = FALSE;
      // An Alt-drag leaves no selection behind.
      if (SECCustomToolBar* held = manager->GetSelectedBar()) held->ClearSelection();
    }
    if (remain && ::IsWindow(self) && GetButtonCount() != countBefore) Invalidate();
    return;
  }
  UpdateButton(index);
  if (!btn->BtnPressDown(point)) return;
  m_nPressed = index;
  InvalidateButton(index);
  UpdateWindow();
  SetCapture();
  if (CWnd* target = NotifyTarget()) target->SendMessage(WM_SETMESSAGESTRING, btn->m_nID);
}

void SECCustomToolBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
  const int index = HitTest(point);
  if (index != -1 && !m_pCustomiseFocus && ::GetKeyState(VK_MENU) >= 0 && !(GetButtonStyle(index) & TBBS_DISABLED)) {
    OnLButtonDown(nFlags, point);
    return;
  }
  SECControlBar::OnLButtonDblClk(nFlags, point);
}

void SECCustomToolBar::OnMouseMove(UINT nFlags, CPoint point) {
  if (!m_pCustomiseFocus && !s_bPostingCommand) {
    if (m_nPressed != -1) {
      SECStdBtn* btn = GetButton(m_nPressed);
      const UINT before = btn->GetStyle();
      const int pressed = m_nPressed;
      if (::GetCapture() == m_hWnd) {
        btn->BtnPressMouseMove(point);
      } else {
        btn->BtnPressCancel();
        m_nPressed = -1;
        if (CWnd* target = NotifyTarget()) target->SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
      }
      if (btn->GetStyle() != before) {
        InvalidateButton(pressed);
        UpdateWindow();
      }
      return;
    }
    UpdateHotButton(FALSE);
  }
  SECControlBar::OnMouseMove(nFlags, point);
}

void SECCustomToolBar::OnLButtonUp(UINT nFlags, CPoint point) {
  if (m_pCustomiseFocus || m_nPressed == -1) {
    SECControlBar::OnLButtonUp(nFlags, point);
    return;
  }
  const int index = m_nPressed;
  SECStdBtn* btn = GetButton(index);
  UINT command = 0;
  if (::GetCapture() == m_hWnd) {
    ::ReleaseCapture();
    UpdateButton(index);
    command = btn->BtnPressUp(point);
  }
  CWnd* target = NotifyTarget();
  if (target) target->SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
  if (index < GetButtonCount()) {
    UpdateButton(index);
    InvalidateButton(index);
    UpdateWindow();
  }
  m_nPressed = -1;
  if (command && target && target->m_hWnd) {
    s_bPostingCommand = TRUE;
    if (m_pManager) {
      CRect pressed;
      GetItemRect(index, &pressed);
      ClientToScreen(&pressed);
      m_pManager->SetPressedRect(TRUE, pressed);
    }
    target->PostMessage(WM_COMMAND, command, 0);
    if (m_pManager) m_pManager->SetPressedRect(FALSE, CRect());
    s_bPostingCommand = FALSE;
  }
}

void SECCustomToolBar::OnCancelMode() {
  SECControlBar::OnCancelMode();
  if (m_bKeyboardFocus) KillKeyboardFocus();
  if (m_nPressed != -1 && !m_pCustomiseFocus && !s_bDraggingButton) {
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    if (m_nPressed < GetButtonCount()) {
      GetButton(m_nPressed)->BtnPressCancel();
      InvalidateButton(m_nPressed);
      UpdateWindow();
    }
    m_nPressed = -1;
  }
}

int SECCustomToolBar::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message) {
  // While customising, a click on a docked bar leaves the customise dialog active.
  if (m_pManager && m_pManager->IsConfigMode() && !IsFloating()) return MA_NOACTIVATE;
  return SECControlBar::OnMouseActivate(pDesktopWnd, nHitTest, message);
}

// ---- hot tracking

void SECCustomToolBar::UpdateHotButton(BOOL bImmediate) {
  if (!IsCoolLook() || !m_hWnd || !::GetActiveWindow() || s_bDraggingButton || s_bPostingCommand) return;
  int candidate = -1;
  if (m_nFocus != -1) {
    // With a focus button the mark only moves to it.
    if (m_nHot == -1 || m_nHot == m_nFocus) return;
    candidate = m_nFocus;
  } else {
    if (m_nPressed != -1) return;
    CPoint cursor;
    ::GetCursorPos(&cursor);
    if (::WindowFromPoint(cursor) == m_hWnd) {
      ScreenToClient(&cursor);
      candidate = HitTest(cursor);
    }
  }
  if (candidate != -1 && (GetButton(candidate)->IsSeparator() || (GetButtonStyle(candidate) & TBBS_DISABLED)))
    candidate = -1;
  SetHotButton(candidate, bImmediate);
}

void SECCustomToolBar::SetHotButton(int nIndex, BOOL bImmediate) {
  if (nIndex == m_nHot) return;
  if (nIndex == -1) {
    if (m_nHot != -1 && m_nHot < GetButtonCount()) {
      SECStdBtn* old = GetButton(m_nHot);
      old->SetStyle(old->GetStyle() & ~SEC_TBBS_HOT);
      InvalidateButton(m_nHot);
    }
    m_nHot = -1;
    KillTimer(SEC_TIMER_HOT);
  } else {
    if (m_nHot == -1) {
      SetTimer(SEC_TIMER_HOT, 100);
    } else if (m_nHot < GetButtonCount()) {
      SECStdBtn* old = GetButton(m_nHot);
      old->SetStyle(old->GetStyle() & ~SEC_TBBS_HOT);
      InvalidateButton(m_nHot);
    }
    SECStdBtn* btn = GetButton(nIndex);
    btn->SetStyle(btn->GetStyle() | SEC_TBBS_HOT);
    InvalidateButton(nIndex);
    m_nHot = nIndex;
  }
  if (bImmediate) UpdateWindow();
}

void SECCustomToolBar::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == SEC_TIMER_HOT)
    UpdateHotButton(TRUE);
  else
    SECControlBar::OnTimer(nIDEvent);
}

INT_PTR SECCustomToolBar::OnToolHitTest(CPoint point, TOOLINFO* pTI) const {
  if (INT_PTR hit = SECControlBar::OnToolHitTest(point, pTI); hit != -1) return hit;
  const int index = HitTest(point);
  if (index == -1) return -1;
  return GetButton(index)->OnToolHitTest(point, pTI);
}

// ---- other messages

void SECCustomToolBar::OnWindowPosChanging(WINDOWPOS* lpWndPos) {
  // The framework's border handling does not apply to the bar's own borders.
  if (lpWndPos->flags & SWP_HIDEWINDOW) NotifyManager(SECToolBarManager::BarHidden);
  else if (lpWndPos->flags & SWP_SHOWWINDOW) NotifyManager(SECToolBarManager::BarShown);
  const DWORD style = m_dwStyle;
  m_dwStyle &= ~CBRS_BORDER_ANY;
  SECControlBar::OnWindowPosChanging(lpWndPos);
  m_dwStyle = style;
  if ((m_dwStyle & CBRS_SIZE_DYNAMIC) && !(lpWndPos->flags & SWP_NOSIZE)) Invalidate(TRUE);
}

void SECCustomToolBar::OnShowWindow(BOOL bShow, UINT nStatus) {
  SECControlBar::OnShowWindow(bShow, nStatus);
  NotifyManager(bShow ? SECToolBarManager::BarShown : SECToolBarManager::BarHidden);
}

void SECCustomToolBar::OnSysColorChange() {
  SECControlBar::OnSysColorChange();
  secData.UpdateSysColors();
  if (m_pDrawContext) m_pDrawContext->RebuildDitherBrush();
  if (m_pBmpMgr) m_pBmpMgr->ReloadAllBitmaps(TRUE);
  Invalidate();
}

void SECCustomToolBar::DelayShow(BOOL bShow) {
  // While customising, a floating bar that goes hides as soon as its message comes, not
  // at some later idle layout, so the floating frame goes with it.
  if (!bShow && m_pManager && m_pManager->IsConfigMode() && IsFloating()) {
    m_nStateFlags &= ~(delayHide | delayShow);
    if (!m_bDelayHide) {
      m_bDelayHide = TRUE;
      PostMessage(g_nNoDelayHide);
    }
    return;
  }
  SECControlBar::DelayShow(bShow);
}

LRESULT SECCustomToolBar::OnNoDelayHide(WPARAM, LPARAM) {
  if (m_pManager && m_pManager->IsConfigMode() && IsFloating()) {
    // m_bDelayHide is still up, so the hide below posts nothing further.
    if (CFrameWnd* frame = GetDockingFrame()) frame->ShowControlBar(this, FALSE, FALSE);
  }
  m_bDelayHide = FALSE;
  return 0;
}

void SECCustomToolBar::OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) {
  SECControlBar::OnBarStyleChange(dwOldStyle, dwNewStyle);
  for (int i = 0; i < GetButtonCount(); ++i) GetButton(i)->OnBarStyleChange(dwOldStyle, dwNewStyle);
}

void SECCustomToolBar::OnDestroy() {
  KillTimer(SEC_TIMER_HOT);
  m_nHot = -1;
  ClearSelection(FALSE);
  NotifyManager(SECToolBarManager::BarDestroyed);
  SECControlBar::OnDestroy();
}

LRESULT SECCustomToolBar::OnSizeParent(WPARAM wParam, LPARAM lParam) {
  StretchToParent(reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam));
  return CControlBar::OnSizeParent(wParam, lParam);
}

LRESULT SECCustomToolBar::OnAddButtons(WPARAM wParam, LPARAM lParam) {
  const int count = static_cast<int>(wParam);
  const auto* records = reinterpret_cast<const TBBUTTON*>(lParam);
  if (!records || count < 1) return FALSE;  // nothing to add
  for (int i = 0; i < count; ++i) {
    const TBBUTTON& r = records[i];
    const int at = GetButtonCount();
    InsertButton(at, static_cast<UINT>(r.idCommand), r.idCommand == 0, i < count - 1);
    if (at < GetButtonCount()) {
      SECStdBtn* btn = GetButton(at);
      // The record's state says "enabled" where the style word says "disabled".
      const UINT state = static_cast<UINT>(r.fsState ^ TBSTATE_ENABLED);
      btn->SetStyle(btn->GetStyle() | (state << 16) | r.fsStyle);
    }
  }
  return TRUE;
}

LRESULT SECCustomToolBar::OnDeleteButton(WPARAM wParam, LPARAM) {
  const auto index = static_cast<INT_PTR>(wParam);
  if (index < 0 || index >= GetButtonCount()) return FALSE;
  RemoveButton(static_cast<int>(index), FALSE);
  return TRUE;
}

// ---- bar records

void SECCustomToolBar::OnGetBarInfoEx(SECControlBarInfo* pInfo) {
  auto record = std::make_unique<SECCustomToolBarInfoEx>();
  GetWindowText(record->m_strTitle);
  for (int i = 0; i < GetButtonCount(); ++i) {
    SECStdBtn* btn = GetButton(i);
    auto info = std::make_unique<SECBtnInfo>();
    info->m_nID = btn->IsSeparator() ? 0 : btn->m_nID;
    btn->GetBarInfo(info.get());
    record->m_btnInfo.Add(std::move(info));
  }
  record->m_bComplete = TRUE;
  delete pInfo->m_pBarInfoEx;
  pInfo->m_pBarInfoEx = record.release();
}

void SECCustomToolBar::OnSetBarInfoEx(SECControlBarInfo* pInfo, CFrameWnd*) {
  auto* record = dynamic_cast<SECCustomToolBarInfoEx*>(pInfo->m_pBarInfoEx);
  if (!record || !record->m_bComplete) return;  // a damaged or empty record restores nothing
  RemoveAllButtons();
  if (!record->m_strTitle.IsEmpty()) SetWindowText(record->m_strTitle);
  for (int i = 0; i < record->m_btnInfo.GetSize(); ++i) {
    const SECBtnInfo* info = record->m_btnInfo[i];
    SECStdBtn* btn = info->m_nID ? CreateButton(info->m_nID) : CreateSeparator();
    if (!btn) continue;
    btn->SetBarInfo(info);
    m_btns.Add(btn);
  }
  m_bFloatDirty = m_bHorzDirty = m_bVertDirty = TRUE;
}

// ---- menu buttons

void SECCustomToolBar::DropMenu(UINT nIDMenu, int nSubMenu, SECStdBtn* pBtn) {
  HMENU menu = ::LoadMenuA(AfxFindResourceHandle(MAKEINTRESOURCEA(nIDMenu), RT_MENU), MAKEINTRESOURCEA(nIDMenu));
  HMENU popup = menu ? ::GetSubMenu(menu, nSubMenu) : nullptr;
  CWnd* owner = NotifyTarget();
  const HWND hWnd = m_hWnd;
  if (popup && owner && pBtn && m_hWnd) {
    // Below the button, left-aligned; commands go to the bar's owner.
    CRect r = pBtn->GetRect();
    ClientToScreen(&r);
    TPMPARAMS params{sizeof(TPMPARAMS), r};
    ::TrackPopupMenuEx(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, r.left, r.bottom, owner->m_hWnd, &params);
  }
  if (menu) ::DestroyMenu(menu);
  if (!::IsWindow(hWnd) || CWnd::FromHandlePermanent(hWnd) != this) return;  // gone while the menu was open
  for (int i = 0; i < GetButtonCount(); ++i) {
    if (GetButton(i) != pBtn) continue;
    pBtn->SetStyle(pBtn->GetStyle() & ~TBBS_PRESSED);
    InvalidateButton(i);
  }
}
