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

}  // namespace
}  // namespace controls_test
