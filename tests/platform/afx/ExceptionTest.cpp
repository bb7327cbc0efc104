#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>

#include "afx.h"

namespace {

// Counts live objects so that a test sees every exception freed exactly once.
struct Counted : CFileException {
  static int live;
  explicit Counted(int cause = fileNotFound) : CFileException(cause) { ++live; }
  ~Counted() override { --live; }
};
int Counted::live = 0;

[[noreturn]] void ThrowCounted() { THROW(new Counted); }

enum Thrown { kFile, kArchive, kMemory, kBadAlloc, kNotSupported, kUser };

void Raise(Thrown what) {
  switch (what) {
    case kFile: AfxThrowFileException(CFileException::diskFull, ERROR_DISK_FULL, "C:\\a.txt");
    case kArchive: AfxThrowArchiveException(CArchiveException::badSchema);
    case kMemory: AfxThrowMemoryException();
    case kBadAlloc: throw std::bad_alloc();
    case kNotSupported: AfxThrowNotSupportedException();
    case kUser: AfxThrowUserException();
  }
}

std::string Dispatch(Thrown what) {
  std::string ran;
  TRY { Raise(what); }
  CATCH(CFileException, e) { ran = "file:" + std::to_string(e->m_cause); }
  AND_CATCH(CArchiveException, e) { ran = "archive:" + std::to_string(e->m_cause); }
  AND_CATCH(CMemoryException, e) { ran = "memory"; }
  AND_CATCH_ALL(e) { ran = e->GetRuntimeClass()->m_lpszClassName; }
  END_CATCH_ALL
  return ran;
}

TEST(Exceptions, CatchChainPicksTheFirstMatchingHandler) {
  struct Case {
    Thrown what;
    const char* handler;
  } cases[] = {
      {kFile, "file:13"},         {kArchive, "archive:7"},
      {kMemory, "memory"},        {kBadAlloc, "memory"},
      {kNotSupported, "CNotSupportedException"}, {kUser, "CUserException"},
  };
  for (const auto& c : cases) EXPECT_EQ(Dispatch(c.what), c.handler) << c.what;
}

TEST(Exceptions, MacroHandlerFreesTheExceptionWhetherOrNotItCallsDelete) {
  TRY { ThrowCounted(); }
  CATCH(CFileException, e) { EXPECT_EQ(Counted::live, 1); }
  END_CATCH
  EXPECT_EQ(Counted::live, 0);

  TRY { ThrowCounted(); }
  CATCH(CFileException, e) {
    e->Delete();  // the usual idiom; the block frees it once, at its end
    EXPECT_EQ(e->m_cause, CFileException::fileNotFound);
  }
  END_CATCH
  EXPECT_EQ(Counted::live, 0);
}

TEST(Exceptions, PlainCatchOwnsTheExceptionAndDeletes) {
  try {
    ThrowCounted();
  } catch (CException* e) {
    EXPECT_EQ(Counted::live, 1);
    e->Delete();
  }
  EXPECT_EQ(Counted::live, 0);
}

TEST(Exceptions, ThrowLastPassesTheSameObjectWithItsOwnType) {
  CFileException* inner = nullptr;
  try {
    TRY { ThrowCounted(); }
    CATCH_ALL(e) {
      inner = static_cast<CFileException*>(e);
      THROW_LAST();
    }
    END_CATCH_ALL
  } catch (CFileException* e) {
    EXPECT_EQ(e, inner);
    EXPECT_EQ(Counted::live, 1);
    e->Delete();
  }
  EXPECT_EQ(Counted::live, 0);
}

TEST(Exceptions, RethrowingTheCaughtPointerHandsItOn) {
  try {
    TRY { ThrowCounted(); }
    CATCH(CFileException, e) { THROW(e); }
    END_CATCH
  } catch (CFileException* e) {
    EXPECT_EQ(Counted::live, 1);
    e->Delete();
  }
  EXPECT_EQ(Counted::live, 0);
}

TEST(Exceptions, UnmatchedChainPassesOnToTheOuterHandler) {
  int outer = 0;
  TRY {
    TRY { ThrowCounted(); }
    CATCH(CArchiveException, e) { ADD_FAILURE() << "wrong handler"; }
    END_CATCH
  }
  CATCH(CFileException, e) { outer = e->m_cause; }
  END_CATCH
  EXPECT_EQ(outer, CFileException::fileNotFound);
  EXPECT_EQ(Counted::live, 0);
}

TEST(Exceptions, NestedBlockInsideHandlerKeepsBothObjects) {
  TRY { ThrowCounted(); }
  CATCH(CFileException, outer) {
    TRY { ThrowCounted(); }
    CATCH(CFileException, inner) {
      EXPECT_NE(inner, outer);
      EXPECT_EQ(Counted::live, 2);
      inner->Delete();
    }
    END_CATCH
    EXPECT_EQ(Counted::live, 1);
    outer->Delete();
  }
  END_CATCH
  EXPECT_EQ(Counted::live, 0);
}

TEST(Exceptions, ForeignExceptionsPassThroughCatchAll) {
  bool handled = false;
  EXPECT_THROW(
      {
        TRY { throw std::runtime_error("not ours"); }
        CATCH_ALL(e) { handled = true; }
        END_CATCH_ALL
      },
      std::runtime_error);
  EXPECT_FALSE(handled);
}

TEST(Exceptions, MemoryExceptionIsSharedAndSurvivesDelete) {
  CMemoryException* first = nullptr;
  try {
    AfxThrowMemoryException();
  } catch (CMemoryException* e) {
    first = e;
    e->Delete();
  }
  ASSERT_NE(first, nullptr);
  char text[64];
  EXPECT_TRUE(first->GetErrorMessage(text, sizeof text));
  EXPECT_STREQ(text, "Out of memory.");
}

TEST(Exceptions, OsErrorsMapToCauses) {
  struct Case {
    LONG error;
    int cause;
  } cases[] = {
      {NO_ERROR, CFileException::none},
      {ERROR_FILE_NOT_FOUND, CFileException::fileNotFound},
      {ERROR_PATH_NOT_FOUND, CFileException::badPath},
      {ERROR_TOO_MANY_OPEN_FILES, CFileException::tooManyOpenFiles},
      {ERROR_ACCESS_DENIED, CFileException::accessDenied},
      {ERROR_SHARING_VIOLATION, CFileException::sharingViolation},
      {ERROR_LOCK_VIOLATION, CFileException::lockViolation},
      {ERROR_DISK_FULL, CFileException::diskFull},
      {ERROR_HANDLE_DISK_FULL, CFileException::diskFull},
      {ERROR_HANDLE_EOF, CFileException::endOfFile},
      {ERROR_NEGATIVE_SEEK, CFileException::badSeek},
      {ERROR_CURRENT_DIRECTORY, CFileException::removeCurrentDir},
      {ERROR_ALREADY_EXISTS, CFileException::accessDenied},
      {ERROR_INVALID_PARAMETER, CFileException::generic},
  };
  for (const auto& c : cases) EXPECT_EQ(CFileException::OsErrorToException(c.error), c.cause) << c.error;
}

TEST(Exceptions, ThrowOsErrorCarriesCauseErrorAndName) {
  try {
    CFileException::ThrowOsError(ERROR_ACCESS_DENIED, "C:\\data\\x.bin");
  } catch (CFileException* e) {
    EXPECT_EQ(e->m_cause, CFileException::accessDenied);
    EXPECT_EQ(e->m_lOsError, ERROR_ACCESS_DENIED);
    EXPECT_STREQ(e->m_strFileName, "C:\\data\\x.bin");
    EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CFileException)));
    EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CException)));
    EXPECT_FALSE(e->IsKindOf(RUNTIME_CLASS(CMemoryException)));
    e->Delete();
  }
}

TEST(Exceptions, ErrorMessageNamesTheFileAndCutsAtWholeCharacters) {
  CFileException e(CFileException::fileNotFound, ERROR_FILE_NOT_FOUND, "C:\\画像.jpg");
  char text[128];
  ASSERT_TRUE(e.GetErrorMessage(text, sizeof text));
  EXPECT_STREQ(text, "C:\\画像.jpg was not found.");
  // Room for "C:\" and one and a half of the three-byte characters.
  char small[8];
  ASSERT_TRUE(e.GetErrorMessage(small, sizeof small));
  EXPECT_STREQ(small, "C:\\画");
  CFileException unnamed(CFileException::diskFull);
  ASSERT_TRUE(unnamed.GetErrorMessage(text, sizeof text));
  EXPECT_STREQ(text, "Disk full while accessing an unnamed file.");
}

TEST(Exceptions, ReportErrorGoesThroughTheInstalledReporter) {
  static std::string shown;
  CFileException e(CFileException::accessDenied, ERROR_ACCESS_DENIED, "C:\\a.txt");
  EXPECT_EQ(e.ReportError(), 0);  // nothing to show it yet
  plat::afx::SetErrorReporter([](LPCTSTR text, UINT) {
    shown = text;
    return 1;
  });
  EXPECT_EQ(e.ReportError(), 1);
  EXPECT_EQ(shown, "Access to C:\\a.txt was denied.");
  plat::afx::SetErrorReporter(nullptr);
}

}  // namespace
