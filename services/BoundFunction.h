#pragma once
#include <string>
#include <utility>

#include "services/AutomationError.h"
#include "services/Binder.h"
#include "services/Failure.h"

namespace qvn {

// A platform function known by its library and entry-point name, bound through
// the current binder at its first call (and again after the binder changes).
// `Fn` is the function's pointer type. An unbound function raises Failure.
template <typename Fn>
class BoundFunction {
 public:
  constexpr BoundFunction(const char* library, const char* name) : library_(library), name_(name) {}

  template <typename... Args>
  auto operator()(Args&&... args) const {
    return Resolve()(std::forward<Args>(args)...);
  }

  Fn Resolve() const {
    if (address_ == nullptr || generation_ != BinderGeneration()) {
      address_ = CurrentBinder().Bind(library_, name_);
      generation_ = BinderGeneration();
    }
    if (address_ == nullptr) throw StandardFailure(ErrorNumber::EntryPointNotFound, Describe());
    return reinterpret_cast<Fn>(address_);
  }

  const char* Name() const { return name_; }

 private:
  std::wstring Describe() const {
    std::string text = std::string(" ") + name_ + " in " + library_;
    return std::wstring(text.begin(), text.end());
  }

  const char* library_;
  const char* name_;
  mutable Binder::Address address_ = nullptr;
  mutable unsigned generation_ = 0;
};

}  // namespace qvn
