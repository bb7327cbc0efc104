#include <gtest/gtest.h>

#include <cstring>

#include "Faults.h"
#include "HandleTable.h"
#include "Pictures.h"
#include "WinGdi.h"
#include "imaging/ImageHolder.h"
#include "imaging/ImagingCore.h"

using namespace plat::imaging;
using namespace imagingtest;

namespace {

BITMAP SelectedBitmap(LONG dc) {
  BITMAP bm{};
  HGDIOBJ bitmap = GetCurrentObject(plat::ToHandle<HDC>(uint32_t(dc)), OBJ_BITMAP);
  EXPECT_NE(bitmap, nullptr);
  EXPECT_EQ(GetObject(bitmap, sizeof bm, &bm), int(sizeof bm));
  return bm;
}

}  // namespace

TEST(ImageDc, SelectedBitmapIsThePicturesOwnMemory) {
  ImagingCore c;
  Give(c, Flat(640, 512, 24, 0));
  const LONG dc = c.GetImageDC();
  ASSERT_NE(dc, 0);
  const BITMAP bm = SelectedBitmap(dc);
  EXPECT_EQ(bm.bmWidth, 640);
  EXPECT_EQ(bm.bmHeight, 512);
  EXPECT_EQ(bm.bmWidthBytes, 640 * 3);
  EXPECT_EQ(bm.bmBitsPixel, 24);
  ASSERT_EQ(bm.bmBits, c.Picture()->Bits0());
  // A capture written straight into the bits: rows bottom-up, blue first.
  auto* bits = static_cast<uint8_t*>(bm.bmBits);
  const size_t topRow = size_t(511) * bm.bmWidthBytes;
  bits[topRow + 0] = 0x11;
  bits[topRow + 1] = 0x22;
  bits[topRow + 2] = 0x33;
  EXPECT_EQ(c.GetPixel(0, 0), LONG(RGB(0x33, 0x22, 0x11)));
  // And GDI drawing lands in the picture too.
  SetPixel(plat::ToHandle<HDC>(uint32_t(dc)), 5, 7, RGB(200, 100, 50));
  EXPECT_EQ(c.GetPixel(5, 7), LONG(RGB(200, 100, 50)));
  EXPECT_EQ(c.ReleaseImageDC(), status::kOk);
  EXPECT_EQ(c.ReleaseImageDC(), status::kInvalidArgument);
}

TEST(ImageDc, DrawingThroughTheDcNeverShowsInAnotherHolder) {
  ImagingCore shown, saver;
  Give(shown, Flat(32, 16, 24, 9, 9, 9));
  const LONG h = shown.GetBitmap();
  ASSERT_EQ(saver.SetBitmap(h), status::kOk);
  const LONG dc = saver.GetImageDC();
  ASSERT_NE(dc, 0);
  EXPECT_NE(saver.GetBitmap(), h);  // the saver draws on its own copy
  RECT r{0, 0, 8, 8};
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  FillRect(plat::ToHandle<HDC>(uint32_t(dc)), &r, red);
  DeleteObject(red);
  EXPECT_EQ(saver.GetPixel(2, 2), LONG(RGB(255, 0, 0)));
  EXPECT_EQ(shown.GetPixel(2, 2), LONG(RGB(9, 9, 9)));
  EXPECT_EQ(saver.ReleaseImageDC(), status::kOk);
}

TEST(ImageDc, GreyPicturesShowTheirGreyTable) {
  ImagingCore c;
  Give(c, Flat(8, 8, 8, 77));
  const LONG dc = c.GetImageDC();
  ASSERT_NE(dc, 0);
  EXPECT_EQ(SelectedBitmap(dc).bmBitsPixel, 8);
  EXPECT_EQ(GetPixel(plat::ToHandle<HDC>(uint32_t(dc)), 3, 3), RGB(77, 77, 77));
  EXPECT_EQ(c.ReleaseImageDC(), status::kOk);
}

TEST(ImageDc, MemoryOutlivesThePictureWhileTheDcIsOpen) {
  ImagingCore c;
  Give(c, Flat(16, 16, 24, 1));
  const LONG dc = c.GetImageDC();
  ASSERT_NE(dc, 0);
  void* bits = SelectedBitmap(dc).bmBits;
  ASSERT_EQ(c.SetBitmap(0), status::kOk);  // the picture is gone from the store
  std::memset(bits, 0x5A, 16 * 3);          // still writable, no one else's memory
  EXPECT_EQ(c.ReleaseImageDC(), status::kOk);
}

TEST(ImageDc, NoPictureOrAFaultGivesNoDc) {
  ImagingCore empty;
  EXPECT_EQ(empty.GetImageDC(), 0);
  ImagingCore c;
  Give(c, Flat(4, 4, 24, 1));
  plat::faults::Scope f("imaging.GetImageDC", 1);
  EXPECT_EQ(c.GetImageDC(), 0);
}

TEST(ImageDc, RenderDrawsThePictureStretchedIntoTheRectangle) {
  Dib small = Flat(2, 2, 24, 0);
  SetPixel(small, 0, 0, 0, 0, 255);  // red top left
  SetPixel(small, 1, 1, 255, 0, 0);  // blue bottom right
  ImagingCore source, page;
  Give(source, small);
  Give(page, Flat(8, 8, 24, 255, 255, 255));
  const LONG dc = page.GetImageDC();
  ASSERT_NE(dc, 0);
  ASSERT_EQ(source.RenderToDC(plat::ToHandle<HDC>(uint32_t(dc)), 2, 2, 4, 4), status::kOk);
  ASSERT_EQ(page.ReleaseImageDC(), status::kOk);
  EXPECT_EQ(page.GetPixel(1, 1), LONG(RGB(255, 255, 255)));
  EXPECT_EQ(page.GetPixel(2, 2), LONG(RGB(255, 0, 0)));
  EXPECT_EQ(page.GetPixel(3, 3), LONG(RGB(255, 0, 0)));
  EXPECT_EQ(page.GetPixel(4, 2), LONG(RGB(0, 0, 0)));
  EXPECT_EQ(page.GetPixel(5, 5), LONG(RGB(0, 0, 255)));
  EXPECT_EQ(page.GetPixel(6, 6), LONG(RGB(255, 255, 255)));
  EXPECT_EQ(source.RenderToDC(nullptr, 0, 0, 4, 4), status::kInvalidArgument);
  ImagingCore empty;
  EXPECT_EQ(empty.RenderToDC(plat::ToHandle<HDC>(uint32_t(dc)), 0, 0, 4, 4), status::kNoImage);
}
