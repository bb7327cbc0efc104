#include "BoardSystem.h"

#include <strings.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>

#include "Clock.h"
#include "Config.h"
#include "PatternScene.h"
#include "PictureScene.h"
#include "WinSystem.h"

namespace plat::board {
namespace {
constexpr uint32_t kVendor = 0x1022, kDevice = 2;
constexpr uint32_t kClassCode = 0x048000;  // multimedia, other
constexpr int kFirstDevice = 8;
constexpr uint32_t kPortBoardBase = 0x180;
constexpr double kTransferBytesPerUs = 100.0;  // the board's bus-master transfer rate

std::vector<long> IntList(std::string_view key) {
  std::vector<long> out;
  std::stringstream in(config::Get(key, ""));
  std::string item;
  while (std::getline(in, item, ','))
    if (!item.empty()) out.push_back(std::strtol(item.c_str(), nullptr, 0));
  return out;
}

// A number and nothing else but spaces around it.
std::optional<double> Number(const std::string& text) {
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (end == text.c_str() || !std::isfinite(v)) return std::nullopt;
  while (*end == ' ') ++end;
  if (*end != '\0') return std::nullopt;
  return v;
}

// The lamp from LUMORA_BOARD_LIGHT (a factor) and LUMORA_BOARD_CAST (red, green and blue
// factors). A value that does not read is reported and left at its default, so a typing
// slip shows; one out of range is held at the nearest bound.
Lighting LightingSetting() {
  constexpr double kMaxLight = 1000.0, kMaxCast = 4.0;
  Lighting lighting;
  if (auto text = config::Find("BOARD_LIGHT"); text && !text->empty()) {
    if (auto v = Number(*text))
      lighting.light = std::clamp(*v, 0.0, kMaxLight);
    else
      std::fprintf(stderr, "lumora: LUMORA_BOARD_LIGHT=%s is not a number; the light stays 1\n", text->c_str());
  }
  if (auto text = config::Find("BOARD_CAST"); text && !text->empty()) {
    std::array<double, 3> cast{};
    std::stringstream in(*text);
    std::string item;
    size_t n = 0;
    bool ok = true;
    while (ok && std::getline(in, item, ',')) {
      auto v = Number(item);
      ok = v && n < cast.size();
      if (ok) cast[n++] = std::clamp(*v, 0.0, kMaxCast);
    }
    if (ok && n == cast.size())
      lighting.cast = cast;
    else
      std::fprintf(stderr, "lumora: LUMORA_BOARD_CAST=%s is not three numbers (red,green,blue); no cast\n",
                   text->c_str());
  }
  return lighting;
}

std::shared_ptr<const Scene> MakeScene(const SensorGeometry& g) {
  if (strcasecmp(config::Get("BOARD_SCENE", "chart").c_str(), "pattern") == 0)
    return std::make_shared<PatternScene>();
  double noise = std::strtod(config::Get("BOARD_NOISE", "1.0").c_str(), nullptr);
  const Lighting lighting = LightingSetting();
  std::string file = config::Get("BOARD_SCENE_FILE", "");
  if (!file.empty()) {
    std::string error;
    Picture p = LoadPictureFile(file, g.FrameWidth(), g.FrameHeight(), &error);
    if (p.width > 0) return std::make_shared<PictureScene>(std::move(p), noise, lighting);
    std::fprintf(stderr, "lumora: scene picture not used (%s); showing the test chart\n", error.c_str());
  }
  return std::make_shared<PictureScene>([w = g.FrameWidth(), h = g.FrameHeight()] { return MakeTestChart(w, h); },
                                        noise, lighting);
}
}  // namespace

BoardSystem& BoardSystem::Get() {
  static BoardSystem system;
  return system;
}

BoardSystem::BoardSystem() { ResetLocked(); }

void BoardSystem::Reset() {
  std::lock_guard lock(mutex_);
  ResetLocked();
}

void BoardSystem::ResetLocked() {
  shared_ = BoardShared{};
  stallState_ = 1;
  stalls_ = false;
  pci_.clear(), ports_.clear();
  configAddress_ = 0;
  portMicros_ = std::max(0L, config::GetInt("BOARD_PORT_MICROS", 2));

  BoardOptions options;
  options.revision = int(config::GetInt("BOARD_REVISION", 217));
  options.model = int(config::GetInt("BOARD_MODEL", 0xA));
  options.cameraPresent = config::GetInt("BOARD_CAMERA", 1) != 0;
  options.powered = config::GetInt("BOARD_POWERED", 1) != 0;
  auto seed = uint32_t(config::GetInt("BOARD_SEED", 1));
  double drift = std::strtod(config::Get("BOARD_MOTION", "0").c_str(), nullptr);
  auto scene = MakeScene(GeometryFor(options.model, options.revision));
  int64_t now = clock::NowMicros();

  int count = std::clamp(int(config::GetInt("BOARD_COUNT", 1)), 0, 10);
  std::vector<long> bars = IntList("BOARD_BARS");
  int bus = std::clamp(int(config::GetInt("BOARD_BUS", 0)), 0, 7);
  for (int i = 0; i < count; ++i) {
    uint32_t bar = i < int(bars.size()) ? uint32_t(bars[i]) : 0xE000 + 0x100 * i;
    auto board = std::make_unique<Board>(i, options, scene, seed + i, drift, now, shared_);
    pci_.push_back(PciSlot{std::move(board), (bar & 0xFFFC) | 1, bus, kFirstDevice + i});
  }
  BoardOptions portOptions = options;
  portOptions.portBoard = true;
  portOptions.revision = 210;  // the port board's camera keeps the older timing and status
  for (long j : IntList("BOARD_PORT_BOARDS"))
    if (j >= 0 && j <= 3)
      ports_.push_back(PortSlot{std::make_unique<Board>(-1 - int(j), portOptions, scene, seed, drift, now, shared_),
                                int(j)});
}

OsFamily BoardSystem::Os() const {
  // The board's driver is the one of the system the library runs on.
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (!GetVersionExA(&info)) return OsFamily::Nt5;
  if (info.dwPlatformId != VER_PLATFORM_WIN32_NT) return OsFamily::Win9x;
  return info.dwMajorVersion >= 5 ? OsFamily::Nt5 : OsFamily::Nt4;
}

void BoardSystem::ChargePort() const {
  // A port access costs bus time; without it the library's start-up calibration of
  // "reads per half second" would spin far too long.
  if (portMicros_ <= 0) return;
  if (clock::IsVirtual()) {
    clock::Advance(portMicros_);
    return;
  }
  auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(portMicros_);
  while (std::chrono::steady_clock::now() < until) {
  }
}

void BoardSystem::Stall() {
  if (!stalls_.load(std::memory_order_relaxed)) return;
  int64_t micros = 0;
  {
    std::lock_guard lock(mutex_);
    const FaultSet& f = shared_.faults;
    if (f.stallEvery <= 0 || f.stallMicros <= 0) return;
    stallState_ = stallState_ * 6364136223846793005ull + 1442695040888963407ull;
    const uint64_t draw = stallState_ >> 33;
    if (draw % uint64_t(f.stallEvery) != 0) return;
    micros = int64_t((draw / uint64_t(f.stallEvery)) % uint64_t(f.stallMicros)) + 1;
  }
  clock::SleepMicros(micros);
}

void BoardSystem::ChargeTransfer(uint32_t bytes) const {
  if (clock::IsVirtual()) clock::Advance(int64_t(bytes / kTransferBytesPerUs));
}

uint32_t BoardSystem::ConfigRead() const {
  if (!(configAddress_ & 0x80000000u) || shared_.faults.noBoard) return 0xFFFFFFFFu;
  int bus = (configAddress_ >> 16) & 0xFF, device = (configAddress_ >> 11) & 0x1F;
  int function = (configAddress_ >> 8) & 7, reg = (configAddress_ >> 2) & 0x3F;
  for (const PciSlot& s : pci_) {
    if (s.bus != bus || s.device != device) continue;
    if (function != 0) return 0xFFFFFFFFu;
    switch (reg) {
      case 0: return (kDevice << 16) | kVendor;
      case 1: return 0x02800001;  // I/O decoding on
      case 2: return (kClassCode << 8) | uint32_t(s.board->Revision() & 0xFF);
      case 4: return s.bar0;
      default: return 0;
    }
  }
  return 0xFFFFFFFFu;
}

uint32_t BoardSystem::ReadLocked(uint32_t port, int bytes, int64_t now) {
  uint32_t mask = bytes >= 4 ? 0xFFFFFFFFu : (1u << (8 * bytes)) - 1;
  if (port == 0xCF8) return configAddress_ & mask;
  if (port >= 0xCFC && port < 0xD00) return (ConfigRead() >> (8 * (port - 0xCFC))) & mask;
  if (!shared_.faults.noBoard) {
    for (PciSlot& s : pci_) {
      uint32_t base = s.bar0 & 0xFFFC;
      if (port >= base && port < base + 32) return s.board->Read(port - base, bytes, now) & mask;
    }
    for (PortSlot& s : ports_) {
      uint32_t base = kPortBoardBase + 16 * s.slot;
      if (port >= base && port < base + 16) return s.board->Read(port - base, bytes, now) & mask;
    }
  }
  return mask;  // nothing answers: the bus floats high
}

void BoardSystem::WriteLocked(uint32_t port, int bytes, uint32_t value, int64_t now) {
  int board = -1;
  if (port == 0xCF8 && bytes == 4) {
    configAddress_ = value;
  } else if (!shared_.faults.noBoard) {
    for (size_t i = 0; i < pci_.size(); ++i) {
      uint32_t base = pci_[i].bar0 & 0xFFFC;
      if (port >= base && port < base + 32) {
        board = int(i);
        shared_.Add({LogEntry::Kind::Write, board, port, value, bytes, 0, 0, now});
        pci_[i].board->Write(port - base, bytes, value, now);
        return;
      }
    }
    for (PortSlot& s : ports_) {
      uint32_t base = kPortBoardBase + 16 * s.slot;
      if (port >= base && port < base + 16) {
        shared_.Add({LogEntry::Kind::Write, -1 - s.slot, port, value, bytes, 0, 0, now});
        s.board->Write(port - base, bytes, value, now);
        return;
      }
    }
  }
  shared_.Add({LogEntry::Kind::Write, board, port, value, bytes, 0, 0, now});
}

uint32_t BoardSystem::ReadPort(uint32_t port, int bytes) {
  ChargePort();
  Stall();
  int64_t now = clock::NowMicros();
  std::lock_guard lock(mutex_);
  return ReadLocked(port, bytes, now);
}

void BoardSystem::WritePort(uint32_t port, int bytes, uint32_t value) {
  ChargePort();
  Stall();
  int64_t now = clock::NowMicros();
  std::lock_guard lock(mutex_);
  WriteLocked(port, bytes, value, now);
}

void BoardSystem::ReadBlock(uint32_t port, uint32_t* out, size_t count) {
  ChargePort();
  Stall();
  int64_t now = clock::NowMicros();
  std::lock_guard lock(mutex_);
  for (size_t i = 0; i < count; ++i) out[i] = ReadLocked(port, 4, now);
}

std::vector<BoardRecord> BoardSystem::Records() const {
  std::lock_guard lock(mutex_);
  std::vector<BoardRecord> records;
  if (shared_.faults.noBoard) return records;
  for (size_t i = 0; i < pci_.size(); ++i) {
    const PciSlot& s = pci_[i];
    int rev = s.board->Revision();
    // Boards of revisions 214 and 215 move lines synchronously; all others overlapped.
    uint32_t kind = (rev == 214 || rev == 215) ? 1 : 3;
    records.push_back({(kind << 16) | uint32_t(i + 1), uint32_t(s.bus), uint32_t(s.device), uint32_t(rev),
                       s.bar0 & 0xFFFC, 0});
  }
  return records;
}

bool BoardSystem::HasBoard(int board) const {
  std::lock_guard lock(mutex_);
  return board >= 0 && board < int(pci_.size());
}

double BoardSystem::FramePeriodUs(int board) const {
  std::lock_guard lock(mutex_);
  return board >= 0 && board < int(pci_.size()) ? pci_[board].board->FramePeriodUs() : 0;
}

bool BoardSystem::ReadLine(int board, uint8_t* dst, uint32_t size, uint32_t* done) {
  Stall();
  int64_t now = clock::NowMicros();
  std::lock_guard lock(mutex_);
  if (board < 0 || board >= int(pci_.size()) || shared_.faults.noBoard) return false;
  return pci_[board].board->ReadLine(dst, size, done, now);
}

void BoardSystem::SetFaults(const FaultSet& faults) {
  std::lock_guard lock(mutex_);
  shared_.faults = faults;
  stalls_ = faults.stallEvery > 0 && faults.stallMicros > 0;
  for (PciSlot& s : pci_) s.board->FaultsChanged();
  for (PortSlot& s : ports_) s.board->FaultsChanged();
}

FaultSet BoardSystem::Faults() const {
  std::lock_guard lock(mutex_);
  return shared_.faults;
}

void BoardSystem::PulseTrigger(int board, int64_t holdMicros) {
  int64_t now = clock::NowMicros();
  std::lock_guard lock(mutex_);
  if (board >= 0 && board < int(pci_.size())) pci_[board].board->PulseTrigger(now, holdMicros);
}

void BoardSystem::ShowScene(std::shared_ptr<const Scene> scene) {
  std::lock_guard lock(mutex_);
  for (PciSlot& s : pci_) s.board->ShowScene(scene);
  for (PortSlot& s : ports_) s.board->ShowScene(scene);
}

void BoardSystem::MoveScene(double pixels) {
  std::lock_guard lock(mutex_);
  for (PciSlot& s : pci_) s.board->MoveScene(pixels);
  for (PortSlot& s : ports_) s.board->MoveScene(pixels);
}

std::vector<LogEntry> BoardSystem::Log() const {
  std::lock_guard lock(mutex_);
  return {shared_.log.begin(), shared_.log.end()};
}

void BoardSystem::ClearLog() {
  std::lock_guard lock(mutex_);
  shared_.log.clear();
}

// ---- the test API
void SetFaults(const FaultSet& faults) { BoardSystem::Get().SetFaults(faults); }
FaultSet CurrentFaults() { return BoardSystem::Get().Faults(); }
void PulseTrigger(int board, int64_t holdMicros) { BoardSystem::Get().PulseTrigger(board, holdMicros); }
std::vector<LogEntry> Log() { return BoardSystem::Get().Log(); }
void ClearLog() { BoardSystem::Get().ClearLog(); }
void ShowScene(std::shared_ptr<const Scene> scene) { BoardSystem::Get().ShowScene(std::move(scene)); }
void MoveScene(double pixels) { BoardSystem::Get().MoveScene(pixels); }
void Reset() { BoardSystem::Get().Reset(); }

}  // namespace plat::board
