// The framework's exception objects and the TRY/CATCH macros.
//
// Ownership: an exception is thrown as a pointer to a heap object that the catcher owns.
// A handler written with the macros never has to free it: the TRY block frees it when the
// handler ends (calling e->Delete() inside the handler is harmless, it only marks it done).
// A plain C++ `catch (CException* e)` owns it and calls e->Delete(). THROW_LAST, and a
// CATCH chain that matches nothing, pass the same object on to the next handler.
// std::bad_alloc from operator new reaches CATCH(CMemoryException, e) and CATCH_ALL as the
// framework's memory exception, so allocation failures are caught where the code expects.
#pragma once
#include <exception>

#include "AfxCoreTypes.h"

class CException : public CObject {
  DECLARE_DYNAMIC(CException)

 public:
  CException();
  explicit CException(BOOL bAutoDelete);
  ~CException() override = default;

  // Frees a heap exception (or defers that to the macro handler that holds it).
  void Delete();

  virtual BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr);
  // Shows the error text in a message box; answers 0 while no box can be shown.
  virtual int ReportError(UINT nType = 0, UINT nMessageID = 0);

  BOOL m_bAutoDelete;
};

class CMemoryException : public CException {
  DECLARE_DYNAMIC(CMemoryException)

 public:
  CMemoryException() = default;
  explicit CMemoryException(BOOL bAutoDelete) : CException(bAutoDelete) {}
  BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) override;
};

class CNotSupportedException : public CException {
  DECLARE_DYNAMIC(CNotSupportedException)

 public:
  BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) override;
};

class CResourceException : public CException {
  DECLARE_DYNAMIC(CResourceException)

 public:
  BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) override;
};

// Thrown after the user was already told (for example by a failed dialog data check).
class CUserException : public CException {
  DECLARE_DYNAMIC(CUserException)
};

class CArchiveException : public CException {
  DECLARE_DYNAMIC(CArchiveException)

 public:
  enum { none, generic, readOnly, endOfFile, writeOnly, badIndex, badClass, badSchema };

  explicit CArchiveException(int cause = none, LPCTSTR lpszArchiveName = nullptr);
  BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) override;

  int m_cause;
  CString m_strFileName;
};

[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowNotSupportedException();
[[noreturn]] void AfxThrowResourceException();
[[noreturn]] void AfxThrowUserException();
[[noreturn]] void AfxThrowArchiveException(int cause, LPCTSTR lpszArchiveName = nullptr);

namespace plat::afx {

// Shows an exception's text for ReportError once message boxes exist.
using ErrorReporter = int (*)(LPCTSTR text, UINT type);
void SetErrorReporter(ErrorReporter reporter);

// Copies an error text into a caller's buffer of `max` bytes, cutting it at a whole
// character; answers TRUE when anything fits.
BOOL CopyErrorText(LPCTSTR text, LPTSTR out, UINT max);
// The same for a text with one %s, which names the file (or "an unnamed file").
BOOL CopyErrorText(LPCTSTR form, const CString& fileName, LPTSTR out, UINT max);

// One TRY block: holds what was caught until the handlers are done with it.
class ExceptionScope {
 public:
  ExceptionScope();
  ~ExceptionScope();
  ExceptionScope(const ExceptionScope&) = delete;
  ExceptionScope& operator=(const ExceptionScope&) = delete;

  // Called inside catch (...): keeps the framework exception, or remembers a foreign one.
  void Capture();
  template <class T>
  T* As() const {
    return dynamic_cast<T*>(held_);
  }
  // A CATCH chain that matched nothing passes the exception on.
  void PassOn();
  [[noreturn]] void Rethrow();

  // True when a live handler holds `e`; Delete() then leaves freeing to the handler's end.
  static bool Holds(const CException* e);
  // Gives up `e` because it is being thrown again.
  static void Release(const CException* e);

 private:
  CException* held_ = nullptr;
  std::exception_ptr pending_;
  ExceptionScope* outer_;
};

template <class T>
[[noreturn]] void Throw(T* e) {
  ExceptionScope::Release(e);
  throw e;
}

}  // namespace plat::afx

#define TRY                            \
  {                                    \
    ::plat::afx::ExceptionScope _afxScope; \
    try {
#define CATCH(class_name, e)                     \
  }                                              \
  catch (...) {                                  \
    _afxScope.Capture();                         \
  }                                              \
  if (_afxScope.As<class_name>() != nullptr) {   \
    class_name* e = _afxScope.As<class_name>();  \
    (void)e;
#define AND_CATCH(class_name, e)                        \
  }                                                     \
  else if (_afxScope.As<class_name>() != nullptr) {     \
    class_name* e = _afxScope.As<class_name>();         \
    (void)e;
#define END_CATCH   \
  }                 \
  else {            \
    _afxScope.PassOn(); \
  }                 \
  }
#define CATCH_ALL(e) CATCH(CException, e)
#define AND_CATCH_ALL(e) AND_CATCH(CException, e)
#define END_CATCH_ALL END_CATCH
#define THROW(e) ::plat::afx::Throw(e)
#define THROW_LAST() _afxScope.Rethrow()
