// The imaging control's bitmap reader.
#include "FuzzImageCodecs.h"
#include "imaging/BmpCodec.h"

using namespace plat::imaging;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzseeds::WritePictures(kFormatBmp, "bmp");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FileInfo info;
  bmp::ReadInfo(data, size, &info);
  Dib out;
  bmp::Decode(data, size, &out);
  return 0;
}
