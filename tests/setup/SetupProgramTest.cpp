// The real setup program, started as a child from a folder of an installation medium
// where this test program stands in for the sub-installers.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/auxv.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "TestEnv.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

// Where the stand-in sub-installer writes what it saw, and the status it ends with.
constexpr const char* kRecordVar = "SETUP_STANDIN_RECORD";
constexpr const char* kStatusVar = "SETUP_STANDIN_STATUS";

std::vector<std::string> OwnArguments() {
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  std::vector<std::string> args;
  for (std::string a; std::getline(in, a, '\0');) args.push_back(a);
  return args;
}

// Started with the single argument "setup.exe" (and the record variable), this program is
// a sub-installer: it records its arguments, the file it was started as, its working
// folder and the environment it got, and ends with the status it was asked for.
const bool g_standIn = [] {
  const char* record = std::getenv(kRecordVar);
  auto args = OwnArguments();
  if (!record || args != std::vector<std::string>{"setup.exe"}) return false;
  std::ofstream out(record);
  for (const std::string& a : args) out << "arg " << a << "\n";
  out << "file " << reinterpret_cast<const char*>(getauxval(AT_EXECFN)) << "\n";
  out << "folder " << fs::current_path().string() << "\n";
  const char* platform = std::getenv("LUMORA_PLATFORM");
  out << "env " << (platform ? platform : "-") << "\n";
  out.close();
  const char* status = std::getenv(kStatusVar);
  std::_Exit(status ? std::atoi(status) : 0);
}();

std::vector<std::string> Lines(const std::string& file) {
  std::ifstream in(file);
  std::vector<std::string> lines;
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  return lines;
}

// A medium with every sub-installer folder holding the stand-in; the names' case differs
// from what the launcher asks for.
std::string MakeMedium(const std::string& name) {
  fs::path medium = fs::path(testenv::ScratchDir()) / name;
  fs::path self = fs::read_symlink("/proc/self/exe");
  for (const char* folder : {"98nte", "98NTJ", "WIN2KE", "Win2kJ", "winxpe", "WinXPJ"}) {
    fs::create_directories(medium / folder);
    fs::create_symlink(self, medium / folder / "SETUP.EXE");
  }
  return fs::canonical(medium).string();
}

// Runs setup in `folder` with these stand-in settings; its exit status, or -1 when it
// had to be stopped (it shows its failure dialog and waits).
int RunSetup(const std::string& folder, const std::map<std::string, std::string>& settings,
             const std::string& record) {
  std::map<std::string, std::string> env;
  for (char** e = environ; *e; ++e) {
    std::string kv = *e;
    size_t eq = kv.find('=');
    if (eq != std::string::npos) env[kv.substr(0, eq)] = kv.substr(eq + 1);
  }
  for (const auto& [k, v] : settings) env["LUMORA_" + k] = v;
  env[kRecordVar] = record;
  env[kStatusVar] = "42";
  std::vector<std::string> flat;
  for (const auto& [k, v] : env) flat.push_back(k + "=" + v);
  std::vector<char*> envp;
  for (std::string& s : flat) envp.push_back(s.data());
  envp.push_back(nullptr);
  std::string program = testenv::BinaryDir() + "/setup";
  char* argv[] = {program.data(), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  pid_t pid = -1;
  int err = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (err) return -2;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(SetupProgram, BecomesTheSubInstallerOfTheRunningWindows) {
  const std::string medium = MakeMedium("medium");
  const std::string root = MakeMedium("cdrom");
  struct Case {
    const char* what;
    std::string folder;
    std::map<std::string, std::string> settings;
    std::string started;  // the native file that ran
  };
  const Case cases[] = {
      {"XP, English", medium, {{"PLATFORM", "NT"}, {"WINVER", "5.1.2600"}, {"LCID", "0x0409"}},
       medium + "/winxpe/SETUP.EXE"},
      // At the root of a drive the folder ends in a backslash already.
      {"XP, English, drive root", root,
       {{"PLATFORM", "NT"}, {"WINVER", "5.1.2600"}, {"LCID", "0x0409"}, {"DRIVES", "D=" + root}},
       root + "/winxpe/SETUP.EXE"},
      {"98, English", medium, {{"PLATFORM", "9x"}, {"WINVER", "4.10.2222"}, {"LCID", "0x0409"}},
       medium + "/98nte/SETUP.EXE"},
      {"NT 4, Japanese", medium, {{"PLATFORM", "NT"}, {"WINVER", "4.0.1381"}, {"LCID", "0x0411"}},
       medium + "/98NTJ/SETUP.EXE"},
      {"2000, Japanese", medium, {{"PLATFORM", "NT"}, {"WINVER", "5.0.2195"}, {"LCID", "0x0411"}},
       medium + "/Win2kJ/SETUP.EXE"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string record = testenv::ScratchDir() + "/record.txt";
    fs::remove(record);
    // Whoever started setup sees the sub-installer's own status: no launcher is left.
    EXPECT_EQ(RunSetup(c.folder, c.settings, record), 42);
    const std::vector<std::string> expected = {"arg setup.exe", "file " + c.started, "folder " + c.folder,
                                               "env " + c.settings.at("PLATFORM")};
    EXPECT_EQ(Lines(record), expected);
  }
}

}  // namespace
