#include "SECPersistentTreeNode.h"

#include <algorithm>
#include <cstdlib>
#include <string>

IMPLEMENT_DYNCREATE(SECPersistentTreeNode, CObject)

// ---- factory

SECPTNFactory::~SECPTNFactory() {
  // Newest first: a node's children go before it, so no parent is left with a stale child.
  while (!m_nodes.empty()) {
    SECPersistentTreeNode* node = m_nodes.back();
    m_nodes.pop_back();
    delete node;
  }
}

SECPersistentTreeNode* SECPTNFactory::CreateNode(LPCSTR lpszName, SECPersistentTreeNode* pParent) {
  return CreateNode(RUNTIME_CLASS(SECPersistentTreeNode), lpszName, pParent);
}

SECPersistentTreeNode* SECPTNFactory::CreateNode(CRuntimeClass* pClass, LPCSTR lpszName,
                                                 SECPersistentTreeNode* pParent) {
  if (!pClass || !pClass->IsDerivedFrom(RUNTIME_CLASS(SECPersistentTreeNode))) return nullptr;
  std::unique_ptr<CObject> object(pClass->CreateObject());
  auto* node = dynamic_cast<SECPersistentTreeNode*>(object.get());
  if (!node || node->Create(lpszName, pParent) != 0) return nullptr;
  object.release();
  m_nodes.push_back(node);
  return node;
}

BOOL SECPTNFactory::DestroyNode(SECPersistentTreeNode* pNode) {
  auto it = std::find(m_nodes.begin(), m_nodes.end(), pNode);
  if (!pNode || it == m_nodes.end()) return FALSE;
  m_nodes.erase(it);
  delete pNode;
  return TRUE;
}

// ---- node

SECPersistentTreeNode::~SECPersistentTreeNode() {
  LeaveParent();
  // Children owned elsewhere outlive this node: they forget it.
  for (SECPersistentTreeNode* child : m_children) child->m_pParent = nullptr;
  m_children.clear();
}

void SECPersistentTreeNode::LeaveParent() {
  if (!m_pParent) return;
  auto& siblings = m_pParent->m_children;
  siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  m_pParent = nullptr;
}

DWORD SECPersistentTreeNode::Create(LPCSTR lpszName, SECPersistentTreeNode* pParent) {
  DWORD status = 0;
  if (m_bCreated) status |= SECPTN_ALREADY_CREATED;
  if (!lpszName || !*lpszName) status |= SECPTN_EMPTY_NAME;
  if (status) return status;
  m_strName = lpszName;
  if (pParent) {
    m_pParent = pParent;
    if (DWORD added = pParent->AddChild(this); added != 0) {
      m_pParent = nullptr;
      m_strName.Empty();
      return added == SECPTN_CHILD_EXISTS ? added : static_cast<DWORD>(SECPTN_FAILED);
    }
  }
  m_bCreated = TRUE;
  return 0;
}

DWORD SECPersistentTreeNode::AddChild(SECPersistentTreeNode* pChild) {
  if (!m_bCreated) return SECPTN_NOT_CREATED;
  if (!pChild || pChild == this) return SECPTN_EMPTY_NAME;
  if (FindChild(pChild->GetName())) return SECPTN_CHILD_EXISTS;
  // A node is a child of one parent only, and never of its own descendant.
  for (SECPersistentTreeNode* up = this; up; up = up->m_pParent)
    if (up == pChild) return SECPTN_FAILED;
  if (pChild->m_pParent && pChild->m_pParent != this) return SECPTN_FAILED;
  pChild->m_pParent = this;
  m_children.push_back(pChild);
  return 0;
}

SECPersistentTreeNode* SECPersistentTreeNode::FindChild(LPCSTR lpszName) const {
  if (!lpszName || !*lpszName) return nullptr;
  for (SECPersistentTreeNode* child : m_children)
    if (child->m_strName == lpszName) return child;
  return nullptr;
}

SECPersistentTreeNode::SECPersTreeNodeKeyValuePair* SECPersistentTreeNode::FindValue(LPCSTR lpszKey) const {
  if (!lpszKey || !*lpszKey) return nullptr;
  for (const auto& pair : m_values)
    if (pair->m_strKey == lpszKey) return pair.get();
  return nullptr;
}

SECPTNPath SECPersistentTreeNode::GetPath() const {
  SECPTNPath path;
  for (const SECPersistentTreeNode* node = this; node; node = node->m_pParent) path.push_back(node->m_strName);
  return path;
}

std::vector<CString> SECPersistentTreeNode::GetChildNames() const {
  std::vector<CString> names;
  for (SECPersistentTreeNode* child : m_children) names.push_back(child->m_strName);
  return names;
}

// ---- values

DWORD SECPersistentTreeNode::SetStringValue(LPCSTR lpszKey, LPCSTR lpszValue, BOOL bOverwrite) {
  DWORD status = 0;
  if (!m_bCreated) status |= SECPTN_NOT_CREATED;
  if (!lpszKey || !*lpszKey) status |= SECPTN_EMPTY_KEY;
  SECPersTreeNodeKeyValuePair* pair = status & SECPTN_EMPTY_KEY ? nullptr : FindValue(lpszKey);
  if (pair && !bOverwrite) status |= SECPTN_NO_OVERWRITE;
  if (status) return status;
  if (pair)
    pair->m_strValue = lpszValue ? lpszValue : "";
  else
    m_values.push_back(std::make_unique<SECPersTreeNodeKeyValuePair>(lpszKey, lpszValue ? lpszValue : ""));
  return 0;
}

DWORD SECPersistentTreeNode::SetIntValue(LPCSTR lpszKey, int nValue, BOOL bOverwrite) {
  CString text;
  text.Format("%d", nValue);
  return SetStringValue(lpszKey, text, bOverwrite);
}

DWORD SECPersistentTreeNode::SetBoolValue(LPCSTR lpszKey, BOOL bValue, BOOL bOverwrite) {
  return SetStringValue(lpszKey, bValue ? "True" : "False", bOverwrite);
}

namespace {
CString Suffixed(LPCSTR key, LPCSTR suffix) { return CString(key) + suffix; }
CString Chunk(LPCSTR key, int index) {
  CString name;
  name.Format("%s%s%d", key, "_BinVal", index);
  return name;
}
}  // namespace

DWORD SECPersistentTreeNode::SetBinaryValue(LPCSTR lpszKey, const BYTE* pData, UINT nLength, BOOL bOverwrite) {
  if (!pData || nLength == 0) return SECPTN_NO_DATA;
  if (nLength > 0x3FFFFFFF) return SECPTN_ENCODE_FAILED;
  std::string text(static_cast<size_t>(nLength) * 2, 'A');
  for (UINT i = 0; i < nLength; ++i) {
    text[i * 2] = static_cast<char>('A' + (pData[i] & 0x0F));
    text[i * 2 + 1] = static_cast<char>('A' + (pData[i] >> 4));
  }
  const int letters = static_cast<int>(text.size());
  const CString countKey = lpszKey ? Suffixed(lpszKey, "_BinCount") : CString();
  if (letters <= kChunkLetters) {
    DWORD status = SetStringValue(lpszKey, text.c_str(), bOverwrite);
    // Chunks of an earlier, longer value would be read instead of this one.
    if (status == 0 && FindValue(countKey)) RemoveValue(countKey);
    return status;
  }
  const int chunks = (letters + kChunkLetters - 1) / kChunkLetters;
  DWORD status = SetIntValue(countKey, chunks, bOverwrite);
  if (status != 0) return status;
  for (int i = 0; i < chunks; ++i) {
    const size_t at = static_cast<size_t>(i) * kChunkLetters;
    SetStringValue(Chunk(lpszKey, i), text.substr(at, kChunkLetters).c_str(), bOverwrite);
  }
  return 0;
}

DWORD SECPersistentTreeNode::RemoveValue(LPCSTR lpszKey) {
  if (!lpszKey || !*lpszKey) return SECPTN_KEY_NOT_FOUND;
  const size_t before = m_values.size();
  std::erase_if(m_values, [lpszKey](const auto& pair) { return pair->m_strKey == lpszKey; });
  return m_values.size() == before ? static_cast<DWORD>(SECPTN_KEY_NOT_FOUND) : 0;
}

DWORD SECPersistentTreeNode::GetStringValue(LPCSTR lpszKey, CString& rValue, LPCSTR lpszDefault) {
  rValue = lpszDefault ? lpszDefault : "";
  SECPersTreeNodeKeyValuePair* pair = FindValue(lpszKey);
  if (!pair) return SECPTN_KEY_NOT_FOUND;
  rValue = pair->m_strValue;
  return 0;
}

namespace {
// Decimal text to a 32-bit value: the leading number, wrapped to 32 bits, 0 for none.
long long Number(const CString& text) {
  errno = 0;
  long long value = std::strtoll(text, nullptr, 10);
  return value;
}
}  // namespace

DWORD SECPersistentTreeNode::GetIntValue(LPCSTR lpszKey, int& rValue, int nDefault) {
  rValue = nDefault;
  CString text;
  if (DWORD status = GetStringValue(lpszKey, text); status != 0) return status;
  rValue = static_cast<int>(static_cast<UINT>(Number(text)));
  return 0;
}

DWORD SECPersistentTreeNode::GetUIntValue(LPCSTR lpszKey, UINT& rValue, UINT nDefault) {
  rValue = nDefault;
  CString text;
  if (DWORD status = GetStringValue(lpszKey, text); status != 0) return status;
  rValue = static_cast<UINT>(Number(text));
  return 0;
}

DWORD SECPersistentTreeNode::GetLongValue(LPCSTR lpszKey, LONG& rValue, LONG nDefault) {
  rValue = nDefault;
  CString text;
  if (DWORD status = GetStringValue(lpszKey, text); status != 0) return status;
  rValue = static_cast<LONG>(static_cast<DWORD>(Number(text)));
  return 0;
}

DWORD SECPersistentTreeNode::GetDWordValue(LPCSTR lpszKey, DWORD& rValue, DWORD dwDefault) {
  rValue = dwDefault;
  CString text;
  if (DWORD status = GetStringValue(lpszKey, text); status != 0) return status;
  rValue = static_cast<DWORD>(Number(text));
  return 0;
}

DWORD SECPersistentTreeNode::GetBoolValue(LPCSTR lpszKey, BOOL& rValue, BOOL bDefault) {
  rValue = bDefault;
  CString text;
  if (DWORD status = GetStringValue(lpszKey, text); status != 0) return status;
  text.MakeUpper();
  rValue = text == "TRUE";
  return 0;
}

DWORD SECPersistentTreeNode::GetBinaryValue(LPCSTR lpszKey, BYTE*& rpData, UINT& rLength) {
  rpData = nullptr;
  rLength = 0;
  if (!lpszKey || !*lpszKey) return SECPTN_KEY_NOT_FOUND;
  CString text;
  if (SECPersTreeNodeKeyValuePair* count = FindValue(Suffixed(lpszKey, "_BinCount"))) {
    // A count no value list can hold is damage, not a reason to walk billions of keys.
    const long long chunks = Number(count->m_strValue);
    if (chunks <= 0 || chunks > static_cast<long long>(m_values.size())) return SECPTN_FAILED;
    for (int i = 0; i < static_cast<int>(chunks); ++i)
      if (SECPersTreeNodeKeyValuePair* chunk = FindValue(Chunk(lpszKey, i))) text += chunk->m_strValue;
  } else if (SECPersTreeNodeKeyValuePair* pair = FindValue(lpszKey)) {
    text = pair->m_strValue;
  } else {
    return SECPTN_KEY_NOT_FOUND;
  }
  const size_t length = static_cast<size_t>(text.GetLength()) / 2;
  if (length == 0) return SECPTN_FAILED;
  const char* letters = text;
  for (size_t i = 0; i < length * 2; ++i)
    if (letters[i] < 'A' || letters[i] > 'P') return SECPTN_FAILED;
  auto data = std::make_unique<BYTE[]>(length);
  for (size_t i = 0; i < length; ++i)
    data[i] = static_cast<BYTE>((letters[i * 2] - 'A') | ((letters[i * 2 + 1] - 'A') << 4));
  rpData = data.release();
  rLength = static_cast<UINT>(length);
  return 0;
}

// ---- stores

DWORD SECPersistentTreeNode::SaveTree(SECPTNStore* pStore) {
  if (!m_bCreated || !pStore) return 0;
  const SECPTNPath path = GetPath();
  pStore->BeginNode(path);
  for (const auto& pair : m_values) pStore->WriteValue(path, pair->m_strKey, pair->m_strValue);
  pStore->EndNode(path, GetChildNames());
  DWORD result = 1;
  for (SECPersistentTreeNode* child : std::vector<SECPersistentTreeNode*>(m_children))
    result &= child->SaveTree(pStore);
  return result;
}

DWORD SECPersistentTreeNode::LoadTree(SECPTNStore* pStore) { return LoadTreeAt(pStore, 0); }

DWORD SECPersistentTreeNode::LoadTreeAt(SECPTNStore* pStore, int nDepth) {
  if (!m_bCreated || !pStore) return 0;
  std::vector<CString> names, keys, values;
  const BOOL read = pStore->ReadNode(GetPath(), names, keys, values);
  if (read)
    for (size_t i = 0; i < keys.size() && i < values.size(); ++i) SetStringValue(keys[i], values[i], TRUE);
  if (nDepth >= kMaxLoadDepth) return read;
  for (const CString& name : names) {
    // A child the node refuses (no name, a name it has) is left out.
    SECPersistentTreeNode* child = m_factory.CreateNode(name, this);
    if (child) child->LoadTreeAt(pStore, nDepth + 1);
  }
  return read;
}
