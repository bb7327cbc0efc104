// CArray, the framework's growable array template, and CTypedPtrArray, its typed
// front over the pointer arrays. An index outside the array is reported and never
// touches memory the array does not own: reads give a default element, writes are
// dropped.
#pragma once
#include <algorithm>
#include <vector>

#include "CollectionHelpers.h"

template <class TYPE, class ARG_TYPE>
class CArray : public CObject {
 public:
  CArray() = default;

  int GetSize() const { return static_cast<int>(m_data.size()); }
  int GetCount() const { return GetSize(); }
  int GetUpperBound() const { return GetSize() - 1; }
  BOOL IsEmpty() const { return m_data.empty(); }
  // nGrowBy > 0 sets how many elements each reallocation adds; -1 keeps the setting.
  void SetSize(int nNewSize, int nGrowBy = -1);

  void FreeExtra() { m_data.shrink_to_fit(); }
  void RemoveAll() { m_data.clear(); }

  TYPE GetAt(int nIndex) const {
    if (!InRange(nIndex)) return plat::afx::OutOfRangeElement<TYPE>();
    return m_data[nIndex];
  }
  void SetAt(int nIndex, ARG_TYPE newElement) {
    if (!InRange(nIndex)) {
      ASSERT(FALSE);
      return;
    }
    m_data[nIndex] = newElement;
  }
  TYPE& ElementAt(int nIndex) {
    if (!InRange(nIndex)) return plat::afx::OutOfRangeElement<TYPE>();
    return m_data[nIndex];
  }
  const TYPE& ElementAt(int nIndex) const { return const_cast<CArray*>(this)->ElementAt(nIndex); }
  TYPE operator[](int nIndex) const { return GetAt(nIndex); }
  TYPE& operator[](int nIndex) { return ElementAt(nIndex); }

  const TYPE* GetData() const { return m_data.empty() ? nullptr : m_data.data(); }
  TYPE* GetData() { return m_data.empty() ? nullptr : m_data.data(); }

  void SetAtGrow(int nIndex, ARG_TYPE newElement);
  int Add(ARG_TYPE newElement) {
    int nIndex = GetSize();
    SetAtGrow(nIndex, newElement);
    return nIndex;
  }
  int Append(const CArray& src);
  void Copy(const CArray& src);

  void InsertAt(int nIndex, ARG_TYPE newElement, int nCount = 1);
  void InsertAt(int nStartIndex, CArray* pNewArray);
  void RemoveAt(int nIndex, int nCount = 1);

  void Serialize(CArchive& ar) override;

 private:
  bool InRange(int nIndex) const { return nIndex >= 0 && nIndex < GetSize(); }
  void Reserve(size_t nNewSize);

  std::vector<TYPE> m_data;
  int m_nGrowBy = -1;
};

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Reserve(size_t nNewSize) {
  if (nNewSize <= m_data.capacity()) return;
  // Grow by the set step, or by an eighth of the size (4 to 1024) as the framework does.
  size_t nGrowBy = m_nGrowBy > 0 ? static_cast<size_t>(m_nGrowBy)
                                 : std::clamp<size_t>(m_data.size() / 8, 4, 1024);
  m_data.reserve(std::max(nNewSize, m_data.size() + nGrowBy));
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetSize(int nNewSize, int nGrowBy) {
  if (nGrowBy >= 0) m_nGrowBy = nGrowBy;
  if (nNewSize < 0) {
    ASSERT(FALSE);
    return;
  }
  Reserve(static_cast<size_t>(nNewSize));
  m_data.resize(static_cast<size_t>(nNewSize));
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetAtGrow(int nIndex, ARG_TYPE newElement) {
  if (nIndex < 0) {
    ASSERT(FALSE);
    return;
  }
  TYPE value = newElement;  // may refer into this array, which the growth moves
  if (nIndex >= GetSize()) SetSize(nIndex + 1);
  m_data[nIndex] = std::move(value);
}

template <class TYPE, class ARG_TYPE>
int CArray<TYPE, ARG_TYPE>::Append(const CArray& src) {
  int nOldSize = GetSize();
  if (this == &src) {
    std::vector<TYPE> copy = m_data;
    m_data.insert(m_data.end(), copy.begin(), copy.end());
  } else {
    Reserve(m_data.size() + src.m_data.size());
    m_data.insert(m_data.end(), src.m_data.begin(), src.m_data.end());
  }
  return nOldSize;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Copy(const CArray& src) {
  if (this != &src) m_data = src.m_data;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(int nIndex, ARG_TYPE newElement, int nCount) {
  if (nIndex < 0 || nCount <= 0) {
    ASSERT(nIndex >= 0 && nCount > 0);
    return;
  }
  TYPE value = newElement;
  if (nIndex >= GetSize()) {
    // Inserting past the end grows the array up to there, as the framework does.
    SetSize(nIndex + nCount);
    std::fill(m_data.begin() + nIndex, m_data.end(), value);
    return;
  }
  Reserve(m_data.size() + static_cast<size_t>(nCount));
  m_data.insert(m_data.begin() + nIndex, static_cast<size_t>(nCount), value);
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(int nStartIndex, CArray* pNewArray) {
  if (pNewArray == nullptr || nStartIndex < 0) {
    ASSERT(FALSE);
    return;
  }
  std::vector<TYPE> items = pNewArray->m_data;
  if (items.empty()) return;
  if (nStartIndex > GetSize()) SetSize(nStartIndex);
  Reserve(m_data.size() + items.size());
  m_data.insert(m_data.begin() + nStartIndex, items.begin(), items.end());
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::RemoveAt(int nIndex, int nCount) {
  if (nIndex < 0 || nCount < 0 || nIndex > GetSize() - nCount) {
    ASSERT(FALSE);
    return;
  }
  m_data.erase(m_data.begin() + nIndex, m_data.begin() + nIndex + nCount);
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Serialize(CArchive& ar) {
  CObject::Serialize(ar);
  if (ar.IsStoring()) {
    ar.WriteCount(static_cast<DWORD>(m_data.size()));
  } else {
    DWORD nCount = ar.ReadCount();
    ar.CheckRemaining(nCount);  // every element takes at least one byte
    SetSize(static_cast<int>(nCount));
  }
  SerializeElements(ar, GetData(), GetSize());
}

// A typed view of CPtrArray or CObArray: the elements are pointers of type TYPE.
template <class BASE_CLASS, class TYPE>
class CTypedPtrArray : public BASE_CLASS {
 public:
  TYPE GetAt(int nIndex) const { return static_cast<TYPE>(BASE_CLASS::GetAt(nIndex)); }
  TYPE& ElementAt(int nIndex) { return reinterpret_cast<TYPE&>(BASE_CLASS::ElementAt(nIndex)); }
  void SetAt(int nIndex, TYPE ptr) { BASE_CLASS::SetAt(nIndex, ptr); }
  void SetAtGrow(int nIndex, TYPE newElement) { BASE_CLASS::SetAtGrow(nIndex, newElement); }
  int Add(TYPE newElement) { return BASE_CLASS::Add(newElement); }
  int Append(const CTypedPtrArray& src) { return BASE_CLASS::Append(src); }
  void Copy(const CTypedPtrArray& src) { BASE_CLASS::Copy(src); }
  void InsertAt(int nIndex, TYPE newElement, int nCount = 1) { BASE_CLASS::InsertAt(nIndex, newElement, nCount); }
  void InsertAt(int nStartIndex, CTypedPtrArray* pNewArray) { BASE_CLASS::InsertAt(nStartIndex, pNewArray); }
  TYPE operator[](int nIndex) const { return GetAt(nIndex); }
  TYPE& operator[](int nIndex) { return ElementAt(nIndex); }
};
