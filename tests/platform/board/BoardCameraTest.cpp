// The simulated camera: power and readiness, command decode and echo, timing phases on
// the virtual clock, exposure and gain, the actuator, and the scenes.
#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "BoardFixture.h"
#include "TestEnv.h"
#include "board/Camera.h"
#include "board/Picture.h"
#include "board/PictureScene.h"
#include "conio.h"

using plat::board::Camera;
using plat::board::GeometryFor;
using plat::board::PatternScene;

namespace {

constexpr double kLine217 = 4.0 * 1790 / 46.0;  // line period in microseconds
constexpr double kLine216 = 4.0 * 1616 / 40.0;

void AdvanceLines(double lines, double period = kLine217) { plat::clock::Advance(int64_t(lines * period)); }

TEST_F(BoardTest, CameraIsReadyWithinASecondOfPowerOn) {
  Configure({{"BOARD_POWERED", "0"}});
  AdvanceLines(50);
  EXPECT_EQ(Status(), 1u);  // busy, no line counter
  Command(0xB00);
  plat::clock::Advance(500000);
  EXPECT_EQ(Status() & 1, 1u);
  plat::clock::Advance(500000);
  uint32_t s = Status();
  EXPECT_EQ(s & 1, 0u);
  AdvanceLines(20);
  EXPECT_NE(Status() >> 16, s >> 16);  // the line counter runs
  Command(0xB10);
  EXPECT_EQ(Status(), 1u);
}

TEST_F(BoardTest, ResetDropsTheCameraUntilPowerOn) {
  Command(0xB20);
  EXPECT_EQ(Status() & 1, 1u);
  Command(0xB00);
  plat::clock::Advance(1000000);
  EXPECT_EQ(Status() & 1, 0u);
}

TEST_F(BoardTest, CommandsAreBusyBrieflyAndEchoed) {
  WaitNotBusy();
  Command(0x0F20);
  EXPECT_EQ(In(kBase) & 1, 1u);
  EXPECT_EQ(In(kBase + 12) & 1, 1u);
  WaitNotBusy();
  uint32_t echo = In(kBase + 12);
  EXPECT_EQ((echo >> 16) & 0x1FFF, 0x0F20u);
  EXPECT_EQ(echo & 0xC0000001u, 0xC0000000u);  // done, not busy
  Command(0x13FF);  // board command words are echoed as well
  WaitNotBusy();
  EXPECT_EQ((In(kBase + 12) >> 16) & 0x1FFF, 0x13FFu);
}

TEST_F(BoardTest, TransferRegisterByRevision) {
  struct Case {
    const char* revision;
    uint32_t value;
  } cases[] = {{"216", 646u << 16}, {"215", 0}, {"210", 0}};
  for (const Case& c : cases) {
    Configure({{"BOARD_REVISION", c.revision}});
    EXPECT_EQ(In(kBase + 12), c.value) << c.revision;
  }
}

TEST_F(BoardTest, RegisterDecodeOfExposureAndActuator) {
  Camera camera(GeometryFor(0xA, 217), std::make_shared<PatternScene>(), 1, 0);
  struct Exposure {
    int r15, r16;
    double lines;
  } exposures[] = {
      {168, 143, 250.5},          // the power check's setting: mode 1, 15 * 32 + 21 rows
      {(52 % 32) * 8, 129, 26},   // mode 1, 52 rows: two to a line
      {(1068 % 32) * 8, 128 + 1068 / 32, 534},  // mode 1, 1068 rows: one frame period, as mode 2's 1
      {8, 64, 534},               // mode 2, one frame period
      {3 * 8, 64, 3 * 534},       // mode 2, three frame periods
      {0, 0, 0.5},                // modes 0 and 3: the shortest, one row
  };
  for (const auto& e : exposures) {
    camera.WriteRegister(15, uint8_t(e.r15));
    camera.WriteRegister(16, uint8_t(e.r16));
    EXPECT_EQ(camera.ExposureLines(), e.lines) << e.r15 << "/" << e.r16;
  }
  // Register 10: 0x80 + (code / 7) * 8 + code % 7; codes 7r + c (r, c < 4) are quarter
  // cells, the others sixths; 0 selects the raw targets of registers 0 and 1.
  struct Position {
    int code, x, y;
  } positions[] = {{0, 0, 0}, {2, 60, 0}, {14, 0, 60}, {16, 60, 60}, {24, 90, 90},
                   {6, 20, 0}, {41, 60, 60}, {48, 100, 100}, {37, 20, 40}};
  for (const auto& p : positions) {
    camera.WriteRegister(10, uint8_t(0x80 + (p.code / 7) * 8 + p.code % 7));
    int x = -1, y = -1;
    camera.ActuatorOffset(&x, &y);
    EXPECT_EQ(x, p.x) << p.code;
    EXPECT_EQ(y, p.y) << p.code;
  }
  camera.WriteRegister(10, 0);
  camera.WriteRegister(0, 200);
  camera.WriteRegister(1, 7);
  int x = 0, y = 0;
  camera.ActuatorOffset(&x, &y);
  EXPECT_EQ(x, 200);
  EXPECT_EQ(y, 7);
}

TEST(BoardEeprom, KeepsTheGainsOverAPowerCycle) {
  Camera camera(GeometryFor(0xA, 217), std::make_shared<PatternScene>(), 1, 0);
  camera.WriteRegister(2, 180);
  camera.WriteRegister(9, 140);
  camera.Reset();  // power-off without storing: the settings are gone
  EXPECT_EQ(camera.Register(2), 215);
  EXPECT_EQ(camera.Register(9), 128);

  camera.WriteRegister(2, 180);
  camera.WriteRegister(9, 140);
  for (int v : {0, 16, 0, 32, 0, 64}) camera.WriteRegister(12, uint8_t(v));
  camera.Reset();  // the sequence is not complete yet
  EXPECT_EQ(camera.Register(2), 215);
  camera.WriteRegister(2, 180);
  camera.WriteRegister(9, 140);
  for (int v : {0, 16, 0, 32, 0, 64, 0}) camera.WriteRegister(12, uint8_t(v));
  camera.WriteRegister(2, 100);  // changed after storing: the stored value comes back
  camera.Reset();
  EXPECT_EQ(camera.Register(2), 180);
  EXPECT_EQ(camera.Register(9), 140);
}

TEST_F(BoardTest, PortBoardAnswersOnItsPorts) {
  Configure({{"PLATFORM", "9x"}, {"BOARD_PORT_BOARDS", "2"}});
  const USHORT status = 0x180 + 32, base = status + 4;  // list value 32
  EXPECT_EQ(_inp(status) & 9, 8);  // ready
  _outp(status + 1, 13);            // register 13: window start, picture row 8 (9 rows above it)
  _outp(status + 2, 9 + 8);
  EXPECT_EQ(_inp(status) & 1, 1);   // busy with the command
  plat::clock::Advance(100);
  _outp(status + 10, 0);            // start a frame
  _outp(status + 3, 0);             // ready for it: re-arm
  auto log = plat::board::Log();
  ASSERT_GE(log.size(), 4u);
  EXPECT_EQ(log[0].board, -3);      // port board of slot 2
  // 16-bit reads of the data port walk the line with its lead words: the dropped line
  // first (646 words), then two lead words and the cells.
  for (int i = 0; i < 2 * 646 + 4; ++i) _inpw(base);
  uint32_t low = _inpw(base), high = _inpw(base);
  EXPECT_EQ(low | (high << 16), PatternScene::PatternCell(4, 0));
}

TEST_F(BoardTest, PatternCellsHaveExactBytes) {
  EXPECT_EQ(PatternScene::PatternCell(0, 0), 0u);
  EXPECT_EQ(PatternScene::PatternCell(3, 5), 0x00000503u);
  EXPECT_EQ(PatternScene::PatternCell(300, 600), 0x0009582Cu);  // high bits in byte 2
  EXPECT_EQ(PatternScene::PatternCell(1, 2, 60, 30), 0x36000201u);
}

TEST_F(BoardTest, ActuatorPositionShiftsTheExposedFrame) {
  Register(10, 0x80 + 2);  // code 2: half a cell to the right
  Rearm();
  std::vector<uint8_t> line;
  OVERLAPPED o;
  ReadLine(line, o);
  ReadLine(line, o);
  EXPECT_EQ(Word(line, 7), PatternScene::PatternCell(0, 7, 60, 0));
  auto log = plat::board::Log();
  bool logged = false;
  for (auto& e : log)
    if (e.kind == plat::board::LogEntry::Kind::Actuator && e.x == 60 && e.y == 0) logged = true;
  EXPECT_TRUE(logged);
}

TEST_F(BoardTest, AFrameShowsWhereTheActuatorStoodWhenItsExposureBegan) {
  Register(10, 0x80 + 2);        // position (1/2, 0)
  Out(kBase + 24, 1 << 8);       // exposure begins here
  Register(10, 0x80 + 8 + 1);    // moved on to (1/4, 1/4) for the next frame
  while (!(Status() & 2)) {
  }
  Rearm();
  std::vector<uint8_t> line;
  OVERLAPPED o;
  ReadLine(line, o);
  ReadLine(line, o);
  EXPECT_EQ(Word(line, 3) >> 24, 0x06u);
  // The next frame, begun by the re-arm, is exposed at the new place.
  while (!(Status() & 2)) {
  }
  Rearm();
  ReadLine(line, o);
  ReadLine(line, o);
  EXPECT_EQ(Word(line, 3) >> 24, 0x33u);
}

TEST_F(BoardTest, PortAccessesCostBusTime) {
  // The library times rounds of port reads to size its polling budgets; on the virtual
  // clock every access moves time on by the configured cost.
  Configure({{"BOARD_PORT_MICROS", "5"}});
  int64_t before = plat::clock::NowMicros();
  for (int i = 0; i < 1000; ++i) In(0xCFC);
  int64_t spent = plat::clock::NowMicros() - before;
  EXPECT_GE(spent, 5000);
  EXPECT_LT(spent, 7500);
}

TEST_F(BoardTest, LineCounterAndSyncPhaseFollowTheFramePeriod) {
  struct Case {
    const char* revision;
    int linesPerFrame;
    double period;
  } cases[] = {{"217", 534, kLine217}, {"216", 522, kLine216}};
  for (const Case& c : cases) {
    Configure({{"BOARD_REVISION", c.revision}});
    int lastCounter = -1, frames = 0, syncLines = 0;
    for (int i = 0; i < 2 * c.linesPerFrame; ++i) {
      AdvanceLines(1, c.period);
      uint32_t s = Status();
      int counter = int(s >> 16);
      ASSERT_LT(counter, c.linesPerFrame);
      if (counter < lastCounter) ++frames;
      EXPECT_EQ((s & 4) != 0, counter >= c.linesPerFrame - 4) << c.revision << " line " << counter;
      if (s & 4) ++syncLines;
      lastCounter = counter;
    }
    EXPECT_EQ(frames, 2) << c.revision;  // two frame periods, two wraps
    EXPECT_NEAR(syncLines, 8, 1) << c.revision;
  }
}

TEST_F(BoardTest, StatusReadsTheSameTwiceWithinALine) {
  AdvanceLines(10.5);
  EXPECT_EQ(In(kBase), In(kBase));
}

TEST_F(BoardTest, FrameIsReadyAfterTheExposureWhenReadoutReachesTheWindow) {
  // Exposure of 100 lines in mode 1, window start pair 13; start through board register 1.
  Register(15, (100 % 32) * 8);
  Register(16, 100 / 32 + 128);
  int64_t start = plat::clock::NowMicros();
  Out(kBase + 24, 1 << 8);
  EXPECT_EQ(Status() & 2, 0u);
  int polls = 0;
  while (!(Status() & 2) && polls < 100000) ++polls;
  int64_t waited = plat::clock::NowMicros() - start;
  EXPECT_EQ(Counter(), 13);
  EXPECT_GE(waited, int64_t(100 * kLine217));
  EXPECT_LE(waited, int64_t((100 + 534 + 2) * kLine217));
  // Re-arming takes the frame and starts the next exposure: not ready again at once.
  Rearm();
  EXPECT_EQ(Status() & 2, 0u);
}

TEST_F(BoardTest, OlderBoardsStartFramesAndSetTheWindowThroughCameraRegisters) {
  Configure({{"BOARD_REVISION", "216"}});
  Register(13, 6 + 40);  // window start row 46: pair 20 of the picture area
  Register(14, 0);
  Register(11, 0x80);
  auto log = plat::board::Log();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back().kind, plat::board::LogEntry::Kind::FrameStart);
  Rearm();
  std::vector<uint8_t> line;
  OVERLAPPED o;
  ReadLine(line, o);
  ReadLine(line, o);
  EXPECT_EQ(Word(line, 0), PatternScene::PatternCell(20, 0));
  // Below revision 211 status bit 3 reports a ready camera.
  Configure({{"BOARD_REVISION", "210"}});
  EXPECT_EQ(Status() & 9, 8u);
}

// A flat grey scene without noise: exact output levels.
class FlatScene : public ::testing::Test {
 protected:
  FlatScene() {
    plat::board::Picture p;
    p.Resize(1280, 1024);
    std::fill(p.red.begin(), p.red.end(), 0.5f);
    std::fill(p.green.begin(), p.green.end(), 0.5f);
    std::fill(p.blue.begin(), p.blue.end(), 0.5f);
    camera_ = std::make_unique<Camera>(GeometryFor(0xA, 217), std::make_shared<plat::board::PictureScene>(p, 0.0), 1, 0);
    camera_->WriteRegister(17, 132);  // A/D top at its reference
  }
  uint8_t Byte(int b) {
    camera_->Latch(camera_->CurrentExposure(0), 0);
    return uint8_t(camera_->Frame()[640 * 100 + 100] >> (8 * b));
  }
  void Exposure(int rows) {
    camera_->WriteRegister(15, uint8_t((rows % 32) * 8));
    camera_->WriteRegister(16, uint8_t(rows / 32 + 128));
  }
  std::unique_ptr<Camera> camera_;
};

TEST_F(BoardTest, AFrameTakenBeforeItsExposureEndedIsDarker) {
  Configure({{"BOARD_SCENE", "chart"}, {"BOARD_NOISE", "0"}});
  Register(16, 1024 / 32 + 128);
  auto whiteBar = [this] {
    std::vector<uint8_t> line;
    OVERLAPPED o;
    for (int k = 0; k < 41; ++k) ReadLine(line, o);
    return Word(line, 20) & 0xFF;
  };
  Out(kBase + 24, 1 << 8);
  while (!(Status() & 2)) {
  }
  Rearm();
  uint32_t full = whiteBar();
  EXPECT_EQ(Status() & 0x10, 0u);
  AdvanceLines(51);  // a tenth of the exposure
  Rearm();
  uint32_t early = whiteBar();
  EXPECT_LT(early, full / 4);
  EXPECT_GT(full, 180u);
  // The status says so until a frame exposed in full is taken.
  EXPECT_EQ(Status() & 0x10, 0x10u);
  while (!(Status() & 2)) {
  }
  Rearm();
  EXPECT_EQ(Status() & 0x10, 0u);
  EXPECT_EQ(whiteBar(), full);
}

// A preview start takes the next frame of the sensor, which exposes one frame after the
// other; any other start, and a preview of a long exposure, waits for an exposure begun at
// the start. Each starts just after a frame was handed over.
TEST_F(BoardTest, APreviewStartTakesTheSensorsNextFrame) {
  Configure({{"BOARD_SCENE", "chart"}, {"BOARD_NOISE", "0"}});
  struct Case {
    int start, r15, r16;
    int periods;  // frame periods from the start to the frame
  } cases[] = {
      {0x10, (1068 % 32) * 8, 128 + 1068 / 32, 1},  // preview, 1/12 s: the next frame
      {0x00, (1068 % 32) * 8, 128 + 1068 / 32, 2},  // a still's start: a whole exposure first
      {0x10, 2 * 8, 64, 3},                          // preview of two frame periods
  };
  const int linesPerFrame = 534;
  for (const Case& c : cases) {
    Register(15, c.r15);
    Register(16, c.r16);
    Out(kBase + 24, 1 << 8 | c.start);
    for (int i = 0; i < 4 * linesPerFrame && !(Status() & 2); ++i) AdvanceLines(1);
    Rearm();  // hands this frame over and starts the next one just past the window's top
    const int64_t start = plat::clock::NowMicros();
    for (int i = 0; i < 4 * linesPerFrame && !(Status() & 2); ++i) AdvanceLines(1);
    const double periods = double(plat::clock::NowMicros() - start) / (linesPerFrame * kLine217);
    EXPECT_NEAR(periods, c.periods, 0.05) << c.start << " " << c.r16;
    Rearm();
    EXPECT_EQ(Status() & 0x10, 0u) << "the frame counts as exposed in full";
  }
}

// A camera that loses part of its exposure (the board's fault) says so as well.
TEST_F(BoardTest, AFrameThatLostItsExposureIsReported) {
  Configure({{"BOARD_SCENE", "chart"}, {"BOARD_NOISE", "0"}});
  Register(16, 1024 / 32 + 128);
  plat::board::FaultSet f;
  f.shortFrames = 1;
  plat::board::SetFaults(f);
  Out(kBase + 24, 1 << 8);
  while (!(Status() & 2)) {
  }
  Rearm();
  EXPECT_EQ(Status() & 0x10, 0x10u);
  while (!(Status() & 2)) {
  }
  Rearm();
  EXPECT_EQ(Status() & 0x10, 0u) << "one frame only";
}

TEST_F(BoardTest, OlderBoardsDeliverBlackFramesUntilALongExposureIsThrough) {
  Configure({{"BOARD_REVISION", "216"}, {"BOARD_SCENE", "chart"}, {"BOARD_NOISE", "0"}});
  Register(15, 8 * 5);
  Register(16, 64);  // mode 2: five frame periods
  int64_t exposureSet = plat::clock::NowMicros();
  auto frame = [this] {
    Register(11, 0x80);
    int64_t started = plat::clock::NowMicros();
    while (!(Status() & 2)) {
    }
    EXPECT_LT(plat::clock::NowMicros() - started, int64_t(2 * 522 * kLine216));  // a frame each period
    Rearm();
    std::vector<uint8_t> line;
    OVERLAPPED o;
    for (int k = 0; k < 41; ++k) ReadLine(line, o);
    return Word(line, 20) & 0xFF;  // the white bar
  };
  EXPECT_LT(frame(), 30u);
  EXPECT_LT(frame(), 30u);
  while (plat::clock::NowMicros() - exposureSet < int64_t(5 * 522 * kLine216)) AdvanceLines(50, kLine216);
  EXPECT_EQ(frame(), 255u);  // five frame periods of light: saturated
}

TEST_F(FlatScene, BrightnessFollowsExposureSensitivityGainAndBlackLevel) {
  Exposure(630);  // half the reference: a 0.5 reflector gives a quarter of the range
  EXPECT_EQ(Byte(0), 76);  // 12 + 255 / 4
  EXPECT_EQ(Byte(3), 76);
  EXPECT_EQ(Byte(1), 52);  // blue answers least
  EXPECT_EQ(Byte(2), 61);
  Exposure(315);
  EXPECT_EQ(Byte(0), 44);
  // More CDS gain on the plane of the blue byte (register 5), a higher black level on
  // the plane of the upper green (register 8).
  camera_->WriteRegister(5, 215 - 64 * 2 / 3);
  EXPECT_GT(Byte(1), 33);
  camera_->WriteRegister(8, 255);
  EXPECT_EQ(Byte(0), 44 + 12);
  EXPECT_EQ(camera_->DarkWord() & 0xFF, 24u);
}

TEST_F(BoardTest, NoiseIsSeededAndMotionMovesTheScene) {
  auto frameOf = [](const std::string& seed, const std::string& motion, double seconds) {
    plat::config::Set("BOARD_SEED", seed);
    plat::config::Set("BOARD_MOTION", motion);
    plat::config::Set("BOARD_NOISE", "2");
    plat::config::Set("BOARD_SCENE", "chart");
    auto scene = std::make_shared<plat::board::PictureScene>(plat::board::MakeTestChart(1280, 1024), 2.0);
    Camera camera(GeometryFor(0xA, 217), scene, uint32_t(std::stoi(seed)), std::stod(motion));
    camera.Latch(camera.CurrentExposure(0), seconds);
    return camera.Frame();
  };
  auto a = frameOf("7", "0", 0), b = frameOf("7", "0", 0), c = frameOf("8", "0", 0);
  EXPECT_EQ(a, b);
  EXPECT_NE(a, c);
  auto still = frameOf("7", "40", 0), moved = frameOf("7", "40", 1.0);
  EXPECT_NE(still, moved);
  for (auto k : {"BOARD_SEED", "BOARD_MOTION", "BOARD_NOISE", "BOARD_SCENE"}) plat::config::Set(k, std::nullopt);
}

TEST_F(BoardTest, TestChartShowsBarsAtTheDefaultExposure) {
  Configure({{"BOARD_SCENE", "chart"}, {"BOARD_NOISE", "0"}});
  Register(15, 0);
  Register(16, 1024 / 32 + 128);
  Rearm();
  std::vector<uint8_t> line;
  OVERLAPPED o;
  for (int k = 0; k < 41; ++k) ReadLine(line, o);  // picture line 40, inside the bars
  uint32_t white = Word(line, 20), black = Word(line, 620);
  EXPECT_GT(white & 0xFF, 180u);
  EXPECT_LT(white & 0xFF, 255u);  // not clipped
  EXPECT_LT(black & 0xFF, 30u);
  uint32_t blueBar = Word(line, 520);  // seventh bar: blue
  EXPECT_GT((blueBar >> 8) & 0xFF, (blueBar >> 16) & 0xFF);
}

// The chart's white bar (red, green, blue) in the first lines of a frame exposed for
// `lines` line periods at unity gain, with stand-in settings `keys`.
class Lamp : public BoardTest {
 protected:
  using Keys = std::vector<std::pair<std::string, std::string>>;
  std::array<int, 3> WhiteBar(const Keys& keys, int lines = 512) {
    // The lamp of an earlier case goes first.
    Keys all = {{"BOARD_LIGHT", ""}, {"BOARD_CAST", ""}, {"BOARD_SCENE", "chart"}, {"BOARD_NOISE", "0"}};
    all.insert(all.end(), keys.begin(), keys.end());
    Configure(all);
    Register(15, (lines % 32) * 8);
    Register(16, lines / 32 + 128);
    Rearm();
    std::vector<uint8_t> line;
    OVERLAPPED o;
    for (int k = 0; k < 41; ++k) ReadLine(line, o);
    const uint32_t w = Word(line, 20);
    return {int((w >> 16) & 0xFF), int(w & 0xFF), int((w >> 8) & 0xFF)};
  }
};

// How much of the plain lamp's signal (above the black level of 12) each colour keeps.
TEST_F(Lamp, LightAndCastScaleTheSignalOfEachColour) {
  const std::array<int, 3> plain = WhiteBar({});
  const struct {
    Keys keys;
    std::array<double, 3> factor;  // red, green, blue
  } cases[] = {
      {{{"BOARD_LIGHT", "2"}}, {2, 2, 2}},
      {{{"BOARD_LIGHT", "0.25"}}, {0.25, 0.25, 0.25}},
      {{{"BOARD_CAST", "1.5,1,0.5"}}, {1.5, 1, 0.5}},  // a warm lamp
      {{{"BOARD_LIGHT", "2"}, {"BOARD_CAST", "1, 0.5 ,1.5"}}, {2, 1, 3}},
      {{{"BOARD_LIGHT", "0"}}, {0, 0, 0}},
  };
  for (const auto& c : cases) {
    const std::array<int, 3> bar = WhiteBar(c.keys);
    for (int i = 0; i < 3; ++i) {
      EXPECT_NEAR(bar[i] - 12, (plain[i] - 12) * c.factor[i], 1.0) << c.keys.front().second << " colour " << i;
      EXPECT_LT(bar[i], 255);
    }
  }
}

// A setting that does not read leaves the lamp as it is, and says so; one out of range is
// held at the nearest bound (light 0 to 1000, each cast factor 0 to 4).
TEST_F(Lamp, SettingsThatDoNotReadOrGoTooFarAreHeld) {
  const struct {
    Keys given, same;
    int lines;
    bool noted;
  } cases[] = {
      {{{"BOARD_LIGHT", "bright"}}, {}, 512, true},
      {{{"BOARD_LIGHT", "2x"}}, {}, 512, true},
      {{{"BOARD_LIGHT", "nan"}}, {}, 512, true},
      {{{"BOARD_CAST", "1,2"}}, {}, 512, true},
      {{{"BOARD_CAST", "1,2,1,1"}}, {}, 512, true},
      {{{"BOARD_CAST", "1,,2"}}, {}, 512, true},
      {{{"BOARD_CAST", "warm"}}, {}, 512, true},
      {{{"BOARD_LIGHT", "-1"}}, {{"BOARD_LIGHT", "0"}}, 512, false},
      {{{"BOARD_LIGHT", "1e9"}}, {{"BOARD_LIGHT", "1000"}}, 1, false},  // one line: far from full
      {{{"BOARD_LIGHT", "0.1"}, {"BOARD_CAST", "9,1,-2"}}, {{"BOARD_LIGHT", "0.1"}, {"BOARD_CAST", "4,1,0"}}, 512,
       false},
  };
  for (const auto& c : cases) {
    const std::string what = c.given.back().first + "=" + c.given.back().second;
    testing::internal::CaptureStderr();
    const std::array<int, 3> given = WhiteBar(c.given, c.lines);
    const std::string note = testing::internal::GetCapturedStderr();
    EXPECT_EQ(given, WhiteBar(c.same, c.lines)) << what;
    EXPECT_EQ(note.find("LUMORA_" + what) != std::string::npos, c.noted) << what << ": " << note;
    for (int v : given) EXPECT_LT(v, 255) << what;
  }
}

TEST(BoardPicture, LoadsAPngAndFitsIt) {
  std::string error;
  auto p = plat::board::LoadPictureFile(testenv::DataPath("board/quad.png"), 4, 4, &error);
  ASSERT_EQ(p.width, 4) << error;
  EXPECT_FLOAT_EQ(p.red[p.Index(0, 0)], 1.0f);
  EXPECT_FLOAT_EQ(p.green[p.Index(3, 0)], 1.0f);
  EXPECT_FLOAT_EQ(p.blue[p.Index(0, 3)], 1.0f);
  EXPECT_FLOAT_EQ(p.red[p.Index(3, 3)], 1.0f);
  EXPECT_FLOAT_EQ(p.blue[p.Index(3, 3)], 1.0f);
}

TEST(BoardPicture, LoadsAJpeg) {
  std::string error;
  auto p = plat::board::LoadPictureFile(testenv::DataPath("board/halves.jpg"), 8, 8, &error);
  ASSERT_EQ(p.width, 8) << error;
  EXPECT_GT(p.red[p.Index(1, 4)], 0.8f);  // red left half, blue right half
  EXPECT_LT(p.blue[p.Index(1, 4)], 0.1f);
  EXPECT_GT(p.blue[p.Index(6, 4)], 0.8f);
  EXPECT_LT(p.red[p.Index(6, 4)], 0.1f);
}

TEST(BoardPicture, DamagedFilesAreRefusedWithAReason) {
  for (const char* name : {"board/truncated.png", "board/notajpeg.jpg", "board/text.png", "board/missing.png"}) {
    std::string error;
    auto p = plat::board::LoadPictureFile(testenv::DataPath(name), 64, 64, &error);
    EXPECT_EQ(p.width, 0) << name;
    EXPECT_FALSE(error.empty()) << name;
  }
}

TEST_F(BoardTest, AnUnusablePictureFileFallsBackToTheChart) {
  Configure({{"BOARD_SCENE", "chart"}, {"BOARD_SCENE_FILE", testenv::DataPath("board/text.png")}, {"BOARD_NOISE", "0"}});
  Register(16, 1024 / 32 + 128);
  Rearm();
  std::vector<uint8_t> line;
  OVERLAPPED o;
  for (int k = 0; k < 41; ++k) ReadLine(line, o);
  EXPECT_GT(Word(line, 20) & 0xFF, 180u);  // the chart's white bar
}

}  // namespace

// What tests use to move the document under the camera: another scene, then the same
// scene two pixels (one cell) further along.
TEST(BoardSceneSteering, ShowsAnotherSceneAndMovesIt) {
  Camera camera(GeometryFor(0xA, 217), std::make_shared<plat::board::PatternScene>(), 1, 0);
  camera.Latch(camera.CurrentExposure(0), 0);
  const std::vector<uint32_t> pattern = camera.Frame();
  camera.ShowScene(std::make_shared<plat::board::PictureScene>(plat::board::MakeTestChart(1280, 1024), 0.0));
  camera.Latch(camera.CurrentExposure(0), 0);
  const std::vector<uint32_t> chart = camera.Frame();
  EXPECT_NE(chart, pattern);
  camera.MoveScene(2.0);
  camera.Latch(camera.CurrentExposure(0), 0);
  const std::vector<uint32_t>& moved = camera.Frame();
  for (size_t line : {100u, 300u, 500u})
    for (size_t c = 10; c < 600; c += 37) ASSERT_EQ(moved[line * 640 + c], chart[line * 640 + c + 1]) << line << "," << c;
}

// The board reads a frame a row at a time and renders only the rows it reads; rows
// rendered in pieces are those of the whole frame, noise included.
TEST(BoardSceneSteering, RowsRenderedInPiecesAreThoseOfTheWholeFrame) {
  const plat::board::PictureScene scene(plat::board::MakeTestChart(1280, 1024), 2.0);
  const plat::board::SensorGeometry g = GeometryFor(0xA, 217);
  Camera camera(g, std::make_shared<PatternScene>(), 1, 0);
  plat::board::Exposure e = camera.CurrentExposure(0);
  e.noiseSeed = 7;
  std::vector<uint32_t> whole(size_t(g.activePairs) * g.cellsPerLine), pieces(whole.size());
  scene.Render(g, e, whole, 0, g.activePairs);
  for (auto [first, end] : {std::pair{300, 511}, {0, 1}, {511, 512}, {1, 300}}) scene.Render(g, e, pieces, first, end);
  EXPECT_EQ(pieces, whole);
}
