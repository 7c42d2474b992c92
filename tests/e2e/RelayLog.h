#pragma once
#include <string>
#include <vector>

#include <windows.h>

// Wine's relay trace of the program, as the runner collects it: the calls of
// the entry points it names in HKCU\Software\Wine\Debug\RelayInclude, made by
// the program's main thread.
namespace e2e {

inline const char kRelayEnvironment[] = "WINEDEBUG=+relay";

// Where the log ends now: calls are read from here on.
long long RelayLogEnd();

// "user32.ExitWindowsEx(00000002,00000000)"-style call lines made by the
// thread after `since`, in order.
std::vector<std::string> RelayedCalls(DWORD threadId, long long since);

}  // namespace e2e
