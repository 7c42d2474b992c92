#include "app/LogLocation.h"

#include <cwctype>
#include <string_view>

#include "app/RemovalTargets.h"
#include "services/ComputerName.h"
#include "services/Concat.h"
#include "services/SameText.h"

namespace qvn {
namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// Names this computer by a name the network would give it: localhost, a
// loopback address, or its own name (alone, or as the first label of a
// longer one, "pc-0417.corp.example").
bool NamesThisComputer(std::wstring_view host) {
  if (SameText(host, L"localhost") || StartsWithText(host, L"127.")) return true;
  const std::wstring self = ComputerName();
  const bool firstLabel = host.size() > self.size() && host[self.size()] == L'.' && StartsWithText(host, self);
  return !self.empty() && (SameText(host, self) || firstLabel);
}

// "\\?\C:\..." and "\\.\C:\..." name the same file as "C:\...", and
// "\\?\UNC\server\share\..." the same as "\\server\share\...".
std::wstring WithoutDevicePrefix(const std::wstring& path) {
  if (StartsWithText(path, L"\\\\?\\UNC\\")) return Concat({L"\\\\", std::wstring_view(path).substr(8)});
  const bool prefixed = path.size() > 4 && IsSeparator(path[0]) && IsSeparator(path[1]) &&
                        (path[2] == L'?' || path[2] == L'.') && IsSeparator(path[3]);
  return prefixed ? path.substr(4) : path;
}

}  // namespace

std::wstring ThroughThisComputersShares(const std::wstring& path) {
  const std::wstring plain = WithoutDevicePrefix(path);
  if (plain.size() < 3 || !IsSeparator(plain[0]) || !IsSeparator(plain[1])) return plain;
  std::size_t hostEnd = 2;
  while (hostEnd < plain.size() && !IsSeparator(plain[hostEnd])) ++hostEnd;
  std::size_t shareEnd = hostEnd + 1;
  while (shareEnd < plain.size() && !IsSeparator(plain[shareEnd])) ++shareEnd;
  if (shareEnd > plain.size()) return plain;
  const std::wstring share = plain.substr(hostEnd + 1, shareEnd - hostEnd - 1);
  const bool driveShare = share.size() == 2 && share[0] < 0x80 && std::iswalpha(share[0]) && share[1] == L'$';
  if (!driveShare || !NamesThisComputer(std::wstring_view(plain).substr(2, hostEnd - 2))) return plain;
  const std::wstring_view rest = shareEnd < plain.size() ? std::wstring_view(plain).substr(shareEnd + 1) : L"";
  return Concat({std::wstring_view(&share[0], 1), L":\\", rest});
}

bool LogLiesInRemovalTargets(const std::wstring& logPath, const RemovalPlan& plan) {
  return LiesInTargets(ThroughThisComputersShares(logPath), RemovalTargets(plan));
}

}  // namespace qvn
