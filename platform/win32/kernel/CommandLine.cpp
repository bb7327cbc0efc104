#include "kernel/CommandLine.h"

namespace plat {
namespace {
bool Blank(char c) { return c == ' ' || c == '\t'; }
}  // namespace

std::string ProgramWord(std::string_view line, std::string_view* rest) {
  size_t i = 0;
  while (i < line.size() && Blank(line[i])) ++i;
  std::string word;
  bool quoted = false;
  for (; i < line.size(); ++i) {
    char c = line[i];
    if (c == '"') {
      quoted = !quoted;
      continue;
    }
    if (!quoted && Blank(c)) break;
    word += c;
  }
  if (rest) *rest = line.substr(i);
  return word;
}

std::vector<std::string> SplitArguments(std::string_view text) {
  std::vector<std::string> args;
  size_t i = 0;
  for (;;) {
    while (i < text.size() && Blank(text[i])) ++i;
    if (i >= text.size()) return args;
    std::string arg;
    bool quoted = false;
    while (i < text.size()) {
      size_t slashes = 0;
      while (i < text.size() && text[i] == '\\') {
        ++slashes;
        ++i;
      }
      if (i < text.size() && text[i] == '"') {
        arg.append(slashes / 2, '\\');
        if (slashes % 2) {
          arg += '"';
          ++i;
        } else if (quoted && i + 1 < text.size() && text[i + 1] == '"') {
          arg += '"';
          i += 2;
        } else {
          quoted = !quoted;
          ++i;
        }
        continue;
      }
      arg.append(slashes, '\\');
      if (i >= text.size() || (!quoted && Blank(text[i]))) break;
      arg += text[i++];
    }
    args.push_back(std::move(arg));
  }
}

}  // namespace plat
