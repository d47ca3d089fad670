// SHA-256 of the archived files (libsodium), as lower-case hex.
#pragma once

#include <sodium.h>

#include <span>
#include <string>

namespace traveno::backup {

class Sha256 {
 public:
  Sha256() { crypto_hash_sha256_init(&state_); }
  void Update(std::span<const unsigned char> bytes) {
    crypto_hash_sha256_update(&state_, bytes.data(), bytes.size());
  }
  std::string HexDigest() {
    unsigned char digest[crypto_hash_sha256_BYTES];
    crypto_hash_sha256_final(&state_, digest);
    static const char kHex[] = "0123456789abcdef";
    std::string text;
    for (unsigned char byte : digest) {
      text += kHex[byte >> 4];
      text += kHex[byte & 15];
    }
    return text;
  }

 private:
  crypto_hash_sha256_state state_;
};

}  // namespace traveno::backup
