#include "gdi/DeviceContext.h"

#include <algorithm>
#include <atomic>

#include "gdi/StockObjects.h"

namespace plat::gdi {

namespace {
std::atomic<bool> g_journalAll{false};
}

void SetJournalAll(bool on) { g_journalAll = on; }
bool JournalAll() { return g_journalAll; }

Region DrawTarget::Visible() const {
  Surface s = const_cast<DrawTarget*>(this)->Pixels();
  POINT o = Origin();
  return Region(RECT{-o.x, -o.y, s.width - o.x, s.height - o.y});
}

static void InitDefaults(DcState& s) {
  s.pen = std::dynamic_pointer_cast<Pen>(StockObject(BLACK_PEN));
  s.brush = std::dynamic_pointer_cast<Brush>(StockObject(WHITE_BRUSH));
  s.font = StockObject(SYSTEM_FONT);
  s.palette = std::dynamic_pointer_cast<Palette>(StockObject(DEFAULT_PALETTE));
}

std::shared_ptr<DeviceContext> DeviceContext::CreateMemory() {
  auto dc = std::shared_ptr<DeviceContext>(new DeviceContext());
  InitDefaults(dc->state_);
  dc->state_.bitmap = std::dynamic_pointer_cast<Bitmap>(StockObject(kDefaultBitmap));
  dc->Enter(dc->state_);
  if (JournalAll()) dc->EnableJournal(true);
  return dc;
}

std::shared_ptr<DeviceContext> DeviceContext::CreateOn(std::shared_ptr<DrawTarget> target) {
  auto dc = std::shared_ptr<DeviceContext>(new DeviceContext());
  dc->target_ = std::move(target);
  InitDefaults(dc->state_);
  dc->Enter(dc->state_);
  if (JournalAll()) dc->EnableJournal(true);
  return dc;
}

DeviceContext::~DeviceContext() { Leave(state_); }

DWORD DeviceContext::Type() const { return target_ ? target_->DcType() : OBJ_MEMDC; }

// Objects of a state count as selected while the state is the DC's current one.
void DeviceContext::Enter(const DcState& to) {
  for (GdiObject* o : {static_cast<GdiObject*>(to.pen.get()), static_cast<GdiObject*>(to.brush.get()), to.font.get(),
                       static_cast<GdiObject*>(to.palette.get()), static_cast<GdiObject*>(to.bitmap.get())})
    if (o) NoteSelected(*o);
  if (to.bitmap && !to.bitmap->IsStock()) to.bitmap->selectedIn = Id();
}

void DeviceContext::Leave(const DcState& from) {
  if (from.bitmap && !from.bitmap->IsStock()) from.bitmap->selectedIn = 0;
  for (GdiObject* o : {static_cast<GdiObject*>(from.pen.get()), static_cast<GdiObject*>(from.brush.get()), from.font.get(),
                       static_cast<GdiObject*>(from.palette.get()), static_cast<GdiObject*>(from.bitmap.get())})
    if (o) NoteDeselected(*o);
}

std::shared_ptr<GdiObject> DeviceContext::Select(const std::shared_ptr<GdiObject>& obj) {
  if (!obj) return nullptr;
  std::shared_ptr<GdiObject> old;
  switch (obj->Type()) {
    case OBJ_PEN:
      old = std::exchange(state_.pen, std::static_pointer_cast<Pen>(obj));
      break;
    case OBJ_BRUSH:
      old = std::exchange(state_.brush, std::static_pointer_cast<Brush>(obj));
      break;
    case OBJ_FONT:
      old = std::exchange(state_.font, obj);
      break;
    case OBJ_PAL:
      old = std::exchange(state_.palette, std::static_pointer_cast<Palette>(obj));
      break;
    case OBJ_BITMAP: {
      auto bm = std::static_pointer_cast<Bitmap>(obj);
      if (!IsMemory()) return nullptr;
      if (bm == state_.bitmap) return bm;
      if (!bm->IsStock() && bm->selectedIn != 0) return nullptr;  // in another DC
      if (state_.bitmap && !state_.bitmap->IsStock()) state_.bitmap->selectedIn = 0;
      old = std::exchange(state_.bitmap, bm);
      if (!bm->IsStock()) bm->selectedIn = Id();
      clipValid_ = false;
      break;
    }
    default:
      return nullptr;
  }
  if (old == obj) return old;
  NoteSelected(*obj);
  if (old) NoteDeselected(*old);
  return old;
}

std::shared_ptr<GdiObject> DeviceContext::Current(UINT type) const {
  switch (type) {
    case OBJ_PEN: return state_.pen;
    case OBJ_BRUSH: return state_.brush;
    case OBJ_FONT: return state_.font;
    case OBJ_PAL: return state_.palette;
    case OBJ_BITMAP: return state_.bitmap;
    default: return nullptr;
  }
}

int DeviceContext::Save() {
  saved_.push_back(state_);
  return static_cast<int>(saved_.size());
}

bool DeviceContext::Restore(int level) {
  int n = static_cast<int>(saved_.size());
  if (level < 0) level = n + level + 1;
  if (level < 1 || level > n) return false;
  DcState next = std::move(saved_[static_cast<size_t>(level - 1)]);
  saved_.resize(static_cast<size_t>(level - 1));
  // A saved bitmap that went into another DC meanwhile cannot come back.
  if (next.bitmap && next.bitmap != state_.bitmap && !next.bitmap->IsStock() && next.bitmap->selectedIn != 0)
    next.bitmap = state_.bitmap;
  Enter(next);
  Leave(state_);
  if (next.bitmap && !next.bitmap->IsStock()) next.bitmap->selectedIn = Id();
  state_ = std::move(next);
  clipValid_ = false;
  return true;
}

POINT DeviceContext::ToDevice(int x, int y) const {
  return {ClampCoord(int64_t(x) - state_.windowOrg.x + state_.viewportOrg.x),
          ClampCoord(int64_t(y) - state_.windowOrg.y + state_.viewportOrg.y)};
}

POINT DeviceContext::ToLogical(int x, int y) const {
  return {ClampCoord(int64_t(x) - state_.viewportOrg.x + state_.windowOrg.x),
          ClampCoord(int64_t(y) - state_.viewportOrg.y + state_.windowOrg.y)};
}

RECT DeviceContext::ToDevice(const RECT& r) const {
  POINT a = ToDevice(r.left, r.top), b = ToDevice(r.right, r.bottom);
  return {a.x, a.y, b.x, b.y};
}

Surface DeviceContext::Pixels() {
  if (target_) return target_->Pixels();
  return state_.bitmap ? state_.bitmap->Pixels() : Surface{};
}

POINT DeviceContext::SurfaceOrigin() {
  if (!target_) return {0, 0};
  Clip();
  return origin_;
}

const Region& DeviceContext::Clip() {
  if (!clipValid_) {
    Surface s = Pixels();
    // The origin is taken with the clip, outside any drawing lock, and kept until the next call.
    origin_ = target_ ? target_->Origin() : POINT{0, 0};
    POINT o = origin_;
    Region r(RECT{-o.x, -o.y, s.width - o.x, s.height - o.y});
    if (!s.Valid()) r = Region();
    if (target_) r = Region::Combine(r, target_->Visible(), RGN_AND);
    if (state_.clip) r = Region::Combine(r, *state_.clip, RGN_AND);
    clip_ = std::move(r);
    clipValid_ = true;
  }
  return clip_;
}

Fill DeviceContext::SolidFill(COLORREF c) {
  Fill f;
  f.pixel = ColorToPixel(Pixels(), c);
  return f;
}

namespace {
bool HatchBit(int hatch, int x, int y) {
  switch (hatch) {
    case HS_HORIZONTAL: return y == 7;
    case HS_VERTICAL: return x == 7;
    case HS_FDIAGONAL: return x == y;
    case HS_BDIAGONAL: return x + y == 7;
    case HS_CROSS: return x == 7 || y == 7;
    case HS_DIAGCROSS: return x == y || x + y == 7;
    default: return false;
  }
}
}  // namespace

std::optional<Fill> DeviceContext::BrushFill(const Brush& brush) {
  Surface s = Pixels();
  POINT o = SurfaceOrigin();
  Fill f;
  f.orgX = state_.brushOrg.x + o.x;
  f.orgY = state_.brushOrg.y + o.y;
  switch (brush.log.lbStyle) {
    case BS_NULL:
      return std::nullopt;
    case BS_HATCHED: {
      f.patterned = true;
      uint32_t fg = ColorToPixel(s, brush.log.lbColor), bg = ColorToPixel(s, state_.bkColor);
      f.drawn = 0;
      for (int i = 0; i < 64; ++i) {
        bool on = HatchBit(static_cast<int>(brush.log.lbHatch), i % 8, i / 8);
        f.pattern[i] = on ? fg : bg;
        if (on || state_.bkMode == OPAQUE) f.drawn |= uint64_t(1) << i;
      }
      return f;
    }
    case BS_PATTERN:
    case BS_DIBPATTERN: {
      f.patterned = true;
      uint32_t fg = ColorToPixel(s, state_.textColor), bg = ColorToPixel(s, state_.bkColor);
      for (int i = 0; i < 64; ++i)
        f.pattern[i] = brush.monoPattern ? (brush.patternBits[i] ? bg : fg) : ColorToPixel(s, brush.patternColors[i]);
      return f;
    }
    default:
      f.pixel = ColorToPixel(s, brush.log.lbColor);
      return f;
  }
}

void DeviceContext::FillRect(const RECT& device, const Fill& fill, uint8_t code) {
  Drawing hold(*this);
  Surface s = Pixels();
  if (!s.Valid()) return;
  POINT o = SurfaceOrigin();
  Clip().ForEachClipped(device, [&](const RECT& c) {
    gdi::FillRect(s, RECT{c.left + o.x, c.top + o.y, c.right + o.x, c.bottom + o.y}, fill, code);
  });
  Touched(device);
}

void DeviceContext::FillSpan(int y, int x0, int x1, const Fill& fill, uint8_t code) {
  Drawing hold(*this);
  if (x0 > x1) std::swap(x0, x1);
  Surface s = Pixels();
  if (!s.Valid() || x0 == x1) return;
  POINT o = SurfaceOrigin();
  Clip().ForEachClipped(RECT{x0, y, x1, y + 1}, [&](const RECT& c) {
    gdi::FillRect(s, RECT{c.left + o.x, c.top + o.y, c.right + o.x, c.bottom + o.y}, fill, code);
  });
}

void DeviceContext::DrawCoverage(int x, int y, int w, int h, const uint8_t* coverage, ptrdiff_t stride,
                                 COLORREF color) {
  Drawing hold(*this);
  Surface s = Pixels();
  if (!s.Valid() || w <= 0 || h <= 0) return;
  POINT o = SurfaceOrigin();
  uint32_t solid = ColorToPixel(s, color);
  int cr = GetRValue(color), cg = GetGValue(color), cb = GetBValue(color);
  std::vector<uint32_t> row;
  Clip().ForEachClipped(RECT{x, y, x + w, y + h}, [&](const RECT& c) {
    int n = c.right - c.left;
    row.resize(static_cast<size_t>(n));
    for (int yy = c.top; yy < c.bottom; ++yy) {
      const uint8_t* a = coverage + (yy - y) * stride + (c.left - x);
      LoadRow(s, c.left + o.x, yy + o.y, n, row.data());
      for (int i = 0; i < n; ++i) {
        unsigned k = a[i];
        if (k == 0) continue;
        if (s.bpp < 24 || k == 255) {
          if (k >= 128) row[static_cast<size_t>(i)] = solid;
          continue;
        }
        uint32_t d = row[static_cast<size_t>(i)];
        int dr = (d >> 16) & 0xFF, dg = (d >> 8) & 0xFF, db = d & 0xFF;
        dr += ((cr - dr) * int(k) + 127) / 255;
        dg += ((cg - dg) * int(k) + 127) / 255;
        db += ((cb - db) * int(k) + 127) / 255;
        row[static_cast<size_t>(i)] = (uint32_t(dr) << 16) | (uint32_t(dg) << 8) | uint32_t(db);
      }
      StoreRow(s, c.left + o.x, yy + o.y, n, row.data());
    }
  });
  Touched(RECT{x, y, x + w, y + h});
}

void DeviceContext::EnableJournal(bool on) {
  if (on && !journal_) journal_ = std::make_unique<Journal>();
  if (!on) journal_.reset();
}

void DeviceContext::Record(const char* call, std::vector<POINT> points, RECT rect) {
  if (!journal_) return;
  JournalEntry e;
  e.call = call;
  e.points = std::move(points);
  e.rect = rect;
  Record(std::move(e));
}

void DeviceContext::Record(JournalEntry e) {
  if (!journal_) return;
  e.pen = state_.pen ? state_.pen->Handle() : nullptr;
  e.brush = state_.brush ? state_.brush->Handle() : nullptr;
  e.font = state_.font ? state_.font->Handle() : nullptr;
  e.rop2 = state_.rop2;
  e.textColor = state_.textColor;
  e.bkColor = state_.bkColor;
  e.bkMode = state_.bkMode;
  journal_->Add(std::move(e));
}

void DeviceContext::Touched(const RECT& d) {
  if (!target_ || d.left >= d.right || d.top >= d.bottom) return;
  Surface s = target_->Pixels();
  POINT o = SurfaceOrigin();
  RECT r{std::max<LONG>(d.left + o.x, 0), std::max<LONG>(d.top + o.y, 0), std::min<LONG>(d.right + o.x, s.width),
         std::min<LONG>(d.bottom + o.y, s.height)};
  if (r.left < r.right && r.top < r.bottom) target_->Changed(r);
}

HDC CreateDcOn(std::shared_ptr<DrawTarget> target) {
  if (!target) return nullptr;
  return Add<HDC>(DeviceContext::CreateOn(std::move(target)));
}

std::shared_ptr<DeviceContext> FindDc(HDC hdc) { return Find<DeviceContext>(hdc); }

}  // namespace plat::gdi
