// CVexDoc: the program's model. Every user, system and camera setting lives here; the
// settings are read once when the document is built and written once when it goes away.
//
// Thread rule: the settings belong to the user-interface thread, which alone changes
// them, and only while no worker runs (the frame stops live view around every update
// broadcast). A worker reads settings but writes only the std::atomic members: the error
// record, the shot result, the shoot state, the progress values and the focus value, and
// the camera block's abort flag through std::atomic_ref. A plain member a worker writes
// is a fault.
#pragma once
#include <afxwin.h>

#include <atomic>
#include <initializer_list>
#include <string>
#include <vector>

#include "annotation/objects/AnnObj.h"
#include "control/AnnAttr.h"
#include "control/VexPathlistControl.h"
#include "control/RetouchOpList.h"
#include "control/ShotParameters.h"
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
  DECLARE_MESSAGE_MAP()
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
  // Each answers whether every key was written.
  BOOL WriteUserSection(LPCSTR path);
  BOOL WriteSystemSection(LPCSTR path);
  BOOL WriteCameraSection(LPCSTR path);
  // The range, interval and position checks after a USER section was read; the setting
  // file keeps the focus point further from the edges.
  void CheckUserValues(bool settingFileBounds);

  const CString& GetCurrentSettingFile() const { return m_strSettingFile; }
  const CString& GetCompanionPath() const { return m_strCompanionPath; }
  int IsLoadingSettingFile() const { return m_bLoadingSettingFile; }


  // Camera block: setters answer 1 when they stored the value, 0 when they refused it
  // (and then change nothing); indexed getters answer -9999 for a bad index.
  static constexpr SHORT kBadIndex = -9999;
  int SetAutoLevel(DWORD on) { m_camera.bAutoLevel = on; return 1; }
  DWORD GetAutoLevel() const { return m_camera.bAutoLevel; }
  int SetExtraContrast(DWORD on) { m_camera.bExtraCont = on; return 1; }
  DWORD GetExtraContrast() const { return m_camera.bExtraCont; }
  int SetEdgeApp(DWORD on) { m_camera.bEdgeApp = on; return 1; }
  DWORD GetEdgeApp() const { return m_camera.bEdgeApp; }
  int SetAutoLevelValue(SHORT quality, SHORT value);
  SHORT GetAutoLevelValue(SHORT quality) const;
  int SetContrastLevel(SHORT quality, SHORT value);
  SHORT GetContrastLevel(SHORT quality) const;
  int SetEdgeAppLevel(SHORT quality, SHORT value);
  SHORT GetEdgeAppLevel(SHORT quality) const;
  SHORT GetCommandRepeat() const { return static_cast<SHORT>(m_camera.Command_Repeat); }
  int SetCameraCtrl(SHORT value);
  SHORT GetCameraCtrl() const { return static_cast<SHORT>(m_camera.Camera_Ctrl); }
  int SetWBGain(SHORT row, SHORT col, SHORT value);
  SHORT GetWBGain(SHORT row, SHORT col) const;
  int SetBBLevel(SHORT row, SHORT col, SHORT value);
  SHORT GetBBLevel(SHORT row, SHORT col) const;
  int SetGainLv(SHORT value);
  SHORT GetGainLv() const { return static_cast<SHORT>(m_camera.GainLv); }
  int CopyBlackLevel(SHORT index);
  int ClearAGCGain(SHORT index);
  SHORT GetBlackLevel(SHORT index) const;
  SHORT GetAGCGain(SHORT index) const;
  int SetAdTop(SHORT value);
  SHORT GetAdTop() const { return static_cast<SHORT>(m_camera.AdTop); }
  int SetCameraTableValue(SHORT a, SHORT b, SHORT c, SHORT d, LONG value);
  LONG GetCameraTableValue(SHORT a, SHORT b, SHORT c, SHORT d) const;
  int SetExposure(SHORT mode, SHORT value);
  LONG GetExpMode() const { return m_camera.ExpMode; }
  LONG GetExpParam() const { return m_camera.ExpParam; }
  int SetAutoExpThresh(SHORT value);
  LONG GetAutoExpThresh() const { return m_camera.AutoExpThresh; }
  int SetTranMode(SHORT value);
  SHORT GetTranMode() const { return static_cast<SHORT>(m_camera.TranMode); }
  int SetCameraZoom(SHORT code);
  SHORT GetCameraZoom() const { return m_camera.zoom == 0.5 ? 0 : 1; }
  int SetInterpolationMethod(SHORT value);
  BYTE GetInterpolationMethod() const { return m_camera.InterPolationMethod; }
  int SetMode(SHORT value) { m_camera.Mode = static_cast<DWORD>(static_cast<LONG>(value)); return 1; }
  SHORT GetMode() const { return static_cast<SHORT>(m_camera.Mode); }
  int SetPCIAddress(DWORD address) { m_camera.PCIaddress = address; return 1; }
  DWORD GetPCIAddress() const { return m_camera.PCIaddress; }
  int SetProgress(SHORT index, SHORT value);
  SHORT GetProgress(SHORT index) const;
  SHORT GetMosaic(SHORT index) const;
  void SetSwitched(DWORD on) { m_camera.bSwitched = on; }
  DWORD GetSwitched() const { return m_camera.bSwitched; }
  void SetCameraStatus(SHORT status) { m_camera.Camera_Status = status; }
  SHORT GetCameraStatus() const { return m_camera.Camera_Status; }
  int SetCameraVer(SHORT code);
  SHORT GetCameraVer() const { return static_cast<SHORT>(m_camera.CameraVer); }
  void SetIsaBoard(int flag);
  int IsIsaBoard() const { return m_camera.bPCI != 1 ? 1 : 0; }
  void SetOHPTranMode(LONG v) { m_camera.OHPTranMode = v; }
  LONG GetOHPTranMode() const { return m_camera.OHPTranMode; }
  void SetMotionDetCount(LONG v) { m_camera.MotionDetCount = v; }
  LONG GetMotionDetCount() const { return m_camera.MotionDetCount; }
  void SetTriggerEvent(LONG v) { m_camera.TriggerEvent = v; }
  LONG GetTriggerEvent() const { return m_camera.TriggerEvent; }
  void SetTriggerHold(LONG v) { m_camera.TriggerHold = v; }
  LONG GetTriggerHold() const { return m_camera.TriggerHold; }
  // Boards from revision 217 on run the exposure clock faster.
  int IsNewCameraRevision() const { return m_camera.BoardRevision > 216 ? 1 : 0; }

  // Annotation defaults and scale presets, kept as records and persisted as texts.
  static CString FormatTextAttr(const AnnTextAttr& a);
  static CString FormatLineAttr(const AnnLineAttr& a);
  static CString FormatShapeAttr(const AnnShapeAttr& a);
  static CString FormatScaleInfo(const tScaleInfo& s);
  static void ParseTextAttr(const CString& text, AnnTextAttr& a);
  static void ParseLineAttr(const CString& text, AnnLineAttr& a);
  static void ParseShapeAttr(const CString& text, AnnShapeAttr& a);
  // False (after telling the user) when the text is malformed; the preset is kept.
  static bool ParseScaleInfo(const CString& text, tScaleInfo& s);
  void ParseAnnotationTexts();
  void FormatAnnotationTexts();
  void GetAnnTextAttr(AnnTextAttr& out) const { out = m_annText; }
  void GetAnnLineAttr(AnnLineAttr& out) const { out = m_annLine; }
  void SetAnnLineAttr(const AnnLineAttr& a) { m_annLine = a; }
  void GetAnnShapeAttr(AnnShapeAttr& out) const { out = m_annRect; }
  // The defaults of each kind that a new annotation takes, and the dialogs store.
  void SetAnnTextAttr(const LOGFONTA& font, COLORREF textColor, COLORREF backColor, LONG fontSize, LONG backFilled) {
    m_annText = AnnTextAttr{font, textColor, backColor, fontSize, backFilled};
  }
  void GetAnnPolyLineAttr(AnnLineAttr& out) const { out = m_annPolyLine; }
  void SetAnnPolyLineAttr(const AnnLineAttr& a) { m_annPolyLine = a; }
  void GetAnnFreeLineAttr(AnnLineAttr& out) const { out = m_annFreeLine; }
  void SetAnnFreeLineAttr(const AnnLineAttr& a) { m_annFreeLine = a; }
  void GetAnnRectAttr(AnnShapeAttr& out) const { out = m_annRect; }
  void SetAnnRectAttr(const AnnShapeAttr& a) { m_annRect = a; }
  void GetAnnEllipseAttr(AnnShapeAttr& out) const { out = m_annEllipse; }
  void SetAnnEllipseAttr(const AnnShapeAttr& a) { m_annEllipse = a; }
  void GetAnnPolygonAttr(AnnShapeAttr& out) const { out = m_annPolygon; }
  void SetAnnPolygonAttr(const AnnShapeAttr& a) { m_annPolygon = a; }
  // Selection outside 0..7 is refused; a stored one outside reads as preset 0.
  int SetScaleSelect(int index);
  int GetScaleSelect() const { return m_nScaleSelect >= 0 && m_nScaleSelect < 8 ? m_nScaleSelect : 0; }
  void GetSelectedScale(tScaleInfo& out) const { out = m_scales[GetScaleSelect()]; }
  void SetSelectedScale(const tScaleInfo& in);
  // A preset name as it is stored: commas become blanks, and at most 63 bytes are kept,
  // cut at a whole character.
  static CString FitScaleName(const CString& name);
  void BuildScaleAnnotation(int live, int fullSize, double zoom);
  CAnnObj::CAnnObjInfo* GetAnnObjInfo(int live, int fullSize, double zoom) {
    BuildScaleAnnotation(live, fullSize, zoom);
    return &m_scaleInfo;
  }
  void SetImageHeight(LONG h) { m_nImageHeight = h; }
  CString GetResolutionLabel() const;
  void SetDisplayCorner(SHORT corner) { if (corner >= 0 && corner <= 3) m_nDisplayCorner = corner; }
  SHORT GetDisplayCorner() const { return m_nDisplayCorner; }
  const CString& GetTdtFilePath() const { return m_strCompanionPath; }

  AnnTextAttr m_annText, m_printTitleFont;
  AnnLineAttr m_annLine, m_annPolyLine, m_annFreeLine;
  AnnShapeAttr m_annRect, m_annEllipse, m_annPolygon;
  tScaleInfo m_scales[8];
  CAnnObj::CAnnObjInfo m_scaleInfo;
  LONG m_nImageHeight = 0;
  SHORT m_nDisplayCorner = 0;

  // USER settings: stored as given; the range checks apply when settings are loaded.
  struct TimeLapseInterval {
    DWORD hour, min, sec;
  };
  CVexDoc& SetSensitivity(DWORD v) { m_nSensitivity = v; return *this; }
  DWORD GetSensitivity() const { return m_nSensitivity; }
  CVexDoc& SetExposureTime(DWORD v) { m_nExposureTime = v; return *this; }
  DWORD GetExposureTime() const { return m_nExposureTime; }
  CVexDoc& SetLongExposureMode(DWORD v) { m_nLongExposureMode = v; return *this; }
  DWORD GetLongExposureMode() const { return m_nLongExposureMode; }
  CVexDoc& SetLongExposureTime(DWORD v) { m_nLongExposureTime = v; return *this; }
  DWORD GetLongExposureTime() const { return m_nLongExposureTime; }
  CVexDoc& SetFinePhotoMode(DWORD v) { m_nFinePhotoMode = v; return *this; }
  DWORD GetFinePhotoMode() const { return m_nFinePhotoMode; }
  CVexDoc& SetFineMode(DWORD v) { m_nFineMode = v; return *this; }
  DWORD GetFineMode() const { return m_nFineMode; }
  CVexDoc& SetQuickPhotoMode(DWORD v) { m_nQuickPhotoMode = v; return *this; }
  DWORD GetQuickPhotoMode() const { return m_nQuickPhotoMode; }
  CVexDoc& SetFileFormat(DWORD v) { m_nFileFormat = v; return *this; }
  DWORD GetFileFormat() const { return m_nFileFormat; }
  CVexDoc& SetAutoSave(DWORD v) { m_bAutoSave = v; return *this; }
  DWORD GetAutoSave() const { return m_bAutoSave; }
  CVexDoc& SetSaveFolder(LPCSTR text);
  LPCSTR GetSaveFolder() const { return m_szSaveFolder; }
  CVexDoc& SetSavePrefix(LPCSTR text);
  LPCSTR GetSavePrefix() const { return m_szSavePrefix; }
  CVexDoc& SetSaveBody(LPCSTR text);
  LPCSTR GetSaveBody() const { return m_szSaveBody; }
  CVexDoc& SetLiveWindowLeft(DWORD v) { m_bLiveWindowLeft = v; return *this; }
  DWORD IsLiveWindowLeft() const { return m_bLiveWindowLeft; }
  CVexDoc& SetFlip(DWORD v) { m_bFlip = v; return *this; }
  DWORD GetFlip() const { return m_bFlip; }
  CVexDoc& SetDirection(DWORD v) { m_nDirection = v; return *this; }
  DWORD GetDirection() const { return m_nDirection; }
  CVexDoc& SetWBSampleRect(DWORD v) { m_bWBSampleRect = v; return *this; }
  DWORD GetWBSampleRect() const { return m_bWBSampleRect; }
  CVexDoc& SetEnableTimeLapse(DWORD v) { m_bEnableTimeLapse = v; return *this; }
  DWORD GetEnableTimeLapse() const { return m_bEnableTimeLapse; }
  CVexDoc& SetInterval(DWORD h, DWORD m, DWORD s) { m_nIntervalHour = h; m_nIntervalMin = m; m_nIntervalSec = s; return *this; }
  void GetInterval(TimeLapseInterval& out) const { out = {m_nIntervalHour, m_nIntervalMin, m_nIntervalSec}; }
  CVexDoc& SetInterval2(DWORD h, DWORD m, DWORD s) { m_nElapsedHour = h; m_nElapsedMin = m; m_nElapsedSec = s; return *this; }
  void GetInterval2(TimeLapseInterval& out) const { out = {m_nElapsedHour, m_nElapsedMin, m_nElapsedSec}; }
  CVexDoc& SetResizeSave(DWORD v) { m_bResizeSave = v; return *this; }
  DWORD GetResizeSave() const { return m_bResizeSave; }
  CVexDoc& SetResizeSaveSize(DWORD v) { m_nResizeSaveSize = v; return *this; }
  DWORD GetResizeSaveSize() const { return m_nResizeSaveSize; }
  CVexDoc& SetAutoPrint(DWORD v) { m_bAutoPrint = v; return *this; }
  DWORD GetAutoPrint() const { return m_bAutoPrint; }
  CVexDoc& SetAutoEnhance(DWORD v) { m_bAutoEnhance = v; return *this; }
  DWORD GetAutoEnhance() const { return m_bAutoEnhance; }
  CVexDoc& SetContrastOffset(DWORD v) { m_nContrastOffset = v; return *this; }
  DWORD GetContrastOffset() const { return m_nContrastOffset; }
  CVexDoc& SetSharpnessOffset(DWORD v) { m_nSharpnessOffset = v; return *this; }
  DWORD GetSharpnessOffset() const { return m_nSharpnessOffset; }
  CVexDoc& SetLevelOffset(DWORD v) { m_nLevelOffset = v; return *this; }
  DWORD GetLevelOffset() const { return m_nLevelOffset; }
  CVexDoc& SetTotalShots(DWORD v) { m_nTotalShots = v; return *this; }
  DWORD GetTotalShots() const { return m_nTotalShots; }
  CVexDoc& SetAutoNoiseReduction(DWORD v) { m_bAutoNoiseReduction = v; return *this; }
  DWORD GetAutoNoiseReduction() const { return m_bAutoNoiseReduction; }
  CVexDoc& SetColorMode(DWORD v) { m_nColorMode = v; return *this; }
  DWORD GetColorMode() const { return m_nColorMode; }
  int SetPrintLayoutType(LONG v) { m_nPrintLayoutType = v; return 1; }
  LONG GetPrintLayoutType() const { return m_nPrintLayoutType; }
  int SetPrintLayoutTitle(DWORD v) { m_nPrintLayoutTitle = v; return 1; }
  DWORD GetPrintLayoutTitle() const { return m_nPrintLayoutTitle; }
  // The font of the captions under printed pictures, and its size in tenths of a point.
  const LOGFONTA& GetPrintTitleFont() const { return m_printTitleFont.font; }
  void SetPrintTitleFont(const LOGFONTA& font) { m_printTitleFont.font = font; }
  int GetPrintFontSize() const { return m_nPrintFontSize; }
  void SetPrintFontSize(int size) { m_nPrintFontSize = size; }

  // Which exposure the shoot capture uses, derived from the SYSTEM settings.
  int m_nShootExposureVariant = 0;

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
  // Each preset's text as read, and the record it gave in the written form.
  CString m_strScaleAsLoaded[8], m_strScaleLoadedForm[8];
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

  // Save names: the next automatic or time-lapse name, the folders it lands in, and the
  // format, quality and bits the file output writes with.
  CString MakeAutoSaveName();
  CString MakeTimeLapseName();
  void PrepareSaveFolder();
  void SetSavePath(const CString& path, LONG format, LONG bits, LONG quality);
  const CString& GetSavePath() const { return m_strNextSavePath; }
  LONG GetSaveFormat() const { return m_nSaveFormat; }
  LONG GetSaveQuality() const { return m_nSaveQuality; }
  LONG GetSaveBits() const { return 24; }
  void SetLoadPath(const CString& path) { m_strLoadPath = path; }
  const CString& GetLoadPath() const { return m_strLoadPath; }
  void SetSaveFolderPath(const CString& path) { m_strSaveFolderPath = path; }
  const CString& GetSaveFolderPath() const { return m_strSaveFolderPath; }
  void SetThumbnailFolder(const CString& path) { m_strThumbnailFolder = path; }
  const CString& GetThumbnailFolder() const { return m_strThumbnailFolder; }
  const CString& GetSaveBaseName() const { return m_strSaveBaseName; }
  // Where the file output saved last: the picture's folder, and the thumbnail folder
  // beside it (the folder the thumbnail strip shows).
  void SetSaveWorkName(const CString& folder) { m_strSaveFolderPath = folder; }
  const CString& GetSaveWorkName() const { return m_strSaveFolderPath; }
  void SetLastSavedFile(const CString& thumbnailFolder) { m_strThumbnailFolder = thumbnailFolder; }
  void SetFileOutputState(LONG state) { m_nFileOutputState = state; }
  LONG GetFileOutputState() const { return m_nFileOutputState; }
  static int FileExists(const CString& path);
  // 0 JPEG, 1 BMP, 2 TIFF, -1 for any other extension.
  static int GetFormatFromExtension(const CString& path);
  static CString GetProgramFolder();
  void SetStatusText(LPCSTR text);

  // The texts the file output stores inside a saved picture.
  void BuildImageComment(LPCSTR caption);
  void BuildShortImageComment(LPCSTR caption);
  void SetImageTitle(const CString& text) { m_strCommentTitle = text; }
  const CString& GetImageTitle() const { return m_strCommentTitle; }
  void SetImageSubtitle(const CString& text) { m_strCommentSubtitle = text; }
  const CString& GetImageSubtitle() const { return m_strCommentSubtitle; }
  void SetOriginalDateTime(const CString& text) { m_strOriginalDateTime = text; }
  const CString& GetOriginalDateTime() const { return m_strOriginalDateTime; }
  void SetDigitizedDateTime(const CString& text) { m_strDigitizedDateTime = text; }
  const CString& GetDigitizedDateTime() const { return m_strDigitizedDateTime; }
  void SetExposureTimeNumerator(LONG v) { m_nExposureNumerator = v; }
  LONG GetExposureTimeNumerator() const { return m_nExposureNumerator; }
  void SetExposureTimeDenominator(LONG v) { m_nExposureDenominator = v; }
  LONG GetExposureTimeDenominator() const { return m_nExposureDenominator; }
  // Three bytes a pixel of the chosen shoot resolution.
  LONG GetImageByteSize() const;

  // Words the display keeps: whether annotations and the scale are drawn on the picture,
  // and what the save burns in (bit 0 annotations, bit 1 scale).
  void SetAnnotationsDrawn(LONG on) { m_nAnnotationsDrawn = on; }
  LONG GetAnnotationsDrawn() const { return m_nAnnotationsDrawn; }
  void SetScaleDrawn(LONG on) { m_nScaleDrawn = on; }
  LONG GetScaleDrawn() const { return m_nScaleDrawn; }
  LONG GetOverlayChoice() const { return m_nOverlayChoice; }
  // The same word as the overlay code of saved pictures: 0 none, 1 annotations, 2 scale
  // bar, 3 both; other codes are ignored.
  void SetSaveOverlayCode(SHORT code) {
    if (code >= 0 && code <= 3) m_nOverlayChoice = code;
  }
  SHORT GetSaveOverlayCode() const { return static_cast<SHORT>(m_nOverlayChoice); }
  // 1 while live view is frozen: a changed live overlay is shown on a fresh frame at once.
  void SetOverlayState(LONG state) { m_nOverlayState = state; }
  LONG GetOverlayState() const { return m_nOverlayState; }
  LONG m_nOverlayState = 0;
  // The auxiliary path: nothing sets it, so the user tools see no picture through it.
  void SetAuxFilePath(const CString& path) { m_strAuxFilePath = path; }
  const CString& GetAuxFilePath() const { return m_strAuxFilePath; }
  CString m_strAuxFilePath;
  void SetExternalTrigger(DWORD on) { m_bExternalTrigger = on; }
  DWORD GetExternalTrigger() const { return m_bExternalTrigger; }
  // 1 while the control panel lets the live display pick the white-balance area; live
  // view then starts without the focus measure.
  void SetWBAreaSelection(LONG on) { m_bWBAreaSelection = on; }
  LONG GetWBAreaSelection() const { return m_bWBAreaSelection; }
  LONG m_bWBAreaSelection = 0;

  // Commands of the File menu; all saves end in SaveImage.
  void OnFileOpen();
  void OnFileSave();
  void OnFileSaveAs();
  void SaveImage(const CString& path);
  void OnLoadSettingFile() { RunSettingFileDialog(TRUE); }
  void OnSaveSettingFile() { RunSettingFileDialog(FALSE); }
  // Image > Retouch: the frame retouches the still picture with the window disabled.
  void OnRetouch();
  // Commands of the thumbnail strip.
  void OnDeleteImages();
  void OnLoupeCursor() { ChangePointerMode(1); }
  void OnStandardCursor() { ChangePointerMode(0); }
  void OnHandCursor() { ChangePointerMode(2); }

  CString m_strCommentTitle, m_strCommentSubtitle, m_strOriginalDateTime, m_strDigitizedDateTime;
  LONG m_nExposureNumerator = 0, m_nExposureDenominator = 0;
  LONG m_nAnnotationsDrawn = 0, m_nScaleDrawn = 0, m_nOverlayChoice = 0;

  CString m_strSaveBaseName = "Timer";
  CString m_strSaveFolderPath, m_strThumbnailFolder;
  LONG m_nFileOutputState = 0;

  // The folder list of the thumbnail strip.
  int CountSelectedImages() { return m_nSelectedImages = m_pathList.CountSelected(); }
  // The n-th selected picture counted from the last entry; restart 0 walks on from the
  // previous answer when n > 1.
  CString GetSelectedImagePath(int n, int restart);
  int SetListFolder(const CString& folder) { return m_pathList.SetFolder(folder); }
  int SetListExtension(const CString& extension) { return m_pathList.SetExtension(extension); }
  const CString& GetListFolder() const { return m_pathList.GetFolder(); }
  int ScanList() { return m_pathList.Scan(); }
  int RefreshList() { return m_pathList.Refresh(); }
  // Lists the picture saved last when it lies in the listed folder.
  int AddSavedFile();
  int DropMarkedFromList() { return m_pathList.DropMarked(); }
  void MarkListCursorForDrop() { m_pathList.MarkCursorForDrop(); }
  int ClearListMarks() { return m_pathList.ClearMarks(); }
  void ClearListDropMarks() { m_pathList.ClearDropMarks(); }
  CString GetListPath(int position, int absolute) const { return m_pathList.GetThumbnailPath(position, absolute); }
  CString GetListName(int index) const { return m_pathList.GetName(index); }
  CString GetListTimeText(int index) const { return m_pathList.GetTimeText(index); }
  int SetListSelected(int value, int position, int absolute) { return m_pathList.SetSelected(value, position, absolute); }
  int GetListSelected(int position, int absolute) const { return m_pathList.GetSelected(position, absolute); }
  int NextListPage() { return m_pathList.NextPage(); }
  int PrevListPage() { return m_pathList.PrevPage(); }
  int NextListLine() { return m_pathList.NextLine(); }
  int PrevListLine() { return m_pathList.PrevLine(); }
  int ListFirstPage() { return m_pathList.FirstPage(); }
  int ListLastPage() { return m_pathList.LastPage(); }
  int GetListPageStart() const { return m_pathList.GetFirstIndex(); }
  CVexPathlistControl& PathList() { return m_pathList; }

  CVexPathlistControl m_pathList;
  int m_nSelectedImages = 0;

  const std::vector<IniStringEntry>& UserStrings() const { return m_userStrings; }
  const std::vector<IniNumericEntry>& UserNumbers() const { return m_userNumbers; }

  // ---- Error record, shot result and direct mode ------------------------------------
  // Worker threads record their error pair here; the user-interface thread reports it
  // once the worker has ended. Each word is atomic, and the value is written last.
  void SetLastError(LONG type, LONG detail, LONG value);
  void ClearLastError() { SetLastError(0, 0, 0); }
  LONG GetLastErrorType() const { return m_lastError.type; }
  LONG GetLastErrorDetail() const { return m_lastError.detail; }
  LONG GetLastErrorValue() const { return m_lastError.value; }
  void SetShotResult(LONG result) { m_nShotResult = result; }
  LONG IsShotDone() const { return m_nShotResult; }
  void SetDirectMode(LONG on) { m_bDirectMode = on; }
  LONG IsDirectMode() const { return m_bDirectMode; }

  struct tLastError {
    std::atomic<LONG> type{0}, detail{0}, value{0};
  } m_lastError;
  std::atomic<LONG> m_nShotResult{0}, m_bDirectMode{0};
  // ---- end of error record ---------------------------------------------------------

  // ---- Image state, shoot resolution and capture state ------------------------------
  // The picture being taken or shown: its state and the window title that shows it,
  // the shoot resolution, the capture mode that prepares the camera block before each
  // capture, readout windows, orientation, and the parameters of the last shot.
  enum { kProgramVersion = 263 };
  struct ProgressValues {
    SHORT value[3];
  };

  int UpdateImageStatus(SHORT state, int refresh);
  SHORT GetImageState() const { return m_nImageState; }
  // The main window's title as last shown.
  const CString& GetTitleText() const { return m_strImageTitle; }
  const CString& GetCurrentFileName() const { return m_strCurrentFile; }
  void SetNextSavePath(const CString& path) { m_strNextSavePath = path; }
  const CString& GetNextSavePath() const { return m_strNextSavePath; }

  int SetShootResolution(SHORT row, SHORT zoomSelect, SHORT interpolation);
  SHORT GetShootBufferSize() const { return m_nShootBufferSize; }
  SHORT GetShootExposureMode() const { return m_nShootExposureMode; }
  SHORT GetShootWidth() const { return m_nShootWidth; }
  SHORT GetShootHeight() const { return m_nShootHeight; }
  SHORT GetLiveWidth() const { return m_nLiveWidth; }
  SHORT GetLiveHeight() const { return m_nLiveHeight; }
  SHORT GetZoomCode() const { return m_nZoomCode; }
  RECT GetShootArea() const { return m_rcShootArea; }
  int SetCaptureMode(SHORT mode);
  int IsShootMode() const { return m_bShootMode == 1; }
  int IsNotShootMode() const { return m_bShootMode != 1; }
  int SetLiveExposure(SHORT kind, SHORT value);
  SHORT GetExposureKind() const { return m_nShootExpTimeMode; }
  SHORT GetExposureValue() const { return m_nShootExpTimeParam; }
  int SetGainLevel(SHORT level);
  SHORT GetGainLevel() const { return m_nGainLevel; }
  void SetShootState(LONG state) { m_nShootState = state; }
  LONG GetShootState() const { return m_nShootState; }
  SHORT GetProgressKind() const { return m_nProgressKind; }
  void SetProgressKind(SHORT kind) { m_nProgressKind = kind; }
  ProgressValues GetProgressValues();
  void SetProgressValues(SHORT first, SHORT second, SHORT third);

  RECT GetCaptureArea() const { return m_rcActiveWindow; }
  void SetShootWindow(LONG l, LONG t, LONG r, LONG b) { m_rcShootWindow = {l, t, r, b}; }
  RECT GetShootWindow() const { return m_rcShootWindow; }
  void SetLiveWindow(LONG l, LONG t, LONG r, LONG b) { m_rcLiveWindow = {l, t, r, b}; }
  RECT GetLiveWindow() const { return m_rcLiveWindow; }
  void SetShootTargetPoint(POINT pt) { SetShootTargetPoint(pt.x, pt.y); }
  void SetShootTargetPoint(LONG x, LONG y);
  POINT GetShootTargetPoint() const;
  void SetFocusPosition(POINT pt);
  void SetFocusPosition(LONG x, LONG y) { m_nFocusPositionX = x; m_nFocusPositionY = y; }
  POINT GetFocusPosition() const { return {m_nFocusPositionX, m_nFocusPositionY}; }
  void SetFocusTargetState(DWORD v) { m_nFocusTargetState = v; }
  DWORD GetFocusTargetState() const { return m_nFocusTargetState; }
  void SetFocusTargetDocking(DWORD v) { m_nFocusTargetDocking = v; }
  DWORD GetFocusTargetDocking() const { return m_nFocusTargetDocking; }
  void SetImageProfilePosition(SHORT position);
  SHORT GetImageProfilePosition() const { return m_nImageProfilePosition; }
  void SetImageProfileState(DWORD v) { m_nImageProfileState = v; }
  DWORD GetImageProfileState() const { return m_nImageProfileState; }
  void SetProfileDisplay(LONG on) { m_bProfileDisplay = on; }
  LONG GetProfileDisplay() const { return m_bProfileDisplay; }
  void SetWhiteBalanceRect(const RECT& rc) { m_rcWhiteBalance = rc; m_bWBRectSet = 1; }
  RECT GetWhiteBalanceRect() const { return m_rcWhiteBalance; }
  void ClearWhiteBalanceRect() { m_rcWhiteBalance = {0, 0, 0, 0}; m_bWBRectSet = 0; }
  int IsWhiteBalanceRectSet() const { return m_bWBRectSet; }

  int SetRotation(SHORT mode);
  SHORT GetRotateReverseMode() const { return m_nRotateReverseMode; }
  DWORD GetDir90() const { return m_bDir90; }
  void SetMonochromeMode(LONG on);
  LONG GetMonochromeMode() const { return static_cast<LONG>(m_bMonochromeMode); }
  void SetInvertColorMode(LONG on);
  LONG GetInvertColorMode() const { return static_cast<LONG>(m_bInvertColorMode); }

  void SetDisplayMode(SHORT mode) { m_nDisplayMode = mode; }
  SHORT GetDisplayMode() const { return m_nDisplayMode; }
  void SetLiveDisplayMode(SHORT mode) { m_nLiveDisplayMode = mode; }
  SHORT GetLiveDisplayMode() const { return m_nLiveDisplayMode; }
  void SetPointerMode(SHORT mode) { m_nPointerMode = mode; }
  SHORT GetPointerMode() const { return m_nPointerMode; }
  // Written by the live thread, read by the meter on the user-interface thread.
  int SetFocusValue(SHORT a, SHORT b, SHORT c) {
    m_nFocusValue = static_cast<SHORT>((a + b + c) / 3);
    return 1;
  }
  SHORT GetFocusValue() const { return m_nFocusValue; }

  void SetAbort(LONG on);
  LONG GetAbort() const;
  tCameraSettings* GetCameraSettings() { return &m_camera; }
  void SetImageSizeText(LONG width, LONG height);
  const CString& GetImageSizeText() const { return m_strImageSize; }
  SIZE GetImageSize() const { return {m_nImageWidth, m_nImageHeight}; }
  void BuildShotParameters();
  const tShotParameters& GetShotParameters() const { return m_shot; }
  void MarkShotParametersUsed() { m_shot.retouched = 1; }
  void SetShotRetouched(LONG on) { m_shot.retouched = on; }
  DWORD IsNoiseReductionDue() const;

  void SetViewState(LONG v) { m_nViewState = v; }
  LONG GetViewState() const { return m_nViewState; }
  void SetFullScreen(LONG on) { m_bFullScreen = on; }
  LONG IsFullScreen() const { return m_bFullScreen; }
  void SetRGBOption(DWORD v) { m_nRGBOption = v; }
  DWORD GetRGBOption() const { return m_nRGBOption; }
  void SetRGBLive(DWORD v) { m_nRGBLive = v; }
  DWORD GetRGBLive() const { return m_nRGBLive; }
  void SetRGBRed(SHORT v) { m_nRGBRed = v; }
  SHORT GetRGBRed() const { return m_nRGBRed; }
  void SetRGBGreen(SHORT v) { m_nRGBGreen = v; }
  SHORT GetRGBGreen() const { return m_nRGBGreen; }
  void SetRGBBlue(SHORT v) { m_nRGBBlue = v; }
  SHORT GetRGBBlue() const { return m_nRGBBlue; }
  void SetShadingOption(DWORD v) { m_nShadingOption = v; }
  DWORD GetShadingOption() const { return m_nShadingOption; }
  void SetShadingLive(DWORD v) { m_nShadingLive = v; }
  DWORD GetShadingLive() const { return m_nShadingLive; }
  void SetShadingLevel(int v) { m_nShadingLevel = v; }
  int GetShadingLevel() const { return m_nShadingLevel; }
  void SetShadingPoint(LONG x, LONG y);
  void SetShadingRect(const RECT& rc) { m_rcShading = rc; }
  RECT GetShadingRect() const { return m_rcShading; }
  void SetEnhanceFlag1(LONG v) { m_nEnhanceFlag[0] = v; }
  void SetEnhanceFlag2(LONG v) { m_nEnhanceFlag[1] = v; }
  void SetEnhanceFlag3(LONG v) { m_nEnhanceFlag[2] = v; }
  void SetEnhanceEnable1(LONG v) { m_nEnhanceEnable[0] = v; }
  void SetEnhanceEnable2(LONG v) { m_nEnhanceEnable[1] = v; }
  void SetEnhanceEnable3(LONG v) { m_nEnhanceEnable[2] = v; }
  int IsAnyEnhanceEnabled() const;
  void SetAutoEnhanceLive(DWORD v) { m_nAutoEnhanceLive = v; }
  DWORD GetAutoEnhanceLive() const { return m_nAutoEnhanceLive; }

  SHORT m_nImageState = 0;
  CString m_strImageTitle, m_strCurrentFile, m_strNextSavePath, m_strImageSize;
  SHORT m_nShootWidth = 3840, m_nShootHeight = 3072, m_nLiveWidth = 640, m_nLiveHeight = 512;
  SHORT m_nLiveTransferMode = 1, m_nLiveZoomMode = 1;
  SHORT m_nWBTransferMode = 2, m_nWBZoomMode = 1, m_nWBInterpolation = 1;
  SHORT m_nZoomCode = 6;
  std::atomic<SHORT> m_nProgressKind{2};
  std::atomic<LONG> m_nShootState{0};
  LONG m_bShootMode = 0;
  RECT m_rcShootArea = {0, 0, 3840, 3072}, m_rcShootWindow = {0, 0, 3840, 3072};
  RECT m_rcLiveWindow = {0, 0, 640, 512}, m_rcActiveWindow = {0, 0, 640, 512}, m_rcShading = {0, 0, 0, 0};
  int m_bWBRectSet = 0;
  LONG m_nShadingX = 0, m_nShadingY = 0;
  SHORT m_nDisplayMode = 0, m_nLiveDisplayMode = 0, m_nPointerMode = 0;
  std::atomic<SHORT> m_nFocusValue{0};
  LONG m_bProfileDisplay = 1, m_nViewState = 0, m_bFullScreen = 0;
  LONG m_nEnhanceFlag[3] = {}, m_nEnhanceEnable[3] = {};
  std::atomic<SHORT> m_progress[3] = {};
  tShotParameters m_shot{};
  LONG m_nImageWidth = 0;

  // The thumbnail choice: 0 lets the file input take a picture's title from its
  // thumbnail; the thumbnail strip sets 1 while it loads thumbnails themselves.
  void SetThumbnailChoice(LONG choice) { m_nThumbnailChoice = choice; }
  LONG GetThumbnailChoice() const { return m_nThumbnailChoice; }
  LONG m_nThumbnailChoice = 0;

  // ---- Retouch list ----------------------------------------------------------------
  // Each queue call appends one edit and answers 0, or -1 with the list full (unchanged).
  int QueueEnhance(int brightness, int contrast, float gamma, int sharpness);
  int QueueColorAdjust(int hue, int saturation, int intensity, int balance2, int balance1, int balance0);
  int QueueResize(float factor);
  int QueueWhiteBalance(int level0, int level1, int level2);
  int QueueBlackBalance(int level0, int level1, int level2);
  int QueueRotate90CW();
  int QueueRotate90CCW();
  int QueueRotate180();
  int QueueFlipHorizontal();
  int QueueFlipVertical();
  int QueueGrayscale();
  int QueueNegative();
  int QueueCrop(float left, float top, float width, float height);
  void ClearRetouchList();
  const tRetouchOpList& GetRetouchList() const { return m_retouchList; }
  tRetouchOpList m_retouchList;

 private:
  int QueueRetouch(int kind, std::initializer_list<LONG> values);

 public:

 private:
  void RebuildModeWord();
  // Disables the main window for the length of a setter and tells the views after.
  void Broadcast(DWORD flags, LPARAM arg = 0);
  void EnableMainFrame(BOOL on);

 public:
  // ---- end of image state ----------------------------------------------------------

 private:
  CString JoinSaveTemplate() const;
  CString SettingFileName() const;
  // Sets the format code and quality from FileFormat and answers the extension.
  LPCSTR ApplyFileFormat();
  void ChangePointerMode(SHORT mode);
  // What the save burns in: asks when annotations or the scale are on the picture.
  LONG ChooseOverlays();
  void RunSettingFileDialog(BOOL load);
  void InitCameraSettings();
  void BuildUserTable();
  void BuildSystemTable();
  void BuildCameraTable();
  static void ReadNumericEntry(LPCSTR section, const IniNumericEntry& e, LPCSTR path);
  static void ReadStringEntry(LPCSTR section, const IniStringEntry& e, LPCSTR path);
  static BOOL WriteNumericEntry(LPCSTR section, const IniNumericEntry& e, LPCSTR path);
  static BOOL WriteStringEntry(LPCSTR section, const IniStringEntry& e, LPCSTR path);
  void ReadSection(LPCSTR section, const std::vector<IniStringEntry>& s, const std::vector<IniNumericEntry>& n,
                   LPCSTR path);
  BOOL WriteSection(LPCSTR section, const std::vector<IniStringEntry>& s, const std::vector<IniNumericEntry>& n,
                    LPCSTR path);
  BOOL WriteAllSections(LPCSTR path);
  // Writes through `write` into a copy that replaces `target` only when complete;
  // a failure is reported as error (2, detail).
  BOOL WriteSettingsFile(const CString& target, int detail, BOOL (CVexDoc::*write)(LPCSTR));

  std::vector<IniStringEntry> m_userStrings, m_systemStrings;
  std::vector<IniNumericEntry> m_userNumbers, m_systemNumbers, m_cameraNumbers;
  CString m_strSettingFile;
  CString m_strCompanionPath;
  int m_bLoadingSettingFile = 0;
};
