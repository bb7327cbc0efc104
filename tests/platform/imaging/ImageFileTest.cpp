#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <cstring>
#include <unistd.h>
#include <filesystem>
#include <fstream>

#include "Faults.h"
#include "WinError.h"
#include "JpegFrame.h"
#include "Pictures.h"
#include "TestEnv.h"
#include "imaging/BmpCodec.h"
#include "imaging/FileAccess.h"
#include "imaging/ImageFile.h"
#include "imaging/JpegCodec.h"
#include "imaging/TiffCodec.h"

using namespace plat::imaging;
using namespace imagingtest;
namespace fs = std::filesystem;

namespace {

std::string Native(const std::string& rel) { return testenv::DriveC() + "/" + rel; }

std::vector<uint8_t> ReadNative(const std::string& native) {
  std::ifstream f(native, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

void WriteNative(const std::string& native, const std::vector<uint8_t>& bytes) {
  fs::create_directories(fs::path(native).parent_path());
  std::ofstream f(native, std::ios::binary);
  f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<uint8_t> Encoded(const Dib& d, int format, int bits = 0, int quality = 0,
                             const FileFields& fields = FileFields()) {
  std::vector<uint8_t> out;
  EXPECT_EQ(imagefile::Encode(d, format, bits, quality, fields, &out), status::kOk);
  return out;
}

double Psnr(const Dib& a, const Dib& b) {
  double se = 0;
  const int n = a.Width() * (a.Bits() / 8);
  for (int y = 0; y < a.Height(); ++y)
    for (int i = 0; i < n; ++i) {
      const double d = a.Row(y)[i] - b.Row(y)[i];
      se += d * d;
    }
  const double mse = se / (double(n) * a.Height());
  return mse == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 / mse);
}

FileFields CommentFields() {
  FileFields f;
  f.Set(22, std::string("2026:12:09 10:11:12"));
  f.Set(23, std::string("2026:12:09 10:11:13"));
  f.Set(34, std::vector<int32_t>{1, 250});
  std::vector<uint8_t> title = {'A', 'S', 'C', 'I', 'I', 0, 0, 0};
  for (char c : std::string("顕微鏡 sample 7")) title.push_back(uint8_t(c));
  title.push_back(0);
  f.Set(36, title);
  f.Set(37, std::vector<uint8_t>{'A', 'S', 'C', 'I', 'I', 0, 0, 0, 's', 0});
  f.Set(39, std::monostate{});
  return f;
}

// The file with its width and height entries (tags 256, 257) set to other values.
std::vector<uint8_t> TiffSized(std::vector<uint8_t> t, uint32_t width, uint32_t height) {
  for (size_t i = 0; i + 12 <= t.size(); i += 2) {
    const bool entry = (t[i + 1] == 1 && (t[i] == 0 || t[i] == 1)) && (t[i + 2] == 3 || t[i + 2] == 4) &&
                       t[i + 3] == 0 && t[i + 4] == 1 && t[i + 5] == 0 && t[i + 6] == 0 && t[i + 7] == 0;
    if (!entry) continue;
    const uint32_t v = t[i] == 0 ? width : height;
    t[i + 2] = 4;  // LONG
    for (int k = 0; k < 4; ++k) t[i + 8 + k] = uint8_t(v >> (8 * k));
  }
  return t;
}

}  // namespace

TEST(ImageFile, LosslessFormatsRoundTripEveryPixel) {
  struct Case {
    short format;
    int bits;
    const char* name;
  } cases[] = {{kFormatBmp, 24, "C:\\pics\\a.bmp"},  {kFormatBmp, 8, "C:\\pics\\g.bmp"},
               {kFormatTiff, 24, "C:\\pics\\a.tif"}, {kFormatTiff, 8, "C:\\pics\\g.tif"}};
  fs::create_directories(Native("pics"));
  for (const Case& c : cases) {
    const Dib in = Noise(37, 13, c.bits, c.format);  // odd width: rows are padded
    ASSERT_EQ(imagefile::Save(c.name, in, c.format, 0, 0, FileFields()), status::kOk) << c.name;
    Dib out;
    ASSERT_EQ(imagefile::Load(c.name, &out, nullptr), status::kOk) << c.name;
    EXPECT_EQ(out.Bits(), c.bits);
    EXPECT_TRUE(out.SamePixels(in)) << c.name;
    FileInfo info;
    ASSERT_EQ(imagefile::ReadInfo(c.name, &info), status::kOk);
    EXPECT_EQ(info.width, 37);
    EXPECT_EQ(info.height, 13);
    EXPECT_EQ(info.bits, c.bits);
    EXPECT_EQ(info.format, c.format);
    EXPECT_EQ(info.fileBytes, fs::file_size(Native(std::string("pics/") + (c.name + 8))));
    EXPECT_EQ(info.imageBytes, uint64_t(Dib::StrideFor(37, c.bits)) * 13);
  }
}

TEST(ImageFile, JpegKeepsColourAndGreyCloseToTheOriginal) {
  fs::create_directories(Native("j"));
  for (int bits : {24, 8}) {
    const Dib in = Gradient(160, 120, bits);
    ASSERT_EQ(imagefile::Save("C:\\j\\p.jpg", in, kFormatJpeg, 0, 2, FileFields()), status::kOk);
    Dib out;
    ASSERT_EQ(imagefile::Load("c:/J/P.JPG", &out, nullptr), status::kOk);  // any case, either slash
    EXPECT_EQ(out.Bits(), bits);
    ASSERT_EQ(out.Width(), 160);
    EXPECT_GT(Psnr(in, out), 40.0) << bits;
  }
}

TEST(ImageFile, JpegQualityFactorIsLowerIsBetterAndOrdered) {
  EXPECT_EQ(jpeg::QualityFromFactor(2), 98);
  EXPECT_EQ(jpeg::QualityFromFactor(6), 94);
  EXPECT_EQ(jpeg::QualityFromFactor(10), 90);
  EXPECT_EQ(jpeg::QualityFromFactor(35), 65);
  EXPECT_EQ(jpeg::QualityFromFactor(0), 100);
  EXPECT_EQ(jpeg::QualityFromFactor(255), 1);
  const Dib in = Noise(96, 64);
  size_t lastSize = SIZE_MAX;
  double lastPsnr = 1000;
  for (int q : {2, 6, 10, 35}) {
    const auto bytes = Encoded(in, kFormatJpeg, 24, q);
    Dib out;
    ASSERT_EQ(jpeg::Decode(bytes.data(), bytes.size(), &out, nullptr), status::kOk);
    const double p = Psnr(in, out);
    EXPECT_LT(bytes.size(), lastSize) << q;
    EXPECT_LT(p, lastPsnr) << q;
    lastSize = bytes.size();
    lastPsnr = p;
  }
}

TEST(ImageFile, SavingWithOtherBitsConvertsToGreyOrExpands) {
  Dib colour = Flat(8, 8, 24, 0, 0, 255);
  const auto grey = Encoded(colour, kFormatBmp, 8);
  Dib out;
  ASSERT_EQ(bmp::Decode(grey.data(), grey.size(), &out), status::kOk);
  EXPECT_EQ(out.Bits(), 8);
  EXPECT_EQ(out.Row(0)[0], 76);
  const auto expanded = Encoded(Flat(8, 8, 8, 99), kFormatBmp, 24);
  ASSERT_EQ(bmp::Decode(expanded.data(), expanded.size(), &out), status::kOk);
  EXPECT_EQ(out.Bits(), 24);
  EXPECT_EQ(out.GetPixel(3, 3), LONG(RGB(99, 99, 99)));
}

TEST(ImageFile, CommentFieldsRoundTripInJpegAndTiff) {
  const FileFields fields = CommentFields();
  for (const char* path : {"C:\\f\\c.jpg", "C:\\f\\c.tif", "C:\\f\\c8.jpg"}) {
    fs::create_directories(Native("f"));
    const std::string p = path;
    const short format = p.find(".tif") != std::string::npos ? kFormatTiff : kFormatJpeg;
    const int bits = p.find("c8") != std::string::npos ? 8 : 24;
    ASSERT_EQ(imagefile::Save(path, Gradient(20, 10), format, bits, 6, fields), status::kOk);
    FileFields back;
    ASSERT_EQ(imagefile::ReadFields(path, &back), status::kOk);
    for (int id = 0; id < FileFields::kCount; ++id) EXPECT_EQ(back.Get(id), fields.Get(id)) << path << " " << id;
    Dib loaded;
    FileFields withLoad;
    ASSERT_EQ(imagefile::Load(path, &loaded, &withLoad), status::kOk);
    EXPECT_EQ(withLoad.Get(36), fields.Get(36));
  }
}

TEST(ImageFile, LargeFieldsSpanSeveralJpegSegments) {
  FileFields fields;
  std::vector<uint8_t> big(200000);
  for (size_t i = 0; i < big.size(); ++i) big[i] = uint8_t(i * 7);
  fields.Set(100, big);
  fields.Set(178, std::string("last"));
  const auto bytes = Encoded(Flat(8, 8, 24, 1), kFormatJpeg, 24, 10, fields);
  FileInfo info;
  FileFields back;
  ASSERT_EQ(jpeg::ReadInfo(bytes.data(), bytes.size(), &info, &back), status::kOk);
  EXPECT_EQ(back.Get(100), fields.Get(100));
  EXPECT_EQ(back.Get(178), fields.Get(178));
}

TEST(ImageFile, FilesWithoutFieldsReadBackEmpty) {
  fs::create_directories(Native("e"));
  for (const char* path : {"C:\\e\\n.jpg", "C:\\e\\n.tif", "C:\\e\\n.bmp"}) {
    const std::string p = path;
    const short format = p.back() == 'g' ? kFormatJpeg : p.back() == 'f' ? kFormatTiff : kFormatBmp;
    // Even fields set for the save stay out of a BMP, which has no place for them.
    const FileFields fields = format == kFormatBmp ? CommentFields() : FileFields();
    ASSERT_EQ(imagefile::Save(path, Flat(4, 4, 24, 5), format, 24, 2, fields), status::kOk);
    FileFields back;
    ASSERT_EQ(imagefile::ReadFields(path, &back), status::kOk);
    EXPECT_FALSE(back.Any()) << path;
  }
}

TEST(ImageFile, DamagedFieldBlocksAreIgnored) {
  FileFields f;
  const std::vector<uint8_t> good = CommentFields().Serialize();
  for (size_t cut : {size_t(3), size_t(12), good.size() - 1}) {
    EXPECT_FALSE(f.Parse(good.data(), cut)) << cut;
    EXPECT_FALSE(f.Any());
  }
  std::vector<uint8_t> badId = good;
  badId[8] = 200;  // field id beyond 178
  EXPECT_FALSE(f.Parse(badId.data(), badId.size()));
  ASSERT_TRUE(f.Parse(good.data(), good.size()));
  EXPECT_EQ(f.Get(34), FieldValue(std::vector<int32_t>{1, 250}));
}

// ---- load failures: each class of damage has its own status
TEST(ImageFileLoad, FailureClassesHaveDistinctStatuses) {
  const std::vector<uint8_t> jpg = Encoded(Gradient(64, 48), kFormatJpeg, 24, 10);
  const std::vector<uint8_t> bmpFile = Encoded(Noise(16, 16), kFormatBmp);
  const std::vector<uint8_t> tif = Encoded(Noise(16, 16), kFormatTiff);
  auto patched = [](std::vector<uint8_t> b, size_t at, std::initializer_list<uint8_t> bytes) {
    for (uint8_t v : bytes) b[at++] = v;
    return b;
  };
  auto cut = [](std::vector<uint8_t> b, size_t n) {
    b.resize(n);
    return b;
  };
  // The JPEG frame header (SOF0) holds height and width after its length and precision.
  size_t sof = 0;
  for (size_t i = 0; i + 1 < jpg.size(); ++i)
    if (jpg[i] == 0xFF && jpg[i + 1] == 0xC0) {
      sof = i;
      break;
    }
  ASSERT_GT(sof, 0u);
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    Status expected;
  } cases[] = {
      {"text.jpg", {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'}, status::kUnknownFormat},
      {"empty.bmp", {}, status::kUnknownFormat},
      {"cut.jpg", cut(jpg, jpg.size() / 2), status::kFileError},
      {"header.jpg", cut(jpg, 40), status::kFileError},
      {"huge.jpg", patched(jpg, sof + 5, {0xFF, 0xDC, 0xFF, 0xDC}), status::kUnsupported},
      {"cut.bmp", cut(bmpFile, bmpFile.size() - 10), status::kFileError},
      {"offset.bmp", patched(bmpFile, 10, {0xFF, 0xFF, 0x00, 0x00}), status::kFileError},
      {"huge.bmp", patched(bmpFile, 18, {0x00, 0x00, 0x01, 0x00}), status::kUnsupported},  // 65536 wide
      {"tall.bmp", patched(bmpFile, 22, {0x00, 0x40, 0x00, 0x00}), status::kFileError},    // data not there
      {"rle.bmp", patched(bmpFile, 30, {BI_RLE8}), status::kUnsupported},
      {"cut.tif", cut(tif, 12), status::kFileError},
      {"huge.tif", TiffSized(tif, 30001, 30000), status::kUnsupported},  // beyond the limit
      {"big.tif", TiffSized(tif, 18001, 18000), status::kFileError},    // 972 MB in a tiny file
  };
  fs::create_directories(Native("bad"));
  for (const Case& c : cases) {
    WriteNative(Native(std::string("bad/") + c.name), c.bytes);
    Dib out;
    EXPECT_EQ(imagefile::Load(std::string("C:\\bad\\") + c.name, &out, nullptr), c.expected) << c.name;
    EXPECT_TRUE(out.Empty());
  }
}

// A header claiming more than the control can hold is still described by the query
// (its decoded size included); only loading it is refused.
TEST(ImageFileLoad, OverLargeHeaderIsDescribedButNotLoaded) {
  std::vector<uint8_t> jpg = Encoded(Noise(16, 16), kFormatJpeg);
  ASSERT_TRUE(testenv::SetJpegFrameSize(jpg, 60000, 60000));
  WriteNative(Native("wide/huge.jpg"), jpg);
  FileInfo info;
  ASSERT_EQ(imagefile::ReadInfo("C:\\wide\\huge.jpg", &info), status::kOk);
  EXPECT_EQ(info.width, 60000);
  EXPECT_EQ(info.height, 60000);
  EXPECT_EQ(info.imageBytes, uint64_t(180000) * 60000);
  Dib out;
  EXPECT_EQ(imagefile::Load("C:\\wide\\huge.jpg", &out, nullptr), status::kUnsupported);
}

// A save writes a new file beside the target under a short name of its own, so a
// target whose name is near the longest a folder takes is written too.
TEST(ImageFileSave, NameNearTheLongestAFolderTakes) {
  const std::string name = std::string(250, 'n') + ".jpg";
  fs::create_directories(Native("longname"));
  EXPECT_EQ(imagefile::Save("C:\\longname\\" + name, Noise(8, 8), kFormatJpeg, 24, 2, FileFields()), status::kOk);
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(Native("longname"))) names.push_back(e.path().filename().string());
  EXPECT_EQ(names, std::vector<std::string>{name});
}

TEST(ImageFileLoad, MissingAndUnopenableFiles) {
  Dib out;
  EXPECT_EQ(imagefile::Load("C:\\nothing\\here.jpg", &out, nullptr), status::kFileNotFound);
  EXPECT_EQ(imagefile::Load("C:\\none.jpg", &out, nullptr), status::kFileNotFound);
  fs::create_directories(Native("folder.jpg"));
  EXPECT_EQ(imagefile::Load("C:\\folder.jpg", &out, nullptr), status::kCannotOpen);
  EXPECT_EQ(imagefile::Load("Q:\\unmapped.jpg", &out, nullptr), status::kFileNotFound);  // as Windows: no path
  if (::geteuid() != 0) {  // root reads anything
    WriteNative(Native("locked.bmp"), Encoded(Noise(4, 4), kFormatBmp));
    ::chmod(Native("locked.bmp").c_str(), 0);
    EXPECT_EQ(imagefile::Load("C:\\locked.bmp", &out, nullptr), status::kCannotOpen);
  }
}

TEST(ImageFileLoad, HostileBmpPaletteCountIsRefusedBeforeUse) {
  std::vector<uint8_t> b = Encoded(Flat(4, 4, 8, 1), kFormatBmp);
  b[46] = 0x00;
  b[47] = 0x10;  // 4096 colours for an 8-bit picture
  FileInfo info;
  EXPECT_EQ(bmp::ReadInfo(b.data(), b.size(), &info), status::kFileError);
}

TEST(ImageFileLoad, ReadsOtherBmpDepthsAndTopDownFiles) {
  // 2 x 2, 1 bit per pixel, palette black and red, rows top-down.
  std::vector<uint8_t> b(14 + 40 + 8 + 8, 0);
  b[0] = 'B';
  b[1] = 'M';
  b[10] = 14 + 40 + 8;
  b[14] = 40;
  b[18] = 2;
  const int32_t h = -2;
  std::memcpy(&b[22], &h, 4);
  b[26] = 1;
  b[28] = 1;
  b[54 + 4 + 2] = 255;    // colour 1: red
  b[62] = 0x40;           // top row: 0 1
  b[66] = 0x80;           // bottom row: 1 0
  Dib out;
  ASSERT_EQ(bmp::Decode(b.data(), b.size(), &out), status::kOk);
  EXPECT_EQ(out.Bits(), 24);
  EXPECT_EQ(out.GetPixel(0, 0), LONG(RGB(0, 0, 0)));
  EXPECT_EQ(out.GetPixel(1, 0), LONG(RGB(255, 0, 0)));
  EXPECT_EQ(out.GetPixel(0, 1), LONG(RGB(255, 0, 0)));
  EXPECT_EQ(out.GetPixel(1, 1), LONG(RGB(0, 0, 0)));
}

TEST(ImageFileLoad, ReadsPaletteTiffsThroughTheGeneralPath) {
  // 2 x 2, 8-bit palette, uncompressed: black, red / green, blue.
  std::vector<uint8_t> t(1674, 0);
  auto put16 = [&](size_t at, uint16_t v) {
    t[at] = uint8_t(v);
    t[at + 1] = uint8_t(v >> 8);
  };
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) t[at + i] = uint8_t(v >> (8 * i));
  };
  t[0] = t[1] = 'I';
  t[2] = 42;
  put32(4, 8);
  const size_t cmap = 134, data = cmap + 1536;
  const uint32_t entries[][4] = {{256, 3, 1, 2},   {257, 3, 1, 2},    {258, 3, 1, 8},     {259, 3, 1, 1},
                                 {262, 3, 1, 3},   {273, 4, 1, data}, {277, 3, 1, 1},     {278, 3, 1, 2},
                                 {279, 4, 1, 4},   {320, 3, 768, cmap}};
  put16(8, 10);
  for (int i = 0; i < 10; ++i) {
    const size_t at = 10 + 12 * i;
    put16(at, uint16_t(entries[i][0]));
    put16(at + 2, uint16_t(entries[i][1]));
    put32(at + 4, entries[i][2]);
    put32(at + 8, entries[i][3]);
  }
  put16(cmap + 2 * 1, 0xFFFF);              // red of colour 1
  put16(cmap + 512 + 2 * 2, 0xFFFF);        // green of colour 2
  put16(cmap + 1024 + 2 * 3, 0xFFFF);       // blue of colour 3
  t[data] = 0, t[data + 1] = 1, t[data + 2] = 2, t[data + 3] = 3;
  Dib out;
  ASSERT_EQ(tiff::Decode(t.data(), t.size(), &out, nullptr), status::kOk);
  EXPECT_EQ(out.Bits(), 24);
  EXPECT_EQ(out.GetPixel(0, 0), LONG(RGB(0, 0, 0)));
  EXPECT_EQ(out.GetPixel(1, 0), LONG(RGB(255, 0, 0)));
  EXPECT_EQ(out.GetPixel(0, 1), LONG(RGB(0, 255, 0)));
  EXPECT_EQ(out.GetPixel(1, 1), LONG(RGB(0, 0, 255)));
  // The same file claiming a strip beyond its end is damaged, not read past.
  put32(10 + 12 * 5 + 8, 100000);
  EXPECT_EQ(tiff::Decode(t.data(), t.size(), &out, nullptr), status::kFileError);
}

// Uncompressed 8-bit RGB in 16 x 16 tiles, 3 x 2 of them, the last column and row cut.
TEST(ImageFileLoad, ReadsTiledTiffs) {
  const std::string path = "Z:" + testenv::DataPath("imaging/tiled.tif");
  FileInfo info;
  ASSERT_EQ(imagefile::ReadInfo(path, &info), status::kOk);
  EXPECT_EQ(info.width, 40);
  EXPECT_EQ(info.height, 24);
  Dib out;
  ASSERT_EQ(imagefile::Load(path, &out, nullptr), status::kOk);
  ASSERT_EQ(out.Bits(), 24);
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 40; ++x)
      ASSERT_EQ(out.GetPixel(x, y), LONG(RGB((x * 5) & 255, (y * 7) & 255, x + y))) << x << "," << y;
}

// Sample counts and depths beyond any picture are refused before libtiff sizes a buffer by them.
TEST(ImageFileLoad, TiffSampleCountsAndDepthsAreBounded) {
  // A grey file as wide as allowed: one row of 60673 samples a pixel would be 4 GB.
  const std::vector<uint8_t> good = TiffSized(Encoded(Noise(9, 5, 8), kFormatTiff), 65535, 1);
  auto with = [&](uint16_t tag, uint16_t value) {
    std::vector<uint8_t> t = good;
    const size_t ifd = t[4] | t[5] << 8 | t[6] << 16 | size_t(t[7]) << 24;
    const size_t n = t[ifd] | t[ifd + 1] << 8;
    for (size_t i = 0; i < n; ++i) {
      const size_t e = ifd + 2 + 12 * i;
      if ((t[e] | t[e + 1] << 8) != tag) continue;
      t[e + 2] = 3, t[e + 3] = 0;  // SHORT
      t[e + 4] = 1, t[e + 5] = t[e + 6] = t[e + 7] = 0;
      t[e + 8] = uint8_t(value), t[e + 9] = uint8_t(value >> 8);
    }
    return t;
  };
  struct Case {
    uint16_t tag, value;
  } cases[] = {{277, 60673}, {277, 9}, {277, 0}, {258, 60673}, {258, 32}, {258, 3}};
  for (const Case& c : cases) {
    const std::vector<uint8_t> t = with(c.tag, c.value);
    Dib out;
    FileInfo info;
    // libtiff itself refuses some of them as damaged; either way nothing is decoded.
    for (Status st : {tiff::Decode(t.data(), t.size(), &out, nullptr), tiff::ReadInfo(t.data(), t.size(), &info, nullptr)})
      EXPECT_TRUE(st == status::kUnsupported || st == status::kFileError) << c.tag << "=" << c.value << ": " << st;
    EXPECT_TRUE(out.Empty());
  }
}

TEST(ImageFileLoad, RandomDamageGivesAKnownStatusAndNeverACrash) {
  FileFields fields;
  fields.Set(36, std::string("comment"));
  const std::vector<uint8_t> files[] = {Encoded(Gradient(24, 16), kFormatJpeg, 24, 10, fields),
                                        Encoded(Gradient(24, 16, 8), kFormatJpeg, 8, 10),
                                        Encoded(Noise(9, 5), kFormatBmp), Encoded(Noise(9, 5, 8), kFormatBmp),
                                        Encoded(Noise(9, 5), kFormatTiff, 0, 0, fields)};
  uint32_t seed = 99;
  auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
  for (const auto& good : files) {
    for (int round = 0; round < 150; ++round) {
      std::vector<uint8_t> b = good;
      const int hits = 1 + int(next() % 4);
      for (int i = 0; i < hits; ++i) b[next() % b.size()] = uint8_t(next() >> 16);
      if (round % 5 == 0) b.resize(next() % b.size());
      Dib out;
      FileFields f;
      Status st = status::kUnknownFormat;
      if (jpeg::LooksLikeJpeg(b.data(), b.size())) st = jpeg::Decode(b.data(), b.size(), &out, &f);
      else if (bmp::LooksLikeBmp(b.data(), b.size())) st = bmp::Decode(b.data(), b.size(), &out);
      else if (tiff::LooksLikeTiff(b.data(), b.size())) st = tiff::Decode(b.data(), b.size(), &out, &f);
      if (st == status::kOk) {
        ASSERT_FALSE(out.Empty());
        // A few hundred bytes of baseline data cannot hold more than this.
        ASSERT_LE(out.ByteSize(), 1u << 20) << out.Width() << " x " << out.Height();
      } else {
        ASSERT_TRUE(st == status::kFileError || st == status::kUnsupported || st == status::kUnknownFormat ||
                    st == status::kNoMemory)
            << st;
      }
    }
  }
}

// Files written by other programs: LZW with a predictor in strips, 16-bit grey in
// deflated tiles, and a progressive JPEG.
TEST(ImageFileLoad, ReadsFilesOfOtherWriters) {
  auto expected = [](int x, int y) { return LONG(RGB(x * 10, y * 15, (x + y) * 5)); };
  Dib out;
  ASSERT_EQ(imagefile::Load("Z:" + testenv::DataPath("imaging/lzw.tif"), &out, nullptr), status::kOk);
  ASSERT_EQ(out.Width(), 24);
  ASSERT_EQ(out.Height(), 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 24; ++x) ASSERT_EQ(out.GetPixel(x, y), expected(x, y)) << x << "," << y;

  ASSERT_EQ(imagefile::Load("Z:" + testenv::DataPath("imaging/grey16.tif"), &out, nullptr), status::kOk);
  ASSERT_EQ(out.Width(), 32);
  EXPECT_EQ(out.Bits(), 8);  // grey stays grey, at 8 bits
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 32; ++x)  // the file holds uint16_t((x * 8 + y) * 257)
      ASSERT_EQ(out.Row(y)[x], (((x * 8 + y) * 257) & 0xFFFF) >> 8) << x << "," << y;

  FileInfo info;
  ASSERT_EQ(imagefile::ReadInfo("Z:" + testenv::DataPath("imaging/progressive.jpg"), &info), status::kOk);
  EXPECT_EQ(info.format, kFormatJpeg);
  ASSERT_EQ(imagefile::Load("Z:" + testenv::DataPath("imaging/progressive.jpg"), &out, nullptr), status::kOk);
  ASSERT_EQ(out.Width(), 24);
  int worst = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 24; ++x) {
      const LONG a = out.GetPixel(x, y), b = expected(x, y);
      for (int shift : {0, 8, 16}) worst = std::max(worst, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
    }
  EXPECT_LE(worst, 12);
}

// ---- save failures
TEST(ImageFileSave, FailureClassesHaveDistinctStatuses) {
  const Dib in = Noise(8, 8);
  EXPECT_EQ(imagefile::Save("C:\\x.jpg", Dib(), kFormatJpeg, 24, 2, FileFields()), status::kNoImage);
  EXPECT_EQ(imagefile::Save("C:\\x.png", in, 7, 24, 2, FileFields()), status::kInvalidArgument);
  EXPECT_EQ(imagefile::Save("C:\\x.jpg", in, kFormatJpeg, 16, 2, FileFields()), status::kInvalidArgument);
  EXPECT_EQ(imagefile::Save("C:\\no\\such\\folder\\x.jpg", in, kFormatJpeg, 24, 2, FileFields()),
            status::kCannotOpen);
  fs::create_directories(Native("dir.jpg"));
  EXPECT_EQ(imagefile::Save("C:\\dir.jpg", in, kFormatJpeg, 24, 2, FileFields()), status::kCannotOpen);
}

// Each format, the disk filling at the first write and part-way (TIFF files are written
// in many pieces): the previous file stays and nothing is left beside it.
TEST(ImageFileSave, FailedWriteKeepsThePreviousFileAndLeavesNoLitter) {
  struct Case {
    const char* path;
    short format;
    int skip;  // writes that succeed before the disk is full
  } cases[] = {{"C:\\keep\\p.bmp", kFormatBmp, 0}, {"C:\\keep\\p.jpg", kFormatJpeg, 0},
               {"C:\\keep\\p.tif", kFormatTiff, 0}, {"C:\\keep\\p.tif", kFormatTiff, 5}};
  fs::remove_all(Native("keep"));
  fs::create_directories(Native("keep"));
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.path) + " after " + std::to_string(c.skip));
    ASSERT_EQ(imagefile::Save(c.path, Noise(10, 10, 24, 1), c.format, 24, 0, FileFields()), status::kOk);
    const std::string native = Native("keep/" + std::string(c.path).substr(8));
    const auto before = ReadNative(native);
    {
      plat::faults::Scope diskFull("WriteFile", ERROR_DISK_FULL, c.skip);
      EXPECT_EQ(imagefile::Save(c.path, Noise(200, 200, 24, 2), c.format, 24, 0, FileFields()), status::kFileError);
    }
    EXPECT_EQ(ReadNative(native), before);
    // And a good save replaces it.
    ASSERT_EQ(imagefile::Save(c.path, Noise(20, 20, 24, 2), c.format, 24, 0, FileFields()), status::kOk);
    Dib out;
    ASSERT_EQ(imagefile::Load(c.path, &out, nullptr), status::kOk);
    EXPECT_EQ(out.Width(), 20);
  }
  int entries = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(Native("keep"))) ++entries;
  EXPECT_EQ(entries, 3);
}
