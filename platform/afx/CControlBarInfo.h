// CControlBarInfo: the saved state of one control bar or dock bar, as the dock state
// keeps it (its stores come with the dock state).
#pragma once
#include "AfxCollections.h"
#include "CRect.h"

class CControlBar;

struct CControlBarInfo {
  CControlBarInfo();
  virtual ~CControlBarInfo() = default;

  UINT m_nBarID = 0;        // the bar's control id
  BOOL m_bVisible = FALSE;  // counting a delayed show or hide
  BOOL m_bFloating = FALSE; // a dock bar inside a floating frame
  BOOL m_bHorz = FALSE;     // a dock bar along a top or bottom edge
  BOOL m_bDockBar = FALSE;  // the record is a dock bar's
  CPoint m_pointPos;        // in the dock bar; a floating dock bar's frame on the screen
  UINT m_nMRUWidth = 32767;
  BOOL m_bDocking = FALSE;  // the bar can dock: the MRU fields below are its dock context's
  UINT m_uMRUDockID = 0;
  CRect m_rectMRUDockPos;
  DWORD m_dwMRUFloatStyle = 0;
  CPoint m_ptMRUFloatPos;
  // A dock bar's rows: a bar's id, 0 at each row end, id | 0x10000 for a placeholder.
  CPtrArray m_arrBarID;
  CControlBar* m_pBar = nullptr;  // not saved
};
