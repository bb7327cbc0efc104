#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "Faults.h"
#include "Pictures.h"
#include "TestEnv.h"
#include "WinSystem.h"
#include "imaging/ImageHolder.h"
#include "imaging/ImageStore.h"
#include "imaging/ImagingCore.h"
#include "imaging/TiffCodec.h"

using namespace plat::imaging;
using namespace imagingtest;
namespace fs = std::filesystem;

namespace {

Dib Held(const ImagingCore& core) { return core.Picture()->Clone(); }

// The per-plane table run of the retouch operations: split, load the plane, apply
// the table, put it back, merge, empty the slots.
Status PlaneTable(ImagingCore& c, int mode, int plane, const std::vector<int>& table) {
  if (Status st = c.SplitColorPlanes(mode)) return st;
  c.SetBitmap(c.GetImageSlot(short(plane)));
  for (int i = 0; i < 256; ++i) c.SetLutEntry(short(i), short(std::clamp(table[i], 0, 255)));
  if (Status st = c.ApplyLookupTable(0)) return st;
  c.SetImageSlot(short(plane), c.GetBitmap());
  if (Status st = c.MergeColorPlanes(mode)) return st;
  for (short s = 0; s < 3; ++s) c.SetImageSlot(s, 0);
  return status::kOk;
}

}  // namespace

TEST(ImagingCore, HandedOverPictureIsSharedUntilOneControlChangesIt) {
  ImagingCore stage, display;
  Give(stage, Noise(12, 10));
  const LONG h = stage.GetBitmap();
  ASSERT_EQ(display.SetBitmap(h), status::kOk);
  EXPECT_EQ(display.GetBitmap(), h);
  const Dib before = Held(stage);

  ASSERT_EQ(display.Negative(), status::kOk);
  EXPECT_NE(display.GetBitmap(), h);  // the change went to a copy
  EXPECT_EQ(stage.GetBitmap(), h);
  EXPECT_TRUE(stage.Picture()->SamePixels(before));
  EXPECT_EQ(display.GetPixel(0, 0), LONG(0xFFFFFF ^ before.GetPixel(0, 0)));
}

TEST(ImagingCore, EveryEditLeavesOtherHoldersUntouched) {
  const std::pair<const char*, std::function<Status(ImagingCore&)>> edits[] = {
      {"crop", [](ImagingCore& c) { return c.CropImage(1, 1, 5, 4); }},
      {"resize", [](ImagingCore& c) { return c.ResizeImage(6, 3, 2); }},
      {"rotate", [](ImagingCore& c) { return c.Rotate(9000, 1, 0); }},
      {"flip h", [](ImagingCore& c) { return c.FlipHorizontal(); }},
      {"flip v", [](ImagingCore& c) { return c.FlipVertical(); }},
      {"grey", [](ImagingCore& c) { return c.Grayscale(8); }},
      {"brightness", [](ImagingCore& c) { return c.ChangeBrightness(100); }},
      {"contrast", [](ImagingCore& c) { return c.ChangeContrast(100); }},
      {"saturation", [](ImagingCore& c) { return c.ChangeSaturation(-500); }},
      {"hue", [](ImagingCore& c) { return c.ChangeHue(40); }},
      {"sharpen", [](ImagingCore& c) { return c.Sharpen(300); }},
      {"gamma", [](ImagingCore& c) { return c.ApplyGamma(150); }},
      {"noise 282", [](ImagingCore& c) { return c.AverageFilter(3); }},
      {"noise 283", [](ImagingCore& c) { return c.MedianFilter(3); }},
      {"table", [](ImagingCore& c) {
         for (short i = 0; i < 256; ++i) c.SetLutEntry(i, short(255 - i));
         return c.ApplyLookupTable(0);
       }},
      {"planes", [](ImagingCore& c) {
         std::vector<int> t(256);
         for (int i = 0; i < 256; ++i) t[i] = i + 30;
         return PlaneTable(c, 2, 2, t);
       }},
      {"pixels", [](ImagingCore& c) {
         c.PictureForWrite()->Row(0)[0] ^= 1;
         return status::kOk;
       }},
  };
  for (const auto& [name, edit] : edits) {
    ImagingCore owner, worker;
    Give(owner, Noise(9, 7, 24, 11));
    const Dib before = Held(owner);
    ImageHolder slot;  // an image slot of the program keeps the handle too
    ASSERT_TRUE(slot.Hold(DWORD(owner.GetBitmap())));
    ASSERT_EQ(worker.SetBitmap(owner.GetBitmap()), status::kOk);
    ASSERT_EQ(edit(worker), status::kOk) << name;
    EXPECT_TRUE(owner.Picture()->SamePixels(before)) << name;
    EXPECT_TRUE(slot.Picture()->SamePixels(before)) << name;
    EXPECT_FALSE(worker.Picture()->SamePixels(before)) << name;
  }
}

TEST(ImagingCore, RetouchCancelRestoresTheUneditedPicture) {
  ImagingCore second, stageControl, preview;
  Give(second, Noise(16, 8));
  const LONG unedited = second.GetBitmap();
  const Dib original = Held(second);
  ASSERT_EQ(stageControl.SetBitmap(unedited), status::kOk);
  ASSERT_EQ(preview.SetBitmap(stageControl.GetBitmap()), status::kOk);
  for (ImagingCore* c : {&preview, &stageControl}) ASSERT_EQ(c->Rotate(9000, 1, 0xFFFFFF), status::kOk);
  EXPECT_EQ(stageControl.ImageWidth(), 8.0f);
  EXPECT_EQ(preview.ImageWidth(), 8.0f);
  ASSERT_EQ(stageControl.SetBitmap(unedited), status::kOk);
  EXPECT_TRUE(stageControl.Picture()->SamePixels(original));
}

TEST(ImagingCore, SizesAfterCreateCropResizeAndTurns) {
  ImagingCore c;
  ASSERT_EQ(c.CreateImage(1280, 1024, 24), status::kOk);
  EXPECT_EQ(c.ImageWidth(), 1280.0f);
  EXPECT_EQ(c.BitsPerPixel(), 24);
  EXPECT_EQ(c.GetPixel(5, 5), 0);  // a new picture is black
  ASSERT_EQ(c.ResizeImage(1280 * 0.25f, 1024 * 0.25f, 2), status::kOk);
  EXPECT_EQ(c.ImageWidth(), 320.0f);
  EXPECT_EQ(c.ImageHeight(), 256.0f);
  ASSERT_EQ(c.CropImage(10.7f, 20.2f, 100.9f, 50.5f), status::kOk);
  EXPECT_EQ(c.ImageWidth(), 100.0f);
  EXPECT_EQ(c.ImageHeight(), 50.0f);
  ASSERT_EQ(c.Rotate(-9000, 1, 0), status::kOk);
  EXPECT_EQ(c.ImageWidth(), 50.0f);
  EXPECT_EQ(c.ImageHeight(), 100.0f);
  ASSERT_EQ(c.Grayscale(8), status::kOk);
  EXPECT_EQ(c.BitsPerPixel(), 8);
}

// A crop that takes the whole picture (or more, clipped) keeps the very picture: a still
// cropped to its full shooting area costs no second block of its size.
TEST(ImagingCore, ACropOfTheWholePictureKeepsThePictureItself) {
  ImagingCore c;
  ASSERT_EQ(c.CreateImage(64, 48, 24), status::kOk);
  const LONG handle = c.GetBitmap();
  const Dib* before = c.Picture().get();
  for (float w : {64.0f, 80.0f}) {
    ASSERT_EQ(c.CropImage(0, 0, w, 48), status::kOk);
    EXPECT_EQ(c.GetBitmap(), handle);
    EXPECT_EQ(c.Picture().get(), before);
  }
  ASSERT_EQ(c.CropImage(0, 0, 64, 47), status::kOk);  // one row less is a real crop
  EXPECT_EQ(c.ImageHeight(), 47.0f);
}

TEST(ImagingCore, GetPixelAnswersRedInTheLowByteAtTopDownPositions) {
  Dib d = Flat(3, 2, 24, 0);
  SetPixel(d, 2, 0, 0x30, 0x20, 0x10);  // top right
  ImagingCore c;
  Give(c, d);
  EXPECT_EQ(c.GetPixel(2, 0), 0x302010);
  EXPECT_EQ(c.GetPixel(2.9f, 0.5f), 0x302010);
  EXPECT_EQ(c.GetPixel(2, 1), 0);
  EXPECT_EQ(c.GetPixel(3, 0), -1);
  EXPECT_EQ(c.GetPixel(-1, 0), -1);
  EXPECT_EQ(c.GetPixel(-0.5f, 0), -1);
}

TEST(ImagingCore, PlaneTablesFollowTheRetouchSequences) {
  const Dib original = Gradient(40, 30);
  std::vector<int> identity(256), offset(256), full(256, 255);
  for (int i = 0; i < 256; ++i) identity[i] = i, offset[i] = i + 10;
  const size_t before = ImageStore::Instance().Count();
  {
    ImagingCore c;
    Give(c, original);
    // Balance with all strengths 0: split and merge only; the picture comes back exact.
    ASSERT_EQ(c.SplitColorPlanes(0), status::kOk);
    ASSERT_EQ(c.MergeColorPlanes(0), status::kOk);
    for (short s = 0; s < 3; ++s) c.SetImageSlot(s, 0);
    EXPECT_TRUE(c.Picture()->SamePixels(original));
    // Identity table on the intensity plane: exact as well.
    ASSERT_EQ(PlaneTable(c, 2, 2, identity), status::kOk);
    EXPECT_TRUE(c.Picture()->SamePixels(original));
    // Intensity + 10: every channel + 10 where there is room.
    ASSERT_EQ(PlaneTable(c, 2, 2, offset), status::kOk);
    const LONG p = original.GetPixel(5, 5), q = c.GetPixel(5, 5);
    EXPECT_EQ(GetRValue(q), std::min(255, GetRValue(p) + 10));
    EXPECT_EQ(GetGValue(q), std::min(255, GetGValue(p) + 10));
    EXPECT_EQ(GetBValue(q), std::min(255, GetBValue(p) + 10));
    // White level 0 on slot 2 (red) turns red fully on.
    ASSERT_EQ(PlaneTable(c, 0, 2, full), status::kOk);
    EXPECT_EQ(GetRValue(c.GetPixel(0, 29)), 255);
    for (short s = 0; s < 3; ++s) EXPECT_EQ(c.GetImageSlot(s), 0);
    EXPECT_EQ(c.BitsPerPixel(), 24);
  }
  EXPECT_EQ(ImageStore::Instance().Count(), before);  // no plane left behind
}

TEST(ImagingCore, StatusesForMissingPicturesAndBadValues) {
  ImagingCore empty;
  for (Status st : {empty.CropImage(0, 0, 1, 1), empty.ResizeImage(2, 2, 2), empty.Rotate(100, 0, 0),
                    empty.FlipHorizontal(), empty.Negative(), empty.Grayscale(8), empty.ChangeBrightness(0),
                    empty.ApplyLookupTable(0), empty.SplitColorPlanes(0), empty.MergeColorPlanes(0),
                    empty.MedianFilter(3), empty.SaveFile("C:\\x.jpg", 98, 24, 2, 0)})
    EXPECT_EQ(st, status::kNoImage);

  ImagingCore c;
  Give(c, Noise(4, 4));
  const Dib before = Held(c);
  for (Status st : {c.ResizeImage(4, 4, 1), c.ResizeImage(0, 4, 2), c.CropImage(0, 0, -1, 2),
                    c.ChangeBrightness(1001), c.ChangeContrast(-1001), c.Sharpen(2000), c.ApplyGamma(0),
                    c.Grayscale(12), c.SplitColorPlanes(1), c.MedianFilter(4), c.SetLutEntry(256, 0),
                    c.SetLutEntry(0, -1), c.ApplyLookupTable(1), c.SetImageSlot(16, 0),
                    c.SetFileField(179, std::string("x")), c.ReadFileInfo("C:\\x", 1)})
    EXPECT_EQ(st, status::kInvalidArgument);
  EXPECT_TRUE(c.Picture()->SamePixels(before));
}

TEST(ImagingCore, StaleHandleLeavesTheControlEmpty) {
  ImagingCore c;
  DWORD stale;
  {
    ImageHolder gone;
    ASSERT_TRUE(gone.Adopt(Noise(2, 2)));
    stale = gone.Handle();
  }
  Give(c, Noise(3, 3));
  EXPECT_EQ(c.SetBitmap(LONG(stale)), status::kInvalidArgument);
  EXPECT_EQ(c.GetBitmap(), 0);
  EXPECT_EQ(c.SetImageSlot(0, LONG(stale)), status::kInvalidArgument);
  EXPECT_EQ(c.SetBitmap(0), status::kOk);
}

TEST(ImagingCore, FaultPointsFailOperationsWithTheArmedStatus) {
  ImagingCore c;
  Give(c, Noise(6, 6));
  const Dib before = Held(c);
  {
    plat::faults::Scope f("imaging.Rotate", 20001);
    EXPECT_EQ(c.Rotate(9000, 1, 0), 20001);
  }
  {
    plat::faults::Scope f("imaging.MedianFilter", 7);
    EXPECT_EQ(c.MedianFilter(3), 7);
  }
  {
    plat::faults::Scope f("imaging.LoadFile", 20009);
    EXPECT_EQ(c.LoadFile("C:\\anything.jpg", 0, 0, -1), 20009);
  }
  EXPECT_TRUE(c.Picture()->SamePixels(before));
  EXPECT_EQ(c.Rotate(9000, 1, 0), status::kOk);
}

TEST(ImagingCore, FileQueryLoadAndSaveWithFields) {
  fs::create_directories(testenv::DriveC() + "/out");
  ImagingCore out;
  Give(out, Gradient(64, 48));
  // The file output's sequence: clear all 179 fields, then set its own.
  for (short i = 0; i <= 178; ++i) ASSERT_EQ(out.SetFileField(i, std::monostate{}), status::kOk);
  out.SetFileField(22, std::string("2026:12:09 12:00:00"));
  out.SetFileField(34, std::vector<int32_t>{1, 30});
  out.SetFileField(36, std::vector<uint8_t>{'A', 'S', 'C', 'I', 'I', 0, 0, 0, 'h', 'i', 0});
  ASSERT_EQ(out.SaveFile("C:\\out\\p.jpg", 98, 24, 2, 0), status::kOk);
  ASSERT_EQ(out.SaveFile("C:\\out\\p.tif", 3, 24, 0, 0), status::kOk);

  ImagingCore in;
  ASSERT_EQ(in.ReadFileInfo("C:\\out\\p.jpg", 0), status::kOk);
  EXPECT_EQ(in.LastFileInfo().width, 64);
  EXPECT_EQ(in.LastFileInfo().height, 48);
  EXPECT_EQ(in.LastFileInfo().format, kFormatJpeg);
  EXPECT_EQ(in.LastFileInfo().fileBytes, fs::file_size(testenv::DriveC() + "/out/p.jpg"));
  EXPECT_EQ(in.LastFileInfo().imageBytes, 64u * 3 * 48);
  ASSERT_EQ(in.ReadFileInfo("C:\\out\\p.tif", 0), status::kOk);
  EXPECT_EQ(in.LastFileInfo().format, kFormatTiff);

  for (const char* path : {"C:\\out\\p.jpg", "C:\\out\\p.tif"}) {
    FieldValue v;
    ASSERT_EQ(in.ReadFileField(path, 0, 36, &v), status::kOk);
    EXPECT_EQ(v, FieldValue(std::vector<uint8_t>{'A', 'S', 'C', 'I', 'I', 0, 0, 0, 'h', 'i', 0}));
    ASSERT_EQ(in.ReadFileField(path, 0, 34, &v), status::kOk);
    EXPECT_EQ(v, FieldValue(std::vector<int32_t>{1, 30}));
    ASSERT_EQ(in.ReadFileField(path, 0, 23, &v), status::kOk);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(v));
  }
  FieldValue v;
  EXPECT_EQ(in.ReadFileField("C:\\out\\missing.jpg", 0, 36, &v), status::kFileNotFound);

  EXPECT_EQ(in.LoadFile("C:\\out\\missing.jpg", 0, 0, -1), status::kFileNotFound);
  EXPECT_EQ(in.GetBitmap(), 0);
  ASSERT_EQ(in.LoadFile("C:\\out\\p.tif", 0, 0, -1), status::kOk);
  EXPECT_TRUE(in.Picture()->SamePixels(*out.Picture()));
}

TEST(ImagingCore, GreySaveWritesAnEightBitFile) {
  fs::create_directories(testenv::DriveC() + "/grey");
  ImagingCore c;
  Give(c, Flat(8, 8, 24, 90, 90, 90));
  ASSERT_EQ(c.Grayscale(8), status::kOk);
  ASSERT_EQ(c.SaveFile("C:\\grey\\g.jpg", 98, 8, 2, 0), status::kOk);
  ImagingCore q;
  ASSERT_EQ(q.ReadFileInfo("C:\\grey\\g.jpg", 0), status::kOk);
  EXPECT_EQ(q.LastFileInfo().bits, 8);
}

TEST(ImagingCore, SaveToMemoryNeverWritesPastTheBlock) {
  ImagingCore c;
  Give(c, Noise(50, 40));
  LONG needed = 0;
  std::vector<uint8_t> probe(16);
  EXPECT_EQ(c.SaveToMemory(probe.data(), 0, 6, 24, 0, &needed), status::kNoMemory);
  ASSERT_GT(needed, 0);
  // A block one byte short: refused, the size still reported, not one byte touched.
  std::vector<uint8_t> block(size_t(needed) + 64, 0xA5);
  LONG size = 0;
  EXPECT_EQ(c.SaveToMemory(block.data(), size_t(needed) - 1, 6, 24, 0, &size), status::kNoMemory);
  EXPECT_EQ(size, needed);
  EXPECT_TRUE(std::all_of(block.begin(), block.end(), [](uint8_t b) { return b == 0xA5; }));
  // Exactly large enough: written, and the guard bytes after it stay.
  ASSERT_EQ(c.SaveToMemory(block.data(), size_t(needed), 6, 24, 0, &size), status::kOk);
  EXPECT_EQ(size, needed);
  EXPECT_EQ(block[0], 'B');
  EXPECT_TRUE(std::all_of(block.begin() + needed, block.end(), [](uint8_t b) { return b == 0xA5; }));
}

// A TIFF is written straight into the block: one too small is refused with the size the
// picture needs, nothing past it written; one large enough holds the picture whole, with
// its comment.
TEST(ImagingCore, SaveToMemoryWritesATiffIntoTheBlock) {
  ImagingCore c;
  Give(c, Noise(50, 40));
  ASSERT_EQ(c.SetFileField(40, std::string("slide 7")), status::kOk);
  LONG needed = 0;
  std::vector<uint8_t> probe(16);
  EXPECT_EQ(c.SaveToMemory(probe.data(), 0, kFormatTiff, 24, 0, &needed), status::kNoMemory);
  ASSERT_GT(needed, 50 * 40 * 3);
  std::vector<uint8_t> block(size_t(needed) + 64, 0xA5);
  LONG size = 0;
  EXPECT_EQ(c.SaveToMemory(block.data(), size_t(needed) - 1, kFormatTiff, 24, 0, &size), status::kNoMemory);
  EXPECT_EQ(size, needed);
  EXPECT_TRUE(std::all_of(block.begin() + needed - 1, block.end(), [](uint8_t b) { return b == 0xA5; }));
  ASSERT_EQ(c.SaveToMemory(block.data(), size_t(needed), kFormatTiff, 24, 0, &size), status::kOk);
  EXPECT_EQ(size, needed);
  EXPECT_TRUE(std::all_of(block.begin() + needed, block.end(), [](uint8_t b) { return b == 0xA5; }));
  Dib back;
  FileFields fields;
  ASSERT_EQ(tiff::Decode(block.data(), size_t(size), &back, &fields), status::kOk);
  EXPECT_TRUE(back.SamePixels(*c.Picture()));
  EXPECT_EQ(fields.Get(40), FieldValue(std::string("slide 7")));
}

TEST(ImagingCore, SaveToMemoryFillsAGlobalBlockByItsHandle) {
  ImagingCore c;
  Give(c, Noise(30, 20));
  LONG needed = 0;
  std::vector<uint8_t> probe(1);
  c.SaveToMemory(probe.data(), 0, 98, 24, 10, &needed);
  ASSERT_GT(needed, 0);
  // The file output's estimate: the picture's bytes and some room.
  HGLOBAL block = GlobalAlloc(GMEM_FIXED, 30 * 20 * 3 + 50000);
  ASSERT_NE(block, nullptr);
  LONG handle = LONG(plat::HandleId(block)), size = 0;
  ASSERT_EQ(c.SaveToMemory(&handle, 98, 24, 10, &size), status::kOk);
  EXPECT_EQ(size, needed);
  const auto* bytes = static_cast<const uint8_t*>(GlobalLock(block));
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1], 0xD8);
  GlobalUnlock(block);
  GlobalFree(block);
  EXPECT_EQ(c.SaveToMemory(&handle, 98, 24, 10, &size), status::kInvalidArgument);  // freed
}

TEST(ImagingCore, BurningIntoTheSavedPictureLeavesTheShownOneClean) {
  ImagingCore second, fileOutput;
  Give(second, Flat(10, 10, 24, 1, 2, 3));
  ASSERT_EQ(fileOutput.SetBitmap(second.GetBitmap()), status::kOk);
  auto pixels = fileOutput.PictureForWrite();
  ASSERT_NE(pixels, nullptr);
  pixels->Row(5)[15] = 255;  // an annotation drawn into the picture to save
  EXPECT_EQ(second.GetPixel(5, 5), LONG(RGB(3, 2, 1)));
  EXPECT_NE(fileOutput.GetPixel(5, 5), LONG(RGB(3, 2, 1)));
}
