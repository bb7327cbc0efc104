// CVexRetouchProcess: the retouch stage. It runs the retouch dialog on the still
// picture shown and stores what the dialog left in its working control, on OK as on
// Cancel, so the display that follows always has a picture.
#pragma once
#include "pipeline/VexItoIProcess.h"
#include "pipeline/VexStageControl.h"

class CVexRetouchProcess : public CVexItoIProcess {
  DECLARE_DYNCREATE(CVexRetouchProcess)
 public:
  enum { kErrorType = 241, kUpdateFlag = 0x10, kStepId = 100, kChildId = 1136 };
  CVexRetouchProcess() = default;

  BOOL CreateImagingControl(const RECT* rect) override { return m_control.Create(rect, this); }
  virtual void OnSettingsChanged(LONG flag) {}
  int Process(SHORT source, SHORT destination) override;
  CLead* GetImagingControl() const { return m_control.Lead(); }

  // Set by the dialog when it cannot build one of its parts: 1 the operations, 2 to 5
  // the Enhance, Color, Size and W.Balance pages; 0 none.
  void SetConstructionError(SHORT code) { m_nConstructionError = code; }
  SHORT GetConstructionError() const { return m_nConstructionError; }

 private:
  void Report(int type, int detail);

  CVexStageControl m_control;
  SHORT m_nConstructionError = 0;
};
