#include <gtest/gtest.h>

#include "services/Text.h"
#include "tests/fakes/SimulatedPlatform.h"

namespace {

// Text given to an 8-bit function or shown in 8-bit text (the log, the
// windows): what the code page cannot spell is a question mark, which no file
// name holds, never the look-alike Windows' best fit puts in its place
// ("\u0141ukasz" must not read "Lukasz", another folder's name).
TEST(ToAnsi, WhatTheCodePageCannotSpellIsAQuestionMark) {
  struct Case {
    const char* what;
    std::wstring text;
    std::string expected;
  };
  const Case cases[] = {
      {"in the code page", L"C:\\Caf\u00e9", "C:\\Caf\xE9"},
      {"a letter with a look-alike", L"C:\\Apps\\\u0141ukasz\\\u0142", "C:\\Apps\\?ukasz\\?"},
      {"letters with none", L"C:\\\u041a\u0432", "C:\\??"},
      {"a character of two units is one", std::wstring{L'A', wchar_t(0xD83D), wchar_t(0xDE00), L'B'}, "A?B"},
      {"nothing", L"", ""},
  };
  SimulatedPlatform platform;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(qvn::ToAnsi(c.text), c.expected);
  }
}

}  // namespace
