// Integer expressions of resource scripts: numbers (with L/U suffixes), macro names,
// | & ^ + - * / % ~ ! << >>, comparisons, parentheses, and the script's NOT.
#pragma once
#include <cstdint>
#include <map>
#include <string>

namespace rcc {

// In an or-list, "NOT x" clears x's bits from what stands before it (the control's
// default style included, passed as `base`).
int64_t EvaluateExpression(const std::string& text, const std::map<std::string, std::string>& defines,
                           const std::string& where, bool unknownIsZero = false, int64_t base = 0);

}  // namespace rcc
