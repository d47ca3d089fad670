#include "core/password.h"

#include <sodium.h>

#include "core/errors.h"

namespace traveno {
namespace {

constexpr std::string_view kHashPrefix = "$argon2id$";

void EnsureSodium() {
  static const bool ready = sodium_init() >= 0;
  if (!ready) throw Error("Biblioteca de criptare nu poate fi initializata !");
}

std::string ShiftEach(std::string_view text, int by) {
  std::string result(text);
  for (char& c : result) {
    c = static_cast<char>(static_cast<unsigned char>(static_cast<unsigned char>(c) + by));
  }
  return result;
}

std::string Hash(std::string_view password) {
  EnsureSodium();
  char hash[crypto_pwhash_STRBYTES];
  if (crypto_pwhash_str(hash, password.data(), password.size(),
                        crypto_pwhash_OPSLIMIT_INTERACTIVE,
                        crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0) {
    throw Error("Memorie insuficienta pentru criptarea parolei", "EOutOfMemory");
  }
  return hash;
}

}  // namespace

std::string ScramblePassword(std::string_view text) { return ShiftEach(text, 1); }
std::string UnscramblePassword(std::string_view text) { return ShiftEach(text, -1); }

StartPassword StartPassword::FromStoredValue(std::string_view stored) {
  StartPassword password;
  std::string_view rest = stored.empty() ? stored : stored.substr(1);
  if (rest.size() > 255) rest = rest.substr(0, 255);
  if (rest.starts_with(kHashPrefix)) {
    password.hash_ = std::string(rest);
  } else {
    password.legacy_clear_ = UnscramblePassword(rest);
  }
  return password;
}

StartPassword StartPassword::FromClearText(std::string_view text) {
  StartPassword password;
  if (!text.empty()) password.hash_ = Hash(text);
  return password;
}

bool StartPassword::Verify(std::string_view typed) const {
  if (!hash_.empty()) {
    EnsureSodium();
    return crypto_pwhash_str_verify(hash_.c_str(), typed.data(), typed.size()) == 0;
  }
  return typed == legacy_clear_;
}

std::string StartPassword::StoredValue() const {
  if (!hash_.empty()) return "." + hash_;
  if (!legacy_clear_.empty()) return "." + Hash(legacy_clear_);
  return ".";
}

}  // namespace traveno
