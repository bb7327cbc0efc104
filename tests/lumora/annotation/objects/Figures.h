// Vertex figures driven as the display drives them: presses, moves with the button held,
// releases and double clicks, all on one picture.
#pragma once
#include <initializer_list>
#include <vector>

#include "annotation/objects/AnnVertexFigure.h"

// Presses that place a figure's vertices one by one, as the display sends them (each
// press preceded by a move to it).
inline void PlaceClicks(CAnnObj& obj, HDC hdc, std::initializer_list<CPoint> presses) {
  for (CPoint p : presses) {
    obj.OnMouseMove(hdc, 0, p, 1.0);
    obj.OnButtonDown(hdc, 0, p, 1.0);
    obj.OnButtonUp(hdc, 0, p, 1.0);
  }
}

// A double click at p: its first press places a vertex, then the figure is finished.
inline void DoubleClick(CAnnObj& obj, HDC hdc, CPoint p) {
  PlaceClicks(obj, hdc, {p});
  obj.FinishFigure(hdc, 0, p, 1.0);
}

// A press, moves with the button held, and the release at the last point.
inline void DragFigure(CAnnObj& obj, HDC hdc, CPoint from, std::initializer_list<CPoint> moves, int handle = 0) {
  obj.OnButtonDown(hdc, handle, from, 1.0);
  CPoint last = from;
  for (CPoint p : moves) {
    obj.OnMouseMove(hdc, MK_LBUTTON, p, 1.0);
    last = p;
  }
  obj.OnButtonUp(hdc, 0, last, 1.0);
}

// A finished figure with these local vertices about `origin`, recentred as a closing does.
inline void PlaceFigure(CAnnVertexFigure& fig, CPoint origin, std::vector<CPoint> vertices) {
  fig.SetOrigin(origin);
  fig.SetVertices(std::move(vertices));
  fig.SetCreating(0);
  fig.SetValid(1);
  fig.Recenter(origin);
}

// The picture points of a figure's vertices.
inline std::vector<CPoint> ImageVerticesOf(const CAnnVertexFigure& fig) {
  std::vector<CPoint> out;
  for (CPoint v : fig.GetVertices()) out.push_back(fig.AddOrigin(fig.RotatePoint(v)));
  return out;
}
