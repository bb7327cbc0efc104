// Where an imaging control paints its picture: the display rectangle (the whole
// picture's place in control pixels, negative when scrolled), the source rectangle
// (the part of the picture that goes there), the clip rectangle (the part of the
// control painted), the sizing mode and zoom, and the rubber-band region.
#pragma once

namespace plat::imaging {

struct FRect {
  float left = 0, top = 0, width = 0, height = 0;
  bool operator==(const FRect&) const = default;
};

class ImagingView {
 public:
  static constexpr short kModeNormal = 0;
  static constexpr short kModeFit = 3;
  static constexpr short kModeZoom = 4;
  // Zoom limits in per cent; outside them a picture pixel is no longer drawable.
  static constexpr float kMinZoom = 1.0f;
  static constexpr float kMaxZoom = 10000.0f;

  // A new picture (0 x 0 for none) or a new control size: the rectangles are laid
  // out again for the current mode.
  void SetPicture(int width, int height);
  void SetClient(int width, int height);

  short Mode() const { return mode_; }
  void SetMode(short mode);
  // In fit mode the zoom that fitting gave.
  float Zoom() const;
  // False for a zoom outside the limits.
  bool SetZoom(float percent);

  const FRect& Display() const { return display_; }
  const FRect& Source() const { return source_; }
  const FRect& Clip() const { return clip_; }
  // In zoom mode the zoom follows the width the picture is placed at.
  void SetDisplay(const FRect& r);
  void SetClip(const FRect& r) { clip_ = r; }
  void SetSource(const FRect& r) { source_ = r; }
  int ClientWidth() const { return clientWidth_; }
  int ClientHeight() const { return clientHeight_; }

 private:
  void Layout();

  int pictureWidth_ = 0, pictureHeight_ = 0;
  int clientWidth_ = 0, clientHeight_ = 0;
  short mode_ = kModeNormal;
  float zoom_ = 100.0f;
  float fitZoom_ = 100.0f;
  FRect display_, source_, clip_;
};

}  // namespace plat::imaging
