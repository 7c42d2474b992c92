#include "services/NtFileCalls.h"

#include <cstring>

#include "services/Concat.h"
#include "services/LastError.h"
#include "services/PlatformApi.h"

namespace qvn {
namespace {

// Past this a path needs "\\?\" before it: the usual rules stop at 260
// characters, less room for a name inside a folder.
constexpr std::size_t kLongestUsualPath = MAX_PATH - 12;

nt::UNICODE_STRING Counted(const std::wstring& text) {
  const auto bytes = static_cast<std::uint16_t>(text.size() * sizeof(WCHAR));
  return {bytes, bytes, const_cast<WCHAR*>(text.c_str())};
}

template <typename Information>
nt::Status SetInformation(HANDLE entry, Information& information, std::uint32_t informationClass,
                          std::size_t bytes = sizeof(Information)) {
  nt::IO_STATUS_BLOCK io{};
  return api::NtSetInformationFile(entry, &io, &information, static_cast<std::uint32_t>(bytes), informationClass);
}

// The path as the system takes it whatever its length, or exactly.
std::wstring Named(const std::wstring& path, bool exact) {
  return exact || path.size() > kLongestUsualPath ? Concat({L"\\\\?\\", path}) : path;
}

}  // namespace

DWORD OpenTarget(const std::wstring& path, DWORD access, bool reparsePoints, KernelHandle& opened, bool exact) {
  const std::wstring named = Named(path, exact);
  const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (reparsePoints ? nt::kOpenReparsePointFlag : 0);
  const LastError lastError;
  const HANDLE handle = api::CreateFileW(named.c_str(), access, kShareEverything, nullptr, OPEN_EXISTING, flags, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return lastError();
  opened.Reset(handle);
  return ERROR_SUCCESS;
}

nt::Status OpenEntry(HANDLE folder, const std::wstring& name, bool isFolder, bool reparsePoints, DWORD access,
                     KernelHandle& opened) {
  nt::UNICODE_STRING counted = Counted(name);
  nt::OBJECT_ATTRIBUTES object{sizeof(nt::OBJECT_ATTRIBUTES), folder, &counted, nt::kCaseInsensitive, nullptr,
                               nullptr};
  nt::IO_STATUS_BLOCK io{};
  const std::uint32_t options = nt::kSynchronousIoNonAlert | (isFolder ? nt::kDirectoryFile : nt::kNonDirectoryFile) |
                                (reparsePoints ? nt::kOpenReparsePoint : 0);
  HANDLE handle = nullptr;
  const nt::Status status = api::NtOpenFile(&handle, access, &object, &io, kShareEverything, options);
  if (status >= 0) opened.Reset(handle);
  return status;
}

nt::Status ListFolder(HANDLE folder, std::vector<std::uint64_t>& buffer, const EachListed& each) {
  constexpr std::uint32_t kBufferBytes = 64 * 1024;
  buffer.resize(kBufferBytes / sizeof(std::uint64_t));
  for (BYTE restart = 1;; restart = 0) {
    nt::IO_STATUS_BLOCK io{};
    const nt::Status status =
        api::NtQueryDirectoryFile(folder, nullptr, nullptr, nullptr, &io, buffer.data(), kBufferBytes,
                                  nt::kFileFullDirectoryInformation, BYTE{0}, nullptr, restart);
    if (status == nt::kNoMoreFiles) return nt::kSuccess;
    if (status < 0) return status;
    const auto* at = reinterpret_cast<const BYTE*>(buffer.data());
    for (;;) {
      const auto* entry = reinterpret_cast<const nt::FILE_FULL_DIR_INFORMATION*>(at);
      const std::wstring name(entry->FileName, entry->FileNameLength / sizeof(WCHAR));
      if (name != L"." && name != L"..") each(name, entry->FileAttributes);
      if (entry->NextEntryOffset == 0) break;
      at += entry->NextEntryOffset;
    }
  }
}

nt::Status ReadAttributeTag(HANDLE entry, DWORD& attributes, std::uint32_t& tag) {
  nt::FILE_ATTRIBUTE_TAG_INFORMATION information{};
  nt::IO_STATUS_BLOCK io{};
  const nt::Status status = api::NtQueryInformationFile(
      entry, &io, &information, static_cast<std::uint32_t>(sizeof information), nt::kFileAttributeTagInformation);
  attributes = information.FileAttributes;
  tag = information.ReparseTag;
  return status;
}

nt::Status WriteAttributes(HANDLE entry, DWORD attributes) {
  nt::FILE_BASIC_INFORMATION information{};
  information.FileAttributes = attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
  return SetInformation(entry, information, nt::kFileBasicInformation);
}

DWORD TargetAttributes(const std::wstring& path, bool exact) {
  return api::GetFileAttributesW(Named(path, exact).c_str());
}

nt::Status SetDeleteMark(HANDLE entry, bool deleteIt) {
  nt::FILE_DISPOSITION_INFORMATION information{static_cast<BYTE>(deleteIt ? 1 : 0)};
  return SetInformation(entry, information, nt::kFileDispositionInformation);
}

nt::Status SetDeleteMarkEx(HANDLE entry, std::uint32_t flags) {
  nt::FILE_DISPOSITION_INFORMATION_EX information{flags};
  return SetInformation(entry, information, nt::kFileDispositionInformationEx);
}

nt::Status RenameInto(HANDLE entry, HANDLE folder, const std::wstring& name) {
  // The name follows the fixed part of the record: one allocation for both,
  // aligned for the record's handle.
  const std::size_t bytes = offsetof(nt::FILE_RENAME_INFORMATION, FileName) + name.size() * sizeof(WCHAR);
  std::vector<std::uint64_t> storage((bytes + sizeof(std::uint64_t) - 1) / sizeof(std::uint64_t) + 1);
  auto* rename = reinterpret_cast<nt::FILE_RENAME_INFORMATION*>(storage.data());
  rename->ReplaceIfExists = 0;
  rename->RootDirectory = folder;
  rename->FileNameLength = static_cast<std::uint32_t>(name.size() * sizeof(WCHAR));
  std::memcpy(rename->FileName, name.data(), name.size() * sizeof(WCHAR));
  return SetInformation(entry, *rename, nt::kFileRenameInformation, bytes);
}

DWORD ErrorOfStatus(nt::Status status) { return api::RtlNtStatusToDosError(status); }

std::wstring StatusText(nt::Status status) {
  const auto value = static_cast<std::uint32_t>(status);
  std::wstring text = L"0x";
  for (int shift = 28; shift >= 0; shift -= 4) text += L"0123456789ABCDEF"[(value >> shift) & 0xFu];
  return text;
}

}  // namespace qvn
