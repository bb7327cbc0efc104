// Maps the face names the system asks for (Windows names, UTF-8) to installed
// font files through fontconfig.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace plat::text {

struct FaceFile {
  std::string path;
  int index = 0;
  std::string family;   // family of the file found
  bool bold = false;    // the file itself is bold / italic; otherwise both are synthesised
  bool italic = false;
};

// Best installed file for a face name, weight (FW_), italic flag and character set.
// An empty name picks by character set and pitch-and-family.
FaceFile MatchFace(std::string_view face, int weight, bool italic, int charSet, int pitchAndFamily = 0);
// The fontconfig family a Windows face name stands for ("" when it is not one we know).
std::string AliasOf(std::string_view face);
struct Family {
  std::string name;
  bool japanese = false;  // has Japanese glyphs
};
// Whether a Windows face name is one of the system's bitmap (raster) faces: those come
// in fixed sizes, report OUT_STRING_PRECIS and are never turned by an escapement.
bool IsRasterFace(std::string_view face);
// Families installed, sorted by name, each once.
std::vector<Family> InstalledFamilies();

}  // namespace plat::text
