// A still display for the frame's annotation services: a pane of the main window that
// notes what the frame asks of it. Like every view it frees itself with its window.
#pragma once
#include <afxwin.h>

#include <vector>

#include "pipeline/VexDisplayOutput.h"

struct DisplayCalls {
  std::vector<int> modes;  // annotation mode switches, in order
  int abandons = 0;
};

class DisplayDouble : public CView, public CVexDisplayOutput {
 public:
  explicit DisplayDouble(DisplayCalls& calls) : calls_(calls) {}
  // A child pane of `frame`, made the way the frame makes its panes.
  static DisplayDouble* MakeIn(CFrameWnd& frame, DisplayCalls& calls) {
    auto* view = new DisplayDouble(calls);
    if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 150), &frame, AFX_IDW_PANE_FIRST + 9))
      return nullptr;  // a view that fails to be made frees itself
    return view;
  }

  void OnDraw(CDC*) override {}
  SHORT Output(SHORT) override { return 1; }
  int SetDisplayMode(SHORT) override { return 1; }
  void ClearAnnotations() override {}
  void ReloadCurrentImage() override {}
  void StoreImage(SHORT, LONG) override {}
  void ResetZoom() override {}
  void SetAnnotationMode(int on) override { calls_.modes.push_back(on); }
  int AbandonUnfinishedAnnotation() override {
    ++calls_.abandons;
    return 0;
  }

 private:
  DisplayCalls& calls_;
};
