// CString: the framework's string, UTF-8 text in a narrow buffer with value semantics.
// Its only member is the character pointer (the lengths live in a header in front of
// the characters), so the object is pointer-sized like the original.
#pragma once
#include <cstdarg>

#include "WinTypes.h"

class CString {
 public:
  CString();
  CString(const CString& stringSrc);
  CString(CString&& stringSrc) noexcept;
  CString(TCHAR ch, int nRepeat = 1);
  // NULL gives an empty string; a MAKEINTRESOURCE value loads that string resource.
  CString(LPCSTR lpsz);
  CString(LPCSTR lpch, int nLength);
  CString(const unsigned char* psz);
  ~CString();

  int GetLength() const;
  BOOL IsEmpty() const;
  void Empty();

  TCHAR GetAt(int nIndex) const;
  TCHAR operator[](int nIndex) const;
  void SetAt(int nIndex, TCHAR ch);
  operator LPCTSTR() const { return m_pchData; }

  CString& operator=(const CString& stringSrc);
  CString& operator=(CString&& stringSrc) noexcept;
  CString& operator=(TCHAR ch);
  CString& operator=(LPCSTR lpsz);
  CString& operator=(const unsigned char* psz);

  CString& operator+=(const CString& string);
  CString& operator+=(TCHAR ch);
  CString& operator+=(LPCTSTR lpsz);

  friend CString operator+(const CString& string1, const CString& string2);
  friend CString operator+(const CString& string, TCHAR ch);
  friend CString operator+(TCHAR ch, const CString& string);
  friend CString operator+(const CString& string, LPCTSTR lpsz);
  friend CString operator+(LPCTSTR lpsz, const CString& string);

  // Byte order; CompareNoCase folds ASCII letters only. Collate follows the C library's
  // collation, which for this program's locale is byte order too.
  int Compare(LPCTSTR lpsz) const;
  int CompareNoCase(LPCTSTR lpsz) const;
  int Collate(LPCTSTR lpsz) const;
  int CollateNoCase(LPCTSTR lpsz) const;

  // Counts and positions are in bytes, as the original's were.
  CString Mid(int nFirst, int nCount) const;
  CString Mid(int nFirst) const;
  CString Left(int nCount) const;
  CString Right(int nCount) const;
  CString SpanIncluding(LPCTSTR lpszCharSet) const;
  CString SpanExcluding(LPCTSTR lpszCharSet) const;

  void MakeUpper();
  void MakeLower();
  void MakeReverse();  // keeps each multi-byte character intact

  int Replace(TCHAR chOld, TCHAR chNew);
  int Replace(LPCTSTR lpszOld, LPCTSTR lpszNew);
  int Remove(TCHAR chRemove);
  int Insert(int nIndex, TCHAR ch);
  int Insert(int nIndex, LPCTSTR pstr);
  int Delete(int nIndex, int nCount = 1);

  void TrimRight();
  void TrimRight(TCHAR chTarget);
  void TrimRight(LPCTSTR lpszTargets);
  void TrimLeft();
  void TrimLeft(TCHAR chTarget);
  void TrimLeft(LPCTSTR lpszTargets);

  int Find(TCHAR ch) const;
  int Find(TCHAR ch, int nStart) const;
  int Find(LPCTSTR lpszSub) const;
  int Find(LPCTSTR lpszSub, int nStart) const;
  int ReverseFind(TCHAR ch) const;
  int FindOneOf(LPCTSTR lpszCharSet) const;

  // printf formatting with the original platform's rules: %ld and %lu are 32-bit, %I64d
  // is 64-bit, %I and %Id are pointer-sized. CString arguments are passed as their text.
  template <class... Args>
  void Format(LPCTSTR lpszFormat, const Args&... args) {
    FormatArgs(lpszFormat, FormatArg(args)...);
  }
  void FormatV(LPCTSTR lpszFormat, va_list argList);

  // Reads string resource nID of the program through LoadStringA; FALSE when absent.
  BOOL LoadString(UINT nID);

  LPTSTR GetBuffer(int nMinBufLength);
  void ReleaseBuffer(int nNewLength = -1);
  LPTSTR GetBufferSetLength(int nNewLength);
  void FreeExtra();
  LPTSTR LockBuffer();
  void UnlockBuffer();

 private:
  struct Header;
  Header* GetHeader() const;
  void AllocBuffer(int nLen);
  void Release();
  void AssignCopy(int nSrcLen, LPCTSTR lpszSrcData);
  void ConcatInPlace(int nSrcLen, LPCTSTR lpszSrcData);
  static CString Concat(int nLen1, LPCTSTR p1, int nLen2, LPCTSTR p2);
  void FormatArgs(LPCTSTR lpszFormat, ...);

  template <class T>
  static const T& FormatArg(const T& value) { return value; }
  static LPCTSTR FormatArg(const CString& value) { return value.m_pchData; }

  LPTSTR m_pchData;
};

static_assert(sizeof(CString) == sizeof(char*), "CString must stay pointer-sized");

bool operator==(const CString& s1, const CString& s2);
bool operator==(const CString& s1, LPCTSTR s2);
bool operator==(LPCTSTR s1, const CString& s2);
bool operator!=(const CString& s1, const CString& s2);
bool operator!=(const CString& s1, LPCTSTR s2);
bool operator!=(LPCTSTR s1, const CString& s2);
bool operator<(const CString& s1, const CString& s2);
bool operator<(const CString& s1, LPCTSTR s2);
bool operator<(LPCTSTR s1, const CString& s2);
bool operator>(const CString& s1, const CString& s2);
bool operator>(const CString& s1, LPCTSTR s2);
bool operator>(LPCTSTR s1, const CString& s2);
bool operator<=(const CString& s1, const CString& s2);
bool operator<=(const CString& s1, LPCTSTR s2);
bool operator<=(LPCTSTR s1, const CString& s2);
bool operator>=(const CString& s1, const CString& s2);
bool operator>=(const CString& s1, LPCTSTR s2);
bool operator>=(LPCTSTR s1, const CString& s2);
