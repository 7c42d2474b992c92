#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "services/PlatformTypes.h"

namespace qvn {

// Numbers as the log, the step listings and the failure reports show them.
// Written here rather than with the C library's formatted printing, which
// would link its whole printf engine (wide and narrow, floating point
// included) into the program for a handful of integers.

// The decimal digits of `number`, a minus sign first when negative.
std::wstring DecimalText(std::int32_t number);

// The decimal digits of `number` in groups of three, a comma between them,
// as a count is shown to a person: "10,000".
std::wstring GroupedDecimalText(std::uint64_t number);

// The decimal digits of `number`, zeros in front up to `width` digits; a
// number with more digits than `width` keeps all of them.
std::string ZeroPadded(std::uint32_t number, std::size_t width);

// "YYYY-MM-DD hh:mm:ss", each field zero-padded to its width.
std::string TimestampText(const SYSTEMTIME& time);

}  // namespace qvn
