#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <string>

#include "ColourTables.h"
#include "LibraryFixture.h"
#include "PictureMeans.h"
#include "TestEnv.h"
#include "board/BoardTestApi.h"

namespace {

// The camera looks at an even card: its sites answer 1.0, 0.63, 0.77 and 1.0 of the light.
// The measuring rectangle is 80 x 60 pixels: a measurement reads 30 lines.
class WhiteBalanceRun : public LibraryTest {
 protected:
  static constexpr RECT kRect{200, 200, 280, 260};

  void Start(int model, double reflectance, double noise = 0.0) {
    LibraryTest::Start(model, Columns(1, [&](int) { return reflectance; }, noise));
    settings.WBAllLevels = 0;
    settings.WBSeed[0] = 40, settings.WBSeed[1] = 60, settings.WBSeed[2] = 80;
    settings.GammaMode = 0;
    for (LONG& gain : settings.WBGain[0]) gain = 0;
    KQ_SetCDSGain(nullptr, &settings);
  }
  int Balance() { return KQ_WhiteBalance(&image, kRect, &settings); }
  // The four site means of the card as the run measures them.
  void Means(double m[4]) {
    CTrueImage picture;
    UseSettings(&settings);  // as an export would
    const DWORD mode = settings.Mode;
    settings.Mode |= 0x20000;
    ASSERT_EQ(Camera()->MeasureChannels(&picture, kRect, m, nullptr), 1);
    settings.Mode = mode;
  }
  // Everything of the block a run must give back, and what it may change.
  struct Snapshot {
    LONG gains[3][4];
    double zoom;
    DWORD mode;
    LONG expMode, expParam, gainLv;
    BYTE tables[3][4][256];
  };
  Snapshot Take() {
    Snapshot s{};
    std::memcpy(s.gains, settings.WBGain, sizeof s.gains);
    s.zoom = settings.zoom, s.mode = settings.Mode;
    s.expMode = settings.ExpMode, s.expParam = settings.ExpParam, s.gainLv = settings.GainLv;
    std::memcpy(s.tables, Camera()->ChannelLut, sizeof s.tables);
    return s;
  }
  void ExpectRestored(const Snapshot& before) {
    EXPECT_EQ(std::memcmp(before.gains, settings.WBGain, sizeof before.gains), 0);
    EXPECT_EQ(settings.zoom, before.zoom);
    EXPECT_EQ(settings.Mode, before.mode);
    EXPECT_EQ(settings.ExpMode, before.expMode);
    EXPECT_EQ(settings.ExpParam, before.expParam);
    EXPECT_EQ(settings.GainLv, before.gainLv);
    EXPECT_EQ(std::memcmp(before.tables, Camera()->ChannelLut, sizeof before.tables), 0);
  }
  static int KeysOf(const char* section, const char* path) {
    char names[8192] = {};
    DWORD n = GetPrivateProfileStringA(section, nullptr, "", names, sizeof names, path);
    int keys = 0;
    for (DWORD i = 0; i < n; i += DWORD(std::strlen(names + i)) + 1) ++keys;
    return keys;
  }

  CTrueImage image;
};

}  // namespace

TEST_F(WhiteBalanceRun, GreyCardComesOutGreyAndTheIniKeepsTheTables) {
  Start(0xA, 0.9, 1.0);
  double m[4];
  Means(m);
  ASSERT_GT(m[0] - m[1], 10.0);  // blue (site 1) lags green (site 0) before the run

  settings.Mode = 0x1000;  // with the preview window
  ASSERT_EQ(Balance(), 0);
  EXPECT_EQ(FindWindowA("#32770", nullptr), nullptr);  // each step closed its preview
  Means(m);
  for (int p = 1; p < 4; ++p) EXPECT_NEAR(m[p], m[0], 1.5) << "site " << p;
  EXPECT_GT(m[0], 100.0);
  EXPECT_EQ(settings.ExpParam, 500);
  EXPECT_EQ(settings.TranMode, 2);

  const char* ini = app.m_szIniPath;
  EXPECT_EQ(KeysOf("Color Management", ini), 72);
  EXPECT_EQ(KeysOf("Gamma Correction", ini), 18);
  // Levels 1 and 2 were not run: their entries are written as they stood.
  EXPECT_EQ(GetPrivateProfileIntA("Color Management", "gain1col0ss0", 0, ini), -1000);
  EXPECT_GT(GetPrivateProfileIntA("Color Management", "gain0col0ss0", 0, ini), 100000);

  // A later start reads the tables back and rebuilds the same correction curves.
  BYTE tables[4][256];
  std::memcpy(tables, Camera()->ChannelLut[0], sizeof tables);
  for (auto& table : Camera()->ChannelLut[0])
    for (int i = 0; i < 256; ++i) table[i] = BYTE(i);
  UseSettings(&settings);
  ASSERT_EQ(LoadColourTables(ini, Geometry().SiteMap[0]) & 1, 1);
  Camera()->BuildLevelCurves(0);
  EXPECT_EQ(std::memcmp(tables, Camera()->ChannelLut[0], sizeof tables), 0);
}

// Cards the run cannot balance: each result, and the block given back as it was.
TEST_F(WhiteBalanceRun, ScriptedScenesGiveTheirResults) {
  struct Case {
    int model;
    double reflectance;
    LONG expMode, expParam;
    BYTE seed;
    int result;
  } cases[] = {
      {0xA, 200.0, 1, 500, 40, 1},  // too bright: the exposure falls below 8 lines
      {0xA, 0.01, 2, 12, 40, -4},   // too dark at the longest exposure
      {8, 0.2, 1, 500, 0, 2},       // too dark at exposure step 0
      {8, 4.0, 1, 500, 40, -3},     // too bright even at step 7
      {8, 0.0005, 1, 500, 40, -4},  // no light for the mosaic detection
  };
  for (const Case& c : cases) {
    Start(c.model, c.reflectance);
    settings.ExpMode = c.expMode, settings.ExpParam = c.expParam;
    settings.WBSeed[0] = c.seed;
    const Snapshot before = Take();
    const LONG sites[4] = {Geometry().SiteMap[0], Geometry().SiteMap[1], Geometry().SiteMap[2], Geometry().SiteMap[3]};
    EXPECT_EQ(Balance(), c.result) << c.model << " " << c.reflectance;
    ExpectRestored(before);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(Geometry().SiteMap[i], sites[i]);
    app.ExitInstance();
  }
}

TEST_F(WhiteBalanceRun, OtherModelsFindTheirMosaicAndBalance) {
  Start(8, 0.4);
  ASSERT_EQ(Balance(), 0);
  const LONG planes[4] = {0, 1, 2, 3};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(settings.Mosaic[i], planes[i]);
  double m[4];
  Means(m);
  for (int p = 1; p < 4; ++p) EXPECT_NEAR(m[p], m[0], 2.0) << "site " << p;
}

TEST_F(WhiteBalanceRun, AbortGivesEverythingBack) {
  Start(0xA, 0.9);
  settings.zoom = std::nan("");
  settings.bAbort = 1;
  Snapshot before = Take();
  before.zoom = 1.0;  // a zoom that is no number comes back as 1.0
  EXPECT_EQ(Balance(), -6);
  ExpectRestored(before);
}

// Rectangles that sample no cell, or leave the frame, are refused before anything moves.
TEST_F(WhiteBalanceRun, RectanglesWithoutCellsAreRefused) {
  Start(0xA, 0.9);
  const RECT cases[] = {
      {0, 0, 0, 0},         {100, 100, 103, 140},  // three pixels: no second column of a cell
      {100, 100, 140, 103}, {100, 1020, 140, 1023},  // the top pulled in to 1016 ends the rows 4 early
      {1270, 0, 1290, 40},  {40, 30, 10, 60},      // past the frame; inverted
  };
  for (const RECT& r : cases) {
    plat::board::ClearLog();
    const Snapshot before = Take();
    EXPECT_EQ(KQ_WhiteBalance(&image, r, &settings), -10) << r.left << "," << r.top << "," << r.right;
    ExpectRestored(before);
    EXPECT_TRUE(plat::board::Log().empty());
  }
}

TEST_F(WhiteBalanceRun, CameraWithoutPowerEndsTheRunAsNotReady) {
  Start(0xA, 0.9);
  const Snapshot before = Take();
  plat::board::FaultSet faults;
  faults.noPower = true;
  plat::board::SetFaults(faults);
  settings.Camera_Status = -12;  // as the program's last power check left it
  EXPECT_EQ(Balance(), -1);
  ExpectRestored(before);
}

// The user closes the preview window while the first step measures.
TEST_F(WhiteBalanceRun, ClosingThePreviewStopsTheRun) {
  Start(0xA, 0.9);
  settings.Mode = 0x1000;
  const Snapshot before = Take();
  const UINT_PTR timer = SetTimer(nullptr, 0, 1, [](HWND, UINT, UINT_PTR, DWORD) {
    if (HWND preview = FindWindowA("#32770", nullptr)) SendMessageA(preview, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_EQ(Balance(), -6);
  KillTimer(nullptr, timer);
  ExpectRestored(before);
  EXPECT_EQ(FindWindowA("#32770", nullptr), nullptr);
}

// A warm lamp over a grey card (LUMORA_BOARD_CAST): the live picture at the program's
// default exposure and factory gains shows the cast; after white balance it is grey.
TEST_F(LibraryTest, WhiteBalanceTakesALampsCastOutOfTheLivePicture) {
  Configure({{"BOARD_SCENE", "chart"}, {"BOARD_SCENE_FILE", testenv::DataPath("board/greycard.png")},
             {"BOARD_CAST", "1.3,1,0.7"}, {"BOARD_NOISE", "0"}});
  Start(0xA, nullptr);
  settings.WBAllLevels = 0;  // one pass, gain level 0
  auto live = [this] {
    settings.TranMode = 1, settings.zoom = 1.0, settings.InterPolationMethod = 1;
    settings.ExpMode = 1, settings.ExpParam = 1067;
    KQ_SetExposure(&settings);
    KQ_SetCDSGain(nullptr, &settings);
    CTrueImage picture;  // a live frame
    KQ_GetMallocSize(&picture, RECT{}, &settings);
    picture.CreateDIB();
    EXPECT_GT(KQ_OnShutter(&picture, RECT{}, 0, &settings), 0);
    const int w = picture.m_nWidth, h = picture.m_nHeight;
    EXPECT_EQ(w, 640);
    return testenv::ChannelMeans(picture.m_pBits, w, h, w / 4, h / 4, 3 * w / 4, 3 * h / 4);
  };
  const std::array<double, 3> before = live();
  EXPECT_GT(before[0] - before[2], 40.0) << before[0] << " " << before[1] << " " << before[2];
  EXPECT_LT(before[0], 250.0);  // the card is not clipped

  CTrueImage image;
  ASSERT_EQ(KQ_WhiteBalance(&image, RECT{200, 200, 280, 260}, &settings), 0);
  const std::array<double, 3> after = live();
  EXPECT_LE(testenv::Spread(after), 2.0) << after[0] << " " << after[1] << " " << after[2];
  EXPECT_GT(after[1], 120.0);
}

// Greys that the longest short exposure leaves below the short band send the exposure search
// on to long exposure, whose whole-frame steps jump over that band: judged by the long band the
// search settles, and one level takes about 300 frames (swinging to its bound, over 2000).
TEST_F(WhiteBalanceRun, AnExposureSearchGoneOnToLongExposureSettles) {
  for (double reflectance : {0.125, 0.2, 0.275}) {
    Start(0xA, reflectance, 1.0);
    settings.ExpMode = 1, settings.ExpParam = 1067;
    plat::board::ClearLog();
    EXPECT_EQ(Balance(), 0) << reflectance;
    const auto log = plat::board::Log();
    const auto frames = std::count_if(log.begin(), log.end(), [](const plat::board::LogEntry& e) {
      return e.kind == plat::board::LogEntry::Kind::FrameStart;
    });
    EXPECT_LT(frames, 600) << reflectance;
    EXPECT_EQ(settings.ExpMode, 1) << "the exposure given back";
    EXPECT_EQ(settings.ExpParam, 1067) << reflectance;
    app.ExitInstance();
  }
}
