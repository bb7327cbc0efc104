// A camera library without its shared object: the simulated board on the virtual clock
// (set up as the board's own tests do), the program's default settings block, and a
// camera object built by the test.
#pragma once
#include <memory>

#include "../platform/board/BoardFixture.h"
#include "BoardDevice.h"
#include "CameraCtrl.h"
#include "CameraGeometry.h"
#include "SettingsBlock.h"

// The block as the program's document builds it.
inline tCameraSettings DefaultSettings() {
  tCameraSettings s{};
  s.EdgeAppLevelStd = s.EdgeAppLevelHigh = 4;
  s.EdgeAppLevelBw = s.ContrastLevelBw = 8;
  s.Command_Repeat = 1;
  s.Camera_Ctrl = 128;
  const LONG gains[3][4] = {{30, 10, 10, 50}, {60, 40, 40, 80}, {90, 70, 70, 110}};
  for (int g = 0; g < 3; ++g)
    for (int i = 0; i < 4; ++i) s.WBGain[g][i] = gains[g][i], s.BB_Lev[g][i] = 128;
  for (int i = 0; i < 4; ++i) s.Black_Level[i] = 128;
  s.AdTop = 130;
  s.ExpMode = 1;
  s.ExpParam = 1024;
  s.AutoExpThresh = 1;
  s.TranMode = 5;
  s.zoom = 1.0;
  s.InterPolationMethod = 2;
  s.Mode = 0x1800;
  s.PCIaddress = 0xFFFFFFFF;
  const LONG mosaic[4] = {2, 3, 0, 1};
  for (int i = 0; i < 4; ++i) s.Mosaic[i] = mosaic[i];
  s.CameraVer = 0xA6F;
  s.MotionDetCount = 3;
  s.BoardRevision = 1;
  s.BoardCount = 1;
  s.WBAllLevels = 30 | 50 << 8 | 70 << 16;
  s.GammaMode = 1;
  s.Unused = 1;
  return s;
}

class VexcamTest : public BoardTest {
 protected:
  void SetUp() override {
    BoardTest::SetUp();
    // Each clock read moves time on by 10 microseconds: the start-up calibration then
    // counts fewer reads, which keeps the many camera objects of the tests cheap.
    plat::clock::UseVirtual(true, 10);
    settings = DefaultSettings();
    UseSettings(&settings);
    Geometry() = CameraGeometry{};
  }
  void TearDown() override {
    camera.reset();
    UseSettings(nullptr);
    BoardTest::TearDown();
  }

  CCameraCtrl& MakeCamera() {
    camera = std::make_unique<CCameraCtrl>();
    return *camera;
  }

  tCameraSettings settings{};
  std::unique_ptr<CCameraCtrl> camera;
};
