#include "CameraCtrl.h"

#include <cstring>

#include "BoardDevice.h"
#include "ProgressWindows.h"
#include "Timing.h"
#include "board/Zendo.h"

LONG g_GainTable[3][16];

namespace {
CCameraCtrl* camera = nullptr;
constexpr SIZE_T kLineBufferBytes = 4096;
}  // namespace

CCameraCtrl* Camera() { return camera; }
void SetCamera(CCameraCtrl* c) { camera = c; }

void CCameraCtrl::OpenDevice() {
  BoardDeviceState& d = DeviceState();
  if (!d.nt) {
    d.vxdDevice = CreateFileA("\\\\.\\kq2pci", 0, 0, nullptr, 0, 0, nullptr);
  } else if (d.nt5) {
    ZendoOpenBoard(&d.ntDevice);
  } else {
    d.ntDevice = CreateFileA("\\\\.\\KQPCI1", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
  }
}

CCameraCtrl::CCameraCtrl() {
  BoardDeviceState& d = DeviceState();
  d = BoardDeviceState{};
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  GetVersionExA(&version);
  d.platformId = version.dwPlatformId;
  d.nt = version.dwPlatformId == VER_PLATFORM_WIN32_NT;
  d.nt5 = d.nt && version.dwMajorVersion == 5;
  d.win95 = version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS && version.dwMinorVersion == 0;
  d.win98 = version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS && version.dwMinorVersion != 0;
  d.win32s = version.dwPlatformId == VER_PLATFORM_WIN32s;

  OpenDevice();

  m_pLineBuffer = static_cast<BYTE*>(AllocLocked(kLineBufferBytes));
  m_pWork = std::make_unique<BYTE[]>(4096);

  // Colour phases of the multi-frame readout: (s, r) per mode, b = 0 or s per plane.
  static constexpr int kStart[7] = {0, 1, 1, 3, 2, 5, 3}, kStep[7] = {0, 1, 1, 2, 1, 2, 1};
  for (int m = 1; m <= 6; ++m)
    for (int p = 0; p < 4; ++p)
      for (int k = 0; k < 6; ++k) {
        int s = kStart[m], r = kStep[m];
        m_PhaseColumn[p][m][k] = int16_t((p >= 2 ? s : 0) - k * r);
        m_PhaseRow[p][m][k] = int16_t((p % 2 ? s : 0) - k * r);
      }

  LARGE_INTEGER frequency{};
  d.hasCounter = QueryPerformanceFrequency(&frequency) && frequency.QuadPart > 0;
  d.counterFrequency = d.hasCounter ? frequency.QuadPart : 0;
  d.portReadsPerHalfSecond = CalibratePortPoll();
  d.loopsPer20us = CalibrateBusyLoop();

  for (auto& level : ChannelLut)
    for (auto& plane : level)
      for (int i = 0; i < 256; ++i) plane[i] = BYTE(i);
  std::memset(g_GainTable, 0, sizeof g_GainTable);
}

CCameraCtrl::~CCameraCtrl() {
  BoardDeviceState& d = DeviceState();
  if (d.nt && d.ntDevice != INVALID_HANDLE_VALUE && d.ntDevice) CloseHandle(d.ntDevice);
  if (d.vxdDevice != INVALID_HANDLE_VALUE && d.vxdDevice) CloseHandle(d.vxdDevice);
  d.ntDevice = d.vxdDevice = INVALID_HANDLE_VALUE;
  FreeLocked(m_pLineBuffer, kLineBufferBytes);
  FreePlaneStore();
  DestroyProgress();
}
