// CVexRetouchDlg: the rubber band on the preview (a crop area or a W.Balance sample) and
// the sampling cursors.
#include <algorithm>

#include "pipeline/retouch/VexRetouchDlg.h"
#include "pipeline/retouch/VexRetouchTabWBalance.h"

namespace {
constexpr UINT kSampleCursors[] = {0, 132, 133, 134};  // by cursor mode
}

bool CVexRetouchDlg::InsidePicture(LONG x, LONG y) {
  const float zoom = m_preview.GetPaintZoom();
  const float right = zoom * m_preview.GetImageWidth() / 100, bottom = zoom * m_preview.GetImageHeight() / 100;
  return x >= 0 && x <= right && y >= 0 && y <= bottom;
}

void CVexRetouchDlg::OnMouseDownPreview(short button, short, LONG x, LONG y) {
  if (!m_pCalc || !InsidePicture(x, y)) return;
  if (m_nCropState == 1 && !(x > m_fCropLeft && x < m_fCropLeft + m_fCropWidth && y > m_fCropTop &&
                             y < m_fCropTop + m_fCropHeight))
    return;
  if (button == 2) {
    m_preview.SetRegionEnabled(FALSE);
    m_nBandState = -1;
    m_nBalanceMode = -1;
    m_nSampling = 0;
    return;
  }
  m_nDownX = x;
  m_nDownY = y;
  if (m_nPage == kWBalancePage && m_nBalanceMode != -1 && m_nSampling == 1 &&
      m_pWBalance->m_nSampleKind == CVexRetouchTabWBalance::kPoint) {
    m_nSampleTaken = 1;
    m_nSampling = 2 + m_nBalanceMode;
    m_pWBalance->EnableStart(TRUE);
    m_nCursorMode = m_nSampling;
    return;
  }
  const float left = m_preview.GetRegionLeft(), top = m_preview.GetRegionTop();
  const float width = m_preview.GetRegionWidth(), height = m_preview.GetRegionHeight();
  if (m_nBandState == 1 && x > left && x < left + width && y > top && y < top + height) {
    m_nBandState = 2;
  } else {
    m_nBandState = 3;
    m_preview.SetRegionRect(static_cast<float>(x), static_cast<float>(y), 0, 0);
    m_preview.SetRegionEnabled(TRUE);
  }
}

void CVexRetouchDlg::OnMouseMovePreview(short, short, LONG x, LONG y) {
  m_nCursorMode = m_nSampling;
  if (!m_pCalc || (m_nBandState != 2 && m_nBandState != 3)) return;
  float boundLeft, boundTop, boundWidth, boundHeight;
  if (m_nCropState == 1) {
    boundLeft = m_fCropLeft, boundTop = m_fCropTop, boundWidth = m_fCropWidth, boundHeight = m_fCropHeight;
  } else {
    const float zoom = m_preview.GetPaintZoom();
    boundLeft = m_preview.GetValue136() * zoom / 100;
    boundTop = m_preview.GetValue137() * zoom / 100;
    boundWidth = m_preview.GetImageWidth() * zoom / 100;
    boundHeight = m_preview.GetImageHeight() * zoom / 100;
  }
  const float boundRight = boundLeft + boundWidth, boundBottom = boundTop + boundHeight;
  if (m_nBandState == 2) {
    float left = x + m_fBandLeft - m_nDownX, top = y + m_fBandTop - m_nDownY;
    left = std::max(left, boundLeft);
    top = std::max(top, boundTop);
    if (top + m_fBandHeight > boundBottom) top = boundBottom - m_fBandHeight;
    if (left + m_fBandWidth > boundRight) left = boundRight - m_fBandWidth;
    m_preview.SetRegionRect(left, top, m_fBandWidth, m_fBandHeight);
  } else {
    const float endX = std::min(std::max(static_cast<float>(x), boundLeft), boundRight);
    const float endY = std::min(std::max(static_cast<float>(y), boundTop), boundBottom);
    m_preview.SetRegionRect(static_cast<float>(m_nDownX), static_cast<float>(m_nDownY), endX - m_nDownX,
                            endY - m_nDownY);
  }
}

void CVexRetouchDlg::OnMouseUpPreview(short, short, LONG, LONG) {
  if (m_nBandState != 2 && m_nBandState != 3) return;
  const bool drawn = m_nBandState == 3;
  m_nBandState = 1;
  m_fBandLeft = m_preview.GetRegionLeft();
  m_fBandTop = m_preview.GetRegionTop();
  m_fBandWidth = m_preview.GetRegionWidth();
  m_fBandHeight = m_preview.GetRegionHeight();
  if (drawn) FinishBand();
}

void CVexRetouchDlg::FinishBand() {
  m_preview.SetFlag160(FALSE);
  float left = m_preview.GetRegionLeft(), top = m_preview.GetRegionTop();
  float width = m_preview.GetRegionWidth(), height = m_preview.GetRegionHeight();
  if (width < 0) left += width, width = -width;
  if (height < 0) top += height, height = -height;
  m_preview.SetRegionRect(left, top, width, height);
  m_fBandLeft = left, m_fBandTop = top, m_fBandWidth = width, m_fBandHeight = height;
  if (width >= 5 && height >= 5) {
    m_preview.SetRegionEnabled(TRUE);
  } else {
    m_preview.SetRegionEnabled(FALSE);
    m_nBandState = -1;
  }
  if (m_nPage == kWBalancePage && m_nBalanceMode != -1 && m_nSampling == 1 && width > 0 && height > 0 && m_pWBalance &&
      m_pWBalance->m_nSampleKind == CVexRetouchTabWBalance::kRectangle) {
    m_nSampleTaken = 1;
    m_nSampling = 2 + m_nBalanceMode;
    m_pWBalance->EnableStart(TRUE);
  }
}

BOOL CVexRetouchDlg::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) {
  if (m_nCursorMode >= 1 && m_nCursorMode <= 3) {
    if (HCURSOR cursor = ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(kSampleCursors[m_nCursorMode]))) {
      ::SetCursor(cursor);
      return TRUE;
    }
  }
  return CDialog::OnSetCursor(wnd, hitTest, message);
}

void CVexRetouchDlg::OnMouseMove(UINT flags, CPoint point) {
  // The dialog hears the mouse only away from the preview.
  m_nCursorMode = 0;
  CDialog::OnMouseMove(flags, point);
}
