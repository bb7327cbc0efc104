#include <cstring>

#include "ControlFixture.h"

namespace controls_test {
namespace {

class StatusBars : public ControlTest {
 protected:
  HWND MakeBar(DWORD style = 0) { return Make(STATUSCLASSNAME, style, 59393, "", {0, 0, 10, 10}); }
  RECT InParent(HWND h) {
    RECT r;
    GetWindowRect(h, &r);
    MapWindowPoints(nullptr, parent_, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  static RECT PartRect(HWND bar, int part) {
    RECT r{};
    EXPECT_TRUE(SendMessageA(bar, SB_GETRECT, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(&r)));
    return r;
  }
};

TEST_F(StatusBars, PartsKeepTheirTextTypeAndPlace) {
  HWND bar = MakeBar();
  const int edges[] = {100, 220, -1};
  ASSERT_TRUE(SendMessageA(bar, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges)));
  int got[4] = {};
  EXPECT_EQ(SendMessageA(bar, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(got)), 3);
  EXPECT_EQ(std::vector<int>(got, got + 3), std::vector<int>(edges, edges + 3));
  struct Case {
    int part;
    UINT type;
    const char* text;
  } cases[] = {
      {0, 0, "準備完了"},
      {1, SBT_NOBORDERS, "  1-  5 /  12  Check:  3"},
      {2, SBT_POPOUT, "X : 0012   Y : 0034"},
      {SB_SIMPLEID, 0, "メニューの説明"},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(SendMessageA(bar, SB_SETTEXT, static_cast<WPARAM>(c.part) | c.type, reinterpret_cast<LPARAM>(c.text)));
    LRESULT length = SendMessageA(bar, SB_GETTEXTLENGTH, static_cast<WPARAM>(c.part), 0);
    EXPECT_EQ(LOWORD(length), std::strlen(c.text)) << c.part;
    EXPECT_EQ(HIWORD(length), c.type) << c.part;
    std::string buf(LOWORD(length) + 1, '?');
    EXPECT_EQ(SendMessageA(bar, SB_GETTEXT, static_cast<WPARAM>(c.part), reinterpret_cast<LPARAM>(buf.data())), length);
    EXPECT_STREQ(buf.c_str(), c.text);
  }
  // Part 0 is the window's text too.
  EXPECT_EQ(Text(bar), "準備完了");
  // Parts lie side by side; the last reaches the bar's end.
  RECT client;
  GetClientRect(bar, &client);
  RECT first = PartRect(bar, 0), second = PartRect(bar, 1), last = PartRect(bar, 2);
  EXPECT_EQ(first.right, 100);
  EXPECT_GT(second.left, first.right);
  EXPECT_EQ(second.right, 220);
  EXPECT_EQ(last.right, client.right);
  EXPECT_GT(first.bottom, first.top);
  // Parts beyond the row are refused; fewer parts keep the texts of those that stay.
  RECT r;
  EXPECT_FALSE(SendMessageA(bar, SB_SETTEXT, 3, reinterpret_cast<LPARAM>("x")));
  EXPECT_FALSE(SendMessageA(bar, SB_GETRECT, 3, reinterpret_cast<LPARAM>(&r)));
  EXPECT_FALSE(SendMessageA(bar, SB_SETPARTS, 0, reinterpret_cast<LPARAM>(edges)));
  ASSERT_TRUE(SendMessageA(bar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges)));
  EXPECT_EQ(SendMessageA(bar, SB_GETPARTS, 0, 0), 2);
  EXPECT_EQ(LOWORD(SendMessageA(bar, SB_GETTEXTLENGTH, 1, 0)), std::strlen(cases[1].text));
  EXPECT_EQ(SendMessageA(bar, SB_GETTEXTLENGTH, 2, 0), 0);
}

TEST_F(StatusBars, PlacesItselfAlongTheParentWhenTheParentSizes) {
  struct Case {
    DWORD style;
    bool bottom;  // else the top
  } cases[] = {{0, true}, {CCS_BOTTOM, true}, {CCS_TOP, false}};
  for (const Case& c : cases) {
    HWND bar = MakeBar(c.style);
    RECT pc;
    GetClientRect(parent_, &pc);
    RECT r = InParent(bar);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.right, pc.right);
    EXPECT_EQ(c.bottom ? r.bottom : r.top, c.bottom ? pc.bottom : 0) << c.style;
    // The parent grows and tells the bar, as frames do.
    SetWindowPos(parent_, nullptr, 0, 0, 500, 360, SWP_NOMOVE | SWP_NOZORDER);
    SendMessageA(bar, WM_SIZE, 0, 0);
    GetClientRect(parent_, &pc);
    r = InParent(bar);
    EXPECT_EQ(r.right, pc.right);
    EXPECT_EQ(c.bottom ? r.bottom : r.top, c.bottom ? pc.bottom : 0) << c.style;
    SetWindowPos(parent_, nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER);
    DestroyWindow(bar);
  }
  // A minimum height takes effect at the next size; CCS_NORESIZE leaves the bar alone.
  HWND bar = MakeBar();
  SendMessageA(bar, SB_SETMINHEIGHT, 40, 0);
  SendMessageA(bar, WM_SIZE, 0, 0);
  RECT r = InParent(bar);
  EXPECT_GE(r.bottom - r.top, 40);
  HWND fixed = Make(STATUSCLASSNAME, CCS_NORESIZE, 7, "", {5, 5, 105, 25});
  SendMessageA(fixed, WM_SIZE, 0, 0);
  r = InParent(fixed);
  EXPECT_EQ(r.left, 5);
  EXPECT_EQ(r.bottom, 25);
}

TEST_F(StatusBars, OwnerDrawnPartIsDrawnByTheParentWithItsData) {
  HWND bar = MakeBar();
  const int edges[] = {150, -1};
  SendMessageA(bar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
  ASSERT_TRUE(SendMessageA(bar, SB_SETTEXT, 1 | SBT_OWNERDRAW, 0x1234));
  EXPECT_EQ(SendMessageA(bar, SB_GETTEXT, 1, 0), 0x1234);
  Draws().clear();
  RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  ASSERT_EQ(Draws().size(), 1u);
  const DRAWITEMSTRUCT& di = Draws()[0];
  EXPECT_EQ(di.CtlID, 59393u);
  EXPECT_EQ(di.itemID, 1u);
  EXPECT_EQ(di.itemData, 0x1234u);
  EXPECT_EQ(di.hwndItem, bar);
  RECT part = PartRect(bar, 1);
  EXPECT_GE(di.rcItem.left, part.left);  // inside the part's edge
  EXPECT_LE(di.rcItem.right, part.right);
}

TEST_F(StatusBars, SimpleModeShowsOneTextAndKeepsTheParts) {
  HWND bar = MakeBar();
  const int edges[] = {100, -1};
  SendMessageA(bar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
  SendMessageA(bar, SB_SETTEXT, 1, reinterpret_cast<LPARAM>("12:00"));
  Events().clear();
  SendMessageA(bar, SB_SIMPLE, TRUE, 0);
  EXPECT_TRUE(SendMessageA(bar, SB_ISSIMPLE, 0, 0));
  EXPECT_EQ(Events(), (std::vector<std::string>{Event("notify", 59393, static_cast<int>(SBN_SIMPLEMODECHANGE))}));
  RECT client;
  GetClientRect(bar, &client);
  EXPECT_EQ(PartRect(bar, 0).right, client.right);
  SendMessageA(bar, SB_SIMPLE, FALSE, 0);
  EXPECT_EQ(PartRect(bar, 0).right, 100);
  char buf[16];
  SendMessageA(bar, SB_GETTEXT, 1, reinterpret_cast<LPARAM>(buf));
  EXPECT_STREQ(buf, "12:00");
}

TEST_F(StatusBars, SizeGripSizesASizableParent) {
  SetWindowLongA(parent_, GWL_STYLE, GetWindowLongA(parent_, GWL_STYLE) | WS_THICKFRAME);
  SetWindowPos(parent_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  HWND bar = MakeBar(SBARS_SIZEGRIP);
  RECT before, client;
  GetWindowRect(parent_, &before);
  GetClientRect(bar, &client);
  EXPECT_LT(PartRect(bar, 0).right, client.right);  // the grip keeps its corner
  Drag(bar, {client.right - 4, client.bottom - 4}, {client.right + 36, client.bottom + 26});
  RECT after;
  GetWindowRect(parent_, &after);
  EXPECT_EQ(after.right - before.right, 40);
  EXPECT_EQ(after.bottom - before.bottom, 30);
  EXPECT_EQ(after.left, before.left);
}

}  // namespace
}  // namespace controls_test
