// The program's options as the framework hands them over, argument by argument.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "control/VexCommandLineInfo.h"

namespace {

struct Outcome {
  int settingFile, iniFile, reset;
  const char* settingPath;
  const char* iniPath;
};

struct LineCase {
  std::vector<std::string> args;
  Outcome out;
};

TEST(VexCommandLineInfo, ParsesOptionsAndCompletesNames) {
  // The program lives in C:\Lumora\ (the test program's module folder).
  const LineCase cases[] = {
      {{"/cMySet"}, {1, 0, 0, "C:\\Lumora\\MySet.vex", ""}},
      {{"/c", "D:\\Sets\\a.txt"}, {1, 0, 0, "D:\\Sets\\a.txt", ""}},
      {{"/c", "Sets\\a"}, {1, 0, 0, "C:\\Lumora\\a.vex", ""}},
      {{"-C", "D:a"}, {1, 0, 0, "C:\\Lumora\\a.vex", ""}},  // a drive without a folder
      {{"/cOne", "D:\\Two.vex"}, {1, 0, 0, "D:\\Two.vex", ""}},  // a following name replaces the glued one
      {{"/I", "D:\\x"}, {0, 1, 0, "", "D:\\x.ini"}},
      {{"/iD:\\x"}, {0, 1, 0, "", "D:\\x.ini"}},
      {{"/i", "D:\\cfg"}, {0, 1, 0, "", "D:\\cfg.ini"}},
      {{"/r"}, {0, 1, 1, "", "C:\\Lumora\\.ini"}},
      {{"/iD:\\x.ini", "/R"}, {0, 1, 1, "", "D:\\x.ini"}},
      {{"/r", "/iD:\\x.ini"}, {0, 1, 0, "", "D:\\x.ini"}},
      {{"/r", "plain"}, {0, 1, 0, "", "C:\\Lumora\\.ini"}},
      {{"plain.vex"}, {0, 0, 0, "", ""}},
      {{"/x", "D:\\y.vex"}, {0, 0, 0, "", ""}},
      {{"/c", "/x", "D:\\y.vex"}, {1, 0, 0, "", ""}},  // another letter ends the wait for a name
      // Absolute paths of this system are names, never options.
      {{"/c", "/home/u/set.vex"}, {1, 0, 0, "Z:/home/u/set.vex", ""}},
      {{"/i", "/cfg/lab"}, {0, 1, 0, "", "Z:/cfg/lab.ini"}},
      {{"/home/u/set.vex"}, {0, 0, 0, "", ""}},
  };
  for (const LineCase& c : cases) {
    std::string line;
    for (const auto& a : c.args) line += a + " ";
    SCOPED_TRACE(line);
    CVexCommandLineInfo info;
    for (size_t i = 0; i < c.args.size(); ++i) {
      const std::string& a = c.args[i];
      bool flag = a[0] == '/' || a[0] == '-';
      info.ParseParam(flag ? a.c_str() + 1 : a.c_str(), flag, i + 1 == c.args.size());
    }
    EXPECT_EQ(info.HasSettingFile(), c.out.settingFile);
    EXPECT_EQ(info.HasIniFile(), c.out.iniFile);
    EXPECT_EQ(info.IsResetRequested(), c.out.reset);
    EXPECT_EQ(info.GetSettingFilePath(), CString(c.out.settingPath));
    EXPECT_EQ(info.GetIniFilePath(), CString(c.out.iniPath));
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileNew);
  }
}

}  // namespace
