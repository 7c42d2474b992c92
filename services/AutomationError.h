#pragma once
#include <cstdint>
#include <string>

#include "services/Failure.h"

namespace qvn {

// The Failure for a failed method call of a scripting object. Its number is the
// error's number in the scripting numbering (53 "File not found", 70
// "Permission denied", 76 "Path not found", ...): the low 16 bits of a
// control-facility code, the matching number for the common Windows errors,
// else the code itself. Its description is the object's own text, else the
// conventional wording for that number, else `systemMessage`.
// The tool's own failures, numbered as scripts number them. Their
// descriptions come from the same table as the scripting object's.
enum class ErrorNumber : std::int32_t {
  OutOfMemory = 7,
  InternalError = 51,
  PathFileAccess = 75,
  ObjectNotSet = 91,
  CannotCreateObject = 429,
  NoSuchMethod = 438,
  EntryPointNotFound = 453,
};

// The failure `number` with its conventional description, followed directly
// by `suffix` (which brings its own separator, if any).
Failure StandardFailure(ErrorNumber number, const std::wstring& suffix = {});

// A call to the window system that failed: the platform's own error number
// (from GetLastError) and the name of the call.
Failure PlatformCallFailure(const char* call, std::uint32_t lastError);

// The Failure for the exception being handled, for the places that must not
// let one pass (a window procedure, the program's outermost call): a Failure
// as it is, an allocation failure as "Out of memory" (7), anything else as
// "Internal error" (51). Call it only inside a catch block.
Failure CaughtFailure();

// A failure of the system's own (a Win32 error code, as GetLastError gives
// it), numbered as the scripting object numbers it, with `description`.
Failure SystemErrorFailure(std::uint32_t error, const std::wstring& description);

Failure AutomationFailure(std::int32_t code, const std::wstring& objectDescription, const std::wstring& systemMessage);

}  // namespace qvn
