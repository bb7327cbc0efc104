#include "FixedSplitterWnd.h"

BEGIN_MESSAGE_MAP(CFixedSplitterWnd, CSplitterWnd)
ON_WM_LBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_SETCURSOR()
END_MESSAGE_MAP()

void CFixedSplitterWnd::OnLButtonDown(UINT nFlags, CPoint point) {
  if (m_bLocked)
    CWnd::OnLButtonDown(nFlags, point);
  else
    CSplitterWnd::OnLButtonDown(nFlags, point);
}

void CFixedSplitterWnd::OnMouseMove(UINT nFlags, CPoint point) {
  if (m_bLocked)
    CWnd::OnMouseMove(nFlags, point);
  else
    CSplitterWnd::OnMouseMove(nFlags, point);
}

BOOL CFixedSplitterWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (m_bLocked) return CWnd::OnSetCursor(pWnd, nHitTest, message);
  return CSplitterWnd::OnSetCursor(pWnd, nHitTest, message);
}
