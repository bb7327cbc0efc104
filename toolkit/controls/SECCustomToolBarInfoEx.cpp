#include "SECCustomToolBarInfoEx.h"

#include <memory>

#include "framework/SECPersistentTreeNode.h"

IMPLEMENT_DYNCREATE(SECCustomToolBarInfoEx, SECControlBarInfoEx)

namespace {
constexpr size_t kSmallestButton = 4 + 1;  // id and data length
}  // namespace

void SECCustomToolBarInfoEx::Serialize(CArchive& ar, SECDockState*) {
  if (ar.IsStoring()) {
    ar << m_strTitle;
    ar << static_cast<DWORD>(m_btnInfo.GetSize());
    for (int i = 0; i < m_btnInfo.GetSize(); ++i) {
      const SECBtnInfo* info = m_btnInfo[i];
      ar << static_cast<DWORD>(info->m_nID);
      ar << static_cast<BYTE>(info->m_data.size());
      if (!info->m_data.empty()) ar.Write(info->m_data.data(), static_cast<UINT>(info->m_data.size()));
    }
    return;
  }
  // Read aside and taken whole: a damaged record changes nothing here.
  CString title;
  ar >> title;
  DWORD count = 0;
  ar >> count;
  ar.CheckRemaining(static_cast<ULONGLONG>(count) * kSmallestButton);
  SECBtnInfoArray read;
  for (DWORD i = 0; i < count; ++i) {
    auto info = std::make_unique<SECBtnInfo>();
    DWORD id = 0;
    BYTE length = 0;
    ar >> id >> length;
    info->m_nID = id;
    info->m_data.resize(length);
    if (length && ar.Read(info->m_data.data(), length) != length)
      AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
    read.Add(std::move(info));
  }
  m_strTitle = title;
  m_btnInfo.Swap(read);
  m_bComplete = TRUE;
}

std::vector<BYTE> SECCustomToolBarInfoEx::ButtonBytes() const {
  std::vector<BYTE> bytes;
  for (int i = 0; i < m_btnInfo.GetSize(); ++i) {
    const SECBtnInfo* info = m_btnInfo[i];
    for (int b = 0; b < 4; ++b) bytes.push_back(static_cast<BYTE>(info->m_nID >> (8 * b)));
    bytes.push_back(static_cast<BYTE>(info->m_data.size()));
    bytes.insert(bytes.end(), info->m_data.begin(), info->m_data.end());
  }
  return bytes;
}

BOOL SECCustomToolBarInfoEx::ParseButtons(const BYTE* pData, size_t nBytes, SECBtnInfoArray& buttons) {
  SECBtnInfoArray read;
  size_t at = 0;
  while (at < nBytes) {
    if (nBytes - at < kSmallestButton) return FALSE;
    auto info = std::make_unique<SECBtnInfo>();
    info->m_nID = static_cast<UINT>(pData[at]) | static_cast<UINT>(pData[at + 1]) << 8 |
                  static_cast<UINT>(pData[at + 2]) << 16 | static_cast<UINT>(pData[at + 3]) << 24;
    const size_t length = pData[at + 4];
    at += kSmallestButton;
    if (nBytes - at < length) return FALSE;
    info->m_data.assign(pData + at, pData + at + length);
    at += length;
    read.Add(std::move(info));
  }
  buttons.Swap(read);
  return TRUE;
}

BOOL SECCustomToolBarInfoEx::LoadState(LPCSTR lpszSection, SECDockState*) {
  CWinApp* app = AfxGetApp();
  if (!app || !lpszSection) return FALSE;
  CString title = app->GetProfileString(lpszSection, "Title", "");
  SECBtnInfoArray read;
  LPBYTE data = nullptr;
  UINT size = 0;
  if (app->GetProfileBinary(lpszSection, "Buttons", &data, &size)) {
    std::unique_ptr<BYTE[]> owned(data);
    if (!ParseButtons(owned.get(), size, read)) return FALSE;
  } else if (!app->GetProfileString(lpszSection, "Buttons", "").IsEmpty()) {
    return FALSE;  // a value that is no byte string
  }
  m_strTitle = title;
  m_btnInfo.Swap(read);
  m_bComplete = TRUE;
  return TRUE;
}

BOOL SECCustomToolBarInfoEx::SaveState(LPCSTR lpszSection) {
  CWinApp* app = AfxGetApp();
  if (!app || !lpszSection) return FALSE;
  BOOL done = TRUE;
  if (!m_strTitle.IsEmpty()) done = app->WriteProfileString(lpszSection, "Title", m_strTitle);
  std::vector<BYTE> bytes = ButtonBytes();
  return app->WriteProfileBinary(lpszSection, "Buttons", bytes.data(), static_cast<UINT>(bytes.size())) && done;
}

BOOL SECCustomToolBarInfoEx::LoadFromTree(SECPersistentTreeNode* pNode) {
  SECPersistentTreeNode* node = pNode ? pNode->FindChild("ToolBarInfoEx") : nullptr;
  if (!node) return FALSE;
  CString title;
  node->GetStringValue("Title", title, "");
  SECBtnInfoArray read;
  BYTE* data = nullptr;
  UINT size = 0;
  const DWORD status = node->GetBinaryValue("Buttons", data, size);
  std::unique_ptr<BYTE[]> owned(data);
  if (status == 0) {
    if (!ParseButtons(owned.get(), size, read)) return FALSE;
  } else if (status != SECPTN_KEY_NOT_FOUND) {
    return FALSE;  // a value that is no byte string
  }
  m_strTitle = title;
  m_btnInfo.Swap(read);
  m_bComplete = TRUE;
  return TRUE;
}

BOOL SECCustomToolBarInfoEx::SaveToTree(SECPTNFactory* pFactory, SECPersistentTreeNode* pNode) {
  if (!pFactory || !pNode) return FALSE;
  SECPersistentTreeNode* node = pFactory->CreateNode("ToolBarInfoEx", pNode);
  if (!node) return FALSE;
  node->SetStringValue("Title", m_strTitle);
  std::vector<BYTE> bytes = ButtonBytes();
  if (!bytes.empty()) node->SetBinaryValue("Buttons", bytes.data(), static_cast<UINT>(bytes.size()));
  return TRUE;
}
