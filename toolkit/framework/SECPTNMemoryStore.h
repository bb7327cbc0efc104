// SECPTNMemoryStore: a tree store held in memory: one record a node path, with the
// node's values in order and the names of its children.
#pragma once
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "SECPersistentTreeNode.h"

class SECPTNMemoryStore : public SECPTNStore {
 public:
  struct Node {
    std::vector<std::pair<CString, CString>> values;
    std::vector<CString> children;
  };

  BOOL BeginNode(const SECPTNPath& path) override;
  BOOL WriteValue(const SECPTNPath& path, LPCSTR lpszKey, LPCSTR lpszValue) override;
  BOOL EndNode(const SECPTNPath& path, const std::vector<CString>& childNames) override;
  // FALSE for a path the store has no node for.
  BOOL ReadNode(const SECPTNPath& path, std::vector<CString>& childNames, std::vector<CString>& keys,
                std::vector<CString>& values) override;

  // The node at a path given root first ("DockState", "Bar-0"), created when missing.
  Node& At(const std::vector<CString>& rootFirst);
  const std::map<std::vector<std::string>, Node>& Nodes() const { return m_nodes; }

 private:
  // Paths compare by their text (a CString would compare as a pointer in a vector).
  static std::vector<std::string> Key(const SECPTNPath& path);
  std::map<std::vector<std::string>, Node> m_nodes;  // by path, root first
};
