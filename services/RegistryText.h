#pragma once
#include <string>
#include <vector>

#include "services/PlatformTypes.h"

namespace qvn {

// Reads of the system's own settings, which the tool only looks at. The key is
// opened for reading only, so a limited user gets the same answers as an
// administrator. Registry refusals are silent and give nothing.

// The text of `valueName` under `root`\`path`; empty when it is missing or no
// REG_SZ.
std::wstring ReadTextValue(HKEY root, const std::wstring& path, const std::wstring& valueName);

// The texts of every REG_SZ value under `root`\`path`, in the registry's order.
std::vector<std::wstring> ReadTextValues(HKEY root, const std::wstring& path);

// Whether the key `path` below HKEY_LOCAL_MACHINE exists (opened for reading).
bool LocalMachineKeyExists(const std::wstring& path);

}  // namespace qvn
