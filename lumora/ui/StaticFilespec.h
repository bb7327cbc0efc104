// CStaticFilespec: a static control that shows a path on one line, shortened in the
// middle (path ellipsis) or at the end when it does not fit, in its parent's font on the
// button face. Only the drawing is shortened: the window text keeps the whole path.
#pragma once
#include <afxwin.h>

class CStaticFilespec : public CWnd {
 public:
  explicit CStaticFilespec(DWORD format = DT_NOPREFIX | DT_VCENTER, BOOL pathEllipsis = FALSE)
      : m_bPathEllipsis(pathEllipsis), m_dwFormat(format) {}
  void SetPathEllipsis(BOOL on) { m_bPathEllipsis = on; }
  BOOL GetPathEllipsis() const { return m_bPathEllipsis; }
  DWORD GetFormat() const { return m_dwFormat; }

 protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  BOOL m_bPathEllipsis;
  DWORD m_dwFormat;
};
