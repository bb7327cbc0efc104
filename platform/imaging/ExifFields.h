// The comment fields that have a standard home, so every outside tool reads them:
// 22 DateTimeOriginal, 23 DateTimeDigitized, 34 ExposureTime, 36 UserComment (Exif
// IFD) and 37 ImageDescription (IFD 0). JPEG files carry them in an Exif block (APP1),
// TIFF files in their own directories; the other fields stay in the private block.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "imaging/FileFields.h"

namespace plat::imaging::exif {

struct StandardFields {
  std::optional<std::string> original, digitized;
  std::optional<std::pair<uint32_t, uint32_t>> exposure;  // numerator, denominator
  std::optional<std::vector<uint8_t>> userComment;        // character code and text, as stored
  std::optional<std::string> description;                 // the text of field 37 alone

  bool Any() const { return original || digitized || exposure || userComment || description; }
};

// Largest Exif block: one JPEG segment less its "Exif\0\0" mark.
inline constexpr size_t kMaxBlock = 65533 - 6;

// Moves out of `fields` each value that its standard tag holds exactly (a field in any
// other form stays), keeping the Exif block within kMaxBlock.
StandardFields Take(FileFields* fields);
// Sets the fields the standard tags answer, over whatever `fields` holds for them.
void Give(const StandardFields& standard, FileFields* fields);

// The Exif block (a little-endian TIFF structure: IFD 0 and the Exif IFD).
std::vector<uint8_t> Encode(const StandardFields& standard);
// Reads IFD 0 and its Exif IFD from a TIFF structure: a JPEG's Exif block or a whole
// classic TIFF file. Damaged parts are skipped; what could be read is answered.
StandardFields Decode(const uint8_t* data, size_t size);
// The same for a structure read where needed: `read` fills up to n bytes at an offset
// and answers how many it could.
using ReadAt = std::function<size_t(uint64_t at, void* out, size_t n)>;
StandardFields Decode(const ReadAt& read, uint64_t size);

}  // namespace plat::imaging::exif
