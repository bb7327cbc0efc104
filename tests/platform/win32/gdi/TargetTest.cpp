#include <gtest/gtest.h>

#include "GdiTestSupport.h"
#include "gdi/DeviceContext.h"

namespace {

// A window-like target: a 10x6 surface, device (0, 0) at surface (3, 1), and only a
// 4x3 part of it visible (device coordinates), as a partly covered window would be.
struct WindowTarget : plat::gdi::DrawTarget {
  WindowTarget() : pixels(10 * 6, 0) {}
  plat::gdi::Surface Pixels() override {
    plat::gdi::Surface s;
    s.bits = reinterpret_cast<uint8_t*>(pixels.data());
    s.width = 10;
    s.height = 6;
    s.stride = 40;
    return s;
  }
  // A window manager answers these under its own lock: never while the target is locked.
  POINT Origin() const override {
    askedWhileLocked += depth != 0;
    return {3, 1};
  }
  plat::gdi::Region Visible() const override {
    askedWhileLocked += depth != 0;
    return plat::gdi::Region(RECT{-1, 0, 3, 3});
  }
  void Changed(const RECT& r) override {
    changed.push_back(r);
    changedUnlocked += depth == 0;
  }
  void Lock() override { ++depth, ++locks; }
  void Unlock() override { --depth; }
  bool Caps(int index, int& value) const override {
    if (index != LOGPIXELSX) return false;
    value = 300;
    return true;
  }
  std::string Art() const {
    std::string s;
    for (int y = 0; y < 6; ++y) {
      for (int x = 0; x < 10; ++x) s += pixels[size_t(y * 10 + x)] ? '#' : '.';
      s += '\n';
    }
    return s;
  }
  std::vector<uint32_t> pixels;
  std::vector<RECT> changed;
  int depth = 0, locks = 0, changedUnlocked = 0;
  mutable int askedWhileLocked = 0;
};

TEST(Target, DrawsThroughTheOriginAndOnlyOnTheVisiblePart) {
  auto target = std::make_shared<WindowTarget>();
  HDC dc = plat::gdi::CreateDcOn(target);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(GetObjectType(dc), DWORD(OBJ_DC));
  PatBlt(dc, -10, -10, 100, 100, WHITENESS);
  EXPECT_EQ(target->Art(),
            "..........\n"
            "..####....\n"
            "..####....\n"
            "..####....\n"
            "..........\n"
            "..........\n");
  ASSERT_FALSE(target->changed.empty());
  EXPECT_EQ(target->changed.back().left, 0);  // surface coordinates, within the surface
  EXPECT_EQ(target->changed.back().right, 10);
  RECT box{};
  EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
  EXPECT_EQ(box.left, -1);
  EXPECT_EQ(box.bottom, 3);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(dc, 0, 4), CLR_INVALID);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 300);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 96);
  // A blt from the target reads through its origin too.
  gditest::Canvas copy(2, 1);
  BitBlt(copy.dc, 0, 0, 2, 1, dc, 2, 0, SRCCOPY);
  EXPECT_EQ(copy.At(0, 0), 0xFFFFFFu);
  EXPECT_EQ(copy.At(1, 0), 0u);
  // Every write happened under the target's lock, and every lock was given back.
  POINT line[] = {{0, 0}, {2, 2}, {0, 2}};
  Polygon(dc, line, 3);
  SetPixel(dc, 1, 1, RGB(1, 1, 1));
  RECT edge{0, 0, 3, 3};
  DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT);
  DrawFrameControl(dc, &edge, DFC_CAPTION, DFCS_CAPTIONCLOSE);
  EXPECT_GT(target->locks, 3);
  EXPECT_EQ(target->depth, 0);
  EXPECT_EQ(target->changedUnlocked, 0);
  EXPECT_EQ(target->askedWhileLocked, 0);
  EXPECT_TRUE(DeleteDC(dc));
}

}  // namespace
