// Turns a resource script into resources in the Windows binary formats: dialog
// templates (classic and extended), menu templates, accelerator tables, string blocks,
// bitmaps, icons, cursors, toolbars (type 241), version information and raw data.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "RcLexer.h"

namespace rcc {

struct ResName {
  uint32_t id = 0;   // used when name is empty
  std::string name;  // upper-cased string name
  bool operator<(const ResName& o) const { return name != o.name ? name < o.name : id < o.id; }
};

struct Resource {
  ResName type;
  ResName name;
  std::vector<uint8_t> data;
};

class RcCompiler {
 public:
  // `baseDir` resolves the file names of BITMAP, ICON, CURSOR and file-based custom resources.
  RcCompiler(const std::map<std::string, std::string>& defines, std::string baseDir)
      : defines_(defines), baseDir_(std::move(baseDir)) {}

  std::vector<Resource> Compile(const std::vector<Token>& tokens);

 private:
  const Token& Peek(size_t ahead = 0) const;
  const Token& Next();
  bool AtEnd() const { return pos_ >= tokens_->size(); }
  bool IsWord(const char* w, size_t ahead = 0) const;
  bool IsPunct(const char* p) const;
  void Expect(const char* p);
  void SkipComma();
  bool AtBegin() const;
  void ExpectBegin();
  bool AtEndBlock() const;
  void ExpectEndBlock();
  [[noreturn]] void Fail(const std::string& what) const;

  int64_t Expression(int64_t base = 0);
  bool ExpressionFollows() const;
  std::string Text();
  ResName Name();
  std::vector<uint8_t> ReadFile(const std::string& file) const;

  void StringTable();
  void Dialog(const ResName& name, bool extended);
  void Menu(const ResName& name, bool extended);
  void MenuItems(std::vector<uint8_t>& out, bool extended);
  uint32_t MenuOption(const std::string& option) const;  // the flag of CHECKED, GRAYED ...
  void Accelerators(const ResName& name);
  void Toolbar(const ResName& name);
  void VersionInfo(const ResName& name);
  void VersionBlock(std::vector<uint8_t>& out, const std::string& key, bool textValues);
  void RawData(const ResName& type, const ResName& name);
  void SkipOptions();
  void SkipBlock();
  void Add(uint32_t type, const ResName& name, std::vector<uint8_t> data);

  const std::map<std::string, std::string>& defines_;
  std::string baseDir_;
  const std::vector<Token>* tokens_ = nullptr;
  size_t pos_ = 0;
  std::vector<Resource> out_;
  std::map<uint32_t, std::map<uint32_t, std::string>> strings_;  // block -> id -> text
};

}  // namespace rcc
