// The ring of the last ten capture times and their mean, which paces the next exposure
// of live frames.
#pragma once
#include "WinTypes.h"

namespace vexcam {

class CaptureTimes {
 public:
  // Records a successful capture's time (milliseconds).
  void Add(LONG ms);
  // Mean of the recorded times (at most the last ten); 0 before the first.
  LONG Mean() const;

 private:
  LONG m_Ring[10] = {};
  LONG m_Count = 0;  // runs from 10 to 19 once the ring is full
};

}  // namespace vexcam
