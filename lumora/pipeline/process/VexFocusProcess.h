// CVexFocusProcess: turns an 80 x 80 window of each live frame around the focus point
// into one sharpness number for the focus meter. It measures and never changes the
// live picture.
#pragma once
#include "pipeline/VexItoVProcess.h"
#include "pipeline/VexStageControl.h"

class CVexCCDInput;

class CVexFocusProcess : public CVexItoVProcess {
  DECLARE_DYNCREATE(CVexFocusProcess)
 public:
  enum { kErrorType = 310, kUpdateFlag = 0x40, kWindowSize = 80 };
  CVexFocusProcess() = default;

  BOOL CreateImagingControl(const RECT* rect) override { return m_control.Create(rect, this); }
  virtual void OnSettingsChanged(LONG flag);
  int Process(SHORT source, SHORT destination) override;
  // The camera input lays out the measured image as the camera library would.
  int SetCameraInput(CVexCCDInput* camera) {
    m_pCameraInput = camera;
    return 1;
  }
  const RECT& GetWindow() const { return m_rcWindow; }
  CLead* GetImagingControl() const { return m_control.Lead(); }

 private:
  int Fail(int detail);

  CVexStageControl m_control;
  CVexCCDInput* m_pCameraInput = nullptr;
  RECT m_rcWindow = {0, 0, 50, 50};
};
