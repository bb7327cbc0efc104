// Document frames of the library's multi-document template in an MDI sample: a note moves
// between an MDI child, a frame docked in a bar and a floating one, keeping its document and
// views; the docked frame's menu, title, keys, clicks and destruction.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "CaptionFilterRig.h"
#include "Clock.h"
#include "Config.h"
#include "FrameworkFixture.h"
#include "ModuleRegistry.h"
#include "TestEnv.h"
#include "controls/SECAuxData.h"
#include "controls/SECDockContext.h"
#include "display/Png.h"
#include "dockable_test_ids.h"
#include "framework/SECDockableFrame.h"
#include "framework/SECFilterTables.h"
#include "framework/SECMDIChildWnd.h"
#include "framework/SECMDIFrameWnd.h"
#include "framework/SECMultiDocTemplate.h"
#include "framework/ScxMsgFilter.h"
#include "user/Driver.h"

namespace framework_test {
namespace {

namespace drv = plat::user::driver;
using nsSysCommandEx::ScxRequest;

HINSTANCE DockableModule() {
  static HMODULE module = plat::RegisterModule(plat::ModuleSpec{"DockableTest.dll", "C:\\Lumora", {}, {}, true});
  return reinterpret_cast<HINSTANCE>(module);
}

// A note: some text and the stamps its commands left.
class NoteDoc : public CDocument {
  DECLARE_DYNCREATE(NoteDoc)
 public:
  CString text = "A note";
  std::vector<std::string> stamps;

 protected:
  afx_msg void OnNoteStamp() { stamps.push_back("note"); }
  afx_msg void OnDockedStamp() { stamps.push_back("docked"); }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(NoteDoc, CDocument)
BEGIN_MESSAGE_MAP(NoteDoc, CDocument)
  ON_COMMAND(ID_DT_NOTE_STAMP, OnNoteStamp)
  ON_COMMAND(ID_DT_DOCKED_STAMP, OnDockedStamp)
END_MESSAGE_MAP()

// A view with a state of its own (a scroll-like offset) that a remade view would lose.
class NoteView : public CView {
  DECLARE_DYNCREATE(NoteView)
 public:
  int offset = 0;
  NoteDoc* Note() const { return static_cast<NoteDoc*>(GetDocument()); }
  void OnDraw(CDC* pDC) override {
    CRect r;
    GetClientRect(&r);
    pDC->FillSolidRect(&r, RGB(255, 255, 255));
    pDC->SetBkMode(TRANSPARENT);
    pDC->TextOut(6, 6 + offset, Note() ? Note()->text : CString());
  }
};
IMPLEMENT_DYNCREATE(NoteView, CView)

// A note's MDI child: its caption buttons on, as a program's child class switches them.
class NoteChild : public SECMDIChildWnd {
  DECLARE_DYNCREATE(NoteChild)
 public:
  NoteChild() { EnableCaptionButtons(1); }
};
IMPLEMENT_DYNCREATE(NoteChild, SECMDIChildWnd)

// A docked frame whose window cannot be made.
class BrokenDockedFrame : public SECDockableFrame {
  DECLARE_DYNCREATE(BrokenDockedFrame)
 public:
  BOOL PreCreateWindow(CREATESTRUCT&) override { return FALSE; }
};
IMPLEMENT_DYNCREATE(BrokenDockedFrame, SECDockableFrame)

// An MDI child whose window cannot be made.
class BrokenChild : public SECMDIChildWnd {
  DECLARE_DYNCREATE(BrokenChild)
 public:
  BOOL PreCreateWindow(CREATESTRUCT&) override { return FALSE; }
};
IMPLEMENT_DYNCREATE(BrokenChild, SECMDIChildWnd)

// While it lives, the first popup menu that shows gets the keys given, and its top items
// are noted ("+" after a checked one); a menu left open afterwards gets Escape.
struct MenuKeys {
  static inline MenuKeys* current = nullptr;
  HHOOK hook = nullptr;
  UINT_PTR tick = 0;
  int shown = 0;
  int waited = 0;
  std::string keys;
  std::vector<std::string> top;

  explicit MenuKeys(std::string k) : keys(std::move(k)) {
    current = this;
    hook = ::SetWindowsHookExA(WH_MSGFILTER, Proc, nullptr, ::GetCurrentThreadId());
    tick = ::SetTimer(nullptr, 0, 50, nullptr);  // the menu loop has a message to handle
  }
  ~MenuKeys() {
    ::UnhookWindowsHookEx(hook);
    ::KillTimer(nullptr, tick);
    current = nullptr;
  }
  MenuKeys(const MenuKeys&) = delete;
  MenuKeys& operator=(const MenuKeys&) = delete;
  static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam) {
    MenuKeys* w = current;
    HWND popup = ::FindWindowA("#32768", nullptr);
    if (code != MSGF_MENU || !w || !popup) return ::CallNextHookEx(nullptr, code, wParam, lParam);
    if (w->shown > 0) {
      // A menu still open long after the keys (one they did not close): Escape, never a hang.
      if (++w->waited % 200 == 0) drv::PressKey(VK_ESCAPE);
      return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    ++w->shown;
    auto menu = reinterpret_cast<HMENU>(::SendMessageA(popup, MN_GETHMENU, 0, 0));
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
      char text[64] = {};
      ::GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
      const bool checked = ::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_CHECKED;
      w->top.push_back(std::string(text) + (checked ? "+" : ""));
    }
    if (w->keys == "\x1b")
      drv::PressKey(VK_ESCAPE);
    else
      drv::TypeText(w->keys);
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
  }
};

class DockableFrameTest : public FrameworkTest {
 protected:
  void SetUp() override {
    FrameworkTest::SetUp();
    AfxSetResourceHandle(DockableModule());
    // The library's MDI frame stands in for the frame the fixture made; the template is
    // registered first, as a program does, so the frames switch their caption handling on.
    DropFrame();
    tmpl = new SECMultiDocTemplate(IDR_DT_NOTE, RUNTIME_CLASS(NoteDoc), RUNTIME_CLASS(NoteChild),
                                   RUNTIME_CLASS(NoteView), RUNTIME_CLASS(SECDockableFrame), IDR_DT_NOTE_DOCKED);
    app.AddDocTemplate(tmpl);  // the application owns it
    mdi = new SECMDIFrameWnd;  // deletes itself with its window
    ASSERT_TRUE(mdi->LoadFrame(IDR_DT_MAIN, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
    app.m_pMainWnd = mdi;
    mdi->EnableDocking(CBRS_ALIGN_ANY);
    mdi->SetWindowPos(nullptr, 40, 30, 720, 520, SWP_NOZORDER);
    mdi->ShowWindow(SW_SHOW);
    mdi->SetActiveWindow();
    Settle();
  }
  void TearDown() override {
    app.m_pMainWnd = nullptr;
    if (mdi && mdi->m_hWnd) mdi->DestroyWindow();
    mdi = nullptr;
    Settle();
    FrameworkTest::TearDown();
  }

  // A new note in an MDI child, its view active.
  NoteDoc* NewNote(const char* text = "A note") {
    auto* doc = static_cast<NoteDoc*>(tmpl->OpenDocumentFile(nullptr));
    if (doc) doc->text = text;
    Settle();
    return doc;
  }
  static NoteView* ViewOf(NoteDoc* doc) {
    POSITION pos = doc->GetFirstViewPosition();
    return pos ? static_cast<NoteView*>(doc->GetNextView(pos)) : nullptr;
  }
  static CFrameWnd* FrameOf(NoteDoc* doc) {
    NoteView* v = ViewOf(doc);
    return v ? v->GetParentFrame() : nullptr;
  }
  // A place request about a frame, carried out by the library's request filter as the
  // frame's caption would have it.
  LRESULT Move(CFrameWnd* about, int target, DWORD flags = 0, CPoint at = CPoint(), CSize size = CSize(),
               const SECDockPos* pos = nullptr, const SECMDIFrameWnd::SizePair* pair = nullptr) {
    ScxRequest request = PlaceRequest(about->m_hWnd, target, flags, at, size);
    request.pDockPos = pos;
    request.pDockSize = pair;
    nsSysCommandEx::ScxMsgFilter filter(about, sec_filters::idSysCommandEx);
    LRESULT result = 0;
    filter.FilterMessage(nsSysCommandEx::GetSysCommandExMessage(), nsSysCommandEx::requestMove,
                         reinterpret_cast<LPARAM>(&request), &result);
    Settle();
    return result;
  }
  // The texts of the main window's menu bar.
  std::vector<std::string> MenuTitles() const {
    std::vector<std::string> out;
    HMENU menu = ::GetMenu(mdi->m_hWnd);
    for (int i = 0; menu && i < ::GetMenuItemCount(menu); ++i) {
      char text[64] = {};
      ::GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
      if (text[0]) out.emplace_back(text);
    }
    return out;
  }
  int Place(CFrameWnd* f) const { return tmpl->GetDockedFramePlace(f); }
  // A point on a frame's caption, on the screen.
  static CPoint CaptionPoint(CFrameWnd* f) {
    CRect w;
    f->GetWindowRect(&w);
    const int border = (f->GetStyle() & WS_THICKFRAME) ? ::GetSystemMetrics(SM_CYFRAME) : ::GetSystemMetrics(SM_CYDLGFRAME);
    const int caption = (f->GetExStyle() & WS_EX_TOOLWINDOW) ? ::GetSystemMetrics(SM_CYSMCAPTION) : ::GetSystemMetrics(SM_CYCAPTION);
    return CPoint(w.left + 40, w.top + border + caption / 2);
  }
  // The caption menu of a frame, opened by a right click on its caption and chosen from with
  // keys; the menu's top items.
  std::vector<std::string> CaptionMenu(CFrameWnd* f, const std::string& keys) {
    MenuKeys watch(keys);
    const CPoint at = CaptionPoint(f);
    EXPECT_EQ(f->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y)), HTCAPTION);
    plat::clock::Advance(1'000'000);  // no double click with an earlier click
    drv::Click(at.x, at.y, 1);
    Settle();
    EXPECT_EQ(watch.shown, 1);
    return watch.top;
  }
  void Shot(const std::string& name) { ShotOf(mdi, name); }

  SECMultiDocTemplate* tmpl = nullptr;
  SECMDIFrameWnd* mdi = nullptr;
};

TEST_F(DockableFrameTest, ANoteMovesBetweenItsThreePlacesKeepingItsDocumentAndViews) {
  NoteDoc* doc = NewNote("Shopping list");
  ASSERT_NE(doc, nullptr);
  NoteView* v = ViewOf(doc);
  ASSERT_NE(v, nullptr);
  v->offset = 7;
  const HWND viewWnd = v->m_hWnd;
  const HWND childWnd = FrameOf(doc)->m_hWnd;
  ASSERT_TRUE(nsSysCommandEx::IsMDIChildFrame(FrameOf(doc)));

  // Docked on the left: a new frame in a bar of the main frame, the child gone.
  const LRESULT docked = Move(FrameOf(doc), nsSysCommandEx::placeDockedLeft);
  auto* dockable = dynamic_cast<SECDockableFrame*>(FrameOf(doc));
  ASSERT_NE(dockable, nullptr);
  EXPECT_EQ(reinterpret_cast<HWND>(docked), dockable->m_hWnd);
  EXPECT_FALSE(::IsWindow(childWnd));
  EXPECT_EQ(Place(dockable), SECMultiDocTemplate::placeLeft);
  CControlBar* bar = dockable->GetHoldingBar();
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->m_pDockBar, mdi->GetControlBar(AFX_IDW_DOCKBAR_LEFT));
  EXPECT_EQ(mdi->GetHostedFrame(bar), dockable);
  EXPECT_EQ(mdi->GetActiveDockedFrame(), dockable);
  EXPECT_EQ(mdi->MDIGetActive(), nullptr);
  EXPECT_FALSE(dockable->IsFloating());

  // Floating: the same frame, its bar in a floating frame that shows the note's caption.
  const HWND dockedWnd = dockable->m_hWnd;
  EXPECT_EQ(reinterpret_cast<HWND>(Move(dockable, nsSysCommandEx::placeFloating)), dockedWnd);
  EXPECT_TRUE(dockable->IsFloating());
  EXPECT_EQ(Place(dockable), SECMultiDocTemplate::placeFloating);
  CFrameWnd* floating = bar->GetParentFrame();
  ASSERT_NE(floating, nullptr);
  EXPECT_TRUE(floating->IsWindowVisible());
  EXPECT_FALSE(floating->GetStyle() & WS_CAPTION);
  EXPECT_EQ(dockable->GetStyle() & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));

  // Back to an MDI child, maximised.
  const LRESULT child = Move(dockable, nsSysCommandEx::placeMDIChildMaximized);
  EXPECT_FALSE(::IsWindow(dockedWnd));
  CFrameWnd* made = FrameOf(doc);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(reinterpret_cast<HWND>(child), made->m_hWnd);
  EXPECT_TRUE(nsSysCommandEx::IsMDIChildFrame(made));
  EXPECT_TRUE(made->IsZoomed());
  EXPECT_EQ(mdi->GetActiveDockedFrame(), nullptr);
  EXPECT_EQ(mdi->MDIGetActive(), made);

  // Every move kept the document, its one view, the view's own state and the text.
  EXPECT_EQ(ViewOf(doc), v);
  EXPECT_EQ(v->m_hWnd, viewWnd);
  EXPECT_EQ(v->offset, 7);
  EXPECT_EQ(doc->text, "Shopping list");
  EXPECT_EQ(made->GetActiveView(), v);
  POSITION pos = tmpl->GetFirstDocPosition();
  EXPECT_EQ(tmpl->GetNextDoc(pos), doc);
  EXPECT_EQ(pos, nullptr);
}

TEST_F(DockableFrameTest, TheMenuFollowsActivation) {
  EXPECT_EQ(MenuTitles(), (std::vector<std::string>{"&File", "&Window"}));
  NoteDoc* first = NewNote("First");
  ASSERT_NE(first, nullptr);
  Move(FrameOf(first), nsSysCommandEx::placeDockedTop);
  auto* docked = dynamic_cast<SECDockableFrame*>(FrameOf(first));
  ASSERT_NE(docked, nullptr);
  // Active, the docked frame shows its own menu: the template's for docked notes.
  EXPECT_EQ(docked->m_hMenuOwn, tmpl->m_hMenuDockable);
  // A child window has no menu of its own (a handle there would be its control id).
  EXPECT_EQ(docked->m_hMenuDefault, nullptr);
  EXPECT_EQ(docked->GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
  EXPECT_EQ(MenuTitles(), (std::vector<std::string>{"&Docked note", "&Window"}));
  // A click in an MDI child takes the activation and the menu.
  NoteDoc* second = NewNote("Second");
  ASSERT_NE(second, nullptr);
  CFrameWnd* child = FrameOf(second);
  CRect r;
  ViewOf(second)->GetWindowRect(&r);
  drv::Click(r.CenterPoint().x, r.CenterPoint().y);
  Settle();
  EXPECT_EQ(mdi->GetActiveDockedFrame(), nullptr);
  EXPECT_EQ(mdi->MDIGetActive(), child);
  EXPECT_EQ(MenuTitles(), (std::vector<std::string>{"&Note", "&Window"}));
  // A click in the docked note's view gives them back to it.
  ViewOf(first)->GetWindowRect(&r);
  drv::Click(r.CenterPoint().x, r.CenterPoint().y);
  Settle();
  EXPECT_EQ(mdi->GetActiveDockedFrame(), docked);
  EXPECT_EQ(MenuTitles(), (std::vector<std::string>{"&Docked note", "&Window"}));
  // The MDI child closes; when the last docked frame goes too the main frame's menu is back.
  child->SendMessage(WM_CLOSE);
  Settle();
  EXPECT_EQ(MenuTitles(), (std::vector<std::string>{"&Docked note", "&Window"}));
  docked->SendMessage(WM_CLOSE);
  Settle();
  EXPECT_EQ(mdi->GetActiveDockedFrame(), nullptr);
  EXPECT_EQ(MenuTitles(), (std::vector<std::string>{"&File", "&Window"}));
}

TEST_F(DockableFrameTest, DestroyingADockedFrameDestroysItsBar) {
  NoteDoc* doc = NewNote();
  ASSERT_NE(doc, nullptr);
  doc->m_bAutoDelete = FALSE;  // kept to look at after its frame is gone
  Move(FrameOf(doc), nsSysCommandEx::placeDockedBottom);
  auto* docked = dynamic_cast<SECDockableFrame*>(FrameOf(doc));
  ASSERT_NE(docked, nullptr);
  const HWND frameWnd = docked->m_hWnd;
  const HWND barWnd = docked->GetHoldingBar()->m_hWnd;
  const UINT barId = static_cast<UINT>(::GetDlgCtrlID(barWnd));
  EXPECT_TRUE(docked->DestroyWindow());
  EXPECT_FALSE(::IsWindow(barWnd));
  EXPECT_FALSE(::IsWindow(frameWnd));
  EXPECT_EQ(mdi->GetControlBar(barId), nullptr);
  EXPECT_EQ(mdi->GetActiveDockedFrame(), nullptr);
  EXPECT_EQ(doc->GetFirstViewPosition(), nullptr);
  Settle();

  // Floating, the floating frame goes with the bar.
  doc->m_bAutoDelete = TRUE;
  tmpl->RemoveDocument(doc);
  delete doc;
  doc = NewNote();
  Move(FrameOf(doc), nsSysCommandEx::placeFloating);
  docked = dynamic_cast<SECDockableFrame*>(FrameOf(doc));
  ASSERT_NE(docked, nullptr);
  ASSERT_TRUE(docked->IsFloating());
  const HWND floatingWnd = docked->GetHoldingBar()->GetParentFrame()->m_hWnd;
  const HWND floatingBar = docked->GetHoldingBar()->m_hWnd;
  docked->DestroyWindow();
  Settle();
  EXPECT_FALSE(::IsWindow(floatingBar));
  EXPECT_FALSE(::IsWindow(floatingWnd) && ::IsWindowVisible(floatingWnd));

  // A dockable frame that no bar holds is destroyed as any window.
  auto* loose = new SECDockableFrame;  // deletes itself with its window
  ASSERT_TRUE(loose->Create(nullptr, "Loose", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(100, 100, 300, 200)));
  const HWND looseWnd = loose->m_hWnd;
  EXPECT_EQ(loose->GetHoldingBar(), nullptr);
  EXPECT_TRUE(loose->DestroyWindow());
  EXPECT_FALSE(::IsWindow(looseWnd));
}

TEST_F(DockableFrameTest, WhenTheActiveDockedFrameGoesAnotherTakesOver) {
  NoteDoc* a = NewNote("A");
  NoteDoc* b = NewNote("B");
  ASSERT_TRUE(a && b);
  Move(FrameOf(a), nsSysCommandEx::placeDockedLeft);
  Move(FrameOf(b), nsSysCommandEx::placeDockedRight);
  auto* left = dynamic_cast<SECDockableFrame*>(FrameOf(a));
  auto* right = dynamic_cast<SECDockableFrame*>(FrameOf(b));
  ASSERT_TRUE(left && right);
  EXPECT_EQ(mdi->GetActiveDockedFrame(), right);
  // No MDI child: the other docked frame becomes the active one.
  right->SendMessage(WM_CLOSE);
  Settle();
  EXPECT_EQ(mdi->GetActiveDockedFrame(), left);
  // With a visible MDI child, the child takes over.
  NoteDoc* c = NewNote("C");
  ASSERT_NE(c, nullptr);
  mdi->ActivateDockedFrame(left);
  left->SendMessage(WM_CLOSE);
  Settle();
  EXPECT_EQ(mdi->GetActiveDockedFrame(), nullptr);
  EXPECT_EQ(mdi->MDIGetActive(), FrameOf(c));
  EXPECT_EQ(MenuTitles(), (std::vector<std::string>{"&Note", "&Window"}));
}

TEST_F(DockableFrameTest, TheToolWindowCaptionOnWindows4Only) {
  struct Case {
    const char* version;
    bool toolWindow;
  } const cases[] = {{"3.51.1057", false}, {"4.0.1381", true}, {"5.1.2600", true}};
  const BOOL saved = secData.bWin4;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version);
    plat::config::Set("WINVER", c.version);
    secData.bWin4 = IsWindows4OrLater();
    NoteDoc* doc = NewNote();
    ASSERT_NE(doc, nullptr);
    Move(FrameOf(doc), nsSysCommandEx::placeDockedLeft);
    CFrameWnd* docked = FrameOf(doc);
    ASSERT_TRUE(docked && docked->IsKindOf(RUNTIME_CLASS(SECDockableFrame)));
    EXPECT_EQ((docked->GetExStyle() & WS_EX_TOOLWINDOW) != 0, c.toolWindow);
    EXPECT_FALSE(docked->GetStyle() & FWS_PREFIXTITLE);
    docked->SendMessage(WM_CLOSE);
    Settle();
  }
  plat::config::Set("WINVER", std::nullopt);
  secData.bWin4 = saved;
}

TEST_F(DockableFrameTest, TheTitleIsTheDocumentsAndItsKeysReachTheNote) {
  NoteDoc* doc = NewNote();
  ASSERT_NE(doc, nullptr);
  doc->SetTitle("Groceries");
  Move(FrameOf(doc), nsSysCommandEx::placeDockedTop);
  CFrameWnd* docked = FrameOf(doc);
  ASSERT_NE(docked, nullptr);
  CString title;
  docked->GetWindowText(title);
  EXPECT_EQ(title, "Groceries");
  // A second frame of the document: both are numbered.
  CFrameWnd* second = tmpl->CreateNewFrame(doc, docked);
  ASSERT_NE(second, nullptr);
  tmpl->InitialUpdateFrame(second, doc, TRUE);
  Settle();
  docked->GetWindowText(title);
  EXPECT_EQ(title, "Groceries:1");
  second->SendMessage(WM_CLOSE);
  Settle();
  docked->GetWindowText(title);
  EXPECT_EQ(title, "Groceries");
  // The docked frame's keys are the template's for docked notes, and their commands reach
  // the note through the main window.
  mdi->ActivateDockedFrame(docked);
  ViewOf(doc)->SetFocus();
  drv::PressKey(VK_F8);
  Settle();
  EXPECT_EQ(doc->stamps, std::vector<std::string>{"docked"});
}

TEST_F(DockableFrameTest, AMoveThatCannotMakeItsFrameLeavesTheOldOneAsItWas) {
  NoteDoc* doc = NewNote("Kept");
  ASSERT_NE(doc, nullptr);
  NoteView* v = ViewOf(doc);
  CFrameWnd* child = FrameOf(doc);
  // No docked frame can be made: the MDI child keeps the note.
  tmpl->m_pDockableFrameClass = RUNTIME_CLASS(BrokenDockedFrame);
  const int barsBefore = static_cast<int>(mdi->m_listControlBars.GetCount());
  EXPECT_EQ(Move(child, nsSysCommandEx::placeDockedLeft), 0);
  EXPECT_EQ(Move(child, nsSysCommandEx::placeFloating), 0);
  ASSERT_TRUE(::IsWindow(child->m_hWnd));
  EXPECT_EQ(FrameOf(doc), child);
  EXPECT_EQ(child->GetActiveView(), v);
  EXPECT_EQ(static_cast<int>(mdi->m_listControlBars.GetCount()), barsBefore);
  // No MDI child can be made: the docked frame keeps it.
  tmpl->m_pDockableFrameClass = RUNTIME_CLASS(SECDockableFrame);
  Move(child, nsSysCommandEx::placeDockedLeft);
  CFrameWnd* docked = FrameOf(doc);
  ASSERT_TRUE(docked && docked->IsKindOf(RUNTIME_CLASS(SECDockableFrame)));
  tmpl->m_pFrameClass = RUNTIME_CLASS(BrokenChild);
  EXPECT_EQ(Move(docked, nsSysCommandEx::placeMDIChildRestored), 0);
  EXPECT_EQ(FrameOf(doc), docked);
  EXPECT_EQ(docked->GetActiveView(), v);
  EXPECT_EQ(doc->text, "Kept");
  EXPECT_EQ(mdi->MDIGetActive(), nullptr);
  tmpl->m_pFrameClass = RUNTIME_CLASS(NoteChild);
}

TEST_F(DockableFrameTest, DockedAndFloatingFramesMoveThroughTheirBar) {
  NoteDoc* doc = NewNote();
  ASSERT_NE(doc, nullptr);
  Move(FrameOf(doc), nsSysCommandEx::placeDocked);  // the main frame's first default place
  auto* docked = dynamic_cast<SECDockableFrame*>(FrameOf(doc));
  ASSERT_NE(docked, nullptr);
  EXPECT_EQ(Place(docked), SECMultiDocTemplate::placeBottom);
  const HWND frameWnd = docked->m_hWnd;
  CControlBar* bar = docked->GetHoldingBar();
  ASSERT_EQ(docked->GetStyle() & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u);
  // From one side to another the frame stays; its bar takes the side's alignment.
  struct Case {
    int target;
    int place;
    UINT dockBar;
    DWORD align;
  } const sides[] = {
      {nsSysCommandEx::placeDockedTop, SECMultiDocTemplate::placeTop, AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP},
      {nsSysCommandEx::placeDockedRight, SECMultiDocTemplate::placeRight, AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT},
      {nsSysCommandEx::placeDockedLeft, SECMultiDocTemplate::placeLeft, AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT},
  };
  for (const Case& c : sides) {
    SCOPED_TRACE(c.target);
    EXPECT_EQ(reinterpret_cast<HWND>(Move(docked, c.target)), frameWnd);
    EXPECT_EQ(Place(docked), c.place);
    EXPECT_EQ(bar->m_pDockBar, mdi->GetControlBar(c.dockBar));
    EXPECT_EQ(bar->GetBarStyle() & CBRS_ALIGN_ANY, c.align);
  }
  // Floated at a place and size of the request's; the bar's own float place comes back.
  auto* context = static_cast<SECDockContext*>(bar->m_pDockContext);
  context->m_ptMRUFloatPos = CPoint(-1, -1);
  EXPECT_EQ(reinterpret_cast<HWND>(Move(docked, nsSysCommandEx::placeFloating,
                                        ScxRequest::flagPoint | ScxRequest::flagSize, CPoint(200, 180), CSize(260, 190))),
            frameWnd);
  ASSERT_TRUE(docked->IsFloating());
  CRect r;
  bar->GetParentFrame()->GetWindowRect(&r);
  EXPECT_EQ(r.TopLeft(), CPoint(200, 180));
  EXPECT_EQ(context->m_ptMRUFloatPos, CPoint(-1, -1));
  // The floating frame gave its caption to the note; the main frame kept its own.
  EXPECT_FALSE(bar->GetParentFrame()->GetStyle() & WS_CAPTION);
  EXPECT_EQ(docked->GetStyle() & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
  EXPECT_EQ(mdi->GetStyle() & WS_OVERLAPPEDWINDOW, static_cast<DWORD>(WS_OVERLAPPEDWINDOW));
  // Floated again where it floats alone, it only moves.
  mdi->FloatBar(bar, CPoint(210, 190));
  Settle();
  bar->GetParentFrame()->GetWindowRect(&r);
  EXPECT_EQ(r.TopLeft(), CPoint(210, 190));
  // A floating frame moves its floating frame.
  Move(docked, nsSysCommandEx::placeFloating, ScxRequest::flagPoint, CPoint(150, 120));
  bar->GetParentFrame()->GetWindowRect(&r);
  EXPECT_EQ(r.TopLeft(), CPoint(150, 120));
  // Docked again without a side: where it was, with the styles it had docked.
  EXPECT_EQ(reinterpret_cast<HWND>(Move(docked, nsSysCommandEx::placeDocked)), frameWnd);
  EXPECT_FALSE(docked->IsFloating());
  EXPECT_EQ(Place(docked), SECMultiDocTemplate::placeLeft);
  EXPECT_EQ(docked->GetStyle() & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u);
}

TEST_F(DockableFrameTest, CaptionDoubleClicksFloatAndDockTheBar) {
  NoteDoc* doc = NewNote();
  ASSERT_NE(doc, nullptr);
  Move(FrameOf(doc), nsSysCommandEx::placeDockedRight);
  auto* docked = dynamic_cast<SECDockableFrame*>(FrameOf(doc));
  ASSERT_NE(docked, nullptr);
  CRect w;
  docked->GetWindowRect(&w);
  const CPoint caption(w.left + 20, w.top + 6);
  ASSERT_EQ(docked->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(caption.x, caption.y)), HTCAPTION);
  docked->SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(caption.x, caption.y));
  Settle();
  EXPECT_TRUE(docked->IsFloating());
  docked->GetWindowRect(&w);
  const CPoint floatingCaption(w.left + 20, w.top + 6);
  ASSERT_EQ(docked->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(floatingCaption.x, floatingCaption.y)), HTCAPTION);
  docked->SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(floatingCaption.x, floatingCaption.y));
  Settle();
  EXPECT_FALSE(docked->IsFloating());
  EXPECT_EQ(Place(docked), SECMultiDocTemplate::placeRight);
}

TEST_F(DockableFrameTest, ANoteTravelsByItsCaptionMenusAndGestures) {
  NoteDoc* doc = NewNote("Travelling");
  ASSERT_NE(doc, nullptr);
  NoteView* v = ViewOf(doc);
  v->offset = 3;
  const HWND viewWnd = v->m_hWnd;
  // "Docked to", "Left".
  const std::vector<std::string> childMenu = CaptionMenu(FrameOf(doc), "ol");
  EXPECT_EQ(childMenu, (std::vector<std::string>{"&Docked", "&Floating", "&MDI Child+", "", "D&ocked to", "MD&I Child as"}));
  auto* docked = dynamic_cast<SECDockableFrame*>(FrameOf(doc));
  ASSERT_NE(docked, nullptr);
  EXPECT_EQ(Place(docked), SECMultiDocTemplate::placeLeft);
  EXPECT_EQ(mdi->GetActiveDockedFrame(), docked);
  EXPECT_EQ(MenuTitles(), (std::vector<std::string>{"&Docked note", "&Window"}));
  // "Floating", from the docked frame's own caption.
  EXPECT_EQ(CaptionMenu(docked, "f"),
            (std::vector<std::string>{"&Docked+", "&Floating", "&MDI Child", "", "D&ocked to", "MD&I Child as"}));
  ASSERT_EQ(FrameOf(doc), docked);
  EXPECT_TRUE(docked->IsFloating());
  // Back by a right double click on its caption. (The context menu would open on the
  // first click's release and take the second: it is off for the gesture.)
  const HWND dockedWnd = docked->m_hWnd;
  docked->EnableCaptionButtons(1 | 8);
  plat::clock::Advance(1'000'000);
  const CPoint at = CaptionPoint(docked);
  {
    // The second release reaches the MDI child that now stands under the mouse and opens
    // its caption menu, as on Windows: Escape closes it.
    MenuKeys escape("\x1b");
    drv::Click(at.x, at.y, 1);
    drv::Click(at.x, at.y, 1);
    Settle();
  }
  EXPECT_FALSE(::IsWindow(dockedWnd));
  CFrameWnd* child = FrameOf(doc);
  ASSERT_NE(child, nullptr);
  EXPECT_TRUE(nsSysCommandEx::IsMDIChildFrame(child));
  EXPECT_EQ(MenuTitles(), (std::vector<std::string>{"&Note", "&Window"}));
  // "MDI Child as", "Maximized".
  CaptionMenu(child, "ix");
  EXPECT_EQ(FrameOf(doc), child);
  EXPECT_TRUE(child->IsZoomed());
  // The note and its view came through every move.
  EXPECT_EQ(ViewOf(doc), v);
  EXPECT_EQ(v->m_hWnd, viewWnd);
  EXPECT_EQ(v->offset, 3);
  EXPECT_EQ(doc->text, "Travelling");
}

TEST_F(DockableFrameTest, ASampleWithADockedAndAFloatingNote) {
  mdi->SetWindowText("Notes");
  NoteDoc* child = NewNote("An MDI child note");
  NoteDoc* left = NewNote("Docked on the left");
  NoteDoc* floating = NewNote("Floating with its bar");
  ASSERT_TRUE(child && left && floating);
  child->SetTitle("Child");
  left->SetTitle("Docked");
  floating->SetTitle("Floating");
  Move(FrameOf(left), nsSysCommandEx::placeDockedLeft);
  Move(FrameOf(floating), nsSysCommandEx::placeFloating, ScxRequest::flagPoint | ScxRequest::flagSize,
       CPoint(430, 260), CSize(260, 170));
  ASSERT_TRUE(FrameOf(left)->IsKindOf(RUNTIME_CLASS(SECDockableFrame)));
  ASSERT_TRUE(static_cast<SECDockableFrame*>(FrameOf(floating))->IsFloating());
  mdi->RecalcLayout();
  Settle();
  // The docked note fills its bar under its own small caption.
  CRect bar, frameRect;
  static_cast<SECDockableFrame*>(FrameOf(left))->GetHoldingBar()->GetClientRect(&bar);
  FrameOf(left)->GetClientRect(&frameRect);
  EXPECT_GT(frameRect.Width(), 100);
  EXPECT_GT(frameRect.Height(), 100);
  EXPECT_LE(frameRect.Width(), bar.Width());
  Shot("dockable-frame.png");
}

TEST_F(DockableFrameTest, TheCaptionOfADockedFrameActivatesItAndDragsItsBar) {
  NoteDoc* doc = NewNote("Dragged");
  NoteDoc* other = NewNote("Other");
  ASSERT_TRUE(doc && other);
  Move(FrameOf(doc), nsSysCommandEx::placeDockedTop);
  auto* docked = dynamic_cast<SECDockableFrame*>(FrameOf(doc));
  ASSERT_NE(docked, nullptr);
  // A click into the MDI child, then one on the docked frame's caption: it is active again,
  // and a click alone leaves it where it was.
  CRect r;
  ViewOf(other)->GetWindowRect(&r);
  drv::Click(r.CenterPoint().x, r.CenterPoint().y);
  Settle();
  ASSERT_EQ(mdi->GetActiveDockedFrame(), nullptr);
  CPoint at = CaptionPoint(docked);
  drv::Click(at.x, at.y);
  Settle();
  EXPECT_EQ(mdi->GetActiveDockedFrame(), docked);
  EXPECT_EQ(Place(docked), SECMultiDocTemplate::placeTop);
  // Dragged by its caption into the middle of the main window, its bar floats there.
  ::GetWindowRect(mdi->m_hWndMDIClient, &r);
  plat::clock::Advance(1'000'000);
  drv::Drag(at, r.CenterPoint(), 8);
  Settle();
  EXPECT_TRUE(docked->IsFloating());
  EXPECT_EQ(FrameOf(doc), docked);
}

TEST_F(DockableFrameTest, TheMainFramesDockingChildServesATemplateWithoutADockableClass) {
  NoteDoc* doc = NewNote();
  ASSERT_NE(doc, nullptr);
  tmpl->m_pDockableFrameClass = nullptr;
  // No class at all: nothing can be docked, and the MDI child stays.
  CFrameWnd* child = FrameOf(doc);
  EXPECT_EQ(Move(child, nsSysCommandEx::placeDockedRight), 0);
  EXPECT_EQ(FrameOf(doc), child);
  // The main frame's docking-child class makes the frame.
  mdi->m_pDockingChildClass = RUNTIME_CLASS(SECDockableFrame);
  EXPECT_NE(Move(child, nsSysCommandEx::placeDockedRight), 0);
  EXPECT_TRUE(FrameOf(doc)->IsKindOf(RUNTIME_CLASS(SECDockableFrame)));
  EXPECT_EQ(Place(FrameOf(doc)), SECMultiDocTemplate::placeRight);
  tmpl->m_pDockableFrameClass = RUNTIME_CLASS(SECDockableFrame);
}

}  // namespace
}  // namespace framework_test
