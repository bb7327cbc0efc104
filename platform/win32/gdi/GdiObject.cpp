#include "gdi/GdiObject.h"

#include <cstring>
#include <map>
#include <new>
#include <mutex>

#include "gdi/StockObjects.h"

namespace plat::gdi {

HandleTable<GdiObject>& Table() {
  // Never destroyed: objects still alive at exit (a DC letting go of a pen that waits for
  // deletion) would otherwise reach into a table being torn down.
  alignas(HandleTable<GdiObject>) static unsigned char storage[sizeof(HandleTable<GdiObject>)];
  static HandleTable<GdiObject>* table = ::new (storage) HandleTable<GdiObject>(HandleKind::Gdi);
  return *table;
}

uint32_t Insert(std::shared_ptr<GdiObject> obj, bool stock) {
  if (!obj) return 0;
  GdiObject& o = *obj;
  o.stock_ = stock;
  uint32_t id = Table().Insert(std::move(obj));
  o.id_ = id;
  return id;
}

std::shared_ptr<GdiObject> FindObject(const void* handle) { return Table().Find(HandleId(handle)); }

int CopyDescription(const void* from, int full, int minimum, int size, void* out) {
  if (!out) return full;
  if (size < minimum) return 0;
  int n = size < full ? size : full;
  std::memcpy(out, from, static_cast<size_t>(n));
  return n;
}

void NoteSelected(GdiObject& obj) { ++obj.selections_; }

void NoteDeselected(GdiObject& obj) {
  if (--obj.selections_ == 0 && obj.deletePending_.exchange(false)) Table().Remove(obj.id_);
}

bool RequestDelete(GdiObject& obj) {
  if (obj.stock_) return true;
  if (obj.selections_ > 0) {
    // A bitmap in a DC is refused; pens, brushes, fonts and palettes go when deselected.
    if (obj.Type() == OBJ_BITMAP) return false;
    obj.deletePending_ = true;
    if (obj.selections_ > 0 || !obj.deletePending_.exchange(false)) return true;
  }
  Table().Remove(obj.id_);
  return true;
}

namespace {
struct StockRegistry {
  std::mutex mutex;
  std::map<int, std::function<std::shared_ptr<GdiObject>()>> providers;
  std::map<int, std::shared_ptr<GdiObject>> objects;
};
StockRegistry& Stock() {
  static StockRegistry registry;
  return registry;
}
}  // namespace

void RegisterStockProvider(int index, std::function<std::shared_ptr<GdiObject>()> provider) {
  StockRegistry& r = Stock();
  std::lock_guard lock(r.mutex);
  r.providers[index] = std::move(provider);
}

std::shared_ptr<GdiObject> StockObject(int index) {
  static std::once_flag builtins;
  std::call_once(builtins, InstallBuiltinStock);
  StockRegistry& r = Stock();
  std::function<std::shared_ptr<GdiObject>()> make;
  {
    std::lock_guard lock(r.mutex);
    auto it = r.objects.find(index);
    if (it != r.objects.end()) return it->second;
    auto p = r.providers.find(index);
    if (p == r.providers.end()) return nullptr;
    make = p->second;
  }
  // The provider runs outside the lock: it may create other objects.
  std::shared_ptr<GdiObject> obj = make ? make() : nullptr;
  if (!obj) return nullptr;
  std::lock_guard lock(r.mutex);
  auto [it, fresh] = r.objects.emplace(index, obj);
  if (fresh) Insert(obj, true);
  return it->second;
}

}  // namespace plat::gdi
