// The check list box: each item's check state beside the caller's own item data, a click
// on the box or the space bar toggles it and tells the parent, a click on the text only
// selects; deleting and inserting keep the other items' states.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "afxwin.h"
#include "user/Driver.h"

namespace {

namespace drv = plat::user::driver;

// The parent keeps every command notification of the list (code, item under the caret).
class Parent : public CWnd {
 public:
  std::vector<std::pair<UINT, int>> heard;
  CCheckListBox* list = nullptr;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COMMAND && LOWORD(wParam) == kListId)
      heard.emplace_back(HIWORD(wParam), list ? list->GetCurSel() : -1);
    return CWnd::WindowProc(message, wParam, lParam);
  }

 public:
  static constexpr UINT kListId = 300;
};

class CheckListBox : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "checks", WS_OVERLAPPED | WS_VISIBLE, 60, 60, 260, 220, nullptr, nullptr));
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | LBS_NOTIFY, CRect(10, 10, 200, 150), &parent,
                            Parent::kListId));
    parent.list = &list;
    for (const char* name : {"Standard", "Drawing", "Mine"}) list.AddString(name);
    for (int i = 0; i < 3; ++i) list.SetItemData(i, 0xE81B + i);
    drv::WaitIdle();
  }
  void TearDown() override {
    parent.DestroyWindow();
    drv::WaitIdle();
  }
  // A point of item `index` on the screen: on its box, or on its text.
  CPoint At(int index, bool onBox) const {
    CRect item;
    list.SendMessage(LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
    CPoint p = onBox ? CCheckListBox::BoxRect(item).CenterPoint() : CPoint(item.left + 60, item.CenterPoint().y);
    list.ClientToScreen(&p);
    return p;
  }
  std::vector<int> Checks() const {
    std::vector<int> checks;
    for (int i = 0; i < list.GetCount(); ++i) checks.push_back(list.GetCheck(i));
    return checks;
  }
  Parent parent;
  CCheckListBox list;
};

TEST_F(CheckListBox, ChecksLiveBesideTheCallersItemData) {
  list.SetCheck(0, 1);
  list.SetCheck(2, 2);
  EXPECT_EQ(Checks(), (std::vector<int>{1, 0, 2}));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(list.GetItemData(i), static_cast<DWORD_PTR>(0xE81B + i));
  // An item goes and one comes in its place: the others keep their states and data.
  list.DeleteString(1);
  EXPECT_EQ(Checks(), (std::vector<int>{1, 2}));
  ASSERT_EQ(list.InsertString(1, "Renamed"), 1);
  list.SetItemData(1, 0xE820);
  EXPECT_EQ(Checks(), (std::vector<int>{1, 0, 2}));
  EXPECT_EQ(list.GetItemData(1), static_cast<DWORD_PTR>(0xE820));
  EXPECT_EQ(list.GetItemData(2), static_cast<DWORD_PTR>(0xE81D));
  // Out of range: nothing checked, nothing changed.
  list.SetCheck(7, 1);
  EXPECT_EQ(list.GetCheck(7), 0);
  list.ResetContent();
  EXPECT_EQ(list.GetCount(), 0);
}

TEST_F(CheckListBox, AClickOnTheBoxTogglesItAndTellsTheParent) {
  const CPoint box = At(1, true);
  drv::Click(box.x, box.y);
  drv::WaitIdle();
  EXPECT_EQ(Checks(), (std::vector<int>{0, 1, 0}));
  EXPECT_EQ(list.GetCurSel(), 1);
  // The parent hears the selection first, then the change, with the item already current.
  ASSERT_FALSE(parent.heard.empty());
  EXPECT_EQ(parent.heard.back(), std::make_pair(static_cast<UINT>(CLBN_CHKCHANGE), 1));

  parent.heard.clear();
  const CPoint text = At(2, false);
  drv::Click(text.x, text.y);  // the text only selects
  drv::WaitIdle();
  EXPECT_EQ(Checks(), (std::vector<int>{0, 1, 0}));
  EXPECT_EQ(list.GetCurSel(), 2);
  for (const auto& [code, item] : parent.heard) EXPECT_NE(code, static_cast<UINT>(CLBN_CHKCHANGE));

  drv::PressKey(VK_SPACE);  // the space bar toggles the current item
  drv::WaitIdle();
  EXPECT_EQ(Checks(), (std::vector<int>{0, 1, 1}));
  EXPECT_EQ(parent.heard.back(), std::make_pair(static_cast<UINT>(CLBN_CHKCHANGE), 2));
  drv::Click(box.x, box.y);
  drv::WaitIdle();
  EXPECT_EQ(Checks(), (std::vector<int>{0, 0, 1}));
}

TEST_F(CheckListBox, ItemsAreTallEnoughForTheirBoxes) {
  EXPECT_GE(list.GetItemHeight(0), CCheckListBox::kBoxSize + 2);
  CRect item;
  list.SendMessage(LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
  const CRect box = CCheckListBox::BoxRect(item);
  EXPECT_GE(box.top, item.top);
  EXPECT_LE(box.bottom, item.bottom);
  EXPECT_EQ(box.Width(), CCheckListBox::kBoxSize);
}

}  // namespace
