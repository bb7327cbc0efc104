#include <gtest/gtest.h>

#include <array>
#include <functional>

#include "CameraFixture.h"
#include "ReadoutPicture.h"
#include "TrueImage.h"

namespace {

using vexcam::test::Bgr;

// The test picture in the orientation the settings block asks for.
struct Picture : vexcam::test::ReadoutPicture {
  using ReadoutPicture::ReadoutPicture;
  vexcam::PictureTarget Target() { return ReadoutPicture::Target(Settings().Mode & 0xC); }
};

class SingleFrameReadout : public CameraTest {
 protected:
  CCameraCtrl& Ready(int revision, DWORD mode) {
    CCameraCtrl& cam = Checked(revision);
    for (auto& gain : cam.ChannelLut)
      for (auto& table : gain)
        for (int v = 0; v < 256; ++v) table[v] = BYTE(v);
    settings.Mode = (settings.Mode & ~0xFCu) | mode;
    cam.WinSet(4, 12, 0, 8);
    return cam;
  }
};

}  // namespace

// The pattern scene's cell of line k, column c has g0 = k, blue = c, red = 0, g1 = 0; the
// window starts at sensor column 4, that is cell column 2.
TEST_F(SingleFrameReadout, PatternBytesThroughEachKernel) {
  struct Case {
    int revision;
    DWORD mode;
    bool full;
    std::function<Bgr(int row, int col)> expected;
  } cases[] = {
      {216, 0, false, [](int k, int j) { return Bgr{j + 2, k / 2, 0}; }},
      {217, 0, false,
       [](int k, int j) {
         const int b = j + 2, gm = k / 2;
         return Bgr{std::clamp(b + (b - gm) / 4, 0, 255), std::clamp(gm + (2 * gm - b) / 8, 0, 255), 0};
       }},
      {217, 0x20, false, [](int k, int j) { return Bgr{255 - (j + 2), (255 - k + 255) / 2, 255}; }},
      {217, 0x40, false, [](int k, int j) { int y = (5 * k / 2 + j + 2) / 8; return Bgr{y, y, y}; }},
      {216, 0x0C, false, [](int k, int j) { return Bgr{3 - j + 2, (3 - k) / 2, 0}; }},
      {216, 0, true, [](int r, int x) { return Bgr{x / 2 + 2, r % 2 ? 0 : r / 2, 0}; }},
      {217, 0x20, true, [](int r, int x) { return Bgr{255 - (x / 2 + 2), r % 2 ? 255 : 255 - r / 2, 255}; }},
      {217, 0x40, true, [](int r, int x) { int y = (5 * (r / 2) / 2 + x / 2 + 2) / 8; return Bgr{y, y, y}; }},
  };
  for (const Case& c : cases) {
    CCameraCtrl& cam = Ready(c.revision, c.mode);
    Picture pic(c.full ? 8 : 4, c.full ? 8 : 4);
    const auto readout = cam.SingleFrameReadout(c.full);
    ASSERT_EQ(cam.ReadFrameToPicture(readout, pic.Target(), 4, 8, 8), 1) << c.revision << " " << c.mode;
    for (LONG r = 0; r < pic.height; ++r)
      for (LONG x = 0; x < pic.width; ++x)
        ASSERT_EQ(pic.Px(r, x), c.expected(int(r), int(x))) << c.revision << " mode " << c.mode << " " << r << "," << x;
  }
}

TEST_F(SingleFrameReadout, RefusesWithoutWriting) {
  struct Case {
    bool full;
    LONG pictureSide, x, width;
  } cases[] = {
      {false, 5, 4, 8},       // picture not half the window
      {true, 8, 1276, 8},     // full-size colour past column 1280
      {true, 8, -2, 8},
  };
  for (const Case& c : cases) {
    CCameraCtrl& cam = Ready(217, 0);
    Picture pic(c.pictureSide, c.pictureSide);
    const std::vector<BYTE> before = pic.bits;
    EXPECT_EQ(cam.ReadFrameToPicture(cam.SingleFrameReadout(c.full), pic.Target(), c.x, c.width, 8), 0) << c.x;
    EXPECT_EQ(pic.bits, before) << c.x;
  }
}

TEST_F(SingleFrameReadout, AbortStillReadsTheFrameToItsEnd) {
  CCameraCtrl& cam = Ready(216, 0);
  Picture pic(4, 4);
  settings.bAbort = 0;
  cam.m_Overlap = true;  // the exposure was started by the previous frame: no wait to cut short
  cam.StartFrame();
  settings.bAbort = 1;
  // The readout is not cut short: every row is written, and the result says aborted.
  EXPECT_EQ(cam.ReadFrameToPicture(cam.SingleFrameReadout(false), pic.Target(), 4, 8, 8), 0);
  for (LONG r = 0; r < 4; ++r) EXPECT_NE(pic.Px(r, 3), (Bgr{0xEE, 0xEE, 0xEE})) << r;
}

TEST_F(SingleFrameReadout, DispatchIntoTheImage) {
  struct Case {
    bool full;
    RECT rect;
    DWORD mode;
    LONG result;  // > 0 stands for any time value
  } cases[] = {
      {false, {2, 0, 6, 4}, 0, 1},
      {true, {4, 0, 12, 8}, 0, 1},
      {false, {2, 0, 6, 4}, 0x400, 0},   // no timer: no time value
      {true, {0, 0, 5000, 8}, 0, -2},
  };
  for (const Case& c : cases) {
    CCameraCtrl& cam = Ready(216, 0);
    settings.Mode |= c.mode;
    const LONG w = c.rect.right - c.rect.left, h = c.rect.bottom - c.rect.top;
    Picture pic(std::min<LONG>(w, 64), h);
    CTrueImage image;
    image.SetFormat(pic.width, pic.height, 3);
    image.m_pBits = pic.bits.data();  // lent for the test
    const LONG r = c.full ? cam.DispatchFull(&image, c.rect) : cam.DispatchHalf(&image, c.rect);
    image.m_pBits = nullptr;
    if (c.result > 0) {
      EXPECT_GT(r, 0) << c.full;
      EXPECT_EQ(pic.Px(0, 0), (Bgr{2, 0, 0})) << c.full;
    } else {
      EXPECT_EQ(r, c.result) << c.full << " " << c.mode;
    }
  }
}

// The data-port readout of the older boards and the block readout of zoom 0.5 walk the
// line word by word: the pattern's cell columns arrive where the window says.
TEST_F(SingleFrameReadout, PortAndBlockReadoutsTakeTheWindowsCells) {
  struct Case {
    int revision;
    double zoom;
    bool block;
  } cases[] = {{210, 1.0, false}, {216, 1.0, false}, {216, 0.5, true}};
  for (const Case& c : cases) {
    CCameraCtrl& cam = Ready(c.revision, 0);
    settings.zoom = c.zoom;
    Picture pic(c.block ? 8 : 4, c.block ? 8 : 4);
    const auto readout = c.block ? cam.BlockReadout(true) : cam.PortReadout();
    ASSERT_EQ(cam.ReadFrameToPicture(readout, pic.Target(), 4, 8, 8), 1) << c.revision;
    for (LONG r = 0; r < pic.height; ++r)
      for (LONG x = 0; x < pic.width; ++x) {
        const int cell = int(c.block ? x / 2 : x) + 2;
        ASSERT_EQ(pic.Px(r, x)[0], cell) << c.revision << " " << r << "," << x;
        if (c.block) {
          ASSERT_EQ(pic.Px(r, x), pic.Px(r & ~1, x & ~1)) << "one colour a cell";
        } else {
          ASSERT_EQ(pic.Px(r, x)[1], r / 2) << c.revision;
        }
      }
  }
}
