#include "app/InstallFolderGuard.h"

#include <algorithm>
#include <cwctype>

#include "services/SystemFolders.h"

namespace qvn {
namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

std::wstring Normalized(std::wstring path) {
  for (wchar_t& c : path) c = IsSeparator(c) ? L'\\' : static_cast<wchar_t>(std::towlower(c));
  while (!path.empty() && path.back() == L'\\') path.pop_back();
  return path;
}

bool IsDriveRoot(const std::wstring& normalized) { return normalized.size() <= 2; }

std::vector<std::wstring> Joined(std::vector<std::wstring> first, const std::vector<std::wstring>& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

// `outer` is `inner` or one of the folders above it.
bool EqualsOrHolds(const std::wstring& outer, const std::wstring& inner) {
  if (outer.empty() || inner.empty()) return false;
  if (outer == inner) return true;
  return inner.size() > outer.size() && inner.compare(0, outer.size(), outer) == 0 && inner[outer.size()] == L'\\';
}

std::vector<std::wstring> WithShortForms(const std::vector<std::wstring>& paths) {
  std::vector<std::wstring> forms = paths;
  for (const std::wstring& path : paths) {
    std::wstring shortForm = ShortPathOf(path);
    if (!shortForm.empty()) forms.push_back(shortForm);
  }
  return forms;
}

}  // namespace

bool IsFullLocalPath(const std::wstring& text) {
  if (text.size() < 3 || text[0] > 0x7F || !std::iswalpha(text[0]) || text[1] != L':' || !IsSeparator(text[2])) {
    return false;
  }
  for (std::size_t i = 2; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (c < 0x20 || c == L':' || c == L'*' || c == L'?' || c == L'<' || c == L'>' || c == L'|' || c == L'"') {
      return false;
    }
  }
  return true;
}

bool IsSamePlace(const std::wstring& first, const std::wstring& second) {
  const std::vector<std::wstring> firstForms = WithShortForms({first, FullPathOf(first)});
  const std::vector<std::wstring> secondForms = WithShortForms({second, FullPathOf(second)});
  for (const std::wstring& a : firstForms) {
    for (const std::wstring& b : secondForms) {
      if (!a.empty() && Normalized(a) == Normalized(b)) return true;
    }
  }
  return false;
}

bool IsProtectedFolder(const std::vector<std::wstring>& candidateForms, const ProtectedFolders& folders) {
  for (const std::wstring& candidate : candidateForms) {
    const std::wstring folder = Normalized(candidate);
    if (IsDriveRoot(folder)) return true;
    for (const std::wstring& sealed : folders.sealed) {
      const std::wstring guarded = Normalized(sealed);
      if (EqualsOrHolds(folder, guarded) || EqualsOrHolds(guarded, folder)) return true;
    }
    for (const std::wstring& container : folders.containers) {
      if (EqualsOrHolds(folder, Normalized(container))) return true;
    }
  }
  return false;
}

const ProtectedFolders& UsualSystemFolders() {
  static const ProtectedFolders folders = {
      {
          L"C:\\Windows",  // its system folder, fonts, drivers, and on 95/98/ME the profiles and shell folders
          L"C:\\WINNT",
          L"C:\\Program Files\\Common Files",
          L"C:\\Program Files (x86)\\Common Files",  // 64-bit Windows: the 32-bit programs' Common Files
          L"C:\\Documents and Settings",  // All Users, Default User and every user's profile
          L"C:\\My Documents",
      },
      {
          L"C:\\Program Files",
          L"C:\\Program Files (x86)",  // 64-bit Windows: where 32-bit programs live
      },
  };
  return folders;
}

InstallFolderDecision DecideInstallFolder(const std::wstring& location) {
  if (!IsFullLocalPath(location)) return {std::nullopt, L"not a full local path", false};
  const std::wstring resolved = FullPathOf(location);
  if (!IsFullLocalPath(resolved)) return {std::nullopt, L"not a full local path once resolved", true};

  const ReportedFolders reported = ReportedSystemFolders();
  const ProtectedFolders& usual = UsualSystemFolders();
  ProtectedFolders guarded{WithShortForms(Joined(reported.system, usual.sealed)),
                           WithShortForms(Joined(reported.programFiles, usual.containers))};
  if (IsProtectedFolder(WithShortForms({resolved}), guarded)) {
    return {std::nullopt, L"a drive root, or a folder of the system or the users, or one that holds them", true};
  }
  return {resolved, L"", false};
}

std::optional<std::wstring> InstallFolderToDelete(const std::wstring& location) {
  return DecideInstallFolder(location).folder;
}

}  // namespace qvn
