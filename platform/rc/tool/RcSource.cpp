#include "RcSource.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "RcExpression.h"

namespace rcc {
namespace fs = std::filesystem;

std::string StripComments(const std::string& line, bool& inBlock) {
  std::string out;
  bool inString = false;
  for (size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    if (inBlock) {
      if (c == '*' && i + 1 < line.size() && line[i + 1] == '/') {
        inBlock = false;
        ++i;
        out += ' ';
      }
      continue;
    }
    if (inString) {
      out += c;
      if (c == '\\' && i + 1 < line.size()) {
        out += line[++i];
      } else if (c == '"') {
        // "" inside a resource string is an escaped quote
        if (i + 1 < line.size() && line[i + 1] == '"') {
          out += line[++i];
        } else {
          inString = false;
        }
      }
      continue;
    }
    if (c == '"') {
      inString = true;
      out += c;
    } else if (c == '/' && i + 1 < line.size() && line[i + 1] == '/') {
      break;
    } else if (c == '/' && i + 1 < line.size() && line[i + 1] == '*') {
      inBlock = true;
      ++i;
    } else {
      out += c;
    }
  }
  return out;
}

namespace {
std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return "";
  size_t e = s.find_last_not_of(" \t\r\n");
  return s.substr(b, e - b + 1);
}

// Splits "#  directive rest" into directive and rest.
bool Directive(const std::string& line, std::string& name, std::string& rest) {
  std::string t = Trim(line);
  if (t.empty() || t[0] != '#') return false;
  size_t i = 1;
  while (i < t.size() && std::isspace(static_cast<unsigned char>(t[i]))) ++i;
  size_t b = i;
  while (i < t.size() && (std::isalnum(static_cast<unsigned char>(t[i])) || t[i] == '_')) ++i;
  name = t.substr(b, i - b);
  rest = Trim(t.substr(i));
  return true;
}
}  // namespace

std::vector<SourceLine> RcSource::Load(const std::string& path) {
  std::vector<SourceLine> out;
  Read(path, true, out, 0);
  return out;
}

std::string RcSource::Resolve(const std::string& name, const std::string& fromDir, bool angled) const {
  if (!angled) {
    fs::path p = fs::path(fromDir) / name;
    if (fs::exists(p)) return p.string();
  }
  for (const auto& dir : includeDirs_) {
    fs::path p = fs::path(dir) / name;
    if (fs::exists(p)) return p.string();
  }
  return "";
}

bool RcSource::Evaluate(const std::string& expr, const std::string& where) const {
  // defined(X) and defined X become 1 or 0 before the expression is evaluated.
  std::string e;
  for (size_t i = 0; i < expr.size();) {
    if (expr.compare(i, 7, "defined") == 0 && (i + 7 == expr.size() || !std::isalnum(static_cast<unsigned char>(expr[i + 7])))) {
      i += 7;
      while (i < expr.size() && (expr[i] == ' ' || expr[i] == '(')) ++i;
      size_t b = i;
      while (i < expr.size() && (std::isalnum(static_cast<unsigned char>(expr[i])) || expr[i] == '_')) ++i;
      e += defines_.count(expr.substr(b, i - b)) ? " 1 " : " 0 ";
      while (i < expr.size() && (expr[i] == ' ' || expr[i] == ')')) ++i;
    } else {
      e += expr[i++];
    }
  }
  // Unknown names in a condition count as 0, as in C.
  return EvaluateExpression(e, defines_, where, /*unknownIsZero=*/true) != 0;
}

void RcSource::Read(const std::string& path, bool script, std::vector<SourceLine>& out, int depth) {
  if (depth > 32) throw std::runtime_error(path + ": includes nest too deep");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + path);
  std::string dir = fs::path(path).parent_path().string();
  // Headers (.h) give only their macros; a header's C declarations are none of ours.
  std::string ext = fs::path(path).extension().string();
  for (auto& ch : ext) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  bool isHeader = (ext == ".h" || ext == ".hpp" || ext == ".hh");
  if (isHeader) script = false;

  struct Cond {
    bool active;     // this branch is taken
    bool taken;      // some branch of the group was taken
    bool parentOn;   // the enclosing section is active
  };
  std::vector<Cond> conds;
  auto on = [&] { return conds.empty() || (conds.back().active && conds.back().parentOn); };

  std::string raw;
  int lineNo = 0;
  bool inBlock = false;
  std::string pending;
  int pendingLine = 0;
  while (std::getline(in, raw)) {
    ++lineNo;
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    if (lineNo == 1 && raw.size() >= 3 && static_cast<unsigned char>(raw[0]) == 0xEF &&
        static_cast<unsigned char>(raw[1]) == 0xBB && static_cast<unsigned char>(raw[2]) == 0xBF)
      raw.erase(0, 3);
    // Line continuation
    if (!raw.empty() && raw.back() == '\\') {
      if (pending.empty()) pendingLine = lineNo;
      pending += raw.substr(0, raw.size() - 1);
      continue;
    }
    std::string full = pending + raw;
    int at = pending.empty() ? lineNo : pendingLine;
    pending.clear();
    std::string line = StripComments(full, inBlock);
    std::string where = path + ":" + std::to_string(at);

    std::string name, rest;
    if (Directive(line, name, rest)) {
      if (name == "ifdef" || name == "ifndef") {
        bool d = defines_.count(Trim(rest)) > 0;
        bool a = (name == "ifdef") ? d : !d;
        conds.push_back({a, a, on()});
      } else if (name == "if") {
        bool a = on() && Evaluate(rest, where);
        conds.push_back({a, a, on()});
      } else if (name == "elif") {
        if (conds.empty()) throw std::runtime_error(where + ": #elif without #if");
        Cond& c = conds.back();
        bool a = !c.taken && c.parentOn && Evaluate(rest, where);
        c.active = a;
        c.taken = c.taken || a;
      } else if (name == "else") {
        if (conds.empty()) throw std::runtime_error(where + ": #else without #if");
        Cond& c = conds.back();
        c.active = !c.taken;
        c.taken = true;
      } else if (name == "endif") {
        if (conds.empty()) throw std::runtime_error(where + ": #endif without #if");
        conds.pop_back();
      } else if (!on()) {
        continue;
      } else if (name == "define") {
        size_t i = 0;
        while (i < rest.size() && (std::isalnum(static_cast<unsigned char>(rest[i])) || rest[i] == '_')) ++i;
        std::string macro = rest.substr(0, i);
        // Function-like macros are of no use in a resource script.
        if (!macro.empty() && (i == rest.size() || rest[i] != '(')) defines_[macro] = Trim(rest.substr(i));
      } else if (name == "undef") {
        defines_.erase(Trim(rest));
      } else if (name == "include") {
        std::string target = Trim(rest);
        if (target.size() < 2) throw std::runtime_error(where + ": bad #include");
        bool angled = target[0] == '<';
        std::string file = target.substr(1, target.size() - 2);
        std::string found = Resolve(file, dir, angled);
        // Headers of the C and C++ libraries (<cstddef> ...) hold nothing for a script.
        if (found.empty() && angled && file.find('.') == std::string::npos) continue;
        if (found.empty()) throw std::runtime_error(where + ": cannot find include file " + file);
        Read(found, script, out, depth + 1);
      }
      // #pragma, #error and the rest are of no concern here.
      continue;
    }
    if (!on() || !script) continue;
    if (!Trim(line).empty()) out.push_back({line, path, at});
  }
  if (!conds.empty()) throw std::runtime_error(path + ": #if without #endif");
}

}  // namespace rcc
