// Comment fields in the tags every tool reads: the Exif block, and the files that carry it.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Pictures.h"
#include "TestEnv.h"
#include "imaging/ExifFields.h"
#include "imaging/FileAccess.h"
#include "imaging/ImageFile.h"
#include "imaging/ImagingCore.h"
#include "imaging/JpegCodec.h"
#include "imaging/TiffCodec.h"

using namespace plat::imaging;
using namespace imagingtest;
namespace fs = std::filesystem;

namespace {

// The form the file output gives a comment: the ASCII character code, the text, a NUL.
std::vector<uint8_t> Coded(const std::string& text) {
  std::vector<uint8_t> b(8 + text.size() + 1, 0);
  std::memcpy(b.data(), "ASCII", 5);
  std::memcpy(b.data() + 8, text.data(), text.size());
  return b;
}

// The fields the file output writes for a shot, with the program's values.
FileFields ShotFields(std::vector<int32_t> exposure = {1, 250}) {
  FileFields f;
  f.Set(22, std::string("2026:12:09 10:11:12"));
  f.Set(23, std::string("2026:12:09 10:11:13"));
  f.Set(34, std::move(exposure));
  f.Set(36, Coded("[Caption][Fine  1280x1024][263,0,0]"));
  f.Set(37, Coded("顕微鏡 second"));
  f.Set(100, std::string("private"));  // no standard home
  return f;
}

// What the program itself saves: every field it sets has a standard home, so the file
// needs no private block (which validators list as a non-standard tag).
FileFields ProgramFields() {
  FileFields f = ShotFields();
  f.Set(100, std::monostate{});
  return f;
}

constexpr int kStandardIds[] = {22, 23, 34, 36, 37};

void ExpectSameFields(const FileFields& got, const FileFields& want, const std::string& where) {
  for (int id = 0; id < FileFields::kCount; ++id) EXPECT_EQ(got.Get(id), want.Get(id)) << where << " field " << id;
}

std::string Native(const std::string& rel) { return testenv::DriveC() + "/" + rel; }

// exiftool's values for the tags, one line each ("-" for a missing tag).
std::vector<std::string> ExifTool(const std::string& native, const std::string& args) {
  std::vector<std::string> lines;
  FILE* p = popen(("exiftool -s3 -f " + args + " '" + native + "' 2>&1").c_str(), "r");
  if (!p) return lines;
  char buf[4096];
  while (std::fgets(buf, sizeof buf, p)) {
    std::string l = buf;
    while (!l.empty() && (l.back() == '\n' || l.back() == '\r')) l.pop_back();
    lines.push_back(l);
  }
  pclose(p);
  return lines;
}

bool HaveExifTool() { return std::system("exiftool -ver >/dev/null 2>&1") == 0; }

}  // namespace

// ---- the Exif block

TEST(ExifBlock, StandardFieldsRoundTripExactly) {
  struct Case {
    const char* what;
    std::vector<int32_t> exposure;
  } cases[] = {{"short exposure", {1, 12000}}, {"a third", {1, 3}}, {"long exposure", {170, 1}}, {"odd", {7, 12000}}};
  for (const Case& c : cases) {
    FileFields all = ShotFields(c.exposure), rest = all;
    const exif::StandardFields s = exif::Take(&rest);
    for (int id : kStandardIds) EXPECT_EQ(rest.Get(id), FieldValue{}) << c.what << " " << id;
    EXPECT_EQ(rest.Get(100), all.Get(100));
    const std::vector<uint8_t> block = exif::Encode(s);
    ASSERT_LE(block.size(), exif::kMaxBlock);
    exif::Give(exif::Decode(block.data(), block.size()), &rest);
    ExpectSameFields(rest, all, c.what);
  }
}

TEST(ExifBlock, ValuesWithoutAnExactStandardFormStayPrivate) {
  struct Case {
    int id;
    FieldValue value;
  } cases[] = {
      {22, std::string("with\0nul", 8)},
      {22, std::vector<uint8_t>{'2', '0'}},
      {34, std::vector<int32_t>{1, 2, 3}},
      {34, std::vector<int32_t>{-1, 60}},
      {36, std::string("text, not bytes")},
      {36, std::vector<uint8_t>{}},
      {37, std::vector<uint8_t>{'t', 'e', 'x', 't', 0}},        // no character code
      {37, Coded(std::string("two\0parts", 9))},                // a NUL inside
      {37, std::vector<uint8_t>{'A', 'S', 'C', 'I', 'I', 0, 0, 0, 'x'}},  // no closing NUL
  };
  for (const Case& c : cases) {
    FileFields f;
    f.Set(c.id, c.value);
    const exif::StandardFields s = exif::Take(&f);
    EXPECT_FALSE(s.Any()) << c.id;
    EXPECT_EQ(f.Get(c.id), c.value) << c.id;
  }
}

TEST(ExifBlock, TextsTooLongForOneSegmentStayPrivate) {
  FileFields f = ShotFields();
  f.Set(36, Coded(std::string(70000, 'x')));
  const exif::StandardFields s = exif::Take(&f);
  EXPECT_FALSE(s.userComment);
  EXPECT_TRUE(s.original && s.exposure && s.description);
  EXPECT_EQ(std::get<std::vector<uint8_t>>(f.Get(36)).size(), 70009u);
  EXPECT_LE(exif::Encode(s).size(), exif::kMaxBlock);
}

TEST(ExifBlock, EveryCutAndDamageReadsWithoutHarm) {
  FileFields f = ShotFields();
  const std::vector<uint8_t> block = exif::Encode(exif::Take(&f));
  for (size_t n = 0; n <= block.size(); ++n) {
    std::vector<uint8_t> cut(block.begin(), block.begin() + n);  // exactly n bytes, so the sanitizer sees overreads
    exif::Decode(cut.data(), cut.size());
  }
  for (size_t at = 0; at < block.size(); ++at) {
    std::vector<uint8_t> bad = block;
    bad[at] ^= 0xFF;
    exif::Decode(bad.data(), bad.size());
  }
  const exif::StandardFields whole = exif::Decode(block.data(), block.size());
  EXPECT_EQ(whole.original, std::optional<std::string>("2026:12:09 10:11:12"));
}

// Found by the fuzz driver: a directory of no entries (read into an empty buffer).
TEST(ExifBlock, EmptyDirectoriesReadAsNoFields) {
  const std::vector<uint8_t> emptyIfd0 = {'I', 'I', 42, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_FALSE(exif::Decode(emptyIfd0.data(), emptyIfd0.size()).Any());
  // IFD 0 pointing at an Exif IFD of no entries.
  const std::vector<uint8_t> emptyExif = {'M', 'M', 0, 42, 0, 0, 0, 8, 0, 1, 0x87, 0x69, 0, 4, 0, 0, 0, 1,
                                          0, 0, 0, 26, 0, 0, 0, 0, 0, 0};
  EXPECT_FALSE(exif::Decode(emptyExif.data(), emptyExif.size()).Any());
}

// ---- files

TEST(StandardFields, SavedFilesCarryThemInStandardTagsAndReadThemBack) {
  fs::create_directories(Native("s"));
  const FileFields fields = ShotFields();
  for (const char* path : {"C:\\s\\a.jpg", "C:\\s\\a.tif"}) {
    const std::string p = path;
    const short format = p.back() == 'g' ? kFormatJpeg : kFormatTiff;
    ASSERT_EQ(imagefile::Save(path, Gradient(20, 10), format, 24, 6, fields), status::kOk) << path;
    FileFields back;
    ASSERT_EQ(imagefile::ReadFields(path, &back), status::kOk);
    ExpectSameFields(back, fields, path);
    // The private block holds only what has no standard home.
    files::FileBytes bytes;
    ASSERT_EQ(files::ReadAll(path, &bytes), status::kOk);
    const std::string text(reinterpret_cast<const char*>(bytes.data.get()), bytes.size);
    EXPECT_EQ(text.find("2026:12:09 10:11:12"), text.rfind("2026:12:09 10:11:12")) << path;
  }
}

TEST(StandardFields, FilesSavedBeforeAnswerFromTheirPrivateBlock) {
  FileFields want;
  want.Set(22, std::string("2026:12:09 10:11:12"));
  want.Set(23, std::string("2026:12:09 10:11:13"));
  want.Set(34, std::vector<int32_t>{1, 250});
  want.Set(36, Coded("顕微鏡 sample 7"));
  want.Set(37, Coded("s"));
  want.Set(100, std::string("private"));
  for (const char* name : {"imaging/old_fields.jpg", "imaging/old_fields.tif"}) {
    FileFields back;
    ASSERT_EQ(imagefile::ReadFields("Z:" + testenv::DataPath(name), &back), status::kOk) << name;
    ExpectSameFields(back, want, name);
  }
}

TEST(StandardFields, CameraJpegLoadsAndAnswersItsStandardFields) {
  const std::string path = "Z:" + testenv::DataPath("imaging/camera_exif.jpg");
  Dib d;
  FileFields loaded;
  ASSERT_EQ(imagefile::Load(path, &d, &loaded), status::kOk);
  EXPECT_EQ(d.Width(), 24);
  ImagingCore core;
  FieldValue v;
  ASSERT_EQ(core.ReadFileField(path, 0, 22, &v), status::kOk);
  EXPECT_EQ(v, FieldValue(std::string("2024:01:02 03:04:05")));
  ASSERT_EQ(core.ReadFileField(path, 0, 23, &v), status::kOk);
  EXPECT_EQ(v, FieldValue(std::string("2024:01:02 03:04:06")));
  ASSERT_EQ(core.ReadFileField(path, 0, 34, &v), status::kOk);
  EXPECT_EQ(v, FieldValue(std::vector<int32_t>{1, 60}));
  ASSERT_EQ(core.ReadFileField(path, 0, 36, &v), status::kOk);  // the camera's comment has no closing NUL
  std::vector<uint8_t> comment = Coded("from a camera");
  comment.pop_back();
  EXPECT_EQ(v, FieldValue(comment));
  ASSERT_EQ(core.ReadFileField(path, 0, 37, &v), status::kOk);
  EXPECT_EQ(v, FieldValue(Coded("KESTREL DIGITAL CAMERA")));
  EXPECT_EQ(loaded.Get(22), FieldValue(std::string("2024:01:02 03:04:05")));
}

// What outside tools see: exiftool on saved JPEG and TIFF files, and again after a
// load and a save of the loaded picture with the fields read back.
TEST(StandardFields, ExifToolShowsTheProgramsValues) {
  if (!HaveExifTool()) GTEST_SKIP() << "exiftool is not installed (scripts/install-deps installs it)";
  fs::create_directories(Native("x"));
  const std::string tags = "-DateTimeOriginal -CreateDate -ExposureTime -UserComment -ImageDescription";
  const std::vector<std::string> expected = {"2026:12:09 10:11:12", "2026:12:09 10:11:13", "1/250",
                                             "[Caption][Fine  1280x1024][263,0,0]", "顕微鏡 second"};
  for (const char* ext : {"jpg", "tif"}) {
    SCOPED_TRACE(ext);
    const short format = ext[0] == 'j' ? kFormatJpeg : kFormatTiff;
    const std::string first = std::string("C:\\x\\first.") + ext, again = std::string("C:\\x\\again.") + ext;
    ImagingCore saver;
    ImageHolder holder;
    holder.Adopt(Gradient(32, 16));
    saver.SetBitmap(LONG(holder.Handle()));
    const FileFields fields = ShotFields();
    for (int id : kStandardIds) saver.SetFileField(short(id), fields.Get(id));
    ASSERT_EQ(saver.SaveFile(first, format, 24, 6, 0), status::kOk);
    EXPECT_EQ(ExifTool(Native(std::string("x/first.") + ext), tags), expected);

    // A fresh control loads the file, takes its fields as the program does, and saves again.
    ImagingCore loader;
    ASSERT_EQ(loader.LoadFile(first, 0, 0, -1), status::kOk);
    for (int id : kStandardIds) {
      FieldValue v;
      ASSERT_EQ(loader.ReadFileField(first, 0, short(id), &v), status::kOk);
      loader.SetFileField(short(id), v);
    }
    ASSERT_EQ(loader.SaveFile(again, format, 24, 6, 0), status::kOk);
    EXPECT_EQ(ExifTool(Native(std::string("x/again.") + ext), tags), expected);
  }
}

TEST(StandardFields, SavedTiffsPassExifToolValidation) {
  if (!HaveExifTool()) GTEST_SKIP() << "exiftool is not installed (scripts/install-deps installs it)";
  fs::create_directories(Native("v"));
  const struct {
    const char* path;
    int bits;
    FileFields fields;
  } cases[] = {{"C:\\v\\plain.tif", 24, FileFields()},
               {"C:\\v\\grey.tif", 8, FileFields()},
               {"C:\\v\\fields.tif", 24, ProgramFields()}};
  for (const auto& c : cases) {
    ASSERT_EQ(imagefile::Save(c.path, Gradient(33, 7), kFormatTiff, c.bits, 0, c.fields), status::kOk);
    std::string native = Native(std::string("v/") + (std::string(c.path).substr(5)));
    EXPECT_EQ(ExifTool(native, "-validate -warning -a"), (std::vector<std::string>{"OK", "-"})) << c.path;
    EXPECT_EQ(ExifTool(native, "-XResolution -YResolution -ResolutionUnit"),
              (std::vector<std::string>{"72", "72", "inches"}))
        << c.path;
  }
}
