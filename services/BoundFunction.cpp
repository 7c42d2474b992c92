#include "services/BoundFunction.h"

#include <string>

#include "services/AutomationError.h"
#include "services/Failure.h"

namespace qvn {
namespace {

// " GetVersionExA in kernel32.dll", after the failure's own description.
std::wstring Described(const char* library, const char* name) {
  std::wstring text;
  for (const char* part : {" ", name, " in ", library}) {
    for (; *part != '\0'; ++part) text += static_cast<wchar_t>(*part);
  }
  return text;
}

}  // namespace

Binder::Address BoundEntryPoint::Address() const {
  if (address_ == nullptr || generation_ != BinderGeneration()) {
    address_ = CurrentBinder().Bind(library_, name_);
    generation_ = BinderGeneration();
  }
  if (address_ == nullptr) throw StandardFailure(ErrorNumber::EntryPointNotFound, Described(library_, name_));
  return address_;
}

}  // namespace qvn
