#include "tests/wine/FileFixture.h"

#include <functional>
#include <stdexcept>
#include <vector>

namespace fixture {

void MakeFolder(const std::string& path) {
  for (std::size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1)) {
    ::CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
  }
  ::CreateDirectoryA(path.c_str(), nullptr);
}

bool WriteText(const std::string& path, const std::string& text) {
  MakeFolder(path.substr(0, path.rfind('\\')));
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool wrote = ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) != 0;
  ::CloseHandle(file);
  return wrote && written == text.size();
}

std::string TextOf(const std::string& path) {
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "";
  std::string text(65536, '\0');
  DWORD read = 0;
  ::ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &read, nullptr);
  ::CloseHandle(file);
  return text.substr(0, read);
}

std::string ShortPath(const std::string& path) {
  char shortPath[MAX_PATH] = {};
  ::GetShortPathNameA(path.c_str(), shortPath, MAX_PATH);
  return shortPath;
}

void MakeFile(const std::string& path, bool readOnly) {
  if (!WriteText(path, path)) throw std::runtime_error("cannot create " + path);
  if (readOnly) ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
}

bool PathExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void MakeFile(const std::wstring& path) {
  for (std::size_t at = path.find(L'\\', 3); at != std::wstring::npos; at = path.find(L'\\', at + 1)) {
    ::CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
  }
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create a file named in wide text");
  ::CloseHandle(file);
}

bool PathExists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

namespace {

// Walked by the wide names, so that a folder named outside the code page
// (as some tests make) goes too.
void RemoveTreeW(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
    // A link: never entered, so that what it leads to stays. Under Wine it
    // cannot be removed from this side; the runner that made it removes it.
    ::RemoveDirectoryW(path.c_str());
    return;
  }
  ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    ::DeleteFileW(path.c_str());
    return;
  }
  WIN32_FIND_DATAW found;
  HANDLE search = ::FindFirstFileW((path + L"\\*").c_str(), &found);
  std::vector<std::wstring> children;
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name != L"." && name != L"..") children.push_back(path + L"\\" + name);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
  }
  for (const std::wstring& child : children) RemoveTreeW(child);
  ::RemoveDirectoryW(path.c_str());
}

}  // namespace

void RemoveTree(const std::string& path) { RemoveTreeW(std::wstring(path.begin(), path.end())); }

std::string ThisProgram() {
  char self[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, self, MAX_PATH);
  return self;
}

bool CopyThisProgramTo(const std::string& path) {
  ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  return ::CopyFileA(ThisProgram().c_str(), path.c_str(), FALSE) != 0;
}

// Where the holding child says it has the file: beside this program, since
// the file's own folder may be removed meanwhile.
std::string HeldMark(const std::string& path) {
  return ThisProgram() + "." + std::to_string(std::hash<std::string>{}(path)) + ".held";
}

FileHeldByAnotherProcess::FileHeldByAnotherProcess(const std::string& path, Sharing sharing, bool whenFree)
    : mark_(HeldMark(path)) {
  std::string command = "\"" + ThisProgram() + "\" --hold-open \"" + path + "\"";
  if (sharing == Sharing::Delete) command += " delete";
  if (whenFree) command += " when-free";
  ::DeleteFileA(mark_.c_str());
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_)) {
    throw std::runtime_error("cannot start the holding process");
  }
  for (int waited = 0; !whenFree && waited < 200 && !PathExists(mark_); ++waited) ::Sleep(50);
}

bool FileHeldByAnotherProcess::Holds() const { return PathExists(mark_); }

FileHeldByAnotherProcess::~FileHeldByAnotherProcess() {
  ::DeleteFileA(mark_.c_str());
  ::TerminateProcess(process_.hProcess, 0);
  ::WaitForSingleObject(process_.hProcess, 5000);
  ::CloseHandle(process_.hThread);
  ::CloseHandle(process_.hProcess);
}

// The program starts in its current folder, so that a folder named outside
// the code page is its current folder too; "--idle-in ." keeps it there.
ProgramRunning::ProgramRunning(const std::string& program, const std::wstring& currentFolder, OnClose onClose) {
  const wchar_t* window = onClose == OnClose::Ends ? L" ends" : onClose == OnClose::Stays ? L" stays" : L"";
  std::wstring command = L"\"" + std::wstring(program.begin(), program.end()) + L"\" --idle-in ." + window;
  ::DeleteFileA(kIdleReady);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, currentFolder.c_str(), &startup,
                        &process_)) {
    throw std::runtime_error("cannot start " + program);
  }
  for (int waited = 0; waited < 200 && !PathExists(kIdleReady); ++waited) ::Sleep(50);
  ::DeleteFileA(kIdleReady);
}

ProgramRunning::~ProgramRunning() { End(); }

void ProgramRunning::End() {
  if (process_.hProcess == nullptr) return;
  ::TerminateProcess(process_.hProcess, 0);
  ::WaitForSingleObject(process_.hProcess, 5000);
  ::CloseHandle(process_.hThread);
  ::CloseHandle(process_.hProcess);
  process_ = PROCESS_INFORMATION{};
}

DWORD ProgramRunning::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  ::GetExitCodeProcess(process_.hProcess, &code);
  return code;
}

namespace {

bool staysOnClose = false;

LRESULT CALLBACK IdleWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    if (!staysOnClose) ::PostQuitMessage(static_cast<int>(kEndedByClose));
    return 0;
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

void IdleIn(const std::string& folder, OnClose onClose) {
  if (!::SetCurrentDirectoryA(folder.c_str())) ::ExitProcess(1);
  if (onClose == OnClose::NoWindow) {
    MakeFile(kIdleReady);
    for (;;) ::Sleep(1000);
  }
  staysOnClose = onClose == OnClose::Stays;
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = IdleWindow;
  windowClass.hInstance = ::GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "QvnTestIdleProgram";
  ::RegisterClassA(&windowClass);
  ::CreateWindowExA(0, windowClass.lpszClassName, "Quorvane", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 320, 200,
                    nullptr, nullptr, windowClass.hInstance, nullptr);
  MakeFile(kIdleReady);
  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) ::DispatchMessageA(&message);
  ::ExitProcess(static_cast<UINT>(message.wParam));
}

void HoldOpen(const std::string& path, bool sharesDeletion, bool whenFree) {
  const DWORD sharing = FILE_SHARE_READ | (sharesDeletion ? FILE_SHARE_DELETE : 0);
  for (;;) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      MakeFile(HeldMark(path));
      break;
    }
    if (!whenFree) break;
    ::Sleep(1);
  }
  for (;;) ::Sleep(1000);
}

void MakeFileNamedExactly(const std::wstring& folder, const std::wstring& name) {
  using NtCreateFileFn = LONG(WINAPI*)(PHANDLE, ACCESS_MASK, void*, void*, void*, ULONG, ULONG, ULONG, ULONG, void*, ULONG);
  struct Counted {
    USHORT length, room;
    const wchar_t* text;
  } counted{static_cast<USHORT>(name.size() * 2), static_cast<USHORT>(name.size() * 2), name.c_str()};
  struct Object {
    ULONG length;
    HANDLE root;
    Counted* name;
    ULONG attributes;
    void* security;
    void* quality;
  };
  const HANDLE parent = ::CreateFileW(folder.c_str(), FILE_ADD_FILE | SYNCHRONIZE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  Object object{sizeof(Object), parent, &counted, 0x40 /* OBJ_CASE_INSENSITIVE */, nullptr, nullptr};
  ULONG_PTR io[2] = {};
  HANDLE file = nullptr;
  const auto create = reinterpret_cast<NtCreateFileFn>(
      reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "NtCreateFile")));
  const LONG status = create(&file, GENERIC_WRITE | SYNCHRONIZE, &object, io, nullptr, FILE_ATTRIBUTE_NORMAL,
                             FILE_SHARE_READ, 2 /* FILE_CREATE */, 0x20 | 0x40 /* synchronous, not a folder */, nullptr, 0);
  ::CloseHandle(parent);
  if (status < 0) throw std::runtime_error("cannot make a file of that name");
  ::CloseHandle(file);
}

}  // namespace fixture
