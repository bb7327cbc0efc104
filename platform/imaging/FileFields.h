// The comment fields (ids 0 .. 178) that a save writes into a picture file, and
// their stored form: one block, tagged with its own signature, that JPEG files
// carry in APP11 segments and TIFF files in a private tag. Each value keeps its
// kind (text, bytes, 32-bit integers), so it reads back as it was set.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace plat::imaging {

using FieldValue = std::variant<std::monostate, std::string, std::vector<uint8_t>, std::vector<int32_t>>;

class FileFields {
 public:
  static constexpr int kCount = 179;
  // Largest stored block; keeps a JPEG within 255 segments.
  static constexpr size_t kMaxBlock = 255 * 65000;

  bool Set(int id, FieldValue value);
  // Empty for an unknown id or an unset field.
  const FieldValue& Get(int id) const;
  void Clear();
  bool Any() const;

  // The stored block (empty when no field is set).
  std::vector<uint8_t> Serialize() const;
  // Reads a stored block; false, and no field set, when it is damaged.
  bool Parse(const uint8_t* data, size_t size);

 private:
  std::array<FieldValue, kCount> values_;
};

}  // namespace plat::imaging
