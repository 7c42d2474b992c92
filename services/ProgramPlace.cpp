#include "services/ProgramPlace.h"

#include "services/PlatformApi.h"
#include "services/SystemFolders.h"
#include "services/SystemText.h"
#include "services/Text.h"

namespace qvn {

std::wstring ProgramFile() {
  return FilledText([](wchar_t* path, DWORD room) { return api::GetModuleFileNameW(nullptr, path, room); },
                    [](char* path, DWORD room) { return api::GetModuleFileNameA(nullptr, path, room); });
}

std::wstring CurrentFolder() {
  return FilledText([](wchar_t* path, DWORD room) { return api::GetCurrentDirectoryW(room, path); },
                    [](char* path, DWORD room) { return api::GetCurrentDirectoryA(room, path); });
}

bool MoveToWindowsFolder() {
  const std::wstring windows = WindowsFolder();
  if (windows.empty()) return false;
  const BOOL moved = NamesInUnicode() ? api::SetCurrentDirectoryW(windows.c_str())
                                      : api::SetCurrentDirectoryA(ToAnsi(windows).c_str());
  return moved != 0;
}

std::wstring CommandLineText() {
  return NamesInUnicode() ? std::wstring(api::GetCommandLineW()) : FromAnsi(api::GetCommandLineA());
}

}  // namespace qvn
