#pragma once
// The draw database's key as SQLCipher 3 derives it from the password:
// PBKDF2-HMAC-SHA1 over the file's 16-byte salt, 64,000 rounds, 32 bytes.
// Derived by nettle, which takes about half the time of SQLCipher's own
// derivation, and given to SQLCipher finished. A run derives the key of a file
// once and keeps it in memory only, so that reopening the database (after an
// import, for the data-entry window) costs no second derivation; nothing of
// it is ever written anywhere.
#include <array>
#include <cstdint>
#include <string>

namespace n4 {

inline constexpr int kSqlcipherKdfRounds = 64000;
using DatabaseSalt = std::array<std::uint8_t, 16>;
using DatabaseKey = std::array<std::uint8_t, 32>;

// Derives the key, every call.
DatabaseKey deriveDatabaseKey(const std::string& password, const DatabaseSalt& salt);

// The key for this password and salt: derived at its first use in this run,
// from then on the one kept in memory.
DatabaseKey databaseKeyFor(const std::string& password, const DatabaseSalt& salt);

// How many keys this run has derived (each costs the 64,000 rounds).
int databaseKeyDerivations();

} // namespace n4
