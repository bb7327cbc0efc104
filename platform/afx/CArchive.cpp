#include "CArchive.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "AfxCollections.h"
#include "CException.h"
#include "CFile.h"

namespace {

const WORD wNullTag = 0;
const WORD wNewClassTag = 0xFFFF;
const WORD wClassTag = 0x8000;
const DWORD dwBigClassTag = 0x80000000;
const WORD wBigObjectTag = 0x7FFF;
const DWORD nMaxMapCount = 0x3FFFFFFE;

// Nesting of objects inside objects while loading; deeper archives are refused rather
// than letting a crafted file exhaust the stack.
const int nMaxReadDepth = 512;
// When the file cannot say how much it holds, no single read may claim more than this.
const ULONGLONG nMaxUnknownRead = 1ull << 30;

}  // namespace

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize, void*) : m_pFile(pFile), m_nMode(nMode) {
  m_buffer.resize(static_cast<size_t>(std::max(nBufSize, 128)));
  m_loadArray.push_back(LoadEntry{nullptr, nullptr});  // tag 0 is the null object
  if (m_pFile != nullptr) m_strFileName = m_pFile->GetFilePath();
}

CArchive::~CArchive() {
  if (m_pFile == nullptr || (m_nMode & bNoFlushOnDelete) != 0) return;
  try {
    Close();
  } catch (CException* e) {
    e->Delete();
  } catch (...) {
  }
}

void CArchive::Fail(int cause) const { AfxThrowArchiveException(cause, m_strFileName); }

void CArchive::ThrowIfWrongMode(bool bWantLoading) const {
  if (m_pFile == nullptr) Fail(CArchiveException::generic);
  if (bWantLoading && !IsLoading()) Fail(CArchiveException::writeOnly);
  if (!bWantLoading && IsLoading()) Fail(CArchiveException::readOnly);
}

void CArchive::CheckMapCount() const {
  if (m_nMapCount >= nMaxMapCount) Fail(CArchiveException::badIndex);
}

UINT CArchive::GetObjectSchema() {
  UINT nResult = m_nObjectSchema;
  m_nObjectSchema = (UINT)-1;  // answered once per object
  return nResult;
}

// ---- raw bytes

void CArchive::FillBuffer(UINT nBytesNeeded) {
  UINT nHave = m_nBufMax - m_nBufCur;
  if (m_nBufCur > 0 && nHave > 0) std::memmove(m_buffer.data(), m_buffer.data() + m_nBufCur, nHave);
  m_nBufCur = 0;
  m_nBufMax = nHave;
  while (m_nBufMax < nBytesNeeded) {
    UINT nRead = m_pFile->Read(m_buffer.data() + m_nBufMax, static_cast<UINT>(m_buffer.size()) - m_nBufMax);
    if (nRead == 0) break;
    m_nBufMax += nRead;
  }
}

UINT CArchive::Read(void* lpBuf, UINT nMax) {
  ThrowIfWrongMode(true);
  auto* out = static_cast<BYTE*>(lpBuf);
  UINT nDone = 0;
  while (nDone < nMax) {
    if (m_nBufCur == m_nBufMax) {
      UINT nLeft = nMax - nDone;
      if (nLeft >= m_buffer.size()) {
        // Large reads bypass the buffer.
        UINT nRead = m_pFile->Read(out + nDone, nLeft);
        if (nRead == 0) break;
        nDone += nRead;
        continue;
      }
      FillBuffer(1);
      if (m_nBufCur == m_nBufMax) break;
    }
    UINT nCopy = std::min(nMax - nDone, m_nBufMax - m_nBufCur);
    std::memcpy(out + nDone, m_buffer.data() + m_nBufCur, nCopy);
    m_nBufCur += nCopy;
    nDone += nCopy;
  }
  return nDone;
}

void CArchive::ReadExact(void* lpBuf, UINT nBytes) {
  if (Read(lpBuf, nBytes) != nBytes) Fail(CArchiveException::endOfFile);
}

void CArchive::Write(const void* lpBuf, UINT nMax) {
  ThrowIfWrongMode(false);
  const auto* in = static_cast<const BYTE*>(lpBuf);
  UINT nSize = static_cast<UINT>(m_buffer.size());
  if (nMax >= nSize) {
    Flush();
    m_pFile->Write(in, nMax);
    return;
  }
  while (nMax > 0) {
    UINT nCopy = std::min(nMax, nSize - m_nBufCur);
    std::memcpy(m_buffer.data() + m_nBufCur, in, nCopy);
    m_nBufCur += nCopy;
    in += nCopy;
    nMax -= nCopy;
    if (m_nBufCur == nSize) Flush();
  }
}

void CArchive::Flush() {
  if (m_pFile == nullptr) return;
  if (IsLoading()) {
    // Give back what was read ahead, so the file stands just after the archive's data.
    if (m_nBufMax != m_nBufCur) {
      m_pFile->Seek(-static_cast<LONG>(m_nBufMax - m_nBufCur), CFile::current);
    }
    m_nBufCur = m_nBufMax = 0;
  } else if (m_nBufCur != 0) {
    UINT nBytes = m_nBufCur;
    m_nBufCur = 0;
    m_pFile->Write(m_buffer.data(), nBytes);
  }
}

void CArchive::Close() {
  if (m_pFile == nullptr) return;
  Flush();
  m_pFile = nullptr;
}

void CArchive::Abort() { m_pFile = nullptr; }

void CArchive::CheckRemaining(ULONGLONG nBytes) {
  if (!IsLoading() || m_pFile == nullptr) return;
  ULONGLONG nBuffered = m_nBufMax - m_nBufCur;
  if (nBytes <= nBuffered) return;
  ULONGLONG nInFile = 0;
  bool bKnown = true;
  try {
    ULONGLONG nLength = m_pFile->GetLength();
    ULONGLONG nPosition = m_pFile->GetPosition();
    nInFile = nLength > nPosition ? nLength - nPosition : 0;
  } catch (CException* e) {
    e->Delete();
    bKnown = false;
  }
  if (bKnown ? nBytes > nBuffered + nInFile : nBytes > nMaxUnknownRead) Fail(CArchiveException::endOfFile);
}

// ---- numbers (little-endian)

namespace {

template <class T>
void StoreLittle(CArchive& ar, T value) {
  BYTE bytes[sizeof(T)];
  for (size_t i = 0; i < sizeof(T); ++i) bytes[i] = static_cast<BYTE>(static_cast<ULONGLONG>(value) >> (8 * i));
  ar.Write(bytes, sizeof(T));
}

}  // namespace

template <class T>
static T LoadLittle(const BYTE* bytes) {
  ULONGLONG value = 0;
  for (size_t i = 0; i < sizeof(T); ++i) value |= static_cast<ULONGLONG>(bytes[i]) << (8 * i);
  return static_cast<T>(value);
}

CArchive& CArchive::operator<<(BYTE by) {
  Write(&by, 1);
  return *this;
}

CArchive& CArchive::operator<<(WORD w) {
  StoreLittle(*this, w);
  return *this;
}

CArchive& CArchive::operator<<(LONG l) {
  StoreLittle(*this, static_cast<DWORD>(l));
  return *this;
}

CArchive& CArchive::operator<<(DWORD dw) {
  StoreLittle(*this, dw);
  return *this;
}

CArchive& CArchive::operator<<(float f) {
  DWORD bits;
  std::memcpy(&bits, &f, sizeof bits);
  return *this << bits;
}

CArchive& CArchive::operator<<(double d) {
  ULONGLONG bits;
  std::memcpy(&bits, &d, sizeof bits);
  return *this << bits;
}

CArchive& CArchive::operator<<(LONGLONG ll) { return *this << static_cast<ULONGLONG>(ll); }

CArchive& CArchive::operator<<(ULONGLONG ull) {
  StoreLittle(*this, ull);
  return *this;
}

CArchive& CArchive::operator>>(BYTE& by) {
  ReadExact(&by, 1);
  return *this;
}

CArchive& CArchive::operator>>(WORD& w) {
  BYTE bytes[2];
  ReadExact(bytes, sizeof bytes);
  w = LoadLittle<WORD>(bytes);
  return *this;
}

CArchive& CArchive::operator>>(LONG& l) {
  DWORD dw;
  *this >> dw;
  l = static_cast<LONG>(dw);
  return *this;
}

CArchive& CArchive::operator>>(DWORD& dw) {
  BYTE bytes[4];
  ReadExact(bytes, sizeof bytes);
  dw = LoadLittle<DWORD>(bytes);
  return *this;
}

CArchive& CArchive::operator>>(float& f) {
  DWORD bits;
  *this >> bits;
  std::memcpy(&f, &bits, sizeof f);
  return *this;
}

CArchive& CArchive::operator>>(double& d) {
  ULONGLONG bits;
  *this >> bits;
  std::memcpy(&d, &bits, sizeof d);
  return *this;
}

CArchive& CArchive::operator>>(LONGLONG& ll) {
  ULONGLONG ull;
  *this >> ull;
  ll = static_cast<LONGLONG>(ull);
  return *this;
}

CArchive& CArchive::operator>>(ULONGLONG& ull) {
  BYTE bytes[8];
  ReadExact(bytes, sizeof bytes);
  ull = LoadLittle<ULONGLONG>(bytes);
  return *this;
}

DWORD CArchive::ReadCount() {
  WORD wCount;
  *this >> wCount;
  if (wCount != 0xFFFF) return wCount;
  DWORD dwCount;
  *this >> dwCount;
  return dwCount;
}

void CArchive::WriteCount(DWORD dwCount) {
  if (dwCount < 0xFFFF) {
    *this << static_cast<WORD>(dwCount);
  } else {
    *this << static_cast<WORD>(0xFFFF) << dwCount;
  }
}

// ---- text

void CArchive::WriteString(LPCTSTR lpsz) {
  if (lpsz != nullptr) Write(lpsz, static_cast<UINT>(std::strlen(lpsz)));
}

BOOL CArchive::ReadString(CString& rString) {
  CString line;
  bool bAny = false;
  char ch;
  while (Read(&ch, 1) == 1) {
    bAny = true;
    if (ch == '\n') break;
    line += ch;
  }
  if (!bAny) {
    rString.Empty();
    return FALSE;
  }
  if (!line.IsEmpty() && line[line.GetLength() - 1] == '\r') line.Delete(line.GetLength() - 1);
  rString = std::move(line);
  return TRUE;
}

CArchive& operator<<(CArchive& ar, const CString& string) {
  DWORD nLen = static_cast<DWORD>(string.GetLength());
  if (nLen < 255) {
    ar << static_cast<BYTE>(nLen);
  } else if (nLen < 0xFFFE) {
    ar << static_cast<BYTE>(0xFF) << static_cast<WORD>(nLen);
  } else {
    ar << static_cast<BYTE>(0xFF) << static_cast<WORD>(0xFFFF) << nLen;
  }
  ar.Write(static_cast<LPCTSTR>(string), nLen);
  return ar;
}

CArchive& operator>>(CArchive& ar, CString& string) {
  BYTE bLen;
  ar >> bLen;
  DWORD nLen = bLen;
  if (bLen == 0xFF) {
    WORD wLen;
    ar >> wLen;
    // 0xFFFE announces wide characters, which narrow archives never hold.
    if (wLen == 0xFFFE) AfxThrowArchiveException(CArchiveException::generic, ar.m_strFileName);
    nLen = wLen;
    if (wLen == 0xFFFF) ar >> nLen;
  }
  if (nLen > 0x3FFFFFFF) AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
  ar.CheckRemaining(nLen);
  CString text;
  if (nLen > 0) {
    LPTSTR buffer = text.GetBufferSetLength(static_cast<int>(nLen));
    if (ar.Read(buffer, nLen) != nLen) AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
    text.ReleaseBuffer(static_cast<int>(nLen));
  }
  string = std::move(text);
  return ar;
}

// ---- objects and classes

void CRuntimeClass::Store(CArchive& ar) const {
  WORD nLen = static_cast<WORD>(std::strlen(m_lpszClassName));
  ar << static_cast<WORD>(m_wSchema) << nLen;
  ar.Write(m_lpszClassName, nLen);
}

CRuntimeClass* CRuntimeClass::Load(CArchive& ar, UINT* pwSchemaNum) {
  WORD wSchema;
  WORD nLen;
  ar >> wSchema >> nLen;
  if (pwSchemaNum != nullptr) *pwSchemaNum = wSchema;
  char szClassName[64];
  if (nLen >= sizeof szClassName || ar.Read(szClassName, nLen) != nLen) return nullptr;
  szClassName[nLen] = 0;
  CRuntimeClass* pClass = FromName(szClassName);
  // Only classes meant for archives can be made from one.
  if (pClass == nullptr || pClass->m_wSchema == 0xFFFF || pClass->m_pfnCreateObject == nullptr) return nullptr;
  return pClass;
}

void CArchive::MapObject(const CObject* pOb) {
  if (pOb == nullptr) return;
  CheckMapCount();
  if (IsStoring()) {
    if (m_storeMap.emplace(pOb, m_nMapCount).second) ++m_nMapCount;
  } else {
    m_loadArray.push_back(LoadEntry{nullptr, const_cast<CObject*>(pOb)});
    ++m_nMapCount;
  }
}

void CArchive::WriteClass(const CRuntimeClass* pClassRef) {
  if (pClassRef == nullptr || pClassRef->m_wSchema == 0xFFFF) AfxThrowNotSupportedException();
  ThrowIfWrongMode(false);
  auto found = m_storeMap.find(pClassRef);
  if (found != m_storeMap.end()) {
    DWORD nClassIndex = found->second;
    if (nClassIndex < wBigObjectTag) {
      *this << static_cast<WORD>(wClassTag | nClassIndex);
    } else {
      *this << wBigObjectTag << (dwBigClassTag | nClassIndex);
    }
    return;
  }
  *this << wNewClassTag;
  pClassRef->Store(*this);
  CheckMapCount();
  m_storeMap.emplace(pClassRef, m_nMapCount++);
}

void CArchive::WriteObject(const CObject* pOb) {
  ThrowIfWrongMode(false);
  if (pOb == nullptr) {
    *this << wNullTag;
    return;
  }
  auto found = m_storeMap.find(pOb);
  if (found != m_storeMap.end()) {
    DWORD nObIndex = found->second;
    if (nObIndex < wBigObjectTag) {
      *this << static_cast<WORD>(nObIndex);
    } else {
      *this << wBigObjectTag << nObIndex;
    }
    return;
  }
  WriteClass(pOb->GetRuntimeClass());
  CheckMapCount();
  m_storeMap.emplace(pOb, m_nMapCount++);
  const_cast<CObject*>(pOb)->Serialize(*this);
}

CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* pClassRefRequested, UINT* pSchema, DWORD* pObTag) {
  if (pClassRefRequested != nullptr && pClassRefRequested->m_wSchema == 0xFFFF) AfxThrowNotSupportedException();
  ThrowIfWrongMode(true);
  WORD wTag;
  *this >> wTag;
  DWORD obTag;
  if (wTag == wBigObjectTag) {
    *this >> obTag;
  } else {
    obTag = (static_cast<DWORD>(wTag & wClassTag) << 16) | (wTag & ~wClassTag);
  }

  if ((obTag & dwBigClassTag) == 0) {  // an object reference, not a class
    if (pObTag == nullptr) Fail(CArchiveException::badIndex);
    *pObTag = obTag;
    return nullptr;
  }

  CRuntimeClass* pClassRef;
  UINT nSchema;
  if (wTag == wNewClassTag) {
    pClassRef = CRuntimeClass::Load(*this, &nSchema);
    if (pClassRef == nullptr) Fail(CArchiveException::badClass);
    if ((pClassRef->m_wSchema & ~VERSIONABLE_SCHEMA) != nSchema) {
      if ((pClassRef->m_wSchema & VERSIONABLE_SCHEMA) == 0) Fail(CArchiveException::badSchema);
      m_schemaMap[pClassRef] = nSchema;  // the object reads its stored schema later
    }
    CheckMapCount();
    m_loadArray.push_back(LoadEntry{pClassRef, nullptr});
    ++m_nMapCount;
  } else {
    DWORD nClassIndex = obTag & ~dwBigClassTag;
    if (nClassIndex == 0 || nClassIndex >= m_loadArray.size() || m_loadArray[nClassIndex].pClass == nullptr) {
      Fail(CArchiveException::badIndex);
    }
    pClassRef = m_loadArray[nClassIndex].pClass;
    auto found = m_schemaMap.find(pClassRef);
    nSchema = found != m_schemaMap.end() ? found->second : (pClassRef->m_wSchema & ~VERSIONABLE_SCHEMA);
  }

  if (pClassRefRequested != nullptr && !pClassRef->IsDerivedFrom(pClassRefRequested)) {
    Fail(CArchiveException::badClass);
  }
  if (pSchema != nullptr) {
    *pSchema = nSchema;
  } else {
    m_nObjectSchema = nSchema;
  }
  if (pObTag != nullptr) *pObTag = obTag;
  return pClassRef;
}

void CArchive::SerializeClass(const CRuntimeClass* pClassRef) {
  if (IsStoring()) {
    WriteClass(pClassRef);
  } else {
    ReadClass(pClassRef);
  }
}

// Collections do not own their elements: when a half-read collection goes, the
// objects it read itself (and, through collections among them, theirs) would leak,
// whether they are still in it or were dropped from it. Objects another object read
// (and owns), and objects read before, stay. Readers come before what they read, so
// one pass in reading order finds them all.
void CArchive::FreeCollected(CObject& failed, size_t nEntry) {
  std::vector<CObject*> probe;
  auto isCollection = [&](CObject& o) {
    probe.clear();
    return plat::afx::CollectedObjects(o, &probe);
  };
  std::unordered_set<CObject*> collections;
  if (isCollection(failed)) collections.insert(&failed);
  std::vector<CObject*> doomed;
  for (size_t i = nEntry + 1; i < m_loadArray.size(); ++i) {
    const LoadEntry& e = m_loadArray[i];
    if (e.pClass != nullptr || e.pObject == nullptr || !collections.count(e.pReader)) continue;
    doomed.push_back(e.pObject);
    if (isCollection(*e.pObject)) collections.insert(e.pObject);
  }
  for (CObject* o : doomed) delete o;
}

CObject* CArchive::ReadObject(const CRuntimeClass* pClassRefRequested) {
  UINT nSchema;
  DWORD obTag;
  CRuntimeClass* pClassRef = ReadClass(pClassRefRequested, &nSchema, &obTag);

  if (pClassRef == nullptr) {
    // A reference to an object read before (or tag 0, the null object).
    if (obTag >= m_loadArray.size() || m_loadArray[obTag].pClass != nullptr) Fail(CArchiveException::badIndex);
    CObject* pOb = m_loadArray[obTag].pObject;
    if (obTag != 0 && pOb == nullptr) Fail(CArchiveException::badIndex);  // its reading failed
    if (pOb != nullptr && pClassRefRequested != nullptr && !pOb->IsKindOf(pClassRefRequested)) {
      Fail(CArchiveException::badClass);
    }
    return pOb;
  }

  if (m_nReadDepth >= nMaxReadDepth) Fail(CArchiveException::generic);
  std::unique_ptr<CObject> pOb(pClassRef->CreateObject());
  if (pOb == nullptr) Fail(CArchiveException::badClass);
  // Entered before it reads itself, so that objects inside may refer back to it.
  CheckMapCount();
  size_t nEntry = m_loadArray.size();
  m_loadArray.push_back(LoadEntry{nullptr, pOb.get(), m_pReading});
  ++m_nMapCount;

  UINT nSchemaSave = m_nObjectSchema;
  CObject* pReadingSave = m_pReading;
  m_nObjectSchema = nSchema;
  m_pReading = pOb.get();
  ++m_nReadDepth;
  try {
    pOb->Serialize(*this);
  } catch (...) {
    // The half-read object is nobody's yet: it goes with what it read into its
    // collections, and later tags to any of them fail.
    --m_nReadDepth;
    m_nObjectSchema = nSchemaSave;
    m_pReading = pReadingSave;
    FreeCollected(*pOb, nEntry);
    for (size_t i = nEntry; i < m_loadArray.size(); ++i) m_loadArray[i].pObject = nullptr;
    throw;
  }
  --m_nReadDepth;
  m_nObjectSchema = nSchemaSave;
  m_pReading = pReadingSave;
  return pOb.release();
}

CArchive& operator<<(CArchive& ar, const CObject* pOb) {
  ar.WriteObject(pOb);
  return ar;
}

CArchive& operator>>(CArchive& ar, CObject*& pOb) {
  pOb = ar.ReadObject(nullptr);
  return ar;
}

CArchive& operator>>(CArchive& ar, const CObject*& pOb) {
  pOb = ar.ReadObject(nullptr);
  return ar;
}

// ---- geometry, as the framework stores it: the LONG fields in order

CArchive& operator<<(CArchive& ar, SIZE size) { return ar << size.cx << size.cy; }
CArchive& operator<<(CArchive& ar, POINT point) { return ar << point.x << point.y; }
CArchive& operator<<(CArchive& ar, const RECT& rect) {
  return ar << rect.left << rect.top << rect.right << rect.bottom;
}
CArchive& operator>>(CArchive& ar, SIZE& size) { return ar >> size.cx >> size.cy; }
CArchive& operator>>(CArchive& ar, POINT& point) { return ar >> point.x >> point.y; }
CArchive& operator>>(CArchive& ar, RECT& rect) { return ar >> rect.left >> rect.top >> rect.right >> rect.bottom; }
