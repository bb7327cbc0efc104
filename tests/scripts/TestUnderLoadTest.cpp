// scripts/test-under-load: the tests run while busy loops take the processors, and the
// loops end with the run, whether it passes, fails or is interrupted.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "TestEnv.h"

namespace {

namespace fs = std::filesystem;

const std::string kScript = (fs::path(LUMORA_TEST_DATA).parent_path().parent_path() / "scripts/test-under-load").string();

// A folder that ctest runs as a test tree: one test per (name, shell command).
fs::path TestTree(const std::string& name, const std::vector<std::pair<std::string, std::string>>& tests) {
  const fs::path dir = fs::path(testenv::ScratchDir()) / name;
  fs::create_directories(dir);
  std::ofstream out(dir / "CTestTestfile.cmake");
  for (const auto& [test, command] : tests) out << "add_test(" << test << " sh -c \"" << command << "\")\n";
  return dir;
}

struct ScriptRun {
  int status = -1;
  std::string output;
  std::vector<pid_t> loops;
};

// The busy loops the script announced on its first line.
std::vector<pid_t> LoopsOf(const std::string& output) {
  std::vector<pid_t> pids;
  std::smatch m;
  if (std::regex_search(output, m, std::regex("\\(pids ([0-9 ]+)\\)"))) {
    std::istringstream in(m[1].str());
    for (pid_t p; in >> p;) pids.push_back(p);
  }
  return pids;
}

bool Alive(pid_t pid) { return kill(pid, 0) == 0; }

// Runs the script with `args`; with `interruptAfter` > 0 it is sent SIGINT once that many
// milliseconds have passed since it announced its loops.
ScriptRun RunScript(const std::string& args, int interruptAfter = 0) {
  ScriptRun run;
  int pipeFd[2];
  if (pipe(pipeFd) != 0) return run;
  const pid_t pid = fork();
  if (pid == 0) {
    setpgid(0, 0);
    dup2(pipeFd[1], 1);
    dup2(pipeFd[1], 2);
    close(pipeFd[0]);
    close(pipeFd[1]);
    setenv("LOAD", "2", 1);
    execl("/bin/sh", "sh", "-c", (kScript + " " + args).c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(pipeFd[1]);
  FILE* in = fdopen(pipeFd[0], "r");
  char buf[512];
  bool interrupted = false;
  while (fgets(buf, sizeof buf, in)) {
    run.output += buf;
    if (interruptAfter > 0 && !interrupted && !LoopsOf(run.output).empty()) {
      interrupted = true;
      std::this_thread::sleep_for(std::chrono::milliseconds(interruptAfter));
      kill(-pid, SIGINT);  // as a Ctrl+C at the terminal reaches the whole group
    }
  }
  fclose(in);
  int status = 0;
  waitpid(pid, &status, 0);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  run.loops = LoopsOf(run.output);
  return run;
}

// The loops are gone once the script has ended (a killed loop may take a moment to be reaped).
bool LoopsEnded(const std::vector<pid_t>& loops) {
  for (int i = 0; i < 500; ++i) {
    bool any = false;
    for (pid_t p : loops) any = any || Alive(p);
    if (!any) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

TEST(TestUnderLoad, RunsTheTestsWithTheLoopsAndEndsThemAfter) {
  struct Case {
    const char* what;
    std::vector<std::pair<std::string, std::string>> tests;
    int status;
  } cases[] = {
      {"passing", {{"fine", "exit 0"}}, 0},
      {"failing", {{"fine", "exit 0"}, {"broken", "exit 3"}}, 8},  // ctest's code for failed tests
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const fs::path tree = TestTree(c.what, c.tests);
    const ScriptRun run = RunScript("--test-dir " + tree.string());
    EXPECT_EQ(run.status, c.status) << run.output;
    EXPECT_EQ(run.loops.size(), 2u) << run.output;
    EXPECT_TRUE(LoopsEnded(run.loops));
    EXPECT_NE(run.output.find("tests passed"), std::string::npos) << run.output;
  }
}

TEST(TestUnderLoad, AnInterruptEndsTheRunAndTheLoops) {
  const fs::path tree = TestTree("slow", {{"slow", "sleep 600"}});
  const ScriptRun run = RunScript("--test-dir " + tree.string(), 200);
  EXPECT_EQ(run.loops.size(), 2u) << run.output;
  EXPECT_NE(run.status, 0);
  EXPECT_TRUE(LoopsEnded(run.loops));
}

}  // namespace
