#pragma once
#include <string>

#include "services/FunctionRef.h"
#include "services/PlatformTypes.h"

namespace qvn {

// The file functions a walk of the targets needs, in the form the running
// family names its files with. The NT family keeps names in Unicode, and a
// name outside the system's code page reaches an 8-bit function as question
// marks, which name nothing: there the wide forms are used. 95/98/ME keep
// every name in the code page and lack most wide forms: there the 8-bit ones.
class FileCalls {
 public:
  explicit FileCalls(bool wide) : wide_(wide) {}

  // The entry's attributes; INVALID_FILE_ATTRIBUTES when it is not there.
  DWORD Attributes(const std::wstring& path) const;

  // Opens the entry and closes it again at once; the platform's error when
  // the open fails, ERROR_SUCCESS when it succeeds.
  DWORD OpenError(const std::wstring& path, DWORD access, DWORD sharing, DWORD flags) const;

  // Removes an empty folder, or a folder link by itself; the platform's error
  // when it cannot, ERROR_SUCCESS when it did.
  DWORD RemoveFolder(const std::wstring& path) const;

  // Hands each entry of `folder` to `each` (its name and attributes, "." and
  // ".." left out) until `each` answers false. Returns ERROR_NO_MORE_FILES
  // once the folder was listed to its end or `each` stopped it, else the error
  // that kept it from being listed.
  using EachEntry = FunctionRef<bool(const std::wstring& name, DWORD attributes)>;
  DWORD List(const std::wstring& folder, const EachEntry& each) const;

 private:
  bool wide_;
};

}  // namespace qvn
