#include "VexCCDInput.h"

#include <atomic>
#include <cstring>

#include "TrueImage.h"
#include "binding/CLead.h"
#include "control/VexBufferControl.h"
#include "control/VexDoc.h"
#include "pipeline/VexPixelAccess.h"

IMPLEMENT_DYNCREATE(CVexCCDInput, CVexImageInput)

namespace {

// Capture kinds the library tells apart.
constexpr LONG kLiveFrame = 0, kEnhancedLiveFrame = 1, kStillFrame = 10;

constexpr DWORD kPowerRetryWait = 1000, kSettleWait = 100;

// The last white-balance exposure a camera of each kind can measure with.
constexpr LONG kWhiteBalanceLowest = 41, kWhiteBalanceLimitOld = 1043, kWhiteBalanceLimitNew = 1068;

// The white-balance gains and black levels the document holds, 3 gain levels x 4 channels.
struct SavedLevels {
  SHORT gain[3][4];
  SHORT black[3][4];
  void Take(const CVexDoc& doc) {
    for (SHORT level = 0; level < 3; ++level)
      for (SHORT channel = 0; channel < 4; ++channel) {
        gain[level][channel] = doc.GetWBGain(level, channel);
        black[level][channel] = doc.GetBBLevel(level, channel);
      }
  }
  void PutGains(CVexDoc& doc) const {
    for (SHORT level = 0; level < 3; ++level)
      for (SHORT channel = 0; channel < 4; ++channel) doc.SetWBGain(level, channel, gain[level][channel]);
  }
  void PutBlackLevels(CVexDoc& doc) const {
    for (SHORT level = 0; level < 3; ++level)
      for (SHORT channel = 0; channel < 4; ++channel) doc.SetBBLevel(level, channel, black[level][channel]);
  }
};

}  // namespace

CVexCCDInput::CVexCCDInput() : m_calls(VexcamLibraryCalls()) {}

CVexCCDInput::~CVexCCDInput() = default;

tCameraSettings* CVexCCDInput::Block() { return GetDocument()->GetCameraSettings(); }

bool CVexCCDInput::IsLiveArea(const RECT& area) {
  const LONG w = area.right - area.left, h = area.bottom - area.top;
  return (w == 640 && h == 512) || (w == 512 && h == 640);
}

int CVexCCDInput::Fail(int detail) {
  GetDocument()->SetLastError(kErrorType, detail, 1);
  return 0;
}

void CVexCCDInput::OnSettingsChanged(LONG flag) {
  if (flag == kUpdateFlag) ApplyExposure();
}

int CVexCCDInput::UpdateImageInfo() {
  GetDocument()->BuildShotParameters();
  return 1;
}

int CVexCCDInput::PrepareImage(CTrueImage* image, RECT rect) {
  CameraWorked();
  const int size = m_calls.GetMallocSize(image, rect, Block());
  image->CreateDIB();
  return size;
}

int CVexCCDInput::Shutter(CTrueImage* image, RECT rect) {
  CameraWorked();
  return m_calls.OnShutter(image, rect, 0, Block());
}

int CVexCCDInput::RunWhiteBalance(CTrueImage* image, RECT rect) {
  GetDocument()->SetAbort(0);
  CameraWorked();
  return m_calls.WhiteBalance(image, rect, Block());
}

tCameraSettings CVexCCDInput::SentPart(const tCameraSettings& block) {
  tCameraSettings part = block;
  // Written by the abort switch and by status reads, never sent.
  part.bAbort = 0;
  std::memset(part.Progress, 0, sizeof part.Progress);
  part.Camera_Status = 0;
  part.TriggerEvent = 0;
  part.TriggerHold = 0;
  return part;
}

int CVexCCDInput::ApplyExposure() {
  tCameraSettings* block = Block();
  // A camera that did not answer the last power check hears nothing: each send would only
  // search for it again. The exposure stays in the block for the check that finds it.
  if (m_bCameraMissing) return 1;
  // Live view re-applies the exposure as it starts, mostly just after the change that
  // applied it: the camera still has it, and sending it again costs the settle waits.
  if (m_pSentExposure && m_nWorkAtSend == m_nCameraWork.load()) {
    const tCameraSettings now = SentPart(*block);
    if (std::memcmp(&now, m_pSentExposure.get(), sizeof now) == 0) return 1;
  }
  m_pSentExposure.reset();
  const int result = m_calls.SetExposure(block);
  ::Sleep(kSettleWait);
  ApplyGain();
  m_pSentExposure = std::make_unique<tCameraSettings>(SentPart(*block));
  m_nWorkAtSend = m_nCameraWork.load();
  return result;
}

int CVexCCDInput::ApplyGain() {
  const int result = m_calls.SetCDSGain(nullptr, Block());
  ::Sleep(kSettleWait);
  return result;
}

int CVexCCDInput::PowerOff() {
  CameraWorked();
  return m_calls.PowerOff(Block());
}

LONG CVexCCDInput::CheckStatus() {
  CSingleLock lock(&m_triggerLock, TRUE);
  tCameraSettings* block = Block();
  m_calls.CheckStatus(block);
  return std::atomic_ref<LONG>(block->TriggerEvent).exchange(0);
}

int CVexCCDInput::CheckCameraPower(int testExposure) {
  tCameraSettings* block = Block();
  for (int& status : m_nTryStatus) status = 0;
  const LONG savedMode = block->ExpMode, savedParam = block->ExpParam;
  if (testExposure == 1) block->ExpMode = block->ExpParam = 1;

  m_nTryCount = 0;
  int result = 0;
  CameraWorked();
  for (int attempt = 0; attempt < kTries; ++attempt) {
    result = m_calls.CheckCameraPower(block);
    if (result == 1) break;
    m_nTryStatus[attempt] = block->Camera_Status;
    ::Sleep(kPowerRetryWait);
    ++m_nTryCount;
  }

  m_bCameraMissing = result != 1;
  int verdict = 0;
  if (result == 0) {
    const int status = m_nTryStatus[kTries - 1];
    Fail(status <= -10 && status >= -19 ? 4 - status : 6);
    verdict = 1;
  } else if (result == -10) {
    Fail(7);
    verdict = 2;
  } else if (result != 1) {
    Fail(8);
    verdict = 1;
  }
  if (testExposure == 1) {
    block->ExpMode = savedMode;
    block->ExpParam = savedParam;
    ApplyExposure();
  }
  return verdict;
}

// The capture of Input and CaptureToCurrent: the frame goes straight into the bitmap of
// the control, which holds the slot's (or the third bitmap's) picture.
int CVexCCDInput::Capture(SHORT slot) {
  CVexDoc* doc = GetDocument();
  const bool current = slot == CVexStageControl::kThirdBitmap;
  const bool still = !current && !IsLiveArea(doc->GetCaptureArea());
  m_control.Load(m_pBufferControl, slot);
  // The library writes the whole frame and every way out stores the control's picture
  // back: a fresh still picture is written in place, not copied first.
  m_control.TakeForChange(m_pBufferControl, slot);
  m_pImage = std::make_unique<CTrueImage>();

  RECT rect{};
  if (current) {
    m_pImage->m_nReserved = doc->IsAnyEnhanceEnabled() ? kEnhancedLiveFrame : kLiveFrame;
  } else if (!still) {
    const bool enhanced = doc->IsAnyEnhanceEnabled() &&
                          (doc->GetAutoLevel() == 1 || doc->GetExtraContrast() == 1 || doc->GetEdgeApp() == 1);
    m_pImage->m_nReserved = enhanced ? kEnhancedLiveFrame : kLiveFrame;
  } else {
    m_pImage->m_nReserved = kStillFrame;
    rect = doc->GetCaptureArea();
    UpdateImageInfo();
  }
  PrepareImage(m_pImage.get(), rect);

  // The frame is taken with the DC held; the answer is 0, a failure detail, or -1 after
  // an abort (nothing recorded).
  BYTE* previousBits = nullptr;
  const int detail = [&] {
    CVexPixelAccess pixels(m_control.Lead());
    if (const int step = pixels.Open(false)) return step;
    // The library writes m_nHeight rows of m_nStride bytes: only a bitmap that holds
    // them all, and an image whose writes can be redirected, may receive the frame.
    const BITMAP& bm = pixels.Bitmap();
    const long long frame = static_cast<long long>(m_pImage->m_nStride) * m_pImage->m_nHeight;
    if (!m_pImage->m_pBits || static_cast<long long>(bm.bmWidthBytes) * bm.bmHeight < frame)
      return int(CVexPixelAccess::kBitmapRecord);
    previousBits = m_pImage->SetBits(pixels.Bits());
    if (CheckCameraPower(0) != 0) return 4;
    const int shot = Shutter(m_pImage.get(), rect);
    if (shot < 0) return 9;
    if (doc->GetImageState() != 0) m_control.Lead()->SetFlag237(FALSE);
    if (doc->GetAbort() == 1) return -1;
    // The library answers 0 for a frame it lost: the bitmap holds no picture then.
    if (shot == 0) return 9;
    return pixels.Close() != 0 ? 5 : 0;
  }();

  if (detail == 0 && !current && doc->IsShootMode()) {
    const bool deferred =
        doc->GetShootBufferSize() == 4 && (doc->GetShadingOption() == 1 || doc->GetRGBOption() == 1);
    if (!deferred) m_control.CropToShootArea(doc);
  }
  // Every way out puts the picture into its slot and the image's own memory back under
  // it, so the library's and the control's memory each go with their owner.
  m_control.Store(m_pBufferControl, slot);
  if (previousBits) m_pImage->SetBits(previousBits);
  m_pImage.reset();
  if (detail > 0) return Fail(detail);
  return detail == 0 ? 1 : 0;
}

int CVexCCDInput::Input(SHORT slot) { return Capture(slot); }

int CVexCCDInput::CaptureToCurrent() { return Capture(CVexStageControl::kThirdBitmap); }

int CVexCCDInput::CaptureScratchFrame() {
  CVexDoc* doc = GetDocument();
  const RECT area = doc->GetCaptureArea();
  m_pImage = std::make_unique<CTrueImage>();
  RECT rect{};
  if (IsLiveArea(area)) {
    m_pImage->m_nReserved = kLiveFrame;
  } else {
    m_pImage->m_nReserved = kStillFrame;
    rect = area;
  }
  PrepareImage(m_pImage.get(), rect);
  const bool captured = CheckCameraPower(0) == 0 && Shutter(m_pImage.get(), rect) >= 0;
  if (captured && doc->IsShootMode()) m_control.CropToShootArea(doc);
  m_pImage.reset();
  return captured ? 1 : 0;
}

int CVexCCDInput::MeasureWhiteBalance() {
  CVexDoc* doc = GetDocument();
  tCameraSettings* block = Block();
  const RECT rect = doc->GetWhiteBalanceRect();
  // The exposure is judged before the library is asked anything: every export clamps the
  // block, which would turn an exposure out of range into one the library accepts.
  const LONG limit = doc->IsNewCameraRevision() ? kWhiteBalanceLimitNew : kWhiteBalanceLimitOld;
  if (block->ExpMode == 2 || block->ExpParam < kWhiteBalanceLowest || block->ExpParam > limit) return Fail(12);

  SavedLevels saved{};
  saved.Take(*doc);
  const LONG savedMode = block->ExpMode, savedParam = block->ExpParam;
  auto restoreExposure = [&] {
    block->ExpMode = savedMode;
    block->ExpParam = savedParam;
    ApplyExposure();
  };
  auto image = std::make_unique<CTrueImage>();
  PrepareImage(image.get(), rect);

  const int result = RunWhiteBalance(image.get(), rect);
  image.reset();

  if (CheckCameraPower(0) != 0) {
    // A camera lost after the measurement leaves nothing of it behind.
    saved.PutGains(*doc);
    saved.PutBlackLevels(*doc);
    restoreExposure();
    return 0;
  }

  if (result != 0 || doc->GetAbort() == 1) {
    saved.PutGains(*doc);
    saved.PutBlackLevels(*doc);
    if (doc->GetAbort() == 1) {
      restoreExposure();
      return 1;
    }
    Fail(result == 1 || result == -3 ? 10 : result == 2 || result == -4 ? 11 : 13);
    restoreExposure();
    return 0;
  }

  bool blackTooHigh = false;
  for (const auto& row : block->BB_Lev)
    for (LONG level : row) blackTooHigh = blackTooHigh || level > 200;
  if (blackTooHigh) {
    saved.PutBlackLevels(*doc);
    Fail(13);
  }
  restoreExposure();
  return 1;
}
