// Opening documents, folders and URLs with the desktop's opener.
#include <fcntl.h>
#include <spawn.h>
#include <strings.h>
#include <sys/wait.h>

#include <mutex>
#include <thread>

#include "Config.h"
#include "DrivePath.h"
#include "WinFile.h"
#include "WinShell.h"
#include "commdlg/FolderListing.h"
#include "shell/Launches.h"

extern char** environ;

namespace plat::shell {
namespace {

std::mutex g_mutex;
std::vector<Launch>& Recorded() {
  static std::vector<Launch> launches;
  return launches;
}

bool IsUrl(const std::string& s) {
  return s.find("://") != std::string::npos || strncasecmp(s.c_str(), "mailto:", 7) == 0;
}

// Starts the opener and lets it run on; a thread of its own collects it when it ends.
bool Start(const std::string& opener, const std::string& target) {
  std::vector<char*> argv{const_cast<char*>(opener.c_str()), const_cast<char*>(target.c_str()), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  pid_t pid = 0;
  int rc = posix_spawnp(&pid, opener.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return false;
  std::thread([pid] {
    int status = 0;
    waitpid(pid, &status, 0);
  }).detach();
  return true;
}

}  // namespace

std::vector<Launch> Launches() {
  std::lock_guard lock(g_mutex);
  return Recorded();
}

void ClearLaunches() {
  std::lock_guard lock(g_mutex);
  Recorded().clear();
}

}  // namespace plat::shell

HINSTANCE ShellExecuteA(HWND, LPCSTR verb, LPCSTR file, LPCSTR, LPCSTR folder, INT) {
  auto answer = [](INT_PTR code) { return reinterpret_cast<HINSTANCE>(code); };
  std::string v = verb && *verb ? verb : "open";
  if (strcasecmp(v.c_str(), "open") != 0 && strcasecmp(v.c_str(), "explore") != 0) return answer(SE_ERR_NOASSOC);
  if (!file || !*file) return answer(SE_ERR_FNF);
  std::string target = file;
  plat::shell::Launch launch{v, target, target, false};
  if (!plat::shell::IsUrl(target)) {
    // A relative name is taken in the given folder, else in the current one.
    std::string path = target;
    bool absolute = (path.size() >= 2 && path[1] == ':') || path[0] == '\\' || path[0] == '/';
    if (!absolute && folder && *folder) path = plat::commdlg::JoinPath(folder, path);
    DWORD error = 0;
    auto full = plat::path::FullPath(path, &error);
    if (!full) return answer(SE_ERR_PNF);
    if (GetFileAttributesA(full->c_str()) == INVALID_FILE_ATTRIBUTES) return answer(SE_ERR_FNF);
    auto native = plat::path::ToNative(*full);
    if (!native) return answer(SE_ERR_PNF);
    launch.native = *native;
  }
  std::string opener = plat::config::Get("OPENER", "xdg-open");
  if (opener != "none") {
    launch.ran = plat::shell::Start(opener, launch.native);
    if (!launch.ran) return answer(SE_ERR_NOASSOC);
  }
  {
    std::lock_guard lock(plat::shell::g_mutex);
    plat::shell::Recorded().push_back(launch);
  }
  return answer(42);  // any value above 32 means success
}
