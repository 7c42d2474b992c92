#pragma once
#include <string>

namespace qvn {

// Deletes `subkeyName` below `keyPath` (below HKEY_LOCAL_MACHINE), or `keyPath`
// itself when `subkeyName` is empty. Registry refusals are silent; whether the
// key existed or went is not examined. A Failure (a registry function that
// cannot be bound) is answered with an error box naming `keyPath`, and the call
// returns normally so that the removal goes on.
void DeleteRegKey(const std::wstring& keyPath, const std::wstring& subkeyName);

}  // namespace qvn
