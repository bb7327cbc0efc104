#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

using namespace std::string_literals;

#include "TestEnv.h"
#include "rc/ResourceRegistry.h"

namespace {

const char* Id(uintptr_t id) { return reinterpret_cast<const char*>(id); }

std::vector<uint8_t> Bytes(const plat::rc::Entry* e) {
  return e ? std::vector<uint8_t>(e->data, e->data + e->size) : std::vector<uint8_t>{};
}

// Reads the little-endian words of a resource.
struct Reader {
  const plat::rc::Entry* e;
  size_t at = 0;
  uint32_t Word() {
    uint32_t v = e->data[at] | (e->data[at + 1] << 8);
    at += 2;
    return v;
  }
  uint32_t Dword() {
    uint32_t lo = Word();
    return lo | (Word() << 16);
  }
  std::string Text() {
    std::vector<uint16_t> w;
    while (uint32_t c = Word()) w.push_back(static_cast<uint16_t>(c));
    return plat::rc::Utf16ToUtf8(w.data(), w.size());
  }
  void Align() { at = (at + 3) & ~size_t{3}; }
};

TEST(ResourceCompiler, StringsKeepJapaneseTextAndEscapes) {
  struct Case {
    uint32_t id;
    const char* text;
  } cases[] = {
      {21, "バー１"},
      {22, "露光 \"中\""},
      {23, "line\tone\nline two"},
      {61440, "Save"},
  };
  for (const auto& c : cases) EXPECT_EQ(plat::rc::LoadString("Sample", c.id).value_or("<none>"), c.text) << c.id;
  EXPECT_FALSE(plat::rc::LoadString("Sample", 24));  // same block, no text
  EXPECT_FALSE(plat::rc::LoadString("Sample", 500));
  EXPECT_FALSE(plat::rc::LoadString("NoSuchModule", 21));
}

TEST(ResourceCompiler, ClassicDialogTemplateIsByteExact) {
  const plat::rc::Entry* e = plat::rc::Find("Sample", Id(5), Id(100));
  ASSERT_NE(e, nullptr);
  std::vector<uint8_t> expected = {
      0x80, 0x00, 0x00, 0x80,  // style DS_MODALFRAME | WS_POPUP
      0, 0, 0, 0,              // extended style
      1, 0,                    // one item
      0, 0, 0, 0, 100, 0, 40, 0,
      0, 0, 0, 0, 0, 0,        // no menu, no class, empty title (ends on a 4-byte boundary)
      0x00, 0x00, 0x01, 0x50,  // WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON
      0, 0, 0, 0,
      5, 0, 6, 0, 40, 0, 14, 0,
      1, 0,                    // IDOK
      0xFF, 0xFF, 0x80, 0x00,  // class: button atom
      'O', 0, 'K', 0, 0, 0,    // title
      0, 0,                    // no creation data
  };
  EXPECT_EQ(Bytes(e), expected);
}

TEST(ResourceCompiler, ExtendedDialogCarriesFontStylesAndControls) {
  const plat::rc::Entry* e = plat::rc::Find("Sample", Id(5), Id(101));
  ASSERT_NE(e, nullptr);
  Reader r{e};
  EXPECT_EQ(r.Word(), 1u);
  EXPECT_EQ(r.Word(), 0xFFFFu);
  EXPECT_EQ(r.Dword(), 0u);                       // help id
  EXPECT_EQ(r.Dword(), 0u);                       // extended style
  EXPECT_EQ(r.Dword(), 0x80C80080u | 0x40u);      // styles given plus DS_SETFONT
  EXPECT_EQ(r.Word(), 5u);
  EXPECT_EQ(r.Word(), 10u);
  EXPECT_EQ(r.Word(), 20u);
  EXPECT_EQ(r.Word(), 200u);
  EXPECT_EQ(r.Word(), 120u);
  EXPECT_EQ(r.Word(), 0u);  // menu
  EXPECT_EQ(r.Word(), 0u);  // class
  EXPECT_EQ(r.Text(), "露光の設定");
  EXPECT_EQ(r.Word(), 9u);
  EXPECT_EQ(r.Word(), 400u);
  EXPECT_EQ(e->data[r.at], 0);     // italic
  EXPECT_EQ(e->data[r.at + 1], 0x80);  // character set
  r.at += 2;
  EXPECT_EQ(r.Text(), "ＭＳ Ｐゴシック");

  struct Item {
    uint32_t style;
    uint32_t id;
    std::string cls;
    std::string text;
  };
  const Item items[] = {
      {0x50020000, 0xFFFFFFFF, "#130", "名前(&N):"},
      {0x50800080, 1000, "#129", ""},                  // NOT WS_TABSTOP removed the default
      {0x50010008, 1001, "msctls_trackbar32", ""},     // style continued on the next line
      {0x50010001, 1, "#128", "OK"},
      {0x50010000, 2, "#128", "キャンセル"},
  };
  for (const auto& want : items) {
    r.Align();
    EXPECT_EQ(r.Dword(), 0u);  // help
    EXPECT_EQ(r.Dword(), 0u);  // extended style
    EXPECT_EQ(r.Dword(), want.style) << want.text;
    r.at += 8;  // rectangle
    EXPECT_EQ(r.Dword(), want.id);
    std::string cls;
    if (e->data[r.at] == 0xFF && e->data[r.at + 1] == 0xFF) {
      r.Word();
      cls = "#" + std::to_string(r.Word());
    } else {
      cls = r.Text();
    }
    EXPECT_EQ(cls, want.cls);
    EXPECT_EQ(r.Text(), want.text);
    EXPECT_EQ(r.Word(), 0u);
  }
  EXPECT_EQ(r.at, e->size);
}

TEST(ResourceCompiler, MenuTemplateMarksPopupsAndLastItems) {
  const plat::rc::Entry* e = plat::rc::Find("Sample", Id(4), Id(128));
  ASSERT_NE(e, nullptr);
  Reader r{e};
  EXPECT_EQ(r.Dword(), 0u);  // header
  EXPECT_EQ(r.Word(), 0x10u);  // MF_POPUP
  EXPECT_EQ(r.Text(), "ファイル(&F)");
  struct Item {
    uint32_t flags, id;
    std::string text;
  } items[] = {
      {0, 0xE101, "開く(&O)...\tCtrl+O"},
      {0x1, 0xE103, "保存(&S)"},
      {0, 0, ""},
      {0x80, 0xE141, "終了(&X)"},
      {0x88, 32771, "ズーム"},
  };
  for (const auto& want : items) {
    EXPECT_EQ(r.Word(), want.flags) << want.text;
    EXPECT_EQ(r.Word(), want.id) << want.text;
    EXPECT_EQ(r.Text(), want.text);
  }
  EXPECT_EQ(r.at, e->size);
}

TEST(ResourceCompiler, AcceleratorsToolbarsAndRawData) {
  std::vector<uint8_t> accel = {
      0x0B, 0, 'O', 0, 0x01, 0xE1, 0, 0,   // VIRTKEY | NOINVERT | CONTROL
      0x00, 0, 0x13, 0, 0x03, 0xE1, 0, 0,  // "^S" is control character 19
      0x81, 0, 0x74, 0, 0x03, 0x80, 0, 0,  // last entry
  };
  EXPECT_EQ(Bytes(plat::rc::Find("Sample", Id(9), Id(128))), accel);
  std::vector<uint8_t> toolbar = {1, 0, 16, 0, 15, 0, 3, 0, 0x01, 0xE1, 0, 0, 0x03, 0xE1};
  EXPECT_EQ(Bytes(plat::rc::Find("Sample", Id(241), Id(128))), toolbar);
  std::vector<uint8_t> custom = {1, 0, 16, 0, 15, 0, 1, 0, 0x01, 0xE1};
  EXPECT_EQ(Bytes(plat::rc::Find("Sample", Id(241), Id(129))), custom);
  std::vector<uint8_t> raw = {'A', 'B', 1, 2, 1, 2, 3, 4};
  EXPECT_EQ(Bytes(plat::rc::Find("Sample", Id(10), "chart")), raw);  // names ignore case
  EXPECT_EQ(Bytes(plat::rc::Find("sample.EXE", Id(10), "CHART")), raw);
}

TEST(ResourceCompiler, BitmapDropsTheFileHeader) {
  const plat::rc::Entry* e = plat::rc::Find("Sample", Id(2), "#130");
  ASSERT_NE(e, nullptr);
  ASSERT_EQ(e->size, 40u + 16u);
  uint32_t headerSize;
  std::memcpy(&headerSize, e->data, 4);
  EXPECT_EQ(headerSize, 40u);
  EXPECT_EQ(e->data[40], 255);  // first pixel's blue
}

TEST(ResourceCompiler, VersionInfoHoldsFixedVersionAndStrings) {
  const plat::rc::Entry* e = plat::rc::Find("Sample", Id(16), Id(1));
  ASSERT_NE(e, nullptr);
  Reader r{e};
  EXPECT_EQ(r.Word(), e->size);
  EXPECT_EQ(r.Word(), 52u);
  r.Word();
  EXPECT_EQ(r.Text(), "VS_VERSION_INFO");
  r.Align();
  EXPECT_EQ(r.Dword(), 0xFEEF04BDu);
  r.Dword();
  EXPECT_EQ(r.Dword(), 0x00010002u);
  EXPECT_EQ(r.Dword(), 0x00030004u);
  std::string all(reinterpret_cast<const char*>(e->data), e->size);
  std::string desc = "L\0u\0m\0o\0r\0a\0"s;
  EXPECT_NE(all.find(desc), std::string::npos);
}

TEST(ResourceCompiler, MissingResourcesAreNotFound) {
  EXPECT_EQ(plat::rc::Find("Sample", Id(5), Id(999)), nullptr);
  EXPECT_EQ(plat::rc::Find("Sample", Id(7), Id(100)), nullptr);
  EXPECT_EQ(plat::rc::Find("Other", Id(5), Id(100)), nullptr);
  EXPECT_TRUE(plat::rc::HasModule("SAMPLE.exe"));
}

// A string block (ids 16 x block ... + 15) holding `text` at `id` alone.
std::vector<uint8_t> Block(uint32_t id, const std::u16string& text) {
  std::vector<uint8_t> out;
  auto word = [&](uint16_t w) {
    out.push_back(static_cast<uint8_t>(w));
    out.push_back(static_cast<uint8_t>(w >> 8));
  };
  for (uint32_t k = 0; k < 16; ++k) {
    if (k != (id & 15)) {
      word(0);
      continue;
    }
    word(static_cast<uint16_t>(text.size()));
    for (char16_t c : text) word(static_cast<uint16_t>(c));
  }
  return out;
}

TEST(ResourceCompiler, AModuleMayHoldSeveralTables) {
  // A second script of the same module, as the class library's beside the program's.
  static const std::vector<uint8_t> sameBlock = Block(26, u"zweite");
  static const std::vector<uint8_t> newBlock = Block(510, u"fünf");
  static const uint8_t dialog[] = {1, 2, 3};
  static const plat::rc::Entry entries[] = {
      {6, nullptr, 26 / 16 + 1, nullptr, sameBlock.data(), static_cast<uint32_t>(sameBlock.size())},
      {6, nullptr, 510 / 16 + 1, nullptr, newBlock.data(), static_cast<uint32_t>(newBlock.size())},
      {5, nullptr, 100, nullptr, dialog, sizeof dialog},
      {5, nullptr, 998, nullptr, dialog, sizeof dialog},
  };
  static const plat::rc::Registrar second("Sample", entries, 4);
  EXPECT_EQ(plat::rc::LoadString("Sample", 21).value_or("<none>"), "バー１");  // the first table's
  EXPECT_EQ(plat::rc::LoadString("Sample", 26).value_or("<none>"), "zweite");  // a block both tables have
  EXPECT_EQ(plat::rc::LoadString("Sample", 510).value_or("<none>"), "fünf");
  EXPECT_NE(plat::rc::Find("Sample", Id(5), Id(100))->size, sizeof dialog);  // the first table wins
  EXPECT_EQ(plat::rc::Find("Sample", Id(5), Id(998))->data, dialog);
}

TEST(ResourceCompiler, BadScriptsFailWithTheirLine) {
  struct Case {
    const char* script;
    const char* message;
  } cases[] = {
      {"1 DIALOG 0, 0, 10\nBEGIN\nEND\n", "bad.rc:"},
      {"STRINGTABLE\nBEGIN\n 5 \"a\"\n 5 \"b\"\nEND\n", "defined twice"},
      {"1 MENU\nBEGIN\n MENUITEM \"x\", UNKNOWN_ID\nEND\n", "unknown symbol UNKNOWN_ID"},
      {"#if 1\n", "#if without #endif"},
      {"STRINGTABLE\nBEGIN\n 5 \"open\n", "string not closed"},
      {"1 BITMAP \"missing.bmp\"\n", "cannot read"},
  };
  std::string rcc = testenv::BinaryDir() + "/tools/rcc";
  for (const auto& c : cases) {
    std::string dir = testenv::ScratchDir();
    std::ofstream(dir + "/bad.rc") << c.script;
    std::string cmd = rcc + " --module Bad -o " + dir + "/bad.cpp " + dir + "/bad.rc 2>" + dir + "/err.txt";
    int rc = std::system(cmd.c_str());
    EXPECT_NE(rc, 0) << c.script;
    std::ifstream err(dir + "/err.txt");
    std::string text((std::istreambuf_iterator<char>(err)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find(c.message), std::string::npos) << text;
  }
}

}  // namespace

namespace {

// String blocks too short to hold what they promise read as empty, never past their end.
TEST(ResourceStrings, ShortOrCutBlocksHoldNoString) {
  static const unsigned char kOneByte[] = {3};
  static const unsigned char kCut[] = {2, 0, 'A', 0};  // promises two characters, holds one
  static const plat::rc::Entry kEntries[] = {
      {6, nullptr, 1, nullptr, kOneByte, 1},
      {6, nullptr, 2, nullptr, kOneByte, 0},
      {6, nullptr, 3, nullptr, kCut, sizeof kCut},
  };
  static plat::rc::Registrar registrar("ShortBlocks", kEntries, std::size(kEntries));
  for (uint32_t id : {0u, 15u, 16u, 32u}) EXPECT_FALSE(plat::rc::LoadString("ShortBlocks", id)) << id;
}

}  // namespace
