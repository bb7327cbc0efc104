// Tree nodes: values in text form (ints, booleans, binary letters in chunks), the status
// words of refused operations, the tree written to and read back from a store, and who
// owns which node.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/SECPTNMemoryStore.h"
#include "framework/SECPersistentTreeNode.h"

namespace {

std::string Value(SECPersistentTreeNode& node, LPCSTR key) {
  CString value;
  node.GetStringValue(key, value, "<none>");
  return std::string(value);
}

class TreeNodeTest : public testing::Test {
 protected:
  void SetUp() override { root = factory.CreateNode("Root", nullptr); }
  SECPTNFactory factory;
  SECPersistentTreeNode* root = nullptr;
};

TEST_F(TreeNodeTest, RefusedOperationsAnswerTheirStatusWords) {
  SECPersistentTreeNode fresh;
  EXPECT_EQ(fresh.SetStringValue("Key", "v"), 0x2u);
  EXPECT_EQ(fresh.SetStringValue("", "v"), 0x2u | 0x8u);
  EXPECT_EQ(fresh.AddChild(root), 0x2u);
  EXPECT_EQ(fresh.Create("", nullptr), 0x4u);
  EXPECT_EQ(root->Create("Again", nullptr), 0x1u);
  EXPECT_EQ(root->Create("", nullptr), 0x1u | 0x4u);
  EXPECT_EQ(root->SetStringValue("", "v"), 0x8u);
  EXPECT_EQ(root->SetStringValue("Key", "v"), 0u);
  EXPECT_EQ(root->SetStringValue("Key", "w", FALSE), 0x10u);
  EXPECT_EQ(Value(*root, "Key"), "v");
  EXPECT_EQ(root->AddChild(nullptr), 0x4u);
  ASSERT_NE(factory.CreateNode("Child", root), nullptr);
  SECPersistentTreeNode twin;
  EXPECT_EQ(twin.Create("Child", root), 0x20u);  // passed on from AddChild
  EXPECT_EQ(factory.CreateNode("Child", root), nullptr);
  int number = 7;
  EXPECT_EQ(root->GetIntValue("Missing", number, 3), 0x40u);
  EXPECT_EQ(number, 3);  // the default is stored first
  EXPECT_EQ(root->RemoveValue("Missing"), 0x40u);
  EXPECT_EQ(root->SetBinaryValue("Bin", nullptr, 4), 0x80u);
  BYTE* data = nullptr;
  UINT length = 0;
  root->SetStringValue("Bad", "MDZZ");
  EXPECT_EQ(root->GetBinaryValue("Bad", data, length), 0xFFFFu);
  root->SetStringValue("Empty", "");
  EXPECT_EQ(root->GetBinaryValue("Empty", data, length), 0xFFFFu);
  EXPECT_EQ(data, nullptr);
}

TEST_F(TreeNodeTest, BooleansReadTrueOnlyForTheWordTrue) {
  const struct {
    const char* text;
    BOOL expected;
  } cases[] = {{"true", TRUE}, {"True", TRUE}, {"TRUE", TRUE}, {"yes", FALSE}, {"1", FALSE}, {"", FALSE}, {"False", FALSE}};
  for (const auto& c : cases) {
    root->SetStringValue("Flag", c.text);
    BOOL value = !c.expected;
    EXPECT_EQ(root->GetBoolValue("Flag", value, !c.expected), 0u) << c.text;
    EXPECT_EQ(value, c.expected) << c.text;
  }
  root->SetBoolValue("Written", TRUE);
  EXPECT_EQ(Value(*root, "Written"), "True");
  root->SetBoolValue("Written", FALSE);
  EXPECT_EQ(Value(*root, "Written"), "False");
}

TEST_F(TreeNodeTest, NumbersAreDecimalTextReadWithTheirWidths) {
  root->SetIntValue("Negative", -42);
  EXPECT_EQ(Value(*root, "Negative"), "-42");
  int i = 0;
  UINT u = 0;
  LONG l = 0;
  DWORD d = 0;
  root->GetIntValue("Negative", i);
  root->GetUIntValue("Negative", u);
  root->GetLongValue("Negative", l);
  root->GetDWordValue("Negative", d);
  EXPECT_EQ(i, -42);
  EXPECT_EQ(u, 0xFFFFFFD6u);
  EXPECT_EQ(l, -42);
  EXPECT_EQ(d, 0xFFFFFFD6u);
  root->SetStringValue("Text", "12abc");
  root->GetIntValue("Text", i);
  EXPECT_EQ(i, 12);
  root->SetStringValue("Word", "abc");
  root->GetIntValue("Word", i, 5);
  EXPECT_EQ(i, 0);  // found: no number reads as 0
}

TEST_F(TreeNodeTest, BinaryValuesAreLettersInChunksOf250) {
  const BYTE one = 0x3C;
  root->SetBinaryValue("One", &one, 1);
  EXPECT_EQ(Value(*root, "One"), "MD");

  std::vector<BYTE> hundred(100), twoHundred(200);
  for (size_t i = 0; i < twoHundred.size(); ++i) twoHundred[i] = static_cast<BYTE>(i * 7 + 1);
  for (size_t i = 0; i < hundred.size(); ++i) hundred[i] = static_cast<BYTE>(255 - i);
  root->SetBinaryValue("Small", hundred.data(), 100);
  EXPECT_EQ(Value(*root, "Small").size(), 200u);
  EXPECT_EQ(root->FindValue("Small_BinCount"), nullptr);

  root->SetBinaryValue("Big", twoHundred.data(), 200);
  EXPECT_EQ(Value(*root, "Big_BinCount"), "2");
  EXPECT_EQ(Value(*root, "Big_BinVal0").size(), 250u);
  EXPECT_EQ(Value(*root, "Big_BinVal1").size(), 150u);
  EXPECT_EQ(root->FindValue("Big"), nullptr);

  for (const auto& [key, bytes] : {std::pair{"Small", hundred}, std::pair{"Big", twoHundred}}) {
    BYTE* data = nullptr;
    UINT length = 0;
    ASSERT_EQ(root->GetBinaryValue(key, data, length), 0u) << key;
    std::unique_ptr<BYTE[]> owned(data);
    EXPECT_EQ(std::vector<BYTE>(data, data + length), bytes) << key;
  }
}

TEST_F(TreeNodeTest, AShorterBinaryValueReplacesTheChunksOfALongerOne) {
  std::vector<BYTE> big(200, 0x11);
  const BYTE small[2] = {0xAB, 0xCD};
  root->SetBinaryValue("Data", big.data(), 200);
  root->SetBinaryValue("Data", small, 2);
  BYTE* data = nullptr;
  UINT length = 0;
  ASSERT_EQ(root->GetBinaryValue("Data", data, length), 0u);
  std::unique_ptr<BYTE[]> owned(data);
  EXPECT_EQ(std::vector<BYTE>(data, data + length), std::vector<BYTE>(small, small + 2));
}

TEST_F(TreeNodeTest, AChunkCountThatNoNodeCanHoldDecodesNothing) {
  root->SetStringValue("Data_BinVal0", "MDMD");
  for (const char* count : {"-1", "0", "2147483647", "3"}) {
    root->SetStringValue("Data_BinCount", count);
    BYTE* data = reinterpret_cast<BYTE*>(1);
    UINT length = 9;
    EXPECT_EQ(root->GetBinaryValue("Data", data, length), 0xFFFFu) << count;
    EXPECT_EQ(data, nullptr) << count;
    EXPECT_EQ(length, 0u) << count;
  }
}

TEST_F(TreeNodeTest, ValuesKeepTheirOrderAndRemovingTakesEveryPairOfTheKey) {
  root->SetStringValue("A", "1");
  root->SetStringValue("B", "2");
  root->SetStringValue("A", "3");  // replaced in place
  root->SetStringValue("C", "4");
  std::string order;
  for (const auto& pair : root->GetValues()) order += std::string(pair->m_strKey) + "=" + std::string(pair->m_strValue) + ";";
  EXPECT_EQ(order, "A=3;B=2;C=4;");
  EXPECT_EQ(root->RemoveValue("B"), 0u);
  EXPECT_EQ(root->FindValue("B"), nullptr);
  EXPECT_EQ(root->GetValues().size(), 2u);
}

TEST_F(TreeNodeTest, ATreeGoesToAStoreAndComesBack) {
  SECPersistentTreeNode* a = factory.CreateNode("A", root);
  SECPersistentTreeNode* b = factory.CreateNode("B", a);
  a->SetIntValue("X", 5);
  b->SetStringValue("Name", "Ünïcode ✓");
  root->SetBoolValue("On", TRUE);
  SECPTNMemoryStore store;
  EXPECT_EQ(root->SaveTree(&store), 1u);
  EXPECT_EQ(store.Nodes().size(), 3u);
  EXPECT_EQ(store.At({"Root", "A"}).children, std::vector<CString>{"B"});

  SECPTNFactory other;
  SECPersistentTreeNode* loaded = other.CreateNode("Root", nullptr);
  EXPECT_EQ(loaded->LoadTree(&store), 1u);
  SECPersistentTreeNode* la = loaded->FindChild("A");
  ASSERT_NE(la, nullptr);
  SECPersistentTreeNode* lb = la->FindChild("B");
  ASSERT_NE(lb, nullptr);
  EXPECT_EQ(Value(*la, "X"), "5");
  EXPECT_EQ(Value(*lb, "Name"), "Ünïcode ✓");
  EXPECT_EQ(lb->GetPath(), (SECPTNPath{"B", "A", "Root"}));
  SECPersistentTreeNode unmade;
  EXPECT_EQ(unmade.SaveTree(&store), 0u);
  EXPECT_EQ(root->SaveTree(nullptr), 0u);
}

TEST_F(TreeNodeTest, LoadingSkipsRefusedChildrenAndStopsAtTheDepthBound) {
  SECPTNMemoryStore store;
  store.At({"Root"}).children = {"Dup", "Dup", "", "Deep"};
  store.At({"Root", "Dup"}).values = {{"K", "first"}};
  // A chain far deeper than any saved state.
  std::vector<CString> path{"Root", "Deep"};
  for (int i = 0; i < 200; ++i) {
    store.At(path).children = {"Deep"};
    path.push_back("Deep");
  }
  SECPTNFactory other;
  SECPersistentTreeNode* loaded = other.CreateNode("Root", nullptr);
  EXPECT_EQ(loaded->LoadTree(&store), 1u);
  EXPECT_EQ(loaded->GetChildNames(), (std::vector<CString>{"Dup", "Deep"}));
  int depth = 0;
  for (SECPersistentTreeNode* n = loaded->FindChild("Deep"); n; n = n->FindChild("Deep")) ++depth;
  EXPECT_EQ(depth, SECPersistentTreeNode::kMaxLoadDepth);
}

TEST_F(TreeNodeTest, ANodeHasOneParentAndLeavesItWhenDeleted) {
  SECPersistentTreeNode* a = factory.CreateNode("A", root);
  SECPersistentTreeNode* b = factory.CreateNode("B", a);
  EXPECT_EQ(b->AddChild(a), 0xFFFFu);  // its own ancestor
  SECPersistentTreeNode* c = factory.CreateNode("C", root);
  EXPECT_EQ(c->AddChild(b), 0xFFFFu);  // b has a parent already
  EXPECT_TRUE(factory.DestroyNode(a));
  EXPECT_EQ(root->GetChildNames(), std::vector<CString>{"C"});
  EXPECT_EQ(b->GetParent(), nullptr);
  EXPECT_EQ(b->GetPath(), SECPTNPath{"B"});
  SECPTNFactory other;
  EXPECT_FALSE(other.DestroyNode(b));
  EXPECT_FALSE(factory.DestroyNode(nullptr));
}

}  // namespace
