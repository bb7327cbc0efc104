// CVexFullScreenOutput: shows one picture on the whole screen, and closes on Enter, Tab,
// Esc, Space, End or a left or right click. A dialog (template 236) whose only item, the
// static 1146, hosts the viewer's own imaging control. The main frame creates it once,
// shows it for full-screen mode and hides it again in ExitFullScreen.
#pragma once
#include <afxwin.h>

#include <memory>

#include "pipeline/VexStageLinks.h"

class CLead;
class CVexBufferControl;

class CVexFullScreenOutput : public CDialog, public CVexStageLinks {
 public:
  enum { IDD = 236, kPictureFrame = 1146 };

  explicit CVexFullScreenOutput(CWnd* pParent = nullptr);
  ~CVexFullScreenOutput() override;

  int SetBufferControl(CVexBufferControl* buffers) override {
    m_pBuffers = buffers;
    return 1;
  }
  // Makes the viewer's control in the picture frame (again); TRUE on success.
  BOOL CreateImagingControl();
  CLead* GetImagingControl() const;
  // The slot's picture, or the still picture for -1; 0 without a control. The live
  // thread calls it too: the repaint it asks for never waits for the window's thread.
  virtual int ShowImage(SHORT slot);
  // Places the control for a picture of width x height, centred and shrunk to the
  // window (never enlarged); 0 for a size that is not positive.
  int FitControl(int width, int height);
  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;

 private:
  void Leave();

  CStatic m_pictureFrame;
  std::unique_ptr<CLead> m_pLead;
  CVexBufferControl* m_pBuffers = nullptr;
};
