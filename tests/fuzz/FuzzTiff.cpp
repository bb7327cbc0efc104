// The imaging control's TIFF reader: every layout libtiff decodes, and the fields.
#include "FuzzImageCodecs.h"
#include "imaging/TiffCodec.h"

using namespace plat::imaging;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzseeds::WritePictures(kFormatTiff, "tif");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FileInfo info;
  FileFields fields;
  tiff::ReadInfo(data, size, &info, &fields);
  Dib out;
  tiff::Decode(data, size, &out, &fields);
  return 0;
}
