// Stage doubles for the flow control: each records its calls in one shared log as
// "<step>:<slots>" and answers what the test set.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "pipeline/input/VexCCDInput.h"
#include "pipeline/output/VexDisplayOutput.h"
#include "pipeline/output/VexFullScreenOutput.h"
#include "pipeline/VexItoIProcess.h"
#include "pipeline/VexItoVProcess.h"
#include "ui/VexProcessDialog.h"
#include "ui/VexSaveNowDialog.h"
#include "ui/VexThumbnailView.h"

namespace flowdoubles {

using Log = std::vector<std::string>;

inline std::string Join(const Log& log) {
  std::string text;
  for (const auto& s : log) text += (text.empty() ? "" : " ") + s;
  return text;
}

struct Camera : CVexCCDInput {
  Camera(Log* l, const char* n) : log(l), name(n) {}
  int Input(SHORT slot) override {
    log->push_back(name + ":" + std::to_string(slot));
    return onInput ? onInput(slot) : result;
  }
  int MeasureWhiteBalance() override {
    log->push_back("wb");
    return onInput ? onInput(-1) : result;
  }
  Log* log;
  std::string name;
  SHORT result = 1;
  std::function<SHORT(SHORT)> onInput;
};

struct ProcessStage : CVexItoIProcess {
  ProcessStage(Log* l, int i) : log(l), id(i) {}
  int Process(SHORT source, SHORT destination) override {
    log->push_back(std::to_string(id) + ":" + std::to_string(source) + "," + std::to_string(destination));
    return onProcess ? onProcess(source, destination) : result;
  }
  Log* log;
  int id;
  SHORT result = 1;
  std::function<SHORT(SHORT, SHORT)> onProcess;
};

struct LiveProcess : CVexItoVProcess {
  explicit LiveProcess(Log* l) : log(l) {}
  int Process(SHORT source, SHORT destination) override {
    log->push_back("200:" + std::to_string(source) + "," + std::to_string(destination));
    return 1;
  }
  Log* log;
};

struct OutputStage : CVexImageOutput {
  OutputStage(Log* l, int i) : log(l), id(i) {}
  int Output(SHORT slot) override {
    log->push_back(std::to_string(id) + ":" + std::to_string(slot));
    return onOutput ? onOutput(slot) : result;
  }
  Log* log;
  int id;
  SHORT result = 1;
  std::function<SHORT(SHORT)> onOutput;
};

struct Pane : CVexDisplayOutput {
  Pane(Log* l, int i) : log(l), id(i) {}
  int Output(SHORT slot) override {
    log->push_back(std::to_string(id) + ":" + std::to_string(slot));
    return onOutput ? onOutput(slot) : 1;
  }
  int SetDisplayMode(SHORT m) override {
    mode = m;
    return 1;
  }
  void ClearAnnotations() override { log->push_back(std::to_string(id) + ".clear"); }
  void ReloadCurrentImage() override { log->push_back(std::to_string(id) + ".reload"); }
  void StoreImage(SHORT slot, LONG bitmap) override {
    log->push_back(std::to_string(id) + ".store:" + std::to_string(slot) + (bitmap ? "" : ",none"));
  }
  void ResetZoom() override { log->push_back(std::to_string(id) + ".zoom"); }
  Log* log;
  int id;
  SHORT mode = -1;
  std::function<SHORT(SHORT)> onOutput;
};

struct FullScreen : CVexFullScreenOutput {
  explicit FullScreen(Log* l) : log(l) {}
  int ShowImage(SHORT slot) override {
    log->push_back("305:" + std::to_string(slot));
    return 1;
  }
  Log* log;
};

struct Thumbnails : CVexThumbnailView {
  explicit Thumbnails(Log* l) : log(l) {}
  void ShowThumbnail(SHORT index, SHORT slot) override {
    log->push_back("thumb:" + std::to_string(index) + "," + std::to_string(slot));
  }
  Log* log;
};

// The capture progress window without a window: counts its updates and answers stop
// once asked to.
struct ProgressWindow : CVexProcessDialog {
  void Begin(SHORT kind) override { begun.push_back(kind); }
  int UpdateProgress() override {
    ++updates;
    return pressStop.load();
  }
  std::vector<SHORT> begun;
  std::atomic<int> updates{0};
  std::atomic<int> pressStop{0};
};

struct SaveWindow : CVexSaveNowDialog {
  void SetSpinnerFrame(SHORT frame) override { frames.push_back(frame); }
  std::vector<SHORT> frames;
};

}  // namespace flowdoubles
