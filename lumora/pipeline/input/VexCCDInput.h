// CVexCCDInput: the input stage that takes pictures from the camera, and the one part of
// the program that calls the camera library. A capture writes the frame straight into
// the bitmap of its imaging control, which then goes into the image slot; beside it the
// stage offers the camera services the main frame and the flow control call directly.
#pragma once
#include <afxmt.h>

#include <atomic>
#include <memory>

#include "pipeline/VexImageInput.h"
#include "pipeline/VexStageControl.h"
#include "pipeline/input/VexcamCalls.h"

class CTrueImage;

class CVexCCDInput : public CVexImageInput {
  DECLARE_DYNCREATE(CVexCCDInput)
 public:
  enum { kErrorType = 110, kUpdateFlag = 0x4, kTries = 5 };
  CVexCCDInput();
  ~CVexCCDInput() override;

  BOOL CreateImagingControl(const RECT* rect) { return m_control.Create(rect, this); }
  virtual void OnSettingsChanged(LONG flag);

  int Input(SHORT slot) override;
  int UpdateImageInfo() override;

  // 0 ready, 1 after a recorded failure, 2 after the library answered -10.
  int CheckCameraPower(int testExposure);
  int ApplyExposure();
  int ApplyGain();
  // 1 measured (or cancelled), 0 refused or failed with the error recorded.
  virtual int MeasureWhiteBalance();
  int RunWhiteBalance(CTrueImage* image, RECT rect);
  int PrepareImage(CTrueImage* image, RECT rect);
  int Shutter(CTrueImage* image, RECT rect);
  int CaptureScratchFrame();
  int CaptureToCurrent();
  // The external-trigger flag the library latched since the last call; it is cleared.
  LONG CheckStatus();
  int PowerOff();

  int GetTryCount() const { return m_nTryCount; }
  int GetTryStatus(int index) const { return index >= 0 && index < kTries ? m_nTryStatus[index] : 0; }
  CLead* GetImagingControl() const { return m_control.Lead(); }
  // The library behind the stage; tests give it answers the simulated camera cannot.
  void SetLibraryCalls(const tVexcamCalls& calls) { m_calls = calls; }

 private:
  int Capture(SHORT slot);
  tCameraSettings* Block();
  // The block as the exposure and gains last went out, its status words left out.
  static tCameraSettings SentPart(const tCameraSettings& block);
  // Counts a call that works the camera (anything but sending the exposure, the gains
  // or reading the status).
  void CameraWorked() { ++m_nCameraWork; }
  int Fail(int detail);
  // A 640 x 512 frame, upright or turned, is a live frame.
  static bool IsLiveArea(const RECT& area);

  CVexStageControl m_control;
  std::unique_ptr<CTrueImage> m_pImage;
  int m_nTryCount = 0;
  int m_nTryStatus[kTries] = {};
  tVexcamCalls m_calls;
  // The trigger thread and the user-interface thread both hand the latched trigger over.
  CCriticalSection m_triggerLock;
  // What the camera was last given by ApplyExposure, and the camera's work count then:
  // the same exposure again, with nothing done with the camera since, is not sent again.
  std::unique_ptr<tCameraSettings> m_pSentExposure;
  unsigned m_nWorkAtSend = 0;
  bool m_bCameraMissing = false;  // the last power check found no camera
  std::atomic<unsigned> m_nCameraWork{0};
};
