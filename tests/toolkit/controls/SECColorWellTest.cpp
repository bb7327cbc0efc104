// Colour grid, popup grid, well button and menu button: which cell a colour selects, the
// custom cell, the arrow keys, hovering, the colour dialog, the popup's keys and clicks,
// what reaches the parent; and screenshots of a grid and an open popup.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "DialogDriver.h"
#include "ToolkitFixture.h"
#include "controls/SECColorWell.h"
#include "controls/SECMenuButton.h"
#include "controls/SECPopupColorWell.h"
#include "controls/SECWellButton.h"
#include "display/Png.h"
#include "user/Driver.h"

namespace toolkit_test {
namespace {

namespace drv = plat::user::driver;

// The dialog hears every colour report and every command.
class Host : public CDialog {
 public:
  std::vector<std::pair<WPARAM, COLORREF>> chosen;
  std::vector<UINT> commands;

 protected:
  LRESULT OnChosen(WPARAM wParam, LPARAM lParam) {
    chosen.emplace_back(wParam, static_cast<COLORREF>(lParam));
    return 0;
  }
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    if (LOWORD(wParam) >= ID_TEST_CMD_A && LOWORD(wParam) <= ID_TEST_CMD_H) commands.push_back(LOWORD(wParam));
    return CDialog::OnCommand(wParam, lParam);
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(Host, CDialog)
  ON_MESSAGE(SECColorWell::WM_COLORCHOSEN, OnChosen)
END_MESSAGE_MAP()

// A button that records where it was pressed.
class Target : public CButton {
 public:
  std::vector<CPoint> downs;

 protected:
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point) {
    downs.push_back(point);
    CButton::OnLButtonDown(nFlags, point);
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(Target, CButton)
  ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

// A grid that records every selection.
struct Grid : SECColorWell {
  std::vector<std::tuple<int, int, int>> selects;
  void SelectCell(int c, int r, int reason) override {
    selects.emplace_back(c, r, reason);
    SECColorWell::SelectCell(c, r, reason);
  }
  CPoint Cell() const { return CPoint(GetCurrentColumn(), GetCurrentRow()); }
  CPoint ScreenCenter(int c, int r) const {
    CPoint p = GetCellRect(c, r).CenterPoint();
    ClientToScreen(&p);
    return p;
  }
};

// Three columns and two rows of distinct colours, and a place for the custom cell under
// the last column (2, 2).
constexpr COLORREF kSix[6] = {RGB(10, 0, 0), RGB(20, 0, 0), RGB(30, 0, 0),
                              RGB(40, 0, 0), RGB(50, 0, 0), RGB(60, 0, 0)};
SECColorWellLayout Small(bool custom, const COLORREF* colors = kSix) {
  SECColorWellLayout l;
  l.nRows = 2;
  l.nColumns = 3;
  l.bCustom = custom;
  l.pColors = colors;
  return l;
}
constexpr COLORREF kOutside = RGB(1, 2, 3);

CPoint Center(HWND h) {
  CRect r;
  ::GetWindowRect(h, &r);
  return r.CenterPoint();
}

// Names a folder to keep the screenshots in.
constexpr const char* kShotVariable = "LUMORA_COLORS_SHOT";

class ColorControls : public ToolkitTest {
 protected:
  void SetUp() override {
    ToolkitTest::SetUp();
    if (std::getenv(kShotVariable)) setenv("LUMORA_FONT", "", 1);  // the installed font, for the pictures
    ASSERT_TRUE(host.Create(IDD_TEST_COLORS));
    host.ShowWindow(SW_SHOW);
    drv::WaitIdle();
  }
  void TearDown() override {
    if (SECPopupColorWell* p = Popup()) p->Close();
    if (host.m_hWnd) host.DestroyWindow();
    drv::WaitIdle();
    ToolkitTest::TearDown();
  }
  bool CreateGrid(Grid& grid, const SECColorWellLayout& layout) {
    return grid.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | SECColorWell::CWS_RAISEDBORDER, CPoint(200, 8), &host,
                       IDC_TEST_COLOR_GRID, layout);
  }
  // The open popup: the window holding the capture.
  static SECPopupColorWell* Popup() {
    CWnd* w = CWnd::FromHandlePermanent(::GetCapture());
    return w && w->IsKindOf(RUNTIME_CLASS(SECPopupColorWell)) ? static_cast<SECPopupColorWell*>(w) : nullptr;
  }
  // A well button holding `color`, and its popup opened by a click.
  SECPopupColorWell* OpenPopup(SECWellButton& well, COLORREF color) {
    if (!well.AttachButton(IDC_TEST_COLOR_WELL, &host)) return nullptr;
    well.SetColor(color);
    drv::Click(Center(well.m_hWnd).x, Center(well.m_hWnd).y);
    drv::WaitIdle();
    return Popup();
  }
  // Answers the next colour dialog: `red` typed into it and OK, or cancel when negative.
  static void ColourDialog(int red) {
    Script([red](HWND d) {
      if (red < 0) return;
      dialogdriver::Press(d, COLOR_MIX);
      if (red <= 255) SetDlgItemTextA(d, COLOR_RED, std::to_string(red).c_str());
      dialogdriver::Press(d, IDOK);
    });
  }
  Host host;
};

TEST_F(ColorControls, AColourHeldTwiceSelectsTheLeftmostThenTheUpperCell) {
  const COLORREF R = RGB(255, 0, 0), G = RGB(0, 255, 0), X = RGB(9, 9, 9);
  const COLORREF colors[6] = {R, G, X,   // row 0
                              G, R, X};  // row 1
  Grid grid;
  ASSERT_TRUE(CreateGrid(grid, Small(true, colors)));
  const struct {
    COLORREF color;
    CPoint cell;
  } cases[] = {{G, {0, 1}}, {R, {0, 0}}, {X, {2, 0}}};
  for (const auto& c : cases) {
    grid.SetColor(c.color);
    EXPECT_EQ(grid.Cell(), c.cell) << std::hex << c.color;
    EXPECT_EQ(grid.GetColor(), c.color);
    EXPECT_FALSE(grid.IsCustomShown());
  }
}

TEST_F(ColorControls, AColourOutsideTheGridNarrowsTheCustomButtonOnce) {
  Grid grid;
  ASSERT_TRUE(CreateGrid(grid, Small(true)));
  CRect before;
  grid.GetCustomButton()->GetWindowRect(&before);
  EXPECT_EQ(before.Width(), grid.GetGridRect().Width());

  for (COLORREF color : {kOutside, RGB(4, 5, 6)}) {
    grid.SetColor(color);
    CRect now;
    grid.GetCustomButton()->GetWindowRect(&now);
    EXPECT_EQ(now.Width(), before.Width() - 18);  // a cell and its gap, once
    EXPECT_TRUE(grid.IsCustomCell(grid.GetCurrentColumn(), grid.GetCurrentRow()));
    EXPECT_EQ(grid.GetColor(), color);
  }
  // The custom cell shows under the last column, clear of the button.
  CRect button, cell = grid.GetCellRect(2, 2);
  grid.GetCustomButton()->GetWindowRect(&button);
  grid.ScreenToClient(&button);
  EXPECT_LE(button.right, cell.left - 1);

  Grid plain;  // without custom support the colour changes nothing
  SECColorWellLayout l = Small(false);
  ASSERT_TRUE(plain.Create(WS_CHILD | WS_VISIBLE, CPoint(200, 120), &host, IDC_TEST_COLOR_GRID + 1, l));
  plain.SetColor(kSix[4]);
  plain.SetColor(kOutside);
  EXPECT_EQ(plain.Cell(), CPoint(1, 1));
  EXPECT_EQ(plain.GetCustomButton(), nullptr);
}

TEST_F(ColorControls, ArrowKeysMoveAsTheTableSays) {
  const CPoint custom(2, 2);
  const struct {
    bool customShown;
    CPoint from;
    UINT key;
    CPoint to;
  } cases[] = {
      {false, {2, 1}, VK_RIGHT, {0, 0}}, {false, {0, 0}, VK_LEFT, {2, 1}},  {false, {2, 0}, VK_RIGHT, {0, 1}},
      {false, {0, 1}, VK_LEFT, {2, 0}},  {false, {1, 0}, VK_UP, {1, 1}},    {false, {1, 1}, VK_DOWN, {1, 0}},
      {false, {2, 0}, VK_UP, {2, 1}},    {false, {1, 1}, VK_RIGHT, {2, 1}}, {true, {2, 1}, VK_RIGHT, custom},
      {true, custom, VK_RIGHT, {0, 0}},  {true, {0, 0}, VK_LEFT, custom},   {true, custom, VK_LEFT, {2, 1}},
      {true, {2, 0}, VK_UP, custom},     {true, {1, 0}, VK_UP, {1, 1}},     {true, {2, 1}, VK_DOWN, custom},
      {true, {1, 1}, VK_DOWN, {1, 0}},   {true, custom, VK_DOWN, {2, 0}},   {true, custom, VK_UP, {2, 1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.customShown ? "custom " : "") << c.from.x << "," << c.from.y << " key "
                                    << c.key);
    Grid grid;
    ASSERT_TRUE(CreateGrid(grid, Small(true)));
    if (c.customShown) grid.SetColor(kOutside);
    if (c.from != custom) grid.SetColor(kSix[c.from.x + c.from.y * 3]);
    grid.SendMessage(WM_KEYDOWN, c.key, 0);
    EXPECT_EQ(grid.Cell(), c.to);
    ASSERT_FALSE(grid.selects.empty());
    EXPECT_EQ(std::get<2>(grid.selects.back()), SECColorWell::SelectKey);
    grid.DestroyWindow();
  }
}

TEST_F(ColorControls, HoverFollowsTheMouseAndSplitsTheGapBetweenCells) {
  Grid grid;
  ASSERT_TRUE(CreateGrid(grid, Small(true)));
  grid.EnableHoverTracking();
  const CRect first = grid.GetCellRect(0, 0);  // the gap to (1, 0) is first.right .. first.right + 1
  const struct {
    CPoint at;
    CPoint cell;
  } cases[] = {{{first.right + 1, first.top + 4}, {1, 0}},
               {{first.right, first.top + 4}, {0, 0}},
               {{first.left + 4, first.bottom + 1}, {0, 1}}};
  for (const auto& c : cases) {
    grid.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(c.at.x, c.at.y));
    EXPECT_EQ(grid.Cell(), c.cell) << c.at.x << "," << c.at.y;
    EXPECT_EQ(std::get<2>(grid.selects.back()), SECColorWell::SelectHover);
  }
  const size_t n = grid.selects.size();
  grid.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(first.left + 4, first.bottom + 1));  // the current cell
  EXPECT_EQ(grid.selects.size(), n);
  EXPECT_TRUE(host.chosen.empty());  // hovering chooses nothing
}

TEST_F(ColorControls, AClickChoosesAndTheParentHearsIt) {
  Grid grid;
  ASSERT_TRUE(CreateGrid(grid, Small(true)));
  const CPoint p = grid.ScreenCenter(1, 1);
  drv::Click(p.x, p.y);
  drv::WaitIdle();
  EXPECT_EQ(grid.Cell(), CPoint(1, 1));
  EXPECT_EQ(::GetFocus(), grid.m_hWnd);
  ASSERT_EQ(host.chosen.size(), 1u);
  EXPECT_EQ(host.chosen[0], std::make_pair(WPARAM{IDC_TEST_COLOR_GRID}, kSix[4]));
}

TEST_F(ColorControls, TheOtherButtonRunsTheColourDialog) {
  Grid grid;
  ASSERT_TRUE(CreateGrid(grid, Small(true)));
  ColourDialog(-1);  // cancelled: nothing changes, nothing is sent
  grid.GetCustomButton()->SendMessage(BM_CLICK);
  EXPECT_EQ(grid.Cell(), CPoint(0, 0));
  EXPECT_TRUE(host.chosen.empty());

  ColourDialog(77);
  grid.GetCustomButton()->SendMessage(BM_CLICK);
  EXPECT_TRUE(grid.IsCustomShown());
  EXPECT_EQ(grid.GetColor(), RGB(77, 0, 0));
  ASSERT_EQ(host.chosen.size(), 1u);
  EXPECT_EQ(host.chosen[0].second, RGB(77, 0, 0));
}

TEST_F(ColorControls, AWellButtonReportsEveryOkOfItsDialogEvenUnchanged) {
  SECWellButton well;
  ASSERT_TRUE(well.AttachButton(IDC_TEST_COLOR_WELL, &host));
  well.SetColor(RGB(0, 0, 200));
  for (int round = 0; round < 2; ++round) {
    ColourDialog(256);  // OK without touching the colour
    well.SendMessage(SECColorWell::WM_RUNCOLORDIALOG);
  }
  ColourDialog(-1);
  well.SendMessage(SECColorWell::WM_RUNCOLORDIALOG);
  const std::pair<WPARAM, COLORREF> unchanged{IDC_TEST_COLOR_WELL, RGB(0, 0, 200)};
  EXPECT_EQ(host.chosen, (std::vector<std::pair<WPARAM, COLORREF>>{unchanged, unchanged}));
  EXPECT_EQ(well.GetColor(), RGB(0, 0, 200));
}

TEST_F(ColorControls, PopupKeysCloseOrChoose) {
  const struct {
    UINT key;
    bool chooses;
  } cases[] = {{VK_ESCAPE, false}, {VK_RETURN, true}, {VK_SPACE, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    host.chosen.clear();
    SECWellButton well;
    SECPopupColorWell* popup = OpenPopup(well, RGB(0, 128, 0));
    ASSERT_NE(popup, nullptr);
    const HWND h = popup->m_hWnd;
    EXPECT_EQ(::GetFocus(), h);
    drv::PressKey(VK_RIGHT);  // dark green -> dark yellow
    drv::PressKey(c.key);
    drv::WaitIdle();
    EXPECT_FALSE(::IsWindow(h));
    EXPECT_EQ(::GetCapture(), nullptr);
    if (c.chooses) {
      ASSERT_EQ(host.chosen.size(), 1u);
      EXPECT_EQ(host.chosen[0], std::make_pair(WPARAM{IDC_TEST_COLOR_WELL}, RGB(128, 128, 0)));
      EXPECT_EQ(well.GetColor(), RGB(128, 128, 0));
    } else {
      EXPECT_TRUE(host.chosen.empty());
      EXPECT_EQ(well.GetColor(), RGB(0, 128, 0));
    }
    well.UnsubclassWindow();
  }
}

TEST_F(ColorControls, PopupStaysOpenOnItsOwnerAndPassesOtherClicksOn) {
  SECWellButton well;
  SECPopupColorWell* popup = OpenPopup(well, RGB(0, 0, 0));
  ASSERT_NE(popup, nullptr);
  const HWND h = popup->m_hWnd;
  CRect wellRect;
  well.GetWindowRect(&wellRect);
  drv::Click(wellRect.left + 2, wellRect.top + 2);
  drv::WaitIdle();
  EXPECT_TRUE(::IsWindow(h));
  EXPECT_EQ(Popup(), popup);

  Target after;
  ASSERT_TRUE(after.SubclassDlgItem(IDC_TEST_COLOR_AFTER, &host));
  CRect afterRect;
  after.GetWindowRect(&afterRect);
  drv::Click(afterRect.left + 3, afterRect.top + 4);
  drv::WaitIdle();
  EXPECT_FALSE(::IsWindow(h));
  ASSERT_FALSE(after.downs.empty());
  EXPECT_EQ(after.downs.front(), CPoint(3, 4));  // in the target's own client coordinates
  EXPECT_TRUE(host.chosen.empty());
}

TEST_F(ColorControls, TabMovesBetweenThePopupAndItsOtherButton) {
  SECWellButton well;
  SECPopupColorWell* popup = OpenPopup(well, RGB(0, 0, 0));
  ASSERT_NE(popup, nullptr);
  const HWND h = popup->m_hWnd;
  const HWND button = popup->GetCustomButton()->m_hWnd;
  for (UINT back : {UINT{VK_TAB}, UINT{VK_LEFT}, UINT{VK_DOWN}}) {
    drv::PressKey(VK_TAB);
    drv::WaitIdle();
    EXPECT_EQ(::GetFocus(), button);
    EXPECT_TRUE(::IsWindow(h));
    drv::PressKey(back);
    drv::WaitIdle();
    EXPECT_EQ(::GetFocus(), h) << back;
  }
  // Focus leaving both closes the popup.
  host.GetDlgItem(IDC_TEST_COLOR_BEFORE)->SetFocus();
  EXPECT_FALSE(::IsWindow(h));
}

TEST_F(ColorControls, ThePopupsOtherButtonHandsTheDialogToTheOwner) {
  SECWellButton well;
  SECPopupColorWell* popup = OpenPopup(well, RGB(0, 0, 0));
  ASSERT_NE(popup, nullptr);
  const HWND h = popup->m_hWnd;
  ColourDialog(90);
  const CPoint p = Center(popup->GetCustomButton()->m_hWnd);
  drv::Click(p.x, p.y);
  drv::WaitIdle();
  EXPECT_FALSE(::IsWindow(h));
  ASSERT_EQ(host.chosen.size(), 1u);
  EXPECT_EQ(host.chosen[0], std::make_pair(WPARAM{IDC_TEST_COLOR_WELL}, RGB(90, 0, 0)));
}

// A menu button that counts its hook instead of showing the menu.
struct CountingMenuButton : SECMenuButton {
  int inputs = 0;
  void OnInput() override { ++inputs; }
};

TEST_F(ColorControls, AMenuButtonRunsItsHookOnlyForAClickInsideWithTheCapture) {
  CountingMenuButton button;
  ASSERT_TRUE(button.AttachButton(IDC_TEST_COLOR_MENU, SECBitmapButton::Al_Left, IDB_TEST_FACE, &host));
  CRect r;
  button.GetWindowRect(&r);
  drv::Drag(r.CenterPoint(), CPoint(r.right + 30, r.bottom + 30));  // released outside
  drv::WaitIdle();
  EXPECT_EQ(button.inputs, 0);
  drv::Click(r.CenterPoint().x, r.CenterPoint().y);
  drv::WaitIdle();
  EXPECT_EQ(button.inputs, 1);
  button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));  // inside, but without the capture
  EXPECT_EQ(button.inputs, 1);
}

TEST_F(ColorControls, AMenuButtonSendsTheChosenCommandToItsParent) {
  SECMenuButton button;
  ASSERT_TRUE(button.AttachButton(IDC_TEST_COLOR_MENU, SECBitmapButton::Al_Left, IDB_TEST_FACE, &host));
  EXPECT_FALSE(button.AttachMenu(IDR_TEST_COLOR_MENU, 5));
  ASSERT_TRUE(button.AttachMenu(IDR_TEST_COLOR_MENU));
  CRect r;
  button.GetWindowRect(&r);
  drv::Click(r.CenterPoint().x, r.CenterPoint().y);  // the keys wait for the menu it opens
  drv::PressKey(VK_DOWN);
  drv::PressKey(VK_DOWN);
  drv::PressKey(VK_RETURN);
  drv::WaitIdle();
  EXPECT_EQ(host.commands, std::vector<UINT>{ID_TEST_CMD_B});
}

TEST_F(ColorControls, Screenshots) {
  const char* keep = std::getenv(kShotVariable);
  const std::string folder = keep ? keep : testenv::ScratchDir();
  Grid grid;
  ASSERT_TRUE(grid.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | SECColorWell::CWS_RAISEDBORDER, CPoint(200, 8),
                          &host, IDC_TEST_COLOR_GRID));
  grid.SetColor(RGB(166, 202, 240));
  grid.SetColor(RGB(250, 128, 20));  // a custom colour
  grid.SetColor(RGB(255, 0, 0));
  grid.SetFocus();
  host.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  Pump();
  CRect r;
  grid.GetWindowRect(&r);
  ASSERT_TRUE(plat::display::SavePng(folder + "/color-grid.png", &r));
  auto image = plat::display::ReadPng(folder + "/color-grid.png");
  ASSERT_TRUE(image.has_value());
  // The red cell shows red inside its frame.
  CPoint red = grid.GetCellRect(3, 2).CenterPoint();
  EXPECT_EQ(image->pixels[static_cast<size_t>(red.y) * static_cast<size_t>(image->width) + red.x] & 0xFFFFFF,
            0xFF0000u);

  SECWellButton well;
  SECPopupColorWell* popup = OpenPopup(well, RGB(0, 0, 128));
  ASSERT_NE(popup, nullptr);
  popup->SetColor(RGB(64, 32, 16));
  popup->SetColor(RGB(0, 0, 128));
  host.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  popup->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Pump();
  host.GetWindowRect(&r);
  CRect p;
  popup->GetWindowRect(&p);
  r.UnionRect(&r, &p);
  ASSERT_TRUE(plat::display::SavePng(folder + "/color-popup.png", &r));
}

}  // namespace
}  // namespace toolkit_test
