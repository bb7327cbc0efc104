// File information as the control answers it for a path: the format told from the
// first bytes, then the header and the fields, without the pixels.
#include <unistd.h>

#include "Config.h"
#include "FuzzImageCodecs.h"

using namespace plat::imaging;

namespace {
std::string g_native;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  char dir[] = "/tmp/lumora-fuzz-XXXXXX";
  if (mkdtemp(dir)) plat::config::Set("DRIVE_C", dir);
  g_native = std::string(dir) + "/picture";
  fuzzseeds::WritePictures(kFormatJpeg, "jpg");
  fuzzseeds::WritePictures(kFormatTiff, "tif");
  fuzzseeds::WritePictures(kFormatBmp, "bmp");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::ofstream(g_native, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data), std::streamsize(size));
  FileInfo info;
  imagefile::ReadInfo("C:\\picture", &info);
  FileFields fields;
  imagefile::ReadFields("C:\\picture", &fields);
  return 0;
}
