#include "services/SystemBinder.h"

#include <map>
#include <string>

#include "services/AutomationObject.h"
#include "services/Failure.h"
#include "services/PlatformTypes.h"
#include "services/UniqueHandle.h"
#include "services/win32/ComObject.h"

namespace qvn {
namespace {

struct FreeModule {
  void operator()(HMODULE module) const { ::FreeLibrary(module); }
};

// A library loaded by name, kept for the rest of the run: its entry points are
// cached by their callers, so it must not be unloaded under them.
using LoadedLibrary = UniqueHandle<HMODULE, FreeModule>;

class WindowsBinder : public Binder {
 public:
  Address Bind(const char* library, const char* name) override {
    auto found = libraries_.find(library);
    if (found == libraries_.end()) found = libraries_.try_emplace(library, ::LoadLibraryA(library)).first;
    HMODULE module = found->second.Get();
    if (module == nullptr) return nullptr;
    return reinterpret_cast<Address>(::GetProcAddress(module, name));
  }

  std::unique_ptr<AutomationObject> CreateObject(const std::wstring& progId) override {
    return CreateComObject(progId);
  }

 private:
  std::map<std::string, LoadedLibrary> libraries_;
};

}  // namespace

Binder& SystemBinder() {
  static WindowsBinder binder;
  return binder;
}

}  // namespace qvn
