// Annotation editing on the still picture: the objects are made with the document's
// defaults, driven through their mouse protocol from the control's events, drawn into
// the picture the control holds and burnt into a picture being saved.
//
// Every path that reads or changes the objects, the selection, the clipboard or the scale
// object holds m_annotationLock; the save thread takes it only to burn. The user-interface
// thread reports its errors once it has let the lock go, so a save never waits for a
// message box.
#include <algorithm>
#include <new>

#include "VexDisplayEditing.h"
#include "annotation/objects/AnnEllipse.h"
#include "annotation/objects/AnnFree.h"
#include "annotation/objects/AnnLine.h"
#include "annotation/objects/AnnPolygon.h"
#include "annotation/objects/AnnPolyline.h"
#include "annotation/objects/AnnRectangle.h"
#include "annotation/objects/AnnScale.h"
#include "annotation/objects/AnnText.h"
#include "binding/CLead.h"
#include "control/VexBufferControl.h"
#include "control/VexDoc.h"
#include "control/VexErrorControl.h"
#include "ui/MainFrame.h"

using vexedit::EditLock;
using vexedit::ImageDC;

// ---- shared small pieces ----------------------------------------------------------------

CAnnObj* CVexDisplayOutput::Current() const {
  return m_nCurrentIndex >= 0 && m_nCurrentIndex < ObjectTotal() ? m_objects[m_nCurrentIndex].get() : nullptr;
}

bool CVexDisplayOutput::IsBeingCreated() const {
  const CAnnObj* current = Current();
  return current && current->IsCreating();
}

void CVexDisplayOutput::Prepare(CAnnObj& object) const {
  object.GetInfo().SetZoom(GetImageScale());
  const CPoint offset = GetScrollOffset();
  object.GetInfo().SetScrollOffset(offset.x, offset.y);
}

void CVexDisplayOutput::ReleaseMouse() {
  CLead* lead = Lead();
  if (lead && ::GetCapture() == lead->m_hWnd) ::ReleaseCapture();
}

void CVexDisplayOutput::RefreshPicture() { ReloadCurrentImage(); }

void CVexDisplayOutput::Report(SHORT type, SHORT detail) { m_pendingReports.emplace_back(type, detail); }

void CVexDisplayOutput::FlushReports(std::vector<std::pair<SHORT, SHORT>>& reports) {
  const bool own = !m_hWnd || ::GetWindowThreadProcessId(m_hWnd, nullptr) == ::GetCurrentThreadId();
  for (const auto& [type, detail] : reports) {
    if (own) {
      if (m_pErrorControl) m_pErrorControl->ReportError(type, detail);
    } else {
      PostMessage(kReportLater, static_cast<WPARAM>(type), static_cast<LPARAM>(detail));
    }
  }
}

LRESULT CVexDisplayOutput::OnReportLater(WPARAM type, LPARAM detail) {
  if (m_pErrorControl) m_pErrorControl->ReportError(static_cast<int>(type), static_cast<int>(detail));
  return 0;
}

vexedit::EditLock::EditLock(CVexDisplayOutput& display) : display_(display) {
  display_.m_annotationLock.lock();
  ++display_.m_nEditDepth;
}

vexedit::EditLock::~EditLock() {
  std::vector<std::pair<SHORT, SHORT>> reports;
  if (--display_.m_nEditDepth == 0) reports.swap(display_.m_pendingReports);
  display_.m_annotationLock.unlock();
  if (!reports.empty()) display_.FlushReports(reports);
}

int CVexDisplayOutput::GetAnnotationCount() const {
  std::lock_guard<std::recursive_mutex> guard(m_annotationLock);
  return ObjectTotal();
}

CAnnObj* CVexDisplayOutput::GetAnnotation(int index) const {
  std::lock_guard<std::recursive_mutex> guard(m_annotationLock);
  return index >= 0 && index < ObjectTotal() ? m_objects[index].get() : nullptr;
}

// ---- objects and the selection --------------------------------------------------------

// The selection names list positions: removing an object keeps it naming the same objects.
void CVexDisplayOutput::DeleteObjectAt(int index) {
  if (index < 0 || index >= ObjectTotal()) return;
  m_objects.erase(m_objects.begin() + index);
  for (int i = static_cast<int>(m_selection.GetSize()) - 1; i >= 0; --i) {
    if (m_selection[i] == index) {
      m_selection.RemoveAt(i);
      if (i < m_nSelectionCount) --m_nSelectionCount;
    } else if (m_selection[i] > index) {
      --m_selection[i];
    }
  }
  m_nSelectionCount = std::clamp(m_nSelectionCount, 0, static_cast<int>(m_selection.GetSize()));
  if (m_nCurrentIndex == index) m_nCurrentIndex = -1;
  else if (m_nCurrentIndex > index) --m_nCurrentIndex;
  if (m_nSavedIndex >= ObjectTotal()) m_nSavedIndex = -1;
  if (m_work.index == index) m_work.index = -1;
}

void CVexDisplayOutput::SelectObject(int index) {
  if (CAnnObj* object = GetAnnotation(index)) object->SetHandlesShown(1);
  m_selection.Add(index);
  ++m_nSelectionCount;
}

void CVexDisplayOutput::ClearSelection() {
  EditLock lock(*this);
  for (int i = 0; i < m_selection.GetSize(); ++i) {
    if (CAnnObj* object = GetAnnotation(m_selection[i])) {
      object->SetHandlesShown(0);
      object->SetMode(0);
    }
  }
  m_nSelectionCount = 0;
  m_selection.RemoveAll();
}

void CVexDisplayOutput::DiscardInvalidCurrent() {
  CAnnObj* current = Current();
  if (!current || current->IsValid() != 0) return;
  DeleteObjectAt(m_nCurrentIndex);
  m_nCurrentIndex = -1;
}

void CVexDisplayOutput::SetAnnotationMode(int on) {
  EditLock lock(*this);
  m_bAnnotationMode = m_bAnnotationLayer = on == 1 ? 1 : 0;
  m_nDrawingTool = 0;
}

void CVexDisplayOutput::SetAnnotationsEnabled(int on) {
  EditLock lock(*this);
  m_bAnnotationsEnabled = on;
}

int CVexDisplayOutput::AbandonUnfinishedAnnotation() {
  EditLock lock(*this);
  if (!IsBeingCreated()) return 0;
  DiscardInvalidCurrent();
  // An object still being drawn was never kept: it goes whatever its flag says.
  if (IsBeingCreated()) {
    DeleteObjectAt(m_nCurrentIndex);
    m_nCurrentIndex = -1;
  }
  m_bFigureInProgress = 0;
  m_bButtonHeld = 0;
  RefreshPicture();
  return 1;
}

int CVexDisplayOutput::DeleteCurrentAnnotation() {
  EditLock lock(*this);
  if (!IsBeingCreated()) return 0;
  DeleteObjectAt(m_nCurrentIndex);
  m_nCurrentIndex = -1;
  // The gesture that drew it ends with it.
  m_bFigureInProgress = 0;
  m_bButtonHeld = 0;
  RefreshPicture();
  return 1;
}

// ---- creating objects -----------------------------------------------------------------

std::unique_ptr<CAnnObj> CVexDisplayOutput::MakeAnnotation(int kind) {
  switch (kind) {
    case 1: return std::make_unique<CAnnRectangle>();
    case 2: return std::make_unique<CAnnEllipse>();
    case 3: return std::make_unique<CAnnLine>();
    case 4: return std::make_unique<CAnnPolygon>();
    case 5: return std::make_unique<CAnnPolyline>();
    case 6: return std::make_unique<CAnnFree>();
    case 9: return std::make_unique<CAnnText>();
    default: return nullptr;
  }
}

CAnnObj* CVexDisplayOutput::CreateObject(int kind, int drawingTool) {
  m_nDrawingTool = drawingTool;
  if (IsBeingCreated()) {
    DeleteObjectAt(m_nCurrentIndex);
    m_nCurrentIndex = m_nSavedIndex >= 0 && m_nSavedIndex < ObjectTotal() ? m_nSavedIndex : -1;
  }
  m_nSavedIndex = m_nCurrentIndex;
  std::unique_ptr<CAnnObj> object;
  try {
    object = MakeAnnotation(kind);
    if (!object) throw std::bad_alloc();
    m_objects.push_back(std::move(object));
  } catch (const std::bad_alloc&) {
    if (m_nSavedIndex >= 0) m_nCurrentIndex = m_nSavedIndex;
    Report(kErrorType, 1);
    return nullptr;
  }
  CAnnObj* made = m_objects.back().get();
  m_nCurrentIndex = ObjectTotal() - 1;
  Prepare(*made);
  made->SetOption(0);
  m_nEditMode = 0;
  for (int i = 0; i < ObjectTotal(); ++i) m_objects[i]->SetMode(0);
  return made;
}

namespace {

void ApplyLineDefaults(CAnnObj& object, const AnnLineAttr& a) {
  CAnnObj::CAnnObjInfo& s = object.GetInfo();
  s.SetPenWidth(a.penWidth);
  s.SetStyleCode(a.styleCode);
  s.SetLineType(a.lineType);
  s.SetPenColor(a.penColor);
}

void ApplyShapeDefaults(CAnnObj& object, const AnnShapeAttr& a) {
  CAnnObj::CAnnObjInfo& s = object.GetInfo();
  s.SetPenWidth(a.penWidth);
  s.SetLineType(a.lineType);
  s.SetPenColor(a.penColor);
  s.SetFillColor(a.fillColor);
  s.SetSquare(a.square);
  s.SetFill(a.filled);
}

}  // namespace

void CVexDisplayOutput::CreateTextObject() {
  CAnnObj* object = CreateObject(9, 7);
  CVexDoc* doc = GetDocument();
  if (!object || !doc) return;
  AnnTextAttr a;
  doc->GetAnnTextAttr(a);
  CAnnObj::CAnnObjInfo& s = object->GetInfo();
  s.SetFont(a.font);
  s.SetFontSize(a.fontSize);
  s.SetPenColor(a.textColor);
  s.SetFillColor(a.backColor);
  s.SetFill(a.backFilled);
}

void CVexDisplayOutput::CreateLineObject() {
  CAnnObj* object = CreateObject(3, 1);
  AnnLineAttr a;
  if (CVexDoc* doc = GetDocument(); object && doc) doc->GetAnnLineAttr(a), ApplyLineDefaults(*object, a);
}

void CVexDisplayOutput::CreateRectangleObject() {
  CAnnObj* object = CreateObject(1, 3);
  AnnShapeAttr a;
  if (CVexDoc* doc = GetDocument(); object && doc) doc->GetAnnRectAttr(a), ApplyShapeDefaults(*object, a);
}

void CVexDisplayOutput::CreateEllipseObject() {
  CAnnObj* object = CreateObject(2, 2);
  AnnShapeAttr a;
  if (CVexDoc* doc = GetDocument(); object && doc) doc->GetAnnEllipseAttr(a), ApplyShapeDefaults(*object, a);
}

void CVexDisplayOutput::CreatePolygonObject() {
  CAnnObj* object = CreateObject(4, 4);
  AnnShapeAttr a;
  if (CVexDoc* doc = GetDocument(); object && doc) doc->GetAnnPolygonAttr(a), ApplyShapeDefaults(*object, a);
}

void CVexDisplayOutput::CreatePolylineObject() {
  CAnnObj* object = CreateObject(5, 5);
  AnnLineAttr a;
  if (CVexDoc* doc = GetDocument(); object && doc) doc->GetAnnPolyLineAttr(a), ApplyLineDefaults(*object, a);
}

void CVexDisplayOutput::CreateFreehandObject() {
  CAnnObj* object = CreateObject(6, 6);
  AnnLineAttr a;
  if (CVexDoc* doc = GetDocument(); object && doc) doc->GetAnnFreeLineAttr(a), ApplyLineDefaults(*object, a);
}

int CVexDisplayOutput::BeginToolObject(CPoint point) {
  int choice = 8;  // the layer is on with nothing to draw: no action
  if (m_bAnnotationMode == 1) {
    CMainFrame* frame = Frame();
    choice = frame ? frame->GetSelectedAnnotationTool() : 0;
  } else if (m_bScaleEditing == 1 || (m_bScalePresent && m_pScale && m_pScale->HitTest(point.x, point.y) >= 0)) {
    choice = 8;
  }
  if (m_bCalibrating == 1) {
    choice = 9;
    for (int i = 0; i < ObjectTotal(); ++i) {
      const CAnnObj* object = m_objects[i].get();
      const bool selectedLine = object->GetKind() == 3 && object->GetInfo().m_styleCode == vexedit::kCalibrationStyle &&
                                object->IsSelected() == 1;
      choice = selectedLine ? 10 : 9;
      if (!selectedLine) m_nCurrentIndex = -1;
    }
  }
  if (choice != 0) ClearSelection();
  switch (choice) {
    case 0:
      m_nDrawingTool = 0;
      AbandonUnfinishedAnnotation();
      break;
    case 1: CreateTextObject(); break;
    case 2: CreateLineObject(); break;
    case 3: CreateRectangleObject(); break;
    case 4: CreateEllipseObject(); break;
    case 5:
    case 6:
    case 7: {
      const int tool = choice - 1;  // polygon 4, polyline 5, freehand 6
      if (m_bFigureInProgress && m_nDrawingTool == tool) break;  // the press adds to it
      if (m_bFigureInProgress) RefreshPicture();
      if (choice == 5) CreatePolygonObject();
      else if (choice == 6) CreatePolylineObject();
      else CreateFreehandObject();
      m_bFigureInProgress = 1;
      break;
    }
    case 8: break;
    case 9: CreateCalibrationLine(); break;
    case 10: m_nDrawingTool = 0; break;
    default: return 0;
  }
  return 1;
}

// ---- the mouse ------------------------------------------------------------------------

void CVexDisplayOutput::OnAnnButtonDown(UINT flags, int x, int y, int controlX, int controlY) {
  EditLock lock(*this);
  CLead* lead = Lead();
  if (!lead) return;
  const int W = static_cast<int>(lead->GetImageWidth()), H = static_cast<int>(lead->GetImageHeight());
  if (x < 0 || x >= W || y < 0 || y >= H) return;
  const CPoint point(x, y);
  if (m_bAnnotationLayer && !BeginToolObject(point)) return;
  ::SetCapture(lead->m_hWnd);

  // An object being drawn takes the press.
  if (CAnnObj* current = Current(); current && m_nDrawingTool != 0 && current->IsCreating()) {
    Prepare(*current);
    current->OnButtonDown(ImageDC(lead), 0, point, 1.0);
    m_bButtonHeld = 1;
    if (m_nDrawingTool == 7 && !current->IsCreating()) {
      // A text box is placed by one press; the tool stays for the next one.
      if (current->IsValid()) current->SetHandlesShown(0);
      else DiscardInvalidCurrent();
      m_bButtonHeld = 0;
      m_nCurrentIndex = -1;
      RefreshPicture();
    }
    return;
  }
  // A handle of the scale overlay.
  if (m_nScaleHit > 0 && m_pScale) {
    m_pScale->SetHandlesShown(1);
    Prepare(*m_pScale);
    const int hit = m_pScale->Select(x, y, 1.0);
    if (hit >= 1 && hit <= 4) {
      m_pScale->OnButtonDown(ImageDC(lead), 0, point, 1.0);
      m_bButtonHeld = 1;
      return;
    }
  }
  // A handle of the one selected object.
  if (!(flags & MK_CONTROL) && m_nSelectionCount == 1) {
    if (CAnnObj* current = Current()) {
      current->SetHandlesShown(1);
      Prepare(*current);
      const int handle = current->HitTestHandleScreen(controlX, controlY);
      if (handle >= 1 && handle <= 4) {
        current->OnButtonDown(ImageDC(lead), handle, point, 1.0);
        m_bButtonHeld = 1;
        return;
      }
    }
  }

  const int remembered = m_nCurrentIndex;
  m_nCurrentIndex = -1;
  m_nScaleHit = -1;
  if (m_bScalePresent && m_pScale) {
    Prepare(*m_pScale);
    if (m_pScale->Select(x, y, 1.0) != 0) {
      m_pScale->OnButtonDown(ImageDC(lead), 0, point, 1.0);
      m_nScaleHit = 1;
    }
  }

  bool hit = false;
  const int count = ObjectTotal();
  for (int i = count - 1; i >= 0; --i) {
    // A calibration looks at its line, the last object, only.
    if (m_bCalibrating == 1 && i == count - 2) return;
    CAnnObj* object = m_objects[i].get();
    Prepare(*object);
    if (object->Select(x, y, 1.0) == 0) continue;
    hit = true;
    if (m_nEditMode == 1 || m_nEditMode == 2) {
      m_nCurrentIndex = remembered;
      if (CAnnObj* current = Current()) current->OnButtonDown(ImageDC(lead), 0, point, 1.0);
    } else {
      m_nCurrentIndex = i;
      if (!(flags & MK_CONTROL)) {
        if (!object->AreHandlesShown()) {
          ClearSelection();
          SelectObject(i);
        } else {
          const int handle = object->HitTestHandleScreen(controlX, controlY);
          if (handle >= 1 && handle <= 4) {
            ClearSelection();
            SelectObject(i);
            object->OnButtonDown(ImageDC(lead), handle, point, 1.0);
            m_bButtonHeld = 1;
            return;
          }
        }
      } else if (object->AreHandlesShown()) {
        // Control takes a selected object out of the selection.
        object->SetHandlesShown(0);
        for (int s = 0; s < m_selection.GetSize(); ++s) {
          if (m_selection[s] != i) continue;
          m_selection.RemoveAt(s);
          m_nSelectionCount = std::max(0, m_nSelectionCount - 1);
          break;
        }
      } else {
        SelectObject(i);
      }
      m_nEditMode = 0;
      for (int k = 0; k < count; ++k) m_objects[k]->SetMode(0);
      object->OnButtonDown(ImageDC(lead), 0, point, 1.0);
    }
    for (int s = 0; s < m_nSelectionCount && s < m_selection.GetSize(); ++s)
      if (CAnnObj* selected = GetAnnotation(m_selection[s])) selected->SetAnchor(point);
    break;
  }

  if (!hit) {
    if (flags & MK_CONTROL) {
      m_nCurrentIndex = remembered;
      m_bButtonHeld = 0;
      return;
    }
    m_nEditMode = 0;
    ClearSelection();
    RefreshPicture();
  }
  if (m_bScalePresent && m_pScale && m_nScaleHit != 1) {
    m_nEditMode = 0;
    m_pScale->SetHandlesShown(0);
    m_pScale->SetMode(0);
    RefreshPicture();
  }
  // A calibration press beside its only line starts a new one at once.
  if (m_bCalibrating == 1 && m_nCurrentIndex < 0 && !m_bRepressing) {
    m_bFigureInProgress = 0;
    m_bButtonHeld = 0;
    m_bRepressing = true;
    OnAnnButtonDown(flags, x, y, controlX, controlY);
    m_bRepressing = false;
    return;
  }
  m_bButtonHeld = 1;
}

void CVexDisplayOutput::OnAnnOtherButtonDown(UINT, int x, int y) {
  EditLock lock(*this);
  CLead* lead = Lead();
  if (!lead || !m_bAnnotationLayer) return;
  const CPoint point(std::clamp(x, 0, static_cast<int>(lead->GetImageWidth())),
                     std::clamp(y, 0, static_cast<int>(lead->GetImageHeight())));
  if (CAnnObj* current = Current(); current && current->IsCreating()) {
    Prepare(*current);
    current->DrawRubberSegment(ImageDC(lead), 0, point);
  }
  lead->ForceRepaint();
}

void CVexDisplayOutput::OnAnnMouseMove(UINT flags, int x, int y) {
  EditLock lock(*this);
  CLead* lead = Lead();
  if (!lead || !m_bButtonHeld) return;
  const CPoint point(std::clamp(x, 0, static_cast<int>(lead->GetImageWidth())),
                     std::clamp(y, 0, static_cast<int>(lead->GetImageHeight())));
  if (m_nScaleHit >= 0 && m_pScale) {
    Prepare(*m_pScale);
    m_pScale->OnMouseMove(ImageDC(lead), flags, point, 1.0);
    // The overlay's centre, wherever on it the press took it.
    m_ptScale = m_pScale->GetOrigin();
  } else if (CAnnObj* current = Current()) {
    if (m_nDrawingTool != 0 || m_nEditMode == 1 || m_nEditMode == 2) {
      Prepare(*current);
      current->OnMouseMove(ImageDC(lead), flags, point, 1.0);
    } else {
      // The selection moves as one, steered by the object pressed.
      const int handle = current->GetHitHandle();
      ImageDC dc(lead);
      for (int s = 0; s < m_nSelectionCount && s < m_selection.GetSize(); ++s) {
        CAnnObj* selected = GetAnnotation(m_selection[s]);
        if (!selected) continue;
        selected->SetHitHandle(handle);
        Prepare(*selected);
        selected->OnMouseMove(dc, flags, point, 1.0);
      }
    }
  }
  lead->ForceRepaint();
}

void CVexDisplayOutput::OnAnnButtonUp(UINT, int x, int y) {
  EditLock lock(*this);
  CLead* lead = Lead();
  if (!lead || !m_bButtonHeld) return;
  const CPoint point(std::clamp(x, 0, static_cast<int>(lead->GetImageWidth())),
                     std::clamp(y, 0, static_cast<int>(lead->GetImageHeight())));
  const bool scaleHit = m_nScaleHit >= 0;
  if (scaleHit) {
    OnScaleRelease(point);
  } else if (CAnnObj* current = Current()) {
    if (m_nDrawingTool != 0 || m_nEditMode == 1 || m_nEditMode == 2) {
      Prepare(*current);
      current->OnButtonUp(ImageDC(lead), 0, point, 1.0);
    } else {
      ImageDC dc(lead);
      for (int s = 0; s < m_nSelectionCount && s < m_selection.GetSize(); ++s) {
        if (CAnnObj* selected = GetAnnotation(m_selection[s])) {
          Prepare(*selected);
          selected->OnButtonUp(dc, 0, point, 1.0);
        }
      }
    }
  }
  if (!Current() && !scaleHit) {
    m_bButtonHeld = 0;
    ReleaseMouse();
    return;
  }
  if (CAnnObj* current = Current()) {
    // A polygon or polyline between two of its points goes on with the next press.
    if (current->IsCreating()) return;
    if (current->IsValid() == 0) DiscardInvalidCurrent();
  }
  m_bFigureInProgress = 0;
  m_bButtonHeld = 0;
  ReleaseMouse();
  if (CAnnObj* current = Current()) {
    if (m_nDrawingTool != 0) {
      current->SetHandlesShown(0);
      m_nCurrentIndex = -1;
    }
    RefreshPicture();
  } else if (m_nDrawingTool != 0) {
    RefreshPicture();
  }
  if (scaleHit && m_pScale) {
    m_pScale->SetHandlesShown(0);
    m_nScaleHit = -1;
    RefreshPicture();
  }
  m_nScaleHit = -1;
  if (m_bCalibrating == 1) ApplyCalibrationRelease();
}

void CVexDisplayOutput::OnAnnDoubleClick(UINT, int x, int y) {
  EditLock lock(*this);
  CLead* lead = Lead();
  if (!lead || !m_bFigureInProgress || !m_bAnnotationLayer) return;
  if (x < 0 || x >= static_cast<int>(lead->GetImageWidth()) || y < 0 || y >= static_cast<int>(lead->GetImageHeight()))
    return;
  if (CAnnObj* current = Current(); current && current->IsCreating()) {
    Prepare(*current);
    current->FinishFigure(ImageDC(lead), 0, CPoint(x, y), 1.0);
    if (current->IsCreating()) return;
    if (current->IsValid() == 0) DiscardInvalidCurrent();
  }
  ReleaseMouse();
  m_bFigureInProgress = 0;
  m_bButtonHeld = 0;
  if (CAnnObj* current = Current(); current && m_nDrawingTool != 0) {
    current->SetHandlesShown(0);
    m_nCurrentIndex = -1;
  }
  RefreshPicture();
}

// ---- drawing --------------------------------------------------------------------------

void CVexDisplayOutput::ReloadCurrentImage() {
  CLead* lead = Lead();
  const LONG still = m_pBufferControl ? m_pBufferControl->GetSecondBitmap() : 0;
  if (!lead || still == 0) return;
  // The same picture drawn again keeps a zoomed view where the operator scrolled it.
  const bool keepView = lead->GetPaintSizeMode() == 4;
  const float left = lead->GetDisplayLeft(), top = lead->GetDisplayTop();
  const float width = lead->GetDisplayWidth(), height = lead->GetDisplayHeight();
  const float pictureWidth = lead->GetImageWidth(), pictureHeight = lead->GetImageHeight();
  lead->SetBitmap(still);
  if (keepView && lead->GetImageWidth() == pictureWidth && lead->GetImageHeight() == pictureHeight)
    lead->SetDisplaySourceRect(left, top, width, height);
  DrawAnnotations();
  DrawScaleOverlay();
  ReleaseMouse();
}

void CVexDisplayOutput::DrawObjectsOn(HDC dc, int last, double zoom, CPoint offset) {
  for (int i = 0; i <= last && i < ObjectTotal(); ++i) {
    CAnnObj* object = m_objects[i].get();
    if (object->IsEnabled() == 0) continue;
    // The newest object is drawn once it is finished; until then it is its rubber band.
    if (i == last && (object->IsCreating() || object->IsEnabled() != 1)) continue;
    object->GetInfo().SetZoom(zoom);
    object->GetInfo().SetScrollOffset(offset.x, offset.y);
    object->Draw(dc, zoom);
  }
}

void CVexDisplayOutput::DrawAnnotations() {
  CVexDoc* doc = GetDocument();
  CLead* lead = Lead();
  if (!lead) return;
  {
    EditLock lock(*this);
    const int count = ObjectTotal();
    if (count == 0) {
      if (doc) doc->SetAnnotationsDrawn(0);
    } else {
      // The picture is taken for drawing only when there is something to draw.
      DrawObjectsOn(ImageDC(lead), count - 1, GetImageScale(), GetScrollOffset());
      if (doc) doc->SetAnnotationsDrawn(1);
    }
  }
  lead->ForceRepaint();
}

void CVexDisplayOutput::DrawSelectionHandles() {
  CLead* lead = Lead();
  if (!lead) return;
  EditLock lock(*this);
  std::vector<CAnnObj*> shown;
  for (int i = 0; i < ObjectTotal(); ++i) {
    CAnnObj* object = m_objects[i].get();
    if (object->AreHandlesShown() && object->IsValid() && (m_nEditMode == 1 || !m_bButtonHeld)) shown.push_back(object);
  }
  if (shown.empty()) return;
  DrawContext context(*this);
  const LONG value = context.Value();
  if (value == 0) return;
  for (CAnnObj* object : shown) {
    Prepare(*object);
    object->DrawHandles(vexedit::AsDc(value));
  }
}

void CVexDisplayOutput::BurnAnnotations(HDC dc) {
  // Read before the lock: the control answers on its own.
  const double zoom = GetImageScale();
  const CPoint offset = GetScrollOffset();
  std::lock_guard<std::recursive_mutex> guard(m_annotationLock);
  const int count = ObjectTotal();
  if (count > 0) DrawObjectsOn(dc, count - 1, zoom, offset);
}

// ---- the imaging control's mouse, as picture points -----------------------------------

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
