// SECDTSpinGadget: the date/time control's up-down button. A press steps the active field
// once; held, it repeats after 500 ms every 100 ms, in steps that grow with the repeats.
#pragma once
#include "SECDTGadget.h"

class SECDTSpinGadget : public SECDTGadget {
  DECLARE_DYNCREATE(SECDTSpinGadget)
 public:
  // State bits.
  enum { UpPressed = 0x1, DownPressed = 0x2, TrackUp = 0x4, TrackDown = 0x8, TimerOn = 0x10, FirstDelay = 0x20 };

  SECDTSpinGadget() { m_nStyle = WantMouse; }

  void CalcSize(CDC& dc) override;
  void Draw(CDC& dc) override;
  void OnLButtonDown(UINT nFlags, CPoint point) override;
  void OnLButtonUp(UINT nFlags, CPoint point) override;
  void OnMouseMove(UINT nFlags, CPoint point) override;
  void OnCancelMode() override;
  void OnTimer() override;

  int GetState() const { return m_nState; }
  int GetRepeatCount() const { return m_nRepeat; }

 protected:
  CRect UpRect() const;
  CRect DownRect() const;
  void DrawHalf(CDC& dc, const CRect& rect, BOOL bPressed, BOOL bUp);
  void Release();

  int m_nState = 0;
  int m_nRepeat = 0;
};
