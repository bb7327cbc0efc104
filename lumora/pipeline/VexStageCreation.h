// How the main frame makes each hidden stage: the view (no class name, no caption,
// 50 x 50, the stage's child id), its own imaging control in the same rectangle, the view
// hidden, the links to the image slots and the error control, and the view added to the
// document. The stage frees itself with its window.
#pragma once
#include <afxwin.h>

class CVexBufferControl;
class CVexErrorControl;

template <class Stage>
Stage* CreateHiddenStage(CWnd* frame, UINT childId, CVexBufferControl* buffers, CVexErrorControl* errors,
                         CDocument* document) {
  static constexpr RECT kRect = {0, 0, 50, 50};
  auto* stage = new Stage;
  if (!stage->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, kRect, frame, childId)) {
    delete stage;  // no window took it over
    return nullptr;
  }
  stage->CreateImagingControl(&kRect);
  stage->ShowWindow(SW_HIDE);
  stage->SetBufferControl(buffers);
  stage->SetErrorControl(errors);
  if (document) document->AddView(stage);
  return stage;
}
