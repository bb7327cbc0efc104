// The program's command ids against its resource script: every command the script's
// menus, accelerators and toolbar carry is a name (the program's or the framework's),
// every command name is used by the script and stands for one command, and the compiled
// menus carry the named commands under the labels the user picks.
#include <gtest/gtest.h>

#include <afxwin.h>

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "LumoraResource.h"

namespace {

std::string SourceText(const std::string& relative) {
  std::string root = LUMORA_TEST_DATA;
  root = root.substr(0, root.rfind("/tests/data"));
  std::ifstream in(root + "/" + relative);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The header's defines: name and value.
std::map<std::string, long> Defines(const std::string& text) {
  std::map<std::string, long> defines;
  static const std::regex define(R"(#define\s+(\w+)\s+(0x[0-9A-Fa-f]+|\d+)\b)");
  for (std::sregex_iterator it(text.begin(), text.end(), define), end; it != end; ++it)
    defines[(*it)[1]] = std::stol((*it)[2], nullptr, 0);
  return defines;
}

// The command of each item of the script's menus, accelerator tables and toolbars, as
// written there.
std::vector<std::string> CommandTokens(const std::string& script) {
  static const std::regex blockStart(R"(^\w+\s+(MENU|ACCELERATORS|TOOLBAR)\b.*)");
  static const std::regex menuItem(R"(^\s*MENUITEM\s+"[^"]*"\s*,\s*(\w+))");
  static const std::regex button(R"(^\s*BUTTON\s+(\w+))");
  static const std::regex accelerator(R"(^\s*("[^"]*"|VK_\w+)\s*,\s*(\w+)\s*,)");
  std::vector<std::string> tokens;
  std::istringstream lines(script);
  std::string line;
  int depth = -1;  // -1 outside a block
  while (std::getline(lines, line)) {
    std::smatch m;
    if (depth < 0) {
      if (std::regex_match(line, blockStart)) depth = 0;
      continue;
    }
    if (line.find("BEGIN") != std::string::npos) {
      ++depth;
    } else if (line.find("END") != std::string::npos) {
      if (--depth == 0) depth = -1;
    } else if (std::regex_search(line, m, menuItem) || std::regex_search(line, m, button)) {
      tokens.push_back(m[1]);
    } else if (std::regex_search(line, m, accelerator)) {
      tokens.push_back(m[2]);
    }
  }
  return tokens;
}

const std::string& Script() {
  static const std::string script = SourceText("resources/lumora/Lumora.rc");
  return script;
}

std::map<std::string, long> CommandNames() {
  std::map<std::string, long> names;
  for (const auto& [name, value] : Defines(SourceText("lumora/LumoraResource.h")))
    if (name.rfind("ID_", 0) == 0) names[name] = value;
  return names;
}

}  // namespace

TEST(LumoraResource, EveryCommandOfTheScriptIsNamed) {
  const std::map<std::string, long> own = CommandNames();
  const std::map<std::string, long> framework = Defines(SourceText("platform/afx/AfxMsg.h"));
  const std::vector<std::string> tokens = CommandTokens(Script());
  ASSERT_GT(tokens.size(), 100u) << "the menus, accelerators and toolbar were read";
  for (const std::string& token : tokens)
    EXPECT_TRUE(own.count(token) || framework.count(token)) << token << " is not a named command";
}

TEST(LumoraResource, EveryCommandNameIsOneCommandOfTheScript) {
  std::map<long, std::string> byValue;
  for (const auto& [name, value] : CommandNames()) {
    const auto [it, fresh] = byValue.emplace(value, name);
    EXPECT_TRUE(fresh) << name << " and " << it->second << " are both " << value;
    // The user tools' commands are made at run time, one per tool.
    if (name.rfind("ID_USER_TOOL_", 0) == 0) continue;
    EXPECT_TRUE(std::regex_search(Script(), std::regex("\\b" + name + "\\b"))) << name << " is not in the script";
  }
}

TEST(LumoraResource, MenusCarryTheNamedCommandsUnderTheirLabels) {
  struct Case {
    UINT menu;
    const char* popup;
    const char* label;
    UINT id;
  };
  const Case cases[] = {
      {IDR_MAINFRAME, "&File", "Print Pre&view", ID_PRINT_PICTURE_PREVIEW},
      {IDR_MAINFRAME, "&File", "La&yout Print...", ID_LAYOUT_PRINT},
      {IDR_MAINFRAME, "&Image", "&Annotation...", ID_ANNOTATION_TOOL},
      {IDR_MAINFRAME, "&View", "Zoom &+", ID_STILL_ZOOM_IN},
      {IDR_MAINFRAME, "&View", "&Fit to Screen", ID_STILL_ZOOM_FIT},
      {IDR_MAINFRAME, "&Live", "Zoom &-", ID_LIVE_ZOOM_OUT},
      {IDR_MAINFRAME, "&Live", "&Display Right", ID_LIVE_DISPLAY_RIGHT},
      {IDR_MAINFRAME, "&Option", "&External Trigger", ID_EXTERNAL_TRIGGER},
      {IDR_ANNOTATION_MENU, "Annotation", "Reshape", ID_ANN_RESHAPE},
      {IDR_THUMBNAIL_MENU, "THUMBNAIL_POPUP", "Jump to END", ID_THUMB_JUMP_TO_END},
      {IDR_RETOUCH_MENU, "Edit", "Undo", ID_RETOUCH_UNDO},
  };
  for (const Case& c : cases) {
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(c.menu)) << c.menu;
    UINT found = 0;
    for (int p = 0; p < static_cast<int>(menu.GetMenuItemCount()); ++p) {
      CString popupTitle;
      menu.GetMenuString(p, popupTitle, MF_BYPOSITION);
      CMenu* popup = menu.GetSubMenu(p);
      if (popupTitle != c.popup || !popup) continue;
      for (int i = 0; i < static_cast<int>(popup->GetMenuItemCount()); ++i) {
        CString label;
        popup->GetMenuString(i, label, MF_BYPOSITION);
        if (label == c.label) found = popup->GetMenuItemID(i);
      }
    }
    EXPECT_EQ(found, c.id) << c.popup << " > " << c.label;
  }
}
