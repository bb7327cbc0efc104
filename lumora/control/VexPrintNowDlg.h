// CVexPrintNowDlg: the modeless progress window of a print job. Cancel (and the close
// box) only tell the owner, which ends the job and destroys the window.
#pragma once
#include <afxwin.h>

class CVexPrintNowDlg : public CDialog {
 public:
  enum { IDD = 211 };
  // Creates the window at once.
  CVexPrintNowDlg(CWnd* pParent, CWnd* pOwner);

  void BeginCapture();
  void EndCapture(CWnd* pFocus);

  CButton m_cancelButton;
  CStatic m_title;     // 1113
  CStatic m_document;  // 1110
  CStatic m_printer;   // 1111
  CStatic m_page;      // 1112

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnCancel() override;
  afx_msg void OnClose();
  DECLARE_MESSAGE_MAP()

 private:
  void ForwardCancel();
  CWnd* m_pOwner = nullptr;
};
