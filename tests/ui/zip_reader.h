// Reads the entries of a zip file (an .xlsx is one), enough to check what a
// spreadsheet program would find in it: the central directory must be whole
// and every entry must inflate to its recorded size and checksum.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace traveno::testing {

// The entries by name; empty when the file is not a sound zip.
inline std::optional<std::map<std::string, std::string>> ReadZip(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  auto u16 = [&](std::size_t at) -> std::uint32_t {
    return static_cast<unsigned char>(data[at]) | static_cast<unsigned char>(data[at + 1]) << 8;
  };
  auto u32 = [&](std::size_t at) -> std::uint32_t { return u16(at) | u16(at + 2) << 16; };
  if (data.size() < 22) return std::nullopt;
  // The end-of-central-directory record closes the file.
  std::size_t end = data.size() - 22;
  while (end > 0 && u32(end) != 0x06054b50) --end;
  if (u32(end) != 0x06054b50) return std::nullopt;
  const std::uint32_t count = u16(end + 10);
  std::size_t at = u32(end + 16);
  std::map<std::string, std::string> entries;
  for (std::uint32_t i = 0; i < count; ++i) {
    if (at + 46 > data.size() || u32(at) != 0x02014b50) return std::nullopt;
    const std::uint32_t method = u16(at + 10);
    const std::uint32_t crc = u32(at + 16);
    const std::uint32_t packed = u32(at + 20);
    const std::uint32_t size = u32(at + 24);
    const std::uint32_t name_length = u16(at + 28);
    const std::uint32_t extra_length = u16(at + 30);
    const std::uint32_t comment_length = u16(at + 32);
    const std::uint32_t local = u32(at + 42);
    const std::string name = data.substr(at + 46, name_length);
    at += 46 + name_length + extra_length + comment_length;
    if (local + 30 > data.size() || u32(local) != 0x04034b50) return std::nullopt;
    const std::size_t start = local + 30 + u16(local + 26) + u16(local + 28);
    if (start + packed > data.size()) return std::nullopt;
    std::string content(size, '\0');
    if (method == 0) {
      content = data.substr(start, packed);
    } else if (method == 8) {
      z_stream stream{};
      if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return std::nullopt;
      stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data() + start));
      stream.avail_in = packed;
      stream.next_out = reinterpret_cast<Bytef*>(content.data());
      stream.avail_out = size;
      const int status = inflate(&stream, Z_FINISH);
      inflateEnd(&stream);
      if (status != Z_STREAM_END || stream.total_out != size) return std::nullopt;
    } else {
      return std::nullopt;
    }
    if (crc32(0, reinterpret_cast<const Bytef*>(content.data()), content.size()) != crc) {
      return std::nullopt;
    }
    entries[name] = std::move(content);
  }
  return entries;
}

}  // namespace traveno::testing
