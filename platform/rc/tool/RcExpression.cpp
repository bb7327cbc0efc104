#include "RcExpression.h"

#include <cctype>
#include <stdexcept>

namespace rcc {
namespace {

class Parser {
 public:
  Parser(const std::string& text, const std::map<std::string, std::string>& defines, const std::string& where,
         bool unknownIsZero, int depth)
      : s_(text), defines_(defines), where_(where), unknownIsZero_(unknownIsZero), depth_(depth) {}

  int64_t Top(int64_t base) {
    int64_t v = OrList(base);
    Skip();
    if (i_ != s_.size()) Fail("unexpected '" + s_.substr(i_) + "'");
    return v;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const { throw std::runtime_error(where_ + ": " + what); }

  void Skip() {
    while (i_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[i_]))) ++i_;
  }
  bool Eat(const char* op) {
    Skip();
    size_t n = std::char_traits<char>::length(op);
    if (s_.compare(i_, n, op) != 0) return false;
    // "|" must not eat "||", "<" not "<<", and so on.
    if (n == 1 && i_ + 1 < s_.size() && (op[0] == '|' || op[0] == '&' || op[0] == '<' || op[0] == '>') &&
        (s_[i_ + 1] == op[0] || s_[i_ + 1] == '='))
      return false;
    i_ += n;
    return true;
  }
  bool EatWord(const char* word) {
    Skip();
    size_t n = std::char_traits<char>::length(word);
    if (s_.compare(i_, n, word) != 0) return false;
    if (i_ + n < s_.size() && (std::isalnum(static_cast<unsigned char>(s_[i_ + n])) || s_[i_ + n] == '_'))
      return false;
    i_ += n;
    return true;
  }

  int64_t OrList(int64_t base) {
    int64_t acc = base;
    bool first = true;
    do {
      if (EatWord("NOT")) {
        acc &= ~Xor();
      } else {
        int64_t v = LogicalOr();
        acc = first && base == 0 ? v : (acc | v);
      }
      first = false;
    } while (Eat("|"));
    return acc;
  }
  int64_t LogicalOr() {
    int64_t v = LogicalAnd();
    while (Eat("||")) {
      int64_t r = LogicalAnd();
      v = (v || r) ? 1 : 0;
    }
    return v;
  }
  int64_t LogicalAnd() {
    int64_t v = Xor();
    while (Eat("&&")) {
      int64_t r = Xor();
      v = (v && r) ? 1 : 0;
    }
    return v;
  }
  int64_t Xor() {
    int64_t v = And();
    while (Eat("^")) v ^= And();
    return v;
  }
  int64_t And() {
    int64_t v = Equality();
    while (Eat("&")) v &= Equality();
    return v;
  }
  int64_t Equality() {
    int64_t v = Relation();
    for (;;) {
      if (Eat("==")) v = (v == Relation());
      else if (Eat("!=")) v = (v != Relation());
      else return v;
    }
  }
  int64_t Relation() {
    int64_t v = Shift();
    for (;;) {
      if (Eat("<=")) v = (v <= Shift());
      else if (Eat(">=")) v = (v >= Shift());
      else if (Eat("<")) v = (v < Shift());
      else if (Eat(">")) v = (v > Shift());
      else return v;
    }
  }
  int64_t Shift() {
    int64_t v = Sum();
    for (;;) {
      if (Eat("<<")) v <<= (Sum() & 63);
      else if (Eat(">>")) v >>= (Sum() & 63);
      else return v;
    }
  }
  int64_t Sum() {
    int64_t v = Product();
    for (;;) {
      if (Eat("+")) v += Product();
      else if (Eat("-")) v -= Product();
      else return v;
    }
  }
  int64_t Product() {
    int64_t v = Unary();
    for (;;) {
      if (Eat("*")) {
        v *= Unary();
      } else if (Eat("/")) {
        int64_t d = Unary();
        if (d == 0) Fail("division by zero");
        v /= d;
      } else if (Eat("%")) {
        int64_t d = Unary();
        if (d == 0) Fail("division by zero");
        v %= d;
      } else {
        return v;
      }
    }
  }
  int64_t Unary() {
    if (Eat("-")) return -Unary();
    if (Eat("+")) return Unary();
    if (Eat("~")) return ~Unary();
    if (Eat("!")) return !Unary();
    return Primary();
  }
  int64_t Primary() {
    Skip();
    if (i_ >= s_.size()) Fail("expression ends early");
    char c = s_[i_];
    if (c == '(') {
      ++i_;
      // A cast such as (DWORD) or (LPSTR) in a macro body is skipped.
      size_t save = i_;
      Skip();
      size_t b = i_;
      while (i_ < s_.size() && (std::isalnum(static_cast<unsigned char>(s_[i_])) || s_[i_] == '_' || s_[i_] == ' ' || s_[i_] == '*')) ++i_;
      if (i_ < s_.size() && s_[i_] == ')' && i_ > b && IsTypeName(s_.substr(b, i_ - b))) {
        ++i_;
        return Unary();
      }
      i_ = save;
      int64_t v = OrList(0);
      if (!Eat(")")) Fail("missing ')'");
      return v;
    }
    if (std::isdigit(static_cast<unsigned char>(c))) {
      size_t b = i_;
      int base = 10;
      if (c == '0' && i_ + 1 < s_.size() && (s_[i_ + 1] == 'x' || s_[i_ + 1] == 'X')) {
        base = 16;
        i_ += 2;
        b = i_;
      }
      while (i_ < s_.size() && std::isxdigit(static_cast<unsigned char>(s_[i_]))) ++i_;
      std::string digits = s_.substr(b, i_ - b);
      if (base == 10 && digits.size() > 1 && digits[0] == '0') base = 8;
      while (i_ < s_.size() && (s_[i_] == 'L' || s_[i_] == 'l' || s_[i_] == 'U' || s_[i_] == 'u')) ++i_;
      if (digits.empty()) Fail("bad number");
      return static_cast<int64_t>(std::stoull(digits, nullptr, base));
    }
    if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
      size_t b = i_;
      while (i_ < s_.size() && (std::isalnum(static_cast<unsigned char>(s_[i_])) || s_[i_] == '_')) ++i_;
      std::string name = s_.substr(b, i_ - b);
      auto it = defines_.find(name);
      if (it == defines_.end()) {
        if (unknownIsZero_) return 0;
        Fail("unknown symbol " + name);
      }
      if (depth_ > 64) Fail("macro " + name + " expands too deep");
      if (it->second.empty()) return 0;
      Parser inner(it->second, defines_, where_, unknownIsZero_, depth_ + 1);
      return inner.Top(0);
    }
    Fail(std::string("unexpected '") + c + "'");
  }

  static bool IsTypeName(const std::string& t) {
    static const char* kTypes[] = {"DWORD", "WORD", "LONG", "UINT", "int", "long", "short", "BYTE", "ULONG",
                                   "LPSTR", "LPCSTR", "ULONG_PTR", "WPARAM", "LPARAM", "unsigned", "HWND"};
    std::string u;
    for (char ch : t)
      if (ch != ' ' && ch != '*') u += ch;
    for (const char* k : kTypes)
      if (u == k) return true;
    return false;
  }

  const std::string& s_;
  const std::map<std::string, std::string>& defines_;
  const std::string& where_;
  bool unknownIsZero_;
  int depth_;
  size_t i_ = 0;
};

}  // namespace

int64_t EvaluateExpression(const std::string& text, const std::map<std::string, std::string>& defines,
                           const std::string& where, bool unknownIsZero, int64_t base) {
  Parser p(text, defines, where, unknownIsZero, 0);
  return p.Top(base);
}

}  // namespace rcc
