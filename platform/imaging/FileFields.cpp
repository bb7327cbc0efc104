#include "imaging/FileFields.h"

#include <cstring>

namespace plat::imaging {
namespace {

constexpr char kSignature[8] = {'L', 'M', 'F', 'I', 'E', 'L', 'D', '1'};
enum Kind : uint8_t { kText = 1, kBytes = 2, kLongs = 3 };

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}
uint32_t Get32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }

const FieldValue kEmpty{};

}  // namespace

bool FileFields::Set(int id, FieldValue value) {
  if (id < 0 || id >= kCount) return false;
  values_[id] = std::move(value);
  return true;
}

const FieldValue& FileFields::Get(int id) const {
  return id < 0 || id >= kCount ? kEmpty : values_[id];
}

void FileFields::Clear() {
  for (auto& v : values_) v = std::monostate{};
}

bool FileFields::Any() const {
  for (const auto& v : values_)
    if (!std::holds_alternative<std::monostate>(v)) return true;
  return false;
}

// Layout: signature, then per field: id (1 byte), kind (1 byte), byte length
// (4 bytes, little-endian), the bytes (integers little-endian).
std::vector<uint8_t> FileFields::Serialize() const {
  std::vector<uint8_t> out;
  if (!Any()) return out;
  out.insert(out.end(), kSignature, kSignature + sizeof kSignature);
  for (int id = 0; id < kCount; ++id) {
    const FieldValue& v = values_[id];
    if (const auto* s = std::get_if<std::string>(&v)) {
      out.push_back(uint8_t(id));
      out.push_back(kText);
      Put32(out, uint32_t(s->size()));
      out.insert(out.end(), s->begin(), s->end());
    } else if (const auto* b = std::get_if<std::vector<uint8_t>>(&v)) {
      out.push_back(uint8_t(id));
      out.push_back(kBytes);
      Put32(out, uint32_t(b->size()));
      out.insert(out.end(), b->begin(), b->end());
    } else if (const auto* l = std::get_if<std::vector<int32_t>>(&v)) {
      out.push_back(uint8_t(id));
      out.push_back(kLongs);
      Put32(out, uint32_t(l->size() * 4));
      for (int32_t x : *l) Put32(out, uint32_t(x));
    }
  }
  return out;
}

bool FileFields::Parse(const uint8_t* data, size_t size) {
  Clear();
  if (size < sizeof kSignature || std::memcmp(data, kSignature, sizeof kSignature) != 0) return false;
  FileFields parsed;
  size_t pos = sizeof kSignature;
  while (pos < size) {
    if (size - pos < 6) return false;
    const int id = data[pos];
    const uint8_t kind = data[pos + 1];
    const uint32_t len = Get32(data + pos + 2);
    pos += 6;
    if (id >= kCount || len > size - pos) return false;
    const uint8_t* p = data + pos;
    switch (kind) {
      case kText:
        parsed.values_[id] = std::string(reinterpret_cast<const char*>(p), len);
        break;
      case kBytes:
        parsed.values_[id] = std::vector<uint8_t>(p, p + len);
        break;
      case kLongs: {
        if (len % 4) return false;
        std::vector<int32_t> l(len / 4);
        for (size_t i = 0; i < l.size(); ++i) l[i] = int32_t(Get32(p + 4 * i));
        parsed.values_[id] = std::move(l);
        break;
      }
      default:
        return false;
    }
    pos += len;
  }
  *this = std::move(parsed);
  return true;
}

}  // namespace plat::imaging
