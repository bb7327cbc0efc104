// CLead: the window that hosts one imaging control and turns each member of its
// dispatch interface that the program uses into a plain member function. Every
// member is one dispatch call and checks nothing; a failed call throws
// COleDispatchException. It keeps no state of its own and takes no lock.
#pragma once
#include <afxwin.h>
#include <afxdisp.h>

class CLead : public CWnd {
  DECLARE_DYNCREATE(CLead)

 public:
  CLead() = default;
  ~CLead() override = default;

  static CLSID const& GetClsid();

  // Creates the control window as a child of `pParentWnd`; FALSE when the control
  // cannot be created (for example, not registered).
  BOOL CreateControl(LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                     CFile* pPersist = nullptr, BOOL bStorage = FALSE);
  BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
              UINT nID, CCreateContext* pContext = nullptr) override;

  LONG GetBitmap();
  void SetBitmap(LONG newValue);
  void SetValue146(LONG newValue);
  void SetFlag272(BOOL newValue);
  short CreateImage(float width, float height, short bits);
  float GetImageWidth();
  float GetImageHeight();
  short GetBitsPerPixel();
  void SetAutoSize(BOOL newValue);
  void SetAppearance(short newValue);
  void SetBorderStyle(short newValue);
  LONG GetBackColor();
  void SetBackColor(LONG newValue);
  void SetAutoRepaint(BOOL newValue);
  short ForceRepaint();
  void SetFlag5(BOOL newValue);
  void SetMode6(short newValue);
  void SetMode19(short newValue);
  void SetFlag20(BOOL newValue);
  void SetFlag57(BOOL newValue);
  void SetFlag160(BOOL newValue);
  void SetFlag237(BOOL newValue);
  void SetFlag275(BOOL newValue);
  float GetDisplayTop();
  float GetDisplayLeft();
  float GetDisplayWidth();
  float GetDisplayHeight();
  float GetValue25();
  void SetValue25(float newValue);
  float GetValue26();
  void SetValue26(float newValue);
  float GetValue27();
  void SetValue27(float newValue);
  float GetValue28();
  void SetValue28(float newValue);
  float GetValue29();
  float GetValue30();
  float GetValue31();
  float GetValue32();
  float GetValue60();
  float GetValue61();
  float GetValue136();
  float GetValue137();
  short GetPaintSizeMode();
  void SetPaintSizeMode(short newValue);
  float GetPaintZoom();
  void SetPaintZoom(float newValue);
  short Method335(float left, float top, float width, float height);
  short SetDisplayRect(float left, float top, float width, float height);
  void SetValue223(float newValue);
  void SetValue224(LONG newValue);
  void SetPaintContrast(short newValue);
  void SetPaintGamma(short newValue);
  void SetPaintBrightness(short newValue);
  void SetRegionEnabled(BOOL newValue);
  float GetRegionLeft();
  float GetRegionTop();
  float GetRegionWidth();
  float GetRegionHeight();
  void SetRegionLeft(float newValue);
  void SetRegionTop(float newValue);
  void SetRegionWidth(float newValue);
  void SetRegionHeight(float newValue);
  void SetRegionRect(float left, float top, float width, float height);
  short Method282(short newValue);
  short Method283(short newValue);
  short ChangeContrast(short newValue);
  short FlipVertical();
  short Grayscale(short newValue);
  short ChangeHue(short newValue);
  short ChangeBrightness(short newValue);
  short Negative();
  short Sharpen(short newValue);
  short ChangeSaturation(short newValue);
  short FlipHorizontal();
  short Rotate(LONG angle, short flags, LONG fill);
  short ApplyGamma(short newValue);
  short ResizeImage(float width, float height, short filter);
  short CropImage(float left, float top, float width, float height);
  short Method315(LONG dc, float left, float top, float width, float height);
  short SplitColorPlanes(LONG newValue);
  short MergeColorPlanes(LONG newValue);
  LONG GetImageSlot(short slot);
  void SetImageSlot(short slot, LONG handle);
  void SetLutEntry(short index, short value);
  short ApplyLookupTable(short newValue);
  LONG GetImageDC();
  short ReleaseImageDC();
  LONG GetPixel(float x, float y);
  LONG GetDrawDC();
  short ReleaseDrawDC();
  short ReadFileInfo(LPCTSTR path, short page);
  float GetFileWidth();
  float GetFileHeight();
  short GetFileBitsPerPixel();
  LONG GetFileValue44();
  LONG GetFileValue45();
  short LoadFile(LPCTSTR path, short bits, short page, short count);
  short SaveFile(LPCTSTR path, short format, short bits, short quality, short options);
  short SaveToMemory(LONG* memory, short format, short bits, short quality, LONG* size);
  VARIANT ReadFileField(LPCTSTR path, short page, short field);
  void SetFileField(short field, const VARIANT& value);
  short RenderToDC(LONG dc, float left, float top, float width, float height) { return Method315(dc, left, top, width, height); }
  short Filter283(short newValue) { return Method283(newValue); }
  short SetDisplaySourceRect(float left, float top, float width, float height) { return Method335(left, top, width, height); }
  short SetRect335(float left, float top, float width, float height) { return Method335(left, top, width, height); }
  short GetFileFormat() { return GetFileBitsPerPixel(); }
};
