// CControlBarInfo: the saved state of one control bar or dock bar, as the dock state
// keeps it, with its profile form (one section a bar).
#pragma once
#include "AfxCollections.h"
#include "CRect.h"

class CControlBar;
class CDockState;

struct CControlBarInfo {
  CControlBarInfo();
  virtual ~CControlBarInfo() = default;

  // Writes the record into section "<profile>-Bar<index>" (emptied first), only the keys
  // that differ from their defaults. FALSE, writing nothing, for a record not worth
  // keeping: a visible docked dock bar at no place with at most one id.
  BOOL SaveState(LPCSTR lpszProfileName, int nIndex);
  // Reads the record back with the defaults of the unwritten keys; the positions are
  // scaled by the dock state's screen sizes. A bar-id count below 0 or above
  // kMaxBarIDs reads no ids.
  BOOL LoadState(LPCSTR lpszProfileName, int nIndex, CDockState* pDockState);
  // The record does not deserve a section or node of its own.
  BOOL IsEmptyDockBar() const;

  // A frame holds at most 256 control bars (the framework's span of bar ids, 0xE800 to
  // 0xE8FF). A dock bar lists each of them once at most, with a row end after each and one
  // before the first: longer lists are damage, and are not read.
  static constexpr int kMaxFrameBars = 256;
  static constexpr int kMaxBarIDs = 2 * kMaxFrameBars + 1;

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

// The entries of an id list are 32-bit values kept in pointer-sized slots.
inline UINT BarIDAt(const CPtrArray& ids, INT_PTR i) {
  return static_cast<UINT>(reinterpret_cast<UINT_PTR>(ids[i]));
}
inline void* BarIDEntry(UINT id) { return reinterpret_cast<void*>(static_cast<UINT_PTR>(id)); }
