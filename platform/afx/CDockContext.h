// CDockContext: drags a control bar with the mouse (outlines drawn on the desktop),
// docks it where it is dropped over a dock bar or floats it elsewhere, resizes a
// floating bar by its frame's border, and toggles it between docked and floating.
#pragma once
#include <functional>

#include "CControlBar.h"
#include "CDC.h"

class CDockBar;

class CDockContext {
 public:
  explicit CDockContext(CControlBar* pBar);
  virtual ~CDockContext();
  CDockContext(const CDockContext&) = delete;
  CDockContext& operator=(const CDockContext&) = delete;

  virtual void StartDrag(CPoint pt);
  virtual void StartResize(int nHitTest, CPoint pt);
  virtual void ToggleDocking();

  void Move(CPoint pt);
  void EndDrag();
  void Stretch(CPoint pt);
  void EndResize();
  void OnKey(int nChar, BOOL bDown);
  void UpdateState(BOOL* pFlag, BOOL bNewValue);
  DWORD CanDock();
  CDockBar* GetDockBar(DWORD dwOverDockStyle);
  void InitLoop();
  void CancelLoop();
  void DrawFocusRect(BOOL bRemoveRect = FALSE);
  BOOL Track();

  CPoint m_ptLast;
  CRect m_rectLast;
  CSize m_sizeLast;
  BOOL m_bDitherLast = FALSE;
  CRect m_rectDragHorz;
  CRect m_rectDragVert;
  CRect m_rectFrameDragHorz;
  CRect m_rectFrameDragVert;
  CControlBar* m_pBar;
  CFrameWnd* m_pDockSite;
  DWORD m_dwDockStyle = 0;
  DWORD m_dwOverDockStyle = 0;
  DWORD m_dwStyle = 0;
  BOOL m_bFlip = FALSE;       // Shift: the other orientation
  BOOL m_bForceFrame = FALSE; // Ctrl: no docking
  CDC* m_pDC = nullptr;       // the desktop's, during a drag
  BOOL m_bDragging = FALSE;
  int m_nHitTest = 0;
  UINT m_uMRUDockID = 0;
  CRect m_rectMRUDockPos;
  DWORD m_dwMRUFloatStyle = 0;
  CPoint m_ptMRUFloatPos;
};

// The drag loop of a dock context, shared by the library's own: while `capture` holds
// the mouse, a move (client or non-client) goes to `move` with its screen point, Ctrl
// and Shift to `key`; a left release calls `end` and answers TRUE; Escape, a right press
// or losing the capture call `cancel` and answer FALSE. A quit is posted again.
namespace plat::afx {
struct TrackHandlers {
  std::function<void(CPoint)> move;
  std::function<void()> end;
  std::function<void(UINT nChar, BOOL bDown)> key;
  std::function<void()> cancel;
};
BOOL RunTrackLoop(HWND capture, const TrackHandlers& handlers);
}  // namespace plat::afx
