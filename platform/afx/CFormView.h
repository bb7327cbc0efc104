// CFormView: a view whose window and controls come from a dialog template (child
// style), exchanging data like a dialog.
#pragma once
#include "CView.h"

class CFormView : public CView {
  DECLARE_DYNAMIC(CFormView)
 public:
  BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
              UINT nID, CCreateContext* pContext = nullptr) override;
  void OnInitialUpdate() override;
  void OnDraw(CDC*) override {}
  BOOL PreTranslateMessage(MSG* pMsg) override;
  // Sizes the parent frame so the view shows the whole template (or, with bShrinkOnly,
  // only makes it smaller where the view is larger than the template).
  void ResizeParentToFit(BOOL bShrinkOnly = TRUE);
  CSize GetTotalSize() const { return m_totalDev; }

  LPCSTR m_lpszTemplateName = nullptr;

 protected:
  explicit CFormView(LPCSTR lpszTemplateName) : m_lpszTemplateName(lpszTemplateName) {}
  explicit CFormView(UINT nIDTemplate) : m_lpszTemplateName(MAKEINTRESOURCEA(nIDTemplate)) {}
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);

  CCreateContext* m_pCreateContext = nullptr;  // passed to OnCreate, which the dialog manager cannot
  CSize m_totalDev;
  DECLARE_MESSAGE_MAP()
};
