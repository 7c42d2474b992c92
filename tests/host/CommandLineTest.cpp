#include <gtest/gtest.h>

#include "app/CommandLine.h"
#include "app/ExitCode.h"

namespace {

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

TEST(CommandLine, SplitsByThePlatformsRules) {
  struct Case {
    const wchar_t* line;
    std::vector<std::wstring> arguments;
  };
  const Case cases[] = {
      {L"QvnRemove.exe", {}},
      {L"\"C:\\Program Files\\Tools\\QvnRemove.exe\" /S", {L"/S"}},
      {L"C:\\Tools\\QvnRemove.exe   /S\t/RESTART ", {L"/S", L"/RESTART"}},
      {L"QvnRemove.exe /LOG=\"C:\\logs\\qvn remove.log\" /S", {L"/LOG=C:\\logs\\qvn remove.log", L"/S"}},
      {L"QvnRemove.exe \"/LOG=C:\\a b\\x.log\"", {L"/LOG=C:\\a b\\x.log"}},
      {L"QvnRemove.exe a\\\\\\\"b \"c\\\\\" d", {L"a\\\"b", L"c\\", L"d"}},
      {L"QvnRemove.exe \"\"", {L""}},
      {L"\"C:\\a b\\QvnRemove.exe\"/S", {}},  // the program name runs to the white space
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.line));
    EXPECT_EQ(qvn::SplitArguments(c.line), c.arguments);
  }
}

TEST(CommandLine, ReadsEverySwitchInAnyCaseAndOrder) {
  struct Case {
    const wchar_t* line;
    bool silent, restart, whatIf, help, closePrograms;
    const wchar_t* log;      // null: none
    const wchar_t* invalid;  // empty: all understood
  };
  const Case cases[] = {
      {L"q.exe", false, false, false, false, false, nullptr, L""},
      {L"q.exe /S", true, false, false, false, false, nullptr, L""},
      {L"q.exe -s", true, false, false, false, false, nullptr, L""},
      {L"q.exe /restart /s", true, true, false, false, false, nullptr, L""},
      {L"q.exe /WhatIf", false, false, true, false, false, nullptr, L""},
      {L"q.exe /?", false, false, false, true, false, nullptr, L""},
      {L"q.exe -? /S", true, false, false, true, false, nullptr, L""},
      {L"q.exe /log=\"C:\\logs\\qvn remove.log\" /s", true, false, false, false, false, L"C:\\logs\\qvn remove.log",
       L""},
      {L"q.exe /LOG=C:\\Q.log", false, false, false, false, false, L"C:\\Q.log", L""},
      // Other installers' silent switches mean /S; /NORESTART and /SUPPRESSMSGBOXES change nothing.
      {L"q.exe /quiet /norestart", true, false, false, false, false, nullptr, L""},
      {L"q.exe /VERYSILENT /SUPPRESSMSGBOXES", true, false, false, false, false, nullptr, L""},
      {L"q.exe -Silent", true, false, false, false, false, nullptr, L""},
      {L"q.exe /q", true, false, false, false, false, nullptr, L""},
      {L"q.exe /QN /RESTART", true, true, false, false, false, nullptr, L""},
      {L"q.exe /norestart", false, false, false, false, false, nullptr, L""},
      // Not understood.
      {L"q.exe /RESTART", false, true, false, false, false, nullptr, L"/RESTART"},
      {L"q.exe /LOG=", false, false, false, false, false, nullptr, L"/LOG="},
      {L"q.exe /LOG", false, false, false, false, false, nullptr, L"/LOG"},
      {L"q.exe /S /quiets", true, false, false, false, false, nullptr, L"/quiets"},
      {L"q.exe /NORESTART /RESTART", false, true, false, false, false, nullptr, L"/RESTART"},
      {L"q.exe S", false, false, false, false, false, nullptr, L"S"},
      {L"q.exe /", false, false, false, false, false, nullptr, L"/"},
      {L"q.exe /SS", false, false, false, false, false, nullptr, L"/SS"},
      // /CLOSEAPPLICATIONS with /S only, as /RESTART.
      {L"q.exe /S /CloseApplications", true, false, false, false, true, nullptr, L""},
      {L"q.exe /WHATIF /S /RESTART -closeapplications", true, true, true, false, true, nullptr, L""},
      {L"q.exe /CLOSEAPPLICATIONS", false, false, false, false, true, nullptr, L"/CLOSEAPPLICATIONS"},
      {L"q.exe /WHATIF /CLOSEAPPLICATIONS", false, false, true, false, true, nullptr, L"/CLOSEAPPLICATIONS"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.line));
    const qvn::CommandLine parsed = qvn::ParseCommandLine(c.line);
    EXPECT_EQ(parsed.silent, c.silent);
    EXPECT_EQ(parsed.restart, c.restart);
    EXPECT_EQ(parsed.whatIf, c.whatIf);
    EXPECT_EQ(parsed.help, c.help);
    EXPECT_EQ(parsed.closePrograms, c.closePrograms);
    EXPECT_EQ(parsed.logPath.value_or(L"(none)"), c.log != nullptr ? c.log : L"(none)");
    EXPECT_EQ(parsed.invalid, c.invalid);
  }
}

TEST(ExitCode, FollowsTheDeploymentToolsConvention) {
  using Kind = qvn::RunEnding::Kind;
  struct Case {
    Kind kind;
    bool unattended, removed, restarted;
    int code;
  };
  const Case cases[] = {
      {Kind::Finished, false, false, false, 0},    {Kind::Finished, false, true, false, 0},
      {Kind::Failed, false, false, false, 1},      {Kind::InvalidArguments, false, false, false, 87},
      {Kind::Listed, false, false, false, 0},      {Kind::Finished, true, false, false, 0},
      {Kind::Finished, true, true, false, 3010},   {Kind::Finished, true, true, true, 1641},
      {Kind::Failed, true, true, false, 1603},     {Kind::Failed, true, false, false, 1603},
      {Kind::FileInUse, true, false, false, 1618}, {Kind::InvalidArguments, true, false, false, 87},
      {Kind::Listed, true, false, false, 0},      {Kind::AnotherRunRemoves, true, false, false, 1618},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << static_cast<int>(c.kind) << " unattended " << c.unattended << " removed "
                                    << c.removed << " restarted " << c.restarted);
    qvn::RunEnding ending;
    ending.kind = c.kind;
    ending.unattended = c.unattended;
    ending.anythingRemoved = c.removed;
    ending.restartStarted = c.restarted;
    EXPECT_EQ(qvn::ExitCode(ending), c.code);
  }
}

}  // namespace
