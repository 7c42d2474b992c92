#pragma once
#include <string>

namespace qvn {

// This computer's (NetBIOS) name, as GetComputerNameA gives it; empty when the
// system will not tell it. Never raises.
std::wstring ComputerName() noexcept;

}  // namespace qvn
