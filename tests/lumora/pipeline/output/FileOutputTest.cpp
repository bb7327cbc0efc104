// The file output saving the still picture: path length, comments by image state, the
// free-space rule, the control's statuses, grey pictures, overlays, folders, thumbnails
// and their names, and a write that fails midway. Files are read back by libjpeg-turbo,
// libtiff and a BMP header reader, as other programs would read them.
#include <algorithm>
#include <filesystem>
#include <functional>

#include "FileOutputRig.h"
#include "PdfPages.h"
#include "Faults.h"
#include "WinError.h"
#include "imaging/ImageStore.h"
#include "user/Responder.h"

namespace {

using fileoutputrig::Bytes;
using fileoutputrig::FileOutputRig;
using fileoutputrig::Native;
namespace fs = std::filesystem;
namespace responder = plat::user::responder;

class FileOutput : public FileOutputRig {
 public:
  // Takes the still picture away, and the control's own.
  void Empty() {
    buffers->SetSecondBitmap(0);
    output->GetImagingControl()->SetBitmap(0);
  }
};

// A path of exactly `length` characters under C:\long, in folders of 60 characters.
CString PathOfLength(int length) {
  std::string path = "C:\\long";
  const std::string file = "\\p.jpg";
  while (int(path.size() + file.size()) < length) {
    const int room = length - int(path.size() + file.size());
    if (room <= 1) {
      path += std::string(size_t(room), 'x');
      break;
    }
    path += "\\" + std::string(size_t(std::min(room - 1, 60)), 'd');
  }
  path += file;
  return CString(path.c_str());
}

TEST_F(FileOutput, PathOf254CharactersIsSavedAnd255Refused) {
  struct Case {
    int length;
    int result;
    std::pair<LONG, LONG> latched;
  } cases[] = {{254, 1, {0, 0}}, {255, 0, {420, 1}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.length);
    const CString path = PathOfLength(c.length);
    ASSERT_EQ(path.GetLength(), c.length);
    EXPECT_EQ(SaveGradient(path, 64, 48), c.result);
    EXPECT_EQ(Latched(), c.latched);
    EXPECT_EQ(fs::exists(Native(std::string(path))), c.result == 1);
  }
}

TEST_F(FileOutput, CommentsFollowTheImageState) {
  struct Case {
    SHORT state;
    bool fields;
    bool longText;  // the long comment text, else the short one
  } cases[] = {{0, false, false}, {1, true, true}, {2, true, true}, {3, true, false}, {4, true, false}};
  doc->SetImageSubtitle("Lumora");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.state);
    doc->SetImageTitle("");
    doc->SetFileOutputState(0);
    doc->UpdateImageStatus(c.state, 0);
    const CString path = "C:\\states\\shot" + CString(std::to_string(c.state).c_str()) + ".jpg";
    ASSERT_EQ(SaveGradient(path, 120, 90), 1);
    if (!c.fields) {
      EXPECT_EQ(TitleField(path), "(empty)");
      continue;
    }
    const std::string title(doc->GetImageTitle());
    // Both name the file and the size; the long text adds a third part (version, gain, resize).
    EXPECT_EQ(title.find("[shot" + std::to_string(c.state) + ".jpg]"), 0u) << title;
    EXPECT_NE(title.find("120x90]"), std::string::npos) << title;
    EXPECT_EQ(std::count(title.begin(), title.end(), '['), c.longText ? 3 : 2) << title;
    EXPECT_EQ(TitleField(path), title);
    EXPECT_EQ(TitleField(path, vexcomment::kSubtitleField), "Lumora");
    EXPECT_EQ(TextField(path, vexcomment::kOriginalDateField), std::string(doc->GetOriginalDateTime()));
    EXPECT_EQ(TextField(path, vexcomment::kDigitizedDateField), std::string(doc->GetDigitizedDateTime()));
    EXPECT_EQ(ExposureField(path),
              std::make_pair(doc->GetExposureTimeNumerator(), doc->GetExposureTimeDenominator()));
    EXPECT_EQ(doc->GetFileOutputState(), c.state == 1 ? 1 : 0);
  }
  EXPECT_EQ(std::string(doc->GetSaveWorkName()), "C:\\states\\");
}

// With less than 40,000,000 bytes free, the picture is encoded in memory first; the old
// file of the same name counts as room, since saving replaces it.
TEST_F(FileOutput, BelowTheRoomyMarkTheEncodedSizeMustFit) {
  // A 24-bit BMP of 3700 x 3660 takes 40,626,054 bytes.
  struct Case {
    const char* name;
    int oldHeight;  // an old 500-pixel-wide BMP at the path; 0: none
    int result;
  } cases[] = {
      {"no old file", 0, 0},
      {"old file too small", 400, 0},  // 600,054 bytes: 40,600,053 available
      {"old file big enough", 470, 1},  // 705,054 bytes: 40,705,053 available
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    plat::config::Set("DISK_FREE", std::nullopt);
    const CString path = "C:\\room\\big.bmp";
    std::string oldBytes;
    if (c.oldHeight) {
      ASSERT_EQ(SaveGradient(path, 500, c.oldHeight, 6), 1);
      oldBytes = Bytes(std::string(path));
      ASSERT_EQ(oldBytes.size(), size_t(54 + 1500 * c.oldHeight));
    } else {
      fs::remove(Native(std::string(path)));
    }
    plat::config::Set("DISK_FREE", "39999999");
    EXPECT_EQ(SaveGradient(path, 3700, 3660, 6), c.result);
    if (c.result) {
      EXPECT_EQ(Latched(), Pair(0, 0));
      EXPECT_EQ(fs::file_size(Native(std::string(path))), 40626054u);
    } else {
      EXPECT_EQ(Latched(), Pair(420, 4));
      EXPECT_TRUE(Bytes(std::string(path)) == oldBytes);  // the old picture as it was
    }
  }
  plat::config::Set("DISK_FREE", std::nullopt);
}

TEST_F(FileOutput, SmallPictureOnANearlyFullDiskAndExactlyAtTheMark) {
  struct Case {
    const char* free;
    int result;
  } cases[] = {{"39999999", 1}, {"40000000", 1}, {"2000", 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.free);
    plat::config::Set("DISK_FREE", c.free);
    doc->ClearLastError();
    const CString path = CString("C:\\free\\") + c.free + ".jpg";
    EXPECT_EQ(SaveGradient(path, 160, 120), c.result);
    EXPECT_EQ(fs::exists(Native(std::string(path))), c.result == 1);
    if (!c.result) EXPECT_EQ(Latched(), Pair(420, 4));
  }
  plat::config::Set("DISK_FREE", std::nullopt);
}

TEST_F(FileOutput, UnreadableFreeSpaceIsTooLittleRoom) {
  plat::faults::Scope noAnswer("GetDiskFreeSpaceExA", ERROR_NOT_READY);
  EXPECT_EQ(SaveGradient("C:\\unknown\\a.jpg", 64, 48), 0);
  EXPECT_EQ(Latched(), Pair(420, 4));
  EXPECT_FALSE(fs::exists(Native("C:\\unknown\\a.jpg")));
}

// Each status of the control's save becomes its detail; the real causes where they are
// easy to make, the fault point for the rest.
TEST_F(FileOutput, SaveStatusesBecomeDetails) {
  struct Case {
    const char* name;
    std::function<void(FileOutput*)> arrange;
    CString path;
    LONG format;
    LONG detail;
  } cases[] = {
      {"20008: a folder in the way", [](FileOutput*) { fs::create_directories(Native("C:\\st\\taken.jpg")); },
       "C:\\st\\taken.jpg", 98, 1},
      {"20005: a format the control cannot write", nullptr, "C:\\st\\fmt.jpg", 7, 2},
      {"20002: no picture", [](FileOutput* t) { t->Empty(); },
       "C:\\st\\none.jpg", 98, 3},
      {"20009: the disk fills up", [](FileOutput*) { plat::faults::Arm("WriteFile", ERROR_DISK_FULL, 0, -1); },
       "C:\\st\\full.jpg", 98, 5},
      {"another status", [](FileOutput*) { plat::faults::Arm("imaging.SaveFile", 20001, 0, 1); }, "C:\\st\\other.jpg",
       98, 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PutPicture(0, 80, 60, [](int x, int y, BYTE* p) { p[0] = BYTE(x), p[1] = BYTE(y), p[2] = 9; });
    Show(0, c.path, c.format);
    if (c.arrange) c.arrange(this);
    EXPECT_EQ(output->Output(0), 0);
    plat::faults::DisarmAll();
    EXPECT_EQ(Latched(), Pair(420, c.detail));
    EXPECT_FALSE(fs::is_regular_file(Native(std::string(c.path))));
    const std::string name = std::string(c.path).substr(6, std::string(c.path).size() - 10);
    EXPECT_FALSE(fs::exists(Native("C:\\st\\s\\" + name + "j.jpg"))) << name;
  }
}

// A grey picture is written with 8 bits a pixel although 24 are configured, in every
// format; a coloured one keeps 24.
TEST_F(FileOutput, GreyPicturesAreSavedWithEightBits) {
  struct Case {
    const char* path;
    LONG format;
    bool grey;
  } cases[] = {{"C:\\g\\grey.bmp", 6, true},   {"C:\\g\\colour.bmp", 6, false}, {"C:\\g\\grey.jpg", 98, true},
               {"C:\\g\\colour.jpg", 98, false}, {"C:\\g\\grey.tif", 3, true},    {"C:\\g\\colour.tif", 3, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    // Grey in steps across the picture; one red pixel at the far corner for the colour one.
    const bool grey = c.grey;
    PutPicture(0, 99, 70, [grey](int x, int y, BYTE* p) {
      p[0] = p[1] = p[2] = BYTE(x * 2 + y);
      if (!grey && x == 98 && y == 69) p[2] = 255, p[1] = p[0] = 0;
    });
    Show(0, c.path, c.format);
    ASSERT_EQ(output->Output(0), 1);
    const int channels = c.grey ? 1 : 3;
    if (c.format == 6) {
      const auto h = fileoutputrig::ReadBmpHeader(c.path);
      ASSERT_TRUE(h.ok);
      EXPECT_EQ(h.bits, c.grey ? 8 : 24);
      EXPECT_EQ(h.width, 99);
      EXPECT_EQ(std::abs(h.height), 70);
    } else {
      const auto d = c.format == 98 ? fileoutputrig::DecodeJpeg(c.path) : fileoutputrig::DecodeTiff(c.path);
      ASSERT_TRUE(d.ok);
      EXPECT_EQ(d.channels, channels);
      EXPECT_EQ(d.width, 99);
      EXPECT_EQ(d.height, 70);
      if (c.format == 3) {  // uncompressed: the samples are exact
        const size_t at = (size_t(10) * 99 + 20) * channels;
        EXPECT_EQ(d.samples[at], BYTE(20 * 2 + 10));
      }
    }
  }
}

// The picture of the still display goes to the file as it is when nothing is burned in:
// no private copy is made for it. Overlay codes 1-3 take the image DC, a private copy.
TEST_F(FileOutput, OverlayCodesAndTheCopyTheyCost) {
  struct Case {
    LONG code;
    uint64_t copies;
  } cases[] = {{0, 0}, {1, 1}, {2, 1}, {3, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    doc->SetSaveOverlayCode(SHORT(c.code));
    PutPicture(0, 320, 240, [](int x, int y, BYTE* p) { p[0] = BYTE(x), p[1] = BYTE(y), p[2] = 1; });
    Show(0, "C:\\ov\\a.jpg");
    const uint64_t before = plat::imaging::ImageStore::Instance().Copies();
    ASSERT_EQ(output->Output(0), 1);
    EXPECT_EQ(plat::imaging::ImageStore::Instance().Copies() - before, c.copies);
  }
}

TEST_F(FileOutput, UnknownOverlayCodeIsReportedAndThePictureSaved) {
  doc->m_nOverlayChoice = 4;  // as a damaged setting file leaves it
  responder::Reset();
  std::string shown;
  responder::Push([&](const responder::Shown& s) {
    char text[64] = {};
    ::GetDlgItemTextA(s.hwnd, 1143, text, sizeof text);
    shown = text;
    ::EndDialog(s.hwnd, IDOK);
    return IDOK;
  });
  EXPECT_EQ(SaveGradient("C:\\ov\\four.jpg", 64, 48), 1);
  EXPECT_NE(shown.find("803"), std::string::npos) << shown;
  EXPECT_EQ(Latched(), Pair(0, 0));
  EXPECT_TRUE(fileoutputrig::DecodeJpeg("C:\\ov\\four.jpg").ok);
  EXPECT_TRUE(fs::exists(Native("C:\\ov\\s\\fourj.jpg")));
  responder::Reset();
}

TEST_F(FileOutput, MissingFoldersAreMadeLevelByLevel) {
  fs::create_directories(Native("C:\\deep"));
  { std::ofstream(Native("C:\\deep\\keep.txt")) << "kept"; }
  ASSERT_EQ(SaveGradient("C:\\deep\\one\\two\\three\\pic.jpg", 64, 48), 1);
  EXPECT_TRUE(fs::is_regular_file(Native("C:\\deep\\one\\two\\three\\pic.jpg")));
  EXPECT_TRUE(fs::is_regular_file(Native("C:\\deep\\one\\two\\three\\s\\picj.jpg")));
  EXPECT_EQ(Bytes("C:\\deep\\keep.txt"), "kept");

  EXPECT_TRUE(CVexFileOutput::FolderExists("C:\\deep\\one"));
  EXPECT_TRUE(CVexFileOutput::FolderExists("C:\\deep\\one\\"));
  EXPECT_FALSE(CVexFileOutput::FolderExists(""));
  EXPECT_FALSE(CVexFileOutput::FolderExists("C:\\deep\\keep.txt"));
  EXPECT_EQ(CVexFileOutput::CreateFolderFor(""), 0);
}

TEST_F(FileOutput, ThumbnailSizes) {
  struct Case {
    int w, h;
    int tw, th;
  } cases[] = {{1280, 1024, 100, 80}, {1024, 1280, 64, 80}, {640, 640, 80, 80},   {300, 1200, 20, 80},
               {90, 1000, 90, 1000},   {100, 60, 100, 60},   {99, 50, 99, 50}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
    const CString path = CString("C:\\thumbs\\p") + std::to_string(c.w).c_str() + "x" + std::to_string(c.h).c_str() + ".tif";
    ASSERT_EQ(SaveGradient(path, c.w, c.h, 3), 1);
    const auto t = fileoutputrig::DecodeJpeg(std::string(output->GetThumbnailPath()));
    ASSERT_TRUE(t.ok) << output->GetThumbnailPath();
    EXPECT_EQ(t.width, c.tw);
    EXPECT_EQ(t.height, c.th);
    EXPECT_EQ(t.channels, 3);
    // The picture itself is untouched by its thumbnail.
    const auto p = fileoutputrig::DecodeTiff(std::string(path));
    EXPECT_EQ(p.width, c.w);
    EXPECT_EQ(p.height, c.h);
  }
}

TEST_F(FileOutput, ThumbnailNamesCarryTheTypeLetter) {
  struct Case {
    const char* picture;
    const char* thumbnail;
  } cases[] = {{"C:\\n\\photo.TIFF", "C:\\n\\s\\photot.jpg"}, {"C:\\n\\photo.png", "C:\\n\\s\\photo.jpg"},
               {"C:\\n\\a.JPEG", "C:\\n\\s\\aj.jpg"},         {"C:\\n\\b.bmp", "C:\\n\\s\\bb.jpg"},
               {"C:\\n\\c.tif", "C:\\n\\s\\ct.jpg"},          {"C:\\n\\d.jpg", "C:\\n\\s\\dj.jpg"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.picture);
    EXPECT_EQ(std::string(output->ThumbnailPath(c.picture)), c.thumbnail);
    EXPECT_EQ(std::string(output->GetThumbnailFolder()), "C:\\n\\s\\");
    EXPECT_EQ(std::string(doc->GetThumbnailFolder()), "C:\\n\\s\\");
  }
  ASSERT_EQ(SaveGradient("C:\\n\\photo.TIFF", 64, 48, 3), 1);
  EXPECT_TRUE(fs::exists(Native("C:\\n\\s\\photot.jpg")));
}

TEST_F(FileOutput, ThumbnailCarriesThePicturesCommentsAndTimes) {
  doc->UpdateImageStatus(1, 0);
  doc->SetImageSubtitle("sub");
  ASSERT_EQ(SaveGradient("C:\\t\\shot.jpg", 200, 150), 1);
  const CString thumb = "C:\\t\\s\\shotj.jpg";
  EXPECT_EQ(TitleField(thumb), TitleField("C:\\t\\shot.jpg"));
  EXPECT_EQ(TitleField(thumb, vexcomment::kSubtitleField), "sub");
  EXPECT_EQ(TextField(thumb, vexcomment::kOriginalDateField), TextField("C:\\t\\shot.jpg", vexcomment::kOriginalDateField));
  CFileStatus picture, thumbnail;
  ASSERT_TRUE(CFile::GetStatus("C:\\t\\shot.jpg", picture));
  ASSERT_TRUE(CFile::GetStatus(thumb, thumbnail));
  EXPECT_EQ(thumbnail.m_ctime, picture.m_ctime);
  EXPECT_EQ(thumbnail.m_mtime, picture.m_mtime);
}

// A write that fails at any point leaves the old picture and the old thumbnail byte for
// byte, and nothing of the failed write beside them. A thumbnail whose save failed keeps
// its old times, so the next rebuild remakes it.
TEST_F(FileOutput, FailedWriteKeepsTheOldPictureAndThumbnail) {
  struct Case {
    const char* point;
    int skip;  // good calls first: 1 lets the picture through and fails its thumbnail
    int result;
  } cases[] = {{"WriteFile", 0, 0}, {"FlushFileBuffers", 0, 0}, {"MoveFileExA", 0, 0}, {"WriteFile", 1, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.point) + " after " + std::to_string(c.skip));
    fs::remove_all(Native("C:\\keep"));
    plat::clock::PinWall(int64_t(1700000000) * 1000000);
    ASSERT_EQ(SaveGradient("C:\\keep\\pic.jpg", 640, 480), 1);
    const std::string picture = Bytes("C:\\keep\\pic.jpg");
    const std::string thumbnail = Bytes("C:\\keep\\s\\picj.jpg");
    ASSERT_FALSE(picture.empty());
    ASSERT_FALSE(thumbnail.empty());
    // The old files carry another creation time than the new picture will.
    plat::clock::PinWall(int64_t(1700000060) * 1000000);
    {
      plat::faults::Scope broken(c.point, ERROR_DISK_FULL, c.skip, -1);
      PutPicture(0, 640, 480, [](int x, int y, BYTE* p) { p[0] = BYTE(y), p[1] = BYTE(x * 3), p[2] = BYTE(x ^ y); });
      Show(0, "C:\\keep\\pic.jpg");
      EXPECT_EQ(output->Output(0), c.result);
    }
    EXPECT_EQ(Latched(), c.result ? Pair(0, 0) : Pair(420, 5));
    EXPECT_EQ(Bytes("C:\\keep\\pic.jpg") == picture, c.result == 0);
    EXPECT_TRUE(Bytes("C:\\keep\\s\\picj.jpg") == thumbnail);
    size_t entries = 0;
    for (const auto& e : fs::directory_iterator(Native("C:\\keep"))) entries += e.is_regular_file();
    EXPECT_EQ(entries, 1u);
    if (c.result) {
      CFileStatus p, t;
      ASSERT_TRUE(CFile::GetStatus("C:\\keep\\pic.jpg", p));
      ASSERT_TRUE(CFile::GetStatus("C:\\keep\\s\\picj.jpg", t));
      EXPECT_NE(t.m_ctime, p.m_ctime);
    }
  }
  plat::clock::PinWall(std::nullopt);
}

// Other programs read the comment fields from their standard tags.
TEST_F(FileOutput, ExiftoolReadsTheCommentFields) {
  if (std::system("command -v exiftool >/dev/null 2>&1") != 0) GTEST_SKIP() << "exiftool missing";
  doc->UpdateImageStatus(1, 0);
  doc->SetImageSubtitle("Lumora");
  for (const char* path : {"C:\\exif\\shot.jpg", "C:\\exif\\shot.tif"}) {
    SCOPED_TRACE(path);
    ASSERT_EQ(SaveGradient(path, 160, 120, std::string(path).back() == 'g' ? 98 : 3), 1);
    const std::string out = printing::Run("exiftool -s -s -s -DateTimeOriginal -CreateDate -ExposureTime "
                                          "-UserComment -ImageDescription '" + Native(path) + "'");
    const std::string expected = std::string(doc->GetOriginalDateTime()) + "\n" +
                                 std::string(doc->GetDigitizedDateTime()) + "\n";
    EXPECT_EQ(out.substr(0, expected.size()), expected) << out;
    EXPECT_NE(out.find(std::string(doc->GetImageTitle())), std::string::npos) << out;
    EXPECT_NE(out.find("Lumora"), std::string::npos) << out;
    const LONG d = doc->GetExposureTimeDenominator();
    EXPECT_NE(out.find(d == 1 ? std::to_string(doc->GetExposureTimeNumerator()) : "1/" + std::to_string(d)),
              std::string::npos)
        << out;
  }
}

TEST_F(FileOutput, SavesFromTheCaptureThread) {
  PutPicture(0, 160, 120, [](int x, int y, BYTE* p) { p[0] = BYTE(x), p[1] = BYTE(y), p[2] = 3; });
  Show(0, "C:\\thread\\a.jpg");
  EXPECT_EQ(RunOnWorker([&] { return output->Output(0); }), 1);
  const auto d = fileoutputrig::DecodeJpeg("C:\\thread\\a.jpg");
  EXPECT_EQ(d.width, 160);
  EXPECT_TRUE(fs::exists(Native("C:\\thread\\s\\aj.jpg")));
}

TEST_F(FileOutput, WithoutAControlNothingIsSaved) {
  output->GetImagingControl()->DestroyWindow();
  doc->SetSavePath("C:\\none\\a.jpg", 98, 24, 2);
  EXPECT_EQ(output->Output(0), 0);
  EXPECT_FALSE(fs::exists(Native("C:\\none")));
}

}  // namespace
