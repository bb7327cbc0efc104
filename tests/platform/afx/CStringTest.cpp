#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "afx.h"

namespace {

// Plain function pointers and a constant table: a test case costs no code of its own to build.
struct EditCase {
  const char* name;
  const char* input;
  void (*edit)(CString&);
  const char* expected;
};

class CStringEdit : public ::testing::TestWithParam<EditCase> {};

TEST_P(CStringEdit, GivesExpectedText) {
  CString s(GetParam().input);
  GetParam().edit(s);
  EXPECT_STREQ(static_cast<LPCTSTR>(s), GetParam().expected);
  EXPECT_EQ(s.GetLength(), static_cast<int>(std::string(GetParam().expected).size()));
}

const EditCase kEditCases[] = {
        EditCase{"MidInside", "abcdef", [](CString& s) { s = s.Mid(2, 3); }, "cde"},
        EditCase{"MidPastEnd", "abcdef", [](CString& s) { s = s.Mid(4, 10); }, "ef"},
        EditCase{"MidNegativeFirst", "abcdef", [](CString& s) { s = s.Mid(-3, 2); }, "ab"},
        EditCase{"MidFromBeyond", "abc", [](CString& s) { s = s.Mid(7); }, ""},
        EditCase{"LeftTooLong", "abc", [](CString& s) { s = s.Left(10); }, "abc"},
        EditCase{"LeftNegative", "abc", [](CString& s) { s = s.Left(-1); }, ""},
        EditCase{"Right", "abcdef", [](CString& s) { s = s.Right(2); }, "ef"},
        EditCase{"SpanIncluding", "123abc", [](CString& s) { s = s.SpanIncluding("0123456789"); }, "123"},
        EditCase{"SpanExcluding", "key=value", [](CString& s) { s = s.SpanExcluding("=;"); }, "key"},
        EditCase{"MakeUpperAsciiOnly", "abcÄé", [](CString& s) { s.MakeUpper(); }, "ABCÄé"},
        EditCase{"MakeLower", "ABC.TXT", [](CString& s) { s.MakeLower(); }, "abc.txt"},
        EditCase{"MakeReverseKeepsCharacters", "aあb", [](CString& s) { s.MakeReverse(); }, "bあa"},
        EditCase{"ReplaceChar", "C:/a/b", [](CString& s) { s.Replace('/', '\\'); }, "C:\\a\\b"},
        EditCase{"ReplaceText", "aXXbXXc", [](CString& s) { s.Replace("XX", "-"); }, "a-b-c"},
        EditCase{"ReplaceGrows", "a.b", [](CString& s) { s.Replace(".", "..."); }, "a...b"},
        EditCase{"ReplaceWithNothing", "a,b,c", [](CString& s) { s.Replace(",", ""); }, "abc"},
        EditCase{"Remove", "a b c", [](CString& s) { s.Remove(' '); }, "abc"},
        EditCase{"InsertChar", "ac", [](CString& s) { s.Insert(1, 'b'); }, "abc"},
        EditCase{"InsertPastEndAppends", "ab", [](CString& s) { s.Insert(99, "cd"); }, "abcd"},
        EditCase{"DeleteInside", "abcdef", [](CString& s) { s.Delete(1, 2); }, "adef"},
        EditCase{"DeleteTooMany", "abcdef", [](CString& s) { s.Delete(4, 99); }, "abcd"},
        EditCase{"DeleteBeyond", "abc", [](CString& s) { s.Delete(5, 1); }, "abc"},
        EditCase{"TrimBlanks", " \t x y \r\n", [](CString& s) { s.TrimLeft(); s.TrimRight(); }, "x y"},
        EditCase{"TrimRightChar", "path\\\\", [](CString& s) { s.TrimRight('\\'); }, "path"},
        EditCase{"TrimRightSet", "name.;.", [](CString& s) { s.TrimRight(".;"); }, "name"},
        EditCase{"TrimLeftSet", "00120", [](CString& s) { s.TrimLeft("0"); }, "120"},
        EditCase{"TrimMultiByteTarget", "「x」」", [](CString& s) { s.TrimRight("」"); }, "「x"},
        EditCase{"Concatenate", "a", [](CString& s) { s = s + 'b' + "c" + CString("d"); s += 'e'; s += "f"; }, "abcdef"},
        EditCase{"AppendSelf", "ab", [](CString& s) { s += s; }, "abab"},
        EditCase{"AssignFromOwnText", "abcdef", [](CString& s) { s = static_cast<LPCTSTR>(s) + 2; }, "cdef"},
        EditCase{"EmptyIt", "abc", [](CString& s) { s.Empty(); }, ""}};

INSTANTIATE_TEST_SUITE_P(CString, CStringEdit, ::testing::ValuesIn(kEditCases),
                         [](const ::testing::TestParamInfo<EditCase>& info) { return std::string(info.param.name); });

TEST(CString, ConstructsFromPointersCountsAndCharacters) {
  EXPECT_STREQ(CString(static_cast<LPCSTR>(nullptr)), "");
  EXPECT_STREQ(CString("abcdef", 3), "abc");
  EXPECT_STREQ(CString('x', 3), "xxx");
  EXPECT_STREQ(CString('x', 0), "");
  EXPECT_TRUE(CString().IsEmpty());
}

TEST(CString, FindsCharactersAndText) {
  CString s("a.b.c");
  EXPECT_EQ(s.Find('.'), 1);
  EXPECT_EQ(s.Find('.', 2), 3);
  EXPECT_EQ(s.Find('x'), -1);
  EXPECT_EQ(s.Find("b.c"), 2);
  EXPECT_EQ(s.Find("b", 3), -1);
  EXPECT_EQ(s.Find("", 9), -1);
  EXPECT_EQ(s.ReverseFind('.'), 3);
  EXPECT_EQ(s.FindOneOf("cb"), 2);
  EXPECT_EQ(s.FindOneOf("xyz"), -1);
}

TEST(CString, CharacterSearchNeverMatchesInsideAMultiByteCharacter) {
  // The second byte of "ƀ" (C6 80) and of "À" (C3 80) is 0x80; a lone 0x80 is not a character.
  CString s("ƀ\x80z");
  EXPECT_EQ(s.Find('\x80'), 2);
  EXPECT_EQ(s.ReverseFind('\x80'), 2);
  CString t("À");
  EXPECT_EQ(t.Replace('\x80', 'x'), 0);
  EXPECT_EQ(t.Remove('\x80'), 0);
  EXPECT_STREQ(t, "À");
}

TEST(CString, ComparesByBytesAndIgnoresAsciiCase) {
  CString s("Abc");
  EXPECT_EQ(s.Compare("Abc"), 0);
  EXPECT_LT(s.Compare("abc"), 0);
  EXPECT_EQ(s.CompareNoCase("aBC"), 0);
  EXPECT_LT(s.CompareNoCase("abd"), 0);
  EXPECT_GT(s.CompareNoCase("ab"), 0);
  EXPECT_EQ(s.Collate("Abc"), 0);
  EXPECT_TRUE(s == "Abc");
  EXPECT_TRUE("Abc" == s);
  EXPECT_TRUE(s != CString("abc"));
  EXPECT_TRUE(s < "B");
  EXPECT_TRUE("B" > s);
  EXPECT_TRUE(s <= "Abc");
  EXPECT_TRUE(s >= "Ab");
}

TEST(CString, IndexingOutsideTheTextIsHarmless) {
  CString s("ab");
  EXPECT_EQ(s[1], 'b');
  EXPECT_EQ(s.GetAt(2), 0);
  EXPECT_EQ(s.GetAt(-1), 0);
  s.SetAt(5, 'x');
  s.SetAt(0, 'A');
  EXPECT_STREQ(s, "Ab");
}

TEST(CString, BufferRoundTrip) {
  CString s("abc");
  LPTSTR p = s.GetBuffer(20);
  std::strcpy(p, "longer text");
  s.ReleaseBuffer();
  EXPECT_STREQ(s, "longer text");
  EXPECT_EQ(s.GetLength(), 11);

  p = s.GetBufferSetLength(4);
  EXPECT_EQ(s.GetLength(), 4);
  p[0] = 'L';
  s.ReleaseBuffer(2);
  EXPECT_STREQ(s, "Lo");
  s.FreeExtra();
  EXPECT_STREQ(s, "Lo");

  CString empty;
  p = empty.GetBuffer(0);
  p[0] = 0;
  empty.ReleaseBuffer();
  EXPECT_TRUE(empty.IsEmpty());
}

TEST(CString, CopiesAreIndependent) {
  CString a("one");
  CString b = a;
  b.SetAt(0, 'O');
  CString c;
  c = a;
  c += "!";
  EXPECT_STREQ(a, "one");
  EXPECT_STREQ(b, "One");
  EXPECT_STREQ(c, "one!");
}

struct FormatCase {
  const char* name;
  CString (*make)();
  const char* expected;
};

class CStringFormat : public ::testing::TestWithParam<FormatCase> {};

TEST_P(CStringFormat, FollowsTheOriginalPrintfRules) { EXPECT_STREQ(GetParam().make(), GetParam().expected); }

template <class Edit>
CString Fmt(Edit f) {
  CString s;
  f(s);
  return s;
}

const FormatCase kFormatCases[] = {
        FormatCase{"ErrorLine", [] { return Fmt([](CString& s) { s.Format("%03d:%04d %s %s", 4, 21, "t", "m"); }); },
                   "004:0021 t m"},
        FormatCase{"LongIs32Bit",
                   [] { return Fmt([](CString& s) { s.Format("%ld %lu %lx|%d", (LONG)-5, (DWORD)4000000000u, (DWORD)255, 7); }); },
                   "-5 4000000000 ff|7"},
        FormatCase{"I64", [] { return Fmt([](CString& s) { s.Format("%I64d %I64u", (__int64)-1 << 40, (ULONGLONG)1 << 63); }); },
                   "-1099511627776 9223372036854775808"},
        FormatCase{"CStringArgument",
                   [] {
                     CString name("画像ファイル");
                     return Fmt([&](CString& s) { s.Format("[%s] %d [%-4s]", name, 3, CString("ab")); });
                   },
                   "[画像ファイル] 3 [ab  ]"},
        FormatCase{"Floats", [] { return Fmt([](CString& s) { s.Format("%3.1f%% %8.2f MB", 150.0, 12.345); }); },
                   "150.0%    12.35 MB"},
        FormatCase{"CharsAndStar", [] { return Fmt([](CString& s) { s.Format("%c%s %*d", 'C', ":", 4, 7); }); },
                   "C:    7"},
        FormatCase{"OwnTextAsArgument",
                   [] {
                     CString s("abc");
                     s.Format("%s-%s", s, s);
                     return s;
                   },
                   "abc-abc"},
        FormatCase{"WriteBackIsDropped",
                   [] {
                     int n = 5;
                     return Fmt([&](CString& s) { s.Format("ab%ncd", &n); });
                   },
                   "abcd"},
        FormatCase{"UnfinishedConversion", [] { return Fmt([](CString& s) { s.Format("50%"); }); }, "50"}};

INSTANTIATE_TEST_SUITE_P(CString, CStringFormat, ::testing::ValuesIn(kFormatCases),
                         [](const ::testing::TestParamInfo<FormatCase>& info) { return std::string(info.param.name); });

TEST(CString, StaysPointerSized) { EXPECT_EQ(sizeof(CString), sizeof(char*)); }

TEST(CString, FormatLongText) {
  CString s;
  std::string big(5000, 'q');
  s.Format("<%s>", big.c_str());
  EXPECT_EQ(s.GetLength(), 5002);
}

}  // namespace

namespace {

TEST(CString, StringResourcesAreAbsentUntilTheProgramHasThem) {
  CString s("kept");
  // No resource table is linked into the platform's own tests.
  EXPECT_FALSE(s.LoadString(61440));
  CString fromId(reinterpret_cast<LPCSTR>(static_cast<UINT_PTR>(61440)));
  EXPECT_TRUE(fromId.IsEmpty());
}

}  // namespace
