#pragma once
#include <string>
#include <variant>
#include <vector>

namespace qvn {

// An argument to, or the result of, a method called by name.
using AutomationValue = std::variant<std::monostate, bool, std::wstring>;

// A scripting object whose methods are called by name, as a script would call
// them. Every failure of a call is raised as a Failure.
class AutomationObject {
 public:
  virtual ~AutomationObject() = default;
  virtual AutomationValue Call(const std::wstring& method, const std::vector<AutomationValue>& args) = 0;
};

}  // namespace qvn
