// Finding the capture board (PCI scan, port probe, the driver's board list) and bringing
// it up: reset, power, ready poll and the first frame timing.
#include <algorithm>
#include <cstdio>
#include <string>

#include "BoardDevice.h"
#include "CameraCtrl.h"
#include "SettingsBlock.h"
#include "Timing.h"

namespace {

constexpr DWORD kIoctlBoardList = 0x9C402404;
constexpr DWORD kIoctlBoardRecord = 0x9C402410;
constexpr DWORD kVxdBoardList = 6;
constexpr DWORD kVxdSelectBoard = 9;
constexpr int kMaxRecords = 10;

struct BoardRecord {
  DWORD words[6];
  DWORD TransferKind() const { return (words[0] >> 16) & 0xF; }
  DWORD IoBase() const { return words[4]; }
};
struct BoardListReply {
  BoardRecord records[kMaxRecords];
  DWORD count;
};
static_assert(sizeof(BoardListReply) == 244);

int RecordCount(const BoardListReply& list) { return int(std::min<DWORD>(list.count, kMaxRecords)); }

std::string DeviceName(int number) {
  char name[32];
  std::snprintf(name, sizeof name, "%s%d", "\\\\.\\KQPCI", number);
  return name;
}

}  // namespace

// The first bus with a matching board gives the list; further matches past ten are ignored.
bool CCameraCtrl::PciSearch() {
  BoardDeviceState& d = DeviceState();
  d.pciCount = 0;
  for (int bus = 0; bus < 8 && d.pciCount == 0; ++bus)
    for (int device = 0; device < 32; ++device) {
      DWORD id = ReadPciConfig(bus, device, 0);
      if ((id & 0xFFFF) != 0x1022 || (id >> 16) != 2 || d.pciCount >= 10) continue;
      d.pciBus[d.pciCount] = bus;
      d.boardList[d.pciCount++] = DWORD(device);
    }
  return d.pciCount > 0;
}

// Opens the driver device of the board at PCIaddress. NT 4 names each board's device by
// its place in the driver's list; a board the list does not hold is refused.
bool CCameraCtrl::SelectDevice() {
  BoardDeviceState& d = DeviceState();
  tCameraSettings& s = Settings();
  if (d.nt5) return true;
  if (d.nt) {
    BoardListReply list{};
    DWORD got = 0;
    if (!DeviceIoControl(d.ntDevice, kIoctlBoardList, nullptr, 0, &list, sizeof list, &got, nullptr)) list.count = 0;
    if (d.ntDevice != INVALID_HANDLE_VALUE) CloseHandle(d.ntDevice);
    d.ntDevice = INVALID_HANDLE_VALUE;
    int n = RecordCount(list);
    for (int i = 0; i < n; ++i) {
      HANDLE h = CreateFileA(DeviceName(i + 1).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, 0, nullptr);
      if (h == INVALID_HANDLE_VALUE) continue;
      DeviceIoControl(h, kIoctlBoardRecord, nullptr, 0, &list.records[i], sizeof(BoardRecord), &got, nullptr);
      CloseHandle(h);
    }
    int match = 0;
    while (match < n && list.records[match].IoBase() != s.PCIaddress) ++match;
    if (match == n) {
      s.Camera_Status = -11;
      return false;
    }
    DWORD flags = list.records[match].TransferKind() == 3 ? FILE_FLAG_OVERLAPPED : FILE_ATTRIBUTE_NORMAL;
    d.ntDevice = CreateFileA(DeviceName(match + 1).c_str(), GENERIC_READ | GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, flags, nullptr);
    return true;
  }
  BoardListReply list{};
  DWORD got = 0;
  if (!DeviceIoControl(d.vxdDevice, kVxdBoardList, nullptr, 0, &list, sizeof list, &got, nullptr)) list.count = 0;
  int n = RecordCount(list), match = 0;
  while (match < n && list.records[match].IoBase() != s.PCIaddress) ++match;
  DWORD board = DWORD(std::min(match + 1, n));
  DeviceIoControl(d.vxdDevice, kVxdSelectBoard, &board, 4, nullptr, 0, &got, nullptr);
  return true;
}

LONG CCameraCtrl::SearchPCIAndSetGETA() {
  BoardDeviceState& d = DeviceState();
  tCameraSettings& s = Settings();
  m_Searching = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{m_Searching};

  PciSearch();
  d.portCount = 0;
  if (!d.nt && !d.nt5) {
    for (DWORD j = 0; j < 4; ++j)
      if (!(ReadPortB(0x180 + 16 * j, 0) & 1)) d.boardList[d.pciCount + d.portCount++] = 16 * j;
    // Two answering port boards cannot be told apart: take neither.
    if (d.portCount >= 2) d.portCount = 0;
  }
  int found = d.pciCount + d.portCount;
  s.BoardCount = found;

  if (s.PCIaddress != kNoBoard && s.bSwitched && s.PCIaddress <= 48) {
    for (int i = 0; i < found; ++i) {
      if (d.boardList[i] != s.PCIaddress) continue;
      bool pci = i < d.pciCount;
      s.bPCI = pci;
      s.bISA = !pci;
      if (!pci) s.bSwitched = 1;
      s.Camera_Status = 0;
      m_PortBase = WORD(s.PCIaddress + (pci ? 4 : 0x184));
      return 1;
    }
    s.bSwitched = 0;
    s.PCIaddress = kNoBoard;
    return 0;
  }

  bool pci = d.pciCount > 0;
  if (found > 0) {
    s.BoardNumber = 1;
    s.PCIaddress = d.boardList[0];
    s.bPCI = pci;
    s.bISA = !pci;
  } else {
    if (s.Mode & kModeSimulate) {
      s.bPCI = 1;
      s.bISA = 0;
      s.Camera_Status = 0;
      m_PortBase = WORD(s.PCIaddress + 4);
      return 1;
    }
    s.bPCI = s.bISA = 0;
    if (s.bSwitched) PowerOff();
    s.PCIaddress = kNoBoard;
    return 0;
  }

  if (!pci) {
    m_PortBase = WORD(s.PCIaddress + 0x184);
    s.bSwitched = 1;
    m_StatusMask = 9;
    if (s.Mode & kModeSimulate) {
      Delay(0.001);
      return 1;
    }
    if (WaitHandshake("SearchPCIAndSetGETA")) return 1;
    s.BoardNumber = 0;
    return 0;
  }

  int device = int(d.boardList[0]), bus = d.pciBus[0];
  s.PCIaddress = ReadPciConfig(bus, device, 4) & ~1u;
  DWORD classRevision = ReadPciConfig(bus, device, 2);
  m_Revision = s.BoardRevision = LONG(classRevision & 0xFF);
  m_ClassCode = classRevision >> 8;
  m_StatusMask = m_Revision < 211 ? 9 : 1;
  if (!SelectDevice()) {
    s.bPCI = 0;
    s.PCIaddress = kNoBoard;
    return 0;
  }
  m_BlockLines = m_Revision < 212 ? 8 : 16;
  return BringUp();
}

// Reset, power-up and ready poll of the PCI board at PCIaddress.
LONG CCameraCtrl::BringUp() {
  BoardDeviceState& d = DeviceState();
  tCameraSettings& s = Settings();
  DWORD base = s.PCIaddress;
  if (m_Revision == 208 || !m_BoardModeFlag) {
    s.Camera_Status = 0;
    if (m_Revision < 217)
      WritePortD(base, 0, 0xB20);
    else
      WritePortD(base, 24, 0);
    s.bSwitched = 0;
    Delay(0.02);
    if (m_Revision < 217)
      WritePortD(base, 0, 0xB00);
    else
      ReadStatus(base, 0);
    Delay(0.1);
  }
  if (!s.bSwitched) {
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));  // the camera takes a second to power up
    s.Camera_Status = 0;
    WritePortD(base, 0, 0xB00);
    Delay(1.0);
    d.variantDetected = false;
    s.bSwitched = 1;
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
  }

  bool ready = false, allFive = true;
  if (s.Mode & kModeSimulate) {
    Delay(0.001);
    ready = true;
  } else {
    for (LONG i = 0; i < 2 * d.portReadsPerHalfSecond && !ready; ++i) {
      DWORD status = ReadStatus(base, 0);
      if (status != 5) allFive = false;
      ready = ReadyStatus(status);
    }
  }
  if (!ready) {
    s.Camera_Status = allFive ? -14 : -15;
    return 0;
  }

  if (m_Revision >= 217) SetExposure(1, 2);
  if (m_Revision >= 211) {
    if (!WaitSyncPhase(0)) {
      s.Camera_Status = -16;
      return 0;
    }
    if (!WaitSyncPhase(1)) {
      s.Camera_Status = -14;
      return 0;
    }
  }
  if (!(s.Mode & kModeSimulate)) m_PortBase = WORD(base + 4);
  return 1;
}
