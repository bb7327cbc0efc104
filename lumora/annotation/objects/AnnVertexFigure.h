// CAnnVertexFigure: what the polygon, the polyline and the freehand curve share. The
// vertices are kept in the object's frame; the state's four points are the corners of
// their bounding box (0 min/min, 1 min x/max y, 2 max/max, 3 max x/min y), and after
// recentring the origin is that box's centre. A figure is placed click by click with an
// inverted rubber band, then moved, scaled by a corner, turned, and reshaped vertex by
// vertex in vertex-edit mode (1); each edit is committed on release, or undone when the
// box collapses.
#pragma once
#include <cstdlib>

#include "AnnObj.h"

class CAnnVertexFigure : public CAnnObj {
 public:
  void SaveState() override;
  void RestoreState() override;
  void Recenter(CPoint point) override;
  void DrawHandles(HDC hdc) override;
  void Move(HDC hdc, CPoint point) override;
  void Resize(HDC hdc, CPoint point, int handle) override;
  void EditVertex(HDC hdc, CPoint point, int op) override;
  void Rotate(HDC hdc, CPoint point, int handle) override;
  void DrawXor(HDC hdc) override;
  int CreateDrag(HDC hdc, CPoint point) override;
  int HitTest(int x, int y) override;
  void OnButtonDown(HDC hdc, int handle, CPoint point, double scale = 1.0) override;
  void OnMouseMove(HDC hdc, UINT flags, CPoint point, double scale = 1.0) override;
  void OnButtonUp(HDC hdc, UINT flags, CPoint point, double scale = 1.0) override;
  void DrawRubberSegment(HDC hdc, UINT flags, CPoint point) override;
  void FinishFigure(HDC hdc, UINT flags, CPoint point, double scale = 1.0) override;
  double GetLength() const override;
  SHORT DeleteSelectedVertex() override;
  int HitTestHandleScreen(int x, int y) override;

  // Inverts an open path of picture points with a black pen of the pen width; drawing it
  // twice leaves the picture as it was.
  void DrawRubberPath(HDC hdc, const std::vector<POINT>& path);
  // Takes the creation band from the vertices to its end and draws it to local point q.
  void MoveRubberEnd(HDC hdc, const std::vector<CPoint>& vertices, CPoint q);
  // A vertex mark at window point w: the whole square inverted, or only its outline.
  void DrawVertexHandle(HDC hdc, CPoint w, int filled);

  const std::vector<CPoint>& GetVertices() const { return m_vertices; }
  void SetVertices(std::vector<CPoint> vertices) { m_vertices = std::move(vertices); }
  int IsFigureStarted() const { return m_figureStarted; }
  CPoint GetRubberEnd() const { return m_rubberEnd; }
  int GetHitEdge() const { return m_hitEdge; }
  int GetHitVertex() const { return m_hitVertex; }
  int GetSelectedVertex() const { return m_selectedVertex; }

 protected:
  // Whether the last vertex joins the first.
  virtual bool IsClosed() const = 0;
  // Whether a press near vertex 0 closes the figure while it is being placed.
  virtual bool ClosesOnFirstVertex() const { return IsClosed(); }
  // The inside test of a filled figure.
  virtual bool HitsInside() const { return false; }

  // The corner squares and the frame of the box, in window pixels.
  void DrawCornerFrame(HDC hdc);
  // Places the first vertex at picture point p.
  void StartFigure(CPoint p);
  // Ends the creation with the figure kept.
  void EndFigure();
  // The drag of an edit by the hit code: a corner scales (turns in mode 2), a vertex or
  // edge press moves that vertex when `vertexEdits`, anything else on the figure moves it.
  void DragEdit(HDC hdc, CPoint point, bool vertexEdits);
  // Commits the dragged corners, undoes a collapsed box when `undoCollapse`, recentres.
  void CommitEdit(CPoint point, bool undoCollapse);
  // Picture points of the vertices.
  std::vector<POINT> ImageVertices() const { return ToImagePoints(m_vertices); }
  // Sum of the edges' lengths; `closed` adds the edge back to vertex 0.
  double PathLength(bool closed) const;
  // The clone with the vertices; nothing else of the figure's own fields.
  template <class Kind>
  std::unique_ptr<CAnnObj> CloneFigure() const {
    std::unique_ptr<CAnnObj> copy = CloneAs<Kind>();
    if (!copy) return nullptr;
    try {
      static_cast<CAnnVertexFigure&>(*copy).m_vertices = m_vertices;
    } catch (const std::bad_alloc&) {
      return nullptr;
    }
    return copy;
  }

  int m_figureStarted = 0;
  CPoint m_rubberEnd{0, 0};  // picture point where the creation band ends
  int m_hitEdge = -1;        // edge i runs from vertex i to vertex i + 1
  int m_hitVertex = -1;
  int m_selectedVertex = -1;

 private:
  static bool Within(CPoint a, CPoint b, int t) { return std::abs(a.x - b.x) <= t && std::abs(a.y - b.y) <= t; }
  void ScaleFromSaved(double sx, double sy);
};
