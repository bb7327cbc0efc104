#include "CMemFile.h"

#include <algorithm>
#include <cstring>
#include <new>

IMPLEMENT_DYNAMIC(CMemFile, CFile)

CMemFile::CMemFile(UINT nGrowBytes) : m_nGrowBytes(nGrowBytes == 0 ? 1024 : nGrowBytes) {}

CMemFile::CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes)
    : m_nGrowBytes(nGrowBytes),
      m_nFileSize(nGrowBytes == 0 ? nBufferSize : 0),
      m_nBufferSize(lpBuffer ? nBufferSize : 0),
      m_lpBuffer(lpBuffer) {
  if (!lpBuffer) m_nFileSize = 0;
}

void CMemFile::Reserve(DWORD size) {
  if (size <= m_nBufferSize) return;
  if (m_nGrowBytes == 0) AfxThrowMemoryException();
  DWORD steps = (size - 1) / m_nGrowBytes + 1;
  unsigned long long capacity = static_cast<unsigned long long>(steps) * m_nGrowBytes;
  if (capacity > 0xFFFFFFFFull) AfxThrowMemoryException();
  try {
    std::vector<BYTE> grown(static_cast<size_t>(capacity));
    std::copy_n(m_lpBuffer, m_nFileSize, grown.data());
    m_owned = std::move(grown);
  } catch (const std::bad_alloc&) {
    AfxThrowMemoryException();
  }
  m_lpBuffer = m_owned.data();
  m_nBufferSize = static_cast<DWORD>(capacity);
}

UINT CMemFile::Read(void* lpBuf, UINT nCount) {
  if (m_nPosition >= m_nFileSize || nCount == 0) return 0;
  UINT n = std::min<UINT>(nCount, m_nFileSize - m_nPosition);
  std::memcpy(lpBuf, m_lpBuffer + m_nPosition, n);
  m_nPosition += n;
  return n;
}

void CMemFile::Write(const void* lpBuf, UINT nCount) {
  if (nCount == 0) return;
  if (nCount > 0xFFFFFFFFu - m_nPosition) AfxThrowFileException(CFileException::diskFull);
  DWORD end = m_nPosition + nCount;
  Reserve(end);
  // A write after a seek past the end leaves zeros in between.
  if (m_nPosition > m_nFileSize) std::memset(m_lpBuffer + m_nFileSize, 0, m_nPosition - m_nFileSize);
  std::memcpy(m_lpBuffer + m_nPosition, lpBuf, nCount);
  m_nPosition = end;
  m_nFileSize = std::max(m_nFileSize, end);
}

LONG CMemFile::Seek(LONG lOff, UINT nFrom) {
  long long base = nFrom == begin ? 0 : nFrom == current ? m_nPosition : nFrom == end ? m_nFileSize : -1;
  long long pos = base + lOff;
  if (base < 0 || pos < 0 || pos > 0x7FFFFFFF) AfxThrowFileException(CFileException::badSeek);
  m_nPosition = static_cast<DWORD>(pos);
  return static_cast<LONG>(pos);
}

void CMemFile::SetLength(DWORD dwNewLen) {
  Reserve(dwNewLen);
  if (dwNewLen > m_nFileSize) std::memset(m_lpBuffer + m_nFileSize, 0, dwNewLen - m_nFileSize);
  m_nFileSize = dwNewLen;
  m_nPosition = std::min(m_nPosition, dwNewLen);
}

void CMemFile::Close() {
  m_owned = std::vector<BYTE>();
  m_lpBuffer = nullptr;
  m_nBufferSize = 0;
  m_nFileSize = 0;
  m_nPosition = 0;
}
