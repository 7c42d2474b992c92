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
Failure AutomationFailure(std::int32_t code, const std::wstring& objectDescription, const std::wstring& systemMessage);

}  // namespace qvn
