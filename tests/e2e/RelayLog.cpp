#include "tests/e2e/RelayLog.h"

#include <cstdio>
#include <fstream>

namespace e2e {

namespace {

const char kLog[] = "C:\\qvn-e2e\\stderr.log";

}  // namespace

long long RelayLogEnd() {
  std::ifstream log(kLog, std::ios::ate | std::ios::binary);
  return log ? static_cast<long long>(log.tellg()) : 0;
}

std::vector<std::string> RelayedCalls(DWORD threadId, long long since) {
  char prefix[32];
  std::snprintf(prefix, sizeof prefix, "%04lx:Call ", static_cast<unsigned long>(threadId));
  std::vector<std::string> calls;
  std::ifstream log(kLog, std::ios::binary);
  log.seekg(since);
  for (std::string line; std::getline(log, line);) {
    if (line.compare(0, std::char_traits<char>::length(prefix), prefix) != 0) continue;
    std::string call = line.substr(std::char_traits<char>::length(prefix));
    const std::size_t returnAddress = call.find(" ret=");
    calls.push_back(call.substr(0, returnAddress));
  }
  return calls;
}

}  // namespace e2e
