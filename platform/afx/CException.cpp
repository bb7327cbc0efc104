#include "CException.h"

#include <memory>
#include <new>
#include <string>

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CMemoryException, CException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CException)
IMPLEMENT_DYNAMIC(CResourceException, CException)
IMPLEMENT_DYNAMIC(CUserException, CException)
IMPLEMENT_DYNAMIC(CArchiveException, CException)

namespace plat::afx {
namespace {

ErrorReporter g_reporter = nullptr;
thread_local ExceptionScope* t_innermost = nullptr;

// Allocation failed, so the memory exception cannot be allocated either: one shared
// object that Delete() leaves alone.
CMemoryException& SharedMemoryException() {
  static CMemoryException shared(FALSE);
  return shared;
}

}  // namespace

void SetErrorReporter(ErrorReporter reporter) { g_reporter = reporter; }

BOOL CopyErrorText(LPCTSTR text, LPTSTR out, UINT max) {
  if (out == nullptr || max == 0) return FALSE;
  std::string_view s = text ? text : "";
  size_t n = s.size() < max - 1 ? s.size() : max - 1;
  // Never end inside a UTF-8 sequence.
  if (n < s.size())
    while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
  s.copy(out, n);
  out[n] = '\0';
  return n > 0 ? TRUE : FALSE;
}

BOOL CopyErrorText(LPCTSTR form, const CString& fileName, LPTSTR out, UINT max) {
  std::string text = form;
  if (auto at = text.find("%s"); at != std::string::npos)
    text.replace(at, 2, fileName.IsEmpty() ? "an unnamed file" : static_cast<LPCTSTR>(fileName));
  return CopyErrorText(text.c_str(), out, max);
}

ExceptionScope::ExceptionScope() : outer_(t_innermost) { t_innermost = this; }

ExceptionScope::~ExceptionScope() {
  t_innermost = outer_;
  if (held_ != nullptr && held_->m_bAutoDelete) delete held_;
}

void ExceptionScope::Capture() {
  pending_ = std::current_exception();
  try {
    std::rethrow_exception(pending_);
  } catch (CException* e) {
    held_ = e;
  } catch (const std::bad_alloc&) {
    held_ = &SharedMemoryException();
  } catch (...) {
    // Not ours: PassOn lets it continue.
  }
}

void ExceptionScope::PassOn() {
  if (pending_) Rethrow();
}

void ExceptionScope::Rethrow() {
  held_ = nullptr;
  std::exception_ptr p = std::move(pending_);
  if (!p) p = std::make_exception_ptr(&SharedMemoryException());
  std::rethrow_exception(p);
}

bool ExceptionScope::Holds(const CException* e) {
  for (ExceptionScope* s = t_innermost; s != nullptr; s = s->outer_)
    if (s->held_ == e) return true;
  return false;
}

void ExceptionScope::Release(const CException* e) {
  for (ExceptionScope* s = t_innermost; s != nullptr; s = s->outer_)
    if (s->held_ == e) s->held_ = nullptr;
}

}  // namespace plat::afx

CException::CException() : m_bAutoDelete(TRUE) {}
CException::CException(BOOL bAutoDelete) : m_bAutoDelete(bAutoDelete) {}

void CException::Delete() {
  if (m_bAutoDelete > 0 && !plat::afx::ExceptionScope::Holds(this)) delete this;
}

BOOL CException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) {
  if (pnHelpContext) *pnHelpContext = 0;
  if (lpszError && nMaxError > 0) *lpszError = '\0';
  return FALSE;
}

int CException::ReportError(UINT nType, UINT nMessageID) {
  char text[512];
  if (!GetErrorMessage(text, sizeof text))
    plat::afx::CopyErrorText("An unsupported operation was attempted.", text, sizeof text);
  return plat::afx::g_reporter ? plat::afx::g_reporter(text, nType) : 0;
}

BOOL CMemoryException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) {
  if (pnHelpContext) *pnHelpContext = 0;
  return plat::afx::CopyErrorText("Out of memory.", lpszError, nMaxError);
}

BOOL CNotSupportedException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) {
  if (pnHelpContext) *pnHelpContext = 0;
  return plat::afx::CopyErrorText("An unsupported operation was attempted.", lpszError, nMaxError);
}

BOOL CResourceException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) {
  if (pnHelpContext) *pnHelpContext = 0;
  return plat::afx::CopyErrorText("A required resource was unavailable.", lpszError, nMaxError);
}

CArchiveException::CArchiveException(int cause, LPCTSTR lpszArchiveName)
    : m_cause(cause), m_strFileName(lpszArchiveName ? lpszArchiveName : "") {}

BOOL CArchiveException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) {
  if (pnHelpContext) *pnHelpContext = 0;
  static const char* const kTexts[] = {
      "No error occurred.",
      "An unexpected error occurred while reading or writing %s.",
      "Tried to write to %s, which was opened for reading.",
      "Tried to read past the end of %s.",
      "Tried to read from %s, which was opened for writing.",
      "%s has a bad format.",
      "%s contains an unexpected object.",
      "%s was written by a different version of the program.",
  };
  const char* form = (m_cause >= 0 && m_cause <= badSchema) ? kTexts[m_cause] : kTexts[generic];
  return plat::afx::CopyErrorText(form, m_strFileName, lpszError, nMaxError);
}

void AfxThrowMemoryException() { THROW(&plat::afx::SharedMemoryException()); }

void AfxThrowNotSupportedException() { THROW(std::make_unique<CNotSupportedException>().release()); }

void AfxThrowResourceException() { THROW(std::make_unique<CResourceException>().release()); }

void AfxThrowUserException() { THROW(std::make_unique<CUserException>().release()); }

void AfxThrowArchiveException(int cause, LPCTSTR lpszArchiveName) {
  THROW(std::make_unique<CArchiveException>(cause, lpszArchiveName).release());
}
