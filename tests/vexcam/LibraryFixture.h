// The whole camera library started as the program starts it, on one simulated board of
// revision 217 whose camera looks at a scene the test gives it.
#pragma once
#include <memory>
#include <string>

#include "ModuleRegistry.h"
#include "VexcamApi.h"
#include "VexcamApp.h"
#include "VexcamFixture.h"
#include "board/PictureScene.h"

class LibraryTest : public VexcamTest {
 protected:
  // The library with the program's default block after its power check; a model other
  // than 0xA is named in the block after the check, which configures 0xA. Without a
  // scene the camera looks at what the stand-in's settings give it.
  void Start(int model, std::shared_ptr<plat::board::Scene> scene) {
    Configure({{"BOARD_MODEL", std::to_string(model)}, {"BOARD_REVISION", "217"}});
    if (scene) plat::board::ShowScene(std::move(scene));
    plat::ModuleSpec spec;
    spec.fileName = "Vexcam.dll";
    spec.loaded = true;
    app.m_hInstance = plat::RegisterModule(std::move(spec));
    ASSERT_TRUE(app.InitInstance());
    settings = DefaultSettings();
    settings.Mode = 0x1800;  // no windows, no beep
    settings.TranMode = 2;
    settings.ExpMode = 1;
    settings.ExpParam = 500;
    ASSERT_EQ(KQ_CheckCameraPower(&settings), 1);
    if (model != 0xA) {
      settings.CameraVer = (settings.CameraVer & ~0xF00) | model << 8;
      ASSERT_EQ(KQ_CheckCameraPower(&settings), 1);
      const LONG agc[4] = {};  // the start-up black levels went to this model's AGC registers
      KQ_SetAGCGain(agc, &settings);
    }
  }
  void TearDown() override {
    if (GetVexcamApp()) app.ExitInstance();
    VexcamTest::TearDown();
  }
  // A picture of `width` x 1 pixels (stretched over the sensor's rows) from a reflectance
  // per column; without noise the camera renders a frame only when its settings change.
  template <class Reflectance>
  static std::shared_ptr<plat::board::Scene> Columns(int width, Reflectance reflectance, double noise = 0.0) {
    plat::board::Picture p;
    p.Resize(width, 1);
    for (int x = 0; x < width; ++x) p.red[size_t(x)] = p.green[size_t(x)] = p.blue[size_t(x)] = float(reflectance(x));
    return std::make_shared<plat::board::PictureScene>(std::move(p), noise);
  }

  CVexcamApp app;
};
