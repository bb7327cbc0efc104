// CAnnText: one line of text over the picture in a chosen font and colour, optionally on
// a filled background. One press opens the text dialog and places a box the size of the
// text; the box moves and turns by its corners but is never resized by a drag. A turn
// is parked while the font cannot be rotated and comes back when it can.
#pragma once
#include "AnnBox.h"

class CAnnText : public CAnnBox {
 public:
  void Draw(HDC hdc, double scale = 1.0) override;
  void Resize(HDC hdc, CPoint point, int handle) override {}
  void Rotate(HDC hdc, CPoint point, int handle) override {}
  void RotateText(HDC hdc, UINT flags, CPoint point, int handle) override;
  int HitTest(int x, int y) override;
  void OnButtonDown(HDC hdc, int handle, CPoint point, double scale = 1.0) override;
  void OnMouseMove(HDC hdc, UINT flags, CPoint point, double scale = 1.0) override;
  void OnButtonUp(HDC hdc, UINT flags, CPoint point, double scale = 1.0) override;
  std::unique_ptr<CAnnObj> Clone() const override { return CloneAs<CAnnText>(); }
  int GetKind() const override { return 9; }
  void EditProperties(HDC hdc) override;
  // Only fonts the system can turn (stroke precision) allow rotate mode.
  int CanRotate() override { return m_info.m_font.lfOutPrecision == OUT_STROKE_PRECIS ? 1 : 0; }

  // Rebuilds the corners around the text's extent in its font; P0 stays where it is.
  void FitBoxToText(HDC hdc);
  // The drag rotation with the result put on the nearest multiple of 45 degrees.
  void ApplySnappedRotation(CPoint grabbed, CPoint mouse, CPoint pivot);

  int IsTextAccepted() const { return m_textAccepted; }
  int IsRotationParked() const { return m_parked; }
  double GetParkedCos() const { return m_parkedCos; }
  double GetParkedSin() const { return m_parkedSin; }

 private:
  // The text's extent in the state's font as stored (without the drawing angle).
  CSize MeasureText(HDC hdc) const;

  double m_parkedCos = 1.0;  // the rotation kept while the font cannot turn
  double m_parkedSin = 0.0;
  int m_parked = 0;
  int m_textAccepted = 0;  // the text dialog's last answer was OK
};
