#pragma once
// The draw database's key as SQLCipher 3 derives it from the password:
// PBKDF2-HMAC-SHA1 over the file's 16-byte salt, 64,000 rounds, 32 bytes.
// The library's own derivation goes through generic hashing calls and takes
// about 29 ms, as long as everything else at start-up together; done here
// with the processor's SHA instructions it takes a third of that, and the
// store hands SQLCipher the finished key instead of the password.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace n4 {

inline constexpr int kSqlcipherKdfRounds = 64000;
using DatabaseSalt = std::array<std::uint8_t, 16>;
using DatabaseKey = std::array<std::uint8_t, 32>;

// True where the processor has the SHA extensions this derivation needs.
bool fastKeyDerivationAvailable();

// PBKDF2-HMAC-SHA1(password, salt, rounds) cut to out.size() bytes; nullopt
// without the SHA extensions, or for a password over 64 bytes or a salt over
// 51 bytes (never the case for the draw database).
std::optional<std::string> pbkdf2HmacSha1(const std::string& password, const std::string& salt,
                                          int rounds, std::size_t length);

// The database key for a file's salt; nullopt where pbkdf2HmacSha1 is.
std::optional<DatabaseKey> deriveDatabaseKey(const std::string& password, const DatabaseSalt& salt);

} // namespace n4
