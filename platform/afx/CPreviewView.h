// CPreviewView: print preview. It takes the place of the frame's contents, shows the
// current page of the printing view scaled to the screen, and offers print, next page,
// previous page and close. Pages are drawn again on every paint.
#pragma once
#include <memory>
#include <vector>

#include "CPreviewDC.h"
#include "CView.h"

class CPrintInfo;

class CPreviewView : public CView {
  DECLARE_DYNCREATE(CPreviewView)
 public:
  CPreviewView();
  ~CPreviewView() override;

  // Starts previewing `pPrintView` in its frame. FALSE when the view declines or nothing
  // can be shown; the frame is then unchanged and the caller still owns this object.
  BOOL StartPreview(CView* pPrintView);
  // Gives the frame its contents back and destroys the preview window (and object).
  void EndPreview();

  void OnDraw(CDC* pDC) override;
  UINT GetCurrentPage() const { return m_nCurrentPage; }
  CPreviewDC* GetPreviewDC() const { return m_pPreviewDC.get(); }
  CPrintInfo* GetPreviewInfo() const { return m_pPreviewInfo.get(); }
  HWND GetButtonBar() const { return m_hBar; }
  // The rectangle the current page's paper has in the client area.
  CRect GetPageRect() const;

 protected:
  afx_msg void OnPreviewClose();
  afx_msg void OnPreviewNext();
  afx_msg void OnPreviewPrev();
  afx_msg void OnPreviewPrint();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  DECLARE_MESSAGE_MAP()

 private:
  void ShowPage(UINT nPage);
  void UpdateBar();

  CView* m_pPrintView = nullptr;
  CView* m_pOrigView = nullptr;
  CFrameWnd* m_pFrame = nullptr;
  std::unique_ptr<CPrintInfo> m_pPreviewInfo;
  std::unique_ptr<CPreviewDC> m_pPreviewDC;
  UINT m_nCurrentPage = 1;
  HWND m_hBar = nullptr;
  HWND m_hOrigPane = nullptr;      // the frame's pane, renumbered while the preview has its place
  std::vector<HWND> m_hidden;      // the frame's children hidden for the preview
};
