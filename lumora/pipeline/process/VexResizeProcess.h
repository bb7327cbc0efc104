// CVexResizeProcess: scales a shot by the percentage the resized-save setting chooses.
#pragma once
#include "pipeline/VexItoIProcess.h"
#include "pipeline/VexStageControl.h"

class CVexResizeProcess : public CVexItoIProcess {
  DECLARE_DYNCREATE(CVexResizeProcess)
 public:
  enum { kErrorType = 230, kUpdateFlag = 0x80 };
  CVexResizeProcess() = default;

  BOOL CreateImagingControl(const RECT* rect) override { return m_control.Create(rect, this); }
  virtual void OnSettingsChanged(LONG flag);
  int Process(SHORT source, SHORT destination) override;
  // 1..100 is stored (1); anything else is refused (0) and changes nothing.
  int SetPercent(SHORT percent);
  SHORT GetPercent() const { return m_nPercent; }
  CLead* GetImagingControl() const { return m_control.Lead(); }

 private:
  CVexStageControl m_control;
  SHORT m_nPercent = 100;
};
