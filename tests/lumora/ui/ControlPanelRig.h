// The control panel in the running program: the frame as the program makes it, live view
// running, and a recorder of what the panel asks of the frame (window off and on, live
// view stopped and started, update broadcasts) in the order it asks.
#pragma once
#include <string>
#include <vector>

#include "FrameRig.h"
#include "ui/VexMainControlView.h"

struct PanelEvents : FrameRecorder {
  explicit PanelEvents(CMainFrame* frame) : FrameRecorder(frame) {}
  void OnBroadcast(DWORD flags, LPARAM arg) override {
    FrameRecorder::OnBroadcast(flags, arg);
    char text[32];
    std::snprintf(text, sizeof text, "0x%lx", static_cast<unsigned long>(flags));
    events.push_back(text);
  }
  void OnEnableFrame(BOOL enable) override { events.push_back(enable ? "on" : "off"); }
  void OnLive(BOOL start) override { events.push_back(start ? "start" : "stop"); }
  void Clear() {
    events.clear();
    broadcasts.clear();
  }
  // The broadcasts in order, without the two that every live start sends (the camera's
  // exposure and the focus window).
  std::vector<DWORD> Updates() const {
    std::vector<DWORD> out;
    for (DWORD b : broadcasts)
      if (b != 0x4 && b != 0x40) out.push_back(b);
    return out;
  }
  std::vector<std::string> events;
};

class ControlPanelRig : public FrameRig {
 protected:
  // Started, the window enabled by the first live frame, live view running.
  void StartPanel(const char* commandLine = "/i C:\\Frame\\frame.ini") {
    ASSERT_TRUE(Start(commandLine));
    ASSERT_TRUE(PumpUntilEnabled(frame));
    ASSERT_TRUE(PumpUntil([&] { return frame->IsLiveRunning() == 1; }));
    panel = frame->ControlView();
    ASSERT_NE(panel, nullptr);
    events = std::make_unique<PanelEvents>(frame);
  }
  void TearDown() override {
    events.reset();
    FrameRig::TearDown();
  }
  std::string ItemText(int id) const {
    char text[128] = {};
    GetDlgItemTextA(panel->m_hWnd, id, text, sizeof text);
    return text;
  }

  CVexMainControlView* panel = nullptr;
  std::unique_ptr<PanelEvents> events;
};
