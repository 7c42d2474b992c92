#include "services/RemoveFolderLink.h"

#include "services/FileCalls.h"

namespace qvn {

DWORD RemoveFolderLink(const std::wstring& link, bool ntFamily) { return FileCalls(ntFamily).RemoveFolder(link); }

}  // namespace qvn
