// CAnnObj: one annotation drawn over a picture. It keeps its editable state twice (what is
// drawn, and what it was when the current edit began), its defining points in its own
// unrotated frame, and the transforms between that frame, picture pixels and window
// pixels. Each kind overrides the operations it needs; the base ones do nothing.
#pragma once
#include <afxwin.h>

#include <cstdint>
#include <memory>
#include <new>
#include <vector>

class CAnnObj {
 public:
  // The complete editable state of one annotation. Copying it is deep: the two records
  // share nothing afterwards.
  class CAnnObjInfo {
   public:
    CAnnObjInfo();
    virtual ~CAnnObjInfo() = default;
    CAnnObjInfo(const CAnnObjInfo&) = default;
    CAnnObjInfo& operator=(const CAnnObjInfo&) = default;

    void SetPenWidth(int w) { m_penWidth = w; }
    void SetStyleCode(int code) { m_styleCode = code; }
    void SetLineType(int type) { m_lineType = type; }
    void SetPenColor(COLORREF c) { m_penColor = c; }
    void SetFillColor(COLORREF c) { m_fillColor = c; }
    void SetSquare(int on) { m_square = on; }
    void SetFill(int on) { m_fill = on; }
    void SetFont(LOGFONTA font) { m_font = font; }
    // Tenths of a point, as the font chooser gives it; the LOGFONT keeps its own height.
    void SetFontSize(int size) { m_fontSize = size; }
    void SetScrollOffset(int x, int y) { m_scroll = CPoint(x, y); }
    // A zoom that is not a positive finite number is ignored: the window step divides by it.
    void SetZoom(double zoom);
    void ClearPoints() {
      m_points.clear();
      m_rubberPoints.clear();
    }

    int m_flag = 0;
    std::vector<CPoint> m_points;        // committed defining points (local): what Draw shows
    std::vector<CPoint> m_rubberPoints;  // working points being dragged (local): the rubber band
    double m_cos = 1.0, m_sin = 0.0;     // rotation
    CPoint m_origin{0, 0};               // picture point of the local (0, 0)
    CString m_label;                     // text of a text box, label of a scale bar
    LOGFONTA m_font{};
    int m_fontSize = 11;
    int m_penWidth = 1;
    int m_styleCode = 0;  // arrow heads of a line; 4 marks a measuring line
    int m_lineType = 0;   // shown and returned by the property dialogs; drawing is always solid
    int m_square = 0;
    COLORREF m_penColor = 0;
    COLORREF m_fillColor = 0;
    int m_fill = 0;         // 1: filled
    CPoint m_scroll{0, 0};  // picture point at the window's top left corner
    SHORT m_divide = 0;     // parts of a scale bar
    double m_zoom = 1.0;    // picture pixels per window pixel
  };

  CAnnObj() = default;
  virtual ~CAnnObj() = default;
  CAnnObj(const CAnnObj&) = delete;
  CAnnObj& operator=(const CAnnObj&) = delete;

  void SetMode(int mode) { m_mode = mode; }
  int GetMode() const { return m_mode; }
  void SetHandlesShown(int shown) { m_handlesShown = shown; }
  int AreHandlesShown() const { return m_handlesShown; }
  int IsCreating() const { return m_creating; }
  void SetCreating(int creating) { m_creating = creating; }
  int IsSelected() const { return m_selected; }
  void SetAnchor(CPoint point) { m_anchor = point; }
  void ClearAnchor() { m_anchor = CPoint(0, 0); }
  CPoint GetAnchor() const { return m_anchor; }
  void SetOrigin(CPoint point) { m_info.m_origin = point; }
  CPoint GetOrigin() const { return m_info.m_origin; }
  int GetHitHandle() const { return m_hitHandle; }
  void SetHitHandle(int code) { m_hitHandle = code; }
  void SetDialogFailed(int failed) { m_dialogFailed = failed; }
  int GetDialogFailed() const { return m_dialogFailed; }
  int GetHandleSize() const { return m_handleSize; }
  // A word the display hands every new object; nothing depends on it.
  void SetOption(int option) { m_option = option; }
  // Whether the display draws the object: a discarded one is not drawn.
  int IsEnabled() const { return m_valid; }

  CAnnObjInfo& GetInfo() { return m_info; }
  const CAnnObjInfo& GetInfo() const { return m_info; }
  const CAnnObjInfo& GetSavedInfo() const { return m_saved; }

  // Points of the current state. An index outside the list reads (0, 0) and writes nothing.
  int GetWorkingCount() const { return static_cast<int>(m_info.m_rubberPoints.size()); }
  void ClearWorking() { m_info.m_rubberPoints.clear(); }
  CPoint PointAt(int i) const { return At(m_info.m_points, i); }
  void AddPoint(CPoint p) { m_info.m_points.push_back(p); }
  void SetPointAt(int i, CPoint p) { Put(m_info.m_points, i, p); }
  CPoint WorkingAt(int i) const { return At(m_info.m_rubberPoints, i); }
  void AddWorking(CPoint p) { m_info.m_rubberPoints.push_back(p); }
  void SetWorkingAt(int i, CPoint p) { Put(m_info.m_rubberPoints, i, p); }

  // The transforms, with the rotation and origin of the current state; each changes the
  // point in place and returns it. Conversions from doubles truncate toward zero.
  CPoint& RotatePoint(CPoint& p) const;
  CPoint& UnrotatePoint(CPoint& p) const;
  CPoint& AddOrigin(CPoint& p) const;
  CPoint& SubtractOrigin(CPoint& p) const;
  static double MinOf(double a, double b) { return a < b ? a : b; }
  static double MaxOf(double a, double b) { return a > b ? a : b; }
  // Turns the object by the angle from (grabbed - pivot) to (mouse - pivot), all local.
  void ApplyDragRotation(CPoint grabbed, CPoint mouse, CPoint pivot);

  // The operations the display drives. A trailing scale is part of the calling
  // convention and unused: the state's zoom and scroll offset are set before each call.
  virtual void SaveState();
  virtual void RestoreState();
  virtual int Select(int x, int y, double scale = 1.0);
  virtual void Recenter(CPoint point) {}
  virtual void DrawPoints(HDC hdc, const std::vector<CPoint>& points) {}
  // Reads the state and writes only the handle size, so a save may draw while the
  // display is idle.
  virtual void Draw(HDC hdc, double scale = 1.0) {}
  virtual void DrawHandles(HDC hdc) {}
  virtual void Move(HDC hdc, CPoint point) {}
  virtual void Resize(HDC hdc, CPoint point, int handle) {}
  virtual void EditVertex(HDC hdc, CPoint point, int op) {}
  virtual void RotateText(HDC hdc, UINT flags, CPoint point, int handle) {}
  virtual void Rotate(HDC hdc, CPoint point, int handle) {}
  virtual void DrawXor(HDC hdc) {}
  virtual int CreateDrag(HDC hdc, CPoint point) { return 1; }
  virtual int HitTest(int x, int y) { return -1; }
  virtual void OnButtonDown(HDC hdc, int handle, CPoint point, double scale = 1.0) {}
  virtual void OnMouseMove(HDC hdc, UINT flags, CPoint point, double scale = 1.0) {}
  virtual void OnButtonUp(HDC hdc, UINT flags, CPoint point, double scale = 1.0) {}
  virtual void DrawRubberSegment(HDC hdc, UINT flags, CPoint point) {}
  virtual void FinishFigure(HDC hdc, UINT flags, CPoint point, double scale = 1.0) {}
  // A new object of the same kind with a copy of the current state; null when memory
  // runs out. The caller owns it.
  virtual std::unique_ptr<CAnnObj> Clone() const { return nullptr; }
  virtual int GetKind() const { return 0; }
  virtual double GetLength() const { return 0.0; }
  virtual void SetValid(int valid) { m_valid = valid; }
  virtual int IsValid() const { return m_valid; }
  virtual SHORT DeleteSelectedVertex() { return 0; }
  virtual void EditProperties(HDC hdc) {}
  virtual int HitTestHandleScreen(int x, int y) { return -1; }
  virtual int CanRotate() { return 1; }

 protected:
  CPoint LocalToImage(CPoint p) const { return AddOrigin(RotatePoint(p)); }
  // The picture points of the first `count` local points (all of them by default); empty
  // when they cannot be held.
  std::vector<POINT> ToImagePoints(const std::vector<CPoint>& local, size_t count = SIZE_MAX) const;
  CPoint ImageToLocal(CPoint q) const { return UnrotatePoint(SubtractOrigin(q)); }
  CPoint ImageToWindow(CPoint q) const;
  // A handle is 8 window pixels wide whatever the zoom.
  void SetHandleSizeFromZoom() { m_handleSize = static_cast<int>(8.0 * m_info.m_zoom); }
  // How far from an outline a press still hits it, in picture pixels.
  double HitTolerance() const { return MaxOf(3.0 * m_info.m_zoom, m_info.m_penWidth / 2.0 + 3.0); }

  // The clone's state is this one's; it is not being created and keeps the valid flag.
  template <class Kind>
  std::unique_ptr<CAnnObj> CloneAs() const {
    try {
      std::unique_ptr<CAnnObj> copy = std::make_unique<Kind>();
      copy->m_info = m_info;
      copy->m_creating = 0;
      copy->m_valid = m_valid;
      return copy;
    } catch (const std::bad_alloc&) {
      return nullptr;
    }
  }

  int m_handleSize = 8;    // picture pixels
  int m_handlesShown = 0;  // set by the display while the object shows its handles
  int m_creating = 1;
  int m_selected = 0;
  int m_mode = 0;         // 0 normal, 1 vertex edit, 2 rotate
  int m_hitHandle = -1;   // hit code of the last press; steers the drag
  CPoint m_anchor{0, 0};  // last mouse point of the current drag
  int m_valid = 0;
  CAnnObjInfo m_info;                   // current state
  CAnnObjInfo m_saved;                  // state when the current edit began
  std::vector<CPoint> m_vertices;       // vertex kinds only (local)
  std::vector<CPoint> m_savedVertices;  // their copy taken with the saved state
  int m_dialogFailed = 0;
  int m_option = 0;

 private:
  static CPoint At(const std::vector<CPoint>& list, int i) {
    return i >= 0 && static_cast<size_t>(i) < list.size() ? list[static_cast<size_t>(i)] : CPoint(0, 0);
  }
  static void Put(std::vector<CPoint>& list, int i, CPoint p) {
    if (i >= 0 && static_cast<size_t>(i) < list.size()) list[static_cast<size_t>(i)] = p;
  }
};
