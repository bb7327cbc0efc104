// Unity batches as the build makes them: per folder, marked files and folders left out, and a
// file's batch kept when its folder gains a file. Configures a small project with the build's
// CMake module and reads the batches CMake writes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>

#include "TestEnv.h"

namespace {

namespace fs = std::filesystem;

const fs::path kRoot = fs::path(LUMORA_TEST_DATA).parent_path().parent_path();

int Shell(const std::string& command) {
  std::string quiet = command + " >/dev/null 2>&1";
  return std::system(quiet.c_str());
}

class UnityBatches : public ::testing::Test {
 protected:
  void SetUp() override {
    project_ = fs::path(testenv::ScratchDir()) / ::testing::UnitTest::GetInstance()->current_test_info()->name();
    build_ = project_ / "build";
    fs::create_directories(project_);
    std::ofstream(project_ / "CMakeLists.txt")
        << "cmake_minimum_required(VERSION 3.20)\n"
           "project(Batches CXX)\n"
           "set(LUMORA_PCH OFF CACHE BOOL \"\" FORCE)\n"
           "set(LUMORA_UNITY_BATCH 2 CACHE STRING \"\" FORCE)\n"
           "include("
        << (kRoot / "cmake/BuildSpeed.cmake").string()
        << ")\n"
           "file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*.cpp)\n"
           "add_library(everything STATIC ${sources})\n"
           "add_custom_target(nothing)\n"
           "lumora_speed_up_targets()\n";
    for (const char* f : {"many/a", "many/b", "many/c", "many/d", "many/e", "marked/x", "marked/y", "marked/z",
                          "folder/p", "folder/q", "single/only", "patterns/keep", "patterns/skip_one",
                          "patterns/skip_two"})
      Add(f);
    Write("marked/unity-exclude.txt", "# y keeps a helper that x has too\ny.cpp\n");
    Write("folder/unity-exclude.txt", "*  # all of it\n");
    Write("patterns/unity-exclude.txt", "skip_*.cpp\n");
  }

  void Write(const std::string& name, const std::string& text) {
    fs::create_directories((project_ / "src" / name).parent_path());
    std::ofstream(project_ / "src" / name) << text;
  }
  void Add(const std::string& stem) {
    std::string fn = std::regex_replace(stem, std::regex("/"), "_");
    Write(stem + ".cpp", "int " + fn + "() { return 0; }\n");
  }

  // Source (folder/name) -> the batch that holds it.
  std::map<std::string, std::string> Batches() {
    std::map<std::string, std::string> batches;
    fs::path unity = build_ / "CMakeFiles/everything.dir/Unity";
    if (!fs::exists(unity)) return batches;
    std::regex include("#include \".*/src/([^\"]+)\\.cpp\"");
    for (const auto& entry : fs::directory_iterator(unity)) {
      std::ifstream in(entry.path());
      std::string line;
      while (std::getline(in, line)) {
        std::smatch m;
        if (std::regex_search(line, m, include)) {
          EXPECT_EQ(batches.count(m[1]), 0u) << m[1] << " is in two batches";
          batches[m[1]] = entry.path().filename().string();
        }
      }
    }
    return batches;
  }

  fs::path project_, build_;
};

TEST_F(UnityBatches, FoldersAreBatchedApartAndMarkedFilesStayOut) {
  ASSERT_EQ(Shell("cmake -S '" + project_.string() + "' -B '" + build_.string() + "'"), 0);
  std::map<std::string, std::string> batches = Batches();
  std::set<std::string> manyBatches;
  for (const char* f : {"many/a", "many/b", "many/c", "many/d", "many/e"}) {
    ASSERT_EQ(batches.count(f), 1u) << f;
    EXPECT_TRUE(std::regex_match(batches[f], std::regex("unity_src_many_[012]_cxx\\.cxx"))) << batches[f];
    manyBatches.insert(batches[f]);
  }
  EXPECT_GE(manyBatches.size(), 2u);  // five files, two a batch on average: three batches, some may be empty
  EXPECT_EQ(batches["marked/x"], "unity_src_marked_0_cxx.cxx");
  EXPECT_EQ(batches["marked/z"], "unity_src_marked_0_cxx.cxx");
  // Marked files, marked folders and files alone in their folder are compiled on their own.
  for (const char* f : {"marked/y", "folder/p", "folder/q", "single/only", "patterns/keep", "patterns/skip_one",
                        "patterns/skip_two"})
    EXPECT_EQ(batches.count(f), 0u) << f << " in " << batches[f];
}

TEST_F(UnityBatches, ANewFileLeavesTheOthersInTheirBatches) {
  ASSERT_EQ(Shell("cmake -S '" + project_.string() + "' -B '" + build_.string() + "'"), 0);
  std::map<std::string, std::string> before = Batches();
  Add("many/f");
  ASSERT_EQ(Shell("cmake --build '" + build_.string() + "' --target nothing"), 0);  // the globs see it
  std::map<std::string, std::string> after = Batches();
  ASSERT_EQ(after.count("many/f"), 1u);
  for (const char* f : {"many/a", "many/b", "many/c", "many/d", "many/e"}) EXPECT_EQ(after[f], before[f]) << f;
}

TEST_F(UnityBatches, AnEditedMarkTakesEffectAtTheNextBuild) {
  ASSERT_EQ(Shell("cmake -S '" + project_.string() + "' -B '" + build_.string() + "'"), 0);
  ASSERT_EQ(Batches().count("marked/y"), 0u);
  Write("marked/unity-exclude.txt", "# nothing left out\n");
  ASSERT_EQ(Shell("cmake --build '" + build_.string() + "' --target nothing"), 0);
  EXPECT_EQ(Batches().count("marked/y"), 1u);
}

}  // namespace
