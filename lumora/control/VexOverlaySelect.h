// CVexOverlaySelect: asks which overlays are burnt into a saved picture. The answer is
// a bit set: 1 annotations, 2 scale; Cancel answers 0 (none).
#pragma once
#include <afxwin.h>

class CVexOverlaySelect : public CDialog {
 public:
  enum { IDD = 244 };
  explicit CVexOverlaySelect(CWnd* pParent = nullptr) : CDialog(IDD, pParent) {}

  // A flag of 1 offers that overlay (checked and enabled); 0 shows it off and disabled.
  int SetOverlays(int annotation, int scale);

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;

 private:
  CButton m_scaleBox;
  CButton m_annotationBox;
  int m_nAnnotation = 0;
  int m_nScale = 0;
};
