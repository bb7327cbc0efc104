// Inputs the fuzz drivers found faults with (tests/data/fuzz), kept as regression
// cases: each is read as its driver reads it and gets a known answer.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "TestEnv.h"
#include "imaging/ExifFields.h"
#include "imaging/FileFields.h"
#include "imaging/JpegCodec.h"
#include "imaging/TiffCodec.h"

using namespace plat::imaging;
namespace fs = std::filesystem;

namespace {

// The findings of one driver, each as its exact bytes.
std::vector<std::pair<std::string, std::vector<uint8_t>>> Findings(const std::string& driver) {
  std::vector<std::pair<std::string, std::vector<uint8_t>>> out;
  for (const auto& e : fs::directory_iterator(testenv::DataPath("fuzz/" + driver))) {
    std::ifstream f(e.path(), std::ios::binary);
    out.emplace_back(e.path().filename().string(),
                     std::vector<uint8_t>((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>()));
  }
  return out;
}

bool Known(Status st) {
  return st == status::kOk || st == status::kFileError || st == status::kUnsupported ||
         st == status::kUnknownFormat || st == status::kNoMemory;
}

TEST(FuzzFindings, ImageFilesGetAKnownStatus) {
  for (const char* driver : {"jpeg", "tiff"}) {
    for (const auto& [name, bytes] : Findings(driver)) {
      SCOPED_TRACE(name);
      FileInfo info;
      FileFields fields;
      Dib out;
      const bool jpg = std::string(driver) == "jpeg";
      const Status read = jpg ? jpeg::ReadInfo(bytes.data(), bytes.size(), &info, &fields)
                              : tiff::ReadInfo(bytes.data(), bytes.size(), &info, &fields);
      const Status decoded = jpg ? jpeg::Decode(bytes.data(), bytes.size(), &out, &fields)
                                 : tiff::Decode(bytes.data(), bytes.size(), &out, &fields);
      EXPECT_TRUE(Known(read)) << read;
      EXPECT_TRUE(Known(decoded)) << decoded;
      EXPECT_EQ(decoded == status::kOk, !out.Empty());
    }
  }
}

TEST(FuzzFindings, ExifBlocksReadBackAsTheyWereRead) {
  for (const auto& [name, bytes] : Findings("exif")) {
    SCOPED_TRACE(name);
    FileFields read;
    exif::Give(exif::Decode(bytes.data(), bytes.size()), &read);
    FileFields rest = read;
    const std::vector<uint8_t> block = exif::Encode(exif::Take(&rest));
    FileFields back = rest;
    exif::Give(exif::Decode(block.data(), block.size()), &back);
    for (int id = 0; id < FileFields::kCount; ++id) EXPECT_EQ(back.Get(id), read.Get(id)) << id;
  }
}

}  // namespace
