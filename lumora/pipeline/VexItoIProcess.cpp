#include "VexItoIProcess.h"

#include "control/VexDoc.h"

IMPLEMENT_DYNCREATE(CVexItoIProcess, CView)

BEGIN_MESSAGE_MAP(CVexItoIProcess, CView)
END_MESSAGE_MAP()

int CVexItoIProcess::SetBufferControl(CVexBufferControl* buffers) {
  m_pBufferControl = buffers;
  return 1;
}

CVexDoc* CVexItoIProcess::GetDocument() const { return dynamic_cast<CVexDoc*>(m_pDocument); }

// The stage window is never shown.
void CVexItoIProcess::OnDraw(CDC*) { GetDocument(); }
