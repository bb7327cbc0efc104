// CDockState: the saved arrangement of a frame's bars: one record a bar (owned), the
// version of the form they were read from, and the screen size they were saved on, by
// which positions are scaled to the screen of today.
#pragma once
#include "CObject.h"
#include "CControlBarInfo.h"

class CDockState : public CObject {
  DECLARE_DYNAMIC(CDockState)
 public:
  CDockState();
  ~CDockState() override;

  // Deletes every record.
  void Clear();
  DWORD GetVersion() const { return m_dwVersion; }
  CSize GetScreenSize() const;
  // The screen the records were saved on; a size of 0 (either way) or the present
  // screen's turns scaling off.
  void SetScreenSize(const CSize& size);
  // Scales a saved point to the present screen; a coordinate of -1 (no place) stays.
  void ScalePoint(CPoint& pt) const;
  // Scales a saved rectangle's place and keeps its size; coordinates beyond an int's
  // range stop at its ends.
  void ScaleRectPos(CRect& rect) const;

  CPtrArray m_arrBarInfo;  // CControlBarInfo*, owned
  DWORD m_dwVersion = 2;
  BOOL m_bScaling = FALSE;
  CRect m_rectDevice;  // the present screen
  CSize m_sizeSaved;   // the saved screen
};
