// CImage: a picture kept as a byte string (bottom-up rows) and shown through a device
// bitmap in its memory DC; it is the picture class that travels through archives.
#pragma once
#include "Header.h"

class CImage : public CHeader {
  DECLARE_SERIAL(CImage)

 public:
  CImage();
  ~CImage() override;

  BOOL CreateBitmap();
  BOOL RebuildBitmap();
  void Clear();
  void Serialize(CArchive& ar) override;

  CString m_Data;   // pixel rows, height x stride bytes
  CBitmap m_Spare;  // the device bitmap made from m_Data

 private:
  void Load(CArchive& ar);
};
