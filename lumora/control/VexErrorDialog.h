// CVexErrorDialog: the modal box that shows an error's code line and message.
#pragma once
#include <afxwin.h>

class CVexErrorDialog : public CDialog {
 public:
  enum { IDD = 231, IDC_CODE = 1143, IDC_MESSAGE = 1144 };
  explicit CVexErrorDialog(CWnd* pParent = nullptr) : CDialog(IDD, pParent) {}

  // Code line "エラーコード: ttt:ddd" from the string table, and the message.
  void SetContent(int type, int detail, const CString& message);
  const CString& GetCodeLine() const { return m_strCode; }
  const CString& GetMessage() const { return m_strMessage; }

 protected:
  BOOL OnInitDialog() override;

 private:
  CString m_strCode;
  CString m_strMessage;
};
