#include "BeepRecord.h"

#include <mutex>

#include "Clock.h"
#include "LastError.h"
#include "WinError.h"
#include "WinSystem.h"

namespace plat::beeps {
namespace {

std::mutex g_mutex;
std::vector<Entry>& Record() {
  static std::vector<Entry> record;
  return record;
}

void Add(const Entry& e) {
  std::lock_guard lock(g_mutex);
  Record().push_back(e);
}

}  // namespace

std::vector<Entry> Take() {
  std::lock_guard lock(g_mutex);
  std::vector<Entry> out;
  out.swap(Record());
  return out;
}

}  // namespace plat::beeps

BOOL Beep(DWORD frequency, DWORD milliseconds) {
  plat::beeps::Add({false, 0, frequency, milliseconds});
  if (frequency < 37 || frequency > 32767) {  // the range the speaker takes
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  plat::clock::SleepMicros(int64_t(milliseconds) * 1000);  // a beep lasts its time, as on Windows
  return TRUE;
}

BOOL MessageBeep(UINT type) {
  plat::beeps::Add({true, type, 0, 0});
  return TRUE;
}
