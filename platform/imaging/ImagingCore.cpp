#include "imaging/ImagingCore.h"

#include <cmath>
#include <cstring>

#include "Faults.h"
#include "HandleTable.h"
#include "WinSystem.h"
#include "imaging/ColorPlanes.h"
#include "imaging/Filters.h"
#include "imaging/Geometry.h"
#include "imaging/ImageFile.h"

namespace plat::imaging {
namespace {

// Sizes come as floats and are cut to whole pixels; a position names the pixel it
// lies in (so -0.5 is left of the picture, not in its first column).
bool ToInt(float f, int* out) {
  if (!std::isfinite(f) || f < -2147483520.0f || f > 2147483520.0f) return false;
  *out = int(f);
  return true;
}
bool ToPos(float f, int* out) { return ToInt(std::floor(f), out); }

Status Fault(const char* point) { return Status(plat::faults::Check(point)); }

}  // namespace

ImagingCore::ImagingCore() {
  for (int i = 0; i < 256; ++i) lut_[i] = uint8_t(i);
}

template <class F>
Status ImagingCore::Modify(F change) {
  if (held_.Empty()) return status::kNoImage;
  std::shared_ptr<Dib> dib = held_.ForWrite();
  if (!dib) return status::kNoMemory;
  return change(*dib);
}

template <class F>
Status ImagingCore::Transform(F make) {
  std::shared_ptr<const Dib> in = held_.Picture();
  if (!in) return status::kNoImage;
  Dib out;
  if (Status st = make(*in, &out)) return st;
  return held_.Replace(std::move(out)) ? status::kOk : status::kNoMemory;
}

Status ImagingCore::SetBitmap(LONG handle) {
  if (Status st = Fault("imaging.SetBitmap")) return st;
  if (held_.Hold(DWORD(handle))) return status::kOk;
  held_.Clear();
  return status::kInvalidArgument;
}

Status ImagingCore::CreateImage(float width, float height, short bits) {
  if (Status st = Fault("imaging.CreateImage")) return st;
  int w, h;
  if (!ToInt(width, &w) || !ToInt(height, &h) || !Dib::SizeAllowed(w, h, bits)) return status::kInvalidArgument;
  Dib d = Dib::Create(w, h, bits);
  if (d.Empty() || !held_.Adopt(std::move(d))) return status::kNoMemory;
  return status::kOk;
}

float ImagingCore::ImageWidth() const {
  auto p = held_.Picture();
  return p ? float(p->Width()) : 0.0f;
}

float ImagingCore::ImageHeight() const {
  auto p = held_.Picture();
  return p ? float(p->Height()) : 0.0f;
}

short ImagingCore::BitsPerPixel() const {
  auto p = held_.Picture();
  return p ? short(p->Bits()) : 0;
}

LONG ImagingCore::GetImageDC() {
  if (Fault("imaging.GetImageDC")) return 0;
  std::shared_ptr<Dib> picture = held_.ForWrite();
  if (!picture) return 0;
  return LONG(plat::HandleId(imageDc_.Open(picture)));
}

Status ImagingCore::ReleaseImageDC() {
  if (Status st = Fault("imaging.ReleaseImageDC")) return st;
  return imageDc_.Release() ? status::kOk : status::kInvalidArgument;
}

Status ImagingCore::RenderToDC(HDC dc, float left, float top, float width, float height) {
  if (Status st = Fault("imaging.RenderToDC")) return st;
  std::shared_ptr<const Dib> p = held_.Picture();
  if (!p) return status::kNoImage;
  int l, t, w, h;
  if (!dc || !ToPos(left, &l) || !ToPos(top, &t) || !ToInt(width, &w) || !ToInt(height, &h) || w <= 0 || h <= 0)
    return status::kInvalidArgument;
  const std::vector<uint8_t> info = p->BitmapInfo();
  const int lines = StretchDIBits(dc, l, t, w, h, 0, 0, p->Width(), p->Height(), p->Bits0(),
                                  reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS, SRCCOPY);
  return lines > 0 ? status::kOk : status::kFileError;
}

LONG ImagingCore::GetPixel(float x, float y) const {
  auto p = held_.Picture();
  int ix, iy;
  if (!p || !ToPos(x, &ix) || !ToPos(y, &iy)) return -1;
  return p->GetPixel(ix, iy);
}

Status ImagingCore::CropImage(float left, float top, float width, float height) {
  if (Status st = Fault("imaging.CropImage")) return st;
  int l, t, w, h;
  if (!ToPos(left, &l) || !ToPos(top, &t) || !ToInt(width, &w) || !ToInt(height, &h))
    return status::kInvalidArgument;
  // A crop that keeps every pixel keeps the picture itself: no second block of its size.
  if (auto p = held_.Picture(); p && l == 0 && t == 0 && w >= p->Width() && h >= p->Height()) return status::kOk;
  return Transform([&](const Dib& in, Dib* out) { return Crop(in, l, t, w, h, out); });
}

Status ImagingCore::ResizeImage(float width, float height, short filter) {
  if (Status st = Fault("imaging.ResizeImage")) return st;
  int w, h;
  if (!ToInt(width, &w) || !ToInt(height, &h) || (filter != 0 && filter != 2)) return status::kInvalidArgument;
  const ResizeFilter f = filter == 0 ? ResizeFilter::Nearest : ResizeFilter::Smooth;
  return Transform([&](const Dib& in, Dib* out) { return Resize(in, w, h, f, out); });
}

Status ImagingCore::Rotate(LONG angle, short flags, LONG fill) {
  if (Status st = Fault("imaging.Rotate")) return st;
  return Transform([&](const Dib& in, Dib* out) {
    return imaging::Rotate(in, angle, (flags & 1) != 0, COLORREF(fill) & 0xFFFFFF, out);
  });
}

Status ImagingCore::FlipHorizontal() {
  if (Status st = Fault("imaging.FlipHorizontal")) return st;
  return Modify([](Dib& d) {
    imaging::FlipHorizontal(d);
    return status::kOk;
  });
}

Status ImagingCore::FlipVertical() {
  if (Status st = Fault("imaging.FlipVertical")) return st;
  return Modify([](Dib& d) {
    imaging::FlipVertical(d);
    return status::kOk;
  });
}

Status ImagingCore::Negative() {
  if (Status st = Fault("imaging.Negative")) return st;
  return Modify([](Dib& d) {
    imaging::Negative(d);
    return status::kOk;
  });
}

Status ImagingCore::Grayscale(short bits) {
  if (Status st = Fault("imaging.Grayscale")) return st;
  return Transform([&](const Dib& in, Dib* out) { return imaging::Grayscale(in, bits, out); });
}

// The value checks run before a shared picture is copied, so a refused or neutral
// value costs nothing.
template <class F>
Status ImagingCore::Adjust(const char* point, bool valid, bool neutral, F change) {
  if (Status st = Fault(point)) return st;
  if (!valid) return status::kInvalidArgument;
  if (held_.Empty()) return status::kNoImage;
  if (neutral) return status::kOk;
  return Modify(change);
}

namespace {
bool InRange(int v) { return v >= -1000 && v <= 1000; }
}  // namespace

Status ImagingCore::ChangeBrightness(short value) {
  return Adjust("imaging.ChangeBrightness", InRange(value), value == 0,
                [&](Dib& d) { return imaging::ChangeBrightness(d, value); });
}

Status ImagingCore::ChangeContrast(short value) {
  return Adjust("imaging.ChangeContrast", InRange(value), value == 0,
                [&](Dib& d) { return imaging::ChangeContrast(d, value); });
}

Status ImagingCore::ChangeSaturation(short value) {
  return Adjust("imaging.ChangeSaturation", InRange(value), value == 0,
                [&](Dib& d) { return imaging::ChangeSaturation(d, value); });
}

Status ImagingCore::ChangeHue(short degrees) {
  return Adjust("imaging.ChangeHue", true, degrees % 360 == 0, [&](Dib& d) { return imaging::ChangeHue(d, degrees); });
}

Status ImagingCore::ApplyGamma(short value) {
  return Adjust("imaging.ApplyGamma", value > 0, value == 100, [&](Dib& d) { return imaging::ApplyGamma(d, value); });
}

Status ImagingCore::Sharpen(short value) {
  if (Status st = Fault("imaging.Sharpen")) return st;
  if (!InRange(value)) return status::kInvalidArgument;
  if (value == 0) return held_.Empty() ? status::kNoImage : status::kOk;
  return Transform([&](const Dib& in, Dib* out) { return imaging::Sharpen(in, value, out); });
}

Status ImagingCore::AverageFilter(short size) {
  if (Status st = Fault("imaging.AverageFilter")) return st;
  return Transform([&](const Dib& in, Dib* out) { return imaging::AverageFilter(in, size, out); });
}

Status ImagingCore::MedianFilter(short size) {
  if (Status st = Fault("imaging.MedianFilter")) return st;
  return Transform([&](const Dib& in, Dib* out) { return imaging::MedianFilter(in, size, out); });
}

Status ImagingCore::SplitColorPlanes(LONG mode) {
  if (Status st = Fault("imaging.SplitColorPlanes")) return st;
  std::shared_ptr<const Dib> in = held_.Picture();
  if (!in) return status::kNoImage;
  std::array<Dib, 3> planes;
  if (Status st = SplitPlanes(*in, int(mode), &planes)) return st;
  std::array<ImageHolder, 3> made;
  for (int i = 0; i < 3; ++i)
    if (!made[i].Adopt(std::move(planes[i]))) return status::kNoMemory;
  for (int i = 0; i < 3; ++i) slots_[i] = std::move(made[i]);
  if (mode == 2)
    splitSource_.Hold(held_.Handle());
  else
    splitSource_.Clear();
  return status::kOk;
}

Status ImagingCore::MergeColorPlanes(LONG mode) {
  if (Status st = Fault("imaging.MergeColorPlanes")) return st;
  std::array<std::shared_ptr<const Dib>, 3> keep;
  std::array<const Dib*, 3> planes{};
  for (int i = 0; i < 3; ++i) {
    keep[i] = slots_[i].Picture();
    if (!keep[i]) return status::kNoImage;
    planes[i] = keep[i].get();
  }
  std::shared_ptr<const Dib> source = mode == 2 ? splitSource_.Picture() : nullptr;
  Dib out;
  if (Status st = MergePlanes(planes, int(mode), source.get(), &out)) return st;
  const bool ok = held_.Empty() ? held_.Adopt(std::move(out)) : held_.Replace(std::move(out));
  if (!ok) return status::kNoMemory;
  splitSource_.Clear();
  return status::kOk;
}

LONG ImagingCore::GetImageSlot(short slot) const {
  return slot >= 0 && slot < kSlots ? LONG(slots_[slot].Handle()) : 0;
}

Status ImagingCore::SetImageSlot(short slot, LONG handle) {
  if (Status st = Fault("imaging.SetImageSlot")) return st;
  if (slot < 0 || slot >= kSlots) return status::kInvalidArgument;
  return slots_[slot].Hold(DWORD(handle)) ? status::kOk : status::kInvalidArgument;
}

Status ImagingCore::SetLutEntry(short index, short value) {
  if (index < 0 || index > 255 || value < 0 || value > 255) return status::kInvalidArgument;
  lut_[index] = uint8_t(value);
  return status::kOk;
}

Status ImagingCore::ApplyLookupTable(short flags) {
  if (Status st = Fault("imaging.ApplyLookupTable")) return st;
  if (flags != 0) return status::kInvalidArgument;
  return Modify([&](Dib& d) {
    ApplyLut(d, lut_);
    return status::kOk;
  });
}

Status ImagingCore::ReadFileInfo(const std::string& path, short page) {
  if (Status st = Fault("imaging.ReadFileInfo")) return st;
  if (page != 0) return status::kInvalidArgument;
  FileInfo info;
  if (Status st = imagefile::ReadInfo(path, &info)) return st;
  info_ = info;
  return status::kOk;
}

Status ImagingCore::LoadFile(const std::string& path, short bits, short page, short count) {
  if (Status st = Fault("imaging.LoadFile")) return st;
  Dib d;
  if (Status st = imagefile::Load(path, &d, nullptr)) return st;
  return held_.Adopt(std::move(d)) ? status::kOk : status::kNoMemory;
}

Status ImagingCore::SaveFile(const std::string& path, short format, short bits, short quality, short options) {
  if (Status st = Fault("imaging.SaveFile")) return st;
  std::shared_ptr<const Dib> in = held_.Picture();
  if (!in) return status::kNoImage;
  return imagefile::Save(path, *in, format, bits, quality, fields_);
}

Status ImagingCore::SaveToMemory(void* block, size_t capacity, short format, short bits, short quality, LONG* size) {
  if (Status st = Fault("imaging.SaveToMemory")) return st;
  std::shared_ptr<const Dib> in = held_.Picture();
  if (!in) return status::kNoImage;
  if (!block || !size) return status::kInvalidArgument;
  uint64_t bytes = 0;
  const Status st = imagefile::EncodeInto(*in, format, bits, quality, fields_, static_cast<uint8_t*>(block),
                                          capacity, &bytes);
  if (st == status::kOk || st == status::kNoMemory) *size = bytes > 0x7FFFFFFF ? 0x7FFFFFFF : LONG(bytes);
  return st;
}

Status ImagingCore::SaveToMemory(LONG* memoryHandle, short format, short bits, short quality, LONG* size) {
  if (!memoryHandle || !size) return status::kInvalidArgument;
  const HGLOBAL block = plat::ToHandle<HGLOBAL>(uint32_t(*memoryHandle));
  const size_t capacity = GlobalSize(block);
  void* at = GlobalLock(block);
  if (!at) return status::kInvalidArgument;
  const Status st = SaveToMemory(at, capacity, format, bits, quality, size);
  GlobalUnlock(block);
  return st;
}

Status ImagingCore::ReadFileField(const std::string& path, short page, short field, FieldValue* value) {
  if (Status st = Fault("imaging.ReadFileField")) return st;
  *value = std::monostate{};
  if (page != 0 || field < 0 || field >= FileFields::kCount) return status::kInvalidArgument;
  FileFields f;
  if (Status st = imagefile::ReadFields(path, &f)) return st;
  *value = f.Get(field);
  return status::kOk;
}

Status ImagingCore::SetFileField(short field, FieldValue value) {
  return fields_.Set(field, std::move(value)) ? status::kOk : status::kInvalidArgument;
}

}  // namespace plat::imaging
