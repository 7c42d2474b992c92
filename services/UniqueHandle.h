#pragma once
#include <utility>

namespace qvn {

// Owns one platform handle (a key, a token, a module, a font) and closes it
// with `Closer` when it goes. The null handle is never closed. A close that
// fails, or whose function cannot be bound, is swallowed: an owner is often
// destroyed while a failure is already on its way up, and a destructor that
// throws would end the program on the spot.
template <typename Handle, typename Closer>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  ~UniqueHandle() { Reset(); }

  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != Handle{}; }

  // For a function that hands a new handle back through a pointer: closes
  // what is held first.
  Handle* Receive() {
    Reset();
    return &handle_;
  }

  // Gives the handle up without closing it.
  Handle Release() { return std::exchange(handle_, Handle{}); }

  void Reset(Handle handle = Handle{}) noexcept {
    Handle old = std::exchange(handle_, handle);
    if (old == Handle{}) return;
    try {
      Closer{}(old);
    } catch (...) {
      // Nothing to close it with; it goes with the process.
    }
  }

 private:
  Handle handle_{};
};

}  // namespace qvn
