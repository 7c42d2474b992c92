#pragma once
#include <string>

#include "services/PlatformTypes.h"
#include "services/RegValue.h"

namespace qvn {

// Reads `valueName` from the subkey `subkeyName` of `settingsKey` below
// HKEY_LOCAL_MACHINE. Registry failures are silent: a missing key or value, or
// a type other than REG_SZ and REG_DWORD, yields nothing; a text whose read
// fails yields the empty text; a number whose read fails yields -1. Raises
// Failure only when a platform function cannot be bound; the key is closed on
// every path. On the NT family the text is read as it is kept, in UTF-16,
// so that a name outside the code page arrives whole.
RegValue ReadRegValue(const std::wstring& settingsKey, const std::wstring& subkeyName,
                      const std::wstring& valueName);

// Reads `valueName` from an open key (or the 0 handle of a failed open) by the
// same rules.
RegValue QueryValue(HKEY key, const std::wstring& valueName);

}  // namespace qvn
