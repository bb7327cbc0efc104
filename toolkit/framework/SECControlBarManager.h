// SECControlBarManager: a frame's helper for its bars' saved state: it makes the extended
// record a bar keeps and creates the bar a record describes. This base makes neither.
#pragma once
#include <afxext.h>

class SECControlBarInfo;
class SECControlBarInfoEx;

class SECControlBarManager : public CCmdTarget {
  DECLARE_DYNAMIC(SECControlBarManager)
 public:
  explicit SECControlBarManager(CFrameWnd* pFrameWnd = nullptr) : m_pFrameWnd(pFrameWnd) {}
  ~SECControlBarManager() override = default;

  CFrameWnd* GetFrameWnd() const { return m_pFrameWnd; }
  // The extended record for a bar record (owned by the caller), or none.
  virtual SECControlBarInfoEx* CreateControlBarInfoEx(SECControlBarInfo* pInfo) { return nullptr; }
  // The bar window a record describes, or none.
  virtual CControlBar* DynCreateControlBar(SECControlBarInfo* pInfo) { return nullptr; }

 protected:
  CFrameWnd* m_pFrameWnd;
};
