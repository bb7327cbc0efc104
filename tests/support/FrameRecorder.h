// Notes what the main frame is asked to do (update broadcasts, redisplays, saves), for
// tests of the windows and the document that call it.
#pragma once
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
