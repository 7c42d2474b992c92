#pragma once
// The platform functions that list running programs and reach their windows,
// bound by library and entry-point name at their first call like those of
// PlatformApi.h. ToolHelp is missing on NT 4.0, and the wide forms and the
// image-name query on 95/98/ME (the query also before Vista): nothing here is
// imported at load time.

#include "services/BoundFunction.h"
#include "services/PlatformTypes.h"

#ifdef _WIN32
#include <tlhelp32.h>
#else
#include <cstdint>

#define CALLBACK
constexpr BOOL FALSE = 0;
constexpr BOOL TRUE = 1;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using WNDENUMPROC = BOOL(CALLBACK*)(HWND window, LPARAM context);
struct POINT {
  LONG x;
  LONG y;
};
struct MSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
};
using LPMSG = MSG*;
struct PROCESSENTRY32 {
  DWORD dwSize;
  DWORD cntUsage;
  DWORD th32ProcessID;
  ULONG_PTR th32DefaultHeapID;
  DWORD th32ModuleID;
  DWORD cntThreads;
  DWORD th32ParentProcessID;
  LONG pcPriClassBase;
  DWORD dwFlags;
  CHAR szExeFile[MAX_PATH];
};
struct PROCESSENTRY32W {
  DWORD dwSize;
  DWORD cntUsage;
  DWORD th32ProcessID;
  ULONG_PTR th32DefaultHeapID;
  DWORD th32ModuleID;
  DWORD cntThreads;
  DWORD th32ParentProcessID;
  LONG pcPriClassBase;
  DWORD dwFlags;
  WCHAR szExeFile[MAX_PATH];
};
struct MODULEENTRY32W {
  DWORD dwSize;
  DWORD th32ModuleID;
  DWORD th32ProcessID;
  DWORD GlblcntUsage;
  DWORD ProccntUsage;
  BYTE* modBaseAddr;
  DWORD modBaseSize;
  HMODULE hModule;
  WCHAR szModule[256];
  WCHAR szExePath[MAX_PATH];
};
constexpr DWORD TH32CS_SNAPPROCESS = 0x2;
constexpr DWORD TH32CS_SNAPMODULE = 0x8;
constexpr DWORD SYNCHRONIZE = 0x00100000;
constexpr DWORD PROCESS_QUERY_LIMITED_INFORMATION = 0x1000;
constexpr UINT GW_OWNER = 4;
constexpr UINT WM_CLOSE = 0x0010;
constexpr DWORD QS_SENDMESSAGE = 0x0040;
constexpr DWORD QS_PAINT = 0x0020;
constexpr UINT PM_NOREMOVE = 0x0000;
constexpr UINT PM_REMOVE = 0x0001;
constexpr UINT WM_PAINT = 0x000F;
constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_ABANDONED = 0x80;
constexpr DWORD WAIT_TIMEOUT = 258;
constexpr DWORD MAXIMUM_WAIT_OBJECTS = 64;
#endif

namespace qvn::api {

using CreateToolhelp32SnapshotFn = HANDLE(WINAPI*)(DWORD what, DWORD processId);
// The 8-bit forms carry no "A" in their names.
using Process32FirstFn = BOOL(WINAPI*)(HANDLE snapshot, PROCESSENTRY32* entry);
using Process32NextFn = BOOL(WINAPI*)(HANDLE snapshot, PROCESSENTRY32* entry);
using Process32FirstWFn = BOOL(WINAPI*)(HANDLE snapshot, PROCESSENTRY32W* entry);
using Process32NextWFn = BOOL(WINAPI*)(HANDLE snapshot, PROCESSENTRY32W* entry);
using Module32FirstWFn = BOOL(WINAPI*)(HANDLE snapshot, MODULEENTRY32W* entry);
using OpenProcessFn = HANDLE(WINAPI*)(DWORD access, BOOL inherit, DWORD processId);
using QueryFullProcessImageNameWFn = BOOL(WINAPI*)(HANDLE process, DWORD flags, LPWSTR path, PDWORD chars);
using WaitForSingleObjectFn = DWORD(WINAPI*)(HANDLE object, DWORD ms);
using GetTickCountFn = DWORD(WINAPI*)();
using EnumWindowsFn = BOOL(WINAPI*)(WNDENUMPROC callback, LPARAM context);
using GetWindowThreadProcessIdFn = DWORD(WINAPI*)(HWND window, LPDWORD processId);
using IsWindowVisibleFn = BOOL(WINAPI*)(HWND window);
using GetWindowFn = HWND(WINAPI*)(HWND window, UINT relation);
using PostMessageAFn = BOOL(WINAPI*)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
using MsgWaitForMultipleObjectsFn = DWORD(WINAPI*)(DWORD count, const HANDLE* objects, BOOL all, DWORD ms,
                                                   DWORD wakeMask);
using PeekMessageAFn = BOOL(WINAPI*)(LPMSG message, HWND window, UINT first, UINT last, UINT remove);
using DispatchMessageAFn = LRESULT(WINAPI*)(const MSG* message);

// Missing on NT 4.0.
inline const BoundFunction<CreateToolhelp32SnapshotFn> CreateToolhelp32Snapshot{"kernel32.dll",
                                                                                 "CreateToolhelp32Snapshot"};
inline const BoundFunction<Process32FirstFn> Process32First{"kernel32.dll", "Process32First"};
inline const BoundFunction<Process32NextFn> Process32Next{"kernel32.dll", "Process32Next"};
inline const BoundFunction<Process32FirstWFn> Process32FirstW{"kernel32.dll", "Process32FirstW"};
inline const BoundFunction<Process32NextWFn> Process32NextW{"kernel32.dll", "Process32NextW"};
inline const BoundFunction<Module32FirstWFn> Module32FirstW{"kernel32.dll", "Module32FirstW"};
inline const BoundFunction<OpenProcessFn> OpenProcess{"kernel32.dll", "OpenProcess"};
// Vista and later.
inline const BoundFunction<QueryFullProcessImageNameWFn> QueryFullProcessImageNameW{"kernel32.dll",
                                                                                     "QueryFullProcessImageNameW"};
inline const BoundFunction<WaitForSingleObjectFn> WaitForSingleObject{"kernel32.dll", "WaitForSingleObject"};
inline const BoundFunction<GetTickCountFn> GetTickCount{"kernel32.dll", "GetTickCount"};
inline const BoundFunction<EnumWindowsFn> EnumWindows{"user32.dll", "EnumWindows"};
inline const BoundFunction<GetWindowThreadProcessIdFn> GetWindowThreadProcessId{"user32.dll",
                                                                                 "GetWindowThreadProcessId"};
inline const BoundFunction<IsWindowVisibleFn> IsWindowVisible{"user32.dll", "IsWindowVisible"};
inline const BoundFunction<GetWindowFn> GetWindow{"user32.dll", "GetWindow"};
inline const BoundFunction<PostMessageAFn> PostMessageA{"user32.dll", "PostMessageA"};
inline const BoundFunction<MsgWaitForMultipleObjectsFn> MsgWaitForMultipleObjects{"user32.dll",
                                                                                   "MsgWaitForMultipleObjects"};
inline const BoundFunction<PeekMessageAFn> PeekMessageA{"user32.dll", "PeekMessageA"};
inline const BoundFunction<DispatchMessageAFn> DispatchMessageA{"user32.dll", "DispatchMessageA"};

}  // namespace qvn::api
