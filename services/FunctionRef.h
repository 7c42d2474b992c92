#pragma once
#include <memory>
#include <type_traits>
#include <utility>

namespace qvn {

template <typename Signature>
class FunctionRef;

// A function handed down for the length of one call (what to do with each
// entry of a folder, how to answer something in use): the callable itself and
// one plain function that calls it. Unlike std::function it neither copies nor
// owns the callable, so it brings no manager and no type information into the
// program for each callable it is made from. It must not outlive the callable
// it was made from: take it as a parameter, never keep it.
template <typename Result, typename... Args>
class FunctionRef<Result(Args...)> {
 public:
  template <typename Callable,
            typename = std::enable_if_t<!std::is_same_v<std::decay_t<Callable>, FunctionRef>>>
  FunctionRef(Callable&& callable)  // NOLINT: made implicitly from a lambda at the call
      : callable_(const_cast<void*>(static_cast<const void*>(std::addressof(callable)))),
        call_([](void* target, Args... args) -> Result {
          return (*static_cast<std::remove_reference_t<Callable>*>(target))(std::forward<Args>(args)...);
        }) {}

  Result operator()(Args... args) const { return call_(callable_, std::forward<Args>(args)...); }

 private:
  void* callable_;
  Result (*call_)(void* target, Args... args);
};

}  // namespace qvn
