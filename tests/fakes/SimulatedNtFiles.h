#pragma once
#include "services/Binder.h"

// The native file calls of ntdll, simulated over the simulated drive, as
// small as the removal by handles needs: relative opens with Windows'
// sharing rules, a folder's listing, the attribute tag, attributes, the delete
// mark (the POSIX form only where the platform says Windows 10) and renames.
// Null for a call it does not simulate.
qvn::Binder::Address BindNtCall(const char* name);
