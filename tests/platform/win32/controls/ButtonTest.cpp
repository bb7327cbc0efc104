#include "ControlFixture.h"

namespace controls_test {
namespace {

class Buttons : public ControlTest {};

TEST_F(Buttons, AClickChangesAutoButtonsThenReportsIt) {
  struct Case {
    DWORD style;
    std::vector<UINT> checks;  // after each of three clicks
  } cases[] = {
      {BS_PUSHBUTTON, {0, 0, 0}},
      {BS_CHECKBOX, {0, 0, 0}},  // the owner checks a plain check box
      {BS_AUTOCHECKBOX, {1, 0, 1}},
      {BS_AUTO3STATE, {1, 2, 0}},
      {BS_AUTORADIOBUTTON, {1, 1, 1}},
  };
  for (const auto& c : cases) {
    HWND b = Make("Button", c.style, 5, "B");
    for (UINT expected : c.checks) {
      Events().clear();
      Click(b, 10, 10);
      EXPECT_EQ(Events(), (std::vector<std::string>{"cmd 5 0"})) << c.style;
      EXPECT_EQ(SendMessageA(b, BM_GETCHECK, 0, 0), static_cast<LRESULT>(expected)) << c.style;
    }
    EXPECT_EQ(GetFocus(), b);
    DestroyWindow(b);
  }
}

TEST_F(Buttons, ReleasingOutsideIsNoClickAndPushedStateFollowsTheMouse) {
  HWND b = Make("Button", BS_PUSHBUTTON, 6, "B");
  POINT inside{10, 10}, outside{300, 200};
  POINT s = Screen(b, inside.x, inside.y);
  plat::user::driver::MoveTo(s.x, s.y);
  plat::user::input::MouseButton(0, true);
  plat::user::driver::WaitIdle();
  EXPECT_TRUE(SendMessageA(b, BM_GETSTATE, 0, 0) & BST_PUSHED);
  POINT o = Screen(b, outside.x, outside.y);
  plat::user::driver::MoveTo(o.x, o.y);
  plat::user::driver::WaitIdle();
  EXPECT_FALSE(SendMessageA(b, BM_GETSTATE, 0, 0) & BST_PUSHED);
  plat::user::input::MouseButton(0, false);
  plat::user::driver::WaitIdle();
  EXPECT_TRUE(Events().empty());
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Buttons, SpaceBarPressesTheFocusedButton) {
  HWND b = Make("Button", BS_AUTOCHECKBOX, 7, "C");
  SetFocus(b);
  plat::user::input::Key(VK_SPACE, true);
  plat::user::driver::WaitIdle();
  EXPECT_EQ(SendMessageA(b, BM_GETSTATE, 0, 0), BST_PUSHED | BST_FOCUS);
  plat::user::input::Key(VK_SPACE, false);
  plat::user::driver::WaitIdle();
  EXPECT_EQ(SendMessageA(b, BM_GETSTATE, 0, 0), BST_CHECKED | BST_FOCUS);
  EXPECT_EQ(Events(), (std::vector<std::string>{"cmd 7 0"}));
}

TEST_F(Buttons, AutoRadioButtonsCheckOnlyWithinTheirGroup) {
  HWND a = Make("Button", BS_AUTORADIOBUTTON | WS_GROUP, 11, "A", {10, 10, 80, 26});
  HWND b = Make("Button", BS_AUTORADIOBUTTON, 12, "B", {10, 30, 80, 46});
  HWND other = Make("Button", BS_AUTORADIOBUTTON | WS_GROUP, 13, "X", {10, 60, 80, 76});
  SendMessageA(other, BM_SETCHECK, BST_CHECKED, 0);
  Click(a, 5, 5);
  Click(b, 5, 5);
  EXPECT_EQ(SendMessageA(a, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessageA(b, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageA(other, BM_GETCHECK, 0, 0), BST_CHECKED);
  // The checked button is the group's tab stop.
  EXPECT_TRUE(GetWindowLongA(b, GWL_STYLE) & WS_TABSTOP);
  EXPECT_FALSE(GetWindowLongA(a, GWL_STYLE) & WS_TABSTOP);
}

TEST_F(Buttons, OwnerDrawnButtonsAreToldWhatChanged) {
  HWND b = Make("Button", BS_OWNERDRAW, 20, "");
  UpdateWindow(b);
  ASSERT_FALSE(Draws().empty());
  EXPECT_EQ(Draws().back().itemAction, static_cast<UINT>(ODA_DRAWENTIRE));
  EXPECT_EQ(Draws().back().CtlType, static_cast<UINT>(ODT_BUTTON));
  EXPECT_EQ(Draws().back().CtlID, 20u);
  EXPECT_EQ(Draws().back().hwndItem, b);
  Draws().clear();
  POINT s = Screen(b, 5, 5);
  plat::user::driver::MoveTo(s.x, s.y);
  plat::user::input::MouseButton(0, true);
  plat::user::driver::WaitIdle();
  // Focus first, then the push: a drawing sunken on ODA_SELECT with focus and selection.
  bool sunken = false;
  for (const auto& d : Draws())
    if (d.itemAction == ODA_SELECT && (d.itemState & (ODS_SELECTED | ODS_FOCUS)) == (ODS_SELECTED | ODS_FOCUS))
      sunken = true;
  EXPECT_TRUE(sunken);
  EXPECT_EQ(Draws().front().itemAction, static_cast<UINT>(ODA_FOCUS));
  plat::user::input::MouseButton(0, false);
  plat::user::driver::WaitIdle();
  EXPECT_EQ(Draws().back().itemAction, static_cast<UINT>(ODA_SELECT));
  EXPECT_EQ(Draws().back().itemState & ODS_SELECTED, 0u);
  EXPECT_EQ(Events(), (std::vector<std::string>{"cmd 20 0"}));
  // A style set by message keeps the button owner-drawn when the caller asks for it.
  SendMessageA(b, BM_SETSTYLE, BS_OWNERDRAW, TRUE);
  EXPECT_EQ(GetWindowLongA(b, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
}

TEST_F(Buttons, ImagesAndStateMessages) {
  HWND b = Make("Button", BS_PUSHBUTTON | BS_BITMAP, 21, "");
  HBITMAP bmp = CreateBitmap(8, 8, 1, 32, nullptr);
  EXPECT_EQ(SendMessageA(b, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bmp)), 0);
  EXPECT_EQ(SendMessageA(b, BM_GETIMAGE, IMAGE_BITMAP, 0), reinterpret_cast<LRESULT>(bmp));
  SendMessageA(b, BM_SETSTATE, TRUE, 0);
  EXPECT_EQ(SendMessageA(b, BM_GETSTATE, 0, 0), BST_PUSHED);
  SendMessageA(b, BM_SETSTATE, FALSE, 0);
  EXPECT_EQ(SendMessageA(b, BM_GETSTATE, 0, 0), 0);
  // A check box keeps only the states it has; 2 on a two-state box means checked.
  HWND c = Make("Button", BS_CHECKBOX, 22, "C", {10, 40, 110, 60});
  SendMessageA(c, BM_SETCHECK, BST_INDETERMINATE, 0);
  EXPECT_EQ(SendMessageA(c, BM_GETCHECK, 0, 0), BST_CHECKED);
  SendMessageA(b, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(SendMessageA(b, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  DestroyWindow(b);
  DeleteObject(bmp);
}

TEST_F(Buttons, AnIconIsDrawnAtItsOwnSizeInTheMiddle) {
  // A 16 x 16 icon, all red, on a 40 x 30 push button.
  HBITMAP colour = PaintedBitmap(16, 16, RGB(255, 0, 0), {});
  HBITMAP mask = CreateBitmap(16, 16, 1, 1, nullptr);  // all 0: every pixel opaque
  ICONINFO info{TRUE, 0, 0, mask, colour};
  HICON icon = CreateIconIndirect(&info);
  ASSERT_NE(icon, nullptr);
  HWND b = Make("Button", BS_PUSHBUTTON | BS_ICON, 23, "", {10, 10, 50, 40});
  SendMessageA(b, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
  UpdateWindow(b);
  HDC dc = GetDC(b);
  EXPECT_EQ(GetPixel(dc, 12, 7), RGB(255, 0, 0));  // from (12, 7) to (28, 23)
  EXPECT_EQ(GetPixel(dc, 27, 22), RGB(255, 0, 0));
  EXPECT_NE(GetPixel(dc, 11, 15), RGB(255, 0, 0));
  EXPECT_NE(GetPixel(dc, 28, 15), RGB(255, 0, 0));
  EXPECT_NE(GetPixel(dc, 20, 23), RGB(255, 0, 0));
  ReleaseDC(b, dc);
  DestroyWindow(b);
  DestroyIcon(icon);
  DeleteObject(mask);
  DeleteObject(colour);
}

TEST_F(Buttons, GroupBoxDrawsItsFrameAndLeavesItsInsideAlone) {
  // A label made before the box lies above it in the z-order and inside its frame.
  HWND label = Make("Static", SS_BLACKRECT, 8, "", {30, 30, 90, 60});
  HWND box = Make("Button", BS_GROUPBOX, 9, "", {10, 10, 150, 100});
  RedrawWindow(parent_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  HDC dc = GetDC(parent_);
  EXPECT_EQ(GetPixel(dc, 60, 45), RGB(0, 0, 0));  // the label shows through
  EXPECT_EQ(GetPixel(dc, 10, 50), GetSysColor(COLOR_BTNSHADOW));  // the etched frame
  EXPECT_EQ(GetPixel(dc, 120, 50), GetSysColor(COLOR_BTNFACE));   // the parent's own face inside
  ReleaseDC(parent_, dc);
  EXPECT_EQ(SendMessageA(box, WM_NCHITTEST, 0, MAKELPARAM(100, 100)), HTTRANSPARENT);
  DestroyWindow(box);
  DestroyWindow(label);
}

}  // namespace
}  // namespace controls_test
