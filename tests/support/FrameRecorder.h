// Notes what the main frame is asked to do (update broadcasts, redisplays, saves), for
// tests of the windows and the document that call it.
#pragma once
#include <chrono>
#include <vector>

#include "ui/MainFrame.h"

struct FrameRecorder : CMainFrame::Observer {
  explicit FrameRecorder(CMainFrame* frame) : frame_(frame) {
    if (frame_) frame_->SetObserver(this);
  }
  ~FrameRecorder() override {
    if (frame_) frame_->SetObserver(nullptr);
  }
  FrameRecorder(const FrameRecorder&) = delete;
  FrameRecorder& operator=(const FrameRecorder&) = delete;

  void OnBroadcast(DWORD flags, LPARAM) override { broadcasts.push_back(flags); }
  void OnRedisplay() override { ++redisplays; }
  void OnSave() override { ++saves; }

  int UpdateCount() const { return static_cast<int>(broadcasts.size()); }
  DWORD LastUpdateFlags() const { return broadcasts.empty() ? 0 : broadcasts.back(); }

  std::vector<DWORD> broadcasts;
  int redisplays = 0;
  int saves = 0;

 private:
  CMainFrame* frame_;
};

// Handles messages until the first live frame has enabled `frame` (at most `seconds`);
// answers whether it is enabled.
inline bool PumpUntilEnabled(CWnd* frame, int seconds = 30) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (frame && !frame->IsWindowEnabled() && std::chrono::steady_clock::now() < end) {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
    ::Sleep(1);
  }
  return frame && frame->IsWindowEnabled();
}
