#include "profile/ProfileFile.h"

#include "DrivePath.h"

namespace plat::profile {
namespace {

std::string_view Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
  return s.substr(b, e - b);
}

// Lists name once, in the order first seen (names repeat without regard to case).
void AddUnique(std::vector<std::string>& names, const std::string& name) {
  for (const std::string& n : names)
    if (path::NamesEqual(n, name)) return;
  names.push_back(name);
}

}  // namespace

ProfileFile::Line ProfileFile::ParseLine(std::string text) {
  Line line;
  std::string_view t = Trim(text);
  if (!t.empty() && t[0] == '[') {
    // A header without its ']' is no header; the line is kept but means nothing.
    size_t close = t.find(']');
    if (close != std::string_view::npos) {
      line.kind = Kind::Section;
      line.name = Trim(t.substr(1, close - 1));
    }
  } else if (!t.empty() && t[0] != ';') {
    line.kind = Kind::Key;
    size_t eq = t.find('=');
    line.name = Trim(t.substr(0, eq));
    if (eq != std::string_view::npos) {
      line.value = Trim(t.substr(eq + 1));
      line.hasValue = true;
    }
  }
  line.text = std::move(text);
  return line;
}

ProfileFile ProfileFile::Parse(std::string_view text) {
  ProfileFile file;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") {
    file.bom_ = text.substr(0, 3);
    text.remove_prefix(3);
  }
  size_t firstNl = text.find('\n');
  if (firstNl != std::string_view::npos) file.eol_ = (firstNl > 0 && text[firstNl - 1] == '\r') ? "\r\n" : "\n";
  file.finalEol_ = text.empty() || text.back() == '\n';
  // A line ends at a line feed; a carriage return belongs to the ending only right
  // before it, so a stray one inside or at the end of a line is part of the text.
  size_t pos = 0;
  while (pos < text.size()) {
    size_t nl = text.find('\n', pos);
    size_t end = nl == std::string_view::npos ? text.size() : nl;
    std::string_view raw = text.substr(pos, end - pos);
    std::string eol;
    if (nl != std::string_view::npos) {
      eol = "\n";
      if (!raw.empty() && raw.back() == '\r') {
        raw.remove_suffix(1);
        eol = "\r\n";
      }
    }
    Line line = ParseLine(std::string(raw));
    line.eol = std::move(eol);
    file.lines_.push_back(std::move(line));
    pos = end + 1;
  }
  return file;
}

std::string ProfileFile::EndingOf(size_t index) const {
  const Line& line = lines_[index];
  const bool last = index + 1 == lines_.size();
  std::string eol = !line.eol.empty() ? line.eol : (last && !finalEol_) ? "" : eol_;
  // A text ending in a carriage return needs the full ending, or the return would be
  // read back as part of it.
  if (eol == "\n" && !line.text.empty() && line.text.back() == '\r') eol = "\r\n";
  return eol;
}

std::string ProfileFile::Serialize() const {
  std::string out = bom_;
  for (size_t i = 0; i < lines_.size(); ++i) {
    out += lines_[i].text;
    out += EndingOf(i);
  }
  return out;
}

std::optional<std::pair<size_t, size_t>> ProfileFile::FindSection(std::string_view section) const {
  std::string_view want = Trim(section);
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].kind != Kind::Section || !path::NamesEqual(lines_[i].name, want)) continue;
    size_t end = i + 1;
    while (end < lines_.size() && lines_[end].kind != Kind::Section) ++end;
    return std::make_pair(i, end);
  }
  return std::nullopt;
}

size_t ProfileFile::InsertPoint(size_t header, size_t end) const {
  size_t at = header + 1;
  for (size_t i = header + 1; i < end; ++i)
    if (lines_[i].kind != Kind::Other || !Trim(lines_[i].text).empty()) at = i + 1;
  return at;
}

std::optional<std::string> ProfileFile::Value(std::string_view section, std::string_view key) const {
  auto range = FindSection(section);
  if (!range) return std::nullopt;
  std::string_view want = Trim(key);
  for (size_t i = range->first + 1; i < range->second; ++i)
    if (lines_[i].kind == Kind::Key && path::NamesEqual(lines_[i].name, want)) return lines_[i].value;
  return std::nullopt;
}

std::vector<std::string> ProfileFile::SectionNames() const {
  std::vector<std::string> names;
  for (const Line& line : lines_) {
    if (line.kind != Kind::Section) continue;
    AddUnique(names, line.name);
  }
  return names;
}

std::optional<std::vector<std::string>> ProfileFile::Keys(std::string_view section) const {
  auto range = FindSection(section);
  if (!range) return std::nullopt;
  std::vector<std::string> keys;
  for (size_t i = range->first + 1; i < range->second; ++i) {
    // A nameless key cannot be asked for, and would end the list early.
    if (lines_[i].kind == Kind::Key && !lines_[i].name.empty()) AddUnique(keys, lines_[i].name);
  }
  return keys;
}

std::optional<std::vector<std::string>> ProfileFile::Entries(std::string_view section) const {
  auto range = FindSection(section);
  if (!range) return std::nullopt;
  std::vector<std::string> entries;
  for (size_t i = range->first + 1; i < range->second; ++i) {
    const Line& line = lines_[i];
    if (line.kind == Kind::Key) entries.push_back(line.hasValue ? line.name + "=" + line.value : line.name);
  }
  return entries;
}

void ProfileFile::AppendSection(std::string_view section) {
  lines_.push_back(ParseLine("[" + std::string(Trim(section)) + "]"));
}

bool ProfileFile::Set(std::string_view section, std::string_view key, std::string_view value) {
  std::string_view name = Trim(key);
  auto range = FindSection(section);
  if (!range) {
    AppendSection(section);
    lines_.push_back(ParseLine(std::string(name) + "=" + std::string(value)));
    return true;
  }
  for (size_t i = range->first + 1; i < range->second; ++i) {
    Line& line = lines_[i];
    if (line.kind != Kind::Key || !path::NamesEqual(line.name, name)) continue;
    // The key keeps the spelling it has in the file.
    std::string text = line.name + "=" + std::string(value);
    if (text == line.text) return false;
    std::string eol = std::move(line.eol);
    line = ParseLine(std::move(text));
    line.eol = std::move(eol);
    return true;
  }
  size_t at = InsertPoint(range->first, range->second);
  lines_.insert(lines_.begin() + static_cast<long>(at), ParseLine(std::string(name) + "=" + std::string(value)));
  return true;
}

bool ProfileFile::DeleteKey(std::string_view section, std::string_view key) {
  auto range = FindSection(section);
  if (!range) return false;
  std::string_view want = Trim(key);
  bool changed = false;
  for (size_t i = range->second; i-- > range->first + 1;) {
    if (lines_[i].kind == Kind::Key && path::NamesEqual(lines_[i].name, want)) {
      lines_.erase(lines_.begin() + static_cast<long>(i));
      changed = true;  // duplicates go too, or the next one would surface
    }
  }
  return changed;
}

bool ProfileFile::DeleteSection(std::string_view section) {
  auto range = FindSection(section);
  if (!range) return false;
  lines_.erase(lines_.begin() + static_cast<long>(range->first), lines_.begin() + static_cast<long>(range->second));
  return true;
}

bool ProfileFile::ReplaceSection(std::string_view section, const std::vector<std::string>& entries) {
  std::string before = Serialize();
  auto range = FindSection(section);
  size_t at;
  if (range) {
    // Entries go; comments and blank lines of the section stay where they are.
    size_t end = range->second;
    for (size_t i = end; i-- > range->first + 1;)
      if (lines_[i].kind == Kind::Key) {
        lines_.erase(lines_.begin() + static_cast<long>(i));
        --end;
      }
    at = InsertPoint(range->first, end);
  } else {
    AppendSection(section);
    at = lines_.size();
  }
  std::vector<Line> added;
  for (const std::string& e : entries) {
    Line line = ParseLine(e);
    if (line.kind == Kind::Key) added.push_back(std::move(line));
  }
  lines_.insert(lines_.begin() + static_cast<long>(at), added.begin(), added.end());
  return Serialize() != before;
}

}  // namespace plat::profile
