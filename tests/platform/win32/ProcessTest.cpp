#include <gtest/gtest.h>
#include <errno.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "DrivePath.h"
#include "Faults.h"
#include "TestEnv.h"
#include "process.h"
#include "windows.h"

namespace fs = std::filesystem;

namespace {

// ---- the helper child: this test program started again with "--child <what> ..."

std::vector<std::string> OwnArguments() {
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  std::vector<std::string> args;
  std::string a;
  while (std::getline(in, a, '\0')) args.push_back(a);
  return args;
}

bool FileExists(const std::string& p) { return access(p.c_str(), F_OK) == 0; }

int RunChild(const std::vector<std::string>& a) {
  const std::string& what = a[2];
  if (what == "exit") return std::atoi(a[3].c_str());
  if (what == "args") {  // writes the working folder and every argument, one a line
    std::ofstream out(a[3]);
    char cwd[4096];
    out << (getcwd(cwd, sizeof cwd) ? cwd : "?") << "\n";
    for (size_t i = 4; i < a.size(); ++i) out << "[" << a[i] << "]\n";
    return 7;
  }
  if (what == "mutex-probe") {  // exit 1 when the name exists already
    HANDLE h = CreateMutexA(nullptr, TRUE, a[3].c_str());
    return h && GetLastError() == ERROR_ALREADY_EXISTS ? 1 : 0;
  }
  if (what == "mutex-hold") {  // holds the name until told to end
    HANDLE h = CreateMutexA(nullptr, TRUE, a[3].c_str());
    // Written aside and renamed, so the parent never reads a half-written answer.
    std::ofstream(a[4] + "/ready.part") << (h && GetLastError() != ERROR_ALREADY_EXISTS ? "created" : "existed");
    std::filesystem::rename(a[4] + "/ready.part", a[4] + "/ready");
    while (!FileExists(a[4] + "/done")) Sleep(5);
    return 0;
  }
  if (what == "overlay") {  // becomes "--child exit 5"
    _spawnl(_P_OVERLAY, a[3].c_str(), "x", "--child", "exit", "5", nullptr);
    return 100 + errno;
  }
  return 99;
}

const bool g_child = [] {
  auto args = OwnArguments();
  if (args.size() >= 3 && args[1] == "--child") std::_Exit(RunChild(args));
  return false;
}();

// ---- the tests

std::string SelfPath() { return fs::read_symlink("/proc/self/exe").string(); }

// A link to this program at "C:\My Tools\helper prog" (no extension, blanks in the path).
std::string HelperWindowsPath() {
  fs::path dir = fs::path(testenv::DriveC()) / "My Tools";
  fs::create_directories(dir);
  fs::path link = dir / "helper prog";
  if (!fs::exists(link)) fs::create_symlink(SelfPath(), link);
  return "C:\\My Tools\\helper prog";
}

struct Started {
  PROCESS_INFORMATION pi{};
  BOOL ok = FALSE;
  DWORD error = 0;
  DWORD Finish() {
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 60000), WAIT_OBJECT_0);
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeProcess(pi.hProcess, &code));
    CloseHandle(pi.hProcess);
    return code;
  }
};

Started Start(const std::string& commandLine, const char* folder = nullptr) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = 1;
  std::string line = commandLine;
  Started s;
  s.ok = CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder, &si, &s.pi);
  s.error = s.ok ? 0 : GetLastError();
  if (s.ok) CloseHandle(s.pi.hThread);
  return s;
}

std::vector<std::string> Lines(const std::string& file) {
  std::ifstream in(file);
  std::vector<std::string> lines;
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  return lines;
}

TEST(Process, ProgramWithBlanksGetsQuotedArgumentsAndItsOwnFolder) {
  std::string helper = HelperWindowsPath();
  fs::create_directories(fs::path(testenv::DriveC()) / "Work Dir");
  std::string out = testenv::ScratchDir() + "/args.txt";
  std::string parentFolder = plat::path::CurrentFolder();
  char parentNative[4096];
  ASSERT_NE(getcwd(parentNative, sizeof parentNative), nullptr);

  Started s = Start("\"" + helper + "\" --child args " + out + R"( plain "with blank" say\"hi\" "trail\\" "" C:\Image\a.jpg)",
                    "C:\\work dir");  // the folder's case differs from the disk
  ASSERT_TRUE(s.ok) << s.error;
  EXPECT_NE(s.pi.dwProcessId, 0u);
  EXPECT_EQ(s.Finish(), 7u);
  std::vector<std::string> expected = {fs::canonical(fs::path(testenv::DriveC()) / "Work Dir").string(),
                                       "[plain]", "[with blank]", "[say\"hi\"]", "[trail\\]", "[]",
                                       "[C:\\Image\\a.jpg]"};
  EXPECT_EQ(Lines(out), expected);
  // The working folder was the child's only.
  EXPECT_EQ(plat::path::CurrentFolder(), parentFolder);
  char nowNative[4096];
  EXPECT_STREQ(getcwd(nowNative, sizeof nowNative), parentNative);
}

TEST(Process, UnquotedPathWithBlanksIsFoundByTryingLongerPrefixes) {
  std::string helper = HelperWindowsPath();
  Started s = Start(helper + " --child exit 3");
  ASSERT_TRUE(s.ok) << s.error;
  EXPECT_EQ(s.Finish(), 3u);
}

TEST(Process, HandleIsWaitableAndTheExitCodeStillActiveBefore) {
  std::string helper = HelperWindowsPath();
  std::string dir = testenv::ScratchDir() + "/hold";
  fs::create_directories(dir);
  std::string name = "Lumora.process." + std::to_string(GetCurrentProcessId());
  Started s = Start("\"" + helper + "\" --child mutex-hold " + name + " " + dir);
  ASSERT_TRUE(s.ok) << s.error;
  while (!FileExists(dir + "/ready")) Sleep(5);
  DWORD code = 0;
  EXPECT_TRUE(GetExitCodeProcess(s.pi.hProcess, &code));
  EXPECT_EQ(code, static_cast<DWORD>(STILL_ACTIVE));
  EXPECT_EQ(WaitForSingleObject(s.pi.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  std::ofstream(dir + "/done") << "";
  EXPECT_EQ(s.Finish(), 0u);
}

TEST(Process, NamedMutexIsSeenAcrossProcessesBothWays) {
  std::string helper = HelperWindowsPath();
  std::string name = "Lumora.cross." + std::to_string(GetCurrentProcessId());

  // This process creates it: the child finds it existing.
  HANDLE mine = CreateMutexA(nullptr, TRUE, name.c_str());
  ASSERT_NE(mine, nullptr);
  ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(Start("\"" + helper + "\" --child mutex-probe " + name).Finish(), 1u);
  CloseHandle(mine);
  // Closed here: a new child creates it afresh.
  EXPECT_EQ(Start("\"" + helper + "\" --child mutex-probe " + name).Finish(), 0u);

  // A child creates it and holds it: this process sees it existing, yet gets a handle.
  std::string dir = testenv::ScratchDir() + "/cross";
  fs::create_directories(dir);
  Started holder = Start("\"" + helper + "\" --child mutex-hold " + name + " " + dir);
  ASSERT_TRUE(holder.ok);
  while (!FileExists(dir + "/ready")) Sleep(5);
  EXPECT_EQ(Lines(dir + "/ready"), std::vector<std::string>{"created"});
  HANDLE second = CreateMutexA(nullptr, TRUE, name.c_str());
  EXPECT_NE(second, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  CloseHandle(second);
  std::ofstream(dir + "/done") << "";
  EXPECT_EQ(holder.Finish(), 0u);
  // The holder has ended: the name is gone with it.
  HANDLE third = CreateMutexA(nullptr, TRUE, name.c_str());
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  CloseHandle(third);
}

TEST(Process, FailuresReportTheWindowsError) {
  fs::path bad = fs::path(testenv::DriveC()) / "bad.exe";
  std::ofstream(bad) << "MZ not a program here";
  fs::permissions(bad, fs::perms::owner_all);
  fs::path locked = fs::path(testenv::DriveC()) / "locked.exe";
  std::ofstream(locked) << "#!/bin/sh\n";
  fs::permissions(locked, fs::perms::owner_read);
  std::string helper = HelperWindowsPath();
  struct Case {
    std::string line;
    const char* folder;
    DWORD error;
  };
  const Case cases[] = {
      {"C:\\nowhere\\tool.exe", nullptr, ERROR_FILE_NOT_FOUND},
      {"no-such-program-anywhere", nullptr, ERROR_FILE_NOT_FOUND},
      {"C:\\bad.exe", nullptr, ERROR_BAD_EXE_FORMAT},
      {"C:\\bad", nullptr, ERROR_BAD_EXE_FORMAT},  // ".exe" is tried for a name without one
      {"C:\\locked.exe", nullptr, ERROR_ACCESS_DENIED},
      {"\"" + helper + "\" --child exit 0", "C:\\no such folder", ERROR_DIRECTORY},
  };
  for (const Case& c : cases) {
    Started s = Start(c.line, c.folder);
    EXPECT_FALSE(s.ok) << c.line;
    EXPECT_EQ(s.error, c.error) << c.line;
  }
}

TEST(Process, SpawnOverlayFailsWithErrnoAndOtherwiseBecomesTheProgram) {
  fs::path bad = fs::path(testenv::DriveC()) / "98NTJ";
  fs::create_directories(bad);
  std::ofstream(bad / "setup.exe") << "MZ";
  fs::permissions(bad / "setup.exe", fs::perms::owner_all);
  // A file that may not be run is no program either, as Windows sees it.
  fs::path locked = fs::path(testenv::DriveC()) / "Win2kJ";
  fs::create_directories(locked);
  std::ofstream(locked / "setup.exe") << "#!/bin/sh\nexit 0\n";
  fs::permissions(locked / "setup.exe", fs::perms::owner_read);
  struct Case {
    const char* path;
    int err;
  };
  for (int mode : {_P_OVERLAY, _P_WAIT}) {
    for (Case c : {Case{"C:\\missing\\setup.exe", ENOENT}, Case{"C:\\98NTJ\\setup.exe", ENOEXEC},
                   Case{"C:\\Win2kJ\\setup.exe", ENOEXEC}}) {
      errno = 0;
      EXPECT_EQ(_spawnl(mode, c.path, "setup.exe", nullptr), -1) << c.path;
      EXPECT_EQ(errno, c.err) << c.path;
    }
  }
  {
    // The fault point fails even a program that would start, with the errno it is given.
    plat::faults::Scope fail("_spawn", ENOMEM);
    errno = 0;
    EXPECT_EQ(_spawnl(_P_WAIT, HelperWindowsPath().c_str(), "x", "--child", "exit", "4", nullptr), -1);
    EXPECT_EQ(errno, ENOMEM);
  }
  // Success cannot come back here; a child does it and becomes "--child exit 5".
  std::string helper = HelperWindowsPath();
  EXPECT_EQ(Start("\"" + helper + "\" --child overlay \"" + helper + "\"").Finish(), 5u);
  // _P_WAIT runs the program and answers its exit code.
  EXPECT_EQ(_spawnl(_P_WAIT, helper.c_str(), "x", "--child", "exit", "4", nullptr), 4);
}

}  // namespace
