#include "services/ShutdownReason.h"

#include "services/Failure.h"
#include "services/WindowApi.h"

namespace qvn {
namespace {

// The entry point, or null before Vista.
template <typename Fn>
Fn Available(const BoundFunction<Fn>& function) {
  try {
    return function.Resolve();
  } catch (const Failure&) {
    return nullptr;
  }
}

}  // namespace

void GiveShutdownReason(HWND window, const std::wstring& reason) {
  if (const auto create = Available(api::ShutdownBlockReasonCreate)) create(window, reason.c_str());
}

void WithdrawShutdownReason(HWND window) {
  if (const auto destroy = Available(api::ShutdownBlockReasonDestroy)) destroy(window);
}

}  // namespace qvn
