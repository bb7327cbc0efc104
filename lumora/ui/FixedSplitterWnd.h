// CFixedSplitterWnd: a splitter whose bars can be locked, so that a fixed layout cannot
// be changed with the mouse.
#pragma once
#include <afxext.h>

class CFixedSplitterWnd : public CSplitterWnd {
 public:
  void SetLocked(int locked) { m_bLocked = locked; }
  int IsLocked() const { return m_bLocked; }

 protected:
  // While locked the bars get only the default window handling: no drag, no split cursor.
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  DECLARE_MESSAGE_MAP()

 private:
  int m_bLocked = 0;
};
