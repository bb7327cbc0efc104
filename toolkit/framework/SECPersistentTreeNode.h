// SECPersistentTreeNode: a node of a tree of named nodes with string values, which a
// store writes out and reads back (SECPTNStore). SECPTNFactory makes nodes and owns
// them. Every operation answers a status word, 0 for success (SECPTN_ flags below).
#pragma once
#include <memory>
#include <vector>

#include <afxwin.h>

class SECPersistentTreeNode;

// Status words of the tree nodes: bits, 0 is success.
enum : DWORD {
  SECPTN_ALREADY_CREATED = 0x1,
  SECPTN_NOT_CREATED = 0x2,
  SECPTN_EMPTY_NAME = 0x4,  // also: no child given
  SECPTN_EMPTY_KEY = 0x8,
  SECPTN_NO_OVERWRITE = 0x10,
  SECPTN_CHILD_EXISTS = 0x20,
  SECPTN_KEY_NOT_FOUND = 0x40,
  SECPTN_NO_DATA = 0x80,
  SECPTN_ENCODE_FAILED = 0x100,
  SECPTN_FAILED = 0xFFFF,  // refused for another reason, or a binary value that does not decode
};

using SECPTNPath = std::vector<CString>;  // this node's name first, the root's last

// Where a tree is written to and read from, node by node.
class SECPTNStore {
 public:
  virtual ~SECPTNStore() = default;
  virtual BOOL BeginNode(const SECPTNPath& path) = 0;
  virtual BOOL WriteValue(const SECPTNPath& path, LPCSTR lpszKey, LPCSTR lpszValue) = 0;
  virtual BOOL EndNode(const SECPTNPath& path, const std::vector<CString>& childNames) = 0;
  virtual BOOL ReadNode(const SECPTNPath& path, std::vector<CString>& childNames, std::vector<CString>& keys,
                        std::vector<CString>& values) = 0;
};

class SECPTNFactory {
 public:
  SECPTNFactory() = default;
  virtual ~SECPTNFactory();
  SECPTNFactory(const SECPTNFactory&) = delete;
  SECPTNFactory& operator=(const SECPTNFactory&) = delete;

  // A created node under `pParent`, kept by this factory; none when it cannot be
  // created (an empty name, a name the parent has already).
  SECPersistentTreeNode* CreateNode(LPCSTR lpszName, SECPersistentTreeNode* pParent);
  SECPersistentTreeNode* CreateNode(CRuntimeClass* pClass, LPCSTR lpszName, SECPersistentTreeNode* pParent);
  // FALSE for none or a node another factory made.
  BOOL DestroyNode(SECPersistentTreeNode* pNode);

 private:
  std::vector<SECPersistentTreeNode*> m_nodes;  // owned
};

class SECPersistentTreeNode : public CObject {
  DECLARE_DYNCREATE(SECPersistentTreeNode)
 public:
  class SECPersTreeNodeKeyValuePair : public CObject {
   public:
    SECPersTreeNodeKeyValuePair(LPCSTR lpszKey, LPCSTR lpszValue) : m_strKey(lpszKey), m_strValue(lpszValue) {}
    CString m_strKey;
    CString m_strValue;
  };

  SECPersistentTreeNode() = default;
  ~SECPersistentTreeNode() override;

  virtual DWORD Create(LPCSTR lpszName, SECPersistentTreeNode* pParent);
  virtual DWORD SetIntValue(LPCSTR lpszKey, int nValue, BOOL bOverwrite = TRUE);
  virtual DWORD SetStringValue(LPCSTR lpszKey, LPCSTR lpszValue, BOOL bOverwrite = TRUE);
  virtual DWORD SetBoolValue(LPCSTR lpszKey, BOOL bValue, BOOL bOverwrite = TRUE);
  virtual DWORD SetBinaryValue(LPCSTR lpszKey, const BYTE* pData, UINT nLength, BOOL bOverwrite = TRUE);
  virtual DWORD RemoveValue(LPCSTR lpszKey);
  virtual DWORD GetStringValue(LPCSTR lpszKey, CString& rValue, LPCSTR lpszDefault = "");
  virtual DWORD GetIntValue(LPCSTR lpszKey, int& rValue, int nDefault = 0);
  virtual DWORD GetUIntValue(LPCSTR lpszKey, UINT& rValue, UINT nDefault = 0);
  virtual DWORD GetLongValue(LPCSTR lpszKey, LONG& rValue, LONG nDefault = 0);
  virtual DWORD GetDWordValue(LPCSTR lpszKey, DWORD& rValue, DWORD dwDefault = 0);
  virtual DWORD GetBoolValue(LPCSTR lpszKey, BOOL& rValue, BOOL bDefault = FALSE);
  // The decoded bytes in a new buffer (delete[] by the caller), or null with length 0.
  virtual DWORD GetBinaryValue(LPCSTR lpszKey, BYTE*& rpData, UINT& rLength);
  virtual DWORD SaveTree(SECPTNStore* pStore);
  virtual DWORD LoadTree(SECPTNStore* pStore);
  virtual DWORD AddChild(SECPersistentTreeNode* pChild);

  SECPersistentTreeNode* FindChild(LPCSTR lpszName) const;
  SECPersTreeNodeKeyValuePair* FindValue(LPCSTR lpszKey) const;
  const CString& GetName() const { return m_strName; }
  SECPersistentTreeNode* GetParent() const { return m_pParent; }
  BOOL IsCreated() const { return m_bCreated; }
  SECPTNPath GetPath() const;
  std::vector<CString> GetChildNames() const;
  const std::vector<SECPersistentTreeNode*>& GetChildren() const { return m_children; }
  const std::vector<std::unique_ptr<SECPersTreeNodeKeyValuePair>>& GetValues() const { return m_values; }

  // Binary values longer than this many letters are stored in chunks.
  static constexpr int kChunkLetters = 250;
  // Trees read from a store go no deeper than this.
  static constexpr int kMaxLoadDepth = 64;

 private:
  DWORD LoadTreeAt(SECPTNStore* pStore, int nDepth);
  void LeaveParent();

  CString m_strName;
  SECPersistentTreeNode* m_pParent = nullptr;  // not owned
  SECPTNFactory m_factory;                     // the children a load made
  std::vector<SECPersistentTreeNode*> m_children;  // not owned
  std::vector<std::unique_ptr<SECPersTreeNodeKeyValuePair>> m_values;
  BOOL m_bCreated = FALSE;
};
