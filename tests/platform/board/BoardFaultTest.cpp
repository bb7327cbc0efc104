// Each injected fault, seen from the library's side of the driver.
#include <cstring>

#include "BoardFixture.h"
#include "board/VxdBuffers.h"
#include "LastError.h"
#include "WinError.h"

using plat::board::FaultSet;
using plat::board::LogEntry;
using plat::board::PatternScene;

namespace {

FaultSet With(void (*set)(FaultSet&)) {
  FaultSet f;
  set(f);
  return f;
}

TEST_F(BoardTest, NoBoardLeavesScanListAndPortsEmpty) {
  plat::board::SetFaults(With([](FaultSet& f) { f.noBoard = true; }));
  EXPECT_EQ(PciConfig(0, 8, 0), 0xFFFFFFFFu);
  uint8_t list[plat::board::kBoardListBytes];
  DWORD got = 0, count = 1;
  ASSERT_TRUE(DeviceIoControl(Device(), plat::board::kIoctlBoardList, nullptr, 0, list, sizeof list, &got, nullptr));
  std::memcpy(&count, list + 240, 4);
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(In(kBase), 0xFFFFFFFFu);
}

TEST_F(BoardTest, NoPowerKeepsTheCameraBusyAndSilent) {
  Configure({{"BOARD_POWERED", "0"}});
  plat::board::SetFaults(With([](FaultSet& f) { f.noPower = true; }));
  Command(0xB00);
  plat::clock::Advance(2000000);
  EXPECT_EQ(Status(), 1u);
  std::vector<uint8_t> line;
  OVERLAPPED o;
  ::SetLastError(0);
  EXPECT_FALSE(ReadLine(line, o));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_IO_PENDING));
  // Power comes back: the camera starts up as after any power-on.
  plat::board::SetFaults({});
  Command(0xB00);
  plat::clock::Advance(1000000);
  EXPECT_EQ(Status() & 1, 0u);
}

TEST_F(BoardTest, BusyStuckHoldsStatusAndEchoBusy) {
  plat::board::SetFaults(With([](FaultSet& f) { f.busyStuck = true; }));
  plat::clock::Advance(100000);
  uint32_t s = Status();
  EXPECT_EQ(s & 1, 1u);
  EXPECT_EQ(In(kBase + 12) & 0xC0000001u, 1u);  // busy and never done
  plat::clock::Advance(1000);
  EXPECT_NE(Status() >> 16, s >> 16);  // the sensor itself still runs
}

// A hung camera answers busy until its power is cycled; then it starts up as usual.
TEST_F(BoardTest, HungCameraRecoversOnlyByAPowerCycle) {
  plat::board::SetFaults(With([](FaultSet& f) { f.hung = true; }));
  plat::clock::Advance(100000);
  EXPECT_EQ(Status() & 1, 1u);
  Command(0xB00);  // power-on alone does not help
  plat::clock::Advance(1000000);
  EXPECT_EQ(Status() & 1, 1u);
  Command(0xB10);
  EXPECT_FALSE(plat::board::CurrentFaults().hung);
  Command(0xB00);
  plat::clock::Advance(1000000);
  // The camera hangs with the second command from now.
  plat::board::SetFaults(With([](FaultSet& f) { f.hangAfter = 2; }));
  Register(12, 1);
  EXPECT_EQ(Status() & 1, 0u);
  Command(0xC01);
  EXPECT_EQ(Status() & 1, 1u);
  Command(0xB10);
  Command(0xB00);
  plat::clock::Advance(1000000);
  EXPECT_EQ(Status() & 1, 0u);
}

TEST_F(BoardTest, StatusStuckFreezesTheStatusWord) {
  plat::clock::Advance(30000);
  plat::board::SetFaults(With([](FaultSet& f) { f.statusStuck = true; }));
  uint32_t s = In(kBase);
  plat::clock::Advance(50000);
  Out(kBase + 24, 1 << 8);
  EXPECT_EQ(In(kBase), s);
  plat::board::SetFaults({});
  EXPECT_NE(In(kBase), s);
}

TEST_F(BoardTest, EchoMismatchesRunOut) {
  plat::board::SetFaults(With([](FaultSet& f) { f.echoMismatches = 2; }));
  for (int i = 0; i < 3; ++i) {
    WaitNotBusy();
    Command(0x1184);
    WaitNotBusy();
    uint32_t echo = (In(kBase + 12) >> 16) & 0x1FFF;
    if (i < 2) {
      EXPECT_NE(echo, 0x1184u) << i;
    } else {
      EXPECT_EQ(echo, 0x1184u);
    }
  }
  EXPECT_EQ(plat::board::CurrentFaults().echoMismatches, 0);
}

TEST_F(BoardTest, FaultWordShowsInTheEchoRegister) {
  for (uint16_t word : {12512, 12513, 12514}) {
    FaultSet f;
    f.faultWord = word;
    plat::board::SetFaults(f);
    uint32_t echo = In(kBase + 12);
    EXPECT_EQ(echo >> 16, word);
    EXPECT_EQ(echo & 1, 1u);
    EXPECT_EQ(Status() & 1, 1u);
  }
}

TEST_F(BoardTest, TimedOutReadsPendUntilCancelledAndLoseNoLine) {
  plat::board::SetFaults(With([](FaultSet& f) { f.readTimeouts = 2; }));
  Rearm();
  std::vector<uint8_t> line;
  OVERLAPPED o;
  for (int i = 0; i < 2; ++i) {
    ::SetLastError(0);
    EXPECT_FALSE(ReadLine(line, o));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_IO_PENDING));
    EXPECT_FALSE(HasOverlappedIoCompleted(&o));
    for (int poll = 0; poll < 513; ++poll) ASSERT_FALSE(Signalled());
    EXPECT_TRUE(CancelIo(Device()));
    DWORD moved = 1;
    EXPECT_FALSE(GetOverlappedResult(Device(), &o, &moved, FALSE));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_OPERATION_ABORTED));
    EXPECT_EQ(moved, 0u);
    EXPECT_TRUE(Signalled());
  }
  ASSERT_TRUE(ReadLine(line, o));
  ASSERT_TRUE(ReadLine(line, o));
  EXPECT_EQ(Word(line, 4), PatternScene::PatternCell(0, 4));  // the dropped line, then line 0
}

TEST_F(BoardTest, SynchronousReadsTimeOutAfterAFramePeriod) {
  plat::board::SetFaults(With([](FaultSet& f) { f.readTimeouts = -1; }));
  HANDLE plain = Open("KQPCI1", false);
  std::vector<uint8_t> line(2584);
  DWORD done = 0;
  int64_t before = plat::clock::NowMicros();
  ::SetLastError(0);
  EXPECT_FALSE(ReadFile(plain, line.data(), 2584, &done, nullptr));
  EXPECT_EQ(GetLastError(), 121u);  // ERROR_SEM_TIMEOUT
  EXPECT_GE(plat::clock::NowMicros() - before, 83000);
  EXPECT_EQ(plat::board::CurrentFaults().readTimeouts, -1);
}

TEST_F(BoardTest, ReadAgainFlagsADamagedLineThatComesAgain) {
  Rearm();
  std::vector<uint8_t> line;
  OVERLAPPED o;
  ReadLine(line, o);  // the dropped line
  plat::board::SetFaults(With([](FaultSet& f) { f.readAgain = 1; }));
  ASSERT_TRUE(ReadLine(line, o));
  EXPECT_EQ(In(kBase + 12) & 0x20, 0x20u);
  EXPECT_EQ(Word(line, 9), 0u);
  ASSERT_TRUE(ReadLine(line, o));
  EXPECT_EQ(In(kBase + 12) & 0x20, 0u);
  EXPECT_EQ(Word(line, 9), PatternScene::PatternCell(0, 9));
}

TEST_F(BoardTest, VxdPollReportsATimedOutRead) {
  Configure({{"PLATFORM", "9x"}});
  plat::board::SetFaults(With([](FaultSet& f) { f.readTimeouts = -1; }));
  HANDLE vxd = Open("kq2pci", false);
  std::vector<uint8_t> line(2584);
  DWORD token = plat::board::PinVxdBuffer(line.data(), 2584);
  DWORD request[3] = {0, 2584, token}, got = 0, finished = 1;
  ASSERT_TRUE(DeviceIoControl(vxd, plat::board::kVxdStartRead, request, 12, nullptr, 0, &got, nullptr));
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(DeviceIoControl(vxd, plat::board::kVxdPollRead, nullptr, 0, &finished, 4, &got, nullptr));
    EXPECT_EQ(finished, 0u);
  }
  plat::board::UnpinVxdBuffer(token);
}

TEST_F(BoardTest, TriggerPulseShowsInBitThreeForItsHold) {
  plat::board::PulseTrigger(0, 20000);
  EXPECT_EQ(Status() & 8, 8u);
  plat::clock::Advance(25000);
  EXPECT_EQ(Status() & 8, 0u);
}

TEST_F(BoardTest, WithoutACameraTheStatusReadsFive) {
  Configure({{"BOARD_CAMERA", "0"}});
  for (int i = 0; i < 3; ++i) {
    Command(0xB00);
    plat::clock::Advance(400000);
    EXPECT_EQ(Status(), 5u);
  }
  std::vector<uint8_t> line;
  OVERLAPPED o;
  EXPECT_FALSE(ReadLine(line, o));
}

TEST_F(BoardTest, LogRecordsWritesFrameStartsAndActuatorMoves) {
  plat::board::ClearLog();
  Out(0xCF8, 0x80000000u);
  Register(0, 40);
  Out(kBase + 24, (1 << 8) | 0x20);
  auto log = plat::board::Log();
  ASSERT_GE(log.size(), 4u);
  EXPECT_EQ(log[0].kind, LogEntry::Kind::Write);
  EXPECT_EQ(log[0].board, -1);
  EXPECT_EQ(log[0].port, 0xCF8u);
  EXPECT_EQ(log[1].kind, LogEntry::Kind::Write);
  EXPECT_EQ(log[1].port, kBase);
  EXPECT_EQ(log[1].value, 0x0028u);
  EXPECT_EQ(log[2].kind, LogEntry::Kind::Actuator);
  EXPECT_EQ(log[2].x, 40);
  EXPECT_EQ(log[3].kind, LogEntry::Kind::Write);
  EXPECT_EQ(log[3].port, kBase + 24);
  EXPECT_EQ(log.back().kind, LogEntry::Kind::FrameStart);
  EXPECT_GE(log.back().micros, log[0].micros);
}

}  // namespace
