#include "imaging/ImagingView.h"

#include <algorithm>
#include <cmath>

namespace plat::imaging {

void ImagingView::SetPicture(int width, int height) {
  pictureWidth_ = width;
  pictureHeight_ = height;
  Layout();
}

void ImagingView::SetClient(int width, int height) {
  clientWidth_ = width;
  clientHeight_ = height;
  Layout();
}

void ImagingView::SetMode(short mode) {
  // From fitting to zooming the picture keeps the zoom it is shown at.
  if (mode == kModeZoom && mode_ == kModeFit && pictureWidth_ > 0) zoom_ = fitZoom_;
  mode_ = mode;
  Layout();
}

float ImagingView::Zoom() const { return mode_ == kModeFit && pictureWidth_ > 0 ? fitZoom_ : zoom_; }

bool ImagingView::SetZoom(float percent) {
  if (!(percent >= kMinZoom && percent <= kMaxZoom)) return false;
  zoom_ = percent;
  if (mode_ == kModeZoom) {
    // The picture grows or shrinks about the middle of the control: what is shown there
    // stays there.
    const float width = float(pictureWidth_) * zoom_ / 100.0f, height = float(pictureHeight_) * zoom_ / 100.0f;
    const float cx = float(clientWidth_) / 2, cy = float(clientHeight_) / 2;
    if (display_.width > 0) display_.left = cx - (cx - display_.left) * width / display_.width;
    if (display_.height > 0) display_.top = cy - (cy - display_.top) * height / display_.height;
    display_.width = width;
    display_.height = height;
  }
  return true;
}

void ImagingView::SetDisplay(const FRect& r) {
  display_ = r;
  // Placed at a size of its own, the picture is painted at that zoom; a size that only
  // rounds the current zoom to whole pixels keeps it.
  if (pictureWidth_ <= 0 || r.width <= 0) return;
  float& zoom = mode_ == kModeFit ? fitZoom_ : zoom_;
  if (std::fabs(r.width - float(pictureWidth_) * zoom / 100.0f) < 1.0f) return;
  const float placed = r.width * 100.0f / float(pictureWidth_);
  if (mode_ == kModeFit || (mode_ == kModeZoom && placed >= kMinZoom && placed <= kMaxZoom)) zoom = placed;
}

void ImagingView::Layout() {
  source_ = {0, 0, float(pictureWidth_), float(pictureHeight_)};
  clip_ = {0, 0, float(clientWidth_), float(clientHeight_)};
  if (mode_ == kModeFit && pictureWidth_ > 0 && pictureHeight_ > 0) {
    // The largest size with the picture's proportions that fits, at the top left.
    float scale = std::min(float(clientWidth_) / float(pictureWidth_), float(clientHeight_) / float(pictureHeight_));
    display_ = {0, 0, std::floor(float(pictureWidth_) * scale + 0.5f), std::floor(float(pictureHeight_) * scale + 0.5f)};
    // The zoom fitting gave, not the one the whole pixels of the painted size suggest.
    fitZoom_ = scale * 100.0f;
  } else if (mode_ == kModeZoom) {
    display_ = {0, 0, float(pictureWidth_) * zoom_ / 100.0f, float(pictureHeight_) * zoom_ / 100.0f};
  } else {
    display_ = {0, 0, float(pictureWidth_), float(pictureHeight_)};
  }
}

}  // namespace plat::imaging
