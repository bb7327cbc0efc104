// The scale overlay of a display, built from the document's selected preset, placed,
// drawn live and still, dragged and burnt into saved pictures; and calibration, which
// measures a line drawn on the still picture.
#include <cstdio>
#include <mutex>
#include <new>

#include "VexDisplayEditing.h"
#include "annotation/objects/AnnLine.h"
#include "annotation/objects/AnnScale.h"
#include "control/VexBufferControl.h"
#include "control/VexDoc.h"

using vexedit::EditLock;
using vexedit::ImageDC;

bool CVexDisplayOutput::s_scalePlacedOnce = false;

namespace {

// The document builds the overlay's state in a record of its own, which both displays
// (one of them on the live thread) ask for.
std::mutex g_documentScaleLock;

int RoundHalfUp(double v) { return static_cast<int>(v + 0.5); }

bool IsCalibrationLine(const CAnnObj* object) {
  return object && object->GetKind() == 3 && object->GetInfo().m_styleCode == vexedit::kCalibrationStyle;
}

}  // namespace

// ---- placement ------------------------------------------------------------------------

CVexDisplayOutput::ScaleBox CVexDisplayOutput::ComputeScaleBox(int live, bool withResize) const {
  ScaleBox box;
  const CVexDoc* doc = GetDocument();
  CLead* lead = Lead();
  if (!doc) return box;
  int length = m_scaleInfo.barLength, height = m_scaleInfo.thickness;
  if (!live && withResize && doc->GetResizeSave() == 1) {
    length = RoundHalfUp(length * m_dAnnotationScale);
    height = RoundHalfUp(height * m_dAnnotationScale);
  }
  if (live) {
    length /= 6;
    height /= 6;
  } else if (doc->GetShootExposureMode() != 5) {
    length /= 3;
    height /= 3;
  }
  box.length = length;
  box.height = height;
  if (!lead) return box;
  const int left = static_cast<int>(lead->GetValue29()), top = static_cast<int>(lead->GetValue30());
  const int width = static_cast<int>(lead->GetValue31()), visible = static_cast<int>(lead->GetValue32());
  const int w = m_scaleInfo.vertical ? height : length, h = m_scaleInfo.vertical ? length : height;
  // The box's left edge 10 % in from the left, its bottom edge 10 % up from the bottom.
  box.position = CPoint(RoundHalfUp(left + w / 2 + width * 0.1), RoundHalfUp(top + visible * 0.9 - h / 2));
  return box;
}

void CVexDisplayOutput::DropScaleObject() {
  m_pScale.reset();
  m_nScaleHit = -1;
  m_bScalePresent = 0;
  m_liveScaleKey.clear();
}

void CVexDisplayOutput::PlaceScaleOverlay(int live, int force) {
  CVexDoc* doc = GetDocument();
  if (!doc) return;
  {
    EditLock lock(*this);
    doc->GetSelectedScale(m_scaleInfo);
    m_nDrawingTool = 9;
    const ScaleBox box = ComputeScaleBox(live, true);
    bool takeDefault = doc->GetResizeSave() == 1 || live;
    if (!live) {
      const SHORT state = doc->GetImageState();
      if ((state == 1 || state == 2) && !s_scalePlacedOnce) {
        s_scalePlacedOnce = true;
        takeDefault = true;
      }
      if (static_cast<int>(doc->GetFineMode()) != m_nCacheFineMode || static_cast<int>(doc->GetDir90()) != m_nCacheTurned ||
          doc->GetShootBufferSize() != m_nCacheBufferSize || force == 1)
        takeDefault = true;
    }
    if (takeDefault) m_ptScale = box.position;
    m_nCacheFineMode = static_cast<int>(doc->GetFineMode());
    m_nCacheBufferSize = doc->GetShootBufferSize();
    m_nCacheTurned = static_cast<int>(doc->GetDir90());
    if (live) {
      // A live overlay is built again only when what it is built from changed.
      const tScaleInfo& p = m_scaleInfo;
      char key[256];
      std::snprintf(key, sizeof key, "%s|%d|%d|%.6f|%d|%d|%d|%lx|%d|%lx|%d|%d|%d|%d|%.6f", static_cast<LPCSTR>(p.name),
                    int(p.vertical), int(p.thickness), p.lengthValue, int(p.unit), int(p.divide), int(p.filled),
                    static_cast<unsigned long>(p.penColor), int(p.source), static_cast<unsigned long>(p.fillColor),
                    int(p.barLength), int(m_ptScale.x), int(m_ptScale.y), int(doc->GetDir90()), GetImageScale());
      if (m_pScale && m_bScalePresent && m_liveScaleKey == key) return;
      DropScaleObject();
      if (CreateScaleOverlay(1)) m_liveScaleKey = key;
      return;
    }
    if (m_bScalePresent) DropScaleObject();
    CreateScaleOverlay(0);
  }
  RefreshPicture();
  EditLock lock(*this);
  m_bAnnotationLayer = 1;
}

void CVexDisplayOutput::UpdateScaleOverlay(int live) {
  CVexDoc* doc = GetDocument();
  if (!doc) return;
  {
    EditLock lock(*this);
    const ScaleBox box = ComputeScaleBox(live, false);
    const int resize = static_cast<int>(doc->GetResizeSave());
    if (resize != m_nResizeCache) {
      m_ptScale = box.position;
      m_nResizeCache = resize;
    }
    if (!m_bScalePresent) m_ptScale = box.position;
    if (m_bScalePresent || m_pScale) DropScaleObject();
  }
  if (!live) RefreshPicture();
}

std::unique_ptr<CAnnScale> CVexDisplayOutput::MakeScaleObject() { return std::make_unique<CAnnScale>(); }

int CVexDisplayOutput::CreateScaleOverlay(int live) {
  CVexDoc* doc = GetDocument();
  if (!doc) return 0;
  EditLock lock(*this);
  DropScaleObject();
  std::unique_ptr<CAnnScale> scale;
  try {
    scale = MakeScaleObject();
    if (!scale) throw std::bad_alloc();
  } catch (const std::bad_alloc&) {
    if (m_nSavedIndex >= 0 && m_nSavedIndex < ObjectTotal()) m_nCurrentIndex = m_nSavedIndex;
    Report(900, 1);
    return 0;
  }
  // A still picture without shot parameters has no scale.
  if (!live && m_nFineMode != 0 && m_nFineMode != 1) return 0;
  {
    std::lock_guard<std::mutex> document(g_documentScaleLock);
    const CAnnObj::CAnnObjInfo* info =
        live ? doc->GetAnnObjInfo(1, 1, 1.0) : doc->GetAnnObjInfo(0, m_nFineMode, m_dAnnotationScale);
    // An empty label: the preset has no calibration, so there is no scale.
    if (!info || info->m_label.IsEmpty()) return 0;
    scale->GetInfo() = *info;
  }
  CAnnObj::CAnnObjInfo& s = scale->GetInfo();
  s.m_flag = 0;
  s.m_origin = m_ptScale;
  s.SetZoom(GetImageScale());
  scale->SetCreating(0);
  scale->SetValid(1);
  scale->Layout();
  m_pScale = std::move(scale);
  m_bScalePresent = 1;
  return 1;
}

void CVexDisplayOutput::SetScaleCache(int fineMode, SHORT bufferSize, int turned) {
  EditLock lock(*this);
  m_nCacheFineMode = fineMode;
  m_nCacheBufferSize = bufferSize;
  m_nCacheTurned = turned;
}

void CVexDisplayOutput::SetScaleEditMode(int on) {
  EditLock lock(*this);
  m_bScaleEditing = m_bAnnotationLayer = on == 1 ? 1 : 0;
  m_nDrawingTool = 0;
}

int CVexDisplayOutput::IsScalePresent() const {
  std::lock_guard<std::recursive_mutex> guard(m_annotationLock);
  return m_bScalePresent;
}

CPoint CVexDisplayOutput::GetScalePosition() const {
  std::lock_guard<std::recursive_mutex> guard(m_annotationLock);
  return m_ptScale;
}

CAnnObj::CAnnObjInfo CVexDisplayOutput::GetScaleState() const {
  std::lock_guard<std::recursive_mutex> guard(m_annotationLock);
  return m_pScale ? m_pScale->GetInfo() : CAnnObj::CAnnObjInfo();
}

// ---- drawing --------------------------------------------------------------------------

void CVexDisplayOutput::DrawScaleOverlay() {
  CVexDoc* doc = GetDocument();
  CLead* lead = Lead();
  if (!doc || !lead || (doc->GetImageState() != 1 && doc->GetImageState() != 2)) return;
  {
    EditLock lock(*this);
    if (m_bScalePresent && m_pScale) {
      // The picture is taken for drawing only when there is an overlay to draw.
      Prepare(*m_pScale);
      m_pScale->Draw(ImageDC(lead), GetImageScale());
      doc->SetScaleDrawn(1);
    } else {
      doc->SetScaleDrawn(0);
    }
  }
  lead->ForceRepaint();
}

void CVexDisplayOutput::BurnScaleOverlay(HDC dc) {
  const double zoom = GetImageScale();
  const CPoint offset = GetScrollOffset();
  std::lock_guard<std::recursive_mutex> guard(m_annotationLock);
  if (!m_bScalePresent || !m_pScale) return;
  m_pScale->GetInfo().SetZoom(zoom);
  m_pScale->GetInfo().SetScrollOffset(offset.x, offset.y);
  m_pScale->Draw(dc, zoom);
}

// The live frame's bar: placed again (built only when its inputs changed) and drawn into it.
void CVexDisplayOutput::DrawLiveScale(CDC& dc) {
  CVexDoc* doc = GetDocument();
  if (!doc || doc->m_bScaleOnLive != 1) return;
  EditLock lock(*this);
  if (!m_pScale) return;
  PlaceScaleOverlay(1, 0);
  if (!m_bScalePresent || !m_pScale) return;
  Prepare(*m_pScale);
  m_pScale->DrawOnDC(&dc, GetImageScale());
}

// ---- dragging -------------------------------------------------------------------------

void CVexDisplayOutput::OnScaleRelease(CPoint point) {
  CLead* lead = Lead();
  CVexDoc* doc = GetDocument();
  m_ptScale = point;
  if (m_pScale) {
    Prepare(*m_pScale);
    m_pScale->OnButtonUp(ImageDC(lead), 0, point, 1.0);
    // The overlay's centre is kept, wherever on it the press took it.
    m_ptScale = m_pScale->GetOrigin();
    if (m_pScale->IsValid() == 0) DropScaleObject();
  }
  m_scaleInfo.posX = m_ptScale.x;
  m_scaleInfo.posY = m_ptScale.y;
  if (doc) doc->SetSelectedScale(m_scaleInfo);
}

// ---- calibration ----------------------------------------------------------------------

void CVexDisplayOutput::DeleteCalibrationLines() {
  for (int i = ObjectTotal() - 1; i >= 0; --i) {
    if (!IsCalibrationLine(m_objects[i].get())) continue;
    DeleteObjectAt(i);
    m_nCurrentIndex = ObjectTotal() - 1;
  }
}

void CVexDisplayOutput::BeginCalibration() {
  EditLock lock(*this);
  m_bAnnotationLayer = 1;
  ClearSelection();
  DeleteCalibrationLines();
  m_bCalibrating = 1;
  m_bAnnotationLayer = 1;
}

void CVexDisplayOutput::CreateCalibrationLine() {
  m_nDrawingTool = 1;
  DeleteCalibrationLines();
  m_nSavedIndex = m_nCurrentIndex;
  std::unique_ptr<CAnnObj> line;
  try {
    line = MakeAnnotation(3);
    if (!line) throw std::bad_alloc();
    m_objects.push_back(std::move(line));
  } catch (const std::bad_alloc&) {
    if (m_nSavedIndex >= 0) m_nCurrentIndex = m_nSavedIndex;
    Report(kErrorType, 1);
    return;
  }
  CAnnObj* made = m_objects.back().get();
  m_nCurrentIndex = ObjectTotal() - 1;
  if (CVexDoc* doc = GetDocument()) doc->GetSelectedScale(m_scaleInfo);
  CAnnObj::CAnnObjInfo& s = made->GetInfo();
  s.SetStyleCode(vexedit::kCalibrationStyle);
  s.SetPenWidth(3);
  s.SetLineType(0);
  s.SetPenColor(m_scaleInfo.penColor);
  Prepare(*made);
  made->SetOption(0);
  m_nEditMode = 0;
  for (int i = 0; i < ObjectTotal(); ++i) m_objects[i]->SetMode(0);
  s.SetStyleCode(vexedit::kCalibrationStyle);
}

// After each release while calibrating the line stays selected, with its end marks.
void CVexDisplayOutput::ApplyCalibrationRelease() {
  m_nCurrentIndex = ObjectTotal() - 1;
  ShowZoomText();
  CAnnObj* line = Current();
  if (!line) return;
  line->SetHandlesShown(1);
  if (auto* measuring = dynamic_cast<CAnnLine*>(line)) measuring->SetDrawnFlag(1);
  if (line->IsValid() == 0 || m_bButtonHeld) return;
  {
    DrawContext context(*this);
    if (const LONG value = context.Value()) {
      Prepare(*line);
      line->DrawHandles(vexedit::AsDc(value));
    }
  }
  // Selected once, however often it is adjusted.
  for (int s = 0; s < m_selection.GetSize(); ++s)
    if (m_selection[s] == m_nCurrentIndex) return;
  SelectObject(m_nCurrentIndex);
}

void CVexDisplayOutput::ApplyCalibration() {
  {
    EditLock lock(*this);
    CVexDoc* doc = GetDocument();
    const bool fine = doc && doc->GetShotParameters().fineMode == 1;
    // Without a line nothing was measured: the dialog keeps its own count.
    m_nCalibrationLength = 0;
    for (int i = 0; i < ObjectTotal(); ++i) {
      CAnnObj* object = m_objects[i].get();
      if (!IsCalibrationLine(object)) continue;
      const double length = object->GetLength();
      m_nCalibrationLength = RoundHalfUp(fine ? length : length * 3);
      DeleteObjectAt(i--);
      m_nCurrentIndex = ObjectTotal() - 1;
      m_nSelectionCount = 0;
      m_selection.RemoveAll();
    }
    m_bButtonHeld = 0;
    m_nDrawingTool = 0;  // nothing is left to measure with (see the cancel)
  }
  RefreshPicture();
  EditLock lock(*this);
  m_bCalibrating = 0;
}

int CVexDisplayOutput::GetCalibrationLength() const {
  std::lock_guard<std::recursive_mutex> guard(m_annotationLock);
  return m_nCalibrationLength;
}

// ---- messages of the scale dialog and the frame ---------------------------------------

LRESULT CVexDisplayOutput::OnCloseAnnotationLayer(WPARAM, LPARAM) {
  {
    EditLock lock(*this);
    m_bCalibrating = 0;
    m_bAnnotationLayer = 0;
    m_nDrawingTool = 0;
    m_bButtonHeld = 0;
  }
  RefreshPicture();
  return 0;
}

LRESULT CVexDisplayOutput::OnCloseCalibrationMode(WPARAM, LPARAM) {
  {
    EditLock lock(*this);
    m_bCalibrating = 0;
    m_nDrawingTool = 0;
    m_bButtonHeld = 0;
  }
  RefreshPicture();
  return 0;
}

LRESULT CVexDisplayOutput::OnBeginCalibrationMessage(WPARAM, LPARAM) {
  BeginCalibration();
  return 0;
}

LRESULT CVexDisplayOutput::OnCancelCalibration(WPARAM, LPARAM) {
  {
    EditLock lock(*this);
    DeleteCalibrationLines();
    m_bCalibrating = 0;
    m_bAnnotationLayer = 0;
    // The measuring tool goes with its line: left chosen, it would keep Select all
    // disabled and drop the selection after the next drag.
    m_nDrawingTool = 0;
    m_bButtonHeld = 0;
  }
  RefreshPicture();
  return 0;
}

LRESULT CVexDisplayOutput::OnReplaceScaleOverlay(WPARAM, LPARAM) {
  SetAnnotationLayer(1);
  PlaceScaleOverlay(0, 0);
  SetAnnotationLayer(0);
  return 0;
}

LRESULT CVexDisplayOutput::OnEditScaleOverlay(WPARAM, LPARAM) {
  CVexDoc* doc = GetDocument();
  if (!doc) return 0;
  {
    EditLock lock(*this);
    doc->GetSelectedScale(m_scaleInfo);
  }
  if (doc->m_bScaleOnCaptured != 1) return 0;
  UpdateScaleOverlay(0);
  PlaceScaleOverlay(0, 0);
  EditLock lock(*this);
  m_bScaleEditing = 1;
  m_bAnnotationLayer = 1;
  m_nDrawingTool = 0;
  return 0;
}

LRESULT CVexDisplayOutput::OnApplyCalibrationMessage(WPARAM, LPARAM) {
  ApplyCalibration();
  return 0;
}
