#pragma once
// Database keys remembered between runs. The key SQLCipher needs is a pure
// function of the program's fixed password and the salt the file carries in
// the clear in its first 16 bytes; deriving it is 64,000 rounds of hashing,
// the largest single cost of opening the draw database. A key that opened a
// file is therefore remembered by that file's salt, in a small file of the
// user's cache folder (readable by the user only), and the next run that meets
// the same salt gives SQLCipher the remembered key instead of deriving it.
// Nothing here is trusted: a key that does not open the file is only the
// first of the ways the store tries, and a missing, damaged, foreign or
// unreadable cache file only means the key is derived as before.
#include <optional>
#include <string>

#include "core/store/KeyDerivation.h"

namespace n4 {

// How many files' keys are kept; the one remembered longest ago goes first.
inline constexpr int kRememberedKeys = 8;

// $XDG_CACHE_HOME/Numbers4Marvo/database-keys (an absolute XDG_CACHE_HOME
// only), else ~/.cache/Numbers4Marvo/database-keys; "" without a home folder.
std::string defaultKeyCachePath();

// The key remembered for salt, or nullopt (no cache, no entry, or a damaged
// entry).
std::optional<DatabaseKey> recallDatabaseKey(const std::string& cachePath,
                                             const DatabaseSalt& salt);

// Puts the key first in the cache (creating the file and its folder, private
// to the user), whole or not at all; false when the cache cannot be written,
// which costs nothing but the next derivation.
bool rememberDatabaseKey(const std::string& cachePath, const DatabaseSalt& salt,
                         const DatabaseKey& key);

} // namespace n4
