#include "app/OtherInstalledPrograms.h"

#include <cwctype>
#include <vector>

#include "app/Place.h"
#include "services/AutomationError.h"
#include "services/Concat.h"
#include "services/FileCalls.h"
#include "services/FolderIdentity.h"
#include "services/FolderAbove.h"
#include "services/SameText.h"
#include "services/SystemFolders.h"
#include "services/UninstallEntries.h"

namespace qvn {
namespace {

// The key of the list of installed programs that the removal deletes.
const wchar_t kOwnEntry[] = L"Quorvane";

bool IsOwnEntry(const UninstallEntry& entry) { return !entry.in64BitView && SameText(entry.key, kOwnEntry); }

std::wstring NameOf(const UninstallEntry& entry) {
  return entry.displayName.empty() ? entry.key : entry.displayName;
}

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

std::wstring Trimmed(const std::wstring& text) {
  std::size_t first = 0;
  std::size_t end = text.size();
  while (first < end && IsBlank(text[first])) ++first;
  while (end > first && IsBlank(text[end - 1])) --end;
  return text.substr(first, end - first);
}

bool Exists(const FileCalls& files, const std::wstring& path) {
  return files.Attributes(path) != INVALID_FILE_ATTRIBUTES;
}

bool IsFile(const FileCalls& files, const std::wstring& path) {
  const DWORD attributes = files.Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool IsFolder(const FileCalls& files, const std::wstring& path) {
  const DWORD attributes = files.Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// `path` without a trailing icon index (",0", ",-101"), unless it names
// something that exists as it is: a comma is a valid character in a name.
std::wstring WithoutIconIndex(const std::wstring& path, const FileCalls& files) {
  const std::size_t comma = path.rfind(L',');
  if (comma == std::wstring::npos) return path;
  std::size_t digit = comma + 1;
  if (digit < path.size() && path[digit] == L'-') ++digit;
  if (digit == path.size()) return path;
  for (std::size_t at = digit; at < path.size(); ++at) {
    if (!std::iswdigit(path[at])) return path;
  }
  return Exists(files, path) ? path : path.substr(0, comma);
}

// The path a value names: between its quotes when it starts with one (what
// follows is arguments or an icon index), else the whole text. A command
// line with spaces and no quotes ends at the longest part before a space, or
// the whole, that names an existing file; nothing when none does.
std::wstring NamedPath(const std::wstring& value, bool commandLine, const FileCalls& files) {
  const std::wstring text = Trimmed(value);
  if (!text.empty() && text[0] == L'"') {
    const std::size_t closing = text.find(L'"', 1);
    return WithoutIconIndex(text.substr(1, closing == std::wstring::npos ? std::wstring::npos : closing - 1), files);
  }
  if (!commandLine || text.find_first_of(L" \t") == std::wstring::npos) return WithoutIconIndex(text, files);
  for (std::size_t end = text.size(); end != std::wstring::npos && end > 0; end = text.find_last_of(L" \t", end - 1)) {
    const std::wstring program = WithoutIconIndex(text.substr(0, end), files);
    if (IsFile(files, program)) return program;
  }
  return {};
}

// The folder a file lies in, a drive's root as "X:\": "X:" alone would name
// the drive's current folder.
std::wstring FolderOfFile(const std::wstring& path) {
  const std::wstring folder = FolderAbove(path);
  return folder.size() == 2 ? Concat({folder, L"\\"}) : folder;
}

// A full path on a drive whose folders the guard looks at: never a server's,
// which may be away and hold every call up, nor a CD, which would spin up.
// A folder there is no install folder's either.
bool IsLookedAt(const std::wstring& path) { return IsFullLocalPath(path) && IsOnLocalDrive(path); }

// Reads what each entry says about where its program lives.
class ProgramFolders {
 public:
  explicit ProgramFolders(bool ntFamily) : files_(ntFamily) {
    const std::wstring windows = WindowsFolder();
    if (!windows.empty()) windows_ = reader_.Read(windows);
  }

  PlaceReader& Reader() { return reader_; }

  // Each folder of `entry` that exists, as a place.
  std::vector<Place> Of(const UninstallEntry& entry) {
    std::vector<Place> folders;
    const std::wstring location = NamedPath(entry.installLocation, false, files_);
    if (IsLookedAt(location) && IsFolder(files_, location)) folders.push_back(reader_.Read(location));
    for (const std::wstring* value : {&entry.displayIcon, &entry.uninstallString}) {
      const std::wstring file = NamedPath(*value, value == &entry.uninstallString, files_);
      if (!IsLookedAt(file)) continue;
      const std::wstring folder = FolderOfFile(file);
      if (!IsFolder(files_, folder)) continue;
      // MsiExec, rundll32 and the installer's cache serve every program.
      Place place = reader_.Read(folder);
      if (!windows_ || !windows_->Holds(place)) folders.push_back(std::move(place));
    }
    return folders;
  }

 private:
  FileCalls files_;
  PlaceReader reader_;
  std::optional<Place> windows_;
};

}  // namespace

std::optional<OtherProgram> OtherProgramIn(const std::wstring& installFolder, bool ntFamily) {
  ProgramFolders folders(ntFamily);
  const Place install = folders.Reader().Read(installFolder);
  for (const UninstallEntry& entry : ReadUninstallEntries(ntFamily)) {
    if (IsOwnEntry(entry)) continue;
    for (const Place& folder : folders.Of(entry)) {
      if (install.Holds(folder)) return OtherProgram{NameOf(entry), folder.Resolved()};
    }
  }
  return std::nullopt;
}

void RefuseAFolderAnotherProgramLivesIn(InstallFolderDecision& decision, bool ntFamily) {
  if (!decision.folder) return;
  const std::optional<OtherProgram> other = OtherProgramIn(*decision.folder, ntFamily);
  if (!other) return;
  decision.folder.reset();
  decision.refusal = Concat({L"another installed program, ", other->name, L", lives in it at ", other->folder});
  decision.refusedByGuard = true;
  decision.stopsRemoval = true;
}

}  // namespace qvn
