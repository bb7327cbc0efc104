// A small application as the framework runs one: a frame with a menu, a static splitter
// holding a drawn view and a form view, started through the program's entry and its
// message loop, checked in a screenshot on the memory-only screen and on the sdl back
// end under a private X server.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <functional>
#include <string>
#include <vector>

#include "ModuleRegistry.h"
#include "TestEnv.h"
#include "Xvfb.h"
#include "afxext.h"
#include "display/Png.h"
#include "display/Screen.h"
#include "frame_ids.h"
#include "user/Input.h"

namespace {

using plat::display::Pixel;

constexpr COLORREF kViewColour = RGB(0, 120, 215);
constexpr UINT WM_SAMPLE_UP = WM_APP + 30;
constexpr int kLeftPane = 180;

Pixel Px(COLORREF c) { return (static_cast<Pixel>(GetRValue(c)) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

HINSTANCE Resources() {
  static HMODULE m = plat::RegisterModule(plat::ModuleSpec{"FrameRes.dll", "C:\\Lumora", {}, {}, true});
  return reinterpret_cast<HINSTANCE>(m);
}

class CSampleDoc : public CDocument {
  DECLARE_DYNCREATE(CSampleDoc)
};
IMPLEMENT_DYNCREATE(CSampleDoc, CDocument)

class CColourView : public CView {
  DECLARE_DYNCREATE(CColourView)
 public:
  void OnDraw(CDC* pDC) override {
    CRect r;
    GetClientRect(&r);
    pDC->FillSolidRect(&r, kViewColour);
  }
};
IMPLEMENT_DYNCREATE(CColourView, CView)

class CSampleForm : public CFormView {
  DECLARE_DYNCREATE(CSampleForm)
 public:
  CSampleForm() : CFormView(IDD_PANE) {}
  CString name = "顕微鏡 1";
  void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_NAME, name); }
};
IMPLEMENT_DYNCREATE(CSampleForm, CFormView)

class CSampleFrame : public CFrameWnd {
  DECLARE_DYNCREATE(CSampleFrame)
 public:
  CSplitterWnd split;
  static inline int zooms = 0;
  static inline std::function<void(CSampleFrame&)> onShown;  // the test's look at the running program

 protected:
  BOOL PreCreateWindow(CREATESTRUCT& cs) override {
    cs.x = 20;
    cs.y = 20;
    cs.cx = 520;
    cs.cy = 360;
    return CFrameWnd::PreCreateWindow(cs);
  }
  BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext* context) override {
    return split.CreateStatic(this, 1, 2) &&
           split.CreateView(0, 0, RUNTIME_CLASS(CColourView), CSize(kLeftPane, 0), context) &&
           split.CreateView(0, 1, RUNTIME_CLASS(CSampleForm), CSize(0, 0), context);
  }
  afx_msg void OnZoom() {
    ++zooms;
    PostMessage(WM_CLOSE);  // the accelerator reached the frame: the run is over
  }
  afx_msg LRESULT OnSampleUp(WPARAM, LPARAM) {
    if (onShown) onShown(*this);
    // F5 is the frame's accelerator for Zoom; a failing run closes the frame anyway.
    plat::user::input::Key(VK_F5, true);
    plat::user::input::Key(VK_F5, false);
    SetTimer(1, 5000, nullptr);
    return 0;
  }
  afx_msg void OnTimer(UINT_PTR) { PostMessage(WM_CLOSE); }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CSampleFrame, CFrameWnd)
BEGIN_MESSAGE_MAP(CSampleFrame, CFrameWnd)
  ON_COMMAND(ID_ZOOM, OnZoom)
  ON_MESSAGE(WM_SAMPLE_UP, OnSampleUp)
  ON_WM_TIMER()
END_MESSAGE_MAP()

class CSampleApp : public CWinApp {
 public:
  CSampleApp() : CWinApp("Sample") {}
  BOOL InitInstance() override {
    AfxSetResourceHandle(Resources());
    AddDocTemplate(new CSingleDocTemplate(IDR_FRAME, RUNTIME_CLASS(CSampleDoc), RUNTIME_CLASS(CSampleFrame),
                                          RUNTIME_CLASS(CColourView)));
    CCommandLineInfo info;
    ParseCommandLine(info);
    if (!ProcessShellCommand(info)) return FALSE;
    m_pMainWnd->PostMessage(WM_SAMPLE_UP);
    return TRUE;
  }
};

// What the running program shows, read from the pixels of the whole screen.
struct Look {
  CRect frame, viewArea, formArea, edit;
  POINT menuBar{};
};

Look Measure(CSampleFrame& f) {
  Look look;
  f.GetWindowRect(&look.frame);
  f.split.GetPane(0, 0)->GetWindowRect(&look.viewArea);
  f.split.GetPane(0, 1)->GetWindowRect(&look.formArea);
  f.split.GetPane(0, 1)->GetDlgItem(IDC_NAME)->GetWindowRect(&look.edit);
  POINT client{0, 0};
  f.ClientToScreen(&client);
  look.menuBar = POINT{look.frame.right - 30, client.y - 5};
  return look;
}

void CheckPixels(const Look& look, const std::vector<Pixel>& px, int width) {
  auto at = [&](int x, int y) { return px[static_cast<size_t>(y) * width + x]; };
  EXPECT_EQ(at(look.viewArea.CenterPoint().x, look.viewArea.CenterPoint().y), Px(kViewColour));
  EXPECT_EQ(at(look.edit.right - 6, look.edit.CenterPoint().y), Px(GetSysColor(COLOR_WINDOW)));  // after the text
  EXPECT_EQ(at(look.formArea.right - 20, look.formArea.bottom - 20), Px(GetSysColor(COLOR_3DFACE)));
  EXPECT_EQ(at(look.menuBar.x, look.menuBar.y), Px(GetSysColor(COLOR_MENU)));
  EXPECT_EQ(at(look.frame.CenterPoint().x, look.frame.top + 8), Px(GetSysColor(COLOR_ACTIVECAPTION)));
}

// Runs the program through its entry; `check` looks at it once it is up.
void RunSample(const std::function<void(CSampleFrame&)>& check) {
  CSampleApp app;
  bool checked = false;
  CSampleFrame::onShown = [&](CSampleFrame& f) {
    checked = true;
    // The layout: the frame's title and menu from its resource, the panes side by side.
    CString title;
    f.GetWindowText(title);
    EXPECT_EQ(title, "Untitled - 顕微鏡");
    CMenu* menu = f.GetMenu();
    ASSERT_NE(menu, nullptr);
    CString item;
    menu->GetMenuString(0, item, MF_BYPOSITION);
    EXPECT_EQ(item, "&File");
    auto* view = dynamic_cast<CColourView*>(f.split.GetPane(0, 0));
    auto* form = dynamic_cast<CSampleForm*>(f.split.GetPane(0, 1));
    ASSERT_NE(view, nullptr);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(f.GetActiveView(), view);
    CRect r;
    view->GetClientRect(&r);
    EXPECT_EQ(r.Width(), kLeftPane);
    CString text;
    form->GetDlgItemText(IDC_NAME, text);
    EXPECT_EQ(text, "顕微鏡 1");
    f.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    check(f);
  };
  CSampleFrame::zooms = 0;
  EXPECT_EQ(AfxWinMain(nullptr, nullptr, const_cast<LPSTR>(""), SW_SHOWNORMAL), 0);
  EXPECT_TRUE(checked);
  EXPECT_EQ(CSampleFrame::zooms, 1);  // the key went through the loop's accelerators
  EXPECT_EQ(app.m_pMainWnd, nullptr);
  CSampleFrame::onShown = nullptr;
}

TEST(SampleApp, RunsOnTheMemoryOnlyScreen) {
  RunSample([](CSampleFrame& f) {
    Look look = Measure(f);
    std::string path = testenv::ScratchDir() + "/sample.png";
    ASSERT_TRUE(plat::display::SavePng(path));
    auto img = plat::display::ReadPng(path);
    ASSERT_TRUE(img);
    CheckPixels(look, img->pixels, img->width);
  });
}

TEST(SampleApp, RunsOnTheSdlScreenUnderX) {
  // Static, so that the X server outlives the process screen that connects to it.
  static testenv::Xvfb x;
  if (x.Display().empty()) GTEST_SKIP() << "Xvfb is not available";
  x.UseForSdl(true);
  auto& screen = plat::display::Screen::Get();
  ASSERT_STREQ(screen.BackendName(), "sdl");
  RunSample([&](CSampleFrame& f) {
    Look look = Measure(f);
    screen.Present();  // what was drawn, without waiting for the loop to go idle
    std::vector<Pixel> shown;
    ASSERT_TRUE(screen.ReadShown(shown));
    CheckPixels(look, shown, screen.Width());
    EXPECT_TRUE(plat::display::SavePng(screen, testenv::ScratchDir() + "/sample-sdl.png"));
  });
}

}  // namespace
