// Device contexts: the drawing state and the services every primitive is built on. A DC
// draws either on the bitmap selected into it (a memory DC) or on a DrawTarget (the
// screen, a window, a page), always through its origin and its clip.
#pragma once
#include <memory>
#include <optional>
#include <vector>

#include "gdi/Bitmap.h"
#include "gdi/DrawTarget.h"
#include "gdi/GdiObject.h"
#include "gdi/Journal.h"
#include "gdi/Palette.h"
#include "gdi/Pen.h"
#include "gdi/Raster.h"
#include "gdi/Region.h"

namespace plat::gdi {

// Device coordinates are held to 28 bits, as on the system GDI imitates: far beyond any
// surface, and small enough that no arithmetic on them overflows.
constexpr int kCoordLimit = 1 << 27;
constexpr int ClampCoord(int64_t v) {
  return static_cast<int>(v < -kCoordLimit ? -kCoordLimit : v > kCoordLimit ? kCoordLimit : v);
}

// Everything SaveDC keeps and RestoreDC brings back.
struct DcState {
  POINT windowOrg{0, 0};
  POINT viewportOrg{0, 0};
  POINT brushOrg{0, 0};
  POINT position{0, 0};  // current position, logical
  COLORREF textColor = RGB(0, 0, 0);
  COLORREF bkColor = RGB(255, 255, 255);
  int bkMode = OPAQUE;
  int rop2 = R2_COPYPEN;
  int polyFillMode = ALTERNATE;
  int stretchMode = BLACKONWHITE;
  int mapMode = MM_TEXT;
  // Text attributes, kept here for the text functions.
  UINT textAlign = 0;
  int charExtra = 0;
  std::shared_ptr<Pen> pen;
  std::shared_ptr<Brush> brush;
  std::shared_ptr<GdiObject> font;
  std::shared_ptr<Palette> palette;
  std::shared_ptr<Bitmap> bitmap;  // memory DCs only
  std::optional<Region> clip;      // the clip region (device coordinates); none = no limit
  int styleStep = 0;               // where a styled pen's dash pattern stands
};

class DeviceContext : public GdiObject {
 public:
  // A memory DC with the 1x1 monochrome bitmap selected.
  static std::shared_ptr<DeviceContext> CreateMemory();
  static std::shared_ptr<DeviceContext> CreateOn(std::shared_ptr<DrawTarget> target);
  ~DeviceContext() override;

  DWORD Type() const override;
  bool IsMemory() const { return !target_; }
  DcState& State() { return state_; }
  const DcState& State() const { return state_; }
  DrawTarget* Target() const { return target_.get(); }

  // Logical <-> device coordinates (MM_TEXT: a shift by the origins).
  POINT ToDevice(int x, int y) const;
  POINT ToLogical(int x, int y) const;
  RECT ToDevice(const RECT& logical) const;

  // The surface drawn on and where device (0, 0) lies on it.
  Surface Pixels();
  POINT SurfaceOrigin();
  // The effective clip in device coordinates: the surface, the target's visible part and
  // the clip region together. Recomputed after ClipChanged().
  const Region& Clip();
  void ClipChanged() { clipValid_ = false; }
  // Before each call from outside: a target's visible part may have changed meanwhile.
  void Refresh() {
    if (target_) clipValid_ = false;
  }

  // Object selection (returns the previous object; nullptr when refused).
  std::shared_ptr<GdiObject> Select(const std::shared_ptr<GdiObject>& obj);
  std::shared_ptr<GdiObject> Current(UINT type) const;
  int Save();
  bool Restore(int level);

  // Colour of a pen, brush or text made ready for the surface.
  Fill SolidFill(COLORREF c);
  // std::nullopt for a null brush.
  std::optional<Fill> BrushFill(const Brush& brush);

  // Drawing services, device coordinates, clipped, raster operation `code`.
  void FillRect(const RECT& device, const Fill& fill, uint8_t code);
  void FillSpan(int y, int x0, int x1, const Fill& fill, uint8_t code);
  // Paints the coverage mask (w x h bytes, 0 = none, 255 = full) in colour at device
  // (x, y); partial coverage blends on true-colour surfaces and rounds elsewhere. Text uses it.
  void DrawCoverage(int x, int y, int w, int h, const uint8_t* coverage, ptrdiff_t stride,
                    COLORREF color);

  // Journal: off unless switched on here or for all DCs.
  void EnableJournal(bool on);
  Journal* GetJournal() { return journal_.get(); }
  // Adds an entry filled with the DC's pen, brush, font, colours and modes.
  void Record(const char* call, std::vector<POINT> points = {}, RECT rect = {});
  void Record(JournalEntry entry);
  // Tells the target which device rectangle changed.
  void Touched(const RECT& device);

  // Holds the target's lock while a drawing service writes pixels.
  class Drawing {
   public:
    explicit Drawing(DeviceContext& dc) : target_(dc.target_.get()) {
      dc.Clip();  // the target's origin and visible part are asked before the lock is taken
      if (target_) target_->Lock();
    }
    ~Drawing() {
      if (target_) target_->Unlock();
    }
    Drawing(const Drawing&) = delete;
    Drawing& operator=(const Drawing&) = delete;

   private:
    DrawTarget* target_;
  };

 private:
  DeviceContext() = default;
  void Adopt(DcState& into, const std::shared_ptr<GdiObject>& obj);
  void Leave(const DcState& from);
  void Enter(const DcState& to);

  DcState state_;
  std::vector<DcState> saved_;
  std::shared_ptr<DrawTarget> target_;
  Region clip_;
  POINT origin_{0, 0};
  bool clipValid_ = false;
  std::unique_ptr<Journal> journal_;
};

// A new DC on a target (window DCs, printer DCs); the handle owns it until DeleteDC/ReleaseDC.
HDC CreateDcOn(std::shared_ptr<DrawTarget> target);
std::shared_ptr<DeviceContext> FindDc(HDC hdc);

}  // namespace plat::gdi
