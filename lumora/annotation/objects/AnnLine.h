// CAnnLine: a straight line from P0 (where the creating drag began) to P1, with an arrow
// head at P1 (style 1), at P0 (2), at both (3) or none (0). Style 4 is the measuring line
// of a calibration: no heads, and crosses in place of the end squares. The origin is the
// midpoint, so the two ends are symmetric in the object's frame.
#pragma once
#include "AnnObj.h"

class CAnnLine : public CAnnObj {
 public:
  struct Segment {
    CPoint a, b;
  };

  void Recenter(CPoint point) override;
  void DrawPoints(HDC hdc, const std::vector<CPoint>& points) override;
  void Draw(HDC hdc, double scale = 1.0) override;
  void DrawHandles(HDC hdc) override;
  void Move(HDC hdc, CPoint point) override;
  void Resize(HDC hdc, CPoint point, int handle) override;
  void Rotate(HDC hdc, CPoint point, int handle) override;
  void DrawXor(HDC hdc) override;
  int CreateDrag(HDC hdc, CPoint point) override;
  int HitTest(int x, int y) override;
  void OnButtonDown(HDC hdc, int handle, CPoint point, double scale = 1.0) override;
  void OnMouseMove(HDC hdc, UINT flags, CPoint point, double scale = 1.0) override;
  void OnButtonUp(HDC hdc, UINT flags, CPoint point, double scale = 1.0) override;
  std::unique_ptr<CAnnObj> Clone() const override { return CloneAs<CAnnLine>(); }
  int GetKind() const override { return 3; }
  double GetLength() const override;
  void EditProperties(HDC hdc) override;
  int HitTestHandleScreen(int x, int y) override;
  // The inverted mark at a picture point while the line is being created.
  virtual void DrawEndMark(HDC hdc, CPoint point);

  void SetDrawnFlag(int flag) { m_drawn = flag; }
  int GetDrawnFlag() const { return m_drawn; }

  // The shaft between two picture end points: an end with a head is pulled back so the
  // head's outer apex lies on the end.
  Segment GetShaft(const Segment& ends) const;
  // End 0 (P0) or 1 (P1) of `segment` pulled towards the other by w along the stroke's
  // diagonal.
  static CPoint PullBackEnd(int end, const Segment& segment, int w);
  // One segment of width w as a filled quadrilateral with the DC's pen and brush; w = 1
  // is the pen's own line, w = -1 a half pixel each side. A segment without length
  // draws nothing.
  static void DrawWideSegment(HDC hdc, const Segment& segment, int w);
  // The two strokes (base, tip) of the head at end 0 or 1 of the shaft, for pen width w.
  static std::vector<Segment> ArrowStrokes(int end, const Segment& shaft, int w);
  void DrawArrowHead(HDC hdc, int end, const Segment& shaft);
  // Puts q on the nearest multiple of 45 degrees seen from r: the longer component stays.
  static void SnapTo45(CPoint r, CPoint& q);

 private:
  // The picture ends of a list of two local points; false when the list is shorter.
  bool ImageEnds(const std::vector<CPoint>& points, Segment& ends) const;
  // The shaft with width `shaftWidth` and the heads of the style; style 4 draws no head.
  void DrawShape(HDC hdc, const Segment& ends, int shaftWidth);
  void SetLineHandleSize();
  static void DrawCross(HDC hdc, CPoint c, int h);

  int m_drawn = 0;  // 1: a measuring line, marked with crosses
};
