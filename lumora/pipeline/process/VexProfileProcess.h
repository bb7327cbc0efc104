// CVexProfileProcess: draws the red, green and blue intensity curves of one picture row
// into the live picture itself.
#pragma once
#include "pipeline/VexItoIProcess.h"
#include "pipeline/VexStageControl.h"

class CVexProfileProcess : public CVexItoIProcess {
  DECLARE_DYNCREATE(CVexProfileProcess)
 public:
  enum { kErrorType = 220, kUpdateFlag = 0x20 };
  CVexProfileProcess() = default;

  BOOL CreateImagingControl(const RECT* rect) override { return m_control.Create(rect, this); }
  virtual void OnSettingsChanged(LONG flag);
  int Process(SHORT source, SHORT destination) override;
  SHORT GetProfileRow() const { return m_nRow; }
  CLead* GetImagingControl() const { return m_control.Lead(); }

 private:
  CVexStageControl m_control;
  SHORT m_nRow = 128;
};
