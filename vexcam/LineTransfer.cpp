// Moving sensor lines from the board into memory: the wait for the line counter, the
// driver transfers of each Windows family with their re-reads, partial lines, draining
// and averaging.
#include <algorithm>
#include <cstring>

#include "BoardDevice.h"
#include "CameraCtrl.h"
#include "CameraGeometry.h"
#include "SettingsBlock.h"
#include "Timing.h"
#include "board/VxdBuffers.h"

namespace {

constexpr DWORD kIoctlSyncReadEnd = 0x9C402424;
constexpr DWORD kVxdStartRead = 5;
constexpr DWORD kVxdPollRead = 7;
constexpr DWORD kLineBytes = 2584;
constexpr DWORD kShortLineBytes = 1288;  // revision 225
constexpr DWORD kLineWords = 646;
constexpr int kEventTests = 513;
constexpr BYTE kToleratedTimeouts = 16;
constexpr int kVxdPolls = 500;
// A board that keeps asking for the same line again is given up on after this many tries.
constexpr int kMaxRereads = 16;

struct BusyFlag {
  BusyFlag() { DeviceState().transferBusy = true; }
  ~BusyFlag() { DeviceState().transferBusy = false; }
};

struct EventHandle {
  HANDLE h = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  ~EventHandle() {
    if (h) CloseHandle(h);
  }
};

void Fold(BYTE* accumulator, const BYTE* fresh, LONG bytes, LONG weight) {
  if (weight == 0) weight = 1;  // a weight of 0 would divide by zero: take the new line
  for (LONG i = 0; i < bytes; ++i) {
    int a = accumulator[i];
    accumulator[i] = BYTE(a + (int(fresh[i]) - a) / weight);
  }
}

void Invert(void* data, size_t bytes) {
  auto* p = static_cast<BYTE*>(data);
  for (size_t i = 0; i < bytes; ++i) p[i] = BYTE(~p[i]);
}

DWORD DataPort() { return Settings().PCIaddress + 4; }

}  // namespace

BOOL CCameraCtrl::OverlappedRead(BYTE* buffer, DWORD bytes) {
  BoardDeviceState& d = DeviceState();
  EventHandle event;
  if (!event.h) return FALSE;
  ResetEvent(event.h);
  OVERLAPPED overlapped{};
  overlapped.hEvent = event.h;
  if (!ReadFile(d.ntDevice, buffer, bytes, nullptr, &overlapped) && GetLastError() != ERROR_IO_PENDING) return FALSE;
  for (int test = 0; test < kEventTests; ++test) {
    if (WaitForSingleObject(event.h, 0) == WAIT_OBJECT_0) {
      d.overlappedTimeouts = 0;
      return TRUE;
    }
  }
  CancelIo(d.ntDevice);
  // A few late lines are bridged with what arrived; a board that stays silent fails.
  if (d.overlappedTimeouts >= kToleratedTimeouts) return FALSE;
  ++d.overlappedTimeouts;
  return TRUE;
}

BOOL CCameraCtrl::SyncRead(BYTE* buffer, DWORD bytes) {
  BoardDeviceState& d = DeviceState();
  DWORD got = 0;
  BOOL ok = ReadFile(d.ntDevice, buffer, bytes, &got, nullptr);
  BusyPause20us();
  DeviceIoControl(d.ntDevice, kIoctlSyncReadEnd, nullptr, 0, nullptr, 0, &got, nullptr);
  return ok;
}

BOOL CCameraCtrl::VxdRead(BYTE* buffer, DWORD bytes) {
  BoardDeviceState& d = DeviceState();
  DWORD token = plat::board::PinVxdBuffer(buffer, bytes);
  DWORD request[3] = {0, bytes, token}, got = 0;
  BOOL ok = DeviceIoControl(d.vxdDevice, kVxdStartRead, request, sizeof request, nullptr, 0, &got, nullptr);
  if (ok) {
    ok = FALSE;
    for (int poll = 0; poll < kVxdPolls && !ok; ++poll) {
      DWORD done = 0;
      if (DeviceIoControl(d.vxdDevice, kVxdPollRead, nullptr, 0, &done, 4, &got, nullptr) && done) ok = TRUE;
    }
  }
  plat::board::UnpinVxdBuffer(token);
  return ok;
}

BOOL CCameraCtrl::TransferLine(BYTE* buffer, DWORD bytes) {
  bool nt = DeviceState().nt;
  DWORD base = Settings().PCIaddress;
  if (m_Revision == 214 || m_Revision == 215) return nt ? SyncRead(buffer, bytes) : VxdRead(buffer, bytes);
  BOOL ok = nt ? OverlappedRead(buffer, bytes) : VxdRead(buffer, bytes);
  if (!ok || m_Revision == 225) return ok;
  for (int again = 0;; ++again) {
    DWORD state = ReadStatus(base, 12);
    if (m_Revision == 216) {
      DWORD moved = state >> 16;
      if (moved >= kLineWords) return TRUE;
      if (again == kMaxRereads) return FALSE;
      if (nt) {
        ReadPortBlock(DataPort(), reinterpret_cast<DWORD*>(buffer) + moved, kLineWords - moved);
      } else if (!VxdRead(buffer, bytes)) {
        return FALSE;
      }
    } else {
      if (m_Revision < 217 || !(state & 0x20)) return TRUE;
      if (again == kMaxRereads) return FALSE;
      if (!(nt ? OverlappedRead(buffer, bytes) : VxdRead(buffer, bytes))) return FALSE;
    }
  }
}

BOOL CCameraCtrl::ReadLine(BYTE* buffer, LONG line) {
  if (line > (m_Revision < 217 ? 511 : 521)) return TRUE;  // past the readable lines: nothing to move
  BusyFlag busy;
  BoardDeviceState& d = DeviceState();
  tCameraSettings& s = Settings();
  const CameraGeometry& g = Geometry();
  DWORD base = s.PCIaddress;
  LONG counter = LONG(ReadStatus(base, 0) >> 16), lines = g.LineCount;
  double zoom = s.zoom > 0 ? s.zoom : 1.0;
  BYTE wraps = d.wrapCount;
  // Wait while the sensor is writing the band of lines around the wanted one. A readout
  // that keeps up with the sensor waits here for nearly every line: the thread sleeps
  // between reads instead of spinning, the sensor runs a few lines ahead meanwhile, and
  // those are then read without waiting. A sleep counts as the reads it held.
  const LONG readsPerSleep = std::max<LONG>(1, d.portReadsPerHalfSecond / 500);
  for (LONG reads = 0;; ++reads) {
    LONG t = (m_WindowTop + g.LineOffset) / 2;
    bool inBand = line + (t - 3) / zoom < counter && counter < line + (t + 5) / zoom;
    if (!inBand || line >= lines - 5 || d.wrapCount != wraps) break;
    if (reads > 32 * lines) {
      s.Camera_Status = -13;
      return FALSE;
    }
    Sleep(1);
    reads += readsPerSleep;
    counter = LONG(ReadStatus(base, 0) >> 16);
  }

  DWORD bytes = m_Revision == 225 ? kShortLineBytes : kLineBytes;
  BOOL ok = TransferLine(buffer, bytes);
  if ((s.Mode & kModeKeepRaw) || m_KeepLines) {
    if (m_RawLines.size() <= size_t(line)) m_RawLines.resize(size_t(line) + 1);
    m_RawLines[size_t(line)].assign(buffer, buffer + bytes);
  }
  return ok;
}

BOOL CCameraCtrl::ReadLinePart(WORD* destination, LONG first, LONG count, DWORD portOffset, LONG line) {
  if (first < 0 || count < 0 || first + count > LONG(kLineBytes / 2)) return FALSE;
  tCameraSettings& s = Settings();
  BOOL ok = TRUE;
  LONG firstWord = first / 2, words = (count + 1) / 2;
  if (CameraModel(s.CameraVer) == 0xA || m_Revision > 211) {
    if (!m_pLineBuffer) return FALSE;
    ok = ReadLine(m_pLineBuffer, line);
    std::memcpy(destination, m_pLineBuffer + 4 * firstWord, size_t(count) * 2);
  } else {
    DWORD port = s.PCIaddress + portOffset;
    auto* scratch = reinterpret_cast<DWORD*>(m_pWork.get());
    LONG lineWords = Geometry().LineBytes > 0 ? Geometry().LineBytes / 4 : LONG(kLineWords);
    LONG after = std::max<LONG>(0, lineWords - firstWord - words);
    if (firstWord) ok &= ReadPortBlock(port, scratch, DWORD(firstWord));
    ok &= ReadPortBlock(port, scratch, DWORD(words));
    std::memcpy(destination, scratch, size_t(count) * 2);
    if (after) ok &= ReadPortBlock(port, scratch, DWORD(after));
  }
  if (s.Mode & kModeInverted) Invert(destination, size_t(count) * 2);
  return ok;
}

void CCameraCtrl::DrainLine(LONG bytes) {
  LONG words = std::clamp<LONG>(bytes, 0, 4096) / 4;
  if (words) ReadPortBlock(DataPort(), reinterpret_cast<DWORD*>(m_pWork.get()), DWORD(words));
}

void CCameraCtrl::ReadWords(WORD* destination, LONG count) {
  bool invert = Settings().Mode & kModeInverted;
  for (LONG i = 0; i < count; ++i) {
    WORD w = ReadPortW(DataPort(), 0);
    destination[i] = invert ? WORD(~w) : w;
  }
}

void CCameraCtrl::AverageLineWords(BYTE* accumulator, LONG count, LONG weight) {
  count = std::clamp<LONG>(count, 0, 2048);
  if (!count) return;
  auto* words = reinterpret_cast<WORD*>(m_pWork.get());
  ReadWords(words, count);
  Fold(accumulator, m_pWork.get(), 2 * count - 1, weight);
}

void CCameraCtrl::AverageLineBlock(BYTE* accumulator, LONG skipBefore, LONG count, LONG skipAfter, LONG weight) {
  count = std::clamp<LONG>(count, 0, 2048);
  if (!count) return;
  auto* scratch = reinterpret_cast<DWORD*>(m_pWork.get());
  DWORD port = DataPort();
  if (skipBefore > 0) ReadPortBlock(port, scratch, DWORD(std::min<LONG>(skipBefore / 2, 1024)));
  ReadPortBlock(port, scratch, DWORD((count + 1) / 2));
  if (Settings().Mode & kModeInverted) Invert(scratch, size_t(count) * 2);
  Fold(accumulator, m_pWork.get(), 2 * count - 1, weight);
  if (skipAfter > 0) {
    std::vector<DWORD> drop(size_t(std::min<LONG>(skipAfter / 2, 1024)));
    ReadPortBlock(port, drop.data(), DWORD(drop.size()));
  }
}

void CCameraCtrl::AveragePlanes(LONG length, LONG rows) {
  auto& target = m_Planes[m_PlaneOrder[2] & 3];
  auto& source = m_Planes[m_PlaneOrder[3] & 3];
  if (target.empty() || source.empty()) return;
  rows = std::min<LONG>(rows, LONG(std::min(target.size(), source.size())));
  for (LONG r = 0; r < rows; ++r)
    for (LONG i = 0; i < length; ++i) target[r][i] = BYTE((target[r][i] + source[r][i]) >> 1);
}
