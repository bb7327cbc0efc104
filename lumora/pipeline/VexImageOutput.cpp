#include "VexImageOutput.h"

#include "control/VexDoc.h"

IMPLEMENT_DYNCREATE(CVexImageOutput, CView)

BEGIN_MESSAGE_MAP(CVexImageOutput, CView)
END_MESSAGE_MAP()

int CVexImageOutput::SetBufferControl(CVexBufferControl* buffers) {
  m_pBufferControl = buffers;
  return 1;
}

CVexDoc* CVexImageOutput::GetDocument() const { return dynamic_cast<CVexDoc*>(m_pDocument); }

void CVexImageOutput::OnDraw(CDC*) { GetDocument(); }

BOOL CVexImageOutput::PreCreateWindow(CREATESTRUCT& cs) { return CView::PreCreateWindow(cs); }
