#include "RcLexer.h"

#include <cctype>
#include <stdexcept>

namespace rcc {
namespace {

std::string DecodeString(const std::string& s, size_t& i, const std::string& where) {
  // s[i] is the opening quote
  std::string out;
  ++i;
  for (;;) {
    if (i >= s.size()) throw std::runtime_error(where + ": string not closed");
    char c = s[i++];
    if (c == '"') {
      if (i < s.size() && s[i] == '"') {
        out += '"';
        ++i;
        continue;
      }
      return out;
    }
    if (c != '\\' || i >= s.size()) {
      out += c;
      continue;
    }
    char e = s[i++];
    switch (e) {
      case 'n': out += '\n'; break;
      case 't': out += '\t'; break;
      case 'r': out += '\r'; break;
      case 'a': out += '\b'; break;  // the script's \a is a right-aligning tab in menus
      case '\\': out += '\\'; break;
      case '"': out += '"'; break;
      case 'x': case 'X': {
        int v = 0, n = 0;
        while (n < 2 && i < s.size() && std::isxdigit(static_cast<unsigned char>(s[i]))) {
          v = v * 16 + (std::isdigit(static_cast<unsigned char>(s[i])) ? s[i] - '0' : (std::tolower(s[i]) - 'a' + 10));
          ++i;
          ++n;
        }
        out += static_cast<char>(v);
        break;
      }
      default:
        if (e >= '0' && e <= '7') {
          int v = e - '0', n = 1;
          while (n < 3 && i < s.size() && s[i] >= '0' && s[i] <= '7') {
            v = v * 8 + (s[i++] - '0');
            ++n;
          }
          out += static_cast<char>(v);
        } else {
          out += '\\';
          out += e;
        }
    }
  }
}

}  // namespace

std::vector<Token> Tokenize(const std::vector<SourceLine>& lines) {
  std::vector<Token> out;
  for (const auto& l : lines) {
    const std::string& s = l.text;
    std::string where = l.file + ":" + std::to_string(l.line);
    bool first = true;
    size_t i = 0;
    while (i < s.size()) {
      unsigned char c = static_cast<unsigned char>(s[i]);
      if (std::isspace(c)) {
        ++i;
        continue;
      }
      Token t{Token::Punct, "", first, where};
      first = false;
      if (c == '"') {
        t.kind = Token::String;
        t.text = DecodeString(s, i, where);
      } else if (c == 'L' && i + 1 < s.size() && s[i + 1] == '"') {
        ++i;  // L"..." is the same text here
        t.kind = Token::String;
        t.text = DecodeString(s, i, where);
      } else if (std::isdigit(c)) {
        size_t b = i;
        while (i < s.size() && (std::isalnum(static_cast<unsigned char>(s[i])))) ++i;
        t.kind = Token::Number;
        t.text = s.substr(b, i - b);
      } else if (std::isalpha(c) || c == '_' || c >= 0x80) {
        size_t b = i;
        while (i < s.size() && (std::isalnum(static_cast<unsigned char>(s[i])) || s[i] == '_' ||
                                static_cast<unsigned char>(s[i]) >= 0x80 || s[i] == '.' || s[i] == '\\'))
          ++i;
        t.kind = Token::Word;
        t.text = s.substr(b, i - b);
      } else {
        // Two-character operators stay together so expressions can be rebuilt from tokens.
        static const char* kPairs[] = {"||", "&&", "<<", ">>", "==", "!=", "<=", ">="};
        t.text = std::string(1, static_cast<char>(c));
        for (const char* p : kPairs)
          if (s.compare(i, 2, p) == 0) t.text = p;
        i += t.text.size();
      }
      out.push_back(std::move(t));
    }
  }
  return out;
}

}  // namespace rcc
