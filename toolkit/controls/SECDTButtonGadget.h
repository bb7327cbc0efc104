// SECDTButtonGadget: the date/time control's drop-down button, which opens the popup
// calendar. Its arrow bitmap follows the system colours.
#pragma once
#include "SECDTGadget.h"

class SECDTButtonGadget : public SECDTGadget {
  DECLARE_DYNCREATE(SECDTButtonGadget)
 public:
  enum { Tracking = 0x1, Pressed = 0x2 };

  SECDTButtonGadget() { m_nStyle = WantMouse; }
  // FALSE when the bitmap cannot be loaded.
  BOOL Initialise(SECDateTimeCtrl* pCtrl, UINT nBitmapID, int nID);

  void CalcSize(CDC& dc) override;
  void Draw(CDC& dc) override;
  void OnLButtonDown(UINT nFlags, CPoint point) override;
  void OnLButtonUp(UINT nFlags, CPoint point) override;
  void OnMouseMove(UINT nFlags, CPoint point) override;
  void OnCancelMode() override;
  void OnSysColorChange() override;

  int GetState() const { return m_nState; }

 protected:
  int m_nState = 0;
  CBitmap m_bitmap;
  UINT m_nBitmapID = 0;
};
