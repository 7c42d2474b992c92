#include "services/AsideFolder.h"

#include <cwctype>

#include "services/Concat.h"
#include "services/DecimalText.h"
#include "services/FileCalls.h"
#include "services/FolderAbove.h"
#include "services/KernelHandle.h"
#include "services/LastError.h"
#include "services/PlatformApi.h"
#include "services/SameText.h"

namespace qvn {
namespace {

// Enough for every run a user might make before restarting; past it the
// folder above is taken to be unusable.
constexpr unsigned kMostNamesTried = 1000;

const wchar_t kAsideName[] = L"QvnRemove.pending";
const wchar_t kMarkName[] = L"QvnRemove.mark";
// For whoever opens the folder; the program looks only at the file's name.
const char kMarkText[] =
    "QvnRemove moved files of Quorvane that were in use into this folder. Windows deletes it at the next "
    "restart; if QvnRemove stopped before it could ask for that, its next run finishes it.\r\n";

std::wstring AsideName(unsigned number) {
  return number == 1 ? kAsideName : Concat({kAsideName, L".", DecimalText(static_cast<std::int32_t>(number))});
}

// One of the names MakeFolderBeside gives, in any case.
bool IsAsideName(const std::wstring& name) {
  const std::size_t base = sizeof kAsideName / sizeof kAsideName[0] - 1;
  if (SameText(name, kAsideName)) return true;
  if (name.size() < base + 2 || name.size() > base + 5 || name[base] != L'.') return false;
  unsigned number = 0;
  for (std::size_t at = base + 1; at < name.size(); ++at) {
    if (!std::iswdigit(name[at])) return false;
    number = number * 10 + static_cast<unsigned>(name[at] - L'0');
  }
  return number >= 2 && number <= kMostNamesTried && SameText(name, AsideName(number));
}

std::wstring MarkIn(const std::wstring& folder) { return Concat({folder, L"\\", kMarkName}); }

// The folder just made gets its mark; when it cannot, the folder goes again.
AsideFolder Marked(const std::wstring& path) {
  const std::wstring mark = MarkIn(path);
  const LastError lastError;
  const HANDLE made =
      api::CreateFileW(mark.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (made == INVALID_HANDLE_VALUE) {
    const DWORD error = lastError();
    api::RemoveDirectoryW(path.c_str());
    return {L"", error, L""};
  }
  const KernelHandle file(made);
  // The file is the mark; a text that cannot be written changes nothing.
  DWORD written = 0;
  api::WriteFile(file.Get(), kMarkText, static_cast<DWORD>(sizeof kMarkText - 1), &written, nullptr);
  return {path, ERROR_SUCCESS, mark};
}

}  // namespace

AsideFolder MakeFolderBeside(const std::wstring& folder) {
  const std::wstring parent = FolderAbove(folder);
  if (parent.empty()) return {L"", static_cast<DWORD>(ERROR_BAD_PATHNAME), L""};
  const LastError lastError;
  for (unsigned number = 1; number <= kMostNamesTried; ++number) {
    const std::wstring path = Concat({parent, L"\\", AsideName(number)});
    if (api::CreateDirectoryW(path.c_str(), nullptr)) return Marked(path);
    const DWORD error = lastError();
    if (error != static_cast<DWORD>(ERROR_ALREADY_EXISTS)) return {L"", error, L""};
  }
  return {L"", static_cast<DWORD>(ERROR_ALREADY_EXISTS), L""};
}

void DropAsideFolder(const AsideFolder& aside) {
  api::DeleteFileW(aside.mark.c_str());
  api::RemoveDirectoryW(aside.path.c_str());
}

std::vector<std::wstring> MarkedFoldersBeside(const std::wstring& folder) {
  std::vector<std::wstring> marked;
  const std::wstring parent = FolderAbove(folder);
  if (parent.empty()) return marked;
  const FileCalls files(/*wide=*/true);
  files.List(parent, [&](const std::wstring& name, DWORD attributes) {
    const bool plainFolder =
        (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
    if (!plainFolder || !IsAsideName(name)) return true;
    const std::wstring path = Concat({parent, L"\\", name});
    const DWORD mark = files.Attributes(MarkIn(path));
    if (mark != INVALID_FILE_ATTRIBUTES && (mark & FILE_ATTRIBUTE_DIRECTORY) == 0) marked.push_back(path);
    return true;
  });
  return marked;
}

DWORD MoveEntry(const std::wstring& from, const std::wstring& to) {
  const LastError lastError;
  // No MOVEFILE_COPY_ALLOWED: that is what MoveFileW adds, and with it a file
  // bound for another volume is copied, then its deletion fails for being in use.
  return api::MoveFileExW(from.c_str(), to.c_str(), 0) ? ERROR_SUCCESS : lastError();
}

}  // namespace qvn
