// CVexDisplayOutput: a picture pane of the main window and the output stage that shows
// a slot's picture in it, live (with the measuring overlays drawn into each frame) or
// still (fitted, zoomed, with annotations). It owns the pane's imaging control.
//
// The live thread runs Output while the user-interface thread drags the overlays, zooms
// and shows frames again: the values both read sit under m_overlayLock and are copied
// out before anything is drawn; m_drawLock keeps the live Output and ShowLiveFrame from
// drawing on the control at once. The annotation objects, the selection and the scale
// object sit under m_annotationLock, which no holder keeps while it waits for a thread.
#pragma once
#include <afxwin.h>
#include <afxdisp.h>

#include <atomic>
#include <memory>
#include <mutex>

#include "control/AnnAttr.h"
#include "pipeline/VexImageOutput.h"

class CAnnObj;
class CAnnScale;
class CLead;
class CMainFrame;

class CVexDisplayOutput : public CVexImageOutput {
  DECLARE_DYNCREATE(CVexDisplayOutput)
 public:
  enum : LONG { kLiveFlag = 0x800, kStillFlag = 0x1000, kErrorType = 410 };
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

  // ---- still picture, read-out and the hand-over to annotation editing
  void ShowZoomText();
  int ShowPixelInfo(int x, int y, int red, int green, int blue);
  void StoreShownBitmap();
  float GetImageWidth() const;
  float GetImageHeight() const;
  virtual void SetAnnotationMode(int on);
  virtual int AbandonUnfinishedAnnotation();
  void SetAnnotationsEnabled(int on) { m_bAnnotationsEnabled = on; }
  // Draws the annotation objects, or the scale overlay, onto a picture being saved.
  void BurnAnnotations(HDC dc);
  void BurnScaleOverlay(HDC dc);
  // Picture pixels per pane pixel, and the picture point at the pane's origin.
  double GetImageScale() const;
  CPoint GetScrollOffset() const;
  static int ButtonStateToKeyFlags(short button, short shift);
  // The scale overlay and calibration, as the main frame drives them.
  virtual void SetScaleCache(int fineMode, SHORT bufferSize, int turned);
  virtual void SetScaleEditMode(int on);
  virtual void UpdateScaleOverlay(int live);
  virtual void PlaceScaleOverlay(int live, int force);
  virtual void BeginCalibration();
  virtual void ApplyCalibration();
  virtual int GetCalibrationLength() const;
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

  mutable std::mutex m_overlayLock;
  std::mutex m_drawLock;
  std::recursive_mutex m_annotationLock;
};
