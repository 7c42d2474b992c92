#pragma once
#include <memory>
#include <string>

namespace qvn {

class AutomationObject;

// Where platform functions and objects come from. The program uses the system's;
// the host tests put a simulated platform in its place.
class Binder {
 public:
  using Address = void (*)();

  virtual ~Binder() = default;

  // The entry point `name` of `library`, or null when either cannot be bound.
  virtual Address Bind(const char* library, const char* name) = 0;

  // A new object made from its programmatic identifier; raises Failure when it cannot.
  virtual std::unique_ptr<AutomationObject> CreateObject(const std::wstring& progId) = 0;
};

Binder& CurrentBinder();

// Bumped whenever the binder changes, so that cached entry points are bound anew.
unsigned BinderGeneration();

// Puts `binder` in place of the current one until this object is destroyed.
class ScopedBinder {
 public:
  explicit ScopedBinder(Binder& binder);
  ~ScopedBinder();
  ScopedBinder(const ScopedBinder&) = delete;
  ScopedBinder& operator=(const ScopedBinder&) = delete;

 private:
  Binder* previous_;
};

}  // namespace qvn
