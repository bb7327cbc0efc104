// The frame's part in annotation editing on the still display: the commands of its
// context menu and of the accelerators reach the display that shows the still picture,
// and its editing state follows the still picture when the displays swap.
#include "MainFrame.h"
#include "pipeline/output/VexDisplayOutput.h"

namespace {

// Copy, Cut, Paste, Delete, Rotate, Property, Reshape, Select all.
bool IsAnnotationCommand(UINT id) {
  switch (id) {
    case 32775: case 32777: case 32780: case 32782: case 32784: case 32787: case 32791: case 32850: return true;
    default: return false;
  }
}

}  // namespace

BOOL CMainFrame::RouteToStillDisplay(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  // Ahead of the active view: the live pane, of the same class, must not take them.
  return IsAnnotationCommand(nID) && m_pStillDisplay && m_pStillDisplay->GetSafeHwnd() &&
         m_pStillDisplay->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CMainFrame::MoveAnnotationState(CVexDisplayOutput& from, CVexDisplayOutput& to) {
  to.ResetAnnotationState();
  from.DeleteCurrentAnnotation();
  to.SetAnnotationModeFlag(from.GetAnnotationModeFlag());
  to.SetDrawingTool(from.GetDrawingTool());
  to.SetEditMode(from.GetEditMode());
  to.SetCurrentIndex(from.GetCurrentIndex());
  to.SetAnnotationLayer(from.GetAnnotationLayer());
  for (int i = 0; i < from.GetAnnotationCount(); ++i) to.AddAnnotationCopy(from.GetAnnotation(i));
  const CVexDisplayOutput::tSpotBuffer work = from.GetClipboardEntry();
  to.SetClipboardEntry(work.object, work.index, work.operation, work.pasteable, work.marked);
  to.SetSelectionCount(from.GetSelectionCount());
  for (int i = 0; i < from.GetSelectionCount(); ++i) to.AddSelection(from.GetSelectedIndex(i));
  for (int i = 0; i < from.GetClipboardCount(); ++i) {
    const CVexDisplayOutput::tSpotBuffer item = from.GetClipboardItem(i);
    to.AddClipboardItem(item.object, item.index, item.operation, item.pasteable, item.marked);
  }
  from.ResetAnnotationState();
}
