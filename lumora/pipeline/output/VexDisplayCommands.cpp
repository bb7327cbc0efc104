// The annotation commands of the still display (its context menu and the main accelerators) with
// their update rules, the clipboard of object clones, the reset of the editing state and
// the accessors through which the main frame moves that state to the other display.
#include <algorithm>

#include "LumoraResource.h"
#include "VexDisplayEditing.h"
#include "ui/MainFrame.h"

using vexedit::EditLock;
using vexedit::ImageDC;

namespace {

// A cut or deleted object is no longer shown; one that is copied stays as it is.
constexpr int kCopy = 0, kCut = 2, kPasted = 3, kDeleted = 4, kVertexDeleted = 11;

}  // namespace

// ---- the clipboard --------------------------------------------------------------------

void CVexDisplayOutput::ClearClipboard() {
  EditLock lock(*this);
  // The work entry names the last entry copied: it goes with it.
  for (const ClipEntry& entry : m_clipboard)
    if (m_work.object == entry.object.get()) m_work.object = nullptr;
  m_clipboard.clear();
  m_nPasteCount = 0;
}

void CVexDisplayOutput::RemoveInvalidObjects() {
  for (int i = ObjectTotal() - 1; i >= 0; --i)
    if (m_objects[i]->IsValid() == 0) DeleteObjectAt(i);
}

void CVexDisplayOutput::TakeSelection(int operation) {
  if (m_nSelectionCount <= 0) return;
  ClearClipboard();
  for (int s = 0; s < m_nSelectionCount && s < m_selection.GetSize(); ++s) {
    const int index = m_selection[s];
    CAnnObj* source = GetAnnotation(index);
    if (!source) continue;
    if (m_work.object) {
      m_work = tSpotBuffer{};
      m_workClone.reset();
    }
    std::unique_ptr<CAnnObj> clone = source->Clone();
    if (!clone) {
      m_work.pasteable = 0;
      Report(kErrorType, 2);
      return;
    }
    if (operation != kCopy) source->SetValid(0);
    m_clipboard.push_back(ClipEntry{std::move(clone), operation == kCopy ? -1 : index, operation,
                                    operation == kDeleted ? 0 : 1, operation == kCopy ? 0 : 1});
    m_work = m_clipboard.back().View();
    if (operation != kDeleted) m_nPasteCount = 0;
  }
  if (operation == kCopy) return;
  m_nCurrentIndex = -1;
  m_nSelectionCount = 0;
  m_selection.RemoveAll();
  RemoveInvalidObjects();
  RefreshPicture();
}

int CVexDisplayOutput::DeleteSelectedVertex() {
  CAnnObj* current = Current();
  if (!current || (current->GetKind() != 4 && current->GetKind() != 5)) return 0;
  current->SaveState();
  const int result = current->DeleteSelectedVertex();
  if (result == 1) {
    m_work.operation = kVertexDeleted;
    m_work.marked = 1;
    RefreshPicture();
  }
  return result;
}

void CVexDisplayOutput::DeleteSelectedObjects() { TakeSelection(kDeleted); }

// ---- the commands ---------------------------------------------------------------------

void CVexDisplayOutput::OnAnnCopy() {
  EditLock lock(*this);
  TakeSelection(kCopy);
}

void CVexDisplayOutput::OnAnnCut() {
  EditLock lock(*this);
  TakeSelection(kCut);
}

void CVexDisplayOutput::OnAnnDelete() {
  EditLock lock(*this);
  if (m_nEditMode == 1)
    DeleteSelectedVertex();
  else
    DeleteSelectedObjects();
}

void CVexDisplayOutput::OnAnnPaste() {
  EditLock lock(*this);
  CLead* lead = Lead();
  if (!lead) return;
  const int W = static_cast<int>(lead->GetImageWidth()), H = static_cast<int>(lead->GetImageHeight());
  // The step grows with the picture, so a copy lands visibly beside its source.
  const int step = W > 2500 ? 60 : W > 1500 ? 40 : W > 500 ? 20 : 10;
  for (ClipEntry& entry : m_clipboard) {
    if (entry.pasteable != 1) continue;
    std::unique_ptr<CAnnObj> clone = entry.object ? entry.object->Clone() : nullptr;
    if (!clone) {
      entry.pasteable = 0;
      Report(kErrorType, 2);
      return;
    }
    ++m_nPasteCount;
    const CPoint origin = clone->GetOrigin();
    clone->SetOrigin(CPoint(std::min(origin.x + step * m_nPasteCount, W), std::min(origin.y + step * m_nPasteCount, H)));
    m_objects.push_back(std::move(clone));
    entry.index = ObjectTotal() - 1;
    entry.operation = kPasted;
    entry.marked = 1;
  }
  RefreshPicture();
}

void CVexDisplayOutput::OnAnnReshape() {
  EditLock lock(*this);
  if (m_nEditMode == 1) {
    m_nEditMode = 0;
    for (int i = 0; i < ObjectTotal(); ++i) m_objects[i]->SetMode(0);
  } else if (CAnnObj* current = Current()) {
    m_nEditMode = 1;
    current->SetMode(1);
  }
  RefreshPicture();
}

void CVexDisplayOutput::OnAnnRotate() {
  EditLock lock(*this);
  if (m_nEditMode == 2) {
    m_nEditMode = 0;
    for (int i = 0; i < ObjectTotal(); ++i) m_objects[i]->SetMode(0);
  } else if (CAnnObj* current = Current()) {
    m_nEditMode = 2;
    current->SetMode(2);
  }
  RefreshPicture();
}

void CVexDisplayOutput::OnAnnProperty() {
  EditLock lock(*this);
  CAnnObj* current = Current();
  if (!current) return;
  current->SetDialogFailed(0);
  {
    ImageDC dc(Lead());
    current->EditProperties(dc);
  }
  if (current->GetDialogFailed() == 1) Report(412, 1);
  RefreshPicture();
}

void CVexDisplayOutput::OnAnnSelectAll() {
  EditLock lock(*this);
  ClearSelection();
  for (int i = 0; i < ObjectTotal(); ++i) SelectObject(i);
  m_nCurrentIndex = ObjectTotal() - 1;
  RefreshPicture();
}

// ---- update rules: a rule that holds disables the item ---------------------------------

namespace {
int PaletteTool() {
  CMainFrame* frame = CMainFrame::Get();
  return frame ? frame->GetSelectedAnnotationTool() : 0;
}
}  // namespace

void CVexDisplayOutput::OnUpdateAnnCopy(CCmdUI* pCmdUI) {
  EditLock lock(*this);
  pCmdUI->Enable(!(m_nScaleHit > 0 || m_nEditMode == 1 || m_nSelectionCount < 1 || IsBeingCreated()));
}

void CVexDisplayOutput::OnUpdateAnnCut(CCmdUI* pCmdUI) { OnUpdateAnnCopy(pCmdUI); }

void CVexDisplayOutput::OnUpdateAnnDelete(CCmdUI* pCmdUI) {
  EditLock lock(*this);
  pCmdUI->Enable(!(m_nScaleHit > 0 || m_nSelectionCount < 1 || IsBeingCreated()));
}

void CVexDisplayOutput::OnUpdateAnnPaste(CCmdUI* pCmdUI) {
  EditLock lock(*this);
  if (m_nScaleHit > 0 || m_nEditMode == 1 || m_clipboard.empty())
    pCmdUI->Enable(FALSE);
  else
    pCmdUI->Enable(m_clipboard[0].pasteable == 1);
}

void CVexDisplayOutput::OnUpdateAnnReshape(CCmdUI* pCmdUI) {
  const int tool = PaletteTool();
  EditLock lock(*this);
  const CAnnObj* current = Current();
  const bool disabled = m_nScaleHit > 0 || tool != 0 || m_nSelectionCount != 1 || !current || current->IsCreating() ||
                        (current->GetKind() != 4 && current->GetKind() != 5);
  pCmdUI->Enable(!disabled);
  pCmdUI->SetCheck(m_nEditMode == 1 ? 1 : 0);
}

void CVexDisplayOutput::OnUpdateAnnRotate(CCmdUI* pCmdUI) {
  const int tool = PaletteTool();
  EditLock lock(*this);
  CAnnObj* current = Current();
  const bool disabled = m_nScaleHit > 0 || tool != 0 || m_nSelectionCount != 1 || m_nEditMode == 1 || !current ||
                        current->IsCreating() || current->CanRotate() == 0;
  pCmdUI->Enable(!disabled);
  // The mark follows the mode even when the object refuses to turn.
  pCmdUI->SetCheck(m_nEditMode == 2 ? 1 : 0);
}

void CVexDisplayOutput::OnUpdateAnnProperty(CCmdUI* pCmdUI) {
  EditLock lock(*this);
  const CAnnObj* current = Current();
  pCmdUI->Enable(
      !(m_nScaleHit > 0 || m_nSelectionCount != 1 || m_nEditMode == 1 || !current || current->IsCreating()));
}

void CVexDisplayOutput::OnUpdateAnnSelectAll(CCmdUI* pCmdUI) {
  const int tool = m_bAnnotationMode == 1 ? PaletteTool() : -1;
  EditLock lock(*this);
  if (tool == 0) m_nDrawingTool = 0;
  pCmdUI->Enable(!(m_nDrawingTool != 0 || m_nScaleHit > 0 || ObjectTotal() == 0));
}

// ---- context menu ---------------------------------------------------------------------

void CVexDisplayOutput::OnContextMenu(CWnd*, CPoint point) {
  // The menu edits annotations: over the still picture, while the mouse edits them.
  if (IsLiveMode() || m_nMouseTool != 0) return;
  {
    EditLock lock(*this);
    // A right press while a figure is drawn takes back a point; it opens no menu.
    if (IsBeingCreated()) return;
  }
  if (point.x == -1 && point.y == -1) {
    CRect client;
    GetClientRect(&client);
    ClientToScreen(&client);
    point = client.TopLeft() + CPoint(5, 5);
  }
  CMenu menu;
  if (!menu.LoadMenu(IDR_ANNOTATION_MENU)) return;
  CMenu* popup = menu.GetSubMenu(0);
  CWnd* owner = AfxGetMainWnd();
  if (!popup || !owner) return;
  // The main window owns the menu: its command routing brings the choice back here.
  popup->TrackPopupMenu(0, point.x, point.y, owner);
}

// ---- reset and transfer ---------------------------------------------------------------

void CVexDisplayOutput::ResetAnnotationState() {
  EditLock lock(*this);
  DeleteCurrentAnnotation();
  ClearSelection();
  ClearClipboard();
  m_bAnnotationMode = 0;
  m_nDrawingTool = 0;
  m_nEditMode = 0;
  m_nCurrentIndex = -1;
  m_nOption = 0;
  m_bAnnotationLayer = 0;
  m_bButtonHeld = 0;
  m_bHandlesVisible = 1;
  m_bFigureInProgress = 0;
  m_objects.clear();
  m_work = tSpotBuffer{};
  m_workClone.reset();
  ReleaseMouse();
}

void CVexDisplayOutput::AddAnnotationCopy(const CAnnObj* object) {
  if (!object) return;
  EditLock lock(*this);
  std::unique_ptr<CAnnObj> clone = object->Clone();
  if (!clone) {
    Report(kErrorType, 2);
    return;
  }
  m_objects.push_back(std::move(clone));
}

void CVexDisplayOutput::SetClipboardEntry(const CAnnObj* object, int index, int operation, int pasteable, int marked) {
  EditLock lock(*this);
  m_work.object = nullptr;
  m_workClone.reset();
  if (!object) return;
  std::unique_ptr<CAnnObj> clone = object->Clone();
  m_work.index = index;
  m_work.operation = operation;
  m_work.pasteable = pasteable;
  m_work.marked = marked;
  if (!clone) {
    m_work.pasteable = 0;
    Report(kErrorType, 2);
    return;
  }
  m_workClone = std::move(clone);
  m_work.object = m_workClone.get();
}

int CVexDisplayOutput::GetSelectedIndex(int position) const {
  std::lock_guard<std::recursive_mutex> guard(m_annotationLock);
  return position >= 0 && position < m_selection.GetSize() ? m_selection[position] : -1;
}

void CVexDisplayOutput::AddSelection(int index) {
  EditLock lock(*this);
  m_selection.Add(index);
  if (CAnnObj* object = GetAnnotation(index)) object->SetHandlesShown(1);
}

int CVexDisplayOutput::GetClipboardCount() const {
  std::lock_guard<std::recursive_mutex> guard(m_annotationLock);
  return static_cast<int>(m_clipboard.size());
}

CVexDisplayOutput::tSpotBuffer CVexDisplayOutput::GetClipboardItem(int position) const {
  std::lock_guard<std::recursive_mutex> guard(m_annotationLock);
  return position >= 0 && position < static_cast<int>(m_clipboard.size()) ? m_clipboard[size_t(position)].View() : tSpotBuffer{};
}

void CVexDisplayOutput::AddClipboardItem(const CAnnObj* object, int index, int operation, int pasteable, int marked) {
  if (!object) return;
  EditLock lock(*this);
  std::unique_ptr<CAnnObj> clone = object->Clone();
  if (!clone) {
    Report(kErrorType, 2);
    return;
  }
  m_clipboard.push_back(ClipEntry{std::move(clone), index, operation, pasteable, marked});
  m_nPasteCount = 0;
}
