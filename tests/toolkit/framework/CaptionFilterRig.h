// What the caption-filter tests share: a document frame that offers its non-client messages
// to a filter tree as the library's document frames do, a document and view for it, and a
// template that records what the filters ask of it.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "FrameworkFixture.h"
#include "framework/SECDockableFrame.h"
#include "framework/SECMDIChildWnd.h"
#include "framework/SECMDIFrameWnd.h"
#include "framework/SECMsgFilter.h"
#include "framework/SECMultiDocTemplate.h"
#include "framework/ScxMsgFilter.h"

namespace framework_test {

class RigDoc : public CDocument {
  DECLARE_DYNCREATE(RigDoc)
};

class OtherDoc : public CDocument {
  DECLARE_DYNCREATE(OtherDoc)
};

class RigView : public CView {
  DECLARE_DYNCREATE(RigView)
 public:
  void OnDraw(CDC*) override {}
};

class OtherView : public CView {
  DECLARE_DYNCREATE(OtherView)
 public:
  void OnDraw(CDC*) override {}
};

// A dockable frame that is its own main window: the caption filters are the frame's; the
// rig only records the system commands of the buttons (and keeps the window's own caption
// kind unless a test asks for a tool window).
class FilterFrame : public SECDockableFrame {
  DECLARE_DYNCREATE(FilterFrame)
 public:
  // As the library's frames switch their caption handling (bit 0 on; bit 1 no buttons,
  // bit 2 no double click, bit 3 no context menu); `standardOff` switches the frame's own
  // five buttons off in the list, as the frame does, else on.
  void EnableCaptionButtons(DWORD flags) override { EnableCaptionButtons(flags, TRUE); }
  void EnableCaptionButtons(DWORD flags, BOOL standardOff);
  SECMsgFilter* Filter(UINT id) const { return m_pMsgFilter->FindFilter(id, nullptr, -1); }

  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // The system commands the buttons posted ("id x,y"); they are not carried out.
  static inline std::vector<std::string> sysCommands;
};

// A filter of a library frame's tree (its MDI frame's, MDI child's or the rig's document
// frame's), found at any depth; null when the frame has none of that id.
SECMsgFilter* FilterOf(const CFrameWnd* frame, UINT id);

// Offers a frame's non-client messages to its filters as the library's frames do; `base`
// is the frame's own handling. Nothing of the frame is touched after the filters, which
// may have taken it away. With `ownButtons` the frame's caption buttons are all the
// filters' (the places of the frame's own buttons answer as caption).
LRESULT FilterFrameMessage(HWND self, SECMsgFilter* filter, UINT message, WPARAM wParam, LPARAM lParam,
                           const std::function<LRESULT()>& base, bool ownButtons);

// A template that moves nothing but records what it is asked.
class RecordingTemplate : public SECMultiDocTemplate {
 public:
  RecordingTemplate(CRuntimeClass* pDocClass = RUNTIME_CLASS(RigDoc), CRuntimeClass* pViewClass = RUNTIME_CLASS(RigView),
                    UINT nIDResource = 0, LPCSTR lpszName = "Rig.Document");

  int GetDockedFramePlace(CFrameWnd* pFrame) override;
  CFrameWnd* ConvertFrame(CFrameWnd* pFrame) override;
  CFrameWnd* DockFrame(CFrameWnd* pFrame, UINT nDockBarID, const SECDockPos* pPos,
                       const SECMDIFrameWnd::SizePair* pSize) override;

  std::vector<std::string> calls;
  int dockedPlace = placeTop;
  // What a conversion does beside recording; its answer.
  std::function<CFrameWnd*(CFrameWnd*)> onConvert;
};

// Watches the menu loop: the first message it handles after the caption menu opened.
struct MenuWatch {
  static inline MenuWatch* current = nullptr;
  HHOOK hook = nullptr;
  UINT_PTR tick = 0;
  bool seen = false;
  CRect popup;
  std::vector<std::string> top;  // texts of the top items, "+" when checked
  bool dockedLeftChecked = false, restoredChecked = false;
  HWND watchWindow = nullptr;  // a window that must still be there while the menu shows
  bool windowThere = false;
  std::string keys = "\x1b";  // what the user then types: Escape by default

  MenuWatch();
  ~MenuWatch();
  MenuWatch(const MenuWatch&) = delete;
  MenuWatch& operator=(const MenuWatch&) = delete;
  static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam);
};

class CaptionFilterTest : public FrameworkTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A visible document frame of `tmpl` (registered with the application) with its view
  // active and every caption filter on.
  FilterFrame* NewDocFrame(RecordingTemplate* tmpl, DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                           DWORD exStyle = 0, CRect rect = CRect(120, 90, 520, 330));
  // A button's rectangle on the screen.
  static CRect OnScreen(FilterFrame* doc, const CRect& inWindow);
  // The pixels of a rectangle of the screen, for comparing looks.
  static std::vector<COLORREF> Pixels(const CRect& screen);
  // A right click on a caption, long after the clicks before (no double click), with the
  // template's record cleared; `watch` sees the caption menu it opens and types its keys.
  void RightClickForMenu(CPoint at, MenuWatch& watch);

  // The document frame, while its window lives (it may go during a test).
  FilterFrame* Doc() const { return dynamic_cast<FilterFrame*>(CWnd::FromHandlePermanent(docWnd)); }

  RecordingTemplate* tmpl = nullptr;  // the application owns it
  HWND docWnd = nullptr;
};

// A place request about a window: where to, with a point and size when the flags say so.
inline nsSysCommandEx::ScxRequest PlaceRequest(HWND about, int target, DWORD flags = 0, CPoint at = CPoint(), CSize size = CSize()) {
  nsSysCommandEx::ScxRequest request;
  request.hWnd = about;
  request.nTargetPlace = target;
  request.dwFlags = flags;
  request.x = at.x;
  request.y = at.y;
  request.cx = size.cx;
  request.cy = size.cy;
  return request;
}

}  // namespace framework_test
