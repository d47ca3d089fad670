#include "core/ini_file.h"

#include <fstream>
#include <sstream>
#include <vector>

#include "core/atomic_file.h"
#include "core/text.h"

namespace traveno {
namespace {

std::vector<std::string> ReadLines(const std::filesystem::path& path) {
  std::vector<std::string> lines;
  std::ifstream file(path, std::ios::binary);
  std::string line;
  while (std::getline(file, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// The section name of a "[Name]" line, or nothing.
bool SectionOf(const std::string& line, std::string& name) {
  const std::string trimmed = Trim(line);
  if (trimmed.size() < 2 || trimmed.front() != '[' || trimmed.back() != ']') return false;
  name = Trim(trimmed.substr(1, trimmed.size() - 2));
  return true;
}

bool KeyOf(const std::string& line, std::string& key, std::string& value) {
  const std::size_t equals = line.find('=');
  if (equals == std::string::npos) return false;
  key = Trim(line.substr(0, equals));
  value = line.substr(equals + 1);
  return !key.empty();
}

}  // namespace

std::string IniFile::Read(std::string_view section, std::string_view key,
                          std::string_view fallback) const {
  std::string current_section;
  bool in_section = false;
  for (const std::string& line : ReadLines(path_)) {
    std::string name, line_key, value;
    if (SectionOf(line, name)) {
      in_section = EqualsIgnoreCase(name, section);
    } else if (in_section && KeyOf(line, line_key, value) && EqualsIgnoreCase(line_key, key)) {
      return Trim(value);
    }
  }
  return std::string(fallback);
}

void IniFile::Write(std::string_view section, std::string_view key, std::string_view value) const {
  std::vector<std::string> lines = ReadLines(path_);
  const std::string new_line = std::string(key) + "=" + std::string(value);
  bool in_section = false;
  std::size_t section_end = lines.size();
  bool section_found = false;
  bool written = false;
  for (std::size_t i = 0; i < lines.size() && !written; ++i) {
    std::string name, line_key, old_value;
    if (SectionOf(lines[i], name)) {
      if (in_section) {
        section_end = i;
        break;
      }
      in_section = EqualsIgnoreCase(name, section);
      if (in_section) section_found = true;
    } else if (in_section && KeyOf(lines[i], line_key, old_value) &&
               EqualsIgnoreCase(line_key, key)) {
      lines[i] = new_line;
      written = true;
    }
  }
  if (!written) {
    if (section_found) {
      // Insert after the section's last non-empty line.
      std::size_t at = section_end;
      while (at > 0 && Trim(lines[at - 1]).empty()) --at;
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), new_line);
    } else {
      lines.push_back("[" + std::string(section) + "]");
      lines.push_back(new_line);
    }
  }
  std::ostringstream content;
  for (const std::string& line : lines) content << line << "\r\n";
  WriteFileAtomically(path_, content.str());
}

}  // namespace traveno
