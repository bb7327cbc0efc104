// CList, the framework's doubly linked list template, and CTypedPtrList. A POSITION
// is a node of the list; a NULL position is reported and reads give a default element.
#pragma once
#include <memory>

#include "CollectionHelpers.h"

template <class TYPE, class ARG_TYPE>
class CList : public CObject {
 public:
  explicit CList(int nBlockSize = 10) {}
  ~CList() override { RemoveAll(); }

  int GetCount() const { return m_nCount; }
  int GetSize() const { return m_nCount; }
  BOOL IsEmpty() const { return m_nCount == 0; }

  TYPE& GetHead() { return Value(Pos(m_pHead.get())); }
  const TYPE& GetHead() const { return const_cast<CList*>(this)->GetHead(); }
  TYPE& GetTail() { return Value(Pos(m_pTail)); }
  const TYPE& GetTail() const { return const_cast<CList*>(this)->GetTail(); }

  TYPE RemoveHead();
  TYPE RemoveTail();
  POSITION AddHead(ARG_TYPE newElement) { return InsertBefore(GetHeadPosition(), newElement); }
  POSITION AddTail(ARG_TYPE newElement) { return InsertAfter(GetTailPosition(), newElement); }
  void AddHead(CList* pNewList);
  void AddTail(CList* pNewList);
  void RemoveAll();

  POSITION GetHeadPosition() const { return Pos(m_pHead.get()); }
  POSITION GetTailPosition() const { return Pos(m_pTail); }
  TYPE& GetNext(POSITION& rPosition);
  const TYPE& GetNext(POSITION& rPosition) const { return const_cast<CList*>(this)->GetNext(rPosition); }
  TYPE& GetPrev(POSITION& rPosition);
  const TYPE& GetPrev(POSITION& rPosition) const { return const_cast<CList*>(this)->GetPrev(rPosition); }

  TYPE& GetAt(POSITION position) { return Value(position); }
  const TYPE& GetAt(POSITION position) const { return const_cast<CList*>(this)->Value(position); }
  void SetAt(POSITION pos, ARG_TYPE newElement);
  void RemoveAt(POSITION position);

  // NULL inserts at the head (InsertBefore) or at the tail (InsertAfter).
  POSITION InsertBefore(POSITION position, ARG_TYPE newElement);
  POSITION InsertAfter(POSITION position, ARG_TYPE newElement);

  POSITION Find(ARG_TYPE searchValue, POSITION startAfter = nullptr) const;
  POSITION FindIndex(int nIndex) const;

  void Serialize(CArchive& ar) override;

 private:
  struct Node {
    std::unique_ptr<Node> pNext;
    Node* pPrev = nullptr;
    TYPE data{};
  };
  static POSITION Pos(Node* pNode) { return reinterpret_cast<POSITION>(pNode); }
  static Node* NodeOf(POSITION pos) { return reinterpret_cast<Node*>(pos); }
  TYPE& Value(POSITION pos) {
    if (pos == nullptr) return plat::afx::OutOfRangeElement<TYPE>();
    return NodeOf(pos)->data;
  }
  // Unlinks a node and hands back its ownership.
  std::unique_ptr<Node> Unlink(Node* pNode);

  std::unique_ptr<Node> m_pHead;
  Node* m_pTail = nullptr;
  int m_nCount = 0;
};

template <class TYPE, class ARG_TYPE>
std::unique_ptr<typename CList<TYPE, ARG_TYPE>::Node> CList<TYPE, ARG_TYPE>::Unlink(Node* pNode) {
  std::unique_ptr<Node>& owner = pNode->pPrev ? pNode->pPrev->pNext : m_pHead;
  std::unique_ptr<Node> taken = std::move(owner);
  if (taken->pNext) taken->pNext->pPrev = taken->pPrev;
  else m_pTail = taken->pPrev;
  owner = std::move(taken->pNext);
  --m_nCount;
  return taken;
}

template <class TYPE, class ARG_TYPE>
TYPE CList<TYPE, ARG_TYPE>::RemoveHead() {
  if (m_pHead == nullptr) return plat::afx::OutOfRangeElement<TYPE>();
  return std::move(Unlink(m_pHead.get())->data);
}

template <class TYPE, class ARG_TYPE>
TYPE CList<TYPE, ARG_TYPE>::RemoveTail() {
  if (m_pTail == nullptr) return plat::afx::OutOfRangeElement<TYPE>();
  return std::move(Unlink(m_pTail)->data);
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::AddHead(CList* pNewList) {
  if (pNewList == nullptr) return;
  // Walk backwards so that the new elements keep their order in front.
  for (POSITION pos = pNewList->GetTailPosition(); pos != nullptr;) AddHead(pNewList->GetPrev(pos));
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::AddTail(CList* pNewList) {
  if (pNewList == nullptr) return;
  int nCount = pNewList->GetCount();  // the list may be this one
  POSITION pos = pNewList->GetHeadPosition();
  for (int i = 0; i < nCount && pos != nullptr; ++i) AddTail(pNewList->GetNext(pos));
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::RemoveAll() {
  // One node at a time, so that a long list does not recurse through its links.
  while (m_pHead) {
    std::unique_ptr<Node> next = std::move(m_pHead->pNext);
    m_pHead = std::move(next);
  }
  m_pTail = nullptr;
  m_nCount = 0;
}

template <class TYPE, class ARG_TYPE>
TYPE& CList<TYPE, ARG_TYPE>::GetNext(POSITION& rPosition) {
  if (rPosition == nullptr) return plat::afx::OutOfRangeElement<TYPE>();
  Node* pNode = NodeOf(rPosition);
  rPosition = Pos(pNode->pNext.get());
  return pNode->data;
}

template <class TYPE, class ARG_TYPE>
TYPE& CList<TYPE, ARG_TYPE>::GetPrev(POSITION& rPosition) {
  if (rPosition == nullptr) return plat::afx::OutOfRangeElement<TYPE>();
  Node* pNode = NodeOf(rPosition);
  rPosition = Pos(pNode->pPrev);
  return pNode->data;
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::SetAt(POSITION pos, ARG_TYPE newElement) {
  if (pos == nullptr) {
    ASSERT(FALSE);
    return;
  }
  NodeOf(pos)->data = newElement;
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::RemoveAt(POSITION position) {
  if (position == nullptr) {
    ASSERT(FALSE);
    return;
  }
  Unlink(NodeOf(position));
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::InsertBefore(POSITION position, ARG_TYPE newElement) {
  auto pNew = std::make_unique<Node>();
  pNew->data = newElement;
  Node* pRaw = pNew.get();
  Node* pBefore = position ? NodeOf(position) : m_pHead.get();
  if (pBefore == nullptr) {  // empty list
    m_pHead = std::move(pNew);
    m_pTail = pRaw;
  } else {
    std::unique_ptr<Node>& owner = pBefore->pPrev ? pBefore->pPrev->pNext : m_pHead;
    pRaw->pPrev = pBefore->pPrev;
    pBefore->pPrev = pRaw;
    pRaw->pNext = std::move(owner);
    owner = std::move(pNew);
  }
  ++m_nCount;
  return Pos(pRaw);
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::InsertAfter(POSITION position, ARG_TYPE newElement) {
  Node* pAfter = position ? NodeOf(position) : m_pTail;
  if (pAfter == nullptr) return InsertBefore(nullptr, newElement);
  auto pNew = std::make_unique<Node>();
  pNew->data = newElement;
  Node* pRaw = pNew.get();
  pRaw->pPrev = pAfter;
  pRaw->pNext = std::move(pAfter->pNext);
  if (pRaw->pNext) pRaw->pNext->pPrev = pRaw;
  else m_pTail = pRaw;
  pAfter->pNext = std::move(pNew);
  ++m_nCount;
  return Pos(pRaw);
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::Find(ARG_TYPE searchValue, POSITION startAfter) const {
  Node* pNode = startAfter ? NodeOf(startAfter)->pNext.get() : m_pHead.get();
  for (; pNode != nullptr; pNode = pNode->pNext.get()) {
    if (CompareElements<TYPE>(&pNode->data, &searchValue)) return Pos(pNode);
  }
  return nullptr;
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::FindIndex(int nIndex) const {
  if (nIndex < 0 || nIndex >= m_nCount) return nullptr;
  Node* pNode = m_pHead.get();
  while (nIndex-- > 0) pNode = pNode->pNext.get();
  return Pos(pNode);
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::Serialize(CArchive& ar) {
  CObject::Serialize(ar);
  if (ar.IsStoring()) {
    ar.WriteCount(static_cast<DWORD>(m_nCount));
    for (Node* pNode = m_pHead.get(); pNode != nullptr; pNode = pNode->pNext.get()) {
      SerializeElements(ar, &pNode->data, 1);
    }
  } else {
    DWORD nCount = ar.ReadCount();
    ar.CheckRemaining(nCount);
    while (nCount-- > 0) {
      TYPE newData{};
      SerializeElements(ar, &newData, 1);
      AddTail(newData);
    }
  }
}

// A typed view of CPtrList or CObList: the elements are pointers of type TYPE.
template <class BASE_CLASS, class TYPE>
class CTypedPtrList : public BASE_CLASS {
 public:
  explicit CTypedPtrList(int nBlockSize = 10) : BASE_CLASS(nBlockSize) {}

  TYPE& GetHead() { return reinterpret_cast<TYPE&>(BASE_CLASS::GetHead()); }
  TYPE GetHead() const { return static_cast<TYPE>(BASE_CLASS::GetHead()); }
  TYPE& GetTail() { return reinterpret_cast<TYPE&>(BASE_CLASS::GetTail()); }
  TYPE GetTail() const { return static_cast<TYPE>(BASE_CLASS::GetTail()); }
  TYPE RemoveHead() { return static_cast<TYPE>(BASE_CLASS::RemoveHead()); }
  TYPE RemoveTail() { return static_cast<TYPE>(BASE_CLASS::RemoveTail()); }
  POSITION AddHead(TYPE newElement) { return BASE_CLASS::AddHead(newElement); }
  POSITION AddTail(TYPE newElement) { return BASE_CLASS::AddTail(newElement); }
  void AddHead(CTypedPtrList* pNewList) { BASE_CLASS::AddHead(pNewList); }
  void AddTail(CTypedPtrList* pNewList) { BASE_CLASS::AddTail(pNewList); }
  TYPE& GetNext(POSITION& rPosition) { return reinterpret_cast<TYPE&>(BASE_CLASS::GetNext(rPosition)); }
  TYPE GetNext(POSITION& rPosition) const { return static_cast<TYPE>(BASE_CLASS::GetNext(rPosition)); }
  TYPE& GetPrev(POSITION& rPosition) { return reinterpret_cast<TYPE&>(BASE_CLASS::GetPrev(rPosition)); }
  TYPE GetPrev(POSITION& rPosition) const { return static_cast<TYPE>(BASE_CLASS::GetPrev(rPosition)); }
  TYPE& GetAt(POSITION position) { return reinterpret_cast<TYPE&>(BASE_CLASS::GetAt(position)); }
  TYPE GetAt(POSITION position) const { return static_cast<TYPE>(BASE_CLASS::GetAt(position)); }
  void SetAt(POSITION pos, TYPE newElement) { BASE_CLASS::SetAt(pos, newElement); }
  POSITION InsertBefore(POSITION position, TYPE newElement) { return BASE_CLASS::InsertBefore(position, newElement); }
  POSITION InsertAfter(POSITION position, TYPE newElement) { return BASE_CLASS::InsertAfter(position, newElement); }
};
