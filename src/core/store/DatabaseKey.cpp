#include "core/store/DatabaseKey.h"

#include <nettle/pbkdf2.h>

#include <atomic>
#include <mutex>
#include <vector>

namespace n4 {

namespace {

std::atomic<int> derivations{0};

struct KnownKey {
    std::string password;
    DatabaseSalt salt;
    DatabaseKey key;
};

} // namespace

DatabaseKey deriveDatabaseKey(const std::string& password, const DatabaseSalt& salt) {
    DatabaseKey key{};
    pbkdf2_hmac_sha1(password.size(), reinterpret_cast<const std::uint8_t*>(password.data()),
                     kSqlcipherKdfRounds, salt.size(), salt.data(), key.size(), key.data());
    ++derivations;
    return key;
}

DatabaseKey databaseKeyFor(const std::string& password, const DatabaseSalt& salt) {
    // A run meets one file, or a few (a Jet take-over's new store, a test's
    // folders): a short list searched in order is enough.
    static std::mutex guard;
    static std::vector<KnownKey> known;
    const std::lock_guard<std::mutex> lock(guard);
    for (const KnownKey& k : known)
        if (k.salt == salt && k.password == password) return k.key;
    known.push_back({password, salt, deriveDatabaseKey(password, salt)});
    return known.back().key;
}

int databaseKeyDerivations() {
    return derivations.load();
}

} // namespace n4
