// SECNewToolBar: the "New Toolbar" dialog. It asks for the new toolbar's name, which
// is never longer than a toolbar name may be; OK waits for a name.
#pragma once
#include <afxwin.h>

class SECNewToolBar : public CDialog {
 public:
  // Toolbar names are cut to this many bytes, on a character boundary.
  static constexpr int kMaxNameLength = 128;

  explicit SECNewToolBar(CWnd* pParent = nullptr);

  // Cuts `name` to kMaxNameLength bytes without splitting a character; TRUE when it was
  // longer.
  static BOOL CutName(CString& name);

  CString m_strToolBarName;  // after DoModal returns IDOK: the name entered

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  afx_msg void OnNameChange();
  DECLARE_MESSAGE_MAP()
};
