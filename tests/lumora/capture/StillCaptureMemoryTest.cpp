// The memory a still capture takes, as the user starts it with the capture button: the
// picture-sized blocks alive at once while the picture is taken, rebuilt and shown, and
// what stays behind besides the picture in its slot.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../ProgramRig.h"
#include "PictureBlocks.h"

namespace {

using programrig::ProgramRig;
using programrig::Step;

struct Case {
  const char* name;
  const char* fineMode;
  const char* row;  // FinePhotoMode or QuickPhotoMode
  int width, height;
};

class StillCaptureMemory : public ProgramRig, public ::testing::WithParamInterface<Case> {};

TEST_P(StillCaptureMemory, TakesAtMostTwoPicturesAtOnceAndKeepsOnlyTheSlotsPicture) {
  if (!pictureblocks::Available()) GTEST_SKIP() << "the sanitizers bring their own allocator";
  const Case& c = GetParam();
  const std::string ini = std::string("C:\\Run\\") + c.name + ".ini";
  const bool fine = std::string(c.fineMode) == "1";
  WriteUser(ini.c_str(), {{"FineMode", c.fineMode}, {fine ? "FinePhotoMode" : "QuickPhotoMode", c.row}, {"AutoSave", "0"}});
  const size_t picture = size_t((c.width * 3 + 3) & ~3) * size_t(c.height);
  pictureblocks::Tally tally;
  std::vector<Step> steps{Ready(),
                          [&] {
                            pictureblocks::Start(picture / 4 + 1);  // a live frame is a quarter of the Quick picture
                            return ClickOn(::GetDlgItem(Frame()->ControlView()->m_hWnd, 1038));
                          },
                          [&] {
                            return Doc()->GetImageState() == 1 && !Frame()->ControlView()->IsCaptureRunning() &&
                                   !Frame()->IsCapturing();
                          },
                          [&] {
                            tally = pictureblocks::Stop();
                            Frame()->PostMessage(WM_CLOSE);
                            return true;
                          }};
  const int rc = Run("/i " + ini, std::move(steps), 240);
  ASSERT_FALSE(TimedOut()) << StepsDone();
  EXPECT_EQ(rc, 0);
  const double peak = double(tally.peakResident) / double(picture);
  const double kept = double(tally.keptAllocated) / double(picture);
  EXPECT_GE(tally.blocks, 1u) << "the picture itself was not seen";
  EXPECT_LE(peak, 2.0) << "pictures in memory at once; spanned " << double(tally.peakAllocated) / double(picture);
  EXPECT_LE(kept, 1.05) << "pictures kept after the capture";
}

// Fine at the full 3 x 3 shifted frame and at a size cut from it; Quick at the full frame.
INSTANTIATE_TEST_SUITE_P(Shots, StillCaptureMemory,
                         ::testing::Values(Case{"FineFull", "1", "0", 3840, 3072},
                                           Case{"FineCut", "1", "2", 3204, 2562},
                                           Case{"QuickFull", "0", "10", 1280, 1024}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
