// CPhotoList: a list of pictures that stores itself, with each picture's class, through
// an archive.
#pragma once
#include "afx.h"

class CPhotoList : public CObList {
  DECLARE_SERIAL(CPhotoList)

 public:
  void Serialize(CArchive& ar) override;
};
