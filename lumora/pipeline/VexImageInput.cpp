#include "VexImageInput.h"

#include "control/VexDoc.h"

IMPLEMENT_DYNCREATE(CVexImageInput, CView)

BEGIN_MESSAGE_MAP(CVexImageInput, CView)
END_MESSAGE_MAP()

int CVexImageInput::SetBufferControl(CVexBufferControl* buffers) {
  m_pBufferControl = buffers;
  return 1;
}

CVexDoc* CVexImageInput::GetDocument() const { return dynamic_cast<CVexDoc*>(m_pDocument); }

// The stage window is never shown.
void CVexImageInput::OnDraw(CDC*) { GetDocument(); }
