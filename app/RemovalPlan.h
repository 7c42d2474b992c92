#pragma once
#include <string>
#include <vector>

#include "app/ToolState.h"

namespace qvn {

struct RemovalStep {
  enum class Action {
    DeletePath,           // first: path, second: "file" or "folder"
    DeleteInstallFolder,  // as DeletePath, for the folder named by the registry
    DeleteRegKey,         // first: key path, second: subkey name, empty for the key itself
  };
  Action action;
  std::wstring first;
  std::wstring second;
};

// The removal, in the order it runs: the shell items (each at its fixed path,
// then where the system reports it when that differs) and install folder first,
// then the uninstall entry, the settings key's four subkeys and the settings
// key itself. The vendor key and any subkey not named here stay.
std::vector<RemovalStep> RemovalPlan(const ToolState& state);

}  // namespace qvn
