// What the launcher's tests share: the launcher's resources as the program's, an
// application object, the reported Windows and language, a current folder, and the
// failure dialog run with a scripted user who reads it and closes it.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "Config.h"
#include "DrivePath.h"
#include "Faults.h"
#include "ModuleRegistry.h"
#include "SetupApp.h"
#include "SetupDlg.h"
#include "TestEnv.h"
#include "user/Responder.h"

namespace setuptest {

namespace responder = plat::user::responder;

// What the failure dialog showed.
struct Shown {
  int result = 0;  // DoModal's answer
  std::string title, message, code;
};

inline std::string ItemText(HWND dialog, int id) {
  char text[1024] = {};
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

inline std::string WindowText(HWND window) {
  char text[1024] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

class SetupTest : public ::testing::Test {
 protected:
  static constexpr const char* kKeys[] = {"PLATFORM", "WINVER", "LCID", "DRIVES"};

  void SetUp() override {
    plat::SetProgramName("setup.exe");
    responder::Reset();
    plat::faults::DisarmAll();
    Windows("NT", "5.1.2600");
    Language(0x0409);
    previousFolder_ = plat::path::CurrentFolder();
    CurrentFolder("C:\\m");
  }
  void TearDown() override {
    plat::faults::DisarmAll();
    responder::Reset();
    for (const char* key : kKeys) plat::config::Set(key, std::nullopt);
    plat::path::SetCurrentFolder(previousFolder_);
  }

  static void Windows(const std::string& platform, const std::string& version) {
    plat::config::Set("PLATFORM", platform);
    plat::config::Set("WINVER", version);
  }
  static void Language(LCID lcid) { plat::config::Set("LCID", std::to_string(lcid)); }

  // Makes a Windows folder (created below its drive) the current folder.
  static void CurrentFolder(const std::string& folder) {
    auto native = plat::path::ToNative(folder);
    ASSERT_TRUE(native) << folder;
    std::error_code ec;
    std::filesystem::create_directories(*native, ec);
    ASSERT_TRUE(plat::path::SetCurrentFolder(folder)) << folder;
  }

  // Runs the failure dialog; `act` does what the user does once it is up (by default
  // reads it and presses its button).
  Shown RunDialog(std::function<void(HWND)> act = nullptr) {
    Shown shown;
    responder::Push([&](const responder::Shown& s) {
      shown.title = WindowText(s.hwnd);
      shown.message = ItemText(s.hwnd, IDC_STATIC_MESSAGE);
      shown.code = ItemText(s.hwnd, IDC_STATIC_ERRORCODE);
      if (act)
        act(s.hwnd);
      else
        SendMessageA(GetDlgItem(s.hwnd, IDC_BUTTON_OK), BM_CLICK, 0, 0);
      return 0;
    });
    CSetupDlg dlg;
    shown.result = static_cast<int>(dlg.DoModal());
    return shown;
  }

  CSetupApp app_;
  std::string previousFolder_;
};

}  // namespace setuptest
