#include "VexDoc.h"

#include "control/VexApp.h"

IMPLEMENT_DYNCREATE(CVexDoc, CDocument)

CVexDoc::CVexDoc() {
  InitCameraSettings();
  BuildUserTable();
  BuildSystemTable();
  BuildCameraTable();
  LoadSettings();
  ParseAnnotationTexts();
  SetTitle("Valdane Lumora");
  for (LONG& flag : m_nEnhanceFlag) flag = static_cast<LONG>(m_nAutoEnhanceLive);
  // The version shows as "2.63": a point after the first digit.
  CString version;
  version.Format("%d%s", static_cast<int>(kProgramVersion), "");
  version.Insert(1, '.');
  if (auto* app = dynamic_cast<CVexApp*>(AfxGetApp())) app->SetVersionText(version);
}

CVexDoc::~CVexDoc() { SaveSettings(); }

BOOL CVexDoc::OnNewDocument() { return CDocument::OnNewDocument() ? TRUE : FALSE; }
