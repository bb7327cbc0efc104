// CVexThumbnailMakeDlg: the modeless progress window of a thumbnail rebuild. It has no
// button and no close box: its owner creates and destroys it.
#pragma once
#include <afxcmn.h>
#include <afxwin.h>

class CVexThumbnailMakeDlg : public CDialog {
 public:
  enum { IDD = 213 };
  explicit CVexThumbnailMakeDlg(CWnd* pParent = nullptr) : CDialog(IDD, pParent) {}

  CStatic m_text;
  CProgressCtrl m_progress;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
};
