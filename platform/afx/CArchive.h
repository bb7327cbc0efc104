// CArchive: the framework's binary archive over a CFile. Numbers are little-endian;
// strings carry a length prefix; objects carry class and back-reference tags, so a
// file written here reads on the original platform and the other way round.
#pragma once
#include <memory>
#include <unordered_map>
#include <vector>

#include "CObject.h"
#include "CRect.h"
#include "CString.h"

class CFile;
class CDocument;

class CArchive {
 public:
  enum Mode { store = 0, load = 1, bNoFlushOnDelete = 2, bNoByteSwap = 4 };

  // The archive keeps a buffer of its own; lpBuf is accepted for the original's signature.
  CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096, void* lpBuf = nullptr);
  // Flushes what is still buffered unless Close or Abort ran; errors are dropped here
  // because a destructor cannot report them (call Close to see them).
  ~CArchive();
  CArchive(const CArchive&) = delete;
  CArchive& operator=(const CArchive&) = delete;

  BOOL IsLoading() const { return (m_nMode & load) != 0; }
  BOOL IsStoring() const { return (m_nMode & load) == 0; }
  BOOL IsByteSwapping() const { return FALSE; }
  BOOL IsBufferEmpty() const { return m_nBufCur == m_nBufMax; }
  CFile* GetFile() const { return m_pFile; }
  UINT GetObjectSchema();
  void SetObjectSchema(UINT nSchema) { m_nObjectSchema = nSchema; }

  // Raw bytes; Read answers how many it could read before the end of the file.
  UINT Read(void* lpBuf, UINT nMax);
  void Write(const void* lpBuf, UINT nMax);
  void Flush();
  void Close();
  void Abort();

  // Text lines: WriteString writes the text as is; ReadString reads up to a newline,
  // drops it and a "\r" before it, and answers FALSE at the end of the file.
  void WriteString(LPCTSTR lpsz);
  BOOL ReadString(CString& rString);

  CObject* ReadObject(const CRuntimeClass* pClass);
  void WriteObject(const CObject* pOb);
  CRuntimeClass* ReadClass(const CRuntimeClass* pClassRefRequested = nullptr, UINT* pSchema = nullptr,
                           DWORD* pObTag = nullptr);
  void WriteClass(const CRuntimeClass* pClassRef);
  void SerializeClass(const CRuntimeClass* pClassRef);
  // Records an object as already stored or loaded, so later references point to it.
  void MapObject(const CObject* pOb);

  DWORD ReadCount();
  void WriteCount(DWORD dwCount);

  // Throws endOfFile when the file is known to hold fewer than nBytes more, so that a
  // damaged count never makes a reader allocate for data that is not there.
  void CheckRemaining(ULONGLONG nBytes);

  CArchive& operator<<(BYTE by);
  CArchive& operator<<(WORD w);
  CArchive& operator<<(LONG l);  // also int: both are 32-bit
  CArchive& operator<<(DWORD dw);
  CArchive& operator<<(short w) { return *this << (WORD)w; }
  CArchive& operator<<(char ch) { return *this << (BYTE)ch; }
  CArchive& operator<<(float f);
  CArchive& operator<<(double d);
  CArchive& operator<<(LONGLONG ll);
  CArchive& operator<<(ULONGLONG ull);

  CArchive& operator>>(BYTE& by);
  CArchive& operator>>(WORD& w);
  CArchive& operator>>(LONG& l);
  CArchive& operator>>(DWORD& dw);
  CArchive& operator>>(short& w) { return *this >> reinterpret_cast<WORD&>(w); }
  CArchive& operator>>(char& ch) { return *this >> reinterpret_cast<BYTE&>(ch); }
  CArchive& operator>>(float& f);
  CArchive& operator>>(double& d);
  CArchive& operator>>(LONGLONG& ll);
  CArchive& operator>>(ULONGLONG& ull);

  CDocument* m_pDocument = nullptr;
  CString m_strFileName;

 private:
  struct LoadEntry {
    CRuntimeClass* pClass;  // set for class entries
    CObject* pObject;       // set for object entries (index 0 is the null object)
    CObject* pReader = nullptr;  // the object whose reading read this one (null at the top)
  };

  void FillBuffer(UINT nBytesNeeded);
  void ReadExact(void* lpBuf, UINT nBytes);
  void ThrowIfWrongMode(bool bWantLoading) const;
  [[noreturn]] void Fail(int cause) const;
  void CheckMapCount() const;
  void FreeCollected(CObject& failed, size_t nEntry);

  CFile* m_pFile;
  UINT m_nMode;
  std::vector<BYTE> m_buffer;
  UINT m_nBufCur = 0;  // next byte to read, or end of bytes written
  UINT m_nBufMax = 0;  // end of valid bytes when loading
  bool m_bClosed = false;

  UINT m_nObjectSchema = (UINT)-1;
  DWORD m_nMapCount = 1;
  std::unordered_map<const void*, DWORD> m_storeMap;
  std::vector<LoadEntry> m_loadArray;
  std::unordered_map<const CRuntimeClass*, UINT> m_schemaMap;
  int m_nReadDepth = 0;
  CObject* m_pReading = nullptr;  // the object being read now
};

CArchive& operator<<(CArchive& ar, const CString& string);
CArchive& operator>>(CArchive& ar, CString& string);
CArchive& operator<<(CArchive& ar, const CObject* pOb);
CArchive& operator>>(CArchive& ar, CObject*& pOb);
CArchive& operator>>(CArchive& ar, const CObject*& pOb);
CArchive& operator<<(CArchive& ar, SIZE size);
CArchive& operator<<(CArchive& ar, POINT point);
CArchive& operator<<(CArchive& ar, const RECT& rect);
CArchive& operator>>(CArchive& ar, SIZE& size);
CArchive& operator>>(CArchive& ar, POINT& point);
CArchive& operator>>(CArchive& ar, RECT& rect);
