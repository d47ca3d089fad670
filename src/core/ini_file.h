// A settings file of sections and keys ("[Program]", "Key=Value"). Every
// read and write opens the file and closes it again; section and key names
// are compared without regard to case; values are trimmed on reading (a
// value that must keep leading blanks is stored behind a "."). A write keeps
// every other line of the file and replaces the file atomically.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace traveno {

class IniFile {
 public:
  explicit IniFile(std::filesystem::path path) : path_(std::move(path)) {}

  const std::filesystem::path& path() const { return path_; }

  // The value of a key, or `fallback` when the file, the section or the key is missing.
  std::string Read(std::string_view section, std::string_view key,
                   std::string_view fallback) const;
  // Writes a key, creating the file and the section when missing. Throws
  // Error when the section, the key or the value holds a line break (a value
  // is a single line), OsError when the file cannot be written.
  void Write(std::string_view section, std::string_view key, std::string_view value) const;

 private:
  std::filesystem::path path_;
};

}  // namespace traveno
