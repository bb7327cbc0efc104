// CMiniDockFrameWnd: the small floating frame of a control bar. It holds one floating
// dock bar (id AFX_IDW_DOCKBAR_FLOAT); its caption drags the bar, its border resizes a
// bar of dynamic size, a double click on its caption docks the bar again, and closing it
// hides its bars.
#pragma once
#include <memory>

#include "CDockBar.h"
#include "CMiniFrameWnd.h"

class CMiniDockFrameWnd : public CMiniFrameWnd {
  DECLARE_DYNCREATE(CMiniDockFrameWnd)
 public:
  CMiniDockFrameWnd();

  virtual BOOL Create(CWnd* pParent, DWORD dwBarStyle);
  void RecalcLayout(BOOL bNotify = TRUE) override;

 protected:
  // A floating frame whose dock bar is of a class of its own.
  explicit CMiniDockFrameWnd(std::unique_ptr<CDockBar> pDockBar);

 private:
  std::unique_ptr<CDockBar> m_pOwnedDockBar;  // goes with this frame

 public:
  CDockBar& m_wndDockBar;

 protected:
  // The first bar of the dock bar, the one caption and border act on.
  CControlBar* FirstBar() const;
  afx_msg void OnClose();
  afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
  afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
  afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
  DECLARE_MESSAGE_MAP()
};
