// The pace of held scroll arrows and up-down buttons: one step at the press, the next
// after a pause, then steadily while the button stays down over the same part.
#pragma once

namespace plat::user {

constexpr unsigned kRepeatDelayMs = 400;
constexpr unsigned kRepeatRateMs = 100;

}  // namespace plat::user
