// The control panel's settings mirror: loading it from the document, the setters the
// pages call (mirror, document, side effects), the reload after a setting file.

#include <cstring>

#include "MainFrame.h"
#include "UpdateFlags.h"
#include "VexMainControlView.h"
#include "control/VexDoc.h"

namespace {
// The shoot-table row of the photo size: fine rows 1..9 (else 0), quick rows 11..13 (else 10).
SHORT FineRow(int v) { return static_cast<SHORT>(v >= 1 && v <= 9 ? v : 0); }
SHORT QuickRow(int v) { return static_cast<SHORT>(v >= 11 && v <= 13 ? v : 10); }
int Flag(DWORD v) { return static_cast<int>(v); }
}  // namespace

void CVexMainControlView::LoadFromDocument() {
  CVexDoc* doc = GetDocument();
  if (!doc) return;
  m_nSensitivity = Flag(doc->GetSensitivity());
  m_nExposureTime = Flag(doc->GetExposureTime());
  m_nLongExposureMode = Flag(doc->GetLongExposureMode());
  m_nLongExposureTime = doc->GetLongExposureTime();
  m_nFinePhotoMode = Flag(doc->GetFinePhotoMode());
  m_nFineMode = Flag(doc->GetFineMode());
  if (m_wndModeLabel.GetSafeHwnd()) {
    m_wndModeLabel.SetFontBold(TRUE).SetFontItalic(TRUE).SetFontSize(16).SetFontUnderline(TRUE);
    ShowModeLabel();
  }
  m_nQuickPhotoMode = Flag(doc->GetQuickPhotoMode());
  m_nFileFormat = Flag(doc->GetFileFormat());
  m_nAutoSave = Flag(doc->GetAutoSave());
  m_strSaveFolder = doc->GetSaveFolder();
  m_strSavePrefix = doc->GetSavePrefix();
  m_strSaveBody = doc->GetSaveBody();
  m_nLiveWindowLeft = Flag(doc->IsLiveWindowLeft());
  m_nFlip = Flag(doc->GetFlip());
  m_nDirection = Flag(doc->GetDirection());
  m_nWBSampleRect = Flag(doc->GetWBSampleRect());
  m_nEnableTimeLapse = Flag(doc->GetEnableTimeLapse());
  CVexDoc::TimeLapseInterval interval{};
  doc->GetInterval(interval);
  m_nIntervalHour = Flag(interval.hour);
  m_nIntervalMin = Flag(interval.min);
  m_nIntervalSec = Flag(interval.sec);
  m_nTotalShots = Flag(doc->GetTotalShots());
  m_nResizeSave = Flag(doc->GetResizeSave());
  m_nResizeSaveSize = Flag(doc->GetResizeSaveSize());
  m_nAutoPrint = Flag(doc->GetAutoPrint());
  m_nAutoEnhance = Flag(doc->GetAutoEnhance());
  m_nContrastOffset = Flag(doc->GetContrastOffset());
  m_nSharpnessOffset = Flag(doc->GetSharpnessOffset());
  m_nLevelOffset = Flag(doc->GetLevelOffset());
  m_nColorMode = Flag(doc->GetColorMode());
  m_nAutoNoiseReduction = Flag(doc->GetAutoNoiseReduction());
  SetAutoEnhance(m_nAutoEnhance);
  if (GetSafeHwnd()) CheckDlgButton(kProfileCheck, doc->GetImageProfileState() ? BST_CHECKED : BST_UNCHECKED);
  m_bWBArea = 0;
  m_nFocusTargetState = Flag(doc->GetFocusTargetState());
  m_nFocusTargetDocking = Flag(doc->GetFocusTargetDocking());
  m_nLastSliderPos = -1;
  m_nRGBOption = doc->GetRGBLive() || doc->GetRGBOption() ? 1 : 0;
  m_nRGBRed = doc->GetRGBRed();
  m_nRGBGreen = doc->GetRGBGreen();
  m_nRGBBlue = doc->GetRGBBlue();
  m_nAutoEnhanceLive = Flag(doc->GetAutoEnhanceLive());
  m_nShadingLive = Flag(doc->GetShadingLive());
  m_nShadingOption = Flag(doc->GetShadingOption());
  m_nShadingLevel = doc->GetShadingLevel();
}

void CVexMainControlView::ShowModeLabel() {
  if (m_wndModeLabel.GetSafeHwnd()) m_wndModeLabel.SetText(m_nFineMode ? "Fine" : "Quick");
}

void CVexMainControlView::EnablePageItem(CVexSettingsPages::Page page, int id, BOOL enable) {
  if (!m_bSheetCreated || !m_pPages) return;
  if (CWnd* item = m_pPages->GetPageItem(page, id)) item->EnableWindow(enable);
}

// ---- photo size and saving

void CVexMainControlView::SetFineMode(int v) {
  if (v == m_nFineMode) return;
  FrameOff off(*this, false);
  m_nFineMode = v;
  ShowModeLabel();
  CVexDoc* doc = GetDocument();
  if (!doc) return;
  doc->SetFineMode(static_cast<DWORD>(v));
  doc->SetShootResolution(v ? FineRow(m_nFinePhotoMode) : QuickRow(m_nQuickPhotoMode), 1, 2);
}

void CVexMainControlView::SetQuickPhotoMode(int index) {
  FrameOff off(*this, false);
  m_nQuickPhotoMode = index + 10;
  if (CVexDoc* doc = GetDocument()) {
    doc->SetQuickPhotoMode(static_cast<DWORD>(m_nQuickPhotoMode));
    doc->SetShootResolution(QuickRow(m_nQuickPhotoMode), 1, 2);
  }
}

void CVexMainControlView::SetFinePhotoMode(int v) {
  FrameOff off(*this, false);
  m_nFinePhotoMode = v;
  if (CVexDoc* doc = GetDocument()) {
    doc->SetFinePhotoMode(static_cast<DWORD>(v));
    doc->SetShootResolution(FineRow(v), 1, 2);
  }
}

void CVexMainControlView::SetFileFormat(int v) {
  m_nFileFormat = v;
  if (CVexDoc* doc = GetDocument()) doc->SetFileFormat(static_cast<DWORD>(v));
}

void CVexMainControlView::SetAutoSave(int v) {
  FrameOff off(*this, false);
  m_nAutoSave = v;
  if (CVexDoc* doc = GetDocument()) doc->SetAutoSave(static_cast<DWORD>(v));
  Broadcast(kUpdFlowControl);
}

namespace {
// The document keeps these texts in fixed buffers (folder 260 bytes, the others 256).
bool Fits(LPCSTR text, size_t buffer) { return !text || std::strlen(text) < buffer; }
}  // namespace

BOOL CVexMainControlView::SetSaveFolder(LPCSTR text) {
  if (!Fits(text, 260)) return FALSE;
  m_strSaveFolder = text ? text : "";
  if (CVexDoc* doc = GetDocument()) doc->SetSaveFolder(m_strSaveFolder);
  return TRUE;
}

BOOL CVexMainControlView::SetSavePrefix(LPCSTR text) {
  if (!Fits(text, 256)) return FALSE;
  m_strSavePrefix = text ? text : "";
  if (CVexDoc* doc = GetDocument()) doc->SetSavePrefix(m_strSavePrefix);
  return TRUE;
}

BOOL CVexMainControlView::SetSaveBody(LPCSTR text) {
  if (!Fits(text, 256)) return FALSE;
  m_strSaveBody = text ? text : "";
  if (CVexDoc* doc = GetDocument()) doc->SetSaveBody(m_strSaveBody);
  return TRUE;
}

void CVexMainControlView::ApplySaveFolder() {
  FrameOff off(*this, false);
  if (CVexDoc* doc = GetDocument()) doc->PrepareSaveFolder();
  Broadcast(kUpdThumbFolder);
}

// ---- picture direction, white balance, focus mark

void CVexMainControlView::SetFlip(int v) {
  FrameOff off(*this, true);
  m_nFlip = v;
  CVexDoc* doc = GetDocument();
  if (!doc) return;
  doc->SetFlip(static_cast<DWORD>(v));
  const int mode = doc->GetRotateReverseMode();
  doc->SetRotation(static_cast<SHORT>(mode < 4 ? mode + 4 : mode - 4));
  doc->SetFocusValue(0, 0, 0);
  m_wndFocusBar.ClearAll();
}

void CVexMainControlView::SetDirection(int d) {
  if (d == m_nDirection) return;
  FrameOff off(*this, true);
  m_nDirection = d;
  CVexDoc* doc = GetDocument();
  if (!doc) return;
  doc->SetDirection(static_cast<DWORD>(d));
  if (d >= 0 && d <= 3) doc->SetRotation(static_cast<SHORT>(m_nFlip ? d + 4 : d));
  doc->SetFocusValue(0, 0, 0);
  m_wndFocusBar.ClearAll();
}

void CVexMainControlView::SetWBSampleRect(int v) {
  if (v == m_nWBSampleRect) return;
  FrameOff off(*this, false);
  m_nWBSampleRect = v;
  CVexDoc* doc = GetDocument();
  if (doc) doc->SetWBSampleRect(static_cast<DWORD>(v));
  if (m_bWBArea) {
    if (doc) doc->SetDisplayMode(v ? 3 : 2);
    Broadcast(kUpdLiveDisplay);
  }
}

void CVexMainControlView::SetFocusTargetState(int v) {
  FrameOff off(*this, false);
  // The mirror follows too, so that a page refreshed after a reload shows the value.
  m_nFocusTargetState = v;
  if (CVexDoc* doc = GetDocument()) {
    doc->SetFocusTargetState(static_cast<DWORD>(v));
    doc->SetFocusValue(0, 0, 0);
  }
  m_wndFocusBar.ClearAll();
  Broadcast(kUpdLiveDisplay);
  Broadcast(kUpdFlowControl);
}

void CVexMainControlView::SetFocusTargetDocking(int v) {
  FrameOff off(*this, false);
  m_nFocusTargetDocking = v;
  if (CVexDoc* doc = GetDocument()) doc->SetFocusTargetDocking(static_cast<DWORD>(v));
  Broadcast(kUpdLiveDisplay);
}

// ---- time-lapse

void CVexMainControlView::SetInterval(int hours, int minutes, int seconds) {
  m_nIntervalHour = hours;
  m_nIntervalMin = minutes;
  m_nIntervalSec = seconds;
  if (CVexDoc* doc = GetDocument())
    doc->SetInterval(static_cast<DWORD>(hours), static_cast<DWORD>(minutes), static_cast<DWORD>(seconds));
}

void CVexMainControlView::SetTotalShots(int n) {
  m_nTotalShots = n;
  CVexDoc* doc = GetDocument();
  if (doc && !doc->IsLoadingSettingFile()) doc->SetTotalShots(static_cast<DWORD>(n));
}

// ---- saving options, enhancement, colour

void CVexMainControlView::SetResizeSave(int v) {
  FrameOff off(*this, false);
  m_nResizeSave = v;
  if (CVexDoc* doc = GetDocument()) doc->SetResizeSave(static_cast<DWORD>(v));
  Broadcast(kUpdResize);
  Broadcast(kUpdFlowControl);
  UpdateStatusText();
}

void CVexMainControlView::SetResizeSaveSize(int v) {
  FrameOff off(*this, false);
  m_nResizeSaveSize = v;
  if (CVexDoc* doc = GetDocument()) doc->SetResizeSaveSize(static_cast<DWORD>(v));
  Broadcast(kUpdResize);
  UpdateStatusText();
}

void CVexMainControlView::SetAutoPrint(int v) {
  FrameOff off(*this, false);
  m_nAutoPrint = v;
  if (CVexDoc* doc = GetDocument()) doc->SetAutoPrint(static_cast<DWORD>(v));
  Broadcast(kUpdFlowControl);
  UpdateStatusText();
}

void CVexMainControlView::SetAutoNoiseReduction(int v) {
  FrameOff off(*this, false);
  m_nAutoNoiseReduction = v;
  if (CVexDoc* doc = GetDocument()) doc->SetAutoNoiseReduction(static_cast<DWORD>(v));
  Broadcast(kUpdFlowControl);
  UpdateStatusText();
}

void CVexMainControlView::SetAutoEnhance(int v) {
  FrameOff off(*this, true);
  m_nAutoEnhance = v;
  if (CVexDoc* doc = GetDocument()) {
    doc->SetAutoEnhance(static_cast<DWORD>(v));
    for (SHORT i = 0; i < 4; ++i) doc->SetContrastLevel(i, static_cast<SHORT>(m_nContrastOffset));
    doc->SetEnhanceFlag2(v);
    for (SHORT i = 0; i < 4; ++i) doc->SetEdgeAppLevel(i, static_cast<SHORT>(m_nSharpnessOffset));
    doc->SetEnhanceFlag3(v);
    for (SHORT i = 0; i < 4; ++i) doc->SetAutoLevelValue(i, static_cast<SHORT>(m_nLevelOffset));
    doc->SetEnhanceFlag1(v);
  }
  for (int id : {1140, 1141, 1142}) EnablePageItem(CVexSettingsPages::kOption, id, v != 1);
  Broadcast(kUpdFlowControl);
  UpdateStatusText();
}

void CVexMainControlView::SetContrastOffset(int v) {
  m_nContrastOffset = v;
  if (CVexDoc* doc = GetDocument()) doc->SetContrastOffset(static_cast<DWORD>(v));
  UpdateStatusText();
}

void CVexMainControlView::SetLevelOffset(int v) {
  m_nLevelOffset = v;
  if (CVexDoc* doc = GetDocument()) doc->SetLevelOffset(static_cast<DWORD>(v));
  UpdateStatusText();
}

void CVexMainControlView::SetSharpnessOffset(int v) {
  m_nSharpnessOffset = v;
  if (CVexDoc* doc = GetDocument()) doc->SetSharpnessOffset(static_cast<DWORD>(v));
  UpdateStatusText();
}

void CVexMainControlView::SetColorMode(int m) {
  FrameOff off(*this, false);
  m_nColorMode = m;
  CVexDoc* doc = GetDocument();
  if (!doc) return;
  doc->SetColorMode(static_cast<DWORD>(m));
  if (m >= 0 && m <= 2) {
    doc->SetMonochromeMode(m == 1);
    doc->SetInvertColorMode(m == 2);
  }
}

// ---- colour balance, live enhancement, shading

void CVexMainControlView::SetRGBOption(int v) {
  FrameOff off(*this, true);
  m_nRGBOption = v;
  if (CVexDoc* doc = GetDocument()) {
    const DWORD x = m_nRGBRed || m_nRGBGreen || m_nRGBBlue ? static_cast<DWORD>(v) : 0;
    doc->SetRGBOption(x);
    doc->SetRGBLive(x);
  }
  for (int id : {1173, 1174, 1175}) EnablePageItem(CVexSettingsPages::kLive, id, v != 1);
  Broadcast(kUpdRGB);
  Broadcast(kUpdFlowControl);
}

void CVexMainControlView::SetRGBRed(SHORT v) {
  m_nRGBRed = v;
  if (CVexDoc* doc = GetDocument()) doc->SetRGBRed(v);
}

void CVexMainControlView::SetRGBGreen(SHORT v) {
  m_nRGBGreen = v;
  if (CVexDoc* doc = GetDocument()) doc->SetRGBGreen(v);
}

void CVexMainControlView::SetRGBBlue(SHORT v) {
  m_nRGBBlue = v;
  if (CVexDoc* doc = GetDocument()) doc->SetRGBBlue(v);
}

void CVexMainControlView::SetAutoEnhanceLive(int v) {
  FrameOff off(*this, true);
  m_nAutoEnhanceLive = v;
  if (CVexDoc* doc = GetDocument()) {
    doc->SetEnhanceEnable1(v);
    doc->SetEnhanceEnable2(v);
    doc->SetEnhanceEnable3(v);
    doc->SetAutoEnhanceLive(static_cast<DWORD>(v));
  }
  Broadcast(kUpdFlowControl);
}

void CVexMainControlView::SetShadingLive(int v) {
  FrameOff off(*this, true);
  m_nShadingLive = v;
  if (CVexDoc* doc = GetDocument()) doc->SetShadingLive(static_cast<DWORD>(m_nShadingLevel ? v : 0));
  Broadcast(kUpdShading);
  Broadcast(kUpdFlowControl);
}

void CVexMainControlView::SetShadingOption(int v) {
  CMainFrame* frame = Frame();
  FrameOff off(*this, false, false);
  // The busy window shows while the shading tables are built.
  if (v == 1 && frame) frame->StartShadingBusy();
  const bool liveRan = frame && frame->IsLiveRunning();
  if (liveRan) frame->StopLive();
  m_nShadingOption = v;
  if (CVexDoc* doc = GetDocument()) doc->SetShadingOption(static_cast<DWORD>(m_nShadingLevel ? v : 0));
  EnablePageItem(CVexSettingsPages::kOption, 1147, v != 1);
  Broadcast(kUpdShading);
  Broadcast(kUpdFlowControl);
  if (liveRan) frame->StartLive();
  if (v == 1 && frame) frame->StopShadingBusy();
  UpdateStatusText();
}

void CVexMainControlView::SetShadingLevel(int n) {
  m_nShadingLevel = n;
  CVexDoc* doc = GetDocument();
  if (!doc) return;
  doc->SetShadingLevel(n);
  if (n) {
    doc->SetShadingOption(m_nShadingOption == 1 ? 1 : 0);
    doc->SetShadingLive(m_nShadingLive == 1 ? 1 : 0);
  }
}

// ---- reload after a setting file

void CVexMainControlView::ReloadSettings() {
  CVexDoc* doc = GetDocument();
  if (!doc) return;
  // Page refreshes below must not fire the setters again.
  m_bInitialising = 1;
  SetSensitivity(Flag(doc->GetSensitivity()));

  m_nLongExposureMode = Flag(doc->GetLongExposureMode());
  const int position = Flag(doc->GetExposureTime());
  const UINT seconds = doc->GetLongExposureTime();
  SetExposureValue(m_nLongExposureMode == 1 ? seconds : static_cast<UINT>(position));
  m_nLongExposureTime = seconds;
  m_wndSlider.SetPos(m_nLongExposureMode == 1 ? kLongPosition : position);
  m_wndSpin.SetPos(static_cast<int>(seconds));
  UpdateData(FALSE);
  UpdateExposureReadout();
  if (m_nLongExposureMode == 1)
    doc->SetLiveExposure(2, static_cast<SHORT>(m_nLongExposureTime));
  else
    doc->SetLiveExposure(1, static_cast<SHORT>(m_nExposureTime));

  SetFinePhotoMode(Flag(doc->GetFinePhotoMode()));
  SetQuickPhotoMode(Flag(doc->GetQuickPhotoMode()) - 10);
  SetFineMode(Flag(doc->GetFineMode()));
  ShowModeLabel();

  SetFileFormat(Flag(doc->GetFileFormat()));
  SetAutoSave(Flag(doc->GetAutoSave()));
  SetSaveFolder(CString(doc->GetSaveFolder()));
  SetSavePrefix(CString(doc->GetSavePrefix()));
  SetSaveBody(CString(doc->GetSaveBody()));

  m_nFlip = Flag(doc->GetFlip());
  m_nDirection = Flag(doc->GetDirection());
  if (m_nDirection >= 0 && m_nDirection <= 3) doc->SetRotation(static_cast<SHORT>(m_nDirection + 4 * m_nFlip));

  SetWBSampleRect(Flag(doc->GetWBSampleRect()));
  m_bWBArea = 0;
  doc->SetDisplayMode(doc->GetImageProfileState() ? 1 : 0);

  EnableTimeLapse(Flag(doc->GetEnableTimeLapse()));
  CVexDoc::TimeLapseInterval interval{};
  doc->GetInterval(interval);
  SetInterval(Flag(interval.hour), Flag(interval.min), Flag(interval.sec));
  SetTotalShots(Flag(doc->GetTotalShots()));
  SetResizeSaveSize(Flag(doc->GetResizeSaveSize()));
  SetResizeSave(Flag(doc->GetResizeSave()));
  SetAutoPrint(Flag(doc->GetAutoPrint()));

  SetContrastOffset(Flag(doc->GetContrastOffset()));
  SetSharpnessOffset(Flag(doc->GetSharpnessOffset()));
  SetLevelOffset(Flag(doc->GetLevelOffset()));
  SetAutoEnhance(Flag(doc->GetAutoEnhance()));

  m_nAutoNoiseReduction = Flag(doc->GetAutoNoiseReduction());
  m_nShadingLevel = doc->GetShadingLevel();
  m_nRGBOption = doc->GetRGBOption() ? 1 : 0;
  m_nRGBRed = doc->GetRGBRed();
  m_nRGBGreen = doc->GetRGBGreen();
  m_nRGBBlue = doc->GetRGBBlue();
  SetColorMode(Flag(doc->GetColorMode()));
  CheckDlgButton(kProfileCheck, doc->GetImageProfileState() ? BST_CHECKED : BST_UNCHECKED);
  m_bWBArea = 0;

  SetFocusTargetState(Flag(doc->GetFocusTargetState()));
  SetFocusTargetDocking(Flag(doc->GetFocusTargetDocking()));

  if (m_pPages) m_pPages->RefreshPages();
  Broadcast(kUpdLiveDisplay);
  Broadcast(kUpdProfile);
  Broadcast(kUpdFlowControl);
  m_bInitialising = 0;
}
