#include "FrameworkFixture.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "SettleWindows.h"
#include "Clock.h"
#include "ModuleRegistry.h"
#include "TestEnv.h"
#include "display/Png.h"

namespace framework_test {

HINSTANCE TestModule() {
  static HMODULE module = plat::RegisterModule(plat::ModuleSpec{"FrameworkTest.dll", "C:\\Lumora", {}, {}, true});
  return reinterpret_cast<HINSTANCE>(module);
}

SECControlBar* MakeBar(CFrameWnd* frame, UINT id, LPCSTR title, CSize size, DWORD style, DWORD exStyle) {
  auto* bar = new SECControlBar;
  bar->m_bAutoDelete = TRUE;  // goes with its window
  if (!bar->Create(frame, title, style, exStyle, id)) return nullptr;
  bar->m_szHorz = bar->m_szVert = bar->m_szFloat = size;
  bar->EnableDocking(CBRS_ALIGN_ANY);
  return bar;
}

namespace {
std::string NativeProfile() { return testenv::DriveC() + "/FrameworkTest.ini"; }
}  // namespace

void FrameworkTest::SetUp() {
  // A kept screenshot is drawn with the installed fonts (the test font draws blocks), from the
  // first window on; only the sample layouts keep one.
  shotFonts = std::getenv("LUMORA_DISPLAY_SHOTS") &&
              std::string(testing::UnitTest::GetInstance()->current_test_info()->name()).rfind("ASample", 0) == 0;
  if (shotFonts) setenv("LUMORA_FONT", "", 1);
  savedResources = AfxGetResourceHandle();
  AfxSetResourceHandle(TestModule());
  plat::clock::UseVirtual(true);
  std::filesystem::remove(NativeProfile());
  app.m_pszProfileName = "C:\\FrameworkTest.ini";
  NewFrame();
}

void FrameworkTest::DropFrame() {
  app.m_pMainWnd = nullptr;
  if (frame && frame->m_hWnd) frame->DestroyWindow();
  frame = nullptr;
  if (view.m_hWnd) view.DestroyWindow();
  Settle();
}

SECMDIFrameWnd* FrameworkTest::NewMDIFrame() {
  auto* mdi = new SECMDIFrameWnd;  // deletes itself with its window
  if (!mdi->Create(nullptr, "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(40, 30, 680, 500))) {
    ADD_FAILURE() << "the MDI frame was not made";
    return nullptr;
  }
  app.m_pMainWnd = mdi;
  mdi->EnableDocking(CBRS_ALIGN_ANY);
  mdi->SetActiveWindow();
  Settle();
  return mdi;
}

void FrameworkTest::NewFrame() {
  DropFrame();
  frame = new SECFrameWnd;  // deletes itself with its window
  ASSERT_TRUE(frame->Create(nullptr, "Docking", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(60, 40, 700, 520)));
  app.m_pMainWnd = frame;
  ASSERT_TRUE(view.CreateEx(WS_EX_CLIENTEDGE, nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), frame,
                            AFX_IDW_PANE_FIRST));
  frame->EnableDocking(CBRS_ALIGN_ANY);
  frame->SetActiveWindow();
  Settle();
}

void FrameworkTest::TearDown() {
  DropFrame();
  MSG quit;
  ::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  plat::clock::UseVirtual(false);
  AfxSetResourceHandle(savedResources);
  if (shotFonts) setenv("LUMORA_FONT", "test", 1);
}

void FrameworkTest::Settle() { testenv::SettleWindows(); }

void FrameworkTest::Idle() {
  Settle();
  app.OnIdle(0);
  Settle();
}

void FrameworkTest::Screenshot(const std::string& name, CWnd* also) const {
  frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  const char* folder = std::getenv("LUMORA_DISPLAY_SHOTS");
  std::string path = (folder && *folder ? std::string(folder) : testenv::ScratchDir()) + "/" + name;
  CRect r;
  frame->GetWindowRect(&r);
  if (also) {
    also->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    CRect other;
    also->GetWindowRect(&other);
    r.UnionRect(&r, &other);
  }
  EXPECT_TRUE(plat::display::SavePng(path, &r)) << path;
}

void FrameworkTest::ShotOf(CWnd* window, const std::string& name) {
  window->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  const char* folder = std::getenv("LUMORA_DISPLAY_SHOTS");
  const std::string path = (folder && *folder ? std::string(folder) : testenv::ScratchDir()) + "/" + name;
  CRect r;
  window->GetWindowRect(&r);
  EXPECT_TRUE(plat::display::SavePng(path, &r)) << path;
}

std::string FrameworkTest::ProfileText() const {
  std::ifstream in(NativeProfile(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void FrameworkTest::WriteProfile(const std::string& text) const {
  std::ofstream(NativeProfile(), std::ios::binary) << text;
}

CRect FrameworkTest::InDock(CControlBar* bar) {
  CRect r;
  bar->GetWindowRect(&r);
  if (bar->m_pDockBar) bar->m_pDockBar->ScreenToClient(&r);
  return r;
}

std::string FrameworkTest::Rows(const CDockBar& dock) {
  std::string out;
  for (int i = 0; i < dock.m_arrBars.GetSize(); ++i) {
    if (!out.empty()) out += ' ';
    void* entry = dock.m_arrBars[i];
    if (!entry) {
      out += '0';
    } else if (CDockBar::IsPlaceHolder(entry)) {
      out += '#' + std::to_string(CDockBar::PlaceHolderID(entry));
    } else {
      CString title;
      static_cast<CControlBar*>(entry)->GetWindowText(title);
      out += title.IsEmpty() ? std::string("?") : std::string(title);
    }
  }
  return out;
}

}  // namespace framework_test
