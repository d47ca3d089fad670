// What several declaration tests check files and texts with: a table read
// back by an independent dBASE reader, and a line holding given parts.
#pragma once

#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace traveno::declarations::testing {

// Whether the independent dBASE reader (python3-dbfread) is installed.
inline bool HaveIndependentReader() { return std::string(TRAVENO_DBF_READER).size() > 0; }

// The table as the independent reader sees it: {"fields": [[name, type,
// length, decimals], ...], "records": [{name: value}, ...]}. Fails the test
// (and returns null) when the reader fails.
inline nlohmann::json ReadWithIndependentReader(const std::filesystem::path& path) {
  const std::string command = std::string(TRAVENO_DBF_READER) + " '" + path.string() + "'";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) {
    ADD_FAILURE() << "cannot run " << command;
    return nullptr;
  }
  std::string output;
  char buffer[4096];
  while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
  if (pclose(pipe) != 0) {
    ADD_FAILURE() << output;
    return nullptr;
  }
  return nlohmann::json::parse(output);
}

// Whether one of the lines holds every part, in this order.
inline bool HasLineWith(const std::vector<std::string>& lines,
                        const std::vector<std::string>& parts) {
  for (const std::string& line : lines) {
    std::size_t at = 0;
    bool all = true;
    for (const std::string& part : parts) {
      at = line.find(part, at);
      if (at == std::string::npos) {
        all = false;
        break;
      }
      at += part.size();
    }
    if (all) return true;
  }
  return false;
}

}  // namespace traveno::declarations::testing
