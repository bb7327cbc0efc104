#include "SECBitmapButton.h"

#include "LoadBitmapWithSysColors.h"

IMPLEMENT_DYNAMIC(SECBitmapButton, SECOwnerDrawButton)

BEGIN_MESSAGE_MAP(SECBitmapButton, SECOwnerDrawButton)
  ON_WM_SIZE()
  ON_WM_SYSCOLORCHANGE()
END_MESSAGE_MAP()

BOOL SECBitmapButton::AttachButton(int nID, int nPlacement, UINT nBitmapID, CWnd* pParent, DWORD dwFlags) {
  m_nStyle = nPlacement;
  if (!LoadBitmapWithSysColors(m_bitmap, MAKEINTRESOURCE(nBitmapID))) return FALSE;
  m_nBitmapID = nBitmapID;
  if (!SECOwnerDrawButton::AttachButton(static_cast<UINT>(nID), pParent, dwFlags)) return FALSE;
  Layout();
  return TRUE;
}

BOOL SECBitmapButton::Create(LPCSTR lpszText, DWORD dwStyle, int nPlacement, UINT nBitmapID, const RECT& rect,
                             CWnd* pParent, UINT nID, DWORD dwFlags) {
  m_nStyle = nPlacement;
  if (!LoadBitmapWithSysColors(m_bitmap, MAKEINTRESOURCE(nBitmapID))) return FALSE;
  m_nBitmapID = nBitmapID;
  if (!SECOwnerDrawButton::Create(lpszText, dwStyle, rect, pParent, nID, dwFlags)) return FALSE;
  Layout();
  return TRUE;
}

BOOL SECBitmapButton::SetBitmapResource(UINT nBitmapID) {
  m_bitmap.DeleteObject();
  if (LoadBitmapWithSysColors(m_bitmap, MAKEINTRESOURCE(nBitmapID))) {
    m_nBitmapID = nBitmapID;
    Layout();
    if (m_hWnd) Invalidate();
    return TRUE;
  }
  LoadBitmapWithSysColors(m_bitmap, MAKEINTRESOURCE(m_nBitmapID));
  return FALSE;
}

CSize SECBitmapButton::BitmapSize() {
  BITMAP bm{};
  if (!m_bitmap.GetSafeHandle() || !m_bitmap.GetBitmap(&bm)) return CSize(0, 0);
  return CSize(bm.bmWidth, bm.bmHeight);
}

void SECBitmapButton::Layout() {
  if (!m_hWnd) return;
  CRect client;
  GetClientRect(&client);
  CRect area(client.left, client.top, client.right - 3, client.bottom - 3);
  const CSize size = BitmapSize();
  CPoint at;
  switch (m_nStyle) {
    case Al_Right: at = CPoint(area.right - m_nMarginX - size.cx, area.top + (area.Height() - size.cy) / 2); break;
    case Al_Top: at = CPoint(area.left + (area.Width() - size.cx) / 2, area.top + m_nMarginY); break;
    case Al_Bottom: at = CPoint(area.left + (area.Width() - size.cx) / 2, area.bottom - m_nMarginY - size.cy); break;
    case Al_Center:
      at = CPoint(area.left + (area.Width() - size.cx) / 2, area.top + (area.Height() - size.cy) / 2);
      break;
    default: at = CPoint(area.left + m_nMarginX, area.top + (area.Height() - size.cy) / 2); break;
  }
  CRect image(at, size);
  // The text has the rest of the area beside the image, one pixel apart.
  CRect text;
  switch (m_nStyle) {
    case Al_Left: text = CRect(image.right + 1, area.top, area.right, area.bottom); break;
    case Al_Right: text = CRect(area.left, area.top, image.left - 1, area.bottom); break;
    case Al_Top: text = CRect(area.left, image.bottom + 1, area.right, area.bottom); break;
    case Al_Bottom: text = CRect(area.left, area.top, area.right, image.top - 1); break;
    default: text.SetRectEmpty(); break;
  }
  m_ptImageOrigin = at;
  m_rectImage.IntersectRect(&image, &client);
  if (!m_rectText.IntersectRect(&text, &client)) m_rectText.SetRectEmpty();
}

void SECBitmapButton::OnSize(UINT nType, int cx, int cy) {
  SECOwnerDrawButton::OnSize(nType, cx, cy);
  Layout();
}

void SECBitmapButton::OnSysColorChange() {
  SECOwnerDrawButton::OnSysColorChange();
  // The bitmap's greys follow the new colours.
  if (m_nBitmapID) {
    m_bitmap.DeleteObject();
    LoadBitmapWithSysColors(m_bitmap, MAKEINTRESOURCE(m_nBitmapID));
  }
}

void SECBitmapButton::DrawContent(CDC* pDC, const CRect&, UINT nState) {
  const CPoint shift = (nState & ODS_SELECTED) ? CPoint(1, 1) : CPoint(0, 0);
  if (m_bitmap.GetSafeHandle() && !m_rectImage.IsRectEmpty()) {
    CDC memDC;
    if (memDC.CreateCompatibleDC(pDC)) {
      CBitmap* pOld = memDC.SelectObject(&m_bitmap);
      CRect image = m_rectImage;
      image.OffsetRect(shift);
      pDC->BitBlt(image.left, image.top, image.Width(), image.Height(), &memDC,
                  m_rectImage.left - m_ptImageOrigin.x, m_rectImage.top - m_ptImageOrigin.y, SRCCOPY);
      memDC.SelectObject(pOld);
    }
  }
  if (m_nStyle == Al_Center) return;
  CString text;
  GetWindowText(text);
  if (text.IsEmpty()) return;
  CFont* pFont = GetFont();
  if (!pFont) pFont = CFont::FromHandle(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
  CFont* pOldFont = pDC->SelectObject(pFont);
  COLORREF oldBack = pDC->SetBkColor(s_clrFace);
  COLORREF oldText = pDC->SetTextColor(RGB(0, 0, 0));
  CRect box = m_rectText;
  box.OffsetRect(shift);
  pDC->DrawText(text, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  pDC->SetTextColor(oldText);
  pDC->SetBkColor(oldBack);
  pDC->SelectObject(pOldFont);
}
