// One INI file held as its lines, so that changing a key rewrites that line alone
// and comments, order and unknown lines stay as they were.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plat::profile {

class ProfileFile {
 public:
  static ProfileFile Parse(std::string_view text);
  std::string Serialize() const;

  // Sections and keys are found without regard to case; the first of duplicates wins.
  // The value is trimmed but otherwise as written (quotes kept).
  std::optional<std::string> Value(std::string_view section, std::string_view key) const;
  std::vector<std::string> SectionNames() const;
  // nullopt when the section does not exist.
  std::optional<std::vector<std::string>> Keys(std::string_view section) const;
  // The section's entries as "key=value" (or the bare line for one without '=').
  std::optional<std::vector<std::string>> Entries(std::string_view section) const;

  // Each returns true when the text of the file changed.
  bool Set(std::string_view section, std::string_view key, std::string_view value);
  bool DeleteKey(std::string_view section, std::string_view key);
  bool DeleteSection(std::string_view section);
  // Replaces the entries of a section (made at the end when missing) by `lines`.
  bool ReplaceSection(std::string_view section, const std::vector<std::string>& lines);

 private:
  enum class Kind { Other, Section, Key };
  struct Line {
    std::string text;
    Kind kind = Kind::Other;
    std::string name;   // section or key name, trimmed
    std::string value;  // key value, trimmed
    bool hasValue = false;
    // The line's own ending as read ("\r\n", "\n", or none at the end of the file),
    // so lines nobody changed are written back byte for byte.
    std::string eol;
  };
  std::string EndingOf(size_t index) const;
  static Line ParseLine(std::string text);
  // Index of the section header, and one past the section's last line.
  std::optional<std::pair<size_t, size_t>> FindSection(std::string_view section) const;
  // One past the last key line of a section (new keys go there, before blank lines).
  size_t InsertPoint(size_t header, size_t end) const;
  void AppendSection(std::string_view section);

  std::vector<Line> lines_;
  std::string bom_;
  std::string eol_ = "\r\n";  // for lines the file gains
  bool finalEol_ = true;
};

}  // namespace plat::profile
