// CVexItoIProcess: the base of the stages that turn a slot's picture into another
// picture (noise cut, profile, resize, RGB, shading, retouch). The flows pass one slot
// as source and destination: the stage works in place.
#pragma once
#include <afxwin.h>

#include "pipeline/VexStageLinks.h"

class CVexBufferControl;
class CVexDoc;
class CVexErrorControl;

class CVexItoIProcess : public CView, public CVexStageLinks {
  DECLARE_DYNCREATE(CVexItoIProcess)
 public:
  CVexItoIProcess() = default;

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
