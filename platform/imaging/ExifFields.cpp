#include "imaging/ExifFields.h"

#include <algorithm>
#include <cstring>

namespace plat::imaging::exif {
namespace {

enum Field { kOriginal = 22, kDigitized = 23, kExposure = 34, kUserComment = 36, kDescription = 37 };

enum Tag : uint16_t {
  kTagDescription = 270,
  kTagExposureTime = 33434,
  kTagExifIfd = 34665,
  kTagExifVersion = 36864,
  kTagOriginal = 36867,
  kTagDigitized = 36868,
  kTagUserComment = 37510,
  kTagFlashpixVersion = 40960,
  kTagColorSpace = 40961,
};
enum Type : uint16_t { kByte = 1, kAscii = 2, kShort = 3, kLong = 4, kRational = 5, kUndefined = 7, kIfd = 13 };

// Field 37 holds its text as UserComment does: this character code, the text, a NUL.
constexpr uint8_t kAsciiCode[8] = {'A', 'S', 'C', 'I', 'I', 0, 0, 0};

bool AsciiCoded(const std::vector<uint8_t>& b) {
  if (b.size() < 9 || std::memcmp(b.data(), kAsciiCode, 8) != 0 || b.back() != 0) return false;
  return std::find(b.begin() + 8, b.end() - 1, 0) == b.end() - 1;
}

std::optional<std::string> PlainText(const FieldValue& v) {
  const auto* s = std::get_if<std::string>(&v);
  if (!s || s->find('\0') != std::string::npos) return std::nullopt;
  return *s;
}

// ---- writing

struct Entry {
  uint16_t tag, type;
  uint32_t count;
  std::vector<uint8_t> value;
};

void Put16(std::vector<uint8_t>& o, uint16_t v) {
  o.push_back(uint8_t(v));
  o.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& o, uint32_t v) {
  for (int i = 0; i < 4; ++i) o.push_back(uint8_t(v >> (8 * i)));
}
void Set32(std::vector<uint8_t>& o, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) o[at + i] = uint8_t(v >> (8 * i));
}

Entry Text(uint16_t tag, const std::string& s) {
  std::vector<uint8_t> v(s.begin(), s.end());
  v.push_back(0);
  return Entry{tag, kAscii, uint32_t(v.size()), std::move(v)};
}

// Size of a directory and the values that do not fit in its entries.
size_t IfdBytes(const std::vector<Entry>& entries) {
  size_t n = 2 + 12 * entries.size() + 4;
  for (const Entry& e : entries)
    if (e.value.size() > 4) n += (e.value.size() + 1) & ~size_t(1);
  return n;
}

// Appends a directory whose first byte lands at offset out.size(); values follow it.
void WriteIfd(std::vector<uint8_t>& out, const std::vector<Entry>& entries) {
  const size_t start = out.size();
  size_t data = start + 2 + 12 * entries.size() + 4;
  Put16(out, uint16_t(entries.size()));
  std::vector<const Entry*> outside;
  for (const Entry& e : entries) {
    Put16(out, e.tag);
    Put16(out, e.type);
    Put32(out, e.count);
    if (e.value.size() <= 4) {
      for (size_t i = 0; i < 4; ++i) out.push_back(i < e.value.size() ? e.value[i] : 0);
    } else {
      Put32(out, uint32_t(data));
      data += (e.value.size() + 1) & ~size_t(1);
      outside.push_back(&e);
    }
  }
  Put32(out, 0);  // no further directory
  for (const Entry* e : outside) {
    out.insert(out.end(), e->value.begin(), e->value.end());
    if (e->value.size() & 1) out.push_back(0);
  }
}

// ---- reading

// A value is read only this large: no comment needs more, and a damaged count cannot
// make the reader allocate for more.
constexpr uint64_t kMaxValue = FileFields::kMaxBlock;

class Reader {
 public:
  Reader(const ReadAt& read, uint64_t size) : read_(read), size_(size) {}

  bool Header(uint32_t* ifd0) {
    uint8_t h[8];
    if (!Bytes(0, 8, h)) return false;
    if (h[0] == 'I' && h[1] == 'I')
      little_ = true;
    else if (h[0] == 'M' && h[1] == 'M')
      little_ = false;
    else
      return false;
    if (U16(h + 2) != 42) return false;  // BigTIFF and others carry no block of ours
    *ifd0 = U32(h + 4);
    return true;
  }

  // Calls visit(tag, type, value bytes) for each entry whose value lies within the data.
  template <class Visit>
  void Directory(uint64_t at, Visit visit) const {
    uint8_t c[2];
    if (!Bytes(at, 2, c)) return;
    const uint64_t count = U16(c);
    if (at + 2 + 12 * count > size_) return;  // a directory cut short is not read
    std::vector<uint8_t> entries(size_t(12 * count));
    if (!Bytes(at + 2, entries.size(), entries.data())) return;
    for (uint64_t i = 0; i < count; ++i) {
      const uint8_t* e = entries.data() + 12 * i;
      const uint16_t tag = U16(e), type = U16(e + 2);
      const uint64_t bytes = uint64_t(U32(e + 4)) * TypeSize(type);
      if (bytes == 0 || bytes > kMaxValue) continue;
      std::vector<uint8_t> value(static_cast<size_t>(bytes));
      if (bytes <= 4)
        std::memcpy(value.data(), e + 8, size_t(bytes));
      else if (!Bytes(U32(e + 8), value.size(), value.data()))
        continue;
      visit(tag, type, value);
    }
  }

  uint16_t U16(const uint8_t* p) const { return little_ ? uint16_t(p[0] | p[1] << 8) : uint16_t(p[0] << 8 | p[1]); }
  uint32_t U32(const uint8_t* p) const {
    return little_ ? uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24
                   : uint32_t(p[3]) | uint32_t(p[2]) << 8 | uint32_t(p[1]) << 16 | uint32_t(p[0]) << 24;
  }

 private:
  bool Bytes(uint64_t at, size_t n, uint8_t* out) const {
    if (n == 0) return at <= size_;  // nothing to read, and `out` may be null
    return at <= size_ && n <= size_ - at && read_(at, out, n) == n;
  }
  static uint64_t TypeSize(uint16_t type) {
    switch (type) {
      case 1: case 2: case 6: case 7: return 1;
      case 3: case 8: return 2;
      case 4: case 9: case 11: case 13: return 4;
      case 5: case 10: case 12: return 8;
      default: return 0;  // unknown types are skipped
    }
  }

  const ReadAt& read_;
  uint64_t size_;
  bool little_ = true;
};

std::string Ascii(const std::vector<uint8_t>& v) {
  const auto* p = reinterpret_cast<const char*>(v.data());
  return std::string(p, strnlen(p, v.size()));
}

}  // namespace

StandardFields Take(FileFields* fields) {
  StandardFields s;
  s.original = PlainText(fields->Get(kOriginal));
  s.digitized = PlainText(fields->Get(kDigitized));
  if (const auto* l = std::get_if<std::vector<int32_t>>(&fields->Get(kExposure));
      l && l->size() == 2 && (*l)[0] >= 0 && (*l)[1] >= 0)
    s.exposure = std::make_pair(uint32_t((*l)[0]), uint32_t((*l)[1]));
  if (const auto* b = std::get_if<std::vector<uint8_t>>(&fields->Get(kUserComment)); b && !b->empty())
    s.userComment = *b;
  if (const auto* b = std::get_if<std::vector<uint8_t>>(&fields->Get(kDescription)); b && AsciiCoded(*b))
    s.description = std::string(b->begin() + 8, b->end() - 1);
  // What does not fit in one Exif block stays in the private block, longest texts first.
  if (Encode(s).size() > kMaxBlock) s.userComment.reset();
  if (Encode(s).size() > kMaxBlock) s.description.reset();
  if (Encode(s).size() > kMaxBlock) s.original.reset();
  if (Encode(s).size() > kMaxBlock) s.digitized.reset();
  if (s.original) fields->Set(kOriginal, std::monostate{});
  if (s.digitized) fields->Set(kDigitized, std::monostate{});
  if (s.exposure) fields->Set(kExposure, std::monostate{});
  if (s.userComment) fields->Set(kUserComment, std::monostate{});
  if (s.description) fields->Set(kDescription, std::monostate{});
  return s;
}

void Give(const StandardFields& s, FileFields* fields) {
  if (s.original) fields->Set(kOriginal, *s.original);
  if (s.digitized) fields->Set(kDigitized, *s.digitized);
  if (s.exposure) fields->Set(kExposure, std::vector<int32_t>{int32_t(s.exposure->first), int32_t(s.exposure->second)});
  if (s.userComment) fields->Set(kUserComment, *s.userComment);
  if (s.description) {
    std::vector<uint8_t> b(kAsciiCode, kAsciiCode + 8);
    b.insert(b.end(), s.description->begin(), s.description->end());
    b.push_back(0);
    fields->Set(kDescription, std::move(b));
  }
}

std::vector<uint8_t> Encode(const StandardFields& s) {
  std::vector<Entry> ifd0, exif;
  if (s.description) ifd0.push_back(Text(kTagDescription, *s.description));
  if (s.exposure) {
    std::vector<uint8_t> v;
    Put32(v, s.exposure->first);
    Put32(v, s.exposure->second);
    exif.push_back(Entry{kTagExposureTime, kRational, 1, std::move(v)});
  }
  if (s.original || s.digitized || s.exposure || s.userComment)
    exif.push_back(Entry{kTagExifVersion, kUndefined, 4, {'0', '2', '3', '0'}});
  if (s.original) exif.push_back(Text(kTagOriginal, *s.original));
  if (s.digitized) exif.push_back(Text(kTagDigitized, *s.digitized));
  if (s.userComment) exif.push_back(Entry{kTagUserComment, kUndefined, uint32_t(s.userComment->size()), *s.userComment});
  if (!exif.empty()) {
    exif.push_back(Entry{kTagFlashpixVersion, kUndefined, 4, {'0', '1', '0', '0'}});
    exif.push_back(Entry{kTagColorSpace, kShort, 1, {1, 0}});  // sRGB
    ifd0.push_back(Entry{kTagExifIfd, kLong, 1, {0, 0, 0, 0}});  // set below
  }
  std::vector<uint8_t> out = {'I', 'I', 42, 0, 8, 0, 0, 0};
  if (ifd0.empty()) return out;
  const size_t exifAt = 8 + IfdBytes(ifd0);
  WriteIfd(out, ifd0);
  if (!exif.empty()) {
    // The pointer is the last entry of IFD 0 (tags rise): its value sits just before the link.
    Set32(out, 8 + 2 + 12 * ifd0.size() - 4, uint32_t(exifAt));
    WriteIfd(out, exif);
  }
  return out;
}

StandardFields Decode(const uint8_t* data, size_t size) {
  return Decode(
      [&](uint64_t at, void* out, size_t n) {
        std::memcpy(out, data + at, n);  // the reader asks only within the size
        return n;
      },
      size);
}

StandardFields Decode(const ReadAt& read, uint64_t size) {
  StandardFields s;
  Reader r(read, size);
  uint32_t ifd0 = 0;
  if (!r.Header(&ifd0)) return s;
  std::optional<uint32_t> exifAt;
  r.Directory(ifd0, [&](uint16_t tag, uint16_t type, const std::vector<uint8_t>& v) {
    if (tag == kTagDescription && type == kAscii)
      s.description = Ascii(v);
    else if (tag == kTagExifIfd && (type == kLong || type == kIfd))
      exifAt = r.U32(v.data());
  });
  if (!exifAt || *exifAt == ifd0) return s;
  r.Directory(*exifAt, [&](uint16_t tag, uint16_t type, const std::vector<uint8_t>& v) {
    if (tag == kTagExposureTime && type == kRational)
      s.exposure = std::make_pair(r.U32(v.data()), r.U32(v.data() + 4));
    else if (tag == kTagOriginal && type == kAscii)
      s.original = Ascii(v);
    else if (tag == kTagDigitized && type == kAscii)
      s.digitized = Ascii(v);
    else if (tag == kTagUserComment && (type == kUndefined || type == kByte || type == kAscii))
      s.userComment = v;
  });
  return s;
}

}  // namespace plat::imaging::exif
