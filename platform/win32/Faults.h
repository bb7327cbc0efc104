// Fault injection: any stand-in call the system treats as able to fail asks here
// first, so a test can make it fail with a chosen error.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace plat::faults {

// Returns the error armed for this point (and uses up one shot), or 0 when none.
uint32_t Check(std::string_view point);

// Arms `point` to fail with `error` after `skip` good calls, `times` times (-1: always).
void Arm(std::string_view point, uint32_t error, int skip = 0, int times = 1);
void Disarm(std::string_view point);
void DisarmAll();
// How often the point was asked since it was armed (or since DisarmAll).
int Hits(std::string_view point);

// Arms a point for the life of the object.
class Scope {
 public:
  Scope(std::string_view point, uint32_t error, int skip = 0, int times = -1);
  ~Scope();
  Scope(const Scope&) = delete;
  Scope& operator=(const Scope&) = delete;

 private:
  std::string point_;
};

}  // namespace plat::faults
