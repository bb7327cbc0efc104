#include "SECControlBarInfo.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "SECControlBarManager.h"
#include "SECDockState.h"
#include "SECPersistentTreeNode.h"

IMPLEMENT_DYNCREATE(SECControlBarInfoEx, CObject)

SECControlBarInfo::SECControlBarInfo() = default;

SECControlBarInfo::~SECControlBarInfo() { delete m_pBarInfoEx; }

CString SECControlBarInfo::Section(LPCSTR lpszProfileName, int nIndex) const {
  CString section;
  section.Format("%s-Bar%d", lpszProfileName ? lpszProfileName : "", nIndex);
  return section;
}

SECControlBarInfoEx* SECControlBarInfo::ExtendedFromOwner() {
  if (!m_pBarInfoEx && m_pOwner) m_pBarInfoEx = m_pOwner->CreateControlBarInfoEx(this);
  return m_pBarInfoEx;
}

CString SECControlBarInfo::ShareText(float fShare) {
  double scaled = std::isfinite(fShare) ? static_cast<double>(fShare) * 1000000.0 : 0.0;
  scaled = std::fmax(std::fmin(scaled, 2147483647.0), -2147483648.0);
  CString text;
  text.Format("%d", static_cast<int>(scaled));
  return text;
}

float SECControlBarInfo::ShareFromText(const CString& text) {
  const long long value = std::strtoll(text, nullptr, 10);
  return static_cast<float>(static_cast<int>(static_cast<UINT>(value))) * 0.000001f;
}

namespace {

// A placement that is not whole, or shows the window in no known way, is not taken.
BOOL UsablePlacement(const BYTE* data, UINT size, WINDOWPLACEMENT& placement) {
  if (!data || size != sizeof(WINDOWPLACEMENT)) return FALSE;
  WINDOWPLACEMENT read;
  std::memcpy(&read, data, sizeof read);
  if (read.showCmd > 11) return FALSE;
  placement = read;
  return TRUE;
}

LONG AtLeastOne(LONG value) { return value < 1 ? 0 : value; }

}  // namespace

// ---- profile

BOOL SECControlBarInfo::SaveState(LPCSTR lpszProfileName, int nIndex) {
  if (!CControlBarInfo::SaveState(lpszProfileName, nIndex)) return FALSE;
  CWinApp* app = AfxGetApp();
  const CString section = Section(lpszProfileName, nIndex);
  app->WriteProfileInt(section, "Style", static_cast<int>(m_dwStyle));
  app->WriteProfileInt(section, "ExStyle", static_cast<int>(m_dwExStyle));
  app->WriteProfileInt(section, "PrevFloating", m_bPrevFloating);
  app->WriteProfileInt(section, "MDIChild", m_bMDIChild);
  if (m_bMDIChild)
    app->WriteProfileBinary(section, "MDIChildWindowPlacement", reinterpret_cast<LPBYTE>(&m_wpMDIChild),
                            sizeof m_wpMDIChild);
  app->WriteProfileString(section, "PctWidth", ShareText(m_fPctWidth));
  app->WriteProfileInt(section, "MRUFloatCX", m_szMRUFloat.cx);
  app->WriteProfileInt(section, "MRUFloatCY", m_szMRUFloat.cy);
  app->WriteProfileInt(section, "MRUHorzDockCX", m_szMRUHorzDock.cx);
  app->WriteProfileInt(section, "MRUHorzDockCY", m_szMRUHorzDock.cy);
  app->WriteProfileInt(section, "MRUVertDockCX", m_szMRUVertDock.cx);
  app->WriteProfileInt(section, "MRUVertDockCY", m_szMRUVertDock.cy);
  app->WriteProfileInt(section, "MRUDockingState", m_nMRUDockingState);
  app->WriteProfileInt(section, "DockingStyle", static_cast<int>(m_dwDockStyle));
  app->WriteProfileInt(section, "TypeID", m_nTypeID);
  app->WriteProfileString(section, "ClassName", m_strClassName);
  app->WriteProfileString(section, "WindowName", m_strWindowName);
  app->WriteProfileInt(section, "ResourceID", static_cast<int>(m_nResourceID));
  if (m_pBarInfoEx) m_pBarInfoEx->SaveState(section);
  return TRUE;
}

BOOL SECControlBarInfo::LoadState(LPCSTR lpszProfileName, int nIndex, SECDockState* pDockState) {
  const BOOL result = CControlBarInfo::LoadState(lpszProfileName, nIndex, pDockState);
  CWinApp* app = AfxGetApp();
  if (!app) return result;
  const CString section = Section(lpszProfileName, nIndex);
  auto read = [&](LPCSTR key, int def) { return static_cast<int>(app->GetProfileInt(section, key, def)); };
  m_dwStyle = static_cast<DWORD>(read("Style", 0));
  m_dwExStyle = static_cast<DWORD>(read("ExStyle", 0));
  m_bPrevFloating = read("PrevFloating", 0);
  m_bMDIChild = read("MDIChild", 0);
  if (m_bMDIChild) {
    LPBYTE data = nullptr;
    UINT size = 0;
    if (app->GetProfileBinary(section, "MDIChildWindowPlacement", &data, &size)) {
      std::unique_ptr<BYTE[]> owned(data);
      UsablePlacement(owned.get(), size, m_wpMDIChild);
    }
  }
  m_fPctWidth = std::fmax(ShareFromText(app->GetProfileString(section, "PctWidth", "")), 0.0f);
  m_szMRUFloat = CSize(AtLeastOne(read("MRUFloatCX", 0)), AtLeastOne(read("MRUFloatCY", 0)));
  m_szMRUHorzDock = CSize(AtLeastOne(read("MRUHorzDockCX", 0)), AtLeastOne(read("MRUHorzDockCY", 0)));
  m_szMRUVertDock = CSize(AtLeastOne(read("MRUVertDockCX", 0)), AtLeastOne(read("MRUVertDockCY", 0)));
  m_nMRUDockingState = read("MRUDockingState", m_nMRUDockingState);
  m_dwDockStyle = static_cast<DWORD>(read("DockingStyle", static_cast<int>(m_dwDockStyle)));
  m_nTypeID = read("TypeID", 0);
  m_strClassName = app->GetProfileString(section, "ClassName", "");
  m_strWindowName = app->GetProfileString(section, "WindowName", "");
  m_nResourceID = static_cast<UINT>(read("ResourceID", static_cast<int>(m_nResourceID)));
  if (SECControlBarInfoEx* extended = ExtendedFromOwner()) extended->LoadState(section, pDockState);
  return result;
}

// ---- tree

BOOL SECControlBarInfo::SaveToTree(SECPTNFactory* pFactory, SECPersistentTreeNode* pParent, int nIndex) {
  if (!pParent || !pFactory || IsEmptyDockBar()) return FALSE;
  CString name;
  name.Format("Bar-%d", nIndex);
  SECPersistentTreeNode* node = pFactory->CreateNode(name, pParent);
  if (!node) return FALSE;
  SaveStandardToTree(pFactory, node);
  SaveExtraToTree(pFactory, node);
  if (m_pBarInfoEx) m_pBarInfoEx->SaveToTree(pFactory, node);
  return TRUE;
}

BOOL SECControlBarInfo::SaveStandardToTree(SECPTNFactory*, SECPersistentTreeNode* pNode) {
  if (!pNode) return FALSE;
  pNode->SetIntValue("BarID", static_cast<int>(m_nBarID));
  if (!m_bVisible) pNode->SetStringValue("Visible", "False");
  if (m_bFloating) {
    pNode->SetBoolValue("Horz", m_bHorz);
    pNode->SetBoolValue("Floating", m_bFloating);
  }
  if (m_pointPos.x != -1) pNode->SetIntValue("XPos", m_pointPos.x);
  if (m_pointPos.y != -1) pNode->SetIntValue("YPos", m_pointPos.y);
  if (m_nMRUWidth != 32767) pNode->SetIntValue("MRUWidth", static_cast<int>(m_nMRUWidth));
  if (m_bDocking) {
    pNode->SetStringValue("Docking", "True");
    pNode->SetIntValue("MRUDockID", static_cast<int>(m_uMRUDockID));
    pNode->SetIntValue("MRUDockLeftPos", m_rectMRUDockPos.left);
    pNode->SetIntValue("MRUDockTopPos", m_rectMRUDockPos.top);
    pNode->SetIntValue("MRUDockRightPos", m_rectMRUDockPos.right);
    pNode->SetIntValue("MRUDockBottomPos", m_rectMRUDockPos.bottom);
    pNode->SetIntValue("MRUFloatStyle", static_cast<int>(m_dwMRUFloatStyle));
    pNode->SetIntValue("MRUFloatXPos", m_ptMRUFloatPos.x);
    pNode->SetIntValue("MRUFloatYPos", m_ptMRUFloatPos.y);
  }
  if (m_arrBarID.GetSize() > 1) {
    pNode->SetIntValue("Bars", static_cast<int>(m_arrBarID.GetSize()));
    for (INT_PTR i = 0; i < m_arrBarID.GetSize(); ++i) {
      CString key;
      key.Format("Bar#%d", static_cast<int>(i));
      pNode->SetIntValue(key, static_cast<int>(BarIDAt(m_arrBarID, i)));
    }
  }
  return TRUE;
}

BOOL SECControlBarInfo::LoadStandardFromTree(SECPersistentTreeNode* pNode, SECDockState* pDockState) {
  if (!pNode) return FALSE;
  pNode->GetUIntValue("BarID", m_nBarID, 0);
  pNode->GetBoolValue("Visible", m_bVisible, TRUE);
  pNode->GetBoolValue("Horz", m_bHorz, TRUE);
  pNode->GetBoolValue("Floating", m_bFloating, FALSE);
  LONG x = -1, y = -1;
  pNode->GetLongValue("XPos", x, -1);
  pNode->GetLongValue("YPos", y, -1);
  m_pointPos = CPoint(x, y);
  if (pDockState) pDockState->ScalePoint(m_pointPos);
  pNode->GetUIntValue("MRUWidth", m_nMRUWidth, 32767);
  pNode->GetBoolValue("Docking", m_bDocking, FALSE);
  if (m_bDocking) {
    pNode->GetUIntValue("MRUDockID", m_uMRUDockID, 0);
    LONG l = 0, t = 0, r = 0, b = 0;
    pNode->GetLongValue("MRUDockLeftPos", l, 0);
    pNode->GetLongValue("MRUDockTopPos", t, 0);
    pNode->GetLongValue("MRUDockRightPos", r, 0);
    pNode->GetLongValue("MRUDockBottomPos", b, 0);
    m_rectMRUDockPos.SetRect(l, t, r, b);
    pNode->GetDWordValue("MRUFloatStyle", m_dwMRUFloatStyle, 0);
    LONG fx = 0, fy = 0;
    pNode->GetLongValue("MRUFloatXPos", fx, 0);
    pNode->GetLongValue("MRUFloatYPos", fy, 0);
    m_ptMRUFloatPos = CPoint(fx, fy);
    if (pDockState) {
      pDockState->ScaleRectPos(m_rectMRUDockPos);
      pDockState->ScalePoint(m_ptMRUFloatPos);
    }
  }
  m_arrBarID.RemoveAll();
  int bars = 0;
  pNode->GetIntValue("Bars", bars, 0);
  // Each id is a value of the node: a count beyond them is damage.
  if (bars > 0 && bars <= kMaxBarIDs && static_cast<size_t>(bars) <= pNode->GetValues().size()) {
    for (int i = 0; i < bars; ++i) {
      CString key;
      key.Format("Bar#%d", i);
      UINT id = 0;
      pNode->GetUIntValue(key, id, 0);
      m_arrBarID.Add(BarIDEntry(id));
    }
  }
  return TRUE;
}

BOOL SECControlBarInfo::SaveExtraToTree(SECPTNFactory*, SECPersistentTreeNode* pNode) {
  if (!pNode) return FALSE;
  pNode->SetIntValue("Style", static_cast<int>(m_dwStyle), TRUE);
  pNode->SetIntValue("ExStyle", static_cast<int>(m_dwExStyle), TRUE);
  pNode->SetBoolValue("PrevFloating", m_bPrevFloating, TRUE);
  pNode->SetBoolValue("MDIChild", m_bMDIChild, TRUE);
  if (m_bMDIChild)
    pNode->SetBinaryValue("MDIChildWindowPlacement", reinterpret_cast<const BYTE*>(&m_wpMDIChild),
                          sizeof m_wpMDIChild, TRUE);
  pNode->SetStringValue("PctWidth", ShareText(m_fPctWidth), TRUE);
  pNode->SetIntValue("MRUFloatCX", m_szMRUFloat.cx, TRUE);
  pNode->SetIntValue("MRUFloatCY", m_szMRUFloat.cy, TRUE);
  pNode->SetIntValue("MRUHorzDockCX", m_szMRUHorzDock.cx, TRUE);
  pNode->SetIntValue("MRUHorzDockCY", m_szMRUHorzDock.cy, TRUE);
  pNode->SetIntValue("MRUVertDockCX", m_szMRUVertDock.cx, TRUE);
  pNode->SetIntValue("MRUVertDockCY", m_szMRUVertDock.cy, TRUE);
  pNode->SetIntValue("MRUDockingState", m_nMRUDockingState, TRUE);
  pNode->SetIntValue("DockingStyle", static_cast<int>(m_dwDockStyle), TRUE);
  pNode->SetIntValue("TypeID", m_nTypeID, TRUE);
  pNode->SetStringValue("ClassName", m_strClassName, TRUE);
  pNode->SetStringValue("WindowName", m_strWindowName, TRUE);
  pNode->SetIntValue("ResourceID", static_cast<int>(m_nResourceID), TRUE);
  return TRUE;
}

BOOL SECControlBarInfo::LoadExtraFromTree(SECPersistentTreeNode* pNode) {
  if (!pNode) return FALSE;
  pNode->GetDWordValue("Style", m_dwStyle, 0);
  pNode->GetDWordValue("ExStyle", m_dwExStyle, 0);
  pNode->GetBoolValue("PrevFloating", m_bPrevFloating, FALSE);
  pNode->GetBoolValue("MDIChild", m_bMDIChild, FALSE);
  if (m_bMDIChild) {
    BYTE* data = nullptr;
    UINT size = 0;
    if (pNode->GetBinaryValue("MDIChildWindowPlacement", data, size) == 0) {
      std::unique_ptr<BYTE[]> owned(data);
      UsablePlacement(owned.get(), size, m_wpMDIChild);
    }
  }
  CString share;
  pNode->GetStringValue("PctWidth", share, "");
  m_fPctWidth = std::fmax(ShareFromText(share), 0.0f);
  LONG cx = 0, cy = 0;
  pNode->GetLongValue("MRUFloatCX", cx, 0);
  pNode->GetLongValue("MRUFloatCY", cy, 0);
  m_szMRUFloat = CSize(AtLeastOne(cx), AtLeastOne(cy));
  pNode->GetLongValue("MRUHorzDockCX", cx, 0);
  pNode->GetLongValue("MRUHorzDockCY", cy, 0);
  m_szMRUHorzDock = CSize(AtLeastOne(cx), AtLeastOne(cy));
  pNode->GetLongValue("MRUVertDockCX", cx, 0);
  pNode->GetLongValue("MRUVertDockCY", cy, 0);
  m_szMRUVertDock = CSize(AtLeastOne(cx), AtLeastOne(cy));
  DWORD value = static_cast<DWORD>(m_nMRUDockingState);
  pNode->GetDWordValue("MRUDockingState", value, value);
  m_nMRUDockingState = static_cast<int>(value);
  pNode->GetDWordValue("DockingStyle", m_dwDockStyle, m_dwDockStyle);
  value = static_cast<DWORD>(m_nTypeID);
  pNode->GetDWordValue("TypeID", value, 0);
  m_nTypeID = static_cast<int>(value);
  pNode->GetStringValue("ClassName", m_strClassName, "");
  pNode->GetStringValue("WindowName", m_strWindowName, "");
  int resource = static_cast<int>(m_nResourceID);
  pNode->GetIntValue("ResourceID", resource, resource);
  m_nResourceID = static_cast<UINT>(resource);
  return TRUE;
}

BOOL SECControlBarInfo::LoadFromTree(SECPersistentTreeNode* pNode, SECDockState* pDockState) {
  if (!pNode) return FALSE;
  LoadStandardFromTree(pNode, pDockState);
  LoadExtraFromTree(pNode);
  if (SECControlBarInfoEx* extended = ExtendedFromOwner()) extended->LoadFromTree(pNode);
  return TRUE;
}

// ---- archive

void SECControlBarInfo::Serialize(CArchive& ar, SECDockState* pDockState) {
  const DWORD version = pDockState ? pDockState->m_dwVersion : 2;
  if (ar.IsStoring()) {
    ar << static_cast<DWORD>(m_nBarID) << static_cast<DWORD>(m_bVisible) << static_cast<DWORD>(m_bFloating)
       << static_cast<DWORD>(m_bHorz);
    ar << static_cast<LONG>(m_pointPos.x) << static_cast<LONG>(m_pointPos.y);
    if (version > 1) {
      ar << static_cast<DWORD>(m_nMRUWidth) << static_cast<DWORD>(m_bDocking);
      if (m_bDocking) {
        ar << static_cast<DWORD>(m_uMRUDockID);
        ar << static_cast<LONG>(m_rectMRUDockPos.left) << static_cast<LONG>(m_rectMRUDockPos.top)
           << static_cast<LONG>(m_rectMRUDockPos.right) << static_cast<LONG>(m_rectMRUDockPos.bottom);
        ar << static_cast<DWORD>(m_dwMRUFloatStyle);
        ar << static_cast<LONG>(m_ptMRUFloatPos.x) << static_cast<LONG>(m_ptMRUFloatPos.y);
      }
    }
    ar << m_dwStyle << m_dwExStyle << static_cast<DWORD>(m_bPrevFloating) << static_cast<DWORD>(m_bMDIChild);
    ar << ShareText(m_fPctWidth);
    for (const CSize* size : {&m_szMRUFloat, &m_szMRUHorzDock, &m_szMRUVertDock})
      ar << static_cast<LONG>(size->cx) << static_cast<LONG>(size->cy);
    ar << static_cast<DWORD>(m_nMRUDockingState) << m_dwDockStyle << static_cast<DWORD>(m_nTypeID);
    // Loading asks the owner for the extended record of every record: a record the owner
    // gives one is written with one (empty when the bar had none), so the two agree.
    if (SECControlBarInfoEx* extended = ExtendedFromOwner()) extended->Serialize(ar, pDockState);
    const INT_PTR count = std::min<INT_PTR>(m_arrBarID.GetSize(), 0xFFFF);
    ar << static_cast<WORD>(count);
    for (INT_PTR i = 0; i < count; ++i) ar << static_cast<DWORD>(BarIDAt(m_arrBarID, i));
    return;
  }
  DWORD value = 0;
  LONG x = 0, y = 0;
  ar >> value;
  m_nBarID = value;
  ar >> value;
  m_bVisible = static_cast<BOOL>(value);
  ar >> value;
  m_bFloating = static_cast<BOOL>(value);
  ar >> value;
  m_bHorz = static_cast<BOOL>(value);
  ar >> x >> y;
  m_pointPos = CPoint(x, y);
  if (version > 1) {
    if (pDockState) pDockState->ScalePoint(m_pointPos);
    ar >> value;
    m_nMRUWidth = value;
    ar >> value;
    m_bDocking = static_cast<BOOL>(value);
    if (m_bDocking) {
      ar >> value;
      m_uMRUDockID = value;
      LONG l = 0, t = 0, r = 0, b = 0;
      ar >> l >> t >> r >> b;
      m_rectMRUDockPos.SetRect(l, t, r, b);
      if (pDockState) pDockState->ScaleRectPos(m_rectMRUDockPos);
      ar >> m_dwMRUFloatStyle;
      ar >> x >> y;
      m_ptMRUFloatPos = CPoint(x, y);
      if (pDockState) pDockState->ScalePoint(m_ptMRUFloatPos);
    }
  }
  ar >> m_dwStyle >> m_dwExStyle;
  ar >> value;
  m_bPrevFloating = static_cast<BOOL>(value);
  ar >> value;
  m_bMDIChild = static_cast<BOOL>(value);
  CString share;
  ar >> share;
  m_fPctWidth = ShareFromText(share);  // kept as stored, negative or not
  for (CSize* size : {&m_szMRUFloat, &m_szMRUHorzDock, &m_szMRUVertDock}) {
    ar >> x >> y;
    *size = CSize(x, y);
  }
  ar >> value;
  m_nMRUDockingState = static_cast<int>(value);
  ar >> m_dwDockStyle;
  ar >> value;
  m_nTypeID = static_cast<int>(value);
  if (SECControlBarInfoEx* extended = ExtendedFromOwner()) extended->Serialize(ar, pDockState);
  WORD count = 0;
  ar >> count;
  ar.CheckRemaining(static_cast<ULONGLONG>(count) * 4);
  m_arrBarID.RemoveAll();
  for (WORD i = 0; i < count; ++i) {
    ar >> value;
    m_arrBarID.Add(BarIDEntry(value));
  }
}
