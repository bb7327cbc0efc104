#include "Responder.h"

#include <deque>
#include <mutex>
#include <utility>

namespace plat::user::responder {
namespace {
struct State {
  std::mutex m;
  std::deque<Script> scripts;
  Script unscripted;
  int failures = 0;
  bool showBox = false;
  std::vector<Shown> history;
};
State& S() {
  static State s;
  return s;
}
}  // namespace

void Push(Script script) {
  std::lock_guard lock(S().m);
  S().scripts.push_back(std::move(script));
}

void FailNextDialog() {
  std::lock_guard lock(S().m);
  ++S().failures;
}

void OnUnscriptedDialog(Script script) {
  std::lock_guard lock(S().m);
  S().unscripted = std::move(script);
}

void Reset() {
  std::lock_guard lock(S().m);
  S().scripts.clear();
  S().unscripted = nullptr;
  S().failures = 0;
  S().showBox = false;
  S().history.clear();
}

std::vector<Shown> History() {
  std::lock_guard lock(S().m);
  return S().history;
}

bool TakeFailure() {
  std::lock_guard lock(S().m);
  if (!S().failures) return false;
  --S().failures;
  return true;
}

void ShowNextBox() {
  std::lock_guard lock(S().m);
  S().showBox = true;
}

bool TakeShowBox() {
  std::lock_guard lock(S().m);
  return std::exchange(S().showBox, false);
}

bool HasScript() {
  std::lock_guard lock(S().m);
  return !S().scripts.empty();
}

void Record(const Shown& shown) {
  std::lock_guard lock(S().m);
  S().history.push_back(shown);
}

int Run(const Shown& shown) {
  Script script;
  {
    std::lock_guard lock(S().m);
    if (S().scripts.empty()) return 0;
    script = std::move(S().scripts.front());
    S().scripts.pop_front();
  }
  return script(shown);
}

bool RunUnscripted(const Shown& shown) {
  Script script;
  {
    std::lock_guard lock(S().m);
    script = S().unscripted;
  }
  if (!script) return false;
  script(shown);
  return true;
}

}  // namespace plat::user::responder
