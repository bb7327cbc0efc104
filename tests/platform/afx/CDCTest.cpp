// CDC's hold on a device context: attaching can be made to fail, and a CDC that failed to
// attach holds nothing.
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

}  // namespace
