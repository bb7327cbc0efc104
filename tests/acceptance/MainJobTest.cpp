// The operator's main job on the real program, one scenario a step: each starts
// build/lumora afresh on its own X server, drive C: and home, works it with the mouse and
// the keyboard, and judges it by the screen, the files and the INI.
#include "ProgramOnX.h"

namespace acceptance {
namespace {

class MainJob : public ProgramOnX {};

double Luminance(uint32_t px) { return 0.299 * Red(px) + 0.587 * Green(px) + 0.114 * Blue(px); }

// The live picture of the simulated camera's chart: present, new frames arriving, and
// exposed so that the chart's grey wedge keeps its steps apart at both ends.
TEST_F(MainJob, LiveViewIsUpAndWellExposed) {
  Start();
  const RECT live = SmallPane();
  Picture first;
  ASSERT_TRUE(WaitForScreen(
      [&](const Picture& p) {
        first = p;
        return Distinct(p, live) > 200;
      },
      "the live picture"));
  // The sensor's noise differs from frame to frame.
  ASSERT_TRUE(WaitForScreen([&](const Picture& p) { return Changed(first, p, live, 0) > 1000; }, "a new live frame"));
  const Picture p = Shot();
  const auto mean = Mean(p, live);
  const double luminance = 0.299 * mean[0] + 0.587 * mean[1] + 0.114 * mean[2];
  EXPECT_GT(luminance, 60);
  EXPECT_LT(luminance, 190);
  // The wedge runs across the chart's second band, from mid grey to white.
  double lightest = 0;
  ForEach(p, RECT{live.left, live.top + 100, live.right, live.top + 101},
          [&](int, int, uint32_t px) { lightest = std::max(lightest, Luminance(px)); });
  EXPECT_GT(lightest, 160) << "the white end of the wedge is dim";
  EXPECT_LT(lightest, 245) << "the white end of the wedge is burnt out";
}

}  // namespace
}  // namespace acceptance
