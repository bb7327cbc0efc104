// Start-up: a second copy of the program raises the first and ends.
#include <gtest/gtest.h>

#include <algorithm>

#include "control/AboutDlg.h"
#include "control/VexApp.h"
#include "control/VexDoc.h"
#include "FrameRecorder.h"
#include "ui/MainFrame.h"
#include "user/Responder.h"

#include <memory>
#include <string>

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

namespace {

TEST(VexApp, StartsWithTheDocumentAndMarkedFrame) {
  CreateDirectoryA("C:\\Data", nullptr);
  WritePrivateProfileStringA("USER", "ExposureTime", "7", "C:\\Data\\lab.ini");
  {
  CVexApp app;
  char line[] = "/i C:\\Data\\lab.ini";
  app.SetStartupInfo(nullptr, line, SW_SHOW);
  ASSERT_TRUE(app.InitInstance());
  EXPECT_EQ(app.HasIniFile(), 1);
  EXPECT_EQ(app.GetIniFilePath(), CString("C:\\Data\\lab.ini"));
  ASSERT_NE(app.m_pMainWnd, nullptr);
  HWND frame = app.m_pMainWnd->m_hWnd;
  EXPECT_NE(GetPropA(frame, "Lumora"), nullptr);
  EXPECT_TRUE(IsWindowVisible(frame));
  auto* main = dynamic_cast<CMainFrame*>(app.m_pMainWnd);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(main->IsLiveRunning(), 1);
  auto* doc = dynamic_cast<CVexDoc*>(main->GetActiveDocument());
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(doc->GetExposureTime(), 7u);

  // The About box gets the version the document handed over and the program's texts.
  CAboutDlg about;
  app.SetVersionText("2.10");
  app.FillAboutBox(about);
  EXPECT_EQ(about.m_strVersion, CString("Valdane Lumora Version 2.10"));
  EXPECT_EQ(about.m_strCopyright, CString("Copyright (C) Valdane"));
  EXPECT_FALSE(about.m_strNotice.IsEmpty());

  // A setting file applied while live view runs: the views hear of it first (the panel's
  // reload then passes its values on), live view runs on, and the display sides follow the file.
  WritePrivateProfileStringA("USER", "LiveWindowLeft", "1", "C:\\Data\\a.vex");
  auto recorder = std::make_unique<FrameRecorder>(main);
  const int updates = recorder->UpdateCount();
  doc->LoadSettingFile("C:\\Data\\a.vex");
  ASSERT_GT(recorder->UpdateCount(), updates);
  EXPECT_EQ(recorder->broadcasts[updates], 0x10000u);
  EXPECT_EQ(std::count(recorder->broadcasts.begin() + updates, recorder->broadcasts.end(), 0x10000u), 1);
  EXPECT_EQ(main->IsLiveRunning(), 1);
  EXPECT_EQ(doc->IsLiveWindowLeft(), 1u);
  EXPECT_TRUE(IsWindowEnabled(frame));

  doc->SetExposureTime(8);
  recorder.reset();
  app.m_pMainWnd->DestroyWindow();
  EXPECT_FALSE(IsWindow(frame));
  }
  // The settings in force at exit go to the INI file the command line named.
  char value[16] = {};
  GetPrivateProfileStringA("USER", "ExposureTime", "", value, sizeof value, "C:\\Data\\lab.ini");
  EXPECT_STREQ(value, "8");
}

}  // namespace

namespace {

TEST(VexApp, AboutCommandShowsTheVersionAndTexts) {
  plat::user::responder::Reset();
  CVexApp app;
  char line[] = "";
  app.SetStartupInfo(nullptr, line, SW_SHOW);
  ASSERT_TRUE(app.InitInstance());
  app.SetVersionText("2.63");
  std::string texts[3];
  std::string caption;
  plat::user::responder::Push([&](const plat::user::responder::Shown& shown) {
    HWND dlg = shown.hwnd;
    caption = shown.caption;
    for (int i = 0; i < 3; ++i) {
      char text[128] = {};
      GetDlgItemTextA(dlg, 1131 + i, text, sizeof text);
      texts[i] = text;
    }
    SendMessageA(dlg, WM_COMMAND, IDOK, 0);
    return 0;
  });
  ASSERT_TRUE(PumpUntilEnabled(app.m_pMainWnd)) << "the first live frame enables the window";
  // The menu command reaches the application through the frame.
  app.m_pMainWnd->SendMessage(WM_COMMAND, ID_APP_ABOUT, 0);
  EXPECT_EQ(caption, "Lumora のﾊﾞｰｼﾞｮﾝ情報");
  EXPECT_EQ(texts[0], "Valdane Lumora Version 2.63");
  EXPECT_EQ(texts[1], "Copyright (C) Valdane");
  EXPECT_EQ(texts[2], "顕微鏡デジタルカメラ システム");
  EXPECT_TRUE(IsWindowEnabled(app.m_pMainWnd->m_hWnd));
  app.m_pMainWnd->DestroyWindow();
}

}  // namespace
