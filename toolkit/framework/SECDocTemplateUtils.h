// SECDocTemplateUtils finds the application's document templates by their registry
// file-type name, or by the classes and resource id of a document, its view and frame.
// Beside it, the helpers that decide which frame becomes active when a docked frame or an
// MDI child goes away.
#pragma once
#include <afxwin.h>

class SECDocTemplateUtils {
 public:
  SECDocTemplateUtils() = default;
  virtual ~SECDocTemplateUtils() = default;

  // The template's place among the templates of that name (0 for the first), -1 when it
  // is none or not one of the application's.
  virtual int GetTemplateIndex(CDocTemplate* pTemplate, LPCSTR lpszName);
  // The template at that place among those of the name; past the end, the last of them.
  virtual CDocTemplate* GetTemplateByIndex(LPCSTR lpszName, int nIndex);
  // The template that made this document, view and frame; null when any is missing or
  // no template fits.
  virtual CDocTemplate* FindTemplate(CDocument* pDoc, CView* pView, CFrameWnd* pFrame);
  virtual UINT GetFrameResourceId(CFrameWnd* pFrame);
  virtual BOOL ListAllTemplates(CPtrList& list);
  virtual BOOL KeepByViewAndFrame(CPtrList& list, CView* pView, CFrameWnd* pFrame);
  virtual BOOL KeepByResourceId(CPtrList& list, CFrameWnd* pFrame);
  virtual BOOL KeepByDocClass(CPtrList& list, CDocument* pDoc);
  // At most one candidate left: it (or null) in *ppTemplate.
  virtual BOOL IsSettled(CPtrList& list, CDocTemplate** ppTemplate);
  virtual BOOL IsDockableFrameClass(CRuntimeClass* pClass);
  virtual CRuntimeClass* GetTemplateFrameClass(CDocTemplate* pTemplate, BOOL bDockable);

  SECDocTemplateUtils(const SECDocTemplateUtils&) = delete;
  SECDocTemplateUtils& operator=(const SECDocTemplateUtils&) = delete;
};

// Whether the main window is an MDI frame with a live client that holds a visible MDI
// child other than pWnd.
BOOL HasOtherVisibleMDIChild(CWnd* pWnd);
// Whether the window and all its parents are visible (a control bar by its own test).
BOOL IsVisibleChain(CWnd* pWnd);
// Makes another visible dockable frame the main frame's active docked frame; FALSE when
// one already is, or none can be found.
BOOL ActivateNextDockableFrame(CFrameWnd* pExcluded);
