// The file input on pictures saved by the imaging control (with their comment fields
// and thumbnails) and by the codec libraries themselves (without fields): names, the
// title taken from the thumbnail or the picture, each load status and damaged files.
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <tiffio.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "../StageRig.h"
#include "JpegFrame.h"
#include "TestEnv.h"

namespace {

using stagerig::StageRig;
using namespace std::string_literals;

// The comment fields the file output gives every picture, with `title` in field 36.
void SetCommentFields(CLead& lead, const std::string& title) {
  auto text = [](const char* s) { return COleVariant(s); };
  using stagerig::ByteArray;
  lead.SetFileField(22, text("2024:05:01 10:00:00"));
  lead.SetFileField(23, text("2024:05:01 10:00:00"));
  lead.SetFileField(34, COleVariant(LONG(1)));
  lead.SetFileField(36, ByteArray("ASCII\0\0\0"s + title));
  lead.SetFileField(37, ByteArray("ASCII\0\0\0Lumora"s));
}

std::string Native(const std::string& windowsPath) {
  std::string rest = windowsPath.substr(2);
  for (char& c : rest) c = c == '\\' ? '/' : c;
  return testenv::DriveC() + rest;
}

// A grey JPEG of w x h written by libjpeg alone: no comment fields.
void WriteBareJpeg(const std::string& native, int w, int h) {
  FILE* out = std::fopen(native.c_str(), "wb");
  ASSERT_NE(out, nullptr);
  jpeg_compress_struct c{};
  jpeg_error_mgr err{};
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  jpeg_stdio_dest(&c, out);
  c.image_width = JDIMENSION(w);
  c.image_height = JDIMENSION(h);
  c.input_components = 3;
  c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_start_compress(&c, TRUE);
  std::vector<JSAMPLE> row(size_t(w) * 3, 128);
  while (c.next_scanline < c.image_height) {
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&c, rows, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  std::fclose(out);
}

// An RGB TIFF of w x h written by libtiff alone: no comment fields.
void WriteBareTiff(const std::string& native, int w, int h) {
  TIFF* t = TIFFOpen(native.c_str(), "w");
  ASSERT_NE(t, nullptr);
  TIFFSetField(t, TIFFTAG_IMAGEWIDTH, w);
  TIFFSetField(t, TIFFTAG_IMAGELENGTH, h);
  TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 3);
  TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
  TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, h);
  std::vector<uint8_t> row(size_t(w) * 3, 200);
  for (int y = 0; y < h; ++y) TIFFWriteScanline(t, row.data(), uint32_t(y), 0);
  TIFFClose(t);
}

class FileInput : public StageRig {
 protected:
  void SetUp() override {
    StageRig::SetUp();
    ASSERT_TRUE(writer.CreateControl("", 0, CRect(0, 0, 8, 8), &frame, 0));
    CreateDirectoryA("C:\\pic", nullptr);
    CreateDirectoryA("C:\\pic\\s", nullptr);
  }
  void TearDown() override {
    writer.DestroyWindow();
    StageRig::TearDown();
  }
  // Saves a w x h picture (format 98 JPEG, 3 TIFF, 6 BMP) with the comment fields.
  void Save(const std::string& path, int w, int h, short format, const std::string& title) {
    ASSERT_EQ(writer.CreateImage(float(w), float(h), 24), 0);
    SetCommentFields(writer, title);
    ASSERT_EQ(writer.SaveFile(path.c_str(), format, 24, 6, 0), 0) << path;
  }
  int Open(const std::string& path, SHORT slot = 2) {
    doc->SetLoadPath(path.c_str());
    doc->ClearLastError();
    return file->Input(slot);
  }
  CLead writer;
};

TEST_F(FileInput, TitleComesFromTheThumbnailUnderTheFilesType) {
  const struct {
    const char* picture;
    short format;
    const char* thumbnail;
  } cases[] = {
      {"C:\\pic\\a.JPEG", 98, "C:\\pic\\s\\aj.jpg"},
      {"C:\\pic\\photo.TIFF", 3, "C:\\pic\\s\\photot.jpg"},
      {"C:\\pic\\b.bmp", 6, "C:\\pic\\s\\bb.jpg"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.picture);
    Save(c.picture, 64, 48, c.format, "picture's own");
    Save(c.thumbnail, 32, 24, 98, "from the thumbnail");
    doc->SetThumbnailChoice(0);
    doc->SetImageTitle("before");
    ASSERT_EQ(Open(c.picture), 1);
    EXPECT_STREQ(file->GetThumbnailName(), c.thumbnail);
    EXPECT_STREQ(doc->GetImageTitle(), "from the thumbnail");
    EXPECT_EQ(Slot(2).width, 64) << "the slot holds the picture, not its thumbnail";
    EXPECT_STREQ(doc->GetImageSizeText(), " 64x 48");
    // Any other choice takes the title from the picture itself.
    doc->SetThumbnailChoice(1);
    ASSERT_EQ(Open(c.picture), 1);
    // A BMP carries no fields: the title stays the thumbnail's.
    EXPECT_STREQ(doc->GetImageTitle(), c.format == 6 ? "from the thumbnail" : "picture's own");
  }
}

TEST_F(FileInput, PicturesWithoutFieldsOpenAndKeepTheTitle) {
  WriteBareJpeg(Native("C:\\pic\\bare.jpg"), 40, 30);
  WriteBareTiff(Native("C:\\pic\\bare.tif"), 20, 10);
  for (const char* path : {"C:\\pic\\bare.jpg", "C:\\pic\\bare.tif"}) {
    for (LONG choice : {0, 1}) {
      SCOPED_TRACE(std::string(path) + " choice " + std::to_string(choice));
      doc->SetThumbnailChoice(choice);
      doc->SetImageTitle("kept");
      ASSERT_EQ(Open(path), 1);
      EXPECT_STREQ(doc->GetImageTitle(), "kept");
      EXPECT_EQ(Latched().first, 0);
      EXPECT_EQ(file->UpdateImageInfo(), 0);
    }
  }
  EXPECT_EQ(Slot(2).width, 20);
  EXPECT_EQ(Slot(2).bgr[0], 200);
}

TEST_F(FileInput, TitleFieldForms) {
  doc->SetThumbnailChoice(1);
  const struct {
    const char* what;
    std::string title;
    const char* expected;
  } cases[] = {
      {"plain", "Mitosis", "Mitosis"},
      {"ends in NUL", "Mitosis\0"s, "Mitosis"},
      {"NUL inside", "Mito\0sis"s, "Mito"},
      {"empty", "", ""},
  };
  for (const auto& c : cases) {
    Save("C:\\pic\\t.jpg", 16, 16, 98, c.title);
    doc->SetImageTitle("before");
    ASSERT_EQ(Open("C:\\pic\\t.jpg"), 1) << c.what;
    EXPECT_STREQ(doc->GetImageTitle(), c.expected) << c.what;
  }
}

TEST_F(FileInput, NameLengths) {
  doc->SetThumbnailChoice(1);
  const std::string folder = "C:\\pic\\";
  const std::string at254 = folder + std::string(254 - folder.size() - 4, 'n') + ".jpg";
  const std::string at255 = folder + std::string(255 - folder.size() - 4, 'n') + ".jpg";
  ASSERT_EQ(at254.size(), 254u);
  Save(at254, 8, 8, 98, "long");
  Save(at255, 8, 8, 98, "longer");
  EXPECT_EQ(Open(at254), 1);
  EXPECT_EQ(Open(at255), 0);
  EXPECT_EQ(Latched(), Pair(120, 2));
}

TEST_F(FileInput, LoadStatusesAndQueryFailures) {
  doc->SetThumbnailChoice(1);
  Save("C:\\pic\\s.jpg", 8, 8, 98, "s");
  const struct {
    const char* point;
    uint32_t status;
    LONG detail;
  } cases[] = {
      {"imaging.LoadFile", 2, 1},        {"imaging.LoadFile", 20008, 2},    {"imaging.LoadFile", 20014, 3},
      {"imaging.LoadFile", 20009, 4},    {"imaging.LoadFile", 20015, 4},    {"imaging.LoadFile", 20001, 5},
      {"imaging.ReadFileInfo", 20014, 3},
  };
  ASSERT_EQ(buffers->CreateBuffer(2, 4, 4, 0), 2);
  const LONG before = buffers->GetBuffer(2);
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.point) + " " + std::to_string(c.status));
    plat::faults::Scope fault(c.point, c.status, 0, 1);
    EXPECT_EQ(Open("C:\\pic\\s.jpg"), 0);
    EXPECT_EQ(Latched(), Pair(120, c.detail));
    EXPECT_EQ(buffers->GetBuffer(2), before) << "a failed load writes no slot";
  }
}

TEST_F(FileInput, MissingAndDamagedFiles) {
  doc->SetThumbnailChoice(0);
  ASSERT_EQ(buffers->CreateBuffer(2, 4, 4, 0), 2);
  const LONG before = buffers->GetBuffer(2);
  // A file that is not there: no record, nothing loaded.
  EXPECT_EQ(Open("C:\\pic\\gone.jpg"), 0);
  EXPECT_EQ(Latched().first, 0);

  std::filesystem::copy_file(testenv::DataPath("board/notajpeg.jpg"), Native("C:\\pic\\notajpeg.jpg"));
  EXPECT_EQ(Open("C:\\pic\\notajpeg.jpg"), 0);
  EXPECT_EQ(Latched(), Pair(120, 3));

  // A JPEG cut off in its image data: the query reads its header, the load finds the damage.
  const std::string native = Native("C:\\pic\\cut.jpg");
  std::filesystem::copy_file(testenv::DataPath("board/halves.jpg"), native);
  std::filesystem::resize_file(native, 640);  // its scan starts at byte 609
  EXPECT_EQ(Open("C:\\pic\\cut.jpg"), 0);
  EXPECT_EQ(Latched(), Pair(120, 4));
  EXPECT_EQ(buffers->GetBuffer(2), before);
}

// A header claiming 60000 x 60000 pixels is refused before anything is decoded: the
// picture could never be held, even where memory is granted lazily.
TEST_F(FileInput, ClaimedSizeBeyondTheLargestPicture) {
  WriteBareJpeg(Native("C:\\pic\\huge.jpg"), 16, 16);
  ASSERT_TRUE(testenv::SetJpegFrameSize(Native("C:\\pic\\huge.jpg"), 60000, 60000));
  doc->SetThumbnailChoice(1);
  EXPECT_EQ(Open("C:\\pic\\huge.jpg"), 0);
  EXPECT_EQ(Latched(), Pair(120, 5));
}

// The file-open flow: the file input fills the shoot slot, the still pane shows it.
TEST_F(FileInput, FileOpenFlowShowsThePicture) {
  Save("C:\\pic\\open.jpg", 30, 20, 98, "opened");
  doc->SetThumbnailChoice(1);
  doc->SetLoadPath("C:\\pic\\open.jpg");
  EXPECT_EQ(flow->RunOpenFlow(), 1);
  EXPECT_EQ(doc->GetImageState(), 3);
  EXPECT_EQ(Read(buffers->GetSecondBitmap()).width, 30);
  EXPECT_STREQ(doc->GetImageTitle(), "opened");
}

}  // namespace
