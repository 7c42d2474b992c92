#include <gtest/gtest.h>

#include "services/ReadRegValue.h"
#include "tests/wine/RegistryFixture.h"

namespace {

const char kVendor[] = "SOFTWARE\\TindlewaySystems";
const char kStartUp[] = "SOFTWARE\\TindlewaySystems\\Quorvane\\StartUp";

std::vector<BYTE> Bytes(const std::string& text) { return std::vector<BYTE>(text.begin(), text.end()); }

struct Case {
  const char* what;
  DWORD type;
  std::vector<BYTE> stored;
  qvn::RegValue expected;
};

TEST(ReadRegValueUnderWine, ReadsTheRealRegistry) {
  const Case cases[] = {
      {"text with a closing separator", REG_SZ, Bytes(std::string("C:\\Apps\\Q\\") + '\0'),
       std::wstring(L"C:\\Apps\\Q\\")},
      {"expandable text", REG_EXPAND_SZ, Bytes(std::string("%SystemRoot%\\Q") + '\0'), qvn::RegValue{}},
      {"number", REG_DWORD, {42, 0, 0, 0}, std::int32_t{42}},
      {"binary", REG_BINARY, {1, 2, 3, 4}, qvn::RegValue{}},
      {"number wider than four bytes", REG_DWORD, {1, 0, 0, 0, 2, 0, 0, 0}, std::int32_t{-1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fixture::DeleteTree(kVendor);
    fixture::SetValue(kStartUp, "twEXE", c.type, c.stored);
    EXPECT_EQ(qvn::ReadRegValue(L"SOFTWARE\\TindlewaySystems\\Quorvane", L"StartUp", L"twEXE"), c.expected);
  }
  fixture::DeleteTree(kVendor);
}

TEST(ReadRegValueUnderWine, MissingKeyYieldsNothing) {
  fixture::DeleteTree(kVendor);
  EXPECT_EQ(qvn::ReadRegValue(L"SOFTWARE\\TindlewaySystems\\Quorvane", L"StartUp", L"twEXE"), qvn::RegValue{});
}

}  // namespace
