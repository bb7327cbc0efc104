#include "BoardDevice.h"

#include <algorithm>

#include "CameraGeometry.h"
#include "SettingsBlock.h"
#include "conio.h"

namespace {

constexpr DWORD kIoctlPortRead = 0x9C402414;
constexpr DWORD kIoctlPortWrite = 0x9C402418;
constexpr DWORD kIoctlBlockRead = 0x9C402420;

// Width codes of the driver: 2 for 16-bit, 3 for 32-bit and also for 8-bit accesses.
DWORD PortWord(DWORD port, DWORD width) { return (port << 2) | width; }

DWORD NtRead(DWORD port, DWORD width) {
  DWORD in = PortWord(port, width), value = 0, got = 0;
  if (!DeviceIoControl(DeviceState().ntDevice, kIoctlPortRead, &in, 4, &value, 4, &got, nullptr)) return 0;
  return value;
}

BOOL NtWrite(DWORD port, DWORD width, DWORD value) {
  DWORD in[2] = {PortWord(port, width), value}, got = 0;
  return DeviceIoControl(DeviceState().ntDevice, kIoctlPortWrite, in, 8, nullptr, 0, &got, nullptr) ? TRUE : FALSE;
}

USHORT Port(DWORD base, DWORD offset) { return USHORT(base + offset); }

}  // namespace

BoardDeviceState& DeviceState() {
  static BoardDeviceState state;
  return state;
}

DWORD ReadPortD(DWORD base, DWORD offset) {
  USHORT port = Port(base, offset);
  return DeviceState().nt ? NtRead(port, 3) : _inpd(port);
}

WORD ReadPortW(DWORD base, DWORD offset) {
  USHORT port = Port(base, offset);
  return DeviceState().nt ? WORD(NtRead(port, 2)) : _inpw(port);
}

BYTE ReadPortB(DWORD base, DWORD offset) {
  USHORT port = Port(base, offset);
  return DeviceState().nt ? BYTE(NtRead(port, 3)) : BYTE(_inp(port));
}

BOOL WritePortD(DWORD base, DWORD offset, DWORD value) {
  USHORT port = Port(base, offset);
  if (DeviceState().nt) return NtWrite(port, 3, value);
  _outpd(port, value);
  return TRUE;
}

BOOL WritePortW(DWORD base, DWORD offset, WORD value) {
  USHORT port = Port(base, offset);
  if (DeviceState().nt) return NtWrite(port, 2, value);
  _outpw(port, value);
  return TRUE;
}

BOOL WritePortB(DWORD base, DWORD offset, BYTE value) {
  USHORT port = Port(base, offset);
  if (DeviceState().nt) return NtWrite(port, 3, value);
  _outp(port, value);
  return TRUE;
}

BOOL ReadPortBlock(DWORD port, DWORD* buffer, DWORD count) {
  if (!DeviceState().nt) {
    for (DWORD i = 0; i < count; ++i) buffer[i] = _inpd(USHORT(port));
    return TRUE;
  }
  DWORD in = PortWord(USHORT(port), 3), got = 0;
  return DeviceIoControl(DeviceState().ntDevice, kIoctlBlockRead, &in, 4, buffer, count * 4, &got, nullptr) ? TRUE
                                                                                                          : FALSE;
}

DWORD ReadStable(DWORD port, bool* settled) {
  return FirstRepeated([port] { return ReadPortD(port, 0); }, DeviceState().portReadsPerHalfSecond, settled);
}

void TrackLineCounter(DWORD status, LONG lines, LONG& cameraVer) {
  BoardDeviceState& d = DeviceState();
  LONG line = LONG(status >> 16);
  bool wasUpper = d.upperHalf;
  if (wasUpper)
    d.upperHalf = std::max(d.lastLine, line) > lines / 4;
  else
    d.upperHalf = std::min(d.lastLine, line) > 3 * lines / 4;
  if (wasUpper && !d.upperHalf) ++d.wrapCount;
  d.lastLine = line;

  // A counter past 525 lines tells a sensor of the taller variant.
  if (!d.variantDetected && line >= 526 && line <= 549) {
    d.variantDetected = true;
    if (((cameraVer >> 12) & 3) == 0) cameraVer |= 0x2000;
  }
}

DWORD ReadStatus(DWORD base, DWORD offset) {
  if (offset != 0) return ReadPortD(base, offset);
  bool settled = true;
  DWORD status = ReadStable(USHORT(base), &settled);
  tCameraSettings& s = Settings();
  // A status that never settles is a board that does not answer.
  if (!settled) s.Camera_Status = -13;
  TrackLineCounter(status, Geometry().LineCount, s.CameraVer);
  return status;
}

DWORD ReadPciConfig(int bus, int device, int reg) {
  WritePortD(0xCF8, 0, 0x80000000u | DWORD(bus) << 16 | DWORD(device) << 11 | DWORD(reg) << 2);
  return ReadStable(0xCFC);
}
