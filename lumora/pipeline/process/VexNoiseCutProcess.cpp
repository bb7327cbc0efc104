#include "VexNoiseCutProcess.h"

#include "binding/CLead.h"
#include "control/VexDoc.h"

IMPLEMENT_DYNCREATE(CVexNoiseCutProcess, CVexItoIProcess)

int CVexNoiseCutProcess::Process(SHORT source, SHORT destination) {
  CVexDoc* doc = GetDocument();
  m_control.Load(m_pBufferControl, source);
  doc->ClearLastError();
  CLead* lead = m_control.Lead();
  // A failed filter leaves the slot with the picture it had.
  if (!lead || lead->Filter283(kFilterSize) != 0) {
    doc->SetLastError(kErrorType, 1, 1);
    return 0;
  }
  m_control.Store(m_pBufferControl, destination);
  return 1;
}
