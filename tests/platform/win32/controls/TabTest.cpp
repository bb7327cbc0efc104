#include "ControlFixture.h"

namespace controls_test {
namespace {

bool g_refuse = false;

LRESULT CALLBACK RefusingProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(l)->code == TCN_SELCHANGING) {
    RecordingProc(h, msg, w, l);
    return g_refuse;
  }
  return RecordingProc(h, msg, w, l);
}

class Tabs : public ControlTest {};

TEST_F(Tabs, ClickingATabAsksThenChangesAndThePageAreaFitsInside) {
  SetWindowLongPtrA(parent_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RefusingProc));
  HWND t = Make(WC_TABCONTROL, 0, 90, "", {10, 10, 310, 210});
  const char* names[] = {"補正", "色", "サイズ", "W.Balance"};
  for (int i = 0; i < 4; ++i) {
    TCITEM item{};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = const_cast<char*>(names[i]);
    item.lParam = 100 + i;
    EXPECT_EQ(SendMessageA(t, TCM_INSERTITEM, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item)), i);
  }
  EXPECT_EQ(SendMessageA(t, TCM_GETCURSEL, 0, 0), 0);
  RECT second;
  ASSERT_TRUE(SendMessageA(t, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second)));
  g_refuse = true;
  Click(t, second.left + 4, second.top + 4);
  EXPECT_EQ(SendMessageA(t, TCM_GETCURSEL, 0, 0), 0);  // the owner refused
  g_refuse = false;
  Events().clear();
  Click(t, second.left + 4, second.top + 4);
  EXPECT_EQ(SendMessageA(t, TCM_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(Events(), (std::vector<std::string>{Event("notify", 90, static_cast<int>(TCN_SELCHANGING)),
                                                Event("notify", 90, static_cast<int>(TCN_SELCHANGE))}));
  TCITEM got{};
  char text[8];
  got.mask = TCIF_TEXT | TCIF_PARAM;
  got.pszText = text;
  got.cchTextMax = sizeof text;
  ASSERT_TRUE(SendMessageA(t, TCM_GETITEM, 2, reinterpret_cast<LPARAM>(&got)));
  EXPECT_STREQ(text, "サイ");  // a short buffer takes whole characters only
  EXPECT_EQ(got.lParam, 102);
  // The display area lies below the tabs and inside the control; converting back gives the control.
  RECT client, area;
  GetClientRect(t, &client);
  area = client;
  SendMessageA(t, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  EXPECT_GE(area.top, second.bottom);
  EXPECT_GT(area.left, client.left);
  EXPECT_LT(area.right, client.right);
  SendMessageA(t, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&area));
  EXPECT_TRUE(EqualRect(&area, &client));
  // Arrow keys move between tabs, with the same notifications.
  SetFocus(t);
  Events().clear();
  Press(VK_RIGHT);
  EXPECT_EQ(SendMessageA(t, TCM_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(Events().size(), 2u);
}

TEST_F(Tabs, OnlyTheTabsTakeTheMouseAndTheDisplayAreaLetsItThrough) {
  HWND t = Make(WC_TABCONTROL, 0, 92, "", {10, 10, 310, 210});
  for (int i = 0; i < 2; ++i) {
    TCITEM item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(i ? "Two" : "One");
    SendMessageA(t, TCM_INSERTITEM, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
  RECT area;
  GetClientRect(t, &area);
  SendMessageA(t, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  // A control made after the tab lies below it, in its display area.
  HWND check = Make("Button", BS_AUTOCHECKBOX, 7, "Check", {10 + area.left + 10, 10 + area.top + 10, 150, 100});
  Click(check, 5, 5);
  EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), BST_CHECKED);
  RECT second;
  SendMessageA(t, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
  Click(t, second.left + 4, second.top + 4);
  EXPECT_EQ(SendMessageA(t, TCM_GETCURSEL, 0, 0), 1);
  POINT body{10 + area.left + 200, 10 + area.top + 150};
  ClientToScreen(parent_, &body);
  EXPECT_EQ(WindowFromPoint(body), parent_);
  DestroyWindow(check);
  DestroyWindow(t);
}

TEST_F(Tabs, ItemImagesComeFromTheImageListAndAreDrawn) {
  HWND t = Make(WC_TABCONTROL, 0, 91, "", {10, 10, 310, 110});
  TCITEM item{};
  item.mask = TCIF_TEXT | TCIF_IMAGE;
  item.pszText = const_cast<char*>("ライブ");
  item.iImage = 0;
  SendMessageA(t, TCM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item));
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<char*>("静止画");
  SendMessageA(t, TCM_INSERTITEM, 1, reinterpret_cast<LPARAM>(&item));
  RECT plain;
  SendMessageA(t, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&plain));
  // A list of one red 12 x 12 image.
  HBITMAP red = PaintedBitmap(12, 12, RGB(220, 0, 0), {});
  HIMAGELIST list = ImageList_Create(12, 12, ILC_COLOR24, 1, 1);
  ASSERT_EQ(ImageList_Add(list, red, nullptr), 0);
  DeleteObject(red);
  EXPECT_EQ(SendMessageA(t, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list)), 0);
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageA(t, TCM_GETIMAGELIST, 0, 0)), list);
  RECT withImage, second;
  SendMessageA(t, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&withImage));
  SendMessageA(t, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
  EXPECT_GT(withImage.right - withImage.left, plain.right - plain.left + 12);
  EXPECT_EQ(second.left, withImage.right);
  RedrawWindow(t, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  HDC dc = GetDC(t);
  int reds = 0;
  for (int x = withImage.left; x < withImage.right; ++x)
    if (GetPixel(dc, x, (withImage.top + withImage.bottom) / 2) == RGB(220, 0, 0)) ++reds;
  EXPECT_GE(reds, 10);
  reds = 0;
  for (int x = second.left; x < second.right; ++x)
    if (GetPixel(dc, x, (second.top + second.bottom) / 2) == RGB(220, 0, 0)) ++reds;
  EXPECT_EQ(reds, 0);  // a tab without an image shows none
  ReleaseDC(t, dc);
  DestroyWindow(t);
  ImageList_Destroy(list);
}

}  // namespace
}  // namespace controls_test
