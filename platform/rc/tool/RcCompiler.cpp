#include "RcCompiler.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "RcBinary.h"
#include "RcExpression.h"

namespace rcc {
namespace {

// Resource types and the style bits the script's statements imply; these belong to the
// script format itself.
enum : uint32_t {
  kRtCursor = 1, kRtBitmap = 2, kRtIcon = 3, kRtMenu = 4, kRtDialog = 5, kRtString = 6,
  kRtAccelerator = 9, kRtRcdata = 10, kRtGroupCursor = 12, kRtGroupIcon = 14, kRtVersion = 16,
  kRtToolbar = 241, kRtDlgInit = 240,
};
constexpr uint32_t kWsPopup = 0x80000000, kWsChild = 0x40000000, kWsVisible = 0x10000000,
                   kWsBorder = 0x00800000, kWsCaption = 0x00C00000, kWsSysMenu = 0x00080000,
                   kWsGroup = 0x00020000, kWsTabStop = 0x00010000, kDsSetFont = 0x40;

struct ControlKind {
  const char* keyword;
  uint16_t atom;      // predefined class atom
  uint32_t style;     // default style besides kWsChild | kWsVisible
  bool hasText;
};
// 0x80 button, 0x81 edit, 0x82 static, 0x83 list box, 0x84 scroll bar, 0x85 combo box
const ControlKind kControls[] = {
    {"LTEXT", 0x82, 0x0 | kWsGroup, true},          {"RTEXT", 0x82, 0x2 | kWsGroup, true},
    {"CTEXT", 0x82, 0x1 | kWsGroup, true},          {"ICON", 0x82, 0x3, true},
    {"PUSHBUTTON", 0x80, 0x0 | kWsTabStop, true},   {"DEFPUSHBUTTON", 0x80, 0x1 | kWsTabStop, true},
    {"CHECKBOX", 0x80, 0x2 | kWsTabStop, true},     {"AUTOCHECKBOX", 0x80, 0x3 | kWsTabStop, true},
    {"RADIOBUTTON", 0x80, 0x4, true},               {"STATE3", 0x80, 0x5 | kWsTabStop, true},
    {"AUTO3STATE", 0x80, 0x6 | kWsTabStop, true},   {"GROUPBOX", 0x80, 0x7, true},
    {"AUTORADIOBUTTON", 0x80, 0x9, true},           {"PUSHBOX", 0x80, 0xA | kWsTabStop, true},
    {"EDITTEXT", 0x81, 0x0 | kWsBorder | kWsTabStop, false},
    {"LISTBOX", 0x83, 0x1 | kWsBorder, false},      {"SCROLLBAR", 0x84, 0x0, false},
    {"COMBOBOX", 0x85, 0x1 | kWsTabStop, false},
};

const char* kMemoryOptions[] = {"DISCARDABLE", "MOVEABLE", "FIXED", "PURE", "IMPURE", "PRELOAD", "LOADONCALL", "SHARED", "NONSHARED"};

std::string Upper(std::string s) {
  for (auto& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// A class name written as text that names a predefined control becomes its atom.
uint16_t PredefinedClass(const std::string& cls) {
  std::string u = Upper(cls);
  if (u == "BUTTON") return 0x80;
  if (u == "EDIT") return 0x81;
  if (u == "STATIC") return 0x82;
  if (u == "LISTBOX") return 0x83;
  if (u == "SCROLLBAR") return 0x84;
  if (u == "COMBOBOX") return 0x85;
  return 0;
}

void PutNameOrOrdinal(std::vector<uint8_t>& v, const ResName& n) {
  if (n.name.empty() && n.id == 0) {
    PutWord(v, 0);
  } else if (n.name.empty()) {
    PutWord(v, 0xFFFF);
    PutWord(v, n.id);
  } else {
    PutText(v, n.name);
  }
}

}  // namespace

std::u16string Utf8ToUtf16(const std::string& s) {
  std::u16string out;
  for (size_t i = 0; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    uint32_t cp;
    int n;
    if (c < 0x80) { cp = c; n = 1; }
    else if ((c >> 5) == 6) { cp = c & 0x1F; n = 2; }
    else if ((c >> 4) == 14) { cp = c & 0x0F; n = 3; }
    else if ((c >> 3) == 30) { cp = c & 0x07; n = 4; }
    else { cp = 0xFFFD; n = 1; }
    if (i + n > s.size()) { cp = 0xFFFD; n = 1; }
    for (int k = 1; k < n; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    i += n;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (cp >> 10));
      out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
  }
  return out;
}

const Token& RcCompiler::Peek(size_t ahead) const {
  static const Token kEnd{Token::Punct, "", true, "end of script"};
  return pos_ + ahead < tokens_->size() ? (*tokens_)[pos_ + ahead] : kEnd;
}
const Token& RcCompiler::Next() {
  if (AtEnd()) Fail("script ends early");
  return (*tokens_)[pos_++];
}
bool RcCompiler::IsWord(const char* w, size_t ahead) const {
  const Token& t = Peek(ahead);
  return t.kind == Token::Word && Upper(t.text) == w;
}
bool RcCompiler::IsPunct(const char* p) const { return Peek().kind == Token::Punct && Peek().text == p; }
void RcCompiler::Expect(const char* p) {
  if (!IsPunct(p)) Fail(std::string("expected '") + p + "'");
  ++pos_;
}
void RcCompiler::SkipComma() {
  if (IsPunct(",")) ++pos_;
}
bool RcCompiler::AtBegin() const { return IsWord("BEGIN") || IsPunct("{"); }
void RcCompiler::ExpectBegin() {
  if (!AtBegin()) Fail("expected BEGIN");
  ++pos_;
}
bool RcCompiler::AtEndBlock() const { return IsWord("END") || IsPunct("}"); }
void RcCompiler::ExpectEndBlock() {
  if (!AtEndBlock()) Fail("expected END");
  ++pos_;
}
void RcCompiler::Fail(const std::string& what) const {
  throw std::runtime_error(Peek().where + ": " + what + (AtEnd() ? "" : " (at '" + Peek().text + "')"));
}

bool RcCompiler::ExpressionFollows() const {
  const Token& t = Peek();
  if (AtEnd() || t.kind == Token::String) return false;
  if (t.kind == Token::Number) return true;
  if (t.kind == Token::Punct) return t.text == "(" || t.text == "-" || t.text == "~" || t.text == "+" || t.text == "!";
  if (Upper(t.text) == "NOT") return true;
  return defines_.count(t.text) > 0;
}

// An expression runs to a comma at depth 0, or to a token that starts a new line when
// nothing before it asks for more.
int64_t RcCompiler::Expression(int64_t base) {
  std::string text;
  std::string where = Peek().where;
  int depth = 0;
  bool wantMore = true;
  while (!AtEnd()) {
    const Token& t = Peek();
    if (t.kind == Token::String) break;
    if (t.kind == Token::Punct && t.text == "," && depth == 0) break;
    if (t.kind == Token::Punct && (t.text == "{" || t.text == "}")) break;
    if (t.kind == Token::Word && (Upper(t.text) == "BEGIN" || Upper(t.text) == "END")) break;
    bool isOp = t.kind == Token::Punct && t.text != "(" && t.text != ")";
    if (!wantMore && !isOp && !(t.kind == Token::Punct && t.text == ")" && depth > 0)) break;
    if (t.text == "(") ++depth;
    if (t.text == ")") {
      if (depth == 0) break;
      --depth;
    }
    text += t.text;
    text += ' ';
    ++pos_;
    wantMore = isOp || t.text == "(" || Upper(t.text) == "NOT";
  }
  if (text.empty()) Fail("expected a number");
  return EvaluateExpression(text, defines_, where, false, base);
}

std::string RcCompiler::Text() {
  if (Peek().kind != Token::String) Fail("expected a string");
  return Next().text;
}

ResName RcCompiler::Name() {
  const Token& t = Peek();
  ResName n;
  if (t.kind == Token::String) {
    n.name = Upper(Next().text);
  } else if (ExpressionFollows()) {
    n.id = static_cast<uint32_t>(Expression() & 0xFFFF);
  } else if (t.kind == Token::Word) {
    n.name = Upper(Next().text);
  } else {
    Fail("expected a resource name");
  }
  return n;
}

std::vector<uint8_t> RcCompiler::ReadFile(const std::string& file) const {
  std::string f = file;
  std::replace(f.begin(), f.end(), '\\', '/');
  std::filesystem::path p = std::filesystem::path(baseDir_) / f;
  std::ifstream in(p, std::ios::binary);
  if (!in) throw std::runtime_error(Peek().where + ": cannot read " + p.string());
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void RcCompiler::Add(uint32_t type, const ResName& name, std::vector<uint8_t> data) {
  out_.push_back(Resource{ResName{type, ""}, name, std::move(data)});
}

void RcCompiler::SkipOptions() {
  for (;;) {
    bool skipped = false;
    for (const char* o : kMemoryOptions)
      if (IsWord(o)) {
        ++pos_;
        skipped = true;
      }
    if (IsWord("LANGUAGE")) {
      ++pos_;
      Expression();
      SkipComma();
      Expression();
      skipped = true;
    } else if (IsWord("VERSION") || IsWord("CHARACTERISTICS")) {
      ++pos_;
      Expression();
      skipped = true;
    }
    if (!skipped) return;
  }
}

void RcCompiler::SkipBlock() {
  ExpectBegin();
  int depth = 1;
  while (depth > 0) {
    if (AtBegin()) ++depth;
    if (AtEndBlock()) --depth;
    Next();
  }
}

std::vector<Resource> RcCompiler::Compile(const std::vector<Token>& tokens) {
  tokens_ = &tokens;
  pos_ = 0;
  out_.clear();
  strings_.clear();
  while (!AtEnd()) {
    if (IsWord("STRINGTABLE")) {
      ++pos_;
      StringTable();
      continue;
    }
    if (IsWord("LANGUAGE")) {
      SkipOptions();
      continue;
    }
    ResName name = Name();
    const Token& typeTok = Peek();
    std::string type = Upper(typeTok.text);
    if (typeTok.kind == Token::Word && type == "DIALOG") { ++pos_; Dialog(name, false); }
    else if (typeTok.kind == Token::Word && type == "DIALOGEX") { ++pos_; Dialog(name, true); }
    else if (typeTok.kind == Token::Word && type == "MENU") { ++pos_; Menu(name, false); }
    else if (typeTok.kind == Token::Word && type == "MENUEX") { ++pos_; Menu(name, true); }
    else if (typeTok.kind == Token::Word && type == "ACCELERATORS") { ++pos_; Accelerators(name); }
    else if (typeTok.kind == Token::Word && type == "TOOLBAR") { ++pos_; Toolbar(name); }
    else if (typeTok.kind == Token::Word && type == "VERSIONINFO") { ++pos_; VersionInfo(name); }
    else if (typeTok.kind == Token::Word && (type == "BITMAP" || type == "ICON" || type == "CURSOR")) {
      ++pos_;
      SkipOptions();
      std::vector<uint8_t> bytes = ReadFile(Peek().kind == Token::String ? Text() : Next().text);
      if (type == "BITMAP") {
        // A bitmap resource is the file without its 14-byte file header.
        if (bytes.size() < 14 + 40 || bytes[0] != 'B' || bytes[1] != 'M') Fail("not a BMP file");
        bytes.erase(bytes.begin(), bytes.begin() + 14);
        Add(kRtBitmap, name, std::move(bytes));
      } else {
        // Icons and cursors are kept whole, as their files are; the loader reads the directory.
        Add(type == "ICON" ? kRtGroupIcon : kRtGroupCursor, name, std::move(bytes));
      }
    } else if (typeTok.kind == Token::Word && (type == "TEXTINCLUDE" || type == "DESIGNINFO" || type == "GUIDELINES")) {
      ++pos_;
      SkipOptions();
      SkipBlock();
    } else if (typeTok.kind == Token::Word && type == "RCDATA") {
      ++pos_;
      RawData(ResName{kRtRcdata, ""}, name);
    } else if (typeTok.kind == Token::Word && type == "DLGINIT") {
      // A dialog's initial data: records of control id, message, length and bytes.
      ++pos_;
      RawData(ResName{kRtDlgInit, ""}, name);
    } else {
      ResName t = Name();
      RawData(t, name);
    }
  }
  // Strings go out in blocks of 16, block n + 1 holding ids 16n to 16n + 15.
  for (auto& [block, texts] : strings_) {
    std::vector<uint8_t> data;
    for (uint32_t k = 0; k < 16; ++k) {
      uint32_t id = (block - 1) * 16 + k;
      auto it = texts.find(id);
      std::u16string u = it == texts.end() ? u"" : Utf8ToUtf16(it->second);
      PutWord(data, static_cast<uint32_t>(u.size()));
      for (char16_t c : u) PutWord(data, c);
    }
    Add(kRtString, ResName{block, ""}, std::move(data));
  }
  std::stable_sort(out_.begin(), out_.end(), [](const Resource& a, const Resource& b) {
    if (a.type.id != b.type.id || a.type.name != b.type.name) return a.type < b.type;
    return a.name < b.name;
  });
  for (size_t i = 1; i < out_.size(); ++i)
    if (!(out_[i - 1].type < out_[i].type) && !(out_[i].type < out_[i - 1].type) &&
        !(out_[i - 1].name < out_[i].name) && !(out_[i].name < out_[i - 1].name))
      throw std::runtime_error("resource defined twice: " +
                               (out_[i].name.name.empty() ? std::to_string(out_[i].name.id) : out_[i].name.name));
  return std::move(out_);
}

void RcCompiler::StringTable() {
  SkipOptions();
  ExpectBegin();
  while (!AtEndBlock()) {
    uint32_t id = static_cast<uint32_t>(Expression() & 0xFFFF);
    SkipComma();
    std::string text = Text();
    // Adjacent literals join.
    while (Peek().kind == Token::String) text += Next().text;
    auto& block = strings_[(id >> 4) + 1];
    if (block.count(id)) Fail("string " + std::to_string(id) + " defined twice");
    block[id] = text;
  }
  ExpectEndBlock();
}

void RcCompiler::Dialog(const ResName& name, bool extended) {
  SkipOptions();
  int64_t x = Expression(); SkipComma();
  int64_t y = Expression(); SkipComma();
  int64_t cx = Expression(); SkipComma();
  int64_t cy = Expression();
  uint32_t help = 0;
  if (IsPunct(",")) {
    ++pos_;
    help = static_cast<uint32_t>(Expression());
  }
  uint32_t style = kWsPopup | kWsBorder | kWsSysMenu, exStyle = 0;
  bool styleGiven = false;
  std::string caption, face;
  ResName menu, cls;
  int64_t pointSize = 0, weight = 0, italic = 0, charset = 1;
  bool hasFont = false;
  for (;;) {
    if (IsWord("STYLE")) { ++pos_; style = static_cast<uint32_t>(Expression()); styleGiven = true; }
    else if (IsWord("EXSTYLE")) { ++pos_; exStyle = static_cast<uint32_t>(Expression()); }
    else if (IsWord("CAPTION")) { ++pos_; caption = Text(); if (!styleGiven) style |= kWsCaption; }
    else if (IsWord("MENU")) { ++pos_; menu = Name(); }
    else if (IsWord("CLASS")) { ++pos_; cls = Name(); }
    else if (IsWord("FONT")) {
      ++pos_;
      hasFont = true;
      pointSize = Expression(); SkipComma();
      face = Text();
      if (IsPunct(",")) { ++pos_; weight = Expression(); }
      if (IsPunct(",")) { ++pos_; italic = Expression(); }
      if (IsPunct(",")) { ++pos_; charset = Expression(); }
    } else if (IsWord("LANGUAGE") || IsWord("VERSION") || IsWord("CHARACTERISTICS")) { SkipOptions(); }
    else break;
  }
  if (hasFont) style |= kDsSetFont;

  struct Item {
    uint32_t style, exStyle, help;
    int64_t x, y, cx, cy;
    uint32_t id;
    ResName cls, text;
    std::vector<uint8_t> extra;
  };
  std::vector<Item> items;
  ExpectBegin();
  while (!AtEndBlock()) {
    Item it{};
    std::string kw = Upper(Peek().text);
    ++pos_;
    const ControlKind* kind = nullptr;
    for (const auto& k : kControls)
      if (kw == k.keyword) kind = &k;
    if (kw == "CONTROL") {
      it.text = Peek().kind == Token::String ? ResName{0, Text()} : Name();
      SkipComma();
      it.id = static_cast<uint32_t>(Expression()); SkipComma();
      std::string c = Peek().kind == Token::String ? Text() : Next().text;
      if (uint16_t atom = PredefinedClass(c)) it.cls = ResName{atom, ""};
      else it.cls = ResName{0, c};
      SkipComma();
      it.style = static_cast<uint32_t>(Expression(kWsChild | kWsVisible)); SkipComma();
      it.x = Expression(); SkipComma();
      it.y = Expression(); SkipComma();
      it.cx = Expression(); SkipComma();
      it.cy = Expression();
      if (IsPunct(",")) { ++pos_; it.exStyle = static_cast<uint32_t>(Expression()); }
      if (extended && IsPunct(",")) { ++pos_; it.help = static_cast<uint32_t>(Expression()); }
    } else if (kind) {
      if (kind->hasText) {
        // An ICON control names its icon by id or name; other texts are strings.
        if (Peek().kind == Token::String) it.text = ResName{0, Text()};
        else it.text = Name();
        SkipComma();
      }
      it.id = static_cast<uint32_t>(Expression()); SkipComma();
      it.x = Expression(); SkipComma();
      it.y = Expression();
      bool isIcon = kw == "ICON";
      if (!isIcon || IsPunct(",")) {
        SkipComma();
        it.cx = Expression(); SkipComma();
        it.cy = Expression();
      }
      it.style = kWsChild | kWsVisible | kind->style;
      if (IsPunct(",")) { ++pos_; it.style = static_cast<uint32_t>(Expression(it.style)); }
      if (IsPunct(",")) { ++pos_; it.exStyle = static_cast<uint32_t>(Expression()); }
      if (extended && IsPunct(",")) { ++pos_; it.help = static_cast<uint32_t>(Expression()); }
      it.cls = ResName{kind->atom, ""};
      // A plain text's name is a string even when written as an ordinal for icons only.
      if (!isIcon && it.text.name.empty() && it.text.id) it.text = ResName{0, std::to_string(it.text.id)};
    } else {
      --pos_;
      Fail("unknown control statement");
    }
    // Optional creation data: BEGIN n, n ... END after a control.
    if (AtBegin()) {
      ++pos_;
      while (!AtEndBlock()) {
        PutWord(it.extra, static_cast<uint32_t>(Expression()));
        SkipComma();
      }
      ExpectEndBlock();
    }
    items.push_back(std::move(it));
  }
  ExpectEndBlock();

  std::vector<uint8_t> d;
  if (extended) {
    PutWord(d, 1);
    PutWord(d, 0xFFFF);
    PutDword(d, help);
    PutDword(d, exStyle);
    PutDword(d, style);
  } else {
    PutDword(d, style);
    PutDword(d, exStyle);
  }
  PutWord(d, static_cast<uint32_t>(items.size()));
  PutWord(d, static_cast<uint32_t>(x)); PutWord(d, static_cast<uint32_t>(y));
  PutWord(d, static_cast<uint32_t>(cx)); PutWord(d, static_cast<uint32_t>(cy));
  PutNameOrOrdinal(d, menu);
  PutNameOrOrdinal(d, cls);
  PutText(d, caption);
  if (hasFont) {
    PutWord(d, static_cast<uint32_t>(pointSize));
    if (extended) {
      PutWord(d, static_cast<uint32_t>(weight));
      d.push_back(static_cast<uint8_t>(italic));
      d.push_back(static_cast<uint8_t>(charset));
    }
    PutText(d, face);
  }
  for (const Item& it : items) {
    AlignDword(d);
    if (extended) {
      PutDword(d, it.help);
      PutDword(d, it.exStyle);
      PutDword(d, it.style);
    } else {
      PutDword(d, it.style);
      PutDword(d, it.exStyle);
    }
    PutWord(d, static_cast<uint32_t>(it.x)); PutWord(d, static_cast<uint32_t>(it.y));
    PutWord(d, static_cast<uint32_t>(it.cx)); PutWord(d, static_cast<uint32_t>(it.cy));
    if (extended) PutDword(d, it.id);
    else PutWord(d, it.id & 0xFFFF);
    PutNameOrOrdinal(d, it.cls);
    if (it.text.name.empty() && it.text.id == 0) PutText(d, "");
    else PutNameOrOrdinal(d, it.text);
    PutWord(d, static_cast<uint32_t>(it.extra.size()));
    d.insert(d.end(), it.extra.begin(), it.extra.end());
  }
  Add(kRtDialog, name, std::move(d));
}

void RcCompiler::Menu(const ResName& name, bool extended) {
  if (extended) Fail("MENUEX is not supported");
  SkipOptions();
  std::vector<uint8_t> d;
  PutWord(d, 0);  // version
  PutWord(d, 0);  // header size
  MenuItems(d, extended);
  Add(kRtMenu, name, std::move(d));
}

uint32_t RcCompiler::MenuOption(const std::string& option) const {
  if (option == "CHECKED") return 0x8;
  if (option == "GRAYED") return 0x1;
  if (option == "INACTIVE") return 0x2;
  if (option == "MENUBARBREAK") return 0x20;
  if (option == "MENUBREAK") return 0x40;
  if (option == "HELP") return 0x4000;
  Fail("unknown menu option " + option);
}

void RcCompiler::MenuItems(std::vector<uint8_t>& out, bool extended) {
  ExpectBegin();
  struct Pending {
    std::vector<uint8_t> bytes;  // item bytes, flags word first
  };
  std::vector<Pending> items;
  while (!AtEndBlock()) {
    Pending p;
    if (IsWord("POPUP")) {
      ++pos_;
      std::string text = Text();
      uint32_t flags = 0x10;  // MF_POPUP
      while (IsPunct(",") || (Peek().kind == Token::Word && !AtBegin())) {
        SkipComma();
        flags |= MenuOption(Upper(Next().text));
      }
      PutWord(p.bytes, flags);
      PutText(p.bytes, text);
      MenuItems(p.bytes, extended);
    } else if (IsWord("MENUITEM")) {
      ++pos_;
      if (IsWord("SEPARATOR")) {
        ++pos_;
        PutWord(p.bytes, 0);
        PutWord(p.bytes, 0);
        PutText(p.bytes, "");
      } else {
        std::string text = Text();
        SkipComma();
        uint32_t id = static_cast<uint32_t>(Expression());
        uint32_t flags = 0;
        while (IsPunct(",") || (Peek().kind == Token::Word && !IsWord("MENUITEM") && !IsWord("POPUP") && !AtEndBlock())) {
          SkipComma();
          flags |= MenuOption(Upper(Next().text));
        }
        PutWord(p.bytes, flags);
        PutWord(p.bytes, id & 0xFFFF);
        PutText(p.bytes, text);
      }
    } else {
      Fail("expected POPUP or MENUITEM");
    }
    items.push_back(std::move(p));
  }
  ExpectEndBlock();
  if (items.empty()) Fail("empty menu");
  // The last item of each level carries MF_END.
  items.back().bytes[0] |= 0x80;
  for (auto& p : items) out.insert(out.end(), p.bytes.begin(), p.bytes.end());
}

void RcCompiler::Accelerators(const ResName& name) {
  SkipOptions();
  ExpectBegin();
  std::vector<uint8_t> d;
  size_t count = 0;
  while (!AtEndBlock()) {
    uint32_t key = 0;
    bool fromText = false;
    if (Peek().kind == Token::String) {
      std::string k = Text();
      fromText = true;
      if (k.size() == 2 && k[0] == '^') key = static_cast<uint32_t>(std::toupper(static_cast<unsigned char>(k[1])) - '@');
      else if (k.size() == 1) key = static_cast<unsigned char>(k[0]);
      else Fail("bad accelerator key \"" + k + "\"");
    } else {
      key = static_cast<uint32_t>(Expression());
    }
    SkipComma();
    uint32_t cmd = static_cast<uint32_t>(Expression());
    uint32_t flags = 0;
    while (IsPunct(",")) {
      ++pos_;
      std::string o = Upper(Next().text);
      if (o == "VIRTKEY") flags |= 0x1;
      else if (o == "ASCII") ;
      else if (o == "NOINVERT") flags |= 0x2;
      else if (o == "SHIFT") flags |= 0x4;
      else if (o == "CONTROL") flags |= 0x8;
      else if (o == "ALT") flags |= 0x10;
      else Fail("unknown accelerator option " + o);
    }
    // A virtual key written as a letter is its upper-case code.
    if ((flags & 0x1) && fromText && key >= 'a' && key <= 'z') key -= 32;
    PutWord(d, flags);
    PutWord(d, key);
    PutWord(d, cmd);
    PutWord(d, 0);
    ++count;
  }
  ExpectEndBlock();
  if (count) d[d.size() - 8] |= 0x80;  // the last entry
  Add(kRtAccelerator, name, std::move(d));
}

void RcCompiler::Toolbar(const ResName& name) {
  SkipOptions();
  int64_t w = Expression();
  SkipComma();
  int64_t h = Expression();
  ExpectBegin();
  std::vector<uint32_t> ids;
  while (!AtEndBlock()) {
    if (IsWord("SEPARATOR")) {
      ++pos_;
      ids.push_back(0);
    } else if (IsWord("BUTTON")) {
      ++pos_;
      ids.push_back(static_cast<uint32_t>(Expression()));
    } else {
      Fail("expected BUTTON or SEPARATOR");
    }
  }
  ExpectEndBlock();
  std::vector<uint8_t> d;
  PutWord(d, 1);
  PutWord(d, static_cast<uint32_t>(w));
  PutWord(d, static_cast<uint32_t>(h));
  PutWord(d, static_cast<uint32_t>(ids.size()));
  for (uint32_t id : ids) PutWord(d, id);
  Add(kRtToolbar, name, std::move(d));
}

// A version node: length, value length, type (1 text), key, padding, value, children.
void RcCompiler::VersionBlock(std::vector<uint8_t>& out, const std::string& key, bool textValues) {
  ExpectBegin();
  while (!AtEndBlock()) {
    std::vector<uint8_t> node;
    if (IsWord("BLOCK")) {
      ++pos_;
      std::string k = Text();
      PutWord(node, 0);
      PutWord(node, 0);
      PutWord(node, 1);
      PutText(node, k);
      AlignDword(node);
      VersionBlock(node, k, k == "StringFileInfo" || textValues);
    } else if (IsWord("VALUE")) {
      ++pos_;
      std::string k = Text();
      std::vector<uint8_t> value;
      bool isText = false;
      uint32_t valueLength = 0;
      while (IsPunct(",")) {
        ++pos_;
        if (Peek().kind == Token::String) {
          std::string v = Text();
          PutText(value, v);
          isText = true;
          valueLength = static_cast<uint32_t>(value.size() / 2);
        } else {
          PutWord(value, static_cast<uint32_t>(Expression()));
          valueLength = static_cast<uint32_t>(value.size());
        }
      }
      PutWord(node, 0);
      PutWord(node, valueLength);
      PutWord(node, isText ? 1 : 0);
      PutText(node, k);
      AlignDword(node);
      node.insert(node.end(), value.begin(), value.end());
    } else {
      Fail("expected BLOCK or VALUE");
    }
    node[0] = static_cast<uint8_t>(node.size());
    node[1] = static_cast<uint8_t>(node.size() >> 8);
    AlignDword(out);
    out.insert(out.end(), node.begin(), node.end());
  }
  ExpectEndBlock();
  (void)key;
}

void RcCompiler::VersionInfo(const ResName& name) {
  uint32_t fileVersion[4] = {}, productVersion[4] = {};
  uint32_t fixed[5] = {0x3F, 0, 0x4, 0x1, 0};  // flags mask, flags, OS, type, subtype
  for (;;) {
    auto readVersion = [&](uint32_t* v) {
      for (int i = 0; i < 4; ++i) {
        v[i] = static_cast<uint32_t>(Expression());
        if (i < 3) {
          if (!IsPunct(",")) break;
          ++pos_;
        }
      }
    };
    if (IsWord("FILEVERSION")) { ++pos_; readVersion(fileVersion); }
    else if (IsWord("PRODUCTVERSION")) { ++pos_; readVersion(productVersion); }
    else if (IsWord("FILEFLAGSMASK")) { ++pos_; fixed[0] = static_cast<uint32_t>(Expression()); }
    else if (IsWord("FILEFLAGS")) { ++pos_; fixed[1] = static_cast<uint32_t>(Expression()); }
    else if (IsWord("FILEOS")) { ++pos_; fixed[2] = static_cast<uint32_t>(Expression()); }
    else if (IsWord("FILETYPE")) { ++pos_; fixed[3] = static_cast<uint32_t>(Expression()); }
    else if (IsWord("FILESUBTYPE")) { ++pos_; fixed[4] = static_cast<uint32_t>(Expression()); }
    else break;
  }
  std::vector<uint8_t> d;
  PutWord(d, 0);
  PutWord(d, 52);  // the fixed file information
  PutWord(d, 0);
  PutText(d, "VS_VERSION_INFO");
  AlignDword(d);
  PutDword(d, 0xFEEF04BD);
  PutDword(d, 0x00010000);
  PutDword(d, (fileVersion[0] << 16) | fileVersion[1]);
  PutDword(d, (fileVersion[2] << 16) | fileVersion[3]);
  PutDword(d, (productVersion[0] << 16) | productVersion[1]);
  PutDword(d, (productVersion[2] << 16) | productVersion[3]);
  for (uint32_t f : fixed) PutDword(d, f);
  PutDword(d, 0);
  PutDword(d, 0);
  VersionBlock(d, "VS_VERSION_INFO", false);
  d[0] = static_cast<uint8_t>(d.size());
  d[1] = static_cast<uint8_t>(d.size() >> 8);
  Add(kRtVersion, name, std::move(d));
}

void RcCompiler::RawData(const ResName& type, const ResName& name) {
  SkipOptions();
  std::vector<uint8_t> d;
  if (AtBegin()) {
    ++pos_;
    while (!AtEndBlock()) {
      if (Peek().kind == Token::String) {
        const std::string s = Text();
        d.insert(d.end(), s.begin(), s.end());
      } else {
        // A number with an L suffix is a DWORD, otherwise a WORD.
        bool isLong = Peek().kind == Token::Number && !Peek().text.empty() &&
                      (Peek().text.back() == 'L' || Peek().text.back() == 'l');
        uint32_t v = static_cast<uint32_t>(Expression());
        if (isLong) PutDword(d, v);
        else PutWord(d, v);
      }
      SkipComma();
    }
    ExpectEndBlock();
  } else {
    d = ReadFile(Peek().kind == Token::String ? Text() : Next().text);
  }
  out_.push_back(Resource{type, name, std::move(d)});
}

}  // namespace rcc
