// CVexDoc: the key tables and how they are read from and written to INI files.
#include <cstdio>
#include <cstring>
#include <strings.h>
#include <algorithm>
#include <string>

#include "VexDoc.h"
#include "ui/MainFrame.h"

namespace {

constexpr char kUser[] = "USER";
constexpr char kSystem[] = "SYSTEM";
constexpr char kCamera[] = "CAMERA";
// A bare profile name that is never expected to exist: every key reads its default.
constexpr char kNoFile[] = "Nothing";
constexpr DWORD kTextBuffer = 255;

const char kFontDefault[] = "ffffffc0,0,0,0,190,0,0,0,80,3,2,1,32,0,ffff00,1e0,1,FONT=ＭＳ Ｐゴシック";

IniNumericEntry Num(const char* name, LONG def, void* var, int kind) { return {name, def, var, kind}; }
IniStringEntry Str(const char* name, const char* def, void* var, int kind, size_t size = 0) {
  return {name, def, var, kind, size};
}

// The checks applied to USER values after every load: out of range means the fallback.
struct SettingRange {
  DWORD CVexDoc::* value;
  DWORD minimum, maximum, fallback;
};
const SettingRange kRanges[] = {
    {&CVexDoc::m_nSensitivity, 0, 2, 0},       {&CVexDoc::m_nExposureTime, 0, 32, 27},
    {&CVexDoc::m_nLongExposureMode, 0, 1, 0},  {&CVexDoc::m_nLongExposureTime, 1, 170, 1},
    {&CVexDoc::m_nFinePhotoMode, 0, 9, 0},     {&CVexDoc::m_nFineMode, 0, 1, 0},
    {&CVexDoc::m_nQuickPhotoMode, 10, 13, 10}, {&CVexDoc::m_nFileFormat, 0, 3, 4},
    {&CVexDoc::m_bAutoSave, 0, 1, 0},          {&CVexDoc::m_bLiveWindowLeft, 0, 1, 0},
    {&CVexDoc::m_bFlip, 0, 1, 0},              {&CVexDoc::m_nDirection, 0, 3, 0},
    {&CVexDoc::m_bWBSampleRect, 0, 1, 1},      {&CVexDoc::m_bEnableTimeLapse, 0, 1, 0},
    {&CVexDoc::m_bResizeSave, 0, 1, 0},        {&CVexDoc::m_nResizeSaveSize, 0, 2, 0},
    {&CVexDoc::m_bAutoPrint, 0, 1, 0},         {&CVexDoc::m_bAutoEnhance, 0, 1, 0},
    {&CVexDoc::m_nContrastOffset, 0, 15, 0},   {&CVexDoc::m_nSharpnessOffset, 0, 15, 0},
    {&CVexDoc::m_nLevelOffset, 0, 15, 0},      {&CVexDoc::m_nColorMode, 0, 2, 0},
    {&CVexDoc::m_bAutoNoiseReduction, 0, 1, 0},
};

}  // namespace

VexSettingSources& TheSettingSources() {
  static VexSettingSources sources;
  return sources;
}

void CVexDoc::InitCameraSettings() {
  tCameraSettings& c = m_camera;
  c = tCameraSettings{};
  c.EdgeAppLevelStd = 4;
  c.EdgeAppLevelHigh = 4;
  c.EdgeAppLevelBw = 8;
  c.ContrastLevelBw = 8;
  c.Command_Repeat = 1;
  c.Camera_Ctrl = 128;
  for (int r = 0; r < 3; ++r) {
    c.WBGain[r][0] = 30 + 30 * r;
    c.WBGain[r][1] = c.WBGain[r][2] = 10 + 30 * r;
    c.WBGain[r][3] = 50 + 30 * r;
    for (int col = 0; col < 4; ++col) c.BB_Lev[r][col] = 128;
  }
  for (LONG& b : c.Black_Level) b = 128;
  c.AdTop = 130;
  c.ExpMode = 1;
  c.ExpParam = 1024;
  c.AutoExpThresh = 1;
  c.TranMode = 5;
  c.zoom = 1.0;
  c.InterPolationMethod = 2;  // the load replaces it with the key's default 1
  c.Mode = 6144;
  c.PCIaddress = 0xFFFFFFFFu;
  c.Mosaic[0] = 2;
  c.Mosaic[1] = 3;
  c.Mosaic[2] = 0;
  c.Mosaic[3] = 1;
  c.CameraVer = 2671;
  c.MotionDetCount = 3;
  c.BoardRevision = 1;
  c.BoardCount = 1;
  // No CAMERA key carries these three: white balance runs its three passes and the level
  // tables take the first gamma curve unless someone sets them otherwise.
  c.WBAllLevels = 30 | (50 << 8) | (70 << 16);
  c.GammaMode = 1;
  c.Unused = 1;
}

void CVexDoc::BuildUserTable() {
  m_userStrings = {
      Str("SaveFolder", "C:\\Image", m_szSaveFolder, 4, sizeof m_szSaveFolder),
      Str("SavePrefix", "Img_", m_szSavePrefix, 4, sizeof m_szSavePrefix),
      Str("SaveBody", "$###", m_szSaveBody, 4, sizeof m_szSaveBody),
  };
  m_userNumbers = {
      Num("Sensitivity", 0, &m_nSensitivity, 0),
      Num("ExposureTime", 27, &m_nExposureTime, 0),
      Num("LongExposureMode", 0, &m_nLongExposureMode, 0),
      Num("LongExposureTime", 1, &m_nLongExposureTime, 0),
      Num("FinePhotoMode", 0, &m_nFinePhotoMode, 0),
      Num("FineMode", 1, &m_nFineMode, 0),
      Num("QuickPhotoMode", 10, &m_nQuickPhotoMode, 0),
      Num("FileFormat", 4, &m_nFileFormat, 0),
      Num("AutoSave", 0, &m_bAutoSave, 0),
      Num("LiveWindowLeft", 0, &m_bLiveWindowLeft, 0),
      Num("Flip", 0, &m_bFlip, 0),
      Num("Direction", 0, &m_nDirection, 0),
      Num("WBSampleRect", 1, &m_bWBSampleRect, 0),
      Num("FocusTargetState", 1, &m_nFocusTargetState, 0),
      Num("FocusTargetDocking", 1, &m_nFocusTargetDocking, 0),
      Num("EnableTimeLapse", 0, &m_bEnableTimeLapse, 0),
      Num("ResizeSave", 0, &m_bResizeSave, 0),
      Num("ResizeSaveSize", 0, &m_nResizeSaveSize, 0),
      Num("AutoPrint", 0, &m_bAutoPrint, 0),
      Num("AutoEnhance", 0, &m_bAutoEnhance, 0),
      Num("ContrastOffset", 0, &m_nContrastOffset, 0),
      Num("SharpnessOffset", 0, &m_nSharpnessOffset, 0),
      Num("LevelOffset", 0, &m_nLevelOffset, 0),
      Num("ColorMode", 0, &m_nColorMode, 0),
      Num("IntervalHour", 0, &m_nIntervalHour, 0),
      Num("IntervalMin", 0, &m_nIntervalMin, 0),
      Num("IntervalSec", 0, &m_nIntervalSec, 0),
      Num("TotalShots", 0, &m_nTotalShots, 0),
      Num("ImageProfileState", 0, &m_nImageProfileState, 0),
      Num("ImageProfilePosition", 50, &m_nImageProfilePosition, 1),
      Num("FocusPosition_x", 320, &m_nFocusPositionX, 3),
      Num("FocusPosition_y", 256, &m_nFocusPositionY, 3),
      Num("PrintLayoutType", 1, &m_nPrintLayoutType, 3),
      Num("PrintLayoutTitle", 1, &m_nPrintLayoutTitle, 0),
      Num("AutoNoiseReduction", 0, &m_bAutoNoiseReduction, 0),
      Num("ShootTargetPoint_x", 0, &m_nShootTargetX, 0),
      Num("ShootTargetPoint_y", 0, &m_nShootTargetY, 0),
      Num("RGBOption", 0, &m_nRGBOption, 0),
      Num("RGBLive", 0, &m_nRGBLive, 0),
      Num("RGBRed", 0, &m_nRGBRed, 1),
      Num("RGBGreen", 0, &m_nRGBGreen, 1),
      Num("RGBBlue", 0, &m_nRGBBlue, 1),
      Num("ShadingOption", 0, &m_nShadingOption, 0),
      Num("ShadingLive", 0, &m_nShadingLive, 0),
      Num("ShadingLevel", 0, &m_nShadingLevel, 2),
      Num("AutoEnhanceLive", 0, &m_nAutoEnhanceLive, 0),
      Num("ExternalTrigger", 0, &m_bExternalTrigger, 0),
  };
}

void CVexDoc::BuildSystemTable() {
  m_systemStrings = {
      Str("WhiteBalanceRect", "318,254,322,258", &m_rcWhiteBalance, 6),
      Str("LoadPath", "C:\\Image\\", &m_strLoadPath, 5),
      Str("SavePath", "C:\\Image\\", &m_strSavePath, 5),
      Str("SaveName", "Temp.jpg", &m_strSaveName, 5),
      Str("AnnText", kFontDefault, &m_strAnnText, 5),
      Str("AnnRect", "1,0,0,0,0,0", &m_strAnnRect, 5),
      Str("AnnEllipse", "1,0,0,0,0,0", &m_strAnnEllipse, 5),
      Str("AnnPolygon", "1,0,0,0,0,0", &m_strAnnPolygon, 5),
      Str("AnnFreeLine", "1,0,0,0", &m_strAnnFreeLine, 5),
      Str("AnnLine", "1,0,0,0", &m_strAnnLine, 5),
      Str("AnnPolyLine", "1,0,0,0", &m_strAnnPolyLine, 5),
  };
  for (int i = 0; i < 8; ++i) {
    char key[16];
    char def[96];
    std::snprintf(key, sizeof key, "Scale%d", i);
    std::snprintf(def, sizeof def, "Scale %d,0,10,0.0,2,640,512,0,ff00,0,0,3,1.0,1.0,1,1.0,2,1,1.0,2,0", i);
    m_systemStrings.push_back(Str(key, def, &m_strScale[i], 5));
  }
  m_systemStrings.push_back(Str("PrintTitleFont", kFontDefault, &m_strPrintTitleFont, 5));

  m_systemNumbers = {
      Num("GainLevel", 0, &m_nGainLevel, 1),
      Num("ShootExposureTimeMode", 1, &m_nShootExpTimeMode, 1),
      Num("ShootExposureTimeParameter", 27, &m_nShootExpTimeParam, 1),
      Num("LiveExposureTimeMode", 1, &m_nLiveExpTimeMode, 1),
      Num("LiveExposureTimeParameter", 27, &m_nLiveExpTimeParam, 1),
      Num("ShootExposureMode", 5, &m_nShootExposureMode, 1),
      Num("ShootZoomMode", 1, &m_nShootZoomMode, 1),
      Num("ShootInterpolationMode", 2, &m_nShootInterpolation, 1),
      Num("LiveInterpolationMode", 1, &m_nLiveInterpolation, 1),
      Num("ShootBufferSize", 0, &m_nShootBufferSize, 1),
      Num("LiveBufferSize", 14, &m_nLiveBufferSize, 1),
      Num("Dir90", 0, &m_bDir90, 0),
      Num("RotateReverseMode", 0, &m_nRotateReverseMode, 1),
      Num("MonochromeMode", 0, &m_bMonochromeMode, 0),
      Num("InvertColorMode", 0, &m_bInvertColorMode, 0),
      Num("SaveFormat", 98, &m_nSaveFormat, 2),
      Num("SaveBits", 24, &m_nSaveBits, 2),
      Num("SaveQuality", 6, &m_nSaveQuality, 2),
      Num("ScaleOnLive", 0, &m_bScaleOnLive, 0),
      Num("ScaleOnCaptured", 0, &m_bScaleOnCaptured, 0),
      Num("ScaleSelect", 0, &m_nScaleSelect, 2),
      Num("PrintFontSize", 20, &m_nPrintFontSize, 2),
  };
}

void CVexDoc::BuildCameraTable() {
  tCameraSettings& c = m_camera;
  auto& t = m_cameraNumbers;
  t = {
      Num("bAbort", 0, &c.bAbort, 0),
      Num("bAutoLevel", 0, &c.bAutoLevel, 0),
      Num("nAutoLevelHalf", 0, &c.nAutoLevelHalf, 1),
      Num("nAutoLevelStd", 0, &c.nAutoLevelStd, 1),
      Num("nAutoLevelHigh", 0, &c.nAutoLevelHigh, 1),
      Num("nAutoLevelBw", 0, &c.nAutoLevelBw, 1),
      Num("bEdgeApp", 0, &c.bEdgeApp, 0),
      Num("EdgeAppLevelHalf", 0, &c.EdgeAppLevelHalf, 2),
      Num("EdgeAppLevelStd", 4, &c.EdgeAppLevelStd, 2),
      Num("EdgeAppLevelHigh", 4, &c.EdgeAppLevelHigh, 2),
      Num("EdgeAppLevelBw", 8, &c.EdgeAppLevelBw, 2),
      Num("bExtraCont", 0, &c.bExtraCont, 0),
      Num("ContrastLevelHalf", 0, &c.ContrastLevelHalf, 2),
      Num("ContrastLevelStd", 0, &c.ContrastLevelStd, 2),
      Num("ContrastLevelHigh", 0, &c.ContrastLevelHigh, 2),
      Num("ContrastLevelBw", 8, &c.ContrastLevelBw, 2),
      Num("Command_Repeat", 1, &c.Command_Repeat, 2),
      Num("Camera_Ctrl", 128, &c.Camera_Ctrl, 2),
      Num("GainLv", 0, &c.GainLv, 2),
  };
  char key[32];
  for (int r = 0; r < 3; ++r)
    for (int col = 0; col < 4; ++col) {
      std::snprintf(key, sizeof key, "WBGain[%d][%d]", r, col);
      LONG def = (col == 0 ? 30 : col == 3 ? 50 : 10) + 30 * r;
      t.push_back(Num(key, def, &c.WBGain[r][col], 2));
    }
  for (int r = 0; r < 3; ++r)
    for (int col = 0; col < 4; ++col) {
      std::snprintf(key, sizeof key, "BB_Lev[%d][%d]", r, col);
      t.push_back(Num(key, 128, &c.BB_Lev[r][col], 2));
    }
  for (int i = 0; i < 4; ++i) {
    std::snprintf(key, sizeof key, "Black_Level[%d]", i);
    t.push_back(Num(key, 128, &c.Black_Level[i], 2));
  }
  t.push_back(Num("AdTop", 130, &c.AdTop, 2));
  for (int i = 0; i < 4; ++i) {
    std::snprintf(key, sizeof key, "AGCGain[%d]", i);
    t.push_back(Num(key, 0, &c.AGCGain[i], 2));
  }
  t.push_back(Num("ExpMode", 1, &c.ExpMode, 2));
  t.push_back(Num("ExpParam", 1024, &c.ExpParam, 2));
  t.push_back(Num("AutoExpThresh", 1, &c.AutoExpThresh, 2));
  t.push_back(Num("TranMode", 5, &c.TranMode, 2));
  t.push_back(Num("zoom", 10, &c.zoom, 7));
  t.push_back(Num("InterPolationMethod", 1, &c.InterPolationMethod, 8));
  t.push_back(Num("Mode", 6144, &c.Mode, 2));
  t.push_back(Num("PCIaddress", -1, &c.PCIaddress, 9));
  for (int i = 0; i < 3; ++i) {
    std::snprintf(key, sizeof key, "Progress[%d]", i);
    t.push_back(Num(key, 0, &c.Progress[i], 8));
  }
  const LONG mosaic[4] = {2, 3, 0, 1};
  for (int i = 0; i < 4; ++i) {
    std::snprintf(key, sizeof key, "Mosaic[%d]", i);
    t.push_back(Num(key, mosaic[i], &c.Mosaic[i], 2));
  }
  t.push_back(Num("bSwitched", 0, &c.bSwitched, 0));
  t.push_back(Num("Camera_Status", 0, &c.Camera_Status, 1));
  t.push_back(Num("CameraVer", 2671, &c.CameraVer, 2));
  t.push_back(Num("bPCI", 0, &c.bPCI, 0));
  t.push_back(Num("bISA", 0, &c.bISA, 0));
  t.push_back(Num("OHPTranMode", 0, &c.OHPTranMode, 2));
  t.push_back(Num("MotionDetCount", 3, &c.MotionDetCount, 2));
}

void CVexDoc::ReadNumericEntry(LPCSTR section, const IniNumericEntry& e, LPCSTR path) {
  UINT v = GetPrivateProfileIntA(section, e.name.c_str(), e.defaultValue, path);
  switch (e.kind) {
    case 0: case 2: case 3: case 9:
      std::memcpy(e.variable, &v, sizeof v);  // all four widths are 32 bits
      break;
    case 1: {
      SHORT s = static_cast<SHORT>(v & 0xFFFF);
      std::memcpy(e.variable, &s, sizeof s);
      break;
    }
    case 7:
      *static_cast<double*>(e.variable) = static_cast<int>(v) / 10.0;
      break;
    case 8:
      *static_cast<BYTE*>(e.variable) = static_cast<BYTE>(v & 0xFF);
      break;
    default:
      break;
  }
}

BOOL CVexDoc::WriteNumericEntry(LPCSTR section, const IniNumericEntry& e, LPCSTR path) {
  char text[32] = {};
  switch (e.kind) {
    case 0: case 9: {
      DWORD v;
      std::memcpy(&v, e.variable, sizeof v);
      std::snprintf(text, sizeof text, "%u", v);
      break;
    }
    case 2: case 3: {
      LONG v;
      std::memcpy(&v, e.variable, sizeof v);
      std::snprintf(text, sizeof text, "%d", v);
      break;
    }
    case 1:
      std::snprintf(text, sizeof text, "%d", *static_cast<const SHORT*>(e.variable));
      break;
    case 7:
      std::snprintf(text, sizeof text, "%d", static_cast<int>(*static_cast<const double*>(e.variable) * 10));
      break;
    case 8:
      std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(*static_cast<const BYTE*>(e.variable)));
      break;
    default:
      return TRUE;  // kinds without a written form are not kept in files
  }
  return WritePrivateProfileStringA(section, e.name.c_str(), text, path);
}

void CVexDoc::ReadStringEntry(LPCSTR section, const IniStringEntry& e, LPCSTR path) {
  char text[kTextBuffer + 1] = {};
  GetPrivateProfileStringA(section, e.name.c_str(), e.defaultText.c_str(), text, kTextBuffer, path);
  switch (e.kind) {
    case 4: {
      // Bounded by the variable's own buffer as well as by the read buffer.
      size_t n = std::min(std::strlen(text), e.bufferSize - 1);
      std::memcpy(e.variable, text, n);
      static_cast<char*>(e.variable)[n] = '\0';
      break;
    }
    case 5:
      *static_cast<CString*>(e.variable) = text;
      break;
    case 6: {
      int l, t, r, b;
      char tail;
      // All four numbers or nothing: a damaged rectangle keeps the one in force.
      if (std::sscanf(text, "%d,%d,%d,%d%c", &l, &t, &r, &b, &tail) == 4)
        *static_cast<RECT*>(e.variable) = RECT{l, t, r, b};
      break;
    }
    default:
      break;
  }
}

BOOL CVexDoc::WriteStringEntry(LPCSTR section, const IniStringEntry& e, LPCSTR path) {
  switch (e.kind) {
    case 4:
      return WritePrivateProfileStringA(section, e.name.c_str(), static_cast<const char*>(e.variable), path);
    case 5:
      return WritePrivateProfileStringA(section, e.name.c_str(), (LPCSTR)*static_cast<const CString*>(e.variable), path);
    case 6: {
      const RECT& rc = *static_cast<const RECT*>(e.variable);
      char text[64];
      std::snprintf(text, sizeof text, "%d,%d,%d,%d", rc.left, rc.top, rc.right, rc.bottom);
      return WritePrivateProfileStringA(section, e.name.c_str(), text, path);
    }
    default:
      MessageBoxA(nullptr, "Ini File Output", "Lumora Error", MB_ICONERROR);
      return TRUE;
  }
}

void CVexDoc::ReadSection(LPCSTR section, const std::vector<IniStringEntry>& s,
                          const std::vector<IniNumericEntry>& n, LPCSTR path) {
  for (const auto& e : s) ReadStringEntry(section, e, path);
  for (const auto& e : n) ReadNumericEntry(section, e, path);
}

BOOL CVexDoc::WriteSection(LPCSTR section, const std::vector<IniStringEntry>& s,
                           const std::vector<IniNumericEntry>& n, LPCSTR path) {
  // Every key is tried; the section counts as written only when all of them were.
  BOOL ok = TRUE;
  for (const auto& e : s) ok = WriteStringEntry(section, e, path) && ok;
  for (const auto& e : n) ok = WriteNumericEntry(section, e, path) && ok;
  return ok;
}

void CVexDoc::ReadUserSection(LPCSTR path) { ReadSection(kUser, m_userStrings, m_userNumbers, path); }
void CVexDoc::ReadSystemSection(LPCSTR path) { ReadSection(kSystem, m_systemStrings, m_systemNumbers, path); }
void CVexDoc::ReadCameraSection(LPCSTR path) { ReadSection(kCamera, {}, m_cameraNumbers, path); }
BOOL CVexDoc::WriteUserSection(LPCSTR path) { return WriteSection(kUser, m_userStrings, m_userNumbers, path); }
BOOL CVexDoc::WriteSystemSection(LPCSTR path) {
  return WriteSection(kSystem, m_systemStrings, m_systemNumbers, path);
}
BOOL CVexDoc::WriteCameraSection(LPCSTR path) { return WriteSection(kCamera, {}, m_cameraNumbers, path); }

// The keys go one at a time into a copy beside the file, which takes the file's place
// only when every key was written: a write failing part-way (a full disk) leaves the
// file as it was, and the failure is reported as a settings file not written.
BOOL CVexDoc::WriteSettingsFile(const CString& target, int detail, BOOL (CVexDoc::*write)(LPCSTR)) {
  const CString copy = target + "~";
  const DWORD attributes = GetFileAttributesA(target);
  BOOL ok = attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY);
  if (ok) {
    DeleteFileA(copy);  // left over from a write that never finished
    if (attributes != INVALID_FILE_ATTRIBUTES) ok = CopyFileA(target, copy, FALSE);
  }
  ok = ok && (this->*write)(copy);
  ok = ok && MoveFileExA(copy, target, MOVEFILE_REPLACE_EXISTING);
  if (!ok) {
    DeleteFileA(copy);
    if (CMainFrame* frame = CMainFrame::Get()) frame->ReportError(2, static_cast<SHORT>(detail));
  }
  return ok;
}

BOOL CVexDoc::WriteAllSections(LPCSTR path) {
  BOOL ok = WriteUserSection(path);
  ok = WriteSystemSection(path) && ok;
  return WriteCameraSection(path) && ok;
}

void CVexDoc::CheckUserValues(bool settingFileBounds) {
  for (const SettingRange& r : kRanges) {
    DWORD& v = this->*r.value;
    if (v < r.minimum || v > r.maximum) v = r.fallback;
  }
  for (DWORD* hour : {&m_nIntervalHour, &m_nElapsedHour})
    if (*hour > 99) *hour = 0;
  for (DWORD* part : {&m_nIntervalMin, &m_nIntervalSec, &m_nElapsedMin, &m_nElapsedSec})
    if (*part > 59) *part = 0;
  const LONG margin = settingFileBounds ? 50 : 40;
  if (m_nFocusPositionX < margin || m_nFocusPositionX > 640 - margin) m_nFocusPositionX = 320;
  if (m_nFocusPositionY < margin || m_nFocusPositionY > 512 - margin) m_nFocusPositionY = 256;
  if (m_nImageProfilePosition < 1 || m_nImageProfilePosition > 512) m_nImageProfilePosition = 256;
}

CString CVexDoc::GetDefaultIniPath() {
  char module[MAX_PATH] = {};
  DWORD n = GetModuleFileNameA(nullptr, module, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return CString();
  char drive[MAX_PATH], dir[MAX_PATH], name[MAX_PATH], ext[MAX_PATH], path[MAX_PATH];
  _splitpath(module, drive, dir, name, ext);
  _makepath(path, drive, dir, name, "ini");
  return CString(path);
}

CString CVexDoc::MakeCompanionPath(const CString& iniPath) {
  std::string p = (LPCSTR)iniPath;
  if (p.empty()) return CString();
  // Only the final extension changes, so a folder named "x.ini" stays intact; a path
  // without ".ini" gets ".tdt" added and never names the INI file itself.
  const std::string ext = ".ini";
  size_t slash = p.find_last_of("\\/");
  size_t base = slash == std::string::npos ? 0 : slash + 1;
  if (p.size() - base >= ext.size() && strcasecmp(p.c_str() + p.size() - ext.size(), ext.c_str()) == 0)
    p.replace(p.size() - ext.size(), ext.size(), ".tdt");
  else
    p += ".tdt";
  return CString(p.c_str());
}

void CVexDoc::LoadSettings() {
  const VexSettingSources& src = TheSettingSources();
  CString ini = src.hasIniFile == 1 ? src.iniFilePath : GetDefaultIniPath();
  m_strCompanionPath = MakeCompanionPath(ini);
  CString user = ini;
  if (src.hasSettingFile == 1) {
    user = src.settingFilePath;
    m_strSettingFile = src.settingFilePath;
  }
  if (src.resetRequested != 1 && !ini.IsEmpty() && GetFileAttributesA(ini) != INVALID_FILE_ATTRIBUTES) {
    ReadUserSection(user);
    ReadSystemSection(ini);
    ReadCameraSection(ini);
  } else {
    ReadUserSection(kNoFile);
    ReadSystemSection(kNoFile);
    ReadCameraSection(kNoFile);
  }
  CheckUserValues(false);
}

void CVexDoc::SaveSettings() {
  FormatAnnotationTexts();
  const VexSettingSources& src = TheSettingSources();
  CString target = (src.hasIniFile != 1 || src.resetRequested == 1) ? GetDefaultIniPath() : src.iniFilePath;
  if (!target.IsEmpty()) WriteSettingsFile(target, 1, &CVexDoc::WriteAllSections);
  SetTitle("Valdane Lumora");
}

void CVexDoc::SaveSettingFile(const CString& path) { WriteSettingsFile(path, 2, &CVexDoc::WriteUserSection); }

void CVexDoc::LoadSettingFile(const CString& path) {
  CMainFrame* frame = CMainFrame::Get();
  if (frame) frame->EnableFrame(FALSE);
  const DWORD wasLeft = m_bLiveWindowLeft;
  m_bLoadingSettingFile = 1;
  ReadUserSection(path);
  CheckUserValues(true);
  if (frame) {
    const bool live = frame->IsLiveRunning() == 1;
    if (live) frame->StopLive();
    frame->BroadcastUpdate(0x10000, 0);
    if (live) frame->StartLive();
    if (m_bLiveWindowLeft != wasLeft) {
      // The swap moves the displays and records the new side itself.
      m_bLiveWindowLeft = wasLeft;
      frame->SwapDisplays();
    }
    frame->EnableFrame(TRUE);
  }
  m_bLoadingSettingFile = 0;
}
