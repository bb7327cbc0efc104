#include "ControlFixture.h"

namespace controls_test {
namespace {

// A memory DC over a 24-bit bitmap filled with one colour.
class Canvas {
 public:
  Canvas(int w, int h, COLORREF fill) {
    HDC screen = GetDC(nullptr);
    bitmap_ = CreateCompatibleBitmap(screen, w, h);
    dc_ = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    old_ = SelectObject(dc_, bitmap_);
    HBRUSH b = CreateSolidBrush(fill);
    RECT r{0, 0, w, h};
    FillRect(dc_, &r, b);
    DeleteObject(b);
  }
  ~Canvas() {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
  }
  HDC Dc() const { return dc_; }
  // The bitmap alone, for adding to a list (it cannot stay selected meanwhile).
  HBITMAP Release() {
    SelectObject(dc_, old_);
    return bitmap_;
  }
  void Reselect() { SelectObject(dc_, bitmap_); }
  void Fill(RECT r, COLORREF c) {
    HBRUSH b = CreateSolidBrush(c);
    FillRect(dc_, &r, b);
    DeleteObject(b);
  }

 private:
  HBITMAP bitmap_;
  HDC dc_;
  HGDIOBJ old_;
};

const COLORREF kKey = RGB(255, 0, 255);

TEST(ImageLists, MaskedImagesShowWhatIsBehindTheirKeyColour) {
  HIMAGELIST list = ImageList_Create(8, 8, ILC_COLOR24 | ILC_MASK, 2, 2);
  ASSERT_NE(list, nullptr);
  // Two images on the key colour: a red square and a green one, each 4 x 4 at the corner.
  Canvas source(16, 8, kKey);
  source.Fill({0, 0, 4, 4}, RGB(200, 0, 0));
  source.Fill({8, 0, 12, 4}, RGB(0, 160, 0));
  EXPECT_EQ(ImageList_AddMasked(list, source.Release(), kKey), 0);
  source.Reselect();
  EXPECT_EQ(ImageList_GetImageCount(list), 2);
  int cx = 0, cy = 0;
  ASSERT_TRUE(ImageList_GetIconSize(list, &cx, &cy));
  EXPECT_EQ(cx, 8);
  EXPECT_EQ(cy, 8);
  Canvas target(20, 10, RGB(0, 0, 200));
  ASSERT_TRUE(ImageList_Draw(list, 1, target.Dc(), 10, 1, ILD_NORMAL));
  EXPECT_EQ(GetPixel(target.Dc(), 11, 2), RGB(0, 160, 0));
  EXPECT_EQ(GetPixel(target.Dc(), 16, 6), RGB(0, 0, 200));  // the key colour let the blue through
  EXPECT_EQ(GetPixel(target.Dc(), 1, 2), RGB(0, 0, 200));   // nothing drawn outside the image
  // Without a mask list the image is drawn whole; bad indexes and handles fail.
  HIMAGELIST plain = ImageList_Create(8, 8, ILC_COLOR24, 1, 1);
  EXPECT_EQ(ImageList_Add(plain, source.Release(), nullptr), 0);
  source.Reselect();
  ASSERT_TRUE(ImageList_Draw(plain, 0, target.Dc(), 0, 0, ILD_NORMAL));
  EXPECT_EQ(GetPixel(target.Dc(), 6, 6), kKey);
  EXPECT_FALSE(ImageList_Draw(plain, 2, target.Dc(), 0, 0, ILD_NORMAL));
  EXPECT_TRUE(ImageList_Remove(list, 0));
  EXPECT_EQ(ImageList_GetImageCount(list), 1);
  EXPECT_TRUE(ImageList_Destroy(list));
  EXPECT_FALSE(ImageList_Destroy(list));
  EXPECT_EQ(ImageList_GetImageCount(list), 0);
  EXPECT_FALSE(ImageList_Draw(list, 0, target.Dc(), 0, 0, ILD_NORMAL));
  EXPECT_EQ(ImageList_Create(0, 8, ILC_MASK, 1, 1), nullptr);
  ImageList_Destroy(plain);
}

}  // namespace
}  // namespace controls_test
