// The imaging control's JPEG reader: header, comment fields and pixels.
#include "FuzzImageCodecs.h"
#include "imaging/JpegCodec.h"

using namespace plat::imaging;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzseeds::WritePictures(kFormatJpeg, "jpg");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FileInfo info;
  FileFields fields;
  jpeg::ReadInfo(data, size, &info, &fields);
  Dib out;
  jpeg::Decode(data, size, &out, &fields);
  return 0;
}
