// The Save page's text edits that refuse characters a path cannot hold: CVexBrowseEdit,
// the image-folder edit with its browse button, and CVexCheckEdit, the file-name prefix
// and body edits. Typed and pasted text pass the same filter.
#pragma once
#include <afxwin.h>

#include "controls/SECBrowseEdit.h"

class CVexBrowseEdit : public SECBrowseDirEdit {
 public:
  // Whether `ch` may be typed at the end of `text`: a colon only right after a drive
  // letter, and none of . ? * " / < > | +.
  static bool Accepts(const CString& text, UINT ch);

 protected:
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg LRESULT OnPaste(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};

class CVexCheckEdit : public CEdit {
 public:
  // Whether `ch` may stand in a file name: none of . ? * " : / < > | + %.
  static bool Accepts(UINT ch);

 protected:
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg LRESULT OnPaste(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};
