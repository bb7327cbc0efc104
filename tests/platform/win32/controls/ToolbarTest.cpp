#include "ControlFixture.h"
#include "TestEnv.h"
#include "display/Png.h"

namespace controls_test {
namespace {

const COLORREF kColours[] = {RGB(200, 0, 0), RGB(0, 160, 0), RGB(0, 0, 200), RGB(200, 200, 0)};

// Four 16 x 15 images on the classic grey: a coloured square in the middle of each.
HBITMAP FourImages() {
  return PaintedBitmap(64, 15, RGB(192, 192, 192),
                       {{{4, 4, 12, 11}, kColours[0]}, {{20, 4, 28, 11}, kColours[1]},
                        {{36, 4, 44, 11}, kColours[2]}, {{52, 4, 60, 11}, kColours[3]}});
}

TBBUTTON Button(int image, int id, BYTE style, BYTE state = TBSTATE_ENABLED) {
  TBBUTTON b{};
  b.iBitmap = image;
  b.idCommand = id;
  b.fsState = state;
  b.fsStyle = style;
  return b;
}

class Toolbars : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    bitmap_ = FourImages();
  }
  void TearDown() override {
    ControlTest::TearDown();
    DeleteObject(bitmap_);
  }
  // Open, a separator, a check button, a group of two, a disabled button.
  HWND MakeBar(DWORD style = 0) {
    HWND bar = Make(TOOLBARCLASSNAME, style, 0xE800, "", {0, 0, 10, 10});
    SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    TBADDBITMAP add{nullptr, reinterpret_cast<UINT_PTR>(bitmap_)};
    EXPECT_EQ(SendMessageA(bar, TB_ADDBITMAP, 4, reinterpret_cast<LPARAM>(&add)), 0);
    const TBBUTTON buttons[] = {Button(0, 101, TBSTYLE_BUTTON), Button(0, 0, TBSTYLE_SEP),
                                Button(1, 102, TBSTYLE_CHECK),  Button(2, 103, TBSTYLE_CHECKGROUP),
                                Button(3, 104, TBSTYLE_CHECKGROUP), Button(0, 105, TBSTYLE_BUTTON, 0)};
    EXPECT_TRUE(SendMessageA(bar, TB_ADDBUTTONS, std::size(buttons), reinterpret_cast<LPARAM>(buttons)));
    SendMessageA(bar, TB_AUTOSIZE, 0, 0);
    return bar;
  }
  RECT ItemRect(HWND bar, int index) {
    RECT r{};
    EXPECT_TRUE(SendMessageA(bar, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r)));
    return r;
  }
  void ClickButton(HWND bar, int id) {
    RECT r = ItemRect(bar, static_cast<int>(SendMessageA(bar, TB_COMMANDTOINDEX, static_cast<WPARAM>(id), 0)));
    Click(bar, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
  BYTE State(HWND bar, int id) { return static_cast<BYTE>(SendMessageA(bar, TB_GETSTATE, static_cast<WPARAM>(id), 0)); }

  HBITMAP bitmap_ = nullptr;
};

TEST_F(Toolbars, ButtonsAreLaidOutInOrderAndFoundById) {
  HWND bar = MakeBar();
  EXPECT_EQ(SendMessageA(bar, TB_BUTTONCOUNT, 0, 0), 6);
  RECT open = ItemRect(bar, 0), sep = ItemRect(bar, 1), check = ItemRect(bar, 2);
  LRESULT size = SendMessageA(bar, TB_GETBUTTONSIZE, 0, 0);
  EXPECT_EQ(open.right - open.left, LOWORD(size));
  EXPECT_EQ(open.bottom - open.top, HIWORD(size));
  EXPECT_EQ(sep.left, open.right);
  EXPECT_EQ(check.left, sep.right);
  EXPECT_GT(sep.right - sep.left, 0);
  EXPECT_EQ(SendMessageA(bar, TB_COMMANDTOINDEX, 104, 0), 4);
  EXPECT_EQ(SendMessageA(bar, TB_COMMANDTOINDEX, 999, 0), -1);
  TBBUTTON got{};
  ASSERT_TRUE(SendMessageA(bar, TB_GETBUTTON, 2, reinterpret_cast<LPARAM>(&got)));
  EXPECT_EQ(got.idCommand, 102);
  EXPECT_EQ(got.iBitmap, 1);
  EXPECT_EQ(got.fsStyle, TBSTYLE_CHECK);
  // Inserting in front moves the others along; deleting takes one out; bad indexes fail.
  TBBUTTON first = Button(3, 100, TBSTYLE_BUTTON);
  ASSERT_TRUE(SendMessageA(bar, TB_INSERTBUTTON, 0, reinterpret_cast<LPARAM>(&first)));
  EXPECT_EQ(SendMessageA(bar, TB_COMMANDTOINDEX, 101, 0), 1);
  EXPECT_EQ(ItemRect(bar, 1).left, open.right);
  ASSERT_TRUE(SendMessageA(bar, TB_DELETEBUTTON, 0, 0));
  EXPECT_EQ(SendMessageA(bar, TB_COMMANDTOINDEX, 101, 0), 0);
  EXPECT_FALSE(SendMessageA(bar, TB_DELETEBUTTON, 6, 0));
  EXPECT_FALSE(SendMessageA(bar, TB_GETBUTTON, 6, reinterpret_cast<LPARAM>(&got)));
  // A hidden button takes no room.
  SendMessageA(bar, TB_HIDEBUTTON, 101, TRUE);
  EXPECT_EQ(ItemRect(bar, 1).left, 0);
  // Larger images make the buttons grow with them; a set button size is kept.
  SendMessageA(bar, TB_SETBITMAPSIZE, 0, MAKELONG(24, 22));
  size = SendMessageA(bar, TB_GETBUTTONSIZE, 0, 0);
  EXPECT_GE(LOWORD(size), 24 + 6);
  EXPECT_GE(HIWORD(size), 22 + 6);
  SendMessageA(bar, TB_SETBUTTONSIZE, 0, MAKELONG(40, 36));
  RECT big = ItemRect(bar, 2);
  EXPECT_EQ(big.right - big.left, 40);
  EXPECT_EQ(big.bottom - big.top, 36);
  // The bar sits along the parent's top, as wide as the parent and one row high.
  RECT r, pc;
  GetWindowRect(bar, &r);
  MapWindowPoints(nullptr, parent_, reinterpret_cast<POINT*>(&r), 2);
  GetClientRect(parent_, &pc);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, pc.right);
  EXPECT_GE(r.bottom, open.bottom);
}

TEST_F(Toolbars, ClicksCommandTheOwnerAndKeepCheckStates) {
  HWND bar = MakeBar();
  struct Case {
    int click;
    BYTE check102, check103, check104;
  } cases[] = {
      {101, 0, 0, 0},
      {102, TBSTATE_CHECKED, 0, 0},
      {103, TBSTATE_CHECKED, TBSTATE_CHECKED, 0},
      {104, TBSTATE_CHECKED, 0, TBSTATE_CHECKED},
      {104, TBSTATE_CHECKED, 0, TBSTATE_CHECKED},  // a checked group button stays in
      {102, 0, 0, TBSTATE_CHECKED},
  };
  for (const Case& c : cases) {
    Events().clear();
    ClickButton(bar, c.click);
    EXPECT_EQ(Events(), (std::vector<std::string>{Event("cmd", static_cast<unsigned>(c.click), BN_CLICKED)}));
    EXPECT_EQ(State(bar, 102) & TBSTATE_CHECKED, c.check102) << c.click;
    EXPECT_EQ(State(bar, 103) & TBSTATE_CHECKED, c.check103) << c.click;
    EXPECT_EQ(State(bar, 104) & TBSTATE_CHECKED, c.check104) << c.click;
    EXPECT_FALSE(State(bar, c.click) & TBSTATE_PRESSED);
  }
  // A disabled button, and a press dragged off its button, command nothing.
  Events().clear();
  ClickButton(bar, 105);
  RECT open = ItemRect(bar, 0);
  // Step by step, as a hand moves: the bar has the mouse captured before it moves away.
  namespace input = plat::user::input;
  POINT on = Screen(bar, open.left + 4, open.top + 4), off = Screen(bar, open.left + 4, open.bottom + 40);
  input::MouseMove(on.x, on.y);
  input::MouseButton(0, true);
  plat::user::driver::WaitIdle();
  EXPECT_TRUE(State(bar, 101) & TBSTATE_PRESSED);
  input::MouseMove(off.x, off.y);
  plat::user::driver::WaitIdle();
  EXPECT_FALSE(State(bar, 101) & TBSTATE_PRESSED);
  input::MouseButton(0, false);
  plat::user::driver::WaitIdle();
  EXPECT_TRUE(Events().empty());
  EXPECT_FALSE(State(bar, 101) & TBSTATE_PRESSED);
  // The program sets states: checking in a group takes the other out; enabling lets clicks through.
  EXPECT_TRUE(SendMessageA(bar, TB_CHECKBUTTON, 103, TRUE));
  EXPECT_FALSE(SendMessageA(bar, TB_ISBUTTONCHECKED, 104, 0));
  EXPECT_TRUE(SendMessageA(bar, TB_ENABLEBUTTON, 105, TRUE));
  ClickButton(bar, 105);
  EXPECT_EQ(Events(), (std::vector<std::string>{Event("cmd", 105, BN_CLICKED)}));
  EXPECT_TRUE(SendMessageA(bar, TB_SETSTATE, 101, TBSTATE_INDETERMINATE));
  EXPECT_EQ(State(bar, 101), TBSTATE_INDETERMINATE);
  EXPECT_EQ(SendMessageA(bar, TB_GETSTATE, 999, 0), -1);
  EXPECT_FALSE(SendMessageA(bar, TB_SETSTATE, 999, TBSTATE_ENABLED));
}

TEST_F(Toolbars, ShorterRecordsOfOlderCallersAreRead) {
  HWND bar = Make(TOOLBARCLASSNAME, 0, 0xE800, "", {0, 0, 10, 10});
  // Records of 12 bytes: image, id, state, style and two reserved bytes.
  struct Short {
    int image, id;
    BYTE state, style, reserved[2];
  } records[] = {{0, 201, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}}, {1, 202, TBSTATE_ENABLED, TBSTYLE_CHECK, {}}};
  SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(Short), 0);
  ASSERT_TRUE(SendMessageA(bar, TB_ADDBUTTONS, 2, reinterpret_cast<LPARAM>(records)));
  EXPECT_EQ(SendMessageA(bar, TB_COMMANDTOINDEX, 202, 0), 1);
  EXPECT_TRUE(SendMessageA(bar, TB_ISBUTTONENABLED, 202, 0));
}

LRESULT CALLBACK TipTextProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(l)->code == TTN_NEEDTEXT) {
    auto* info = reinterpret_cast<TOOLTIPTEXT*>(l);
    std::snprintf(info->szText, sizeof info->szText, "命令 %u", static_cast<unsigned>(info->hdr.idFrom));
  }
  return RecordingProc(h, msg, w, l);
}

TEST_F(Toolbars, TooltipAsksTheOwnerForTheButtonsText) {
  testenv::VirtualClock virtualClock;
  SetWindowLongPtrA(parent_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TipTextProc));
  HWND bar = MakeBar(TBSTYLE_TOOLTIPS);
  auto tip = reinterpret_cast<HWND>(SendMessageA(bar, TB_GETTOOLTIPS, 0, 0));
  ASSERT_NE(tip, nullptr);
  RECT r = ItemRect(bar, 2);
  POINT p = Screen(bar, r.left + 5, r.top + 5);
  plat::user::driver::MoveTo(p.x, p.y);
  plat::user::driver::WaitIdle();
  Sleep(600);
  plat::user::driver::WaitIdle();
  EXPECT_TRUE(IsWindowVisible(tip));
  EXPECT_EQ(Text(tip), "命令 102");
  EXPECT_TRUE(std::find(Events().begin(), Events().end(), Event("notify", 102, static_cast<int>(TTN_NEEDTEXT))) !=
              Events().end());
}

// Counts pixels of the screenshot inside `r` (screen coordinates) that `match`.
template <class Match>
int CountPixels(const plat::display::PixelImage& image, RECT shot, RECT r, Match match) {
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) {
      uint32_t px = image.pixels[static_cast<size_t>(y - shot.top) * static_cast<size_t>(image.width) +
                                 static_cast<size_t>(x - shot.left)];
      if (match((px >> 16) & 0xFF, (px >> 8) & 0xFF, px & 0xFF)) ++n;
    }
  return n;
}

TEST_F(Toolbars, ToolbarAndStatusBarAppearOnTheScreen) {
  HWND bar = MakeBar();
  HWND status = Make(STATUSCLASSNAME, SBARS_SIZEGRIP, 0xE801, "", {0, 0, 10, 10});
  const int edges[] = {150, -1};
  SendMessageA(status, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
  SendMessageA(status, SB_SETTEXT, 0, reinterpret_cast<LPARAM>("準備完了 Ready"));
  RedrawWindow(parent_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  plat::user::driver::WaitIdle();
  RECT shot;
  GetWindowRect(parent_, &shot);
  std::string path = testenv::ScratchDir() + "/bars.png";
  ASSERT_TRUE(plat::display::SavePng(path, &shot));
  auto image = plat::display::ReadPng(path);
  ASSERT_TRUE(image.has_value());
  auto onScreen = [&](HWND h, RECT r) {
    MapWindowPoints(h, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
  };
  // Each button shows its own image; the disabled one only in part.
  struct Case {
    int index, image;
    bool enabled;
  } cases[] = {{0, 0, true}, {2, 1, true}, {3, 2, true}, {4, 3, true}, {5, 0, false}};
  int full = 0;
  for (const Case& c : cases) {
    COLORREF want = kColours[c.image];
    int n = CountPixels(*image, shot, onScreen(bar, ItemRect(bar, c.index)), [&](unsigned r, unsigned g, unsigned b) {
      return RGB(r, g, b) == want;
    });
    if (c.enabled) {
      EXPECT_EQ(n, 8 * 7) << c.index;  // the whole square
      full = n;
    } else {
      EXPECT_GT(n, 0);
      EXPECT_LT(n, full);
    }
  }
  // The status bar's first part shows its text: dark pixels on the face.
  RECT part;
  SendMessageA(status, SB_GETRECT, 0, reinterpret_cast<LPARAM>(&part));
  int dark = CountPixels(*image, shot, onScreen(status, part), [](unsigned r, unsigned g, unsigned b) { return r < 0x40 && g < 0x40 && b < 0x40; });
  EXPECT_GT(dark, 20);
  // The empty second part shows only its edge and face.
  SendMessageA(status, SB_GETRECT, 1, reinterpret_cast<LPARAM>(&part));
  InflateRect(&part, -2, -2);
  EXPECT_EQ(CountPixels(*image, shot, onScreen(status, part), [](unsigned r, unsigned g, unsigned b) { return r < 0x40 && g < 0x40 && b < 0x40; }),
            0);
}

TEST_F(Toolbars, RebarClassExists) {
  HWND rebar = Make(REBARCLASSNAME, 0, 0xE81B, "", {0, 0, 200, 30});
  ASSERT_NE(rebar, nullptr);
  EXPECT_EQ(SendMessageA(rebar, RB_GETBANDCOUNT, 0, 0), 0);
  WNDCLASSA wc{};
  EXPECT_TRUE(GetClassInfoA(nullptr, REBARCLASSNAME, &wc));
}

}  // namespace
}  // namespace controls_test
