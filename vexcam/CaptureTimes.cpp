#include "CaptureTimes.h"

#include <cstdint>

namespace vexcam {

void CaptureTimes::Add(LONG ms) {
  m_Ring[m_Count % 10] = ms;
  if (++m_Count == 20) m_Count = 10;
}

LONG CaptureTimes::Mean() const {
  const LONG n = m_Count < 10 ? m_Count : 10;
  if (n == 0) return 0;
  int64_t sum = 0;
  for (LONG i = 0; i < n; ++i) sum += m_Ring[i];
  return LONG(sum / n);
}

}  // namespace vexcam
