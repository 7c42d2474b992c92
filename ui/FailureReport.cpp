#include "ui/FailureReport.h"

#include "services/DecimalText.h"

namespace qvn {

FailureReport DescribeFailure(const Failure& failure) {
  std::wstring text = L"QvnRemove stopped because of an error and will now close.\r\n\r\n";
  text += L"Error " + DecimalText(failure.Number()) + L": " + failure.Description();
  if (!failure.Item().empty()) text += L"\r\n\r\nCould not remove: " + failure.Item();
  return {text, L"QvnRemove"};
}

std::wstring DescribeInUse(const InUse& found) {
  std::wstring text = L"Quorvane is still in use, so nothing has been removed.\r\n\r\nIn use: " + found.path;
  for (const RunningProgram& program : found.programs) text += L"\r\nRunning: " + program.file;
  text += L"\r\n\r\n";
  if (!found.restartRefusal.empty()) text += L"Remove at Restart: " + found.restartRefusal + L".\r\n\r\n";
  if (!found.programs.empty()) {
    text += L"Close Quorvane asks it to close, as its own close box would, waits for it to end and looks "
            L"again. It may first ask you to save your work.\r\n";
  }
  return text +
         L"Remove at Restart removes everything else now, and what is in use when the computer restarts.\r\n"
         L"Retry looks again once you have closed Quorvane yourself.\r\n"
         L"Cancel removes nothing.";
}

}  // namespace qvn
