#include <gtest/gtest.h>

#include <thread>

#include "Clock.h"
#include "Config.h"
#include "Faults.h"
#include "HandleTable.h"
#include "KernelObject.h"
#include "windows.h"

namespace {

struct Thing {
  int value;
};

TEST(HandleTable, IdsArePositiveAndCarryTheirKind) {
  plat::HandleTable<Thing> table(plat::HandleKind::Gdi);
  uint32_t id = table.Insert(std::make_shared<Thing>(Thing{7}));
  ASSERT_NE(id, 0u);
  EXPECT_GT(static_cast<LONG>(id), 0);
  EXPECT_EQ(plat::HandleIdKind(id), plat::HandleKind::Gdi);
  EXPECT_EQ(table.Find(id)->value, 7);
  // The same id survives a round trip through a LONG and a pointer-typed handle.
  LONG asLong = static_cast<LONG>(id);
  HBITMAP h = plat::ToHandle<HBITMAP>(static_cast<uint32_t>(asLong));
  EXPECT_EQ(plat::HandleId(h), id);
}

TEST(HandleTable, StaleAndForeignIdsAreRefused) {
  plat::HandleTable<Thing> gdi(plat::HandleKind::Gdi);
  plat::HandleTable<Thing> windows(plat::HandleKind::Window);
  uint32_t id = gdi.Insert(std::make_shared<Thing>(Thing{1}));
  EXPECT_EQ(windows.Find(id), nullptr);
  ASSERT_NE(gdi.Remove(id), nullptr);
  EXPECT_EQ(gdi.Find(id), nullptr);
  EXPECT_EQ(gdi.Remove(id), nullptr);
  // Reusing slots never revives the old id.
  for (int i = 0; i < 500; ++i) {
    uint32_t other = gdi.Insert(std::make_shared<Thing>(Thing{i}));
    EXPECT_NE(other, id);
    gdi.Remove(other);
  }
  EXPECT_EQ(gdi.Find(0), nullptr);
  EXPECT_EQ(gdi.Find(0xFFFFFFFFu), nullptr);
  EXPECT_EQ(gdi.Size(), 0u);
}

TEST(KernelObject, CloseTwiceFailsWithInvalidHandle) {
  HANDLE h = plat::InsertKernelObject(std::make_shared<plat::KernelObject>());
  ASSERT_NE(h, nullptr);
  EXPECT_TRUE(plat::CloseKernelHandle(h));
  SetLastError(0);
  EXPECT_FALSE(plat::CloseKernelHandle(h));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_FALSE(plat::CloseKernelHandle(INVALID_HANDLE_VALUE));
}

TEST(KernelObject, DevicesAreFoundByNameWithoutRegardToCase) {
  plat::RegisterDevice("\\\\.\\CoreTest*", [](std::string_view, DWORD, DWORD, DWORD*) {
    return std::make_shared<plat::KernelObject>();
  });
  DWORD error = 0;
  EXPECT_NE(plat::OpenDevice("\\\\.\\coretest7", 0, 0, &error), nullptr);
  EXPECT_EQ(plat::OpenDevice("\\\\.\\Other", 0, 0, &error), nullptr);
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(LastError, IsPerThread) {
  SetLastError(5);
  std::thread([] {
    EXPECT_EQ(GetLastError(), 0u);
    SetLastError(9);
  }).join();
  EXPECT_EQ(GetLastError(), 5u);
}

TEST(Faults, SkipTimesAndScope) {
  plat::faults::Arm("core.test", 112, /*skip=*/2, /*times=*/2);
  std::vector<uint32_t> seen;
  for (int i = 0; i < 6; ++i) seen.push_back(plat::faults::Check("core.test"));
  EXPECT_EQ(seen, (std::vector<uint32_t>{0, 0, 112, 112, 0, 0}));
  EXPECT_EQ(plat::faults::Hits("core.test"), 6);
  {
    plat::faults::Scope scope("core.scope", 39);
    EXPECT_EQ(plat::faults::Check("core.scope"), 39u);
    EXPECT_EQ(plat::faults::Check("core.scope"), 39u);
  }
  EXPECT_EQ(plat::faults::Check("core.scope"), 0u);
  plat::faults::DisarmAll();
}

TEST(Clock, VirtualClockMovesOnSleepAndOnEveryRead) {
  plat::clock::UseVirtual(true, 1);
  int64_t t0 = plat::clock::NowMicros();
  plat::clock::SleepMicros(1'000'000);
  int64_t t1 = plat::clock::NowMicros();
  EXPECT_GE(t1 - t0, 1'000'000);
  EXPECT_LT(t1 - t0, 1'000'010);
  // A loop that only polls the clock still ends.
  int64_t deadline = plat::clock::NowMicros() + 5000;
  int polls = 0;
  while (plat::clock::NowMicros() < deadline) ++polls;
  EXPECT_LE(polls, 5000);
  plat::clock::UseVirtual(false);
}

TEST(Clock, WallTimeCanBePinned) {
  plat::clock::PinWall(1'000'000'000'000'000);
  EXPECT_EQ(plat::clock::WallMicros(), 1'000'000'000'000'000);
  plat::clock::PinWall(std::nullopt);
  EXPECT_GT(plat::clock::WallMicros(), 1'600'000'000'000'000);
}

TEST(Config, OverridesWinOverTheEnvironment) {
  setenv("LUMORA_CORETEST_KEY", "12", 1);
  EXPECT_EQ(plat::config::GetInt("CORETEST_KEY", 0), 12);
  plat::config::Set("CORETEST_KEY", "0x20");
  EXPECT_EQ(plat::config::GetInt("CORETEST_KEY", 0), 32);
  plat::config::Set("CORETEST_KEY", "junk");
  EXPECT_EQ(plat::config::GetInt("CORETEST_KEY", 5), 5);
  plat::config::Set("CORETEST_KEY", std::nullopt);
  EXPECT_EQ(plat::config::Get("CORETEST_MISSING", "dflt"), "dflt");
}

}  // namespace
