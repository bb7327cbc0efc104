// The comment-field block (the private block of JPEG and TIFF files). What parses
// must write back to the same bytes.
#include "FuzzImageCodecs.h"

using namespace plat::imaging;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzseeds::Write("fields", fuzzseeds::SomeFields().Serialize());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FileFields f;
  if (!f.Parse(data, size)) {
    if (f.Any()) __builtin_trap();  // a refused block sets nothing
    return 0;
  }
  const std::vector<uint8_t> again = f.Serialize();
  if (again.empty()) {
    if (f.Any()) __builtin_trap();  // a block of no fields writes nothing
    return 0;
  }
  FileFields g;
  if (!g.Parse(again.data(), again.size()) || g.Serialize() != again) __builtin_trap();
  return 0;
}
