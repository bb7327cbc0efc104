// Where CVexDisplayOutput hands over to annotation editing and the scale overlay: the
// mouse of a still picture as picture points with key flags, the redraw of a still
// picture, the burn-in for saving and the scale steps of Output. This display has no
// objects and no overlay yet; every path here keeps that state consistent.
#include "VexDisplayOutput.h"

#include "binding/CLead.h"
#include "control/VexBufferControl.h"
#include "control/VexDoc.h"

void CVexDisplayOutput::SetAnnotationMode(int on) {
  std::lock_guard<std::recursive_mutex> guard(m_annotationLock);
  m_bAnnotationMode = m_bAnnotationLayer = on == 1 ? 1 : 0;
  m_nDrawingTool = 0;
}

int CVexDisplayOutput::AbandonUnfinishedAnnotation() {
  std::lock_guard<std::recursive_mutex> guard(m_annotationLock);
  // Nothing is being drawn without a current object.
  return 0;
}

// Without objects or an overlay there is nothing to burn into a saved picture.
void CVexDisplayOutput::BurnAnnotations(HDC) {}
void CVexDisplayOutput::BurnScaleOverlay(HDC) {}

double CVexDisplayOutput::GetImageScale() const {
  CLead* lead = Lead();
  if (!lead) return 1.0;
  const short mode = lead->GetPaintSizeMode();
  const float zoom = lead->GetPaintZoom();
  return (mode == 3 || mode == 4) && zoom != 0 ? 100.0 / zoom : 1.0;
}

CPoint CVexDisplayOutput::GetScrollOffset() const {
  CLead* lead = Lead();
  if (!lead) return {0, 0};
  switch (lead->GetPaintSizeMode()) {
    case 0: return {-LONG(lead->GetDisplayLeft()), -LONG(lead->GetDisplayTop())};
    case 4: {
      const double s = GetImageScale();
      return {-LONG(lead->GetDisplayLeft() * s), -LONG(lead->GetDisplayTop() * s)};
    }
    default: return {0, 0};
  }
}

int CVexDisplayOutput::ButtonStateToKeyFlags(short button, short shift) {
  if ((button != 1 && button != 2) || shift < 0 || shift > 3) return 0;
  static constexpr int kShift[] = {0, 4, 8, 12};  // none, Shift, Control, both
  return button + kShift[shift];
}

void CVexDisplayOutput::ForwardMouseDown(short button, short shift, LONG x, LONG y) {
  const double f = GetImageScale();
  const CPoint offset = GetScrollOffset();
  const CPoint p(LONG(x * f) + offset.x, LONG(y * f) + offset.y);
  m_ptLastPress = p;
  const UINT flags = static_cast<UINT>(ButtonStateToKeyFlags(button, shift));
  if (button == 1)
    OnAnnButtonDown(flags, p.x, p.y, x, y);
  else
    OnAnnOtherButtonDown(flags, p.x, p.y);
}

void CVexDisplayOutput::ForwardMouseMove(short button, short shift, LONG x, LONG y) {
  const double f = GetImageScale();
  const CPoint offset = GetScrollOffset();
  OnAnnMouseMove(static_cast<UINT>(ButtonStateToKeyFlags(button, shift)), LONG(x * f) + offset.x,
                 LONG(y * f) + offset.y);
}

void CVexDisplayOutput::ForwardMouseUp(short button, short shift, LONG x, LONG y) {
  if (button != 1) return;
  const double f = GetImageScale();
  const CPoint offset = GetScrollOffset();
  OnAnnButtonUp(static_cast<UINT>(ButtonStateToKeyFlags(button, shift)), LONG(x * f) + offset.x,
                LONG(y * f) + offset.y);
}

// Without objects a press, a move, a release or a double click changes nothing.
void CVexDisplayOutput::OnAnnButtonDown(UINT, int, int, int, int) {}
void CVexDisplayOutput::OnAnnOtherButtonDown(UINT, int, int) {}
void CVexDisplayOutput::OnAnnMouseMove(UINT, int, int) {}
void CVexDisplayOutput::OnAnnButtonUp(UINT, int, int) {}
void CVexDisplayOutput::OnAnnDoubleClick(UINT, int, int) {}

// Handles belong to selected objects; there are none to draw.
void CVexDisplayOutput::DrawSelectionHandles() {}

void CVexDisplayOutput::DrawAnnotations() {
  CVexDoc* doc = GetDocument();
  CLead* lead = Lead();
  {
    std::lock_guard<std::recursive_mutex> guard(m_annotationLock);
    if (m_objects.GetSize() == 0 && doc) doc->SetAnnotationsDrawn(0);
  }
  if (lead) lead->ForceRepaint();
}

void CVexDisplayOutput::DrawScaleOverlay() {
  CVexDoc* doc = GetDocument();
  CLead* lead = Lead();
  if (!doc || !lead || (doc->GetImageState() != 1 && doc->GetImageState() != 2)) return;
  {
    // The picture is only taken for drawing when there is an overlay to draw.
    std::lock_guard<std::recursive_mutex> guard(m_annotationLock);
    if (!m_bScalePresent || !m_pScale) doc->SetScaleDrawn(0);
  }
  lead->ForceRepaint();
}

void CVexDisplayOutput::DrawLiveScale(CDC&) {
  CVexDoc* doc = GetDocument();
  if (!doc) return;
  std::lock_guard<std::recursive_mutex> guard(m_annotationLock);
  doc->GetSelectedScale(m_scaleInfo);
}

void CVexDisplayOutput::SetScaleCache(int fineMode, SHORT bufferSize, int turned) {
  std::lock_guard<std::recursive_mutex> guard(m_annotationLock);
  m_nCacheFineMode = fineMode;
  m_nCacheBufferSize = bufferSize;
  m_nCacheTurned = turned;
}

void CVexDisplayOutput::SetScaleEditMode(int on) {
  std::lock_guard<std::recursive_mutex> guard(m_annotationLock);
  m_bScaleEditing = m_bAnnotationLayer = on == 1 ? 1 : 0;
  m_nDrawingTool = 0;
}

void CVexDisplayOutput::UpdateScaleOverlay(int live) {
  if (CVexDoc* doc = GetDocument()) {
    std::lock_guard<std::recursive_mutex> guard(m_annotationLock);
    m_nResizeCache = static_cast<int>(doc->GetResizeSave());
  }
  if (!live) ReloadCurrentImage();
}

void CVexDisplayOutput::PlaceScaleOverlay(int live, int) {
  CVexDoc* doc = GetDocument();
  if (!doc) return;
  {
    std::lock_guard<std::recursive_mutex> guard(m_annotationLock);
    doc->GetSelectedScale(m_scaleInfo);
    m_nDrawingTool = 9;
    m_nCacheFineMode = static_cast<int>(doc->GetFineMode());
    m_nCacheBufferSize = doc->GetShootBufferSize();
    m_nCacheTurned = static_cast<int>(doc->GetDir90());
  }
  if (live) return;
  ReloadCurrentImage();
  std::lock_guard<std::recursive_mutex> guard(m_annotationLock);
  m_bAnnotationLayer = 1;
}

// No measuring line is drawn yet: a calibration only switches the mode, and its length
// stays what the last one gave.
void CVexDisplayOutput::BeginCalibration() {
  std::lock_guard<std::recursive_mutex> guard(m_annotationLock);
  m_bCalibrating = 1;
  m_bAnnotationLayer = 1;
}

void CVexDisplayOutput::ApplyCalibration() {
  std::lock_guard<std::recursive_mutex> guard(m_annotationLock);
  m_bCalibrating = 0;
}

int CVexDisplayOutput::GetCalibrationLength() const { return m_nCalibrationLength; }
