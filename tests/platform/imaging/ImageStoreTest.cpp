#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "HandleTable.h"
#include "Pictures.h"
#include "imaging/ImageHolder.h"
#include "imaging/ImageStore.h"

using namespace plat::imaging;
using imagingtest::Noise;

TEST(ImageStore, HandlesAreImageKindIdsThatFitALong) {
  ImageHolder a;
  ASSERT_TRUE(a.Adopt(Noise(4, 4)));
  EXPECT_EQ(plat::HandleIdKind(a.Handle()), plat::HandleKind::Image);
  EXPECT_GT(LONG(a.Handle()), 0);
}

TEST(ImageStore, PictureLivesWhileAnyHolderHoldsIt) {
  DWORD h;
  ImageHolder second;
  {
    ImageHolder first;
    ASSERT_TRUE(first.Adopt(Noise(4, 4)));
    h = first.Handle();
    ASSERT_TRUE(second.Hold(h));
    EXPECT_EQ(ImageStore::Instance().Holders(h), 2);
  }
  // The maker let go; the handle still names the picture.
  ASSERT_NE(second.Picture(), nullptr);
  EXPECT_EQ(second.Picture()->Width(), 4);
  second.Clear();
  // Gone with its last holder: the stale handle is refused, not reused.
  EXPECT_EQ(ImageStore::Instance().Find(h), nullptr);
  ImageHolder late;
  EXPECT_FALSE(late.Hold(h));
  EXPECT_TRUE(late.Empty());
}

TEST(ImageStore, ChangeThroughOneHolderNeverShowsInAnother) {
  ImageHolder a, b;
  ASSERT_TRUE(a.Adopt(Noise(8, 8)));
  const Dib original = a.Picture()->Clone();
  const DWORD shared = a.Handle();
  ASSERT_TRUE(b.Hold(shared));

  auto mine = b.ForWrite();
  ASSERT_NE(mine, nullptr);
  mine->Row(0)[0] ^= 0xFF;
  // b moved to a private copy under a new handle; a still holds the untouched picture.
  EXPECT_NE(b.Handle(), shared);
  EXPECT_EQ(a.Handle(), shared);
  EXPECT_TRUE(a.Picture()->SamePixels(original));
  EXPECT_FALSE(b.Picture()->SamePixels(original));
  EXPECT_EQ(ImageStore::Instance().Holders(shared), 1);
}

// Only a change of a shared picture copies it; the store counts the copies it makes.
TEST(ImageStore, CopiesAreCountedOnlyForSharedPictures) {
  ImageHolder a, b;
  ASSERT_TRUE(a.Adopt(Noise(8, 8)));
  const uint64_t before = ImageStore::Instance().Copies();
  ASSERT_NE(a.ForWrite(), nullptr);
  EXPECT_EQ(ImageStore::Instance().Copies(), before) << "a sole holder changes in place";
  ASSERT_TRUE(b.Hold(a.Handle()));
  ASSERT_NE(b.ForWrite(), nullptr);
  EXPECT_EQ(ImageStore::Instance().Copies(), before + 1);
  ASSERT_NE(b.ForWrite(), nullptr);
  EXPECT_EQ(ImageStore::Instance().Copies(), before + 1) << "the copy is b's own now";
}

TEST(ImageStore, SoleHolderChangesInPlaceAndKeepsItsHandle) {
  ImageHolder a;
  ASSERT_TRUE(a.Adopt(Noise(8, 8)));
  const DWORD h = a.Handle();
  const uint8_t* pixels = a.Picture()->Bits0();
  auto mine = a.ForWrite();
  EXPECT_EQ(a.Handle(), h);
  EXPECT_EQ(mine->Bits0(), pixels);
  ASSERT_TRUE(a.Replace(Noise(2, 3)));
  EXPECT_EQ(a.Handle(), h);
  EXPECT_EQ(a.Picture()->Height(), 3);
}

TEST(ImageStore, ReplacingASharedPictureLeavesTheOtherHolderItsOwn) {
  ImageHolder a, b;
  ASSERT_TRUE(a.Adopt(Noise(8, 8)));
  ASSERT_TRUE(b.Hold(a.Handle()));
  ASSERT_TRUE(b.Replace(Noise(3, 3)));
  EXPECT_NE(a.Handle(), b.Handle());
  EXPECT_EQ(a.Picture()->Width(), 8);
  EXPECT_EQ(b.Picture()->Width(), 3);
}

TEST(ImageStore, ReaderKeepsPixelsAliveAfterTheLastHolderLetsGo) {
  ImageHolder a;
  ASSERT_TRUE(a.Adopt(Noise(8, 8)));
  auto reading = a.Picture();
  const Dib copy = reading->Clone();
  a.Clear();
  EXPECT_TRUE(reading->SamePixels(copy));
}

TEST(ImageStore, StoreStaysFlatOverManyHandOvers) {
  // A time-lapse passes a fresh picture through a few controls and slots again
  // and again; nothing may pile up.
  const size_t before = ImageStore::Instance().Count();
  ImageHolder camera, slot, display;
  for (int frame = 0; frame < 2000; ++frame) {
    ASSERT_TRUE(camera.Adopt(Noise(16, 16, 24, frame)));
    ASSERT_TRUE(slot.Hold(camera.Handle()));
    ASSERT_TRUE(display.Hold(slot.Handle()));
    ASSERT_NE(display.ForWrite(), nullptr);  // the display draws over its own copy
  }
  EXPECT_LE(ImageStore::Instance().Count(), before + 3);
  camera.Clear();
  slot.Clear();
  display.Clear();
  EXPECT_EQ(ImageStore::Instance().Count(), before);
}

TEST(ImageStore, HoldersOnManyThreadsKeepCountsRight) {
  ImageHolder origin;
  ASSERT_TRUE(origin.Adopt(Noise(32, 32)));
  const DWORD h = origin.Handle();
  const Dib original = origin.Picture()->Clone();
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([h] {
      for (int i = 0; i < 500; ++i) {
        ImageHolder mine;
        ASSERT_TRUE(mine.Hold(h));
        auto w = mine.ForWrite();
        ASSERT_NE(w, nullptr);
        w->Row(1)[1] = uint8_t(i);
      }
    });
  for (auto& t : threads) t.join();
  EXPECT_EQ(ImageStore::Instance().Holders(h), 1);
  EXPECT_TRUE(origin.Picture()->SamePixels(original));
}
