#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "afx.h"

namespace {

template <class ARRAY>
std::vector<int> Items(const ARRAY& a) {
  std::vector<int> out;
  for (int i = 0; i < a.GetSize(); ++i) out.push_back(static_cast<int>(a[i]));
  return out;
}

using IntVector = std::vector<int>;

TEST(Collections, ArrayGrowsInsertsAndRemoves) {
  CArray<int, int> a;
  a.SetSize(0, 2);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(a.Add(i * 10), i);
  EXPECT_EQ(Items(a), (IntVector{0, 10, 20, 30, 40}));
  EXPECT_EQ(a.GetUpperBound(), 4);

  a.InsertAt(1, 5, 2);
  EXPECT_EQ(Items(a), (IntVector{0, 5, 5, 10, 20, 30, 40}));
  a.RemoveAt(2, 3);
  EXPECT_EQ(Items(a), (IntVector{0, 5, 30, 40}));
  a.SetAtGrow(6, 7);
  EXPECT_EQ(Items(a), (IntVector{0, 5, 30, 40, 0, 0, 7}));
  a.InsertAt(9, 1);  // past the end: grows up to there
  EXPECT_EQ(a.GetSize(), 10);
  EXPECT_EQ(a[9], 1);
  a.SetSize(2);
  EXPECT_EQ(Items(a), (IntVector{0, 5}));
  a.ElementAt(1) = 6;
  a[0] = -1;
  EXPECT_EQ(Items(a), (IntVector{-1, 6}));

  CArray<int, int> b;
  b.Add(8);
  EXPECT_EQ(b.Append(a), 1);
  EXPECT_EQ(Items(b), (IntVector{8, -1, 6}));
  b.InsertAt(1, &a);
  EXPECT_EQ(Items(b), (IntVector{8, -1, 6, -1, 6}));
  b.Copy(a);
  EXPECT_EQ(Items(b), (IntVector{-1, 6}));
  b.Append(b);
  EXPECT_EQ(Items(b), (IntVector{-1, 6, -1, 6}));
  b.RemoveAll();
  EXPECT_TRUE(b.IsEmpty());
  EXPECT_EQ(b.GetData(), nullptr);
}

TEST(Collections, AddingAnElementOfTheSameArrayWhileItGrows) {
  CArray<CString, const CString&> a;
  a.Add("first");
  for (int i = 0; i < 50; ++i) a.Add(a[0]);
  EXPECT_EQ(a.GetSize(), 51);
  EXPECT_STREQ(a[50], "first");
}

TEST(Collections, ArrayIndexesOutsideTheArrayTouchNothing) {
  CArray<int, int> a;
  a.Add(1);
  a.Add(2);
  EXPECT_EQ(a.GetAt(2), 0);
  EXPECT_EQ(a.GetAt(-1), 0);
  a.SetAt(5, 9);
  a.ElementAt(7) = 9;  // lands in a scratch element
  a[-3] = 9;
  a.RemoveAt(1, 5);
  a.RemoveAt(-1);
  a.InsertAt(-1, 4);
  a.SetSize(-4);
  EXPECT_EQ(Items(a), (IntVector{1, 2}));
  EXPECT_EQ(a.ElementAt(9), 0);  // the scratch element starts fresh each time
}

TEST(Collections, PointerAndObjectArrays) {
  CStringArray names;
  names.Add("a");
  names.Add(CString("b"));
  names.InsertAt(0, "z");
  EXPECT_STREQ(names[0], "z");
  EXPECT_EQ(names.GetSize(), 3);

  CObArray objects;
  CObject* none = nullptr;
  objects.Add(none);
  CTypedPtrArray<CPtrArray, int*> typed;
  int x = 4;
  typed.Add(&x);
  *typed[0] += 1;
  EXPECT_EQ(x, 5);
  EXPECT_EQ(typed.GetAt(0), &x);
  EXPECT_TRUE(objects.IsKindOf(RUNTIME_CLASS(CObArray)));
  EXPECT_TRUE(RUNTIME_CLASS(CObArray)->m_wSchema != 0xFFFF);

  CDWordArray dwords;
  dwords.SetSize(3);
  EXPECT_EQ(Items(dwords), (IntVector{0, 0, 0}));
}

std::vector<std::string> Forward(const CStringList& list) {
  std::vector<std::string> out;
  for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) out.emplace_back(list.GetNext(pos));
  return out;
}

std::vector<std::string> Backward(const CStringList& list) {
  std::vector<std::string> out;
  for (POSITION pos = list.GetTailPosition(); pos != nullptr;) out.emplace_back(list.GetPrev(pos));
  return out;
}

using Texts = std::vector<std::string>;

TEST(Collections, ListKeepsOrderBothWays) {
  CStringList list;
  list.AddTail("b");
  list.AddHead("a");
  POSITION c = list.AddTail("c");
  list.InsertBefore(c, "b2");
  list.InsertAfter(c, "d");
  list.InsertAfter(nullptr, "e");   // NULL means the tail
  list.InsertBefore(nullptr, "_");  // and the head
  EXPECT_EQ(Forward(list), (Texts{"_", "a", "b", "b2", "c", "d", "e"}));
  EXPECT_EQ(Backward(list), (Texts{"e", "d", "c", "b2", "b", "a", "_"}));
  EXPECT_EQ(list.GetCount(), 7);

  EXPECT_STREQ(list.GetAt(list.FindIndex(4)), "c");
  EXPECT_EQ(list.FindIndex(7), nullptr);
  EXPECT_EQ(list.FindIndex(-1), nullptr);
  POSITION b2 = list.Find("b2");
  ASSERT_NE(b2, nullptr);
  EXPECT_EQ(list.Find("b2", b2), nullptr);
  list.SetAt(b2, "B");
  list.RemoveAt(list.Find("d"));
  EXPECT_STREQ(list.RemoveHead(), "_");
  EXPECT_STREQ(list.RemoveTail(), "e");
  EXPECT_EQ(Forward(list), (Texts{"a", "b", "B", "c"}));
  EXPECT_EQ(Backward(list), (Texts{"c", "B", "b", "a"}));
  EXPECT_STREQ(list.GetHead(), "a");
  EXPECT_STREQ(list.GetTail(), "c");

  CStringList other;
  other.AddTail("x");
  other.AddTail("y");
  list.AddHead(&other);
  list.AddTail(&list);  // appending itself copies what was there
  EXPECT_EQ(Forward(list), (Texts{"x", "y", "a", "b", "B", "c", "x", "y", "a", "b", "B", "c"}));
  list.RemoveAll();
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_EQ(list.GetHeadPosition(), nullptr);
}

TEST(Collections, ListEmptyAndNullPositionsTouchNothing) {
  CList<int, int> list;
  EXPECT_EQ(list.RemoveHead(), 0);
  EXPECT_EQ(list.RemoveTail(), 0);
  POSITION pos = nullptr;
  EXPECT_EQ(list.GetNext(pos), 0);
  EXPECT_EQ(pos, nullptr);
  list.RemoveAt(nullptr);
  list.SetAt(nullptr, 3);
  EXPECT_EQ(list.GetAt(nullptr), 0);
  list.AddTail(1);
  list.RemoveHead();
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(list.GetTailPosition(), nullptr);
}

TEST(Collections, LongListsFreeWithoutRecursion) {
  CList<int, int> list;
  for (int i = 0; i < 300000; ++i) list.AddTail(i);
  EXPECT_EQ(list.GetCount(), 300000);
}

TEST(Collections, TypedPointerList) {
  CTypedPtrList<CPtrList, int*> list;
  int a = 1, b = 2;
  list.AddTail(&a);
  list.AddTail(&b);
  POSITION pos = list.GetHeadPosition();
  int* first = list.GetNext(pos);
  int* second = list.GetNext(pos);
  EXPECT_EQ(first, &a);
  EXPECT_EQ(second, &b);
  EXPECT_EQ(list.RemoveTail(), &b);
}

TEST(Collections, MapsLookUpReplaceAndRemove) {
  CMapStringToString map;
  map.SetAt("one", "1");
  map["two"] = "2";
  map.SetAt("one", "uno");
  CString value;
  EXPECT_TRUE(map.Lookup("one", value));
  EXPECT_STREQ(value, "uno");
  EXPECT_FALSE(map.Lookup("three", value));
  EXPECT_EQ(map.GetCount(), 2);
  EXPECT_TRUE(map.RemoveKey("one"));
  EXPECT_FALSE(map.RemoveKey("one"));
  EXPECT_EQ(map.GetCount(), 1);
  map.RemoveAll();
  EXPECT_EQ(map.GetStartPosition(), nullptr);
  EXPECT_FALSE(map.Lookup("two", value));
}

TEST(Collections, MapIterationVisitsEveryEntryOnce) {
  CMap<int, int, int, int> map;
  map.InitHashTable(7);
  for (int i = 0; i < 100; ++i) map[i * 3] = i;
  EXPECT_EQ(map.GetCount(), 100);
  std::map<int, int> seen;
  for (POSITION pos = map.GetStartPosition(); pos != nullptr;) {
    int key = -1, value = -1;
    map.GetNextAssoc(pos, key, value);
    EXPECT_TRUE(seen.emplace(key, value).second);
  }
  ASSERT_EQ(seen.size(), 100u);
  for (const auto& [key, value] : seen) EXPECT_EQ(key, value * 3);
  for (int i = 0; i < 100; i += 2) EXPECT_TRUE(map.RemoveKey(i * 3));
  EXPECT_EQ(map.GetCount(), 50);
  int value = 0;
  EXPECT_TRUE(map.Lookup(3, value));
  EXPECT_FALSE(map.Lookup(0, value));
}

TEST(Collections, TypedPointerMap) {
  CTypedPtrMap<CMapStringToPtr, CString, int*> map;
  int a = 5;
  map.SetAt("a", &a);
  int* found = nullptr;
  EXPECT_TRUE(map.Lookup("a", found));
  EXPECT_EQ(found, &a);
  POSITION pos = map.GetStartPosition();
  CString key;
  map.GetNextAssoc(pos, key, found);
  EXPECT_STREQ(key, "a");
  EXPECT_EQ(pos, nullptr);

  CMapPtrToPtr pointers;
  pointers[&a] = &a;
  void* v = nullptr;
  EXPECT_TRUE(pointers.Lookup(&a, v));
  CMapWordToOb words;
  words[7] = nullptr;
  EXPECT_EQ(words.GetCount(), 1);
}

}  // namespace
