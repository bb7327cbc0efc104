#include "Faults.h"
#include "ModuleRegistry.h"
#include "VexcamApi.h"
#include "VexcamApp.h"
#include "VexcamFixture.h"

namespace {

class VexcamAppTest : public VexcamTest {
 protected:
  void Start() {
    plat::ModuleSpec spec;
    spec.fileName = "Vexcam.dll";
    spec.loaded = true;
    app.m_hInstance = plat::RegisterModule(std::move(spec));
    ASSERT_TRUE(app.InitInstance());
  }
  void TearDown() override {
    if (GetVexcamApp()) app.ExitInstance();
    VexcamTest::TearDown();
  }
  static void MarkCamera(const char* path) {
    CreateDirectoryA("C:\\WINDOWS", nullptr);
    CreateDirectoryA("C:\\WINDOWS\\SYSTEM32", nullptr);
    ASSERT_TRUE(WritePrivateProfileStringA("Camera Option", "Camera Type", "10", path));
  }
  CVexcamApp app;
};

// The INI file is the first of the Windows and System folders whose camera section names
// a camera type, else the one beside the library.
TEST_F(VexcamAppTest, FindsTheIniFileInOrder) {
  struct Case {
    std::vector<const char*> marked;
    const char* want;
  };
  const Case cases[] = {
      {{}, "C:\\Lumora\\Vexcam.INI"},
      {{"C:\\WINDOWS\\SYSTEM32\\Vexcam.INI"}, "C:\\WINDOWS\\SYSTEM32\\Vexcam.INI"},
      {{"C:\\WINDOWS\\SYSTEM32\\Vexcam.INI", "C:\\WINDOWS\\Vexcam.INI"}, "C:\\WINDOWS\\Vexcam.INI"},
  };
  for (const auto& c : cases) {
    for (const char* path : c.marked) MarkCamera(path);
    Start();
    EXPECT_STREQ(app.m_szIniPath, c.want);
    app.ExitInstance();
  }
}

TEST_F(VexcamAppTest, AFileWithoutCameraTypeIsPassedOver) {
  CreateDirectoryA("C:\\WINDOWS", nullptr);
  WritePrivateProfileStringA("Camera Option", "Other", "1", "C:\\WINDOWS\\Vexcam.INI");
  Start();
  EXPECT_STREQ(app.m_szIniPath, "C:\\Lumora\\Vexcam.INI");
}

TEST_F(VexcamAppTest, KeepsItsFoldersAndCamera) {
  Start();
  EXPECT_STREQ(app.m_WindowsFolder, "C:\\WINDOWS\\");
  EXPECT_STREQ(app.m_SystemFolder, "C:\\WINDOWS\\SYSTEM32\\");
  EXPECT_STREQ(app.m_LibraryFolder, "C:\\Lumora\\");
  EXPECT_NE(Camera(), nullptr);
  EXPECT_EQ(GetVexcamApp(), &app);
  app.ExitInstance();
  EXPECT_EQ(Camera(), nullptr);
}

// Without the resource library the start goes on; there are just no progress windows.
TEST_F(VexcamAppTest, LoadsTheResourceLibrary) {
  Start();
  EXPECT_NE(app.m_hResource, nullptr);
}

TEST_F(VexcamAppTest, StartsWithoutTheResourceLibrary) {
  plat::faults::Scope missing("LoadLibrary", ERROR_MOD_NOT_FOUND);
  Start();
  EXPECT_EQ(app.m_hResource, nullptr);
  tCameraSettings s = DefaultSettings();
  CTrueImage image;
  EXPECT_EQ(KQ_GetMallocSize(&image, RECT{0, 0, 4, 4}, &s), 4096);
}

}  // namespace
