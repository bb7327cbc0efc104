#include "SECPTNMemoryStore.h"

#include <algorithm>

std::vector<std::string> SECPTNMemoryStore::Key(const SECPTNPath& path) {
  std::vector<std::string> key;
  for (auto it = path.rbegin(); it != path.rend(); ++it) key.emplace_back(static_cast<LPCSTR>(*it));
  return key;
}

SECPTNMemoryStore::Node& SECPTNMemoryStore::At(const std::vector<CString>& rootFirst) {
  std::vector<std::string> key;
  for (const CString& name : rootFirst) key.emplace_back(static_cast<LPCSTR>(name));
  return m_nodes[key];
}

BOOL SECPTNMemoryStore::BeginNode(const SECPTNPath& path) {
  m_nodes[Key(path)] = Node{};
  return TRUE;
}

BOOL SECPTNMemoryStore::WriteValue(const SECPTNPath& path, LPCSTR lpszKey, LPCSTR lpszValue) {
  m_nodes[Key(path)].values.emplace_back(lpszKey ? lpszKey : "", lpszValue ? lpszValue : "");
  return TRUE;
}

BOOL SECPTNMemoryStore::EndNode(const SECPTNPath& path, const std::vector<CString>& childNames) {
  m_nodes[Key(path)].children = childNames;
  return TRUE;
}

BOOL SECPTNMemoryStore::ReadNode(const SECPTNPath& path, std::vector<CString>& childNames,
                                 std::vector<CString>& keys, std::vector<CString>& values) {
  childNames.clear();
  keys.clear();
  values.clear();
  auto it = m_nodes.find(Key(path));
  if (it == m_nodes.end()) return FALSE;
  childNames = it->second.children;
  for (const auto& [key, value] : it->second.values) {
    keys.push_back(key);
    values.push_back(value);
  }
  return TRUE;
}
