#pragma once
#include <memory>
#include <string>

#include "services/AutomationObject.h"

namespace qvn {

// Makes a COM object from its programmatic identifier and calls its methods by
// name through IDispatch. COM stays initialised on this thread while any such
// object lives. Raises Failure when the object cannot be made.
std::unique_ptr<AutomationObject> CreateComObject(const std::wstring& progId);

}  // namespace qvn
