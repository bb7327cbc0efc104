// The toolbar's part of a saved bar record, in its archive form (title, count, buttons)
// and its profile form (the "Buttons" bytes). A damaged record throws or answers FALSE
// and leaves the record as it was; a whole one stores back to the bytes it came from.
#include <cstring>
#include <memory>
#include <vector>

#include "FuzzSeeds.h"
#include "afxwin.h"
#include "controls/SECCustomToolBarInfoEx.h"

namespace {

std::vector<uint8_t> Stored(SECCustomToolBarInfoEx& info) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    info.Serialize(ar, nullptr);
    ar.Close();
  }
  std::vector<uint8_t> out(size_t(file.GetLength()));
  file.SeekToBegin();
  if (!out.empty()) file.Read(out.data(), UINT(out.size()));
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  SECCustomToolBarInfoEx info;
  info.m_strTitle = "Tools";
  for (UINT id : {40001u, 0u, 40002u}) {
    auto button = std::make_unique<SECBtnInfo>();
    button->m_nID = id;
    if (id == 40002u) button->m_data = {7, 8};
    info.m_btnInfo.Add(std::move(button));
  }
  fuzzseeds::Write("record", Stored(info));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Archive form.
  {
    SECCustomToolBarInfoEx info;
    info.m_strTitle = "before";
    CMemFile file(const_cast<BYTE*>(data), UINT(size));
    bool damaged = false;
    size_t used = 0;
    try {
      CArchive ar(&file, CArchive::load);
      info.Serialize(ar, nullptr);
      ar.Close();
      used = size_t(file.GetPosition());
    } catch (CException* e) {
      e->Delete();
      damaged = true;
    }
    if (damaged && (info.m_strTitle != "before" || info.m_btnInfo.GetSize() != 0)) abort();
    if (!damaged) {
      std::vector<uint8_t> again = Stored(info);
      // The title's length may have been written in a longer form than needed.
      if (again.size() > used) abort();
    }
  }
  // Profile form: the buttons one after another.
  SECBtnInfoArray buttons;
  if (SECCustomToolBarInfoEx::ParseButtons(data, size, buttons)) {
    SECCustomToolBarInfoEx info;
    info.m_btnInfo.Swap(buttons);
    std::vector<BYTE> again = info.ButtonBytes();
    if (again.size() != size || (size && memcmp(again.data(), data, size) != 0)) abort();
  } else if (buttons.GetSize() != 0) {
    abort();
  }
  return 0;
}
