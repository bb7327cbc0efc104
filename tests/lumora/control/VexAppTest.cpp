// Start-up: a second copy of the program raises the first and ends.
#include <gtest/gtest.h>

#include "control/VexApp.h"

namespace {

HWND MakeTopWindow(const char* title) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "VexAppTestWindow";
  RegisterClassA(&wc);
  return CreateWindowExA(0, "VexAppTestWindow", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                         nullptr, nullptr, nullptr);
}

TEST(VexApp, SecondCopyRaisesTheMarkedWindowAndEnds) {
  HANDLE first = CreateMutexA(nullptr, TRUE, "Lumora");  // the running copy
  ASSERT_NE(first, nullptr);
  HWND other = MakeTopWindow("other");
  HWND running = MakeTopWindow("Lumora");
  SetPropA(running, "Lumora", reinterpret_cast<HANDLE>(1));
  ShowWindow(running, SW_MINIMIZE);
  SetForegroundWindow(other);
  ASSERT_TRUE(IsIconic(running));

  CVexApp app;
  EXPECT_FALSE(app.InitInstance());
  EXPECT_FALSE(IsIconic(running));
  EXPECT_EQ(GetForegroundWindow(), running);
  EXPECT_EQ(app.m_pMainWnd, nullptr);  // no document, no frame
  EXPECT_EQ(app.GetFirstDocTemplatePosition(), nullptr);
  DestroyWindow(running);
  DestroyWindow(other);
  CloseHandle(first);
}

TEST(VexApp, SecondCopyEndsEvenWithoutAWindowToRaise) {
  HANDLE first = CreateMutexA(nullptr, TRUE, "Lumora");
  CVexApp app;
  EXPECT_FALSE(app.InitInstance());
  EXPECT_FALSE(CVexApp::ActivateRunningCopy());
  CloseHandle(first);
}

}  // namespace
