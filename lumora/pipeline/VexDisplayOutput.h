// A display pane as an output stage: what the flow control asks of the live and
// still panes besides showing a slot.
#pragma once
#include "pipeline/VexImageOutput.h"

class CVexDisplayOutput : public CVexImageOutput {
 public:
  // 0 still, 1 still at half size, 2 live, 3 live at half size; others refused (0).
  virtual int SetDisplayMode(SHORT mode) = 0;
  virtual void ClearAnnotations() = 0;
  // Shows the current still picture again, with its annotations and scale.
  virtual void ReloadCurrentImage() = 0;
  // Shows `bitmap` and stores the pane's picture into `slot`.
  virtual void StoreImage(SHORT slot, LONG bitmap) = 0;
  virtual void ResetZoom() = 0;
  // Annotation input driven by the tool palette: 1 on, anything else off.
  virtual void SetAnnotationMode(int on) {}
  // Drops the object still being drawn; 0 when there was none.
  virtual int AbandonUnfinishedAnnotation() { return 0; }
};
