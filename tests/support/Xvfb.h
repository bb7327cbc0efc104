// A private X server for tests of the sdl screen; Xvfb chooses a free display number
// itself. Display() is empty when Xvfb is not installed or did not start.
#pragma once
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace testenv {

class Xvfb {
 public:
  Xvfb() {
    if (access("/usr/bin/Xvfb", X_OK) != 0) return;
    int fds[2];
    if (pipe(fds) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      // Ends with the test process, however that ends.
      prctl(PR_SET_PDEATHSIG, SIGTERM);
      close(fds[0]);
      std::string fd = std::to_string(fds[1]);
      execl("/usr/bin/Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1400x1100x24", "-nolisten", "tcp",
            static_cast<char*>(nullptr));
      _exit(127);
    }
    close(fds[1]);
    std::string number;
    pollfd p{fds[0], POLLIN, 0};
    char c;
    while (poll(&p, 1, 10000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    if (!number.empty()) display_ = ":" + number;
  }
  ~Xvfb() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
  }
  Xvfb(const Xvfb&) = delete;
  Xvfb& operator=(const Xvfb&) = delete;
  const std::string& Display() const { return display_; }
  // Points SDL at this server; with processScreen the process screen uses the sdl back end too.
  void UseForSdl(bool processScreen = false) const {
    setenv("DISPLAY", display_.c_str(), 1);
    setenv("SDL_VIDEODRIVER", "x11", 1);
    if (processScreen) setenv("LUMORA_DISPLAY", "sdl", 1);
  }

 private:
  pid_t pid_ = -1;
  std::string display_;
};

}  // namespace testenv
