// The program's start password. The settings file keeps it as "." followed
// by a salted Argon2id hash, never the password or anything it can be
// recovered from; "." alone means no password. A file written by an older
// version holds the password shifted by one character code: it is still
// accepted, and the next save replaces it by a hash.
#pragma once

#include <string>
#include <string_view>

namespace traveno {

class StartPassword {
 public:
  // No password.
  StartPassword() = default;

  // The password from the stored "Parola" value: its first character is
  // dropped and at most 255 characters of the rest are kept.
  static StartPassword FromStoredValue(std::string_view stored);
  // A new password typed by the user; an empty one means no password.
  // Throws Error when the hash cannot be computed (out of memory).
  static StartPassword FromClearText(std::string_view password);

  bool IsSet() const { return !hash_.empty() || !legacy_clear_.empty(); }
  // Whether the typed text is the password (exact, case-sensitive); with no
  // password only an empty text matches.
  bool Verify(std::string_view typed) const;
  // The value to store under "Parola": "." followed by the hash, or "."
  // when there is no password.
  std::string StoredValue() const;

 private:
  std::string hash_;          // "$argon2id$..." text
  std::string legacy_clear_;  // read from an old shifted value, not yet hashed
};

// The old storage: every character replaced by the one whose code is one
// higher (Scramble) or lower (Unscramble), modulo 256.
std::string ScramblePassword(std::string_view text);
std::string UnscramblePassword(std::string_view text);

}  // namespace traveno
