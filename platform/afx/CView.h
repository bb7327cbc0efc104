// CView: a child window that shows (part of) a document. Objects that need no window
// of their own are still views, so that the frame creates and routes to them.
#pragma once
#include "AfxCreateContext.h"
#include "CWnd.h"

class CDocument;
class CDC;
class CPrintInfo;
class CPreviewView;

class CView : public CWnd {
  DECLARE_DYNAMIC(CView)
 public:
  ~CView() override;
  CDocument* GetDocument() const { return m_pDocument; }
  CFrameWnd* GetParentFrame() const { return CWnd::GetParentFrame(); }

  virtual void OnDraw(CDC* pDC) = 0;
  virtual void OnInitialUpdate();
  virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
  virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
  virtual void OnActivateFrame(UINT nState, CFrameWnd* pFrameWnd) {}
  // pInfo is null for the screen. When printing without a known last page, only page 1 prints.
  virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr);

  // Printing and print preview: the framework's loop calls OnPreparePrinting (which
  // runs DoPreparePrinting: the dialog and the printer DC), OnBeginPrinting, then per
  // page OnPrepareDC and OnPrint, and OnEndPrinting.
  virtual BOOL OnPreparePrinting(CPrintInfo* pInfo);
  BOOL DoPreparePrinting(CPrintInfo* pInfo);
  virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) {}
  virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo);
  virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) {}
  virtual void OnEndPrintPreview(CDC* pDC, CPrintInfo* pInfo, POINT point, CPreviewView* pView);
  afx_msg void OnFilePrint();
  afx_msg void OnFilePrintPreview();
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  void PostNcDestroy() override;

  CDocument* m_pDocument = nullptr;

 protected:
  CView() = default;
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnDestroy();
  afx_msg void OnPaint();
  afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
  afx_msg LRESULT OnInitialUpdateMessage(WPARAM, LPARAM);
  DECLARE_MESSAGE_MAP()
  friend class CDocument;
};
