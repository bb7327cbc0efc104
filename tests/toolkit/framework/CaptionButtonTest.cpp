// Caption buttons and the place-switching gestures, driven with the mouse and keyboard the
// way a user drives them: where the buttons sit, what a press, a release and a hold do, the
// caption menu of places, and a move that takes the frame away while its button is busy.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "CaptionFilterRig.h"
#include "Clock.h"
#include "Faults.h"
#include "TestEnv.h"
#include "display/Png.h"
#include "framework/SECCaptionControlMsgFilter.h"
#include "framework/SECCaptionMsgFilter.h"
#include "framework/SECFilterTables.h"
#include "framework/ScxButtonMsgFilter.h"
#include "framework/ScxMsgFilter.h"
#include "user/Driver.h"
#include "user/Input.h"

namespace framework_test {
namespace {

namespace drv = plat::user::driver;
namespace input = plat::user::input;
using nsSysCommandEx::ScxRequest;

class CaptionButtonTest : public CaptionFilterTest {
 protected:
  SECCaptionControlListMsgFilter* List() const {
    return static_cast<SECCaptionControlListMsgFilter*>(Doc()->Filter(sec_filters::idCaptionList));
  }
  SECCaptionControlMsgFilter* Button(UINT id) const {
    return static_cast<SECCaptionControlMsgFilter*>(Doc()->Filter(id));
  }
  // A button's rectangle on the screen, laid out as the frame is now.
  CRect ButtonOnScreen(UINT id) const {
    List()->LayoutControls();
    return OnScreen(Doc(), Button(id)->m_rectButton);
  }
  // The buttons from the right: "id@offset from the caption's right", "*" when inactive.
  std::string Order() const {
    SECCaptionControlListMsgFilter* list = List();
    list->LayoutControls();
    const CRect caption = list->GetCaptionRect();
    std::string out;
    for (INT_PTR i = 0; i < list->GetChildCount(); ++i) {
      auto* b = dynamic_cast<SECCaptionControlMsgFilter*>(list->GetChild(i));
      if (!b || b->m_rectButton.IsRectEmpty()) continue;
      if (!out.empty()) out += ' ';
      out += std::to_string(b->GetID()) + "@" + std::to_string(b->m_rectButton.left - caption.right);
      if ((b->m_nDrawState & DFCS_INACTIVE) && b->GetID() < 5) out += '*';
    }
    return out;
  }
  void Press(CPoint at) {
    input::MouseMove(at.x, at.y);
    input::MouseButton(0, true);
    Settle();
  }
  void Release(CPoint at) {
    input::MouseMove(at.x, at.y);
    input::MouseButton(0, false);
    Settle();
  }
  // A click as a user makes it: the button goes down, the frame answers, the button comes up.
  void ClickAt(CPoint at) {
    Press(at);
    Release(at);
  }
  void Shot(const std::string& name) const {
    const char* folder = std::getenv("LUMORA_DISPLAY_SHOTS");
    const std::string path = (folder && *folder ? std::string(folder) : testenv::ScratchDir()) + "/" + name;
    CRect r;
    ::GetWindowRect(docWnd, &r);
    EXPECT_TRUE(plat::display::SavePng(path, &r)) << path;
  }
  // Sends a place request about the document frame, as another window would.
  LRESULT Request(UINT code, int target, DWORD flags = 0) {
    ScxRequest request;
    request.hWnd = docWnd;
    request.nTargetPlace = target;
    request.dwFlags = flags;
    return ::SendMessageA(docWnd, nsSysCommandEx::GetSysCommandExMessage(), code, reinterpret_cast<LPARAM>(&request));
  }
};

TEST_F(CaptionButtonTest, ButtonsLineUpFromTheRightWithTheFramesOwnGaps) {
  const struct {
    const char* name;
    DWORD style;
    DWORD exStyle;
    int show;
    const char* order;
  } cases[] = {
      // Close, 2, maximise, minimise, 2, then the place button.
      {"restored", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, SW_SHOWNORMAL, "0@-18 2@-36 1@-52 258@-70"},
      // Restore takes minimise's place and the gap follows it.
      {"minimised", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, SW_MINIMIZE, "0@-18 2@-36 3@-52 258@-70"},
      {"maximised", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, SW_MAXIMIZE, "0@-18 3@-36 1@-52 258@-70"},
      // A tool window keeps close only, at its small size.
      {"tool", WS_OVERLAPPEDWINDOW | WS_VISIBLE, WS_EX_TOOLWINDOW, SW_SHOWNORMAL, "0@-12 258@-24"},
      // Help only without both boxes.
      {"help", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_VISIBLE, WS_EX_CONTEXTHELP, SW_SHOWNORMAL,
       "0@-18 4@-36 258@-52"},
      {"help with boxes", WS_OVERLAPPEDWINDOW | WS_VISIBLE, WS_EX_CONTEXTHELP, SW_SHOWNORMAL,
       "0@-18 2@-36 1@-52 258@-70"},
      // One box missing: both show, the missing one greyed.
      {"no maximise box", (WS_OVERLAPPEDWINDOW & ~WS_MAXIMIZEBOX) | WS_VISIBLE, 0, SW_SHOWNORMAL,
       "0@-18 2@-36* 1@-52 258@-70"},
      {"no system menu", (WS_OVERLAPPEDWINDOW & ~WS_SYSMENU) | WS_VISIBLE, 0, SW_SHOWNORMAL, "258@-18"},
  };
  for (const auto& c : cases) {
    ASSERT_NE(NewDocFrame(tmpl, c.style, c.exStyle), nullptr) << c.name;
    Doc()->ShowWindow(c.show);
    Settle();
    EXPECT_EQ(Order(), c.order) << c.name;
    ::DestroyWindow(docWnd);
    Settle();
  }
}

TEST_F(CaptionButtonTest, TheCaptionAndButtonsFollowTheFramesBorderAndKind) {
  const struct {
    DWORD style;
    DWORD exStyle;
    CRect caption;  // window coordinates of a 400 x 240 frame
    CSize button;
  } cases[] = {
      {WS_OVERLAPPEDWINDOW, 0, CRect(4, 4, 396, 22), CSize(16, 14)},
      {WS_OVERLAPPEDWINDOW, WS_EX_TOOLWINDOW, CRect(4, 4, 396, 18), CSize(10, 10)},
      {WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, CRect(3, 3, 397, 21), CSize(16, 14)},
      {WS_POPUP | WS_BORDER, 0, CRect(1, 1, 399, 1), CSize(16, 14)},
  };
  for (const auto& c : cases) {
    ASSERT_NE(NewDocFrame(tmpl, c.style | WS_VISIBLE, c.exStyle), nullptr);
    EXPECT_EQ(List()->GetCaptionRect(), c.caption) << std::hex << c.style;
    EXPECT_EQ(List()->GetButtonSize(), c.button) << std::hex << c.style;
    EXPECT_EQ(List()->GetFirstButtonPos(c.caption, c.button),
              CPoint(c.caption.right - c.button.cx - 2, c.caption.top + 2));
    ::DestroyWindow(docWnd);
    Settle();
  }
  // The maximised child's list sits in the menu line, at the menu's button size.
  SECCapConLstMDIMaxChildMsgFilter maxList(nullptr, 256);
  EXPECT_EQ(maxList.GetButtonSize(), CSize(16, 14));
  EXPECT_EQ(maxList.GetFirstButtonPos(CRect(4, 4, 396, 22), CSize(16, 14)), CPoint(396 - 18, 6 + 19));
}

TEST_F(CaptionButtonTest, PressAndReleaseOnAButtonPostsItsSystemCommandWithThePoint) {
  ASSERT_NE(NewDocFrame(tmpl), nullptr);
  const struct {
    UINT id;
    UINT command;
  } cases[] = {{0, SC_CLOSE}, {2, SC_MAXIMIZE}, {1, SC_MINIMIZE}};
  for (const auto& c : cases) {
    FilterFrame::sysCommands.clear();
    const CPoint at = ButtonOnScreen(c.id).CenterPoint();
    ClickAt(at);
    EXPECT_EQ(FilterFrame::sysCommands,
              std::vector<std::string>{std::to_string(c.command) + " " + std::to_string(at.x) + "," +
                                       std::to_string(at.y)})
        << c.id;
    EXPECT_FALSE(Button(c.id)->IsTracking());
    EXPECT_NE(::GetCapture(), docWnd);
  }
  // An inactive button swallows the click and sends nothing.
  ::SetWindowLongA(docWnd, GWL_STYLE, ::GetWindowLongA(docWnd, GWL_STYLE) & ~WS_MAXIMIZEBOX);
  FilterFrame::sysCommands.clear();
  const CPoint at = ButtonOnScreen(2).CenterPoint();
  ClickAt(at);
  EXPECT_TRUE(FilterFrame::sysCommands.empty());
  EXPECT_FALSE(Button(2)->IsTracking());
}

TEST_F(CaptionButtonTest, ReleasingOutsideDoesNothingAndMovingBackRestoresThePushedLook) {
  ASSERT_NE(NewDocFrame(tmpl), nullptr);
  const CRect close = ButtonOnScreen(0);
  const CPoint on = close.CenterPoint(), off(close.left - 40, close.CenterPoint().y + 60);
  const std::vector<COLORREF> idle = Pixels(close);
  Press(on);
  EXPECT_EQ(::GetCapture(), docWnd);
  const std::vector<COLORREF> pushed = Pixels(close);
  EXPECT_NE(pushed, idle);
  input::MouseMove(off.x, off.y);
  Settle();
  EXPECT_EQ(Pixels(close), idle);
  input::MouseMove(on.x, on.y);
  Settle();
  EXPECT_EQ(Pixels(close), pushed);
  Release(off);
  EXPECT_TRUE(FilterFrame::sysCommands.empty());
  EXPECT_EQ(Pixels(close), idle);
  EXPECT_NE(::GetCapture(), docWnd);
}

TEST_F(CaptionButtonTest, HoldingThePlaceButtonShowsTheCaptionMenuUnderIt) {
  tmpl->dockedPlace = SECMultiDocTemplate::placeLeft;
  ASSERT_NE(NewDocFrame(tmpl), nullptr);
  const CRect button = ButtonOnScreen(sec_filters::idChildButton);
  MenuWatch watch;
  Press(button.CenterPoint());
  auto* place = Button(sec_filters::idChildButton);
  ASSERT_NE(place->GetTimer(), nullptr);
  watch.watchWindow = place->GetTimer()->m_hWnd;
  // Not yet: 399 ms.
  plat::clock::Advance(390'000);
  Settle();
  EXPECT_FALSE(watch.seen);
  plat::clock::Advance(10'000);
  Settle();
  ASSERT_TRUE(watch.seen);
  EXPECT_EQ(watch.popup.TopLeft(), CPoint(button.left, button.bottom));
  EXPECT_EQ(watch.top, (std::vector<std::string>{"&Docked+", "&Floating", "&MDI Child", "", "D&ocked to", "MD&I Child as"}));
  EXPECT_TRUE(watch.dockedLeftChecked);
  EXPECT_FALSE(watch.restoredChecked);
  // The timer window was still there under the menu (its own timer was being handled) and
  // goes once that is over.
  EXPECT_TRUE(watch.windowThere);
  EXPECT_FALSE(::IsWindow(watch.watchWindow));
  EXPECT_EQ(place->GetTimer(), nullptr);
  EXPECT_FALSE(place->IsTracking());
  EXPECT_FALSE(place->IsPushed());
  EXPECT_NE(::GetCapture(), docWnd);
  // Escape chose nothing.
  EXPECT_EQ(tmpl->calls, (std::vector<std::string>{"place"}));
}

TEST_F(CaptionButtonTest, AClickAGestureAndTheMenuReachTheTemplate) {
  ASSERT_NE(NewDocFrame(tmpl), nullptr);
  // A short click toggles: docked at the top, so the frame is asked to become an MDI child.
  const CPoint at = ButtonOnScreen(sec_filters::idChildButton).CenterPoint();
  ClickAt(at);
  EXPECT_EQ(tmpl->calls, (std::vector<std::string>{"place", "convert"}));
  // A right double click on the caption does the same (the context menu is off for it).
  Doc()->EnableCaptionButtons(1 | 8);
  tmpl->calls.clear();
  CRect caption = OnScreen(Doc(), List()->GetCaptionRect());
  const CPoint title(caption.left + 60, caption.CenterPoint().y);
  drv::Click(title.x, title.y, 1);
  drv::Click(title.x, title.y, 1);
  Settle();
  EXPECT_EQ(tmpl->calls, (std::vector<std::string>{"place", "convert"}));
  // The context menu at the click: "m" chooses MDI Child.
  Doc()->EnableCaptionButtons(1);
  MenuWatch watch;
  watch.keys = "m";
  RightClickForMenu(title, watch);
  ASSERT_TRUE(watch.seen);
  EXPECT_EQ(watch.popup.TopLeft(), title);
  EXPECT_EQ(tmpl->calls, (std::vector<std::string>{"place", "place", "convert"}));
}

TEST_F(CaptionButtonTest, MovesWithNowhereToGoOrNoViewAnswerZero) {
  ASSERT_NE(NewDocFrame(tmpl), nullptr);
  // No MDI child and no library MDI frame: docking at a side has nowhere to go.
  EXPECT_EQ(Request(nsSysCommandEx::requestMove, nsSysCommandEx::placeDockedBottom), 0);
  EXPECT_EQ(tmpl->calls, (std::vector<std::string>{"place"}));
  // Without an active view no template is found and nothing is asked.
  tmpl->calls.clear();
  CView* view = Doc()->GetActiveView();
  Doc()->SetActiveView(nullptr);
  EXPECT_EQ(Request(nsSysCommandEx::requestMove, nsSysCommandEx::placeToggle), 0);
  EXPECT_EQ(Request(nsSysCommandEx::requestShowMenu, 0), 0);
  EXPECT_TRUE(tmpl->calls.empty());
  Doc()->SetActiveView(view);
  // A request about no window is nobody's.
  ScxRequest request;
  EXPECT_EQ(::SendMessageA(docWnd, nsSysCommandEx::GetSysCommandExMessage(), nsSysCommandEx::requestMove,
                           reinterpret_cast<LPARAM>(&request)),
            0);
  EXPECT_TRUE(tmpl->calls.empty());
}

TEST_F(CaptionButtonTest, AnAbandonedMoveAnswersZeroAndUnlocksTheMainWindow) {
  ASSERT_NE(NewDocFrame(tmpl), nullptr);
  // The conversion makes a frame, but no MDI child.
  HWND madeWnd = nullptr;
  tmpl->onConvert = [&](CFrameWnd*) {
    auto* made = new CFrameWnd;
    made->Create(nullptr, "Made");
    madeWnd = made->m_hWnd;
    // While it converts, the main window's updates are locked.
    EXPECT_FALSE(::LockWindowUpdate(docWnd));
    return made;
  };
  EXPECT_EQ(Request(nsSysCommandEx::requestMove, nsSysCommandEx::placeMDIChildMaximized), 0);
  EXPECT_EQ(tmpl->calls, (std::vector<std::string>{"place", "convert"}));
  EXPECT_TRUE(::LockWindowUpdate(docWnd));
  ::LockWindowUpdate(nullptr);
  ::DestroyWindow(madeWnd);
}

TEST_F(CaptionButtonTest, AConversionThatTakesTheFrameDuringTheClickLeavesNothingBehind) {
  ASSERT_NE(NewDocFrame(tmpl), nullptr);
  tmpl->onConvert = [](CFrameWnd* f) {
    f->DestroyWindow();  // the frame, its filters and its button go inside the click
    return nullptr;
  };
  const CPoint at = ButtonOnScreen(sec_filters::idChildButton).CenterPoint();
  ClickAt(at);
  EXPECT_EQ(tmpl->calls, (std::vector<std::string>{"place", "convert"}));
  EXPECT_FALSE(::IsWindow(docWnd));
  EXPECT_NE(::GetCapture(), docWnd);

  // The same from the held button's menu, inside the timer window's own timer message.
  ASSERT_NE(NewDocFrame(tmpl), nullptr);
  tmpl->calls.clear();
  MenuWatch watch;
  watch.keys = "m";
  const CRect button = ButtonOnScreen(sec_filters::idChildButton);
  Press(button.CenterPoint());
  plat::clock::Advance(400'000);
  Settle();
  ASSERT_TRUE(watch.seen);
  EXPECT_EQ(tmpl->calls, (std::vector<std::string>{"place", "place", "convert"}));
  EXPECT_FALSE(::IsWindow(docWnd));
  input::MouseButton(0, false);
  Settle();
}

TEST_F(CaptionButtonTest, WithoutAHoldTimerTheButtonActsOnReleaseOnly) {
  ASSERT_NE(NewDocFrame(tmpl), nullptr);
  plat::faults::Scope noTimers("SetTimer", ERROR_NOT_ENOUGH_MEMORY);
  const CPoint at = ButtonOnScreen(sec_filters::idChildButton).CenterPoint();
  Press(at);
  EXPECT_EQ(Button(sec_filters::idChildButton)->GetTimer(), nullptr);
  EXPECT_TRUE(Button(sec_filters::idChildButton)->IsTracking());
  plat::clock::Advance(2'000'000);
  Settle();
  EXPECT_TRUE(tmpl->calls.empty());
  Release(at);
  EXPECT_EQ(tmpl->calls, (std::vector<std::string>{"place", "convert"}));
}

TEST_F(CaptionButtonTest, AKeepOnFilterStaysOnWhenTheButtonsGoOff) {
  ASSERT_NE(NewDocFrame(tmpl), nullptr);
  Doc()->EnableCaptionButtons(0);
  EXPECT_TRUE(Doc()->Filter(sec_filters::idCaptionList)->IsEnabled());
  for (UINT id : {sec_filters::idSysCommandEx, sec_filters::idChildButton, sec_filters::idCaptionRDblClk,
                  sec_filters::idContextMenu})
    EXPECT_FALSE(Doc()->Filter(id)->IsEnabled()) << id;
  // The place button is off: a click on its place is the caption's.
  Doc()->EnableCaptionButtons(1);
  const CPoint at = ButtonOnScreen(sec_filters::idChildButton).CenterPoint();
  Doc()->EnableCaptionButtons(0);
  drv::Click(at.x, at.y);  // (down and up at once: the caption's own drag ends with it)
  Settle();
  EXPECT_TRUE(tmpl->calls.empty());
  // Bit 1 takes the buttons, and only them.
  Doc()->EnableCaptionButtons(1 | 2);
  EXPECT_TRUE(Doc()->Filter(sec_filters::idSysCommandEx)->IsEnabled());
  EXPECT_FALSE(Doc()->Filter(sec_filters::idChildButton)->IsEnabled());
  EXPECT_TRUE(Doc()->Filter(sec_filters::idContextMenu)->IsEnabled());
}

TEST_F(CaptionButtonTest, ACaptionWithTheLibrarysButtons) {
  ASSERT_NE(NewDocFrame(tmpl, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, CRect(120, 90, 420, 260)), nullptr);
  Doc()->SetWindowText("Document1");
  Doc()->SendMessage(WM_NCPAINT, 1);
  Settle();
  const CRect place = ButtonOnScreen(sec_filters::idChildButton);
  // The place button: face colour inside its two-pixel edge, its glyph in the text colour.
  HDC screen = ::GetDC(nullptr);
  EXPECT_EQ(::GetPixel(screen, place.left, place.top), ::GetSysColor(COLOR_3DHILIGHT));
  EXPECT_EQ(::GetPixel(screen, place.right - 1, place.bottom - 1), ::GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(::GetPixel(screen, place.left + 2, place.top + 2), ::GetSysColor(COLOR_BTNFACE));
  int glyph = 0;
  for (int y = place.top + 2; y < place.bottom - 2; ++y)
    if (::GetPixel(screen, place.CenterPoint().x, y) == ::GetSysColor(COLOR_BTNTEXT)) ++glyph;
  ::ReleaseDC(nullptr, screen);
  EXPECT_EQ(glyph, place.Height() * 60 / 100 / 2 * 2);
  Shot("caption-buttons.png");
}

}  // namespace
}  // namespace framework_test
