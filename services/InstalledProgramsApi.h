#pragma once
// The platform functions that read the list of installed programs, bound by
// library and entry-point name at their first call like those of
// PlatformApi.h. The wide forms are bound on the NT family only, where a
// program's name or folder may lie outside the code page; 95/98/ME read the
// list with the 8-bit forms. IsWow64Process is missing before XP SP2 and on
// 95/98/ME, where no 64-bit Windows exists.

#include "services/BoundFunction.h"
#include "services/PlatformTypes.h"

namespace qvn::api {

using RegOpenKeyExWFn = LONG(WINAPI*)(HKEY root, LPCWSTR path, DWORD options, REGSAM access, PHKEY key);
using RegEnumKeyExWFn = LONG(WINAPI*)(HKEY key, DWORD index, LPWSTR name, LPDWORD nameChars, LPDWORD reserved,
                                       LPWSTR className, LPDWORD classChars, PFILETIME lastWritten);
using ExpandEnvironmentStringsAFn = DWORD(WINAPI*)(LPCSTR text, LPSTR expanded, DWORD room);
using ExpandEnvironmentStringsWFn = DWORD(WINAPI*)(LPCWSTR text, LPWSTR expanded, DWORD room);
using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE process, BOOL* wow64);

inline const BoundFunction<RegOpenKeyExWFn> RegOpenKeyExW{"advapi32.dll", "RegOpenKeyExW"};
inline const BoundFunction<RegEnumKeyExWFn> RegEnumKeyExW{"advapi32.dll", "RegEnumKeyExW"};
inline const BoundFunction<ExpandEnvironmentStringsAFn> ExpandEnvironmentStringsA{"kernel32.dll",
                                                                                   "ExpandEnvironmentStringsA"};
inline const BoundFunction<ExpandEnvironmentStringsWFn> ExpandEnvironmentStringsW{"kernel32.dll",
                                                                                   "ExpandEnvironmentStringsW"};
inline const BoundFunction<IsWow64ProcessFn> IsWow64Process{"kernel32.dll", "IsWow64Process"};

}  // namespace qvn::api
