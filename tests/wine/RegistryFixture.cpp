#include "tests/wine/RegistryFixture.h"

#include <cstdlib>
#include <stdexcept>

#include "services/AutomationObject.h"
#include "services/SystemBinder.h"

namespace fixture {
namespace {

RecordingBinder* recorder = nullptr;

int WINAPI RecordMessageBox(HWND, LPCSTR text, LPCSTR title, UINT style) {
  recorder->shown.push_back({text, title, style});
  return IDOK;
}

}  // namespace

void DeleteTree(const std::string& path) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
  char name[256];
  std::string previous;
  while (::RegEnumKeyA(key, 0, name, sizeof name) == ERROR_SUCCESS) {
    // A child that is still first after its deletion cannot be deleted:
    // report it instead of trying forever.
    if (previous == name) {
      ::RegCloseKey(key);
      throw std::runtime_error("cannot delete the registry key " + path + "\\" + name);
    }
    previous = name;
    DeleteTree(path + "\\" + name);
  }
  ::RegCloseKey(key);
  const std::size_t split = path.rfind('\\');
  HKEY parent = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.substr(0, split).c_str(), 0, KEY_ALL_ACCESS, &parent) ==
      ERROR_SUCCESS) {
    ::RegDeleteKeyA(parent, path.substr(split + 1).c_str());
    ::RegCloseKey(parent);
  }
}

void CreateKey(const std::string& path) {
  HKEY key = nullptr;
  if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    throw std::runtime_error("cannot create " + path);
  }
  ::RegCloseKey(key);
}

void SetValue(const std::string& path, const std::string& name, DWORD type, const std::vector<BYTE>& data) {
  CreateKey(path);
  HKEY key = nullptr;
  ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_ALL_ACCESS, &key);
  const LONG result = ::RegSetValueExA(key, name.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size()));
  ::RegCloseKey(key);
  if (result != ERROR_SUCCESS) throw std::runtime_error("cannot set " + path + "\\" + name);
}

void SetString(const std::string& path, const std::string& name, const std::string& text) {
  std::vector<BYTE> data(text.begin(), text.end());
  data.push_back(0);
  SetValue(path, name, REG_SZ, data);
}

void SetWideString(const std::string& path, const std::string& name, const std::wstring& text) {
  CreateKey(path);
  HKEY key = nullptr;
  ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_ALL_ACCESS, &key);
  const std::wstring wideName(name.begin(), name.end());
  const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
  const LONG result =
      ::RegSetValueExW(key, wideName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), bytes);
  ::RegCloseKey(key);
  if (result != ERROR_SUCCESS) throw std::runtime_error("cannot set " + path + "\\" + name);
}

bool KeyExists(const std::string& path) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  ::RegCloseKey(key);
  return true;
}

std::string WindowsVersion() {
  const char* version = std::getenv("QVN_WINDOWS_VERSION");
  return version != nullptr ? version : "";
}

bool IsNtFamily() {
  const std::string version = WindowsVersion();
  return version != "win95" && version != "win98" && version != "winme";
}

RecordingBinder::RecordingBinder() : installed_(*this) { recorder = this; }

RecordingBinder::~RecordingBinder() { recorder = nullptr; }

qvn::Binder::Address RecordingBinder::Bind(const char* library, const char* name) {
  bound.push_back(name);
  for (const std::string& entry : withheld) {
    if (entry == name) return nullptr;
  }
  if (std::string(name) == "MessageBoxA") return reinterpret_cast<Address>(&RecordMessageBox);
  return qvn::SystemBinder().Bind(library, name);
}

std::unique_ptr<qvn::AutomationObject> RecordingBinder::CreateObject(const std::wstring& progId) {
  return qvn::SystemBinder().CreateObject(progId);
}

}  // namespace fixture
