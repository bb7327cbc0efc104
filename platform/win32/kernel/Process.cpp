// Child processes: CreateProcessA and the C run-time's _spawn calls. Programs are
// found the Windows way (a path through the drive layer, ".exe" tried first for a
// name without extension, a bare name searched in the usual folders and then the
// host's PATH) and started natively; each child gets the caller's environment, so
// the same LUMORA_ settings.
#include <errno.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <thread>

#include "DrivePath.h"
#include "Faults.h"
#include "LastError.h"
#include "WinError.h"
#include "WinSync.h"
#include "kernel/CommandLine.h"
#include "kernel/ThreadRegistry.h"
#include "process.h"

extern char** environ;

namespace plat {
namespace {

class ProcessObject : public KernelObject {
 public:
  explicit ProcessObject(pid_t pid) : pid_(pid) {}
  pid_t Pid() const { return pid_; }
  bool IsSignaled(DWORD) const override { return exited_; }
  // Under KernelMutex().
  bool Exited() const { return exited_; }
  DWORD ExitCode() const { return exitCode_; }
  void Exit(DWORD code) {
    exitCode_ = code;
    exited_ = true;
  }

 private:
  pid_t pid_;
  bool exited_ = false;
  DWORD exitCode_ = 0;
};

// The child's first thread: waitable, and done when the process is.
class ChildThreadObject : public KernelObject {
 public:
  explicit ChildThreadObject(std::shared_ptr<ProcessObject> process) : process_(std::move(process)) {}
  bool IsSignaled(DWORD id) const override { return process_->IsSignaled(id); }

 private:
  std::shared_ptr<ProcessObject> process_;
};

DWORD StatusCode(int status) {
  if (WIFEXITED(status)) return static_cast<DWORD>(WEXITSTATUS(status));
  return 128u + static_cast<DWORD>(WTERMSIG(status));  // ended by a signal, as a shell reports it
}

int WaitChild(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return status;
}

// Each child has a thread that reaps it and signals its handle.
void WatchChild(std::shared_ptr<ProcessObject> process) {
  std::thread([process] {
    int status = WaitChild(process->Pid());
    {
      std::lock_guard lock(KernelMutex());
      process->Exit(StatusCode(status));
    }
    KernelCondition().notify_all();
  }).detach();
}

bool IsFile(const std::string& native) {
  struct stat st;
  return stat(native.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool IsFolder(const std::string& native) {
  struct stat st;
  return stat(native.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The names to try for a program: "x" is tried as "x.exe" first, then as it is.
std::vector<std::string> Spellings(std::string_view name) {
  size_t slash = name.find_last_of("\\/:");
  std::string_view last = slash == std::string_view::npos ? name : name.substr(slash + 1);
  if (last.find('.') != std::string_view::npos) return {std::string(name)};
  return {std::string(name) + ".exe", std::string(name)};
}

// The native file of a program name; bare names are searched when `search` is set.
std::optional<std::string> Locate(std::string_view name, bool search) {
  if (name.empty()) return std::nullopt;
  bool hasFolder = name.find_first_of("\\/:") != std::string_view::npos;
  std::vector<std::string> folders;
  if (hasFolder || !search)
    folders.push_back("");
  else
    folders = {std::string(path::kProgramFolder) + "\\", path::CurrentFolder() + "\\",
               std::string(path::kSystemFolder) + "\\", std::string(path::kWindowsFolder) + "\\"};
  for (const std::string& folder : folders)
    for (const std::string& spelling : Spellings(name))
      if (auto native = path::ToNative(folder + spelling); native && IsFile(*native)) return native;
  if (!hasFolder && search) {
    const char* hostPath = std::getenv("PATH");
    std::string_view rest = hostPath ? hostPath : "";
    while (!rest.empty()) {
      size_t colon = rest.find(':');
      std::string dir(rest.substr(0, colon));
      rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
      if (dir.empty()) continue;
      for (const std::string& spelling : Spellings(name))
        if (IsFile(dir + "/" + spelling)) return dir + "/" + spelling;
    }
  }
  return std::nullopt;
}

// The native folder a child starts in: the one asked for, else the caller's current folder.
std::optional<std::string> ChildFolder(const char* asked, DWORD* error) {
  auto native = path::ToNative(asked && *asked ? std::string_view(asked) : path::CurrentFolder(), error);
  if (native && IsFolder(*native)) return native;
  *error = ERROR_DIRECTORY;
  return std::nullopt;
}

DWORD ErrorOf(int err) {
  switch (err) {
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case EACCES:
    case EPERM: return ERROR_ACCESS_DENIED;
    case ENOEXEC: return ERROR_BAD_EXE_FORMAT;
    case ENOMEM:
    case EAGAIN: return ERROR_NOT_ENOUGH_MEMORY;
    default: return ERROR_GEN_FAILURE;
  }
}

// Starts the program; answers the pid, or -1 with *err set to the errno.
pid_t Spawn(const std::string& native, const std::vector<std::string>& args, const std::string* folder, int* err) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (folder) posix_spawn_file_actions_addchdir_np(&actions, folder->c_str());
  pid_t pid = -1;
  *err = posix_spawn(&pid, native.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return *err ? -1 : pid;
}

// Splits a command line into the program (found) and its arguments. An unquoted
// first word may be a path with blanks: longer and longer prefixes are tried, as
// Windows does, until one names a program.
bool ParseCommand(std::string_view line, std::string* native, std::vector<std::string>* args) {
  size_t start = line.find_first_not_of(" \t");
  if (start == std::string_view::npos) return false;
  line = line.substr(start);
  std::string_view rest;
  if (line[0] == '"') {
    auto found = Locate(ProgramWord(line, &rest), true);
    if (!found) return false;
    *native = *found;
  } else {
    bool found = false;
    for (size_t end = 0; !found;) {
      end = line.find_first_of(" \t", end + 1);
      std::string_view candidate = line.substr(0, end);
      if (auto hit = Locate(candidate, true)) {
        *native = *hit;
        rest = end == std::string_view::npos ? std::string_view() : line.substr(end);
        found = true;
      }
      if (end == std::string_view::npos) break;
    }
    if (!found) return false;
  }
  *args = SplitArguments(rest);
  return true;
}

}  // namespace
}  // namespace plat

BOOL CreateProcessA(LPCSTR applicationName, LPSTR commandLine, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL,
                    DWORD, LPVOID environment, LPCSTR currentDirectory, LPSTARTUPINFOA,
                    LPPROCESS_INFORMATION info) {
  // Custom environment blocks are not supported: every child gets the caller's.
  if ((!applicationName && !commandLine) || environment || !info) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (DWORD e = plat::faults::Check("CreateProcess")) {
    SetLastError(e);
    return FALSE;
  }
  std::string native;
  std::vector<std::string> args;
  if (applicationName) {
    auto found = plat::Locate(applicationName, false);
    if (!found) {
      SetLastError(ERROR_FILE_NOT_FOUND);
      return FALSE;
    }
    native = *found;
    std::string_view rest;
    if (commandLine) plat::ProgramWord(commandLine, &rest);  // the first word names the program
    args = plat::SplitArguments(rest);
  } else if (!plat::ParseCommand(commandLine, &native, &args)) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
  }
  DWORD error = 0;
  auto folder = plat::ChildFolder(currentDirectory, &error);
  if (!folder && currentDirectory && *currentDirectory) {
    SetLastError(ERROR_DIRECTORY);
    return FALSE;
  }
  args.insert(args.begin(), native);  // a native program expects its own path first
  int err = 0;
  pid_t pid = plat::Spawn(native, args, folder ? &*folder : nullptr, &err);
  if (pid < 0) {
    SetLastError(plat::ErrorOf(err));
    return FALSE;
  }
  auto process = std::make_shared<plat::ProcessObject>(pid);
  plat::WatchChild(process);
  info->hProcess = plat::InsertKernelObject(process);
  info->hThread = plat::InsertKernelObject(std::make_shared<plat::ChildThreadObject>(process));
  info->dwProcessId = static_cast<DWORD>(pid);
  info->dwThreadId = plat::ReserveThreadId();  // unique, but never a thread of this process
  plat::ReleaseThreadId(info->dwThreadId);
  return TRUE;
}

BOOL GetExitCodeProcess(HANDLE h, LPDWORD exitCode) {
  auto process = plat::FindKernel<plat::ProcessObject>(h);
  if (!process || !exitCode) {
    SetLastError(process ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    return FALSE;
  }
  std::lock_guard lock(plat::KernelMutex());
  *exitCode = process->Exited() ? process->ExitCode() : STILL_ACTIVE;
  return TRUE;
}

DWORD GetCurrentProcessId() { return static_cast<DWORD>(getpid()); }

namespace plat {
namespace {
// The C run-time's errno for a program that would not start: a file that is there but
// cannot be run (not a program, or without execute permission) is ENOEXEC, as Windows
// reports any existing file that is not a program.
int SpawnErrno(int err) { return err == EACCES || err == EPERM ? ENOEXEC : err; }
}  // namespace
}  // namespace plat

intptr_t _spawnv(int mode, const char* path, const char* const* argv) {
  if (!path || !argv || !argv[0] || (mode != _P_WAIT && mode != _P_OVERLAY)) {
    errno = EINVAL;
    return -1;
  }
  if (DWORD e = plat::faults::Check("_spawn")) {  // the error is an errno value here
    errno = static_cast<int>(e);
    return -1;
  }
  auto native = plat::Locate(path, false);
  if (!native) {
    errno = ENOENT;
    return -1;
  }
  std::vector<std::string> args;
  for (const char* const* a = argv; *a; ++a) args.emplace_back(*a);
  DWORD error = 0;
  auto folder = plat::ChildFolder(nullptr, &error);  // the caller's current folder
  if (mode == _P_WAIT) {
    int err = 0;
    pid_t pid = plat::Spawn(*native, args, folder ? &*folder : nullptr, &err);
    if (pid < 0) {
      errno = plat::SpawnErrno(err);
      return -1;
    }
    return static_cast<intptr_t>(plat::StatusCode(plat::WaitChild(pid)));
  }
  // _P_OVERLAY: this process becomes the program; it comes back only on failure,
  // with the native folder it had.
  std::fflush(nullptr);
  int here = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  bool moved = folder && chdir(folder->c_str()) == 0;
  std::vector<char*> list;
  for (const std::string& a : args) list.push_back(const_cast<char*>(a.c_str()));
  list.push_back(nullptr);
  execv(native->c_str(), list.data());
  int err = plat::SpawnErrno(errno);
  if (moved && here >= 0) {
    [[maybe_unused]] int back = fchdir(here);  // best effort; the exec error is what counts
  }
  if (here >= 0) close(here);
  errno = err;
  return -1;
}

intptr_t _spawnl(int mode, const char* path, const char* arg0, ...) {
  std::vector<const char*> argv{arg0};
  va_list ap;
  va_start(ap, arg0);
  if (arg0)
    while (const char* a = va_arg(ap, const char*)) argv.push_back(a);
  va_end(ap);
  argv.push_back(nullptr);
  return _spawnv(mode, path, argv.data());
}
