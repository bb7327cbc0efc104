#include <cstddef>

#include "BeepRecord.h"
#include "VexcamFixture.h"

namespace {

#define FIELD(name, offset) {#name, offsetof(tCameraSettings, name), offset}
struct Placement {
  const char* name;
  size_t actual, expected;
};

// The other deliverable finds every field at these bytes.
TEST(SettingsBlock, FieldsSitWhereTheProgramExpectsThem) {
  const Placement table[] = {
      FIELD(bAbort, 0), FIELD(bAutoLevel, 4), FIELD(bExtraCont, 8), FIELD(bEdgeApp, 12),
      FIELD(nAutoLevelHalf, 16), FIELD(EdgeAppLevelHalf, 32), FIELD(ContrastLevelHalf, 48),
      FIELD(ShiftPositions, 64), FIELD(Command_Repeat, 2080), FIELD(WBGain, 2088), FIELD(BB_Lev, 2136),
      FIELD(GainLv, 2184), FIELD(Black_Level, 2188), FIELD(AGCGain, 2204), FIELD(AdTop, 2220), FIELD(ExpMode, 2224),
      FIELD(ExpParam, 2228), FIELD(TranMode, 2236), FIELD(zoom, 2240), FIELD(InterPolationMethod, 2248),
      FIELD(Mode, 2252), FIELD(PCIaddress, 2256), FIELD(Progress, 2260), FIELD(Mosaic, 2264), FIELD(bSwitched, 2280),
      FIELD(Camera_Status, 2284), FIELD(CameraVer, 2288), FIELD(bPCI, 2292), FIELD(bISA, 2296),
      FIELD(TriggerEvent, 2308), FIELD(BoardRevision, 2316), FIELD(BoardNumber, 2324), FIELD(WBSeed, 2348),
      FIELD(WBAllLevels, 2352), FIELD(GammaMode, 2356), FIELD(ExposureLong, 2360), FIELD(Unused, 2364),
  };
  for (const auto& f : table) EXPECT_EQ(f.actual, f.expected) << f.name;
  EXPECT_EQ(sizeof(tCameraSettings), 2368u);
  EXPECT_EQ(sizeof(tCameraSettings{}.GainLv), 4u);  // LONG is 32-bit here as on Windows

  tCameraSettings s{};
  s.CameraRestarted() = 1;
  EXPECT_EQ(reinterpret_cast<const LONG*>(&s.ShiftPositions)[7], 1);
}

struct NormaliseCase {
  const char* what;
  LONG cameraVer, tranMode, gainLv, expMode, expParam, revision;
  double zoom;
  LONG wantTranMode, wantGainLv, wantExpMode, wantExpParam;
  double wantZoom;
  size_t beeps;
};

TEST(SettingsBlock, NormalisationClampsAndNeverRefuses) {
  const NormaliseCase cases[] = {
      {"odd zoom dropped", 0xA6F, 0, 0, 1, 100, 217, 0.75, 0, 0, 1, 100, 1.0, 0},
      {"odd zoom kept in mode 2", 0xA6F, 2, 0, 1, 100, 217, 0.75, 2, 0, 1, 100, 0.75, 0},
      {"half zoom kept", 0xA6F, 0, 0, 1, 100, 217, 0.5, 0, 0, 1, 100, 0.5, 0},
      {"gain level above 2 beeps", 0xA6F, 0, 5, 1, 100, 217, 1.0, 0, 2, 1, 100, 1.0, 3},
      {"gain level below 0", 0xA6F, 0, -1, 1, 100, 217, 1.0, 0, 0, 1, 100, 1.0, 0},
      {"sub-type 6 keeps mode 6", 0xA6F, 6, 0, 1, 100, 217, 1.0, 6, 0, 1, 100, 1.0, 0},
      {"sub-type 5 stops at 4", 0xA5F, 6, 0, 1, 100, 217, 1.0, 4, 0, 1, 100, 1.0, 0},
      {"negative mode", 0xA6F, -3, 0, 1, 100, 217, 1.0, 0, 0, 1, 100, 1.0, 0},
      {"lines limit below 217", 0xA6F, 0, 0, 1, 1100, 216, 1.0, 0, 0, 1, 1043, 1.0, 0},
      {"lines limit from 217", 0xA6F, 0, 0, 1, 1100, 217, 1.0, 0, 0, 1, 1067, 1.0, 0},
      {"long units limit", 0xA6F, 0, 0, 2, 5000, 217, 1.0, 0, 0, 2, 2047, 1.0, 0},
      {"exposure mode 0 on model A", 0xA6F, 0, 0, 0, 100, 217, 1.0, 0, 0, 1, 100, 1.0, 0},
      {"negative exposure", 0xA6F, 0, 0, 3, -5, 217, 1.0, 0, 0, 3, 0, 1.0, 0},
      {"other model: mode 9", 0x56F, 0, 0, 9, -5, 217, 1.0, 0, 0, 1, -5, 1.0, 0},
      {"other model: mode 7 kept", 0x56F, 0, 0, 7, 5000, 217, 1.0, 0, 0, 7, 5000, 1.0, 0},
  };
  for (const auto& c : cases) {
    tCameraSettings s = DefaultSettings();
    s.CameraVer = c.cameraVer;
    s.TranMode = c.tranMode;
    s.GainLv = c.gainLv;
    s.ExpMode = c.expMode;
    s.ExpParam = c.expParam;
    s.BoardRevision = c.revision;
    s.zoom = c.zoom;
    plat::beeps::Take();
    NormaliseSettings(s);
    EXPECT_EQ(s.TranMode, c.wantTranMode) << c.what;
    EXPECT_EQ(s.GainLv, c.wantGainLv) << c.what;
    EXPECT_EQ(s.ExpMode, c.wantExpMode) << c.what;
    EXPECT_EQ(s.ExpParam, c.wantExpParam) << c.what;
    EXPECT_EQ(s.zoom, c.wantZoom) << c.what;
    auto beeps = plat::beeps::Take();
    EXPECT_EQ(beeps.size(), c.beeps) << c.what;
    for (const auto& b : beeps) EXPECT_EQ(b.frequency, 1000u) << c.what;
  }
}

}  // namespace
