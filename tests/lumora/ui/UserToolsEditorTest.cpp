// The user tools editor: it edits copies, OK hands them to the caller's array in the
// list's order and Cancel leaves the array and its tools as they were; Add, Delete and the
// moves with their enabled states, the title typed into the list, a blank title refused.
#include <gtest/gtest.h>

#include <afxwin.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "controls/SECUserTool.h"
#include "controls/SECUserTools.h"
#include "Config.h"
#include "display/Png.h"
#include "ui/UserToolsDlg.h"
#include "user/Responder.h"

namespace {

namespace responder = plat::user::responder;

constexpr int kList = 43078, kAdd = 43079, kDelete = 43080, kUp = 43081, kDown = 43082;
constexpr int kCommand = 43083, kTitle = 43085, kArguments = 43086, kDirectory = 43087;

// The dialog as the test sees it while it runs.
struct Box {
  HWND hwnd;
  HWND Item(int id) const { return ::GetDlgItem(hwnd, id); }
  void Click(int id) const { ::SendMessageA(Item(id), BM_CLICK, 0, 0); }
  bool Enabled(int id) const { return ::IsWindowEnabled(Item(id)) != 0; }
  std::string Text(int id) const {
    char text[512] = {};
    ::GetDlgItemTextA(hwnd, id, text, sizeof text);
    return text;
  }
  // Typing into an edit: its text changes and it says so.
  void Type(int id, const char* text) const {
    ::SetDlgItemTextA(hwnd, id, text);
    ::SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(id, EN_CHANGE), reinterpret_cast<LPARAM>(Item(id)));
  }
  void Select(int line) const {
    ::SendMessageA(Item(kList), LB_SETCURSEL, static_cast<WPARAM>(line), 0);
    ::SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(kList, LBN_SELCHANGE), reinterpret_cast<LPARAM>(Item(kList)));
  }
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    const int n = static_cast<int>(::SendMessageA(Item(kList), LB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
      char text[256] = {};
      ::SendMessageA(Item(kList), LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
      lines.push_back(text);
    }
    return lines;
  }
  int Selected() const { return static_cast<int>(::SendMessageA(Item(kList), LB_GETCURSEL, 0, 0)); }
  // Add, Delete, Up, Down as 1 and 0.
  std::string Buttons() const {
    std::string s;
    for (int id : {kAdd, kDelete, kUp, kDown}) s += Enabled(id) ? '1' : '0';
    return s;
  }
};

class ToolsEditor : public ::testing::Test {
 protected:
  void SetUp() override { responder::Reset(); }
  void TearDown() override {
    ClearUserTools(&tools);
    responder::Reset();
  }
  SECUserTool* Tool(const char* title, const char* command = "C:\\bin\\run.exe") {
    auto* tool = new SECUserTool;
    tool->m_strMenuText = title;
    tool->m_strCommand = command;
    tool->m_strArguments = "%F";
    tool->m_strDirectory = "%L";
    tools.Add(tool);
    return tool;
  }
  // Runs the editor on `tools`; `work` acts on it and ends it.
  INT_PTR Run(const std::function<void(const Box&)>& work) {
    responder::Push([work](const responder::Shown& shown) {
      work(Box{shown.hwnd});
      return 0;
    });
    CUserToolsDlg dlg(nullptr);
    dlg.SetTools(&tools);
    return dlg.DoModal();
  }
  std::vector<std::string> Titles() const {
    std::vector<std::string> titles;
    for (INT_PTR i = 0; i < tools.GetSize(); ++i) titles.push_back(std::string(static_cast<SECUserTool*>(tools[i])->m_strMenuText));
    return titles;
  }
  CObArray tools;
};

TEST_F(ToolsEditor, WithNoToolsOnlyAddIsOpen) {
  std::string buttons, caption;
  bool editsOff = true;
  const INT_PTR result = Run([&](const Box& box) {
    buttons = box.Buttons();
    for (int id : {kCommand, kTitle, kArguments, kDirectory}) editsOff = editsOff && !box.Enabled(id) && box.Text(id).empty();
    char text[64] = {};
    ::GetWindowTextA(box.hwnd, text, sizeof text);
    caption = text;
    box.Click(IDCANCEL);
  });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(buttons, "1000");
  EXPECT_TRUE(editsOff);
  EXPECT_EQ(caption, "Property");
  EXPECT_EQ(tools.GetSize(), 0);
}

TEST_F(ToolsEditor, AnAddedToolIsNamedAndTypedIntoTheListThenHandedOver) {
  std::string title, afterTyping;
  DWORD selection = 0;
  bool focused = false;
  const INT_PTR result = Run([&](const Box& box) {
    box.Click(kAdd);
    title = box.Text(kTitle);
    focused = ::GetFocus() == box.Item(kTitle);
    selection = static_cast<DWORD>(::SendMessageA(box.Item(kTitle), EM_GETSEL, 0, 0));
    box.Type(kTitle, "V");
    box.Type(kTitle, "Viewer");
    afterTyping = box.Lines().at(0);
    box.Type(kCommand, "C:\\bin\\view.exe");
    box.Type(kArguments, "%F %F");
    box.Type(kDirectory, "%L");
    box.Click(IDOK);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(title, "Tool Title");
  EXPECT_TRUE(focused);
  EXPECT_EQ(LOWORD(selection), 0);
  EXPECT_EQ(HIWORD(selection), 10) << "the whole title is selected";
  EXPECT_EQ(afterTyping, "Viewer");
  ASSERT_EQ(tools.GetSize(), 1);
  auto* tool = static_cast<SECUserTool*>(tools[0]);
  EXPECT_EQ(std::string(tool->m_strMenuText), "Viewer");
  EXPECT_EQ(std::string(tool->m_strCommand), "C:\\bin\\view.exe");
  EXPECT_EQ(std::string(tool->m_strArguments), "%F %F");
  EXPECT_EQ(std::string(tool->m_strDirectory), "%L");
  EXPECT_EQ(tool->m_bWait, 1);
  EXPECT_EQ(tool->m_nShowCmd, 1);
}

TEST_F(ToolsEditor, CancelLeavesTheArrayAndItsToolsAsTheyWere) {
  SECUserTool* a = Tool("A");
  SECUserTool* b = Tool("B");
  const INT_PTR result = Run([&](const Box& box) {
    box.Select(1);
    box.Type(kTitle, "Renamed");
    box.Type(kCommand, "C:\\other.exe");
    box.Select(0);
    box.Click(kDelete);
    box.Click(kAdd);
    box.Click(IDCANCEL);
  });
  EXPECT_EQ(result, IDCANCEL);
  ASSERT_EQ(tools.GetSize(), 2);
  EXPECT_EQ(tools[0], a);
  EXPECT_EQ(tools[1], b);
  EXPECT_EQ(Titles(), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(std::string(b->m_strCommand), "C:\\bin\\run.exe");
}

TEST_F(ToolsEditor, MovesFollowTheSelectionAndStopAtTheEnds) {
  Tool("A");
  Tool("B");
  Tool("C");
  std::vector<std::string> states;
  const INT_PTR result = Run([&](const Box& box) {
    states.push_back(box.Buttons() + " " + std::to_string(box.Selected()));  // line 0 selected at the start
    box.Click(kDown);
    states.push_back(box.Buttons() + " " + std::to_string(box.Selected()));
    box.Click(kDown);  // to the end
    states.push_back(box.Buttons() + " " + std::to_string(box.Selected()));
    box.Select(0);
    box.Click(kUp);  // disabled at the top: nothing
    states.push_back(box.Buttons() + " " + std::to_string(box.Selected()));
    box.Click(IDOK);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(states, (std::vector<std::string>{"1101 0", "1111 1", "1110 2", "1101 0"}));
  EXPECT_EQ(Titles(), (std::vector<std::string>{"B", "C", "A"}));
}

TEST_F(ToolsEditor, DeleteSelectsTheSameLineOrTheLastAndOkAfterDeletingAllEmptiesTheArray) {
  Tool("A");
  Tool("B");
  Tool("C");
  std::vector<std::string> seen;
  const INT_PTR result = Run([&](const Box& box) {
    box.Select(1);
    box.Click(kDelete);
    seen.push_back(std::to_string(box.Selected()) + " " + box.Text(kTitle));
    box.Click(kDelete);
    seen.push_back(std::to_string(box.Selected()) + " " + box.Text(kTitle));
    box.Click(kDelete);
    seen.push_back(std::to_string(box.Selected()) + " " + box.Text(kTitle) + " " + box.Buttons());
    box.Click(IDOK);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(seen, (std::vector<std::string>{"1 C", "0 A", "-1  1000"}));
  EXPECT_EQ(tools.GetSize(), 0);
}

TEST_F(ToolsEditor, NineToolsCloseAdd) {
  std::string buttons;
  int lines = 0;
  Run([&](const Box& box) {
    for (int i = 0; i < 10; ++i) box.Click(kAdd);
    lines = static_cast<int>(box.Lines().size());
    buttons = box.Buttons();
    box.Click(IDOK);
  });
  EXPECT_EQ(lines, 9);
  EXPECT_EQ(buttons.substr(0, 1), "0");
  EXPECT_EQ(tools.GetSize(), 9);
}

TEST_F(ToolsEditor, ABlankTitleIsRefusedWhenItsEditIsLeft) {
  Tool("A");
  std::string message;
  bool focusBack = false;
  Run([&](const Box& box) {
    responder::Push([&](const responder::Shown& shown) {
      message = shown.text;
      return IDOK;
    });
    box.Type(kTitle, "");
    ::SendMessageA(box.hwnd, WM_COMMAND, MAKEWPARAM(kTitle, EN_KILLFOCUS), reinterpret_cast<LPARAM>(box.Item(kTitle)));
    focusBack = ::GetFocus() == box.Item(kTitle);
    box.Click(IDOK);  // OK still closes; the blank title is stored
  });
  EXPECT_EQ(message, "Can't be blank");
  EXPECT_TRUE(focusBack);
  int boxes = 0;
  for (const auto& shown : responder::History()) boxes += shown.messageBox ? 1 : 0;
  EXPECT_EQ(boxes, 1) << "closing the dialog asks nothing more";
  ASSERT_EQ(tools.GetSize(), 1);
  EXPECT_EQ(std::string(static_cast<SECUserTool*>(tools[0])->m_strMenuText), "");
}

TEST_F(ToolsEditor, TheProgramAndFolderEditsGetTheirBrowseButtons) {
  int buttons = 0;
  Run([&](const Box& box) {
    for (HWND child = ::GetWindow(box.hwnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
      char text[16] = {};
      ::GetWindowTextA(child, text, sizeof text);
      if (std::string(text) == "...") ++buttons;
    }
    box.Click(IDCANCEL);
  });
  EXPECT_EQ(buttons, 2);
}

TEST_F(ToolsEditor, Screenshot) {
  const char* shots = std::getenv("LUMORA_DISPLAY_SHOTS");
  if (!shots || !*shots) GTEST_SKIP() << "screenshots are written when LUMORA_DISPLAY_SHOTS names a folder";
  plat::config::Set("FONT", "");  // real letters on the picture
  Tool("Image Viewer", "C:\\Program Files\\Viewer\\viewer.exe");
  Tool("Measure", "C:\\Tools\\measure.exe");
  Run([&](const Box& box) {
    box.Select(0);
    ::RedrawWindow(box.hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT r;
    ::GetWindowRect(box.hwnd, &r);
    EXPECT_TRUE(plat::display::SavePng(std::string(shots) + "/user-tools-editor.png", &r));
    box.Click(IDCANCEL);
  });
  plat::config::Set("FONT", std::nullopt);
}

}  // namespace
