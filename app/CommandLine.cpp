#include "app/CommandLine.h"

#include <cwctype>
#include <string_view>

namespace qvn {
namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

std::wstring Upper(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towupper(c));
  return text;
}

// Skips the program name: quoted up to the next quote, else up to white space.
std::size_t AfterProgramName(const std::wstring& line) {
  std::size_t at = 0;
  if (!line.empty() && line[0] == L'"') {
    const std::size_t close = line.find(L'"', 1);
    at = close == std::wstring::npos ? line.size() : close + 1;
  }
  while (at < line.size() && !IsBlank(line[at])) ++at;
  return at;
}

// Other installers' silent switches, which administrators type out of habit:
// under a deployment tool a box that nobody can answer would hang it.
bool MeansSilent(const std::wstring& name) {
  for (const wchar_t* alias : {L"S", L"SILENT", L"VERYSILENT", L"QUIET", L"Q", L"QN"}) {
    if (name == alias) return true;
  }
  return false;
}

// Accepted and without effect: the program never restarts without /RESTART
// and never shows a box under /S.
bool ChangesNothing(const std::wstring& name) { return name == L"NORESTART" || name == L"SUPPRESSMSGBOXES"; }

// The first switch given that acts with /S only, when /S is not given; empty
// otherwise.
std::wstring WithoutSilent(const CommandLine& parsed) {
  if (parsed.silent) return {};
  if (parsed.restart) return L"/RESTART";
  if (parsed.closePrograms) return L"/CLOSEAPPLICATIONS";
  if (parsed.removeAtRestart) return L"/REMOVEATRESTART";
  return {};
}

}  // namespace

std::vector<std::wstring> SplitArguments(const std::wstring& commandLine) {
  std::vector<std::wstring> arguments;
  std::size_t at = AfterProgramName(commandLine);
  while (true) {
    while (at < commandLine.size() && IsBlank(commandLine[at])) ++at;
    if (at >= commandLine.size()) break;
    std::wstring argument;
    bool quoted = false;
    while (at < commandLine.size() && (quoted || !IsBlank(commandLine[at]))) {
      std::size_t backslashes = 0;
      while (at < commandLine.size() && commandLine[at] == L'\\') {
        ++backslashes;
        ++at;
      }
      if (at < commandLine.size() && commandLine[at] == L'"') {
        argument.append(backslashes / 2, L'\\');
        if (backslashes % 2 == 1) {
          argument += L'"';
        } else if (quoted && at + 1 < commandLine.size() && commandLine[at + 1] == L'"') {
          argument += L'"';  // "" inside quotes: a literal quote
          ++at;
        } else {
          quoted = !quoted;
        }
        ++at;
      } else {
        argument.append(backslashes, L'\\');
        if (at < commandLine.size() && (quoted || !IsBlank(commandLine[at]))) argument += commandLine[at++];
      }
    }
    arguments.push_back(argument);
  }
  return arguments;
}

CommandLine ParseCommandLine(const std::wstring& commandLine) {
  CommandLine parsed;
  for (const std::wstring& argument : SplitArguments(commandLine)) {
    const bool isSwitch = argument.size() > 1 && (argument[0] == L'/' || argument[0] == L'-');
    const std::wstring name = isSwitch ? Upper(argument.substr(1)) : std::wstring();
    if (MeansSilent(name)) {
      parsed.silent = true;
    } else if (ChangesNothing(name)) {
      continue;
    } else if (name == L"RESTART") {
      parsed.restart = true;
    } else if (name == L"CLOSEAPPLICATIONS") {
      parsed.closePrograms = true;
    } else if (name == L"REMOVEATRESTART") {
      parsed.removeAtRestart = true;
    } else if (name == L"WHATIF") {
      parsed.whatIf = true;
    } else if (name == L"?") {
      parsed.help = true;
    } else if (name.rfind(L"LOG=", 0) == 0 && name.size() > 4) {
      parsed.logPath = argument.substr(5);
    } else if (parsed.invalid.empty()) {
      parsed.invalid = argument;
    }
  }
  if (parsed.invalid.empty()) parsed.invalid = WithoutSilent(parsed);
  return parsed;
}

std::wstring UsageText() {
  // Kept as 8-bit text, in half the room of a wide one: every character is ASCII.
  const std::string_view text =
      "QvnRemove removes Quorvane from this computer.\r\n\r\n"
      "QvnRemove [/S [/RESTART] [/CLOSEAPPLICATIONS] [/REMOVEATRESTART]] [/LOG=<file>] [/WHATIF] [/?]\r\n\r\n"
      "/S\tRemove without any window or message; also /SILENT, /VERYSILENT, /QUIET, /Q, /QN.\r\n"
      "/RESTART\tWith /S: restart the computer afterwards.\r\n"
      "/CLOSEAPPLICATIONS\tWith /S: ask Quorvane to close when it runs, and wait up to 15 seconds for it "
      "to end; if it does not, 1618.\r\n"
      "/REMOVEATRESTART\tWith /S: what stays in use is removed at the next restart, the rest now; 3010.\r\n"
      "/LOG=<file>\tAppend a log of the removal to <file>.\r\n"
      "/WHATIF\tList what would be removed, remove nothing.\r\n"
      "/?\tShow this text.\r\n"
      "/NORESTART, /SUPPRESSMSGBOXES\tAccepted; they change nothing.\r\n\r\n"
      "Exit codes: 0 success, nothing was there; 3010 success, restart needed; "
      "1641 success, restart started; 1618 Quorvane is in use (and did not close, or Windows would not "
      "remove it at restart), nothing removed, "
      "try again later; "
      "1603 failed; 87 invalid argument.";
  return std::wstring(text.begin(), text.end());
}

}  // namespace qvn
