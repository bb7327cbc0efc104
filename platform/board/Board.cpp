#include "Board.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace plat::board {
namespace {
constexpr int64_t kReadyDelayUs = 600000;  // camera ready after power-on (within the 1 s the library waits)
constexpr int64_t kCommandUs = 30;          // the camera is busy this long after each command
constexpr int kSyncLines = 4;               // vertical sync: the last lines of a frame period
constexpr size_t kLogLimit = 65536;

// Board command words written to offset 0 (all others are camera register writes).
constexpr uint32_t kPowerOn = 0xB00, kPowerOff = 0xB10, kReset = 0xB20, kLatch = 0x1200,
                   kExposureNormal = 0x1300, kExposureLong = 0x13FF, kRun = 0x1400;
// Status bit 4: the frame in the board's memory was taken before its exposure was through.
constexpr uint32_t kShortFrame = 0x10;
}  // namespace

void BoardShared::Add(LogEntry e) {
  if (log.size() >= kLogLimit) log.pop_front();
  log.push_back(e);
}

Board::Board(int index, const BoardOptions& options, std::shared_ptr<const Scene> scene, uint32_t seed,
             double driftPixelsPerSecond, int64_t now, BoardShared& shared)
    : index_(index),
      options_(options),
      geometry_(GeometryFor(options.model, options.revision)),
      camera_(geometry_, std::move(scene), seed, driftPixelsPerSecond),
      shared_(shared),
      origin_(now) {
  windowStart_ = geometry_.blackRows;
  // A camera that is on when the simulation starts has been on long enough to answer.
  epoch_ = now;
  readyAt_ = options_.powered ? now : now + kReadyDelayUs;
  camera_.Latch(camera_.CurrentExposure(0), 0);
}

bool Board::Busy(int64_t now) const {
  return !Ready(now) || shared_.faults.busyStuck || shared_.faults.hung || shared_.faults.faultWord != 0 || now < busyUntil_;
}

int Board::Counter(int64_t now) const {
  if (!Ready(now)) return 0;
  auto lines = int64_t(std::floor(double(now - epoch_) / geometry_.linePeriodUs));
  return int(lines % geometry_.linesPerFrame);
}

uint32_t Board::ComputeStatus(int64_t now) const {
  if (!options_.cameraPresent) return 5;  // no camera on the cable: busy and sync float high
  uint32_t s = Busy(now) ? 1 : 0;
  if (Ready(now)) {
    int counter = Counter(now);
    if (FrameReady(now)) s |= 2;
    if (counter >= geometry_.linesPerFrame - kSyncLines) s |= 4;
    if (shortFrame_) s |= kShortFrame;
    s |= uint32_t(counter) << 16;
  }
  // Bit 3 is the external trigger from revision 211 on; older boards show readiness there.
  if (options_.revision >= 211) {
    if (now < triggerUntil_) s |= 8;
  } else if (!(s & 1)) {
    s |= 8;
  }
  return s;
}

uint32_t Board::Status(int64_t now) {
  if (shared_.faults.statusStuck) {
    if (!frozenStatus_) frozenStatus_ = ComputeStatus(now);
    return *frozenStatus_;
  }
  return ComputeStatus(now);
}

uint8_t Board::PortStatus(int64_t now) const {
  // The port board has no line counter; bit 0 clear also answers its probe.
  if (!options_.cameraPresent || !Powered()) return 0;
  uint8_t s = uint8_t(ComputeStatus(now) & 0x7);
  if (!(s & 1)) s |= 8;
  return s;
}

uint32_t Board::TransferState(int64_t now) const {
  if (options_.revision == 216) return uint32_t(geometry_.lineWords) << 16;  // every line moves whole
  if (options_.revision < 217) return 0;
  const FaultSet& f = shared_.faults;
  bool busy = Busy(now);
  uint32_t v = busy ? 1 : 0;
  if (readAgain_) v |= 0x20;
  if (f.faultWord != 0) return v | (uint32_t(f.faultWord) << 16);
  v |= (echo_ & 0x1FFF) << 16;
  if (!busy) v |= 0xC0000000u;  // done
  return v;
}

uint32_t Board::Read(uint32_t offset, int bytes, int64_t now) {
  if (options_.portBoard) {
    if (offset == 0) return PortStatus(now);
    if (offset >= 4 && offset < 8) return DataPort(bytes);
    return 0;
  }
  uint32_t reg = offset & ~3u, shift = (offset & 3) * 8;
  uint32_t v = 0;
  switch (reg) {
    case 0: v = Status(now); break;
    case 4:
      if (shift == 0) return DataPort(bytes);
      break;
    case 12: v = TransferState(now); break;
    default: break;
  }
  v >>= shift;
  return bytes >= 4 ? v : v & ((1u << (8 * bytes)) - 1);
}

void Board::Write(uint32_t offset, int bytes, uint32_t value, int64_t now) {
  if (options_.portBoard) {
    switch (offset) {
      case 1: portRegister_ = value & 0xFF; break;
      case 2: CameraRegister(portRegister_, uint8_t(value), now); break;
      case 3: Rearm(now); break;
      case 10: StartFrame(false, false, now); break;
      default: break;  // 390 and 392: the horizontal window, which the line always covers
    }
    return;
  }
  switch (offset) {
    case 0: Command(value, now); break;
    case 4:
      if (value == 1) Rearm(now);
      break;
    case 24:
      if (options_.revision >= 217) BoardRegister((value >> 8) & 0xFF, uint8_t(value), now);
      break;
    default: break;
  }
}

void Board::Command(uint32_t word, int64_t now) {
  if (!options_.cameraPresent) return;
  if (shared_.faults.hangAfter > 0 && --shared_.faults.hangAfter == 0) shared_.faults.hung = true;
  if (shared_.faults.echoMismatches != 0) {
    echo_ = word ^ 0x1;
    if (shared_.faults.echoMismatches > 0) --shared_.faults.echoMismatches;
  } else {
    echo_ = word;
  }
  switch (word) {
    case kPowerOn: PowerOn(now); return;
    case kPowerOff:
    case kReset:
      // A reset drops the camera until the next power-on, as a power cut does; a hung
      // camera comes back with the power.
      options_.powered = false, started_ = false;
      shared_.faults.hung = false;
      return;
    case kLatch:
    case kRun: busyUntil_ = now + kCommandUs; return;
    case kExposureNormal:
    case kExposureLong: longExposure_ = word == kExposureLong, busyUntil_ = now + kCommandUs; return;
    default: break;
  }
  if (!Ready(now)) return;  // an unpowered camera hears nothing
  CameraRegister((word >> 8) & 0xFF, uint8_t(word), now);
}

void Board::PowerOn(int64_t now) {
  if (options_.powered && !shared_.faults.noPower) return;
  options_.powered = true;
  if (shared_.faults.noPower) return;
  camera_.Reset();
  camera_.GetSceneReady();
  epoch_ = now, readyAt_ = now + kReadyDelayUs, started_ = false, shortFrame_ = false;
}

Exposure Board::ExposureAt(int64_t now) const {
  Exposure e = camera_.CurrentExposure(0);
  if (now - movedAt_ < shared_.faults.actuatorSettleMicros) e.shiftX = leftX_, e.shiftY = leftY_;
  return e;
}

void Board::CameraRegister(int reg, uint8_t value, int64_t now) {
  if (reg == 0 || reg == 1 || reg == 10) {
    // A move starts from where the actuator is by now (a move not yet finished counts as
    // not begun).
    const Exposure before = ExposureAt(now);
    leftX_ = before.shiftX, leftY_ = before.shiftY;
    movedAt_ = now;
  }
  camera_.WriteRegister(reg, value);
  busyUntil_ = now + kCommandUs;
  switch (reg) {
    case 0:
    case 1:
    case 10: {
      LogEntry e{LogEntry::Kind::Actuator, index_, 0, 0, 0, 0, 0, now};
      camera_.ActuatorOffset(&e.x, &e.y);
      shared_.Add(e);
      break;
    }
    case 11:
      if (value & 0x80) StartFrame((value & 0x40) != 0, (value & 0x10) != 0, now);
      break;
    case 15:
    case 16: exposureSetAt_ = now; break;
    case 13:
      if (options_.revision < 217 || options_.portBoard) windowStart_ = (windowStart_ & 0xFF00) | value;
      break;
    case 14:
      if (options_.revision < 217 || options_.portBoard) windowStart_ = (windowStart_ & 0xFF) | (value << 8);
      break;
    default: break;
  }
}

void Board::BoardRegister(int reg, uint8_t value, int64_t now) {
  switch (reg) {
    case 0: started_ = false, readAgain_ = false; break;  // board reset
    case 1: StartFrame((value & 0x40) != 0, (value & 0x10) != 0, now); break;
    case 2: windowStart_ = (windowStart_ & 0xFF) | (value << 8); break;
    case 3: windowStart_ = (windowStart_ & 0xFF00) | value; break;
    default: break;
  }
}

void Board::StartFrame(bool halfSize, bool preview, int64_t now) {
  started_ = true, halfSize_ = halfSize, preview_ = preview;
  // The sensor integrates with the actuator where it stands now; the library moves it on
  // for the next position while this frame is still exposing.
  exposing_ = ExposureAt(now);
  frameStartAt_ = now;
  shared_.Add({LogEntry::Kind::FrameStart, index_, 0, 0, 0, 0, 0, now});
  // The frame is ready once it has been exposed and the sensor's readout reaches the
  // window's first line (the line counter equals the window start pair).
  // Boards below revision 217 hand over a frame every frame period during a long
  // exposure; those frames stay black until the exposure is through (see Rearm).
  double lines = camera_.ExposureLines();
  if (LongOnOldBoard(lines)) lines = geometry_.linesPerFrame;
  // A preview of an exposure within the frame period takes the next frame the sensor,
  // which exposes one frame after the other, hands over: its exposure began before the
  // start, and the status counts it whole.
  const bool freeRunning = preview && lines <= geometry_.linesPerFrame;
  const double nowLines = double(now - epoch_) / geometry_.linePeriodUs;
  const double exposed = freeRunning ? nowLines : nowLines + lines;
  int first = (windowStart_ / 2) % geometry_.linesPerFrame;
  double k = std::ceil((exposed - first) / geometry_.linesPerFrame);
  double readyLine = k * geometry_.linesPerFrame + first;
  frameReadyAt_ = epoch_ + int64_t(std::ceil(readyLine * geometry_.linePeriodUs));
  if (freeRunning) frameStartAt_ = epoch_ + int64_t(std::floor((readyLine - lines) * geometry_.linePeriodUs));
}

void Board::Rearm(int64_t now) {
  // The exposed frame moves into the board's memory, where reading starts over, and the
  // next exposure begins.
  Exposure e = started_ ? exposing_ : camera_.CurrentExposure(0);
  bool shortFrame = false;
  if (started_ && LongOnOldBoard(e.lines)) {
    // The older camera integrates a long exposure from the moment its registers were set.
    double exposed = double(now - exposureSetAt_) / geometry_.linePeriodUs;
    if (exposed < e.lines) e.lines = 0;
  } else if (started_) {
    // Taken before its exposure ended, a frame is darker, and the status says so until
    // the next frame is taken.
    double exposed = double(now - frameStartAt_) / geometry_.linePeriodUs;
    shortFrame = exposed < e.lines - 0.5;
    e.lines = std::max(0.5, std::min(e.lines, exposed));
  }
  if (started_ && shared_.faults.shortFrames != 0) {
    if (shared_.faults.shortFrames > 0) --shared_.faults.shortFrames;
    e.lines /= 2;
    shortFrame = true;
  }
  shortFrame_ = shortFrame;
  camera_.Latch(e, double(now - origin_) / 1e6);
  line_ = 0, portByte_ = 0, readAgain_ = false;
  StartFrame(halfSize_, preview_, now);
}

int Board::PairOfLine(int line) const {
  // Line 0 is the line above the window, which the library reads and drops; a half-size
  // readout skips every second line pair.
  int step = halfSize_ ? 2 : 1;
  return windowStart_ / 2 + (line - 1) * step - geometry_.blackRows / 2;
}

uint32_t Board::LineWord(int line, int w, int lead) const {
  int pair = PairOfLine(line);
  int cell = w - lead;
  if (pair < 0 || pair >= geometry_.activePairs || cell < 0 || cell >= geometry_.cellsPerLine)
    return camera_.DarkWord();
  return camera_.Row(pair)[cell];
}

void Board::FillLine(uint32_t* out, int words, int line, int lead) const {
  int pair = PairOfLine(line);
  uint32_t dark = camera_.DarkWord();
  if (pair < 0 || pair >= geometry_.activePairs) {
    std::fill(out, out + words, dark);
    return;
  }
  int before = std::min(lead, words);
  std::fill(out, out + before, dark);
  int cells = std::clamp(words - lead, 0, geometry_.cellsPerLine);
  std::memcpy(out + before, camera_.Row(pair), size_t(cells) * 4);
  std::fill(out + before + cells, out + words, dark);
}

bool Board::ReadLine(uint8_t* dst, uint32_t size, uint32_t* done, int64_t now) {
  FaultSet& f = shared_.faults;
  if (!Ready(now)) return false;
  if (f.readTimeouts != 0) {
    if (f.readTimeouts > 0) --f.readTimeouts;
    return false;
  }
  uint32_t n = std::min(size, LineBytes());
  if (f.readAgain != 0) {
    // A damaged transfer: the data is lost and the line must be read again.
    if (f.readAgain > 0) --f.readAgain;
    std::memset(dst, 0, n);
    readAgain_ = true;
    *done = n;
    return true;
  }
  readAgain_ = false;
  uint32_t words = n / 4;
  if ((reinterpret_cast<uintptr_t>(dst) & 3) == 0) {
    FillLine(reinterpret_cast<uint32_t*>(dst), int(words), line_, 0);
  } else {
    std::vector<uint32_t> line(words);
    FillLine(line.data(), int(words), line_, 0);
    std::memcpy(dst, line.data(), size_t(words) * 4);
  }
  std::memset(dst + 4 * words, 0, n - 4 * words);
  ++line_, portByte_ = 0;
  *done = n;
  return true;
}

uint32_t Board::DataPort(int bytes) {
  // The data port walks the line as the camera sends it, lead words first.
  uint32_t v = 0;
  for (int i = 0; i < bytes; ++i) {
    uint32_t word = LineWord(line_, int(portByte_ / 4), geometry_.leadWords);
    v |= ((word >> (8 * (portByte_ % 4))) & 0xFF) << (8 * i);
    if (++portByte_ >= uint32_t(geometry_.lineWords) * 4) portByte_ = 0, ++line_;
  }
  return v;
}

}  // namespace plat::board
