#include <cstring>

#include "BoardDevice.h"
#include "VexcamFixture.h"
#include "board/PatternScene.h"

namespace {

using plat::board::FaultSet;

class LineTransfer : public VexcamTest {
 protected:
  // Brings up the board of `revision` and takes one frame into board memory.
  CCameraCtrl& Ready(LONG revision, const char* platform = "NT") {
    Configure({{"BOARD_REVISION", std::to_string(revision)}, {"PLATFORM", platform}});
    CCameraCtrl& cam = MakeCamera();
    EXPECT_EQ(cam.SearchPCIAndSetGETA(), 1);
    NextFrame(cam);
    return cam;
  }
  void NextFrame(CCameraCtrl& cam) {
    DWORD base = settings.PCIaddress;
    if (cam.m_Revision >= 217)
      WritePortD(base, 24, 1 << 8);
    else
      WritePortD(base, 0, (11 << 8) | 0x80);
    for (int i = 0; i < 1000000 && !(ReadStatus(base, 0) & 2); ++i) {
    }
    WritePortD(base, 4, 1);
  }
  std::vector<BYTE> line = std::vector<BYTE>(4096, 0xEE);
  static DWORD Word(const std::vector<BYTE>& l, size_t w) {
    DWORD v;
    std::memcpy(&v, &l[4 * w], 4);
    return v;
  }
};

// Up to 16 lines in a row may time out and still count (the line keeps what came);
// the 17th fails, and so does every further one until a line arrives in time.
TEST_F(LineTransfer, OverlappedReadsTolerateSixteenTimeouts) {
  CCameraCtrl& cam = Ready(217);
  plat::board::SetFaults(FaultSet{.readTimeouts = -1});
  for (int i = 1; i <= 16; ++i) EXPECT_TRUE(cam.ReadLine(line.data(), 0)) << i;
  EXPECT_FALSE(cam.ReadLine(line.data(), 0));
  EXPECT_FALSE(cam.ReadLine(line.data(), 0));
  EXPECT_EQ(DeviceState().overlappedTimeouts, 16);

  plat::board::SetFaults(FaultSet{});
  EXPECT_TRUE(cam.ReadLine(line.data(), 1));
  EXPECT_EQ(DeviceState().overlappedTimeouts, 0);
  plat::board::SetFaults(FaultSet{.readTimeouts = 16});
  for (int i = 1; i <= 16; ++i) EXPECT_TRUE(cam.ReadLine(line.data(), 0)) << i;
}

TEST_F(LineTransfer, OverlappedReadDeliversTheLine) {
  CCameraCtrl& cam = Ready(217);
  cam.ReadLine(line.data(), 0);  // the line above the window
  ASSERT_TRUE(cam.ReadLine(line.data(), 1));
  EXPECT_EQ(Word(line, 100), plat::board::PatternScene::PatternCell(0, 100));
  EXPECT_EQ(line[2584], 0xEE);  // a whole line and no more
}

TEST_F(LineTransfer, ALineAskedForAgainIsReadAgain) {
  CCameraCtrl& cam = Ready(217);
  cam.ReadLine(line.data(), 0);
  plat::board::SetFaults(FaultSet{.readAgain = 2});
  ASSERT_TRUE(cam.ReadLine(line.data(), 1));
  EXPECT_EQ(Word(line, 100), plat::board::PatternScene::PatternCell(0, 100));  // whole at the third read
  EXPECT_EQ(plat::board::CurrentFaults().readAgain, 0);
}

TEST_F(LineTransfer, ABoardThatAlwaysAsksAgainFailsTheRead) {
  CCameraCtrl& cam = Ready(217);
  plat::board::SetFaults(FaultSet{.readAgain = 1000});
  EXPECT_FALSE(cam.ReadLine(line.data(), 1));
}

// Revisions 214 and 215 read synchronously; a read that never arrives fails.
TEST_F(LineTransfer, SynchronousReads) {
  CCameraCtrl& cam = Ready(214);
  cam.ReadLine(line.data(), 0);
  ASSERT_TRUE(cam.ReadLine(line.data(), 1));
  EXPECT_EQ(Word(line, 100), plat::board::PatternScene::PatternCell(0, 100));
  plat::board::SetFaults(FaultSet{.readTimeouts = 1});
  EXPECT_FALSE(cam.ReadLine(line.data(), 2));
}

TEST_F(LineTransfer, VxdReadsOn9x) {
  CCameraCtrl& cam = Ready(217, "9x");
  cam.ReadLine(line.data(), 0);
  ASSERT_TRUE(cam.ReadLine(line.data(), 1));
  EXPECT_EQ(Word(line, 100), plat::board::PatternScene::PatternCell(0, 100));
  plat::board::SetFaults(FaultSet{.readTimeouts = -1});
  EXPECT_FALSE(cam.ReadLine(line.data(), 2));
}

TEST_F(LineTransfer, Revision225MovesShortLines) {
  CCameraCtrl& cam = Ready(225);
  ASSERT_TRUE(cam.ReadLine(line.data(), 0));
  EXPECT_NE(line[1287], 0xEE);
  EXPECT_EQ(line[1288], 0xEE);
}

// Lines past the last readable one succeed without a transfer.
TEST_F(LineTransfer, LinesPastTheSensorAreSkipped) {
  const std::pair<LONG, bool> cases[] = {{216, false}, {217, true}};
  for (auto [revision, moved] : cases) {
    CCameraCtrl& cam = Ready(revision);
    std::fill(line.begin(), line.end(), 0xEE);
    EXPECT_TRUE(cam.ReadLine(line.data(), 515)) << revision;
    EXPECT_EQ(line[0] != 0xEE, moved) << revision;
    camera.reset();
  }
}

// The read waits while the sensor writes the lines around the wanted one; a counter that
// stays there is a board that stopped, and the read ends with -13.
TEST_F(LineTransfer, WaitsForTheSensorToPassTheLine) {
  CCameraCtrl& cam = Ready(217);
  Geometry().LineCount = 516;
  LONG counter = LONG(ReadStatus(settings.PCIaddress, 0) >> 16) % 500;
  EXPECT_TRUE(cam.ReadLine(line.data(), counter));
  EXPECT_EQ(settings.Camera_Status, 0);

  do counter = LONG(ReadStatus(settings.PCIaddress, 0) >> 16);
  while (counter >= 500);  // a line the wait covers (lines near the field's end are not waited for)
  plat::board::SetFaults(FaultSet{.statusStuck = true});
  EXPECT_FALSE(cam.ReadLine(line.data(), counter));
  EXPECT_EQ(settings.Camera_Status, -13);
}

TEST_F(LineTransfer, KeepsRawLinesWhenAsked) {
  CCameraCtrl& cam = Ready(217);
  settings.Mode |= kModeKeepRaw;
  ASSERT_TRUE(cam.ReadLine(line.data(), 3));
  ASSERT_GT(cam.m_RawLines.size(), 3u);
  EXPECT_EQ(cam.m_RawLines[3].size(), 2584u);
  EXPECT_EQ(0, std::memcmp(cam.m_RawLines[3].data(), line.data(), 2584));
}

TEST_F(LineTransfer, PartialLinesCopyTheSpanAndInvertWhenAsked) {
  CCameraCtrl& cam = Ready(217);
  cam.ReadLine(line.data(), 0);
  std::vector<WORD> part(8, 0);
  ASSERT_TRUE(cam.ReadLinePart(part.data(), 200, 8, 4, 1));
  DWORD cell = plat::board::PatternScene::PatternCell(0, 100);
  EXPECT_EQ(part[0], WORD(cell));
  EXPECT_EQ(part[1], WORD(cell >> 16));
  NextFrame(cam);
  cam.ReadLine(line.data(), 0);
  settings.Mode |= kModeInverted;
  ASSERT_TRUE(cam.ReadLinePart(part.data(), 200, 8, 4, 1));
  EXPECT_EQ(part[0], WORD(~cell));
  EXPECT_FALSE(cam.ReadLinePart(part.data(), 1290, 8, 4, 1));  // past the line
}

struct StableCase {
  std::vector<DWORD> reads;
  LONG budget;
  DWORD result;
  bool settled;
};

TEST(StableRead, TakesTheFirstValueReadTwiceInARow) {
  const StableCase cases[] = {
      {{0x01230005, 0x01240005, 0x01240005}, 100, 0x01240005, true},
      {{7, 7}, 100, 7, true},
      {{1, 2, 3, 4, 5, 6, 7, 8}, 5, 5, false},  // never settles: stops at the budget
  };
  for (const auto& c : cases) {
    size_t next = 0;
    bool settled = !c.settled;
    DWORD got = FirstRepeated([&] { return c.reads[std::min(next++, c.reads.size() - 1)]; }, c.budget, &settled);
    EXPECT_EQ(got, c.result);
    EXPECT_EQ(settled, c.settled);
  }
}

TEST(LineCounter, CountsWrapsAndSeesTheTallerSensorOnce) {
  DeviceState() = BoardDeviceState{};
  LONG ver = 0xA6F;
  for (LONG line : {100, 300, 450, 500, 10, 20}) TrackLineCounter(DWORD(line) << 16, 516, ver);
  EXPECT_EQ(DeviceState().wrapCount, 1);
  EXPECT_EQ(ver, 0xA6F);
  TrackLineCounter(530u << 16, 516, ver);
  EXPECT_EQ(ver, 0x2A6F);
  ver = 0xA6F;
  TrackLineCounter(531u << 16, 516, ver);
  EXPECT_EQ(ver, 0xA6F);  // only the first sighting after power-up
  DeviceState().variantDetected = false;
  ver = 0x1A6F;  // a variant already known is kept
  TrackLineCounter(531u << 16, 516, ver);
  EXPECT_EQ(ver, 0x1A6F);
}

TEST_F(LineTransfer, AveragingFoldsOneByteLessThanTheWordsRead) {
  CCameraCtrl& cam = Ready(217);
  std::vector<BYTE> acc(16, 100);
  cam.AverageLineWords(acc.data(), 4, 0);  // a weight of 0 takes the new bytes, no division by zero
  EXPECT_EQ(acc[7], 100);
  EXPECT_EQ(acc[8], 100);
}

TEST_F(LineTransfer, AveragingPlanesHalvesTheirSum) {
  CCameraCtrl& cam = MakeCamera();
  cam.AveragePlanes(2, 1);  // no plane store: nothing happens
  BYTE target[2][3] = {{10, 200, 7}, {0, 255, 7}}, source[2][3] = {{20, 100, 9}, {1, 255, 9}};
  // The green on the red rows (plane 0) takes the mean with the other green (plane 3).
  cam.m_Planes[0] = {target[0], target[1]};
  cam.m_Planes[3] = {source[0], source[1]};
  cam.AveragePlanes(2, 5);  // rows past the store are not touched
  EXPECT_EQ(target[0][0], 15);
  EXPECT_EQ(target[0][1], 150);
  EXPECT_EQ(target[0][2], 7);
  EXPECT_EQ(target[1][0], 0);
  EXPECT_EQ(target[1][1], 255);
  cam.m_Planes[0].clear();
  cam.m_Planes[3].clear();
}

}  // namespace
