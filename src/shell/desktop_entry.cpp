#include "shell/desktop_entry.h"

#include <vector>

namespace quill {
namespace {

std::string_view Trim(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

// The escapes of string values: \s \n \t \r \\. Others stay as written, so
// the quoting escapes of Exec (\" \` \$) survive for the next step.
std::string UnescapeValue(std::string_view value) {
  std::string out;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\' || i + 1 == value.size()) {
      out += value[i];
      continue;
    }
    switch (const char next = value[++i]) {
      case 's':
        out += ' ';
        break;
      case 'n':
        out += '\n';
        break;
      case 't':
        out += '\t';
        break;
      case 'r':
        out += '\r';
        break;
      case '\\':
        out += '\\';
        break;
      default:
        out += '\\', out += next;
    }
  }
  return out;
}

// Splits a command line into words: blanks separate them; a word in double
// quotes keeps its blanks, and inside quotes a backslash escapes the next
// character.
std::vector<std::string> SplitCommandLine(std::string_view line) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i == line.size()) break;
    std::string word;
    bool quoted = false;
    for (; i < line.size(); ++i) {
      const char c = line[i];
      if (c == '"') {
        quoted = !quoted;
      } else if (quoted && c == '\\' && i + 1 < line.size()) {
        word += line[++i];
      } else if (!quoted && (c == ' ' || c == '\t')) {
        break;
      } else {
        word += c;
      }
    }
    words.push_back(std::move(word));
  }
  return words;
}

bool IsEnvProgram(std::string_view word) { return word == "env" || word.ends_with("/env"); }

}  // namespace

std::optional<DesktopEntry> ParseDesktopEntry(std::string_view text) {
  std::optional<DesktopEntry> entry;
  bool inEntryGroup = false;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = Trim(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.empty() || line.starts_with('#')) continue;
    if (line.starts_with('[')) {
      inEntryGroup = line == "[Desktop Entry]";
      if (inEntryGroup && !entry) entry.emplace();
      continue;
    }
    const std::size_t equals = line.find('=');
    if (!inEntryGroup || equals == std::string_view::npos) continue;
    const std::string_view key = Trim(line.substr(0, equals));
    const std::string value = UnescapeValue(Trim(line.substr(equals + 1)));
    if (key == "Exec") entry->exec = value;
    if (key == "Icon") entry->icon = value;
  }
  return entry;
}

std::string DesktopEntryProgram(std::string_view exec) {
  const std::vector<std::string> words = SplitCommandLine(exec);
  std::size_t first = 0;
  if (!words.empty() && IsEnvProgram(words[0])) {
    first = 1;
    while (first < words.size() && words[first].find('=') != std::string::npos) ++first;
  }
  return first < words.size() ? words[first] : std::string();
}

}  // namespace quill
