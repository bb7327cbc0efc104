// The document's settings: defaults, INI round trips, checks after loading, and the
// files the command line chooses.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "control/VexDoc.h"

namespace {

const char kDefaultIni[] = "C:\\Lumora\\Lumora.ini";

class VexDocSettings : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateDirectoryA("C:\\Lumora", nullptr);
    TheSettingSources() = VexSettingSources{};
  }
  static std::string Read(const char* section, const char* key, const char* file = kDefaultIni) {
    char buf[300] = {};
    GetPrivateProfileStringA(section, key, "<missing>", buf, sizeof buf, file);
    return buf;
  }
  static void Write(const char* section, const char* key, const char* value, const char* file = kDefaultIni) {
    ASSERT_TRUE(WritePrivateProfileStringA(section, key, value, file));
  }
};

// Every INI key with its specified default, section by section in table order (string
// entries first), as a first start without an INI file writes them at exit.
std::vector<std::string> SpecifiedDefaults(const std::string& section) {
  const std::string font = "ffffffc0,0,0,0,190,0,0,0,80,3,2,1,32,0,ffff00,1e0,1,FONT=ＭＳ Ｐゴシック";
  std::vector<std::string> keys;
  auto add = [&keys](const std::string& key, const std::string& value) { keys.push_back(key + "=" + value); };
  auto addInts = [&add](std::initializer_list<std::pair<const char*, long long>> list) {
    for (const auto& [key, value] : list) add(key, std::to_string(value));
  };
  if (section == "USER") {
    add("SaveFolder", "C:\\Image");
    add("SavePrefix", "Img_");
    add("SaveBody", "$###");
    addInts({{"Sensitivity", 0},        {"ExposureTime", 27},      {"LongExposureMode", 0},     {"LongExposureTime", 1},
             {"FinePhotoMode", 0},      {"FineMode", 1},           {"QuickPhotoMode", 10},      {"FileFormat", 4},
             {"AutoSave", 0},           {"LiveWindowLeft", 0},     {"Flip", 0},                 {"Direction", 0},
             {"WBSampleRect", 1},       {"FocusTargetState", 1},   {"FocusTargetDocking", 1},   {"EnableTimeLapse", 0},
             {"ResizeSave", 0},         {"ResizeSaveSize", 0},     {"AutoPrint", 0},            {"AutoEnhance", 0},
             {"ContrastOffset", 0},     {"SharpnessOffset", 0},    {"LevelOffset", 0},          {"ColorMode", 0},
             {"IntervalHour", 0},       {"IntervalMin", 0},        {"IntervalSec", 0},          {"TotalShots", 0},
             {"ImageProfileState", 0},  {"ImageProfilePosition", 50}, {"FocusPosition_x", 320}, {"FocusPosition_y", 256},
             {"PrintLayoutType", 1},    {"PrintLayoutTitle", 1},   {"AutoNoiseReduction", 0},   {"ShootTargetPoint_x", 0},
             {"ShootTargetPoint_y", 0}, {"RGBOption", 0},          {"RGBLive", 0},              {"RGBRed", 0},
             {"RGBGreen", 0},           {"RGBBlue", 0},            {"ShadingOption", 0},        {"ShadingLive", 0},
             {"ShadingLevel", 0},       {"AutoEnhanceLive", 0},    {"ExternalTrigger", 0}});
  } else if (section == "SYSTEM") {
    add("WhiteBalanceRect", "318,254,322,258");
    add("LoadPath", "C:\\Image\\");
    add("SavePath", "C:\\Image\\");
    add("SaveName", "Temp.jpg");
    add("AnnText", font);
    for (const char* key : {"AnnRect", "AnnEllipse", "AnnPolygon"}) add(key, "1,0,0,0,0,0");
    for (const char* key : {"AnnFreeLine", "AnnLine", "AnnPolyLine"}) add(key, "1,0,0,0");
    for (int i = 0; i < 8; ++i)
      add("Scale" + std::to_string(i),
          "Scale " + std::to_string(i) + ",0,10,0.0,2,640,512,0,ff00,0,0,3,1.0,1.0,1,1.0,2,1,1.0,2,0");
    add("PrintTitleFont", font);
    addInts({{"GainLevel", 0},        {"ShootExposureTimeMode", 1}, {"ShootExposureTimeParameter", 27},
             {"LiveExposureTimeMode", 1}, {"LiveExposureTimeParameter", 27}, {"ShootExposureMode", 5},
             {"ShootZoomMode", 1},    {"ShootInterpolationMode", 2}, {"LiveInterpolationMode", 1},
             {"ShootBufferSize", 0},  {"LiveBufferSize", 14},       {"Dir90", 0},
             {"RotateReverseMode", 0}, {"MonochromeMode", 0},       {"InvertColorMode", 0},
             {"SaveFormat", 98},      {"SaveBits", 24},             {"SaveQuality", 6},
             {"ScaleOnLive", 0},      {"ScaleOnCaptured", 0},       {"ScaleSelect", 0},
             {"PrintFontSize", 20}});
  } else {
    addInts({{"bAbort", 0}, {"bAutoLevel", 0}, {"nAutoLevelHalf", 0}, {"nAutoLevelStd", 0}, {"nAutoLevelHigh", 0},
             {"nAutoLevelBw", 0}, {"bEdgeApp", 0}, {"EdgeAppLevelHalf", 0}, {"EdgeAppLevelStd", 4},
             {"EdgeAppLevelHigh", 4}, {"EdgeAppLevelBw", 8}, {"bExtraCont", 0}, {"ContrastLevelHalf", 0},
             {"ContrastLevelStd", 0}, {"ContrastLevelHigh", 0}, {"ContrastLevelBw", 8}, {"Command_Repeat", 1},
             {"Camera_Ctrl", 128}, {"GainLv", 0}});
    const int wbGain[3][4] = {{30, 10, 10, 50}, {60, 40, 40, 80}, {90, 70, 70, 110}};
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 4; ++c)
        add("WBGain[" + std::to_string(r) + "][" + std::to_string(c) + "]", std::to_string(wbGain[r][c]));
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 4; ++c) add("BB_Lev[" + std::to_string(r) + "][" + std::to_string(c) + "]", "128");
    for (int i = 0; i < 4; ++i) add("Black_Level[" + std::to_string(i) + "]", "128");
    add("AdTop", "130");
    for (int i = 0; i < 4; ++i) add("AGCGain[" + std::to_string(i) + "]", "0");
    addInts({{"ExpMode", 1}, {"ExpParam", 1024}, {"AutoExpThresh", 1}, {"TranMode", 5}, {"zoom", 10},
             {"InterPolationMethod", 1}, {"Mode", 6144}, {"PCIaddress", 4294967295LL}, {"Progress[0]", 0},
             {"Progress[1]", 0}, {"Progress[2]", 0}, {"Mosaic[0]", 2}, {"Mosaic[1]", 3}, {"Mosaic[2]", 0},
             {"Mosaic[3]", 1}, {"bSwitched", 0}, {"Camera_Status", 0}, {"CameraVer", 2671}, {"bPCI", 0},
             {"bISA", 0}, {"OHPTranMode", 0}, {"MotionDetCount", 3}});
  }
  return keys;
}

TEST_F(VexDocSettings, WithoutIniEveryKeyTakesItsDefault) {
  {
    CVexDoc doc;
    EXPECT_DOUBLE_EQ(doc.m_camera.zoom, 1.0);
    EXPECT_EQ(doc.m_rcWhiteBalance.left, 318);
    // The block's built-in values that no key replaces.
    const BYTE* passes = reinterpret_cast<const BYTE*>(&doc.m_camera.WBAllLevels);
    EXPECT_EQ(passes[0], 30);
    EXPECT_EQ(passes[1], 50);
    EXPECT_EQ(passes[2], 70);
    EXPECT_EQ(passes[3], 0);
    EXPECT_EQ(doc.m_camera.GammaMode, 1);
    EXPECT_EQ(doc.m_camera.Unused, 1);
    EXPECT_EQ(doc.m_camera.BoardRevision, 1);
    EXPECT_EQ(doc.GetCompanionPath(), CString("C:\\Lumora\\Lumora.tdt"));
  }
  // What was in force is written at exit: every key, in table order, with its default.
  for (const char* section : {"USER", "SYSTEM", "CAMERA"}) {
    SCOPED_TRACE(section);
    std::vector<char> buffer(32768);
    GetPrivateProfileSectionA(section, buffer.data(), static_cast<DWORD>(buffer.size()), kDefaultIni);
    std::vector<std::string> written;
    for (const char* p = buffer.data(); *p; p += std::strlen(p) + 1) written.emplace_back(p);
    EXPECT_EQ(written, SpecifiedDefaults(section));
  }
}

TEST_F(VexDocSettings, ScalePresetsNobodyChangedAreSavedAsTheyWereRead) {
  const std::string fresh = "Scale 0,0,10,0.0,2,640,512,0,ff00,0,0,3,1.0,1.0,1,1.0,2,1,1.0,2,0";
  Write("SYSTEM", "Scale2", "Lab,0,10,2.50,1,100,200,0,ff,0,0,0,1.0,1.0,1,1.0,2,1,1.0,2,300");
  Write("SYSTEM", "Scale3", "Broken,1,2,3");
  {
    CVexDoc doc;  // reading Scale3 says so; its defaults are kept
    tScaleInfo changed;
    doc.SetScaleSelect(1);
    doc.GetSelectedScale(changed);
    changed.barLength = 120;
    doc.SetSelectedScale(changed);
  }
  EXPECT_EQ(Read("SYSTEM", "Scale0"), fresh);
  EXPECT_EQ(Read("SYSTEM", "Scale2"), "Lab,0,10,2.50,1,100,200,0,ff,0,0,0,1.0,1.0,1,1.0,2,1,1.0,2,300");
  EXPECT_EQ(Read("SYSTEM", "Scale1"),
            "Scale 1,0,10,0.000000,2,640,512,0,ff00,0,0,3,1.000000,1.000000,1,1.000000,2,1,1.000000,2,120");
  EXPECT_EQ(Read("SYSTEM", "Scale3"),
            "Scale 3,0,10,0.000000,2,640,512,0,ff00,0,0,3,1.000000,1.000000,1,1.000000,2,1,1.000000,2,0");
  // The second start reads and writes the same bytes again.
  { CVexDoc again; }
  EXPECT_EQ(Read("SYSTEM", "Scale0"), fresh);
  EXPECT_EQ(Read("SYSTEM", "Scale3"),
            "Scale 3,0,10,0.000000,2,640,512,0,ff00,0,0,3,1.000000,1.000000,1,1.000000,2,1,1.000000,2,0");
}

TEST_F(VexDocSettings, SavingWritesTheTextFormsOfEveryKind) {
  {
    CVexDoc doc;
    doc.m_camera.zoom = 0.5;
    doc.m_nRGBRed = -3;
    doc.m_camera.Progress[2] = 200;
  }
  EXPECT_EQ(Read("CAMERA", "PCIaddress"), "4294967295");
  EXPECT_EQ(Read("CAMERA", "zoom"), "5");
  EXPECT_EQ(Read("CAMERA", "WBGain[1][2]"), "40");
  EXPECT_EQ(Read("CAMERA", "Progress[2]"), "200");
  EXPECT_EQ(Read("USER", "RGBRed"), "-3");
  EXPECT_EQ(Read("USER", "SaveFolder"), "C:\\Image");
  EXPECT_EQ(Read("SYSTEM", "WhiteBalanceRect"), "318,254,322,258");
  EXPECT_EQ(Read("SYSTEM", "AnnText"), "ffffffc0,0,0,0,190,0,0,0,80,3,2,1,32,0,ffff00,1e0,1,FONT=ＭＳ Ｐゴシック");
  EXPECT_EQ(Read("SYSTEM", "Scale7"), "Scale 7,0,10,0.0,2,640,512,0,ff00,0,0,3,1.0,1.0,1,1.0,2,1,1.0,2,0");
  EXPECT_EQ(Read("SYSTEM", "AnnLine"), "1,0,0,0");
}

TEST_F(VexDocSettings, EveryTableRoundTrips) {
  {
    CVexDoc doc;
    std::snprintf(doc.m_szSavePrefix, sizeof doc.m_szSavePrefix, "Cell_");
    doc.m_nExposureTime = 12;
    doc.m_nFileFormat = 2;
    doc.m_nIntervalMin = 59;
    doc.m_nFocusPositionX = 600;
    doc.m_nRGBBlue = -255;
    doc.m_nShadingLevel = -7;
    doc.m_rcWhiteBalance = RECT{-1, 2, 300, 400};
    doc.m_strSaveName = "Sample.tif";
    doc.m_scales[2].name = "Cells";
    doc.m_scales[2].lengthValue = 0.5;
    doc.m_scales[2].barLength = 120;
    doc.m_annLine.penColor = 0xff;
    doc.m_nGainLevel = -2;
    doc.m_nScaleSelect = 6;
    doc.m_camera.zoom = 1.5;
    doc.m_camera.PCIaddress = 0xD0000000u;
    doc.m_camera.InterPolationMethod = 3;
    doc.m_camera.Camera_Status = -1;
    doc.m_camera.BB_Lev[2][1] = 99;
  }
  CVexDoc doc;
  EXPECT_STREQ(doc.m_szSavePrefix, "Cell_");
  EXPECT_EQ(doc.m_nExposureTime, 12u);
  EXPECT_EQ(doc.m_nFileFormat, 2u);
  EXPECT_EQ(doc.m_nIntervalMin, 59u);
  EXPECT_EQ(doc.m_nFocusPositionX, 600);
  EXPECT_EQ(doc.m_nRGBBlue, -255);
  EXPECT_EQ(doc.m_nShadingLevel, -7);
  EXPECT_EQ(doc.m_rcWhiteBalance.left, -1);
  EXPECT_EQ(doc.m_rcWhiteBalance.bottom, 400);
  EXPECT_EQ(doc.m_strSaveName, CString("Sample.tif"));
  EXPECT_EQ(doc.m_scales[2].name, CString("Cells"));
  EXPECT_DOUBLE_EQ(doc.m_scales[2].lengthValue, 0.5);
  EXPECT_EQ(doc.m_scales[2].barLength, 120);
  EXPECT_EQ(doc.m_annLine.penColor, 0xffu);
  EXPECT_EQ(doc.m_nGainLevel, -2);
  EXPECT_EQ(doc.m_nScaleSelect, 6);
  EXPECT_DOUBLE_EQ(doc.m_camera.zoom, 1.5);
  EXPECT_EQ(doc.m_camera.PCIaddress, 0xD0000000u);
  EXPECT_EQ(doc.m_camera.InterPolationMethod, 3);
  EXPECT_EQ(doc.m_camera.Camera_Status, -1);
  EXPECT_EQ(doc.m_camera.BB_Lev[2][1], 99);
}

// What a hand-edited or damaged INI loads as.
struct LoadCase {
  const char* section;
  const char* key;
  const char* stored;
  long long expected;
};

long long ValueOf(const CVexDoc& d, const std::string& key) {
  if (key == "FileFormat") return d.m_nFileFormat;
  if (key == "ExposureTime") return d.m_nExposureTime;
  if (key == "IntervalMin") return d.m_nIntervalMin;
  if (key == "IntervalHour") return d.m_nIntervalHour;
  if (key == "IntervalSec") return d.m_nIntervalSec;
  if (key == "LongExposureTime") return d.m_nLongExposureTime;
  if (key == "QuickPhotoMode") return d.m_nQuickPhotoMode;
  if (key == "WBSampleRect") return d.m_bWBSampleRect;
  if (key == "FocusPosition_x") return d.m_nFocusPositionX;
  if (key == "FocusPosition_y") return d.m_nFocusPositionY;
  if (key == "ImageProfilePosition") return d.m_nImageProfilePosition;
  if (key == "TotalShots") return d.m_nTotalShots;
  if (key == "RGBRed") return d.m_nRGBRed;
  if (key == "PCIaddress") return d.m_camera.PCIaddress;
  if (key == "InterPolationMethod") return d.m_camera.InterPolationMethod;
  if (key == "zoom") return static_cast<long long>(d.m_camera.zoom * 10);
  if (key == "GainLevel") return d.m_nGainLevel;
  ADD_FAILURE() << "no accessor for " << key;
  return 0;
}

TEST_F(VexDocSettings, LoadedValuesAreCheckedOrReplaced) {
  const LoadCase cases[] = {
      {"USER", "FileFormat", "9", 4},
      {"USER", "FileFormat", "3", 3},
      {"USER", "ExposureTime", "-1", 27},
      {"USER", "ExposureTime", "33", 27},
      {"USER", "ExposureTime", "32", 32},
      {"USER", "ExposureTime", "abc", 0},  // not a number reads as 0, which is in range
      {"USER", "IntervalMin", "60", 0},
      {"USER", "IntervalHour", "100", 0},
      {"USER", "IntervalHour", "99", 99},
      {"USER", "IntervalSec", "-1", 0},
      {"USER", "LongExposureTime", "0", 1},
      {"USER", "QuickPhotoMode", "9", 10},
      {"USER", "WBSampleRect", "2", 1},
      {"USER", "FocusPosition_x", "39", 320},
      {"USER", "FocusPosition_x", "40", 40},
      {"USER", "FocusPosition_y", "473", 256},
      {"USER", "ImageProfilePosition", "0", 256},
      {"USER", "ImageProfilePosition", "513", 256},
      {"USER", "TotalShots", "4000000000", 4000000000LL},  // unchecked keys keep all 32 bits
      {"USER", "RGBRed", "65535", -1},                     // low 16 bits, sign-extended
      {"CAMERA", "PCIaddress", "4294967295", 4294967295LL},
      {"CAMERA", "InterPolationMethod", "258", 2},  // low 8 bits
      {"CAMERA", "zoom", "15", 15},
      {"SYSTEM", "GainLevel", "-4", -4},
  };
  // One document loads every case from a file of its own, as it does at start.
  const char kCase[] = "C:\\case.ini";
  auto& src = TheSettingSources();
  src.hasIniFile = 1;
  src.iniFilePath = kCase;
  CVexDoc doc;
  for (const LoadCase& c : cases) {
    SCOPED_TRACE(std::string(c.section) + "." + c.key + "=" + c.stored);
    DeleteFileA(kCase);
    Write(c.section, c.key, c.stored, kCase);
    doc.LoadSettings();
    EXPECT_EQ(ValueOf(doc, c.key), c.expected);
  }
  src = VexSettingSources{};
}

TEST_F(VexDocSettings, RectangleNeedsAllFourNumbers) {
  const struct {
    const char* stored;
    LONG left, bottom;
  } cases[] = {
      {"1,2,3,4", 1, 4},
      {"1,2,3", 135, 153},  // damaged: the built-in sample rectangle stays
      {"a,b,c,d", 135, 153},
      {"", 135, 153},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    DeleteFileA(kDefaultIni);
    Write("SYSTEM", "WhiteBalanceRect", c.stored);
    auto doc = std::make_unique<CVexDoc>();
    EXPECT_EQ(doc->m_rcWhiteBalance.left, c.left);
    EXPECT_EQ(doc->m_rcWhiteBalance.bottom, c.bottom);
  }
}

TEST_F(VexDocSettings, LongTextIsCutToItsBuffer) {
  std::string longText(400, 'x');
  Write("USER", "SavePrefix", longText.c_str());
  Write("SYSTEM", "SaveName", longText.c_str());
  CVexDoc doc;
  EXPECT_EQ(std::string(doc.m_szSavePrefix), std::string(254, 'x'));
  EXPECT_EQ(doc.m_strSaveName.GetLength(), 254);
}

TEST_F(VexDocSettings, SettingFileGivesUserButExitWritesTheIni) {
  const char kIni[] = "C:\\Data\\lab.ini";
  const char kSet[] = "C:\\Data\\MySet.vex";
  CreateDirectoryA("C:\\Data", nullptr);
  Write("USER", "ExposureTime", "5", kIni);
  Write("SYSTEM", "SaveQuality", "3", kIni);
  Write("USER", "ExposureTime", "9", kSet);
  auto& src = TheSettingSources();
  src.hasIniFile = 1;
  src.iniFilePath = kIni;
  src.hasSettingFile = 1;
  src.settingFilePath = kSet;
  {
    CVexDoc doc;
    EXPECT_EQ(doc.m_nExposureTime, 9u);
    EXPECT_EQ(doc.m_nSaveQuality, 3);
    EXPECT_EQ(doc.GetCurrentSettingFile(), CString(kSet));
    EXPECT_EQ(doc.GetCompanionPath(), CString("C:\\Data\\lab.tdt"));
    doc.m_nExposureTime = 11;
  }
  EXPECT_EQ(Read("USER", "ExposureTime", kIni), "11");
  EXPECT_EQ(Read("USER", "ExposureTime", kSet), "9");
  EXPECT_EQ(Read("SYSTEM", "SaveQuality", kSet), "<missing>");
  EXPECT_EQ(GetFileAttributesA(kDefaultIni), INVALID_FILE_ATTRIBUTES);
}

TEST_F(VexDocSettings, ResetStartsFromDefaultsAndSavesToTheDefaultIni) {
  const char kIni[] = "C:\\Lumora\\.ini";  // what /r alone makes of the program folder
  Write("USER", "ExposureTime", "5", kIni);
  auto& src = TheSettingSources();
  src.hasIniFile = 1;
  src.iniFilePath = kIni;
  src.resetRequested = 1;
  {
    CVexDoc doc;
    EXPECT_EQ(doc.m_nExposureTime, 27u);
    doc.m_nExposureTime = 30;
  }
  EXPECT_EQ(Read("USER", "ExposureTime"), "30");
  EXPECT_EQ(Read("USER", "ExposureTime", kIni), "5");
}

TEST_F(VexDocSettings, SettingFileHoldsUserAloneAndKeepsFocusFurtherIn) {
  const char kSet[] = "C:\\a.vex";
  CVexDoc doc;
  doc.m_nExposureTime = 3;
  doc.m_nFocusPositionX = 45;
  doc.SaveSettingFile(kSet);
  EXPECT_EQ(Read("USER", "ExposureTime", kSet), "3");
  EXPECT_EQ(Read("SYSTEM", "SaveQuality", kSet), "<missing>");
  EXPECT_EQ(Read("CAMERA", "zoom", kSet), "<missing>");
  EXPECT_TRUE(doc.GetCurrentSettingFile().IsEmpty());

  doc.m_nExposureTime = 20;
  doc.m_nSaveQuality = 2;
  doc.LoadSettingFile(kSet);
  EXPECT_EQ(doc.m_nExposureTime, 3u);
  EXPECT_EQ(doc.m_nSaveQuality, 2);
  EXPECT_EQ(doc.m_nFocusPositionX, 320);  // 45 is too close to the edge for a setting file
  EXPECT_EQ(doc.IsLoadingSettingFile(), 0);
}

TEST(VexDocCompanionPath, ReplacesOnlyTheFinalExtension) {
  const struct {
    const char* ini;
    const char* companion;
  } cases[] = {
      {"C:\\Lumora\\Lumora.ini", "C:\\Lumora\\Lumora.tdt"},
      {"C:\\x.ini\\Lumora.ini", "C:\\x.ini\\Lumora.tdt"},
      {"D:\\x", "D:\\x.tdt"},
      {"C:\\cfg\\lab.INI", "C:\\cfg\\lab.tdt"},
      {"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.ini);
    EXPECT_EQ(CVexDoc::MakeCompanionPath(c.ini), CString(c.companion));
  }
}

}  // namespace
