// The window-free part of one imaging control: the picture it holds, its numbered
// image slots, its lookup table, the comment fields of its next save and the answers
// of its last file query. The control class dispatches its methods and properties
// here by id; painting and events stay with the control. Each operation returns a
// status (0 success) and can be made to fail by the fault point "imaging.<Name>".
// One instance is used by one thread at a time; pictures are shared safely between
// instances through the image store.
#pragma once
#include <array>
#include <cstddef>
#include <memory>
#include <string>

#include "imaging/ColorAdjust.h"
#include "imaging/Dib.h"
#include "imaging/FileFields.h"
#include "imaging/FileInfo.h"
#include "imaging/ImageDc.h"
#include "imaging/ImageHolder.h"
#include "imaging/Status.h"

namespace plat::imaging {

class ImagingCore {
 public:
  static constexpr int kSlots = 16;

  ImagingCore();

  // The held picture (handle 0: none).
  LONG GetBitmap() const { return LONG(held_.Handle()); }
  // Holds the picture `handle` names, sharing it with its other holders; 0 lets go.
  // An unknown handle lets go too and answers 20005.
  Status SetBitmap(LONG handle);
  Status CreateImage(float width, float height, short bits);
  float ImageWidth() const;
  float ImageHeight() const;
  short BitsPerPixel() const;
  std::shared_ptr<const Dib> Picture() const { return held_.Picture(); }
  // The held picture made private to this control, for writing into its pixels.
  std::shared_ptr<Dib> PictureForWrite() { return held_.ForWrite(); }
  // A DC whose selected bitmap is the held picture's own memory, made private to this
  // control first so that drawing never shows in another holder; 0 when no picture is
  // held. Use it up before handing the picture on.
  LONG GetImageDC();
  // Ends the use of that DC; 20005 when none is open.
  Status ReleaseImageDC();
  // Draws the held picture stretched onto `dc` in the given rectangle (printing).
  Status RenderToDC(HDC dc, float left, float top, float width, float height);
  // 0x00BBGGRR at (x, y) counted from the top left; -1 outside the picture.
  LONG GetPixel(float x, float y) const;

  Status CropImage(float left, float top, float width, float height);
  // filter 0: nearest pixel; 2: smooth.
  Status ResizeImage(float width, float height, short filter);
  // Hundredths of a degree, positive clockwise; flags bit 0: grow to hold the turned picture.
  Status Rotate(LONG angle, short flags, LONG fill);
  Status FlipHorizontal();
  Status FlipVertical();
  Status Negative();
  Status Grayscale(short bits);
  Status ChangeBrightness(short value);
  Status ChangeContrast(short value);
  Status ChangeSaturation(short value);
  Status ChangeHue(short degrees);
  Status Sharpen(short value);
  Status ApplyGamma(short value);
  // The two noise filters: mean and median of size x size neighbourhoods.
  Status AverageFilter(short size);
  Status MedianFilter(short size);

  Status SplitColorPlanes(LONG mode);
  Status MergeColorPlanes(LONG mode);
  LONG GetImageSlot(short slot) const;
  Status SetImageSlot(short slot, LONG handle);
  Status SetLutEntry(short index, short value);
  Status ApplyLookupTable(short flags);

  Status ReadFileInfo(const std::string& path, short page);
  const FileInfo& LastFileInfo() const { return info_; }
  Status LoadFile(const std::string& path, short bits, short page, short count);
  Status SaveFile(const std::string& path, short format, short bits, short quality, short options);
  // Encodes into the caller's block of `capacity` bytes; `*size` gets the encoded
  // size. Nothing is written when it does not fit (20001).
  Status SaveToMemory(void* block, size_t capacity, short format, short bits, short quality, LONG* size);
  // The same into a global memory block, passed by its handle as the dispatch passes it.
  Status SaveToMemory(LONG* memoryHandle, short format, short bits, short quality, LONG* size);
  Status ReadFileField(const std::string& path, short page, short field, FieldValue* value);
  Status SetFileField(short field, FieldValue value);
  const FileFields& Fields() const { return fields_; }

 private:
  // Runs `change` on a private copy of the held picture.
  template <class F>
  Status Modify(F change);
  // A value adjustment in place: fault point, range, neutral value, then the change.
  template <class F>
  Status Adjust(const char* point, bool valid, bool neutral, F change);
  // Runs `make(in, &out)` and puts `out` in place of the held picture.
  template <class F>
  Status Transform(F make);

  ImageHolder held_;
  ImageDc imageDc_;
  std::array<ImageHolder, kSlots> slots_;
  // The picture of the last mode-2 split, for an exact merge.
  ImageHolder splitSource_;
  Lut lut_;
  FileFields fields_;
  FileInfo info_;
};

}  // namespace plat::imaging
