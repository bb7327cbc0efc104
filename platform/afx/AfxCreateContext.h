// What a frame passes down while it creates its views.
#pragma once
#include "afx.h"

class CView;
class CDocument;
class CDocTemplate;
class CFrameWnd;

struct CCreateContext {
  CRuntimeClass* m_pNewViewClass = nullptr;
  CDocument* m_pCurrentDoc = nullptr;
  CDocTemplate* m_pNewDocTemplate = nullptr;
  CView* m_pLastView = nullptr;
  CFrameWnd* m_pCurrentFrame = nullptr;
};

// Part `iSubString` of a text of parts separated by `chSep`; FALSE past the last part.
BOOL AfxExtractSubString(CString& rString, LPCSTR lpszFullString, int iSubString, char chSep = '\n');
