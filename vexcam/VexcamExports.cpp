// The exports: each repairs the caller's block, makes it the current block and forwards
// to the camera object. A call without a block or before start-up does no work.
#include "VexcamApi.h"

#include "CameraCtrl.h"
#include "CaptureFormat.h"
#include "SettingsBlock.h"

namespace {

// The caller's block and image are the library's only while the export runs: every
// export forgets them on its way out, so nothing later reaches memory the caller freed.
// Both are per thread: exports on two threads (a capture and the trigger poll) never
// see or clear each other's.
struct ExportScope {
  ExportScope() = default;
  ExportScope(const ExportScope&) = delete;
  ExportScope& operator=(const ExportScope&) = delete;
  ~ExportScope() {
    if (CCameraCtrl* camera = Camera()) camera->m_pImage = nullptr;
    UseSettings(nullptr);
  }
};

CCameraCtrl* Enter(tCameraSettings* settings) {
  if (!settings) return nullptr;
  NormaliseSettings(*settings);
  UseSettings(settings);
  return Camera();
}

}  // namespace

int WINAPI KQ_GetMallocSize(CTrueImage* image, RECT rect, tCameraSettings* settings) {
  ExportScope scope;
  if (!settings) return 0;
  CCameraCtrl* camera = Enter(settings);
  LONG result = camera ? camera->FormatImage(image, rect) : FormatImage(image, rect, *settings);
  if (result != 1) return result;
  return MallocSize(rect.right - rect.left, rect.bottom - rect.top);
}

int WINAPI KQ_OnShutter(CTrueImage* image, RECT rect, int flag, tCameraSettings* settings) {
  ExportScope scope;
  CCameraCtrl* camera = Enter(settings);
  if (!camera || flag < 0) return -1;
  camera->m_CaptureOptionA = settings->CaptureOptionA;
  camera->m_CaptureOptionB = settings->CaptureOptionB;
  return camera->OnShutter(image, rect, flag);
}

int WINAPI KQ_SetCDSGain(const LONG* gains, tCameraSettings* settings) {
  ExportScope scope;
  CCameraCtrl* camera = Enter(settings);
  if (!camera) return 1;
  if (gains) {
    camera->SetCDSGain(gains);
    return 1;
  }
  // A camera that did not take the gains (no answer to its power check) is not searched
  // for a second time for the black levels.
  const BOOL sent = camera->SetCDSGain(settings->WBGain[settings->GainLv]);
  if (settings->CameraVer & 4) {
    if (sent) camera->SetBlackLevel(settings->BB_Lev[settings->GainLv]);
    for (int i = 0; i < 4; ++i) settings->Black_Level[i] = settings->BB_Lev[settings->GainLv][i];
  }
  return 1;
}

int WINAPI KQ_SetExposure(tCameraSettings* settings) {
  ExportScope scope;
  CCameraCtrl* camera = Enter(settings);
  if (!camera) return 1;
  if (CameraModel(settings->CameraVer) != 0xA) {
    camera->SetShutterStep(settings->ExpMode);
  } else if (settings->ExpMode == 2) {
    camera->SetExposure(1, 1);
    camera->WaitSyncPhase(0);
    camera->WaitSyncPhase(1);
    camera->SetExposure(settings->ExpParam, 2);
  } else {
    camera->SetExposure(settings->ExpParam, settings->ExpMode);
  }
  return 1;
}

int WINAPI KQ_CheckCameraPower(tCameraSettings* settings) {
  ExportScope scope;
  CCameraCtrl* camera = Enter(settings);
  return camera ? camera->CheckCameraPower() : 0;
}

int WINAPI KQ_PowerOff(tCameraSettings* settings) {
  ExportScope scope;
  if (CCameraCtrl* camera = Enter(settings)) camera->PowerOff();
  return 1;
}

int WINAPI KQ_PowerOn(tCameraSettings* settings) {
  ExportScope scope;
  if (CCameraCtrl* camera = Enter(settings)) camera->PowerOn();
  return 1;
}

int WINAPI KQ_WhiteBalance(CTrueImage* image, RECT rect, tCameraSettings* settings) {
  ExportScope scope;
  if (rect.right < rect.left || rect.bottom < rect.top) return -10;
  CCameraCtrl* camera = Enter(settings);
  if (!camera) return -1;
  return camera->WhiteBalance(image, rect, settings->WBAllLevels ? 3 : 1);
}

int WINAPI KQ_WriteCDSParamToEEPROM(int value, tCameraSettings* settings) {
  ExportScope scope;
  if (CCameraCtrl* camera = Enter(settings)) camera->WriteCDSParamToEEPROM(value);
  return 1;
}

int WINAPI KQ_SetAdTop(tCameraSettings* settings) {
  ExportScope scope;
  if (CCameraCtrl* camera = Enter(settings)) camera->SetAdTop(settings->AdTop);
  return 1;
}

int WINAPI KQ_CheckStatus(tCameraSettings* settings) {
  ExportScope scope;
  CCameraCtrl* camera = Enter(settings);
  if (!camera) return 0;
  // A pulse latched by a capture's status read on another thread is taken exactly once.
  const LONG latched = camera->m_TriggerLatch.exchange(0);
  if (!settings->TriggerHold) settings->TriggerEvent = latched;
  return int(camera->ReadCameraStatus());
}

int WINAPI KQ_MemoryShot(DWORD* buffer, CTrueImage* image, RECT rect, tCameraSettings* settings) {
  ExportScope scope;
  if (CCameraCtrl* camera = Enter(settings)) camera->MemoryShot(buffer, image, rect);
  return 1;
}

int WINAPI KQ_ImageFromBuffer(WORD* raw, CTrueImage* image, RECT rect, tCameraSettings* settings) {
  ExportScope scope;
  if (CCameraCtrl* camera = Enter(settings)) camera->ImageFromBuffer(raw, image, rect);
  return 1;
}

int WINAPI KQ_SetAGCGain(const LONG* gains, tCameraSettings* settings) {
  ExportScope scope;
  if (CCameraCtrl* camera = Enter(settings)) camera->SetAGCGain(gains);
  return 1;
}

int WINAPI KQ_RGBplaneUnit_Factory(int a, int b, int c, int rows, tCameraSettings* settings) {
  ExportScope scope;
  if (CCameraCtrl* camera = Enter(settings)) camera->FillPlanesFromUnits(a, b, c, rows);
  return 1;
}

int WINAPI KQ_CaptureImage_Factory(int left, int top, int right, int bottom, int type, tCameraSettings* settings) {
  ExportScope scope;
  CCameraCtrl* camera = Enter(settings);
  return camera ? camera->CaptureFactory(RECT{left, top, right, bottom}, type) : 0;
}

int WINAPI KQ_BitsArrayFromPlanesRaw(BYTE* rows, int width, int height, int stride, tCameraSettings* settings) {
  ExportScope scope;
  if (CCameraCtrl* camera = Enter(settings)) camera->RGBFromPlanesRaw(rows, width, height, stride);
  return 1;
}

int WINAPI KQ_OHPContinue(CTrueImage* image, tCameraSettings* settings) {
  ExportScope scope;
  CCameraCtrl* camera = Enter(settings);
  return camera ? camera->ContinueFrame(image) : 0;
}
