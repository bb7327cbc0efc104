// CMap, the framework's hash map template, and CTypedPtrMap. Iteration visits the
// buckets in order and each bucket newest first, as the framework's maps do, so code
// that stores a map sees the same order.
#pragma once
#include <memory>
#include <vector>

#include "CollectionHelpers.h"

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject {
 public:
  using BASE_KEY = KEY;
  using BASE_ARG_KEY = ARG_KEY;
  using BASE_VALUE = VALUE;
  using BASE_ARG_VALUE = ARG_VALUE;

  explicit CMap(int nBlockSize = 10) {}
  ~CMap() override { RemoveAll(); }

  int GetCount() const { return m_nCount; }
  int GetSize() const { return m_nCount; }
  BOOL IsEmpty() const { return m_nCount == 0; }
  UINT GetHashTableSize() const { return m_nHashTableSize; }
  // Takes effect while the map is empty.
  void InitHashTable(UINT hashSize, BOOL bAllocNow = TRUE);

  BOOL Lookup(ARG_KEY key, VALUE& rValue) const;
  VALUE& operator[](ARG_KEY key);
  void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }
  BOOL RemoveKey(ARG_KEY key);
  void RemoveAll();

  POSITION GetStartPosition() const { return m_nCount == 0 ? nullptr : BEFORE_START_POSITION; }
  void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const;

  void Serialize(CArchive& ar) override;

 private:
  struct Assoc {
    std::unique_ptr<Assoc> pNext;
    UINT nHashValue = 0;
    KEY key{};
    VALUE value{};
  };
  Assoc* GetAssocAt(ARG_KEY key, UINT& nHash) const;
  Assoc* FirstFrom(UINT nBucket) const;

  std::vector<std::unique_ptr<Assoc>> m_buckets;
  UINT m_nHashTableSize = 17;
  int m_nCount = 0;
};

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::InitHashTable(UINT hashSize, BOOL bAllocNow) {
  if (m_nCount != 0 || hashSize == 0) {
    ASSERT(FALSE);
    return;
  }
  m_buckets.clear();
  m_nHashTableSize = hashSize;
  if (bAllocNow) m_buckets.resize(hashSize);
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
typename CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::Assoc* CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::GetAssocAt(
    ARG_KEY key, UINT& nHash) const {
  nHash = HashKey<ARG_KEY>(key) % m_nHashTableSize;
  if (m_buckets.empty()) return nullptr;
  for (Assoc* pAssoc = m_buckets[nHash].get(); pAssoc != nullptr; pAssoc = pAssoc->pNext.get()) {
    if (CompareElements(&pAssoc->key, &key)) return pAssoc;
  }
  return nullptr;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
BOOL CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::Lookup(ARG_KEY key, VALUE& rValue) const {
  UINT nHash;
  Assoc* pAssoc = GetAssocAt(key, nHash);
  if (pAssoc == nullptr) return FALSE;
  rValue = pAssoc->value;
  return TRUE;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
VALUE& CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::operator[](ARG_KEY key) {
  UINT nHash;
  if (Assoc* pAssoc = GetAssocAt(key, nHash)) return pAssoc->value;
  if (m_buckets.empty()) m_buckets.resize(m_nHashTableSize);
  auto pNew = std::make_unique<Assoc>();
  pNew->nHashValue = nHash;
  pNew->key = key;
  pNew->pNext = std::move(m_buckets[nHash]);
  m_buckets[nHash] = std::move(pNew);
  ++m_nCount;
  return m_buckets[nHash]->value;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
BOOL CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveKey(ARG_KEY key) {
  if (m_buckets.empty()) return FALSE;
  UINT nHash = HashKey<ARG_KEY>(key) % m_nHashTableSize;
  for (std::unique_ptr<Assoc>* pLink = &m_buckets[nHash]; *pLink; pLink = &(*pLink)->pNext) {
    if (CompareElements(&(*pLink)->key, &key)) {
      std::unique_ptr<Assoc> removed = std::move(*pLink);
      *pLink = std::move(removed->pNext);
      --m_nCount;
      return TRUE;
    }
  }
  return FALSE;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveAll() {
  for (auto& bucket : m_buckets) {
    while (bucket) bucket = std::move(bucket->pNext);
  }
  m_buckets.clear();
  m_nCount = 0;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
typename CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::Assoc* CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::FirstFrom(
    UINT nBucket) const {
  for (; nBucket < m_buckets.size(); ++nBucket) {
    if (m_buckets[nBucket]) return m_buckets[nBucket].get();
  }
  return nullptr;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::GetNextAssoc(POSITION& rNextPosition, KEY& rKey,
                                                        VALUE& rValue) const {
  Assoc* pAssoc = rNextPosition == BEFORE_START_POSITION ? FirstFrom(0)
                                                         : reinterpret_cast<Assoc*>(rNextPosition);
  if (pAssoc == nullptr) {
    ASSERT(FALSE);
    rNextPosition = nullptr;
    return;
  }
  Assoc* pNext = pAssoc->pNext ? pAssoc->pNext.get() : FirstFrom(pAssoc->nHashValue + 1);
  rNextPosition = reinterpret_cast<POSITION>(pNext);
  rKey = pAssoc->key;
  rValue = pAssoc->value;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::Serialize(CArchive& ar) {
  CObject::Serialize(ar);
  if (ar.IsStoring()) {
    ar.WriteCount(static_cast<DWORD>(m_nCount));
    for (POSITION pos = GetStartPosition(); pos != nullptr;) {
      KEY key;
      VALUE value;
      GetNextAssoc(pos, key, value);
      SerializeElements(ar, &key, 1);
      SerializeElements(ar, &value, 1);
    }
  } else {
    DWORD nCount = ar.ReadCount();
    ar.CheckRemaining(nCount);
    while (nCount-- > 0) {
      KEY newKey{};
      VALUE newValue{};
      SerializeElements(ar, &newKey, 1);
      // A stored map holds each key once: a repeated key would drop the value read first.
      VALUE existing;
      if (Lookup(newKey, existing)) plat::afx::ThrowDamaged(ar);
      SerializeElements(ar, &newValue, 1);
      SetAt(newKey, newValue);
    }
  }
}

// A typed view of the pointer maps: keys and values of the given pointer types.
template <class BASE_CLASS, class KEY, class VALUE>
class CTypedPtrMap : public BASE_CLASS {
 public:
  explicit CTypedPtrMap(int nBlockSize = 10) : BASE_CLASS(nBlockSize) {}

  BOOL Lookup(typename BASE_CLASS::BASE_ARG_KEY key, VALUE& rValue) const {
    typename BASE_CLASS::BASE_VALUE value{};
    if (!BASE_CLASS::Lookup(key, value)) return FALSE;
    rValue = static_cast<VALUE>(value);
    return TRUE;
  }
  VALUE& operator[](typename BASE_CLASS::BASE_ARG_KEY key) {
    return reinterpret_cast<VALUE&>(BASE_CLASS::operator[](key));
  }
  void SetAt(KEY key, VALUE newValue) { BASE_CLASS::SetAt(key, newValue); }
  BOOL RemoveKey(KEY key) { return BASE_CLASS::RemoveKey(key); }
  void GetNextAssoc(POSITION& rPosition, KEY& rKey, VALUE& rValue) const {
    typename BASE_CLASS::BASE_KEY key{};
    typename BASE_CLASS::BASE_VALUE value{};
    BASE_CLASS::GetNextAssoc(rPosition, key, value);
    rKey = static_cast<KEY>(key);
    rValue = static_cast<VALUE>(value);
  }
};
