// CVexNoiseCutProcess: runs the imaging control's noise filter on a long exposure.
#pragma once
#include "pipeline/VexItoIProcess.h"
#include "pipeline/VexStageControl.h"

class CVexNoiseCutProcess : public CVexItoIProcess {
  DECLARE_DYNCREATE(CVexNoiseCutProcess)
 public:
  enum { kErrorType = 210, kUpdateFlag = 0x100, kFilterSize = 3 };
  CVexNoiseCutProcess() = default;

  BOOL CreateImagingControl(const RECT* rect) override { return m_control.Create(rect, this); }
  // The filter is fixed: there is nothing to take from the settings.
  virtual void OnSettingsChanged(LONG flag) {}
  int Process(SHORT source, SHORT destination) override;
  CLead* GetImagingControl() const { return m_control.Lead(); }

 private:
  CVexStageControl m_control;
};
