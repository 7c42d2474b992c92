#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>

#include "services/AutomationError.h"

namespace {

struct Case {
  const char* what;
  std::uint32_t code;
  std::wstring objectText;
  std::int32_t number;
  std::wstring description;
};

TEST(AutomationFailure, NumbersAndWordsTheObjectsErrors) {
  const Case cases[] = {
      {"control facility: permission denied", 0x800A0046, L"", 70, L"Permission denied"},
      {"control facility: file not found", 0x800A0035, L"", 53, L"File not found"},
      {"control facility: path not found", 0x800A004C, L"", 76, L"Path not found"},
      {"object's own text wins", 0x800A0046, L"Access is denied by policy", 70, L"Access is denied by policy"},
      {"win32 access denied", 0x80070005, L"", 70, L"Permission denied"},
      {"win32 sharing violation", 0x80070020, L"", 70, L"Permission denied"},
      {"win32 file not found", 0x80070002, L"", 53, L"File not found"},
      {"win32 path not found", 0x80070003, L"", 76, L"Path not found"},
      {"unmapped code keeps its number and the system's words", 0x80004005, L"", static_cast<std::int32_t>(0x80004005),
       L"system says"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const qvn::Failure failure =
        qvn::AutomationFailure(static_cast<std::int32_t>(c.code), c.objectText, L"system says");
    EXPECT_EQ(failure.Number(), c.number);
    EXPECT_EQ(failure.Description(), c.description);
  }
}

TEST(AutomationFailure, NeverLeavesTheDescriptionEmpty) {
  const qvn::Failure failure = qvn::AutomationFailure(0x12345, L"", L"");
  EXPECT_EQ(failure.Number(), 0x12345);
  EXPECT_FALSE(failure.Description().empty());
}

TEST(CaughtFailure, NumbersWhatEverReachesABarrier) {
  struct Thrown {
    const char* what;
    std::function<void()> raise;
    std::int32_t number;
    std::wstring description;
    std::wstring item;
  };
  const Thrown cases[] = {
      {"a failure keeps its number, words and item",
       [] { throw qvn::Failure(70, L"Permission denied").WithItem(L"C:\\Q"); }, 70, L"Permission denied", L"C:\\Q"},
      {"no memory", [] { throw std::bad_alloc(); }, 7, L"Out of memory", L""},
      {"a library's own exception", [] { throw std::out_of_range("at"); }, 51, L"Internal error", L""},
      {"anything else", [] { throw 42; }, 51, L"Internal error", L""},
  };
  for (const Thrown& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      c.raise();
      FAIL() << "nothing was thrown";
    } catch (...) {
      const qvn::Failure failure = qvn::CaughtFailure();
      EXPECT_EQ(failure.Number(), c.number);
      EXPECT_EQ(failure.Description(), c.description);
      EXPECT_EQ(failure.Item(), c.item);
    }
  }
}

}  // namespace
