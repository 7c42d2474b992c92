#include "services/DeletePath.h"

namespace qvn {
namespace {

bool Answer(const AutomationValue& value) {
  const bool* flag = std::get_if<bool>(&value);
  return flag != nullptr && *flag;
}

}  // namespace

void DeletePath(AutomationObject& fileSys, const std::wstring& path, const std::wstring& kind) {
  const bool isFile = kind == L"file";
  const std::wstring exists = isFile ? L"FileExists" : L"FolderExists";
  const std::wstring remove = isFile ? L"DeleteFile" : L"DeleteFolder";
  if (!Answer(fileSys.Call(exists, {path}))) return;
  fileSys.Call(remove, {path, true});
}

}  // namespace qvn
