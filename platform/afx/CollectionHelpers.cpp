#include "CollectionHelpers.h"

#include "CException.h"

template <>
UINT HashKey<LPCTSTR>(LPCTSTR key) {
  UINT nHash = 0;
  if (key == nullptr) return 0;
  while (*key) nHash = (nHash << 5) + nHash + static_cast<BYTE>(*key++);
  return nHash;
}

template <>
UINT HashKey<const CString&>(const CString& key) {
  return HashKey<LPCTSTR>(static_cast<LPCTSTR>(key));
}

void SerializeElements(CArchive& ar, CString* pElements, int nCount) {
  for (int i = 0; i < nCount; ++i) {
    if (ar.IsStoring()) {
      ar << pElements[i];
    } else {
      ar >> pElements[i];
    }
  }
}

void SerializeElements(CArchive& ar, CObject** pElements, int nCount) {
  for (int i = 0; i < nCount; ++i) {
    if (ar.IsStoring()) {
      ar << pElements[i];
    } else {
      ar >> pElements[i];
    }
  }
}

namespace plat::afx {

void SerializeBytes(CArchive& ar, void* pData, size_t nBytes) {
  auto* bytes = static_cast<BYTE*>(pData);
  if (!ar.IsStoring()) ar.CheckRemaining(nBytes);
  while (nBytes > 0) {
    UINT nChunk = static_cast<UINT>(std::min<size_t>(nBytes, 1u << 30));
    if (ar.IsStoring()) {
      ar.Write(bytes, nChunk);
    } else if (ar.Read(bytes, nChunk) != nChunk) {
      AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
    }
    bytes += nChunk;
    nBytes -= nChunk;
  }
}

void ThrowNoByteForm() { AfxThrowNotSupportedException(); }

void ThrowDamaged(CArchive& ar) { AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName); }

}  // namespace plat::afx
