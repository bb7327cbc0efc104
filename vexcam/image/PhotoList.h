// CPhotoList: a list of pictures that stores itself, with each picture's class, through
// an archive. It does not own its pictures; whoever empties it deletes each one, and a
// loaded list names each picture once, so that is always safe.
#pragma once
#include "afx.h"

class CPhotoList : public CObList {
  DECLARE_SERIAL(CPhotoList)

 public:
  // Loading refuses an entry that is no picture, or a picture the list names already
  // (an archive's reference back to it), with a CArchiveException; the pictures read
  // until then stay in the list.
  void Serialize(CArchive& ar) override;
};
