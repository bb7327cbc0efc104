// Starting a user tool: macro replacement, the command line, the folder, and the
// user interface going on while the tool runs.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "Clock.h"
#include "ToolkitFixture.h"
#include "controls/SECUserTool.h"

namespace toolkit_test {
namespace {

// A tool that records how it would start its program.
struct RecordingTool : SECUserTool {
  std::string folder, line;
  int show = -1;
  BOOL wait = -1;
  BOOL RunProcess(LPCSTR lpszDirectory, LPSTR lpszCommandLine, int nShowCmd, BOOL bWait) override {
    folder = lpszDirectory;
    line = lpszCommandLine;
    show = nShowCmd;
    wait = bWait;
    return TRUE;
  }
};

void Fill(CStringList& list, std::initializer_list<const char*> entries) {
  for (const char* e : entries) list.AddTail(e);
}

TEST(UserToolExecute, ReplacesMacrosInCommandArgumentsAndFolder) {
  struct Case {
    const char* what;
    const char* command;
    const char* arguments;
    const char* folder;
    std::vector<const char*> macros;
    const char* line;
    const char* startFolder;
  } cases[] = {
      {"the picture and its folder", "viewer.exe", "%F", "%L", {"%F=C:\\Image\\a.jpg", "%L=C:\\Image"},
       "viewer.exe C:\\Image\\a.jpg", "C:\\Image"},
      {"every occurrence", "viewer.exe", "%F %F", "", {"%F=a.jpg"}, "viewer.exe a.jpg a.jpg", ""},
      {"keys match case-sensitively", "viewer.exe", "%f %F", "", {"%F=a.jpg"}, "viewer.exe %f a.jpg", ""},
      {"in the command too", "%L\\tool.exe", "", "", {"%L=C:\\Tools"}, "C:\\Tools\\tool.exe", ""},
      {"a later entry works on what earlier ones made", "t.exe", "%A", "", {"%A=%B", "%B=x"}, "t.exe x", ""},
      {"entries without both halves are skipped", "t.exe", "%F", "", {"%F", "=v", "%F=", "%F=b"}, "t.exe b", ""},
      {"no arguments: no trailing blank", "viewer.exe", "", "", {}, "viewer.exe", ""},
      {"a program that does not exist goes as written", "C:\\Program Files\\none.exe", "x", "", {},
       "C:\\Program Files\\none.exe x", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RecordingTool tool;
    tool.m_strCommand = c.command;
    tool.m_strArguments = c.arguments;
    tool.m_strDirectory = c.folder;
    CStringList macros;
    for (const char* m : c.macros) macros.AddTail(m);
    EXPECT_TRUE(tool.Execute(&macros));
    EXPECT_EQ(tool.line, c.line);
    EXPECT_EQ(tool.folder, c.startFolder);
    EXPECT_EQ(tool.show, SW_SHOWNORMAL);
    EXPECT_EQ(tool.wait, TRUE);
    EXPECT_STREQ(tool.m_strArguments, c.arguments);  // the tool itself keeps its macros
  }
  RecordingTool tool;
  tool.m_strCommand = "t.exe";
  tool.m_strArguments = "%F";
  tool.m_bWait = FALSE;
  tool.m_nShowCmd = SW_MINIMIZE;
  EXPECT_TRUE(tool.Execute(nullptr));
  EXPECT_EQ(tool.line, "t.exe %F");
  EXPECT_EQ(tool.show, SW_MINIMIZE);
  EXPECT_EQ(tool.wait, FALSE);
}

TEST(UserToolExecute, SplitsMacroPairs) {
  struct Case {
    const char* pair;
    BOOL ok;
    const char* key;
    const char* value;
  } cases[] = {
      {"%F=C:\\a=b.jpg", TRUE, "%F", "C:\\a=b.jpg"},  // split at the first "="
      {"k=v", TRUE, "k", "v"},
      {"kv", FALSE, "", ""},
      {"=v", FALSE, "", "v"},
      {"k=", FALSE, "k", ""},
      {"", FALSE, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pair);
    CString key, value;
    EXPECT_EQ(SECUserTool::SplitMacro(c.pair, key, value), c.ok);
    if (c.ok) {
      EXPECT_STREQ(key, c.key);
      EXPECT_STREQ(value, c.value);
    }
  }
  CString key, value;
  EXPECT_FALSE(SECUserTool::SplitMacro(nullptr, key, value));
}

TEST(UserToolExecute, ReplaceAllCountsWhatItReplaced) {
  struct Case {
    const char* text;
    const char* from;
    const char* to;
    BOOL ignoreCase;
    int count;
    const char* result;
  } cases[] = {
      {"%F and %F", "%F", "x", FALSE, 2, "x and x"},
      {"%f and %F", "%F", "x", FALSE, 1, "%f and x"},
      {"%f and %F", "%F", "x", TRUE, 2, "x and x"},
      {"aaa", "aa", "b", FALSE, 1, "ba"},
      {"写真%F写真", "%F", "画像", FALSE, 1, "写真画像写真"},
      {"a", "abc", "x", FALSE, 0, "a"},  // shorter than what is sought
      {"abc", "", "x", FALSE, -1, "abc"},
      {"abc", nullptr, "x", FALSE, -1, "abc"},
      {"abc", "b", nullptr, FALSE, -1, "abc"},
      {"abc", "b", "", FALSE, 1, "ac"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    CString text = c.text;
    EXPECT_EQ(ReplaceAll(text, c.from, c.to, c.ignoreCase), c.count);
    EXPECT_STREQ(text, c.result);
  }
}

// ---- real programs

void WriteScript(const std::string& windowsPath, const std::string& body) {
  WriteFile(windowsPath, "#!/bin/sh\n" + body);
  std::filesystem::permissions(Native(windowsPath), std::filesystem::perms::owner_all);
}

std::string Canonical(const std::string& windowsPath) {
  return std::filesystem::canonical(Native(windowsPath)).string();
}

class UserToolRun : public ToolkitTest {
 protected:
  void SetUp() override {
    ToolkitTest::SetUp();
    plat::clock::UseVirtual(true);  // the 200 ms waits cost no real time
    MakeFolder("C:\\Image");
    MakeFolder("C:\\Home");
    ASSERT_TRUE(::SetCurrentDirectoryA("C:\\Home"));
  }
  void TearDown() override {
    plat::clock::UseVirtual(false);
    ToolkitTest::TearDown();
  }
};

TEST_F(UserToolRun, AProgramInAFolderWithBlanksGetsItsArgumentAndFolder) {
  WriteScript("C:\\Program Files\\Rec Tool\\record.sh", "printf '%s\\n' \"$#\" \"$1\" \"$(pwd -P)\" > seen.txt\n");
  // Without quotes, this one would start instead.
  WriteScript("C:\\Program", "echo decoy > decoy.txt\n");
  SECUserTool tool;
  tool.m_strCommand = "C:\\Program Files\\Rec Tool\\record.sh";
  tool.m_strArguments = "%F";
  tool.m_strDirectory = "%L";
  CStringList macros;
  Fill(macros, {"%F=C:\\Image\\a.jpg", "%L=C:\\Image"});
  ASSERT_TRUE(tool.Execute(&macros));
  EXPECT_EQ(ReadFile("C:\\Image\\seen.txt"), "1\nC:\\Image\\a.jpg\n" + Canonical("C:\\Image") + "\n");
  EXPECT_FALSE(std::filesystem::exists(Native("C:\\Image\\decoy.txt")));
  EXPECT_EQ(Current(), "C:\\Home");  // the folder went to the program only
}

TEST_F(UserToolRun, WithoutAFolderTheProgramStartsInTheCurrentOne) {
  WriteScript("C:\\Tools\\where.sh", "pwd -P > where.txt\n");
  SECUserTool tool;
  tool.m_strCommand = "C:\\Tools\\where.sh";
  ASSERT_TRUE(tool.Execute(nullptr));
  EXPECT_EQ(ReadFile("C:\\Home\\where.txt"), Canonical("C:\\Home") + "\n");
}

// The application object sees what the tool's wait pumps.
struct PumpApp : CWinApp {
  PumpApp() : CWinApp("PumpApp") {}
  std::vector<std::string> seen;
  BOOL PreTranslateMessage(MSG* pMsg) override {
    if (pMsg->message == WM_APP) seen.push_back("pretranslate");
    return FALSE;
  }
  BOOL OnIdle(LONG lCount) override {
    seen.push_back("idle " + std::to_string(lCount));
    return FALSE;
  }
};

struct Receiver : CWnd {
  bool handled = false;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_APP) {
      handled = true;
      WriteFile("C:\\Image\\go.flag", "go");  // lets the tool end
      return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

TEST_F(UserToolRun, TheUserInterfaceGoesOnWhileAToolRuns) {
  // The tool runs until the message posted before it started has been handled.
  WriteScript("C:\\Tools\\waits.sh",
              "i=0\nwhile [ ! -e go.flag ] && [ $i -lt 1000 ]; do sleep 0.01; i=$((i+1)); done\n"
              "[ -e go.flag ] && echo saw > done.txt\n");
  PumpApp app;
  Receiver receiver;
  ASSERT_TRUE(receiver.CreateEx(0, AfxRegisterWndClass(0), "receiver", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
  receiver.PostMessage(WM_APP);
  ::PostQuitMessage(7);
  SECUserTool tool;
  tool.m_strCommand = "C:\\Tools\\waits.sh";
  tool.m_strDirectory = "C:\\Image";
  ASSERT_TRUE(tool.Execute(nullptr));
  EXPECT_TRUE(receiver.handled);
  EXPECT_EQ(ReadFile("C:\\Image\\done.txt"), "saw\n");
  ASSERT_GE(app.seen.size(), 3u);
  EXPECT_EQ(app.seen[0], "pretranslate");
  EXPECT_EQ(app.seen[1], "idle 0");
  EXPECT_EQ(app.seen[2], "idle 1");
  // The quit asked for meanwhile is still there for the program's own loop.
  MSG msg;
  ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
  receiver.DestroyWindow();
}

TEST_F(UserToolRun, AProgramThatCannotStartFails) {
  WriteScript("C:\\Tools\\ok.sh", "exit 0\n");
  struct Case {
    const char* what;
    const char* command;
    const char* folder;
  } cases[] = {
      {"no such program", "C:\\Tools\\none.exe", ""},
      {"no such folder", "C:\\Tools\\ok.sh", "C:\\Nowhere"},
      {"no command", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SECUserTool tool;
    tool.m_strCommand = c.command;
    tool.m_strDirectory = c.folder;
    EXPECT_FALSE(tool.Execute(nullptr));
    EXPECT_EQ(Current(), "C:\\Home");
  }
  SECUserTool quick;
  quick.m_strCommand = "C:\\Tools\\ok.sh";
  quick.m_bWait = FALSE;  // returns at once, the program started
  EXPECT_TRUE(quick.Execute(nullptr));
}

}  // namespace
}  // namespace toolkit_test
