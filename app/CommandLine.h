#pragma once
#include <optional>
#include <string>
#include <vector>

namespace qvn {

// What the program was asked to do from its command line. With no switch it
// is the interactive program, exactly as without a command line.
struct CommandLine {
  bool silent = false;   // /S: no window, no message box, ever
  bool restart = false;  // /RESTART, with /S only: restart at the end
  // /CLOSEAPPLICATIONS, with /S only: ask running programs inside what is
  // removed to close before giving up for something in use
  bool closePrograms = false;
  // /REMOVEATRESTART, with /S only: leave what stays in use for the restart
  // and remove the rest, instead of giving up for it
  bool removeAtRestart = false;
  bool whatIf = false;   // /WHATIF: list the steps, remove nothing
  bool help = false;     // /?: list the switches and exit codes
  std::optional<std::wstring> logPath;  // /LOG=<path>: append a log there
  // The first argument not understood, as given; empty when all were.
  std::wstring invalid;
};

// The arguments of a full command line (program name first, left out of the
// result), split by the platform's rules: white space separates; double
// quotes group, also inside an argument ("/LOG=\"C:\a b\""); a backslash is
// literal unless a run of them precedes a quote, where each pair gives one
// backslash and an odd one makes the quote literal. The program name ends at
// its closing quote or first white space, with no escapes.
std::vector<std::wstring> SplitArguments(const std::wstring& commandLine);

// Reads the switches of a full command line: "/" or "-" then the name, in any
// case and order. /RESTART, /CLOSEAPPLICATIONS or /REMOVEATRESTART without /S, an empty /LOG=,
// and anything else not listed are not understood.
CommandLine ParseCommandLine(const std::wstring& commandLine);

// The text /? shows, and that an interactive run shows after an argument it
// did not understand.
std::wstring UsageText();

}  // namespace qvn
