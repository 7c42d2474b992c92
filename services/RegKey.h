#pragma once
#include <string>

#include "services/PlatformTypes.h"

namespace qvn {

// A registry key handle below HKEY_LOCAL_MACHINE, closed by whoever owns it on
// every path out. A failed open leaves the handle 0; every registry function
// then fails on it without effect, which the callers rely on.
class RegKey {
 public:
  // The access the tool asks for: query, set, create subkey, enumerate, notify,
  // create link; no standard rights.
  static constexpr REGSAM kAccess = 0x3F;

  // Opens `path`; the open's result is not examined.
  static RegKey OpenLocalMachine(const std::wstring& path);

  RegKey(RegKey&& other) noexcept;
  RegKey& operator=(RegKey&&) = delete;
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;
  ~RegKey();

  HKEY Get() const { return handle_; }

  // Closes the handle (0 included, as the platform allows); raises Failure when
  // the close function cannot be bound. The destructor closes quietly instead.
  void Close();

 private:
  explicit RegKey(HKEY handle) : handle_(handle) {}

  HKEY handle_;
  bool open_ = true;
};

}  // namespace qvn
