// Image slots: index checks and their codes, share counts, and pictures that stay
// alive while a slot holds them.
#include <gtest/gtest.h>

#include <string>

#include "binding/CLead.h"
#include "control/VexBufferControl.h"
#include "imaging/ImageStore.h"

namespace {

class ImageSlots : public ::testing::Test {
 protected:
  void SetUp() override {
    AfxEnableControlContainer();
    ASSERT_TRUE(host.CreateEx(0, nullptr, "host", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr));
    ASSERT_TRUE(buffers.Create(nullptr, "", WS_CHILD, CRect(0, 0, 50, 50), &host, CVexBufferControl::kWindowId));
    ASSERT_TRUE(buffers.CreateImageControls(CRect(0, 0, 32, 32)));
  }
  void TearDown() override {
    buffers.DestroyWindow();
    host.DestroyWindow();
  }
  CWnd host;
  CVexBufferControl& buffers = *new CVexBufferControl;  // a view frees itself with its window
};

TEST_F(ImageSlots, BadIndexesAnswerTheirCodesAndTouchNothing) {
  ASSERT_EQ(buffers.CreateBuffer(3, 8, 8, 0), 3);
  const LONG kept = buffers.GetBuffer(3);
  const struct {
    const char* call;
    LONG result, expected;
  } cases[] = {
      {"GetBuffer 8", buffers.GetBuffer(8), -998},
      {"GetBuffer -1", buffers.GetBuffer(-1), -998},
      {"AddRef 8", buffers.AddRef(8), -998},
      {"Release -1", buffers.Release(-1), -998},
      {"CopySlot to 8", buffers.CopySlot(8, 3), -998},
      {"CopySlot from -1", buffers.CopySlot(3, -1), -998},
      {"SwapSlots -1", buffers.SwapSlots(-1, 3), -998},
      {"SetBuffer 3 zero", buffers.SetBuffer(3, 0), 0},
      {"SetBuffer 8", buffers.SetBuffer(8, kept), 0},
      {"CreateBuffer 8", buffers.CreateBuffer(8, 4, 4, 0), -999},
      {"CreateBuffer -1", buffers.CreateBuffer(-1, 4, 4, 0), -999},
      {"AllocRawBuffer 8", buffers.AllocRawBuffer(8, 4, 4, 0), -999},
      {"SetRawBuffer -1", buffers.SetRawBuffer(-1, BITMAP{}), 0},
  };
  for (const auto& c : cases) EXPECT_EQ(c.result, c.expected) << c.call;
  EXPECT_EQ(buffers.GetBuffer(3), kept);
  EXPECT_EQ(buffers.GetShareCount(3), 0);
}

TEST_F(ImageSlots, ShareCountsAndRelease) {
  ASSERT_EQ(buffers.CreateBuffer(1, 8, 8, 0), 1);
  const LONG handle = buffers.GetBuffer(1);
  ASSERT_NE(handle, 0);
  buffers.AddRef(1);
  buffers.AddRef(1);
  EXPECT_EQ(buffers.Release(1), 0);
  EXPECT_EQ(buffers.GetShareCount(1), 1);
  EXPECT_EQ(buffers.GetBuffer(1), handle);
  buffers.Release(1);
  EXPECT_EQ(buffers.GetBuffer(1), handle);
  buffers.Release(1);  // at count 0 the slot empties
  EXPECT_EQ(buffers.GetBuffer(1), 0);
  EXPECT_EQ(buffers.GetShareCount(1), 0);
}

TEST_F(ImageSlots, CopyAndSwapMoveHandleAndCount) {
  ASSERT_EQ(buffers.CreateBuffer(0, 8, 8, 0), 0);
  ASSERT_EQ(buffers.CreateBuffer(5, 4, 4, 0), 5);
  const LONG a = buffers.GetBuffer(0), b = buffers.GetBuffer(5);
  buffers.AddRef(0);
  EXPECT_EQ(buffers.SwapSlots(0, 5), 0);
  EXPECT_EQ(buffers.GetBuffer(0), b);
  EXPECT_EQ(buffers.GetShareCount(0), 0);
  EXPECT_EQ(buffers.GetBuffer(5), a);
  EXPECT_EQ(buffers.GetShareCount(5), 1);
  EXPECT_EQ(buffers.CopySlot(7, 5), 0);
  EXPECT_EQ(buffers.GetBuffer(7), a);
  EXPECT_EQ(buffers.GetShareCount(7), 1);
}

TEST_F(ImageSlots, TurnedBufferExchangesWidthAndHeight) {
  ASSERT_EQ(buffers.CreateBuffer(2, 640, 512, 1), 2);
  const auto made = plat::imaging::ImageStore::Instance().Find(DWORD(buffers.GetBuffer(2)));
  ASSERT_TRUE(made);
  EXPECT_EQ(made->Width(), 512);
  EXPECT_EQ(made->Height(), 640);
  EXPECT_EQ(buffers.CreateThirdBitmap(64, 32, 1), 0);
  EXPECT_NE(buffers.GetThirdBitmap(), 0);
}

TEST_F(ImageSlots, HeldPicturesOutliveTheControlThatMadeThem) {
  ASSERT_EQ(buffers.CreateBuffer(0, 16, 8, 0), 0);
  const LONG first = buffers.GetBuffer(0);
  ASSERT_EQ(buffers.CreateBuffer(1, 4, 4, 0), 1);  // the main control moves on
  ASSERT_EQ(buffers.SetSecondBitmap(first), 1);
  EXPECT_EQ(buffers.GetSecondBitmap(), first);    // still a picture
  // Once neither a slot nor a control holds it, the handle is refused cleanly.
  buffers.Release(0);
  ASSERT_EQ(buffers.SetSecondBitmap(buffers.GetBuffer(1)), 1);
  EXPECT_EQ(buffers.SetBuffer(2, first), 0);
  EXPECT_EQ(buffers.GetBuffer(2), 0);
}

// A picture made for a slot is the slot's alone; a slot that lends its hold to a control
// still names the picture, and holds it again when it is stored back.
TEST_F(ImageSlots, AMadePictureIsHeldByItsSlotAloneAndCanBeLent) {
  auto& store = plat::imaging::ImageStore::Instance();
  ASSERT_EQ(buffers.CreateBuffer(0, 16, 8, 0), 0);
  const LONG handle = buffers.GetBuffer(0);
  EXPECT_EQ(store.Holders(DWORD(handle)), 1);
  ASSERT_EQ(buffers.SetSecondBitmap(handle), 1);  // a control takes it, as a stage loads it
  EXPECT_EQ(store.Holders(DWORD(handle)), 2);
  ASSERT_EQ(buffers.LendBuffer(0), 0);
  EXPECT_EQ(buffers.GetBuffer(0), handle);
  EXPECT_EQ(store.Holders(DWORD(handle)), 1);
  ASSERT_EQ(buffers.SetBuffer(0, handle), 1);
  EXPECT_EQ(store.Holders(DWORD(handle)), 2);
  EXPECT_EQ(buffers.LendBuffer(CVexBufferControl::kSlots), CVexBufferControl::kBadSlot);
}

TEST_F(ImageSlots, RawBufferDescription) {
  ASSERT_EQ(buffers.AllocRawBuffer(0, 10, 4, 1), 0);
  const BITMAP& raw = buffers.GetRawBuffer();
  EXPECT_EQ(raw.bmWidth, 4);
  EXPECT_EQ(raw.bmHeight, 10);
  EXPECT_EQ(raw.bmWidthBytes, 12);
  EXPECT_EQ(raw.bmBitsPixel, 24);
  EXPECT_NE(raw.bmBits, nullptr);
  BITMAP given{0, 7, 3, 21, 1, 24, reinterpret_cast<void*>(1)};
  ASSERT_EQ(buffers.SetRawBuffer(0, given), 1);
  EXPECT_EQ(buffers.GetRawBuffer().bmWidth, 7);
  EXPECT_EQ(buffers.GetRawBuffer().bmBits, nullptr);  // the pixels are not taken over
}

}  // namespace
