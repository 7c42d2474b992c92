#include <gtest/gtest.h>

#include "services/Failure.h"
#include "services/ReadRegValue.h"
#include "tests/fakes/SimulatedPlatform.h"

namespace {

const std::wstring kSettings = L"SOFTWARE\\TindlewaySystems\\Quorvane";
const std::string kStartUp = "SOFTWARE\\TindlewaySystems\\Quorvane\\StartUp";

qvn::RegValue Read(const std::wstring& value = L"twEXE") { return qvn::ReadRegValue(kSettings, L"StartUp", value); }

std::vector<BYTE> Bytes(const std::string& text) { return std::vector<BYTE>(text.begin(), text.end()); }

// Text as the NT family stores it: UTF-16, low byte first.
std::vector<BYTE> Utf16(const std::wstring& text) {
  std::vector<BYTE> bytes;
  for (wchar_t c : text) bytes.insert(bytes.end(), {static_cast<BYTE>(c & 0xFF), static_cast<BYTE>(c >> 8)});
  return bytes;
}

std::vector<BYTE> Joined(std::vector<BYTE> bytes, const std::vector<BYTE>& more) {
  bytes.insert(bytes.end(), more.begin(), more.end());
  return bytes;
}

// Each family reads the value with its own form of the query: the NT family
// the wide one, which hands the text over as it is kept.
struct Family {
  const char* name;
  DWORD platformId;
  const char* query;
};
const Family kFamilies[] = {{"NT", 2, "RegQueryValueExW"}, {"95/98/ME", 1, "RegQueryValueExA"}};

struct Case {
  const char* what;
  DWORD type;
  std::vector<BYTE> stored;
  qvn::RegValue expected;
};

TEST(ReadRegValue, YieldsWhatTheValueHolds) {
  const Case cases[] = {
      {"text with its terminator", REG_SZ, Bytes(std::string("C:\\Apps\\Q\\") + '\0'), std::wstring(L"C:\\Apps\\Q\\")},
      {"text without a terminator keeps every byte", REG_SZ, Bytes("C:\\Apps\\Q"), std::wstring(L"C:\\Apps\\Q")},
      {"text is cut at its first terminator", REG_SZ, Bytes(std::string("C:\\A") + '\0' + "junk" + '\0'),
       std::wstring(L"C:\\A")},
      {"text of size 0 is empty", REG_SZ, {}, std::wstring()},
      {"terminator only is empty", REG_SZ, {0}, std::wstring()},
      {"8-bit characters convert in the code page", REG_SZ, Bytes(std::string("C:\\Caf\xE9") + '\0'),
       std::wstring(L"C:\\Caf\u00e9")},
      {"number", REG_DWORD, {42, 0, 0, 0}, std::int32_t{42}},
      {"negative number", REG_DWORD, {0xFE, 0xFF, 0xFF, 0xFF}, std::int32_t{-2}},
      {"number wider than its cell fails its read", REG_DWORD, {1, 0, 0, 0, 9, 9, 9, 9}, std::int32_t{-1}},
      {"expandable text is not read", REG_EXPAND_SZ, Bytes(std::string("%ProgramFiles%") + '\0'), qvn::RegValue{}},
      {"binary is not read", REG_BINARY, {1, 2, 3}, qvn::RegValue{}},
  };
  for (const Family& family : kFamilies) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << family.name << ": " << c.what);
      SimulatedPlatform platform;
      platform.RunAs(family.platformId, 5, 0);
      platform.registry.SetValue(kStartUp, "twEXE", c.type, c.stored);
      EXPECT_EQ(Read(), c.expected);
      EXPECT_EQ(platform.registry.OpenHandles(), 0u);
    }
  }
}

// The NT family keeps the value in UTF-16 and the tool reads it so: a name
// the code page cannot spell arrives whole, never as the look-alike or the
// question marks of an 8-bit read. Its size counts bytes, and an odd count
// ends in half a character, which is dropped.
TEST(ReadRegValue, NtFamilyReadsTheTextAsItIsKept) {
  const Case cases[] = {
      {"a name the code page cannot spell", REG_SZ, Utf16(std::wstring(L"C:\\Apps\\\u0141ukasz\\") + L'\0'),
       std::wstring(L"C:\\Apps\\\u0141ukasz\\")},
      {"without a terminator", REG_SZ, Utf16(L"C:\\\u0416"), std::wstring(L"C:\\\u0416")},
      {"an odd count of bytes", REG_SZ, Joined(Utf16(L"C:\\Q"), {'x'}), std::wstring(L"C:\\Q")},
      {"cut at its first terminator", REG_SZ, Utf16(std::wstring(L"C:\\A") + L'\0' + L"junk"), std::wstring(L"C:\\A")},
      {"expandable text is still not read", REG_EXPAND_SZ, Utf16(std::wstring(L"%ProgramFiles%") + L'\0'),
       qvn::RegValue{}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SimulatedPlatform platform;
    platform.registry.SetWideValue(kStartUp, "twEXE", c.type, c.stored);
    EXPECT_EQ(Read(), c.expected);
    EXPECT_EQ(platform.registry.OpenHandles(), 0u);
  }
}

TEST(ReadRegValue, MissingKeyOrValueYieldsNothing) {
  SimulatedPlatform platform;
  EXPECT_EQ(Read(), qvn::RegValue{});
  platform.registry.CreateKey(kStartUp);
  EXPECT_EQ(Read(), qvn::RegValue{});
  EXPECT_EQ(platform.registry.OpenHandles(), 0u);
}

TEST(ReadRegValue, NamesCompareWithoutCaseAndTheAccessIsTheSixKeyRights) {
  SimulatedPlatform platform;
  platform.registry.SetString("software\\tindlewaysystems\\QUORVANE\\startup", "TWEXE", "C:\\Q\\");
  EXPECT_EQ(Read(), qvn::RegValue(std::wstring(L"C:\\Q\\")));
  EXPECT_EQ(platform.registry.LastAccessAsked(), 0x3Fu);
}

// The second query, which reads the value, fails: a text gives the empty
// text, a number -1. A value that grew since the first query learned its size
// is refused with ERROR_MORE_DATA rather than written past the buffer.
TEST(ReadRegValue, FailedSecondQueryGivesEmptyTextOrMinusOne) {
  struct Failed {
    const char* what;
    bool number;
    LONG error;
    qvn::RegValue expected;
  };
  const Failed cases[] = {
      {"text refused", false, ERROR_ACCESS_DENIED, std::wstring()},
      {"number refused", true, ERROR_ACCESS_DENIED, std::int32_t{-1}},
      {"text grown between the queries", false, ERROR_MORE_DATA, std::wstring()},
  };
  for (const Family& family : kFamilies) {
    for (const Failed& c : cases) {
      SCOPED_TRACE(testing::Message() << family.name << ": " << c.what);
      SimulatedPlatform platform;
      platform.RunAs(family.platformId, 5, 0);
      if (c.number) {
        platform.registry.SetDword(kStartUp, "twEXE", 42);
      } else {
        platform.registry.SetString(kStartUp, "twEXE", "C:\\Q\\");
      }
      platform.FailCall(family.query, 2, c.error);
      EXPECT_EQ(Read(), c.expected);
      EXPECT_EQ(platform.registry.OpenHandles(), 0u);
    }
  }
}

TEST(ReadRegValue, RefusedOpenIsSilentAndClosesNothingItDidNotOpen) {
  SimulatedPlatform platform;
  platform.registry.SetString(kStartUp, "twEXE", "C:\\Q\\");
  platform.registry.DenyAccess(kStartUp);
  EXPECT_EQ(Read(), qvn::RegValue{});
  EXPECT_EQ(platform.CallCount("RegCloseKey"), 1);  // on the 0 handle, as the platform allows
  EXPECT_EQ(platform.registry.OpenHandles(), 0u);
}

TEST(ReadRegValue, UnboundRegistryRaisesAndLeavesNoHandleOpen) {
  for (const Family& family : kFamilies) {
    SCOPED_TRACE(family.name);
    SimulatedPlatform platform;
    platform.RunAs(family.platformId, 5, 0);
    platform.registry.SetString(kStartUp, "twEXE", "C:\\Q\\");
    platform.WithholdEntryPoint(family.query);
    try {
      Read();
      FAIL() << "expected a Failure";
    } catch (const qvn::Failure& failure) {
      EXPECT_EQ(failure.Number(), 453);
      const std::string query = family.query;
      EXPECT_NE(failure.Description().find(std::wstring(query.begin(), query.end())), std::wstring::npos);
    }
    EXPECT_EQ(platform.registry.OpenHandles(), 0u);
  }
}

}  // namespace
