// CDC's hold on a device context: attaching can be made to fail, and a CDC that failed to
// attach holds nothing; a font goes into the DC that measures text as well.
#include <gtest/gtest.h>

#include "Faults.h"
#include "afxwin.h"

namespace {

TEST(CDC, AttachAndDetachAndAnAttachThatFails) {
  const HDC handle = CreateCompatibleDC(nullptr);
  ASSERT_NE(handle, nullptr);
  CDC dc;
  {
    plat::faults::Scope fault("CDC::Attach", ERROR_NOT_ENOUGH_MEMORY, 0, 1);
    EXPECT_FALSE(dc.Attach(handle));
    EXPECT_EQ(dc.m_hDC, nullptr);
    EXPECT_EQ(CDC::FromHandle(handle)->m_hDC, handle) << "a temporary object, not the failed one";
  }
  ASSERT_TRUE(dc.Attach(handle));
  EXPECT_EQ(CDC::FromHandle(handle), &dc);
  EXPECT_EQ(dc.Detach(), handle);
  EXPECT_EQ(dc.m_hDC, nullptr);
  EXPECT_TRUE(DeleteDC(handle));
}

// A DC that draws on one context and measures on another (as a preview draws on its page
// and measures on the printer) measures with the font selected into it.
TEST(CDC, FontsReachTheAttributeContext) {
  const HDC draw = CreateCompatibleDC(nullptr), measure = CreateCompatibleDC(nullptr);
  CDC dc;
  dc.m_hDC = draw;
  dc.m_hAttribDC = measure;
  const CSize before = dc.GetTextExtent("Caption");
  LOGFONTA big{};
  big.lfHeight = -4 * before.cy;
  CFont font;
  ASSERT_TRUE(font.CreateFontIndirect(&big));
  CFont* previous = dc.SelectObject(&font);
  ASSERT_NE(previous, nullptr);
  const CSize after = dc.GetTextExtent("Caption");
  EXPECT_GE(after.cy, 3 * before.cy);
  SIZE drawn{};
  GetTextExtentPoint32A(draw, "Caption", 7, &drawn);
  EXPECT_EQ(drawn.cy, after.cy) << "both contexts hold the font";
  dc.SelectObject(previous);
  EXPECT_EQ(dc.GetTextExtent("Caption"), before);
  dc.m_hDC = dc.m_hAttribDC = nullptr;
  DeleteDC(draw);
  DeleteDC(measure);
}

}  // namespace
