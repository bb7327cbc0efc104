// CStaticFilespec: a static control that shows a path on one line, shortened in the
// middle (path ellipsis) or at the end when it does not fit.
#pragma once
#include <afxwin.h>

class CStaticFilespec : public CWnd {
 public:
  explicit CStaticFilespec(DWORD format = DT_NOPREFIX | DT_VCENTER) : m_format(format) {}
  void SetPathEllipsis(BOOL on) { m_bPathEllipsis = on; }

 protected:
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()

 private:
  DWORD m_format;
  BOOL m_bPathEllipsis = FALSE;
};
