#include "binding/CLead.h"

IMPLEMENT_DYNCREATE(CLead, CWnd)

CLSID const& CLead::GetClsid() {
  static const CLSID clsid = {0x00110000, 0xB1BA, 0x11CE, {0xAB, 0xC6, 0xF5, 0xB2, 0xE7, 0x9D, 0x9E, 0x3F}};
  return clsid;
}

BOOL CLead::CreateControl(LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                          CFile* pPersist, BOOL bStorage) {
  return CWnd::CreateControl(GetClsid(), lpszWindowName, dwStyle, rect, pParentWnd, nID, pPersist, bStorage);
}

BOOL CLead::Create(LPCSTR, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                   CCreateContext*) {
  return CreateControl(lpszWindowName, dwStyle, rect, pParentWnd, nID);
}

LONG CLead::GetBitmap() {
  LONG result;
  GetProperty(1, VT_I4, &result);
  return result;
}

void CLead::SetBitmap(LONG newValue) {
  SetProperty(1, VT_I4, newValue);
}

void CLead::SetValue146(LONG newValue) {
  SetProperty(146, VT_I4, newValue);
}

void CLead::SetFlag272(BOOL newValue) {
  SetProperty(272, VT_BOOL, newValue);
}

short CLead::CreateImage(float width, float height, short bits) {
  short result = 0;
  InvokeHelper(314, DISPATCH_METHOD, VT_I2, &result, reinterpret_cast<const BYTE*>(VTS_R4 VTS_R4 VTS_I2), width, height, bits);
  return result;
}

float CLead::GetImageWidth() {
  float result;
  GetProperty(10, VT_R4, &result);
  return result;
}

float CLead::GetImageHeight() {
  float result;
  GetProperty(11, VT_R4, &result);
  return result;
}

short CLead::GetBitsPerPixel() {
  short result;
  GetProperty(12, VT_I2, &result);
  return result;
}

void CLead::SetAutoSize(BOOL newValue) {
  SetProperty(-500, VT_BOOL, newValue);
}

void CLead::SetAppearance(short newValue) {
  SetProperty(-520, VT_I2, newValue);
}

void CLead::SetBorderStyle(short newValue) {
  SetProperty(-504, VT_I2, newValue);
}

LONG CLead::GetBackColor() {
  LONG result;
  GetProperty(-501, VT_I4, &result);
  return result;
}

void CLead::SetBackColor(LONG newValue) {
  SetProperty(-501, VT_I4, newValue);
}

void CLead::SetAutoRepaint(BOOL newValue) {
  SetProperty(2, VT_BOOL, newValue);
}

short CLead::ForceRepaint() {
  short result = 0;
  InvokeHelper(297, DISPATCH_METHOD, VT_I2, &result, reinterpret_cast<const BYTE*>(VTS_NONE));
  return result;
}

void CLead::SetFlag5(BOOL newValue) {
  SetProperty(5, VT_BOOL, newValue);
}

void CLead::SetMode6(short newValue) {
  SetProperty(6, VT_I2, newValue);
}

void CLead::SetMode19(short newValue) {
  SetProperty(19, VT_I2, newValue);
}

void CLead::SetFlag20(BOOL newValue) {
  SetProperty(20, VT_BOOL, newValue);
}

void CLead::SetFlag57(BOOL newValue) {
  SetProperty(57, VT_BOOL, newValue);
}

void CLead::SetFlag160(BOOL newValue) {
  SetProperty(160, VT_BOOL, newValue);
}

void CLead::SetFlag237(BOOL newValue) {
  SetProperty(237, VT_BOOL, newValue);
}

void CLead::SetFlag275(BOOL newValue) {
  SetProperty(275, VT_BOOL, newValue);
}

float CLead::GetDisplayTop() {
  float result;
  GetProperty(22, VT_R4, &result);
  return result;
}

float CLead::GetDisplayLeft() {
  float result;
  GetProperty(21, VT_R4, &result);
  return result;
}

float CLead::GetDisplayWidth() {
  float result;
  GetProperty(23, VT_R4, &result);
  return result;
}

float CLead::GetDisplayHeight() {
  float result;
  GetProperty(24, VT_R4, &result);
  return result;
}

float CLead::GetValue25() {
  float result;
  GetProperty(25, VT_R4, &result);
  return result;
}

void CLead::SetValue25(float newValue) {
  SetProperty(25, VT_R4, newValue);
}

float CLead::GetValue26() {
  float result;
  GetProperty(26, VT_R4, &result);
  return result;
}

void CLead::SetValue26(float newValue) {
  SetProperty(26, VT_R4, newValue);
}

float CLead::GetValue27() {
  float result;
  GetProperty(27, VT_R4, &result);
  return result;
}

void CLead::SetValue27(float newValue) {
  SetProperty(27, VT_R4, newValue);
}

float CLead::GetValue28() {
  float result;
  GetProperty(28, VT_R4, &result);
  return result;
}

void CLead::SetValue28(float newValue) {
  SetProperty(28, VT_R4, newValue);
}

float CLead::GetValue29() {
  float result;
  GetProperty(29, VT_R4, &result);
  return result;
}

float CLead::GetValue30() {
  float result;
  GetProperty(30, VT_R4, &result);
  return result;
}

float CLead::GetValue31() {
  float result;
  GetProperty(31, VT_R4, &result);
  return result;
}

float CLead::GetValue32() {
  float result;
  GetProperty(32, VT_R4, &result);
  return result;
}

float CLead::GetValue60() {
  float result;
  GetProperty(60, VT_R4, &result);
  return result;
}

float CLead::GetValue61() {
  float result;
  GetProperty(61, VT_R4, &result);
  return result;
}

float CLead::GetValue136() {
  float result;
  GetProperty(136, VT_R4, &result);
  return result;
}

float CLead::GetValue137() {
  float result;
  GetProperty(137, VT_R4, &result);
  return result;
}

short CLead::GetPaintSizeMode() {
  short result;
  GetProperty(154, VT_I2, &result);
  return result;
}

void CLead::SetPaintSizeMode(short newValue) {
  SetProperty(154, VT_I2, newValue);
}

float CLead::GetPaintZoom() {
  float result;
  GetProperty(155, VT_R4, &result);
  return result;
}

void CLead::SetPaintZoom(float newValue) {
  SetProperty(155, VT_R4, newValue);
}

short CLead::Method335(float left, float top, float width, float height) {
  short result = 0;
  InvokeHelper(335, DISPATCH_METHOD, VT_I2, &result, reinterpret_cast<const BYTE*>(VTS_R4 VTS_R4 VTS_R4 VTS_R4), left, top, width, height);
  return result;
}

short CLead::SetDisplayRect(float left, float top, float width, float height) {
  short result = 0;
  InvokeHelper(336, DISPATCH_METHOD, VT_I2, &result, reinterpret_cast<const BYTE*>(VTS_R4 VTS_R4 VTS_R4 VTS_R4), left, top, width, height);
  return result;
}

void CLead::SetValue223(float newValue) {
  SetProperty(223, VT_R4, newValue);
}

void CLead::SetValue224(LONG newValue) {
  SetProperty(224, VT_I4, newValue);
}

void CLead::SetPaintContrast(short newValue) {
  SetProperty(172, VT_I2, newValue);
}

void CLead::SetPaintGamma(short newValue) {
  SetProperty(173, VT_I2, newValue);
}

void CLead::SetPaintBrightness(short newValue) {
  SetProperty(174, VT_I2, newValue);
}

void CLead::SetRegionEnabled(BOOL newValue) {
  SetProperty(48, VT_BOOL, newValue);
}

float CLead::GetRegionLeft() {
  float result;
  GetProperty(49, VT_R4, &result);
  return result;
}

float CLead::GetRegionTop() {
  float result;
  GetProperty(50, VT_R4, &result);
  return result;
}

float CLead::GetRegionWidth() {
  float result;
  GetProperty(51, VT_R4, &result);
  return result;
}

float CLead::GetRegionHeight() {
  float result;
  GetProperty(52, VT_R4, &result);
  return result;
}

void CLead::SetRegionLeft(float newValue) {
  SetProperty(49, VT_R4, newValue);
}

void CLead::SetRegionTop(float newValue) {
  SetProperty(50, VT_R4, newValue);
}

void CLead::SetRegionWidth(float newValue) {
  SetProperty(51, VT_R4, newValue);
}

void CLead::SetRegionHeight(float newValue) {
  SetProperty(52, VT_R4, newValue);
}

void CLead::SetRegionRect(float left, float top, float width, float height) {
  InvokeHelper(344, DISPATCH_METHOD, VT_EMPTY, nullptr, reinterpret_cast<const BYTE*>(VTS_R4 VTS_R4 VTS_R4 VTS_R4), left, top, width, height);
}

short CLead::Method282(short newValue) {
  short result = 0;
  InvokeHelper(282, DISPATCH_METHOD, VT_I2, &result, reinterpret_cast<const BYTE*>(VTS_I2), newValue);
  return result;
}

short CLead::Method283(short newValue) {
  short result = 0;
  InvokeHelper(283, DISPATCH_METHOD, VT_I2, &result, reinterpret_cast<const BYTE*>(VTS_I2), newValue);
  return result;
}

short CLead::ChangeContrast(short newValue) {
  short result = 0;
  InvokeHelper(284, DISPATCH_METHOD, VT_I2, &result, reinterpret_cast<const BYTE*>(VTS_I2), newValue);
  return result;
}

short CLead::FlipVertical() {
  short result = 0;
  InvokeHelper(286, DISPATCH_METHOD, VT_I2, &result, reinterpret_cast<const BYTE*>(VTS_NONE));
  return result;
}

short CLead::Grayscale(short newValue) {
  short result = 0;
  InvokeHelper(287, DISPATCH_METHOD, VT_I2, &result, reinterpret_cast<const BYTE*>(VTS_I2), newValue);
  return result;
}

short CLead::ChangeHue(short newValue) {
  short result = 0;
  InvokeHelper(289, DISPATCH_METHOD, VT_I2, &result, reinterpret_cast<const BYTE*>(VTS_I2), newValue);
  return result;
}

short CLead::ChangeBrightness(short newValue) {
  short result = 0;
  InvokeHelper(290, DISPATCH_METHOD, VT_I2, &result, reinterpret_cast<const BYTE*>(VTS_I2), newValue);
  return result;
}

short CLead::Negative() {
  short result = 0;
  InvokeHelper(291, DISPATCH_METHOD, VT_I2, &result, reinterpret_cast<const BYTE*>(VTS_NONE));
  return result;
}

short CLead::Sharpen(short newValue) {
  short result = 0;
  InvokeHelper(294, DISPATCH_METHOD, VT_I2, &result, reinterpret_cast<const BYTE*>(VTS_I2), newValue);
  return result;
}

short CLead::ChangeSaturation(short newValue) {
  short result = 0;
  InvokeHelper(295, DISPATCH_METHOD, VT_I2, &result, reinterpret_cast<const BYTE*>(VTS_I2), newValue);
  return result;
}

short CLead::FlipHorizontal() {
  short result = 0;
  InvokeHelper(296, DISPATCH_METHOD, VT_I2, &result, reinterpret_cast<const BYTE*>(VTS_NONE));
  return result;
}

short CLead::Rotate(LONG angle, short flags, LONG fill) {
  short result = 0;
  InvokeHelper(305, DISPATCH_METHOD, VT_I2, &result, reinterpret_cast<const BYTE*>(VTS_I4 VTS_I2 VTS_I4), angle, flags, fill);
  return result;
}

short CLead::ApplyGamma(short newValue) {
  short result = 0;
  InvokeHelper(312, DISPATCH_METHOD, VT_I2, &result, reinterpret_cast<const BYTE*>(VTS_I2), newValue);
  return result;
}

short CLead::ResizeImage(float width, float height, short filter) {
  short result = 0;
  InvokeHelper(319, DISPATCH_METHOD, VT_I2, &result, reinterpret_cast<const BYTE*>(VTS_R4 VTS_R4 VTS_I2), width, height, filter);
  return result;
}

short CLead::CropImage(float left, float top, float width, float height) {
  short result = 0;
  InvokeHelper(339, DISPATCH_METHOD, VT_I2, &result, reinterpret_cast<const BYTE*>(VTS_R4 VTS_R4 VTS_R4 VTS_R4), left, top, width, height);
  return result;
}

short CLead::Method315(LONG dc, float left, float top, float width, float height) {
  short result = 0;
  InvokeHelper(315, DISPATCH_METHOD, VT_I2, &result, reinterpret_cast<const BYTE*>(VTS_I4 VTS_R4 VTS_R4 VTS_R4 VTS_R4), dc, left, top, width, height);
  return result;
}

short CLead::SplitColorPlanes(LONG newValue) {
  short result = 0;
  InvokeHelper(331, DISPATCH_METHOD, VT_I2, &result, reinterpret_cast<const BYTE*>(VTS_I4), newValue);
  return result;
}

short CLead::MergeColorPlanes(LONG newValue) {
  short result = 0;
  InvokeHelper(332, DISPATCH_METHOD, VT_I2, &result, reinterpret_cast<const BYTE*>(VTS_I4), newValue);
  return result;
}

LONG CLead::GetImageSlot(short slot) {
  LONG result = 0;
  InvokeHelper(482, DISPATCH_PROPERTYGET, VT_I4, &result, reinterpret_cast<const BYTE*>(VTS_I2), slot);
  return result;
}

void CLead::SetImageSlot(short slot, LONG handle) {
  InvokeHelper(482, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, reinterpret_cast<const BYTE*>(VTS_I2 VTS_I4), slot, handle);
}

void CLead::SetLutEntry(short index, short value) {
  InvokeHelper(479, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, reinterpret_cast<const BYTE*>(VTS_I2 VTS_I2), index, value);
}

short CLead::ApplyLookupTable(short newValue) {
  short result = 0;
  InvokeHelper(327, DISPATCH_METHOD, VT_I2, &result, reinterpret_cast<const BYTE*>(VTS_I2), newValue);
  return result;
}

LONG CLead::GetImageDC() {
  LONG result = 0;
  InvokeHelper(316, DISPATCH_METHOD, VT_I4, &result, reinterpret_cast<const BYTE*>(VTS_NONE));
  return result;
}

short CLead::ReleaseImageDC() {
  short result = 0;
  InvokeHelper(317, DISPATCH_METHOD, VT_I2, &result, reinterpret_cast<const BYTE*>(VTS_NONE));
  return result;
}

LONG CLead::GetPixel(float x, float y) {
  LONG result = 0;
  InvokeHelper(491, DISPATCH_PROPERTYGET, VT_I4, &result, reinterpret_cast<const BYTE*>(VTS_R4 VTS_R4), x, y);
  return result;
}

LONG CLead::GetDrawDC() {
  LONG result = 0;
  InvokeHelper(345, DISPATCH_METHOD, VT_I4, &result, reinterpret_cast<const BYTE*>(VTS_NONE));
  return result;
}

short CLead::ReleaseDrawDC() {
  short result = 0;
  InvokeHelper(346, DISPATCH_METHOD, VT_I2, &result, reinterpret_cast<const BYTE*>(VTS_NONE));
  return result;
}

short CLead::ReadFileInfo(LPCTSTR path, short page) {
  short result = 0;
  InvokeHelper(341, DISPATCH_METHOD, VT_I2, &result, reinterpret_cast<const BYTE*>(VTS_BSTR VTS_I2), path, page);
  return result;
}

float CLead::GetFileWidth() {
  float result;
  GetProperty(40, VT_R4, &result);
  return result;
}

float CLead::GetFileHeight() {
  float result;
  GetProperty(41, VT_R4, &result);
  return result;
}

short CLead::GetFileBitsPerPixel() {
  short result;
  GetProperty(43, VT_I2, &result);
  return result;
}

LONG CLead::GetFileValue44() {
  LONG result;
  GetProperty(44, VT_I4, &result);
  return result;
}

LONG CLead::GetFileValue45() {
  LONG result;
  GetProperty(45, VT_I4, &result);
  return result;
}

short CLead::LoadFile(LPCTSTR path, short bits, short page, short count) {
  short result = 0;
  InvokeHelper(322, DISPATCH_METHOD, VT_I2, &result, reinterpret_cast<const BYTE*>(VTS_BSTR VTS_I2 VTS_I2 VTS_I2), path, bits, page, count);
  return result;
}

short CLead::SaveFile(LPCTSTR path, short format, short bits, short quality, short options) {
  short result = 0;
  InvokeHelper(301, DISPATCH_METHOD, VT_I2, &result, reinterpret_cast<const BYTE*>(VTS_BSTR VTS_I2 VTS_I2 VTS_I2 VTS_I2), path, format, bits, quality, options);
  return result;
}

short CLead::SaveToMemory(LONG* memory, short format, short bits, short quality, LONG* size) {
  short result = 0;
  InvokeHelper(368, DISPATCH_METHOD, VT_I2, &result, reinterpret_cast<const BYTE*>(VTS_PI4 VTS_I2 VTS_I2 VTS_I2 VTS_PI4), memory, format, bits, quality, size);
  return result;
}

VARIANT CLead::ReadFileField(LPCTSTR path, short page, short field) {
  VARIANT result;
  VariantInit(&result);
  InvokeHelper(425, DISPATCH_METHOD, VT_VARIANT, &result, reinterpret_cast<const BYTE*>(VTS_BSTR VTS_I2 VTS_I2), path, page, field);
  return result;
}

void CLead::SetFileField(short field, const VARIANT& value) {
  InvokeHelper(490, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, reinterpret_cast<const BYTE*>(VTS_I2 VTS_VARIANT), field, &value);
}
