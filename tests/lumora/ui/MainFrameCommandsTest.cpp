// The commands the main frame handles itself, reached through its command route as the
// menus, the toolbar and the accelerators send them: their check marks, the freeze and
// resume of live view, the display swap, the external trigger, full screen without a
// picture, retouch without a picture, and the user tools with their macros and list file.
#include <gtest/gtest.h>

#include <afxwin.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FrameRig.h"
#include "TestEnv.h"
#include "controls/SECCustomToolBar.h"
#include "controls/SECUserTool.h"
#include "controls/SECUserTools.h"
#include "pipeline/output/VexDisplayOutput.h"
#include "pipeline/output/VexFullScreenOutput.h"
#include "user/Driver.h"

namespace {

namespace responder = plat::user::responder;

// What an update handler said of one command.
class StateUI : public CCmdUI {
 public:
  int enabled = -1, checked = -1;
  void Enable(BOOL on) override { enabled = on ? 1 : 0; }
  void SetCheck(int check) override { checked = check; }
};

// A tool that records how it would start its program.
struct RecordingTool : SECUserTool {
  std::string folder, line;
  int runs = 0;
  BOOL started = TRUE;
  BOOL RunProcess(LPCSTR lpszDirectory, LPSTR lpszCommandLine, int, BOOL) override {
    folder = lpszDirectory;
    line = lpszCommandLine;
    ++runs;
    return started;
  }
};

class FrameCommands : public FrameRig {
 protected:
  void SetUp() override {
    FrameRig::SetUp();
    ASSERT_TRUE(Start());
    ASSERT_TRUE(PumpUntilEnabled(frame));
    Guard();
  }
  // A modal window nobody expects fails the test instead of waiting for ever; a test
  // that expects one clears these first and puts them back after its own answers.
  static void Guard() {
    for (int i = 0; i < 3; ++i)
      responder::Push([](const responder::Shown& shown) {
        ADD_FAILURE() << "unexpected window: " << shown.caption << " " << shown.text;
        if (!shown.messageBox && shown.hwnd) ::EndDialog(shown.hwnd, IDCANCEL);
        return IDCANCEL;
      });
  }
  void TearDown() override {
    if (frame) ClearUserTools(&frame->UserTools());
    FrameRig::TearDown();
  }
  void Command(UINT id) { frame->SendMessage(WM_COMMAND, id); }
  StateUI Update(UINT id) {
    StateUI ui;
    ui.m_nID = id;
    frame->OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &ui, nullptr);
    return ui;
  }
  // Message boxes are answered with OK; their texts are kept.
  void WatchBoxes(std::vector<std::string>& texts, int count = 1) {
    responder::Reset();
    for (int i = 0; i < count; ++i)
      responder::Push([&texts](const responder::Shown& shown) {
        texts.push_back(shown.caption + "|" + shown.text);
        if (!shown.messageBox && shown.hwnd) ::EndDialog(shown.hwnd, IDCANCEL);
        return IDOK;
      });
    Guard();
  }
  RecordingTool* AddTool(const char* arguments, const char* folder = "") {
    auto* tool = new RecordingTool;
    tool->m_strMenuText = "Viewer";
    tool->m_strCommand = "viewer.exe";
    tool->m_strArguments = arguments;
    tool->m_strDirectory = folder;
    frame->UserTools().Add(tool);
    return tool;
  }
  SECCustomToolBar* Bar() const { return frame->ToolBar(); }
  int LiveButton() const {
    for (int i = 0; i < Bar()->GetButtonCount(); ++i)
      if (Bar()->GetItemID(i) == 32820) return i;
    return -1;
  }
};

TEST_F(FrameCommands, LiveOnFreezesOnAFreshFrameAndResumes) {
  ASSERT_EQ(frame->IsLiveRunning(), 1);
  EXPECT_EQ(Update(32837).checked, 1) << "Live > On is checked while live view runs";
  ASSERT_EQ(LiveButton(), 22);
  Command(32820);  // the toolbar's Live On button
  EXPECT_EQ(frame->IsLiveRunning(), 0);
  EXPECT_EQ(doc->GetOverlayState(), 1);
  EXPECT_NE(Bar()->GetButtonStyle(22) & 0x10000, 0u) << "the button shows pressed";
  EXPECT_EQ(Update(32837).checked, 0);
  EXPECT_TRUE(frame->IsWindowEnabled());
  Command(32837);  // Live > On resumes
  EXPECT_EQ(frame->IsLiveRunning(), 1);
  EXPECT_EQ(doc->GetOverlayState(), 0);
  EXPECT_EQ(Bar()->GetButtonStyle(22) & 0x10000, 0u);
  EXPECT_TRUE(frame->IsWindowEnabled());
}

TEST_F(FrameCommands, DisplayRightSwapsThePanesUnlessCalibrating) {
  CVexDisplayOutput* still = frame->GetStillDisplay();
  const DWORD left = doc->IsLiveWindowLeft();
  EXPECT_EQ(Update(32838).checked, left ? 0 : 1);
  Command(32838);
  EXPECT_EQ(doc->IsLiveWindowLeft(), left ? 0u : 1u);
  EXPECT_NE(frame->GetStillDisplay(), still);
  EXPECT_EQ(Update(32838).checked, left ? 1 : 0);
  EXPECT_EQ(frame->IsLiveRunning(), 1) << "live view goes on in the other pane";
  EXPECT_TRUE(frame->IsWindowEnabled());
  EXPECT_FALSE(frame->IsBusy());
  frame->BeginCalibration();
  Command(32825);  // the toolbar's swap: nothing while a calibration line is drawn
  EXPECT_EQ(doc->IsLiveWindowLeft(), left ? 0u : 1u);
  frame->EndCalibration();
  Command(32825);
  EXPECT_EQ(doc->IsLiveWindowLeft(), left);
  EXPECT_EQ(frame->GetStillDisplay(), still);
}

TEST_F(FrameCommands, ExternalTriggerTogglesPollingAndItsCheck) {
  ASSERT_EQ(doc->GetExternalTrigger(), 0u);
  EXPECT_EQ(Update(32843).checked, 0);
  Command(32843);
  EXPECT_EQ(doc->GetExternalTrigger(), 1u);
  EXPECT_EQ(frame->IsTriggerRunning(), 1);
  EXPECT_EQ(Update(32843).checked, 1);
  EXPECT_EQ(frame->IsLiveRunning(), 1);
  Command(32843);
  EXPECT_EQ(doc->GetExternalTrigger(), 0u);
  EXPECT_EQ(frame->IsTriggerRunning(), 0);
  EXPECT_TRUE(frame->IsWindowEnabled());
}

TEST_F(FrameCommands, StillFullScreenWithoutAPictureDoesNothing) {
  ASSERT_EQ(doc->GetImageState(), 0);
  Command(32819);
  EXPECT_FALSE(frame->FullScreenWindow()->IsWindowVisible());
  EXPECT_TRUE(frame->IsWindowEnabled());
  EXPECT_EQ(frame->IsLiveRunning(), 1);
  EXPECT_EQ(doc->GetViewState(), 0);
}

TEST_F(FrameCommands, RetouchWithoutAPictureSaysSo) {
  std::vector<std::string> boxes;
  WatchBoxes(boxes);
  Command(32805);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], "Lumora Caution|画像が表示されていません。\n操作を中止します。");
  EXPECT_TRUE(frame->IsWindowEnabled());
}

TEST_F(FrameCommands, AUserToolGetsThePictureShownAndItsFolder) {
  CreateDirectoryA("C:\\Tools", nullptr);
  CreateDirectoryA("C:\\Tools\\s", nullptr);
  HANDLE h = CreateFileA("C:\\Tools\\a.jpg", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  CloseHandle(h);
  RecordingTool* twice = AddTool("%F %F", "%L");
  RecordingTool* other = AddTool("-x");
  doc->SetThumbnailFolder("C:\\Tools\\s\\");
  const struct {
    const char* shown;  // the picture the frame keeps as shown
    const char* line;
    const char* folder;
  } cases[] = {
      {"C:\\Tools\\a.jpg", "viewer.exe C:\\Tools\\a.jpg C:\\Tools\\a.jpg", "C:\\Tools"},
      {"", "viewer.exe  ", "C:\\Tools"},                     // no picture shown
      {"C:\\Tools\\gone.jpg", "viewer.exe  ", "C:\\Tools"},  // a file that is not there
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shown);
    doc->SetAuxFilePath(c.shown);
    Command(43044);
    EXPECT_EQ(twice->line, c.line);
    EXPECT_EQ(twice->folder, c.folder);
    EXPECT_EQ(std::string(twice->m_strArguments), "%F %F") << "the tool keeps its own texts";
    EXPECT_EQ(std::string(twice->m_strDirectory), "%L");
    EXPECT_EQ(twice->m_bWait, 1);
  }
  doc->SetThumbnailFolder("C:\\Nowhere\\s");
  Command(43044);
  EXPECT_EQ(twice->folder, "") << "a folder that is not there is left empty";
  Command(43045);
  EXPECT_EQ(other->line, "viewer.exe -x");
  Command(43046);  // no third tool
  EXPECT_EQ(twice->runs + other->runs, 5);
  EXPECT_EQ(Update(43045).enabled, 1);
  EXPECT_EQ(Update(43046).enabled, 0);
  std::vector<std::string> boxes;
  WatchBoxes(boxes);
  other->started = FALSE;
  Command(43045);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("Can't Execute viewer.exe-x"), std::string::npos) << boxes[0];
}

// A real program picked from the Option menu with the mouse and its mnemonic: it writes
// down the arguments it got, one a line after their count.
TEST_F(FrameCommands, AUserToolGetsPathsWithBlanksAsWholeArguments) {
  const std::string drive = testenv::DriveC();
  std::filesystem::create_directories(drive + "/My Pics/s");
  std::ofstream(drive + "/My Pics/a b.jpg") << "x";
  std::filesystem::create_directories(drive + "/Tools");
  const std::string seen = drive + "/Tools/seen.txt";
  std::ofstream(drive + "/Tools/record.sh")
      << "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" > '" << seen << ".part' && mv '" << seen << ".part' '" << seen
      << "'\n";
  std::filesystem::permissions(drive + "/Tools/record.sh", std::filesystem::perms::owner_all);
  doc->SetAuxFilePath("C:\\My Pics\\a b.jpg");
  doc->SetThumbnailFolder("C:\\My Pics\\s\\");
  const struct {
    const char* arguments;
    const char* got;
  } cases[] = {
      {"%F %L", "2\nC:\\My Pics\\a b.jpg\nC:\\My Pics\n"},
      {"\"%F\" -x", "2\nC:\\My Pics\\a b.jpg\n-x\n"},  // quotes the user wrote are kept, not doubled
      {"-o%F", "1\n-oC:\\My Pics\\a b.jpg\n"},
  };
  int clickX = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments);
    ClearUserTools(&frame->UserTools());
    auto* tool = new SECUserTool;
    tool->m_strMenuText = "&Record";
    tool->m_strCommand = "C:\\Tools\\record.sh";
    tool->m_strArguments = c.arguments;
    tool->m_strDirectory = "%L";
    frame->UserTools().Add(tool);
    std::filesystem::remove(seen);
    RECT option;
    ASSERT_TRUE(::GetMenuItemRect(frame->m_hWnd, ::GetMenu(frame->m_hWnd), 4, &option));
    // Each click a little apart from the last, so that no two make a double click.
    clickX = clickX ? clickX + 8 : option.left + 6;
    plat::user::driver::Click(clickX, (option.top + option.bottom) / 2);
    plat::user::driver::PressKey('R');
    plat::user::driver::WaitIdle();
    ASSERT_TRUE(PumpUntil([&] { return std::filesystem::exists(seen); })) << "the tool did not run";
    std::ifstream in(seen);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), c.got);
  }
}

TEST_F(FrameCommands, TheShownPathFollowsOpensSavesAndCaptures) {
  CreateDirectoryA("C:\\Shown", nullptr);
  doc->SetLoadPath("C:\\Shown\\opened.jpg");
  doc->UpdateImageStatus(3, 0);
  frame->KeepShownPath();
  EXPECT_EQ(std::string(doc->GetAuxFilePath()), "C:\\Shown\\opened.jpg");
  doc->SetNextSavePath("C:\\Shown\\saved.jpg");
  doc->UpdateImageStatus(2, 0);
  frame->KeepShownPath();
  EXPECT_EQ(std::string(doc->GetAuxFilePath()), "C:\\Shown\\saved.jpg");
  doc->UpdateImageStatus(1, 0);  // a capture not saved
  frame->KeepShownPath();
  EXPECT_EQ(std::string(doc->GetAuxFilePath()), "");
}

TEST_F(FrameCommands, LauncherPropertyStoresTheListOrDeletesItsFile) {
  const CString file = frame->GetUserToolFile();
  ASSERT_FALSE(file.IsEmpty());
  // Add one tool and keep it.
  responder::Reset();
  responder::Push([](const responder::Shown& shown) {
    ::SendMessageA(::GetDlgItem(shown.hwnd, 43079), BM_CLICK, 0, 0);
    ::SendMessageA(::GetDlgItem(shown.hwnd, IDOK), BM_CLICK, 0, 0);
    return 0;
  });
  Guard();
  Command(32844);
  ASSERT_EQ(frame->GetUserTools().GetSize(), 1);
  EXPECT_NE(::GetFileAttributesA(file), INVALID_FILE_ATTRIBUTES) << "the list is stored";
  // Delete it: the empty list is not stored, its file goes.
  responder::Reset();
  responder::Push([](const responder::Shown& shown) {
    ::SendMessageA(::GetDlgItem(shown.hwnd, 43080), BM_CLICK, 0, 0);
    ::SendMessageA(::GetDlgItem(shown.hwnd, IDOK), BM_CLICK, 0, 0);
    return 0;
  });
  Guard();
  Command(32844);
  EXPECT_EQ(frame->GetUserTools().GetSize(), 0);
  EXPECT_EQ(::GetFileAttributesA(file), INVALID_FILE_ATTRIBUTES);
  // A dialog that cannot be made is reported.
  responder::Reset();
  AnswerErrorBox();
  responder::FailNextDialog();
  Command(32844);
  EXPECT_EQ(errors, std::vector<std::string>{"エラーコード: 804:001"});
}

TEST_F(FrameCommands, CtrlPAfterLayoutPreviewPrintsTheTickedPicturesWithoutTheLayoutDialog) {
  EXPECT_EQ(frame->GetPrintType(), -1);
  std::vector<std::string> boxes;
  WatchBoxes(boxes, 2);
  Command(32807);  // Layout Preview, nothing ticked: refused
  EXPECT_EQ(frame->GetPrintType(), 2);
  Command(ID_FILE_PRINT);  // Ctrl+P: the ticked pictures are printed, no layout dialog first
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_NE(boxes[0], boxes[1]) << "a preview refused, then a print refused";
  bool layoutDialog = false;
  for (const auto& shown : responder::History()) layoutDialog = layoutDialog || (!shown.messageBox && shown.hwnd);
  EXPECT_FALSE(layoutDialog);
  EXPECT_TRUE(frame->IsWindowEnabled());
  EXPECT_EQ(frame->IsLiveRunning(), 1);
}

}  // namespace
