// The camera's register protocol: command words through the board with the status
// handshake, the repeat count, the latch of model 0xA and the echo check of the newer
// boards; the handshake's recovery of a camera that stopped answering; the readout window.
#include "BoardDevice.h"
#include "CameraCtrl.h"
#include "CameraGeometry.h"
#include "SettingsBlock.h"
#include "Timing.h"

namespace {

constexpr DWORD kLatch = 0x1200;
constexpr int kEchoTries = 10;
constexpr int kEchoBusyReads = 32768;

// How often a command goes out: Command_Repeat (0 counts as once), but frame starts and
// actuator codes only once, since repeating them would start or move twice.
LONG RepeatCount(WORD reg, BYTE value, const tCameraSettings& s) {
  LONG n = s.Command_Repeat == 0 ? 1 : s.Command_Repeat;
  if (reg == 11 && (value & 0x80)) n = 1;
  if (reg == 10 && value > (s.CameraVer > 1379 ? 63 : 15)) n = 1;
  return n;
}

}  // namespace

SHORT CCameraCtrl::FaultStatus(DWORD echo) {
  switch (echo >> 16) {
    case 12512: return -17;
    case 12513: return -18;
    case 12514: return -19;
    default: return 0;
  }
}

bool CCameraCtrl::ModelA() const { return CameraModel(Settings().CameraVer) == 0xA; }

// One command of the register protocol; `pciOnly` leaves out the model 0xA latch and
// trusts an echo that reports done.
static BOOL Send(CCameraCtrl& camera, WORD reg, BYTE value, LPCSTR name, bool pciOnly) {
  tCameraSettings& s = Settings();
  LONG n = RepeatCount(reg, value, s);
  if (n < 0) return TRUE;
  DWORD base = s.PCIaddress;
  DWORD word = DWORD(reg) << 8 | value;
  for (LONG k = 0; k < n; ++k) {
    if (s.bISA) {
      if (!camera.WaitHandshake(name)) return FALSE;
      WritePortB(base + 385, 0, BYTE(reg));
      if (!camera.WaitHandshake(name)) return FALSE;
      WritePortB(base + 386, 0, value);
      continue;
    }
    if (!camera.WaitHandshake(name)) return FALSE;
    if (camera.m_Revision < 217) {
      WritePortD(base, 0, word);
      continue;
    }
    // The newer board echoes what the camera accepted; a wrong echo is written again, and
    // after ten tries the operator hears it but the sequence goes on.
    for (int tries = 1;; ++tries) {
      WritePortD(base, 0, word);
      DWORD echo = ReadPortD(base, 12);
      for (int i = 0; i < kEchoBusyReads && (echo & 1); ++i) echo = ReadPortD(base, 12);
      bool same = ((echo >> 16) & 0x1FFF) == word;
      bool done = echo & 0xC0000000u;
      if (same && done) break;
      if (tries >= kEchoTries) {
        Beep(1000, 1);
        break;
      }
      if ((!same || !(echo & 0x80000000u)) && !(pciOnly && done) && !camera.WaitHandshake(name)) return FALSE;
    }
  }
  if (!pciOnly && s.bPCI && CameraModel(s.CameraVer) == 0xA) {
    if (!camera.WaitHandshake(name)) return FALSE;
    if (camera.m_Revision < 217) {
      WritePortD(base, 0, kLatch);
      if (!camera.WaitHandshake(name)) return FALSE;
    }
    WritePortD(base, 0, kLatch);
    if (!camera.WaitHandshake(name)) return FALSE;
  }
  return TRUE;
}

BOOL CCameraCtrl::SendAddrCmmnd(WORD reg, BYTE value) { return Send(*this, reg, value, "SendAddrCmmnd", false); }

BOOL CCameraCtrl::SendAddrCmmndPCI(WORD reg, BYTE value) {
  return Send(*this, reg, value, "SendAddrCmmndPCI", true);
}

BOOL CCameraCtrl::SendAddrCmmndMACH(WORD reg, BYTE value) {
  if (!WaitHandshake("SendAddrCmmndMACH")) return FALSE;
  WritePortD(Settings().PCIaddress, 24, DWORD(reg) << 8 | value);
  if (reg == 0) Beep(1000, 1);
  return TRUE;
}

BOOL CCameraCtrl::WaitHandshake(LPCSTR) {
  tCameraSettings& s = Settings();
  BoardDeviceState& d = DeviceState();
  if (s.PCIaddress == kNoBoard) return FALSE;
  if (s.Mode & kModeSimulate) {
    Delay(0.001);
    return TRUE;
  }
  DWORD base = s.PCIaddress;
  auto read = [&] { return s.bISA ? DWORD(ReadPortB(base + 384, 0)) : ReadStatus(base, 0); };
  const LONG budget = d.portReadsPerHalfSecond;
  LONG reads = 0;
  bool ready = false;
  while (reads < budget && !ready) {
    ++reads;
    ready = ReadyStatus(read());
  }
  // Once ready, a few more reads must pass before a command goes out.
  bool settled = false;
  for (LONG further = 1; ready && !settled && reads < budget; ++further) {
    ++reads;
    settled = ReadyStatus(read()) && further > 4;
  }
  if (settled) {
    s.Camera_Status = 0;
    return TRUE;
  }
  s.Camera_Status = -13;

  if (s.bPCI && (m_Revision == 208 || !m_BoardModeFlag)) {
    if (m_Revision >= 217) {
      if (++m_HandshakeFailures <= 4) {
        WritePortD(base, 24, 0);
      } else {
        Delay(1.0);
        SHORT fault = FaultStatus(ReadPortD(base, 12));
        if (fault) s.Camera_Status = fault;
        if (fault && s.ShowCameraMessages) return FALSE;
      }
    } else {
      WritePortD(base, 0, 0xB20);
    }
    // Power-cycle the camera. Messages are not dispatched meanwhile: the caller is in the
    // middle of a command sequence.
    d.handshakeRecovery = true;
    d.variantDetected = false;
    s.Camera_Status = 0;
    s.bSwitched = 0;
    Delay(0.02);
    if (m_Revision >= 217)
      ReadStatus(base, 0);
    else
      WritePortD(base, 0, 0xB00);
    Delay(0.1);
    PowerOff();
    Delay(0.4);
    PowerOn();
    Delay(1.0);
    bool back = false;
    for (LONG i = 0; i < budget && !back; ++i) {
      DWORD status = ReadStatus(base, 0);
      back = ReadyStatus(status) && (status >> 16) != 0;
    }
    d.handshakeRecovery = false;
    if (back)
      s.CameraRestarted() = 1;
    else
      s.Camera_Status = -13;
  }
  if (s.Camera_Status == -13) {
    s.bAbort = 1;  // every running loop stops at its next poll
    return FALSE;
  }
  return TRUE;
}

void CCameraCtrl::WinSet(LONG left, LONG right, LONG top, LONG bottom) {
  tCameraSettings& s = Settings();
  const CameraGeometry& g = Geometry();
  m_WindowTop = top;
  m_WindowChanged = true;
  DWORD base = s.PCIaddress;
  if (s.bISA) {
    if (!CheckCameraPower() || !WaitHandshake("WinSet")) return;
    WritePortW(base + 390, 0, WORD(left + g.PortWindowOffset));
    if (!WaitHandshake("WinSet")) return;
    WritePortW(base + 392, 0, WORD(right + g.PortWindowOffset));
  }
  if (!WaitHandshake("WinSet")) return;
  LONG start = top + g.LineOffset;
  if (ModelA()) {
    bool ok = m_Revision >= 217 ? SendAddrCmmndMACH(3, BYTE(start % 256)) && SendAddrCmmndMACH(2, BYTE(start / 256))
              : m_Revision >= 211
                  ? SendAddrCmmndPCI(13, BYTE(start % 256)) && SendAddrCmmndPCI(14, BYTE(start / 256))
                  : SendAddrCmmndPCI(13, BYTE(start % 256)) && SendAddrCmmnd(14, BYTE(start / 256));
    if (!ok) return;
    if (s.Mode & 0x80)
      SendAddrCmmndPCI(11, 1);
    else if (m_Revision < 217)
      SendAddrCmmndPCI(11, 0);
  } else if (s.bISA) {
    if (SendAddrCmmnd(13, BYTE(start / 2 + 1))) SendAddrCmmnd(14, BYTE((bottom + g.LineOffset) / 2 + 3));
  } else {
    SendAddrCmmnd(13, BYTE(start / 2));
  }
}
