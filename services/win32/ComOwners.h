#pragma once
// Owners for the COM resources a call by name handles: each releases its
// resource on every way out of the scope that holds it.

#include <string>

#include "services/AutomationError.h"
#include "services/PlatformApi.h"

namespace qvn {

template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() { Reset(); }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;

  Interface* Get() const { return pointer_; }
  Interface* operator->() const { return pointer_; }
  void** Receive() {
    Reset();
    return reinterpret_cast<void**>(&pointer_);
  }
  void Reset() {
    if (pointer_ != nullptr) pointer_->Release();
    pointer_ = nullptr;
  }

 private:
  Interface* pointer_ = nullptr;
};

// A VARIANT argument or result, cleared when it goes.
class Variant {
 public:
  Variant() { value_.vt = VT_EMPTY; }
  explicit Variant(bool flag) {
    value_.vt = VT_BOOL;
    value_.boolVal = flag ? VARIANT_TRUE : VARIANT_FALSE;
  }
  explicit Variant(const std::wstring& text) {
    value_.vt = VT_EMPTY;
    BSTR copy = api::SysAllocString(text.c_str());
    if (copy == nullptr) throw StandardFailure(ErrorNumber::OutOfMemory);
    value_.vt = VT_BSTR;
    value_.bstrVal = copy;
  }
  ~Variant() {
    try {
      api::VariantClear(&value_);
    } catch (...) {
      // Nothing can hold a value that was never made: the library did not bind.
    }
  }
  Variant(Variant&& other) noexcept : value_(other.value_) { other.value_.vt = VT_EMPTY; }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;

  VARIANT* Get() { return &value_; }
  const VARIANT& Value() const { return value_; }

 private:
  VARIANT value_{};
};

// The exception record a failed Invoke fills; its strings are freed when it goes.
class ExceptionRecord {
 public:
  ExceptionRecord() = default;
  ~ExceptionRecord() {
    try {
      if (info_.bstrSource != nullptr) api::SysFreeString(info_.bstrSource);
      if (info_.bstrDescription != nullptr) api::SysFreeString(info_.bstrDescription);
      if (info_.bstrHelpFile != nullptr) api::SysFreeString(info_.bstrHelpFile);
    } catch (...) {
      // The strings came from the library that now fails to bind: nothing to free.
    }
  }
  ExceptionRecord(const ExceptionRecord&) = delete;
  ExceptionRecord& operator=(const ExceptionRecord&) = delete;

  EXCEPINFO* Get() { return &info_; }
  const EXCEPINFO& Info() const { return info_; }

 private:
  EXCEPINFO info_{};
};

}  // namespace qvn
