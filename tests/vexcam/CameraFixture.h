// A camera object on a simulated board of a chosen revision, before or after the power
// check, and what the library wrote to the board.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "VexcamFixture.h"

class CameraTest : public VexcamTest {
 protected:
  using Keys = std::vector<std::pair<std::string, std::string>>;

  // A fresh camera object and settings block on one board of `revision` (one camera of
  // model 0xA unless `more` says otherwise).
  CCameraCtrl& Board(int revision, Keys more = {}) {
    more.insert(more.begin(), {{"BOARD_COUNT", "1"}, {"BOARD_CAMERA", "1"}, {"BOARD_MODEL", "10"}});
    more.push_back({"BOARD_REVISION", std::to_string(revision)});
    Configure(more);
    settings = DefaultSettings();
    Geometry() = CameraGeometry{};
    camera.reset();
    return MakeCamera();
  }
  // The same after a successful power check; the board's log starts empty.
  CCameraCtrl& Checked(int revision, Keys more = {}) {
    CCameraCtrl& cam = Board(revision, std::move(more));
    EXPECT_EQ(cam.CheckCameraPower(), TRUE);
    EXPECT_EQ(settings.Camera_Status, 0);
    plat::board::ClearLog();
    return cam;
  }
  // Dword writes to one register of the first board's window, oldest first.
  static std::vector<uint32_t> Writes(uint32_t offset) {
    std::vector<uint32_t> out;
    for (const auto& e : plat::board::Log())
      if (e.kind == plat::board::LogEntry::Kind::Write && e.port == kBase + offset) out.push_back(e.value);
    return out;
  }
  static int Count(const std::vector<uint32_t>& words, uint32_t w) {
    int n = 0;
    for (uint32_t v : words) n += v == w;
    return n;
  }
};
