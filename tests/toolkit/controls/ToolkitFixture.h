// What the toolkit tests share: their own resource module (ToolkitTest.rc) as the
// resource module, files on drive C:, and the responder that answers modal dialogs.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <afxwin.h>

#include "DialogDriver.h"
#include "gdi/SysColors.h"
#include "ModuleRegistry.h"
#include "TestEnv.h"
#include "toolkit_test_ids.h"
#include "user/Responder.h"

namespace toolkit_test {

namespace responder = plat::user::responder;

inline HINSTANCE TestModule() {
  static HMODULE module = plat::RegisterModule(plat::ModuleSpec{"ToolkitTest.dll", "C:\\Lumora", {}, {}, true});
  return reinterpret_cast<HINSTANCE>(module);
}

// Native path of a Windows path on drive C: ("C:\a\b" -> <drive>/a/b).
inline std::string Native(const std::string& windowsPath) {
  std::string rest = windowsPath.substr(3);
  for (char& c : rest)
    if (c == '\\') c = '/';
  return testenv::DriveC() + "/" + rest;
}

inline void WriteFile(const std::string& windowsPath, const std::string& bytes) {
  std::filesystem::path p = Native(windowsPath);
  std::filesystem::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << bytes;
}

inline std::string ReadFile(const std::string& windowsPath) {
  std::ifstream in(Native(windowsPath), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Little-endian numbers of file layouts, as bytes.
inline std::string Word(unsigned w) { return std::string{char(w & 0xFF), char((w >> 8) & 0xFF)}; }
inline std::string Dword(unsigned d) { return Word(d & 0xFFFF) + Word(d >> 16); }

inline void MakeFolder(const std::string& windowsPath) { std::filesystem::create_directories(Native(windowsPath)); }

inline std::string Current() {
  char buffer[MAX_PATH * 4] = {};
  ::GetCurrentDirectoryA(sizeof buffer, buffer);
  return buffer;
}

// System colours changed for a while (without telling the windows), put back afterwards.
class SysColours {
 public:
  SysColours(std::initializer_list<std::pair<int, COLORREF>> colours) {
    for (const auto& [index, colour] : colours) {
      saved_.emplace_back(index, ::GetSysColor(index));
      plat::gdi::SetSysColorForTest(index, colour);
    }
  }
  ~SysColours() {
    for (const auto& [index, colour] : saved_) plat::gdi::SetSysColorForTest(index, colour);
  }
  SysColours(const SysColours&) = delete;
  SysColours& operator=(const SysColours&) = delete;

 private:
  std::vector<std::pair<int, COLORREF>> saved_;
};

// The tests' resources come from their own module; the program's (the class library's
// strings and templates) are found after it.
class ToolkitTest : public testing::Test {
 protected:
  void SetUp() override {
    responder::Reset();
    saved_ = AfxGetResourceHandle();
    AfxSetResourceHandle(TestModule());
  }
  void TearDown() override {
    AfxSetResourceHandle(saved_);
    responder::Reset();
  }
  // Runs `script` in the next modal dialog; a dialog the script leaves open is cancelled.
  static void Script(std::function<void(HWND)> script) {
    responder::Push([script](const responder::Shown& s) {
      script(s.hwnd);
      if (s.hwnd && dialogdriver::StillOpen(s.hwnd)) dialogdriver::Press(s.hwnd, IDCANCEL);
      return IDCANCEL;
    });
  }
  static void Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (!CWnd::WalkPreTranslateTree(nullptr, &msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
      }
    }
  }

 private:
  HINSTANCE saved_ = nullptr;
};

}  // namespace toolkit_test
