#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "Faults.h"
#include "TimeZone.h"
#include "FileBytes.h"
#include "afx.h"

namespace {

// Runs `op`, which must throw a CFileException; answers its cause, error and name.
template <class Op>
std::string FileError(Op op) {
  try {
    op();
  } catch (CFileException* e) {
    std::string what = std::to_string(e->m_cause) + "/" + std::to_string(e->m_lOsError) + " " +
                       static_cast<LPCTSTR>(e->m_strFileName);
    e->Delete();
    return what;
  }
  return "no exception";
}

TEST(File, WritesReadsAndSeeks) {
  CFile f;
  ASSERT_TRUE(f.Open("c:/data.bin", CFile::modeCreate | CFile::modeReadWrite));
  EXPECT_STREQ(f.GetFilePath(), "C:\\data.bin");
  EXPECT_STREQ(f.GetFileName(), "data.bin");
  EXPECT_STREQ(f.GetFileTitle(), "data.bin");
  f.Write("0123456789", 10);
  EXPECT_EQ(f.GetPosition(), 10u);
  EXPECT_EQ(f.GetLength(), 10u);
  EXPECT_EQ(f.Seek(-4, CFile::end), 6);
  char buf[16] = {};
  EXPECT_EQ(f.Read(buf, sizeof buf), 4u);
  EXPECT_STREQ(buf, "6789");
  EXPECT_EQ(f.Read(buf, sizeof buf), 0u);  // at the end
  f.SeekToBegin();
  EXPECT_EQ(f.Seek(3, CFile::current), 3);
  EXPECT_EQ(f.Read(buf, 2), 2u);
  EXPECT_EQ(std::string(buf, 2), "34");
  f.SetLength(4);
  EXPECT_EQ(f.GetPosition(), 4u);
  EXPECT_EQ(f.SeekToEnd(), 4u);
  f.SetLength(6);
  EXPECT_EQ(f.GetLength(), 6u);
  f.Flush();
  f.Close();
  EXPECT_EQ(f.m_hFile, CFile::hFileNull);
  EXPECT_EQ(ReadBytes("C:\\data.bin"), std::string("0123\0\0", 6));
}

TEST(File, CreateTruncatesUnlessToldNotTo) {
  WriteBytes("C:\\keep.txt", "first");
  {
    CFile f("C:\\keep.txt", CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite);
    EXPECT_EQ(f.GetLength(), 5u);
    f.SeekToEnd();
    f.Write("+", 1);
  }  // the destructor closes it
  EXPECT_EQ(ReadBytes("C:\\keep.txt"), "first+");
  WriteBytes("C:\\keep.txt", "x");
  EXPECT_EQ(ReadBytes("C:\\keep.txt"), "x");
}

TEST(File, OpenFailuresFillTheCallersException) {
  WriteBytes("C:\\locked.txt", "x");
  CFile holder("C:\\locked.txt", CFile::modeRead | CFile::shareExclusive);
  struct Case {
    const char* name;
    UINT flags;
    int cause;
  } cases[] = {
      {"C:\\missing.txt", CFile::modeRead, CFileException::fileNotFound},
      {"C:\\no such folder\\x.txt", CFile::modeCreate | CFile::modeWrite, CFileException::badPath},
      {"C:\\locked.txt", CFile::modeRead | CFile::shareDenyNone, CFileException::sharingViolation},
  };
  for (const auto& c : cases) {
    CFile f;
    CFileException e;
    EXPECT_FALSE(f.Open(c.name, c.flags, &e)) << c.name;
    EXPECT_EQ(e.m_cause, c.cause) << c.name;
    EXPECT_STREQ(e.m_strFileName, c.name);
    EXPECT_EQ(f.m_hFile, CFile::hFileNull);
    EXPECT_STREQ(f.GetFilePath(), "");
  }
  CFile f;
  EXPECT_FALSE(f.Open("C:\\missing.txt", CFile::modeRead));  // no exception object wanted
  EXPECT_EQ(FileError([] { CFile g("C:\\missing.txt", CFile::modeRead); }), "2/2 C:\\missing.txt");
}

TEST(File, WriteFailuresThrowWithTheCause) {
  CFile f("C:\\full.bin", CFile::modeCreate | CFile::modeReadWrite);
  {
    plat::faults::Scope full("WriteFile", ERROR_DISK_FULL);
    EXPECT_EQ(FileError([&] { f.Write("abc", 3); }), "13/112 C:\\full.bin");
  }
  {
    plat::faults::Scope broken("ReadFile", ERROR_CRC);
    EXPECT_EQ(FileError([&] { f.SeekToBegin(); char b; f.Read(&b, 1); }), "10/23 C:\\full.bin");
  }
  EXPECT_EQ(FileError([&] { f.Seek(-1, CFile::begin); }), "9/131 C:\\full.bin");
}

TEST(File, RenameAndRemoveThrowOnFailure) {
  WriteBytes("C:\\a.txt", "a");
  WriteBytes("C:\\b.txt", "b");
  EXPECT_EQ(FileError([] { CFile::Rename("C:\\a.txt", "C:\\b.txt"); }).substr(0, 2), "5/");
  EXPECT_EQ(FileError([] { CFile::Rename("C:\\none.txt", "C:\\c.txt"); }), "2/2 C:\\none.txt");
  EXPECT_EQ(FileError([] { CFile::Remove("C:\\none.txt"); }), "2/2 C:\\none.txt");
  CFile::Rename("C:\\a.txt", "C:\\c.txt");
  EXPECT_EQ(ReadBytes("C:\\c.txt"), "a");
  CFile::Remove("C:\\c.txt");
  CFileStatus status;
  EXPECT_FALSE(CFile::GetStatus("C:\\c.txt", status));
}

using FileStatus = JapanTime;

TEST_F(FileStatus, ReportsSizeTimesAttributesAndFullName) {
  plat::clock::PinWall(std::nullopt);
  CTime before = CTime::GetCurrentTime();
  WriteBytes("C:\\stat.txt", "hello");
  CFileStatus status;
  ASSERT_TRUE(CFile::GetStatus("c:/STAT.TXT", status));
  EXPECT_EQ(status.m_size, 5);
  EXPECT_STREQ(status.m_szFullName, "C:\\STAT.TXT");
  EXPECT_EQ(status.m_attribute & (CFile::readOnly | CFile::directory), 0);
  EXPECT_GE(status.m_mtime, before - CTimeSpan(2));
  EXPECT_LE(status.m_ctime, status.m_mtime + CTimeSpan(2));

  CFile open("C:\\stat.txt", CFile::modeRead);
  CFileStatus fromHandle;
  ASSERT_TRUE(open.GetStatus(fromHandle));
  EXPECT_EQ(fromHandle.m_size, 5);
  EXPECT_EQ(fromHandle.m_mtime, status.m_mtime);
  EXPECT_STREQ(fromHandle.m_szFullName, "C:\\stat.txt");

  EXPECT_FALSE(CFile::GetStatus("C:\\nothing.txt", status));
  EXPECT_FALSE(CFile::GetStatus("C:\\st*.txt", status));  // a pattern names no one file
  ASSERT_TRUE(CreateDirectoryA("C:\\folder", nullptr));
  ASSERT_TRUE(CFile::GetStatus("C:\\folder", status));
  EXPECT_NE(status.m_attribute & CFile::directory, 0);
}

TEST_F(FileStatus, SetStatusWritesTimesAndAttributes) {
  WriteBytes("C:\\picture.jpg", "p");
  WriteBytes("C:\\thumb.jpg", "t");
  CFileStatus picture;
  ASSERT_TRUE(CFile::GetStatus("C:\\picture.jpg", picture));
  picture.m_ctime = CTime(2020, 1, 2, 3, 4, 5);
  picture.m_mtime = CTime(2021, 6, 7, 8, 9, 10);
  picture.m_atime = CTime(0);  // left as it is
  CFile::SetStatus("C:\\picture.jpg", picture);

  // Copy the picture's times onto the thumbnail, as the thumbnail writer does.
  CFileStatus thumb;
  ASSERT_TRUE(CFile::GetStatus("C:\\picture.jpg", picture));
  ASSERT_TRUE(CFile::GetStatus("C:\\thumb.jpg", thumb));
  thumb.m_ctime = picture.m_ctime;
  thumb.m_mtime = picture.m_mtime;
  CFile::SetStatus("C:\\thumb.jpg", thumb);
  ASSERT_TRUE(CFile::GetStatus("C:\\thumb.jpg", thumb));
  EXPECT_EQ(thumb.m_ctime, CTime(2020, 1, 2, 3, 4, 5));
  EXPECT_EQ(thumb.m_mtime, CTime(2021, 6, 7, 8, 9, 10));

  thumb.m_attribute = CFile::readOnly;
  CFile::SetStatus("C:\\thumb.jpg", thumb);
  ASSERT_TRUE(CFile::GetStatus("C:\\thumb.jpg", thumb));
  EXPECT_EQ(thumb.m_attribute & CFile::readOnly, CFile::readOnly);
  CFileException e;
  CFile f;
  EXPECT_FALSE(f.Open("C:\\thumb.jpg", CFile::modeWrite, &e));
  EXPECT_EQ(e.m_cause, CFileException::accessDenied);
  // Taking the bit away again comes first, so new times can be written with it.
  thumb.m_attribute = 0;
  thumb.m_mtime = CTime(2022, 1, 1, 0, 0, 0);
  CFile::SetStatus("C:\\thumb.jpg", thumb);
  ASSERT_TRUE(CFile::GetStatus("C:\\thumb.jpg", thumb));
  EXPECT_EQ(thumb.m_attribute & CFile::readOnly, 0);
  EXPECT_EQ(thumb.m_mtime, CTime(2022, 1, 1, 0, 0, 0));

  EXPECT_EQ(FileError([&] { CFile::SetStatus("C:\\gone.jpg", thumb); }), "2/2 C:\\gone.jpg");
  plat::faults::Scope refused("SetFileTime", ERROR_ACCESS_DENIED);
  EXPECT_EQ(FileError([&] { CFile::SetStatus("C:\\thumb.jpg", thumb); }), "5/5 C:\\thumb.jpg");
  // The file opened for the times was closed again: it can be opened exclusively.
  CFile again;
  EXPECT_TRUE(again.Open("C:\\thumb.jpg", CFile::modeReadWrite | CFile::shareExclusive));
}

}  // namespace
