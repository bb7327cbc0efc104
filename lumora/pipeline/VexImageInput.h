// CVexImageInput: the base of the stages that fill an image slot (camera, file). The
// flow control calls Input with a slot; the stage answers 1, or 0 with its error pair
// in the document's error latch.
#pragma once
#include <afxwin.h>

#include "pipeline/VexStageLinks.h"

class CVexBufferControl;
class CVexDoc;
class CVexErrorControl;

class CVexImageInput : public CView, public CVexStageLinks {
  DECLARE_DYNCREATE(CVexImageInput)
 public:
  CVexImageInput() = default;

  int SetBufferControl(CVexBufferControl* buffers) override;
  void SetErrorControl(CVexErrorControl* errors) override { m_pErrorControl = errors; }
  CVexDoc* GetDocument() const;

  virtual int Input(SHORT slot) { return 1; }
  // Records in the document what the picture just taken in is.
  virtual int UpdateImageInfo() { return 0; }

  void OnDraw(CDC* pDC) override;

 protected:
  CVexBufferControl* m_pBufferControl = nullptr;
  CVexErrorControl* m_pErrorControl = nullptr;
  DECLARE_MESSAGE_MAP()
};
