// The Exif block: IFD 0 and the Exif IFD of a TIFF structure, as cameras and outside
// tools write them. What it answers must survive another write and read.
#include "FuzzImageCodecs.h"
#include "imaging/ExifFields.h"

using namespace plat::imaging;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FileFields f = fuzzseeds::SomeFields();
  fuzzseeds::Write("block", exif::Encode(exif::Take(&f)));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FileFields read;
  exif::Give(exif::Decode(data, size), &read);
  FileFields rest = read;
  const exif::StandardFields s = exif::Take(&rest);
  const std::vector<uint8_t> block = exif::Encode(s);
  if (block.size() > exif::kMaxBlock) __builtin_trap();
  FileFields back = rest;
  exif::Give(exif::Decode(block.data(), block.size()), &back);
  for (int id = 0; id < FileFields::kCount; ++id)
    if (!(back.Get(id) == read.Get(id))) __builtin_trap();
  return 0;
}
