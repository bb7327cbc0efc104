// Default items, the highlight a popup's selection carries, check bitmaps and the
// owner-draw record of menu items.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "user/Driver.h"
#include "windows.h"

namespace {

namespace drv = plat::user::driver;

constexpr UINT kNone = static_cast<UINT>(-1);

// A popup: 10 "&Open", 11 grayed "&Save", separator, a popup "&More" holding 20 and 21.
struct Fixture {
  Fixture() {
    menu = CreatePopupMenu();
    more = CreatePopupMenu();
    AppendMenuA(more, MF_STRING, 20, "&First");
    AppendMenuA(more, MF_STRING, 21, "&Second");
    AppendMenuA(menu, MF_STRING, 10, "&Open");
    AppendMenuA(menu, MF_STRING | MF_GRAYED, 11, "&Save");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(more), "&More");
  }
  ~Fixture() { DestroyMenu(menu); }
  HMENU menu, more;
};

TEST(MenuDefaultItem, OneItemOfAMenuIsItsDefault) {
  Fixture f;
  EXPECT_EQ(GetMenuDefaultItem(f.menu, FALSE, 0), kNone);
  ASSERT_TRUE(SetMenuDefaultItem(f.menu, 10, FALSE));
  EXPECT_EQ(GetMenuDefaultItem(f.menu, FALSE, 0), 10u);
  EXPECT_EQ(GetMenuDefaultItem(f.menu, TRUE, 0), 0u);
  EXPECT_TRUE(GetMenuState(f.menu, 10, MF_BYCOMMAND) & MF_DEFAULT);
  // A second default takes the mark from the first.
  ASSERT_TRUE(SetMenuDefaultItem(f.menu, 3, TRUE));
  EXPECT_FALSE(GetMenuState(f.menu, 10, MF_BYCOMMAND) & MF_DEFAULT);
  EXPECT_EQ(GetMenuDefaultItem(f.menu, TRUE, 0), 3u);
  // -1 takes it away.
  ASSERT_TRUE(SetMenuDefaultItem(f.menu, kNone, FALSE));
  EXPECT_EQ(GetMenuDefaultItem(f.menu, TRUE, 0), kNone);
}

TEST(MenuDefaultItem, QueriesFollowTheirFlags) {
  struct Case {
    const char* name;
    UINT item;
    BOOL byPos;
    BOOL setOk;
    UINT flags;
    BOOL queryByPos;
    UINT expected;
  } cases[] = {
      {"by command", 10, FALSE, TRUE, 0, FALSE, 10},
      {"disabled default is no default", 11, FALSE, TRUE, 0, FALSE, kNone},
      {"unless disabled ones are asked for", 11, FALSE, TRUE, GMDI_USEDISABLED, TRUE, 1},
      {"a popup without a default of its own", 3, TRUE, TRUE, GMDI_GOINTOPOPUPS, TRUE, 3},
      {"an item of a submenu is not this menu's", 20, FALSE, FALSE, 0, FALSE, kNone},
      {"a position past the end", 9, TRUE, FALSE, 0, TRUE, kNone},
  };
  for (const Case& c : cases) {
    Fixture f;
    EXPECT_EQ(SetMenuDefaultItem(f.menu, c.item, c.byPos), c.setOk) << c.name;
    EXPECT_EQ(GetMenuDefaultItem(f.menu, c.queryByPos, c.flags), c.expected) << c.name;
  }
  // Into popups: the submenu's own default answers.
  Fixture f;
  SetMenuDefaultItem(f.menu, 3, TRUE);
  SetMenuDefaultItem(f.more, 21, FALSE);
  EXPECT_EQ(GetMenuDefaultItem(f.menu, FALSE, GMDI_GOINTOPOPUPS), 21u);
  EXPECT_EQ(GetMenuDefaultItem(f.menu, TRUE, 0), 3u);
  // A menu that is gone.
  HMENU gone = CreatePopupMenu();
  DestroyMenu(gone);
  EXPECT_FALSE(SetMenuDefaultItem(gone, 0, TRUE));
  EXPECT_EQ(GetMenuDefaultItem(gone, TRUE, 0), kNone);
}

// A window that draws its owner-drawn items and records what the menu loop shows it.
struct Owner {
  static inline std::vector<std::string> log;
  static inline HMENU tracked = nullptr;
  static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    switch (m) {
      case WM_MEASUREITEM: {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(l);
        mis->itemWidth = 60;
        mis->itemHeight = 20;
        return TRUE;
      }
      case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(l);
        log.push_back("draw " + std::to_string(dis->itemID) + (dis->hwndItem == reinterpret_cast<HWND>(tracked) ? " menu" : " ?") +
                      ((dis->itemState & ODS_DEFAULT) ? " default" : "") + ((dis->itemState & ODS_SELECTED) ? " selected" : ""));
        return TRUE;
      }
      case WM_ENTERIDLE:
        if (w == MSGF_MENU && l) {
          // What the menu says is highlighted, then one step on; Escape after three looks.
          std::string hilite = "hilite";
          for (int i = 0; i < GetMenuItemCount(tracked); ++i)
            if (GetMenuState(tracked, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE) hilite += " " + std::to_string(i);
          log.push_back(hilite);
          drv::PressKey(log.size() > 12 ? VK_ESCAPE : VK_DOWN);
        }
        return 0;
      default:
        return DefWindowProcA(h, m, w, l);
    }
  }
};

TEST(MenuDefaultItem, APopupsSelectionIsItsHighlightAndOwnerDrawnItemsLearnTheirMenu) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = Owner::Proc;
  wc.lpszClassName = "MenuDefaultOwner";
  RegisterClassA(&wc);
  HWND hwnd = CreateWindowExA(0, "MenuDefaultOwner", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300, 200,
                              nullptr, nullptr, nullptr, nullptr);
  SetFocus(hwnd);
  HMENU m = CreatePopupMenu();
  AppendMenuA(m, MF_OWNERDRAW, 501, nullptr);
  AppendMenuA(m, MF_OWNERDRAW, 502, nullptr);
  SetMenuDefaultItem(m, 502, FALSE);
  Owner::tracked = m;
  Owner::log.clear();
  EXPECT_EQ(TrackPopupMenu(m, TPM_RETURNCMD, 60, 60, 0, hwnd, nullptr), 0);
  std::vector<std::string> hilites;
  bool sawDefault = false, sawMenu = true;
  for (const std::string& s : Owner::log) {
    if (s.rfind("hilite", 0) == 0) hilites.push_back(s);
    if (s.rfind("draw", 0) == 0) {
      sawMenu = sawMenu && s.find(" menu") != std::string::npos;
      if (s.rfind("draw 502", 0) == 0) sawDefault = s.find("default") != std::string::npos;
    }
  }
  ASSERT_GE(hilites.size(), 4u);
  EXPECT_EQ(hilites[0], "hilite");
  EXPECT_EQ(hilites[1], "hilite 0");
  EXPECT_EQ(hilites[2], "hilite 1");
  EXPECT_EQ(hilites[3], "hilite 0");  // wrapped round
  EXPECT_TRUE(sawMenu);
  EXPECT_TRUE(sawDefault);
  // Closed, the menu keeps no highlight.
  EXPECT_FALSE(GetMenuState(m, 0, MF_BYPOSITION) & MF_HILITE);
  EXPECT_FALSE(GetMenuState(m, 1, MF_BYPOSITION) & MF_HILITE);
  DestroyMenu(m);
  DestroyWindow(hwnd);
}

// Reads two pixels of the open popup, then closes it.
struct Peek {
  static inline COLORREF* out[2];
  static inline WNDPROC base = nullptr;
  static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM w, LPARAM l) {
    if (msg == WM_ENTERIDLE && w == MSGF_MENU && l) {
      RECT r;
      GetWindowRect(reinterpret_cast<HWND>(l), &r);
      HDC dc = GetDC(nullptr);
      // The check boxes sit at the items' left, 3 pixels in: the middle of the first
      // item's box, and a corner of the second's, which its tick leaves clear.
      *out[0] = GetPixel(dc, r.left + 3 + 8, r.top + 3 + 9);
      *out[1] = GetPixel(dc, r.left + 3 + 2, r.top + 3 + 18 + 3);
      ReleaseDC(nullptr, dc);
      drv::PressKey(VK_ESCAPE);
      return 0;
    }
    return CallWindowProcA(base, h, msg, w, l);
  }
};

TEST(MenuDefaultItem, CheckedItemsShowTheirOwnCheckBitmap) {
  // A 13 x 13 check bitmap that is black all over: the whole check box takes the text colour.
  std::vector<BYTE> black(2 * 13, 0);
  HBITMAP mark = CreateBitmap(13, 13, 1, 1, black.data());
  HMENU m = CreatePopupMenu();
  AppendMenuA(m, MF_STRING | MF_CHECKED, 1, "Marked");
  AppendMenuA(m, MF_STRING | MF_CHECKED, 2, "Plain");
  SetMenuItemBitmaps(m, 1, MF_BYCOMMAND, nullptr, mark);
  HWND hwnd = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  COLORREF marked = 0, plain = 0;
  Peek::out[0] = &marked;
  Peek::out[1] = &plain;
  Peek::base = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Peek::Proc)));
  TrackPopupMenu(m, TPM_RETURNCMD, 200, 150, 0, hwnd, nullptr);
  EXPECT_EQ(marked, GetSysColor(COLOR_MENUTEXT));
  // The item without its own bitmap draws the usual tick, which leaves its corner clear.
  EXPECT_EQ(plain, GetSysColor(COLOR_MENU));
  DestroyMenu(m);
  DestroyWindow(hwnd);
  DeleteObject(mark);
}

TEST(MenuDefaultItem, TheNonClientMetricsRecordIs340BytesAndCarriesTheMenuFont) {
  static_assert(sizeof(NONCLIENTMETRICSA) == 340);
  NONCLIENTMETRICSA ncm{};
  ncm.cbSize = sizeof ncm;
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0));
  EXPECT_EQ(ncm.lfMenuFont.lfWeight, FW_NORMAL);
  EXPECT_NE(ncm.lfMenuFont.lfHeight, 0);
  EXPECT_STRNE(ncm.lfMenuFont.lfFaceName, "");
  // A record that says it is shorter is refused.
  NONCLIENTMETRICSA small{};
  small.cbSize = 300;
  EXPECT_FALSE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 300, &small, 0));
}

}  // namespace
