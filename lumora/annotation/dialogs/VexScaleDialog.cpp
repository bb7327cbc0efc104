#include "VexScaleDialog.h"

#include <afxdlgs.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <string>

#include "control/VexAppIcon.h"
#include "control/VexDoc.h"
#include "ui/MainFrame.h"

namespace {

constexpr int kDetails = 1001, kCaptured = 1148, kHorizontal = 1149, kVertical = 1150, kDivide = 1151;
constexpr int kWidth = 1153, kLength = 1158, kLengthUnit = 1159, kLineColor = 1162, kBackColor = 1164;
constexpr int kLive = 1165, kApply = 1166, kPreset = 1167;
// The source buttons, in the order of the source codes.
constexpr int kOpticalButton = 1168, kMeasurementButton = 1169, kPixelButton = 1170, kNoneButton = 1187;
constexpr int kLens = 1172, kMag = 1174, kMeasuredLength = 1176, kMeasuredUnit = 1177, kPixelLength = 1181;
constexpr int kPixelUnit = 1182, kPixelFine = 1184, kPixelQuick = 1185, kQuickSize = 1186;
constexpr int kFineSize = 1189, kQuickUnit = 1190, kFineUnit = 1191, kQuickPixels = 1192, kFinePixels = 1193;
constexpr int kMeasure = 1194, kFill = 1196, kMeasuringDone = 1199;
constexpr int kSourceButtons[] = {kOpticalButton, kMeasurementButton, kPixelButton, kNoneButton};

constexpr int kWidths[] = {1, 5, 10, 20, 40, 60, 80, 100};
constexpr int kDivides[] = {0, 1, 2, 4, 5, 10};
constexpr double kLenses[] = {0.5, 1, 1.25, 1.6, 1.82, 2, 5, 10, 20, 40, 60, 63, 100, 150, 200};
constexpr double kMags[] = {0.35, 0.38, 0.45, 0.6, 0.63, 1};

// Where the small Measuring Pixels window goes, relative to the full window.
constexpr int kMeasuringShiftX = 630, kMeasuringShiftY = 320;

CString Format(const char* format, double value) {
  CString text;
  text.Format(format, value);
  return text;
}

CString FormatInt(const char* format, int value) {
  CString text;
  text.Format(format, value);
  return text;
}

// trunc(v + 0.5), kept within the int range (a huge length over a tiny pixel, say).
int RoundToInt(double v) {
  const double r = std::trunc(v + 0.5);
  if (!(r > INT_MIN)) return std::isnan(r) ? 0 : INT_MIN;
  return r < INT_MAX ? static_cast<int>(r) : INT_MAX;
}

// A pixel count as the user sees it: "%d" when whole, "%4.2f" otherwise.
CString FormatCount(double q) { return q == std::trunc(q) ? FormatInt("%d", static_cast<int>(q)) : Format("%4.2f", q); }

// A whole text as one number: blanks around it, digits, and for a decimal at most one
// point. Empty (or only blanks) is told apart from malformed.
enum class Typed { kEmpty, kBad, kGood };
Typed ParseTyped(const CString& text, bool integer, double& value) {
  std::string s = (LPCSTR)text;
  const size_t first = s.find_first_not_of(' ');
  if (first == std::string::npos) return Typed::kEmpty;
  s = s.substr(first, s.find_last_not_of(' ') - first + 1);
  int digits = 0, points = 0;
  for (char c : s) {
    if (c >= '0' && c <= '9')
      ++digits;
    else if (c == '.' && !integer)
      ++points;
    else
      return Typed::kBad;
  }
  if (digits == 0 || points > 1) return Typed::kBad;
  value = std::strtod(s.c_str(), nullptr);
  return Typed::kGood;
}

CMainFrame* Frame() { return CMainFrame::Get(); }

// Apply and Cancel write to the document with the main window disabled and live view
// stopped, as every wholesale settings change does.
class FrameHold {
 public:
  FrameHold() : m_frame(Frame()) {
    if (!m_frame) return;
    m_frame->EnableFrame(FALSE);
    m_bLive = m_frame->IsLiveRunning() != 0;
    if (m_bLive) m_frame->StopLive();
  }
  ~FrameHold() {
    if (!m_frame) return;
    if (m_bLive) m_frame->StartLive();
    m_frame->EnableFrame(TRUE);
  }
  FrameHold(const FrameHold&) = delete;
  FrameHold& operator=(const FrameHold&) = delete;

 private:
  CMainFrame* m_frame;
  bool m_bLive = false;
};

}  // namespace

BEGIN_MESSAGE_MAP(CVexScaleDialog, CDialog)
ON_BN_CLICKED(kCaptured, OnCaptured)
ON_BN_CLICKED(kLive, OnLive)
ON_BN_CLICKED(kHorizontal, OnHorizontal)
ON_BN_CLICKED(kVertical, OnVertical)
ON_BN_CLICKED(kDetails, OnDetails)
ON_BN_CLICKED(kMeasure, OnMeasuringPixels)
ON_BN_CLICKED(kOpticalButton, OnOptical)
ON_BN_CLICKED(kMeasurementButton, OnMeasurement)
ON_BN_CLICKED(kPixelButton, OnPixel)
ON_BN_CLICKED(kNoneButton, OnNoSource)
ON_BN_CLICKED(kMeasuringDone, OnMeasuringDone)
ON_BN_CLICKED(kApply, Apply)
ON_BN_CLICKED(kFill, OnBackFill)
ON_BN_CLICKED(kLineColor, OnLineColor)
ON_BN_CLICKED(kBackColor, OnBackColor)
ON_CBN_SELCHANGE(kDivide, OnSelchangeDivide)
ON_CBN_SELCHANGE(kPreset, OnSelchangePreset)
ON_CBN_SELCHANGE(kWidth, OnSelchangeWidth)
ON_CBN_SELCHANGE(kMeasuredUnit, OnSelchangeMeasuredUnit)
ON_CBN_SELCHANGE(kPixelUnit, OnSelchangePixelUnit)
ON_CBN_SELCHANGE(kLengthUnit, OnSelchangeLengthUnit)
ON_CBN_KILLFOCUS(kWidth, OnKillfocusWidth)
ON_CBN_KILLFOCUS(kLens, OnKillfocusLens)
ON_CBN_KILLFOCUS(kMag, OnKillfocusMag)
ON_CBN_KILLFOCUS(kPreset, OnKillfocusPreset)
ON_CBN_DROPDOWN(kPreset, OnKillfocusPreset)
ON_EN_KILLFOCUS(kLength, OnKillfocusLength)
ON_EN_KILLFOCUS(kMeasuredLength, OnKillfocusMeasuredLength)
ON_EN_KILLFOCUS(kPixelFine, OnKillfocusPixelCountFine)
ON_EN_KILLFOCUS(kPixelQuick, OnKillfocusPixelCountQuick)
ON_EN_KILLFOCUS(kPixelLength, OnKillfocusPixelLength)
END_MESSAGE_MAP()

CVexScaleDialog::CVexScaleDialog(CVexDoc* doc, CWnd* pParent) : CDialog(IDD, pParent), m_pDoc(doc) {}

double CVexScaleDialog::MetresPerUnit(int unit) {
  static constexpr double kMetres[] = {0.01, 0.001, 1e-6, 1e-9};
  return kMetres[std::clamp(unit, 0, 3)];
}

const char* CVexScaleDialog::UnitName(int unit) {
  static const char* const kNames[] = {"cm", "mm", "um", "nm"};
  return kNames[std::clamp(unit, 0, 3)];
}

CString CVexScaleDialog::FormatNumber(double value) {
  if (value == std::trunc(value)) return FormatInt("%3d", static_cast<int>(value));
  if (value * 10 == std::trunc(value * 10)) return Format("  %3.1f", value);
  return Format("  %3.2f", value);
}

void CVexScaleDialog::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, kPreset, m_presetCombo);
  DDX_Control(pDX, kWidth, m_widthCombo);
  DDX_Control(pDX, kDivide, m_divideCombo);
  DDX_Control(pDX, kLens, m_lensCombo);
  DDX_Control(pDX, kMag, m_magCombo);
  DDX_Control(pDX, kLengthUnit, m_lengthUnitCombo);
  DDX_Control(pDX, kMeasuredUnit, m_measuredUnitCombo);
  DDX_Control(pDX, kPixelUnit, m_pixelUnitCombo);
  DDX_Control(pDX, kLineColor, m_lineColor);
  DDX_Control(pDX, kBackColor, m_backColor);
  DDX_Control(pDX, kDetails, m_details);
  DDX_Control(pDX, kApply, m_apply);
  DDX_Check(pDX, kCaptured, m_nCaptured);
  DDX_Check(pDX, kLive, m_nLive);
  DDX_Check(pDX, kFill, m_nFill);
  DDX_Radio(pDX, kHorizontal, m_nDirection);
  // Exact: a prefix match would pick another item ("  6" is not "  60").
  DDX_CBStringExact(pDX, kWidth, m_strWidth);
  DDX_CBIndex(pDX, kDivide, m_nDivideIndex);
  DDX_Text(pDX, kLength, m_strLength);
  DDX_CBIndex(pDX, kLengthUnit, m_nLengthUnit);
  DDX_CBStringExact(pDX, kLens, m_strLens);
  DDX_CBStringExact(pDX, kMag, m_strMag);
  DDX_Text(pDX, kMeasuredLength, m_strMeasuredLength);
  DDX_CBIndex(pDX, kMeasuredUnit, m_nMeasuredUnit);
  DDX_Text(pDX, kFinePixels, m_strFinePixels);
  DDX_Text(pDX, kQuickPixels, m_strQuickPixels);
  DDX_Text(pDX, kPixelFine, m_strPixelFine);
  DDX_Text(pDX, kPixelQuick, m_strPixelQuick);
  DDX_Text(pDX, kPixelLength, m_strPixelLength);
  DDX_CBIndex(pDX, kPixelUnit, m_nPixelUnit);
  DDX_Text(pDX, kFineSize, m_strFineSize);
  DDX_Text(pDX, kFineUnit, m_strFineUnit);
  DDX_Text(pDX, kQuickSize, m_strQuickSize);
  DDX_Text(pDX, kQuickUnit, m_strQuickUnit);
}

BOOL CVexScaleDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  SetAppIcon(*this);

  // The template holds the details; the window opens without them.
  m_bDetails = 0;
  m_nDetailsHeight = kDetailsHeight;
  CRect r;
  GetWindowRect(&r);
  r.bottom -= 60;
  m_rcFull = r;
  r.bottom -= m_nDetailsHeight;
  SetWindowPos(nullptr, 0, 0, r.Width(), r.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  m_details.SetExpanded(0);

  m_bMeasuring = 0;
  m_nCurrent = m_pDoc ? m_pDoc->GetScaleSelect() : 0;
  m_nSavedIndex = m_nCurrent;
  if (m_pDoc) {
    for (int i = 0; i < 8; ++i) {
      m_pDoc->SetScaleSelect(i);
      m_pDoc->GetSelectedScale(m_presets[i]);
    }
    m_pDoc->SetScaleSelect(m_nSavedIndex);
  }

  for (const tScaleInfo& p : m_presets) m_presetCombo.AddString(p.name);
  for (CComboBox* units : {&m_lengthUnitCombo, &m_measuredUnitCombo, &m_pixelUnitCombo})
    for (int u = 0; u < 4; ++u) units->AddString(UnitName(u));
  for (int w : kWidths) m_widthCombo.AddString(FormatInt("%4d", w));
  for (int d : kDivides) m_divideCombo.AddString(FormatInt("%4d", d));
  for (double v : kLenses) m_lensCombo.AddString(FormatNumber(v));
  for (double v : kMags) m_magCombo.AddString(FormatNumber(v));

  const tScaleInfo& p = Current();
  m_lineColor.SetColor(p.penColor);
  m_nFill = p.filled == 1 ? 1 : 0;
  m_backColor.SetInUse(m_nFill);
  m_backColor.SetColor(p.fillColor);

  HANDLE icon = ::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(239), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR);
  SendDlgItemMessage(kMeasure, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
  // The Measuring Pixels "OK" waits outside the client area until it is needed.
  PlaceControl(kMeasuringDone, -kMeasuringShiftX, -kMeasuringShiftY);

  if (m_pDoc) {
    m_nLive = m_pDoc->m_bScaleOnLive ? 1 : 0;
    m_nCaptured = m_pDoc->m_bScaleOnCaptured ? 1 : 0;
  }
  m_nSavedLive = m_nLive;
  m_nSavedCaptured = m_nCaptured;

  m_presetCombo.SetCurSel(m_nCurrent);
  m_nDirection = p.vertical != 0 ? 1 : 0;
  UpdateData(FALSE);
  m_bInitialized = TRUE;
  return TRUE;
}

int CVexScaleDialog::OnSettingsChanged(LONG flag, int code) {
  if (flag != kUpdateFlag || !m_pDoc) return 0;
  m_dFactor = 1.0;
  if (m_pDoc->GetResizeSave() == 1) {
    static constexpr double kFactors[] = {0.75, 0.5, 0.25};
    if (code >= 0 && code <= 2) m_dFactor = kFactors[code];
  }
  if (GetSafeHwnd()) RefreshDialog();
  return 1;
}

void CVexScaleDialog::RefreshDialog() {
  UpdateData(TRUE);
  const tScaleInfo& p = Current();
  m_presetCombo.SetCurSel(m_nCurrent);
  m_strLength = Format("%4.2f", p.lengthValue);
  m_nLengthUnit = p.unit >= 0 && p.unit <= 3 ? p.unit : -1;
  m_strWidth = FormatInt("%4d", RoundToInt(p.thickness * m_dFactor));
  // A code that is not in the list leaves the list unselected and the code as it is.
  m_nDivideIndex = -1;
  for (int i = 0; i < static_cast<int>(std::size(kDivides)); ++i)
    if (kDivides[i] == p.divide) m_nDivideIndex = i;
  SetSource(p.source);
  m_strLens = FormatNumber(p.lens);
  m_strMag = FormatNumber(p.magnification);

  // The preset's direction, colours and fill too: a click must edit what is shown.
  m_nDirection = p.vertical != 0 ? 1 : 0;
  m_lineColor.SetColor(p.penColor);
  m_nFill = p.filled == 1 ? 1 : 0;
  m_backColor.SetInUse(m_nFill);
  m_backColor.SetColor(p.fillColor);
  m_lineColor.Invalidate();
  m_backColor.Invalidate();

  RefreshMeasurement();
  RefreshPixelEntry();
  UpdateCalibration();
  UpdateData(FALSE);
}

void CVexScaleDialog::RefreshMeasurement() {
  const tScaleInfo& p = Current();
  m_strFinePixels = FormatInt("%d   ", RoundToInt(p.measuredPixels * m_dFactor));
  m_strQuickPixels = FormatCount(p.measuredPixels / 3.0 * m_dFactor);
  m_strMeasuredLength = Format("%4.2f", p.measuredLength);
  m_nMeasuredUnit = p.measuredUnit >= 0 && p.measuredUnit <= 3 ? p.measuredUnit : -1;
}

void CVexScaleDialog::RefreshPixelEntry() {
  const tScaleInfo& p = Current();
  m_strPixelFine = FormatInt("%d", RoundToInt(p.pixelCount * m_dFactor));
  m_strPixelQuick = FormatCount(p.pixelCount / 3.0 * m_dFactor);
  m_strPixelLength = Format("%4.2f", p.pixelLength);
  m_nPixelUnit = p.pixelUnit >= 0 && p.pixelUnit <= 3 ? p.pixelUnit : -1;
}

void CVexScaleDialog::SetSource(int source) {
  if (source < kOptical || source > kNone) source = kNone;
  for (int id : kSourceButtons) CheckDlgButton(id, BST_UNCHECKED);
  CheckDlgButton(kSourceButtons[source], BST_CHECKED);
  m_nSource = source;
  Current().source = source;
}

int CVexScaleDialog::GetMetresPerPixel(double& mpp) {
  const tScaleInfo& p = Current();
  switch (m_nSource) {
    case kOptical: {
      auto inRange = [](double v) { return v >= 0.01 && v <= 9999.99; };
      if (!inRange(p.lens) || !inRange(p.magnification)) {
        ShowError(62574);
        return 0;
      }
      // The pixel pitch of the sensor in micrometres: newer cameras have a finer one.
      const double pitch = m_pDoc && m_pDoc->IsNewCameraRevision() ? 6.45 : 6.7;
      mpp = pitch * 1e-6 / (3 * p.lens * p.magnification);
      return m_pDoc ? 1 : 0;
    }
    case kMeasurement:
      if (p.measuredPixels <= 0) {
        ShowError(62581);
        return 0;
      }
      mpp = p.measuredLength * MetresPerUnit(p.measuredUnit) / p.measuredPixels;
      return 1;
    case kPixel:
      if (!(p.pixelCount > 0.001 && p.pixelCount <= 999999.999)) {
        ShowError(62575);
        return 0;
      }
      mpp = p.pixelLength * MetresPerUnit(p.pixelUnit) / p.pixelCount;
      return 1;
    default:
      return 1;
  }
}

void CVexScaleDialog::UpdateCalibration() {
  double mpp = 0;
  if (GetMetresPerPixel(mpp) != 1) return;
  tScaleInfo& p = Current();
  if (m_nSource == kNone) {
    m_strFineSize = m_strQuickSize = "None";
    m_strFineUnit.Empty();
    m_strQuickUnit.Empty();
    UpdateData(FALSE);
    return;
  }
  int r = m_nSource == kPixel ? p.pixelUnit : p.measuredUnit;
  r = std::clamp(r, 0, 3);
  auto write = [&] {
    m_strFineSize = Format("%4.2f", mpp / MetresPerUnit(r));
    m_strQuickSize = Format("%4.2f", 3 * mpp / MetresPerUnit(r));
  };
  write();
  // Too small to read in this unit: one unit smaller.
  if ((m_strFineSize == "0.00" || m_strQuickSize == "0.00") && r < 3) {
    ++r;
    write();
  }
  m_strFineUnit = m_strQuickUnit = UnitName(r);
  if (mpp > 0) p.barLength = RoundToInt(p.lengthValue * MetresPerUnit(p.unit) / mpp);
  UpdateData(FALSE);
}

void CVexScaleDialog::ShowError(UINT message) {
  CString text;
  text.LoadString(message);
  MessageBox(text, "Lumora Error", MB_ICONERROR);
}

int CVexScaleDialog::ReadEntry(const CString& text, bool integer, double lo, double hi, UINT message,
                               double& value) {
  double v = 0;
  switch (ParseTyped(text, integer, v)) {
    case Typed::kEmpty: return 0;
    case Typed::kGood:
      if (v >= lo && v <= hi) {
        value = v;
        return 1;
      }
      [[fallthrough]];
    case Typed::kBad: ShowError(message); return -1;
  }
  return -1;
}

void CVexScaleDialog::OnKillfocusLength() {
  UpdateData(TRUE);
  double v;
  if (ReadEntry(m_strLength, false, 0.0, 999999.999, 62572, v) == 1)
    Current().lengthValue = v;
  else
    m_strLength = Format("%4.2f", Current().lengthValue);
  UpdateData(FALSE);
}

void CVexScaleDialog::OnKillfocusWidth() {
  UpdateData(TRUE);
  double v;
  if (ReadEntry(m_strWidth, true, 1, 999, 62573, v) == 1) Current().thickness = RoundToInt(v / m_dFactor);
  m_strWidth = FormatInt("%4d", RoundToInt(Current().thickness * m_dFactor));
  UpdateData(FALSE);
}

void CVexScaleDialog::OnKillfocusLens() {
  UpdateData(TRUE);
  double v;
  const int read = ReadEntry(m_strLens, false, 0.01, 9999.99, 62574, v);
  if (read == 1) Current().lens = v;
  if (read != 1) m_strLens = FormatNumber(Current().lens);
  if (read >= 0) UpdateCalibration();
  UpdateData(FALSE);
}

void CVexScaleDialog::OnKillfocusMag() {
  UpdateData(TRUE);
  double v;
  const int read = ReadEntry(m_strMag, false, 0.01, 9999.99, 62574, v);
  if (read == 1) Current().magnification = v;
  if (read != 1) m_strMag = FormatNumber(Current().magnification);
  if (read >= 0) UpdateCalibration();
  UpdateData(FALSE);
}

void CVexScaleDialog::OnKillfocusMeasuredLength() {
  UpdateData(TRUE);
  double v;
  const int read = ReadEntry(m_strMeasuredLength, false, 0.001, 999999.999, 62575, v);
  if (read == 1) Current().measuredLength = v;
  if (read != 1) m_strMeasuredLength = Format("%4.2f", Current().measuredLength);
  if (read >= 0) UpdateCalibration();
  UpdateData(FALSE);
}

void CVexScaleDialog::OnKillfocusPixelCountFine() {
  UpdateData(TRUE);
  double v;
  const int read = ReadEntry(m_strPixelFine, true, 1, 9999, 62571, v);
  if (read == 1) Current().pixelCount = RoundToInt(v / m_dFactor);
  RefreshPixelEntry();
  if (read >= 0) UpdateCalibration();
  UpdateData(FALSE);
}

void CVexScaleDialog::OnKillfocusPixelCountQuick() {
  UpdateData(TRUE);
  double v;
  const int read = ReadEntry(m_strPixelQuick, false, 0.01, 9999.99, 62574, v);
  if (read == 1) Current().pixelCount = RoundToInt(v * 3 / m_dFactor);
  RefreshPixelEntry();
  if (read >= 0) UpdateCalibration();
  UpdateData(FALSE);
}

void CVexScaleDialog::OnKillfocusPixelLength() {
  UpdateData(TRUE);
  double v;
  const int read = ReadEntry(m_strPixelLength, false, 0.001, 999999.999, 62575, v);
  if (read == 1) Current().pixelLength = v;
  if (read != 1) m_strPixelLength = Format("%4.2f", Current().pixelLength);
  if (read >= 0) UpdateCalibration();
  UpdateData(FALSE);
}

void CVexScaleDialog::SetMeasuredPixels(int pixels) {
  // No line was drawn (or it had no length): the stored count is kept.
  if (pixels <= 0) {
    ShowError(62581);
    return;
  }
  Current().measuredPixels = RoundToInt(pixels / m_dFactor);
  if (!GetSafeHwnd()) return;
  UpdateData(TRUE);
  RefreshMeasurement();
  UpdateData(FALSE);
}

void CVexScaleDialog::Apply() {
  FrameHold hold;
  UpdateData(TRUE);
  if (m_pDoc) {
    m_pDoc->m_bScaleOnCaptured = static_cast<DWORD>(m_nCaptured);
    m_pDoc->m_bScaleOnLive = static_cast<DWORD>(m_nLive);
  }
  m_nSavedCaptured = m_nCaptured;
  m_nSavedLive = m_nLive;
  UpdateCalibration();
  if (m_pDoc) {
    for (int i = 0; i < 8; ++i) {
      m_pDoc->SetScaleSelect(i);
      // A bar dragged on the picture meanwhile moved the document's preset: keep it there.
      tScaleInfo held;
      m_pDoc->GetSelectedScale(held);
      m_presets[i].posX = held.posX;
      m_presets[i].posY = held.posY;
      m_pDoc->SetSelectedScale(m_presets[i]);
    }
    m_pDoc->SetScaleSelect(m_nCurrent);
  }
  m_nSavedIndex = m_nCurrent;
  if (CMainFrame* frame = Frame()) frame->RefreshScaleOverlays();
}

void CVexScaleDialog::OnOK() {
  Apply();
  // The frame destroys the window and frees this object once the click has been handled.
  if (CMainFrame* frame = Frame()) frame->CloseScaleTool();
}

void CVexScaleDialog::OnCancel() {
  if (m_bMeasuring) return;
  FrameHold hold;
  if (m_pDoc) {
    m_pDoc->SetScaleSelect(m_nSavedIndex >= 0 && m_nSavedIndex <= 7 ? m_nSavedIndex : 0);
    m_pDoc->m_bScaleOnLive = static_cast<DWORD>(m_nSavedLive);
    m_pDoc->m_bScaleOnCaptured = static_cast<DWORD>(m_nSavedCaptured);
  }
  if (CMainFrame* frame = Frame()) frame->CloseScaleTool();
}

BOOL CVexScaleDialog::PreTranslateMessage(MSG* pMsg) {
  // Enter and Esc finish the field being typed in (its focus goes to Apply) instead of
  // closing the window.
  if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE)) {
    m_apply.SetFocus();
    return TRUE;
  }
  return CDialog::PreTranslateMessage(pMsg);
}

void CVexScaleDialog::OnSelchangePreset() {
  const int sel = m_presetCombo.GetCurSel();
  m_nCurrent = sel >= 0 && sel <= 7 ? sel : m_nSavedIndex;
  RefreshDialog();
}

void CVexScaleDialog::OnKillfocusPreset() {
  CString text;
  m_presetCombo.GetWindowText(text);
  tScaleInfo& p = Current();
  if (text == p.name) return;
  // Stored as the document stores names, and shown so in the list.
  p.name = CVexDoc::FitScaleName(text);
  m_presetCombo.DeleteString(static_cast<UINT>(m_nCurrent));
  m_presetCombo.InsertString(m_nCurrent, p.name);
  m_presetCombo.SetCurSel(m_nCurrent);
}

void CVexScaleDialog::OnLineColor() {
  UpdateData(TRUE);
  CColorDialog chooser(Current().penColor, 0, this);
  if (chooser.DoModal() == IDOK) {
    Current().penColor = chooser.GetColor();
    m_lineColor.SetColor(Current().penColor);
    m_lineColor.Invalidate();
  }
  UpdateData(FALSE);
}

void CVexScaleDialog::OnBackColor() {
  if (!m_nFill) return;
  UpdateData(TRUE);
  CColorDialog chooser(Current().fillColor, 0, this);
  if (chooser.DoModal() == IDOK) {
    Current().fillColor = chooser.GetColor();
    m_backColor.SetColor(Current().fillColor);
    m_backColor.Invalidate();
  }
  UpdateData(FALSE);
}

void CVexScaleDialog::OnBackFill() {
  m_nFill = m_nFill ? 0 : 1;
  Current().filled = m_nFill;
  CheckDlgButton(kFill, m_nFill ? BST_CHECKED : BST_UNCHECKED);
  m_backColor.SetInUse(m_nFill);
  m_backColor.SetColor(Current().fillColor);
  m_backColor.Invalidate();
}

void CVexScaleDialog::ShowDetails(int shown) {
  CRect r;
  GetWindowRect(&r);
  const int height = r.Height() + (shown ? m_nDetailsHeight : -m_nDetailsHeight);
  SetWindowPos(nullptr, 0, 0, r.Width(), height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  m_bDetails = shown;
  m_details.SetExpanded(shown);
  m_details.Invalidate();
}

void CVexScaleDialog::OnDetails() { ShowDetails(m_bDetails ? 0 : 1); }

void CVexScaleDialog::PlaceControl(int id, int x, int y, int cx, int cy) {
  CWnd* control = GetDlgItem(id);
  if (!control) return;
  CRect r;
  control->GetWindowRect(&r);
  control->MoveWindow(x, y, cx >= 0 ? cx : r.Width(), cy >= 0 ? cy : r.Height());
}

void CVexScaleDialog::OnMeasuringPixels() {
  const SHORT state = m_pDoc ? m_pDoc->GetImageState() : 0;
  if (state == 0 || state == 3 || state == 4) {
    CheckDlgButton(kMeasure, BST_UNCHECKED);
    CString text;
    text.LoadString(62578);
    MessageBox(text, "Lumora Caution", MB_ICONERROR);
    return;
  }
  if (m_nSource != kMeasurement) {
    CheckDlgButton(kMeasure, BST_UNCHECKED);
    return;
  }
  // Positions are the controls' own in the client area, moved by the offsets.
  auto clientRect = [this](int id) {
    CRect r;
    GetDlgItem(id)->GetWindowRect(&r);
    ScreenToClient(&r);
    return r;
  };
  m_rcCaptured = clientRect(kCaptured);
  m_rcPreset = clientRect(kPreset);
  const CRect live = clientRect(kLive);
  PlaceControl(kCaptured, m_rcCaptured.left + 150, m_rcCaptured.top);
  PlaceControl(kLive, live.left + 100, live.top);
  PlaceControl(kPreset, m_rcPreset.left + 100, m_rcPreset.top);

  CRect small = m_rcFull;
  small.right -= 285;
  small.bottom -= 345;
  small.OffsetRect(kMeasuringShiftX, kMeasuringShiftY);
  // The small window stays on the screen whatever the dialog's place.
  const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
  small.OffsetRect(std::min(0, screenW - static_cast<int>(small.right)), std::min(0, screenH - static_cast<int>(small.bottom)));
  small.OffsetRect(std::max(0, -static_cast<int>(small.left)), std::max(0, -static_cast<int>(small.top)));
  MoveWindow(&small);
  GetDlgItem(kMeasuringDone)->MoveWindow(40, 5, 50, 20);

  SetWindowText("Measuring Pixels");
  m_bMeasuring = 1;
  if (CMainFrame* frame = Frame()) frame->BeginCalibration();
}

void CVexScaleDialog::OnMeasuringDone() {
  m_bMeasuring = 0;
  MoveWindow(&m_rcFull);
  // The full window shows the lower part, so the flag (and the triangle) say so.
  m_bDetails = 1;
  m_details.SetExpanded(1);
  m_details.Invalidate();
  SetWindowText("Scale");
  PlaceControl(kCaptured, 12, 10, 105, 20);
  PlaceControl(kLive, 12 + 127, 10);
  PlaceControl(kPreset, 12, 40, m_rcPreset.Width(), m_rcPreset.Height());
  PlaceControl(kMeasuringDone, -kMeasuringShiftX, -kMeasuringShiftY);
  CheckDlgButton(kMeasure, BST_UNCHECKED);
  if (CMainFrame* frame = Frame()) frame->EndCalibration();
  UpdateCalibration();
}

void CVexScaleDialog::OnCaptured() { m_nCaptured = IsDlgButtonChecked(kCaptured) ? 1 : 0; }

void CVexScaleDialog::OnLive() { m_nLive = IsDlgButtonChecked(kLive) ? 1 : 0; }

void CVexScaleDialog::OnHorizontal() { Current().vertical = 0; }

void CVexScaleDialog::OnVertical() { Current().vertical = 1; }

void CVexScaleDialog::ChooseSource(int source) {
  SetSource(source);
  UpdateCalibration();
}

void CVexScaleDialog::OnOptical() { ChooseSource(kOptical); }
void CVexScaleDialog::OnMeasurement() { ChooseSource(kMeasurement); }
void CVexScaleDialog::OnPixel() { ChooseSource(kPixel); }
void CVexScaleDialog::OnNoSource() { ChooseSource(kNone); }

void CVexScaleDialog::OnSelchangeWidth() {
  const int sel = m_widthCombo.GetCurSel();
  // A width from the list is what the user sees, like a typed one.
  if (sel >= 0 && sel < static_cast<int>(std::size(kWidths))) Current().thickness = RoundToInt(kWidths[sel] / m_dFactor);
}

void CVexScaleDialog::OnSelchangeDivide() {
  const int sel = m_divideCombo.GetCurSel();
  if (sel >= 0 && sel < static_cast<int>(std::size(kDivides))) Current().divide = kDivides[sel];
}

void CVexScaleDialog::OnSelchangeLengthUnit() {
  const int sel = m_lengthUnitCombo.GetCurSel();
  if (sel >= 0) Current().unit = sel;
}

void CVexScaleDialog::OnSelchangeMeasuredUnit() {
  const int sel = m_measuredUnitCombo.GetCurSel();
  if (sel >= 0) Current().measuredUnit = sel;
}

void CVexScaleDialog::OnSelchangePixelUnit() {
  const int sel = m_pixelUnitCombo.GetCurSel();
  if (sel >= 0) Current().pixelUnit = sel;
}
