// What the collection templates ask of their element types: POSITION, hashing,
// comparison and archive storage, with the framework's defaults.
#pragma once
#include <type_traits>

#include "CArchive.h"

struct __POSITION {};
typedef __POSITION* POSITION;

#define BEFORE_START_POSITION ((POSITION)-1L)

template <class ARG_KEY>
UINT HashKey(ARG_KEY key) {
  if constexpr (std::is_pointer_v<ARG_KEY>) {
    return static_cast<UINT>(reinterpret_cast<UINT_PTR>(key) >> 4);
  } else {
    return static_cast<UINT>(static_cast<UINT_PTR>(key) >> 4);
  }
}
template <>
UINT HashKey<LPCTSTR>(LPCTSTR key);
template <>
UINT HashKey<const CString&>(const CString& key);

template <class TYPE, class ARG_TYPE>
BOOL CompareElements(const TYPE* pElement1, const ARG_TYPE* pElement2) {
  return *pElement1 == *pElement2;
}

// Stores elements as their bytes. Pointers and types that own memory have no byte
// form that could be read back: storing them throws unless they have an overload.
namespace plat::afx {
// Writes or reads exactly nBytes; a short read throws endOfFile.
void SerializeBytes(CArchive& ar, void* pData, size_t nBytes);
// Throws CNotSupportedException: the element type has no byte form.
[[noreturn]] void ThrowNoByteForm();
// Throws the archive exception of a damaged archive (badSchema).
[[noreturn]] void ThrowDamaged(CArchive& ar);
}  // namespace plat::afx

template <class TYPE>
void SerializeElements(CArchive& ar, TYPE* pElements, int nCount) {
  if constexpr (!std::is_trivially_copyable_v<TYPE> || std::is_pointer_v<TYPE>) {
    if (nCount > 0) plat::afx::ThrowNoByteForm();
  } else if (nCount > 0) plat::afx::SerializeBytes(ar, pElements, static_cast<size_t>(nCount) * sizeof(TYPE));
}
void SerializeElements(CArchive& ar, CString* pElements, int nCount);
void SerializeElements(CArchive& ar, CObject** pElements, int nCount);

namespace plat::afx {

// What an out-of-range reference access gets instead of memory it does not own: a
// fresh default element, after the failure was reported.
template <class TYPE>
TYPE& OutOfRangeElement() {
  ASSERT(FALSE);
  static thread_local TYPE scratch{};
  scratch = TYPE{};
  return scratch;
}

}  // namespace plat::afx
