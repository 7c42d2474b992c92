#pragma once
#include "services/PlatformApi.h"

namespace qvn {

// The error of the platform call just made. Bound when it is made, before
// that call, so that binding GetLastError cannot change what it then reads.
class LastError {
 public:
  LastError() : read_(api::GetLastError.Resolve()) {}
  DWORD operator()() const { return read_(); }

 private:
  api::GetLastErrorFn read_;
};

}  // namespace qvn
