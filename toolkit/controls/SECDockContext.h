// SECDockContext: drags, floats, docks, resizes and toggles an SECControlBar. It keeps
// the framework's scheme and adds a status-bar hint while dragging, docking only after
// a floating bar has moved more than 4 pixels, a cursor-inside test for vertical
// docking, size limits for freely sizable floating bars, insertion feedback from the
// library's dock bars, and the library's frames' own docking operations.
#pragma once
#include <afxext.h>

#include "framework/SECDockBar.h"

class SECDockContext : public CDockContext {
 public:
  explicit SECDockContext(CControlBar* pBar);
  ~SECDockContext() override;

  void StartDrag(CPoint pt) override;
  void StartResize(int nHitTest, CPoint pt) override;
  void ToggleDocking() override;
  virtual void FloatInMainWindow();

  // Used in place of the framework's operations of the same names.
  void Move(CPoint pt);
  void EndDrag();
  void Stretch(CPoint pt);
  void EndResize();
  void CancelLoop();
  void DrawFocusRect(BOOL bRemoveRect = FALSE);
  DWORD CanDock();
  BOOL Track();

  CRect m_rectInsertion;       // the feedback rectangle of a library dock bar
  CPoint m_ptStart;            // where the drag began (screen)
  int m_nInsertionValue = 0;   // given to a library dock bar with the feedback request
  int m_nReserved = 0;
  int m_nInsertionIndex = -1;  // where a library dock bar would put the bar
  BOOL m_bWasFloating = FALSE; // floated before it floated in the main window
  CPoint m_ptMRUMDIChildPos{-1, -1};  // screen top-left of the MDI child that last held the bar
  CSize m_sizeMinFloat;
  CSize m_sizeMaxFloat;
  SECDockTrackState m_trackState;  // a library dock bar's memory during one drag

 protected:
  // Moved more than 4 pixels (|dx| + |dy|) from where the drag began.
  BOOL MovedFarEnough() const;
  // The bar is a freely sizable library bar (not of dynamic size).
  BOOL IsFreelySizable() const;
  // The border widths a floating frame's position gives up for bars other than toolbars.
  CPoint FloatPosition(CPoint topLeft) const;
  // Ctrl (no docking) or Shift (the other orientation) pressed or released mid-drag.
  void UpdateKeyState(BOOL* pFlag, BOOL bNewValue);
  void DockThroughFrame(CDockBar* pDockBar, LPCRECT lpRect);
  void ReDockThroughFrame(CDockBar* pDockBar, LPCRECT lpRect);
  void FloatThroughFrame(CPoint point, DWORD dwStyle);
  // Moves the floating frame of a bar just floated from its dock onto the work area.
  void KeepFloatingFrameOnScreen();
};
