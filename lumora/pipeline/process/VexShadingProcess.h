// CVexShadingProcess: corrects the fall-off of brightness towards the sensor's edges.
// Each pixel is multiplied by a gain that depends on its squared distance from the
// centre of the full frame and on one strength; the gains are computed once per setting
// for a quarter of each frame size and read back by mirroring. The tables are rebuilt on
// the user-interface thread while the live flow may use them, so one lock guards them.
#pragma once
#include <afxmt.h>

#include <memory>

#include "pipeline/VexItoIProcess.h"
#include "pipeline/VexStageControl.h"

class CVexShadingProcess : public CVexItoIProcess {
  DECLARE_DYNCREATE(CVexShadingProcess)
 public:
  enum { kErrorType = 260, kUpdateFlag = 0x400, kUnity = 32768, kStrongest = 100 };
  CVexShadingProcess() = default;
  ~CVexShadingProcess() override;

  BOOL CreateImagingControl(const RECT* rect) override { return m_control.Create(rect, this); }
  virtual void OnSettingsChanged(LONG flag);
  int Process(SHORT source, SHORT destination) override;
  // The same correction on the newest live frame (the image slots' third bitmap).
  int ProcessCurrent();

  // The gain of row i, column j of a frame's first quarter; 0 when no table is built.
  int GetGain(int frameWidth, int i, int j);
  bool HasTables();
  CLead* GetImagingControl() const { return m_control.Lead(); }

 private:
  struct Frame {
    LONG width, height;
    const int* table;
    RECT region;
  };
  void BuildTables(int strength, int turned, int inverted);
  void FreeTables();
  bool TablesLocked() const { return m_pTable3840 && m_pTable1280 && m_pTable640; }
  // The frame, table and region of the picture at hand; false when none is built.
  bool ChooseFrame(Frame* frame);
  // False, and nothing changed, when the region does not lie in the bitmap or the frame.
  bool Apply(const BITMAP& bm);

  // The tables are megabytes each: they are pages of their own, given back whole.
  struct PageRelease {
    void operator()(int* table) const;
  };
  using GainTable = std::unique_ptr<int[], PageRelease>;

  CCriticalSection m_lock;
  CVexStageControl m_control;
  int m_bTurned = 0;
  int m_bInverted = 0;
  GainTable m_pTable3840;
  GainTable m_pTable1280;
  GainTable m_pTable640;
  const int* m_pCurrentTable = nullptr;
  int m_nStrength = 0;
};
