// Drives the simulated board as the camera library does: through CreateFileA,
// DeviceIoControl and ReadFile, on the virtual clock, with the pattern scene unless a
// test picks another.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Clock.h"
#include "Config.h"
#include "KernelObject.h"
#include "windows.h"
#include "board/BoardDevice.h"
#include "board/BoardTestApi.h"
#include "board/PatternScene.h"

class BoardTest : public ::testing::Test {
 protected:
  static constexpr uint32_t kBase = 0xE000;  // the first board's I/O base by default

  void SetUp() override {
    plat::clock::UseVirtual(true, 1);
    Configure({{"BOARD_SCENE", "pattern"}});
    event_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);  // auto-reset, as the library makes it
  }
  void TearDown() override {
    for (HANDLE h : handles_) CloseHandle(h);
    CloseHandle(event_);
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

  // Opens "\\.\name"; the handle is closed at the end of the test.
  HANDLE Open(const std::string& name, bool overlapped = true) {
    HANDLE h = CreateFileA(("\\\\.\\" + name).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, overlapped ? FILE_FLAG_OVERLAPPED : 0, nullptr);
    if (h != INVALID_HANDLE_VALUE) handles_.push_back(h);
    return h;
  }
  HANDLE Device() {
    if (!device_) device_ = Open("KQPCI1");
    return device_;
  }

  uint32_t In(uint32_t port, DWORD width = 3) {
    DWORD address = (port << 2) | width, value = 0, got = 0;
    EXPECT_TRUE(DeviceIoControl(Device(), plat::board::kIoctlPortRead, &address, 4, &value, 4, &got, nullptr));
    return value;
  }
  void Out(uint32_t port, uint32_t value, DWORD width = 3) {
    DWORD request[2] = {(port << 2) | width, value};
    DWORD got = 0;
    EXPECT_TRUE(DeviceIoControl(Device(), plat::board::kIoctlPortWrite, request, 8, nullptr, 0, &got, nullptr));
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

  // One line by ReadFile with an OVERLAPPED record and the test's event; returns what
  // ReadFile returned.
  BOOL ReadLine(std::vector<uint8_t>& line, OVERLAPPED& o, DWORD size = 2584, HANDLE device = nullptr) {
    line.assign(size, 0xEE);
    o = OVERLAPPED{};
    o.hEvent = event_;
    return ReadFile(device ? device : Device(), line.data(), size, nullptr, &o);
  }
  // Whether the line read's event is set (and takes the signal, as the library's test does).
  bool Signalled() { return WaitForSingleObject(event_, 0) == WAIT_OBJECT_0; }
  static uint32_t Word(const std::vector<uint8_t>& line, size_t w) {
    return uint32_t(line[4 * w]) | uint32_t(line[4 * w + 1]) << 8 | uint32_t(line[4 * w + 2]) << 16 |
           uint32_t(line[4 * w + 3]) << 24;
  }

 private:
  std::vector<std::string> keys_;
  std::vector<HANDLE> handles_;
  HANDLE device_ = nullptr;
  HANDLE event_ = nullptr;
};
