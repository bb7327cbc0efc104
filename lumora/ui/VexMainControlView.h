// CVexMainControlView: the camera control panel in the lower right pane: exposure slider,
// seconds edit and seven-segment read-out, sensitivity, focus meter, line-profile toggle,
// the capture button with its step buttons, the status box and the settings sheet.
// It is also the settings mirror of the pages: each setter writes the mirror and the
// document together and performs the setting's side effects.
#pragma once
#include <afxcmn.h>
#include <afxext.h>
#include <afxwin.h>

#include <memory>

#include "Disp7SegLed.h"
#include "Label.h"
#include "MonitorBar.h"
#include "VexSettingsPages.h"
#include "controls/SECBitmapButton.h"
#include "pipeline/VexStageLinks.h"

class CMainFrame;
class CVexDoc;
class CVexErrorControl;
class CVexProcessDialog;

class CVexMainControlView : public CFormView, public CVexStageLinks {
  DECLARE_DYNCREATE(CVexMainControlView)
 public:
  enum {
    IDD = 133,
    kCaptureButton = 1038,
    kReadout = 1011,
    kSlider = 1039,
    kSecondsEdit = 1016,
    kSecondsSpin = 1018,
    kFocusText = 1068,
    kFocusBar = 1041,
    kProfileCheck = 1063,
    kSheetPlace = 1003,
    kNormalRadio = 1053,
    kHighRadio = 1054,
    kMaxRadio = 1055,
    kModeLabel = 1099,
    kStatusBox = 1129,
    kStepUp = 1154,
    kStepDown = 1155,
    kLongPosition = 32,
    kMeterTimer = 0,
  };
  static const int kShutter[33];

  CVexMainControlView();
  ~CVexMainControlView() override;

  CVexDoc* GetDocument() const;
  void SetProcessDialog(CVexProcessDialog* dialog) { m_pProcessDialog = dialog; }
  void SetErrorControl(CVexErrorControl* errors) override { m_pErrorControl = errors; }
  CVexErrorControl* GetErrorControl() const { return m_pErrorControl; }
  // The update broadcast: 0x10000 reloads every setting; every other value is ignored.
  virtual void OnSettingsChanged(LONG flag);
  // Keyboard focus to the capture button.
  void FocusCaptureButton();
  int IsCaptureRunning() const { return m_bCaptureRunning; }
  // Set from construction to the end of the initial update and during a reload: page
  // handlers ignore notifications while it is set.
  int IsInitialising() const { return m_bInitialising; }
  int IsSheetCreated() const { return m_bSheetCreated; }
  CVexSettingsPages* GetSettingsPages() const { return m_pPages.get(); }

  // ---- operations of the pages
  void ToggleWhiteBalanceArea();
  void RunWhiteBalance();
  void EndWhiteBalanceArea();
  int IsWhiteBalanceArea() const { return m_bWBArea; }
  void EnableTimeLapse(int on);
  int EstimateCaptureSeconds() const;
  float GetTotalImageBytes(int count) const;
  void ApplySaveFolder();
  void UpdateStatusText();
  void ReloadSettings();

  // ---- settings setters (mirror, document, side effects)
  void SetSensitivity(int index);
  void SetExposureValue(UINT value);
  void SetFineMode(int v);
  void SetQuickPhotoMode(int index);
  void SetFinePhotoMode(int v);
  void SetFileFormat(int v);
  void SetAutoSave(int v);
  // A text that does not fit the document's buffer is refused (FALSE): both keep theirs.
  BOOL SetSaveFolder(LPCSTR text);
  BOOL SetSavePrefix(LPCSTR text);
  BOOL SetSaveBody(LPCSTR text);
  void SetFlip(int v);
  void SetDirection(int d);
  void SetWBSampleRect(int v);
  void SetInterval(int hours, int minutes, int seconds);
  void SetTotalShots(int n);
  void SetResizeSave(int v);
  void SetResizeSaveSize(int v);
  void SetAutoPrint(int v);
  void SetAutoNoiseReduction(int v);
  void SetAutoEnhance(int v);
  void SetContrastOffset(int v);
  void SetLevelOffset(int v);
  void SetSharpnessOffset(int v);
  void SetColorMode(int m);
  void SetFocusTargetState(int v);
  void SetFocusTargetDocking(int v);
  void SetRGBOption(int v);
  void SetRGBRed(SHORT v);
  void SetRGBGreen(SHORT v);
  void SetRGBBlue(SHORT v);
  void SetAutoEnhanceLive(int v);
  void SetShadingLive(int v);
  void SetShadingOption(int v);
  void SetShadingLevel(int n);

  // ---- getters: the mirror
  int GetSensitivity() const { return m_nSensitivity; }
  int GetExposureTime() const { return m_nExposureTime; }
  int GetLongExposureMode() const { return m_nLongExposureMode; }
  UINT GetLongExposureTime() const { return m_nLongExposureTime; }
  int GetFinePhotoMode() const { return m_nFinePhotoMode; }
  int GetFineMode() const { return m_nFineMode; }
  int GetQuickPhotoMode() const { return m_nQuickPhotoMode; }
  int GetFileFormat() const { return m_nFileFormat; }
  int GetAutoSave() const { return m_nAutoSave; }
  const CString& GetSaveFolder() const { return m_strSaveFolder; }
  const CString& GetSavePrefix() const { return m_strSavePrefix; }
  const CString& GetSaveBody() const { return m_strSaveBody; }
  int GetLiveWindowLeft() const { return m_nLiveWindowLeft; }
  int GetFlip() const { return m_nFlip; }
  int GetDirection() const { return m_nDirection; }
  int GetWBSampleRect() const { return m_nWBSampleRect; }
  int GetFocusTargetState() const { return m_nFocusTargetState; }
  int GetFocusTargetDocking() const { return m_nFocusTargetDocking; }
  int GetEnableTimeLapse() const { return m_nEnableTimeLapse; }
  int GetIntervalHour() const { return m_nIntervalHour; }
  int GetIntervalMin() const { return m_nIntervalMin; }
  int GetIntervalSec() const { return m_nIntervalSec; }
  int GetTotalShots() const { return m_nTotalShots; }
  int GetResizeSave() const { return m_nResizeSave; }
  int GetResizeSaveSize() const { return m_nResizeSaveSize; }
  int GetAutoPrint() const { return m_nAutoPrint; }
  int GetAutoEnhance() const { return m_nAutoEnhance; }
  int GetContrastOffset() const { return m_nContrastOffset; }
  int GetSharpnessOffset() const { return m_nSharpnessOffset; }
  int GetLevelOffset() const { return m_nLevelOffset; }
  int GetColorMode() const { return m_nColorMode; }
  int GetAutoNoiseReduction() const { return m_nAutoNoiseReduction; }
  int GetRGBOption() const { return m_nRGBOption; }
  SHORT GetRGBRed() const { return m_nRGBRed; }
  SHORT GetRGBGreen() const { return m_nRGBGreen; }
  SHORT GetRGBBlue() const { return m_nRGBBlue; }
  int GetAutoEnhanceLive() const { return m_nAutoEnhanceLive; }
  int GetShadingLive() const { return m_nShadingLive; }
  int GetShadingOption() const { return m_nShadingOption; }
  int GetShadingLevel() const { return m_nShadingLevel; }

  // ---- the panel's own controls, for the frame and tests
  CDisp7SegLed& Readout() { return m_wndReadout; }
  CMonitorBar& FocusBar() { return m_wndFocusBar; }
  SECBitmapButton& CaptureButton() { return m_btnCapture; }
  // The focus meter's range: 0 low (0..1500), 1 high (1000..4000).
  static int FocusRange();
  static int IntegerSqrt(int value);

  void OnInitialUpdate() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  afx_msg void OnExposure();
  afx_msg void OnExposureUp();
  afx_msg void OnExposureDown();
  afx_msg void OnSensitivity(UINT nID);
  afx_msg void OnLineProfile();
  afx_msg void OnSecondsChange();
  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  DECLARE_MESSAGE_MAP()

 private:
  // Runs between EnableFrame(0) and (1), with the wait cursor unless told otherwise, and
  // with live view stopped and restarted when asked.
  class FrameOff {
   public:
    FrameOff(CVexMainControlView& view, bool stopLive, bool waitCursor = true);
    ~FrameOff() { End(); }
    FrameOff(const FrameOff&) = delete;
    FrameOff& operator=(const FrameOff&) = delete;
    void End();

   private:
    CVexMainControlView& m_view;
    CMainFrame* m_frame;
    bool m_wait;
    bool m_liveRan = false;
    bool m_ended = false;
  };

  CMainFrame* Frame() const;
  void LoadFromDocument();
  void CreateSettingsSheet();
  void UpdateExposureReadout();
  void ApplyExposure();
  void ShowSeconds();
  void ClampSeconds();
  void UpdateTotals();
  void ShowModeLabel();
  void UpdateFocusMeter();
  void Broadcast(DWORD flags);
  void EnablePageItem(CVexSettingsPages::Page page, int id, BOOL enable);
  void SetCaptureBitmap(UINT bitmap);
  void ReportLastError();
  void RunSingleCapture();
  void RunTimeLapse();
  void ShowException(CException* e);
  void RestoreAfterException(int timeLapse);
  void RestoreRunSettings();
  void StepExposure(int delta, UINT busyBitmap, UINT idleBitmap, SECBitmapButton& button);

  // Controls
  CDisp7SegLed m_wndReadout;
  CMonitorBar m_wndFocusBar;
  CSliderCtrl m_wndSlider;
  CSpinButtonCtrl m_wndSpin;
  CLabel m_wndModeLabel;
  SECBitmapButton m_btnCapture, m_btnUp, m_btnDown;
  CToolTipCtrl m_wndToolTip;
  CFont m_fontSeconds, m_fontCapture;
  CBrush m_brushSeconds;
  std::unique_ptr<CVexSettingsPages> m_pPages;

  // The settings mirror
  int m_nSensitivity = 0, m_nExposureTime = 0, m_nLongExposureMode = 0;
  UINT m_nLongExposureTime = 1;
  int m_nFinePhotoMode = 0, m_nFineMode = 0, m_nQuickPhotoMode = 10, m_nFileFormat = 0, m_nAutoSave = 0;
  CString m_strSaveFolder, m_strSavePrefix, m_strSaveBody;
  int m_nLiveWindowLeft = 0, m_nFlip = 0, m_nDirection = 0, m_nWBSampleRect = 0;
  int m_nFocusTargetState = 0, m_nFocusTargetDocking = 0, m_nEnableTimeLapse = 0;
  int m_nIntervalHour = 0, m_nIntervalMin = 0, m_nIntervalSec = 0, m_nTotalShots = 0;
  int m_nResizeSave = 0, m_nResizeSaveSize = 0, m_nAutoPrint = 0, m_nAutoEnhance = 0;
  int m_nContrastOffset = 0, m_nSharpnessOffset = 0, m_nLevelOffset = 0, m_nColorMode = 0;
  int m_nAutoNoiseReduction = 0, m_nRGBOption = 0;
  SHORT m_nRGBRed = 0, m_nRGBGreen = 0, m_nRGBBlue = 0;
  int m_nAutoEnhanceLive = 0, m_nShadingLive = 0, m_nShadingOption = 0, m_nShadingLevel = 0;

  // Run-time state
  CVexProcessDialog* m_pProcessDialog = nullptr;
  CVexErrorControl* m_pErrorControl = nullptr;
  int m_bCaptureRunning = 0;
  int m_bLiveWasRunning = 0;
  int m_bWBArea = 0;
  int m_bTriggerSuspended = 0;
  int m_bInitialising = 1;
  int m_bSheetCreated = 0;
  int m_bSecondsWaiting = 0;
  int m_nLastSliderPos = -1;
  // AutoSave and AutoPrint as they were before a time-lapse run forced them.
  int m_nRunSavedAutoSave = 0, m_nRunSavedAutoPrint = 0, m_bRunSettingsForced = 0;
};
