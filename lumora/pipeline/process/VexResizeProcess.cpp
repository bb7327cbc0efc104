#include "VexResizeProcess.h"

#include "binding/CLead.h"
#include "control/VexDoc.h"

IMPLEMENT_DYNCREATE(CVexResizeProcess, CVexItoIProcess)

int CVexResizeProcess::SetPercent(SHORT percent) {
  if (percent < 1 || percent > 100) return 0;
  m_nPercent = percent;
  return 1;
}

void CVexResizeProcess::OnSettingsChanged(LONG flag) {
  if (flag != kUpdateFlag) return;
  switch (GetDocument()->GetResizeSaveSize()) {
    case 0: SetPercent(75); break;
    case 1: SetPercent(50); break;
    case 2: SetPercent(25); break;
    default: SetPercent(100); break;
  }
}

int CVexResizeProcess::Process(SHORT source, SHORT destination) {
  CVexDoc* doc = GetDocument();
  m_control.Load(m_pBufferControl, source);
  doc->ClearLastError();
  CLead* lead = m_control.Lead();
  if (!lead) {
    doc->SetLastError(kErrorType, 1, 1);
    return 0;
  }
  const float factor = static_cast<float>(m_nPercent * 0.01);
  const float width = lead->GetImageWidth() * factor, height = lead->GetImageHeight() * factor;
  const short status = lead->ResizeImage(width, height, 2);
  m_control.Store(m_pBufferControl, destination);
  if (status != 0) {
    doc->SetLastError(kErrorType, 1, 1);
    return 0;
  }
  doc->SetImageSizeText(static_cast<LONG>(lead->GetImageWidth()), static_cast<LONG>(lead->GetImageHeight()));
  return 1;
}
