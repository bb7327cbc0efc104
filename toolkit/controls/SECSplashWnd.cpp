#include "SECSplashWnd.h"

#include "SECResourceIds.h"

IMPLEMENT_DYNAMIC(SECSplashWnd, CWnd)

BEGIN_MESSAGE_MAP(SECSplashWnd, CWnd)
  ON_WM_PAINT()
  ON_WM_TIMER()
  ON_WM_CLOSE()
  ON_WM_QUERYNEWPALETTE()
  ON_WM_PALETTECHANGED()
END_MESSAGE_MAP()

SECSplashWnd::SECSplashWnd(UINT nBitmapID, UINT nTimeout, BOOL bNoTimer, BOOL bTopMost)
    : m_bTopMost(bTopMost), m_bNoTimer(bNoTimer), m_nTimeout(nTimeout), m_nBitmapID(nBitmapID) {}

HWND SECSplashWnd::OwnerHwnd() const { return m_pOwner ? m_pOwner->GetSafeHwnd() : m_hWndHiddenParent; }

BOOL SECSplashWnd::Create(CWnd* pParent, DWORD dwStyle, DWORD dwExStyle) {
  dwExStyle &= ~WS_EX_TOOLWINDOW;
  m_pOwner = pParent ? pParent : AfxGetMainWnd();
  if (m_pOwner && !m_pOwner->GetSafeHwnd()) m_pOwner = nullptr;
  LPCSTR windowClass = AfxRegisterWndClass(CS_CLASSDC);
  if (!m_pOwner && !m_bCaption) {
    // Owned by a hidden window, the splash stays off the task bar.
    CString title;
    title.LoadString(IDS_SEC_SPLASH_OWNER_TITLE);
    m_hWndHiddenParent = ::CreateWindowExA(WS_EX_TOOLWINDOW, windowClass, title, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                          AfxGetInstanceHandle(), nullptr);
    dwExStyle |= WS_EX_TOPMOST;
  }

  // A bitmap that cannot be loaded leaves a window of no size: nothing shows, but the
  // timer still closes it and the object still goes with it.
  LPCSTR name = MAKEINTRESOURCE(m_nBitmapID);
  auto bitmap = static_cast<HBITMAP>(
      ::LoadImage(AfxFindResourceHandle(name, RT_BITMAP), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  BITMAP bm{};
  if (bitmap && ::GetObject(bitmap, sizeof bm, &bm)) {
    m_nWidth = bm.bmWidth;
    m_nHeight = bm.bmHeight;
  }
  const int x = (::GetSystemMetrics(SM_CXSCREEN) - m_nWidth) / 2;
  const int y = (::GetSystemMetrics(SM_CYSCREEN) - m_nHeight) / 2;

  if (m_bTopMost) dwExStyle |= WS_EX_TOPMOST;
  CString title;
  if (m_bCaption) {
    dwExStyle |= WS_EX_APPWINDOW;
    title = m_strCaption;
  } else {
    title.LoadString(IDS_SEC_SPLASH_TITLE);
  }
  HWND owner = OwnerHwnd();
  BOOL created = CreateEx(dwExStyle, windowClass, title, dwStyle, x, y, m_nWidth, m_nHeight, owner, nullptr);
  if (created) {
    m_bCreated = TRUE;
    if (bitmap) {
      CClientDC dc(this);
      if (m_dib.CreateFromBitmap(&dc, CBitmap::FromHandle(bitmap))) {
        m_pPalette = m_dib.GetPalette();
        if (m_pPalette) RealizeOwnPalette(FALSE);
      }
    }
    if (!m_bNoTimer) m_nTimerID = SetTimer(kTimerId, m_nTimeout);
    if (dwStyle & WS_VISIBLE) {
      ShowWindow(SW_SHOW);
      UpdateWindow();
    }
  } else if (m_hWndHiddenParent) {
    ::DestroyWindow(m_hWndHiddenParent);
    m_hWndHiddenParent = nullptr;
  }
  if (bitmap) ::DeleteObject(bitmap);
  return created;
}

void SECSplashWnd::SetCaption(CString strCaption) {
  m_strCaption = strCaption;
  m_bCaption = TRUE;
}

void SECSplashWnd::Close() {
  if (m_hWnd) SendMessage(WM_CLOSE);
}

void SECSplashWnd::RestartTimer() { SetTimeout(m_nTimeout); }

void SECSplashWnd::SetTimeout(UINT nTimeout) {
  m_nTimeout = nTimeout;
  if (m_hWnd) m_nTimerID = SetTimer(kTimerId, m_nTimeout);
  m_bNoTimer = FALSE;
}

void SECSplashWnd::DisableOwner(BOOL bDisable) {
  HWND owner = OwnerHwnd();
  if (!owner) return;
  m_bOwnerDisabled = bDisable;
  ::EnableWindow(owner, !bDisable);
  if (m_hWnd) EnableWindow(TRUE);
}

void SECSplashWnd::SetTopMost(BOOL bTopMost) {
  m_bTopMost = bTopMost;
  if (m_hWnd)
    ::SetWindowPos(m_hWnd, bTopMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

BOOL SECSplashWnd::PreTranslateMessage(MSG* pMsg) {
  if (!m_bNoTimer && m_bCloseOnInput) {
    switch (pMsg->message) {
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
      case WM_MBUTTONDOWN:
      case WM_NCLBUTTONDOWN:
      case WM_NCRBUTTONDOWN:
      case WM_NCMBUTTONDOWN:
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
        PostMessage(WM_CLOSE);
        return TRUE;
      default:
        break;
    }
  }
  return CWnd::PreTranslateMessage(pMsg);
}

void SECSplashWnd::OnPaint() {
  CPaintDC dc(this);
  CPalette* pOldPalette = nullptr;
  if (m_pPalette) {
    pOldPalette = dc.SelectPalette(m_pPalette, FALSE);
    dc.RealizePalette();
  }
  if (m_dib.IsValid())
    m_dib.Draw(&dc, 0, 0, m_dib.GetWidth(), m_dib.GetHeight(), 0, 0, m_dib.GetWidth(), m_dib.GetHeight(),
               m_dib.GetBits(), m_dib.GetBitmapInfo(), DIB_RGB_COLORS, SRCCOPY);
  if (pOldPalette) dc.SelectPalette(pOldPalette, FALSE);
  CRect client;
  GetClientRect(&client);
  OnDrawText(&dc, client);
}

void SECSplashWnd::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == m_nTimerID && m_nTimerID != 0) {
    PostMessage(WM_CLOSE);
    return;
  }
  CWnd::OnTimer(nIDEvent);
}

void SECSplashWnd::OnClose() {
  if (m_nTimerID) KillTimer(m_nTimerID);
  m_nTimerID = 0;
  if (m_hWndHiddenParent) ::PostMessageA(m_hWndHiddenParent, WM_CLOSE, 0, 0);
  HWND owner = OwnerHwnd();
  if (m_bOwnerDisabled && owner && ::IsWindow(owner)) ::EnableWindow(owner, TRUE);
  DestroyWindow();
}

BOOL SECSplashWnd::RealizeOwnPalette(BOOL bBackground) {
  if (!m_pPalette || !m_hWnd) return FALSE;
  CClientDC dc(this);
  CPalette* pOld = dc.SelectPalette(m_pPalette, bBackground);
  UINT changed = dc.RealizePalette();
  if (pOld) dc.SelectPalette(pOld, TRUE);
  if (changed) Invalidate();
  return changed != 0;
}

BOOL SECSplashWnd::OnQueryNewPalette() { return RealizeOwnPalette(FALSE); }

void SECSplashWnd::OnPaletteChanged(CWnd* pFocusWnd) {
  // Another window's palette took the colours: take what is left, in the background.
  if (pFocusWnd && (pFocusWnd->GetSafeHwnd() == m_hWnd || IsChild(pFocusWnd))) return;
  RealizeOwnPalette(TRUE);
}

void SECSplashWnd::PostNcDestroy() {
  if (m_bCreated) delete this;
}
