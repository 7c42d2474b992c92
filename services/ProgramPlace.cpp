#include "services/ProgramPlace.h"

#include "services/PlatformApi.h"
#include "services/Text.h"

namespace qvn {
namespace {

constexpr DWORD kRoom = 1024;

}  // namespace

std::wstring ProgramFile() {
  char path[kRoom] = {};
  const DWORD length = api::GetModuleFileNameA(nullptr, path, kRoom);
  return length == 0 || length >= kRoom ? std::wstring() : FromAnsi(std::string(path, length));
}

std::wstring CurrentFolder() {
  char path[kRoom] = {};
  const DWORD length = api::GetCurrentDirectoryA(kRoom, path);
  return length == 0 || length >= kRoom ? std::wstring() : FromAnsi(std::string(path, length));
}

bool MoveToWindowsFolder() {
  char windows[kRoom] = {};
  const UINT length = api::GetWindowsDirectoryA(windows, kRoom);
  return length != 0 && length < kRoom && api::SetCurrentDirectoryA(windows) != 0;
}

}  // namespace qvn
