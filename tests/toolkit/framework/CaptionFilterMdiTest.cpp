// Caption filters on MDI children of the library's MDI frame: a move that takes the child
// away while its button or caption is busy, moves that make an MDI child, the helpers that
// pick the next frame to activate.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CaptionFilterRig.h"
#include "Clock.h"
#include "framework/SECCaptionControlMsgFilter.h"
#include "framework/SECCaptionMsgFilter.h"
#include "framework/SECDocTemplateUtils.h"
#include "framework/SECFilterTables.h"
#include "framework/SECMDIFrameWnd.h"
#include "framework/SECWorkbook.h"
#include "framework/ScxMsgFilter.h"
#include "user/Driver.h"
#include "user/Input.h"

namespace framework_test {
namespace {

namespace drv = plat::user::driver;
namespace input = plat::user::input;
using nsSysCommandEx::ScxRequest;

class MdiCaptionFilterTest : public CaptionFilterTest {
 protected:
  void SetUp() override {
    CaptionFilterTest::SetUp();
    // The library's MDI frame stands in for the frame the fixture made.
    DropFrame();
    mdi = NewMDIFrame();
    ASSERT_NE(mdi, nullptr);
  }
  void TearDown() override {
    if (::IsWindow(docWnd)) ::DestroyWindow(docWnd);
    for (HWND h : children)
      if (::IsWindow(h)) ::DestroyWindow(h);
    app.m_pMainWnd = nullptr;
    if (mdi && mdi->m_hWnd) mdi->DestroyWindow();
    mdi = nullptr;
    CaptionFilterTest::TearDown();
  }
  // An MDI child showing the template's document, its view active, caption handling on.
  SECMDIChildWnd* NewChild(const char* title = "Child") {
    POSITION first = tmpl->GetFirstDocPosition();
    CDocument* document = first ? tmpl->GetNextDoc(first) : nullptr;
    if (!document) {
      document = new RigDoc;
      tmpl->AddDocument(document);  // the template keeps it
    }
    auto* child = new SECMDIChildWnd;  // deletes itself with its window
    if (!child->Create(nullptr, title, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CRect(10, 10, 330, 230), mdi))
      return nullptr;
    CCreateContext context;
    context.m_pCurrentDoc = document;
    context.m_pNewViewClass = RUNTIME_CLASS(RigView);
    context.m_pNewDocTemplate = tmpl;
    auto* v = dynamic_cast<CView*>(child->CreateView(&context));
    if (!v) return nullptr;
    child->SetActiveView(v);
    child->RecalcLayout();
    child->EnableCaptionButtons(1);
    mdi->MDIActivate(child);
    Settle();
    children.push_back(child->m_hWnd);
    return child;
  }
  static CRect ButtonOf(SECMDIChildWnd* child) {
    auto* list = static_cast<SECCaptionControlListMsgFilter*>(FilterOf(child, sec_filters::idCaptionList));
    list->LayoutControls();
    CRect r = static_cast<SECCaptionControlMsgFilter*>(FilterOf(child, sec_filters::idChildButton))->m_rectButton;
    CRect window;
    child->GetWindowRect(&window);
    r.OffsetRect(window.left, window.top);
    return r;
  }
  void ClickAt(CPoint at) {
    input::MouseMove(at.x, at.y);
    input::MouseButton(0, true);
    Settle();
    input::MouseMove(at.x, at.y);
    input::MouseButton(0, false);
    Settle();
  }
  LRESULT Request(HWND about, UINT code, int target, DWORD flags = 0, CPoint at = CPoint(), CSize size = CSize()) {
    ScxRequest request = PlaceRequest(about, target, flags, at, size);
    return ::SendMessageA(about, nsSysCommandEx::GetSysCommandExMessage(), code, reinterpret_cast<LPARAM>(&request));
  }

  // Gives the main frame a menu line of one item and maximises the child into it.
  void MaximiseUnderAMenu(SECMDIChildWnd* child) {
    HMENU menu = ::CreateMenu();  // the frame's, destroyed with it
    ::AppendMenuA(menu, MF_STRING, 0x7201, "&File");
    ::SetMenu(mdi->m_hWnd, menu);
    mdi->MDIMaximize(child);
    Settle();
  }
  // The main frame's place button for its maximised child, laid out, on the screen.
  CRect MaxChildButtonOnScreen() {
    static_cast<SECCaptionControlListMsgFilter*>(FilterOf(mdi, sec_filters::idCaptionList))->LayoutControls();
    CRect r = static_cast<SECCaptionControlMsgFilter*>(FilterOf(mdi, sec_filters::idMaxChildButton))->m_rectButton;
    CRect window;
    mdi->GetWindowRect(&window);
    if (!r.IsRectEmpty()) r.OffsetRect(window.left, window.top);
    return r;
  }
  // A point on a child's caption, clear of its buttons.
  static CPoint TitleOf(CWnd* child) {
    CRect caption;
    child->GetWindowRect(&caption);
    return CPoint(caption.left + 60, caption.top + 12);
  }

  SECMDIFrameWnd* mdi = nullptr;
  std::vector<HWND> children;
};

TEST_F(MdiCaptionFilterTest, AConversionThatDestroysTheChildDuringItsClickLeavesNothingBehind) {
  SECMDIChildWnd* child = NewChild();
  ASSERT_NE(child, nullptr);
  const HWND childWnd = child->m_hWnd;
  // Only the place button is the library's; the child's own buttons stay the frame's.
  EXPECT_FALSE(FilterOf(child, 0)->IsEnabled());
  tmpl->onConvert = [](CFrameWnd* f) {
    f->DestroyWindow();  // the child, its filters and its button go inside the click
    return nullptr;
  };
  ClickAt(ButtonOf(child).CenterPoint());
  // An MDI child toggles to docked: the template converts it.
  EXPECT_EQ(tmpl->calls, std::vector<std::string>{"convert"});
  EXPECT_FALSE(::IsWindow(childWnd));
  EXPECT_EQ(mdi->MDIGetActive(), nullptr);

  // The same by a right double click on the caption of another child.
  SECMDIChildWnd* second = NewChild("Second");
  ASSERT_NE(second, nullptr);
  const HWND secondWnd = second->m_hWnd;
  second->EnableCaptionButtons(1 | 8);  // no context menu on the first click's release
  tmpl->calls.clear();
  CRect caption;
  second->GetWindowRect(&caption);
  const CPoint title(caption.left + 60, caption.top + 12);
  drv::Click(title.x, title.y, 1);
  drv::Click(title.x, title.y, 1);
  Settle();
  EXPECT_EQ(tmpl->calls, std::vector<std::string>{"convert"});
  EXPECT_FALSE(::IsWindow(secondWnd));
}

TEST_F(MdiCaptionFilterTest, AMoveToAnMDIChildShowsTheNewChildAsAsked) {
  ASSERT_NE(NewDocFrame(tmpl), nullptr);  // a docked frame of the template (top)
  SECMDIChildWnd* made = nullptr;
  tmpl->onConvert = [&](CFrameWnd*) {
    made = NewChild("Made");
    return made;
  };
  // Maximised: the answer is the new child, shown maximised.
  const LRESULT answer = Request(docWnd, nsSysCommandEx::requestMove, nsSysCommandEx::placeMDIChildMaximized);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(reinterpret_cast<HWND>(answer), made->m_hWnd);
  EXPECT_TRUE(made->IsZoomed());
  BOOL maximised = FALSE;
  EXPECT_EQ(mdi->MDIGetActive(&maximised), made);
  EXPECT_TRUE(maximised);
  // While it is maximised its own place button hides.
  auto* list = static_cast<SECCaptionControlListMsgFilter*>(FilterOf(made, sec_filters::idCaptionList));
  list->LayoutControls();
  EXPECT_TRUE(static_cast<SECCaptionControlMsgFilter*>(FilterOf(made, sec_filters::idChildButton))->m_rectButton.IsRectEmpty());
  // An MDI child asked to be restored at a place and size gets both, and stays the same frame.
  tmpl->calls.clear();
  EXPECT_EQ(reinterpret_cast<HWND>(Request(made->m_hWnd, nsSysCommandEx::requestMove,
                                           nsSysCommandEx::placeMDIChildRestored,
                                           ScxRequest::flagPoint | ScxRequest::flagSize, CPoint(20, 30), CSize(200, 150))),
            made->m_hWnd);
  EXPECT_TRUE(tmpl->calls.empty());
  EXPECT_FALSE(made->IsZoomed());
  CRect r;
  made->GetWindowRect(&r);
  ::MapWindowPoints(nullptr, mdi->m_hWndMDIClient, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r, CRect(20, 30, 220, 180));
  list->LayoutControls();
  EXPECT_FALSE(static_cast<SECCaptionControlMsgFilter*>(FilterOf(made, sec_filters::idChildButton))->m_rectButton.IsRectEmpty());
  // Minimised through its caption menu: the menu shows the child restored.
  EXPECT_EQ(Request(made->m_hWnd, nsSysCommandEx::requestMove, nsSysCommandEx::placeMDIChildMinimized),
            reinterpret_cast<LRESULT>(made->m_hWnd));
  EXPECT_TRUE(made->IsIconic());
}

TEST_F(MdiCaptionFilterTest, AnMDIChildDocksAtASideThroughItsTemplate) {
  SECMDIChildWnd* child = NewChild();
  ASSERT_NE(child, nullptr);
  const struct {
    int place;
    const char* call;
  } cases[] = {
      {nsSysCommandEx::placeDockedTop, "dock 59419 1,0,3 150"},
      {nsSysCommandEx::placeDockedLeft, "dock 59420 1,0,3 150"},
      {nsSysCommandEx::placeDockedRight, "dock 59421 0,0,4 150"},
      {nsSysCommandEx::placeDockedBottom, "dock 59422 0,0,4 150"},
  };
  for (const auto& c : cases) {
    tmpl->calls.clear();
    EXPECT_EQ(Request(child->m_hWnd, nsSysCommandEx::requestMove, c.place), 0);
    EXPECT_EQ(tmpl->calls, std::vector<std::string>{c.call}) << c.place;
  }
  // A placement and size of the record's own.
  const SECDockPos pos{2, 1, 0};
  const SECMDIFrameWnd::SizePair size(0.5f, 90);
  ScxRequest request;
  request.hWnd = child->m_hWnd;
  request.nTargetPlace = nsSysCommandEx::placeDockedLeft;
  request.dwFlags = ScxRequest::flagPoint | ScxRequest::flagSize;
  request.pDockPos = &pos;
  request.pDockSize = &size;
  tmpl->calls.clear();
  ::SendMessageA(child->m_hWnd, nsSysCommandEx::GetSysCommandExMessage(), nsSysCommandEx::requestMove,
                 reinterpret_cast<LPARAM>(&request));
  EXPECT_EQ(tmpl->calls, std::vector<std::string>{"dock 59420 2,1,0 90"});
}

TEST_F(MdiCaptionFilterTest, TheNextFrameToActivate) {
  SECMDIChildWnd* a = NewChild("A");
  SECMDIChildWnd* b = NewChild("B");
  ASSERT_TRUE(a && b);
  EXPECT_TRUE(HasOtherVisibleMDIChild(a));
  b->ShowWindow(SW_HIDE);
  Settle();
  EXPECT_FALSE(HasOtherVisibleMDIChild(a));
  EXPECT_TRUE(HasOtherVisibleMDIChild(b));
  // A dockable frame of a template's document becomes the active docked frame; once it is,
  // nothing more happens, and it is never the next one for itself.
  EXPECT_FALSE(ActivateNextDockableFrame(nullptr)) << "no dockable frame yet";
  FilterFrame* docked = NewDocFrame(tmpl);
  ASSERT_NE(docked, nullptr);
  // Its own activation made it the active docked frame; with none active it is found.
  EXPECT_EQ(mdi->GetActiveDockedFrame(), docked);
  mdi->DeactivateDockedFrame(FALSE);
  EXPECT_TRUE(ActivateNextDockableFrame(nullptr));
  EXPECT_EQ(mdi->GetActiveDockedFrame(), docked);
  EXPECT_FALSE(ActivateNextDockableFrame(nullptr));
  EXPECT_FALSE(ActivateNextDockableFrame(docked));
}

TEST_F(MdiCaptionFilterTest, TheMaximisedChildsPlaceButtonSitsInTheFramesMenuLine) {
  SECMDIChildWnd* child = NewChild();
  ASSERT_NE(child, nullptr);
  auto* list = static_cast<SECCaptionControlListMsgFilter*>(FilterOf(mdi, sec_filters::idCaptionList));
  auto* button = static_cast<SECCaptionControlMsgFilter*>(FilterOf(mdi, sec_filters::idMaxChildButton));
  ASSERT_TRUE(list && button);
  list->LayoutControls();
  EXPECT_TRUE(button->m_rectButton.IsRectEmpty());  // the child is not maximised
  // The frame has a menu line for the maximised child's buttons.
  MaximiseUnderAMenu(child);
  list->LayoutControls();
  ASSERT_FALSE(button->m_rectButton.IsRectEmpty());
  // In the menu line, left of the child's own three buttons there.
  const CRect caption = list->GetCaptionRect();
  EXPECT_EQ(button->m_rectButton.top, caption.top + 2 + ::GetSystemMetrics(SM_CYCAPTION));
  EXPECT_EQ(button->m_rectButton.left - caption.right, -70);
  // A click on it asks the template to move the maximised child.
  CRect window;
  mdi->GetWindowRect(&window);
  const CPoint at(window.left + button->m_rectButton.CenterPoint().x, window.top + button->m_rectButton.CenterPoint().y);
  EXPECT_EQ(mdi->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y)), HTMENU);
  ClickAt(at);
  EXPECT_EQ(tmpl->calls, std::vector<std::string>{"convert"});
  // With the child's own place button off, the frame's takes no click.
  child->EnableCaptionButtons(1 | 2);
  LRESULT result = 0;
  EXPECT_EQ(mdi->GetMsgFilter()->FilterMessage(WM_NCLBUTTONDOWN, HTMENU, MAKELPARAM(at.x, at.y), &result), 0);
  EXPECT_FALSE(button->IsTracking());
}

TEST_F(MdiCaptionFilterTest, AClickAGestureAndTheContextMenuOfAChildReachTheTemplate) {
  SECMDIChildWnd* child = NewChild();
  ASSERT_NE(child, nullptr);
  // A short click on the place button toggles: an MDI child goes docked, by the template.
  ClickAt(ButtonOf(child).CenterPoint());
  EXPECT_EQ(tmpl->calls, std::vector<std::string>{"convert"});
  EXPECT_FALSE(static_cast<SECCaptionControlMsgFilter*>(FilterOf(child, sec_filters::idChildButton))->IsTracking());
  EXPECT_NE(::GetCapture(), child->m_hWnd);
  // A right double click on the caption does the same (the context menu is off for it).
  const CPoint title = TitleOf(child);
  child->EnableCaptionButtons(1 | 8);
  tmpl->calls.clear();
  drv::Click(title.x, title.y, 1);
  drv::Click(title.x, title.y, 1);
  Settle();
  EXPECT_EQ(tmpl->calls, std::vector<std::string>{"convert"});
  // The context menu at the click, with the child's place checked; "d" chooses Docked.
  child->EnableCaptionButtons(1);
  {
    MenuWatch watch;
    watch.keys = "d";
    RightClickForMenu(title, watch);
    ASSERT_TRUE(watch.seen);
    EXPECT_EQ(watch.popup.TopLeft(), title);
    EXPECT_EQ(watch.top, (std::vector<std::string>{"&Docked", "&Floating", "&MDI Child+", "", "D&ocked to", "MD&I Child as"}));
    EXPECT_TRUE(watch.restoredChecked);
  }
  EXPECT_EQ(tmpl->calls, std::vector<std::string>{"convert"});
  // With the caption handling off the clicks are the child's own: nothing reaches the template.
  child->EnableCaptionButtons(0);
  plat::clock::Advance(1'000'000);
  tmpl->calls.clear();
  const CPoint button = ButtonOf(child).CenterPoint();
  drv::Click(button.x, button.y, 0);  // the child's own caption press: it reads the release itself
  drv::Click(title.x, title.y, 1);
  drv::Click(title.x, title.y, 1);
  Settle();
  EXPECT_TRUE(tmpl->calls.empty());
  EXPECT_TRUE(::IsWindow(child->m_hWnd));
}

TEST_F(MdiCaptionFilterTest, TheMainFrameCarriesOutRequestsThroughItsOwnFilter) {
  SECMDIChildWnd* child = NewChild();
  ASSERT_NE(child, nullptr);
  // The caption menu of the child, asked of the main frame.
  ScxRequest ask;
  ask.hWnd = child->m_hWnd;
  ::SendMessageA(mdi->m_hWnd, nsSysCommandEx::GetSysCommandExMessage(), nsSysCommandEx::requestGetMenu,
                 reinterpret_cast<LPARAM>(&ask));
  ASSERT_NE(ask.hMenu, nullptr);
  EXPECT_EQ(::GetMenuState(ask.hMenu, 1, MF_BYCOMMAND) & MF_CHECKED, UINT(MF_CHECKED));  // MDI Child
  ::DestroyMenu(ask.hMenu);
  // A move asked of the main frame: docked at the top through the template.
  ScxRequest move;
  move.hWnd = child->m_hWnd;
  move.nTargetPlace = nsSysCommandEx::placeDockedTop;
  EXPECT_EQ(::SendMessageA(mdi->m_hWnd, nsSysCommandEx::GetSysCommandExMessage(), nsSysCommandEx::requestMove,
                           reinterpret_cast<LPARAM>(&move)),
            0);  // the recording template makes no frame
  EXPECT_EQ(tmpl->calls, std::vector<std::string>{"dock 59419 1,0,3 150"});
  // The frame's caption handling off: nobody carries the requests out.
  mdi->EnableCaptionButtons(0);
  tmpl->calls.clear();
  ask.hMenu = nullptr;
  ::SendMessageA(mdi->m_hWnd, nsSysCommandEx::GetSysCommandExMessage(), nsSysCommandEx::requestGetMenu,
                 reinterpret_cast<LPARAM>(&ask));
  EXPECT_EQ(ask.hMenu, nullptr);
  ::SendMessageA(mdi->m_hWnd, nsSysCommandEx::GetSysCommandExMessage(), nsSysCommandEx::requestMove,
                 reinterpret_cast<LPARAM>(&move));
  EXPECT_TRUE(tmpl->calls.empty());
}

TEST_F(MdiCaptionFilterTest, AWorkbooksMaximisedSheetMovesByItsButtonInTheMenuLine) {
  // The workbook takes the button's release first (its tabs), then hands it on to the
  // MDI frame's handling, where the filter sees it.
  app.m_pMainWnd = nullptr;
  mdi->DestroyWindow();
  Settle();
  mdi = new SECWorkbook;  // deletes itself with its window
  ASSERT_TRUE(mdi->Create(nullptr, "Book", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(40, 30, 680, 500)));
  app.m_pMainWnd = mdi;
  mdi->SetActiveWindow();
  Settle();
  SECMDIChildWnd* child = NewChild("Sheet");
  ASSERT_NE(child, nullptr);
  MaximiseUnderAMenu(child);
  const CRect button = MaxChildButtonOnScreen();
  ASSERT_FALSE(button.IsRectEmpty());
  ClickAt(button.CenterPoint());
  EXPECT_EQ(tmpl->calls, std::vector<std::string>{"convert"});
  EXPECT_FALSE(static_cast<SECCaptionControlMsgFilter*>(FilterOf(mdi, sec_filters::idMaxChildButton))->IsTracking());
  EXPECT_NE(::GetCapture(), mdi->m_hWnd);
}

TEST_F(MdiCaptionFilterTest, TheMainFramesCustomCaptionLeavesTheMaximisedChildsButtonShown) {
  SECMDIChildWnd* child = NewChild();
  ASSERT_NE(child, nullptr);
  MaximiseUnderAMenu(child);
  EXPECT_EQ(mdi->EnableCustomCaption(TRUE), FALSE);
  mdi->SendMessage(WM_NCACTIVATE, TRUE);
  mdi->SendMessage(WM_NCPAINT, 1);
  Settle();
  // The caption runs from black after the icon square.
  CWindowDC dc(mdi);
  const CRect caption = mdi->GetCaptionRect();
  EXPECT_EQ(dc.GetPixel(caption.left + ::GetSystemMetrics(SM_CXSIZE) + 1, caption.top + 2), RGB(0, 0, 0));
  // The place button's raised edge is there after the frame painted its non-client area.
  CRect button = MaxChildButtonOnScreen();
  ASSERT_FALSE(button.IsRectEmpty());
  CRect window;
  mdi->GetWindowRect(&window);
  button.OffsetRect(-window.left, -window.top);
  EXPECT_EQ(dc.GetPixel(button.left, button.top), ::GetSysColor(COLOR_3DHILIGHT));
  EXPECT_EQ(dc.GetPixel(button.right - 1, button.bottom - 1), ::GetSysColor(COLOR_3DDKSHADOW));
  // A new title keeps the custom caption: the text is taken, the caption painted again.
  EXPECT_EQ(mdi->SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Renamed")), 1);
  CString title;
  mdi->GetWindowText(title);
  EXPECT_EQ(title.Find("Renamed"), 0);
  EXPECT_EQ(dc.GetPixel(caption.left + ::GetSystemMetrics(SM_CXSIZE) + 1, caption.top + 2), RGB(0, 0, 0));
  EXPECT_EQ(mdi->EnableCustomCaption(FALSE), TRUE);
}


TEST_F(MdiCaptionFilterTest, TheLibrarysOwnBoxesTakeThePressAndActOnlyOnReleaseOverThem) {
  const struct {
    UINT id;
    const char* name;
    bool (*acted)(HWND);
  } boxes[] = {{SECCaptionControlMsgFilter::idClose, "close", [](HWND h) { return !::IsWindow(h); }},
               {SECCaptionControlMsgFilter::idMaximize, "maximise", [](HWND h) { return ::IsZoomed(h) != FALSE; }},
               {SECCaptionControlMsgFilter::idMinimize, "minimise", [](HWND h) { return ::IsIconic(h) != FALSE; }}};
  for (const auto& box : boxes) {
    SECMDIChildWnd* child = NewChild(box.name);
    ASSERT_NE(child, nullptr);
    const HWND childWnd = child->m_hWnd;
    // The library's buttons stand for the child's own boxes, drawn over them.
    auto* list = static_cast<SECCaptionControlListMsgFilter*>(FilterOf(child, sec_filters::idCaptionList));
    list->ApplyDescriptorsAll(list->m_descriptors, TRUE);
    list->LayoutControls();
    auto* button = static_cast<SECCaptionControlMsgFilter*>(FilterOf(child, box.id));
    CRect window;
    child->GetWindowRect(&window);
    const CPoint on = button->m_rectButton.CenterPoint() + window.TopLeft();
    // Where a button lies over a box, the window answers "caption", which the button takes.
    EXPECT_EQ(::SendMessageA(childWnd, WM_NCHITTEST, 0, MAKELPARAM(on.x, on.y)), HTCAPTION) << box.name;

    input::MouseMove(on.x, on.y);
    input::MouseButton(0, true);
    Settle();
    EXPECT_TRUE(button->IsTracking()) << box.name;
    EXPECT_TRUE(button->IsPushed()) << box.name;
    const CPoint off = TitleOf(child);
    input::MouseMove(off.x, off.y);
    Settle();
    EXPECT_FALSE(button->IsPushed()) << box.name;
    input::MouseButton(0, false);
    Settle();
    EXPECT_FALSE(button->IsTracking()) << box.name;
    ASSERT_TRUE(::IsWindow(childWnd)) << box.name;
    EXPECT_FALSE(box.acted(childWnd)) << box.name;

    plat::clock::Advance(1'000'000);  // no double click with the press before
    ClickAt(on);
    EXPECT_TRUE(box.acted(childWnd)) << box.name;
    if (::IsWindow(childWnd)) ::DestroyWindow(childWnd);
    Settle();
  }
}

}  // namespace
}  // namespace framework_test
