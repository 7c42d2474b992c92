#include "tests/fakes/SimulatedPlatform.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <stdexcept>
#include <utility>

#include <sys/stat.h>

#include "services/Failure.h"
#include "services/ProcessApi.h"
#include "tests/fakes/SimulatedNtFiles.h"
#include "services/ReparseData.h"

namespace {

SimulatedPlatform* current = nullptr;

std::wstring Wide(const char* text) { return text == nullptr ? L"(null)" : std::wstring(text, text + std::strlen(text)); }

// The wide names the NT family's functions take, in the simulation's code
// page: characters beyond it cannot name a host file here.
std::string NarrowName(LPCWSTR text) {
  std::string narrow;
  for (; text != nullptr && *text != L'\0'; ++text) narrow += *text < 256 ? static_cast<char>(*text) : '?';
  return narrow;
}

wchar_t WideChar(char c) { return static_cast<wchar_t>(static_cast<unsigned char>(c)); }

// Notes a call that touches a file, folder or drive before the error mode
// turned the system's own error boxes off.
void TouchesFiles(const char* name) {
  SimulatedPlatform& platform = SimulatedPlatform::Current();
  if ((platform.errorMode & SEM_FAILCRITICALERRORS) == 0) platform.fileCallsBeforeErrorMode.push_back(name);
}

// Fails the call chosen to fail, with its error for GetLastError.
bool FailsWithLastError(const char* name) {
  SimulatedPlatform& platform = SimulatedPlatform::Current();
  LONG injected = 0;
  if (!platform.Fails(name, injected)) return false;
  platform.lastError = static_cast<DWORD>(injected);
  return true;
}

// Each simulated entry point counts its call and fails it when asked to.
#define SIMULATED_FAILURE(name, failed)           \
  LONG injected = 0;                              \
  if (SimulatedPlatform::Current().Fails(name, injected)) return failed;

BOOL WINAPI SimGetVersionExA(LPOSVERSIONINFOA info) {
  SIMULATED_FAILURE("GetVersionExA", 0)
  SimulatedPlatform& platform = SimulatedPlatform::Current();
  if (platform.versionQueryRefused_ || info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA)) return 0;
  *info = platform.version;
  return 1;
}

int WINAPI SimMultiByteToWideChar(UINT, DWORD, LPCSTR text, int bytes, LPWSTR wide, int room) {
  SIMULATED_FAILURE("MultiByteToWideChar", 0)
  const int count = bytes < 0 ? static_cast<int>(std::strlen(text)) + 1 : bytes;
  if (wide == nullptr || room == 0) return count;
  if (room < count) return 0;
  for (int i = 0; i < count; ++i) wide[i] = static_cast<unsigned char>(text[i]);
  return count;
}

// With best fit, as Windows converts: a letter the code page lacks becomes
// its look-alike where it has one (these two, as in Windows' Western code
// page), '?' otherwise.
char InCodePage(wchar_t c) {
  if (c < 256) return static_cast<char>(c);
  if (c == 0x0141) return 'L';
  if (c == 0x0142) return 'l';
  return '?';
}

int WINAPI SimWideCharToMultiByte(UINT, DWORD, LPCWSTR wide, int chars, LPSTR text, int room, LPCSTR, LPBOOL) {
  SIMULATED_FAILURE("WideCharToMultiByte", 0)
  const int count = chars < 0 ? static_cast<int>(std::wcslen(wide)) + 1 : chars;
  if (text == nullptr || room == 0) return count;
  if (room < count) return 0;
  for (int i = 0; i < count; ++i) text[i] = InCodePage(wide[i]);
  return count;
}

LONG WINAPI SimRegOpenKeyExA(HKEY root, LPCSTR path, DWORD options, REGSAM access, PHKEY result) {
  SIMULATED_FAILURE("RegOpenKeyExA", injected)
  return SimulatedPlatform::Current().registry.Open(root, path, options, access, result);
}

LONG WINAPI SimRegQueryValueExA(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size) {
  SIMULATED_FAILURE("RegQueryValueExA", injected)
  return SimulatedPlatform::Current().registry.Query(key, name, reserved, type, data, size);
}

LONG WINAPI SimRegQueryValueExW(HKEY key, LPCWSTR name, LPDWORD, LPDWORD type, LPBYTE data, LPDWORD size) {
  SIMULATED_FAILURE("RegQueryValueExW", injected)
  return SimulatedPlatform::Current().registry.Query(key, NarrowName(name).c_str(), nullptr, type, data, size, true);
}

LONG WINAPI SimRegOpenKeyExW(HKEY root, LPCWSTR path, DWORD options, REGSAM access, PHKEY result) {
  SIMULATED_FAILURE("RegOpenKeyExW", injected)
  return SimulatedPlatform::Current().registry.Open(root, NarrowName(path).c_str(), options, access, result);
}

LONG WINAPI SimRegEnumKeyExW(HKEY key, DWORD index, LPWSTR name, LPDWORD nameChars, LPDWORD reserved, LPWSTR className,
                             LPDWORD, PFILETIME) {
  SIMULATED_FAILURE("RegEnumKeyExW", injected)
  if (reserved != nullptr || className != nullptr || name == nullptr) return ERROR_INVALID_PARAMETER;
  std::string narrow(*nameChars, '\0');
  const LONG result = SimulatedPlatform::Current().registry.EnumKey(key, index, narrow.data(), nameChars);
  if (result == ERROR_SUCCESS) std::copy(narrow.begin(), narrow.begin() + *nameChars + 1, name);
  return result;
}

LONG WINAPI SimRegEnumValueA(HKEY key, DWORD index, LPSTR name, LPDWORD nameChars, LPDWORD, LPDWORD type, LPBYTE data,
                             LPDWORD) {
  SIMULATED_FAILURE("RegEnumValueA", injected)
  if (data != nullptr) return ERROR_INVALID_PARAMETER;  // the tool reads the data by name
  return SimulatedPlatform::Current().registry.EnumValue(key, index, name, nameChars, type);
}

LONG WINAPI SimRegEnumValueW(HKEY key, DWORD index, LPWSTR name, LPDWORD nameChars, LPDWORD, LPDWORD type,
                             LPBYTE data, LPDWORD) {
  SIMULATED_FAILURE("RegEnumValueW", injected)
  if (data != nullptr) return ERROR_INVALID_PARAMETER;  // the tool reads the data by name
  std::vector<char> narrow(*nameChars + 1, '\0');
  const LONG result = SimulatedPlatform::Current().registry.EnumValue(key, index, narrow.data(), nameChars, type);
  if (result == ERROR_SUCCESS) std::transform(narrow.begin(), narrow.begin() + *nameChars + 1, name, WideChar);
  return result;
}

LONG WINAPI SimRegEnumKeyExA(HKEY key, DWORD index, LPSTR name, LPDWORD nameChars, LPDWORD reserved, LPSTR className,
                             LPDWORD, PFILETIME) {
  SIMULATED_FAILURE("RegEnumKeyExA", injected)
  // Reserved must be null; the tool never asks for the class.
  if (reserved != nullptr || className != nullptr || name == nullptr) return ERROR_INVALID_PARAMETER;
  return SimulatedPlatform::Current().registry.EnumKey(key, index, name, nameChars);
}

LONG WINAPI SimRegDeleteKeyA(HKEY key, LPCSTR subkey) {
  SIMULATED_FAILURE("RegDeleteKeyA", injected)
  SimulatedPlatform& platform = SimulatedPlatform::Current();
  const std::string path = platform.registry.PathOf(key);
  const LONG result = platform.registry.Delete(key, subkey);
  platform.calls.push_back(L"RegDeleteKeyA " + Wide(path.c_str()) + L" | " + Wide(subkey));
  return result;
}

LONG WINAPI SimRegCloseKey(HKEY key) {
  SIMULATED_FAILURE("RegCloseKey", injected)
  return SimulatedPlatform::Current().registry.Close(key);
}

int WINAPI SimMessageBoxA(HWND owner, LPCSTR text, LPCSTR title, UINT style) {
  SIMULATED_FAILURE("MessageBoxA", 0)
  SimulatedPlatform& platform = SimulatedPlatform::Current();
  platform.messageBoxes.push_back({owner, Wide(text), Wide(title), style});
  platform.calls.push_back(L"MessageBoxA " + Wide(text));
  return IDOK;
}

// Copies `text` out as the platform's "fill this buffer" functions do, in
// either form (the wide one widens each byte of the code page): the length
// without terminator when it fits, else the room needed.
template <typename Char>
DWORD FillBuffer(const std::string& text, Char* buffer, DWORD room) {
  if (text.size() + 1 > room) return static_cast<DWORD>(text.size() + 1);
  std::transform(text.c_str(), text.c_str() + text.size() + 1, buffer,
                 [](char c) { return static_cast<Char>(static_cast<unsigned char>(c)); });
  return static_cast<DWORD>(text.size());
}

std::string LowerText(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

// "." and ".." applied and '/' read as '\\', as GetFullPathName does; a
// relative path is taken from the current folder.
std::string ResolvePath(const std::string& path, const std::string& currentFolder) {
  std::string full = path;
  std::replace(full.begin(), full.end(), '/', '\\');
  if (full.size() < 3 || full[1] != ':' || full[2] != '\\') full = currentFolder + "\\" + full;
  std::vector<std::string> parts;
  std::size_t start = 3;
  while (start <= full.size()) {
    const std::size_t end = std::min(full.find('\\', start), full.size());
    const std::string part = full.substr(start, end - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  std::string resolved = full.substr(0, 3);
  for (std::size_t i = 0; i < parts.size(); ++i) resolved += (i == 0 ? "" : "\\") + parts[i];
  if (!path.empty() && (path.back() == '\\' || path.back() == '/') && !parts.empty()) resolved += "\\";
  return resolved;
}

// Each function below answers alike in its two forms, each counted by its
// own name: the 8-bit form in the code page, the wide one widened from it.

template <typename Char>
DWORD FullPathNamed(const char* function, const std::string& path, Char* buffer, DWORD room) {
  SIMULATED_FAILURE(function, 0)
  if (path.empty()) return 0;
  return FillBuffer(ResolvePath(path, SimulatedPlatform::Current().currentFolder), buffer, room);
}

DWORD WINAPI SimGetFullPathNameA(LPCSTR path, DWORD room, LPSTR buffer, LPSTR* filePart) {
  if (filePart != nullptr) *filePart = nullptr;
  return FullPathNamed("GetFullPathNameA", path != nullptr ? path : "", buffer, room);
}

DWORD WINAPI SimGetFullPathNameW(LPCWSTR path, DWORD room, LPWSTR buffer, LPWSTR* filePart) {
  if (filePart != nullptr) *filePart = nullptr;
  return FullPathNamed("GetFullPathNameW", NarrowName(path), buffer, room);
}

template <typename Char>
DWORD ShortPathNamed(const char* function, const std::string& path, Char* buffer, DWORD room) {
  SIMULATED_FAILURE(function, 0)
  TouchesFiles(function);
  for (const auto& [longForm, shortForm] : SimulatedPlatform::Current().shortNames) {
    if (LowerText(longForm) == LowerText(path) || LowerText(shortForm) == LowerText(path)) {
      return FillBuffer(shortForm, buffer, room);
    }
  }
  SimulatedPlatform::Current().lastError = ERROR_FILE_NOT_FOUND;
  return 0;
}

DWORD WINAPI SimGetShortPathNameA(LPCSTR path, LPSTR buffer, DWORD room) {
  return ShortPathNamed("GetShortPathNameA", path, buffer, room);
}

DWORD WINAPI SimGetShortPathNameW(LPCWSTR path, LPWSTR buffer, DWORD room) {
  return ShortPathNamed("GetShortPathNameW", NarrowName(path), buffer, room);
}

// A text the system holds: a folder, the program's own file.
template <typename Char>
DWORD AnswerNamed(const char* function, const std::string& text, Char* buffer, DWORD room) {
  SIMULATED_FAILURE(function, 0)
  return FillBuffer(text, buffer, room);
}

UINT WINAPI SimGetWindowsDirectoryA(LPSTR buffer, UINT room) {
  return AnswerNamed("GetWindowsDirectoryA", SimulatedPlatform::Current().windowsFolder, buffer, room);
}

UINT WINAPI SimGetWindowsDirectoryW(LPWSTR buffer, UINT room) {
  return AnswerNamed("GetWindowsDirectoryW", SimulatedPlatform::Current().windowsFolder, buffer, room);
}

UINT WINAPI SimGetSystemDirectoryA(LPSTR buffer, UINT room) {
  return AnswerNamed("GetSystemDirectoryA", SimulatedPlatform::Current().systemFolder, buffer, room);
}

UINT WINAPI SimGetSystemDirectoryW(LPWSTR buffer, UINT room) {
  return AnswerNamed("GetSystemDirectoryW", SimulatedPlatform::Current().systemFolder, buffer, room);
}

template <typename Char>
DWORD EnvironmentNamed(const char* function, const std::string& name, Char* buffer, DWORD room) {
  SIMULATED_FAILURE(function, 0)
  const auto& environment = SimulatedPlatform::Current().environment;
  auto found = environment.find(name);
  if (found == environment.end()) return 0;
  return FillBuffer(found->second, buffer, room);
}

DWORD WINAPI SimGetEnvironmentVariableA(LPCSTR name, LPSTR buffer, DWORD room) {
  return EnvironmentNamed("GetEnvironmentVariableA", name, buffer, room);
}

DWORD WINAPI SimGetEnvironmentVariableW(LPCWSTR name, LPWSTR buffer, DWORD room) {
  return EnvironmentNamed("GetEnvironmentVariableW", NarrowName(name), buffer, room);
}

// %NAME% becomes the variable's value where it is set, and stays as it is
// where it is not, as Windows expands it.
std::string Expanded(const std::string& text) {
  const auto& environment = SimulatedPlatform::Current().environment;
  std::string expanded;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = text[at] == '%' ? text.find('%', at + 1) : std::string::npos;
    const auto found = end == std::string::npos ? environment.end() : environment.find(text.substr(at + 1, end - at - 1));
    if (found == environment.end()) {
      expanded += text[at++];
    } else {
      expanded += found->second;
      at = end + 1;
    }
  }
  return expanded;
}

DWORD WINAPI SimExpandEnvironmentStringsA(LPCSTR text, LPSTR expanded, DWORD room) {
  SIMULATED_FAILURE("ExpandEnvironmentStringsA", 0)
  const std::string result = Expanded(text);
  if (result.size() + 1 <= room) std::memcpy(expanded, result.c_str(), result.size() + 1);
  return static_cast<DWORD>(result.size() + 1);
}

DWORD WINAPI SimExpandEnvironmentStringsW(LPCWSTR text, LPWSTR expanded, DWORD room) {
  SIMULATED_FAILURE("ExpandEnvironmentStringsW", 0)
  const std::string result = Expanded(NarrowName(text));
  if (result.size() + 1 <= room) std::copy(result.c_str(), result.c_str() + result.size() + 1, expanded);
  return static_cast<DWORD>(result.size() + 1);
}

// A 32-bit program on 64-bit Windows is one whose registry has two views.
BOOL WINAPI SimIsWow64Process(HANDLE process, BOOL* wow64) {
  if (process != reinterpret_cast<HANDLE>(-1)) return 0;
  *wow64 = SimulatedPlatform::Current().registry.views == SimulatedRegistry::Views::Two;
  return 1;
}

template <typename Char>
BOOL SpecialFolderNamed(const char* function, int folder, Char* path) {
  SIMULATED_FAILURE(function, 0)
  const auto& folders = SimulatedPlatform::Current().specialFolders;
  auto found = folders.find(folder);
  if (found == folders.end()) return 0;
  return FillBuffer(found->second, path, MAX_PATH) < MAX_PATH;
}

BOOL WINAPI SimSHGetSpecialFolderPathA(HWND, LPSTR path, int folder, BOOL) {
  return SpecialFolderNamed("SHGetSpecialFolderPathA", folder, path);
}

BOOL WINAPI SimSHGetSpecialFolderPathW(HWND, LPWSTR path, int folder, BOOL) {
  return SpecialFolderNamed("SHGetSpecialFolderPathW", folder, path);
}

DWORD WINAPI SimGetLastError() { return SimulatedPlatform::Current().lastError; }

// Why an open of an existing entry fails, as the platform decides it from the
// access and sharing asked for and what holds the entry elsewhere; 0 when
// it may be opened.
LONG OpenRefusal(const SimulatedPlatform& platform, const std::filesystem::path& host, DWORD access, DWORD flags) {
  const SimulatedDrive& drive = platform.drive;
  std::error_code error;
  if (std::filesystem::is_directory(std::filesystem::status(host, error))) {
    // Only the NT family opens folders, and only with backup semantics.
    if ((flags & FILE_FLAG_BACKUP_SEMANTICS) == 0 || platform.registry.family != SimulatedRegistry::Family::Nt) {
      return ERROR_ACCESS_DENIED;
    }
    // Another process's current folder, or this program's own.
    const bool someonesCurrent =
        drive.IsCurrentFolder(host) || host == drive.HostPath(Wide(platform.currentFolder.c_str()));
    return someonesCurrent && (access & DELETE) != 0 ? ERROR_SHARING_VIOLATION : 0;
  }
  if (drive.IsOpenDenied(host)) return ERROR_ACCESS_DENIED;
  // As on Windows, the file's own read-only attribute refuses writing before
  // any other program's handle is looked at.
  const bool writing = (access & GENERIC_WRITE) != 0;
  struct stat info {};
  if (writing && ::stat(host.c_str(), &info) == 0 && (info.st_mode & S_IWUSR) == 0) return ERROR_ACCESS_DENIED;
  if (drive.IsHeld(host)) return ERROR_SHARING_VIOLATION;  // held with no sharing: every open fails
  if (writing && drive.IsMapped(host)) return ERROR_SHARING_VIOLATION;
  return 0;
}

HANDLE Opened(SimulatedPlatform& platform, const std::filesystem::path& host, DWORD access, DWORD flags = 0) {
  static std::uintptr_t lastHandle = 0x9000;
  HANDLE handle = reinterpret_cast<HANDLE>(lastHandle += 4);
  platform.openPaths[handle] = host;
  SimulatedPlatform::OpenFile& state = platform.openFileStates[handle] = SimulatedPlatform::OpenFile{};
  state.access = access;
  state.asLink = (flags & FILE_FLAG_OPEN_REPARSE_POINT) != 0;
  ++platform.openFiles;
  return handle;
}

// The names of the flags set in `flags`, from `names`, joined by '|'.
std::wstring FlagNames(DWORD flags, std::initializer_list<std::pair<DWORD, const wchar_t*>> names) {
  std::wstring text;
  for (const auto& [flag, name] : names) {
    if ((flags & flag) == flag) text += (text.empty() ? L"" : L"|") + std::wstring(name);
  }
  return text.empty() ? L"0" : text;
}

// Opens only succeed for existing entries on drive C: (or a new file, for
// OPEN_ALWAYS), are counted until closed, and fail as the platform does for
// an entry held elsewhere or refused.

HANDLE CreateFileNamed(const char* function, const std::string& path, DWORD access, DWORD sharing, DWORD disposition,
                       DWORD flags) {
  SimulatedPlatform& platform = SimulatedPlatform::Current();
  TouchesFiles(function);
  platform.fileCalls.push_back(
      Wide(function) + L" " + Wide(path.c_str()) + L" " +
      FlagNames(access, {{GENERIC_READ, L"GENERIC_READ"}, {GENERIC_WRITE, L"GENERIC_WRITE"},
                         {FILE_APPEND_DATA, L"FILE_APPEND_DATA"}, {DELETE, L"DELETE"}}) +
      L" share " + FlagNames(sharing, {{FILE_SHARE_READ, L"READ"}, {FILE_SHARE_WRITE, L"WRITE"}, {FILE_SHARE_DELETE, L"DELETE"}}) +
      ((flags & FILE_FLAG_OPEN_REPARSE_POINT) != 0 ? L" OPEN_REPARSE_POINT" : L""));
  if (FailsWithLastError(function)) return INVALID_HANDLE_VALUE;
  const std::filesystem::path host = platform.drive.HostPath(Wide(path.c_str()));
  std::error_code error;
  const bool parentThere = !host.empty() && std::filesystem::is_directory(host.parent_path(), error);
  if (disposition == CREATE_NEW && std::filesystem::exists(std::filesystem::symlink_status(host, error))) {
    platform.lastError = ERROR_FILE_EXISTS;
    return INVALID_HANDLE_VALUE;
  }
  const bool creates = disposition == OPEN_ALWAYS || disposition == CREATE_NEW;
  if (creates && parentThere && !std::filesystem::exists(host, error)) std::ofstream{host};
  if (host.empty() || !std::filesystem::exists(std::filesystem::status(host, error))) {
    platform.lastError = parentThere ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
    return INVALID_HANDLE_VALUE;
  }
  if (const LONG refusal = OpenRefusal(platform, host, access, flags)) {
    platform.lastError = static_cast<DWORD>(refusal);
    return INVALID_HANDLE_VALUE;
  }
  return Opened(platform, host, access, flags);
}

HANDLE WINAPI SimCreateFileA(LPCSTR path, DWORD access, DWORD sharing, LPSECURITY_ATTRIBUTES, DWORD disposition,
                             DWORD flags, HANDLE) {
  return CreateFileNamed("CreateFileA", path, access, sharing, disposition, flags);
}

HANDLE WINAPI SimCreateFileW(LPCWSTR path, DWORD access, DWORD sharing, LPSECURITY_ATTRIBUTES, DWORD disposition,
                             DWORD flags, HANDLE) {
  return CreateFileNamed("CreateFileW", NarrowName(path), access, sharing, disposition, flags);
}

DWORD FileAttributesNamed(const char* function, const std::string& path) {
  SimulatedPlatform& platform = SimulatedPlatform::Current();
  TouchesFiles(function);
  const std::filesystem::path host = platform.drive.HostPath(Wide(path.c_str()));
  std::error_code error;
  if (host.empty() || !std::filesystem::exists(std::filesystem::status(host, error))) {
    platform.lastError = ERROR_FILE_NOT_FOUND;
    return INVALID_FILE_ATTRIBUTES;
  }
  DWORD attributes = 0;
  if (std::filesystem::is_symlink(host, error)) attributes |= FILE_ATTRIBUTE_REPARSE_POINT;
  if (std::filesystem::is_directory(host, error)) attributes |= FILE_ATTRIBUTE_DIRECTORY;
  struct stat info {};
  if (::stat(host.c_str(), &info) == 0 && (info.st_mode & S_IWUSR) == 0) attributes |= FILE_ATTRIBUTE_READONLY;
  return attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
}

DWORD WINAPI SimGetFileAttributesA(LPCSTR path) { return FileAttributesNamed("GetFileAttributesA", path); }
DWORD WINAPI SimGetFileAttributesW(LPCWSTR path) { return FileAttributesNamed("GetFileAttributesW", NarrowName(path)); }

// Takes a folder link away by itself, as Windows does, unless it is pinned;
// a plain folder only when it is empty.
BOOL RemoveDirectoryNamed(const char* function, const std::string& path) {
  SimulatedPlatform& platform = SimulatedPlatform::Current();
  TouchesFiles(function);
  const std::filesystem::path host = platform.drive.HostPath(Wide(path.c_str()));
  std::error_code error;
  platform.calls.push_back(Wide(function) + L" " + Wide(path.c_str()));
  if (host.empty() || !std::filesystem::exists(std::filesystem::symlink_status(host, error))) {
    platform.lastError = ERROR_PATH_NOT_FOUND;
    return 0;
  }
  if (std::filesystem::is_symlink(host, error)) {
    if (platform.drive.IsPinned(host)) {
      platform.lastError = ERROR_ACCESS_DENIED;
      return 0;
    }
    std::filesystem::remove(host, error);
    return 1;
  }
  if (!std::filesystem::is_empty(host, error)) {
    platform.lastError = ERROR_DIR_NOT_EMPTY;
    return 0;
  }
  std::filesystem::remove(host, error);
  return 1;
}

BOOL WINAPI SimRemoveDirectoryA(LPCSTR path) { return RemoveDirectoryNamed("RemoveDirectoryA", path); }
BOOL WINAPI SimRemoveDirectoryW(LPCWSTR path) { return RemoveDirectoryNamed("RemoveDirectoryW", NarrowName(path)); }

BOOL WINAPI SimDeleteFileW(LPCWSTR path) {
  SimulatedPlatform& platform = SimulatedPlatform::Current();
  const std::string name = NarrowName(path);
  const std::filesystem::path host = platform.drive.HostPath(Wide(name.c_str()));
  std::error_code error;
  if (host.empty() || !std::filesystem::is_regular_file(std::filesystem::symlink_status(host, error))) {
    platform.lastError = ERROR_FILE_NOT_FOUND;
    return 0;
  }
  if (platform.drive.IsLocked(host)) {
    platform.lastError = ERROR_SHARING_VIOLATION;
    return 0;
  }
  std::filesystem::remove(host, error);
  return 1;
}

BOOL WINAPI SimCreateDirectoryW(LPCWSTR path, LPSECURITY_ATTRIBUTES) {
  SimulatedPlatform& platform = SimulatedPlatform::Current();
  TouchesFiles("CreateDirectoryW");
  if (FailsWithLastError("CreateDirectoryW")) return 0;
  const std::string name = NarrowName(path);
  const std::filesystem::path host = platform.drive.HostPath(Wide(name.c_str()));
  std::error_code error;
  if (host.empty() || !std::filesystem::is_directory(host.parent_path(), error)) {
    platform.lastError = ERROR_PATH_NOT_FOUND;
    return 0;
  }
  if (std::filesystem::exists(std::filesystem::symlink_status(host, error))) {
    platform.lastError = ERROR_ALREADY_EXISTS;  // a file of that name too
    return 0;
  }
  std::filesystem::create_directory(host, error);
  platform.calls.push_back(L"CreateDirectoryW " + Wide(name.c_str()));
  return 1;
}

// Lists `from` in PendingFileRenameOperations, as the NT family does: "\??\"
// and the full path, then an empty text for a deletion or the new name for a
// rename, in a list of texts ended by an empty one. Neither path is looked
// at now. The key must allow setting values (administrator rights).
BOOL ListForRestart(SimulatedPlatform& platform, const std::string& from, LPCWSTR to, DWORD flags) {
  const char* const key = SimulatedPlatform::kSessionManager;
  platform.registry.CreateKey(key);
  HKEY opened = nullptr;
  if (const LONG refused = platform.registry.Open(HKEY_LOCAL_MACHINE, key, 0, KEY_SET_VALUE, &opened)) {
    platform.lastError = static_cast<DWORD>(refused);
    return 0;
  }
  platform.registry.Close(opened);
  const char kNtPrefix[] = "\\?" "?\\";
  std::string destination;
  if (to != nullptr) {
    const bool replacing = (flags & 1) != 0;  // MOVEFILE_REPLACE_EXISTING
    destination = (replacing ? "!" : "") + (kNtPrefix + ResolvePath(NarrowName(to), platform.currentFolder));
  }
  std::vector<BYTE> list = platform.registry.ValueData(key, "PendingFileRenameOperations");
  if (!list.empty()) list.pop_back();  // the list's closing terminator
  for (const std::string& text : {kNtPrefix + ResolvePath(from, platform.currentFolder), destination}) {
    list.insert(list.end(), text.begin(), text.end());
    list.push_back(0);
  }
  list.push_back(0);
  platform.registry.SetValue(key, "PendingFileRenameOperations", REG_MULTI_SZ, list);
  platform.calls.push_back(L"MoveFileExW " + Wide(from.c_str()) + L" at restart");
  return 1;
}

// A rename on one volume, as the NT family makes it: the entry is opened for
// deletion first, which a file held open without delete sharing and a
// process's current folder refuse, and a running program's file does not; a
// folder with anything in use inside it is refused too. Without
// MOVEFILE_COPY_ALLOWED nothing is copied to another volume, folder links on
// the way counted.
BOOL Rename(SimulatedPlatform& platform, const std::string& from, const std::string& to) {
  const std::filesystem::path source = platform.drive.HostPath(Wide(from.c_str()));
  const std::filesystem::path target = platform.drive.HostPath(Wide(to.c_str()));
  std::error_code error;
  if (source.empty() || !std::filesystem::exists(std::filesystem::symlink_status(source, error))) {
    const bool folderThere = !source.empty() && std::filesystem::is_directory(source.parent_path(), error);
    platform.lastError = folderThere ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
    return 0;
  }
  LONG refusal = OpenRefusal(platform, source, DELETE, FILE_FLAG_BACKUP_SEMANTICS);
  const std::filesystem::path ownFolder = platform.drive.HostPath(Wide(platform.currentFolder.c_str()));
  const bool holdsOwnFolder = SimulatedDrive::AfterRename(ownFolder, source, target) != ownFolder;
  if (refusal == 0 && std::filesystem::is_directory(source, error) &&
      (platform.drive.HoldsInUse(source) || holdsOwnFolder)) {
    refusal = ERROR_ACCESS_DENIED;
  }
  if (refusal == 0 && (target.empty() || !std::filesystem::is_directory(target.parent_path(), error))) {
    refusal = ERROR_PATH_NOT_FOUND;
  }
  if (refusal == 0 &&
      platform.drive.VolumeOf(source.parent_path()) != platform.drive.VolumeOf(target.parent_path())) {
    refusal = ERROR_NOT_SAME_DEVICE;
  }
  if (refusal == 0 && std::filesystem::exists(std::filesystem::symlink_status(target, error))) {
    refusal = ERROR_ALREADY_EXISTS;
  }
  if (refusal != 0) {
    platform.lastError = static_cast<DWORD>(refusal);
    return 0;
  }
  std::filesystem::rename(source, target);
  platform.drive.Renamed(source, target);
  for (auto& [handle, path] : platform.openPaths) path = SimulatedDrive::AfterRename(path, source, target);
  platform.calls.push_back(L"MoveFileExW " + Wide(from.c_str()) + L" -> " + Wide(to.c_str()));
  return 1;
}

// A "\\?\" path names what the same path without it names.
std::string WithoutLongPrefix(LPCWSTR path) {
  const std::string name = NarrowName(path);
  return name.rfind("\\\\?\\", 0) == 0 ? name.substr(4) : name;
}

BOOL WINAPI SimMoveFileExW(LPCWSTR from, LPCWSTR to, DWORD flags) {
  SimulatedPlatform& platform = SimulatedPlatform::Current();
  TouchesFiles("MoveFileExW");
  if (FailsWithLastError("MoveFileExW")) return 0;
  if ((flags & MOVEFILE_DELAY_UNTIL_REBOOT) != 0) return ListForRestart(platform, WithoutLongPrefix(from), to, flags);
  if (to == nullptr || flags != 0) throw std::logic_error("only plain renames and restart lists are simulated");
  return Rename(platform, WithoutLongPrefix(from), WithoutLongPrefix(to));
}

// Every folder on the one simulated volume; its index is the host's, links
// followed, so that two names of one folder report one identity.
BOOL WINAPI SimGetFileInformationByHandle(HANDLE handle, LPBY_HANDLE_FILE_INFORMATION information) {
  if (FailsWithLastError("GetFileInformationByHandle")) return 0;
  SimulatedPlatform& platform = SimulatedPlatform::Current();
  auto opened = platform.openPaths.find(handle);
  struct stat info {};
  if (opened == platform.openPaths.end() || ::stat(opened->second.c_str(), &info) != 0) return 0;
  *information = BY_HANDLE_FILE_INFORMATION{};
  information->dwFileAttributes = S_ISDIR(info.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
  information->dwVolumeSerialNumber = 0xC0DE;
  information->nNumberOfLinks = static_cast<DWORD>(info.st_nlink);
  information->nFileIndexLow = static_cast<DWORD>(info.st_ino);
  information->nFileIndexHigh = static_cast<DWORD>(static_cast<std::uint64_t>(info.st_ino) >> 32);
  return 1;
}

// Only FSCTL_GET_REPARSE_POINT, on a folder link opened as itself: what the
// link stores, laid out as the system lays it out, the name the system
// follows given as both of its names. Any other handle is on a folder that
// is no reparse point.
BOOL WINAPI SimDeviceIoControl(HANDLE handle, DWORD code, LPVOID, DWORD, LPVOID out, DWORD outBytes,
                               LPDWORD returned, LPOVERLAPPED) {
  SIMULATED_FAILURE("DeviceIoControl", 0)
  if (code != qvn::kGetReparsePoint) throw std::logic_error("only the reparse data of a link is simulated");
  SimulatedPlatform& platform = SimulatedPlatform::Current();
  const auto opened = platform.openPaths.find(handle);
  if (opened == platform.openPaths.end()) {
    platform.lastError = ERROR_INVALID_HANDLE;
    return 0;
  }
  const SimulatedDrive::StoredLink* link = platform.drive.LinkStoredAt(opened->second);
  if (link == nullptr || !platform.openFileStates[handle].asLink) {
    platform.lastError = ERROR_NOT_A_REPARSE_POINT;
    return 0;
  }
  std::vector<std::uint16_t> names;
  for (int twice = 0; twice < 2; ++twice) names.insert(names.end(), link->name.begin(), link->name.end());
  const auto nameBytes = static_cast<std::uint16_t>(link->name.size() * 2);
  const qvn::ReparseNames where{0, nameBytes, nameBytes, nameBytes};
  std::vector<BYTE> data;
  const auto append = [&data](const void* from, std::size_t bytes) {
    data.insert(data.end(), static_cast<const BYTE*>(from), static_cast<const BYTE*>(from) + bytes);
  };
  const bool symbolic = link->tag == qvn::kSymbolicLinkTag;
  const std::size_t fixed = symbolic ? sizeof(qvn::SymbolicLinkReparse) : sizeof(qvn::JunctionReparse);
  const qvn::ReparseHeader header{static_cast<std::uint32_t>(link->tag),
                                  static_cast<std::uint16_t>(fixed - sizeof header + names.size() * 2), 0};
  append(&header, sizeof header);
  append(&where, sizeof where);
  if (symbolic) {
    const std::uint32_t flags = link->relative ? qvn::kRelativeSymbolicLink : 0;
    append(&flags, sizeof flags);
  }
  append(names.data(), names.size() * 2);
  if (data.size() > outBytes) {
    platform.lastError = ERROR_INSUFFICIENT_BUFFER;
    return 0;
  }
  std::memcpy(out, data.data(), data.size());
  *returned = static_cast<DWORD>(data.size());
  return 1;
}

UINT DriveTypeNamed(const char* function, const std::string& root) {
  TouchesFiles(function);
  const char drive = static_cast<char>(std::toupper(static_cast<unsigned char>(root[0])));
  const SimulatedPlatform& platform = SimulatedPlatform::Current();
  if (platform.networkDrives.count(drive) != 0) return DRIVE_REMOTE;
  if (platform.removableDrives.count(drive) != 0) return DRIVE_REMOVABLE;
  if (platform.cdDrives.count(drive) != 0) return DRIVE_CDROM;
  return DRIVE_FIXED;
}

UINT WINAPI SimGetDriveTypeA(LPCSTR root) { return DriveTypeNamed("GetDriveTypeA", root); }
UINT WINAPI SimGetDriveTypeW(LPCWSTR root) { return DriveTypeNamed("GetDriveTypeW", NarrowName(root)); }

UINT WINAPI SimSetErrorMode(UINT mode) {
  return std::exchange(SimulatedPlatform::Current().errorMode, mode);
}

// The open file behind `file` when it was opened with one of the rights in
// `access` (all of them when none is given); null with the error set when it
// was not, or when `function` is the call chosen to fail.
std::pair<std::filesystem::path, SimulatedPlatform::OpenFile*> OpenFileFor(const char* function, HANDLE file,
                                                                           DWORD access) {
  if (FailsWithLastError(function)) return {{}, nullptr};
  SimulatedPlatform& platform = SimulatedPlatform::Current();
  auto opened = platform.openPaths.find(file);
  auto state = platform.openFileStates.find(file);
  if (opened == platform.openPaths.end() || state == platform.openFileStates.end()) {
    platform.lastError = ERROR_INVALID_HANDLE;
    return {{}, nullptr};
  }
  if (access != 0 && (state->second.access & access) == 0) {
    platform.lastError = ERROR_ACCESS_DENIED;
    return {{}, nullptr};
  }
  return {opened->second, &state->second};
}

// Writes where the file's position is, and moves it on; a file opened for
// appending only is written at its end, wherever its position was.
BOOL WINAPI SimWriteFile(HANDLE file, LPCVOID data, DWORD bytes, LPDWORD written, LPOVERLAPPED) {
  SimulatedPlatform::Current().fileCalls.push_back(L"WriteFile");
  auto [host, state] = OpenFileFor("WriteFile", file, GENERIC_WRITE | FILE_APPEND_DATA);
  if (state == nullptr) return 0;
  std::error_code error;
  if ((state->access & GENERIC_WRITE) == 0) state->position = std::filesystem::file_size(host, error);
  std::fstream stream(host, std::ios::in | std::ios::out | std::ios::binary);
  stream.seekp(static_cast<std::streamoff>(state->position));
  stream.write(static_cast<const char*>(data), bytes);
  state->position += bytes;
  *written = bytes;
  return 1;
}

BOOL WINAPI SimReadFile(HANDLE file, LPVOID data, DWORD bytes, LPDWORD read, LPOVERLAPPED) {
  auto [host, state] = OpenFileFor("ReadFile", file, GENERIC_READ);
  if (state == nullptr) return 0;
  std::ifstream stream(host, std::ios::binary);
  stream.seekg(static_cast<std::streamoff>(state->position));
  stream.read(static_cast<char*>(data), bytes);
  *read = static_cast<DWORD>(stream.gcount());
  state->position += *read;
  return 1;
}

DWORD WINAPI SimGetFileSize(HANDLE file, LPDWORD sizeHigh) {
  auto [host, state] = OpenFileFor("GetFileSize", file, 0);
  if (state == nullptr) return INVALID_FILE_SIZE;
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(host, error);
  if (sizeHigh != nullptr) *sizeHigh = static_cast<DWORD>(size >> 32);
  return static_cast<DWORD>(size);
}

DWORD WINAPI SimSetFilePointer(HANDLE file, LONG distance, PLONG distanceHigh, DWORD method) {
  const wchar_t* const methods[] = {L" FILE_BEGIN", L" FILE_CURRENT", L" FILE_END"};
  SimulatedPlatform::Current().fileCalls.push_back(L"SetFilePointer " + std::to_wstring(distance) +
                                                   (method <= FILE_END ? methods[method] : L" ?"));
  auto [host, state] = OpenFileFor("SetFilePointer", file, 0);
  if (state == nullptr) return INVALID_SET_FILE_POINTER;
  if (distanceHigh != nullptr) throw std::logic_error("only files under 4 GiB are simulated");
  std::error_code error;
  const auto size = static_cast<std::intmax_t>(std::filesystem::file_size(host, error));
  const auto here = static_cast<std::intmax_t>(state->position);
  const std::intmax_t from = method == FILE_BEGIN ? 0 : method == FILE_END ? size : here;
  if (from + distance < 0) {
    SimulatedPlatform::Current().lastError = 131;  // ERROR_NEGATIVE_SEEK
    return INVALID_SET_FILE_POINTER;
  }
  state->position = static_cast<std::uintmax_t>(from + distance);
  return static_cast<DWORD>(state->position);
}

// The file ends where its position is: cut short, or made longer.
BOOL WINAPI SimSetEndOfFile(HANDLE file) {
  auto [host, state] = OpenFileFor("SetEndOfFile", file, GENERIC_WRITE);
  if (state == nullptr) return 0;
  std::error_code error;
  std::filesystem::resize_file(host, state->position, error);
  return 1;
}

DWORD WINAPI SimGetLogicalDrives() {
  DWORD present = 0;
  for (char drive : SimulatedPlatform::Current().drives) present |= 1u << (std::toupper(drive) - 'A');
  return present;
}

// A drive made with subst answers with the folder it names, as the NT family
// does ("\\??\\C:\\Apps"); any other drive with a device name.
// The answer is a list of texts: the one text and the list's closing terminator.
template <typename Char>
DWORD DosDeviceNamed(const char* function, const std::string& device, Char* targets, DWORD room) {
  SIMULATED_FAILURE(function, 0)
  const auto& substituted = SimulatedPlatform::Current().substitutedDrives;
  const auto found = substituted.find(static_cast<char>(std::toupper(static_cast<unsigned char>(device[0]))));
  const std::string target = found != substituted.end() ? "\\?" "?\\" + found->second : "\\Device\\HarddiskVolume1";
  if (target.size() + 2 > room) return 0;
  FillBuffer(target, targets, room);
  targets[target.size() + 1] = Char{0};
  return static_cast<DWORD>(target.size() + 2);
}

DWORD WINAPI SimQueryDosDeviceA(LPCSTR device, LPSTR targets, DWORD room) {
  return DosDeviceNamed("QueryDosDeviceA", device, targets, room);
}

DWORD WINAPI SimQueryDosDeviceW(LPCWSTR device, LPWSTR targets, DWORD room) {
  return DosDeviceNamed("QueryDosDeviceW", NarrowName(device), targets, room);
}

DWORD WINAPI SimGetCurrentDirectoryA(DWORD room, LPSTR buffer) {
  return AnswerNamed("GetCurrentDirectoryA", SimulatedPlatform::Current().currentFolder, buffer, room);
}

DWORD WINAPI SimGetCurrentDirectoryW(DWORD room, LPWSTR buffer) {
  return AnswerNamed("GetCurrentDirectoryW", SimulatedPlatform::Current().currentFolder, buffer, room);
}

BOOL SetCurrentDirectoryNamed(const char* function, const std::string& path) {
  SIMULATED_FAILURE(function, 0)
  SimulatedPlatform& platform = SimulatedPlatform::Current();
  const std::filesystem::path host = platform.drive.HostPath(Wide(path.c_str()));
  std::error_code error;
  if (host.empty() || !std::filesystem::is_directory(host, error)) return 0;
  platform.currentFolder = path;
  return 1;
}

BOOL WINAPI SimSetCurrentDirectoryA(LPCSTR path) { return SetCurrentDirectoryNamed("SetCurrentDirectoryA", path); }
BOOL WINAPI SimSetCurrentDirectoryW(LPCWSTR path) {
  return SetCurrentDirectoryNamed("SetCurrentDirectoryW", NarrowName(path));
}

DWORD WINAPI SimGetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD room) {
  if (module != nullptr) return 0;
  return AnswerNamed("GetModuleFileNameA", SimulatedPlatform::Current().programFile, buffer, room);
}

DWORD WINAPI SimGetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD room) {
  if (module != nullptr) return 0;
  return AnswerNamed("GetModuleFileNameW", SimulatedPlatform::Current().programFile, buffer, room);
}

// Locks and unlocks are only recorded, with their range; the call chosen to
// fail fails with the error given.
BOOL RecordedLock(const char* function, DWORD offsetLow, DWORD offsetHigh, DWORD bytesLow, DWORD bytesHigh) {
  const auto number = [](DWORD low, DWORD high) { return std::to_wstring(low | (std::uint64_t{high} << 32)); };
  SimulatedPlatform::Current().fileCalls.push_back(Wide(function) + L" " + number(offsetLow, offsetHigh) + L" " +
                                                   number(bytesLow, bytesHigh));
  return !FailsWithLastError(function);
}

BOOL WINAPI SimLockFile(HANDLE, DWORD offsetLow, DWORD offsetHigh, DWORD bytesLow, DWORD bytesHigh) {
  return RecordedLock("LockFile", offsetLow, offsetHigh, bytesLow, bytesHigh);
}

BOOL WINAPI SimUnlockFile(HANDLE, DWORD offsetLow, DWORD offsetHigh, DWORD bytesLow, DWORD bytesHigh) {
  return RecordedLock("UnlockFile", offsetLow, offsetHigh, bytesLow, bytesHigh);
}

void WINAPI SimSleep(DWORD) {
  LONG unused = 0;
  SimulatedPlatform::Current().Fails("Sleep", unused);  // what another program does meanwhile
  SimulatedPlatform::Current().fileCalls.push_back(L"Sleep");
}

BOOL WINAPI SimGetComputerNameA(LPSTR name, LPDWORD chars) {
  SIMULATED_FAILURE("GetComputerNameA", 0)
  const std::string& computer = SimulatedPlatform::Current().computerName;
  if (computer.size() + 1 > *chars) return 0;
  std::memcpy(name, computer.c_str(), computer.size() + 1);
  *chars = static_cast<DWORD>(computer.size());
  return 1;
}

void WINAPI SimGetLocalTime(LPSYSTEMTIME time) { *time = SYSTEMTIME{2026, 12, 2, 8, 9, 5, 7, 0}; }

WIN32_FIND_DATAA FoundEntry(const std::filesystem::directory_entry& entry) {
  WIN32_FIND_DATAA found{};
  std::error_code error;
  if (entry.is_symlink(error)) found.dwFileAttributes |= FILE_ATTRIBUTE_REPARSE_POINT;
  if (entry.is_directory(error)) found.dwFileAttributes |= FILE_ATTRIBUTE_DIRECTORY;
  if (found.dwFileAttributes == 0) found.dwFileAttributes = FILE_ATTRIBUTE_NORMAL;
  std::strncpy(found.cFileName, entry.path().filename().c_str(), MAX_PATH - 1);
  return found;
}

WIN32_FIND_DATAW WideEntry(const WIN32_FIND_DATAA& entry) {
  WIN32_FIND_DATAW wide{};
  wide.dwFileAttributes = entry.dwFileAttributes;
  for (std::size_t i = 0; i < MAX_PATH && entry.cFileName[i] != '\0'; ++i) {
    wide.cFileName[i] = static_cast<unsigned char>(entry.cFileName[i]);
  }
  return wide;
}

// Only the "folder\*" patterns the tool asks for; "." and ".." come first, as
// on a real drive.
HANDLE FindFirstFileNamed(const char* function, const std::string& pattern, LPWIN32_FIND_DATAA found) {
  SimulatedPlatform& platform = SimulatedPlatform::Current();
  TouchesFiles(function);
  if (FailsWithLastError(function)) return INVALID_HANDLE_VALUE;
  std::string folder(pattern);
  if (folder.size() < 2 || folder.substr(folder.size() - 2) != "\\*") throw std::logic_error("unexpected pattern");
  const std::filesystem::path host = platform.drive.HostPath(Wide(folder.substr(0, folder.size() - 2).c_str()));
  std::error_code error;
  if (host.empty() || !std::filesystem::is_directory(host, error)) {
    platform.lastError = ERROR_PATH_NOT_FOUND;
    return INVALID_HANDLE_VALUE;
  }
  std::vector<WIN32_FIND_DATAA> entries(2);
  std::strcpy(entries[0].cFileName, ".");
  std::strcpy(entries[1].cFileName, "..");
  entries[0].dwFileAttributes = entries[1].dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
  std::vector<std::filesystem::directory_entry> children{std::filesystem::directory_iterator(host),
                                                         std::filesystem::directory_iterator()};
  std::sort(children.begin(), children.end());
  for (const auto& child : children) entries.push_back(FoundEntry(child));
  static std::uintptr_t lastSearch = 0xA000;
  HANDLE search = reinterpret_cast<HANDLE>(lastSearch += 4);
  *found = entries.front();
  entries.erase(entries.begin());
  platform.searches[search] = std::move(entries);
  ++platform.openFiles;
  return search;
}

HANDLE WINAPI SimFindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA found) {
  return FindFirstFileNamed("FindFirstFileA", pattern, found);
}

HANDLE WINAPI SimFindFirstFileW(LPCWSTR pattern, LPWIN32_FIND_DATAW found) {
  WIN32_FIND_DATAA entry{};
  const HANDLE search = FindFirstFileNamed("FindFirstFileW", NarrowName(pattern), &entry);
  if (search != INVALID_HANDLE_VALUE) *found = WideEntry(entry);
  return search;
}

BOOL WINAPI SimFindNextFileA(HANDLE search, LPWIN32_FIND_DATAA found) {
  if (FailsWithLastError("FindNextFile")) return 0;
  SimulatedPlatform& platform = SimulatedPlatform::Current();
  auto entries = platform.searches.find(search);
  if (entries == platform.searches.end()) {
    platform.lastError = ERROR_INVALID_HANDLE;
    return 0;
  }
  if (entries->second.empty()) {
    platform.lastError = ERROR_NO_MORE_FILES;
    return 0;
  }
  *found = entries->second.front();
  entries->second.erase(entries->second.begin());
  return 1;
}

BOOL WINAPI SimFindNextFileW(HANDLE search, LPWIN32_FIND_DATAW found) {
  WIN32_FIND_DATAA entry{};
  if (!SimFindNextFileA(search, &entry)) return 0;
  *found = WideEntry(entry);
  return 1;
}

BOOL WINAPI SimFindClose(HANDLE search) {
  SimulatedPlatform& platform = SimulatedPlatform::Current();
  if (platform.searches.erase(search) == 0) return 0;
  --platform.openFiles;
  return 1;
}

HANDLE NewHandle() {
  static std::uintptr_t last = 0xB000;
  return reinterpret_cast<HANDLE>(last += 4);
}

// A snapshot of every process, or of one process's modules: its first is the
// process's own file, unless its modules cannot be read.
HANDLE WINAPI SimCreateToolhelp32Snapshot(DWORD what, DWORD processId) {
  SimulatedPlatform& platform = SimulatedPlatform::Current();
  std::vector<SimulatedPlatform::Process> listed;
  for (const SimulatedPlatform::Process& process : platform.processes) {
    if (what == TH32CS_SNAPPROCESS || (process.id == processId && process.modulesReadable)) listed.push_back(process);
  }
  if (what != TH32CS_SNAPPROCESS && listed.empty()) return INVALID_HANDLE_VALUE;
  HANDLE snapshot = NewHandle();
  platform.snapshots[snapshot] = listed;
  ++platform.openFiles;
  return snapshot;
}

// Hands out the snapshot's next process; 95/98/ME name its file in full, the
// NT family by its name alone.
template <typename Entry, typename Char>
BOOL NextProcess(HANDLE snapshot, Entry* entry) {
  SimulatedPlatform& platform = SimulatedPlatform::Current();
  auto listed = platform.snapshots.find(snapshot);
  if (entry->dwSize != sizeof(Entry) || listed == platform.snapshots.end() || listed->second.empty()) return 0;
  const SimulatedPlatform::Process process = listed->second.front();
  listed->second.erase(listed->second.begin());
  const bool nt = platform.registry.family == SimulatedRegistry::Family::Nt;
  const std::string name = nt ? process.file.substr(process.file.rfind('\\') + 1) : process.file;
  entry->th32ProcessID = process.id;
  std::fill(std::begin(entry->szExeFile), std::end(entry->szExeFile), Char{});
  std::copy(name.begin(), name.end(), entry->szExeFile);
  return 1;
}

BOOL WINAPI SimProcess32First(HANDLE snapshot, PROCESSENTRY32* entry) {
  return NextProcess<PROCESSENTRY32, char>(snapshot, entry);
}
BOOL WINAPI SimProcess32FirstW(HANDLE snapshot, PROCESSENTRY32W* entry) {
  return NextProcess<PROCESSENTRY32W, wchar_t>(snapshot, entry);
}

BOOL WINAPI SimModule32FirstW(HANDLE snapshot, MODULEENTRY32W* entry) {
  SimulatedPlatform& platform = SimulatedPlatform::Current();
  auto listed = platform.snapshots.find(snapshot);
  if (entry->dwSize != sizeof(MODULEENTRY32W) || listed == platform.snapshots.end() || listed->second.empty()) return 0;
  const std::string& file = listed->second.front().file;
  std::fill(std::begin(entry->szExePath), std::end(entry->szExePath), L'\0');
  std::copy(file.begin(), file.end(), entry->szExePath);
  return 1;
}

HANDLE WINAPI SimOpenProcess(DWORD, BOOL, DWORD processId) {
  SimulatedPlatform& platform = SimulatedPlatform::Current();
  for (const SimulatedPlatform::Process& process : platform.processes) {
    if (process.id != processId) continue;
    HANDLE handle = NewHandle();
    platform.openProcesses[handle] = process;
    ++platform.openFiles;
    return handle;
  }
  return nullptr;
}

BOOL WINAPI SimQueryFullProcessImageNameW(HANDLE process, DWORD flags, LPWSTR path, PDWORD chars) {
  const auto& open = SimulatedPlatform::Current().openProcesses;
  auto found = open.find(process);
  if (flags != 0 || found == open.end() || found->second.file.size() + 1 > *chars) return 0;
  const std::string& file = found->second.file;
  std::copy(file.begin(), file.end(), path);
  path[file.size()] = L'\0';
  *chars = static_cast<DWORD>(file.size());
  return 1;
}

HANDLE WINAPI SimGetCurrentProcess() { return reinterpret_cast<HANDLE>(-1); }

BOOL WINAPI SimOpenProcessToken(HANDLE process, DWORD access, PHANDLE token) {
  SIMULATED_FAILURE("OpenProcessToken", 0)
  SimulatedPlatform& platform = SimulatedPlatform::Current();
  if (process != reinterpret_cast<HANDLE>(-1)) return 0;
  platform.calls.push_back(L"OpenProcessToken " + std::to_wstring(access));
  ++platform.openTokens;
  *token = reinterpret_cast<HANDLE>(0x7000);
  return 1;
}

HANDLE MutexHandle(SimulatedPlatform& platform, const std::string& name) {
  HANDLE handle = NewHandle();
  platform.mutexHandles[handle] = name;
  return handle;
}

// Only named mutexes with no first owner, as the program makes them. One that
// a run of the system account made refuses every other account's request to
// make it, as its default security does.
HANDLE WINAPI SimCreateMutexA(LPSECURITY_ATTRIBUTES, BOOL initialOwner, LPCSTR name) {
  if (initialOwner || name == nullptr) throw std::logic_error("only named mutexes with no first owner are simulated");
  if (FailsWithLastError("CreateMutexA")) return nullptr;
  SimulatedPlatform& platform = SimulatedPlatform::Current();
  const auto found = platform.mutexes.find(name);
  const bool there = found != platform.mutexes.end();
  const bool global = std::strncmp(name, "Global\\", 7) == 0;
  if ((there && found->second.other == SimulatedPlatform::NamedMutex::Other::OwnsAsSystem) ||
      (!there && global && platform.globalNamesRefused)) {
    platform.lastError = ERROR_ACCESS_DENIED;
    return nullptr;
  }
  platform.mutexes[name];
  platform.lastError = there ? ERROR_ALREADY_EXISTS : 0;
  return MutexHandle(platform, name);
}

HANDLE WINAPI SimOpenMutexA(DWORD access, BOOL, LPCSTR name) {
  SimulatedPlatform& platform = SimulatedPlatform::Current();
  if (platform.mutexes.count(name) == 0) {
    platform.lastError = ERROR_FILE_NOT_FOUND;
    return nullptr;
  }
  if (access != SYNCHRONIZE) {
    platform.lastError = ERROR_ACCESS_DENIED;
    return nullptr;
  }
  return MutexHandle(platform, name);
}

// Waits on mutexes only: owned elsewhere, it times out; left by a program
// that ended owning it, this program owns it now, told it was abandoned.
DWORD WINAPI SimWaitForSingleObject(HANDLE handle, DWORD) {
  using Other = SimulatedPlatform::NamedMutex::Other;
  SimulatedPlatform& platform = SimulatedPlatform::Current();
  const auto opened = platform.mutexHandles.find(handle);
  if (opened == platform.mutexHandles.end()) throw std::logic_error("only mutexes are waited on here");
  SimulatedPlatform::NamedMutex& mutex = platform.mutexes[opened->second];
  if (mutex.other == Other::Owns || mutex.other == Other::OwnsAsSystem) return WAIT_TIMEOUT;
  const bool abandoned = mutex.other == Other::EndedOwning;
  mutex.other = Other::None;
  mutex.ownedHere = true;
  return abandoned ? WAIT_ABANDONED : WAIT_OBJECT_0;
}

BOOL WINAPI SimReleaseMutex(HANDLE handle) {
  SimulatedPlatform& platform = SimulatedPlatform::Current();
  const auto opened = platform.mutexHandles.find(handle);
  if (opened == platform.mutexHandles.end() || !platform.mutexes[opened->second].ownedHere) {
    platform.lastError = ERROR_NOT_OWNER;
    return 0;
  }
  platform.mutexes[opened->second].ownedHere = false;
  return 1;
}

// A file closed with its delete mark goes once nobody holds it any more; with
// POSIX semantics its name goes at once.
BOOL WINAPI SimCloseHandle(HANDLE handle) {
  SIMULATED_FAILURE("CloseHandle", 0)
  SimulatedPlatform& platform = SimulatedPlatform::Current();
  if (platform.mutexHandles.erase(handle) != 0) return 1;
  const auto state = platform.openFileStates.find(handle);
  if (state != platform.openFileStates.end() && state->second.deleteMark) {
    const std::filesystem::path path = platform.openPaths[handle];
    std::error_code error;
    if (state->second.posixDelete) {
      if (std::filesystem::remove(path, error)) platform.calls.push_back(L"deleted " + platform.drive.WindowsPath(path));
    } else {
      platform.pendingDeletes.insert(path);
    }
  }
  platform.listings.erase(handle);
  if (platform.openPaths.erase(handle) != 0 || platform.snapshots.erase(handle) != 0 ||
      platform.openProcesses.erase(handle) != 0) {
    platform.openFileStates.erase(handle);
    --platform.openFiles;
    platform.CarryOutPendingDeletes();
    return 1;
  }
  if (handle != reinterpret_cast<HANDLE>(0x7000) || platform.openTokens == 0) return 0;
  --platform.openTokens;
  return 1;
}

BOOL WINAPI SimLookupPrivilegeValueA(LPCSTR system, LPCSTR name, PLUID luid) {
  SIMULATED_FAILURE("LookupPrivilegeValueA", 0)
  if (system != nullptr || std::strcmp(name, "SeShutdownPrivilege") != 0) return 0;
  *luid = LUID{19, 0};
  return 1;
}

BOOL WINAPI SimAdjustTokenPrivileges(HANDLE token, BOOL disableAll, PTOKEN_PRIVILEGES state, DWORD, PTOKEN_PRIVILEGES,
                                     PDWORD) {
  SIMULATED_FAILURE("AdjustTokenPrivileges", 0)
  if (token != reinterpret_cast<HANDLE>(0x7000) || disableAll) return 0;
  SimulatedPlatform::Current().calls.push_back(
      L"AdjustTokenPrivileges luid " + std::to_wstring(state->Privileges[0].Luid.LowPart) + L" attributes " +
      std::to_wstring(state->Privileges[0].Attributes));
  return 1;
}

BOOL WINAPI SimExitWindowsEx(UINT flags, DWORD reason) {
  SIMULATED_FAILURE("ExitWindowsEx", 0)
  SimulatedPlatform& platform = SimulatedPlatform::Current();
  platform.calls.push_back(L"ExitWindowsEx " + std::to_wstring(flags) + L" " + std::to_wstring(reason));
  return platform.restartRefused ? 0 : 1;
}

#undef SIMULATED_FAILURE

struct Export {
  const char* library;
  const char* name;
  qvn::Binder::Address address;
};

template <typename Fn>
qvn::Binder::Address AddressOf(Fn function) {
  return reinterpret_cast<qvn::Binder::Address>(function);
}

// An empty message queue that records each look at it.
BOOL WINAPI SimPeekMessageA(LPMSG, HWND, UINT first, UINT last, UINT remove) {
  SimulatedPlatform::Current().windowCalls.push_back(L"PeekMessageA " + std::to_wstring(first) + L"-" +
                                                     std::to_wstring(last) + (remove == PM_REMOVE ? L" remove" : L" keep"));
  return 0;
}

DWORD WINAPI SimGetTickCount() { return SimulatedPlatform::Current().tickCount; }

int WINAPI SimGetWindowTextA(HWND window, LPSTR text, int room) {
  const std::string& shown = SimulatedPlatform::Current().windowTexts[window];
  const int length = std::min(static_cast<int>(shown.size()), room - 1);
  std::memcpy(text, shown.data(), static_cast<std::size_t>(length));
  text[length] = '\0';
  return length;
}

BOOL WINAPI SimSetWindowTextA(HWND window, LPCSTR text) {
  SimulatedPlatform::Current().windowTexts[window] = text;
  return 1;
}

std::wstring WindowName(HWND window) { return std::to_wstring(reinterpret_cast<std::uintptr_t>(window)); }

BOOL WINAPI SimShutdownBlockReasonCreate(HWND window, LPCWSTR reason) {
  SimulatedPlatform::Current().windowCalls.push_back(L"ShutdownBlockReasonCreate " + WindowName(window) + L" " +
                                                     reason);
  return 1;
}

BOOL WINAPI SimShutdownBlockReasonDestroy(HWND window) {
  SimulatedPlatform::Current().windowCalls.push_back(L"ShutdownBlockReasonDestroy " + WindowName(window));
  return 1;
}

const Export kExports[] = {
    {"kernel32.dll", "GetVersionExA", AddressOf(&SimGetVersionExA)},
    {"kernel32.dll", "MultiByteToWideChar", AddressOf(&SimMultiByteToWideChar)},
    {"kernel32.dll", "WideCharToMultiByte", AddressOf(&SimWideCharToMultiByte)},
    {"advapi32.dll", "RegOpenKeyExA", AddressOf(&SimRegOpenKeyExA)},
    {"advapi32.dll", "RegQueryValueExA", AddressOf(&SimRegQueryValueExA)},
    {"advapi32.dll", "RegEnumValueA", AddressOf(&SimRegEnumValueA)},
    {"advapi32.dll", "RegDeleteKeyA", AddressOf(&SimRegDeleteKeyA)},
    {"advapi32.dll", "RegEnumKeyExA", AddressOf(&SimRegEnumKeyExA)},
    {"advapi32.dll", "RegCloseKey", AddressOf(&SimRegCloseKey)},
    {"user32.dll", "MessageBoxA", AddressOf(&SimMessageBoxA)},
    {"kernel32.dll", "GetFullPathNameA", AddressOf(&SimGetFullPathNameA)},
    {"kernel32.dll", "GetCurrentProcess", AddressOf(&SimGetCurrentProcess)},
    {"kernel32.dll", "CloseHandle", AddressOf(&SimCloseHandle)},
    {"advapi32.dll", "OpenProcessToken", AddressOf(&SimOpenProcessToken)},
    {"advapi32.dll", "LookupPrivilegeValueA", AddressOf(&SimLookupPrivilegeValueA)},
    {"advapi32.dll", "AdjustTokenPrivileges", AddressOf(&SimAdjustTokenPrivileges)},
    {"user32.dll", "ExitWindowsEx", AddressOf(&SimExitWindowsEx)},
    {"kernel32.dll", "GetShortPathNameA", AddressOf(&SimGetShortPathNameA)},
    {"kernel32.dll", "GetWindowsDirectoryA", AddressOf(&SimGetWindowsDirectoryA)},
    {"kernel32.dll", "GetSystemDirectoryA", AddressOf(&SimGetSystemDirectoryA)},
    {"kernel32.dll", "GetEnvironmentVariableA", AddressOf(&SimGetEnvironmentVariableA)},
    {"kernel32.dll", "GetLastError", AddressOf(&SimGetLastError)},
    {"shell32.dll", "SHGetSpecialFolderPathA", AddressOf(&SimSHGetSpecialFolderPathA)},
    {"kernel32.dll", "CreateFileA", AddressOf(&SimCreateFileA)},
    {"kernel32.dll", "FindFirstFileA", AddressOf(&SimFindFirstFileA)},
    {"kernel32.dll", "FindNextFileA", AddressOf(&SimFindNextFileA)},
    {"kernel32.dll", "FindClose", AddressOf(&SimFindClose)},
    {"kernel32.dll", "GetFileAttributesA", AddressOf(&SimGetFileAttributesA)},
    {"kernel32.dll", "RemoveDirectoryA", AddressOf(&SimRemoveDirectoryA)},
    {"kernel32.dll", "GetFileInformationByHandle", AddressOf(&SimGetFileInformationByHandle)},
    {"kernel32.dll", "GetDriveTypeA", AddressOf(&SimGetDriveTypeA)},
    {"kernel32.dll", "WriteFile", AddressOf(&SimWriteFile)},
    {"kernel32.dll", "SetFilePointer", AddressOf(&SimSetFilePointer)},
    {"kernel32.dll", "GetLocalTime", AddressOf(&SimGetLocalTime)},
    {"kernel32.dll", "GetComputerNameA", AddressOf(&SimGetComputerNameA)},
    {"kernel32.dll", "LockFile", AddressOf(&SimLockFile)},
    {"kernel32.dll", "UnlockFile", AddressOf(&SimUnlockFile)},
    {"kernel32.dll", "Sleep", AddressOf(&SimSleep)},
    {"kernel32.dll", "GetLogicalDrives", AddressOf(&SimGetLogicalDrives)},
    {"kernel32.dll", "QueryDosDeviceA", AddressOf(&SimQueryDosDeviceA)},
    {"kernel32.dll", "GetCurrentDirectoryA", AddressOf(&SimGetCurrentDirectoryA)},
    {"kernel32.dll", "SetCurrentDirectoryA", AddressOf(&SimSetCurrentDirectoryA)},
    {"kernel32.dll", "GetModuleFileNameA", AddressOf(&SimGetModuleFileNameA)},
    {"kernel32.dll", "SetErrorMode", AddressOf(&SimSetErrorMode)},
    {"kernel32.dll", "CreateFileW", AddressOf(&SimCreateFileW)},
    {"kernel32.dll", "FindFirstFileW", AddressOf(&SimFindFirstFileW)},
    {"kernel32.dll", "FindNextFileW", AddressOf(&SimFindNextFileW)},
    {"kernel32.dll", "GetFileAttributesW", AddressOf(&SimGetFileAttributesW)},
    {"kernel32.dll", "RemoveDirectoryW", AddressOf(&SimRemoveDirectoryW)},
    {"kernel32.dll", "DeviceIoControl", AddressOf(&SimDeviceIoControl)},
    {"kernel32.dll", "CreateToolhelp32Snapshot", AddressOf(&SimCreateToolhelp32Snapshot)},
    {"kernel32.dll", "Process32First", AddressOf(&SimProcess32First)},
    {"kernel32.dll", "Process32Next", AddressOf(&SimProcess32First)},
    {"kernel32.dll", "Process32FirstW", AddressOf(&SimProcess32FirstW)},
    {"kernel32.dll", "Process32NextW", AddressOf(&SimProcess32FirstW)},
    {"kernel32.dll", "Module32FirstW", AddressOf(&SimModule32FirstW)},
    {"kernel32.dll", "OpenProcess", AddressOf(&SimOpenProcess)},
    {"kernel32.dll", "QueryFullProcessImageNameW", AddressOf(&SimQueryFullProcessImageNameW)},
    {"kernel32.dll", "CreateDirectoryW", AddressOf(&SimCreateDirectoryW)},
    {"kernel32.dll", "MoveFileExW", AddressOf(&SimMoveFileExW)},
    {"advapi32.dll", "RegQueryValueExW", AddressOf(&SimRegQueryValueExW)},
    {"advapi32.dll", "RegEnumValueW", AddressOf(&SimRegEnumValueW)},
    {"kernel32.dll", "GetFullPathNameW", AddressOf(&SimGetFullPathNameW)},
    {"kernel32.dll", "GetShortPathNameW", AddressOf(&SimGetShortPathNameW)},
    {"kernel32.dll", "GetWindowsDirectoryW", AddressOf(&SimGetWindowsDirectoryW)},
    {"kernel32.dll", "GetSystemDirectoryW", AddressOf(&SimGetSystemDirectoryW)},
    {"kernel32.dll", "GetEnvironmentVariableW", AddressOf(&SimGetEnvironmentVariableW)},
    {"shell32.dll", "SHGetSpecialFolderPathW", AddressOf(&SimSHGetSpecialFolderPathW)},
    {"kernel32.dll", "GetDriveTypeW", AddressOf(&SimGetDriveTypeW)},
    {"kernel32.dll", "QueryDosDeviceW", AddressOf(&SimQueryDosDeviceW)},
    {"kernel32.dll", "GetCurrentDirectoryW", AddressOf(&SimGetCurrentDirectoryW)},
    {"kernel32.dll", "SetCurrentDirectoryW", AddressOf(&SimSetCurrentDirectoryW)},
    {"kernel32.dll", "GetModuleFileNameW", AddressOf(&SimGetModuleFileNameW)},
    {"advapi32.dll", "RegOpenKeyExW", AddressOf(&SimRegOpenKeyExW)},
    {"advapi32.dll", "RegEnumKeyExW", AddressOf(&SimRegEnumKeyExW)},
    {"kernel32.dll", "ExpandEnvironmentStringsA", AddressOf(&SimExpandEnvironmentStringsA)},
    {"kernel32.dll", "ExpandEnvironmentStringsW", AddressOf(&SimExpandEnvironmentStringsW)},
    {"kernel32.dll", "IsWow64Process", AddressOf(&SimIsWow64Process)},
    {"kernel32.dll", "ReadFile", AddressOf(&SimReadFile)},
    {"kernel32.dll", "GetFileSize", AddressOf(&SimGetFileSize)},
    {"kernel32.dll", "SetEndOfFile", AddressOf(&SimSetEndOfFile)},
    {"kernel32.dll", "DeleteFileW", AddressOf(&SimDeleteFileW)},
    {"kernel32.dll", "CreateMutexA", AddressOf(&SimCreateMutexA)},
    {"kernel32.dll", "OpenMutexA", AddressOf(&SimOpenMutexA)},
    {"kernel32.dll", "WaitForSingleObject", AddressOf(&SimWaitForSingleObject)},
    {"kernel32.dll", "ReleaseMutex", AddressOf(&SimReleaseMutex)},
    {"user32.dll", "PeekMessageA", AddressOf(&SimPeekMessageA)},
    {"kernel32.dll", "GetTickCount", AddressOf(&SimGetTickCount)},
    {"user32.dll", "GetWindowTextA", AddressOf(&SimGetWindowTextA)},
    {"user32.dll", "SetWindowTextA", AddressOf(&SimSetWindowTextA)},
    {"user32.dll", "ShutdownBlockReasonCreate", AddressOf(&SimShutdownBlockReasonCreate)},
    {"user32.dll", "ShutdownBlockReasonDestroy", AddressOf(&SimShutdownBlockReasonDestroy)},
};

// Counts the objects alive, so that tests can see the tool release them.
class CountedObject : public SimulatedFileSystemObject {
 public:
  CountedObject(SimulatedPlatform& platform)
      : SimulatedFileSystemObject(platform.drive, [&platform](const std::wstring& call) {
          platform.calls.push_back(call);
        }),
        platform_(platform) {
    ++platform_.liveObjects;
  }
  ~CountedObject() override { --platform_.liveObjects; }

 private:
  SimulatedPlatform& platform_;
};

}  // namespace

SimulatedPlatform::SimulatedPlatform() {
  if (current != nullptr) throw std::logic_error("one simulated platform at a time");
  current = this;
  RunAs(VER_PLATFORM_WIN32_NT, 5, 1);
  installed_ = std::make_unique<qvn::ScopedBinder>(*this);
}

SimulatedPlatform::~SimulatedPlatform() {
  installed_.reset();
  current = nullptr;
}

SimulatedPlatform& SimulatedPlatform::Current() {
  if (current == nullptr) throw std::logic_error("no simulated platform");
  return *current;
}

std::string SimulatedPlatform::Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

void SimulatedPlatform::RunAs(DWORD platformId, DWORD major, DWORD minor) {
  version = OSVERSIONINFOA{};
  version.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
  version.dwPlatformId = platformId;
  version.dwMajorVersion = major;
  version.dwMinorVersion = minor;
  registry.family = platformId == VER_PLATFORM_WIN32_NT ? SimulatedRegistry::Family::Nt
                                                         : SimulatedRegistry::Family::Windows9x;
}

int SimulatedPlatform::CallCount(const std::string& name) const {
  auto found = callCounts_.find(name);
  return found == callCounts_.end() ? 0 : found->second;
}

bool SimulatedPlatform::Fails(const std::string& name, LONG& error) {
  const int number = ++callCounts_[name];
  const auto action = actions_.find({name, number});
  if (action != actions_.end()) action->second();
  auto found = failures_.find({name, number});
  if (found == failures_.end()) return false;
  error = found->second;
  return true;
}

qvn::Binder::Address SimulatedPlatform::Bind(const char* library, const char* name) {
  bound.push_back(name);
  if (withheldLibraries_.count(Lower(library)) != 0 || withheldEntries_.count(name) != 0) return nullptr;
  for (const Export& entry : kExports) {
    if (Lower(library) == entry.library && std::strcmp(name, entry.name) == 0) return entry.address;
  }
  // 95/98/ME have no ntdll.
  if (Lower(library) == "ntdll.dll" && registry.family == SimulatedRegistry::Family::Nt) return BindNtCall(name);
  return nullptr;
}

LONG SimulatedPlatform::OpenRefusal(const std::filesystem::path& host, DWORD access, DWORD flags) const {
  return ::OpenRefusal(*this, host, access, flags);
}

HANDLE SimulatedPlatform::OpenHandle(const std::filesystem::path& host, DWORD access) {
  return Opened(*this, host, access);
}

void SimulatedPlatform::LetGo(const std::wstring& path) {
  sharedHolds.erase(drive.HostPath(path));
  CarryOutPendingDeletes();
}

void SimulatedPlatform::CarryOutPendingDeletes() {
  for (auto pending = pendingDeletes.begin(); pending != pendingDeletes.end();) {
    bool held = sharedHolds.count(*pending) != 0;
    for (const auto& [handle, path] : openPaths) held = held || path == *pending;
    std::error_code error;
    if (!held && std::filesystem::remove(*pending, error)) calls.push_back(L"deleted " + drive.WindowsPath(*pending));
    pending = held ? std::next(pending) : pendingDeletes.erase(pending);
  }
}

std::unique_ptr<qvn::AutomationObject> SimulatedPlatform::CreateObject(const std::wstring& progId) {
  objectsCreated.push_back(progId);
  if (objectCreationRefused_ || progId != L"Scripting.FileSystemObject") {
    throw qvn::Failure(429, L"ActiveX component can't create object");
  }
  return std::make_unique<CountedObject>(*this);
}
