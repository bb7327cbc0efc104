#include <cstdio>
#include <functional>

#include "ControlFixture.h"

namespace controls_test {
namespace {

class ListBoxes : public ControlTest {};

std::string ItemText(HWND list, int i) {
  char buf[64] = {};
  SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf));
  return buf;
}

TEST_F(ListBoxes, SortedItemsWithDataAndSearch) {
  HWND l = Make("ListBox", LBS_SORT | LBS_NOTIFY, 60, "", {10, 10, 150, 120});
  for (const char* t : {"pear", "Apple", "fig"}) SendMessageA(l, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t));
  EXPECT_EQ(ItemText(l, 0), "Apple");
  EXPECT_EQ(ItemText(l, 2), "pear");
  EXPECT_EQ(SendMessageA(l, LB_INSERTSTRING, 1, reinterpret_cast<LPARAM>("kiwi")), 1);  // insert keeps its place
  EXPECT_EQ(SendMessageA(l, LB_SETITEMDATA, 1, 77), TRUE);
  EXPECT_EQ(SendMessageA(l, LB_GETITEMDATA, 1, 0), 77);
  EXPECT_EQ(SendMessageA(l, LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("F")), 2);
  EXPECT_EQ(SendMessageA(l, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("fi")), LB_ERR);
  EXPECT_EQ(SendMessageA(l, LB_GETITEMDATA, 9, 0), LB_ERR);
  EXPECT_EQ(SendMessageA(l, LB_DELETESTRING, 0, 0), 3);
  EXPECT_EQ(SendMessageA(l, LB_GETTEXTLEN, 0, 0), 4);
}

TEST_F(ListBoxes, MouseAndKeysSelectAndNotify) {
  HWND l = Make("ListBox", LBS_NOTIFY, 61, "", {10, 10, 150, 120});
  for (const char* t : {"a", "b", "c", "d"}) SendMessageA(l, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t));
  SendMessageA(l, LB_SETCURSEL, 0, 0);
  EXPECT_TRUE(Events().empty());  // the program's selection is not reported
  RECT r;
  SendMessageA(l, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&r));
  Click(l, r.left + 5, r.top + 2);
  EXPECT_EQ(SendMessageA(l, LB_GETCURSEL, 0, 0), 2);
  Press(VK_DOWN);
  EXPECT_EQ(SendMessageA(l, LB_GETCURSEL, 0, 0), 3);
  std::vector<std::string> changes;
  for (auto& e : Events())
    if (e == "cmd 61 1") changes.push_back(e);
  EXPECT_EQ(changes.size(), 2u);
}

TEST_F(ListBoxes, ExtendedSelectionWithShiftAndControl) {
  HWND l = Make("ListBox", LBS_EXTENDEDSEL | LBS_NOTIFY, 62, "", {10, 10, 150, 150});
  for (const char* t : {"a", "b", "c", "d", "e"}) SendMessageA(l, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t));
  auto at = [&](int i) {
    RECT r;
    SendMessageA(l, LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    return POINT{r.left + 5, r.top + 2};
  };
  Click(l, at(1).x, at(1).y);
  plat::user::input::Key(VK_SHIFT, true);
  Click(l, at(3).x, at(3).y);
  plat::user::input::Key(VK_SHIFT, false);
  plat::user::input::Key(VK_CONTROL, true);
  Click(l, at(2).x, at(2).y);  // control toggles one item
  plat::user::input::Key(VK_CONTROL, false);
  plat::user::driver::WaitIdle();
  int items[8] = {};
  ASSERT_EQ(SendMessageA(l, LB_GETSELITEMS, 8, reinterpret_cast<LPARAM>(items)), 2);
  EXPECT_EQ(items[0], 1);
  EXPECT_EQ(items[1], 3);
  EXPECT_EQ(SendMessageA(l, LB_SETCURSEL, 0, 0), LB_ERR);  // not for multiple selection
}

TEST_F(ListBoxes, OwnerDrawnVariableItemsAreMeasuredAndDrawnWithTheirData) {
  HWND l = Make("ListBox", LBS_OWNERDRAWVARIABLE, 63, "", {10, 10, 150, 150});
  SendMessageA(l, LB_ADDSTRING, 0, 11);
  SendMessageA(l, LB_ADDSTRING, 0, 22);
  EXPECT_EQ(SendMessageA(l, LB_GETITEMDATA, 1, 0), 22);  // without strings the value is the data
  UpdateWindow(l);
  ASSERT_EQ(Draws().size(), 2u);
  EXPECT_EQ(Draws()[1].CtlType, static_cast<UINT>(ODT_LISTBOX));
  EXPECT_EQ(Draws()[1].itemID, 1u);
  EXPECT_EQ(Draws()[1].itemData, 22u);
  EXPECT_EQ(Draws()[1].rcItem.top, Draws()[0].rcItem.bottom);
}

// A list's vertical bar in screen coordinates: its middle column, the middles of its
// arrows and the ends of the track between them.
struct VerticalBar {
  int x, up, down, trackTop, trackBottom;
};

VerticalBar BarOf(HWND list) {
  RECT c;
  GetClientRect(list, &c);
  POINT origin{0, 0};
  ClientToScreen(list, &origin);
  const int thick = GetSystemMetrics(SM_CXVSCROLL);
  const int top = origin.y, bottom = origin.y + c.bottom;
  return {origin.x + c.right + thick / 2, top + thick / 2, bottom - thick / 2 - 1, top + thick, bottom - thick};
}

int TopIndex(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0)); }

void AddItems(HWND control, UINT message, int count) {
  for (int i = 0; i < count; ++i) {
    char text[16];
    std::snprintf(text, sizeof text, "item %02d", i);
    SendMessageA(control, message, 0, reinterpret_cast<LPARAM>(text));
  }
}

TEST_F(ListBoxes, ALongListScrollsByItsBarAndTheWheel) {
  HWND l = Make("ListBox", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER, 64, "", {10, 10, 150, 130});
  EXPECT_FALSE(GetWindowLongA(l, GWL_STYLE) & WS_VSCROLL) << "an empty list shows no bar";
  AddItems(l, LB_ADDSTRING, 40);
  ASSERT_TRUE(GetWindowLongA(l, GWL_STYLE) & WS_VSCROLL);
  RECT client;
  GetClientRect(l, &client);
  const int item = static_cast<int>(SendMessageA(l, LB_GETITEMHEIGHT, 0, 0));
  const int rows = client.bottom / item, last = 40 - rows;
  ASSERT_GT(last, 6);
  Click(l, 20, item / 2);  // the list takes the focus, and with it the wheel
  const VerticalBar bar = BarOf(l);
  const int inThumb = bar.trackTop + 3;  // a thumb at the top is at least 8 high
  const struct {
    const char* what;
    std::function<void()> act;
    int top;
  } steps[] = {
      {"down arrow", [&] { plat::user::driver::Click(bar.x, bar.down); }, 1},
      {"up arrow", [&] { plat::user::driver::Click(bar.x, bar.up); }, 0},
      {"page below the thumb", [&] { plat::user::driver::Click(bar.x, bar.trackBottom - 2); }, rows - 1},
      {"page above the thumb", [&] { plat::user::driver::Click(bar.x, bar.trackTop + 1); }, 0},
      {"thumb dragged to the end",
       [&] { plat::user::driver::Drag({bar.x, inThumb}, {bar.x, bar.down + 20}); }, last},
      {"wheel away from the user", [&] { plat::user::input::Wheel(1); }, last - 3},
      {"wheel towards the user", [&] { plat::user::input::Wheel(-2); }, last},
  };
  for (const auto& step : steps) {
    step.act();
    plat::user::driver::WaitIdle();
    EXPECT_EQ(TopIndex(l), step.top) << step.what;
    SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, 0, 0};
    GetScrollInfo(l, SB_VERT, &si);
    EXPECT_EQ(si.nPos, step.top) << "the thumb follows: " << step.what;
  }
  plat::user::input::Wheel(1);
  plat::user::driver::WaitIdle();
  // The first row shown is the item a click there picks.
  Click(l, 20, item / 2);
  EXPECT_EQ(SendMessageA(l, LB_GETCURSEL, 0, 0), last - 3);
}

class ComboBoxes : public ControlTest {};

TEST_F(ComboBoxes, ADroppedListScrollsByItsBarAndTheWheel) {
  HWND c = Make("ComboBox", CBS_DROPDOWNLIST | WS_VSCROLL, 75, "", {10, 10, 150, 110});
  AddItems(c, CB_ADDSTRING, 30);
  Click(c, 20, 8);
  ASSERT_TRUE(SendMessageA(c, CB_GETDROPPEDSTATE, 0, 0));
  RECT wr;
  GetWindowRect(c, &wr);
  HWND list = WindowFromPoint(POINT{wr.left + 5, wr.bottom + 5});
  ASSERT_TRUE(GetWindowLongA(list, GWL_STYLE) & WS_VSCROLL) << "the drop list has the combo's bar";
  plat::user::driver::Click(BarOf(list).x, BarOf(list).down);
  plat::user::driver::WaitIdle();
  EXPECT_TRUE(SendMessageA(c, CB_GETDROPPEDSTATE, 0, 0)) << "a press on the bar keeps the list down";
  EXPECT_EQ(TopIndex(list), 1);
  plat::user::input::Wheel(-1);
  plat::user::driver::WaitIdle();
  EXPECT_EQ(TopIndex(list), 4);
  // The first row shown is the one picked.
  const int item = static_cast<int>(SendMessageA(c, CB_GETITEMHEIGHT, 0, 0));
  plat::user::driver::Click(wr.left + 20, wr.bottom + 1 + item / 2);
  plat::user::driver::WaitIdle();
  EXPECT_FALSE(SendMessageA(c, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(SendMessageA(c, CB_GETCURSEL, 0, 0), 4);
  EXPECT_EQ(Text(c), "item 04");
}

TEST_F(ComboBoxes, DropListPicksWithTheMouseInWindowsOrder) {
  HWND c = Make("ComboBox", CBS_DROPDOWNLIST | WS_VSCROLL, 70, "", {10, 10, 150, 150});
  for (const char* t : {"一", "二", "三"}) SendMessageA(c, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t));
  SendMessageA(c, CB_SETCURSEL, 0, 0);
  RECT wr;
  GetWindowRect(c, &wr);
  EXPECT_LT(wr.bottom - wr.top, 40);  // the template height is the dropped height
  Events().clear();
  Click(c, 20, 8);
  EXPECT_TRUE(SendMessageA(c, CB_GETDROPPEDSTATE, 0, 0));
  RECT drop;
  SendMessageA(c, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&drop));
  EXPECT_EQ(drop.bottom - drop.top, 140);
  // The list hangs below the combo; click its third item.
  int item = static_cast<int>(SendMessageA(c, CB_GETITEMHEIGHT, 0, 0));
  POINT p{wr.left + 20, wr.bottom + 1 + item * 2 + item / 2};
  plat::user::driver::Click(p.x, p.y);
  plat::user::driver::WaitIdle();
  EXPECT_FALSE(SendMessageA(c, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(SendMessageA(c, CB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(Events(), (std::vector<std::string>{"cmd 70 3", "cmd 70 7", "cmd 70 9", "cmd 70 8", "cmd 70 1"}));
  EXPECT_EQ(Text(c), "三");
}

TEST_F(ComboBoxes, KeysChangeTheSelectionAndEscapeRestoresIt) {
  HWND c = Make("ComboBox", CBS_DROPDOWNLIST, 71, "", {10, 10, 150, 150});
  for (const char* t : {"a", "b", "c"}) SendMessageA(c, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t));
  SetFocus(c);
  Events().clear();
  Press(VK_DOWN);  // closed: the first item, reported at once
  Press(VK_DOWN);
  EXPECT_EQ(SendMessageA(c, CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(Events(), (std::vector<std::string>{"cmd 71 1", "cmd 71 1"}));
  Press(VK_F4);
  EXPECT_TRUE(SendMessageA(c, CB_GETDROPPEDSTATE, 0, 0));
  Press(VK_DOWN);
  EXPECT_EQ(SendMessageA(c, CB_GETCURSEL, 0, 0), 2);
  Press(VK_ESCAPE);
  EXPECT_FALSE(SendMessageA(c, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(SendMessageA(c, CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(Events().back(), "cmd 71 8");  // CBN_CLOSEUP
}

TEST_F(ComboBoxes, DropDownEditReportsTypingButNotTheProgramsText) {
  HWND c = Make("ComboBox", CBS_DROPDOWN, 72, "", {10, 10, 150, 150});
  HWND other = Make("Edit", ES_AUTOHSCROLL, 73, "", {10, 200, 150, 224});
  SendMessageA(c, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("alpha"));
  SendMessageA(c, CB_SETCURSEL, 0, 0);
  EXPECT_EQ(Text(c), "alpha");
  Events().clear();
  SetFocus(c);
  Press(VK_END);
  Type("x");
  EXPECT_EQ(Text(c), "alphax");
  SetFocus(other);
  std::vector<std::string> fromCombo;
  for (auto& e : Events())
    if (e.rfind("cmd 72 ", 0) == 0) fromCombo.push_back(e);
  // CBN_SETFOCUS, CBN_EDITUPDATE, CBN_EDITCHANGE, CBN_KILLFOCUS
  EXPECT_EQ(fromCombo, (std::vector<std::string>{"cmd 72 3", "cmd 72 6", "cmd 72 5", "cmd 72 4"}));
}

TEST_F(ComboBoxes, OwnerDrawnFixedItemsCarryTheirData) {
  HWND c = Make("ComboBox", CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED, 74, "", {10, 10, 150, 150});
  for (LPARAM v = 1; v <= 4; ++v) SendMessageA(c, CB_ADDSTRING, 0, v);
  SendMessageA(c, CB_SETCURSEL, 2, 0);
  EXPECT_EQ(SendMessageA(c, CB_GETITEMDATA, 2, 0), 3);
  Draws().clear();
  UpdateWindow(c);
  ASSERT_FALSE(Draws().empty());
  const DRAWITEMSTRUCT& field = Draws().back();
  EXPECT_EQ(field.CtlType, static_cast<UINT>(ODT_COMBOBOX));
  EXPECT_EQ(field.itemID, 2u);
  EXPECT_EQ(field.itemData, 3u);
  EXPECT_TRUE(field.itemState & ODS_COMBOBOXEDIT);
  EXPECT_EQ(field.hwndItem, c);
  // The dropped list draws its items as the combo's.
  Draws().clear();
  SendMessageA(c, CB_SHOWDROPDOWN, TRUE, 0);
  plat::user::driver::WaitIdle();
  bool listItem = false;
  for (const auto& d : Draws())
    if (!(d.itemState & ODS_COMBOBOXEDIT) && d.itemID == 3 && d.itemData == 4 && d.hwndItem == c) listItem = true;
  EXPECT_TRUE(listItem);
  SendMessageA(c, CB_SHOWDROPDOWN, FALSE, 0);
}

}  // namespace
}  // namespace controls_test
