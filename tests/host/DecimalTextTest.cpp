#include <gtest/gtest.h>

#include <climits>

#include "services/DecimalText.h"

namespace {

TEST(DecimalText, GivesTheDigitsWithTheSignOfANegativeNumber) {
  struct Case {
    std::int32_t number;
    const wchar_t* text;
  };
  for (const Case& c : {Case{0, L"0"}, Case{7, L"7"}, Case{10, L"10"}, Case{3010, L"3010"}, Case{-1, L"-1"},
                        Case{-2147024891, L"-2147024891"}, Case{INT32_MAX, L"2147483647"},
                        Case{INT32_MIN, L"-2147483648"}}) {
    SCOPED_TRACE(c.number);
    EXPECT_EQ(qvn::DecimalText(c.number), c.text);
  }
}

TEST(DecimalText, PadsWithZerosAndNeverCuts) {
  struct Case {
    std::uint32_t number;
    std::size_t width;
    const char* text;
  };
  for (const Case& c : {Case{0, 2, "00"}, Case{7, 2, "07"}, Case{59, 2, "59"}, Case{5, 4, "0005"},
                        Case{2026, 4, "2026"}, Case{123, 2, "123"}, Case{0, 1, "0"}, Case{0, 0, "0"},
                        Case{UINT32_MAX, 4, "4294967295"}, Case{42, 12, "000000000042"}}) {
    SCOPED_TRACE(testing::Message() << c.number << " in " << c.width);
    EXPECT_EQ(qvn::ZeroPadded(c.number, c.width), c.text);
  }
}

TEST(DecimalText, GroupsACountInThreesWithCommas) {
  struct Case {
    std::uint64_t number;
    const wchar_t* text;
  };
  for (const Case& c : {Case{0, L"0"}, Case{7, L"7"}, Case{999, L"999"}, Case{1000, L"1,000"}, Case{1200, L"1,200"},
                        Case{10000, L"10,000"}, Case{100001, L"100,001"}, Case{1000000, L"1,000,000"},
                        Case{UINT64_MAX, L"18,446,744,073,709,551,615"}}) {
    SCOPED_TRACE(c.number);
    EXPECT_EQ(qvn::GroupedDecimalText(c.number), c.text);
  }
}

TEST(DecimalText, TimestampIsDateThenTimeEachFieldPadded) {
  struct Case {
    SYSTEMTIME time;
    const char* text;
  };
  for (const Case& c : {Case{{2026, 12, 2, 8, 22, 5, 9, 999}, "2026-12-08 22:05:09"},
                        Case{{1999, 1, 5, 1, 0, 0, 0, 0}, "1999-01-01 00:00:00"},
                        Case{{601, 2, 0, 3, 4, 5, 6, 7}, "0601-02-03 04:05:06"}}) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(qvn::TimestampText(c.time), c.text);
  }
}

}  // namespace
