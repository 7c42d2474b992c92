#include "ui/FailureReport.h"

#include "services/DecimalText.h"

namespace qvn {

FailureReport DescribeFailure(const Failure& failure) {
  std::wstring text = L"QvnRemove stopped because of an error and will now close.\r\n\r\n";
  text += L"Error " + DecimalText(failure.Number()) + L": " + failure.Description();
  if (!failure.Item().empty()) text += L"\r\n\r\nCould not remove: " + failure.Item();
  return {text, L"QvnRemove"};
}

FailureReport DescribeFileInUse(const std::wstring& path) {
  return {L"Quorvane is still in use, so nothing has been removed.\r\n\r\n"
          L"Close Quorvane, then press Retry.\r\n\r\n"
          L"In use: " + path,
          L"QvnRemove"};
}

}  // namespace qvn
