// CVexImageOutput: the base of the stages that take a slot's picture out (the display
// panes, the file and the printer).
#pragma once
#include <afxwin.h>

#include "pipeline/VexStageLinks.h"

class CVexBufferControl;
class CVexDoc;
class CVexErrorControl;

class CVexImageOutput : public CView, public CVexStageLinks {
  DECLARE_DYNCREATE(CVexImageOutput)
 public:
  CVexImageOutput() = default;

  int SetBufferControl(CVexBufferControl* buffers) override;
  void SetErrorControl(CVexErrorControl* errors) override { m_pErrorControl = errors; }
  CVexDoc* GetDocument() const;

  virtual int Output(SHORT slot) { return 1; }
  virtual int UpdateImageInfo() { return 0; }

  void OnDraw(CDC* pDC) override;
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;

 protected:
  CVexBufferControl* m_pBufferControl = nullptr;
  CVexErrorControl* m_pErrorControl = nullptr;
  DECLARE_MESSAGE_MAP()
};
