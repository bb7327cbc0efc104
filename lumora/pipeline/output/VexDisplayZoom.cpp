// Zoom of CVexDisplayOutput: still pictures step through 5 % to 2400 %, fit the pane,
// zoom about a point or to a rubber band; a live picture steps up to 800 % and is shown
// through a rectangle placed around the focus point.
#include "VexDisplayOutput.h"

#include <cmath>
#include <iterator>

#include "binding/CLead.h"
#include "control/VexDoc.h"
#include "ui/MainFrame.h"

namespace {

constexpr float kSteps[] = {5.0f,  8.33f, 10.0f, 12.5f, 16.7f, 25.0f,  33.3f,  50.0f,  66.7f,  100.0f, 200.0f,
                            300.0f, 400.0f, 500.0f, 600.0f, 700.0f, 800.0f, 1200.0f, 1600.0f, 2000.0f, 2400.0f};
constexpr int kLiveSteps = 17;  // the live table ends at 800 %
constexpr float kMaxBandZoom = 2800.0f;

// Where the enlarged picture goes along one axis: around the focus point, but never
// leaving a gap at either edge of the pane.
void PlaceSpan(double a, double size, LONG focus, LONG centre, LONG bound, LONG* low, LONG* high) {
  LONG start = static_cast<LONG>(-focus * a * 0.01) + centre;
  if (start > 0) start = 0;
  LONG end = start + static_cast<LONG>(size);
  if (end <= bound) {
    end = bound;
    start = bound - static_cast<LONG>(size);
    if (start > 0) {
      start = 0;
      end = static_cast<LONG>(size);
    }
  }
  *low = start;
  *high = end;
}

}  // namespace

float CVexDisplayOutput::StepStillZoom(int down, float zoom) {
  if (!down) {
    for (float step : kSteps)
      if (step > zoom + 0.5f) return step;
    return kSteps[std::size(kSteps) - 1];
  }
  for (int i = int(std::size(kSteps)) - 1; i >= 0; --i)
    if (kSteps[i] < zoom - 0.5f) return kSteps[i];
  return kSteps[0];
}

float CVexDisplayOutput::StepLiveZoom(int down, float zoom) {
  if (!down) {
    for (int i = 0; i < kLiveSteps; ++i)
      if (kSteps[i] > zoom) return kSteps[i];
    return kSteps[kLiveSteps - 1];
  }
  for (int i = kLiveSteps - 1; i >= 0; --i)
    if (kSteps[i] < zoom) return kSteps[i];
  return kSteps[0];
}

void CVexDisplayOutput::StepZoom(int down) {
  CMainFrame* frame = Frame();
  if (frame) frame->EnableFrame(FALSE);
  CLead* lead = Lead();
  CVexDoc* doc = GetDocument();
  if (lead && doc) {
    const float z = lead->GetPaintZoom();
    if (IsLiveMode()) {
      if (GetLiveAreaType() != 0) {
        if (frame) frame->EnableFrame(TRUE);
        return;
      }
      lead->SetFlag5(FALSE);
      SetZoom(StepLiveZoom(down, z));
      const bool turned = doc->GetDir90() == 1;
      const float base = m_nDisplayMode == kLive ? (turned ? 80.0f : 100.0f) : (turned ? 40.0f : 50.0f);
      const int zoomed = lead->GetPaintZoom() != base ? 1 : 0;
      {
        vex::MutexLock guard(m_overlayLock);
        m_bLiveZoomed = zoomed;
      }
      doc->SetProfileDisplay(zoomed ? 0 : 1);
      if (frame) frame->BroadcastUpdate(0x2, 0);
    } else {
      lead->SetFlag5(TRUE);
      SetZoom(StepStillZoom(down, z));
    }
    ShowZoomText();
  }
  if (frame) frame->EnableFrame(TRUE);
}

void CVexDisplayOutput::ZoomFit() {
  CMainFrame* frame = Frame();
  if (frame) frame->EnableFrame(FALSE);
  ResetZoom();
  ShowZoomText();
  if (CVexDoc* doc = GetDocument()) doc->SetProfileDisplay(1);
  if (frame) {
    frame->BroadcastUpdate(0x2, 0);
    frame->EnableFrame(TRUE);
  }
}

int CVexDisplayOutput::SetZoom(float a) {
  CLead* lead = Lead();
  CVexDoc* doc = GetDocument();
  if (!lead || !doc) return 0;
  const float left = lead->GetDisplayLeft(), top = lead->GetDisplayTop();
  const float width = lead->GetDisplayWidth(), height = lead->GetDisplayHeight();
  lead->SetPaintSizeMode(4);
  lead->SetDisplaySourceRect(left, top, width, height);
  lead->SetDisplayRect(left, top, width, height);
  lead->SetFlag57(TRUE);
  const float z = lead->GetPaintZoom();
  if (IsLiveMode()) {
    lead->SetPaintZoom(z > 800.0f ? 800.0f : (z < 5.0f ? 5.0f : a));
    const bool turned = doc->GetDir90() == 1;
    const bool half = m_nDisplayMode == kLiveHalf;
    double w = a * 6.4, h = a * 5.12;
    if (turned) std::swap(w, h);
    const float threshold = half ? (turned ? 40.0f : 50.0f) : (turned ? 80.0f : 100.0f);
    const CPoint centre = half ? CPoint(160, 128) : CPoint(320, 256);
    const CSize bounds = half ? CSize(320, 256) : CSize(640, 512);
    CRect placed(0, 0, static_cast<LONG>(w), static_cast<LONG>(h));
    if (a > threshold) {
      const CPoint focus = PictureToDisplay(doc->GetFocusPosition(), doc->GetRotateReverseMode());
      PlaceSpan(a, w, focus.x, centre.x, bounds.cx, &placed.left, &placed.right);
      PlaceSpan(a, h, focus.y, centre.y, bounds.cy, &placed.top, &placed.bottom);
    }
    vex::MutexLock guard(m_overlayLock);
    m_rcLiveZoom = placed;
    return 1;  // the next live frame shows it
  }
  if (z > 2400.0f) {
    lead->SetPaintZoom(2400.0f);
  } else if (z < 5.0f) {
    lead->SetPaintZoom(5.0f);
  } else {
    const float base = GetBaseZoom();
    if (base >= a - 0.5f && base <= a + 0.5f) {
      ResetZoom();
      return 1;
    }
    lead->SetPaintZoom(a);
  }
  lead->ForceRepaint();
  return 1;
}

int CVexDisplayOutput::ZoomAboutPoint(float a, float x, float y) {
  CLead* lead = Lead();
  if (!lead) return 0;
  auto readAndPlace = [&] {
    const float l = lead->GetDisplayLeft(), t = lead->GetDisplayTop();
    const float w = lead->GetDisplayWidth(), h = lead->GetDisplayHeight();
    lead->SetDisplaySourceRect(l, t, w, h);
    lead->SetDisplayRect(l, t, w, h);
  };
  const float left = lead->GetDisplayLeft(), top = lead->GetDisplayTop();
  const float width = lead->GetDisplayWidth(), height = lead->GetDisplayHeight();
  lead->SetPaintSizeMode(4);
  lead->SetDisplaySourceRect(left, top, width, height);
  lead->SetDisplayRect(left, top, width, height);
  const float z = lead->GetPaintZoom();
  if (z >= 5.0f && z <= kMaxBandZoom) {
    // The chosen point moves to the middle of the pane, and the zoom keeps it there.
    const float halfWidth = lead->GetValue60() * 0.5f, halfHeight = lead->GetValue61() * 0.5f;
    lead->SetDisplaySourceRect(left - (x - halfWidth), top - (y - halfHeight), width, height);
    lead->SetDisplayRect(lead->GetDisplayLeft(), lead->GetDisplayTop(), lead->GetDisplayWidth(),
                         lead->GetDisplayHeight());
    lead->SetPaintZoom(a);
    readAndPlace();
  }
  const float now = lead->GetPaintZoom();
  if (now > kMaxBandZoom) lead->SetPaintZoom(kMaxBandZoom);
  if (now < 5.0f) lead->SetPaintZoom(5.0f);
  lead->SetFlag5(TRUE);
  lead->ForceRepaint();
  return 1;
}

void CVexDisplayOutput::OnRegionFinished() {
  CLead* lead = Lead();
  if (!lead || IsLiveMode() || m_nMouseTool != 1) return;
  const float left = lead->GetRegionLeft(), top = lead->GetRegionTop();
  const float width = lead->GetRegionWidth(), height = lead->GetRegionHeight();
  CMainFrame* frame = Frame();
  if (frame) frame->EnableFrame(FALSE);
  const float cx = left + width * 0.5f, cy = top + height * 0.5f;
  const float z = lead->GetPaintZoom();
  if (std::fabs(width) < 25 && std::fabs(height) < 25) {
    ZoomAboutPoint(StepStillZoom(0, z), cx, cy);
  } else {
    const float base = GetBaseZoom();
    const float pictureWidth = lead->GetImageWidth(), pictureHeight = lead->GetImageHeight();
    // Without a fitted still picture there is nothing to measure the band against.
    if (base > 0 && pictureWidth > 0 && pictureHeight > 0) {
      const float w = std::fabs(width) * 100.0f / base, h = std::fabs(height) * 100.0f / base;
      const float factor = h * 5 >= w * 4 ? pictureHeight / h : pictureWidth / w;
      const float l = lead->GetDisplayLeft(), t = lead->GetDisplayTop();
      const float dw = lead->GetDisplayWidth(), dh = lead->GetDisplayHeight();
      lead->SetPaintSizeMode(4);
      lead->SetDisplaySourceRect(l, t, dw, dh);
      lead->SetDisplayRect(l, t, dw, dh);
      float zoom = z * factor;
      if (zoom >= kMaxBandZoom) zoom = kMaxBandZoom;
      ZoomAboutPoint(zoom, cx, cy);
      ShowZoomText();
    }
  }
  if (frame) frame->EnableFrame(TRUE);
}
