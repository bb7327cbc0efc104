// CVexRGBProcess: adds an offset to each colour channel of every pixel through lookup
// tables: table i adds 2i - 10 and holds the result to 0..255.
#pragma once
#include "pipeline/VexItoIProcess.h"
#include "pipeline/VexStageControl.h"

class CVexRGBProcess : public CVexItoIProcess {
  DECLARE_DYNCREATE(CVexRGBProcess)
 public:
  enum { kErrorType = 250, kUpdateFlag = 0x200, kTables = 21 };
  CVexRGBProcess();

  BOOL CreateImagingControl(const RECT* rect) override { return m_control.Create(rect, this); }
  virtual void OnSettingsChanged(LONG flag);
  int Process(SHORT source, SHORT destination) override;
  // The same correction on the newest live frame (the image slots' third bitmap).
  int ProcessCurrent();

  int GetTableIndex(int channel) const { return channel == 2 ? m_nRed : channel == 1 ? m_nGreen : m_nBlue; }
  CLead* GetImagingControl() const { return m_control.Lead(); }

 private:
  void Apply(const BITMAP& bm) const;

  CVexStageControl m_control;
  int m_tables[kTables][256];
  int m_nRed = 0, m_nGreen = 0, m_nBlue = 0;
};
