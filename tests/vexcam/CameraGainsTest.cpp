#include <algorithm>
#include <string>
#include <vector>

#include "CameraFixture.h"

namespace {

using plat::board::LogEntry;
using Reg = std::pair<int, int>;  // camera register, value

class CameraGains : public CameraTest {
 protected:
  // Camera register writes, without the board's own command words (register 11 = 0 shares
  // its word with power-on and is left out too).
  static std::vector<Reg> Registers() {
    static const uint32_t kBoardWords[] = {0xB00, 0xB10, 0xB20, 0x1200, 0x1300, 0x13FF, 0x1400};
    std::vector<Reg> out;
    for (const auto& e : plat::board::Log())
      if (e.kind == LogEntry::Kind::Write && e.port == kBase &&
          std::find(std::begin(kBoardWords), std::end(kBoardWords), e.value) == std::end(kBoardWords))
        out.emplace_back(int(e.value >> 8), int(e.value & 0xFF));
    return out;
  }
  static std::vector<uint32_t> Words() { return Writes(0); }
};

// Exposure registers of model 0xA: the value is taken modulo 2048; mode 1 counts lines
// (register 16 + 128), mode 2 frame units (+ 64), modes 0 and 3 clear register 16.
TEST_F(CameraGains, ExposureWords) {
  struct Case {
    LONG exposure, mode;
    std::vector<Reg> regs;
    LONG exposureLong;
    uint32_t board;  // exposure-mode word ahead of the registers
  };
  const Case cases[] = {
      {2100, 1, {{15, 160}, {16, 129}}, 0, 0x1300},
      {1067, 1, {{15, 88}, {16, 161}}, 0, 0x1300},
      {12, 2, {{15, 96}, {16, 64}}, 0, 0x1300},
      {40, 2, {{15, 64}, {16, 65}}, 1, 0x13FF},
      {5, 0, {{16, 0}}, 1, 0x13FF},
      {5, 3, {{16, 0}}, 1, 0x13FF},
  };
  CCameraCtrl& cam = Checked(217);
  for (const auto& c : cases) {
    plat::board::ClearLog();
    cam.SetExposure(c.exposure, c.mode);
    EXPECT_EQ(Registers(), c.regs) << c.exposure << " mode " << c.mode;
    EXPECT_EQ(settings.ExposureLong, c.exposureLong) << c.exposure << " mode " << c.mode;
    ASSERT_FALSE(Words().empty());
    EXPECT_EQ(Words().front(), c.board);
  }
}

// Older boards have no exposure-mode word; other models take no exposure registers.
TEST_F(CameraGains, ExposureWithoutModeWordOrModel) {
  CCameraCtrl& cam = Checked(216);
  cam.SetExposure(2100, 1);
  EXPECT_EQ(Words(), (std::vector<uint32_t>{0xFA0, 0x1081, 0x1200, 0x1200}));
  plat::board::ClearLog();
  settings.CameraVer = 0x86F;
  cam.SetExposure(2100, 1);
  EXPECT_TRUE(Words().empty());
}

TEST_F(CameraGains, ShutterStepCodes) {
  struct Case {
    LONG code, expParam;
    std::vector<Reg> regs;
    LONG storedParam;
  };
  const Case cases[] = {
      {0, 7, {{15, 160}, {16, 143}}, 7},     // 500 lines
      {9, 7, {{15, 8}, {16, 128}}, 7},       // 1 line
      {-6, 7, {{15, 192}, {16, 64}}, 7},     // 24 units
      {-7, 7, {{15, 56}, {16, 64}}, 7},      // ExpParam units
      {10, 0, {{15, 160}, {16, 143}}, 500},  // ExpParam 0 becomes 500
      {10, 33, {{15, 8}, {16, 129}}, 33},
      {11, 7, {{15, 0}, {16, 128}}, 7},      // dark frame
      {14, 7, {{15, 112}, {16, 64}}, 7},     // other codes: units
  };
  CCameraCtrl& cam = Checked(216);
  for (const auto& c : cases) {
    plat::board::ClearLog();
    settings.ExpParam = c.expParam;
    cam.SetShutterStep(c.code);
    EXPECT_EQ(Registers(), c.regs) << c.code;
    EXPECT_EQ(settings.ExpParam, c.storedParam) << c.code;
  }
}

// CDS gains: model 0xA sends 215 - 2/3 of each gain; model 8 sends the gain bytes twice,
// in its own channel order.
TEST_F(CameraGains, CdsGainBytes) {
  const LONG gains[4] = {30, 10, 100, 400};
  CCameraCtrl& cam = Checked(216);
  cam.SetCDSGain(gains);
  EXPECT_EQ(Registers(), (std::vector<Reg>{{2, 195}, {3, 209}, {4, 149}, {5, 205}}));
  camera.reset();

  CCameraCtrl& cam8 = Checked(216);
  settings.CameraVer = 0x86F;
  ASSERT_EQ(cam8.CheckCameraPower(), TRUE);  // reconfigures for model 8
  plat::board::ClearLog();
  const LONG small[4] = {1, 2, 3, 4};
  cam8.SetCDSGain(small);
  EXPECT_EQ(Registers(), (std::vector<Reg>{{2, 4}, {2, 4}, {3, 2}, {3, 2}, {4, 3}, {4, 3}, {5, 1}, {5, 1}}));
}

TEST_F(CameraGains, AgcOrderBlackLevelsAndAdTop) {
  CCameraCtrl& cam = Checked(216);
  const LONG agc[4] = {1, 2, 3, 4};
  cam.SetAGCGain(agc);
  cam.SetAGCGain(nullptr);
  EXPECT_EQ(Registers(), (std::vector<Reg>{{7, 1}, {6, 2}, {9, 3}, {8, 4}, {7, 0}, {6, 0}, {9, 0}, {8, 0}}));
  plat::board::ClearLog();
  const LONG black[4] = {120, 121, 122, 123};
  cam.SetBlackLevel(black);
  cam.SetAdTop(140);
  EXPECT_EQ(Registers(), (std::vector<Reg>{{6, 120}, {7, 121}, {8, 122}, {9, 123}, {17, 140}}));
  // Models other than 0xA: black levels 20-23 in the order 21, 20, 22, 23; A/D top 24.
  plat::board::ClearLog();
  settings.CameraVer = 0x86F;
  ASSERT_EQ(cam.CheckCameraPower(), TRUE);
  EXPECT_EQ(settings.AdTop, 135);
  plat::board::ClearLog();
  cam.SetBlackLevel(black);
  cam.SetAdTop(140);
  EXPECT_EQ(Registers(), (std::vector<Reg>{{21, 121}, {20, 120}, {22, 122}, {23, 123}, {24, 140}}));
}

// The EEPROM strobe of the cameras other than model 5; model 5 writes its exposure byte
// sequence once, whatever Command_Repeat says, and gets Command_Repeat back.
TEST_F(CameraGains, EepromSequences) {
  CCameraCtrl& cam = Checked(216);
  cam.WriteCDSParamToEEPROM(0);
  EXPECT_EQ(Registers(), (std::vector<Reg>{{12, 0}, {12, 16}, {12, 0}, {12, 32}, {12, 0}, {12, 64}, {12, 0}}));

  plat::board::ClearLog();
  settings.CameraVer = 0x56F;
  settings.ExpMode = 3;
  settings.Command_Repeat = 2;
  cam.WriteCDSParamToEEPROM(0x10);
  EXPECT_EQ(Registers(), (std::vector<Reg>{{11, 2}, {11, 2}, {12, 3}, {12, 131}, {12, 3}, {12, 19}, {12, 3}}));
  EXPECT_EQ(settings.Command_Repeat, 2);
  plat::board::ClearLog();
  cam.WriteCDSParamToEEPROM(0x0F);  // no parameter bits: nothing
  EXPECT_TRUE(Registers().empty());
}

// A send that fails ends the sequence; in the middle of the model 5 sequence it still
// gives Command_Repeat back.
TEST_F(CameraGains, FailedSendEndsTheSequence) {
  CCameraCtrl& cam = Checked(225);  // no recovery on this board
  settings.CameraVer = 0x56F;
  settings.Command_Repeat = 3;
  plat::board::FaultSet f;
  f.hangAfter = 4;  // register 11 (three times) and the first of register 12 arrive
  plat::board::SetFaults(f);
  cam.WriteCDSParamToEEPROM(0x10);
  EXPECT_EQ(settings.Camera_Status, -13);
  EXPECT_EQ(settings.Command_Repeat, 3);
  EXPECT_EQ(Registers(), (std::vector<Reg>{{11, 2}, {11, 2}, {11, 2}, {12, 1}}));
}

// The readout window: start line plus the model's line offset, through the board register
// file on 217 and later, camera registers 13 and 14 before.
TEST_F(CameraGains, WindowStartLine) {
  CCameraCtrl& cam = Checked(216);  // line offset 6
  settings.Mode |= 0x80;
  cam.WinSet(0, 100, 300, 400);
  EXPECT_EQ(Registers(), (std::vector<Reg>{{13, 50}, {14, 1}, {11, 1}}));
  EXPECT_EQ(cam.m_WindowTop, 300);
  EXPECT_TRUE(cam.m_WindowChanged);
  camera.reset();

  CCameraCtrl& cam217 = Checked(217);  // line offset 26
  cam217.WinSet(0, 100, 300, 400);
  std::vector<uint32_t> file;
  for (const auto& e : plat::board::Log())
    if (e.kind == LogEntry::Kind::Write && e.port == kBase + 24) file.push_back(e.value);
  EXPECT_EQ(file, (std::vector<uint32_t>{0x346, 0x201}));
  EXPECT_TRUE(Registers().empty());
}

}  // namespace
