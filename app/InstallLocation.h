#pragma once
#include <string>

#include "services/RegValue.h"

namespace qvn {

// Shown and stored when the registry names no install folder.
inline const wchar_t kLocationNotFound[] = L"Quorvane Program location not found...";

// The install folder as the tool keeps it: the value read as text, without a
// closing backslash; the not-found text when the read yields nothing at all.
std::wstring InstallLocationFrom(const RegValue& value);

}  // namespace qvn
