// Rebuilding the thumbnails of the save folder: sizes, titles and fields taken from each
// picture, current thumbnails left alone, copied pictures remade, each picture once; and
// a title that survives save, open and save again.
#include <filesystem>

#include "Faults.h"
#include "FileOutputRig.h"

namespace {

using fileoutputrig::Bytes;
using fileoutputrig::Native;
namespace fs = std::filesystem;

class ThumbnailRebuild : public fileoutputrig::FileOutputRig {
 protected:
  void SetUp() override {
    FileOutputRig::SetUp();
    if (HasFatalFailure()) return;
    plat::clock::PinWall(kStart);
  }
  void TearDown() override {
    plat::clock::PinWall(std::nullopt);
    FileOutputRig::TearDown();
  }
  // Saves a picture as a shot is saved: its own title, dates and exposure.
  void SaveShot(const CString& path, int w, int h, LONG format, const char* title, const char* date, LONG exposure) {
    doc->UpdateImageStatus(0, 0);  // no comments built: the ones set here go in
    doc->SetImageTitle(title);
    doc->SetOriginalDateTime(date);
    doc->SetDigitizedDateTime(date);
    doc->SetExposureTimeNumerator(1);
    doc->SetExposureTimeDenominator(exposure);
    output->WriteComments();
    PutPicture(0, w, h, [](int x, int y, BYTE* p) { p[0] = BYTE(x), p[1] = BYTE(y), p[2] = 40; });
    Show(0, path, format);
    ASSERT_EQ(output->Output(0), 1);
  }
  // The document as another shot left it: none of its values may reach a thumbnail.
  void OtherShotInDocument() {
    doc->SetImageTitle("shown picture");
    doc->SetOriginalDateTime("1999:12:31 23:59:59");
    doc->SetDigitizedDateTime("1999:12:31 23:59:59");
    doc->SetExposureTimeNumerator(7);
    doc->SetExposureTimeDenominator(9);
  }
  // How many pictures the rebuild loaded.
  int RebuildCountingLoads() {
    plat::faults::Arm("imaging.LoadFile", 1, 1 << 30, 1);
    output->RebuildThumbnails();
    const int loads = plat::faults::Hits("imaging.LoadFile");
    plat::faults::Disarm("imaging.LoadFile");
    return loads;
  }
  static constexpr int64_t kStart = int64_t(1700000000) * 1000000;
};

TEST_F(ThumbnailRebuild, RemakesEveryThumbnailFromItsOwnPicture) {
  SaveShot("C:\\rb\\wide.jpg", 1280, 1024, 98, "[wide.jpg][Fine 1280x1024][one][x]", "2024:05:01 10:00:00", 60);
  SaveShot("C:\\rb\\tall.tif", 90, 1000, 3, "[tall.tif][Fine 90x1000][two][y]", "2024:05:02 11:00:00", 125);
  SaveShot("C:\\rb\\plain.bmp", 300, 200, 6, "unused", "2024:05:03 12:00:00", 250);
  SaveShot("C:\\rb\\square.jpg", 640, 640, 98, "[square.jpg][Fine 640x640][three][z]", "2024:05:04 13:00:00", 30);
  fs::remove_all(Native("C:\\rb\\s"));
  OtherShotInDocument();
  doc->SetSaveWorkName("C:\\rb\\");

  output->RebuildThumbnails();

  struct Case {
    const char* thumbnail;
    int w, h;
    const char* title;
    const char* date;  // "(empty)": the picture has none, the document's is not taken either
    std::pair<LONG, LONG> exposure;
  } cases[] = {
      {"C:\\rb\\s\\widej.jpg", 106, 85, "[wide.jpg][Fine 1280x1024][one][x]", "2024:05:01 10:00:00", {1, 60}},
      {"C:\\rb\\s\\tallt.jpg", 7, 83, "[tall.tif][Fine 90x1000][two][y]", "2024:05:02 11:00:00", {1, 125}},
      {"C:\\rb\\s\\squarej.jpg", 80, 80, "[square.jpg][Fine 640x640][three][z]", "2024:05:04 13:00:00", {1, 30}},
      // A BMP carries no fields: its title is made from its size.
      {"C:\\rb\\s\\plainb.jpg", 100, 66, "[][300x200]", "1999:12:31 23:59:59", {7, 9}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.thumbnail);
    const auto t = fileoutputrig::DecodeJpeg(c.thumbnail);
    ASSERT_TRUE(t.ok);
    EXPECT_EQ(t.width, c.w);
    EXPECT_EQ(t.height, c.h);
    EXPECT_EQ(TitleField(c.thumbnail), c.title);
    EXPECT_EQ(TextField(c.thumbnail, vexcomment::kOriginalDateField), c.date);
    EXPECT_EQ(TextField(c.thumbnail, vexcomment::kDigitizedDateField), c.date);
    EXPECT_EQ(ExposureField(c.thumbnail), c.exposure);
  }
  // The document keeps the title of the picture it shows.
  EXPECT_EQ(std::string(doc->GetImageTitle()), "shown picture");
}

TEST_F(ThumbnailRebuild, CurrentThumbnailsStayAndCopiedPicturesAreRemade) {
  SaveShot("C:\\cur\\a.jpg", 320, 240, 98, "[a.jpg][A]", "2024:05:01 10:00:00", 60);
  SaveShot("C:\\cur\\b.jpg", 320, 240, 98, "[b.jpg][B]", "2024:05:01 10:00:00", 60);
  doc->SetSaveWorkName("C:\\cur");
  const std::string thumbA = Bytes("C:\\cur\\s\\aj.jpg");
  const std::string thumbB = Bytes("C:\\cur\\s\\bj.jpg");

  // Nothing is loaded while every thumbnail is current.
  EXPECT_EQ(RebuildCountingLoads(), 0);
  EXPECT_TRUE(Bytes("C:\\cur\\s\\aj.jpg") == thumbA);

  // A picture copied over b later is a new file: its thumbnail is remade from it.
  plat::clock::PinWall(kStart + int64_t(60) * 1000000);
  SaveShot("C:\\other\\wide.jpg", 400, 100, 98, "[wide.jpg][W]", "2024:06:01 09:00:00", 30);
  ASSERT_TRUE(CopyFileA("C:\\other\\wide.jpg", "C:\\cur\\b.jpg", FALSE));
  OtherShotInDocument();
  doc->SetSaveWorkName("C:\\cur");
  EXPECT_EQ(RebuildCountingLoads(), 1);
  EXPECT_TRUE(Bytes("C:\\cur\\s\\aj.jpg") == thumbA);
  EXPECT_FALSE(Bytes("C:\\cur\\s\\bj.jpg") == thumbB);
  const auto b = fileoutputrig::DecodeJpeg("C:\\cur\\s\\bj.jpg");
  EXPECT_EQ(b.width, 100);
  EXPECT_EQ(b.height, 25);
  EXPECT_EQ(TitleField("C:\\cur\\s\\bj.jpg"), "[wide.jpg][W]");
  CFileStatus picture, thumbnail;
  ASSERT_TRUE(CFile::GetStatus("C:\\cur\\b.jpg", picture));
  ASSERT_TRUE(CFile::GetStatus("C:\\cur\\s\\bj.jpg", thumbnail));
  EXPECT_EQ(thumbnail.m_ctime, picture.m_ctime);
  EXPECT_EQ(std::string(doc->GetImageTitle()), "shown picture");
}

// ".tif" does not take "x.tiff" as well, nor ".jpg" "x.jpeg": each picture is loaded once.
// Pictures that cannot be loaded, and too small to shrink, are passed over.
TEST_F(ThumbnailRebuild, EachPictureOnceAndBrokenOnesPassedOver) {
  SaveShot("C:\\ext\\one.tif", 200, 100, 3, "[1]", "2024:05:01 10:00:00", 60);
  SaveShot("C:\\ext\\two.tiff", 200, 100, 3, "[2]", "2024:05:01 10:00:00", 60);
  SaveShot("C:\\ext\\three.JPG", 200, 100, 98, "[3]", "2024:05:01 10:00:00", 60);
  SaveShot("C:\\ext\\four.jpeg", 200, 100, 98, "[4]", "2024:05:01 10:00:00", 60);
  SaveShot("C:\\ext\\tiny.bmp", 40, 30, 6, "[5]", "2024:05:01 10:00:00", 60);
  { std::ofstream(Native("C:\\ext\\broken.jpg")) << "not a picture"; }
  { std::ofstream(Native("C:\\ext\\notes.txt")) << "not listed"; }
  fs::remove_all(Native("C:\\ext\\s"));
  doc->SetSaveWorkName("C:\\ext\\");

  EXPECT_EQ(RebuildCountingLoads(), 6);
  for (const char* made : {"onet.jpg", "twot.jpg", "threej.jpg", "fourj.jpg"})
    EXPECT_TRUE(fs::exists(Native("C:\\ext\\s\\") + made)) << made;
  EXPECT_FALSE(fs::exists(Native("C:\\ext\\s\\brokenj.jpg")));
  EXPECT_FALSE(fs::exists(Native("C:\\ext\\s\\tinyb.jpg")));  // 40 / 100 is no factor
}

TEST_F(ThumbnailRebuild, EmptyFolderChangesNothing) {
  fs::create_directories(Native("C:\\empty"));
  doc->SetSaveWorkName("C:\\empty\\");
  doc->SetImageTitle("kept");
  EXPECT_EQ(RebuildCountingLoads(), 0);
  EXPECT_FALSE(fs::exists(Native("C:\\empty\\s")));
  EXPECT_EQ(std::string(doc->GetImageTitle()), "kept");
}

// The title a picture carries comes back when it is opened, and goes out unchanged when it
// is saved again.
TEST_F(ThumbnailRebuild, TitleSurvivesSaveOpenAndSaveAgain) {
  const char* title = "[景色.jpg][Fine 320x240][ 12,1,0]";
  SaveShot("C:\\trip\\first.jpg", 320, 240, 98, title, "2024:05:01 10:00:00", 60);
  doc->SetImageTitle("something else");
  doc->SetThumbnailChoice(1);
  doc->SetLoadPath("C:\\trip\\first.jpg");
  ASSERT_EQ(file->Input(2), 1);
  EXPECT_EQ(std::string(doc->GetImageTitle()), title);
  buffers->SetSecondBitmap(buffers->GetBuffer(2));
  doc->SetSavePath("C:\\trip\\second.jpg", 98, 24, 2);
  doc->UpdateImageStatus(0, 0);
  output->WriteComments();
  ASSERT_EQ(output->Output(0), 1);
  EXPECT_EQ(TitleField("C:\\trip\\second.jpg"), title);
  EXPECT_EQ(TitleField("C:\\trip\\s\\secondj.jpg"), title);
}

}  // namespace
