#include "VexOverlaySelect.h"

#include "VexAppIcon.h"

namespace {
constexpr int kScaleBox = 1199;
constexpr int kAnnotationBox = 1198;
}  // namespace

int CVexOverlaySelect::SetOverlays(int annotation, int scale) {
  m_nAnnotation = annotation;
  m_nScale = scale;
  return 1;
}

void CVexOverlaySelect::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, kScaleBox, m_scaleBox);
  DDX_Control(pDX, kAnnotationBox, m_annotationBox);
  DDX_Check(pDX, kAnnotationBox, m_nAnnotation);
  DDX_Check(pDX, kScaleBox, m_nScale);
}

BOOL CVexOverlaySelect::OnInitDialog() {
  CDialog::OnInitDialog();
  SetAppIcon(*this);
  m_annotationBox.EnableWindow(m_nAnnotation == 1);
  m_scaleBox.EnableWindow(m_nScale == 1);
  return TRUE;
}

void CVexOverlaySelect::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog((m_nAnnotation == 1 ? 1 : 0) | (m_nScale == 1 ? 2 : 0));
}

void CVexOverlaySelect::OnCancel() { EndDialog(0); }
