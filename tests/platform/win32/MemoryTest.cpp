#include <gtest/gtest.h>

#include <cstring>

#include "BeepRecord.h"
#include "Faults.h"
#include "windows.h"

namespace {

TEST(Memory, GlobalBlockIsReachedThroughItsHandle) {
  HGLOBAL h = GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, 100);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(GlobalSize(h), 100u);
  auto* p = static_cast<unsigned char*>(GlobalLock(h));
  ASSERT_NE(p, nullptr);
  for (int i = 0; i < 100; ++i) ASSERT_EQ(p[i], 0) << i;
  std::memset(p, 0xAB, 100);
  EXPECT_EQ(GlobalHandle(p), h);
  EXPECT_EQ(GlobalLock(h), p);
  EXPECT_TRUE(GlobalUnlock(h));  // still locked once
  SetLastError(1);
  EXPECT_FALSE(GlobalUnlock(h));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(NO_ERROR));  // unlocked now, not an error
  EXPECT_FALSE(GlobalUnlock(h));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_LOCKED));
  EXPECT_EQ(GlobalFree(h), nullptr);
  // A freed handle is refused everywhere instead of reaching freed memory.
  EXPECT_EQ(GlobalLock(h), nullptr);
  EXPECT_EQ(GlobalSize(h), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(GlobalFree(h), h);
  EXPECT_EQ(GlobalHandle(p), nullptr);
}

TEST(Memory, ReAllocKeepsContentsAndHonoursTheLock) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 4);
  auto* p = static_cast<char*>(GlobalLock(h));
  std::memcpy(p, "abcd", 4);
  // Locked and not allowed to move: cannot grow.
  EXPECT_EQ(GlobalReAlloc(h, 64, 0), nullptr);
  EXPECT_EQ(GlobalSize(h), 4u);
  GlobalUnlock(h);
  EXPECT_EQ(GlobalReAlloc(h, 64, GMEM_ZEROINIT), h);
  EXPECT_EQ(GlobalSize(h), 64u);
  p = static_cast<char*>(GlobalLock(h));
  EXPECT_EQ(std::memcmp(p, "abcd", 4), 0);
  for (int i = 4; i < 64; ++i) ASSERT_EQ(p[i], 0) << i;
  EXPECT_EQ(GlobalReAlloc(h, 2, 0), h);  // shrinking stays in place, even locked
  EXPECT_EQ(GlobalSize(h), 2u);
  GlobalUnlock(h);
  GlobalFree(h);
}

TEST(Memory, AllocationFailuresAreReported) {
  {
    plat::faults::Scope fail("GlobalAlloc", ERROR_NOT_ENOUGH_MEMORY);
    EXPECT_EQ(GlobalAlloc(GMEM_FIXED, 16), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
  }
  // More than a Win32 program can hold.
  EXPECT_EQ(GlobalAlloc(GMEM_FIXED, SIZE_T(1) << 40), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
  HGLOBAL h = GlobalAlloc(GMEM_FIXED, 0);
  ASSERT_NE(h, nullptr);  // an empty block is still a block
  EXPECT_EQ(GlobalSize(h), 0u);
  EXPECT_EQ(GlobalReAlloc(h, SIZE_T(1) << 40, GMEM_MOVEABLE), nullptr);
  EXPECT_EQ(GlobalSize(h), 0u);
  GlobalFree(h);
}

TEST(Memory, VirtualRegionIsUsableLockableAndReleasedWhole) {
  auto* p = static_cast<unsigned char*>(VirtualAlloc(nullptr, 4096, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p[100], 0);
  p[4095] = 7;
  EXPECT_TRUE(VirtualLock(p, 4096));  // succeeds even where the host refuses to pin pages
  EXPECT_TRUE(VirtualUnlock(p, 4096));
  EXPECT_FALSE(VirtualLock(p + 4000, 200));  // runs past the region
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_ADDRESS));
  EXPECT_FALSE(VirtualFree(p, 4096, MEM_RELEASE));  // release takes size 0
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_TRUE(VirtualFree(p, 0, MEM_RELEASE));
  EXPECT_FALSE(VirtualFree(p, 0, MEM_RELEASE));
  EXPECT_FALSE(VirtualLock(p, 4096));
}

TEST(Memory, VirtualCallsRefuseBadRequestsAndInjectedFailures) {
  EXPECT_EQ(VirtualAlloc(nullptr, 0, MEM_COMMIT, PAGE_READWRITE), nullptr);
  EXPECT_EQ(VirtualAlloc(nullptr, 4096, MEM_COMMIT, 0x1234), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  {
    plat::faults::Scope fail("VirtualAlloc", ERROR_NOT_ENOUGH_MEMORY);
    EXPECT_EQ(VirtualAlloc(nullptr, 4096, MEM_COMMIT, PAGE_READWRITE), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
  }
  void* p = VirtualAlloc(nullptr, 4096, MEM_COMMIT, PAGE_READWRITE);
  {
    plat::faults::Scope fail("VirtualLock", 1453);
    EXPECT_FALSE(VirtualLock(p, 4096));
    EXPECT_EQ(GetLastError(), 1453u);
  }
  VirtualFree(p, 0, MEM_RELEASE);
}

TEST(Beeps, AreRecordedNotSounded) {
  plat::beeps::Take();
  EXPECT_TRUE(MessageBeep(MB_ICONEXCLAMATION));
  EXPECT_TRUE(MessageBeep(static_cast<UINT>(-1)));
  EXPECT_TRUE(Beep(1000, 0));
  EXPECT_FALSE(Beep(0, 0));  // below the speaker's range, still recorded
  auto beeps = plat::beeps::Take();
  ASSERT_EQ(beeps.size(), 4u);
  EXPECT_TRUE(beeps[0].messageBeep);
  EXPECT_EQ(beeps[0].type, static_cast<UINT>(MB_ICONEXCLAMATION));
  EXPECT_EQ(beeps[1].type, 0xFFFFFFFFu);
  EXPECT_FALSE(beeps[2].messageBeep);
  EXPECT_EQ(beeps[2].frequency, 1000u);
  EXPECT_EQ(beeps[3].frequency, 0u);
  EXPECT_TRUE(plat::beeps::Take().empty());
}

}  // namespace
