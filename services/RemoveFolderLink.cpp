#include "services/RemoveFolderLink.h"

#include "services/AutomationError.h"
#include "services/PlatformApi.h"
#include "services/Text.h"

namespace qvn {
namespace {

constexpr std::uint32_t kWin32Facility = 0x80070000u;

}  // namespace

void RemoveFolderLink(const std::wstring& link) {
  const auto lastError = api::GetLastError.Resolve();
  if (api::RemoveDirectoryA(ToAnsi(link).c_str())) return;
  const auto code = static_cast<std::int32_t>(kWin32Facility | (lastError() & 0xFFFFu));
  const std::int32_t number = AutomationFailure(code, L"", L"").Number();
  throw Failure(number, L"A folder link cannot be removed without following it, so nothing has been removed")
      .WithItem(link);
}

}  // namespace qvn
