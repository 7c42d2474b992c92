#include "services/WininitText.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace qvn {
namespace {

const char kLineEnd[] = "\r\n";

// One line of the text: its bytes without the line end, and where the next
// line starts.
struct Line {
  std::string_view text;
  std::size_t next;
};

std::vector<Line> LinesOf(std::string_view text) {
  std::vector<Line> lines;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t newline = text.find('\n', start);
    const std::size_t end = newline == std::string_view::npos ? text.size() : newline;
    const std::size_t next = newline == std::string_view::npos ? text.size() : newline + 1;
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back({line, next});
    start = next;
  }
  return lines;
}

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// `text` is `lowerCaseName` in any case.
bool IsName(std::string_view text, std::string_view lowerCaseName) {
  return std::equal(text.begin(), text.end(), lowerCaseName.begin(), lowerCaseName.end(),
                    [](unsigned char c, char lower) { return std::tolower(c) == lower; });
}

bool IsSectionHeader(std::string_view line) { return Trimmed(line).substr(0, 1) == "["; }

bool IsRenameHeader(std::string_view line) {
  const std::string_view trimmed = Trimmed(line);
  const std::size_t close = trimmed.find(']');
  if (!IsSectionHeader(line) || close == std::string_view::npos) return false;
  return IsName(Trimmed(trimmed.substr(1, close - 1)), "rename");
}

// Where the first [rename] section's last line ends; npos when there is no
// such section.
std::size_t EndOfRenameSection(const std::vector<Line>& lines) {
  const auto header =
      std::find_if(lines.begin(), lines.end(), [](const Line& line) { return IsRenameHeader(line.text); });
  if (header == lines.end()) return std::string::npos;
  std::size_t end = header->next;
  for (auto line = header + 1; line != lines.end() && !IsSectionHeader(line->text); ++line) {
    if (!Trimmed(line->text).empty()) end = line->next;
  }
  return end;
}

}  // namespace

std::string WithDeletionLines(const std::string& text, const std::vector<std::string>& paths) {
  std::size_t at = EndOfRenameSection(LinesOf(text));
  const bool newSection = at == std::string::npos;
  if (newSection) at = text.size();
  std::string result = text.substr(0, at);
  // A last line without its line end gets one before the new lines.
  if (at > 0 && text[at - 1] != '\n') result += kLineEnd;
  if (newSection) result.append("[rename]").append(kLineEnd);
  for (const std::string& path : paths) result.append("NUL=").append(path).append(kLineEnd);
  return result.append(text, at, std::string::npos);
}

std::vector<std::string> DeletionLines(const std::string& text) {
  std::vector<std::string> paths;
  bool inRename = false;
  for (const Line& line : LinesOf(text)) {
    if (IsSectionHeader(line.text)) {
      inRename = IsRenameHeader(line.text);
      continue;
    }
    const std::size_t equals = line.text.find('=');
    if (inRename && equals != std::string_view::npos && IsName(Trimmed(line.text.substr(0, equals)), "nul")) {
      paths.push_back(std::string(Trimmed(line.text.substr(equals + 1))));
    }
  }
  return paths;
}

}  // namespace qvn
