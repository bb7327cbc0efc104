// The camera block's checked setters and the exposure steps.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "control/VexDoc.h"

namespace {

class VexDocAccessors : public ::testing::Test {
 protected:
  void SetUp() override { TheSettingSources() = VexSettingSources{}; }
  CVexDoc doc;
};

TEST_F(VexDocAccessors, RefusedSettersChangeNothing) {
  const struct {
    const char* call;
    std::function<int(CVexDoc&)> set;
  } refused[] = {
      {"SetWBGain value 256", [](CVexDoc& d) { return d.SetWBGain(0, 0, 256); }},
      {"SetWBGain value -1", [](CVexDoc& d) { return d.SetWBGain(0, 0, -1); }},
      {"SetWBGain row 3", [](CVexDoc& d) { return d.SetWBGain(3, 0, 5); }},
      {"SetBBLevel column 4", [](CVexDoc& d) { return d.SetBBLevel(0, 4, 5); }},
      {"SetCameraCtrl 64", [](CVexDoc& d) { return d.SetCameraCtrl(64); }},
      {"SetGainLv 3", [](CVexDoc& d) { return d.SetGainLv(3); }},
      {"SetAutoLevelValue quality 4", [](CVexDoc& d) { return d.SetAutoLevelValue(4, 1); }},
      {"SetContrastLevel negative", [](CVexDoc& d) { return d.SetContrastLevel(1, -1); }},
      {"SetEdgeAppLevel quality -1", [](CVexDoc& d) { return d.SetEdgeAppLevel(-1, 1); }},
      {"SetAdTop negative", [](CVexDoc& d) { return d.SetAdTop(-1); }},
      {"SetCameraTableValue a 7", [](CVexDoc& d) { return d.SetCameraTableValue(7, 0, 0, 0, 1); }},
      {"SetCameraTableValue d 6", [](CVexDoc& d) { return d.SetCameraTableValue(0, 0, 0, 6, 1); }},
      {"SetExposure mode 3", [](CVexDoc& d) { return d.SetExposure(3, 1); }},
      {"SetExposure step 33", [](CVexDoc& d) { return d.SetExposure(1, 33); }},
      {"SetExposure step -1", [](CVexDoc& d) { return d.SetExposure(1, -1); }},
      {"SetExposure 171 s", [](CVexDoc& d) { return d.SetExposure(2, 171); }},
      {"SetExposure 0 s", [](CVexDoc& d) { return d.SetExposure(2, 0); }},
      {"SetAutoExpThresh 0", [](CVexDoc& d) { return d.SetAutoExpThresh(0); }},
      {"SetAutoExpThresh 101", [](CVexDoc& d) { return d.SetAutoExpThresh(101); }},
      {"SetTranMode 8", [](CVexDoc& d) { return d.SetTranMode(8); }},
      {"SetCameraZoom 2", [](CVexDoc& d) { return d.SetCameraZoom(2); }},
      {"SetInterpolationMethod 3", [](CVexDoc& d) { return d.SetInterpolationMethod(3); }},
      {"SetProgress index 3", [](CVexDoc& d) { return d.SetProgress(3, 1); }},
      {"SetProgress value 256", [](CVexDoc& d) { return d.SetProgress(0, 256); }},
      {"SetCameraVer 2", [](CVexDoc& d) { return d.SetCameraVer(2); }},
      {"CopyBlackLevel index 4", [](CVexDoc& d) { return d.CopyBlackLevel(4); }},
      {"ClearAGCGain index -1", [](CVexDoc& d) { return d.ClearAGCGain(-1); }},
  };
  for (const auto& c : refused) {
    SCOPED_TRACE(c.call);
    CVexDoc d;
    d.m_nShootExposureVariant = 7;
    tCameraSettings before = d.m_camera;
    EXPECT_EQ(c.set(d), 0);
    EXPECT_EQ(std::memcmp(&before, &d.m_camera, sizeof before), 0);
    EXPECT_EQ(d.m_nShootExposureVariant, 7);
  }
  // GainLv comes from the INI file unchecked; a damaged one picks no row.
  doc.m_camera.GainLv = 9;
  tCameraSettings before = doc.m_camera;
  EXPECT_EQ(doc.CopyBlackLevel(0), 0);
  EXPECT_EQ(std::memcmp(&before, &doc.m_camera, sizeof before), 0);
}

TEST_F(VexDocAccessors, AcceptedSettersStoreAndGettersMarkBadIndices) {
  EXPECT_EQ(doc.SetWBGain(2, 3, 255), 1);
  EXPECT_EQ(doc.GetWBGain(2, 3), 255);
  EXPECT_EQ(doc.GetWBGain(3, 0), CVexDoc::kBadIndex);
  EXPECT_EQ(doc.GetWBGain(0, 4), CVexDoc::kBadIndex);
  EXPECT_EQ(doc.SetCameraCtrl(128), 1);
  EXPECT_EQ(doc.GetCameraCtrl(), 128);
  EXPECT_EQ(doc.SetBBLevel(1, 2, 77), 1);
  EXPECT_EQ(doc.SetGainLv(1), 1);
  EXPECT_EQ(doc.CopyBlackLevel(2), 1);
  EXPECT_EQ(doc.GetBlackLevel(2), 77);
  EXPECT_EQ(doc.GetBlackLevel(4), CVexDoc::kBadIndex);
  EXPECT_EQ(doc.SetCameraZoom(0), 1);
  EXPECT_EQ(doc.GetCameraZoom(), 0);
  EXPECT_DOUBLE_EQ(doc.m_camera.zoom, 0.5);
  EXPECT_EQ(doc.SetCameraVer(1), 1);
  EXPECT_EQ(doc.GetCameraVer(), 3);
  EXPECT_EQ(doc.SetMode(-2), 1);
  EXPECT_EQ(doc.m_camera.Mode, 0xFFFFFFFEu);
  EXPECT_EQ(doc.SetCameraTableValue(6, 1, 5, 5, 42), 1);
  EXPECT_EQ(doc.GetCameraTableValue(6, 1, 5, 5), 42);
  EXPECT_EQ(doc.GetMosaic(4), CVexDoc::kBadIndex);
  EXPECT_EQ(doc.GetProgress(3), CVexDoc::kBadIndex);
  for (int flag : {0, 2}) {
    doc.SetIsaBoard(flag);
    EXPECT_EQ(doc.m_camera.bPCI, 1u);
    EXPECT_EQ(doc.IsIsaBoard(), 0);
  }
  doc.SetIsaBoard(1);
  EXPECT_EQ(doc.m_camera.bISA, 1u);
  EXPECT_EQ(doc.IsIsaBoard(), 1);
  std::string longName(300, 'f');
  doc.SetSaveFolder(longName.c_str());
  EXPECT_EQ(std::strlen(doc.GetSaveFolder()), 259u);
}

TEST_F(VexDocAccessors, ExposureStepsFollowTheBoardRevision) {
  const struct {
    LONG revision;
    SHORT mode, value;
    LONG expMode, expParam;
  } cases[] = {
      {217, 1, 27, 1, 1068}, {216, 1, 27, 1, 1043}, {217, 1, 0, 1, 1},   {216, 1, 19, 1, 167},
      {217, 1, 19, 1, 171},  {217, 1, 32, 2, 12},   {216, 1, 28, 2, 2},  {216, 2, 170, 2, 2040},
      {217, 2, 1, 2, 12},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.revision) + " mode " + std::to_string(c.mode) + " value " + std::to_string(c.value));
    doc.m_camera.BoardRevision = c.revision;
    EXPECT_EQ(doc.SetExposure(c.mode, c.value), 1);
    EXPECT_EQ(doc.GetExpMode(), c.expMode);
    EXPECT_EQ(doc.GetExpParam(), c.expParam);
  }
}

TEST_F(VexDocAccessors, ExposureSetsTheShootVariant) {
  const struct {
    SHORT exposureMode, timeMode;
    int variant;
  } cases[] = {{5, 2, 3}, {5, 1, 2}, {4, 2, 1}, {4, 1, 0}};
  for (const auto& c : cases) {
    doc.m_nShootExposureMode = c.exposureMode;
    doc.m_nShootExpTimeMode = c.timeMode;
    ASSERT_EQ(doc.SetExposure(1, 5), 1);
    EXPECT_EQ(doc.m_nShootExposureVariant, c.variant);
  }
}

}  // namespace
