// Process-wide state that must outlive every thread: other threads may still be inside
// it when the process ends (exit destroys statics while they wait), so it is built on
// first use and never destroyed.
#pragma once
#include <cstddef>
#include <new>
#include <utility>

namespace plat {

template <class T>
class Immortal {
 public:
  template <class... Args>
  explicit Immortal(Args&&... args) {
    ::new (storage_) T(std::forward<Args>(args)...);
  }
  Immortal(const Immortal&) = delete;
  Immortal& operator=(const Immortal&) = delete;

  T& get() { return *std::launder(reinterpret_cast<T*>(storage_)); }

 private:
  alignas(T) std::byte storage_[sizeof(T)];
};

}  // namespace plat
