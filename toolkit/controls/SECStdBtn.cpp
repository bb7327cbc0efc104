#include "SECStdBtn.h"

#include <cstring>

#include "SECAuxData.h"
#include "SECBmpMgr.h"
#include "SECBtnDrawContext.h"
#include "SECCustomToolBar.h"
#include "SECToolBarManager.h"

namespace {
constexpr DWORD kRopPSDPxax = 0x00B8074A;  // the pattern where the source is black
constexpr DWORD kRopDSPDxax = 0x00E20746;  // the pattern where the source is white
constexpr DWORD kRopDSna = 0x00220326;     // the destination where the source is black
}  // namespace

const SECButtonClass SECStdBtn::classSECStdBtn = {&SECStdBtn::CreateButton, nullptr};

SECStdBtn* SECStdBtn::CreateButton() { return new SECStdBtn; }

void SECStdBtn::SetToolBar(SECCustomToolBar* pToolBar) {
  m_pToolBar = pToolBar;
  AdjustSize();
}

void SECStdBtn::Init(SECCustomToolBar* pToolBar, const UINT*) { SetToolBar(pToolBar); }

void SECStdBtn::AdjustSize() {
  if (!m_pToolBar) return;
  if (IsSeparator()) {
    m_cx = m_pToolBar->GetSeparatorWidth();
    m_cy = m_pToolBar->GetSeparatorHeight();
  } else {
    m_cx = m_pToolBar->GetButtonWidth();
    m_cy = m_pToolBar->GetButtonHeight();
  }
  m_pToolBar->m_nMaxBtnWidth = std::max(m_pToolBar->m_nMaxBtnWidth, m_cx);
}

void SECStdBtn::SetPos(int x, int y) {
  m_x = x;
  m_y = y;
}

void SECStdBtn::Invalidate(BOOL bErase) const {
  if (!m_pToolBar || !m_pToolBar->m_hWnd) return;
  CRect r = GetRect();
  m_pToolBar->InvalidateRect(&r, bErase);
}

int SECStdBtn::GetIndex() const {
  if (!m_pToolBar) return -1;
  for (int i = 0; i < m_pToolBar->GetButtonCount(); ++i)
    if (m_pToolBar->GetButton(i) == this) return i;
  return -1;
}

// ---- the mouse

BOOL SECStdBtn::BtnPressDown(CPoint) {
  if (m_nStyle & TBBS_DISABLED) return FALSE;
  m_nStyle |= TBBS_PRESSED;
  if (!(m_nStyle & SEC_TBBS_DROPDOWN)) return TRUE;  // the bar tracks it
  // A drop-down button tells its owner at once and does not stay pressed.
  Invalidate();
  m_pToolBar->UpdateWindow();
  BOOL posting = SECCustomToolBar::s_bPostingCommand;
  SECCustomToolBar::s_bPostingCommand = TRUE;
  SendNotify(SEC_TBN_DROPDOWN);
  SECCustomToolBar::s_bPostingCommand = posting;
  m_nStyle &= ~TBBS_PRESSED;
  Invalidate();
  m_pToolBar->UpdateWindow();
  m_pToolBar->UpdateHotButton(FALSE);
  return FALSE;
}

void SECStdBtn::BtnPressMouseMove(CPoint point) {
  // Inclusive bounds: the button's last row and column still count as inside.
  const bool inside = point.x >= m_x && point.x <= m_x + m_cx && point.y >= m_y && point.y <= m_y + m_cy;
  if (inside)
    m_nStyle |= TBBS_PRESSED;
  else
    m_nStyle &= ~TBBS_PRESSED;
}

void SECStdBtn::BtnPressCancel() {
  m_nStyle &= ~TBBS_PRESSED;
  Invalidate();
}

UINT SECStdBtn::BtnPressUp(CPoint point) {
  m_nStyle &= ~TBBS_PRESSED;
  if (!GetRect().PtInRect(point)) return 0;
  // A check box toggles on every toolbar through the toolbar manager; without one its
  // state changes only through the command's update handler.
  if ((m_nStyle & TBBS_CHECKBOX) && !(m_nStyle & TBBS_DISABLED) && m_pToolBar && m_pToolBar->m_pManager) {
    SECBtnStateChange change;
    change.nMask = TBBS_CHECKED | TBBS_INDETERMINATE;
    change.nSet = (m_nStyle & TBBS_CHECKED) ? 0 : TBBS_CHECKED;
    m_pToolBar->m_pManager->BroadcastButtonState(m_nID, 1, change);
  }
  return m_nID;
}

void SECStdBtn::ApplyStateChange(int nCode, const SECBtnStateChange& change) {
  if (nCode != 1) return;
  m_nStyle = (m_nStyle & ~change.nMask) | change.nSet;
  Invalidate();
}

INT_PTR SECStdBtn::OnToolHitTest(CPoint, TOOLINFO* pTI) const {
  if (pTI) {
    pTI->uFlags = 0;
    pTI->hwnd = m_pToolBar ? m_pToolBar->m_hWnd : nullptr;
    pTI->rect = GetRect();
    pTI->uId = m_nID;
    pTI->lpszText = LPSTR_TEXTCALLBACK;
  }
  return static_cast<INT_PTR>(m_nID);
}

LRESULT SECStdBtn::SendNotify(UINT nCode, int nValue1, int nValue2) {
  if (!m_pToolBar || !m_pToolBar->m_hWnd) return 0;
  CWnd* owner = m_pToolBar->GetOwner();
  if (!owner || !owner->m_hWnd) return 0;
  SECBtnNotify record{};
  record.hdr.hwndFrom = m_pToolBar->m_hWnd;
  record.hdr.idFrom = static_cast<UINT_PTR>(m_pToolBar->GetDlgCtrlID());
  record.hdr.code = nCode;
  record.iItem = static_cast<int>(m_nID);
  record.nIndex = GetIndex();
  record.nValue1 = nValue1;
  record.nValue2 = nValue2;
  return owner->SendMessage(WM_NOTIFY, static_cast<WPARAM>(m_pToolBar->GetDlgCtrlID()),
                            reinterpret_cast<LPARAM>(&record));
}

// ---- drawing

void SECStdBtn::Draw(CDC& dc, SECBtnDrawContext& ctx) {
  CRect rect = GetRect();
  if (!dc.RectVisible(&rect)) return;
  if (IsSeparator()) {
    DrawSeparator(dc);
    return;
  }
  SelectBitmap(ctx);
  DrawButton(ctx);
  if (m_pToolBar->IsCoolLook() && (m_pToolBar->m_dwExStyle & CBRS_EX_TRANSPARENT)) DrawTransparent(dc, ctx);
  DrawConfigFocusIfSelected(ctx);
  CopyToScreen(dc, ctx);
}

void SECStdBtn::DrawSeparator(CDC& dc) {
  if (!m_pToolBar->IsCoolLook() || (m_nStyle & TBBS_WRAPPED)) return;
  if (!(m_pToolBar->m_dwExStyle & CBRS_EX_TRANSPARENT)) dc.FillSolidRect(m_x, m_y, m_cx, m_cy, secData.clrBtnFace);
  const int x = m_x + m_cx / 2;
  dc.FillSolidRect(x, m_y, 1, m_cy, secData.clrBtnShadow);
  dc.FillSolidRect(x + 1, m_y, 1, m_cy, secData.clrBtnHilite);
}

void SECStdBtn::SelectBitmap(SECBtnDrawContext& ctx) {
  HBITMAP hbm = nullptr;
  int image = 0;
  m_bHasImage = m_pToolBar->m_pBmpMgr && m_pToolBar->m_pBmpMgr->GetBitmapInfo(m_nID, &hbm, &image);
  if (!m_bHasImage) return;  // no image of this command: none is drawn
  if (m_nType != SEC_BTNTYPE_FOCUS) m_nImage = image;
  ctx.SelectImage(hbm);
}

void SECStdBtn::DrawButton(SECBtnDrawContext& ctx) {
  int x = 0, y = 0, cx = m_cx, cy = m_cy;
  if (m_pToolBar->m_pCustomiseFocus) {
    DrawFace(ctx, TRUE, x, y, cx, cy);
    return;
  }
  DrawFace(ctx, FALSE, x, y, cx, cy);
  if (m_nStyle & TBBS_PRESSED) return;
  if (m_nStyle & TBBS_DISABLED)
    DrawDisabled(ctx, x, y, cx, cy);
  else if (m_nStyle & TBBS_CHECKED)
    DrawChecked(ctx, x, y, cx, cy);
  else if (m_nStyle & TBBS_INDETERMINATE)
    DrawIndeterminate(ctx, x, y, cx, cy);
}

void SECStdBtn::DrawFace(SECBtnDrawContext& ctx, BOOL bPlain, int& x, int& y, int& cx, int& cy, int nImageWidth) {
  CDC& work = ctx.m_workDC;
  const int imageWidth = nImageWidth == -1 ? m_pToolBar->GetImageWidth() : nImageWidth;
  const int imageHeight = m_pToolBar->GetImageHeight();
  const bool cool = m_pToolBar->IsCoolLook() != FALSE;
  work.FillSolidRect(x, y, cx, cy, secData.clrBtnFace);
  int ix = x + (cx - imageWidth - 1) / 2, iy = y + (cy - imageHeight) / 2;
  if ((m_nStyle & (TBBS_PRESSED | TBBS_CHECKED)) && !bPlain) {
    work.Draw3dRect(x, y, cx, cy, cool ? secData.clrBtnShadow : secData.clrWindowFrame, secData.clrBtnHilite);
    if (!cool) work.Draw3dRect(x + 1, y + 1, cx - 2, cy - 2, secData.clrBtnShadow, secData.clrBtnFace);
    ++ix;
    ++iy;
    x += 1, y += 1, cx -= 2, cy -= 2;
  } else if (cool) {
    if ((m_nStyle & SEC_TBBS_HOT) && !bPlain)
      work.Draw3dRect(x, y, cx, cy, secData.clrBtnHilite, secData.clrBtnShadow);
    x += 2, y += 2, cx -= 4, cy -= 4;
  } else {
    work.Draw3dRect(x, y, cx, cy, secData.clrBtnHilite, secData.clrWindowFrame);
    work.Draw3dRect(x + 1, y + 1, cx - 2, cy - 2, secData.clrBtnFace, secData.clrBtnShadow);
    x += 1, y += 1, cx -= 2, cy -= 2;
  }
  BlitImage(ctx, ix, iy);
}

void SECStdBtn::BlitImage(SECBtnDrawContext& ctx, int x, int y) {
  if (!m_bHasImage) return;
  const int w = m_pToolBar->GetImageWidth(), h = m_pToolBar->GetImageHeight();
  ctx.m_workDC.BitBlt(x, y, w, h, &ctx.m_imageDC, w * m_nImage, 0, SRCCOPY);
}

void SECStdBtn::MakeMask(SECBtnDrawContext& ctx, int x, int y, int cx, int cy) {
  CDC& work = ctx.m_workDC;
  CDC& mono = ctx.m_monoDC;
  mono.PatBlt(0, 0, m_cx, m_cy, WHITENESS);
  COLORREF oldBack = work.SetBkColor(secData.clrBtnFace);
  mono.BitBlt(x, y, cx, cy, &work, x, y, SRCCOPY);
  work.SetBkColor(secData.clrBtnHilite);
  mono.BitBlt(x, y, cx, cy, &work, x, y, SRCPAINT);
  work.SetBkColor(oldBack);
}

void SECStdBtn::DrawDisabled(SECBtnDrawContext& ctx, int x, int y, int cx, int cy) {
  CDC& work = ctx.m_workDC;
  MakeMask(ctx, x, y, cx, cy);
  work.FillSolidRect(x, y, cx, cy, secData.clrBtnFace);
  // The image embossed: a highlight copy one pixel down and right, the shadow over it.
  work.SetTextColor(RGB(0, 0, 0));
  work.SetBkColor(RGB(255, 255, 255));
  CBrush highlight(secData.clrBtnHilite), shadow(secData.clrBtnShadow);
  CBrush* old = work.SelectObject(&highlight);
  work.BitBlt(x + 1, y + 1, cx - 1, cy - 1, &ctx.m_monoDC, x, y, kRopPSDPxax);
  work.SelectObject(&shadow);
  work.BitBlt(x, y, cx, cy, &ctx.m_monoDC, x, y, kRopPSDPxax);
  if (m_nStyle & TBBS_CHECKED) {
    // The checkerboard round the embossed image and its highlight.
    ctx.m_monoDC.BitBlt(x + 1, y + 1, cx - 1, cy - 1, &ctx.m_monoDC, x, y, SRCAND);
    work.SelectObject(&ctx.m_ditherBrush);
    work.BitBlt(x + 2, y + 2, cx - 4, cy - 4, &ctx.m_monoDC, x + 2, y + 2, kRopDSPDxax);
  }
  work.SelectObject(old);
}

void SECStdBtn::DrawChecked(SECBtnDrawContext& ctx, int x, int y, int cx, int cy) {
  CDC& work = ctx.m_workDC;
  MakeMask(ctx, x, y, cx, cy);
  work.SetTextColor(RGB(0, 0, 0));
  work.SetBkColor(RGB(255, 255, 255));
  CBrush* old = work.SelectObject(&ctx.m_ditherBrush);
  work.BitBlt(x, y, cx, cy, &ctx.m_monoDC, x, y, kRopDSPDxax);
  work.SelectObject(old);
}

void SECStdBtn::DrawIndeterminate(SECBtnDrawContext& ctx, int x, int y, int cx, int cy) {
  CDC& work = ctx.m_workDC;
  MakeMask(ctx, x, y, cx, cy);
  work.SetTextColor(RGB(0, 0, 0));
  work.SetBkColor(RGB(255, 255, 255));
  CBrush shadow(secData.clrBtnShadow);
  CBrush* old = work.SelectObject(&shadow);
  work.BitBlt(x, y, cx, cy, &ctx.m_monoDC, x, y, kRopPSDPxax);
  work.SelectObject(&ctx.m_ditherBrush);
  work.BitBlt(x, y, cx, cy, &ctx.m_monoDC, x, y, kRopDSPDxax);
  work.SelectObject(old);
}

void SECStdBtn::DrawTransparent(CDC& dc, SECBtnDrawContext& ctx) {
  // The face colour of the work bitmap gives way to what lies under the button.
  CDC& work = ctx.m_workDC;
  CDC& mono = ctx.m_monoDC;
  mono.PatBlt(0, 0, m_cx, m_cy, WHITENESS);
  COLORREF oldBack = work.SetBkColor(secData.clrBtnFace);
  mono.BitBlt(0, 0, m_cx, m_cy, &work, 0, 0, SRCCOPY);
  work.SetTextColor(RGB(0, 0, 0));
  work.SetBkColor(RGB(255, 255, 255));
  work.BitBlt(0, 0, m_cx, m_cy, &dc, m_x, m_y, SRCINVERT);
  work.BitBlt(0, 0, m_cx, m_cy, &mono, 0, 0, kRopDSna);
  work.BitBlt(0, 0, m_cx, m_cy, &dc, m_x, m_y, SRCINVERT);
  work.SetBkColor(oldBack);
}

void SECStdBtn::DrawConfigFocusIfSelected(SECBtnDrawContext& ctx) {
  if (m_nStyle & SEC_TBBS_CUSTSELECTED) DrawConfigFocus(ctx);
}

void SECStdBtn::DrawConfigFocus(SECBtnDrawContext& ctx) {
  CDC& work = ctx.m_workDC;
  COLORREF oldBack = work.SetBkColor(RGB(255, 255, 255));
  COLORREF oldText = work.SetTextColor(RGB(0, 0, 0));
  CRect rect(0, 0, m_cx, m_cy);
  work.DrawDragRect(&rect, CSize(3, 3), nullptr, CSize(0, 0));
  work.SetBkColor(oldBack);
  work.SetTextColor(oldText);
}

void SECStdBtn::CopyToScreen(CDC& dc, SECBtnDrawContext& ctx) {
  dc.BitBlt(m_x, m_y, m_cx, m_cy, &ctx.m_workDC, 0, 0, SRCCOPY);
}
