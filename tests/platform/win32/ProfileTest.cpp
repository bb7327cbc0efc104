#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "Faults.h"
#include "TestEnv.h"
#include "windows.h"

namespace {

namespace fs = std::filesystem;

const char* kIni = "C:\\Lumora\\Test.ini";

const char* kFixture =
    "; settings\r\n"
    "[USER]\r\n"
    "  SaveFolder  =  C:\\Image  \r\n"
    "SavePrefix=\"Img_ \"\r\n"
    "Quoted='x'\r\n"
    "Half=\"open\r\n"
    "Empty=\r\n"
    "Count=12abc\r\n"
    "Neg=-1\r\n"
    "Big=4294967295\r\n"
    "Plus=+7\r\n"
    "Hex=0x10\r\n"
    "Word=abc\r\n"
    "dup=first\r\n"
    "DUP=second\r\n"
    "\r\n"
    "[ Camera Option ]\r\n"
    "Camera Type=3\r\n"
    "[user]\r\n"
    "Late=hidden\r\n";

std::string IniOnDisk() { return testenv::DriveC() + "/Lumora/Test.ini"; }

void PutIni(const std::string& text) { std::ofstream(IniOnDisk(), std::ios::binary) << text; }

std::string IniText() {
  std::ifstream in(IniOnDisk(), std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// A NUL-separated list as a vector (stops at the double NUL).
std::vector<std::string> SplitList(const char* p) {
  std::vector<std::string> out;
  for (; *p; p += std::strlen(p) + 1) out.emplace_back(p);
  return out;
}

class Profile : public testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(testenv::DriveC() + "/Lumora");
    PutIni(kFixture);
  }
};

TEST_F(Profile, ReadsStringsLikeWindows) {
  struct Case {
    const char* section;
    const char* key;
    const char* fallback;
    DWORD size;
    const char* expect;
    DWORD rc;
  } cases[] = {
      {"USER", "SaveFolder", "", 256, "C:\\Image", 8},
      {"user", "savefolder", "", 256, "C:\\Image", 8},          // no regard to case
      {"USER", "SavePrefix", "", 256, "Img_ ", 5},              // quotes stripped, inner blank kept
      {"USER", "Quoted", "", 256, "x", 1},
      {"USER", "Half", "", 256, "\"open", 5},                   // unmatched quote stays
      {"USER", "Empty", "dflt", 256, "", 0},                    // present but empty: no default
      {"USER", "Missing", "dflt  ", 256, "dflt", 4},            // default loses trailing blanks
      {"USER", "Missing", nullptr, 256, "", 0},
      {"USER", "SaveFolder", "", 5, "C:\\I", 4},                // cut to size - 1
      {"USER", "Missing", "default", 4, "def", 3},
      {"Camera Option", "camera type", "", 256, "3", 1},        // blanks inside brackets trimmed
      {"USER", "dup", "", 256, "first", 5},                     // first of duplicates
      {"USER", "Late", "none", 256, "none", 4},                 // a repeated section is not read
      {"NoSection", "Key", "d", 256, "d", 1},
  };
  for (const auto& c : cases) {
    char buf[256];
    std::memset(buf, 'Z', sizeof buf);
    DWORD rc = GetPrivateProfileStringA(c.section, c.key, c.fallback, buf, c.size, kIni);
    EXPECT_EQ(rc, c.rc) << c.section << "/" << c.key;
    EXPECT_STREQ(buf, c.expect) << c.section << "/" << c.key;
  }
  char buf[8] = "xyz";
  EXPECT_EQ(GetPrivateProfileStringA("USER", "SaveFolder", "", buf, 0, kIni), 0u);
  EXPECT_STREQ(buf, "xyz");  // a zero-sized buffer is not touched
}

TEST_F(Profile, ReadsIntegersLikeWindows) {
  struct Case {
    const char* key;
    INT fallback;
    UINT expect;
  } cases[] = {
      {"Count", 5, 12},           {"Neg", 5, 0xFFFFFFFFu}, {"Big", 5, 0xFFFFFFFFu}, {"Plus", 5, 7},
      {"Hex", 5, 0},              {"Word", 5, 0},          {"Empty", 5, 5},         {"Missing", -1, 0xFFFFFFFFu},
      {"SavePrefix", 9, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(GetPrivateProfileIntA("USER", c.key, c.fallback, kIni), c.expect) << c.key;
  EXPECT_EQ(GetPrivateProfileIntA("Camera Option", "Camera Type", -1, kIni), 3u);
  EXPECT_EQ(GetPrivateProfileIntA("USER", "Count", 7, "C:\\Lumora\\Missing.ini"), 7u);
}

TEST_F(Profile, ListsSectionsAndKeys) {
  char buf[512];
  DWORD rc = GetPrivateProfileSectionNamesA(buf, sizeof buf, kIni);
  EXPECT_EQ(SplitList(buf), (std::vector<std::string>{"USER", "Camera Option"}));
  EXPECT_EQ(rc, 19u);  // "USER\0Camera Option\0"
  rc = GetPrivateProfileStringA("Camera Option", nullptr, "ignored", buf, sizeof buf, kIni);
  EXPECT_EQ(SplitList(buf), (std::vector<std::string>{"Camera Type"}));
  EXPECT_EQ(rc, 12u);
  GetPrivateProfileSectionA("Camera Option", buf, sizeof buf, kIni);
  EXPECT_EQ(SplitList(buf), (std::vector<std::string>{"Camera Type=3"}));
  // Truncated lists end in two NULs and answer size - 2.
  std::memset(buf, 'Z', sizeof buf);
  EXPECT_EQ(GetPrivateProfileSectionNamesA(buf, 8, kIni), 6u);
  EXPECT_EQ(std::string(buf, 8), std::string("USER\0C\0\0", 8));
  EXPECT_EQ(GetPrivateProfileStringA("USER", nullptr, "", buf, 5, kIni), 3u);
  EXPECT_EQ(std::string(buf, 5), std::string("Sav\0\0", 5));
  // An empty or missing list is two NULs and 0.
  std::memset(buf, 'Z', sizeof buf);
  EXPECT_EQ(GetPrivateProfileSectionA("None", buf, sizeof buf, kIni), 0u);
  EXPECT_EQ(buf[0], '\0');
  EXPECT_EQ(buf[1], '\0');
}

TEST_F(Profile, WritesKeepTheRestOfTheFile) {
  ASSERT_TRUE(WritePrivateProfileStringA("user", "savefolder", "D:\\Pics", kIni));
  ASSERT_TRUE(WritePrivateProfileStringA("USER", "NewKey", "1", kIni));
  ASSERT_TRUE(WritePrivateProfileStringA("Camera Option", "Camera Type", nullptr, kIni));
  ASSERT_TRUE(WritePrivateProfileStringA("SYSTEM", "Mode", "2", kIni));
  // Only the lines written change; comments, blanks, order and duplicates stay.
  std::string expected = kFixture;
  auto edit = [&](const std::string& from, const std::string& to) {
    size_t at = expected.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    expected.replace(at, from.size(), to);
  };
  edit("  SaveFolder  =  C:\\Image  \r\n", "SaveFolder=D:\\Pics\r\n");
  edit("DUP=second\r\n", "DUP=second\r\nNewKey=1\r\n");  // after the last key, before the blank line
  edit("Camera Type=3\r\n", "");
  expected += "[SYSTEM]\r\nMode=2\r\n";
  EXPECT_EQ(IniText(), expected);
  ASSERT_TRUE(WritePrivateProfileStringA("USER", "DUP", nullptr, kIni));  // every copy of the key goes
  char buf[32];
  GetPrivateProfileStringA("USER", "dup", "gone", buf, sizeof buf, kIni);
  EXPECT_STREQ(buf, "gone");
  ASSERT_TRUE(WritePrivateProfileStringA("USER", nullptr, nullptr, kIni));  // the whole (first) section
  GetPrivateProfileStringA("USER", "Late", "", buf, sizeof buf, kIni);
  EXPECT_STREQ(buf, "hidden");  // the repeated section now answers
}

TEST_F(Profile, NewFilesAndBareNames) {
  // A bare file name lives in the Windows folder.
  ASSERT_TRUE(WritePrivateProfileStringA("Color Management", "gain0col0ss0", "-1000", "Vexcam.INI"));
  EXPECT_TRUE(fs::exists(testenv::DriveC() + "/WINDOWS/Vexcam.INI"));
  EXPECT_EQ(GetPrivateProfileIntA("color management", "GAIN0COL0SS0", 0, "C:\\WINDOWS\\vexcam.ini"),
            UINT(-1000));
  // Deleting from a file that does not exist does not create it.
  ASSERT_TRUE(WritePrivateProfileStringA("A", "b", nullptr, "C:\\Lumora\\none.ini"));
  EXPECT_FALSE(fs::exists(testenv::DriveC() + "/Lumora/none.ini"));
  EXPECT_FALSE(WritePrivateProfileStringA("A", "b", "c", "C:\\NoFolder\\x.ini"));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_PATH_NOT_FOUND));

  const char entries[] = "k1=v1\0 k2 = v2 \0\0";
  ASSERT_TRUE(WritePrivateProfileSectionA("S", entries, "C:\\Lumora\\sec.ini"));
  char buf[64];
  GetPrivateProfileSectionA("s", buf, sizeof buf, "C:\\Lumora\\sec.ini");
  EXPECT_EQ(SplitList(buf), (std::vector<std::string>{"k1=v1", "k2=v2"}));
  ASSERT_TRUE(WritePrivateProfileSectionA("S", "only=1\0", "C:\\Lumora\\sec.ini"));
  GetPrivateProfileSectionA("S", buf, sizeof buf, "C:\\Lumora\\sec.ini");
  EXPECT_EQ(SplitList(buf), (std::vector<std::string>{"only=1"}));
}

TEST_F(Profile, FailedWriteLeavesTheFileIntact) {
  std::string before = IniText();
  // A full disk while writing, and a flush that fails before the new file takes the
  // old one's place: the old file stays byte for byte and the failure is reported.
  const struct {
    const char* point;
    DWORD error;
  } faults[] = {{"WriteFile", ERROR_DISK_FULL}, {"TempFile::Flush", ERROR_WRITE_FAULT}};
  for (const auto& f : faults) {
    SCOPED_TRACE(f.point);
    {
      plat::faults::Scope fault(f.point, f.error);
      EXPECT_FALSE(WritePrivateProfileStringA("USER", "SaveFolder", "D:\\x", kIni));
      EXPECT_EQ(GetLastError(), f.error);
    }
    EXPECT_EQ(IniText(), before);
    for (auto& e : fs::directory_iterator(testenv::DriveC() + "/Lumora"))
      EXPECT_EQ(e.path().filename().string().find(".lumora-tmp"), std::string::npos) << e.path();
  }
  // A read-only INI file is refused, not replaced.
  fs::permissions(IniOnDisk(), fs::perms::owner_write, fs::perm_options::remove);
  EXPECT_FALSE(WritePrivateProfileStringA("USER", "SaveFolder", "D:\\x", kIni));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
  EXPECT_EQ(IniText(), before);
}

TEST_F(Profile, ReadsSeeChangesMadeOutside) {
  EXPECT_EQ(GetPrivateProfileIntA("USER", "Neg", 0, kIni), 0xFFFFFFFFu);
  // Same size, rewritten in place by someone else: the cache must notice.
  std::string text = IniText();
  text.replace(text.find("Neg=-1"), 6, "Neg=42");
  PutIni(text);
  EXPECT_EQ(GetPrivateProfileIntA("USER", "Neg", 0, kIni), 42u);
  fs::remove(IniOnDisk());
  EXPECT_EQ(GetPrivateProfileIntA("USER", "Neg", 3, kIni), 3u);
}

TEST_F(Profile, KeepsLineEndingsAndMarks) {
  std::ofstream(testenv::DriveC() + "/Lumora/unix.ini", std::ios::binary) << "\xEF\xBB\xBF[A]\nx=1";
  ASSERT_TRUE(WritePrivateProfileStringA("A", "y", "写真", "C:\\Lumora\\unix.ini"));
  std::ifstream in(testenv::DriveC() + "/Lumora/unix.ini", std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  EXPECT_EQ(s.str(), "\xEF\xBB\xBF[A]\nx=1\ny=写真");
  char buf[8];
  EXPECT_EQ(GetPrivateProfileStringA("a", "Y", "", buf, sizeof buf, "C:\\Lumora\\unix.ini"), 6u);
  EXPECT_STREQ(buf, "写真");
  // Cutting never splits a character: 4 bytes hold one of the two.
  EXPECT_EQ(GetPrivateProfileStringA("a", "Y", "", buf, 5, "C:\\Lumora\\unix.ini"), 3u);
  EXPECT_STREQ(buf, "写");
  std::memset(buf, 'Z', sizeof buf);
  EXPECT_EQ(GetPrivateProfileStringA("A", nullptr, "", buf, 5, "C:\\Lumora\\unix.ini"), 4u);  // just fits
  EXPECT_EQ(std::string(buf, 5), std::string("x\0y\0\0", 5));
}

TEST_F(Profile, ValuesStayOnOneLine) {
  // A line break in a value must not smuggle sections or keys into the file.
  ASSERT_TRUE(WritePrivateProfileStringA("USER", "SavePrefix", "P_\r\n[SYSTEM]\r\nMode=9", kIni));
  char buf[32];
  GetPrivateProfileStringA("USER", "SavePrefix", "", buf, sizeof buf, kIni);
  EXPECT_STREQ(buf, "P_");
  EXPECT_EQ(GetPrivateProfileIntA("SYSTEM", "Mode", -5, kIni), UINT(-5));
  GetPrivateProfileSectionNamesA(buf, sizeof buf, kIni);
  EXPECT_EQ(SplitList(buf), (std::vector<std::string>{"USER", "Camera Option"}));
}

TEST_F(Profile, CarriageReturnsInNamesAndValuesSurvive) {
  // An LF file whose later lines carry stray carriage returns of their own.
  PutIni("[A\rB]\nK\r=1\nStray=x\r\r\nKeep=y\r\n");
  char buf[16];
  ASSERT_EQ(GetPrivateProfileStringA("A\rB", "Stray", "", buf, sizeof buf, kIni), 2u);
  EXPECT_STREQ(buf, "x\r");
  // A write to the name that was read lands in that section and on that key.
  ASSERT_TRUE(WritePrivateProfileStringA("A\rB", "K\r", "2", kIni));
  // Rewriting another key keeps every other line as it was, endings included.
  ASSERT_TRUE(WritePrivateProfileStringA("A\rB", "New", "v\r", kIni));
  EXPECT_EQ(IniText(), "[A\rB]\nK\r=2\nStray=x\r\r\nKeep=y\r\nNew=v\r\r\n");
  GetPrivateProfileStringA("A\rB", "New", "", buf, sizeof buf, kIni);
  EXPECT_STREQ(buf, "v\r");
  GetPrivateProfileStringA("A\rB", "Keep", "", buf, sizeof buf, kIni);
  EXPECT_STREQ(buf, "y");
  GetPrivateProfileSectionNamesA(buf, sizeof buf, kIni);
  EXPECT_EQ(SplitList(buf), (std::vector<std::string>{"A\rB"}));
}

TEST_F(Profile, NamesTheFileCouldNotGiveBackAreRefused) {
  const std::string before = IniText();
  struct Case {
    const char* section;
    const char* key;
  } cases[] = {{"USER\nX", "k"}, {"US]ER", "k"}, {"USER", "a=b"}, {"USER", "k\n"},
               {"USER", ";k"},   {"USER", " [k"}};
  for (const Case& c : cases) {
    SetLastError(0);
    EXPECT_FALSE(WritePrivateProfileStringA(c.section, c.key, "1", kIni)) << c.section << "/" << c.key;
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
  }
  EXPECT_FALSE(WritePrivateProfileSectionA("A]", "k=1\0", kIni));
  EXPECT_EQ(IniText(), before);
}

TEST_F(Profile, WritesFromManyThreadsAreNotLost) {
  // Each write reads, changes and replaces the whole file; none may undo another.
  std::vector<std::thread> writers;
  for (int t = 0; t < 4; ++t)
    writers.emplace_back([t] {
      std::string key = "Thread" + std::to_string(t);
      for (int i = 1; i <= 25; ++i) WritePrivateProfileStringA("SYSTEM", key.c_str(), std::to_string(i).c_str(), kIni);
    });
  for (auto& w : writers) w.join();
  for (int t = 0; t < 4; ++t)
    EXPECT_EQ(GetPrivateProfileIntA("SYSTEM", ("Thread" + std::to_string(t)).c_str(), 0, kIni), 25u) << t;
  EXPECT_EQ(GetPrivateProfileIntA("USER", "Neg", 0, kIni), 0xFFFFFFFFu);
}

TEST(ProfileDamaged, ReadsWhatItCanAndRewritesOnlyTheKeyChanged) {
  fs::create_directories(testenv::DriveC() + "/Lumora");
  std::string copy = testenv::DriveC() + "/Lumora/damaged.ini";
  fs::copy_file(testenv::DataPath("profile/damaged.ini"), copy, fs::copy_options::overwrite_existing);
  const char* ini = "C:\\Lumora\\damaged.ini";
  EXPECT_EQ(GetPrivateProfileIntA("SYSTEM", "Mode", 0, ini), 3u);
  EXPECT_EQ(GetPrivateProfileIntA("CAMERA", "Gain", 0, ini), 7u);  // last line without its line break
  EXPECT_EQ(GetPrivateProfileIntA("USER", "Broken", -1, ini), UINT(-1));  // "[USER" is no header
  char buf[256];
  EXPECT_EQ(GetPrivateProfileStringA("SYSTEM", "Long", "", buf, sizeof buf, ini), 255u);
  EXPECT_EQ(std::string(buf), std::string(255, 'x'));
  GetPrivateProfileStringA("system", "写", "", buf, sizeof buf, ini);
  EXPECT_STREQ(buf, "真");
  GetPrivateProfileSectionNamesA(buf, sizeof buf, ini);
  EXPECT_EQ(SplitList(buf), (std::vector<std::string>{"SYSTEM", "CAMERA"}));
  GetPrivateProfileStringA("SYSTEM", nullptr, "", buf, sizeof buf, ini);
  EXPECT_EQ(SplitList(buf).front(), "just words");  // the nameless key is not listed

  std::ifstream in(copy, std::ios::binary);
  std::string before((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_TRUE(WritePrivateProfileStringA("CAMERA", "Gain", "8", ini));
  std::ifstream again(copy, std::ios::binary);
  std::string after((std::istreambuf_iterator<char>(again)), std::istreambuf_iterator<char>());
  EXPECT_EQ(after, before.substr(0, before.size() - 1) + "8");
}

}  // namespace
