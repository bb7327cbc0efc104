#include "Disp7SegLed.h"

#include <cstring>

BEGIN_MESSAGE_MAP(CDisp7SegLed, CStatic)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_DESTROY()
END_MESSAGE_MAP()

CDisp7SegLed::CDisp7SegLed() {
  // Mapped so that the pictures' button greys follow the system colours.
  for (int i = 0; i < kImageCount; ++i) {
    HBITMAP mapped = ::CreateMappedBitmap(AfxGetResourceHandle(), kFirstBitmap + i, 0, nullptr, 0);
    m_hImages[i] = static_cast<HBITMAP>(::CopyImage(mapped, IMAGE_BITMAP, 0, 0, LR_COPYRETURNORG | LR_COPYDELETEORG));
  }
}

CDisp7SegLed::~CDisp7SegLed() {
  for (HBITMAP& image : m_hImages)
    if (image) ::DeleteObject(image);
}

int CDisp7SegLed::ImageOf(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  return c == 's' ? kLetterS : kBlank;
}

void CDisp7SegLed::PreSubclassWindow() {
  BITMAP bm{};
  if (m_hImages[0] && ::GetObjectA(m_hImages[0], sizeof bm, &bm)) {
    m_nImageWidth = bm.bmWidth;
    m_nImageHeight = bm.bmHeight;
  }
  CStatic::PreSubclassWindow();
}

void CDisp7SegLed::SetText(LPCSTR text, int start, int count) {
  if (!text) text = "";
  // The text is kept for repainting; what does not fit the buffer is cut, never written.
  const size_t length = std::min(std::strlen(text), static_cast<size_t>(kTextSize - 1));
  std::memmove(m_szText, text, length);
  m_szText[length] = '\0';
  m_nStart = start;
  m_nDigits = count > 0 ? count : 8;
  if (!GetSafeHwnd()) return;
  CClientDC dc(this);
  Draw(dc);
}

void CDisp7SegLed::Draw(CDC& dc) {
  CRect client;
  GetClientRect(&client);
  m_nCellHeight = client.Height();
  m_nCellWidth = client.Width() / m_nDigits;
  CDC memDC;
  if (!memDC.CreateCompatibleDC(&dc)) {
    ::MessageBoxA(m_hWnd, "memDC.CreateCompatibleDC Fail!", "Lumora Error", MB_OK | MB_ICONERROR);
    return;
  }
  const int cells = m_nCellWidth > 0 ? client.Width() / m_nCellWidth : 0;
  const int length = static_cast<int>(std::strlen(m_szText));
  for (int i = 0; i < length && i < m_nDigits; ++i) {
    // A negative start or a cell past the control's width is left out.
    const int cell = m_nStart + i;
    if (cell < 0 || cell >= cells) continue;
    HBITMAP image = m_hImages[ImageOf(m_szText[i])];
    if (!image) continue;
    HGDIOBJ old = ::SelectObject(memDC.m_hDC, image);
    dc.StretchBlt(cell * m_nCellWidth, 0, m_nCellWidth, m_nCellHeight, &memDC, 0, 0, m_nImageWidth, m_nImageHeight,
                  SRCCOPY);
    ::SelectObject(memDC.m_hDC, old);
  }
}

BOOL CDisp7SegLed::OnEraseBkgnd(CDC* pDC) {
  CRect client;
  GetClientRect(&client);
  CBrush brush(::GetSysColor(COLOR_WINDOWTEXT));
  CBrush* old = pDC->SelectObject(&brush);
  pDC->PatBlt(client.left, client.top, client.Width(), client.Height(), PATCOPY);
  pDC->SelectObject(old);
  return static_cast<BOOL>(Default());
}

void CDisp7SegLed::OnPaint() {
  CPaintDC dc(this);
  Draw(dc);
}

void CDisp7SegLed::OnDestroy() { CStatic::OnDestroy(); }
