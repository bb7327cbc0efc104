#include "ReferencePicture.h"

#include <cstdlib>
#include <filesystem>

#include "TestEnv.h"

namespace testenv {
namespace {

int Channel(uint32_t p, int shift) { return static_cast<int>((p >> shift) & 0xFF); }

bool Near(uint32_t a, uint32_t b, int tolerance) {
  for (int shift : {0, 8, 16})
    if (std::abs(Channel(a, shift) - Channel(b, shift)) > tolerance) return false;
  return true;
}

std::string Stem(const std::string& name) {
  const auto dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

}  // namespace

testing::AssertionResult MatchesReference(const plat::display::PixelImage& taken, const std::string& name,
                                          Tolerance tolerance) {
  namespace fs = std::filesystem;
  const std::string reference = DataPath("reference/" + name);
  if (const char* update = std::getenv("LUMORA_UPDATE_REFERENCES"); update && std::string(update) == "1") {
    plat::display::WritePng(reference, taken.pixels.data(), taken.width, taken.height, taken.width);
    return testing::AssertionSuccess() << "written " << reference;
  }
  const std::string folder = BinaryDir() + "/reference-diffs";
  fs::create_directories(folder);
  const std::string actualPath = folder + "/" + Stem(name) + "-taken.png";
  auto keepTaken = [&] {
    plat::display::WritePng(actualPath, taken.pixels.data(), taken.width, taken.height, taken.width);
  };
  auto expected = plat::display::ReadPng(reference);
  if (!expected) {
    keepTaken();
    return testing::AssertionFailure() << "no reference picture " << reference << "; the picture taken is "
                                       << actualPath;
  }
  if (expected->width != taken.width || expected->height != taken.height) {
    keepTaken();
    return testing::AssertionFailure() << name << " is " << taken.width << " x " << taken.height
                                       << ", its reference " << expected->width << " x " << expected->height
                                       << "; the picture taken is " << actualPath;
  }
  std::vector<plat::display::Pixel> difference(taken.pixels.size());
  int differing = 0;
  for (size_t i = 0; i < taken.pixels.size(); ++i) {
    const uint32_t want = expected->pixels[i] & 0xFFFFFF, got = taken.pixels[i] & 0xFFFFFF;
    if (Near(want, got, tolerance.channel)) {
      // Faded towards white, so that the red marks stand out.
      uint32_t faded = 0;
      for (int shift : {0, 8, 16}) faded |= static_cast<uint32_t>(192 + Channel(want, shift) / 4) << shift;
      difference[i] = faded;
    } else {
      difference[i] = 0xFF0000;
      ++differing;
    }
  }
  if (differing <= tolerance.pixels) return testing::AssertionSuccess();
  keepTaken();
  const std::string differencePath = folder + "/" + Stem(name) + "-difference.png";
  plat::display::WritePng(differencePath, difference.data(), taken.width, taken.height, taken.width);
  return testing::AssertionFailure() << name << ": " << differing << " pixels differ from the reference by more than "
                                     << tolerance.channel << " (" << tolerance.pixels << " allowed); taken "
                                     << actualPath << ", difference " << differencePath;
}

testing::AssertionResult MatchesReference(const std::string& pngPath, const std::string& name, Tolerance tolerance) {
  auto taken = plat::display::ReadPng(pngPath);
  if (!taken) return testing::AssertionFailure() << "cannot read " << pngPath;
  return MatchesReference(*taken, name, tolerance);
}

}  // namespace testenv
