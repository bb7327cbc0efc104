// The control panel and its settings pages under the user's hand: clicks at the controls'
// places on the screen and keys, entering where the display's input enters (hit test,
// focus), judged by the document and by what the screen shows. Group boxes lie over their
// radios and the sheet's tab control under its pages, and neither may take the clicks.
#include <gtest/gtest.h>

#include <string>

#include "Clock.h"
#include "SettingsSheetRig.h"
#include "pipeline/output/VexDisplayOutput.h"
#include "user/Driver.h"

namespace {

namespace driver = plat::user::driver;

enum Page { kPhotoPage = 0, kSavePage = 1, kLivePage = 2, kTimerPage = 3, kOptionPage = 4 };

class ControlPanelInput : public SettingsSheetRig {
 protected:
  void StartInput() {
    StartSheet();
    ASSERT_FALSE(HasFatalFailure());
    // The start-up splash lies over the panel for its first seconds.
    CRect r;
    panel->GetWindowRect(&r);
    const POINT centre = r.CenterPoint();
    ASSERT_TRUE(PumpUntil([&] { return ::GetAncestor(::WindowFromPoint(centre), GA_ROOT) == frame->m_hWnd; }, 30));
  }
  // A click where the user sees the control: near its left end (a radio's or check box's
  // box, an edit's first character), half way down.
  void ClickOn(HWND item) {
    ASSERT_NE(item, nullptr);
    CRect r;
    ::GetWindowRect(item, &r);
    driver::Click(r.left + std::min(6, r.Width() / 2), r.CenterPoint().y);
    Pump();
  }
  void ClickTab(int index) {
    CTabCtrl* tab = sheet->GetTabControl();
    CRect r;
    tab->GetItemRect(index, &r);
    tab->ClientToScreen(&r);
    driver::Click(r.CenterPoint().x, r.CenterPoint().y);
    Pump();
  }
  void Press(UINT vk, unsigned modifiers = driver::kNone) {
    driver::PressKey(vk, modifiers);
    Pump();
  }
  void Type(const std::string& text) {
    driver::TypeText(text);
    Pump();
  }
  // The pixels of the window's place on the screen that differ from the face colour.
  static int Drawn(HWND window) {
    CRect r;
    ::GetWindowRect(window, &r);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    HDC screen = ::GetDC(nullptr);
    int drawn = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) drawn += ::GetPixel(screen, x, y) != face;
    ::ReleaseDC(nullptr, screen);
    return drawn;
  }
  HWND PanelItem(int id) const { return ::GetDlgItem(panel->m_hWnd, id); }
};

TEST_F(ControlPanelInput, SensitivityRadiosAndTheProfileToggleTakeClicksThroughTheirGroupBoxes) {
  StartInput();
  ASSERT_EQ(doc->GetSensitivity(), 0u);
  ClickOn(PanelItem(1054));
  EXPECT_EQ(doc->GetSensitivity(), 1u) << "High";
  EXPECT_EQ(::IsDlgButtonChecked(panel->m_hWnd, 1054), BST_CHECKED);
  ClickOn(PanelItem(1055));
  EXPECT_EQ(doc->GetSensitivity(), 2u) << "Max";
  ClickOn(PanelItem(1053));
  EXPECT_EQ(doc->GetSensitivity(), 0u) << "Normal";
  EXPECT_EQ(::IsDlgButtonChecked(panel->m_hWnd, 1054), BST_UNCHECKED);
  const DWORD profile = doc->GetImageProfileState();
  ClickOn(PanelItem(1063));
  EXPECT_NE(doc->GetImageProfileState(), profile) << "the line profile toggled";
}

TEST_F(ControlPanelInput, EachPageTakesClicksAndKeysOnItsControls) {
  StartInput();
  // Photo: Quick, then a format chosen from the dropped list with the keys.
  ClickTab(kPhotoPage);
  ClickOn(Item(kPhotoPage, 1010));
  EXPECT_EQ(doc->GetFineMode(), 0u) << "Quick";
  ClickOn(Item(kPhotoPage, 1009));
  EXPECT_EQ(doc->GetFineMode(), 1u) << "Fine";
  const DWORD format = doc->GetFileFormat();
  ClickOn(Item(kPhotoPage, 1008));
  EXPECT_TRUE(::SendMessageA(Item(kPhotoPage, 1008), CB_GETDROPPEDSTATE, 0, 0)) << "the list drops";
  Press(format == 0 ? VK_DOWN : VK_UP);
  Press(VK_RETURN);
  EXPECT_NE(doc->GetFileFormat(), format);

  // Save: a prefix typed into its edit.
  ClickTab(kSavePage);
  EXPECT_TRUE(::IsWindowVisible(Page(kSavePage)));
  ClickOn(Item(kSavePage, 1017));
  EXPECT_EQ(::GetFocus(), Item(kSavePage, 1017));
  Press(VK_END);
  Press(VK_HOME, driver::kShift);
  Type("cell");
  EXPECT_EQ(Text(kSavePage, 1017), "cell");
  EXPECT_STREQ(doc->GetSavePrefix(), "cell");

  // Live: the rectangle sample, then WB enables Start.
  ClickTab(kLivePage);
  ClickOn(Item(kLivePage, 1035));
  EXPECT_EQ(doc->GetWBSampleRect(), 1u);
  EXPECT_FALSE(Enabled(kLivePage, 1036));
  ClickOn(Item(kLivePage, 1074));
  EXPECT_TRUE(Checked(kLivePage, 1074));
  EXPECT_TRUE(Enabled(kLivePage, 1036)) << "Start";
  EXPECT_EQ(panel->IsWhiteBalanceArea(), 1);
  ClickOn(Item(kLivePage, 1074));
  EXPECT_EQ(panel->IsWhiteBalanceArea(), 0);

  // Timer: the push-like Enable Timer.
  ClickTab(kTimerPage);
  const DWORD timer = doc->GetEnableTimeLapse();
  ClickOn(Item(kTimerPage, 1010));
  EXPECT_NE(doc->GetEnableTimeLapse(), timer);

  // Option: a colour radio under its group box, and Enhancement.
  ClickTab(kOptionPage);
  ClickOn(Item(kOptionPage, 1024));
  EXPECT_EQ(doc->GetColorMode(), 1u) << "B&W";
  ClickOn(Item(kOptionPage, 1023));
  EXPECT_EQ(doc->GetColorMode(), 0u);
  const DWORD enhance = doc->GetAutoEnhance();
  ClickOn(Item(kOptionPage, 1013));
  EXPECT_NE(doc->GetAutoEnhance(), enhance);
}

// What blanked the page: the tab control painting its body over it.
TEST_F(ControlPanelInput, APageStaysDrawnAfterItsOwnTabWBAndTheExposureKeys) {
  StartInput();
  ClickTab(kLivePage);
  const int drawn = Drawn(Page(kLivePage));
  ASSERT_GT(drawn, 500);
  const auto stillDrawn = [&](const char* after) {
    EXPECT_GT(Drawn(Page(kLivePage)), drawn * 8 / 10) << "the Live page after " << after;
  };
  ClickTab(kLivePage);
  stillDrawn("its own tab");
  ClickOn(Item(kLivePage, 1074));
  ASSERT_TRUE(PumpUntil([&] { return ::IsWindowEnabled(frame->m_hWnd) != FALSE; }));
  stillDrawn("WB");
  ClickOn(Item(kLivePage, 1074));
  // The exposure slider: a click gives it the focus, Home moves it to the shortest.
  ClickOn(PanelItem(1039));
  ASSERT_TRUE(PumpUntil([&] { return ::IsWindowEnabled(frame->m_hWnd) != FALSE; }));
  Press(VK_HOME);
  ASSERT_TRUE(PumpUntil([&] { return ::IsWindowEnabled(frame->m_hWnd) != FALSE; }));
  EXPECT_EQ(doc->GetExposureTime(), 0u);
  stillDrawn("Home on the exposure slider");
}

// White balance by rectangle: the sample kind, WB, a rectangle dragged over the live
// picture and Start, all by the mouse; the measured gains move off their start.
TEST_F(ControlPanelInput, WhiteBalanceByARectangleDraggedOnTheLivePicture) {
  StartInput();
  ClickTab(kLivePage);
  ClickOn(Item(kLivePage, 1035));
  ClickOn(Item(kLivePage, 1074));
  ASSERT_EQ(panel->IsWhiteBalanceArea(), 1);
  CVexDisplayOutput* live = frame->RightDisplay();
  CRect pane;
  live->GetWindowRect(&pane);
  driver::Drag(pane.TopLeft() + CPoint(40, 72), pane.TopLeft() + CPoint(280, 95), 8);
  Pump();
  ASSERT_EQ(doc->IsWhiteBalanceRectSet(), 1);
  const SHORT before = doc->GetWBGain(0, 0);
  // The run keeps the camera's pace, many frames: on the virtual clock it is fast.
  plat::clock::UseVirtual(true, 10);
  struct ClockBack {
    ~ClockBack() { plat::clock::UseVirtual(false); }
  } clockBack;
  ClickOn(Item(kLivePage, 1036));
  ASSERT_TRUE(PumpUntil([&] { return !Checked(kLivePage, 1074) && ::IsWindowEnabled(frame->m_hWnd); }));
  EXPECT_FALSE(Enabled(kLivePage, 1036)) << "Start";
  EXPECT_NE(doc->GetWBGain(0, 0), before);
}

}  // namespace
