// CVexAnnoContrl: the annotation tool palette, a small modeless window of eight tool
// buttons and "Set". The display asks the main frame for the chosen tool at each press;
// the palette itself only tells the frame to drop an unfinished object, to open the
// defaults dialog of the tool, and to close it.
#pragma once
#include <afxwin.h>

class CVexDisplayOutput;

class CVexAnnoContrl : public CDialog {
 public:
  enum { IDD = 1124 };
  // Radio index of each tool: 0 none (select and edit), 1 text, 2 line, 3 rectangle,
  // 4 ellipse, 5 polygon, 6 polyline, 7 freehand curve.
  explicit CVexAnnoContrl(CVexDisplayOutput* pOwnerView = nullptr, CWnd* pParent = nullptr)
      : CDialog(IDD, pParent), m_pOwnerView(pOwnerView) {}

  void SetOwnerView(CVexDisplayOutput* view) { m_pOwnerView = view; }
  CVexDisplayOutput* GetOwnerView() const { return m_pOwnerView; }

  int m_nSelectedTool = 0;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  // Enter and Escape leave the palette open.
  void OnOK() override {}
  void OnCancel() override {}
  afx_msg void OnToolButton(UINT nID);
  afx_msg void OnSet();
  afx_msg void OnClose();
  DECLARE_MESSAGE_MAP()

 private:
  CVexDisplayOutput* m_pOwnerView;
};
