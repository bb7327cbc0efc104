// Base of every GDI object (pen, brush, bitmap, region, palette, font, DC) and the one
// handle table they all live in.
#pragma once
#include <atomic>
#include <functional>
#include <memory>

#include "HandleTable.h"
#include "WinGdi.h"

namespace plat::gdi {

class GdiObject : public std::enable_shared_from_this<GdiObject> {
 public:
  virtual ~GdiObject() = default;
  // OBJ_PEN, OBJ_BRUSH, OBJ_FONT ...
  virtual DWORD Type() const = 0;
  // GetObject: copies the object's description (LOGPEN, BITMAP, LOGFONT ...) into out,
  // at most size bytes; with out == nullptr returns the size of the full description.
  // Returns 0 for objects that cannot be described.
  virtual int Describe(int size, void* out) const { return 0; }

  uint32_t Id() const { return id_; }
  HGDIOBJ Handle() const { return ToHandle<HGDIOBJ>(id_); }
  bool IsStock() const { return stock_; }

 private:
  friend uint32_t Insert(std::shared_ptr<GdiObject> obj, bool stock);
  friend void NoteSelected(GdiObject& obj);
  friend void NoteDeselected(GdiObject& obj);
  friend bool RequestDelete(GdiObject& obj);
  uint32_t id_ = 0;
  bool stock_ = false;
  // DeleteObject on an object still selected into a DC waits until it is deselected.
  std::atomic<int> selections_{0};
  std::atomic<bool> deletePending_{false};
};

HandleTable<GdiObject>& Table();
// Gives the object a handle; returns the id (0 when the table is full).
uint32_t Insert(std::shared_ptr<GdiObject> obj, bool stock = false);
template <class H = HGDIOBJ>
H Add(std::shared_ptr<GdiObject> obj) {
  return ToHandle<H>(Insert(std::move(obj)));
}
std::shared_ptr<GdiObject> FindObject(const void* handle);
template <class T>
std::shared_ptr<T> Find(const void* handle) {
  return std::dynamic_pointer_cast<T>(FindObject(handle));
}

// Copies a description for GetObject. Code written for 32-bit Windows may pass the older,
// shorter size of a structure whose pointer-sized tail grew (BITMAP 24, LOGBRUSH 12 bytes):
// anything from `minimum` bytes on is filled as far as it goes. Returns the bytes written.
int CopyDescription(const void* from, int full, int minimum, int size, void* out);

// Selection bookkeeping used by the DC.
void NoteSelected(GdiObject& obj);
void NoteDeselected(GdiObject& obj);
// DeleteObject's rule: stock objects stay; a selected object is removed once deselected.
// Returns false when the object refuses (a bitmap selected into a DC).
bool RequestDelete(GdiObject& obj);

// Stock objects that other modules supply (the fonts): the provider is asked once, on the
// first GetStockObject of that index.
void RegisterStockProvider(int index, std::function<std::shared_ptr<GdiObject>()> provider);
// The stock object itself (nullptr for an unknown index).
std::shared_ptr<GdiObject> StockObject(int index);

}  // namespace plat::gdi
