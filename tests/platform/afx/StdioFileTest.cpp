#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Faults.h"
#include "FileBytes.h"
#include "afx.h"

namespace {

std::vector<std::string> Lines(const std::string& bytes, UINT type) {
  WriteBytes("C:\\lines.txt", bytes);
  CStdioFile f("C:\\lines.txt", CFile::modeRead | type);
  std::vector<std::string> lines;
  CString line;
  while (f.ReadString(line)) lines.emplace_back(line);
  EXPECT_STREQ(line, "");
  return lines;
}

TEST(StdioFile, ReadsLinesAsWindowsTextMode) {
  using L = std::vector<std::string>;
  const std::string longLine(4095, 'x');  // its CR ends the first read chunk
  struct Case {
    std::string bytes;
    UINT type;
    L lines;
  } cases[] = {
      {"a\r\nb\r\n", CFile::typeText, L{"a", "b"}},
      {"a\r\nb\r\n", 0, L{"a", "b"}},  // text is the default
      {"a\nb", CFile::typeText, L{"a", "b"}},
      {"a\r\r\nb", CFile::typeText, L{"a\r", "b"}},
      {"a\rb\n", CFile::typeText, L{"a\rb"}},
      {"\r\n\r\n", CFile::typeText, L{"", ""}},
      {"", CFile::typeText, L{}},
      {"ab\x1A" "cd\r\n", CFile::typeText, L{"ab"}},
      {"画像\r\nです", CFile::typeText, L{"画像", "です"}},
      {longLine + "\r\ny", CFile::typeText, L{longLine, "y"}},
      {"a\r\nb\x1A", CFile::typeBinary, L{"a\r", "b\x1A"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Lines(c.bytes, c.type), c.lines) << c.bytes;
}

TEST(StdioFile, ReadsIntoBuffersKeepingLineEndsAndCharacters) {
  WriteBytes("C:\\buf.txt", "abcdef\r\ngh\r\na画b");
  CStdioFile f("C:\\buf.txt", CFile::modeRead);
  const char* expected[] = {"abc", "def", "\n", "gh\n", "a", "画", "b"};
  char buf[4];
  for (const char* want : expected) {
    ASSERT_EQ(f.ReadString(buf, sizeof buf), buf);
    EXPECT_STREQ(buf, want);
  }
  EXPECT_EQ(f.ReadString(buf, sizeof buf), nullptr);
  // A buffer too small for one character still moves on.
  f.SeekToBegin();
  f.Seek(13, CFile::begin);
  char tiny[2];
  ASSERT_NE(f.ReadString(tiny, sizeof tiny), nullptr);
  EXPECT_EQ(tiny[0], '\xE7');
}

TEST(StdioFile, WritesLineEndsAsCrLfInTextMode) {
  {
    CStdioFile f("C:\\out.txt", CFile::modeCreate | CFile::modeWrite);
    f.WriteString("one\ntwo\n");
    f.Write("x\0y\n", 4);
  }
  EXPECT_EQ(ReadBytes("C:\\out.txt"), std::string("one\r\ntwo\r\nx\0y\r\n", 15));
  {
    CStdioFile f("C:\\out.txt", CFile::modeCreate | CFile::modeWrite | CFile::typeBinary);
    f.WriteString("one\ntwo\n");
  }
  EXPECT_EQ(ReadBytes("C:\\out.txt"), "one\ntwo\n");
}

TEST(StdioFile, PositionsCountFileBytesBetweenReadsAndWrites) {
  WriteBytes("C:\\mix.txt", "one\r\ntwo\r\nsix\r\n");
  {
    CStdioFile f("C:\\mix.txt", CFile::modeReadWrite);
    CString line;
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_EQ(f.GetPosition(), 5u);  // past the CR-LF, although only LF was returned
    f.WriteString("TWO\n");
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_STREQ(line, "six");
    f.SeekToBegin();
    char buf[8] = {};
    EXPECT_EQ(f.Read(buf, 7), 7u);
    EXPECT_STREQ(buf, "one\nTWO");
  }
  EXPECT_EQ(ReadBytes("C:\\mix.txt"), "one\r\nTWO\r\nsix\r\n");
}

TEST(StdioFile, ErrorsThrowFileExceptions) {
  int missing = 0;
  TRY { CStdioFile absent("C:\\absent.txt", CFile::modeRead); }
  CATCH(CFileException, e) { missing = e->m_cause; }
  END_CATCH
  EXPECT_EQ(missing, CFileException::fileNotFound);
  CStdioFile f("C:\\full.txt", CFile::modeCreate | CFile::modeWrite);
  plat::faults::Scope full("WriteFile", ERROR_DISK_FULL);
  int cause = 0;
  TRY { f.WriteString("line\n"); }
  CATCH(CFileException, e) { cause = e->m_cause; }
  END_CATCH
  EXPECT_EQ(cause, CFileException::diskFull);
}

}  // namespace
