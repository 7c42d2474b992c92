// The wide forms are bound by name, so nothing else compares their declared
// types with the system's: a wrong argument or a missing stdcall would only
// show on i686, as a corrupted stack at the first call on the NT family.
#include <windows.h>
#include <shlobj.h>

#include <type_traits>

#include "services/PlatformApi.h"

namespace qvn::api {

template <typename Declared, typename System>
constexpr bool kSameType = std::is_same_v<Declared, System>;

static_assert(kSameType<RegQueryValueExWFn, decltype(&::RegQueryValueExW)>);
static_assert(kSameType<RegEnumValueWFn, decltype(&::RegEnumValueW)>);
static_assert(kSameType<GetFullPathNameWFn, decltype(&::GetFullPathNameW)>);
static_assert(kSameType<GetShortPathNameWFn, decltype(&::GetShortPathNameW)>);
static_assert(kSameType<GetWindowsDirectoryWFn, decltype(&::GetWindowsDirectoryW)>);
static_assert(kSameType<GetSystemDirectoryWFn, decltype(&::GetSystemDirectoryW)>);
static_assert(kSameType<GetEnvironmentVariableWFn, decltype(&::GetEnvironmentVariableW)>);
static_assert(kSameType<SHGetSpecialFolderPathWFn, decltype(&::SHGetSpecialFolderPathW)>);
static_assert(kSameType<GetDriveTypeWFn, decltype(&::GetDriveTypeW)>);
static_assert(kSameType<QueryDosDeviceWFn, decltype(&::QueryDosDeviceW)>);
static_assert(kSameType<GetCurrentDirectoryWFn, decltype(&::GetCurrentDirectoryW)>);
static_assert(kSameType<SetCurrentDirectoryWFn, decltype(&::SetCurrentDirectoryW)>);
static_assert(kSameType<GetModuleFileNameWFn, decltype(&::GetModuleFileNameW)>);
static_assert(kSameType<GetCommandLineWFn, decltype(&::GetCommandLineW)>);
static_assert(kSameType<CreateFileWFn, decltype(&::CreateFileW)>);

}  // namespace qvn::api
