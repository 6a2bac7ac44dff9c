#ifndef TAVIRON_FOUNDATION_NEVER_DESTROYED_H
#define TAVIRON_FOUNDATION_NEVER_DESTROYED_H

#include <new>
#include <utility>

namespace taviron {

// An object that lives in static storage and is never destroyed. Threads
// that outlive the static destructors at exit (job workers, shot threads, a
// late release from Python) still find it whole. Declare it as a function's
// static: `static NeverDestroyed<Registry> registry;` builds it on first use
// and `registry.get()` reads it.
template <typename T>
class NeverDestroyed {
 public:
  template <typename... Args>
  explicit NeverDestroyed(Args&&... args) {
    ::new (static_cast<void*>(storage_)) T(std::forward<Args>(args)...);
  }
  NeverDestroyed(const NeverDestroyed&) = delete;
  NeverDestroyed& operator=(const NeverDestroyed&) = delete;

  T& get() { return *std::launder(reinterpret_cast<T*>(storage_)); }

 private:
  alignas(T) unsigned char storage_[sizeof(T)];
};

}  // namespace taviron

#endif
