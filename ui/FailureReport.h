#pragma once
#include <string>

#include "app/RemoveWhenNotInUse.h"
#include "services/Failure.h"

namespace qvn {

struct FailureReport {
  std::wstring text;
  std::wstring title;
};

// What the user reads when a failure ends the program: the failure's number
// and description and, where known, the item that could not be removed.
FailureReport DescribeFailure(const Failure& failure);

// What the in-use prompt says before anything is removed: that nothing was
// removed, the file or folder in use, the running programs inside what is
// removed (which the prompt then offers to close), and what each choice does.
std::wstring DescribeInUse(const InUse& found);

}  // namespace qvn
