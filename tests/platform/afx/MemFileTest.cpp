#include <gtest/gtest.h>

#include <string>

#include "afx.h"

namespace {

std::string ReadFrom(CFile& f, DWORD pos, UINT count) {
  f.Seek(static_cast<LONG>(pos), CFile::begin);
  std::string out(count, '\0');
  out.resize(f.Read(out.data(), count));
  return out;
}

TEST(MemFile, GrowsAsItIsWritten) {
  CMemFile f(4);
  f.Write("0123456789", 10);
  EXPECT_EQ(f.GetLength(), 10u);
  EXPECT_EQ(f.GetPosition(), 10u);
  EXPECT_EQ(ReadFrom(f, 2, 5), "23456");
  EXPECT_EQ(ReadFrom(f, 8, 5), "89");
  EXPECT_EQ(ReadFrom(f, 20, 5), "");  // past the end
  // A write past the end leaves zeros in the gap.
  f.Seek(12, CFile::begin);
  f.Write("z", 1);
  EXPECT_EQ(ReadFrom(f, 9, 10), std::string("9\0\0z", 4));
  EXPECT_EQ(f.Seek(-3, CFile::end), 10);
  EXPECT_EQ(f.Seek(1, CFile::current), 11);
}

TEST(MemFile, SetLengthCutsOrPadsAndKeepsThePositionInside) {
  CMemFile f;
  f.Write("abcdef", 6);
  f.SetLength(3);
  EXPECT_EQ(f.GetPosition(), 3u);
  f.SetLength(5);
  EXPECT_EQ(ReadFrom(f, 0, 10), std::string("abc\0\0", 5));
  f.Close();
  EXPECT_EQ(f.GetLength(), 0u);
  EXPECT_EQ(f.GetPosition(), 0u);
}

TEST(MemFile, BadSeekThrows) {
  CMemFile f;
  int cause = -1;
  TRY { f.Seek(-1, CFile::begin); }
  CATCH(CFileException, e) { cause = e->m_cause; }
  END_CATCH
  EXPECT_EQ(cause, CFileException::badSeek);
  EXPECT_EQ(f.GetPosition(), 0u);
}

TEST(MemFile, FixedBufferHoldsContentAndCannotGrow) {
  BYTE buffer[6] = {'h', 'e', 'l', 'l', 'o', '!'};
  CMemFile f(buffer, sizeof buffer);
  EXPECT_EQ(f.GetLength(), 6u);
  EXPECT_EQ(ReadFrom(f, 0, 10), "hello!");
  f.Seek(0, CFile::begin);
  f.Write("J", 1);
  EXPECT_EQ(buffer[0], 'J');  // written in place
  bool memory = false;
  f.Seek(4, CFile::begin);
  TRY { f.Write("xyz", 3); }
  CATCH(CMemoryException, e) { memory = true; }
  END_CATCH
  EXPECT_TRUE(memory);
  EXPECT_EQ(f.GetLength(), 6u);
  EXPECT_EQ(buffer[4], 'o');  // nothing written
}

TEST(MemFile, GrowableBufferStartsEmptyAndMovesOutWhenFull) {
  BYTE buffer[4] = {'q', 'q', 'q', 'q'};
  CMemFile f(buffer, sizeof buffer, 8);
  EXPECT_EQ(f.GetLength(), 0u);
  f.Write("abc", 3);
  EXPECT_EQ(buffer[0], 'a');
  f.Write("defgh", 5);
  EXPECT_EQ(ReadFrom(f, 0, 20), "abcdefgh");
  EXPECT_EQ(buffer[3], 'q');  // the rest went to the file's own storage
}

}  // namespace
