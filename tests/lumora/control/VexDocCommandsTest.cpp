// The document's commands as the menu sends them to the main window.
#include <gtest/gtest.h>

#include <windows.h>

#include "DialogScript.h"
#include "control/VexApp.h"
#include "control/VexDoc.h"
#include "ui/MainFrame.h"
#include "user/Responder.h"

namespace responder = plat::user::responder;

namespace {

class VexDocCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    responder::Reset();
    dialogscript::Start();
    char line[] = "";
    app.SetStartupInfo(nullptr, line, SW_SHOW);
    ASSERT_TRUE(app.InitInstance());
    frame = dynamic_cast<CMainFrame*>(app.m_pMainWnd);
    ASSERT_NE(frame, nullptr);
    doc = dynamic_cast<CVexDoc*>(frame->GetActiveDocument());
    ASSERT_NE(doc, nullptr);
  }
  void TearDown() override {
    if (app.m_pMainWnd) app.m_pMainWnd->DestroyWindow();
    dialogscript::Stop();
  }
  void Command(UINT id) { frame->SendMessage(WM_COMMAND, id, 0); }
  CVexApp app;
  CMainFrame* frame = nullptr;
  CVexDoc* doc = nullptr;
};

TEST_F(VexDocCommands, PointerCommandsSetTheModeAndTellTheDisplay) {
  const struct {
    UINT command;
    SHORT mode;
  } cases[] = {{32801, 1}, {32792, 2}, {32811, 0}};
  for (const auto& c : cases) {
    const int updates = frame->UpdateCount();
    Command(c.command);
    EXPECT_EQ(doc->GetPointerMode(), c.mode) << c.command;
    EXPECT_EQ(frame->UpdateCount(), updates + 1);
    EXPECT_EQ(frame->LastUpdateFlags(), 0x1000u);
    EXPECT_TRUE(frame->IsWindowEnabled());
  }
}

TEST_F(VexDocCommands, DeleteAsksOnlyWhenPicturesAreChosen) {
  Command(32804);
  auto shown = responder::History();
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.back().text, "画像が選択されていません。\n操作を中止します。");
  EXPECT_EQ(shown.back().caption, "Lumora Caution");
  EXPECT_EQ(shown.back().type & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));

  CreateDirectoryA("C:\\Pics", nullptr);
  CreateDirectoryA("C:\\Pics\\s", nullptr);
  for (const char* name : {"C:\\Pics\\K.jpg", "C:\\Pics\\s\\Kj.jpg"}) {
    HANDLE h = CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(h);
  }
  doc->SetListFolder("C:\\Pics\\s");
  ASSERT_EQ(doc->ScanList(), 1);
  doc->SetListSelected(1, 0, 1);
  dialogscript::On("画像ファイルの削除", [](HWND dlg) { dialogscript::Press(dlg, IDOK); });
  const int updates = frame->UpdateCount();
  Command(32804);
  EXPECT_EQ(dialogscript::Opened("画像ファイルの削除"), 1);
  EXPECT_EQ(GetFileAttributesA("C:\\Pics\\K.jpg"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(frame->LastUpdateFlags(), 0x100000u);  // the thumbnails hear of it
  EXPECT_EQ(frame->UpdateCount(), updates + 1);
  EXPECT_TRUE(frame->IsWindowEnabled());
}

}  // namespace
