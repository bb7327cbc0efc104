// CVexProcessDialog: the top-most progress window of a still capture or a white-balance
// measurement, with its bar, its status text and a STOP button. The flow control drives
// it from its progress thread; while it runs it holds the mouse so that the rest of the
// program takes no clicks.
#pragma once
#include <afxcmn.h>
#include <afxwin.h>

#include <atomic>

class CVexDoc;

class CVexProcessDialog : public CDialog {
 public:
  enum { IDD = 154, kStop = 1001, kBar = 1066, kStatus = 1067 };
  CVexProcessDialog();

  void SetDocument(CVexDoc* doc) { m_pDoc = doc; }
  // Resets the window for capture kinds 0-3 or white balance (4).
  virtual void Begin(SHORT mode);
  // Shows the document's progress; 1 once STOP was pressed (the caller then aborts).
  virtual int UpdateProgress();
  // Focus and mouse capture to the window; back to `next` afterwards.
  void TakeMouse();
  void ReleaseMouse(CWnd* next);

  // Bar position and percentage for one reading of the progress words (no window).
  struct Reading {
    int position;
    int percent;
    UINT text;  // status string, 0 for an empty text
  };
  static Reading Compute(SHORT mode, int a, int b, int c);
  // The capture phase's smoothing table, entry by progress word a (0-255).
  static SHORT MapEntry(int a);

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  afx_msg void OnStop();
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnClose();
  DECLARE_MESSAGE_MAP()

  CButton m_btnStop;
  CProgressCtrl m_bar;
  CStatic m_status;
  SHORT m_nMode = 0;
  SHORT m_a = 0, m_b = 0, m_c = 0;
  CRect m_rcStop;
  std::atomic<int> m_bStopping{0};
  CVexDoc* m_pDoc = nullptr;
};
