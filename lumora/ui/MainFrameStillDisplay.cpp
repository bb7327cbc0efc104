// The frame's part in annotation editing on the still display: the commands of its
// context menu and of the accelerators reach the display that shows the still picture,
// and its editing state follows the still picture when the displays swap.
#include "MainFrame.h"
#include "LumoraResource.h"
#include "pipeline/output/VexDisplayOutput.h"

namespace {

bool IsAnnotationCommand(UINT id) {
  switch (id) {
    case ID_ANN_COPY: case ID_ANN_CUT: case ID_ANN_PASTE: case ID_ANN_DELETE:
    case ID_ANN_ROTATE: case ID_ANN_PROPERTY: case ID_ANN_RESHAPE: case ID_ANN_SELECT_ALL:
      return true;
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
