#pragma once
#include <string>

#include "services/Failure.h"

namespace qvn {

struct FailureReport {
  std::wstring text;
  std::wstring title;
};

// What the user reads when a failure ends the program: the failure's number
// and description and, where known, the item that could not be removed.
FailureReport DescribeFailure(const Failure& failure);

// What the user reads when a file the removal would delete is in use, before
// anything is removed: that nothing was removed, what to do, and the file.
FailureReport DescribeFileInUse(const std::wstring& path);

}  // namespace qvn
