#include "VexDoc.h"

void CVexDoc::SetLastError(LONG type, LONG detail, LONG value) {
  // A reader that sees the value sees the pair recorded with it.
  m_lastError.value.store(0, std::memory_order_release);
  m_lastError.type.store(type, std::memory_order_relaxed);
  m_lastError.detail.store(detail, std::memory_order_relaxed);
  m_lastError.value.store(value, std::memory_order_release);
}
