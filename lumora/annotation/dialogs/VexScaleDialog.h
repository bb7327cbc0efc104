// CVexScaleDialog: the modeless "Scale" window. It edits copies of the document's eight
// scale presets and works out each bar's length in pixels from one of three sources
// (optical: lens and magnification; a line measured on the still picture; a typed pixel
// count). Apply (and OK) writes the copies and the two show-the-scale switches to the
// document; Cancel returns the document to what the last Apply, or the opening, left.
// Stored pixel counts are Fine pixels of a full-size picture; what the user sees and
// types is scaled by the resolution factor of the picture's resize-on-save size.
#pragma once
#include <afxwin.h>

#include "ScaleDetailsButton.h"
#include "ScaleLineColor.h"
#include "VexScaleApplyBtn.h"
#include "control/AnnAttr.h"

class CVexDoc;

class CVexScaleDialog : public CDialog {
 public:
  enum { IDD = 2001 };
  enum { kUpdateFlag = 0x200000, kDetailsHeight = 290 };
  enum Source { kOptical = 0, kMeasurement = 1, kPixel = 2, kNone = 3 };

  explicit CVexScaleDialog(CVexDoc* doc, CWnd* pParent = nullptr);

  // Flag 0x200000 only: the resolution factor from the resize code (0 0.75, 1 0.5,
  // 2 0.25) while resize-on-save is on, else 1.0; then every field is shown again.
  int OnSettingsChanged(LONG flag, int code);
  // The length of the line measured for calibration, in pixels of the shown picture.
  void SetMeasuredPixels(int pixels);
  BOOL PreTranslateMessage(MSG* pMsg) override;

  // Metres per unit and the unit names "cm", "mm", "um", "nm"; an index outside 0-3
  // reads as the nearest unit.
  static double MetresPerUnit(int unit);
  static const char* UnitName(int unit);
  // A lens or magnification value: "%3d" when whole, "  %3.1f" with one decimal,
  // "  %3.2f" otherwise.
  static CString FormatNumber(double value);

  // What the dialog holds, for its owner and tests.
  const tScaleInfo& GetPreset(int index) const { return m_presets[index & 7]; }
  int GetCurrentIndex() const { return m_nCurrent; }
  double GetResolutionFactor() const { return m_dFactor; }
  int IsMeasuring() const { return m_bMeasuring; }
  int IsDetailsShown() const { return m_bDetails; }
  const CScaleDetailsButton& GetDetailsButton() const { return m_details; }

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;

  void RefreshDialog();
  void RefreshMeasurement();
  void RefreshPixelEntry();
  void SetSource(int source);
  // Metres per Fine pixel from the current preset's source: 1 when `mpp` is good, 0
  // (after telling the user) when the source's inputs are not.
  int GetMetresPerPixel(double& mpp);
  void UpdateCalibration();

  afx_msg void Apply();
  afx_msg void OnKillfocusLength();
  afx_msg void OnKillfocusWidth();
  afx_msg void OnKillfocusLens();
  afx_msg void OnKillfocusMag();
  afx_msg void OnKillfocusMeasuredLength();
  afx_msg void OnKillfocusPixelCountFine();
  afx_msg void OnKillfocusPixelCountQuick();
  afx_msg void OnKillfocusPixelLength();
  afx_msg void OnSelchangePreset();
  afx_msg void OnKillfocusPreset();
  afx_msg void OnLineColor();
  afx_msg void OnBackColor();
  afx_msg void OnBackFill();
  afx_msg void OnDetails();
  afx_msg void OnMeasuringPixels();
  afx_msg void OnMeasuringDone();
  afx_msg void OnCaptured();
  afx_msg void OnLive();
  afx_msg void OnHorizontal();
  afx_msg void OnVertical();
  afx_msg void OnOptical();
  afx_msg void OnMeasurement();
  afx_msg void OnPixel();
  afx_msg void OnNoSource();
  afx_msg void OnSelchangeWidth();
  afx_msg void OnSelchangeDivide();
  afx_msg void OnSelchangeLengthUnit();
  afx_msg void OnSelchangeMeasuredUnit();
  afx_msg void OnSelchangePixelUnit();
  DECLARE_MESSAGE_MAP()

 private:
  tScaleInfo& Current() { return m_presets[m_nCurrent]; }
  // Reads one typed number: 1 when `value` holds it, 0 when the field was empty, -1 when
  // the text was refused with `message` (a box over the dialog).
  int ReadEntry(const CString& text, bool integer, double lo, double hi, UINT message, double& value);
  void ShowError(UINT message);
  // A source button: the preset takes the source and the calibration is worked out again.
  void ChooseSource(int source);
  // Moves control `id` to (x, y) of the client area, keeping its size unless one is given.
  void PlaceControl(int id, int x, int y, int cx = -1, int cy = -1);
  // Shows the details (lower part) or hides them; the window keeps its top left corner.
  void ShowDetails(int shown);

  CVexDoc* m_pDoc;
  tScaleInfo m_presets[8];
  int m_nCurrent = 0;
  int m_nSavedIndex = 0;
  int m_nLive = 0, m_nCaptured = 0;
  int m_nSavedLive = 0, m_nSavedCaptured = 0;
  double m_dFactor = 1.0;
  int m_nSource = kNone;
  int m_bDetails = 0;
  int m_nDetailsHeight = kDetailsHeight;
  int m_bMeasuring = 0;
  int m_nFill = 0;
  CRect m_rcFull, m_rcCaptured, m_rcPreset;
  BOOL m_bInitialized = FALSE;

  // Data exchange: the texts and choices the controls show.
  CString m_strLength, m_strWidth, m_strLens, m_strMag;
  CString m_strMeasuredLength, m_strFinePixels, m_strQuickPixels;
  CString m_strPixelFine, m_strPixelQuick, m_strPixelLength;
  CString m_strFineSize, m_strFineUnit, m_strQuickSize, m_strQuickUnit;
  int m_nDirection = 0, m_nDivideIndex = -1;
  int m_nLengthUnit = 2, m_nMeasuredUnit = 2, m_nPixelUnit = 2;

  CComboBox m_presetCombo, m_widthCombo, m_divideCombo, m_lensCombo, m_magCombo;
  CComboBox m_lengthUnitCombo, m_measuredUnitCombo, m_pixelUnitCombo;
  CScaleLineColor m_lineColor;
  CScaleBackColorButton m_backColor;
  CScaleDetailsButton m_details;
  CVexScaleApplyBtn m_apply;
};
