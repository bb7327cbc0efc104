// A record of what was drawn on a DC, for tests: one entry per primitive beside the
// pixels. Off unless a test switches it on for one DC or for all.
#pragma once
#include <mutex>
#include <string>
#include <vector>

#include "WinGdi.h"

namespace plat::gdi {

struct JournalEntry {
  std::string call;           // "LineTo", "BitBlt", "TextOutA" ...
  std::vector<POINT> points;  // logical coordinates as passed
  RECT rect{};                // the logical rectangle, where the call has one
  HGDIOBJ pen = nullptr;
  HGDIOBJ brush = nullptr;
  HGDIOBJ font = nullptr;
  int rop2 = 0;
  DWORD rop3 = 0;
  COLORREF textColor = 0;
  COLORREF bkColor = 0;
  int bkMode = 0;
  std::string text;  // text output (UTF-8)
};

class Journal {
 public:
  void Add(JournalEntry e) {
    std::lock_guard lock(mutex_);
    entries_.push_back(std::move(e));
  }
  std::vector<JournalEntry> Entries() const {
    std::lock_guard lock(mutex_);
    return entries_;
  }
  void Clear() {
    std::lock_guard lock(mutex_);
    entries_.clear();
  }

 private:
  mutable std::mutex mutex_;
  std::vector<JournalEntry> entries_;
};

// Switches journals on for every DC created from now on (tests only).
void SetJournalAll(bool on);
bool JournalAll();

}  // namespace plat::gdi
