// Drives the simulated board as the camera library does: through the device's requests,
// on the virtual clock, with the pattern scene unless a test picks another.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Clock.h"
#include "Config.h"
#include "KernelObject.h"
#include "board/BoardDevice.h"
#include "board/BoardTestApi.h"
#include "board/CompletionEvent.h"
#include "board/PatternScene.h"

class BoardTest : public ::testing::Test {
 protected:
  static constexpr uint32_t kBase = 0xE000;  // the first board's I/O base by default
  static constexpr DWORD kOverlappedFlag = 0x40000000;

  void SetUp() override {
    plat::clock::UseVirtual(true, 1);
    Configure({{"BOARD_SCENE", "pattern"}});
    plat::board::SetCompletionSignal([this](HANDLE h) { signalled.push_back(h); });
  }
  void TearDown() override {
    plat::board::SetCompletionSignal(nullptr);
    for (auto& k : keys_) plat::config::Set(k, std::nullopt);
    plat::board::Reset();
    plat::clock::UseVirtual(false);
  }

  // Sets stand-in keys (without the LUMORA_ prefix) and rebuilds the boards.
  void Configure(std::vector<std::pair<std::string, std::string>> keys) {
    for (auto& [k, v] : keys) {
      plat::config::Set(k, v);
      keys_.push_back(k);
    }
    plat::board::Reset();
  }

  std::shared_ptr<plat::KernelObject> Open(const std::string& name, bool overlapped = true) {
    DWORD error = 0;
    return plat::OpenDevice(name, 0xC0000000, overlapped ? kOverlappedFlag : 0, &error);
  }
  std::shared_ptr<plat::KernelObject> Device() {
    if (!device_) device_ = Open("KQPCI1");
    return device_;
  }

  uint32_t In(uint32_t port, DWORD width = 3) {
    DWORD address = (port << 2) | width, value = 0, got = 0;
    EXPECT_TRUE(Device()->IoControl(plat::board::kIoctlPortRead, &address, 4, &value, 4, &got, nullptr));
    return value;
  }
  void Out(uint32_t port, uint32_t value, DWORD width = 3) {
    DWORD request[2] = {(port << 2) | width, value};
    DWORD got = 0;
    EXPECT_TRUE(Device()->IoControl(plat::board::kIoctlPortWrite, request, 8, nullptr, 0, &got, nullptr));
  }
  uint32_t PciConfig(int bus, int device, int reg) {
    Out(0xCF8, 0x80000000u | (bus << 16) | (device << 11) | (reg << 2));
    return In(0xCFC);
  }
  // The library's stable read: the first value read twice in a row.
  uint32_t Status() {
    uint32_t a = In(kBase), b = In(kBase);
    while (a != b) a = b, b = In(kBase);
    return a;
  }
  int Counter() { return int(Status() >> 16); }
  void Command(uint32_t word) { Out(kBase, word); }
  void WaitNotBusy() {
    for (int i = 0; i < 100000 && (In(kBase) & 1); ++i) {
    }
  }
  // A camera register write as the library sends it, waiting for the handshake first.
  void Register(int reg, int value) {
    WaitNotBusy();
    Command(uint32_t(reg << 8 | value));
    WaitNotBusy();
  }
  void Rearm() { Out(kBase + 4, 1); }

  // One line through ReadFile with an OVERLAPPED record; returns what ReadFile returned.
  BOOL ReadLine(std::vector<uint8_t>& line, OVERLAPPED& o, DWORD size = 2584) {
    line.assign(size, 0xEE);
    o = OVERLAPPED{};
    o.hEvent = reinterpret_cast<HANDLE>(uintptr_t(0x1234));
    DWORD done = 0;
    return Device()->Read(line.data(), size, &done, &o);
  }
  static uint32_t Word(const std::vector<uint8_t>& line, size_t w) {
    return uint32_t(line[4 * w]) | uint32_t(line[4 * w + 1]) << 8 | uint32_t(line[4 * w + 2]) << 16 |
           uint32_t(line[4 * w + 3]) << 24;
  }

  std::vector<HANDLE> signalled;

 private:
  std::vector<std::string> keys_;
  std::shared_ptr<plat::KernelObject> device_;
};
