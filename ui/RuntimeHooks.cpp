// The C++ runtime's last-resort paths, replaced for this program only.
//
// The runtime's own versions format messages: the terminate handler prints the
// exception's demangled type, a failed library assertion prints file and line,
// and the length and logic errors build std::logic_error from a second string
// implementation. Together they would be half of this program's size, for
// paths it never takes in normal use. Here a container or string that cannot
// grow raises the program's own failure, which the window that was running
// reports like any other; a broken library invariant or an exception that
// escaped every window procedure ends the program at once.

#include <bits/functexcept.h>

#include <cstdlib>

#include "services/AutomationError.h"

using qvn::ErrorNumber;
using qvn::StandardFailure;

namespace std {

void __throw_bad_alloc() { throw StandardFailure(ErrorNumber::OutOfMemory); }
void __throw_bad_array_new_length() { throw StandardFailure(ErrorNumber::OutOfMemory); }
void __throw_length_error(const char*) { throw StandardFailure(ErrorNumber::OutOfMemory); }
void __throw_logic_error(const char*) { throw StandardFailure(ErrorNumber::InternalError); }
void __throw_out_of_range(const char*) { throw StandardFailure(ErrorNumber::InternalError); }
void __throw_out_of_range_fmt(const char*, ...) { throw StandardFailure(ErrorNumber::InternalError); }
void __throw_bad_function_call() { throw StandardFailure(ErrorNumber::InternalError); }

void __glibcxx_assert_fail(const char*, int, const char*, const char*) noexcept { std::abort(); }

}  // namespace std

namespace __gnu_cxx {

void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx
