// CVexDoc: the program's model. Every user, system and camera setting lives here; the
// settings are read once when the document is built and written once when it goes away.
#pragma once
#include <afxwin.h>

#include <string>
#include <vector>

#include "tCameraSettings.h"

// What the command line chose for the settings files. The application fills it in
// before the framework creates the document; the document reads it on load and save.
struct VexSettingSources {
  int hasSettingFile = 0;
  int hasIniFile = 0;
  int resetRequested = 0;
  CString settingFilePath;
  CString iniFilePath;
};
VexSettingSources& TheSettingSources();

// One numeric key bound to a document variable; `kind` gives the variable's width and
// the text form of its value.
struct IniNumericEntry {
  std::string name;
  LONG defaultValue = 0;
  void* variable = nullptr;
  int kind = 0;
};

// One text key: a character buffer (4, with its size), a CString (5) or a RECT (6).
struct IniStringEntry {
  std::string name;
  std::string defaultText;
  void* variable = nullptr;
  int kind = 0;
  size_t bufferSize = 0;
};

class CVexDoc : public CDocument {
  DECLARE_DYNCREATE(CVexDoc)
 public:
  CVexDoc();
  ~CVexDoc() override;
  BOOL OnNewDocument() override;

  void LoadSettings();
  void SaveSettings();
  void LoadSettingFile(const CString& path);
  void SaveSettingFile(const CString& path);
  static CString GetDefaultIniPath();
  // The user-tool list lives beside the INI file.
  static CString MakeCompanionPath(const CString& iniPath);

  void ReadUserSection(LPCSTR path);
  void ReadSystemSection(LPCSTR path);
  void ReadCameraSection(LPCSTR path);
  void WriteUserSection(LPCSTR path);
  void WriteSystemSection(LPCSTR path);
  void WriteCameraSection(LPCSTR path);
  // The range, interval and position checks after a USER section was read; the setting
  // file keeps the focus point further from the edges.
  void CheckUserValues(bool settingFileBounds);

  const CString& GetCurrentSettingFile() const { return m_strSettingFile; }
  const CString& GetCompanionPath() const { return m_strCompanionPath; }
  int IsLoadingSettingFile() const { return m_bLoadingSettingFile; }

  // USER
  char m_szSaveFolder[260] = {};
  char m_szSavePrefix[256] = {};
  char m_szSaveBody[256] = {};
  DWORD m_nSensitivity = 0, m_nExposureTime = 0, m_nLongExposureMode = 0, m_nLongExposureTime = 0;
  DWORD m_nFinePhotoMode = 0, m_nFineMode = 0, m_nQuickPhotoMode = 0, m_nFileFormat = 0;
  DWORD m_bAutoSave = 0, m_bLiveWindowLeft = 0, m_bFlip = 0, m_nDirection = 0, m_bWBSampleRect = 0;
  DWORD m_nFocusTargetState = 0, m_nFocusTargetDocking = 0;
  DWORD m_bEnableTimeLapse = 0, m_bResizeSave = 0, m_nResizeSaveSize = 0, m_bAutoPrint = 0, m_bAutoEnhance = 0;
  DWORD m_nContrastOffset = 0, m_nSharpnessOffset = 0, m_nLevelOffset = 0, m_nColorMode = 0;
  DWORD m_nIntervalHour = 0, m_nIntervalMin = 0, m_nIntervalSec = 0, m_nTotalShots = 0;
  // A second hour-minute-second triple kept beside the interval; it has no keys but is
  // checked like it.
  DWORD m_nElapsedHour = 0, m_nElapsedMin = 0, m_nElapsedSec = 0;
  DWORD m_nImageProfileState = 0;
  SHORT m_nImageProfilePosition = 0;
  LONG m_nFocusPositionX = 0, m_nFocusPositionY = 0, m_nPrintLayoutType = 0;
  DWORD m_nPrintLayoutTitle = 0, m_bAutoNoiseReduction = 0, m_nShootTargetX = 0, m_nShootTargetY = 0;
  DWORD m_nRGBOption = 0, m_nRGBLive = 0;
  SHORT m_nRGBRed = 0, m_nRGBGreen = 0, m_nRGBBlue = 0;
  DWORD m_nShadingOption = 0, m_nShadingLive = 0;
  int m_nShadingLevel = 0;
  DWORD m_nAutoEnhanceLive = 0, m_bExternalTrigger = 0;

  // SYSTEM
  RECT m_rcWhiteBalance = {135, 103, 185, 153};
  CString m_strLoadPath, m_strSavePath, m_strSaveName;
  CString m_strAnnText, m_strAnnRect, m_strAnnEllipse, m_strAnnPolygon;
  CString m_strAnnFreeLine, m_strAnnLine, m_strAnnPolyLine;
  CString m_strScale[8];
  CString m_strPrintTitleFont;
  SHORT m_nGainLevel = 0, m_nShootExpTimeMode = 0, m_nShootExpTimeParam = 0, m_nLiveExpTimeMode = 0;
  SHORT m_nLiveExpTimeParam = 0, m_nShootExposureMode = 0, m_nShootZoomMode = 0;
  SHORT m_nShootInterpolation = 0, m_nLiveInterpolation = 0, m_nShootBufferSize = 0, m_nLiveBufferSize = 0;
  DWORD m_bDir90 = 0;
  SHORT m_nRotateReverseMode = 0;
  DWORD m_bMonochromeMode = 0, m_bInvertColorMode = 0;
  int m_nSaveFormat = 0, m_nSaveBits = 0, m_nSaveQuality = 0;
  DWORD m_bScaleOnLive = 0, m_bScaleOnCaptured = 0;
  int m_nScaleSelect = 0, m_nPrintFontSize = 0;

  // CAMERA
  tCameraSettings m_camera{};

  const std::vector<IniStringEntry>& UserStrings() const { return m_userStrings; }
  const std::vector<IniNumericEntry>& UserNumbers() const { return m_userNumbers; }

 private:
  void InitCameraSettings();
  void BuildUserTable();
  void BuildSystemTable();
  void BuildCameraTable();
  static void ReadNumericEntry(LPCSTR section, const IniNumericEntry& e, LPCSTR path);
  static void ReadStringEntry(LPCSTR section, const IniStringEntry& e, LPCSTR path);
  static void WriteNumericEntry(LPCSTR section, const IniNumericEntry& e, LPCSTR path);
  static void WriteStringEntry(LPCSTR section, const IniStringEntry& e, LPCSTR path);
  void ReadSection(LPCSTR section, const std::vector<IniStringEntry>& s, const std::vector<IniNumericEntry>& n,
                   LPCSTR path);
  void WriteSection(LPCSTR section, const std::vector<IniStringEntry>& s, const std::vector<IniNumericEntry>& n,
                    LPCSTR path);

  std::vector<IniStringEntry> m_userStrings, m_systemStrings;
  std::vector<IniNumericEntry> m_userNumbers, m_systemNumbers, m_cameraNumbers;
  CString m_strSettingFile;
  CString m_strCompanionPath;
  int m_bLoadingSettingFile = 0;
};
