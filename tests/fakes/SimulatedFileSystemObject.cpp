#include "tests/fakes/SimulatedFileSystemObject.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <cwctype>
#include <fstream>
#include <iterator>
#include <system_error>

#include "services/Failure.h"
#include "services/ReparseData.h"

namespace fs = std::filesystem;
using qvn::AutomationValue;
using qvn::Failure;

namespace {

std::wstring Lower(std::wstring text) {
  std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return std::towlower(c); });
  return text;
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// An entry of `folder` named `name` in any case; the name as given when none.
fs::path Child(const fs::path& folder, const std::wstring& name) {
  std::error_code error;
  if (fs::exists(folder / Narrow(name), error)) return folder / Narrow(name);
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    const std::string found = entry.path().filename().string();
    if (Lower(std::wstring(found.begin(), found.end())) == Lower(name)) return entry.path();
  }
  return folder / Narrow(name);
}

bool IsReadOnly(const fs::path& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 && (info.st_mode & S_IWUSR) == 0;
}

}  // namespace

SimulatedDrive::SimulatedDrive() {
  std::string pattern = (fs::temp_directory_path() / "qvn-drive-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make the simulated drive");
  root_ = pattern;
  fs::create_directory(root_ / "c");
}

std::wstring SimulatedDrive::WindowsPath(const fs::path& hostPath) const {
  const std::string relative = hostPath.lexically_relative(root_).string();
  std::wstring path(relative.begin(), relative.end());
  std::replace(path.begin(), path.end(), L'/', L'\\');
  if (path.empty()) return path;
  path[0] = static_cast<wchar_t>(std::towupper(path[0]));
  return path.size() == 1 ? path + L":\\" : path.insert(1, L":");
}

void SimulatedDrive::AddDrive(wchar_t letter) {
  letter = static_cast<wchar_t>(std::towlower(letter));
  if (letters_.find(letter) != std::wstring::npos) return;
  letters_ += letter;
  fs::create_directory(root_ / std::string(1, static_cast<char>(letter)));
}

SimulatedDrive::~SimulatedDrive() {
  std::error_code error;
  fs::remove_all(root_, error);
}

fs::path SimulatedDrive::HostPath(const std::wstring& windowsPath) const {
  if (windowsPath.rfind(L"\\\\?\\", 0) == 0) return HostPath(windowsPath.substr(4));  // the long form names the same
  const auto letter = windowsPath.empty() ? L'\0' : static_cast<wchar_t>(std::towlower(windowsPath[0]));
  if (windowsPath.size() < 3 || letters_.find(letter) == std::wstring::npos || windowsPath.substr(1, 2) != L":\\") {
    return {};
  }
  const fs::path driveRoot = root_ / std::string(1, static_cast<char>(letter));
  fs::path host = driveRoot;
  std::wstring rest = windowsPath.substr(3);
  std::size_t start = 0;
  while (start <= rest.size()) {
    const std::size_t end = std::min(rest.find(L'\\', start), rest.size());
    const std::wstring part = rest.substr(start, end - start);
    if (part == L"..") {
      if (host != driveRoot) host = host.parent_path();
    } else if (!part.empty() && part != L".") {
      host = Child(host, part);
    }
    start = end + 1;
  }
  return host;
}

void SimulatedDrive::AddFolder(const std::wstring& windowsPath) { fs::create_directories(HostPath(windowsPath)); }

void SimulatedDrive::AddFile(const std::wstring& windowsPath, bool readOnly) {
  const fs::path host = HostPath(windowsPath);
  fs::create_directories(host.parent_path());
  std::ofstream(host) << "contents of " << Narrow(windowsPath) << "\n";
  if (readOnly) fs::permissions(host, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                                fs::perm_options::remove);
}

void SimulatedDrive::AddFolderLink(const std::wstring& link, const std::wstring& target) {
  AddFolderLink(link, target, {qvn::kJunctionTag, L"\\??\\" + target});
}

void SimulatedDrive::AddFolderLink(const std::wstring& link, const std::wstring& target, const StoredLink& stored) {
  const fs::path host = HostPath(link);
  fs::create_directories(host.parent_path());
  fs::create_directory_symlink(HostPath(target), host);
  links_[host] = stored;
}

const SimulatedDrive::StoredLink* SimulatedDrive::LinkStoredAt(const fs::path& hostPath) const {
  std::error_code error;
  const auto found = links_.find(hostPath);
  return found != links_.end() && fs::is_symlink(hostPath, error) ? &found->second : nullptr;
}

namespace {

// `path` is `folder` or lies below it.
bool IsAtOrBelow(const fs::path& path, const fs::path& folder) {
  auto [mismatch, unused] = std::mismatch(folder.begin(), folder.end(), path.begin(), path.end());
  return mismatch == folder.end();
}

}  // namespace

wchar_t SimulatedDrive::VolumeOf(const fs::path& hostPath) const {
  std::error_code error;
  const fs::path real = fs::weakly_canonical(hostPath, error);
  const fs::path root = fs::weakly_canonical(root_, error);
  const fs::path relative = real.lexically_relative(root);
  return relative.empty() ? L'\0' : static_cast<wchar_t>(relative.begin()->string()[0]);
}

bool SimulatedDrive::HoldsInUse(const fs::path& hostPath) const {
  for (const auto* set : {&held_, &mapped_, &current_}) {
    for (const fs::path& path : *set) {
      if (IsAtOrBelow(path, hostPath)) return true;
    }
  }
  return false;
}

fs::path SimulatedDrive::AfterRename(const fs::path& path, const fs::path& from, const fs::path& to) {
  if (path == from) return to;
  return IsAtOrBelow(path, from) ? to / path.lexically_relative(from) : path;
}

void SimulatedDrive::Renamed(const fs::path& from, const fs::path& to) {
  for (auto* set : {&locked_, &held_, &openDenied_, &mapped_, &current_, &pinned_}) {
    std::set<fs::path> renamed;
    for (const fs::path& path : *set) renamed.insert(AfterRename(path, from, to));
    *set = std::move(renamed);
  }
}

bool SimulatedDrive::Exists(const std::wstring& windowsPath) const {
  const fs::path host = HostPath(windowsPath);
  std::error_code error;
  return !host.empty() && fs::exists(fs::symlink_status(host, error));
}

std::string SimulatedDrive::Contents(const std::wstring& windowsPath) const {
  std::ifstream file(HostPath(windowsPath), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

AutomationValue SimulatedFileSystemObject::Call(const std::wstring& method, const std::vector<AutomationValue>& args) {
  const auto* path = args.empty() ? nullptr : std::get_if<std::wstring>(&args[0]);
  if (path == nullptr) throw Failure(5, L"Invalid procedure call or argument");
  const bool force = args.size() > 1 && std::get_if<bool>(&args[1]) != nullptr && std::get<bool>(args[1]);
  record_(method + L" " + *path + (args.size() > 1 ? (force ? L" force" : L" no-force") : L""));
  if (method == L"FileExists") return FileExists(*path);
  if (method == L"FolderExists") return FolderExists(*path);
  if (method == L"DeleteFile") {
    DeleteFile(*path, force);
    return std::monostate{};
  }
  if (method == L"DeleteFolder") {
    DeleteFolder(*path, force);
    return std::monostate{};
  }
  throw Failure(438, L"Object doesn't support this property or method");
}

bool SimulatedFileSystemObject::FileExists(const std::wstring& path) const {
  const fs::path host = drive_.HostPath(path);
  std::error_code error;
  return !host.empty() && fs::is_regular_file(fs::status(host, error));
}

bool SimulatedFileSystemObject::FolderExists(const std::wstring& path) const {
  const fs::path host = drive_.HostPath(path);
  std::error_code error;
  return !host.empty() && fs::is_directory(fs::status(host, error));
}

void SimulatedFileSystemObject::RemoveEntry(const fs::path& entry, bool force) {
  if (drive_.IsLocked(entry) || (IsReadOnly(entry) && !force)) throw Failure(70, L"Permission denied");
  if (fs::is_directory(fs::status(entry))) {
    std::vector<fs::path> children;
    for (const auto& child : fs::directory_iterator(entry)) children.push_back(child.path());
    std::sort(children.begin(), children.end());
    for (const fs::path& child : children) RemoveEntry(child, force);
  }
  fs::remove(entry);
}

void SimulatedFileSystemObject::DeleteFile(const std::wstring& path, bool force) {
  if (!FileExists(path)) throw Failure(53, L"File not found");
  RemoveEntry(drive_.HostPath(path), force);
}

void SimulatedFileSystemObject::DeleteFolder(const std::wstring& path, bool force) {
  if (!FolderExists(path)) throw Failure(76, L"Path not found");
  RemoveEntry(drive_.HostPath(path), force);
}
