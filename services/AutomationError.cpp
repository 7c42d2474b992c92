#include "services/AutomationError.h"
#include "services/Concat.h"

#include <new>

namespace qvn {
namespace {

constexpr std::uint32_t kControlFacility = 0x800A0000u;
constexpr std::uint32_t kWin32Facility = 0x80070000u;

struct ScriptError {
  std::int32_t number;
  const wchar_t* text;
};

constexpr ScriptError kScriptErrors[] = {
    {5, L"Invalid procedure call or argument"},
    {7, L"Out of memory"},
    {51, L"Internal error"},
    {52, L"Bad file name or number"},
    {53, L"File not found"},
    {57, L"Device I/O error"},
    {58, L"File already exists"},
    {61, L"Disk full"},
    {67, L"Too many files"},
    {70, L"Permission denied"},
    {71, L"Disk not ready"},
    {75, L"Path/File access error"},
    {76, L"Path not found"},
    {91, L"Object variable or With block variable not set"},
    {429, L"ActiveX component can't create object"},
    {438, L"Object doesn't support this property or method"},
    {453, L"Can't find DLL entry point"},
};

struct Win32Mapping {
  std::uint32_t win32;
  std::int32_t number;
};

constexpr Win32Mapping kWin32Errors[] = {
    {2, 53},    // file not found
    {3, 76},    // path not found
    {5, 70},    // access denied
    {15, 71},   // invalid drive
    {32, 70},   // sharing violation
    {33, 70},   // lock violation
    {80, 58},   // file exists
    {112, 61},  // disk full
    {123, 52},  // invalid name
    {145, 75},  // directory not empty
    {183, 58},  // already exists
};

std::int32_t ScriptNumber(std::int32_t code) {
  const auto bits = static_cast<std::uint32_t>(code);
  if ((bits & 0xFFFF0000u) == kControlFacility) return static_cast<std::int32_t>(bits & 0xFFFFu);
  if ((bits & 0xFFFF0000u) == kWin32Facility) {
    for (const Win32Mapping& mapping : kWin32Errors) {
      if (mapping.win32 == (bits & 0xFFFFu)) return mapping.number;
    }
  }
  return code;
}

const wchar_t* ConventionalText(std::int32_t number) {
  for (const ScriptError& error : kScriptErrors) {
    if (error.number == number) return error.text;
  }
  return nullptr;
}

}  // namespace

Failure StandardFailure(ErrorNumber number, const std::wstring& suffix) {
  const auto value = static_cast<std::int32_t>(number);
  const wchar_t* text = ConventionalText(value);
  return Failure(value, Concat({std::wstring_view(text != nullptr ? text : L"Error"), suffix}));
}

Failure PlatformCallFailure(const char* call, std::uint32_t lastError) {
  const std::string_view name(call);
  std::wstring description(name.begin(), name.end());
  return Failure(static_cast<std::int32_t>(lastError), description.append(L" failed"));
}

Failure CaughtFailure() {
  try {
    throw;
  } catch (const Failure& failure) {
    return failure;
  } catch (const std::bad_alloc&) {
    return StandardFailure(ErrorNumber::OutOfMemory);
  } catch (...) {
    return StandardFailure(ErrorNumber::InternalError);
  }
}

Failure SystemErrorFailure(std::uint32_t error, const std::wstring& description) {
  return Failure(ScriptNumber(static_cast<std::int32_t>(kWin32Facility | (error & 0xFFFFu))), description);
}

Failure AutomationFailure(std::int32_t code, const std::wstring& objectDescription, const std::wstring& systemMessage) {
  const std::int32_t number = ScriptNumber(code);
  if (!objectDescription.empty()) return Failure(number, objectDescription);
  if (const wchar_t* text = ConventionalText(number)) return Failure(number, text);
  if (!systemMessage.empty()) return Failure(number, systemMessage);
  return Failure(number, L"Automation error");
}

}  // namespace qvn
