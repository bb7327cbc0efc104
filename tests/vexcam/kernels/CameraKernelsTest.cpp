// The camera object's side of the kernels: its planes, the exports that reach them, and
// progress without the resource library (this test program has none).
#include <gtest/gtest.h>

#include <vector>

#include "../VexcamFixture.h"
#include "ProgressWindows.h"
#include "VexcamApi.h"

namespace {

class CameraKernels : public VexcamTest {
 protected:
  void SetUp() override {
    VexcamTest::SetUp();
    SetCamera(&MakeCamera());
  }
  void TearDown() override {
    SetCamera(nullptr);
    VexcamTest::TearDown();
  }
};

}  // namespace

TEST_F(CameraKernels, RawExportBuildsThePictureFromThePlanes) {
  camera->AllocatePlaneStore(4, 4);
  for (int p = 0; p < 4; ++p)
    for (LONG r = 0; r < 4; ++r)
      for (LONG x = 0; x < 4; ++x) camera->m_Planes[p][size_t(r)][x] = BYTE(10 * p + r);
  // Plane k holds byte k of the cell word: blue 1, red 2, greens 0 and 3.
  std::vector<BYTE> bits(16 * 4, 0);
  EXPECT_EQ(KQ_BitsArrayFromPlanesRaw(bits.data(), 4, 4, 16, &settings), 1);
  const BYTE* top = bits.data() + 3 * 16;
  EXPECT_EQ(top[0], 10);
  EXPECT_EQ(top[1], 30);
  EXPECT_EQ(top[2], 20);
}

TEST_F(CameraKernels, RawExportRefusesSizesItCannotWrite) {
  camera->AllocatePlaneStore(4, 4);
  std::vector<BYTE> bits(64, 0x5A);
  struct Case {
    BYTE* rows;
    int width, height, stride;
  } cases[] = {{nullptr, 4, 4, 16}, {bits.data(), -4, 4, 16}, {bits.data(), 4, 0, 16}, {bits.data(), 8, 2, 16}};
  for (const Case& k : cases) EXPECT_EQ(KQ_BitsArrayFromPlanesRaw(k.rows, k.width, k.height, k.stride, &settings), 1);
  EXPECT_EQ(bits, std::vector<BYTE>(64, 0x5A));
  EXPECT_EQ(camera->RGBFromPlanesRaw(bits.data(), 4, 4, 16), 1);
}

TEST_F(CameraKernels, FactoryExportStaysInsideThePlanes) {
  EXPECT_EQ(KQ_RGBplaneUnit_Factory(0, 0, 8, 8, &settings), 1);  // no planes: nothing to fill
  camera->AllocatePlaneStore(4, 4);
  EXPECT_EQ(KQ_RGBplaneUnit_Factory(40, -7, 1 << 30, 1 << 30, &settings), 1);
  EXPECT_EQ(KQ_RGBplaneUnit_Factory(0, 0, -1, -1, &settings), 1);
}

TEST_F(CameraKernels, ReconstructionFollowsTheSettingsBlock) {
  camera->AllocatePlaneStore(8, 8);
  for (auto& plane : camera->m_PlaneMemory) std::fill(plane.begin(), plane.end(), BYTE(90));
  camera->m_Revision = 217;
  // Roles that match the phase tables: greens on the diagonal of each cell.
  const LONG order[4] = {1, 2, 0, 3};
  std::copy(order, order + 4, camera->m_PlaneOrder);
  for (BYTE method : {BYTE(0), BYTE(1), BYTE(2), BYTE(12)}) {
    settings.InterPolationMethod = method;
    std::vector<BYTE> bits(24 * 8, 0);
    EXPECT_EQ(camera->ReconstructPlanes(bits.data(), 8, 8, 24), 1);
    EXPECT_EQ(bits, std::vector<BYTE>(bits.size(), 90)) << int(method);
  }
}

TEST_F(CameraKernels, ProgressWithoutAWindowGoesOnAndFillsTheProgressByte) {
  CReadoutProgressWnd wnd(nullptr);
  EXPECT_EQ(wnd.GetSafeHwnd(), nullptr);  // no resource library: no window
  wnd.DrawBar1(50);
  settings.bAbort = 1;
  EXPECT_EQ(camera->UpdateProgress(42), 1);
  EXPECT_EQ(settings.Progress[2], 42);
  CWhiteBalanceWnd wb(nullptr);
  EXPECT_EQ(wb.GetSafeHwnd(), nullptr);
}

TEST(ProgressBars, PercentToBarEnd) {
  struct Case {
    int percent, end;
  } cases[] = {{0, 80}, {50, 130}, {100, 180}, {150, 180}, {-5, 80}};
  for (const Case& k : cases) EXPECT_EQ(CReadoutProgressWnd::BarEnd(k.percent), k.end) << k.percent;
}

TEST(ExposureIndex, CodesByMode) {
  struct Case {
    LONG value, mode, code;
  } cases[] = {{500, 1, 0}, {1, 1, 9}, {12, 1, 5}, {24, 1, 10}, {1, 2, -1}, {24, 2, -6}, {7, 2, -7}, {500, 3, 10}};
  for (const Case& k : cases) EXPECT_EQ(ExposureIndex(k.value, k.mode), k.code) << k.value << "/" << k.mode;
}
