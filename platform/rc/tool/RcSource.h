// Reading .rc files: comments stripped, #include followed, #define collected, and
// conditional sections resolved, as the resource compiler's preprocessor does.
#pragma once
#include <map>
#include <string>
#include <vector>

namespace rcc {

struct SourceLine {
  std::string text;
  std::string file;
  int line = 0;
};

class RcSource {
 public:
  explicit RcSource(std::vector<std::string> includeDirs) : includeDirs_(std::move(includeDirs)) {}

  // Reads `path` and everything it includes; returns the resource-script lines (those of
  // headers contribute only their #defines). Throws std::runtime_error with file:line.
  std::vector<SourceLine> Load(const std::string& path);

  // Object-like macros seen so far (name -> replacement text).
  const std::map<std::string, std::string>& Defines() const { return defines_; }

 private:
  void Read(const std::string& path, bool script, std::vector<SourceLine>& out, int depth);
  std::string Resolve(const std::string& name, const std::string& fromDir, bool angled) const;
  bool Evaluate(const std::string& expr, const std::string& where) const;

  std::vector<std::string> includeDirs_;
  std::map<std::string, std::string> defines_;
};

// Removes C and C++ comments, keeping string literals intact; `inBlock` carries an open
// /* ... */ from one line to the next.
std::string StripComments(const std::string& line, bool& inBlock);

}  // namespace rcc
