#include "ui/FailureReport.h"

#include "services/Concat.h"
#include "services/DecimalText.h"

namespace qvn {

FailureReport DescribeFailure(const Failure& failure) {
  const bool named = !failure.Item().empty();
  return {Concat({L"QvnRemove stopped because of an error and will now close.\r\n\r\nError ",
                  DecimalText(failure.Number()), L": ", failure.Description(),
                  named ? TextPiece(L"\r\n\r\nCould not remove: ") : TextPiece(L""), failure.Item()}),
          L"QvnRemove"};
}

std::wstring DescribeInUse(const InUse& found) {
  std::wstring text = Concat({L"Quorvane is still in use, so nothing has been removed.\r\n\r\nIn use: ", found.path});
  for (const RunningProgram& program : found.programs) text += Concat({L"\r\nRunning: ", program.file});
  text += L"\r\n\r\n";
  if (!found.restartRefusal.empty()) text += Concat({L"Remove at Restart: ", found.restartRefusal, L".\r\n\r\n"});
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
