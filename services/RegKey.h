#pragma once
#include <string>

#include "services/PlatformTypes.h"
#include "services/UniqueHandle.h"

namespace qvn {

struct CloseRegKey {
  void operator()(HKEY key) const;
};

// A registry key handle, closed on every path out. A failed open leaves the
// handle 0; every registry function then fails on it without effect, which
// the callers rely on.
using RegKey = UniqueHandle<HKEY, CloseRegKey>;

// The access the tool asks for on the keys it reads and deletes: query, set,
// create subkey, enumerate, notify, create link; no standard rights.
inline constexpr REGSAM kToolKeyAccess = 0x3F;

// Opens `path` below HKEY_LOCAL_MACHINE with the tool's access; the open's
// result is not examined, only passed on in `result` when asked for.
RegKey OpenLocalMachineKey(const std::wstring& path, LONG* result = nullptr);

// Opens `path` below `root` for reading only, which a limited user may do
// where the tool's access is refused, in the registry view `view` asks for
// (KEY_WOW64_64KEY) or the program's own; the open's result is not examined.
RegKey OpenKeyForReading(HKEY root, const std::wstring& path, REGSAM view = 0);

// Closes the key now, the 0 handle of a failed open included (as the platform
// allows); raises Failure when the close function cannot be bound.
void CloseKey(RegKey& key);

}  // namespace qvn
