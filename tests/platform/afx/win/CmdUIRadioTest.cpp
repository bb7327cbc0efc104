// SetRadio on a menu item: checked, and shown with the framework's shared dot, a slot
// that a library may fill with its own bitmap.
#include <gtest/gtest.h>

#include "afxwin.h"

namespace {

struct RadioMenu {
  RadioMenu() {
    menu.CreatePopupMenu();
    sub.CreatePopupMenu();
    sub.AppendMenu(MF_STRING, 30, "Inner");
    menu.AppendMenu(MF_STRING, 10, "One");
    menu.AppendMenu(MF_STRING, 11, "Two");
    menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(sub.Detach()), "More");
  }
  ~RadioMenu() { menu.DestroyMenu(); }
  // Sets the radio state of the item at `index` as an update handler would.
  void Radio(UINT index, BOOL on) {
    CCmdUI ui;
    ui.m_pMenu = &menu;
    ui.m_nIndex = index;
    ui.m_nIndexMax = menu.GetMenuItemCount();
    ui.m_nID = menu.GetMenuItemID(static_cast<int>(index));
    ui.m_pSubMenu = ui.m_nID == static_cast<UINT>(-1) ? menu.GetSubMenu(static_cast<int>(index)) : nullptr;
    ui.SetRadio(on);
  }
  HBITMAP CheckedBitmap(UINT index) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_CHECKMARKS;
    ::GetMenuItemInfoA(menu, index, TRUE, &info);
    return info.hbmpChecked;
  }
  CMenu menu, sub;
};

TEST(CmdUIRadio, AMenuItemShowsTheSharedDot) {
  RadioMenu r;
  HBITMAP dot = AfxGetMenuDotBitmap();
  ASSERT_NE(dot, nullptr);
  BITMAP bm{};
  ASSERT_TRUE(::GetObjectA(dot, sizeof bm, &bm));
  EXPECT_EQ(bm.bmBitsPixel, 1);
  EXPECT_EQ(MAKELONG(bm.bmWidth, bm.bmHeight), ::GetMenuCheckMarkDimensions());

  r.Radio(0, TRUE);
  r.Radio(1, FALSE);
  EXPECT_TRUE(r.menu.GetMenuState(0, MF_BYPOSITION) & MF_CHECKED);
  EXPECT_FALSE(r.menu.GetMenuState(1, MF_BYPOSITION) & MF_CHECKED);
  EXPECT_EQ(r.CheckedBitmap(0), dot);
  EXPECT_EQ(r.CheckedBitmap(1), dot);  // unchecked, it would still show the dot when checked
  // A popup's item is left as it was.
  r.Radio(2, TRUE);
  EXPECT_EQ(r.CheckedBitmap(2), nullptr);
}

TEST(CmdUIRadio, TheSlotTakesAnotherBitmap) {
  RadioMenu r;
  HBITMAP framework = AfxGetMenuDotBitmap();
  HBITMAP own = ::CreateBitmap(16, 15, 1, 1, nullptr);
  EXPECT_EQ(AfxSetMenuDotBitmap(own), framework);
  r.Radio(1, TRUE);
  EXPECT_EQ(r.CheckedBitmap(1), own);
  EXPECT_EQ(AfxSetMenuDotBitmap(framework), own);
  EXPECT_EQ(AfxGetMenuDotBitmap(), framework);
  ::DeleteObject(own);
}

}  // namespace
