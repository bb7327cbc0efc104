// The framework's named collections of pointers, objects, numbers and strings. Each is
// its template with the element types fixed and a run-time class of its own, so that
// arrays and lists of objects can themselves be stored in archives.
#pragma once
#include <vector>

#include "CArray.h"
#include "CList.h"
#include "CMap.h"

class CPtrArray : public CArray<void*, void*> {
  DECLARE_DYNAMIC(CPtrArray)

 public:
  CPtrArray() = default;
};

class CObArray : public CArray<CObject*, CObject*> {
  DECLARE_SERIAL(CObArray)

 public:
  CObArray() = default;
};

class CDWordArray : public CArray<DWORD, DWORD> {
  DECLARE_SERIAL(CDWordArray)

 public:
  CDWordArray() = default;
};

class CWordArray : public CArray<WORD, WORD> {
  DECLARE_SERIAL(CWordArray)

 public:
  CWordArray() = default;
};

class CByteArray : public CArray<BYTE, BYTE> {
  DECLARE_SERIAL(CByteArray)

 public:
  CByteArray() = default;
};

class CUIntArray : public CArray<UINT, UINT> {
  DECLARE_DYNAMIC(CUIntArray)

 public:
  CUIntArray() = default;
};

class CStringArray : public CArray<CString, LPCTSTR> {
  DECLARE_SERIAL(CStringArray)

 public:
  CStringArray() = default;
};


class CPtrList : public CList<void*, void*> {
  DECLARE_DYNAMIC(CPtrList)

 public:
  explicit CPtrList(int nBlockSize = 10) : CList<void*, void*>(nBlockSize) {}
};

class CObList : public CList<CObject*, CObject*> {
  DECLARE_SERIAL(CObList)

 public:
  explicit CObList(int nBlockSize = 10) : CList<CObject*, CObject*>(nBlockSize) {}
};

class CStringList : public CList<CString, LPCTSTR> {
  DECLARE_SERIAL(CStringList)

 public:
  explicit CStringList(int nBlockSize = 10) : CList<CString, LPCTSTR>(nBlockSize) {}
};


class CMapStringToPtr : public CMap<CString, LPCTSTR, void*, void*> {
  DECLARE_DYNAMIC(CMapStringToPtr)

 public:
  explicit CMapStringToPtr(int nBlockSize = 10) : CMap<CString, LPCTSTR, void*, void*>(nBlockSize) {}
};

class CMapStringToOb : public CMap<CString, LPCTSTR, CObject*, CObject*> {
  DECLARE_SERIAL(CMapStringToOb)

 public:
  explicit CMapStringToOb(int nBlockSize = 10) : CMap<CString, LPCTSTR, CObject*, CObject*>(nBlockSize) {}
};

class CMapStringToString : public CMap<CString, LPCTSTR, CString, LPCTSTR> {
  DECLARE_SERIAL(CMapStringToString)

 public:
  explicit CMapStringToString(int nBlockSize = 10) : CMap<CString, LPCTSTR, CString, LPCTSTR>(nBlockSize) {}
};

class CMapPtrToPtr : public CMap<void*, void*, void*, void*> {
  DECLARE_DYNAMIC(CMapPtrToPtr)

 public:
  explicit CMapPtrToPtr(int nBlockSize = 10) : CMap<void*, void*, void*, void*>(nBlockSize) {}
};

class CMapWordToPtr : public CMap<WORD, WORD, void*, void*> {
  DECLARE_DYNAMIC(CMapWordToPtr)

 public:
  explicit CMapWordToPtr(int nBlockSize = 10) : CMap<WORD, WORD, void*, void*>(nBlockSize) {}
};

class CMapPtrToWord : public CMap<void*, void*, WORD, WORD> {
  DECLARE_DYNAMIC(CMapPtrToWord)

 public:
  explicit CMapPtrToWord(int nBlockSize = 10) : CMap<void*, void*, WORD, WORD>(nBlockSize) {}
};

class CMapWordToOb : public CMap<WORD, WORD, CObject*, CObject*> {
  DECLARE_SERIAL(CMapWordToOb)

 public:
  explicit CMapWordToOb(int nBlockSize = 10) : CMap<WORD, WORD, CObject*, CObject*>(nBlockSize) {}
};

namespace plat::afx {
// The objects an object collection (array, list or map of CObject*) holds; false for
// any other object. Collections never own their elements, so an archive that drops a
// half-read collection frees the elements it read itself through this.
bool CollectedObjects(CObject& ob, std::vector<CObject*>* out);
}  // namespace plat::afx
