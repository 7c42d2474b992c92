#include "services/WininitText.h"

#include <algorithm>
#include <cctype>

namespace qvn {
namespace {

const char kLineEnd[] = "\r\n";

// One line of the text: its bytes without the line end, and where the next
// line starts.
struct Line {
  std::string text;
  std::size_t next;
};

std::vector<Line> LinesOf(const std::string& text) {
  std::vector<Line> lines;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t newline = text.find('\n', start);
    const std::size_t end = newline == std::string::npos ? text.size() : newline;
    const std::size_t next = newline == std::string::npos ? text.size() : newline + 1;
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back({line, next});
    start = next;
  }
  return lines;
}

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

bool IsSectionHeader(const std::string& line) { return Trimmed(line).rfind('[', 0) == 0; }

bool IsRenameHeader(const std::string& line) {
  const std::string trimmed = Trimmed(line);
  const std::size_t close = trimmed.find(']');
  if (!IsSectionHeader(line) || close == std::string::npos) return false;
  return Lower(Trimmed(trimmed.substr(1, close - 1))) == "rename";
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
  std::string added;
  for (const std::string& path : paths) added += "NUL=" + path + kLineEnd;
  std::size_t at = EndOfRenameSection(LinesOf(text));
  if (at == std::string::npos) {
    at = text.size();
    added = "[rename]" + (kLineEnd + added);
  }
  // A last line without its line end gets one before the new lines.
  if (at > 0 && text[at - 1] != '\n') added = kLineEnd + added;
  return text.substr(0, at) + added + text.substr(at);
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
    if (inRename && equals != std::string::npos && Lower(Trimmed(line.text.substr(0, equals))) == "nul") {
      paths.push_back(Trimmed(line.text.substr(equals + 1)));
    }
  }
  return paths;
}

}  // namespace qvn
