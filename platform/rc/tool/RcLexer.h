// Tokens of a resource script.
#pragma once
#include <string>
#include <vector>

#include "RcSource.h"

namespace rcc {

struct Token {
  enum Kind { Word, Number, String, Punct } kind;
  std::string text;       // for String: the decoded UTF-8 value
  bool lineStart = false; // first token of its source line
  std::string where;      // file:line
};

// Splits the script lines into tokens; string escapes ("" \" \n \t \\ \xHH \ooo) are decoded.
std::vector<Token> Tokenize(const std::vector<SourceLine>& lines);

}  // namespace rcc
