#include "VexRetouchProcess.h"

#include "binding/CLead.h"
#include "control/VexBufferControl.h"
#include "control/VexDoc.h"
#include "control/VexErrorControl.h"
#include "pipeline/retouch/VexRetouchDlg.h"

IMPLEMENT_DYNCREATE(CVexRetouchProcess, CVexItoIProcess)

void CVexRetouchProcess::Report(int type, int detail) {
  if (m_pErrorControl) m_pErrorControl->ReportError(type, detail);
}

int CVexRetouchProcess::Process(SHORT source, SHORT destination) {
  CVexDoc* doc = GetDocument();
  if (!doc || !m_pBufferControl) return 0;
  const LONG still = m_pBufferControl->GetSecondBitmap();
  const SHORT state = doc->GetImageState();
  if (state == 0) return 0;
  CLead* lead = m_control.Lead();
  if (!lead) {
    // Without its working control the dialog has nothing to edit; the picture stays shown.
    Report(kErrorType, 1);
    return 1;
  }
  lead->SetValue146(0);
  lead->SetFlag272(FALSE);
  lead->SetBitmap(still);

  m_nConstructionError = 0;
  CVexRetouchDlg dialog(this, lead, still);
  if (m_nConstructionError >= 1 && m_nConstructionError <= 5) {
    Report(kErrorType + m_nConstructionError, 1);
  } else {
    dialog.SetDocument(doc);
    dialog.SetErrorControl(m_pErrorControl);
    const int result = dialog.DoModal();
    if (result == -1) Report(kErrorType, 1);
    if (result == IDOK) {
      doc->MarkShotParametersUsed();
      doc->SetImageSizeText(static_cast<LONG>(lead->GetImageWidth()), static_cast<LONG>(lead->GetImageHeight()));
      if (state == 1 || state == 2) doc->UpdateImageStatus(1, 0);
      else if (state == 3 || state == 4) doc->UpdateImageStatus(3, 0);
    } else {
      doc->UpdateImageStatus(state, 0);
    }
  }
  const LONG edited = lead->GetBitmap();
  m_pBufferControl->SetBuffer(destination, edited);
  m_pBufferControl->SetSecondBitmap(edited);
  return 1;
}
