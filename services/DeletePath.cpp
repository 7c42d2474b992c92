#include "services/DeletePath.h"

namespace qvn {
namespace {

bool Answer(const AutomationValue& value) {
  const bool* flag = std::get_if<bool>(&value);
  return flag != nullptr && *flag;
}

}  // namespace

bool PathExists(AutomationObject& fileSys, const std::wstring& path, const std::wstring& kind) {
  return Answer(fileSys.Call(kind == L"file" ? L"FileExists" : L"FolderExists", {path}));
}

bool DeletePath(AutomationObject& fileSys, const std::wstring& path, const std::wstring& kind) {
  if (!PathExists(fileSys, path, kind)) return false;
  fileSys.Call(kind == L"file" ? L"DeleteFile" : L"DeleteFolder", {path, true});
  return true;
}

}  // namespace qvn
