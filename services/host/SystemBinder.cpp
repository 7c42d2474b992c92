#include "services/AutomationError.h"
#include "services/AutomationObject.h"
#include "services/Concat.h"
#include "services/Failure.h"
#include "services/SystemBinder.h"

namespace qvn {
namespace {

// Off Windows there is no system platform: nothing binds, no object is made.
// Only the tests' simulated platform gives the logic something to call.
class NoPlatform : public Binder {
 public:
  Address Bind(const char*, const char*) override { return nullptr; }
  std::unique_ptr<AutomationObject> CreateObject(const std::wstring& progId) override {
    throw StandardFailure(ErrorNumber::CannotCreateObject, Concat({L": ", progId}));
  }
};

}  // namespace

Binder& SystemBinder() {
  static NoPlatform none;
  return none;
}

}  // namespace qvn
