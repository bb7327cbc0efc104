// The picture being taken or shown: image state and title, shoot resolution, capture
// mode, readout windows, orientation and the parameters of the last shot.
#include <algorithm>
#include <cstdio>
#include <utility>

#include "VexDoc.h"
#include "control/ShootModes.h"
#include "ui/MainFrame.h"

namespace {

// Sensor readout limits: the full 3840 x 3072 readout or the 1280 x 1024 binned one.
SIZE ReadoutLimits(bool full) { return full ? SIZE{3840, 3072} : SIZE{1280, 1024}; }

// Moves `rc` back inside 0..limit keeping its size; a window wider than the limit
// starts at 0.
void ShiftInside(RECT& rc, SIZE limit) {
  if (rc.right > limit.cx) OffsetRect(&rc, limit.cx - rc.right, 0);
  if (rc.bottom > limit.cy) OffsetRect(&rc, 0, limit.cy - rc.bottom);
  if (rc.left < 0) OffsetRect(&rc, -rc.left, 0);
  if (rc.top < 0) OffsetRect(&rc, 0, -rc.top);
}

// Mirror, flip and width-height exchange for each of the eight orientations.
constexpr DWORD kRotationBits[8] = {0x00, 0x10, 0x0C, 0x1C, 0x08, 0x18, 0x04, 0x14};

}  // namespace

void CVexDoc::EnableMainFrame(BOOL on) {
  if (CMainFrame* frame = CMainFrame::Get()) frame->EnableFrame(on);
}

void CVexDoc::Broadcast(DWORD flags, LPARAM arg) {
  if (CMainFrame* frame = CMainFrame::Get()) frame->BroadcastUpdate(flags, arg);
}

int CVexDoc::UpdateImageStatus(SHORT state, int refresh) {
  // The flows call this from worker threads too: ask the application for its window.
  CWinApp* app = AfxGetApp();
  CWnd* main = app ? app->m_pMainWnd : nullptr;
  if (refresh == 1) {
    if (main && main->m_hWnd) main->SetWindowText(m_strImageTitle);
    return 1;
  }
  if (state < 0 || state > 4) return 0;
  CString title = "Valdane Lumora";
  m_nImageState = state;
  switch (state) {
    case 0:
      m_strCurrentFile.Empty();
      break;
    case 1:
      if (m_bAutoSave == 1) {
        title += "  * [" + m_strNextSavePath + "]";
        m_strCurrentFile = m_strNextSavePath;
      } else {
        title += "  * [NO NAME]";
        m_strCurrentFile.Empty();
      }
      break;
    case 2:
    case 4:
      title += "    [" + m_strNextSavePath + "]";
      m_strCurrentFile = m_strNextSavePath;
      break;
    case 3:
      title += "   * [" + m_strLoadPath + "]";
      m_strCurrentFile = m_strLoadPath;
      break;
  }
  title += " " + m_strImageSize;
  const CString& setting = GetCurrentSettingFile();
  if (!setting.IsEmpty()) {
    const int slash = std::max(setting.ReverseFind('\\'), setting.ReverseFind('/'));
    title += "      /" + setting.Mid(slash + 1);
  }
  m_strImageTitle = title;
  if (main && main->m_hWnd) main->SetWindowText(m_strImageTitle);
  return 1;
}

int CVexDoc::SetShootResolution(SHORT row, SHORT zoomSelect, SHORT interpolation) {
  // Every argument is checked before anything changes.
  const tShootMode* mode = shootmodes::Find(row);
  if ((!mode && row != shootmodes::kLiveRow) || (zoomSelect != 0 && zoomSelect != 1)) return 0;
  EnableMainFrame(FALSE);
  if (mode) {
    m_nShootBufferSize = row;
    m_nShootExposureMode = static_cast<SHORT>(mode->transferMode);
    m_nShootWidth = static_cast<SHORT>(mode->width);
    m_nShootHeight = static_cast<SHORT>(mode->height);
    m_rcShootArea = mode->area;
    m_nZoomCode = static_cast<SHORT>(mode->zoomCode);
  } else {
    m_nLiveBufferSize = shootmodes::kLiveRow;
    m_nLiveTransferMode = 1;
    m_nLiveWidth = 640;
    m_nLiveHeight = 512;
    m_rcShootArea = {0, 0, 640, 512};
    m_nZoomCode = 2;
  }
  const bool longExposure = m_nShootExpTimeMode == 2;
  if (m_nShootExposureMode == 5) m_nProgressKind = longExposure ? 3 : 2;
  else m_nProgressKind = longExposure ? 1 : 0;
  m_nShootZoomMode = zoomSelect;
  if (interpolation >= 0 && interpolation <= 2) m_nShootInterpolation = interpolation;
  SetShootTargetPoint(static_cast<LONG>(m_nShootTargetX), static_cast<LONG>(m_nShootTargetY));
  Broadcast(0x800);
  EnableMainFrame(TRUE);
  return 1;
}

void CVexDoc::SetShootTargetPoint(LONG x, LONG y) {
  m_nShootTargetX = static_cast<DWORD>(x);
  m_nShootTargetY = static_cast<DWORD>(y);
  const LONG cx = m_nZoomCode * x, cy = m_nZoomCode * y;
  RECT rc = {cx - m_nShootWidth / 2, cy - m_nShootHeight / 2, 0, 0};
  if (rc.top & 1) --rc.top;
  if (rc.left & 1) --rc.left;
  rc.right = rc.left + m_nShootWidth;
  rc.bottom = rc.top + m_nShootHeight;
  ShiftInside(rc, ReadoutLimits(m_nZoomCode == 6));
  m_rcShootWindow = rc;
}

POINT CVexDoc::GetShootTargetPoint() const {
  return {static_cast<LONG>(m_nShootTargetX), static_cast<LONG>(m_nShootTargetY)};
}

int CVexDoc::SetCaptureMode(SHORT mode) {
  SetAbort(0);
  const SHORT quality = 1;
  const LONG levels[3] = {GetAutoLevelValue(quality), GetContrastLevel(quality), GetEdgeAppLevel(quality)};
  // What every mode writes into the camera block: transfer, zoom, interpolation,
  // readout window and exposure.
  struct Capture {
    SHORT transfer, zoom, interpolation;
    RECT window;
    SHORT expKind, expValue;
  } capture{};
  DWORD enhance[3] = {};
  m_bShootMode = mode == 0 ? 1 : 0;
  switch (mode) {
    case 0:
      capture = {m_nShootExposureMode, m_nShootZoomMode, m_nShootInterpolation, m_rcShootWindow,
                 m_nShootExpTimeMode, m_nShootExpTimeParam};
      for (int i = 0; i < 3; ++i) enhance[i] = m_nEnhanceFlag[i] == 1 && levels[i] > 0 ? 1 : 0;
      break;
    case 1: {
      const bool full = m_bFullScreen != 0;
      m_nLiveWidth = full ? 1280 : 640;
      m_nLiveHeight = full ? 1024 : 512;
      m_rcLiveWindow = {0, 0, m_nLiveWidth, m_nLiveHeight};
      capture = {full ? SHORT{2} : m_nLiveTransferMode, m_nLiveZoomMode, m_nLiveInterpolation, m_rcLiveWindow,
                 m_nLiveExpTimeMode, m_nLiveExpTimeParam};
      for (int i = 0; i < 3; ++i)
        enhance[i] = m_nEnhanceFlag[i] == 1 && m_nEnhanceEnable[i] == 1 && levels[i] > 0 ? 1 : 0;
      break;
    }
    case 2:
      capture = {m_nWBTransferMode, m_nWBZoomMode, m_nWBInterpolation, m_rcLiveWindow, m_nLiveExpTimeMode,
                 m_nLiveExpTimeParam};
      break;
    default:
      return 0;
  }
  SetTranMode(capture.transfer);
  SetCameraZoom(capture.zoom);
  SetInterpolationMethod(capture.interpolation);
  m_rcActiveWindow = capture.window;
  SetExposure(capture.expKind, capture.expValue);
  SetAutoLevel(enhance[0]);
  SetExtraContrast(enhance[1]);
  SetEdgeApp(enhance[2]);
  return 1;
}

int CVexDoc::SetLiveExposure(SHORT kind, SHORT value) {
  SHORT appliedKind = 0, appliedValue = 0;
  // A normal exposure must name a step the exposure table has.
  if (kind == 1 && value >= 0 && value <= 32) {
    appliedKind = 1;
    appliedValue = value;
  } else if (kind == 2 && value >= 0 && value <= 170) {
    appliedKind = 2;
    appliedValue = 1;  // live view of a long exposure runs at one second
  } else {
    return 0;
  }
  m_nShootExpTimeMode = kind;
  m_nShootExpTimeParam = value;
  if (appliedKind != m_nLiveExpTimeMode || appliedValue != m_nLiveExpTimeParam) {
    m_nLiveExpTimeMode = appliedKind;
    m_nLiveExpTimeParam = appliedValue;
    EnableMainFrame(FALSE);
    SetExposure(appliedKind, appliedValue);
    Broadcast(0x4);
    EnableMainFrame(TRUE);
  }
  return 1;
}

int CVexDoc::SetGainLevel(SHORT level) {
  if (level < 0 || level > 2) return 0;
  EnableMainFrame(FALSE);
  m_nGainLevel = level;
  SetGainLv(level);
  Broadcast(0x4);
  EnableMainFrame(TRUE);
  return 1;
}

CVexDoc::ProgressValues CVexDoc::GetProgressValues() {
  ProgressValues out{};
  for (int i = 0; i < 3; ++i) {
    out.value[i] = std::atomic_ref<BYTE>(m_camera.Progress[i]).load();
    m_progress[i] = out.value[i];
  }
  return out;
}

void CVexDoc::SetProgressValues(SHORT first, SHORT second, SHORT third) {
  const SHORT values[3] = {first, second, third};
  for (int i = 0; i < 3; ++i) {
    m_progress[i] = values[i];
    if (values[i] >= 0 && values[i] <= 255)
      std::atomic_ref<BYTE>(m_camera.Progress[i]).store(static_cast<BYTE>(values[i]));
  }
}

void CVexDoc::SetFocusPosition(POINT pt) {
  SetFocusPosition(pt.x, pt.y);
  Broadcast(64);
}

void CVexDoc::SetImageProfilePosition(SHORT position) {
  m_nImageProfilePosition = position;
  Broadcast(32);
}

void CVexDoc::RebuildModeWord() {
  DWORD mode = 0x1800 | kRotationBits[m_nRotateReverseMode & 7];
  if (m_bMonochromeMode) mode |= 0x40;
  if (m_bInvertColorMode) mode |= 0x20;
  m_camera.Mode = mode;
}

int CVexDoc::SetRotation(SHORT mode) {
  if (mode < 0 || mode > 7) return 0;
  EnableMainFrame(FALSE);
  m_nRotateReverseMode = mode;
  m_bDir90 = mode & 1;
  m_rcLiveWindow = {0, 0, 640, 512};
  RebuildModeWord();
  Broadcast(0x800 | 0x400);
  EnableMainFrame(TRUE);
  return 1;
}

void CVexDoc::SetMonochromeMode(LONG on) {
  m_bMonochromeMode = static_cast<DWORD>(on);
  RebuildModeWord();
}

void CVexDoc::SetInvertColorMode(LONG on) {
  m_bInvertColorMode = static_cast<DWORD>(on);
  RebuildModeWord();
  Broadcast(0x400);
}

void CVexDoc::SetAbort(LONG on) {
  std::atomic_ref<DWORD>(m_camera.bAbort).store(static_cast<DWORD>(on));
  Sleep(100);  // gives a running capture loop time to see it
}

LONG CVexDoc::GetAbort() const {
  return static_cast<LONG>(std::atomic_ref<DWORD>(const_cast<DWORD&>(m_camera.bAbort)).load());
}

void CVexDoc::SetImageSizeText(LONG width, LONG height) {
  if (width <= 0 || height <= 0) {
    m_nImageWidth = m_nImageHeight = 0;
    m_strImageSize = "       ";
    return;
  }
  m_nImageWidth = width;
  m_nImageHeight = height;
  m_strImageSize.Format("%3dx%3d", static_cast<int>(width), static_cast<int>(height));
}

void CVexDoc::BuildShotParameters() {
  const bool enhance = m_bAutoEnhance == 1;
  m_shot.version = kProgramVersion;
  m_shot.fineMode = static_cast<LONG>(m_nFineMode);
  m_shot.resizeCode = m_bResizeSave == 1 ? static_cast<LONG>(m_nResizeSaveSize) + 1 : 0;
  m_shot.contrastOffset = enhance ? static_cast<LONG>(m_nContrastOffset) : 0;
  m_shot.levelOffset = enhance ? static_cast<LONG>(m_nLevelOffset) : 0;
  m_shot.sharpnessOffset = enhance ? static_cast<LONG>(m_nSharpnessOffset) : 0;
  m_shot.direction = static_cast<LONG>(m_nDirection);
  m_shot.flip = static_cast<LONG>(m_bFlip);
  m_shot.colorMode = static_cast<LONG>(m_nColorMode);
  m_shot.sensitivity = static_cast<LONG>(m_nSensitivity);
  m_shot.exposure = m_nLongExposureMode == 1 ? static_cast<LONG>(m_nLongExposureTime)
                                             : -static_cast<LONG>(m_nExposureTime);
  m_shot.retouched = 0;
}

DWORD CVexDoc::IsNoiseReductionDue() const {
  return m_nLongExposureMode == 1 || m_nLongExposureTime > 10 ? m_bAutoNoiseReduction : 0;
}

void CVexDoc::SetShadingPoint(LONG x, LONG y) {
  m_nShadingX = x;
  m_nShadingY = y;
  SIZE half{};
  if (!shootmodes::ShadingHalfSize(m_nShootBufferSize, &half)) return;
  SIZE limit = ReadoutLimits(m_nFineMode == 1);
  if (m_bDir90) {
    std::swap(half.cx, half.cy);
    std::swap(limit.cx, limit.cy);
  }
  const LONG cx = x * m_nZoomCode, cy = y * m_nZoomCode;
  RECT rc = {cx - half.cx, cy - half.cy, cx + half.cx, cy + half.cy};
  ShiftInside(rc, limit);
  RECT bounds = {0, 0, limit.cx, limit.cy};
  IntersectRect(&m_rcShading, &rc, &bounds);
}

int CVexDoc::IsAnyEnhanceEnabled() const {
  return m_nEnhanceEnable[0] == 1 || m_nEnhanceEnable[1] == 1 || m_nEnhanceEnable[2] == 1;
}
