#include "CString.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "AfxDebug.h"
#include "CStringFormat.h"

// String resources come from the resource lookup once it is linked in; until then
// the reference stays null and LoadString finds nothing.
int WINAPI LoadStringA(HINSTANCE hInstance, UINT uID, LPSTR lpBuffer, int cchBufferMax) __attribute__((weak));

struct CString::Header {
  int nDataLength;
  int nAllocLength;
  char* Data() { return reinterpret_cast<char*>(this + 1); }
};

namespace {

// Shared by every empty string so that an empty CString costs no allocation; it is
// never written to.
struct EmptyBlock {
  int nDataLength = 0;
  int nAllocLength = 0;
  char text[1] = {0};
};
EmptyBlock g_empty;

int SafeLength(LPCTSTR lpsz) {
  if (lpsz == nullptr) return 0;
  size_t n = std::strlen(lpsz);
  return n > INT_MAX / 2 ? INT_MAX / 2 : static_cast<int>(n);
}

bool IsResourceId(LPCSTR lpsz) {
  return lpsz != nullptr && reinterpret_cast<uintptr_t>(lpsz) <= 0xFFFF;
}

}  // namespace

namespace {

using plat::text::CharLength;

// True when the character of nLen bytes at p is one of the characters of lpszSet.
bool InSet(const char* p, int nLen, LPCTSTR lpszSet) {
  if (lpszSet == nullptr) return false;
  for (const char* q = lpszSet; *q != 0; q += CharLength(q)) {
    if (CharLength(q) == nLen && std::memcmp(p, q, nLen) == 0) return true;
  }
  return false;
}

bool IsSpaceChar(const char* p, int nLen) {
  return nLen == 1 && (*p == ' ' || (*p >= '\t' && *p <= '\r'));
}

}  // namespace

CString::Header* CString::GetHeader() const { return reinterpret_cast<Header*>(m_pchData) - 1; }

CString::CString() : m_pchData(g_empty.text) {}

CString::CString(const CString& stringSrc) : m_pchData(g_empty.text) {
  AssignCopy(stringSrc.GetLength(), stringSrc.m_pchData);
}

CString::CString(CString&& stringSrc) noexcept : m_pchData(stringSrc.m_pchData) {
  stringSrc.m_pchData = g_empty.text;
}

CString::CString(TCHAR ch, int nRepeat) : m_pchData(g_empty.text) {
  if (nRepeat > 0) {
    AllocBuffer(nRepeat);
    std::memset(m_pchData, ch, nRepeat);
  }
}

CString::CString(LPCSTR lpsz) : m_pchData(g_empty.text) {
  if (IsResourceId(lpsz)) {
    LoadString(static_cast<UINT>(reinterpret_cast<uintptr_t>(lpsz)));
  } else {
    AssignCopy(SafeLength(lpsz), lpsz);
  }
}

CString::CString(LPCSTR lpch, int nLength) : m_pchData(g_empty.text) {
  if (lpch != nullptr && nLength > 0) AssignCopy(nLength, lpch);
}

CString::CString(const unsigned char* psz) : CString(reinterpret_cast<LPCSTR>(psz)) {}

CString::~CString() { Release(); }

void CString::Release() {
  if (m_pchData != g_empty.text) std::free(GetHeader());
  m_pchData = g_empty.text;
}

// Gives the string a fresh buffer of nLen characters (content undefined, terminated).
void CString::AllocBuffer(int nLen) {
  Release();
  if (nLen <= 0) return;
  void* block = std::malloc(sizeof(Header) + static_cast<size_t>(nLen) + 1);
  if (block == nullptr) throw std::bad_alloc();
  auto* header = static_cast<Header*>(block);
  header->nDataLength = nLen;
  header->nAllocLength = nLen;
  m_pchData = header->Data();
  m_pchData[nLen] = 0;
}

void CString::AssignCopy(int nSrcLen, LPCTSTR lpszSrcData) {
  if (nSrcLen <= 0) {
    Empty();
    return;
  }
  if (GetHeader()->nAllocLength >= nSrcLen && m_pchData != g_empty.text) {
    std::memmove(m_pchData, lpszSrcData, nSrcLen);
    GetHeader()->nDataLength = nSrcLen;
    m_pchData[nSrcLen] = 0;
    return;
  }
  CString copy;
  copy.AllocBuffer(nSrcLen);
  std::memcpy(copy.m_pchData, lpszSrcData, nSrcLen);
  *this = std::move(copy);
}

void CString::ConcatInPlace(int nSrcLen, LPCTSTR lpszSrcData) {
  if (nSrcLen <= 0) return;
  int nOld = GetLength();
  if (m_pchData != g_empty.text && nOld + nSrcLen <= GetHeader()->nAllocLength) {
    std::memmove(m_pchData + nOld, lpszSrcData, nSrcLen);
    GetHeader()->nDataLength = nOld + nSrcLen;
    m_pchData[nOld + nSrcLen] = 0;
    return;
  }
  *this = Concat(nOld, m_pchData, nSrcLen, lpszSrcData);
}

CString CString::Concat(int nLen1, LPCTSTR p1, int nLen2, LPCTSTR p2) {
  CString result;
  if (nLen1 + nLen2 > 0) {
    result.AllocBuffer(nLen1 + nLen2);
    if (nLen1 > 0) std::memcpy(result.m_pchData, p1, nLen1);
    if (nLen2 > 0) std::memcpy(result.m_pchData + nLen1, p2, nLen2);
  }
  return result;
}

int CString::GetLength() const { return GetHeader()->nDataLength; }

BOOL CString::IsEmpty() const { return GetLength() == 0; }

void CString::Empty() { Release(); }

TCHAR CString::GetAt(int nIndex) const {
  if (nIndex < 0 || nIndex >= GetLength()) {
    ASSERT(FALSE);
    return 0;
  }
  return m_pchData[nIndex];
}

TCHAR CString::operator[](int nIndex) const { return GetAt(nIndex); }

void CString::SetAt(int nIndex, TCHAR ch) {
  if (nIndex < 0 || nIndex >= GetLength()) {
    ASSERT(FALSE);
    return;
  }
  m_pchData[nIndex] = ch;
}

CString& CString::operator=(const CString& stringSrc) {
  if (this != &stringSrc) AssignCopy(stringSrc.GetLength(), stringSrc.m_pchData);
  return *this;
}

CString& CString::operator=(CString&& stringSrc) noexcept {
  if (this != &stringSrc) {
    Release();
    m_pchData = stringSrc.m_pchData;
    stringSrc.m_pchData = g_empty.text;
  }
  return *this;
}

CString& CString::operator=(TCHAR ch) {
  AssignCopy(1, &ch);
  return *this;
}

CString& CString::operator=(LPCSTR lpsz) {
  if (IsResourceId(lpsz)) {
    Empty();
    LoadString(static_cast<UINT>(reinterpret_cast<uintptr_t>(lpsz)));
  } else {
    AssignCopy(SafeLength(lpsz), lpsz);
  }
  return *this;
}

CString& CString::operator=(const unsigned char* psz) { return *this = reinterpret_cast<LPCSTR>(psz); }

CString& CString::operator+=(const CString& string) {
  ConcatInPlace(string.GetLength(), string.m_pchData);
  return *this;
}

CString& CString::operator+=(TCHAR ch) {
  ConcatInPlace(1, &ch);
  return *this;
}

CString& CString::operator+=(LPCTSTR lpsz) {
  ConcatInPlace(SafeLength(lpsz), lpsz);
  return *this;
}

CString operator+(const CString& string1, const CString& string2) {
  return CString::Concat(string1.GetLength(), string1.m_pchData, string2.GetLength(), string2.m_pchData);
}

CString operator+(const CString& string, TCHAR ch) {
  return CString::Concat(string.GetLength(), string.m_pchData, 1, &ch);
}

CString operator+(TCHAR ch, const CString& string) {
  return CString::Concat(1, &ch, string.GetLength(), string.m_pchData);
}

CString operator+(const CString& string, LPCTSTR lpsz) {
  return CString::Concat(string.GetLength(), string.m_pchData, SafeLength(lpsz), lpsz);
}

CString operator+(LPCTSTR lpsz, const CString& string) {
  return CString::Concat(SafeLength(lpsz), lpsz, string.GetLength(), string.m_pchData);
}

int CString::Compare(LPCTSTR lpsz) const { return std::strcmp(m_pchData, lpsz ? lpsz : ""); }

int CString::CompareNoCase(LPCTSTR lpsz) const {
  const unsigned char* a = reinterpret_cast<const unsigned char*>(m_pchData);
  const unsigned char* b = reinterpret_cast<const unsigned char*>(lpsz ? lpsz : "");
  for (;; ++a, ++b) {
    int ca = (*a >= 'A' && *a <= 'Z') ? *a + 32 : *a;
    int cb = (*b >= 'A' && *b <= 'Z') ? *b + 32 : *b;
    if (ca != cb) return ca < cb ? -1 : 1;
    if (ca == 0) return 0;
  }
}

int CString::Collate(LPCTSTR lpsz) const { return std::strcoll(m_pchData, lpsz ? lpsz : ""); }

int CString::CollateNoCase(LPCTSTR lpsz) const { return CompareNoCase(lpsz); }

CString CString::Mid(int nFirst, int nCount) const {
  int nLen = GetLength();
  if (nFirst < 0) nFirst = 0;
  if (nCount < 0) nCount = 0;
  if (nFirst > nLen) nFirst = nLen;
  if (nCount > nLen - nFirst) nCount = nLen - nFirst;
  return CString(m_pchData + nFirst, nCount);
}

CString CString::Mid(int nFirst) const { return Mid(nFirst, GetLength()); }

CString CString::Left(int nCount) const { return Mid(0, nCount); }

CString CString::Right(int nCount) const {
  int nLen = GetLength();
  if (nCount < 0) nCount = 0;
  if (nCount > nLen) nCount = nLen;
  return CString(m_pchData + nLen - nCount, nCount);
}

CString CString::SpanIncluding(LPCTSTR lpszCharSet) const {
  const char* p = m_pchData;
  while (*p != 0 && InSet(p, CharLength(p), lpszCharSet)) p += CharLength(p);
  return Left(static_cast<int>(p - m_pchData));
}

CString CString::SpanExcluding(LPCTSTR lpszCharSet) const {
  const char* p = m_pchData;
  while (*p != 0 && !InSet(p, CharLength(p), lpszCharSet)) p += CharLength(p);
  return Left(static_cast<int>(p - m_pchData));
}

void CString::MakeUpper() {
  for (char* p = m_pchData; *p != 0; ++p) {
    if (*p >= 'a' && *p <= 'z') *p = static_cast<char>(*p - 32);
  }
}

void CString::MakeLower() {
  for (char* p = m_pchData; *p != 0; ++p) {
    if (*p >= 'A' && *p <= 'Z') *p = static_cast<char>(*p + 32);
  }
}

void CString::MakeReverse() {
  int nLen = GetLength();
  if (nLen < 2) return;
  std::string reversed(nLen, '\0');
  int out = nLen;
  for (const char* p = m_pchData; *p != 0;) {
    int n = CharLength(p);
    out -= n;
    std::memcpy(&reversed[out], p, n);
    p += n;
  }
  std::memcpy(m_pchData, reversed.data(), nLen);
}

int CString::Replace(TCHAR chOld, TCHAR chNew) {
  if (chOld == chNew) return 0;
  int nCount = 0;
  for (char* p = m_pchData; *p != 0; p += CharLength(p)) {
    if (*p == chOld && CharLength(p) == 1) {
      *p = chNew;
      ++nCount;
    }
  }
  if (chNew == 0 && nCount > 0) GetHeader()->nDataLength = SafeLength(m_pchData);
  return nCount;
}

int CString::Replace(LPCTSTR lpszOld, LPCTSTR lpszNew) {
  int nOldLen = SafeLength(lpszOld);
  if (nOldLen == 0) return 0;
  int nNewLen = SafeLength(lpszNew);
  std::string result;
  int nCount = 0;
  const char* p = m_pchData;
  for (const char* hit; (hit = std::strstr(p, lpszOld)) != nullptr; p = hit + nOldLen) {
    result.append(p, hit - p);
    result.append(lpszNew ? lpszNew : "", nNewLen);
    ++nCount;
  }
  if (nCount == 0) return 0;
  result.append(p);
  AssignCopy(static_cast<int>(result.size()), result.data());
  return nCount;
}

int CString::Remove(TCHAR chRemove) {
  if (IsEmpty()) return 0;
  char* out = m_pchData;
  int nCount = 0;
  for (const char* p = m_pchData; *p != 0;) {
    int n = CharLength(p);
    if (n == 1 && *p == chRemove) {
      ++nCount;
    } else {
      std::memmove(out, p, n);
      out += n;
    }
    p += n;
  }
  *out = 0;
  GetHeader()->nDataLength = static_cast<int>(out - m_pchData);
  return nCount;
}

int CString::Insert(int nIndex, TCHAR ch) { return Insert(nIndex, CString(ch, 1)); }

int CString::Insert(int nIndex, LPCTSTR pstr) {
  int nLen = GetLength();
  int nInsert = SafeLength(pstr);
  if (nIndex < 0) nIndex = 0;
  if (nIndex > nLen) nIndex = nLen;
  if (nInsert > 0) {
    std::string result(m_pchData, nIndex);
    result.append(pstr, nInsert);
    result.append(m_pchData + nIndex);
    AssignCopy(static_cast<int>(result.size()), result.data());
  }
  return GetLength();
}

int CString::Delete(int nIndex, int nCount) {
  int nLen = GetLength();
  if (nIndex < 0) nIndex = 0;
  if (nCount > 0 && nIndex < nLen) {
    if (nCount > nLen - nIndex) nCount = nLen - nIndex;
    std::memmove(m_pchData + nIndex, m_pchData + nIndex + nCount, nLen - nIndex - nCount + 1);
    GetHeader()->nDataLength = nLen - nCount;
  }
  return GetLength();
}

void CString::TrimRight() {
  char* end = nullptr;  // start of the trailing run of blanks
  for (char* p = m_pchData; *p != 0; p += CharLength(p)) {
    if (IsSpaceChar(p, CharLength(p))) {
      if (end == nullptr) end = p;
    } else {
      end = nullptr;
    }
  }
  if (end != nullptr) Delete(static_cast<int>(end - m_pchData), GetLength());
}

void CString::TrimRight(TCHAR chTarget) {
  char set[2] = {chTarget, 0};
  TrimRight(set);
}

void CString::TrimRight(LPCTSTR lpszTargets) {
  char* end = nullptr;
  for (char* p = m_pchData; *p != 0; p += CharLength(p)) {
    if (InSet(p, CharLength(p), lpszTargets)) {
      if (end == nullptr) end = p;
    } else {
      end = nullptr;
    }
  }
  if (end != nullptr) Delete(static_cast<int>(end - m_pchData), GetLength());
}

void CString::TrimLeft() {
  const char* p = m_pchData;
  while (*p != 0 && IsSpaceChar(p, CharLength(p))) p += CharLength(p);
  Delete(0, static_cast<int>(p - m_pchData));
}

void CString::TrimLeft(TCHAR chTarget) {
  char set[2] = {chTarget, 0};
  TrimLeft(set);
}

void CString::TrimLeft(LPCTSTR lpszTargets) {
  const char* p = m_pchData;
  while (*p != 0 && InSet(p, CharLength(p), lpszTargets)) p += CharLength(p);
  Delete(0, static_cast<int>(p - m_pchData));
}

int CString::Find(TCHAR ch) const { return Find(ch, 0); }

int CString::Find(TCHAR ch, int nStart) const {
  if (nStart < 0) nStart = 0;
  if (nStart >= GetLength() || ch == 0) return -1;
  for (const char* p = m_pchData + nStart; *p != 0; p += CharLength(p)) {
    if (*p == ch && CharLength(p) == 1) return static_cast<int>(p - m_pchData);
  }
  return -1;
}

int CString::Find(LPCTSTR lpszSub) const { return Find(lpszSub, 0); }

int CString::Find(LPCTSTR lpszSub, int nStart) const {
  if (lpszSub == nullptr) return -1;
  if (nStart < 0) nStart = 0;
  if (nStart > GetLength()) return -1;
  const char* hit = std::strstr(m_pchData + nStart, lpszSub);
  return hit ? static_cast<int>(hit - m_pchData) : -1;
}

int CString::ReverseFind(TCHAR ch) const {
  int found = -1;
  if (ch == 0) return -1;
  for (const char* p = m_pchData; *p != 0; p += CharLength(p)) {
    if (*p == ch && CharLength(p) == 1) found = static_cast<int>(p - m_pchData);
  }
  return found;
}

int CString::FindOneOf(LPCTSTR lpszCharSet) const {
  for (const char* p = m_pchData; *p != 0; p += CharLength(p)) {
    if (InSet(p, CharLength(p), lpszCharSet)) return static_cast<int>(p - m_pchData);
  }
  return -1;
}

void CString::FormatArgs(LPCTSTR lpszFormat, ...) {
  va_list args;
  va_start(args, lpszFormat);
  FormatV(lpszFormat, args);
  va_end(args);
}

void CString::FormatV(LPCTSTR lpszFormat, va_list argList) {
  if (lpszFormat == nullptr) {
    Empty();
    return;
  }
  std::string native = plat::text::ToNativeFormat(lpszFormat);
  va_list sizing;
  va_copy(sizing, argList);
  int nLen = std::vsnprintf(nullptr, 0, native.c_str(), sizing);
  va_end(sizing);
  if (nLen <= 0) {
    Empty();
    return;
  }
  CString result;
  result.AllocBuffer(nLen);
  std::vsnprintf(result.m_pchData, static_cast<size_t>(nLen) + 1, native.c_str(), argList);
  *this = std::move(result);
}

BOOL CString::LoadString(UINT nID) {
  if (LoadStringA == nullptr) return FALSE;
  // Grow until the whole string fits; string resources are short.
  for (int nSize = 256; nSize <= 65536; nSize *= 2) {
    std::string buffer(nSize, '\0');
    int nLen = LoadStringA(nullptr, nID, buffer.data(), nSize);
    if (nLen <= 0) return FALSE;
    if (nLen < nSize - 1) {
      AssignCopy(nLen, buffer.data());
      return TRUE;
    }
  }
  return FALSE;
}

LPTSTR CString::GetBuffer(int nMinBufLength) {
  if (nMinBufLength < 0) nMinBufLength = 0;
  int nLen = GetLength();
  if (m_pchData == g_empty.text || nMinBufLength > GetHeader()->nAllocLength) {
    CString bigger;
    bigger.AllocBuffer(std::max(nMinBufLength, std::max(nLen, 1)));
    std::memcpy(bigger.m_pchData, m_pchData, nLen + 1);
    bigger.GetHeader()->nDataLength = nLen;
    *this = std::move(bigger);
  }
  return m_pchData;
}

void CString::ReleaseBuffer(int nNewLength) {
  if (m_pchData == g_empty.text) return;
  int nAlloc = GetHeader()->nAllocLength;
  if (nNewLength < 0) {
    nNewLength = static_cast<int>(strnlen(m_pchData, nAlloc));
  } else if (nNewLength > nAlloc) {
    ASSERT(FALSE);
    nNewLength = nAlloc;
  }
  GetHeader()->nDataLength = nNewLength;
  m_pchData[nNewLength] = 0;
}

LPTSTR CString::GetBufferSetLength(int nNewLength) {
  if (nNewLength < 0) nNewLength = 0;
  GetBuffer(nNewLength);
  GetHeader()->nDataLength = nNewLength;
  m_pchData[nNewLength] = 0;
  return m_pchData;
}

void CString::FreeExtra() {
  if (m_pchData != g_empty.text && GetHeader()->nAllocLength > GetLength()) {
    CString exact(m_pchData, GetLength());
    *this = std::move(exact);
  }
}

LPTSTR CString::LockBuffer() { return GetBuffer(0); }

void CString::UnlockBuffer() {}

bool operator==(const CString& s1, const CString& s2) { return s1.Compare(s2) == 0; }
bool operator==(const CString& s1, LPCTSTR s2) { return s1.Compare(s2) == 0; }
bool operator==(LPCTSTR s1, const CString& s2) { return s2.Compare(s1) == 0; }
bool operator!=(const CString& s1, const CString& s2) { return s1.Compare(s2) != 0; }
bool operator!=(const CString& s1, LPCTSTR s2) { return s1.Compare(s2) != 0; }
bool operator!=(LPCTSTR s1, const CString& s2) { return s2.Compare(s1) != 0; }
bool operator<(const CString& s1, const CString& s2) { return s1.Compare(s2) < 0; }
bool operator<(const CString& s1, LPCTSTR s2) { return s1.Compare(s2) < 0; }
bool operator<(LPCTSTR s1, const CString& s2) { return s2.Compare(s1) > 0; }
bool operator>(const CString& s1, const CString& s2) { return s1.Compare(s2) > 0; }
bool operator>(const CString& s1, LPCTSTR s2) { return s1.Compare(s2) > 0; }
bool operator>(LPCTSTR s1, const CString& s2) { return s2.Compare(s1) < 0; }
bool operator<=(const CString& s1, const CString& s2) { return s1.Compare(s2) <= 0; }
bool operator<=(const CString& s1, LPCTSTR s2) { return s1.Compare(s2) <= 0; }
bool operator<=(LPCTSTR s1, const CString& s2) { return s2.Compare(s1) >= 0; }
bool operator>=(const CString& s1, const CString& s2) { return s1.Compare(s2) >= 0; }
bool operator>=(const CString& s1, LPCTSTR s2) { return s1.Compare(s2) >= 0; }
bool operator>=(LPCTSTR s1, const CString& s2) { return s2.Compare(s1) <= 0; }
