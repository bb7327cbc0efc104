// CVexDisplayOutput: a picture pane of the main window and the output stage that shows
// a slot's picture in it, live (with the measuring overlays drawn into each frame) or
// still (fitted, zoomed, with annotations). It owns the pane's imaging control.
//
// The live thread runs Output while the user-interface thread drags the overlays, zooms
// and shows frames again: the values both read sit under m_overlayLock and are copied
// out before anything is drawn; m_drawLock keeps the live Output and ShowLiveFrame from
// drawing on the control at once. The annotation objects, the selection and the scale
// object sit under m_annotationLock, which no holder keeps while it waits for a thread.
// The control lends its drawing context to one borrower at a time; the pane's writers
// (a capture thread's new picture, the painted event on the window's thread) borrow it
// through DrawContext, which makes each wait for the other's turn.
#pragma once
#include <afxwin.h>
#include <afxdisp.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "annotation/objects/AnnObj.h"
#include "control/AnnAttr.h"
#include "pipeline/VexImageOutput.h"

class CAnnScale;
class CLead;
class CMainFrame;
namespace vexedit {
class EditLock;
}

class CVexDisplayOutput : public CVexImageOutput {
  DECLARE_DYNCREATE(CVexDisplayOutput)
 public:
  enum : LONG { kLiveFlag = 0x800, kStillFlag = 0x1000, kErrorType = 410 };
  // An error met on another thread, reported on the pane's own.
  enum : UINT { kReportLater = WM_APP + 0x52 };
  enum DisplayMode : SHORT { kStill = 0, kStillHalf = 1, kLive = 2, kLiveHalf = 3 };
  // One annotation clipboard entry; the entry owns its clone.
  struct tSpotBuffer {
    CAnnObj* object = nullptr;
    int index = -1;
    int operation = 0;
    int pasteable = 0;
    int marked = 0;
  };

  CVexDisplayOutput();
  ~CVexDisplayOutput() override;

  // The control's drawing context for as long as the object lives, after the other
  // writers of the pane have given it back; Value() is 0 when the control lends none.
  class DrawContext {
   public:
    explicit DrawContext(CVexDisplayOutput& display);
    ~DrawContext();
    DrawContext(const DrawContext&) = delete;
    DrawContext& operator=(const DrawContext&) = delete;
    LONG Value() const { return value_; }
    // Gives the context back now; the control's answer (0 when taken back).
    short Release();

   private:
    std::unique_lock<std::recursive_mutex> turn_;
    CLead* lead_;
    LONG value_ = 0;
  };

  BOOL CreateImagingControl(const RECT* rect);
  CLead* GetImagingControl() const { return Lead(); }
  void OnInitialUpdate() override;
  void OnDraw(CDC* pDC) override;

  // ---- stage and flow-control operations (the thread of the flow)
  int Output(SHORT slot) override;
  virtual int SetDisplayMode(SHORT mode);
  SHORT GetDisplayMode() const { return m_nDisplayMode; }
  virtual void StoreImage(SHORT slot, LONG bitmap);
  virtual void ResetZoom();
  virtual void ClearAnnotations();
  // Shows the clean still picture again with its annotations and scale.
  virtual void ReloadCurrentImage();
  virtual int OnSettingsChanged(LONG flag);
  // What the main frame tells the still pane after a capture; stored only.
  void SetLiveOption(int option) { m_nLiveOption = option; }
  int GetLiveOption() const { return m_nLiveOption; }
  // The newest live frame (the image slots' third bitmap) with its overlays.
  int ShowLiveFrame();

  // ---- zoom (user-interface thread)
  void ZoomIn() { StepZoom(0); }
  void ZoomOut() { StepZoom(1); }
  void ZoomFit();
  int SetZoom(float percent);
  int ZoomAboutPoint(float percent, float x, float y);
  static float StepStillZoom(int down, float zoom);
  static float StepLiveZoom(int down, float zoom);
  float GetBaseZoom() const { return Locked(m_fBaseZoom); }
  int IsLiveZoomed() const { return Locked(m_bLiveZoomed); }
  CRect GetLiveZoomRect() const { return Locked(m_rcLiveZoom); }

  // ---- coordinate spaces
  CPoint WindowToDisplay(CPoint window) const;
  static CPoint PictureToDisplay(CPoint picture, SHORT mode);
  static CPoint DisplayToPicture(CPoint display, SHORT mode);
  static CRect DisplayRectToPicture(const CRect& display, SHORT mode);
  CRect ShiftIntoDisplay(CRect rect) const;
  CRect GetDisplayRect() const { return Locked(m_rcDisplay); }

  // ---- live overlays: what is shown, and where it goes in the document
  CRect GetShootArea() const { return Locked(m_rcShootArea); }
  CRect GetFocusBox() const { return Locked(m_rcFocusBox); }
  CRect GetWhiteBalanceArea() const { return Locked(m_rcWhiteBalance); }
  SHORT GetProfileRow() const { return Locked(m_nProfileRow); }
  SHORT GetLiveAreaType() const { return m_nLiveAreaType; }
  SHORT GetMouseTool() const { return m_nMouseTool; }
  void LoadShootArea();
  void LoadFocusBox();
  void LoadProfileRow();
  void StoreShootTarget();
  void StoreShadingPoint();
  void StoreFocusPosition();
  void StoreProfileRow();
  void StoreWhiteBalanceArea(int isRectangle);
  BOOL HitFocusBox(CPoint point) const;
  BOOL HitShootArea(CPoint point) const;
  BOOL HitProfileLine(CPoint point) const;

  // ---- still picture and read-out
  void ShowZoomText();
  int ShowPixelInfo(int x, int y, int red, int green, int blue);
  // The read-out's text, as the status bar shows it.
  static CString PixelInfoText(int x, int y, int red, int green, int blue);
  void StoreShownBitmap();
  float GetImageWidth() const;
  float GetImageHeight() const;
  // Picture pixels per pane pixel, and the picture point at the pane's origin.
  double GetImageScale() const;
  CPoint GetScrollOffset() const;
  static int ButtonStateToKeyFlags(short button, short shift);

  // ---- annotation editing (user-interface thread; the save thread only burns)
  virtual void SetAnnotationMode(int on);
  virtual int AbandonUnfinishedAnnotation();
  // Drops the object still being drawn and shows the picture again; 0 when none is.
  int DeleteCurrentAnnotation();
  void SetAnnotationsEnabled(int on);
  // Draws the annotation objects, or the scale overlay, onto a picture being saved.
  void BurnAnnotations(HDC dc);
  void BurnScaleOverlay(HDC dc);
  void ClearSelection();

  // ---- annotation commands of menu 144 and accelerator table 128
  afx_msg void OnAnnCopy();
  afx_msg void OnAnnCut();
  afx_msg void OnAnnPaste();
  afx_msg void OnAnnDelete();
  afx_msg void OnAnnRotate();
  afx_msg void OnAnnReshape();
  afx_msg void OnAnnProperty();
  afx_msg void OnAnnSelectAll();
  afx_msg void OnUpdateAnnCopy(CCmdUI* pCmdUI);
  afx_msg void OnUpdateAnnCut(CCmdUI* pCmdUI);
  afx_msg void OnUpdateAnnPaste(CCmdUI* pCmdUI);
  afx_msg void OnUpdateAnnDelete(CCmdUI* pCmdUI);
  afx_msg void OnUpdateAnnRotate(CCmdUI* pCmdUI);
  afx_msg void OnUpdateAnnReshape(CCmdUI* pCmdUI);
  afx_msg void OnUpdateAnnProperty(CCmdUI* pCmdUI);
  afx_msg void OnUpdateAnnSelectAll(CCmdUI* pCmdUI);
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
  void ClearClipboard();
  virtual void ResetAnnotationState();

  // ---- the editing state as the main frame moves it to the other display
  int GetAnnotationModeFlag() const { return m_bAnnotationMode; }
  void SetAnnotationModeFlag(int on) { m_bAnnotationMode = on; }
  int GetDrawingTool() const { return m_nDrawingTool; }
  void SetDrawingTool(int tool) { m_nDrawingTool = tool; }
  int GetEditMode() const { return m_nEditMode; }
  void SetEditMode(int mode) { m_nEditMode = mode; }
  int GetCurrentIndex() const { return m_nCurrentIndex; }
  void SetCurrentIndex(int index) { m_nCurrentIndex = index; }
  int GetAnnotationLayer() const { return m_bAnnotationLayer; }
  void SetAnnotationLayer(int on) { m_bAnnotationLayer = on; }
  int GetAnnotationCount() const;
  // The object at `index` of the list, owned by the display; null outside the list.
  CAnnObj* GetAnnotation(int index) const;
  void AddAnnotationCopy(const CAnnObj* object);
  tSpotBuffer GetClipboardEntry() const { return m_work; }
  void SetClipboardEntry(const CAnnObj* object, int index, int operation, int pasteable, int marked);
  int GetSelectionCount() const { return m_nSelectionCount; }
  void SetSelectionCount(int count) { m_nSelectionCount = count; }
  int GetSelectedIndex(int position) const;
  void AddSelection(int index);
  int GetClipboardCount() const;
  tSpotBuffer GetClipboardItem(int position) const;
  void AddClipboardItem(const CAnnObj* object, int index, int operation, int pasteable, int marked);
  int GetPasteCount() const { return m_nPasteCount; }

  // ---- the scale overlay and calibration, as Output and the main frame drive them
  virtual void SetScaleCache(int fineMode, SHORT bufferSize, int turned);
  virtual void SetScaleEditMode(int on);
  virtual void UpdateScaleOverlay(int live);
  virtual void PlaceScaleOverlay(int live, int force);
  int CreateScaleOverlay(int live);
  virtual void BeginCalibration();
  virtual void ApplyCalibration();
  virtual int GetCalibrationLength() const;
  int IsScalePresent() const;
  CPoint GetScalePosition() const;
  // A copy of the overlay's state, for looking at; empty points without an overlay.
  CAnnObj::CAnnObjInfo GetScaleState() const;
  int IsCalibrating() const { return m_bCalibrating; }
  int GetScaleHitMark() const { return m_nScaleHit; }
  int IsScaleEditing() const { return m_bScaleEditing; }
  double GetAnnotationScale() const { return m_dAnnotationScale; }
  int GetFineMode() const { return m_nFineMode; }

  // ---- imaging-control events and window messages (user-interface thread)
  void OnControlMouseDown(short button, short shift, LONG x, LONG y);
  void OnControlMouseMove(short button, short shift, LONG x, LONG y);
  void OnControlMouseUp(short button, short shift, LONG x, LONG y);
  void OnControlDblClick();
  void OnControlPainted();
  void OnControlRepaintNeeded();
  void OnRegionFinished();
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);

 protected:
  // The annotation editor's entry points: points in picture pixels, key flags as
  // Windows gives them (1 left, 2 right, 4 Shift, 8 Control).
  void OnAnnButtonDown(UINT flags, int x, int y, int controlX, int controlY);
  void OnAnnOtherButtonDown(UINT flags, int x, int y);
  void OnAnnMouseMove(UINT flags, int x, int y);
  void OnAnnButtonUp(UINT flags, int x, int y);
  void OnAnnDoubleClick(UINT flags, int x, int y);
  void DrawSelectionHandles();
  void DrawLiveScale(CDC& dc);
  void DrawAnnotations();
  void DrawScaleOverlay();
  // Where every annotation object (by kind: 1 rectangle, 2 ellipse, 3 line, 4 polygon,
  // 5 polyline, 6 freehand, 9 text) and the scale overlay are made; an allocation that
  // fails throws std::bad_alloc.
  virtual std::unique_ptr<CAnnObj> MakeAnnotation(int kind);
  virtual std::unique_ptr<CAnnScale> MakeScaleObject();
  // WM_USER+700 to +703 and +706 to +708.
  afx_msg LRESULT OnCloseAnnotationLayer(WPARAM, LPARAM);
  afx_msg LRESULT OnCloseCalibrationMode(WPARAM, LPARAM);
  afx_msg LRESULT OnBeginCalibrationMessage(WPARAM, LPARAM);
  afx_msg LRESULT OnCancelCalibration(WPARAM, LPARAM);
  afx_msg LRESULT OnReplaceScaleOverlay(WPARAM, LPARAM);
  afx_msg LRESULT OnEditScaleOverlay(WPARAM, LPARAM);
  afx_msg LRESULT OnApplyCalibrationMessage(WPARAM, LPARAM);

  DECLARE_MESSAGE_MAP()
  DECLARE_EVENTSINK_MAP()

 private:
  // What a live frame is drawn from, copied out under the overlay lock.
  struct LiveOverlays {
    SHORT mode = kLive;
    SHORT areaType = 0;
    int focusShown = 1;
    int zoomed = 0;
    CRect liveZoom, shootArea, focusBox, display;
    SHORT profileRow = 128;
    SHORT guideStyle = 1;
    int turned = 0;
    LONG bracket = 0;
  };
  LiveOverlays SnapshotOverlays() const;
  // One field the live thread reads, as it is now.
  template <class T>
  T Locked(const T& field) const {
    std::lock_guard<std::mutex> guard(m_overlayLock);
    return field;
  }
  // Draws a live frame's overlays into the control's picture; 0, or the failure's detail.
  int DrawOverlaysOnControl(const LiveOverlays& o, bool withScale);
  // A zoomed live frame: the picture placed through the live zoom rectangle, no drawing.
  void ShowEnlarged(const CRect& liveZoom);
  void DrawAreaMarks(CDC& dc, const LiveOverlays& o);
  void DrawProfileLine(CDC& dc, const LiveOverlays& o);
  void DrawGuideLine(CDC& dc, const LiveOverlays& o);
  void DrawLiveLabel(CDC& dc, const LiveOverlays& o);
  void StepZoom(int down);
  void ApplyCursor(UINT resource, int own);
  void SetRegionTool(BOOL on);
  void PixelReadOut(LONG x, LONG y);
  void ShowReadOut(LPCSTR text);
  void ForwardMouseDown(short button, short shift, LONG x, LONG y);
  void ForwardMouseMove(short button, short shift, LONG x, LONG y);
  void ForwardMouseUp(short button, short shift, LONG x, LONG y);
  void LiveMouseDown(short button, CPoint point);
  void LiveMouseMove(short button, CPoint point);
  void LiveMouseUp(short button, CPoint point);
  void DragOverlay(CPoint point);
  bool DragProfileRow(CPoint point);
  void DragBand(CPoint point);
  static CRect FocusBoxAround(CPoint centre);
  static CRect Shift(CRect rect, const CRect& display);
  // ---- annotation editing internals (callers hold m_annotationLock)
  int BeginToolObject(CPoint point);
  void CreateTextObject();
  void CreateLineObject();
  void CreateRectangleObject();
  void CreateEllipseObject();
  void CreatePolygonObject();
  void CreatePolylineObject();
  void CreateFreehandObject();
  // The creators' shared steps; the new object, or null when it could not be made.
  CAnnObj* CreateObject(int kind, int drawingTool);
  void CreateCalibrationLine();
  void DiscardInvalidCurrent();
  void RemoveInvalidObjects();
  int DeleteSelectedVertex();
  void DeleteSelectedObjects();
  // Copy (0), cut (2) or delete (4) of the selection into the clipboard.
  void TakeSelection(int operation);
  void DeleteObjectAt(int index);
  void DeleteCalibrationLines();
  void SelectObject(int index);
  void Prepare(CAnnObj& object) const;
  // Objects 0 to `last` onto `dc`; `last` only once it is finished.
  void DrawObjectsOn(HDC dc, int last, double zoom, CPoint offset);
  CAnnObj* Current() const;
  bool IsBeingCreated() const;
  bool CurrentIsCalibrationLine() const;
  void ReleaseMouse();
  void RefreshPicture();
  void Report(SHORT type, SHORT detail);
  // Reports what Report kept, on the pane's own thread (posted from any other).
  void FlushReports(std::vector<std::pair<SHORT, SHORT>>& reports);
  afx_msg LRESULT OnReportLater(WPARAM type, LPARAM detail);
  // Scale overlay internals.
  struct ScaleBox {
    int length = 0, height = 0;
    CPoint position{0, 0};
  };
  ScaleBox ComputeScaleBox(int live, bool withResize) const;
  void DropScaleObject();
  void OnScaleRelease(CPoint point);
  void ApplyCalibrationRelease();
  void DrawCalibrationHandles(CAnnObj& line);
  void LoadBackground();
  void Fail(LONG detail) const;
  bool IsLiveMode() const { return m_nDisplayMode >= kLive; }
  CLead* Lead() const;
  static CMainFrame* Frame();

  std::unique_ptr<CLead> m_pLead;
  std::atomic<SHORT> m_nDisplayMode{kStill};
  int m_bTracking = 0;
  CPoint m_ptLast{0, 0};
  CPoint m_ptDragOffset{0, 0};
  SHORT m_nProfileRow = 128;
  SHORT m_nDragTarget = 0;
  SHORT m_nLiveAreaType = 0;
  SHORT m_nMouseTool = 0;
  int m_bFocusDocked = 0;
  int m_bFocusShown = 1;
  int m_bOwnCursor = 0;
  HCURSOR m_hCursor = nullptr;
  CRect m_rcShootArea{0, 0, 640, 512};
  CRect m_rcFocusBox{280, 216, 360, 296};
  CRect m_rcWhiteBalance{0, 0, 0, 0};
  CRect m_rcDisplay{0, 0, 640, 512};
  CFont m_fontLive;
  CPen m_penWhite2, m_penWhite4, m_penBlack2, m_penBlack4, m_penGrey1, m_penGrey2;
  CPalette m_palette;
  CBitmap m_bitmapBack;
  float m_fRegionLeft = 0, m_fRegionRight = 0, m_fRegionTop = 0, m_fRegionBottom = 0;

  // Annotation editing, first group (filled by the annotation editor).
  int m_bAnnotationMode = 0;
  CPoint m_ptLastPress{0, 0};
  int m_nDrawingTool = 0;
  int m_nEditMode = 0;
  int m_nCurrentIndex = -1;
  int m_nSavedIndex = -1;
  CArray<CAnnObj*, CAnnObj*> m_objects;
  int m_nOption = 0;
  int m_bHandlesVisible = 1;
  int m_bAnnotationLayer = 0;
  int m_bButtonHeld = 0;
  int m_bFigureInProgress = 0;
  tSpotBuffer m_work;

  SHORT m_nGuideStyle = 1;
  int m_bLiveZoomed = 0;
  CRect m_rcLiveZoom{0, 0, 0, 0};

  // Scale overlay and calibration.
  tScaleInfo m_scaleInfo{};
  int m_bScaleEditing = 0;
  CAnnScale* m_pScale = nullptr;
  int m_bScalePresent = 0;
  int m_nScaleHit = -1;
  int m_bCalibrating = 0;
  CPoint m_ptScale{0, 0};
  int m_nCalibrationLength = 0;
  int m_nCacheBufferSize = 0, m_nCacheFineMode = 0, m_nCacheTurned = 0;
  int m_nResizeCache = 0;

  // Annotation editing, second group.
  CArray<tSpotBuffer, const tSpotBuffer&> m_clipboard;
  CArray<int, int> m_selection;
  int m_nSelectionCount = 0;
  int m_bAnnotationsEnabled = 1;

  float m_fBaseZoom = 0;
  double m_dAnnotationScale = 1.0;
  int m_nFineMode = -1;
  int m_nPasteCount = 0;
  int m_nLiveOption = 0;
  bool m_bPaintFailureShown = false;

  // Errors met while the annotation lock was held, reported once it is released.
  std::vector<std::pair<SHORT, SHORT>> m_pendingReports;
  int m_nEditDepth = 0;       // nesting of EditLock, under the lock
  bool m_bRepressing = false;  // a calibration press runs once more
  bool m_bWorkOwned = false;   // the work entry's object is its own, not a clipboard entry's
  friend class vexedit::EditLock;
  // What the live overlay was last built from; it is built again only when that changes.
  std::string m_liveScaleKey;
  static bool s_scalePlacedOnce;

  mutable std::mutex m_overlayLock;
  std::mutex m_drawLock;
  // Turns at the control's drawing context; a writer on the same thread may nest.
  std::recursive_mutex m_drawContextLock;
  mutable std::recursive_mutex m_annotationLock;
};
