#pragma once
#include <utility>

#include "services/Binder.h"

namespace qvn {

// What every bound function shares, compiled once whatever its type: the
// library and entry-point name, and the binding.
class BoundEntryPoint {
 public:
  constexpr BoundEntryPoint(const char* library, const char* name) : library_(library), name_(name) {}

  const char* Name() const { return name_; }

 protected:
  // The entry point, bound through the current binder at the first call (and
  // again after the binder changes). Raises Failure when it cannot be bound.
  Binder::Address Address() const;

 private:
  const char* library_;
  const char* name_;
  mutable Binder::Address address_ = nullptr;
  mutable unsigned generation_ = 0;
};

// A platform function known by its library and entry-point name, bound through
// the current binder at its first call (and again after the binder changes).
// `Fn` is the function's pointer type. An unbound function raises Failure.
template <typename Fn>
class BoundFunction : public BoundEntryPoint {
 public:
  constexpr BoundFunction(const char* library, const char* name) : BoundEntryPoint(library, name) {}

  template <typename... Args>
  auto operator()(Args&&... args) const {
    return Resolve()(std::forward<Args>(args)...);
  }

  Fn Resolve() const { return reinterpret_cast<Fn>(Address()); }
};

}  // namespace qvn
