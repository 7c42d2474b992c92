#pragma once

namespace qvn {

// How a run ended, for the exit code that deployment tools read.
struct RunEnding {
  enum class Kind {
    Finished,          // the windows closed, or the unattended removal ran to its end
    InvalidArguments,  // nothing read or removed
    Failed,            // a failure stopped the start-up or the removal, or a step failed
    FileInUse,         // an unattended run found a file or folder in use: nothing removed
    AnotherRunRemoves, // an unattended run found another run removing: nothing removed
    Listed,            // /WHATIF or /?: nothing removed
  };
  Kind kind = Kind::Finished;
  bool unattended = false;       // /S
  bool anythingRemoved = false;  // of an unattended removal
  bool restartStarted = false;   // /S /RESTART, and the system accepted
};

// The program's exit code: 87 invalid parameter; 1618 in use, or another
// run removing (deployment tools retry that one later by themselves); a failure 1603
// unattended, 1 interactive (as the failure report has always ended); an
// unattended removal 1641 when it started the restart, 3010 when it removed
// anything, else 0; an interactive run that closed its windows 0.
int ExitCode(const RunEnding& ending);

}  // namespace qvn
