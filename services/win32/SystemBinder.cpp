#include "services/SystemBinder.h"

#include <cstring>
#include <vector>

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
    HMODULE module = Loaded(library);
    if (module == nullptr) return nullptr;
    return reinterpret_cast<Address>(::GetProcAddress(module, name));
  }

  std::unique_ptr<AutomationObject> CreateObject(const std::wstring& progId) override {
    return CreateComObject(progId);
  }

 private:
  // The handful of libraries the program binds from, each loaded once.
  HMODULE Loaded(const char* library) {
    for (const Library& known : libraries_) {
      if (std::strcmp(known.name, library) == 0) return known.module.Get();
    }
    libraries_.push_back({library, LoadedLibrary(::LoadLibraryA(library))});
    return libraries_.back().module.Get();
  }

  struct Library {
    const char* name;
    LoadedLibrary module;
  };
  std::vector<Library> libraries_;
};

}  // namespace

Binder& SystemBinder() {
  static WindowsBinder binder;
  return binder;
}

}  // namespace qvn
