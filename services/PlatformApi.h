#pragma once
// Every platform function the tool calls, declared once with its library and
// entry-point name. Nothing is imported at load time: each is bound at its first
// call, so a missing library or entry point is a Failure at that call instead of
// a program that will not start.

#include "services/BoundFunction.h"
#include "services/PlatformTypes.h"

namespace qvn::api {

using GetVersionExAFn = BOOL(WINAPI*)(LPOSVERSIONINFOA info);
using MultiByteToWideCharFn = int(WINAPI*)(UINT codePage, DWORD flags, LPCSTR text, int textBytes,
                                            LPWSTR wide, int wideChars);
using WideCharToMultiByteFn = int(WINAPI*)(UINT codePage, DWORD flags, LPCWSTR wide, int wideChars,
                                            LPSTR text, int textBytes, LPCSTR defaultChar,
                                            LPBOOL usedDefault);
using RegOpenKeyExAFn = LONG(WINAPI*)(HKEY root, LPCSTR path, DWORD options, REGSAM access, PHKEY key);
using RegQueryValueExAFn = LONG(WINAPI*)(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type,
                                          LPBYTE data, LPDWORD size);
using RegEnumValueAFn = LONG(WINAPI*)(HKEY key, DWORD index, LPSTR name, LPDWORD nameChars, LPDWORD reserved,
                                       LPDWORD type, LPBYTE data, LPDWORD size);
using RegDeleteKeyAFn = LONG(WINAPI*)(HKEY key, LPCSTR subkeyName);
using RegEnumKeyExAFn = LONG(WINAPI*)(HKEY key, DWORD index, LPSTR name, LPDWORD nameChars, LPDWORD reserved,
                                       LPSTR className, LPDWORD classChars, PFILETIME lastWritten);
using RegCloseKeyFn = LONG(WINAPI*)(HKEY key);
using MessageBoxAFn = int(WINAPI*)(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
using GetCurrentProcessFn = HANDLE(WINAPI*)();
using CloseHandleFn = BOOL(WINAPI*)(HANDLE handle);
using OpenProcessTokenFn = BOOL(WINAPI*)(HANDLE process, DWORD access, PHANDLE token);
using LookupPrivilegeValueAFn = BOOL(WINAPI*)(LPCSTR system, LPCSTR name, PLUID luid);
using AdjustTokenPrivilegesFn = BOOL(WINAPI*)(HANDLE token, BOOL disableAll, PTOKEN_PRIVILEGES state, DWORD size,
                                               PTOKEN_PRIVILEGES previous, PDWORD previousSize);
using ExitWindowsExFn = BOOL(WINAPI*)(UINT flags, DWORD reason);
using GetFullPathNameAFn = DWORD(WINAPI*)(LPCSTR path, DWORD room, LPSTR buffer, LPSTR* filePart);
using GetShortPathNameAFn = DWORD(WINAPI*)(LPCSTR path, LPSTR buffer, DWORD room);
using GetWindowsDirectoryAFn = UINT(WINAPI*)(LPSTR buffer, UINT room);
using GetSystemDirectoryAFn = UINT(WINAPI*)(LPSTR buffer, UINT room);
using CreateFileAFn = HANDLE(WINAPI*)(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                      DWORD disposition, DWORD flags, HANDLE templateFile);
using GetLastErrorFn = DWORD(WINAPI*)();
using FindFirstFileAFn = HANDLE(WINAPI*)(LPCSTR pattern, LPWIN32_FIND_DATAA found);
using FindNextFileAFn = BOOL(WINAPI*)(HANDLE search, LPWIN32_FIND_DATAA found);
using FindCloseFn = BOOL(WINAPI*)(HANDLE search);
using WriteFileFn = BOOL(WINAPI*)(HANDLE file, LPCVOID data, DWORD bytes, LPDWORD written, LPOVERLAPPED overlapped);
using SetFilePointerFn = DWORD(WINAPI*)(HANDLE file, LONG distance, PLONG distanceHigh, DWORD method);
using GetLocalTimeFn = void(WINAPI*)(LPSYSTEMTIME time);
using GetComputerNameAFn = BOOL(WINAPI*)(LPSTR name, LPDWORD nameChars);
using LockFileFn = BOOL(WINAPI*)(HANDLE file, DWORD offsetLow, DWORD offsetHigh, DWORD bytesLow, DWORD bytesHigh);
using UnlockFileFn = BOOL(WINAPI*)(HANDLE file, DWORD offsetLow, DWORD offsetHigh, DWORD bytesLow, DWORD bytesHigh);
using SleepFn = void(WINAPI*)(DWORD milliseconds);
using GetCommandLineAFn = LPSTR(WINAPI*)();
using SHGetSpecialFolderPathAFn = BOOL(WINAPI*)(HWND owner, LPSTR path, int folder, BOOL create);
using RemoveDirectoryAFn = BOOL(WINAPI*)(LPCSTR path);
using GetFileAttributesAFn = DWORD(WINAPI*)(LPCSTR path);
using GetFileInformationByHandleFn = BOOL(WINAPI*)(HANDLE file, LPBY_HANDLE_FILE_INFORMATION information);
using GetDriveTypeAFn = UINT(WINAPI*)(LPCSTR root);
using GetLogicalDrivesFn = DWORD(WINAPI*)();
using QueryDosDeviceAFn = DWORD(WINAPI*)(LPCSTR device, LPSTR targets, DWORD room);
using GetCurrentDirectoryAFn = DWORD(WINAPI*)(DWORD room, LPSTR buffer);
using SetCurrentDirectoryAFn = BOOL(WINAPI*)(LPCSTR path);
using GetModuleFileNameAFn = DWORD(WINAPI*)(HMODULE module, LPSTR buffer, DWORD room);
using GetEnvironmentVariableAFn = DWORD(WINAPI*)(LPCSTR name, LPSTR buffer, DWORD room);
using SetErrorModeFn = UINT(WINAPI*)(UINT mode);
// Reading and rewriting a whole file in place (WININIT.INI).
using ReadFileFn = BOOL(WINAPI*)(HANDLE file, LPVOID data, DWORD bytes, LPDWORD read, LPOVERLAPPED overlapped);
using GetFileSizeFn = DWORD(WINAPI*)(HANDLE file, LPDWORD sizeHigh);
using SetEndOfFileFn = BOOL(WINAPI*)(HANDLE file);
// The wide forms the NT family names files with. Windows 95/98/ME lack most
// of them, so they are bound only where the NT family runs.
using CreateFileWFn = HANDLE(WINAPI*)(LPCWSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                      DWORD disposition, DWORD flags, HANDLE templateFile);
using FindFirstFileWFn = HANDLE(WINAPI*)(LPCWSTR pattern, LPWIN32_FIND_DATAW found);
using FindNextFileWFn = BOOL(WINAPI*)(HANDLE search, LPWIN32_FIND_DATAW found);
using GetFileAttributesWFn = DWORD(WINAPI*)(LPCWSTR path);
using RemoveDirectoryWFn = BOOL(WINAPI*)(LPCWSTR path);
// Deletion at restart on the NT family, also bound there only (95/98/ME have
// MoveFileExW as a stub that fails).
using CreateDirectoryWFn = BOOL(WINAPI*)(LPCWSTR path, LPSECURITY_ATTRIBUTES security);
using MoveFileExWFn = BOOL(WINAPI*)(LPCWSTR from, LPCWSTR to, DWORD flags);
using RegQueryValueExWFn = LONG(WINAPI*)(HKEY key, LPCWSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                                          LPDWORD size);
// The mark in the folder of what was moved aside goes with that folder.
using DeleteFileWFn = BOOL(WINAPI*)(LPCWSTR path);
// One removal at a time: a named mutex, on every family. Waiting on it is
// WaitForSingleObject of ProcessApi.h.
using CreateMutexAFn = HANDLE(WINAPI*)(LPSECURITY_ATTRIBUTES security, BOOL initialOwner, LPCSTR name);
using OpenMutexAFn = HANDLE(WINAPI*)(DWORD access, BOOL inherit, LPCSTR name);
using ReleaseMutexFn = BOOL(WINAPI*)(HANDLE mutex);
// The wide forms of everything the install folder, the folders it is checked
// against and the program's own place are read with, so that on the NT
// family no name passes through the code page. Each exists on NT 4.0
// (SHGetSpecialFolderPathW with the shell update, like its 8-bit form).
using RegEnumValueWFn = LONG(WINAPI*)(HKEY key, DWORD index, LPWSTR name, LPDWORD nameChars, LPDWORD reserved,
                                       LPDWORD type, LPBYTE data, LPDWORD size);
using GetFullPathNameWFn = DWORD(WINAPI*)(LPCWSTR path, DWORD room, LPWSTR buffer, LPWSTR* filePart);
using GetShortPathNameWFn = DWORD(WINAPI*)(LPCWSTR path, LPWSTR buffer, DWORD room);
using GetWindowsDirectoryWFn = UINT(WINAPI*)(LPWSTR buffer, UINT room);
using GetSystemDirectoryWFn = UINT(WINAPI*)(LPWSTR buffer, UINT room);
using GetEnvironmentVariableWFn = DWORD(WINAPI*)(LPCWSTR name, LPWSTR buffer, DWORD room);
using SHGetSpecialFolderPathWFn = BOOL(WINAPI*)(HWND owner, LPWSTR path, int folder, BOOL create);
using GetDriveTypeWFn = UINT(WINAPI*)(LPCWSTR root);
using QueryDosDeviceWFn = DWORD(WINAPI*)(LPCWSTR device, LPWSTR targets, DWORD room);
using GetCurrentDirectoryWFn = DWORD(WINAPI*)(DWORD room, LPWSTR buffer);
using SetCurrentDirectoryWFn = BOOL(WINAPI*)(LPCWSTR path);
using GetModuleFileNameWFn = DWORD(WINAPI*)(HMODULE module, LPWSTR buffer, DWORD room);
using GetCommandLineWFn = LPWSTR(WINAPI*)();
// Reading where a folder link leads, NT family only: the link's own data
// (2000 and later), and the path of what a handle ended up on (Vista and
// later; Wine answers it for its host links, whose data it does not give).
using DeviceIoControlFn = BOOL(WINAPI*)(HANDLE device, DWORD code, LPVOID in, DWORD inBytes, LPVOID out,
                                         DWORD outBytes, LPDWORD returned, LPOVERLAPPED overlapped);
using GetFinalPathNameByHandleWFn = DWORD(WINAPI*)(HANDLE file, LPWSTR path, DWORD room, DWORD flags);

inline const BoundFunction<GetVersionExAFn> GetVersionExA{"kernel32.dll", "GetVersionExA"};
inline const BoundFunction<MultiByteToWideCharFn> MultiByteToWideChar{"kernel32.dll", "MultiByteToWideChar"};
inline const BoundFunction<WideCharToMultiByteFn> WideCharToMultiByte{"kernel32.dll", "WideCharToMultiByte"};
inline const BoundFunction<RegOpenKeyExAFn> RegOpenKeyExA{"advapi32.dll", "RegOpenKeyExA"};
inline const BoundFunction<RegQueryValueExAFn> RegQueryValueExA{"advapi32.dll", "RegQueryValueExA"};
inline const BoundFunction<RegEnumValueAFn> RegEnumValueA{"advapi32.dll", "RegEnumValueA"};
inline const BoundFunction<RegDeleteKeyAFn> RegDeleteKeyA{"advapi32.dll", "RegDeleteKeyA"};
inline const BoundFunction<RegEnumKeyExAFn> RegEnumKeyExA{"advapi32.dll", "RegEnumKeyExA"};
inline const BoundFunction<RegCloseKeyFn> RegCloseKey{"advapi32.dll", "RegCloseKey"};
inline const BoundFunction<MessageBoxAFn> MessageBoxA{"user32.dll", "MessageBoxA"};
inline const BoundFunction<GetCurrentProcessFn> GetCurrentProcess{"kernel32.dll", "GetCurrentProcess"};
inline const BoundFunction<CloseHandleFn> CloseHandle{"kernel32.dll", "CloseHandle"};
inline const BoundFunction<OpenProcessTokenFn> OpenProcessToken{"advapi32.dll", "OpenProcessToken"};
inline const BoundFunction<LookupPrivilegeValueAFn> LookupPrivilegeValueA{"advapi32.dll", "LookupPrivilegeValueA"};
inline const BoundFunction<AdjustTokenPrivilegesFn> AdjustTokenPrivileges{"advapi32.dll", "AdjustTokenPrivileges"};
inline const BoundFunction<ExitWindowsExFn> ExitWindowsEx{"user32.dll", "ExitWindowsEx"};
inline const BoundFunction<GetFullPathNameAFn> GetFullPathNameA{"kernel32.dll", "GetFullPathNameA"};
inline const BoundFunction<GetShortPathNameAFn> GetShortPathNameA{"kernel32.dll", "GetShortPathNameA"};
inline const BoundFunction<GetWindowsDirectoryAFn> GetWindowsDirectoryA{"kernel32.dll", "GetWindowsDirectoryA"};
inline const BoundFunction<GetSystemDirectoryAFn> GetSystemDirectoryA{"kernel32.dll", "GetSystemDirectoryA"};
inline const BoundFunction<CreateFileAFn> CreateFileA{"kernel32.dll", "CreateFileA"};
inline const BoundFunction<GetLastErrorFn> GetLastError{"kernel32.dll", "GetLastError"};
inline const BoundFunction<FindFirstFileAFn> FindFirstFileA{"kernel32.dll", "FindFirstFileA"};
inline const BoundFunction<FindNextFileAFn> FindNextFileA{"kernel32.dll", "FindNextFileA"};
inline const BoundFunction<FindCloseFn> FindClose{"kernel32.dll", "FindClose"};
inline const BoundFunction<WriteFileFn> WriteFile{"kernel32.dll", "WriteFile"};
inline const BoundFunction<SetFilePointerFn> SetFilePointer{"kernel32.dll", "SetFilePointer"};
inline const BoundFunction<GetLocalTimeFn> GetLocalTime{"kernel32.dll", "GetLocalTime"};
inline const BoundFunction<GetComputerNameAFn> GetComputerNameA{"kernel32.dll", "GetComputerNameA"};
inline const BoundFunction<LockFileFn> LockFile{"kernel32.dll", "LockFile"};
inline const BoundFunction<UnlockFileFn> UnlockFile{"kernel32.dll", "UnlockFile"};
inline const BoundFunction<SleepFn> Sleep{"kernel32.dll", "Sleep"};
inline const BoundFunction<GetCommandLineAFn> GetCommandLineA{"kernel32.dll", "GetCommandLineA"};
// Missing on Windows 95 and NT 4.0 without the shell update.
inline const BoundFunction<SHGetSpecialFolderPathAFn> SHGetSpecialFolderPathA{"shell32.dll",
                                                                               "SHGetSpecialFolderPathA"};
inline const BoundFunction<RemoveDirectoryAFn> RemoveDirectoryA{"kernel32.dll", "RemoveDirectoryA"};
inline const BoundFunction<GetFileAttributesAFn> GetFileAttributesA{"kernel32.dll", "GetFileAttributesA"};
inline const BoundFunction<GetFileInformationByHandleFn> GetFileInformationByHandle{"kernel32.dll",
                                                                                     "GetFileInformationByHandle"};
inline const BoundFunction<GetDriveTypeAFn> GetDriveTypeA{"kernel32.dll", "GetDriveTypeA"};
inline const BoundFunction<GetLogicalDrivesFn> GetLogicalDrives{"kernel32.dll", "GetLogicalDrives"};
inline const BoundFunction<QueryDosDeviceAFn> QueryDosDeviceA{"kernel32.dll", "QueryDosDeviceA"};
inline const BoundFunction<GetCurrentDirectoryAFn> GetCurrentDirectoryA{"kernel32.dll", "GetCurrentDirectoryA"};
inline const BoundFunction<SetCurrentDirectoryAFn> SetCurrentDirectoryA{"kernel32.dll", "SetCurrentDirectoryA"};
inline const BoundFunction<GetModuleFileNameAFn> GetModuleFileNameA{"kernel32.dll", "GetModuleFileNameA"};
inline const BoundFunction<GetEnvironmentVariableAFn> GetEnvironmentVariableA{"kernel32.dll",
                                                                               "GetEnvironmentVariableA"};
inline const BoundFunction<SetErrorModeFn> SetErrorMode{"kernel32.dll", "SetErrorMode"};
inline const BoundFunction<CreateFileWFn> CreateFileW{"kernel32.dll", "CreateFileW"};
inline const BoundFunction<FindFirstFileWFn> FindFirstFileW{"kernel32.dll", "FindFirstFileW"};
inline const BoundFunction<FindNextFileWFn> FindNextFileW{"kernel32.dll", "FindNextFileW"};
inline const BoundFunction<GetFileAttributesWFn> GetFileAttributesW{"kernel32.dll", "GetFileAttributesW"};
inline const BoundFunction<RemoveDirectoryWFn> RemoveDirectoryW{"kernel32.dll", "RemoveDirectoryW"};
inline const BoundFunction<CreateDirectoryWFn> CreateDirectoryW{"kernel32.dll", "CreateDirectoryW"};
inline const BoundFunction<MoveFileExWFn> MoveFileExW{"kernel32.dll", "MoveFileExW"};
inline const BoundFunction<RegQueryValueExWFn> RegQueryValueExW{"advapi32.dll", "RegQueryValueExW"};
inline const BoundFunction<DeleteFileWFn> DeleteFileW{"kernel32.dll", "DeleteFileW"};
inline const BoundFunction<CreateMutexAFn> CreateMutexA{"kernel32.dll", "CreateMutexA"};
inline const BoundFunction<OpenMutexAFn> OpenMutexA{"kernel32.dll", "OpenMutexA"};
inline const BoundFunction<ReleaseMutexFn> ReleaseMutex{"kernel32.dll", "ReleaseMutex"};
inline const BoundFunction<RegEnumValueWFn> RegEnumValueW{"advapi32.dll", "RegEnumValueW"};
inline const BoundFunction<GetFullPathNameWFn> GetFullPathNameW{"kernel32.dll", "GetFullPathNameW"};
inline const BoundFunction<GetShortPathNameWFn> GetShortPathNameW{"kernel32.dll", "GetShortPathNameW"};
inline const BoundFunction<GetWindowsDirectoryWFn> GetWindowsDirectoryW{"kernel32.dll", "GetWindowsDirectoryW"};
inline const BoundFunction<GetSystemDirectoryWFn> GetSystemDirectoryW{"kernel32.dll", "GetSystemDirectoryW"};
inline const BoundFunction<GetEnvironmentVariableWFn> GetEnvironmentVariableW{"kernel32.dll",
                                                                               "GetEnvironmentVariableW"};
inline const BoundFunction<SHGetSpecialFolderPathWFn> SHGetSpecialFolderPathW{"shell32.dll",
                                                                               "SHGetSpecialFolderPathW"};
inline const BoundFunction<GetDriveTypeWFn> GetDriveTypeW{"kernel32.dll", "GetDriveTypeW"};
inline const BoundFunction<QueryDosDeviceWFn> QueryDosDeviceW{"kernel32.dll", "QueryDosDeviceW"};
inline const BoundFunction<GetCurrentDirectoryWFn> GetCurrentDirectoryW{"kernel32.dll", "GetCurrentDirectoryW"};
inline const BoundFunction<SetCurrentDirectoryWFn> SetCurrentDirectoryW{"kernel32.dll", "SetCurrentDirectoryW"};
inline const BoundFunction<GetModuleFileNameWFn> GetModuleFileNameW{"kernel32.dll", "GetModuleFileNameW"};
inline const BoundFunction<GetCommandLineWFn> GetCommandLineW{"kernel32.dll", "GetCommandLineW"};
inline const BoundFunction<DeviceIoControlFn> DeviceIoControl{"kernel32.dll", "DeviceIoControl"};
inline const BoundFunction<GetFinalPathNameByHandleWFn> GetFinalPathNameByHandleW{"kernel32.dll",
                                                                                   "GetFinalPathNameByHandleW"};
inline const BoundFunction<ReadFileFn> ReadFile{"kernel32.dll", "ReadFile"};
inline const BoundFunction<GetFileSizeFn> GetFileSize{"kernel32.dll", "GetFileSize"};
inline const BoundFunction<SetEndOfFileFn> SetEndOfFile{"kernel32.dll", "SetEndOfFile"};

}  // namespace qvn::api

#ifdef _WIN32
#include <objbase.h>
#include <oleauto.h>

namespace qvn::api {

// COM, for the scripting file-system object. OLE's own text is always wide.
using CoInitializeFn = HRESULT(WINAPI*)(LPVOID reserved);
using CoUninitializeFn = void(WINAPI*)();
using CLSIDFromProgIDFn = HRESULT(WINAPI*)(LPCOLESTR progId, LPCLSID clsid);
using CoCreateInstanceFn = HRESULT(WINAPI*)(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid, LPVOID* object);
using SysAllocStringFn = BSTR(WINAPI*)(const OLECHAR* text);
using SysFreeStringFn = void(WINAPI*)(BSTR text);
using VariantClearFn = HRESULT(WINAPI*)(VARIANTARG* variant);
using FormatMessageAFn = DWORD(WINAPI*)(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId, LPSTR buffer,
                                         DWORD size, void* arguments);  // va_list*, always null here

inline const BoundFunction<CoInitializeFn> CoInitialize{"ole32.dll", "CoInitialize"};
inline const BoundFunction<CoUninitializeFn> CoUninitialize{"ole32.dll", "CoUninitialize"};
inline const BoundFunction<CLSIDFromProgIDFn> CLSIDFromProgID{"ole32.dll", "CLSIDFromProgID"};
inline const BoundFunction<CoCreateInstanceFn> CoCreateInstance{"ole32.dll", "CoCreateInstance"};
inline const BoundFunction<SysAllocStringFn> SysAllocString{"oleaut32.dll", "SysAllocString"};
inline const BoundFunction<SysFreeStringFn> SysFreeString{"oleaut32.dll", "SysFreeString"};
inline const BoundFunction<VariantClearFn> VariantClear{"oleaut32.dll", "VariantClear"};
inline const BoundFunction<FormatMessageAFn> FormatMessageA{"kernel32.dll", "FormatMessageA"};

}  // namespace qvn::api
#endif
