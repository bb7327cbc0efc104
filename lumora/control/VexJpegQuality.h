// CVexJpegQuality: asks for the quality of a JPEG save: 0 Fine, 1 Normal, 2 Basic.
#pragma once
#include <afxwin.h>

class CVexJpegQuality : public CDialog {
 public:
  enum { IDD = 203 };
  explicit CVexJpegQuality(CWnd* pParent = nullptr) : CDialog(IDD, pParent) {}

  // An index outside 0..2 is stored as Fine.
  int SetQuality(int index);
  int GetQuality() const { return m_nQuality; }

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;

 private:
  int m_nQuality = -1;
};
