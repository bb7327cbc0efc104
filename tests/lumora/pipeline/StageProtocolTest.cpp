// The stage protocol every stage shares: the bases, the settings broadcast taken only
// for a stage's own bit, the pixel access with its failure details, and the title field.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

#include "StageRig.h"
#include "pipeline/VexCommentField.h"
#include "pipeline/VexImageInput.h"
#include "pipeline/VexImageOutput.h"
#include "pipeline/VexItoIProcess.h"
#include "pipeline/VexItoVProcess.h"

namespace {

using stagerig::StageRig;

TEST(StageBases, OperationsOfTheBasesDoNothingAndSucceed) {
  std::unique_ptr<CObject> input(RUNTIME_CLASS(CVexImageInput)->CreateObject());
  std::unique_ptr<CObject> toPicture(RUNTIME_CLASS(CVexItoIProcess)->CreateObject());
  std::unique_ptr<CObject> toValues(RUNTIME_CLASS(CVexItoVProcess)->CreateObject());
  std::unique_ptr<CObject> output(RUNTIME_CLASS(CVexImageOutput)->CreateObject());
  auto* in = dynamic_cast<CVexImageInput*>(input.get());
  auto* pp = dynamic_cast<CVexItoIProcess*>(toPicture.get());
  auto* pv = dynamic_cast<CVexItoVProcess*>(toValues.get());
  auto* out = dynamic_cast<CVexImageOutput*>(output.get());
  ASSERT_TRUE(in && pp && pv && out);
  const struct {
    const char* what;
    int result, expected;
  } cases[] = {
      {"Input", in->Input(3), 1},
      {"input UpdateImageInfo", in->UpdateImageInfo(), 0},
      {"ItoI Process", pp->Process(2, 2), 1},
      {"ItoV Process", pv->Process(0, 0), 1},
      {"Output", out->Output(2), 1},
      {"output UpdateImageInfo", out->UpdateImageInfo(), 0},
      {"SetBufferControl", in->SetBufferControl(nullptr), 1},
  };
  for (const auto& c : cases) EXPECT_EQ(c.result, c.expected) << c.what;
  // The stages are found by their run-time classes, as the frame creates them.
  EXPECT_TRUE(RUNTIME_CLASS(CVexShadingProcess)->IsDerivedFrom(RUNTIME_CLASS(CVexItoIProcess)));
  EXPECT_TRUE(RUNTIME_CLASS(CVexFocusProcess)->IsDerivedFrom(RUNTIME_CLASS(CVexItoVProcess)));
  EXPECT_TRUE(RUNTIME_CLASS(CVexCCDInput)->IsDerivedFrom(RUNTIME_CLASS(CVexImageInput)));
}

// Each stage acts on exactly its own bit; its bit with another one set does nothing.
TEST_F(StageRig, SettingsChangesTakeOnlyTheStagesOwnBit) {
  static int exposures = 0;
  tVexcamCalls calls = VexcamLibraryCalls();
  calls.SetExposure = [](tCameraSettings*) { return ++exposures, 1; };
  camera->SetLibraryCalls(calls);
  doc->SetRGBRed(4);
  doc->SetRGBGreen(-3);
  doc->SetRGBBlue(0);
  doc->SetResizeSaveSize(2);
  doc->m_nImageProfilePosition = 200;
  doc->SetFocusPosition(LONG(300), LONG(200));
  doc->SetShadingOption(1);
  doc->SetShadingLevel(50);

  struct Stage {
    const char* name;
    LONG bit;
    std::function<void(LONG)> notify;
    std::function<std::string()> state;
  };
  const std::vector<Stage> stages = {
      {"camera", 0x4, [&](LONG f) { camera->OnSettingsChanged(f); }, [] { return std::to_string(exposures); }},
      {"file", 0x8, [&](LONG f) { file->OnSettingsChanged(f); }, [&] { return std::string(file->GetFileName()); }},
      {"profile", 0x20, [&](LONG f) { profile->OnSettingsChanged(f); },
       [&] { return std::to_string(profile->GetProfileRow()); }},
      {"focus", 0x40, [&](LONG f) { focus->OnSettingsChanged(f); },
       [&] { return std::to_string(focus->GetWindow().left) + "," + std::to_string(focus->GetWindow().top); }},
      {"resize", 0x80, [&](LONG f) { resize->OnSettingsChanged(f); },
       [&] { return std::to_string(resize->GetPercent()); }},
      {"noise cut", 0x100, [&](LONG f) { noise->OnSettingsChanged(f); }, [] { return std::string(); }},
      {"rgb", 0x200, [&](LONG f) { rgb->OnSettingsChanged(f); },
       [&] {
         return std::to_string(rgb->GetTableIndex(2)) + "," + std::to_string(rgb->GetTableIndex(1)) + "," +
                std::to_string(rgb->GetTableIndex(0));
       }},
      {"shading", 0x400, [&](LONG f) { shading->OnSettingsChanged(f); },
       [&] { return std::to_string(shading->HasTables()); }},
  };
  const struct {
    const char* name;
    std::string before, after;
  } expected[] = {
      {"camera", "0", "1"},      {"file", "", ""},          {"profile", "128", "200"}, {"focus", "0,0", "260,160"},
      {"resize", "100", "25"},   {"noise cut", "", ""},     {"rgb", "0,0,0", "14,7,10"}, {"shading", "0", "1"},
  };
  for (size_t i = 0; i < stages.size(); ++i) {
    const Stage& s = stages[i];
    SCOPED_TRACE(s.name);
    ASSERT_EQ(s.state(), expected[i].before);
    s.notify(s.bit | 0x1);
    s.notify(s.bit == 0x4 ? 0x8 : 0x4);
    s.notify(0);
    EXPECT_EQ(s.state(), expected[i].before) << "combined or foreign bits change nothing";
    s.notify(s.bit);
    EXPECT_EQ(s.state(), expected[i].after);
  }
}

// Every failure of the pixel access leaves its detail in the latch and the slot naming a
// valid picture: the one the stage's control holds, or, for the focus measure, the live
// frame it was given.
TEST_F(StageRig, PixelAccessFailuresLeaveTheSlotValid) {
  ASSERT_EQ(StartCamera(), 0);
  ASSERT_EQ(doc->SetCaptureMode(1), 1);
  doc->SetShadingOption(1);
  doc->SetShadingLevel(40);
  Broadcast(0x400 | 0x40);
  ASSERT_EQ(flow->PrepareBuffer(0, 1), 1);

  struct Case {
    const char* stage;
    const char* point;
    LONG type, detail;
  };
  const Case cases[] = {
      {"camera", "imaging.GetImageDC", 110, 1},     {"camera", "CDC::Attach", 110, 2},
      {"camera", "GetObjectA", 110, 3},             {"camera", "imaging.ReleaseImageDC", 110, 5},
      {"focus", "imaging.CropImage", 310, 1},       {"focus", "imaging.GetImageDC", 310, 2},
      {"focus", "CDC::Attach", 310, 3},             {"focus", "GetObjectA", 310, 4},
      {"focus", "imaging.ReleaseImageDC", 310, 6},  {"shading", "imaging.GetImageDC", 260, 1},
      {"shading", "CDC::Attach", 260, 2},           {"shading", "GetObjectA", 260, 3},
      {"shading", "SaveDC", 260, 4},                {"shading", "RestoreDC", 260, 5},
      {"shading", "imaging.ReleaseImageDC", 260, 6}, {"rgb", "imaging.GetImageDC", 250, 1},
      {"rgb", "CDC::Attach", 250, 2},               {"rgb", "GetObjectA", 250, 3},
      {"rgb", "SaveDC", 250, 4},                    {"rgb", "RestoreDC", 250, 5},
      {"rgb", "imaging.ReleaseImageDC", 250, 6},    {"profile", "imaging.GetImageDC", 220, 1},
      {"profile", "CDC::Attach", 220, 2},           {"profile", "GetObjectA", 220, 3},
      {"profile", "SaveDC", 220, 4},                {"profile", "RestoreDC", 220, 5},
      {"profile", "imaging.ReleaseImageDC", 220, 6},
  };
  // Each stage's control and operation on the live slot.
  const std::map<std::string, std::pair<CLead*, std::function<int()>>> stages = {
      {"camera", {camera->GetImagingControl(), [&] { return camera->Input(0); }}},
      {"focus", {focus->GetImagingControl(), [&] { return focus->Process(0, 0); }}},
      {"shading", {shading->GetImagingControl(), [&] { return shading->Process(0, 0); }}},
      {"rgb", {rgb->GetImagingControl(), [&] { return rgb->Process(0, 0); }}},
      {"profile", {profile->GetImagingControl(), [&] { return profile->Process(0, 0); }}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.stage) + " " + c.point);
    ASSERT_EQ(camera->Input(0), 1);
    const LONG frame = buffers->GetBuffer(0);
    const auto& [control, operation] = stages.at(c.stage);
    doc->ClearLastError();
    int result = -1;
    {
      // Armed for the whole operation: the stage's own step is the one that must answer.
      plat::faults::Scope fault(c.point, ERROR_INVALID_HANDLE);
      result = operation();
    }
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Latched(), std::make_pair(c.type, c.detail));
    EXPECT_EQ(doc->GetLastErrorValue(), 1);
    const LONG after = buffers->GetBuffer(0);
    EXPECT_NE(plat::imaging::ImageStore::Instance().Find(DWORD(after)), nullptr);
    if (std::string(c.stage) == "focus") {
      EXPECT_EQ(after, frame) << "the live frame stays in its slot";
      EXPECT_EQ(doc->GetFocusValue(), 0);
    } else {
      EXPECT_EQ(after, control->GetBitmap());
    }
  }
}

TEST(CommentField, TitleDecoding) {
  using namespace std::string_literals;
  const struct {
    const char* what;
    std::string field;
    const char* title;
  } cases[] = {
      {"title", "ASCII\0\0\0Cell culture 3"s, "Cell culture 3"},
      {"ends at the first NUL", "ASCII\0\0\0Slide\0junk"s, "Slide"},
      {"trailing NUL", "ASCII\0\0\0Slide\0"s, "Slide"},
      {"header only", "ASCII\0\0\0"s, ""},
      {"shorter than the header", "ASCI"s, ""},
      {"other character code", "UNICODE\0Slide"s, ""},
      {"empty", ""s, ""},
  };
  for (const auto& c : cases) EXPECT_STREQ(vexcomment::DecodeTitle(stagerig::ByteArray(c.field)), c.title) << c.what;
  VARIANT number;
  VariantInit(&number);
  number.vt = VT_I4;
  number.lVal = 'A';
  EXPECT_STREQ(vexcomment::DecodeTitle(number), "") << "only a byte array is a title field";
  VARIANT empty;
  VariantInit(&empty);
  EXPECT_STREQ(vexcomment::DecodeTitle(empty), "");
}

}  // namespace
