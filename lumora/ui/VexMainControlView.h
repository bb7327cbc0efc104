// CVexMainControlView: the camera control panel in the lower right pane. Its capture
// button (1038) takes one still picture through the main frame; the external-trigger
// thread sends the same command.
#pragma once
#include <afxext.h>
#include <afxwin.h>

class CVexDoc;
class CVexErrorControl;
class CVexProcessDialog;

class CVexMainControlView : public CFormView {
  DECLARE_DYNCREATE(CVexMainControlView)
 public:
  enum { IDD = 133, kCaptureButton = 1038 };
  CVexMainControlView();

  CVexDoc* GetDocument() const;
  void SetProcessDialog(CVexProcessDialog* dialog) { m_pProcessDialog = dialog; }
  void SetErrorControl(CVexErrorControl* errors) { m_pErrorControl = errors; }
  // The update broadcast: 0x10000 reloads every setting; every other value is ignored.
  virtual void OnSettingsChanged(LONG flag);
  // Keyboard focus to the capture button.
  void FocusCaptureButton();
  int IsCaptureRunning() const { return m_bCaptureRunning; }

 protected:
  afx_msg void OnExposure();
  DECLARE_MESSAGE_MAP()

 private:
  void ReportLastError();

  CVexProcessDialog* m_pProcessDialog = nullptr;
  CVexErrorControl* m_pErrorControl = nullptr;
  int m_bCaptureRunning = 0;
  int m_bLiveWasRunning = 0;
};
