// The imaging control: one window per instance, registered under its CLSID. Its
// properties and methods, by dispatch id, reach the picture work of ImagingCore and
// the view of ImagingView; it paints the picture with the display-only adjustments,
// tracks the rubber band and raises the mouse, paint and region events.
#pragma once
#include <atomic>
#include <map>
#include <mutex>
#include <string>

#include "OleControl.h"
#include "imaging/ImagingCore.h"
#include "imaging/ImagingView.h"

namespace plat::imaging {

class ImagingControl : public plat::ole::Control {
 public:
  static const CLSID& Clsid();
  // Registers the control with the container (done when the library loads).
  static void Register();

  // Events the control raises besides the stock mouse events.
  static constexpr DISPID kEventPainted = 1;
  static constexpr DISPID kEventRepaintNeeded = 3;
  static constexpr DISPID kEventRegionDone = 16;

  HRESULT Invoke(DISPID id, WORD flags, VARIANT* args, UINT count, VARIANT* result, std::string* error) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // What a call leaves to do once the lock is released.
  enum After { kNothing = 0, kRepaint = 1, kRepaintNow = 2 };
  // Repaints asked for by other threads and not yet done.
  enum Asked { kRepaintAsked = 1, kRepaintAskedNow = 2 };

  HRESULT Call(DISPID id, WORD flags, VARIANT* args, UINT count, VARIANT* result, int* after);
  HRESULT Method(DISPID id, VARIANT* args, UINT count, VARIANT* result, int* after);
  HRESULT Property(DISPID id, bool put, VARIANT* args, UINT count, VARIANT* result, int* after);
  void PictureChanged(bool newPicture);
  void Repaint(bool now);
  void Paint(HDC dc);
  void Mouse(UINT message, WPARAM wParam, LPARAM lParam);
  void DrawBand(HDC dc) const;

  mutable std::mutex lock_;
  std::atomic<int> repaintAsked_{0};
  ImagingCore core_;
  ImagingView view_;
  bool autoRepaint_ = true;
  COLORREF backColor_ = 0xFFFFFF;
  short paintContrast_ = 0, paintGamma_ = 100, paintBrightness_ = 0;
  float frameWidth_ = 0;
  COLORREF frameColor_ = 0;
  bool regionEnabled_ = false;
  // 160: a left drag with 48 on tracks the band by itself; off, only the caller moves it.
  bool mouseTracksRegion_ = true;
  bool tracking_ = false;
  FRect region_;
  HDC drawDc_ = nullptr;
  int lastWidth_ = 0, lastHeight_ = 0;
  // Settings kept for callers that only set them.
  std::map<DISPID, double> settings_;
};

}  // namespace plat::imaging
