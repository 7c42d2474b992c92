#pragma once
#include <string>
#include <vector>

#include "services/Binder.h"
#include "services/PlatformTypes.h"

// Direct registry access for laying out and checking fixtures. Each test
// removes its own keys before and after it runs.
namespace fixture {

void DeleteTree(const std::string& path);
void CreateKey(const std::string& path);
void SetValue(const std::string& path, const std::string& name, DWORD type, const std::vector<BYTE>& data);
void SetString(const std::string& path, const std::string& name, const std::string& text);
// A text stored as the NT family keeps it, in UTF-16, whatever the code page.
void SetWideString(const std::string& path, const std::string& name, const std::wstring& text);
bool KeyExists(const std::string& path);

// The Windows version the runner set for this run ("win95" ... "winxp").
std::string WindowsVersion();
bool IsNtFamily();

// The system's binder, except that message boxes are recorded instead of shown.
class RecordingBinder : public qvn::Binder {
 public:
  struct Shown {
    std::string text;
    std::string title;
    UINT style;
  };

  RecordingBinder();
  ~RecordingBinder() override;

  Address Bind(const char* library, const char* name) override;
  std::unique_ptr<qvn::AutomationObject> CreateObject(const std::wstring& progId) override;

  std::vector<Shown> shown;
  std::vector<std::string> withheld;
  std::vector<std::string> bound;  // every entry point asked for, in order

 private:
  qvn::ScopedBinder installed_;
};

}  // namespace fixture
