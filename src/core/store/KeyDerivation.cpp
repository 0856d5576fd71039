#include "core/store/KeyDerivation.h"

#include <algorithm>
#include <cstring>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <cpuid.h>
#include <immintrin.h>
#define N4_SHA_EXTENSIONS 1
#endif

namespace n4 {

namespace {

using State = std::array<std::uint32_t, 5>;
constexpr std::size_t kDigestBytes = 20; // a SHA-1 digest
constexpr State kSha1Start = {0x67452301u, 0xEFCDAB89u, 0x98BADCFEu, 0x10325476u, 0xC3D2E1F0u};

#if N4_SHA_EXTENSIONS

bool cpuHasShaExtensions() {
    unsigned a, b, c, d; // each call below fills all four before they are read
    if (!__get_cpuid_count(7, 0, &a, &b, &c, &d)) return false;
    const bool sha = b & (1u << 29);
    if (!__get_cpuid(1, &a, &b, &c, &d)) return false;
    const bool ssse3 = c & (1u << 9), sse41 = c & (1u << 19);
    return sha && ssse3 && sse41;
}

#define N4_SHA_TARGET __attribute__((target("sha,ssse3,sse4.1")))

// One SHA-1 compression of the message words m (each vector holds four
// words, the first in the highest lane) with the SHA instructions; the rounds
// in groups of four, each group scheduling the message words of the later
// ones (Intel's published sequence).
N4_SHA_TARGET inline __attribute__((always_inline)) void compressWords(State& state, __m128i* m) {
    __m128i abcd =
        _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(state.data())), 0x1B);
    __m128i e0 = _mm_set_epi32(static_cast<int>(state[4]), 0, 0, 0);
    const __m128i abcdSaved = abcd, e0Saved = e0;
    __m128i e1;
    // Rounds 0-3 and 4-15.
    e0 = _mm_add_epi32(e0, m[0]);
    e1 = abcd;
    abcd = _mm_sha1rnds4_epu32(abcd, e0, 0);
    e1 = _mm_sha1nexte_epu32(e1, m[1]);
    e0 = abcd;
    abcd = _mm_sha1rnds4_epu32(abcd, e1, 0);
    m[0] = _mm_sha1msg1_epu32(m[0], m[1]);
    e0 = _mm_sha1nexte_epu32(e0, m[2]);
    e1 = abcd;
    abcd = _mm_sha1rnds4_epu32(abcd, e0, 0);
    m[1] = _mm_sha1msg1_epu32(m[1], m[2]);
    m[0] = _mm_xor_si128(m[0], m[2]);
    e1 = _mm_sha1nexte_epu32(e1, m[3]);
    e0 = abcd;
    m[0] = _mm_sha1msg2_epu32(m[0], m[3]);
    abcd = _mm_sha1rnds4_epu32(abcd, e1, 0);
    m[2] = _mm_sha1msg1_epu32(m[2], m[3]);
    m[1] = _mm_xor_si128(m[1], m[3]);
    // Rounds 16-67: thirteen alike groups; the round function changes every
    // twenty rounds.
#define N4_SHA1_GROUP(EIN, EOUT, C, F)                                                             \
    EIN = _mm_sha1nexte_epu32(EIN, m[C]);                                                          \
    EOUT = abcd;                                                                                   \
    m[(C + 1) % 4] = _mm_sha1msg2_epu32(m[(C + 1) % 4], m[C]);                                     \
    abcd = _mm_sha1rnds4_epu32(abcd, EIN, F);                                                      \
    m[(C + 3) % 4] = _mm_sha1msg1_epu32(m[(C + 3) % 4], m[C]);                                     \
    m[(C + 2) % 4] = _mm_xor_si128(m[(C + 2) % 4], m[C]);
    N4_SHA1_GROUP(e0, e1, 0, 0) // 16-19
    N4_SHA1_GROUP(e1, e0, 1, 1) // 20-23
    N4_SHA1_GROUP(e0, e1, 2, 1)
    N4_SHA1_GROUP(e1, e0, 3, 1)
    N4_SHA1_GROUP(e0, e1, 0, 1)
    N4_SHA1_GROUP(e1, e0, 1, 1) // 36-39
    N4_SHA1_GROUP(e0, e1, 2, 2) // 40-43
    N4_SHA1_GROUP(e1, e0, 3, 2)
    N4_SHA1_GROUP(e0, e1, 0, 2)
    N4_SHA1_GROUP(e1, e0, 1, 2)
    N4_SHA1_GROUP(e0, e1, 2, 2) // 56-59
    N4_SHA1_GROUP(e1, e0, 3, 3) // 60-63
    N4_SHA1_GROUP(e0, e1, 0, 3) // 64-67
#undef N4_SHA1_GROUP
    // Rounds 68-79: the schedule runs out.
    e1 = _mm_sha1nexte_epu32(e1, m[1]);
    e0 = abcd;
    m[2] = _mm_sha1msg2_epu32(m[2], m[1]);
    abcd = _mm_sha1rnds4_epu32(abcd, e1, 3);
    m[3] = _mm_xor_si128(m[3], m[1]);
    e0 = _mm_sha1nexte_epu32(e0, m[2]);
    e1 = abcd;
    m[3] = _mm_sha1msg2_epu32(m[3], m[2]);
    abcd = _mm_sha1rnds4_epu32(abcd, e0, 3);
    e1 = _mm_sha1nexte_epu32(e1, m[3]);
    e0 = abcd;
    abcd = _mm_sha1rnds4_epu32(abcd, e1, 3);
    e0 = _mm_sha1nexte_epu32(e0, e0Saved);
    abcd = _mm_add_epi32(abcd, abcdSaved);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state.data()), _mm_shuffle_epi32(abcd, 0x1B));
    state[4] = static_cast<std::uint32_t>(_mm_extract_epi32(e0, 3));
}

// A 64-byte block, big-endian words.
N4_SHA_TARGET void compress(State& state, const std::uint8_t* block) {
    const __m128i byteSwap = _mm_set_epi64x(0x0001020304050607LL, 0x08090a0b0c0d0e0fLL);
    __m128i m[4];
    for (int i = 0; i < 4; ++i)
        m[i] = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16 * i)),
                                byteSwap);
    compressWords(state, m);
}

// The one block of a message of 64 + 20 bytes whose first 64 bytes are in
// state already: the 20 bytes are the digest d, then the fixed padding.
N4_SHA_TARGET inline __attribute__((always_inline)) void compressDigest(State& state,
                                                                        const State& d) {
    auto word = [](std::uint32_t w) { return static_cast<int>(w); };
    __m128i m[] = {_mm_set_epi32(word(d[0]), word(d[1]), word(d[2]), word(d[3])),
                   _mm_set_epi32(word(d[4]), word(0x80000000u), 0, 0), _mm_setzero_si128(),
                   _mm_set_epi32(0, 0, 0, static_cast<int>((64 + kDigestBytes) * 8))};
    compressWords(state, m);
}

#else

bool cpuHasShaExtensions() {
    return false;
}
void compress(State&, const std::uint8_t*) {}
void compressDigest(State&, const State&) {}
#define N4_SHA_TARGET

#endif

void putBigEndian(std::uint8_t* out, const State& s) {
    for (int i = 0; i < 5; ++i)
        for (int b = 0; b < 4; ++b)
            out[4 * i + b] = static_cast<std::uint8_t>(s[i] >> (24 - 8 * b));
}

// The last block of a message of 64 + length bytes whose first 64 bytes were
// compressed into from: length (at most 55) bytes of text, then the padding.
State finish(const State& from, const std::uint8_t* text, std::size_t length) {
    std::uint8_t block[64] = {};
    std::memcpy(block, text, length);
    block[length] = 0x80;
    const std::uint64_t bits = (64 + length) * 8;
    for (int b = 0; b < 8; ++b)
        block[63 - b] = static_cast<std::uint8_t>(bits >> (8 * b));
    State s = from;
    compress(s, block);
    return s;
}

// HMAC's inner and outer states after their 64-byte key blocks.
void hmacStates(const std::string& password, State& inner, State& outer) {
    std::uint8_t in[64], out[64];
    for (std::size_t i = 0; i < 64; ++i) {
        const std::uint8_t k = i < password.size() ? static_cast<std::uint8_t>(password[i]) : 0;
        in[i] = k ^ 0x36;
        out[i] = k ^ 0x5c;
    }
    inner = outer = kSha1Start;
    compress(inner, in);
    compress(outer, out);
}

// PBKDF2's first round for the output block of the given index.
State firstRound(const State& inner, const State& outer, const std::string& salt,
                 std::uint32_t index) {
    std::uint8_t first[64];
    std::memcpy(first, salt.data(), salt.size());
    for (int b = 0; b < 4; ++b)
        first[salt.size() + b] = static_cast<std::uint8_t>(index >> (24 - 8 * b));
    std::uint8_t digest[kDigestBytes];
    putBigEndian(digest, finish(inner, first, salt.size() + 4));
    return finish(outer, digest, kDigestBytes);
}

// Two 20-byte blocks of PBKDF2's output (indices index and index + 1). Each
// later round hashes the 20-byte digest of the one before, one block each
// for the inner and the outer hash; the two blocks' chains do not depend on
// each other, so doing them side by side lets the processor overlap them.
N4_SHA_TARGET void pbkdf2Pair(const State& inner, const State& outer, const std::string& salt,
                              std::uint32_t index, int rounds, State sum[2]) {
    State u[] = {firstRound(inner, outer, salt, index), firstRound(inner, outer, salt, index + 1)};
    sum[0] = u[0];
    sum[1] = u[1];
    for (int r = 1; r < rounds; ++r) {
        State s[] = {inner, inner};
        compressDigest(s[0], u[0]);
        compressDigest(s[1], u[1]);
        u[0] = u[1] = outer;
        compressDigest(u[0], s[0]);
        compressDigest(u[1], s[1]);
        for (int k = 0; k < 2; ++k)
            for (int i = 0; i < 5; ++i)
                sum[k][i] ^= u[k][i];
    }
}

} // namespace

bool fastKeyDerivationAvailable() {
    static const bool available = cpuHasShaExtensions();
    return available;
}

std::optional<std::string> pbkdf2HmacSha1(const std::string& password, const std::string& salt,
                                          int rounds, std::size_t length) {
    if (!fastKeyDerivationAvailable() || password.size() > 64 || salt.size() > 51 || rounds < 1)
        return std::nullopt;
    State inner, outer;
    hmacStates(password, inner, outer);
    std::string out;
    for (std::uint32_t index = 1; out.size() < length; index += 2) {
        State sum[2];
        pbkdf2Pair(inner, outer, salt, index, rounds, sum);
        for (const State& s : sum) {
            std::uint8_t block[kDigestBytes];
            putBigEndian(block, s);
            out.append(reinterpret_cast<const char*>(block),
                       std::min(kDigestBytes, length - out.size()));
        }
    }
    return out;
}

std::optional<DatabaseKey> deriveDatabaseKey(const std::string& password,
                                             const DatabaseSalt& salt) {
    const auto bytes = pbkdf2HmacSha1(
        password, std::string(reinterpret_cast<const char*>(salt.data()), salt.size()),
        kSqlcipherKdfRounds, 32);
    if (!bytes) return std::nullopt;
    DatabaseKey key;
    std::memcpy(key.data(), bytes->data(), key.size());
    return key;
}

} // namespace n4
