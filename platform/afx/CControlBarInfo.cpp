// The profile form of a bar record: section "<profile>-Bar<n>", keys only where the
// record differs from the defaults that loading supplies.
#include "afxwin.h"
#include "CControlBarInfo.h"

#include "CDockState.h"
#include "CWinApp.h"

namespace {

CString Section(LPCSTR lpszProfileName, int nIndex) {
  CString section;
  section.Format("%s-Bar%d", lpszProfileName ? lpszProfileName : "", nIndex);
  return section;
}

}  // namespace

BOOL CControlBarInfo::IsEmptyDockBar() const {
  return m_bDockBar && m_bVisible && !m_bFloating && m_pointPos.x == -1 && m_pointPos.y == -1 &&
         m_arrBarID.GetSize() <= 1;
}

BOOL CControlBarInfo::SaveState(LPCSTR lpszProfileName, int nIndex) {
  CWinApp* app = AfxGetApp();
  if (!app) return FALSE;
  const CString section = Section(lpszProfileName, nIndex);
  // Keys of an earlier save under this index must not mix with this one.
  app->WriteProfileString(section, nullptr, nullptr);
  if (IsEmptyDockBar()) return FALSE;
  app->WriteProfileInt(section, "BarID", static_cast<int>(m_nBarID));
  if (!m_bVisible) app->WriteProfileInt(section, "Visible", m_bVisible);
  if (m_bFloating) {
    app->WriteProfileInt(section, "Horz", m_bHorz);
    app->WriteProfileInt(section, "Floating", m_bFloating);
  }
  if (m_pointPos.x != -1) app->WriteProfileInt(section, "XPos", m_pointPos.x);
  if (m_pointPos.y != -1) app->WriteProfileInt(section, "YPos", m_pointPos.y);
  if (m_nMRUWidth != 32767) app->WriteProfileInt(section, "MRUWidth", static_cast<int>(m_nMRUWidth));
  if (m_bDocking) {
    app->WriteProfileInt(section, "Docking", m_bDocking);
    app->WriteProfileInt(section, "MRUDockID", static_cast<int>(m_uMRUDockID));
    app->WriteProfileInt(section, "MRUDockLeftPos", m_rectMRUDockPos.left);
    app->WriteProfileInt(section, "MRUDockTopPos", m_rectMRUDockPos.top);
    app->WriteProfileInt(section, "MRUDockRightPos", m_rectMRUDockPos.right);
    app->WriteProfileInt(section, "MRUDockBottomPos", m_rectMRUDockPos.bottom);
    app->WriteProfileInt(section, "MRUFloatStyle", static_cast<int>(m_dwMRUFloatStyle));
    app->WriteProfileInt(section, "MRUFloatXPos", m_ptMRUFloatPos.x);
    app->WriteProfileInt(section, "MRUFloatYPos", m_ptMRUFloatPos.y);
  }
  if (m_arrBarID.GetSize() > 1) {
    app->WriteProfileInt(section, "Bars", static_cast<int>(m_arrBarID.GetSize()));
    for (INT_PTR i = 0; i < m_arrBarID.GetSize(); ++i) {
      CString key;
      key.Format("Bar#%d", static_cast<int>(i));
      app->WriteProfileInt(section, key, static_cast<int>(BarIDAt(m_arrBarID, i)));
    }
  }
  return TRUE;
}

BOOL CControlBarInfo::LoadState(LPCSTR lpszProfileName, int nIndex, CDockState* pDockState) {
  CWinApp* app = AfxGetApp();
  if (!app) return FALSE;
  const CString section = Section(lpszProfileName, nIndex);
  auto read = [&](LPCSTR key, int def) { return static_cast<int>(app->GetProfileInt(section, key, def)); };
  m_nBarID = static_cast<UINT>(read("BarID", 0));
  m_bVisible = read("Visible", TRUE);
  m_bHorz = read("Horz", TRUE);
  m_bFloating = read("Floating", FALSE);
  m_pointPos = CPoint(read("XPos", -1), read("YPos", -1));
  if (pDockState) pDockState->ScalePoint(m_pointPos);
  m_nMRUWidth = static_cast<UINT>(read("MRUWidth", 32767));
  m_bDocking = read("Docking", FALSE);
  if (m_bDocking) {
    m_uMRUDockID = static_cast<UINT>(read("MRUDockID", 0));
    m_rectMRUDockPos.SetRect(read("MRUDockLeftPos", 0), read("MRUDockTopPos", 0), read("MRUDockRightPos", 0),
                             read("MRUDockBottomPos", 0));
    if (pDockState) pDockState->ScaleRectPos(m_rectMRUDockPos);
    m_dwMRUFloatStyle = static_cast<DWORD>(read("MRUFloatStyle", 0));
    m_ptMRUFloatPos = CPoint(read("MRUFloatXPos", 0), read("MRUFloatYPos", 0));
    if (pDockState) pDockState->ScalePoint(m_ptMRUFloatPos);
  }
  m_arrBarID.RemoveAll();
  const int bars = read("Bars", 0);
  if (bars > 0 && bars <= kMaxBarIDs) {
    for (int i = 0; i < bars; ++i) {
      CString key;
      key.Format("Bar#%d", i);
      m_arrBarID.Add(BarIDEntry(static_cast<UINT>(read(key, 0))));
    }
  }
  return TRUE;
}
