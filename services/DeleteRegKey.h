#pragma once
#include <cstdint>
#include <string>

namespace qvn {

// What became of one key deletion, for whoever keeps a record of the removal.
struct KeyDeletion {
  enum class Result {
    Deleted,
    NotThere,     // the key (or the key it lies below) did not exist
    SubkeysLeft,  // kept on NT, subkeys being left below it: the tool never deletes keys it does not name
    Refused,      // the registry said no for any other reason (access denied): a failure, the key stays
    Failed,       // a registry function could not be bound
  };
  Result result;
  // Refused: the registry's error code and its meaning; Failed: the Failure's.
  std::int32_t failureNumber = 0;
  std::wstring failureDescription;
};

// Deletes `subkeyName` below `keyPath` (below HKEY_LOCAL_MACHINE), or `keyPath`
// itself when `subkeyName` is empty. Registry refusals are silent. A Failure (a
// registry function that cannot be bound) is answered with an error box naming
// `keyPath`, unless `quiet` (an unattended run, which shows nothing), and the
// call returns normally so that the removal goes on.
KeyDeletion DeleteRegKey(const std::wstring& keyPath, const std::wstring& subkeyName, bool quiet = false);

}  // namespace qvn
