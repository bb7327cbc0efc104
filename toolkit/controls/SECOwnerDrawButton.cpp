#include "SECOwnerDrawButton.h"

IMPLEMENT_DYNAMIC(SECOwnerDrawButton, CButton)

BEGIN_MESSAGE_MAP(SECOwnerDrawButton, CButton)
  ON_WM_GETDLGCODE()
  ON_WM_KEYUP()
  ON_WM_LBUTTONUP()
  ON_WM_SYSCOLORCHANGE()
  ON_MESSAGE(BM_SETSTYLE, OnSetStyle)
END_MESSAGE_MAP()

COLORREF SECOwnerDrawButton::s_clrShadow = 0;
COLORREF SECOwnerDrawButton::s_clrHilite = 0;
COLORREF SECOwnerDrawButton::s_clrFace = 0;
COLORREF SECOwnerDrawButton::s_clrFrame = 0;
COLORREF SECOwnerDrawButton::s_clrDarkEdge = 0;

namespace {
// The raster operation that paints the brush where the mask is black: PSDPxax.
constexpr DWORD kPaintWhereMaskBlack = 0x00B8074A;
}  // namespace

void SECOwnerDrawButton::ReadColors() {
  s_clrShadow = ::GetSysColor(COLOR_BTNSHADOW);
  s_clrHilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
  s_clrFace = ::GetSysColor(COLOR_BTNFACE);
  s_clrFrame = ::GetSysColor(COLOR_WINDOWFRAME);
  s_clrDarkEdge = ::GetSysColor(COLOR_BTNSHADOW);
}

SECOwnerDrawButton::SECOwnerDrawButton() : m_bNewLook(LOBYTE(LOWORD(::GetVersion())) > 3) {
  static const bool read = (ReadColors(), true);
  (void)read;
}

BOOL SECOwnerDrawButton::AttachButton(UINT nID, CWnd* pParent, DWORD dwFlags) {
  if (!SubclassDlgItem(nID, pParent)) return FALSE;
  m_dwButtonFlags = dwFlags;
  SetButtonStyle(GetButtonStyle(), TRUE);
  return TRUE;
}

BOOL SECOwnerDrawButton::Create(LPCSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParent, UINT nID,
                                DWORD dwFlags) {
  m_dwButtonFlags = dwFlags;
  return CButton::Create(lpszText, (dwStyle & ~BS_TYPEMASK) | BS_OWNERDRAW, rect, pParent, nID);
}

void SECOwnerDrawButton::SetButtonStyle(UINT nStyle, BOOL bRedraw) {
  if (!m_hWnd) return;
  const DWORD old = GetStyle();
  const DWORD next = (old & 0xFFFF0000u) | (nStyle & 0xFFFFu & ~static_cast<DWORD>(BS_TYPEMASK)) | BS_OWNERDRAW;
  if (next == old) return;
  ::SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(next));
  if (bRedraw) Invalidate();
}

LRESULT SECOwnerDrawButton::OnSetStyle(WPARAM wParam, LPARAM lParam) {
  SetButtonStyle(static_cast<UINT>(wParam), static_cast<BOOL>(lParam));
  return 0;
}

UINT SECOwnerDrawButton::OnGetDlgCode() {
  UINT code = DLGC_BUTTON;
  if ((m_dwButtonFlags & kDefaultWithFocus) && ::GetFocus() == m_hWnd) code |= DLGC_DEFPUSHBUTTON;
  return code;
}

void SECOwnerDrawButton::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (nChar == VK_SPACE) OnInput();
  CButton::OnKeyUp(nChar, nRepCnt, nFlags);
}

void SECOwnerDrawButton::OnLButtonUp(UINT nFlags, CPoint point) {
  CRect client;
  GetClientRect(&client);
  if (::GetCapture() == m_hWnd && (GetState() & BST_PUSHED) && client.PtInRect(point)) OnInput();
  CButton::OnLButtonUp(nFlags, point);
}

void SECOwnerDrawButton::OnSysColorChange() {
  CButton::OnSysColorChange();
  ReadColors();
  Invalidate();
}

CRect SECOwnerDrawButton::ContentRect(CRect rect, BOOL bPressed) const {
  rect.DeflateRect(m_bNewLook ? 2 : 3, m_bNewLook ? 2 : 3);
  if (bPressed) {
    rect.OffsetRect(1, 1);
  } else {
    rect.right -= 1;
    rect.bottom -= 1;
  }
  return rect;
}

void SECOwnerDrawButton::DrawFrame(CDC* pDC, CRect& rect, UINT nState) {
  const BOOL bPressed = (nState & ODS_SELECTED) != 0;
  const CRect item = rect;
  pDC->FillSolidRect(&rect, s_clrFace);
  CRect outer = rect;
  if (!m_bNewLook) {
    CBrush frame(s_clrFrame);
    pDC->FrameRect(&outer, &frame);
    outer.DeflateRect(1, 1);
  }
  CRect inner = outer;
  inner.DeflateRect(1, 1);
  if (bPressed) {
    if (m_bNewLook) {
      pDC->Draw3dRect(&outer, s_clrFrame, s_clrHilite);
      pDC->Draw3dRect(&inner, s_clrDarkEdge, s_clrFace);
    } else {
      pDC->Draw3dRect(&outer, s_clrShadow, s_clrHilite);
      pDC->Draw3dRect(&inner, s_clrDarkEdge, s_clrHilite);
    }
  } else {
    if (m_bNewLook) {
      pDC->Draw3dRect(&outer, s_clrHilite, s_clrFrame);
      pDC->Draw3dRect(&inner, s_clrFace, s_clrDarkEdge);
    } else {
      pDC->Draw3dRect(&outer, s_clrHilite, s_clrShadow);
      pDC->Draw3dRect(&inner, s_clrHilite, s_clrDarkEdge);
    }
  }
  rect = ContentRect(item, bPressed);
}

void SECOwnerDrawButton::DrawDisabled(CDC* pDC, const CRect& rect, UINT) {
  const int width = rect.Width(), height = rect.Height();
  if (width <= 0 || height <= 0) return;
  // A mask of the content: white where it shows the face colour, black elsewhere.
  CDC maskDC;
  CBitmap mask;
  if (!maskDC.CreateCompatibleDC(pDC) || !mask.CreateBitmap(width, height, 1, 1, nullptr)) return;
  CBitmap* pOldMask = maskDC.SelectObject(&mask);
  COLORREF oldBack = pDC->SetBkColor(s_clrFace);
  maskDC.BitBlt(0, 0, width, height, pDC, rect.left, rect.top, SRCCOPY);

  // The content becomes the face with the mask embossed on it: the highlight copy one
  // pixel right and down, the shadow copy over it in place.
  pDC->FillSolidRect(&rect, s_clrFace);
  pDC->SetBkColor(RGB(255, 255, 255));
  COLORREF oldText = pDC->SetTextColor(RGB(0, 0, 0));
  CBrush hilite(s_clrHilite), shadow(s_clrShadow);
  CBrush* pOldBrush = pDC->SelectObject(&hilite);
  pDC->BitBlt(rect.left + 1, rect.top + 1, width - 1, height - 1, &maskDC, 0, 0, kPaintWhereMaskBlack);
  pDC->SelectObject(&shadow);
  pDC->BitBlt(rect.left, rect.top, width, height, &maskDC, 0, 0, kPaintWhereMaskBlack);
  pDC->SelectObject(pOldBrush);
  pDC->SetTextColor(oldText);
  pDC->SetBkColor(oldBack);
  maskDC.SelectObject(pOldMask);
}

void SECOwnerDrawButton::DrawFocus(CDC* pDC, const CRect& rect, UINT nState) {
  CRect focus = ContentRect(rect, (nState & ODS_SELECTED) != 0);
  focus.DeflateRect(m_bNewLook ? 1 : 2, m_bNewLook ? 1 : 2);
  pDC->DrawFocusRect(&focus);
}

void SECOwnerDrawButton::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
  CDC* pDC = CDC::FromHandle(lpDIS->hDC);
  const CRect item = lpDIS->rcItem;
  const UINT state = lpDIS->itemState;
  if (lpDIS->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) {
    CDC memDC;
    CBitmap picture;
    const BOOL offScreen =
        memDC.CreateCompatibleDC(pDC) && picture.CreateCompatibleBitmap(pDC, item.Width(), item.Height());
    CDC* pTarget = offScreen ? &memDC : pDC;
    CBitmap* pOldPicture = offScreen ? memDC.SelectObject(&picture) : nullptr;
    CRect rect = offScreen ? CRect(0, 0, item.Width(), item.Height()) : item;
    CFont* pOldFont = offScreen ? memDC.SelectObject(pDC->GetCurrentFont()) : nullptr;

    PrepareDraw(pTarget, rect, state);
    CRect content = rect;
    DrawFrame(pTarget, content, state);
    DrawContent(pTarget, content, state);
    if (state & ODS_DISABLED) DrawDisabled(pTarget, content, state);
    if (offScreen) {
      pDC->BitBlt(item.left, item.top, item.Width(), item.Height(), &memDC, 0, 0, SRCCOPY);
      memDC.SelectObject(pOldFont);
      memDC.SelectObject(pOldPicture);
    }
    FinishDraw(pDC, item, state);
    if (state & ODS_FOCUS) DrawFocus(pDC, item, state);
  } else if (lpDIS->itemAction & ODA_FOCUS) {
    DrawFocus(pDC, item, state);  // the focus rectangle goes as it came
  }
}
