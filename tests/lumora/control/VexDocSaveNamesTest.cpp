// Automatic and time-lapse save names, their tokens and the save folders.
#include <gtest/gtest.h>

#include <vector>

#include <windows.h>

#include "Clock.h"
#include "control/VexCreateFileName.h"
#include "control/VexDoc.h"

namespace {

void Touch(const char* path) {
  HANDLE h = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
  CloseHandle(h);
}

class VexDocSaveNames : public ::testing::Test {
 protected:
  void SetUp() override {
    TheSettingSources() = VexSettingSources{};
    // Thursday 5 March 2026, 14:07:09 local time.
    plat::clock::PinWall(CTime(2026, 3, 5, 14, 7, 9).GetTime() * 1000000);
    CreateDirectoryA("C:\\Image", nullptr);
    doc.SetSaveFolder("C:\\Image").SetSavePrefix("Img_").SetSaveBody("$###").SetFileFormat(0);
  }
  void TearDown() override { plat::clock::PinWall(std::nullopt); }
  CVexDoc doc;
};

TEST_F(VexDocSaveNames, ExpandReplacesEveryToken) {
  const struct {
    const char* name;
    LONG counter;
    const char* expanded;
  } cases[] = {
      {"$YYYY$MM$DD", -1, "20260305"},
      {"$YY", -1, "26"},
      {"$MMM-$MM", -1, "Mar-03"},
      {"$HH$hh$p", -1, "1402PM"},
      {"$mm:$ss:$SS", -1, "07:09:09"},
      {"$W", -1, "Thu"},
      {"a$###b", 7, "a007b"},
      {"$##|$#", 7, "07|7"},
      {"$###", 1234, "1234"},
      {"$###", -1, "$###"},  // no counter: the counter tokens stay for the search
      {"$VEX_$VEX", -1, "Lab A_Lab A"},
      {"$X$", 3, "$X$"},
  };
  for (const auto& c : cases) {
    CString name = c.name;
    CVexCreateFileName().Expand(name, c.counter, "Lab A");
    EXPECT_STREQ(name, c.expanded) << c.name;
  }
}

TEST_F(VexDocSaveNames, CounterContinuesAfterTheHighestNumberPresent) {
  const struct {
    std::vector<const char*> present;
    const char* next;
  } cases[] = {
      {{}, "C:\\Image\\Img_001.jpg"},
      {{"Img_001.jpg", "Img_005.jpg"}, "C:\\Image\\Img_006.jpg"},
      {{"IMG_007.JPG"}, "C:\\Image\\Img_008.jpg"},         // names match without regard to case
      {{"Img_003.tif", "Img_002.jpg"}, "C:\\Image\\Img_004.jpg"},  // any extension counts
      {{"Img_0123.jpg"}, "C:\\Image\\Img_013.jpg"},        // the match is by prefix
      {{"Img_1000.jpg", "Img_1001.jpg"}, "C:\\Image\\Img_1002.jpg"},  // never over a picture
  };
  int round = 0;
  for (const auto& c : cases) {
    CString folder;
    folder.Format("C:\\Image%d", round++);
    CreateDirectoryA(folder, nullptr);
    for (const char* name : c.present) Touch(folder + "\\" + name);
    doc.SetSaveFolder(folder);
    CString expected = c.next;
    expected.Replace("C:\\Image", folder);
    EXPECT_STREQ(doc.MakeAutoSaveName(), expected);
    EXPECT_STREQ(doc.GetSavePath(), expected);
    EXPECT_STREQ(doc.GetSaveBaseName(), expected.Left(expected.GetLength() - 4));
  }
}

TEST_F(VexDocSaveNames, FileFormatChoosesCodeQualityAndExtension) {
  const struct {
    DWORD fileFormat;
    LONG code, quality;
    const char* path;
  } cases[] = {
      {0, 98, 2, "C:\\Image\\Img_001.jpg"}, {1, 98, 10, "C:\\Image\\Img_001.jpg"},
      {2, 98, 35, "C:\\Image\\Img_001.jpg"}, {3, 6, 77, "C:\\Image\\Img_001.bmp"},
      {4, 3, 77, "C:\\Image\\Img_001.tif"},  {7, 98, 77, "C:\\Image\\Img_001.jpg"},
  };
  for (const auto& c : cases) {
    doc.SetSavePath("x", 0, 24, 77);
    doc.SetFileFormat(c.fileFormat);
    EXPECT_STREQ(doc.MakeAutoSaveName(), c.path) << c.fileFormat;
    EXPECT_EQ(doc.GetSaveFormat(), c.code) << c.fileFormat;
    EXPECT_EQ(doc.GetSaveQuality(), c.quality) << c.fileFormat;
    EXPECT_EQ(doc.GetSaveBits(), 24);
  }
}

TEST_F(VexDocSaveNames, NameWithoutCounterNeverReplacesAPicture) {
  doc.SetSaveBody("$YYYY$MM$DD_$C").SetFineMode(1).SetFinePhotoMode(2);
  EXPECT_STREQ(doc.MakeAutoSaveName(), "C:\\Image\\Img_20260305_F7.jpg");
  Touch("C:\\Image\\img_20260305_f7.JPG");
  EXPECT_STREQ(doc.MakeAutoSaveName(), "C:\\Image\\Img_20260305_F7_2.jpg");
  EXPECT_STREQ(doc.GetSaveBaseName(), "C:\\Image\\Img_20260305_F7_2");
}

TEST_F(VexDocSaveNames, TimeLapseNameFollowsTheLastAutomaticName) {
  doc.SetFileFormat(4);
  EXPECT_STREQ(doc.MakeTimeLapseName(), "Timer!260305140709.tif");
  doc.MakeAutoSaveName();
  EXPECT_STREQ(doc.MakeTimeLapseName(), "C:\\Image\\Img_001!260305140709.tif");
  Touch("C:\\Image\\Img_001!260305140709.tif");  // a second shot within the same second
  EXPECT_STREQ(doc.MakeTimeLapseName(), "C:\\Image\\Img_001!260305140709_2.tif");
}

TEST_F(VexDocSaveNames, PictureLandsInTheFolderOfItsThumbnails) {
  CreateDirectoryA("C:\\Pics", nullptr);
  const struct {
    const char* folder;
    const char* body;
    const char* saveFolder;
    const char* thumbnails;
    const char* path;
  } cases[] = {
      {"C:\\Pics", "$###", "C:\\Pics\\", "C:\\Pics\\s\\", "C:\\Pics\\Img_001.jpg"},
      {"C:\\Pics\\", "$###", "C:\\Pics\\", "C:\\Pics\\s\\", "C:\\Pics\\Img_001.jpg"},
      {"C:\\Pics", "$YYYY\\$###", "C:\\Pics\\Img_2026\\", "C:\\Pics\\Img_2026\\s\\",
       "C:\\Pics\\Img_2026\\001.jpg"},
  };
  for (const auto& c : cases) {
    doc.SetSaveFolder(c.folder).SetSaveBody(c.body);
    doc.PrepareSaveFolder();
    EXPECT_STREQ(doc.GetSaveFolderPath(), c.saveFolder) << c.folder << c.body;
    EXPECT_STREQ(doc.GetThumbnailFolder(), c.thumbnails) << c.folder << c.body;
    EXPECT_STREQ(doc.MakeAutoSaveName(), c.path) << c.folder << c.body;
  }
}

TEST_F(VexDocSaveNames, SettingNameComesFromTheSettingFile) {
  TheSettingSources().hasSettingFile = 1;
  TheSettingSources().settingFilePath = "C:\\Sets\\Lab A.vex";
  CVexDoc withSet;
  withSet.SetSaveFolder("C:\\Image").SetSavePrefix("$VEX-").SetSaveBody("x").SetFileFormat(3);
  EXPECT_STREQ(withSet.MakeAutoSaveName(), "C:\\Image\\Lab A-x.bmp");
  EXPECT_STREQ(doc.MakeAutoSaveName(), "C:\\Image\\Img_001.jpg");
}

TEST_F(VexDocSaveNames, FormatFromExtension) {
  const struct {
    const char* path;
    int format;
  } cases[] = {
      {"a.jpg", 0}, {"C:\\x\\a.JPEG", 0}, {"a.Bmp", 1}, {"a.tif", 2}, {"a.TIFF", 2},
      {"a.png", -1}, {"a", -1}, {"C:\\x.jpg\\a", -1},
  };
  for (const auto& c : cases) EXPECT_EQ(CVexDoc::GetFormatFromExtension(c.path), c.format) << c.path;
  Touch("C:\\Image\\There.jpg");
  EXPECT_EQ(CVexDoc::FileExists("C:\\Image\\there.JPG"), 1);
  EXPECT_EQ(CVexDoc::FileExists("C:\\Image\\Missing.jpg"), 0);
}

}  // namespace
