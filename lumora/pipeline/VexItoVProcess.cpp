#include "VexItoVProcess.h"

#include "control/VexDoc.h"

IMPLEMENT_DYNCREATE(CVexItoVProcess, CView)

BEGIN_MESSAGE_MAP(CVexItoVProcess, CView)
END_MESSAGE_MAP()

int CVexItoVProcess::SetBufferControl(CVexBufferControl* buffers) {
  m_pBufferControl = buffers;
  return 1;
}

CVexDoc* CVexItoVProcess::GetDocument() const { return dynamic_cast<CVexDoc*>(m_pDocument); }

// The stage window is never shown.
void CVexItoVProcess::OnDraw(CDC*) { GetDocument(); }
