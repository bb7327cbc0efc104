// The document's commands as the menu sends them to the main window: File Open, Save
// and Save As, the setting files, deletion and pointer modes, answered as a user would
// through the file dialog and the questions that follow it.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "DialogDriver.h"
#include "Faults.h"
#include "TouchFile.h"
#include "control/VexApp.h"
#include "control/VexDoc.h"
#include "pipeline/output/VexFileOutput.h"
#include "FrameRecorder.h"
#include "ui/MainFrame.h"
#include "user/Responder.h"

namespace responder = plat::user::responder;

// A file output that notes the save the frame runs instead of writing a picture: these
// tests are about the document's questions and answers, not about the file.
class NotedFileOutput : public CVexFileOutput {
  DECLARE_DYNCREATE(NotedFileOutput)
 public:
  int Output(SHORT) override { return 1; }
};
IMPLEMENT_DYNCREATE(NotedFileOutput, CVexFileOutput)

namespace {

class VexDocCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    responder::Reset();
    saved = CMainFrame::Classes();
    for (auto& entry : CMainFrame::Classes().objects)
      if (entry.id == IDW_FILE_OUTPUT) entry.cls = RUNTIME_CLASS(NotedFileOutput);
    CreateDirectoryA("C:\\Image", nullptr);
    char line[] = "";
    app.SetStartupInfo(nullptr, line, SW_SHOW);
    ASSERT_TRUE(app.InitInstance());
    frame = dynamic_cast<CMainFrame*>(app.m_pMainWnd);
    ASSERT_NE(frame, nullptr);
    doc = dynamic_cast<CVexDoc*>(frame->GetActiveDocument());
    ASSERT_NE(doc, nullptr);
    recorder = std::make_unique<FrameRecorder>(frame);
    ASSERT_TRUE(PumpUntilEnabled(frame)) << "the first live frame enables the window";
    doc->SetFileFormat(3);
  }
  void TearDown() override {
    recorder.reset();
    if (app.m_pMainWnd) app.m_pMainWnd->DestroyWindow();
    CMainFrame::Classes() = saved;
    responder::Reset();
  }
  // The next modal window must carry `caption`; `act` answers it (a box's button).
  void Then(const std::string& caption, std::function<int(HWND)> act) {
    responder::Push([this, caption, act](const responder::Shown& shown) {
      seen.push_back(shown.caption);
      EXPECT_EQ(shown.caption, caption);
      return act(shown.hwnd);
    });
  }
  // A file dialog answered with a typed name; it is cancelled when the name is refused.
  void TypeName(const std::string& caption, const std::string& name) {
    Then(caption, [name](HWND dlg) {
      dialogdriver::TypeAndOk(dlg, name);
      if (dialogdriver::StillOpen(dlg)) dialogdriver::Press(dlg, IDCANCEL);
      return 0;
    });
  }
  // A message box's answer.
  void Answer(const std::string& caption, int button) {
    Then(caption, [button](HWND) { return button; });
  }
  void Command(UINT id) { frame->SendMessage(WM_COMMAND, id, 0); }
  std::string LastText() const {
    auto shown = responder::History();
    return shown.empty() ? "" : shown.back().text;
  }

  CVexApp app;
  CMainFrame* frame = nullptr;
  CVexDoc* doc = nullptr;
  std::unique_ptr<FrameRecorder> recorder;
  CMainFrame::Composition saved;
  std::vector<std::string> seen;
};

TEST_F(VexDocCommands, SaveAsAsksBeforeReplacingAPicture) {
  Touch("C:\\Image\\old.bmp");
  doc->m_nImageState = 1;
  for (int answer : {IDCANCEL, IDOK}) {
    const int saves = recorder->saves;
    TypeName("File Save Dialog", "C:\\Image\\old");  // filter Bmp (FileFormat 3) adds ".bmp"
    Answer("File Save Dialog", answer);             // the overwrite question
    Command(ID_FILE_SAVE_AS);
    EXPECT_EQ(LastText(), "C:\\Image\\old.bmp ファイルは既に存在します。\n上書きしますか？");
    EXPECT_EQ(recorder->saves, saves + (answer == IDOK ? 1 : 0)) << answer;
  }
  EXPECT_STREQ(doc->GetSavePath(), "C:\\Image\\old.bmp");
  EXPECT_EQ(doc->GetSaveFormat(), 6);
  EXPECT_EQ(doc->GetSaveQuality(), 0);
  EXPECT_EQ(seen, (std::vector<std::string>{"File Save Dialog", "File Save Dialog", "File Save Dialog",
                                            "File Save Dialog"}));
  EXPECT_FALSE(frame->IsBusy());
}

TEST_F(VexDocCommands, SaveOfAnOpenedPictureWritesItBackOrOpensSaveAs) {
  Touch("C:\\Image\\opened.tif");
  doc->m_nImageState = 3;
  doc->SetLoadPath("C:\\Image\\opened.tif");
  const struct {
    int answer;
    int saves;
  } cases[] = {{IDCANCEL, 0}, {IDYES, 1}, {IDNO, 0}};
  for (const auto& c : cases) {
    const int saves = recorder->saves;
    Answer("上書き保存", c.answer);
    if (c.answer == IDNO) Then("File Save Dialog", [](HWND dlg) { dialogdriver::Press(dlg, IDCANCEL); return 0; });
    Command(ID_FILE_SAVE);
    EXPECT_EQ(recorder->saves, saves + c.saves) << c.answer;
    EXPECT_TRUE(frame->IsWindowEnabled());
  }
  EXPECT_STREQ(doc->GetSavePath(), "C:\\Image\\opened.tif");
  EXPECT_EQ(doc->GetSaveFormat(), 3);
  EXPECT_NE(responder::History()[0].text.find("C:\\Image\\opened.tif ファイルは既に存在します。"), std::string::npos);
  EXPECT_EQ(seen.size(), 4u);
}

TEST_F(VexDocCommands, SaveFollowsTheImageState) {
  doc->m_nImageState = 0;
  Command(ID_FILE_SAVE);
  EXPECT_EQ(LastText(), "画像が表示されていません。\n操作を中止します。");
  Command(ID_FILE_SAVE_AS);
  EXPECT_EQ(recorder->saves, 0);

  // A fresh capture without automatic saving gets the next automatic name.
  doc->m_nImageState = 1;
  doc->SetAutoSave(0).SetFileFormat(4);
  Command(ID_FILE_SAVE);
  EXPECT_EQ(recorder->saves, 1);
  EXPECT_STREQ(doc->GetSavePath(), "C:\\Image\\Img_001.tif");
  EXPECT_EQ(doc->GetSaveFormat(), 3);

  // With automatic saving the capture was written already: the user is asked.
  Touch("C:\\Image\\Img_001.tif");
  doc->SetAutoSave(1);
  Answer("上書き保存", IDYES);
  Command(ID_FILE_SAVE);
  EXPECT_EQ(recorder->saves, 2);
  EXPECT_STREQ(doc->GetSavePath(), "C:\\Image\\Img_001.tif");
}

TEST_F(VexDocCommands, JpegSaveAsksTheQualityAndOverlays) {
  doc->m_nImageState = 1;
  doc->SetAnnotationsDrawn(1);
  doc->SetScaleDrawn(1);
  doc->SetFileOutputState(1);
  int presetShown = 0;
  Then("Overlay Select", [](HWND dlg) {
    SendMessageA(GetDlgItem(dlg, 1199), BM_CLICK, 0, 0);  // no scale
    SendMessageA(dlg, WM_COMMAND, IDOK, 0);
    return 0;
  });
  Then("Jpeg Quality", [&](HWND dlg) {
    presetShown = IsDlgButtonChecked(dlg, 1097) == BST_CHECKED;
    SendMessageA(GetDlgItem(dlg, 1098), BM_CLICK, 0, 0);
    SendMessageA(dlg, WM_COMMAND, IDOK, 0);
    return 0;
  });
  doc->SaveImage("C:\\Image\\shot.JPG");
  EXPECT_EQ(presetShown, 1);
  EXPECT_EQ(recorder->saves, 1);
  EXPECT_EQ(doc->GetOverlayChoice(), 1);
  EXPECT_EQ(doc->GetSaveFormat(), 98);
  EXPECT_EQ(doc->GetSaveQuality(), 35);
  EXPECT_EQ(doc->GetSaveBits(), 24);

  // An opened picture offers its annotations only.
  doc->m_nImageState = 3;
  int scaleEnabled = -1;
  Then("Overlay Select", [&](HWND dlg) {
    scaleEnabled = IsWindowEnabled(GetDlgItem(dlg, 1199));
    SendMessageA(dlg, WM_COMMAND, IDOK, 0);
    return 0;
  });
  Then("Jpeg Quality", [](HWND dlg) { SendMessageA(dlg, WM_COMMAND, IDCANCEL, 0); return 0; });
  doc->SaveImage("C:\\Image\\shot2.jpg");
  EXPECT_EQ(scaleEnabled, 0);
  EXPECT_EQ(recorder->saves, 1);  // cancelled at the quality

  // A quality dialog that cannot be shown is reported and the save stops.
  doc->SetAnnotationsDrawn(0);
  doc->SetScaleDrawn(0);
  responder::FailNextDialog();
  std::string code;
  Then("  エラー", [&code](HWND dlg) {
    code = dialogdriver::Text(GetDlgItem(dlg, 1143));
    SendMessageA(dlg, WM_COMMAND, IDOK, 0);
    return 0;
  });
  doc->SaveImage("C:\\Image\\shot3.jpg");
  EXPECT_EQ(recorder->saves, 1);
  EXPECT_EQ(code, "エラーコード: 421:002");
}

TEST_F(VexDocCommands, UnknownExtensionIsRefusedWithItsMessage) {
  doc->m_nImageState = 1;
  doc->SetAnnotationsDrawn(1);
  doc->SaveImage("C:\\Image\\shot.png");
  EXPECT_EQ(LastText(), "ファイルフォーマットが未対応です");
  EXPECT_EQ(recorder->saves, 0);
  EXPECT_TRUE(seen.empty());  // nothing else was asked
}

// A 2 x 2 picture as a 24-bit BMP file: what the open flow can show.
void WriteSmallBmp(const char* path) {
  const unsigned char file[] = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  // file header
                                40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 16, 0, 0, 0,
                                0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // info header
                                0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 0, 0, 0};  // rows
  HANDLE h = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(h, file, sizeof file, &written, nullptr);
  CloseHandle(h);
}

TEST_F(VexDocCommands, OpenShowsTheChosenPicture) {
  WriteSmallBmp("C:\\Image\\pic.bmp");
  TypeName("File Open Dialog", "C:\\Image\\pic.bmp");
  Command(ID_FILE_OPEN);
  EXPECT_STREQ(doc->GetLoadPath(), "C:\\Image\\pic.bmp");
  EXPECT_EQ(recorder->redisplays, 1);
  EXPECT_EQ(frame->IsLiveRunning(), 1);  // live view runs on after the open
  EXPECT_FALSE(frame->IsBusy());

  Then("File Open Dialog", [](HWND dlg) { dialogdriver::Press(dlg, IDCANCEL); return 0; });
  Command(ID_FILE_OPEN);
  EXPECT_EQ(recorder->redisplays, 1);
}

TEST_F(VexDocCommands, SettingFilesAreSavedAndLoadedThroughTheDialog) {
  CreateDirectoryA("C:\\Sets", nullptr);
  doc->SetExposureTime(5);
  TypeName("Save Setting File", "C:\\Sets\\lab");
  Command(32797);
  char value[16] = {};
  GetPrivateProfileStringA("USER", "ExposureTime", "", value, sizeof value, "C:\\Sets\\lab.vex");
  EXPECT_STREQ(value, "5");
  EXPECT_STREQ(doc->GetCurrentSettingFile(), "");  // saving does not change the current file

  doc->SetExposureTime(9);
  TypeName("Load Setting File", "C:\\Sets\\lab.vex");
  Command(32796);
  EXPECT_EQ(doc->GetExposureTime(), 5u);
  EXPECT_STREQ(doc->GetCurrentSettingFile(), "C:\\Sets\\lab.vex");
  EXPECT_EQ(frame->GetSettingLoadMode(), 0);
  EXPECT_TRUE(frame->IsWindowEnabled());
}

TEST_F(VexDocCommands, PointerCommandsSetTheModeAndTellTheDisplay) {
  const struct {
    UINT command;
    SHORT mode;
  } cases[] = {{32801, 1}, {32792, 2}, {32811, 0}};
  for (const auto& c : cases) {
    const int updates = recorder->UpdateCount();
    Command(c.command);
    EXPECT_EQ(doc->GetPointerMode(), c.mode) << c.command;
    EXPECT_EQ(recorder->UpdateCount(), updates + 1);
    EXPECT_EQ(recorder->LastUpdateFlags(), 0x1000u);
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
  Then("画像ファイルの削除", [](HWND dlg) {
    SendMessageA(dlg, WM_COMMAND, IDOK, 0);
    return 0;
  });
  const int updates = recorder->UpdateCount();
  Command(32804);
  EXPECT_EQ(seen, std::vector<std::string>{"画像ファイルの削除"});
  EXPECT_EQ(GetFileAttributesA("C:\\Pics\\K.jpg"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(recorder->LastUpdateFlags(), 0x100000u);  // the thumbnails hear of it
  EXPECT_EQ(recorder->UpdateCount(), updates + 1);
  EXPECT_TRUE(frame->IsWindowEnabled());
}

}  // namespace

namespace {

std::string FileText(const char* path) {
  std::string text;
  HANDLE h = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return "<none>";
  char buf[4096];
  DWORD n = 0;
  while (ReadFile(h, buf, sizeof buf, &n, nullptr) && n > 0) text.append(buf, n);
  CloseHandle(h);
  return text;
}

// A disk filling up part-way through the keys leaves the file as it was, leaves no
// copy behind, and the user hears of it; the next good save replaces the file whole.
TEST_F(VexDocCommands, SettingsWriteFailingPartWayKeepsTheFileAndSaysSo) {
  const struct {
    const char* file;
    void (*save)(CVexDoc&);
    const char* code;
  } cases[] = {
      {"C:\\Image\\lab.vex", [](CVexDoc& d) { d.SaveSettingFile("C:\\Image\\lab.vex"); }, "エラーコード: 002:002"},
      {"C:\\Lumora\\Lumora.ini", [](CVexDoc& d) { d.SaveSettings(); }, "エラーコード: 002:001"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    doc->m_nExposureTime = 3;
    c.save(*doc);
    const std::string before = FileText(c.file);
    ASSERT_NE(before.find("ExposureTime=3"), std::string::npos);

    doc->m_nExposureTime = 9;
    std::string code;
    Then("  エラー", [&code](HWND dlg) {
      code = dialogdriver::Text(GetDlgItem(dlg, 1143));
      SendMessageA(dlg, WM_COMMAND, IDOK, 0);
      return 0;
    });
    {
      plat::faults::Scope full("WritePrivateProfileStringA", ERROR_DISK_FULL, 10);
      c.save(*doc);
    }
    EXPECT_EQ(FileText(c.file), before);
    EXPECT_EQ(code, c.code);
    EXPECT_EQ(GetFileAttributesA((std::string(c.file) + "~").c_str()), INVALID_FILE_ATTRIBUTES);

    const size_t asked = seen.size();
    c.save(*doc);
    EXPECT_NE(FileText(c.file).find("ExposureTime=9"), std::string::npos);
    EXPECT_EQ(seen.size(), asked);  // no error this time
  }
}

}  // namespace
