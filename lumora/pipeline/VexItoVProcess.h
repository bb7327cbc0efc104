// CVexItoVProcess: the base of the stages that turn a slot's picture into values kept
// in the document (focus). The picture itself stays as it is.
#pragma once
#include <afxwin.h>

#include "pipeline/VexStageLinks.h"

class CVexBufferControl;
class CVexDoc;
class CVexErrorControl;

class CVexItoVProcess : public CView, public CVexStageLinks {
  DECLARE_DYNCREATE(CVexItoVProcess)
 public:
  CVexItoVProcess() = default;

  int SetBufferControl(CVexBufferControl* buffers) override;
  void SetErrorControl(CVexErrorControl* errors) override { m_pErrorControl = errors; }
  CVexDoc* GetDocument() const;

  virtual int Process(SHORT source, SHORT destination) { return 1; }

  void OnDraw(CDC* pDC) override;

 protected:
  CVexBufferControl* m_pBufferControl = nullptr;
  CVexErrorControl* m_pErrorControl = nullptr;
  DECLARE_MESSAGE_MAP()
};
