#pragma once
// The window functions a long task calls to keep its window alive: its
// label's text, and the reason a shutdown is held back. Bound by library and
// entry-point name at their first call like those of PlatformApi.h; the
// shutdown reason exists on Vista and later only. The message queue's own
// functions are ProcessApi.h's.

#include "services/ProcessApi.h"

namespace qvn::api {

using SetWindowTextAFn = BOOL(WINAPI*)(HWND window, LPCSTR text);
using GetWindowTextAFn = int(WINAPI*)(HWND window, LPSTR text, int room);
using ShutdownBlockReasonCreateFn = BOOL(WINAPI*)(HWND window, LPCWSTR reason);
using ShutdownBlockReasonDestroyFn = BOOL(WINAPI*)(HWND window);

inline const BoundFunction<SetWindowTextAFn> SetWindowTextA{"user32.dll", "SetWindowTextA"};
inline const BoundFunction<GetWindowTextAFn> GetWindowTextA{"user32.dll", "GetWindowTextA"};
// Vista and later.
inline const BoundFunction<ShutdownBlockReasonCreateFn> ShutdownBlockReasonCreate{"user32.dll",
                                                                                   "ShutdownBlockReasonCreate"};
inline const BoundFunction<ShutdownBlockReasonDestroyFn> ShutdownBlockReasonDestroy{"user32.dll",
                                                                                     "ShutdownBlockReasonDestroy"};

}  // namespace qvn::api
