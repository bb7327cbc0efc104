// The saved arrangement as a model: the profile sections, the archive bytes and the tree
// nodes it is stored in, what loading makes of damaged input, and the tidying of the id
// lists before a save.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <afxext.h>

#include "TestEnv.h"
#include "framework/SECControlBarInfo.h"
#include "framework/SECDockState.h"
#include "framework/SECPTNMemoryStore.h"
#include "framework/SECPersistentTreeNode.h"

namespace {

std::vector<UINT> Ids(const SECControlBarInfo& info) {
  std::vector<UINT> ids;
  for (INT_PTR i = 0; i < info.m_arrBarID.GetSize(); ++i) ids.push_back(BarIDAt(info.m_arrBarID, i));
  return ids;
}

void SetIds(SECControlBarInfo& info, const std::vector<UINT>& ids) {
  info.m_arrBarID.RemoveAll();
  for (UINT id : ids) info.m_arrBarID.Add(BarIDEntry(id));
}

SECControlBarInfo* Add(SECDockState& state, UINT id) {
  auto* info = new SECControlBarInfo;
  info->m_nBarID = id;
  info->m_bVisible = TRUE;
  state.m_arrBarInfo.Add(info);
  return info;
}

std::string Hex(const std::vector<BYTE>& bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (BYTE b : bytes) {
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

std::vector<BYTE> Stored(SECDockState& state) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    state.Serialize(ar);
    ar.Close();
  }
  std::vector<BYTE> out(static_cast<size_t>(file.GetLength()));
  file.SeekToBegin();
  if (!out.empty()) file.Read(out.data(), static_cast<UINT>(out.size()));
  return out;
}

// Loads `bytes`; FALSE when the archive was refused.
BOOL Loaded(SECDockState& state, std::vector<BYTE> bytes) {
  CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
  try {
    CArchive ar(&file, CArchive::load);
    state.Serialize(ar);
    ar.Close();
    return TRUE;
  } catch (CException* e) {
    e->Delete();
    return FALSE;
  }
}

class DockStateTest : public testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::remove(Native());
    app.m_pszProfileName = "C:\\DockState.ini";
  }
  static std::string Native() { return testenv::DriveC() + "/DockState.ini"; }
  static std::string Text() {
    std::ifstream in(Native(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static void Write(const std::string& text) { std::ofstream(Native(), std::ios::binary) << text; }
  std::string Get(LPCSTR section, LPCSTR key) { return std::string(app.GetProfileString(section, key, "<none>")); }

  CWinApp app{"DockStateTest"};
};

TEST_F(DockStateTest, PurgeClearsRepeatsAndKeepsOneRowEnd) {
  const struct {
    std::vector<UINT> before, after;
  } cases[] = {
      {{5, 5, 0, 0, 0}, {5, 0}},
      {{}, {}},
      {{0, 0}, {}},
      {{0, 7, 0, 8, 7, 0}, {0, 7, 0, 8, 0}},
      {{0, 7, 8, 0x10007}, {0, 7, 8, 0x10007, 0}},  // the last entry is never cleared
  };
  for (const auto& c : cases) {
    SECDockState state;
    SetIds(*Add(state, 0xE81B), c.before);
    state.PurgeBarIDs();
    EXPECT_EQ(Ids(*state.GetBarInfo(0)), c.after);
  }
}

TEST_F(DockStateTest, PurgeDropsPlaceholdersOfBarsThatLiveElsewhere) {
  SECDockState state;
  SECControlBarInfo* bar = Add(state, 0x101);
  bar->m_uMRUDockID = 0xE81C;
  SECControlBarInfo* top = Add(state, 0xE81B);
  SetIds(*top, {0, 0x10101, 0x102, 0});
  SECControlBarInfo* left = Add(state, 0xE81C);
  SetIds(*left, {0, 0x10101, 0x103, 0});
  state.PurgeBarIDs();
  EXPECT_EQ(Ids(*top), (std::vector<UINT>{0, 0, 0x102, 0}));
  EXPECT_EQ(Ids(*left), (std::vector<UINT>{0, 0x10101, 0x103, 0}));  // the dock bar it goes back to
}

TEST_F(DockStateTest, ProfileSaveWritesTheRecordsThatAreWorthKeeping) {
  SECDockState state;
  SECControlBarInfo* first = Add(state, 0x101);
  first->m_fPctWidth = 0.25f;
  first->m_strClassName = "SECControlBar";
  first->m_strWindowName = "First";
  SECControlBarInfo* empty = Add(state, 0xE81B);  // a visible docked dock bar, nowhere, no bars
  empty->m_bDockBar = TRUE;
  SetIds(*empty, {0});
  SECControlBarInfo* third = Add(state, 0x103);
  third->m_bVisible = FALSE;
  third->m_pointPos = CPoint(4, -1);
  third->m_bMDIChild = TRUE;
  third->m_wpMDIChild.length = sizeof(WINDOWPLACEMENT);
  third->m_wpMDIChild.showCmd = SW_SHOWNORMAL;
  third->m_wpMDIChild.rcNormalPosition = RECT{1, 2, 3, 4};
  Write("[Bars-Bar1]\nStale=1\n");  // an earlier save's key under the index reused
  state.SetScreenSize(CSize(1024, 768));
  state.SaveState("Bars");
  EXPECT_EQ(Get("Bars-Summary", "Bars"), "2");
  EXPECT_EQ(Get("Bars-Summary", "ScreenCX"), "1024");
  EXPECT_EQ(Get("Bars-Bar0", "BarID"), "257");
  EXPECT_EQ(Get("Bars-Bar0", "PctWidth"), "250000");
  EXPECT_EQ(Get("Bars-Bar0", "Visible"), "<none>");  // defaults are left out
  EXPECT_EQ(Get("Bars-Bar0", "XPos"), "<none>");
  EXPECT_EQ(Get("Bars-Bar0", "MDIChildWindowPlacement"), "<none>");
  EXPECT_EQ(Get("Bars-Bar0", "ClassName"), "SECControlBar");
  EXPECT_EQ(Get("Bars-Bar1", "BarID"), "259");
  EXPECT_EQ(Get("Bars-Bar1", "Visible"), "0");
  EXPECT_EQ(Get("Bars-Bar1", "XPos"), "4");
  EXPECT_EQ(Get("Bars-Bar1", "YPos"), "<none>");
  EXPECT_EQ(Get("Bars-Bar1", "Stale"), "<none>");
  EXPECT_EQ(Get("Bars-Bar1", "MDIChildWindowPlacement").size(), 88u);
  EXPECT_EQ(Text().find("[Bars-Bar2]"), std::string::npos);

  SECDockState loaded;
  loaded.LoadState("Bars");
  ASSERT_EQ(loaded.GetBarCount(), 2);
  EXPECT_FLOAT_EQ(loaded.GetBarInfo(0)->m_fPctWidth, 0.25f);
  EXPECT_EQ(loaded.GetBarInfo(0)->m_strWindowName, "First");
  EXPECT_TRUE(loaded.GetBarInfo(0)->m_bVisible);
  EXPECT_FALSE(loaded.GetBarInfo(1)->m_bVisible);
  EXPECT_EQ(loaded.GetBarInfo(1)->m_wpMDIChild.rcNormalPosition.right, 3);
}

TEST_F(DockStateTest, AProfileWithoutSummaryLoadsNothing) {
  SECDockState state;
  state.LoadState("Nothing");
  EXPECT_EQ(state.GetBarCount(), 0);
  EXPECT_EQ(state.GetScreenSize(), CSize(0, 0));
  EXPECT_FALSE(state.m_bScaling);
}

TEST_F(DockStateTest, DamagedProfileValuesLoadAsNothingOrTheirDefaults) {
  // Counts beyond what a frame can hold: nothing is read.
  for (const std::string& bars :
       {std::string("-1"), std::string("2147483647"), std::string("5000"), std::to_string(SECDockState::kMaxBars + 1)}) {
    Write("[S-Summary]\nBars=" + bars + "\nScreenCX=800\nScreenCY=600\n[S-Bar0]\nBarID=5\n");
    SECDockState state;
    state.LoadState("S");
    EXPECT_EQ(state.GetBarCount(), 0) << bars;
  }
  Write("[S-Summary]\nBars=1\n[S-Bar0]\nBarID=59419\nBar#0=0\nBar#1=5\nBars=" +
        std::to_string(CControlBarInfo::kMaxBarIDs + 1) + "\n");
  {
    SECDockState state;
    state.LoadState("S");
    ASSERT_EQ(state.GetBarCount(), 1);
    EXPECT_TRUE(Ids(*state.GetBarInfo(0)).empty());
  }
  std::string placement43(86, 'A');
  Write("[S-Summary]\nBars=1\n[S-Bar0]\nBarID=5\nMRUFloatCX=-3\nMRUFloatCY=0\nMRUHorzDockCX=40\nPctWidth=-5\n"
        "MDIChild=1\nMDIChildWindowPlacement=" + placement43 + "\nBars=-4\nBar#0=9\nClassName=CDocument\n");
  SECDockState state;
  state.LoadState("S");
  ASSERT_EQ(state.GetBarCount(), 1);
  const SECControlBarInfo& info = *state.GetBarInfo(0);
  EXPECT_EQ(info.m_szMRUFloat, CSize(0, 0));
  EXPECT_EQ(info.m_szMRUHorzDock.cx, 40);
  EXPECT_EQ(info.m_fPctWidth, 0.0f);
  EXPECT_EQ(info.m_wpMDIChild.length, 0u);  // 43 bytes are no placement
  EXPECT_TRUE(Ids(info).empty());
  EXPECT_EQ(info.m_pointPos, CPoint(-1, -1));
  EXPECT_EQ(info.m_nMRUWidth, 32767u);
}

TEST_F(DockStateTest, ScalingFollowsTheSavedScreenUnlessItIsZero) {
  const CSize screen(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
  SECDockState state;
  state.SetScreenSize(CSize(screen.cx * 2, screen.cy * 2));
  CPoint pt(100, 60);
  state.ScalePoint(pt);
  EXPECT_EQ(pt, CPoint(50, 30));
  CPoint none(-1, -1);
  state.ScalePoint(none);
  EXPECT_EQ(none, CPoint(-1, -1));
  CRect rect(100, 100, 140, 120);
  state.ScaleRectPos(rect);
  EXPECT_EQ(rect, CRect(50, 50, 90, 70));
  for (CSize off : {CSize(0, 0), CSize(0, 600), screen}) {
    state.SetScreenSize(off);
    CPoint same(100, 60);
    state.ScalePoint(same);
    EXPECT_EQ(same, CPoint(100, 60));
  }
}

TEST_F(DockStateTest, CoordinatesNearTheIntLimitsScaleToTheLimits) {
  const CSize screen(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
  constexpr int kMax = std::numeric_limits<int>::max(), kMin = std::numeric_limits<int>::min();
  struct Case {
    CSize saved;
    CRect stored, scaled;
  } cases[] = {
      // A screen a quarter the size: places grow four times and stop at the ends.
      {CSize(screen.cx / 4, screen.cy / 4), CRect(kMax - 10, kMin, kMax, kMin + 10), CRect(kMax, kMin, kMax, kMin + 10)},
      {CSize(screen.cx / 4, screen.cy / 4), CRect(kMin + 1, kMax - 1, kMax, kMax), CRect(kMin, kMax, kMax - 1, kMax)},
      // A screen twice the size: the rectangle keeps its size where it can.
      {CSize(screen.cx * 2, screen.cy * 2), CRect(kMin, kMin, kMax, kMax), CRect(kMin / 2, kMin / 2, kMax, kMax)},
      {CSize(screen.cx * 2, screen.cy * 2), CRect(kMax - 40, 20, kMax, 60), CRect(kMax / 2 - 20, 10, kMax / 2 + 20, 50)},
  };
  for (const Case& c : cases) {
    SECDockState state;
    state.SetScreenSize(c.saved);
    CRect rect = c.stored;
    state.ScaleRectPos(rect);
    EXPECT_EQ(rect, c.scaled) << c.stored.left << "," << c.stored.top << " saved on " << c.saved.cx;
  }
  // The profile the fuzz driver found it with: a one-pixel screen and places at the ends.
  std::ifstream finding(testenv::DataPath("fuzz/dockstate/scale-overflow.ini"), std::ios::binary);
  Write(std::string(std::istreambuf_iterator<char>(finding), {}));
  SECDockState state;
  state.LoadState("F");
  ASSERT_EQ(state.GetBarCount(), 1);
  const SECControlBarInfo& info = *state.GetBarInfo(0);
  EXPECT_EQ(info.m_pointPos, CPoint(kMax, kMin));
  EXPECT_EQ(info.m_rectMRUDockPos, CRect(kMin, kMax, kMax, kMin + 647));
  EXPECT_EQ(info.m_ptMRUFloatPos, CPoint(kMax, kMin));
}

// One docked bar with its dock context's values and a dock bar with two rows.
void Fill(SECDockState& state) {
  state.m_dwVersion = 2;
  state.SetScreenSize(CSize(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)));
  SECControlBarInfo* bar = Add(state, 0x101);
  bar->m_pointPos = CPoint(3, 4);
  bar->m_nMRUWidth = 90;
  bar->m_bDocking = TRUE;
  bar->m_uMRUDockID = 0xE81B;
  bar->m_rectMRUDockPos = CRect(1, 2, 3, 4);
  bar->m_dwMRUFloatStyle = 0x2000;
  bar->m_ptMRUFloatPos = CPoint(7, 8);
  bar->m_dwStyle = 0x2F00;
  bar->m_dwExStyle = 0x200;
  bar->m_fPctWidth = 0.5f;
  bar->m_szMRUFloat = CSize(10, 11);
  bar->m_szMRUHorzDock = CSize(12, 13);
  bar->m_szMRUVertDock = CSize(14, 15);
  bar->m_nMRUDockingState = 0xF000;
  bar->m_dwDockStyle = 0xF000;
  bar->m_nTypeID = 6;
  SECControlBarInfo* dock = Add(state, 0xE81B);
  dock->m_bDockBar = TRUE;
  dock->m_bHorz = TRUE;
  SetIds(*dock, {0, 0x101, 0, 0x10102, 0});
}

TEST_F(DockStateTest, TheArchiveFormHoldsTheseBytes) {
  SECDockState state;
  Fill(state);
  const std::vector<BYTE> bytes = Stored(state);
  const int cx = ::GetSystemMetrics(SM_CXSCREEN), cy = ::GetSystemMetrics(SM_CYSCREEN);
  auto dw = [](unsigned v) {
    return std::string{"0123456789ABCDEF"[(v >> 4) & 15], "0123456789ABCDEF"[v & 15],
                       "0123456789ABCDEF"[(v >> 12) & 15], "0123456789ABCDEF"[(v >> 8) & 15],
                       "0123456789ABCDEF"[(v >> 20) & 15], "0123456789ABCDEF"[(v >> 16) & 15],
                       "0123456789ABCDEF"[(v >> 28) & 15], "0123456789ABCDEF"[(v >> 24) & 15]};
  };
  std::string expected = dw(2) + dw(cx) + dw(cy) + "0200" +
                         // the bar: id, visible, floating, horizontal, position
                         dw(0x101) + dw(1) + dw(0) + dw(0) + dw(3) + dw(4) +
                         // MRU width, docking, dock id, dock rectangle, float style, float place
                         dw(90) + dw(1) + dw(0xE81B) + dw(1) + dw(2) + dw(3) + dw(4) + dw(0x2000) + dw(7) + dw(8) +
                         dw(0x2F00) + dw(0x200) + dw(0) + dw(0) +
                         "06" + Hex({'5', '0', '0', '0', '0', '0'}) +  // "500000"
                         dw(10) + dw(11) + dw(12) + dw(13) + dw(14) + dw(15) + dw(0xF000) + dw(0xF000) + dw(6) +
                         "0000" +
                         // the dock bar: not docking, no MRU block beyond the flag
                         dw(0xE81B) + dw(1) + dw(0) + dw(1) + dw(0xFFFFFFFF) + dw(0xFFFFFFFF) + dw(32767) + dw(0) +
                         dw(0) + dw(0) + dw(0) + dw(0) + "01" + Hex({'0'}) + dw(0) + dw(0) + dw(0) + dw(0) + dw(0) +
                         dw(0) + dw(0) + dw(0) + dw(0) + "0500" + dw(0) + dw(0x101) + dw(0) + dw(0x10102) + dw(0);
  EXPECT_EQ(Hex(bytes), expected);

  SECDockState loaded;
  ASSERT_TRUE(Loaded(loaded, bytes));
  ASSERT_EQ(loaded.GetBarCount(), 2);
  const SECControlBarInfo& bar = *loaded.GetBarInfo(0);
  EXPECT_EQ(bar.m_rectMRUDockPos, CRect(1, 2, 3, 4));
  EXPECT_EQ(bar.m_szMRUVertDock, CSize(14, 15));
  EXPECT_FLOAT_EQ(bar.m_fPctWidth, 0.5f);
  EXPECT_EQ(Ids(*loaded.GetBarInfo(1)), (std::vector<UINT>{0, 0x101, 0, 0x10102, 0}));
  EXPECT_EQ(Stored(loaded), bytes);
}

TEST_F(DockStateTest, Version1HoldsNeitherScreenNorMRUBlockAndReadsBackAs2) {
  SECDockState state;
  Fill(state);
  state.m_dwVersion = 1;
  const std::vector<BYTE> bytes = Stored(state);
  SECDockState loaded;
  ASSERT_TRUE(Loaded(loaded, bytes));
  EXPECT_EQ(loaded.m_dwVersion, 2u);
  ASSERT_EQ(loaded.GetBarCount(), 2);
  EXPECT_FALSE(loaded.GetBarInfo(0)->m_bDocking);
  EXPECT_EQ(loaded.GetBarInfo(0)->m_nMRUWidth, 32767u);
  EXPECT_EQ(loaded.GetBarInfo(0)->m_szMRUHorzDock, CSize(12, 13));
  SECDockState again;
  Fill(again);
  EXPECT_LT(bytes.size(), Stored(again).size());
}

TEST_F(DockStateTest, EveryCutArchiveFailsAndLeavesTheStateEmpty) {
  SECDockState state;
  Fill(state);
  const std::vector<BYTE> bytes = Stored(state);
  for (size_t cut = 0; cut < bytes.size(); ++cut) {
    SECDockState loaded;
    Add(loaded, 9);  // what was there goes
    EXPECT_FALSE(Loaded(loaded, std::vector<BYTE>(bytes.begin(), bytes.begin() + static_cast<long>(cut)))) << cut;
    EXPECT_EQ(loaded.GetBarCount(), 0) << cut;
  }
}

TEST_F(DockStateTest, AnArchiveKeepsANegativeShare) {
  SECDockState state;
  Add(state, 0x101)->m_fPctWidth = -0.000005f;
  SECDockState loaded;
  ASSERT_TRUE(Loaded(loaded, Stored(state)));
  EXPECT_LT(loaded.GetBarInfo(0)->m_fPctWidth, 0.0f);
}

TEST_F(DockStateTest, TheTreeFormComesBackAndLeavesOutEmptyDockBars) {
  SECDockState state;
  Fill(state);
  SECControlBarInfo* empty = Add(state, 0xE81C);
  empty->m_bDockBar = TRUE;
  SetIds(*empty, {0});
  SECControlBarInfo* floating = Add(state, 0xE81F);
  floating->m_bDockBar = TRUE;
  floating->m_bFloating = TRUE;
  floating->m_bHorz = FALSE;
  floating->m_pointPos = CPoint(300, 200);
  SetIds(*floating, {0});
  SECPTNFactory factory;
  SECPersistentTreeNode* root = factory.CreateNode("Frame", nullptr);
  ASSERT_TRUE(state.SaveToTree(&factory, root));
  SECPersistentTreeNode* node = root->FindChild("DockState");
  ASSERT_NE(node, nullptr);
  EXPECT_EQ(node->GetChildNames(), (std::vector<CString>{"Bar-0", "Bar-1", "Bar-2"}));
  CString value;
  node->GetStringValue("Bars", value);
  EXPECT_EQ(value, "3");
  SECPersistentTreeNode* bar0 = node->FindChild("Bar-0");
  bar0->GetStringValue("PctWidth", value);
  EXPECT_EQ(value, "500000");
  bar0->GetStringValue("Docking", value);
  EXPECT_EQ(value, "True");
  EXPECT_EQ(bar0->FindValue("Visible"), nullptr);
  EXPECT_EQ(bar0->FindValue("Bars"), nullptr);
  SECPersistentTreeNode* bar2 = node->FindChild("Bar-2");
  EXPECT_EQ(bar2->FindValue("Bars"), nullptr);  // the list is only its final row end
  bar2->GetStringValue("Floating", value);
  EXPECT_EQ(value, "True");
  EXPECT_FALSE(state.SaveToTree(&factory, root));  // "DockState" is there already

  // Through a store and back.
  SECPTNMemoryStore store;
  root->SaveTree(&store);
  SECPTNFactory other;
  SECPersistentTreeNode* again = other.CreateNode("Frame", nullptr);
  again->LoadTree(&store);
  SECDockState loaded;
  ASSERT_TRUE(loaded.LoadFromTree(again));
  ASSERT_EQ(loaded.GetBarCount(), 3);
  EXPECT_EQ(loaded.GetBarInfo(0)->m_szMRUFloat, CSize(10, 11));
  EXPECT_EQ(loaded.GetBarInfo(0)->m_dwMRUFloatStyle, 0x2000u);
  EXPECT_EQ(Ids(*loaded.GetBarInfo(1)), (std::vector<UINT>{0, 0x101, 0, 0x10102, 0}));
  EXPECT_TRUE(Ids(*loaded.GetBarInfo(2)).empty());
  EXPECT_FALSE(loaded.GetBarInfo(2)->m_bHorz);
  EXPECT_EQ(loaded.GetBarInfo(2)->m_pointPos, CPoint(300, 200));
}

TEST_F(DockStateTest, TreeLoadsSkipMissingAndOutOfCountBarsAndRefuseNoState) {
  SECPTNFactory factory;
  SECPersistentTreeNode* root = factory.CreateNode("Frame", nullptr);
  SECDockState state;
  EXPECT_FALSE(state.LoadFromTree(nullptr));
  EXPECT_FALSE(state.LoadFromTree(root));
  SECPersistentTreeNode* node = factory.CreateNode("DockState", root);
  node->SetIntValue("Bars", 3);
  for (const char* name : {"Bar-0", "Bar-2", "Bar-3", "Bar-01", "Bar-x"})
    factory.CreateNode(name, node)->SetIntValue("BarID", 40);
  ASSERT_TRUE(state.LoadFromTree(root));
  EXPECT_EQ(state.GetBarCount(), 2);  // Bar-1 is missing, Bar-3 beyond the count
  for (const char* bars : {"-1", "2147483647"}) {
    node->SetStringValue("Bars", bars);
    SECDockState damaged;
    EXPECT_TRUE(damaged.LoadFromTree(root));
    EXPECT_EQ(damaged.GetBarCount(), 0) << bars;
  }
}

TEST_F(DockStateTest, SeededMutationsOfArchiveAndProfileLoadWithinBounds) {
  SECDockState state;
  Fill(state);
  const std::vector<BYTE> archive = Stored(state);
  state.SaveState("M");
  const std::string profile = Text();
  std::mt19937 random(20261210);
  auto mutate = [&random](auto bytes) {
    const int edits = 1 + static_cast<int>(random() % 8);
    for (int e = 0; e < edits && !bytes.empty(); ++e) {
      const size_t at = random() % bytes.size();
      switch (random() % 4) {
        case 0: bytes[at] = static_cast<typename decltype(bytes)::value_type>(random()); break;
        case 1: bytes.erase(bytes.begin() + static_cast<long>(at)); break;
        case 2: bytes.insert(bytes.begin() + static_cast<long>(at), static_cast<typename decltype(bytes)::value_type>(random())); break;
        default: bytes.resize(at); break;
      }
    }
    return bytes;
  };
  for (int round = 0; round < 400; ++round) {
    SECDockState loaded;
    if (!Loaded(loaded, mutate(archive))) {
      EXPECT_EQ(loaded.GetBarCount(), 0) << round;
    }
    EXPECT_EQ(loaded.m_dwVersion, 2u) << round;
  }
  for (int round = 0; round < 60; ++round) {
    Write(mutate(profile));
    SECDockState loaded;
    loaded.LoadState("M");
    ASSERT_LE(loaded.GetBarCount(), SECDockState::kMaxBars);
    for (INT_PTR i = 0; i < loaded.GetBarCount(); ++i) {
      EXPECT_LE(loaded.GetBarInfo(i)->m_arrBarID.GetSize(), CControlBarInfo::kMaxBarIDs);
      EXPECT_GE(loaded.GetBarInfo(i)->m_fPctWidth, 0.0f);
    }
  }
}

}  // namespace
