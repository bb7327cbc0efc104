#include "DialogTemplate.h"

#include <cstring>

#include "rc/ResourceRegistry.h"

namespace plat::user {
namespace {

class Reader {
 public:
  Reader(const BYTE* p, size_t size) : p_(p), size_(size) {}
  bool Word(WORD& w) {
    if (at_ + 2 > size_) return false;
    w = static_cast<WORD>(p_[at_] | (p_[at_ + 1] << 8));
    at_ += 2;
    return true;
  }
  bool Dword(DWORD& d) {
    WORD lo, hi;
    if (!Word(lo) || !Word(hi)) return false;
    d = lo | (static_cast<DWORD>(hi) << 16);
    return true;
  }
  bool Short(short& s) {
    WORD w;
    if (!Word(w)) return false;
    s = static_cast<short>(w);
    return true;
  }
  bool Byte(BYTE& b) {
    if (at_ + 1 > size_) return false;
    b = p_[at_++];
    return true;
  }
  bool Text(std::string& out) {
    std::vector<uint16_t> units;
    for (;;) {
      WORD c;
      if (!Word(c)) return false;
      if (!c) break;
      units.push_back(c);
      if (units.size() > 65535) return false;
    }
    out = plat::rc::Utf16ToUtf8(units.data(), units.size());
    return true;
  }
  bool Name(NameOrId& n) {
    WORD first;
    if (!Word(first)) return false;
    if (first == 0) return true;
    if (first == 0xFFFF) {
      n.isId = true;
      return Word(n.id);
    }
    at_ -= 2;
    return Text(n.text);
  }
  bool Bytes(size_t n, std::vector<BYTE>& out) {
    if (at_ + n > size_) return false;
    out.assign(p_ + at_, p_ + at_ + n);
    at_ += n;
    return true;
  }
  void Align() { at_ = (at_ + 3) & ~size_t{3}; }

 private:
  const BYTE* p_;
  size_t size_;
  size_t at_ = 0;
};

}  // namespace

std::optional<DialogTemplateInfo> ParseDialogTemplate(const void* data, size_t size) {
  if (!data) return std::nullopt;
  Reader r(static_cast<const BYTE*>(data), size);
  DialogTemplateInfo t;
  WORD w0, w1;
  if (!r.Word(w0) || !r.Word(w1)) return std::nullopt;
  t.extended = (w0 == 1 && w1 == 0xFFFF);
  WORD count;
  if (t.extended) {
    if (!r.Dword(t.helpId) || !r.Dword(t.exStyle) || !r.Dword(t.style)) return std::nullopt;
  } else {
    t.style = w0 | (static_cast<DWORD>(w1) << 16);
    if (!r.Dword(t.exStyle)) return std::nullopt;
  }
  if (!r.Word(count) || !r.Short(t.x) || !r.Short(t.y) || !r.Short(t.cx) || !r.Short(t.cy)) return std::nullopt;
  if (!r.Name(t.menu) || !r.Name(t.cls) || !r.Text(t.caption)) return std::nullopt;
  if (t.style & 0x40 /* DS_SETFONT */) {
    t.hasFont = true;
    if (!r.Word(t.pointSize)) return std::nullopt;
    if (t.extended) {
      BYTE italic;
      if (!r.Word(t.weight) || !r.Byte(italic) || !r.Byte(t.charset)) return std::nullopt;
      t.italic = italic != 0;
    }
    if (!r.Text(t.face)) return std::nullopt;
  }
  for (WORD i = 0; i < count; ++i) {
    r.Align();
    DialogItem it;
    if (t.extended) {
      if (!r.Dword(it.helpId) || !r.Dword(it.exStyle) || !r.Dword(it.style)) return std::nullopt;
    } else {
      if (!r.Dword(it.style) || !r.Dword(it.exStyle)) return std::nullopt;
    }
    if (!r.Short(it.x) || !r.Short(it.y) || !r.Short(it.cx) || !r.Short(it.cy)) return std::nullopt;
    if (t.extended) {
      if (!r.Dword(it.id)) return std::nullopt;
    } else {
      WORD id;
      if (!r.Word(id)) return std::nullopt;
      it.id = id;
    }
    if (!r.Name(it.cls) || !r.Name(it.text)) return std::nullopt;
    WORD extra;
    if (!r.Word(extra)) return std::nullopt;
    if (extra && !r.Bytes(extra, it.creationData)) return std::nullopt;
    t.items.push_back(std::move(it));
  }
  return t;
}

const char* PredefinedClassName(WORD atom) {
  switch (atom) {
    case 0x80: return "Button";
    case 0x81: return "Edit";
    case 0x82: return "Static";
    case 0x83: return "ListBox";
    case 0x84: return "ScrollBar";
    case 0x85: return "ComboBox";
    default: return nullptr;
  }
}

}  // namespace plat::user
