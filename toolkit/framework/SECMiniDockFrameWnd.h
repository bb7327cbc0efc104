// SECMiniDockFrameWnd: the floating frame of bars torn off a library dock bar. It holds
// them in its own floating SECDockBar; its caption drags or re-docks its bar, its border
// sizes it, and closing it hides its bars.
#pragma once
#include <afxext.h>

class SECDockBar;

class SECMiniDockFrameWnd : public CMiniDockFrameWnd {
  DECLARE_DYNCREATE(SECMiniDockFrameWnd)
 public:
  SECMiniDockFrameWnd();

  BOOL Create(CWnd* pParent, DWORD dwBarStyle) override;
  void RecalcLayout(BOOL bNotify = TRUE) override;
  // Lays the bars out and, for a frame that snaps to its bars, moves and sizes the
  // frame to them at (x, y).
  virtual void RecalcLayoutAt(int x, int y);

  SECDockBar& GetDockBar();

 protected:
  // The first bar the dock bar holds: the one the caption and the border act on.
  CControlBar* FirstDockedBar() const;
  void CopyTitle();

  afx_msg void OnClose();
  afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
  afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
  afx_msg void OnParentNotify(UINT message, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};
