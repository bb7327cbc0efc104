#include "CStdioFile.h"

#include <cstring>
#include <string>

IMPLEMENT_DYNAMIC(CStdioFile, CFile)

namespace {

constexpr char kCtrlZ = 0x1A;
constexpr size_t kChunk = 4096;

// Bytes in the UTF-8 sequence that starts with `lead`.
size_t SequenceLength(unsigned char lead) {
  if (lead < 0xC0) return 1;
  if (lead < 0xE0) return 2;
  if (lead < 0xF0) return 3;
  return 4;
}

}  // namespace

CStdioFile::CStdioFile(LPCTSTR lpszFileName, UINT nOpenFlags) {
  CFileException e;
  if (!Open(lpszFileName, nOpenFlags, &e)) AfxThrowFileException(e.m_cause, e.m_lOsError, e.m_strFileName);
}

BOOL CStdioFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError) {
  m_ahead.clear();
  m_next = 0;
  m_atEnd = false;
  m_text = (nOpenFlags & typeBinary) == 0;
  return CFile::Open(lpszFileName, nOpenFlags & ~(typeText | typeBinary), pError);
}

bool CStdioFile::Fill(size_t wanted) {
  while (m_ahead.size() - m_next < wanted) {
    if (m_next > 0) {
      m_ahead.erase(m_ahead.begin(), m_ahead.begin() + static_cast<std::ptrdiff_t>(m_next));
      m_next = 0;
    }
    size_t have = m_ahead.size();
    m_ahead.resize(have + kChunk);
    UINT got = CFile::Read(m_ahead.data() + have, static_cast<UINT>(kChunk));
    m_ahead.resize(have + got);
    if (got == 0) return false;
  }
  return true;
}

int CStdioFile::PeekRaw(size_t ahead) {
  if (!Fill(ahead + 1)) return -1;
  return static_cast<unsigned char>(m_ahead[m_next + ahead]);
}

int CStdioFile::Peek() {
  if (m_atEnd) return -1;
  int c = PeekRaw(0);
  if (!m_text) return c;
  if (c == kCtrlZ) return -1;
  if (c == '\r' && PeekRaw(1) == '\n') return '\n';
  return c;
}

int CStdioFile::Next() {
  int c = Peek();
  if (c < 0) {
    if (m_text && PeekRaw(0) == kCtrlZ) m_atEnd = true;
    return -1;
  }
  // A CR-LF pair is one LF.
  m_next += (m_text && c == '\n' && m_ahead[m_next] == '\r') ? 2 : 1;
  return c;
}

void CStdioFile::DropReadAhead() {
  size_t unread = m_ahead.size() - m_next;
  m_ahead.clear();
  m_next = 0;
  if (unread > 0) CFile::Seek(-static_cast<LONG>(unread), current);
}

BOOL CStdioFile::ReadString(CString& rString) {
  std::string line;
  int c = Next();
  if (c < 0) {
    rString.Empty();
    return FALSE;
  }
  for (; c >= 0 && c != '\n'; c = Next()) line += static_cast<char>(c);
  rString = CString(line.data(), static_cast<int>(line.size()));
  return TRUE;
}

LPTSTR CStdioFile::ReadString(LPTSTR lpsz, UINT nMax) {
  if (lpsz == nullptr || nMax == 0) return nullptr;
  UINT n = 0;
  bool any = false;
  while (n + 1 < nMax) {
    int c = Peek();
    if (c < 0) break;
    size_t length = SequenceLength(static_cast<unsigned char>(c));
    // Keep characters whole, unless the buffer cannot hold even one.
    if (n + length >= nMax) {
      if (n > 0) break;
      length = nMax - 1;
    }
    for (; length > 0; --length) {
      int b = Next();
      if (b < 0) break;
      lpsz[n++] = static_cast<char>(b);
    }
    any = true;
    if (c == '\n') break;
  }
  lpsz[n] = '\0';
  if (!any && Peek() < 0) return nullptr;
  return lpsz;
}

void CStdioFile::WriteString(LPCTSTR lpsz) {
  if (lpsz != nullptr) Write(lpsz, static_cast<UINT>(std::strlen(lpsz)));
}

UINT CStdioFile::Read(void* lpBuf, UINT nCount) {
  auto* out = static_cast<char*>(lpBuf);
  UINT n = 0;
  for (int c; n < nCount && (c = Next()) >= 0;) out[n++] = static_cast<char>(c);
  return n;
}

void CStdioFile::Write(const void* lpBuf, UINT nCount) {
  DropReadAhead();
  if (!m_text) {
    CFile::Write(lpBuf, nCount);
    return;
  }
  std::string out;
  out.reserve(nCount + nCount / 16);
  for (const char* p = static_cast<const char*>(lpBuf); p != static_cast<const char*>(lpBuf) + nCount; ++p) {
    if (*p == '\n') out += '\r';
    out += *p;
  }
  CFile::Write(out.data(), static_cast<UINT>(out.size()));
}

LONG CStdioFile::Seek(LONG lOff, UINT nFrom) {
  DropReadAhead();
  m_atEnd = false;
  return CFile::Seek(lOff, nFrom);
}

DWORD CStdioFile::GetPosition() const { return CFile::GetPosition() - static_cast<DWORD>(m_ahead.size() - m_next); }

void CStdioFile::SetLength(DWORD dwNewLen) {
  DropReadAhead();
  CFile::SetLength(dwNewLen);
}

void CStdioFile::Flush() {
  DropReadAhead();
  CFile::Flush();
}

void CStdioFile::Close() {
  m_ahead.clear();
  m_next = 0;
  CFile::Close();
}

void CStdioFile::Abort() {
  m_ahead.clear();
  m_next = 0;
  CFile::Abort();
}
