#include "services/win32/ComObject.h"

#include <vector>

#include "services/AutomationError.h"
#include "services/Concat.h"
#include "services/Failure.h"
#include "services/PlatformApi.h"
#include "services/Text.h"
#include "services/win32/ComOwners.h"

namespace qvn {
namespace {

const IID kNullIid{};
const IID kDispatchIid = {0x00020400, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// COM initialised on this thread for as long as any object made here lives:
// the first object to join initialises it, the last one to leave undoes that.
class ComApartment {
 public:
  ComApartment() {
    if (members_ == 0) initialised_ = SUCCEEDED(api::CoInitialize(nullptr));
    ++members_;  // only once joined: an ole32 that cannot be bound joins nothing
  }
  ~ComApartment() {
    if (--members_ != 0 || !initialised_) return;
    try {
      api::CoUninitialize();
    } catch (...) {
      // ole32 bound once to initialise; nothing else can undo it.
    }
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  static inline unsigned members_ = 0;
  static inline bool initialised_ = false;
};

std::wstring SystemMessage(HRESULT code) {
  char text[512] = {};
  DWORD length = api::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                     static_cast<DWORD>(code), 0, text, static_cast<DWORD>(sizeof text), nullptr);
  while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r' || text[length - 1] == ' ')) --length;
  return FromAnsi(std::string(text, length));
}

Failure InvokeFailure(HRESULT result, const EXCEPINFO& info) {
  if (result != DISP_E_EXCEPTION) return AutomationFailure(result, L"", SystemMessage(result));
  const std::int32_t code = info.scode != 0 ? info.scode : static_cast<std::int32_t>(0x800A0000u | info.wCode);
  const std::wstring description = info.bstrDescription != nullptr ? info.bstrDescription : L"";
  return AutomationFailure(code, description, SystemMessage(code));
}

AutomationValue FromVariant(const VARIANT& value) {
  if (value.vt == VT_BOOL) return value.boolVal != VARIANT_FALSE;
  if (value.vt == VT_BSTR) return std::wstring(value.bstrVal != nullptr ? value.bstrVal : L"");
  return std::monostate{};
}

Variant ToVariant(const AutomationValue& value) {
  if (const auto* flag = std::get_if<bool>(&value)) return Variant(*flag);
  if (const auto* text = std::get_if<std::wstring>(&value)) return Variant(*text);
  return Variant();
}

class ComObject : public AutomationObject {
 public:
  explicit ComObject(const std::wstring& progId) {
    CLSID classId{};
    if (FAILED(api::CLSIDFromProgID(progId.c_str(), &classId)) ||
        FAILED(api::CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, kDispatchIid,
                                     dispatch_.Receive()))) {
      throw StandardFailure(ErrorNumber::CannotCreateObject);
    }
  }

  AutomationValue Call(const std::wstring& method, const std::vector<AutomationValue>& args) override {
    DISPID id = 0;
    LPOLESTR name = const_cast<LPOLESTR>(method.c_str());
    if (FAILED(dispatch_->GetIDsOfNames(kNullIid, &name, 1, LOCALE_USER_DEFAULT, &id))) {
      throw StandardFailure(ErrorNumber::NoSuchMethod, Concat({L": ", method}));
    }
    // IDispatch takes its arguments last first.
    std::vector<Variant> owned;
    owned.reserve(args.size());
    for (auto arg = args.rbegin(); arg != args.rend(); ++arg) owned.push_back(ToVariant(*arg));
    std::vector<VARIANT> passed;
    for (Variant& variant : owned) passed.push_back(*variant.Get());

    DISPPARAMS params{passed.data(), nullptr, static_cast<UINT>(passed.size()), 0};
    Variant result;
    ExceptionRecord exception;
    UINT badArgument = 0;
    const HRESULT outcome = dispatch_->Invoke(id, kNullIid, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                                              result.Get(), exception.Get(), &badArgument);
    if (FAILED(outcome)) throw InvokeFailure(outcome, exception.Info());
    return FromVariant(result.Value());
  }

 private:
  // Declared first so that it goes last, after the object is released.
  ComApartment apartment_;
  ComPtr<IDispatch> dispatch_;
};

}  // namespace

std::unique_ptr<AutomationObject> CreateComObject(const std::wstring& progId) {
  return std::make_unique<ComObject>(progId);
}

}  // namespace qvn
