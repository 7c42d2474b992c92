// Read before every source of the Windows builds (-include). The C++
// library's own assertions stay on: every index into a string or container
// is checked. A failed one ends the program at once, as it always has (see
// ui/RuntimeHooks.cpp), but without the file, function and condition texts
// that each checked call would otherwise carry into the executable, several
// kilobytes of them that the program never shows.
#pragma once
#include <bits/c++config.h>

#ifdef _GLIBCXX_ASSERTIONS
#undef __glibcxx_assert_impl
#define __glibcxx_assert_impl(_Condition)        \
  if (__builtin_expect(!bool(_Condition), false)) { \
    __glibcxx_constexpr_assert(false);            \
    __builtin_abort();                            \
  }
#endif
