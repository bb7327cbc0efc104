#include "VexDoc.h"

IMPLEMENT_DYNCREATE(CVexDoc, CDocument)

CVexDoc::CVexDoc() {
  InitCameraSettings();
  BuildUserTable();
  BuildSystemTable();
  BuildCameraTable();
  LoadSettings();
  ParseAnnotationTexts();
  SetTitle("Valdane Lumora");
}

CVexDoc::~CVexDoc() { SaveSettings(); }

BOOL CVexDoc::OnNewDocument() { return CDocument::OnNewDocument() ? TRUE : FALSE; }
