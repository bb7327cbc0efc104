#include <algorithm>
#include <limits>

#include "afxwin.h"
#include "CDockState.h"

IMPLEMENT_DYNAMIC(CDockState, CObject)

CDockState::CDockState() {
  m_rectDevice.SetRect(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
  m_sizeSaved = m_rectDevice.Size();
}

CDockState::~CDockState() { Clear(); }

void CDockState::Clear() {
  for (INT_PTR i = 0; i < m_arrBarInfo.GetSize(); ++i) delete static_cast<CControlBarInfo*>(m_arrBarInfo[i]);
  m_arrBarInfo.RemoveAll();
}

CSize CDockState::GetScreenSize() const { return m_sizeSaved; }

void CDockState::SetScreenSize(const CSize& size) {
  m_sizeSaved = size;
  m_bScaling = size.cx > 0 && size.cy > 0 && size != m_rectDevice.Size();
}

namespace {
// Stored coordinates may be anything: positions are computed wide and kept to an int.
int Clamped(long long value) {
  return static_cast<int>(std::clamp<long long>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

int Scale(int value, int now, int saved) {
  if (value == -1) return value;
  return Clamped(static_cast<long long>(value) * now / saved);
}
}  // namespace

void CDockState::ScalePoint(CPoint& pt) const {
  if (!m_bScaling) return;
  pt.x = Scale(pt.x, m_rectDevice.Width(), m_sizeSaved.cx);
  pt.y = Scale(pt.y, m_rectDevice.Height(), m_sizeSaved.cy);
}

void CDockState::ScaleRectPos(CRect& rect) const {
  if (!m_bScaling) return;
  CPoint pt = rect.TopLeft();
  ScalePoint(pt);
  const long long dx = static_cast<long long>(pt.x) - rect.left, dy = static_cast<long long>(pt.y) - rect.top;
  rect.SetRect(pt.x, pt.y, Clamped(rect.right + dx), Clamped(rect.bottom + dy));
}
