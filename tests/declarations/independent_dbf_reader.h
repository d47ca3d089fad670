// Reads a dBASE table with the independent reader (read_dbf.py over
// python3-dbfread) and gives its fields and records as JSON.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

namespace traveno::declarations::testing {

// Empty when the reader is not installed (the caller skips its checks).
inline std::optional<nlohmann::json> ReadWithIndependentReader(const std::filesystem::path& path) {
  const std::string reader = TRAVENO_DBF_READER;
  if (reader.empty()) return std::nullopt;
  FILE* pipe = popen((reader + " '" + path.string() + "'").c_str(), "r");
  if (pipe == nullptr) {
    ADD_FAILURE() << "cannot run " << reader;
    return nlohmann::json();
  }
  std::string output;
  char buffer[4096];
  while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
  const int status = pclose(pipe);
  EXPECT_EQ(status, 0) << output;
  return status == 0 ? nlohmann::json::parse(output) : nlohmann::json();
}

}  // namespace traveno::declarations::testing
