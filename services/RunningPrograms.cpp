#include "services/RunningPrograms.h"

#include "services/Failure.h"
#include "services/KernelHandle.h"
#include "services/ProcessApi.h"
#include "services/Text.h"

namespace qvn {
namespace {

constexpr DWORD kRoom = 1024;

HANDLE Valid(HANDLE handle) { return handle == INVALID_HANDLE_VALUE ? nullptr : handle; }

bool IsFullLocalPath(const std::wstring& path) { return path.size() > 3 && path.compare(1, 2, L":\\") == 0; }

void Keep(std::vector<RunningProgram>& programs, DWORD processId, const std::wstring& file) {
  if (IsFullLocalPath(file)) programs.push_back({processId, file});
}

// 95/98/ME: the 8-bit forms, which name each program file in full.
std::vector<RunningProgram> ListedByToolHelp(HANDLE snapshot) {
  std::vector<RunningProgram> programs;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = api::Process32First(snapshot, &entry); more; more = api::Process32Next(snapshot, &entry)) {
    Keep(programs, entry.th32ProcessID, FromAnsi(entry.szExeFile));
  }
  return programs;
}

// Vista and later name the image of any process this one may query, whatever
// its architecture; empty before Vista or when the process refuses.
std::wstring ImageName(DWORD processId) {
  api::QueryFullProcessImageNameWFn query = nullptr;
  try {
    query = api::QueryFullProcessImageNameW.Resolve();
  } catch (const Failure&) {
    return {};
  }
  KernelHandle process(api::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  wchar_t path[kRoom] = {};
  DWORD chars = kRoom;
  if (!process || !query(process.Get(), 0, path, &chars)) return {};
  return std::wstring(path, chars);
}

// The first module of a process is its program file.
std::wstring FirstModule(DWORD processId) {
  KernelHandle modules(Valid(api::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId)));
  MODULEENTRY32W module{};
  module.dwSize = sizeof module;
  if (!modules || !api::Module32FirstW(modules.Get(), &module)) return {};
  return module.szExePath;
}

// The NT family: the wide forms, which name the program file only.
std::vector<RunningProgram> ListedByPath(HANDLE snapshot) {
  std::vector<RunningProgram> programs;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = api::Process32FirstW(snapshot, &entry); more; more = api::Process32NextW(snapshot, &entry)) {
    std::wstring file = ImageName(entry.th32ProcessID);
    if (file.empty()) file = FirstModule(entry.th32ProcessID);
    Keep(programs, entry.th32ProcessID, file);
  }
  return programs;
}

}  // namespace

std::vector<RunningProgram> ListRunningPrograms(bool ntFamily) {
  try {
    KernelHandle snapshot(Valid(api::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0)));
    if (!snapshot) return {};
    return ntFamily ? ListedByPath(snapshot.Get()) : ListedByToolHelp(snapshot.Get());
  } catch (const Failure&) {
    return {};  // no ToolHelp (NT 4.0): the running programs stay unknown
  }
}

}  // namespace qvn
