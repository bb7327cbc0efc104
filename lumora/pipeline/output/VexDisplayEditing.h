// What the display's annotation, command and scale files share: the lock every editing
// path takes, and the picture's device context for one call into the objects.
#pragma once
#include "VexDisplayOutput.h"
#include "binding/CLead.h"

namespace vexedit {

constexpr int kCalibrationStyle = 4;  // the style code of a measuring line

inline HDC AsDc(LONG value) { return reinterpret_cast<HDC>(static_cast<INT_PTR>(value)); }

// The control's image DC, given back at the end of the scope (null without a control).
class ImageDC {
 public:
  explicit ImageDC(CLead* lead) : lead_(lead), dc_(lead ? AsDc(lead->GetImageDC()) : nullptr) {}
  ~ImageDC() {
    if (dc_) lead_->ReleaseImageDC();
  }
  ImageDC(const ImageDC&) = delete;
  ImageDC& operator=(const ImageDC&) = delete;
  operator HDC() const { return dc_; }

 private:
  CLead* lead_;
  HDC dc_;
};

// Holds the display's annotation lock; the outermost holder reports the errors met
// meanwhile once the lock is let go, so no other thread waits on an error box.
class EditLock {
 public:
  explicit EditLock(CVexDisplayOutput& display);
  ~EditLock();
  EditLock(const EditLock&) = delete;
  EditLock& operator=(const EditLock&) = delete;

 private:
  CVexDisplayOutput& display_;
};

}  // namespace vexedit
