#include <gtest/gtest.h>

#include "app/InstallLocation.h"

namespace {

struct Case {
  const char* what;
  qvn::RegValue read;
  std::wstring kept;
};

TEST(InstallLocation, KeepsTheFolderWithoutItsClosingSeparator) {
  const Case cases[] = {
      {"closing separator dropped", std::wstring(L"C:\\Program Files\\Quorvane\\"), L"C:\\Program Files\\Quorvane"},
      {"no separator: kept whole", std::wstring(L"C:\\Apps\\Quorvane"), L"C:\\Apps\\Quorvane"},
      {"only one separator dropped", std::wstring(L"C:\\Apps\\Q\\\\"), L"C:\\Apps\\Q\\"},
      {"drive root trims to the drive", std::wstring(L"C:\\"), L"C:"},
      {"a lone separator becomes empty", std::wstring(L"\\"), L""},
      {"one other character is kept", std::wstring(L"Q"), L"Q"},
      {"nothing read: not-found text", qvn::RegValue{}, L"Quorvane Program location not found..."},
      {"empty text read: not-found text", std::wstring(), L"Quorvane Program location not found..."},
      {"number 7", std::int32_t{7}, L"7"},
      {"failed number read", std::int32_t{-1}, L"-1"},
      {"zero", std::int32_t{0}, L"0"},
      {"largest negative", std::int32_t{INT32_MIN}, L"-2147483648"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(qvn::InstallLocationFrom(c.read), c.kept);
  }
}

}  // namespace
