#include <gtest/gtest.h>

#include "Faults.h"
#include "WinError.h"
#include "rc/ResourceRegistry.h"
#include "user/DialogTemplate.h"
#include "windows.h"

namespace {

TEST(Quillon, LoadsByNameAndHoldsTheProgressTemplatesAndTexts) {
  HMODULE q = LoadLibraryA("Quillon");
  ASSERT_NE(q, nullptr);
  for (int id : {604, 605}) {
    const plat::rc::Entry* e = plat::rc::Find("Quillon", MAKEINTRESOURCEA(5), MAKEINTRESOURCEA(id));
    ASSERT_NE(e, nullptr) << id;
    auto t = plat::user::ParseDialogTemplate(e->data, e->size);
    ASSERT_TRUE(t) << id;
    bool hasCancel = false;
    for (auto& item : t->items) hasCancel = hasCancel || item.id == IDCANCEL;
    EXPECT_TRUE(hasCancel) << id;
  }
  EXPECT_EQ(plat::rc::LoadString("Quillon", 21).value_or(""), "読み出し");
  EXPECT_EQ(plat::rc::LoadString("Quillon", 22).value_or(""), "合成");
  EXPECT_EQ(plat::rc::LoadString("Quillon", 23).value_or(""), "画像処理");
  EXPECT_TRUE(FreeLibrary(q));
}

TEST(Quillon, AFailedLoadIsReportedNotFatal) {
  plat::faults::Scope missing("LoadLibrary", ERROR_MOD_NOT_FOUND);
  SetLastError(0);
  EXPECT_EQ(LoadLibraryA("Quillon"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

}  // namespace
