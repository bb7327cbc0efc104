// The tool list file byte for byte, damaged lists, saving that keeps the old list, and
// the tools in a popup menu.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Faults.h"
#include "ToolkitFixture.h"
#include "controls/SECUserTool.h"
#include "controls/SECUserTools.h"

namespace toolkit_test {
namespace {

using Bytes = std::string;

Bytes Text(const std::string& s) { return char(s.size()) + s; }
const Bytes kClassHeader = Word(0xFFFF) + Word(1) + Word(11) + "SECUserTool";
// The fields of a tool with wait 1 and show 1.
Bytes Fields(const std::string& menu, const std::string& command, const std::string& arguments = "",
             const std::string& folder = "") {
  return Dword(1) + Text(menu) + Text(command) + Text(arguments) + Text(folder) + Dword(1);
}

SECUserTool* Tool(const char* menu, const char* command, const char* arguments = "", const char* folder = "") {
  auto* tool = new SECUserTool;
  tool->m_strMenuText = menu;
  tool->m_strCommand = command;
  tool->m_strArguments = arguments;
  tool->m_strDirectory = folder;
  return tool;
}

// An array that owns its tools, as the main window's list does.
struct ToolList : CObArray {
  ~ToolList() override { ClearUserTools(this); }
  SECUserTool* At(int i) const { return static_cast<SECUserTool*>(GetAt(i)); }
  bool HasNull() const {
    for (int i = 0; i < GetSize(); ++i)
      if (!GetAt(i)) return true;
    return false;
  }
};

const char* kList = "C:\\Lumora\\Lumora.tdt";

class UserToolList : public ToolkitTest {};

TEST_F(UserToolList, OneToolIsThirtyThreeBytes) {
  ToolList tools;
  tools.Add(Tool("A", "B"));
  ASSERT_TRUE(SaveUserTools(kList, &tools));
  const Bytes expected = Word(1) + kClassHeader + Fields("A", "B");
  EXPECT_EQ(expected.size(), 33u);
  EXPECT_EQ(ReadFile(kList), expected);
}

TEST_F(UserToolList, StoresTheCountTheClassOnceAndLongTexts) {
  struct Case {
    const char* what;
    std::vector<std::pair<std::string, std::string>> tools;
    Bytes expected;
  } cases[] = {
      {"empty list", {}, Word(0)},
      {"two tools: the class header once, then its tag",
       {{"A", "B"}, {"C", "D"}},
       Word(2) + kClassHeader + Fields("A", "B") + Word(0x8001) + Fields("C", "D")},
      {"300 characters take a 16-bit length",
       {{std::string(300, 'm'), "B"}},
       Word(1) + kClassHeader + Dword(1) + "\xFF\x2C\x01" + std::string(300, 'm') + Text("B") + Text("") + Text("") +
           Dword(1)},
      {"UTF-8 texts go byte for byte", {{"画像ビューア", "C:\\ツール\\見る.exe"}},
       Word(1) + kClassHeader + Fields("画像ビューア", "C:\\ツール\\見る.exe")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ToolList tools;
    for (const auto& [menu, command] : c.tools) tools.Add(Tool(menu.c_str(), command.c_str()));
    ASSERT_TRUE(SaveUserTools(kList, &tools));
    EXPECT_EQ(ReadFile(kList), c.expected);
  }
}

TEST_F(UserToolList, NineToolsComeBackAsTheyWere) {
  ToolList tools;
  for (int i = 0; i < 9; ++i) {
    CString n;
    n.Format("%d", i);
    SECUserTool* tool = Tool("ツール " + n, "C:\\Program Files\\Tool" + n + "\\t.exe", "%F -n " + n, "%L\\" + n);
    tool->m_bWait = i % 2;
    tool->m_nShowCmd = i;
    tools.Add(tool);
  }
  ASSERT_TRUE(SaveUserTools(kList, &tools));
  ToolList loaded;
  loaded.Add(Tool("already there", "x"));
  ASSERT_TRUE(LoadUserTools(kList, &loaded));  // loading appends
  ASSERT_EQ(loaded.GetSize(), 10);
  EXPECT_STREQ(loaded.At(0)->m_strMenuText, "already there");
  for (int i = 0; i < 9; ++i) {
    SCOPED_TRACE(i);
    const SECUserTool* a = tools.At(i);
    const SECUserTool* b = loaded.At(i + 1);
    EXPECT_EQ(b->GetRuntimeClass(), RUNTIME_CLASS(SECUserTool));
    EXPECT_EQ(b->m_bWait, a->m_bWait);
    EXPECT_STREQ(b->m_strMenuText, a->m_strMenuText);
    EXPECT_STREQ(b->m_strCommand, a->m_strCommand);
    EXPECT_STREQ(b->m_strArguments, a->m_strArguments);
    EXPECT_STREQ(b->m_strDirectory, a->m_strDirectory);
    EXPECT_EQ(b->m_nShowCmd, a->m_nShowCmd);
  }
}

TEST_F(UserToolList, AMissingFileOrAnEmptyListAddsNothing) {
  ToolList tools;
  tools.Add(Tool("kept", "x"));
  EXPECT_FALSE(LoadUserTools("C:\\Lumora\\none.tdt", &tools));
  WriteFile(kList, Word(0));
  EXPECT_FALSE(LoadUserTools(kList, &tools));  // nothing grew
  ASSERT_EQ(tools.GetSize(), 1);
  EXPECT_STREQ(tools.At(0)->m_strMenuText, "kept");
}

TEST_F(UserToolList, ADamagedFileKeepsTheToolsBeforeTheDamageAndNothingElse) {
  const Bytes first = kClassHeader + Fields("A", "B");
  const Bytes second = Word(0x8001) + Fields("C", "D");
  const Bytes whole = Word(2) + first + second;
  struct Case {
    std::string what;
    Bytes file;
    int kept;
  } cases[] = {
      {"a 16-bit count beyond the file", Word(0xFFFE) + first, 0},
      {"a 32-bit count beyond the file", Word(0xFFFF) + Dword(0x7FFFFFFF) + first, 0},
      {"another class", Word(1) + Word(0xFFFF) + Word(1) + Word(8) + "CObArray" + Fields("A", "B"), 0},
      {"a class nobody knows", Word(1) + Word(0xFFFF) + Word(1) + Word(8) + "Nonsense" + Fields("A", "B"), 0},
      {"schema 2", Word(1) + Word(0xFFFF) + Word(2) + Word(11) + "SECUserTool" + Fields("A", "B"), 0},
      {"tag 0x8002: no such class", Word(2) + first + Word(0x8002) + Fields("C", "D"), 1},
      {"a reference back to the first tool", Word(2) + first + Word(0x0002), 1},
      {"a null object", Word(2) + first + Word(0x0000), 1},
      {"a text longer than the file", Word(1) + kClassHeader + Dword(1) + "\xFF\xFF\xFF" + Dword(0x7FFFFFFF), 0},
      {"a wide text", Word(1) + kClassHeader + Dword(1) + "\xFF\xFE\xFF" + "A", 0},
  };
  std::vector<Case> all(std::begin(cases), std::end(cases));
  // Cut at every byte: the first tool stays once all its bytes are there.
  for (size_t n = 0; n < whole.size(); ++n)
    all.push_back({"cut after " + std::to_string(n) + " bytes", whole.substr(0, n), n >= 2 + first.size() ? 1 : 0});
  for (const Case& c : all) {
    SCOPED_TRACE(c.what);
    WriteFile(kList, c.file);
    ToolList tools;
    EXPECT_FALSE(LoadUserTools(kList, &tools));
    EXPECT_EQ(tools.GetSize(), c.kept);
    EXPECT_FALSE(tools.HasNull());
    if (c.kept) {
      EXPECT_STREQ(tools.At(0)->m_strCommand, "B");
    }
  }
  WriteFile(kList, whole);
  ToolList tools;
  EXPECT_TRUE(LoadUserTools(kList, &tools));
  EXPECT_EQ(tools.GetSize(), 2);
}

TEST_F(UserToolList, AFailedSaveKeepsTheOldList) {
  ToolList old;
  old.Add(Tool("A", "B"));
  ASSERT_TRUE(SaveUserTools(kList, &old));
  const Bytes before = ReadFile(kList);
  ToolList next;
  next.Add(Tool("New", "tool"));
  next.Add(Tool("Other", "tool"));
  for (const char* point : {"WriteFile", "FlushFileBuffers", "MoveFileExA", "CreateFileA"}) {
    SCOPED_TRACE(point);
    plat::faults::Scope full(point, point == std::string("WriteFile") ? ERROR_DISK_FULL : ERROR_ACCESS_DENIED);
    EXPECT_FALSE(SaveUserTools(kList, &next));
    EXPECT_EQ(ReadFile(kList), before);
  }
  EXPECT_FALSE(SaveUserTools("C:\\No Such Folder\\x.tdt", &next));
  EXPECT_FALSE(std::filesystem::exists(Native(kList) + ".~new"));  // nothing is left beside the list
}

TEST_F(UserToolList, ClearingDeletesTheToolsAndEmptiesTheArray) {
  CObArray tools;
  tools.Add(Tool("A", "B"));
  tools.Add(nullptr);
  tools.Add(Tool("C", "D"));
  ClearUserTools(&tools);
  EXPECT_EQ(tools.GetSize(), 0);
  ClearUserTools(&tools);  // an empty array is left alone
  ClearUserTools(nullptr);
}

TEST(UserTool, CopiesAndClones) {
  SECUserTool tool;
  EXPECT_EQ(tool.m_bWait, TRUE);
  EXPECT_EQ(tool.m_nShowCmd, SW_SHOWNORMAL);
  tool.m_bWait = FALSE;
  tool.m_strMenuText = "M";
  tool.m_strCommand = "C";
  tool.m_strArguments = "A";
  tool.m_strDirectory = "D";
  tool.m_nShowCmd = SW_HIDE;
  std::unique_ptr<SECUserTool> clone(tool.Clone());
  SECUserTool copy(tool), assigned;
  assigned = tool;
  assigned = assigned;
  for (const SECUserTool* t : {clone.get(), &copy, &assigned}) {
    EXPECT_EQ(t->m_bWait, FALSE);
    EXPECT_STREQ(t->m_strMenuText, "M");
    EXPECT_STREQ(t->m_strCommand, "C");
    EXPECT_STREQ(t->m_strArguments, "A");
    EXPECT_STREQ(t->m_strDirectory, "D");
    EXPECT_EQ(t->m_nShowCmd, SW_HIDE);
  }
}

// ---- the menu

std::vector<std::string> Items(CMenu& menu) {
  std::vector<std::string> items;
  for (UINT i = 0; i < menu.GetMenuItemCount(); ++i) {
    if (menu.GetMenuState(i, MF_BYPOSITION) & MF_SEPARATOR) {
      items.push_back("-");
      continue;
    }
    CString text;
    menu.GetMenuString(i, text, MF_BYPOSITION);
    CString id;
    id.Format(" %u", menu.GetMenuItemID(static_cast<int>(i)));
    items.push_back(std::string(text) + std::string(id));
  }
  return items;
}

using Items_ = std::vector<std::string>;
constexpr UINT kFirst = 43044;

TEST(UserToolMenu, ToolsFollowASeparatorAndReplaceTheirEarlierItems) {
  CMenu menu;
  ASSERT_TRUE(menu.CreatePopupMenu());
  menu.AppendMenu(MF_STRING, 32843, "External Trigger");
  menu.AppendMenu(MF_STRING, 32844, "Launcher Property");
  ToolList two;
  two.Add(Tool("Viewer", "v.exe"));
  two.Add(Tool("Editor", "e.exe"));
  EXPECT_TRUE(AppendUserToolsToMenu(&menu, kFirst, &two));
  EXPECT_EQ(Items(menu), (Items_{"External Trigger 32843", "Launcher Property 32844", "-", "Viewer 43044", "Editor 43045"}));

  ToolList one;
  one.Add(Tool("Other", "o.exe"));
  EXPECT_TRUE(AppendUserToolsToMenu(&menu, kFirst, &one));  // replaced, not doubled
  EXPECT_EQ(Items(menu), (Items_{"External Trigger 32843", "Launcher Property 32844", "-", "Other 43044"}));

  ToolList none;
  EXPECT_TRUE(AppendUserToolsToMenu(&menu, kFirst, &none));  // the separator goes too
  EXPECT_EQ(Items(menu), (Items_{"External Trigger 32843", "Launcher Property 32844"}));
  EXPECT_TRUE(AppendUserToolsToMenu(&menu, kFirst, nullptr));
  EXPECT_EQ(Items(menu), (Items_{"External Trigger 32843", "Launcher Property 32844"}));
}

TEST(UserToolMenu, AnEmptyPopupGetsNoSeparatorAndAnEndingSeparatorIsReused) {
  ToolList two;
  two.Add(Tool("Viewer", "v.exe"));
  two.Add(Tool("Editor", "e.exe"));
  CMenu empty;
  ASSERT_TRUE(empty.CreatePopupMenu());
  EXPECT_TRUE(AppendUserToolsToMenu(&empty, kFirst, &two));
  EXPECT_EQ(Items(empty), (Items_{"Viewer 43044", "Editor 43045"}));
  EXPECT_TRUE(AppendUserToolsToMenu(&empty, kFirst, &two));
  EXPECT_EQ(Items(empty), (Items_{"Viewer 43044", "Editor 43045"}));

  CMenu separated;
  ASSERT_TRUE(separated.CreatePopupMenu());
  separated.AppendMenu(MF_STRING, 1, "One");
  separated.AppendMenu(MF_SEPARATOR);
  EXPECT_TRUE(AppendUserToolsToMenu(&separated, kFirst, &two));
  EXPECT_EQ(Items(separated), (Items_{"One 1", "-", "Viewer 43044", "Editor 43045"}));

  EXPECT_FALSE(AppendUserToolsToMenu(nullptr, kFirst, &two));
  EXPECT_FALSE(AppendUserToolsToMenu(&separated, 0, &two));
}

TEST(UserToolMenu, FindsAnItemByCommand) {
  CMenu menu;
  ASSERT_TRUE(menu.CreatePopupMenu());
  menu.AppendMenu(MF_STRING, 10, "a");
  menu.AppendMenu(MF_SEPARATOR);
  menu.AppendMenu(MF_STRING, 12, "c");
  UINT position = 99;
  EXPECT_TRUE(FindMenuItem(&menu, 12, &position));
  EXPECT_EQ(position, 2u);
  EXPECT_TRUE(FindMenuItem(&menu, 10, nullptr));
  EXPECT_FALSE(FindMenuItem(&menu, 11, &position));
  EXPECT_EQ(position, 2u);
  EXPECT_FALSE(FindMenuItem(nullptr, 10, &position));
}

}  // namespace
}  // namespace toolkit_test
